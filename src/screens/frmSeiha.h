// The conquest celebration: "Congratulations !!" in a colour drawn anew at each opening,
// the line's name with "　制覇　!!" centred below it, and the line's own train running
// once across the rail. The window closes itself when the train has left it.
#pragma once

#include <QDialog>
#include <QImage>

#include "scene/seiha.h"

class QLabel;
class QPainter;
class QTimer;

namespace kisharin {

class FrmSeiha : public QDialog {
    Q_OBJECT
  public:
    FrmSeiha(const GameState& s, int line, Rng& rng, Clock& clock, QWidget* parent);

    const SeihaModel& model() const { return model_; }
    QColor titleColor() const;
    QString caption() const;
    QRect captionGeometry() const;
    // Moves the train on by n ticks at once (still pictures).
    void advance(int ticks);

  protected:
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

  private:
    void Timer_Timer();

    SeihaModel model_;
    QImage train_;
    QLabel* lblTitle_;
    QLabel* lblRosen_;
    QTimer* timer_;
};

}  // namespace kisharin
