// The setup window "ゲーム設定": names, opponent, short and voice mode, play area and
// web map address, kept in NameData.txt and URL.txt; starts a new or a saved game and
// erases the travel memories.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "setup/settings.h"
#include "setup/strength_file.h"
#include "state/game_state.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kisharin {

class FrmInit : public QWidget {
    Q_OBJECT
  public:
    // gameDataDir: the player's GameData folder; shippedGameDataDir: the shipped one,
    // whose files stand in for a missing or broken setting. onStart runs when a game
    // starts (resumeGame tells which); the window has closed by then.
    FrmInit(GameState& s, std::string gameDataDir, std::string shippedGameDataDir,
            std::function<void()> onStart);

    void cmdGo_Click();
    void cmdContinue_Click();
    void cmdMemories_Click();
    void cmdKiroku_Click();  // the conquest record
    void cmdGames_Click();   // the list of games 「これまでの対戦」
    // Opens the story of one game from its kept record (the list's 「対戦の記録」); unset,
    // the list leaves that button disabled.
    std::function<void(const std::string& recordFile)> openStory;

    // What the controls show now.
    Settings settings() const;
    // The messages of settings that fell back to defaults when the window loaded.
    const std::vector<std::string>& loadProblems() const { return problems_; }
    // The slot the last "つづきから" loaded (0 for none).
    int loadedSlot() const { return loadedSlot_; }
    // The computer's strength chosen beside "Com".
    Strength strength() const;
    QComboBox* strengthBox() const { return cboStrength_; }

    // 「ネット対戦」: 「ホスト」 starts a new game with player 2 at another computer;
    // 「参加」 runs onJoin (the window stays until the guest's board opens).
    enum class NetRole { None, Host };
    NetRole netRole() const { return netRole_; }
    std::function<void()> onJoin;

  protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    void Form_Load();
    void fill(const Settings& st);
    void データ保存();
    void start(bool resume);

    GameState& s_;
    std::string dir_, shippedDir_;
    std::function<void()> onStart_;
    std::vector<std::string> problems_;
    bool problemsShown_ = false;
    int loadedSlot_ = 0;
    bool starting_ = false;
    NetRole netRole_ = NetRole::None;

    QLineEdit* txtName_[2];
    QRadioButton* optPlayer_[2];
    QComboBox* cboStrength_;
    QRadioButton* optShort_[2];
    QRadioButton* optVoice_[2];
    QRadioButton* optArea_[9];
    QLineEdit* txtURL_;
    QPushButton* cmdGo_;
    QPushButton* cmdContinue_;
    QPushButton* cmdMemories_;
    QPushButton* cmdKiroku_;
    QPushButton* cmdGames_;
    QPushButton* cmdManual_;
};

}  // namespace kisharin
