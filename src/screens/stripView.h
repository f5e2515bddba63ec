// picEki: the strip of one line, painted from the line display model: station boxes and
// names, connectors, ★ marks, transfer labels and the direction hint. Pointer moves and
// clicks are reported by what they hit. The keys move a focus frame over the places the
// board says can be picked and pick the framed one as a click would.
#pragma once

#include <QWidget>
#include <functional>

#include "board/line_display.h"
#include "turns/strip_keys.h"

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
    // The keys moved the focus frame to a target (or off the strip: no target).
    std::function<void(StripTarget)> onKeyFocus;

    // What can be picked now, in reading order, and the player's own station (where the
    // keys start). The frame stays on its target while the list, the line and the own
    // station stay the same, else goes.
    void setTargets(std::vector<StripTarget> targets, int own);
    // Moves the frame one target on (+1) or back (-1), taking the keyboard focus.
    void stepFocus(int step);
    StripTarget focusTarget() const { return focus_; }
    // The hint of the keys, for the tool tips of what can be picked.
    static QString keysHint();

  protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool focusNextPrevChild(bool next) override;

  private:
    void setFocusTarget(StripTarget t);
    bool pickable(Hit h) const;

    const LineDisplayModel& m_;
    std::vector<StripTarget> targets_;
    int own_ = 0;
    int line_ = 0;
    StripTarget focus_;
};

QRect toQRect(const PixelRect& r);
// How a station's box shows its name, at the sizes of the board's bold font.
StationCaption stationCaption(const StationView& st);

}  // namespace kisharin
