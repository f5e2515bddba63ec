// Transfer labels as a player meets them on the board: the label on top takes the click,
// and on the shipped railway every link of every station is a label the player can
// click, lying wholly inside the strip.
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <set>

#include "board/line_display.h"
#include "board/startup.h"
#include "board/station_file.h"
#include "platform/data_home.h"
#include "screens/look.h"
#include "screens/stripView.h"
#include "state/railway.h"
#include "state/regions.h"
#include "support/fakes.h"
#include "support/scripted_screens.h"
#include "turns/game.h"

using namespace kisharin;

class TransferLabelsTest : public QObject {
    Q_OBJECT
  private slots:
    void theLabelOnTopTakesClickAndHover();
    void everyLinkOfTheShippedRailwayIsAClickableLabelInsideTheStrip();
};

void TransferLabelsTest::theLabelOnTopTakesClickAndHover() {
    LineDisplayModel m;
    m.stripHeight = 200;
    StationView st;
    st.label = {30, 35, 120, 16};
    m.stations.push_back(st);
    TransferView a, b;
    a.rect = {160, 27, 100, 16};
    b.rect = {200, 35, 100, 16};  // painted after a, over a's lower right part
    m.transfers = {a, b};
    StripView view(m, nullptr);
    view.resize(750, 200);
    int clicked = 0, hovered = 0;
    view.onTransferClick = [&](int k) { clicked = k; };
    view.onTransferMove = [&](int k) { hovered = k; };
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(210, 38));  // in both
    QCOMPARE(clicked, 2);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(170, 30));  // in a alone
    QCOMPARE(clicked, 1);
    QMouseEvent move(QEvent::MouseMove, QPointF(250, 40), QPointF(250, 40), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
    QCOMPARE(hovered, 2);
    QCOMPARE(hitTest(m, 40, 40).station, 1);
    QCOMPARE(hitTest(m, 155, 40).transfer, 0);
    QCOMPARE(hitTest(m, 155, 40).station, 0);
}

namespace {
// A point of label k that the hit test gives to k, if there is one.
bool clickable(const LineDisplayModel& m, int k) {
    const PixelRect& r = m.transfers[static_cast<size_t>(k - 1)].rect;
    if (hitTest(m, r.left + r.width / 2, r.top + r.height / 2).transfer == k) return true;
    for (int y = r.top; y < r.top + r.height; y += 2)
        for (int x = r.left; x < r.left + r.width; x += 2)
            if (hitTest(m, x, y).transfer == k) return true;
    return false;
}
}  // namespace

void TransferLabelsTest::everyLinkOfTheShippedRailwayIsAClickableLabelInsideTheStrip() {
    GameState s;
    static_cast<RailwayData&>(s) = readStationFile(shippedDataDir() + "GameData/駅.txt");
    buildFareTable(s);
    buildRegionTables(s);
    testing::ScratchDir dir;
    s.historyBase = dir.path() + "履歴";
    testing::ScriptedScreens screens;
    DefaultRng rng;
    testing::FakeClock clock;
    QtTextMetrics metrics;
    Game g{s, screens, rng, clock};
    g.metrics = &metrics;

    const int lines = lineCount(s);
    QVERIFY(lines > 100);
    int labels = 0, hidden = 0, outside = 0, lost = 0;
    QStringList faults;
    for (int L = 1; L <= lines; ++L) {
        s.playerRosen[0] = static_cast<Integer>(L);
        s.playerEki[0] = 1;
        s.visited[0](L, 1) = True;  // nothing to record
        路線読み込み(g.s, g.line, *g.metrics);
        const int n = stationCount(s, L);
        size_t links = 0;
        for (int i = 1; i <= n; ++i) links += parseLinks(s.ekiLink(L, i)).size();
        if (g.line.transfers.size() != links) {
            ++lost;
            faults << QStringLiteral("%1: %2 links, %3 labels")
                          .arg(qs(s.ekiName(L, 0)))
                          .arg(links)
                          .arg(g.line.transfers.size());
        }
        for (int k = 1; k <= static_cast<int>(g.line.transfers.size()); ++k) {
            ++labels;
            const TransferView& t = g.line.transfers[static_cast<size_t>(k - 1)];
            QCOMPARE(int{s.norikaeList(k, 0)}, t.line);
            QCOMPARE(int{s.norikaeList(k, 1)}, t.pos);
            QCOMPARE(int{s.norikaeList(k, 2)}, t.station);
            if (!clickable(g.line, k)) {
                ++hidden;
                faults << QStringLiteral("%1 %2: 「%3」 is hidden")
                              .arg(qs(s.ekiName(L, 0)), qs(s.ekiName(L, t.station)), qs(t.caption));
            }
            if (t.rect.left + t.rect.width > kViewportWidth) {
                ++outside;
                faults << QStringLiteral("%1 %2: 「%3」 ends at %4")
                              .arg(qs(s.ekiName(L, 0)), qs(s.ekiName(L, t.station)), qs(t.caption))
                              .arg(t.rect.left + t.rect.width);
            }
        }
    }
    qInfo("%d lines, %d labels; %d lines lose labels, %d hidden, %d cut at the edge", lines, labels, lost,
          hidden, outside);
    for (int i = 0; i < faults.size() && i < 400; ++i) qWarning("%s", qPrintable(faults[i]));
    QCOMPARE(lost, 0);
    QCOMPARE(hidden, 0);
    QCOMPARE(outside, 0);
}

int main(int argc, char** argv) {
    ::unsetenv("KISHARIN_DATA_DIR");
    QApplication app(argc, argv);
    TransferLabelsTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "transfer_labels_test.moc"
