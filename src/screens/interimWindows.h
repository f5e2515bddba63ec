// Plain stand-ins for the windows that are still to come (the disaster picture, race
// betting). Each one says
// plainly what happens and gives the rules the answer they need.
#pragma once

#include <QDialog>
#include <string>

#include "state/game_state.h"

namespace kisharin {

// A small window with a title and a text that closes itself after ms (scaled).
class SelfClosingNote : public QDialog {
    Q_OBJECT
  public:
    SelfClosingNote(const QString& name, const QString& title, const QString& text, int ms, Long back,
                    QWidget* parent);
};

class FrmDisasterInterim : public SelfClosingNote {
    Q_OBJECT
  public:
    FrmDisasterInterim(const GameState& s, int kind, QWidget* parent);
};

// Betting is not offered yet: the window says so and the bet is passed.
class FrmBetInterim : public SelfClosingNote {
    Q_OBJECT
  public:
    FrmBetInterim(const GameState& s, QWidget* parent);
};


}  // namespace kisharin
