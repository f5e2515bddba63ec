// The conquest record window: the map coloured by the share of stations reached, the
// hint and the click on a prefecture, its railway map with the reached stations marked,
// and the lines list with a line's stations.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>
#include <filesystem>

#include "board/station_file.h"
#include "maps/picker.h"
#include "screen_support.h"
#include "screens/frmInit.h"
#include "screens/frmKiroku.h"
#include "screens/frmMap.h"

using namespace kisharin;
using namespace kisharin::testing;

class KirokuTest : public QObject {
    Q_OBJECT
  private slots:
    void theMapTheHintAndAPrefecturesRailwayMapShowWhatWasReached();
    void theLinesListPutsTheFewestLeftFirstAndShowsALinesStations();
    void theSetupWindowOpensItWithTheNamesTyped();
    void aPrefecturesMapFitsThePageAndZoomsAroundThePointer();

  private:
    std::unique_ptr<FrmKiroku> open();
    ScratchDir dir_;
};

std::unique_ptr<FrmKiroku> KirokuTest::open() {
    // 品川 on two lines; player 1 has 東京 and 品川, player 2 新宿.
    TestLine a{"A線", {"東京", "品川", "横浜"}, {"東京都", "東京都", "神奈川県"}};
    TestLine b{"B線", {"品川", "新宿"}, {"東京都"}};
    static const RailwayData railway = makeRailway({a, b});
    if (!std::filesystem::exists(dir_.file("MapData")))
        std::filesystem::copy(std::string(KISHARIN_TEST_FIXTURES) + "/MapData", dir_.file("MapData"),
                              std::filesystem::copy_options::recursive);
    writeBytesAtomic(dir_.file("履歴0.txt"), "1 1\r\n1 2\r\n");
    writeBytesAtomic(dir_.file("履歴1.txt"), "2 2\r\n");
    std::unique_ptr<FrmKiroku> w(
        FrmKiroku::create(dir_.path(), dir_.file("履歴"), {"たろう", "はなこ"}, &railway, nullptr));
    w->show();
    return w;
}

// A point well inside 東京都 on the map of Japan, away from its outline.
QPoint insideTokyo(const FrmKiroku& w) {
    const QRect box = w.japan()->rect();
    const auto tokyo = [&](int x, int y) { return w.japan()->prefAt(QPointF(x, y)) == 13; };
    for (int y = 4; y < box.height() - 4; y += 2)
        for (int x = 4; x < box.width() - 4; x += 2)
            if (tokyo(x, y) && tokyo(x - 4, y - 4) && tokyo(x + 4, y - 4) && tokyo(x - 4, y + 4) &&
                tokyo(x + 4, y + 4))
                return {x, y};
    return {-1, -1};
}

void KirokuTest::theMapTheHintAndAPrefecturesRailwayMapShowWhatWasReached() {
    const auto w = open();
    QVERIFY(w->summary()->text().contains(QStringLiteral("駅 2 / 4")));
    const QPoint tokyo = insideTokyo(*w);
    QVERIFY(tokyo.x() >= 0);
    // 2 of 東京都's 3 stations for player 1, 1 for player 2: each share in its step.
    QCOMPARE(w->japan()->grab().toImage().pixelColor(tokyo), shareFill(0, 3));
    QVERIFY(w->japan()->hint(13).contains(QStringLiteral("駅 2 / 3")));
    w->setWho(1);
    QCOMPARE(w->japan()->grab().toImage().pixelColor(tokyo), shareFill(1, 2));
    QVERIFY(w->japan()->hint(13).contains(QStringLiteral("駅 1 / 3")));
    QVERIFY(shareFill(0, 0) != shareFill(0, 1));  // nothing is not "a few"

    // A click opens 東京都's railway map with 新宿 (reached by player 2) in red.
    QTest::mouseClick(w->japan(), Qt::LeftButton, {}, tokyo);
    QCOMPARE(w->pages()->currentIndex(), 2);
    QVERIFY(w->detailCaption()->text().startsWith(QStringLiteral("東京都")));
    const QImage map = w->detailPicture()->pixmap().toImage();
    int red = 0;
    for (int y = 0; y < map.height(); ++y)
        for (int x = 0; x < map.width(); ++x) {
            const QColor c = map.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 90 && c.blue() < 90;
        }
    QVERIFY2(red > 10, qPrintable(QString::number(red)));
    // The hints over the names say which were reached.
    QStringList hints;
    for (int y = 0; y < w->detailPicture()->height(); y += 3)
        for (int x = 0; x < w->detailPicture()->width(); x += 3) {
            const QString h = w->detailHint({x, y});
            if (!h.isEmpty() && !hints.contains(h)) hints << h;
        }
    QVERIFY2(hints.contains(QStringLiteral("新宿（山手線）　到達済み")), qPrintable(hints.join('|')));
    QVERIFY2(hints.contains(QStringLiteral("池袋（山手線）　まだ")), qPrintable(hints.join('|')));
}

