// Plain stand-ins for the windows that are still to come (the ride scene, the conquest
// celebration, the prefecture picker). Each one says
// plainly what happens and gives the rules the answer they need.
#pragma once

#include <QDialog>
#include <string>

#include "state/game_state.h"

class QComboBox;

namespace kisharin {

// A small window with a title and a text that closes itself after ms (scaled).
class SelfClosingNote : public QDialog {
    Q_OBJECT
  public:
    SelfClosingNote(const QString& name, const QString& title, const QString& text, int ms, Long back,
                    QWidget* parent);
};

// The ride: which train, from where to where.
class FrmRideInterim : public SelfClosingNote {
    Q_OBJECT
  public:
    FrmRideInterim(const GameState& s, QWidget* parent);
};

class FrmConquestInterim : public SelfClosingNote {
    Q_OBJECT
  public:
    FrmConquestInterim(const GameState& s, int line, QWidget* parent);
};

// The prefecture picker as a list of the 47 prefectures.
class FrmPrefInterim : public QDialog {
    Q_OBJECT
  public:
    FrmPrefInterim(const GameState& s, QWidget* parent);
    std::string picked() const;

  private:
    QComboBox* list_;
};

}  // namespace kisharin
