// The conquest record for the screenshots: an empty, a partial and a full history, a
// prefecture's railway map and the lines list. The histories are made up here, the same
// on every run.
#include <QApplication>
#include <QScrollArea>
#include <QString>
#include <QTabWidget>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>

#include "maps/picker.h"
#include "screens/frmKiroku.h"
#include "state/railway.h"

using namespace kisharin;

namespace {

int shots = 0;

void grabTo(QWidget& w, const QString& path) {
    w.show();
    QApplication::processEvents();
    if (!w.grab().save(path)) {
        std::fprintf(stderr, "kisharin-screenshots: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    ++shots;
}

int regionOfLine(const RailwayData& d, int line) {
    const int code = prefectureCode(d.ekiPref(line, 1));
    return code ? prefectureRegion(code) : 0;
}

// Player 1 lives in 関東: most of its lines, every other line of 北海道, the first
// stations of 近畿's lines. Player 2 has travelled 九州 and part of 中国.
ConquestInputs partial(const RailwayData& d) {
    ConquestInputs in;
    in.railway = d;
    for (int line = 1; line <= lineCount(d); ++line) {
        const int n = stationCount(d, line);
        const int region = regionOfLine(d, line);
        for (int pos = 1; pos <= n; ++pos) {
            const bool p1 = (region == 3 && (line % 4 != 0 || pos <= n / 2)) ||
                            (region == 1 && line % 2 == 0) || (region == 5 && pos <= 3);
            const bool p2 = (region == 8 && (line % 3 != 0 || pos <= n / 3)) || (region == 6 && pos <= n / 2);
            if (p1) in.visited[0](line, pos) = true;
            if (p2) in.visited[1](line, pos) = true;
        }
    }
    return in;
}

ConquestInputs full(const RailwayData& d) {
    ConquestInputs in;
    in.railway = d;
    for (int line = 1; line <= lineCount(d); ++line)
        for (int pos = 1; pos <= stationCount(d, line); ++pos)
            in.visited[0](line, pos) = in.visited[1](line, pos) = true;
    return in;
}

}  // namespace

int saveKirokuScreenshots(const GameState& s, const QString& outDir) {
    const std::array<std::string, 2> names{"ひかり", "のぞみ"};
    const std::string maps = s.appDir + "MapData/";
    {
        ConquestInputs empty;
        empty.railway = s;
        FrmKiroku w(std::move(empty), names, maps);
        grabTo(w, outDir + "/frmKiroku_empty.png");
    }
    {
        FrmKiroku w(partial(s), names, maps);
        grabTo(w, outDir + "/frmKiroku_partial.png");
        w.setWho(1);
        grabTo(w, outDir + "/frmKiroku_partial_player2.png");
        w.setWho(0);
        w.openPrefecture(prefectureCode("神奈川県"));
        grabTo(w, outDir + "/frmKiroku_prefecture.png");
        // Two steps of the zoom around 横浜, and 和歌山県 whole at the plain size.
        w.zoomDetail(2, QPoint(w.detailScroll()->viewport()->width() * 3 / 4,
                               w.detailScroll()->viewport()->height() / 3));
        grabTo(w, outDir + "/frmKiroku_prefecture_zoomed.png");
        w.openPrefecture(prefectureCode("和歌山県"));
        grabTo(w, outDir + "/frmKiroku_wakayama.png");
        w.pages()->setCurrentIndex(1);
        w.setFilter(3, 0);
        if (QTreeWidgetItem* item = w.lineList()->topLevelItem(20)) w.lineList()->setCurrentItem(item);
        grabTo(w, outDir + "/frmKiroku_lines.png");
    }
    {
        FrmKiroku w(full(s), names, maps);
        w.setWho(2);
        grabTo(w, outDir + "/frmKiroku_full.png");
    }
    return shots;
}
