// 「対戦の記録」: the story of a played game from its record. Both players' points and
// money over the turns as charts, the time line of destinations, events and races, each
// player's journey on the map of Japan, and who led at the end. The story itself is the
// rules' (record/story.h, record/story_map.h); this window only paints it.
#pragma once

#include <QDialog>
#include <QImage>
#include <string>
#include <vector>

#include "record/story.h"
#include "record/story_map.h"

class QChartView;
class QComboBox;
class QLabel;
class QLineSeries;
class QListWidget;
class QPushButton;
class QWidget;

namespace kisharin {

class FrmStory : public QDialog {
    Q_OBJECT
  public:
    // The stories of a record's games (at least one); mapDataDir: the shipped MapData/.
    FrmStory(std::vector<Story> stories, std::string mapDataDir, QWidget* parent = nullptr);

    // Reads the record at `recordFile` (shipped data at `appDir`) and shows its story in a
    // window of its own that deletes itself when closed. A record that cannot be read is
    // told in a message box naming the file and line; nullptr then.
    static FrmStory* openRecord(const std::string& recordFile, const std::string& appDir, QWidget* parent);

    // The record the stories were told from: 「もう一度見る」 plays the game shown again
    // on the board (hidden without a record).
    void setRecord(std::string recordFile, std::string appDir);
    void cmdReplay_Click();

    // Shows game `index` (0-based) of the record.
    void showGame(int index);
    int gameShown() const { return shown_; }
    const Story& story() const { return stories_[static_cast<std::size_t>(shown_)]; }

    // The series of player p's points and money, one point per turn (turn 0 first).
    QLineSeries* pointSeries(int p) const { return points_[p]; }
    QLineSeries* moneySeries(int p) const { return money_[p]; }
    QListWidget* timeline() const { return timeline_; }
    QLabel* leaderLabel() const { return leader_; }
    // The journey map as painted (at twice the picker's size).
    const QImage& mapImage() const { return map_; }

    // What the buttons save after their file dialog: false when the file cannot be written.
    bool saveChartTo(const QString& path) const;
    bool saveMapTo(const QString& path) const;

  private:
    void saveChart();
    void saveMap();
    void paintMap();

    std::vector<Story> stories_;
    std::string mapDataDir_;
    int shown_ = -1;
    QComboBox* games_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* leader_ = nullptr;
    QWidget* charts_ = nullptr;
    QChartView* pointView_ = nullptr;
    QChartView* moneyView_ = nullptr;
    QLineSeries* points_[2] = {};
    QLineSeries* money_[2] = {};
    QListWidget* timeline_ = nullptr;
    QLabel* mapLabel_ = nullptr;
    QImage map_;
    QPushButton* cmdReplay_ = nullptr;
    std::string recordFile_, appDir_;
};

}  // namespace kisharin
