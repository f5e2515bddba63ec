// The results window: both players' points, money and destinations reached, and the
// play time. Closing it, by its button or its close box, ends the program.
#pragma once

#include <QDialog>

#include "state/game_state.h"

namespace kisharin {

class FrmEnd : public QDialog {
    Q_OBJECT
  public:
    FrmEnd(const GameState& s, QWidget* parent);

  protected:
    void done(int r) override;  // Form_Unload
};

}  // namespace kisharin
