// The two slot pickers: frmSaveData ("中断") writes the game into slot 1..3 (saveDone);
// frmLoadData ("再開") reads a slot that exists (loadedSlot). Closing a picker without
// choosing changes nothing.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "state/game_state.h"

class QPushButton;

namespace kisharin {

class FrmSaveData : public QDialog {
    Q_OBJECT
  public:
    // `save` writes slot n and returns why it could not (empty: saved); without it the
    // slot is written here.
    FrmSaveData(GameState& s, std::string gameDataDir, QWidget* parent,
                std::function<std::string(int)> save = {});
    void cmdSave_Click(int n);
    bool saveDone() const { return saved_; }

  private:
    GameState& s_;
    std::string dir_;
    std::function<std::string(int)> save_;
    bool saved_ = false;
};

class FrmLoadData : public QDialog {
    Q_OBJECT
  public:
    // `names`: the players' names the game would go on with (the setup window's), shown
    // for a slot whose record does not name them; empty: the game's own.
    FrmLoadData(GameState& s, std::string gameDataDir, QWidget* parent,
                std::array<std::string, 2> names = {});
    void cmdLoad_Click(int n);
    QPushButton* cmdLoad(int n) const { return buttons_[n]; }
    QPushButton* cmdBack() const { return cmdBack_; }
    int loadedSlot() const { return loaded_; }

  private:
    GameState& s_;
    std::string dir_;
    QPushButton* buttons_[4] = {};
    QPushButton* cmdBack_ = nullptr;
    int loaded_ = 0;
};

}  // namespace kisharin
