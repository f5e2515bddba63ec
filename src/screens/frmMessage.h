// The message window: one announcement, coloured for the player whose turn it is,
// that closes itself after two seconds (or earlier with its close box).
#pragma once

#include <QDialog>

#include "state/game_state.h"

class QLabel;
class QTimer;

namespace kisharin {

class FrmMessage : public QDialog {
    Q_OBJECT
  public:
    FrmMessage(const GameState& s, QWidget* parent);
    QString text() const;
    QColor background() const;

  private:
    void closeTick();  // tmrMain of the message: closes it after two seconds
    QLabel* lblMessage_;
    QTimer* tmrMain_;
};

}  // namespace kisharin
