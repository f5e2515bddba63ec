// The results window: both players' points, money and destinations reached, and the
// play time. Closing it, by its button or its close box, ends the program.
#pragma once

#include <QDialog>
#include <string>

#include "state/game_state.h"

namespace kisharin {

class FrmEnd : public QDialog {
    Q_OBJECT
  public:
    // endsProgram false: the results of a game run on another computer (the guest's):
    // closing the window only closes it, and the record of this computer's histories is
    // not offered.
    // recordFile: the game's record, whose story 「対戦の記録」 opens ("" offers none).
    FrmEnd(const GameState& s, QWidget* parent, bool endsProgram = true, std::string recordFile = {});

  protected:
    void done(int r) override;  // Form_Unload

  private:
    bool endsProgram_;
};

}  // namespace kisharin
