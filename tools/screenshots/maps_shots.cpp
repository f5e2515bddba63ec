// The railway maps for the screenshots: the picker in both modes and detailed maps of
// several prefectures, one with a destination and both players marked.
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QString>
#include <QWheelEvent>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "maps/picker.h"
#include "screens/frmMap.h"
#include "screens/frmOneMap.h"
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

// The first station of that name in that prefecture, as (line, position).
std::pair<int, int> stationNamed(const GameState& s, const std::string& name, const std::string& pref) {
    for (int line = 1; line <= lineCount(s); ++line)
        for (int pos = 1; pos <= stationCount(s, line); ++pos)
            if (s.ekiName(line, pos) == name && s.ekiPref(line, pos) == pref) return {line, pos};
    return {0, 0};
}

void showMap(GameState& s, const std::string& pref, const QString& path,
             void (*after)(FrmOneMap&) = nullptr) {
    mapPick().pickedPref = pref;
    mapPick().prefPicked = True;
    FrmOneMap w(s, nullptr);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    w.Form_Activate();
    if (after) after(w);
    grabTo(w, path);
    w.hide();
}

// Three notches of the wheel over the middle of Tokyo, a box marked from 新宿 to 東京
// (left, then right button), and "変更": the frame shows the box.
void wheelAndBox(FrmOneMap& w) {
    for (int i = 0; i < 3; ++i) {
        const QPointF at(490, 165);
        QWheelEvent e(at, w.canvas()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.canvas(), &e);
    }
    OneMap& m = w.model();
    const CanvasScale c = m.scale();
    const auto at = [&](int x, int y) {
        return std::pair<float, float>(static_cast<float>(c.lonAt(x)), static_cast<float>(c.latAt(y)));
    };
    const auto [x1, y1] = at(380, 95);
    const auto [x2, y2] = at(560, 255);
    m.picMain_MouseDown(MouseButton::Left, x1, y1);
    m.picMain_DragDrop(x1, y1);
    m.picMain_MouseDown(MouseButton::Right, x2, y2);
    w.sync();
}

}  // namespace

// Writes the map pictures into outDir; returns how many.
int saveMapScreenshots(GameState& s, const QString& outDir) {
    GameState keep = s;
    {
        FrmMap picker(s, QString(), nullptr, nullptr);
        grabTo(picker, outDir + "/frmMap.png");
        picker.hide();
        // Moved by the keys: the first key marks where the player to move stands, the next
        // goes down from there.
        FrmMap keys(s, QString(), nullptr, nullptr);
        keys.show();
        for (int i = 0; i < 2; ++i) {
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            QApplication::sendEvent(&keys, &down);
        }
        grabTo(keys, outDir + "/frmMap_keys.png");
        keys.hide();
        FrmMap god(s, QStringLiteral("God"), nullptr, nullptr);
        grabTo(god, outDir + "/frmMap_move.png");
        god.hide();
    }
    showMap(s, "東京都", outDir + "/frmOneMap_tokyo.png");
    // Enlarged two steps with the zoom bar, painted where the frame shows it (run with
    // QT_SCALE_FACTOR=2 for the screen scaled x2).
    showMap(s, "東京都", outDir + "/frmOneMap_tokyo_zoom2.png",
            [](FrmOneMap& w) { w.zoomBar()->setValue(2); });
    showMap(s, "東京都", outDir + "/frmOneMap_wheel_marked.png", wheelAndBox);
    showMap(s, "東京都", outDir + "/frmOneMap_tokyo_wheel_box.png", [](FrmOneMap& w) {
        wheelAndBox(w);
        w.zoomButton()->click();
    });
    showMap(s, "北海道", outDir + "/frmOneMap_hokkaido.png");
    showMap(s, "沖縄県", outDir + "/frmOneMap_okinawa.png");
    showMap(s, "大阪府", outDir + "/frmOneMap_osaka_zoomed.png", [](FrmOneMap& w) {
        OneMap& m = w.model();
        // Twice into the middle of Osaka: first the city, then around Umeda and Namba; the
        // corners picked on the model, "変更" pressed in the window as a player does.
        m.picMain_MouseDown(MouseButton::Left, 135.35f, 34.80f);
        m.picMain_DragDrop(135.35f, 34.80f);
        m.picMain_MouseDown(MouseButton::Right, 135.65f, 34.55f);
        w.zoomButton()->click();
        m.picMain_MouseDown(MouseButton::Left, 135.46f, 34.72f);
        m.picMain_DragDrop(135.46f, 34.72f);
        m.picMain_MouseDown(MouseButton::Right, 135.54f, 34.64f);
        w.zoomButton()->click();
    });
    // A destination and both players in 神奈川県.
    const auto dest = stationNamed(s, "小田原", "神奈川県");
    const auto p1 = stationNamed(s, "横浜", "神奈川県");
    const auto p2 = stationNamed(s, "藤沢", "神奈川県");
    s.mokutekitiRosen[1] = static_cast<Integer>(dest.first);
    s.mokutekitiEki[1] = static_cast<Integer>(dest.second);
    s.playerRosen[0] = static_cast<Integer>(p1.first);
    s.playerEki[0] = static_cast<Integer>(p1.second);
    s.playerRosen[1] = static_cast<Integer>(p2.first);
    s.playerEki[1] = static_cast<Integer>(p2.second);
    showMap(s, "神奈川県", outDir + "/frmOneMap_marked.png");
    s = keep;
    return shots;
}