void KirokuTest::theLinesListPutsTheFewestLeftFirstAndShowsALinesStations() {
    const auto w = open();
    QTreeWidget* lines = w->lineList();
    // Player 1: B線 has 1 left, A線 1 left too (横浜): the railway's order then.
    QCOMPARE(lines->topLevelItemCount(), 2);
    w->setWho(1);
    QCOMPARE(lines->topLevelItem(0)->text(0), QStringLiteral("B線"));
    QCOMPARE(lines->topLevelItem(0)->text(1), QStringLiteral("1 / 2"));
    w->setFilter(0, prefectureCode("神奈川県"));
    QCOMPARE(lines->topLevelItemCount(), 1);
    QCOMPARE(lines->topLevelItem(0)->text(0), QStringLiteral("A線"));
    w->setWho(0);
    lines->setCurrentItem(lines->topLevelItem(0));
    QListWidget* stations = w->stationList();
    QCOMPARE(stations->count(), 3);
    QVERIFY(stations->item(0)->text().startsWith(QStringLiteral("★ 東京")));
    QVERIFY(stations->item(1)->text().startsWith(QStringLiteral("★ 品川")));
    QVERIFY(!stations->item(2)->text().contains(QStringLiteral("★")));
}

void KirokuTest::theSetupWindowOpensItWithTheNamesTyped() {
    ScratchDir shipped;
    makeDirectories(shipped.file("GameData"));
    writeBytesAtomic(shipped.file("GameData/駅.txt"), formatStationFile(makeRailway({line("A線", 4)}), "駅"));
    writeCp932(shipped.file("GameData/NameData.txt"), {"たろう", "はなこ", " 0 ", " 1 ", " 1 ", " 0 "});
    writeCp932(shipped.file("GameData/URL.txt"), {"https://example.invalid/map"});
    writeBytesAtomic(shipped.file("GameData/履歴0.txt"), "1 1\r\n1 4\r\n");
    writeBytesAtomic(shipped.file("GameData/履歴1.txt"), "");
    GameState s;
    s.appDir = shipped.path();
    FrmInit init(s, shipped.file("GameData/"), shipped.file("GameData/"), nullptr);
    init.findChild<QLineEdit*>(QStringLiteral("txtName(0)"))->setText(QStringLiteral("じろう"));
    QString seen;
    whenModal([&seen](QWidget* w) {
        auto* record = qobject_cast<FrmKiroku*>(w);
        if (record)
            seen = record->findChild<QRadioButton*>(QStringLiteral("optWho(0)"))->text() + " " +
                   record->summary()->text().section(QStringLiteral("（"), 0, 0);
        w->close();
    });
    init.findChild<QPushButton*>(QStringLiteral("cmdKiroku"))->click();
    QCOMPARE(seen, QStringLiteral("じろうさん 駅 2 / 4"));  // named as in the game
}

// A prefecture's map fits the page; the wheel zooms it around the pointer, 「全体」 fits it.
void KirokuTest::aPrefecturesMapFitsThePageAndZoomsAroundThePointer() {
    const auto w = open();
    w->openPrefecture(13);
    QWidget* page = w->detailScroll()->viewport();
    const int fit = w->detailSize();
    QCOMPARE(fit, std::min(page->width(), page->height()));
    const QPoint at(page->width() / 3, page->height() / 4);
    const double down = double(at.y() - w->detailPicture()->y()) / fit;
    QWheelEvent notch(QPointF(at), QPointF(page->mapToGlobal(at)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(page, &notch);
    QCOMPARE(w->detailSize(),
             static_cast<int>(fit * 1.5));  // down, where the map outgrows the page, the point stays
    QVERIFY(std::abs(double(at.y() - w->detailPicture()->y()) / w->detailSize() - down) < 0.01);
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdDetailWhole")), Qt::LeftButton);
    QCOMPARE(w->detailSize(), fit);
}

QTEST_MAIN(KirokuTest)
#include "kiroku_test.moc"
