// The conquest record 「乗りつぶし記録」: the stations and lines each player has reached
// across all games. A map of Japan coloured by the share of stations reached, with the
// figures per region and prefecture; the lines with what is left of each; a
// prefecture's railway map with the reached stations marked. It reads only the railway
// data and the two history files.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <array>
#include <string>

#include "maps/conquest_record.h"
#include "maps/map_view.h"
#include "screens/look.h"
#include "screens/mapSheet.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;
class QRadioButton;
class QTabWidget;
class QTreeWidget;

namespace kisharin {

class JapanShareMap;

// The colour of player 1, player 2 and the two together.
Long conquestColor(int who);
// The fill of a share step (shareStep) for who; -1 is a prefecture without stations.
QColor shareFill(int who, int step);

class FrmKiroku : public QDialog {
    Q_OBJECT
  public:
    // names: the two players' names as the settings give them; mapDataDir: the shipped
    // MapData folder.
    FrmKiroku(ConquestInputs inputs, const std::array<std::string, 2>& names, std::string mapDataDir,
              QWidget* parent = nullptr);

    // Reads the data and both histories (railway: the board's tables when it has them,
    // else appDir's station file), tells the notices of a damaged history as the board
    // does, and returns the window, not yet shown; nullptr (after telling why) when the
    // railway data cannot be read.
    static FrmKiroku* create(const std::string& appDir, const std::string& historyBase,
                             const std::array<std::string, 2>& names, const RailwayData* railway,
                             QWidget* parent);

    // From the board: one window of its own (not the board's child, so that the
    // computer's turn leaves it usable), raised when it is already open; it goes when
    // the board goes.
    static void showFromBoard(const GameState& s, QWidget* board);

    const ConquestRecord& record() const { return record_; }
    int who() const { return who_; }
    void setWho(int who);
    // Opens the railway map of prefecture `code` (1..47) on its page.
    void openPrefecture(int code);
    // Shows the stations of line r.lines[index].
    void openLine(int index);
    void setFilter(int region, int prefCode);

    QTabWidget* pages() const { return tabs_; }
    JapanShareMap* japan() const { return japan_; }
    QTreeWidget* placeList() const { return lvwPlaces_; }
    QTreeWidget* lineList() const { return lvwLines_; }
    QListWidget* stationList() const { return lstStations_; }
    QLabel* summary() const { return lblSummary_; }
    QLabel* detailPicture() const { return picDetail_; }
    QLabel* detailCaption() const { return lblDetail_; }
    QScrollArea* detailScroll() const { return scrDetail_; }
    // The prefecture's map: its size in pixels, and its zoom (0 the whole map fitting the
    // page, each step half as large again). zoomDetail keeps the map point at `at` (a
    // point of the page's visible part) where it is.
    int detailSize() const { return detailSize_; }
    int detailZoom() const { return detailZoom_; }
    void zoomDetail(int zoom, QPoint at);
    void zoomDetail(int zoom);
    static constexpr int kDetailZoomMax = 4;
    // The hint over the prefecture's map at a point of picDetail: the station's name,
    // its line and whether it was reached; empty away from the names.
    QString detailHint(const QPoint& at) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void drawDetail();
    int detailFit();
    int detailSizeAt(int zoom);
    void fillPlaces();
    void fillLines();
    void fillPrefFilter();
    void refresh();

    ConquestInputs in_;
    ConquestRecord record_;
    std::array<std::string, 2> names_;
    std::string mapDataDir_;
    KeptTextMetrics metrics_;  // kept for the whole program, as the detailed map keeps them
    int who_ = 0;
    int detailPref_ = 0;
    int shownLine_ = -1;

    QRadioButton* optWho_[3] = {};
    QLabel* lblSummary_;
    QTabWidget* tabs_;
    JapanShareMap* japan_;
    QTreeWidget* lvwPlaces_;
    QComboBox* cboRegion_;
    QComboBox* cboPref_;
    QTreeWidget* lvwLines_;
    QLabel* lblLine_;
    QListWidget* lstStations_;
    QLabel* lblDetail_;
    QLabel* picDetail_;
    QScrollArea* scrDetail_;
    QPushButton* cmdDetailIn_;
    QPushButton* cmdDetailOut_;
    QPushButton* cmdDetailWhole_;
    MapPicture detailPic_;
    int detailSize_ = 0;
    int detailZoom_ = 0;
    int detailWheel_ = 0;  // eighths of a degree turned short of a notch
    bool detailHolding_ = false;
    QPoint detailHeld_;  // where the held map was last, on the screen
};

// The map of Japan coloured by the share of stations reached, with its legend; the
// pointer's hint gives the prefecture's counts and a click opens its railway map.
class JapanShareMap : public QWidget {
    Q_OBJECT
  public:
    JapanShareMap(const ConquestRecord& r, std::string mapDataDir, QWidget* parent);
    void setWho(int who);
    // The prefecture under a point of the map, 0 for the sea.
    int prefAt(const QPointF& p) const;
    // The hint for prefecture `code`.
    QString hint(int code) const;
    // Paints the whole map (the sea, the prefectures, the legend) as the window shows it.
    void paintAll(QPainter& p) const;

  signals:
    void prefClicked(int code);

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;

  private:
    const ConquestRecord& r_;
    std::string dir_;
    int who_ = 0;
    QImage cache_;
};

}  // namespace kisharin
