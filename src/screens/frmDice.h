// The dice window: the die turns every 80 ms until half a second has passed (at the
// first tick in short mode), then the face stays in view for one second and the window
// closes with that face.
#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include "state/game_state.h"
#include "state/rng.h"
#include "turns/dice.h"

class QTimer;

namespace kisharin {

// Paints face 1..6 of a die into a square of the given size.
QPixmap dieFace(int face, int size);

class DieView;

class FrmDice : public QDialog {
    Q_OBJECT
  public:
    // shownFace 1..6: the roll was made on another computer; the die turns as its own
    // does (faces drawn from rng) and stops on that face.
    FrmDice(const GameState& s, Rng& rng, QWidget* parent, int shownFace = 0);
    int face() const { return shownFace_ ? shownFace_ : die_.face(); }
    bool stopped() const { return die_.stopped(); }

  protected:
    // The close box and Esc: refused while the die turns, so no face can be picked by
    // closing at the right moment; once it has stopped they end the hold early.
    void reject() override;

  private:
    void tmrMove_Timer();
    const GameState& s_;
    Rng& rng_;
    DieView* imgDice_;
    QTimer* tmrMove_;
    QElapsedTimer start_;
    DieRoll die_;
    int shownFace_ = 0;
};

}  // namespace kisharin
