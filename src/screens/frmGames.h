// The list of games played 「これまでの対戦」: every game that ended or was left at this
// computer, newest first, with who played, the turns, points, money and destinations,
// who led and whether it came to its results; filters by area, mode, opponent and end;
// the share of games won against each computer strength; the story of a game and its
// record saved as a file, and the story of any record file. It reads GameList.jsonl and
// the kept records (record/game_list.h).
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "record/game_list.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace kisharin {

class FrmGames : public QDialog {
    Q_OBJECT
  public:
    // Opens the story of one game from its kept record; when none is given, the button
    // that would open it stays disabled.
    using OpenStory = std::function<void(const std::string& recordFile)>;
    FrmGames(std::string gameDataDir, QWidget* parent, OpenStory openStory = {});

    // The entries the table shows, newest first, and the notices of lines skipped.
    const std::vector<GameEntry>& shown() const { return shown_; }
    const std::vector<std::string>& notices() const { return notices_; }
    QTableWidget* table() const { return table_; }
    // The entry of the selected row, nullptr when none.
    const GameEntry* selected() const;

    void cmdStory_Click();
    void cmdSaveRecord_Click();  // asks where, then saveRecordTo
    // 「記録を開く」: asks for any record file and opens its story (a file that does not
    // read is told by the story window, with the file and the line).
    void cmdOpenRecord_Click();
    // Writes the selected game's record to `path`; false after telling the player why.
    bool saveRecordTo(const QString& path);

  protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void refill();
    void selectionChanged();

    std::string dir_;
    OpenStory openStory_;
    std::vector<GameEntry> all_, shown_;
    std::vector<std::string> notices_;
    bool noticesShown_ = false;
    QComboBox* cboArea_;
    QComboBox* cboMode_;
    QComboBox* cboOpponent_;
    QComboBox* cboEnd_;
    QTableWidget* table_;
    QLabel* lblWins_;
    QLabel* lblCount_;
    QPushButton* cmdStory_;
    QPushButton* cmdReplay_ = nullptr;
    QPushButton* cmdSaveRecord_;
};

}  // namespace kisharin
