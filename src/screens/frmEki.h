// The ride window: the train stands on its rail while the strip of station boards and
// scenery slides past behind it; the sky is the colour of the in-game hour. The strip is
// painted in one surface from the rules' ride model; the window closes itself a second
// after arrival (after the announcement in voice mode). Nothing the player does stops it.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <memory>
#include <vector>

#include "platform/speech.h"
#include "scene/ride.h"

class QLabel;
class QPainter;
class QTimer;

namespace kisharin {

class FrmEki : public QDialog {
    Q_OBJECT
  public:
    // voice speaks the arrival in voice mode; null: the program's Japanese voice, made
    // ready while the train runs and kept for the next ride.
    FrmEki(const GameState& s, Rng& rng, Clock& clock, QWidget* parent, Speech* voice = nullptr);
    ~FrmEki() override;

    const RideScene& scene() const { return scene_; }
    const RideMotion& motion() const { return motion_; }
    QString scoreText() const;
    // How long the window stood after arrival before it closed, in ms (0 before).
    qint64 heldMs() const { return heldMs_; }
    // The score ticks that passed while the window was open.
    int scoreTicks() const { return scoreTicks_; }

    // Moves the strip on by n animation ticks at once (still pictures and benchmarks).
    void advance(int ticks);
    // Paints the whole window as it stands, at (0, 0) of p, at its full size.
    void render(QPainter& p) const;
    // Where the window shows the strip now: between where the last two ticks put it.
    int shownLeft() const;
    // How much the window is made smaller to lie wholly on its screen (1: not at all).
    double fit() const { return fit_; }

    void setVisible(bool visible) override;

  protected:
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void reject() override;

  private:
    void rideTick();  // tmrMain of the ride: one step of the motion model
    void tmrScore_Timer();
    void arrive();
    void finish();
    void renderAt(QPainter& p, int left) const;
    void renderStrip(QPainter& p, int stripLeft) const;
    void fitToScreen();
    struct BoardFaces;
    void renderBoard(QPainter& p, const RideBoard& b, const BoardFaces& f) const;

    // The faces a board's texts are drawn in: the sizes the model gives, made smaller
    // where a very long name would not fit its place.
    struct BoardFaces {
        QFont name, reading, pref, back, next;
    };

    const GameState& s_;
    int scoreTicks_ = 0;  // score ticks while open: the rules pay their points
    RideScene scene_;
    std::vector<BoardFaces> faces_;
    RideMotion motion_;
    Speech* voice_;
    QImage train_, plane_, clouds_[2];
    QLabel* lblRosenName_;
    QLabel* lblShubetu_;
    QLabel* lblPoint_;
    QLabel* lblScore_;
    QTimer* tmrMain_;
    QTimer* tmrScore_;
    QTimer* hold_;
    QTimer* frame_;
    QElapsedTimer sinceTick_;
    int tickFrom_ = 0;  // the strip's place before the last tick
    QElapsedTimer holdClock_;
    qint64 heldMs_ = 0;
    bool done_ = false;
    double fit_ = 1.0;
};

// A picture of the rules as a QImage (alpha kept).
QImage toQImage(const PixelBuffer& b);

}  // namespace kisharin
