// picEki: the strip of one line, painted from the line display model: station boxes and
// names, connectors, ★ marks, transfer labels and the direction hint. Pointer moves and
// clicks are reported by what they hit.
#pragma once

#include <QWidget>
#include <functional>

#include "board/line_display.h"

namespace kisharin {

class StripView : public QWidget {
    Q_OBJECT
  public:
    StripView(const LineDisplayModel& model, QWidget* parent);

    // What lies at a point of the strip: station i (label), transfer label k, or nothing.
    struct Hit {
        int station = 0;
        int transfer = 0;
    };
    Hit hitAt(QPoint p) const;

    std::function<void(int)> onStationMove, onStationClick, onTransferMove, onTransferClick;
    std::function<void()> onBackgroundMove;
    std::function<void(int)> onWheel;  // the wheel's delta, negative toward the user

  protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    bool event(QEvent* e) override;

  private:
    const LineDisplayModel& m_;
};

QRect toQRect(const PixelRect& r);

}  // namespace kisharin
