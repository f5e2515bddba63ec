// The story window 「対戦の記録」 on a real record of simulated games: the charts hold one
// point per turn with the game's numbers, the time line lists the destinations, the map
// draws both journeys, the pictures are saved; the results window opens it; a damaged
// record is told with its file and line.
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "../../tools/sim/sim_record.h"
#include "record/story.h"
#include "screen_support.h"
#include "screens/frmEnd.h"
#include "screens/frmStory.h"
#include "screens/look.h"

using namespace kisharin;
using namespace kisharin::testing;

class StoryTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void theChartsTheTimeLineAndTheMapTellTheRecordedGames();
    void theResultsWindowOpensTheStoryBesideItsOwnButton();
    void aDamagedRecordIsToldWithItsFileAndLine();

  private:
    ScratchDir dir_;
    std::string rec_;
};

void StoryTest::initTestCase() {
    rec_ = dir_.file("GameRecord.jsonl");
    const std::vector<int> turns =
        sim::writeSimRecord(rec_, 3, 2, 5000, {sim::SideKind::Weak, sim::SideKind::Strong, false});
    QCOMPARE(turns.size(), size_t{2});
}

void StoryTest::theChartsTheTimeLineAndTheMapTellTheRecordedGames() {
    const std::vector<Story> stories = readStories(rec_, shippedDataDir());
    QPointer<FrmStory> w = FrmStory::openRecord(rec_, shippedDataDir(), nullptr);
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->windowTitle(), QStringLiteral("対戦の記録"));
    for (int game = 0; game < 2; ++game) {
        w->showGame(game);
        const Story& st = stories[static_cast<std::size_t>(game)];
        for (int p = 0; p < 2; ++p) {
            const QList<QPointF> pts = w->pointSeries(p)->points(), money = w->moneySeries(p)->points();
            QCOMPARE(pts.size(), static_cast<qsizetype>(st.turns.size()));
            QCOMPARE(money.size(), pts.size());
            for (qsizetype t = 0; t < pts.size(); ++t) {
                QCOMPARE(pts[t].x(), static_cast<double>(t));
                QCOMPARE(pts[t].y(),
                         static_cast<double>(
                             st.turns[static_cast<std::size_t>(t)].points[static_cast<std::size_t>(p)]));
                QCOMPARE(money[t].y(),
                         static_cast<double>(
                             st.turns[static_cast<std::size_t>(t)].money[static_cast<std::size_t>(p)]));
            }
        }
        // Every destination reached is on the time line, with its turn.
        int listed = 0;
        for (int i = 0; i < w->timeline()->count(); ++i)
            if (w->timeline()->item(i)->text().contains(QStringLiteral("◎ "))) ++listed;
        QCOMPARE(listed, st.end.arrived[0] + st.end.arrived[1]);
        QVERIFY(listed > 0);
        QVERIFY(w->leaderLabel()->text().contains(qs(st.leaderText())));
        // Both journeys in their colours on the map.
        int blue = 0, red = 0;
        const QImage& map = w->mapImage();
        for (int y = 0; y < map.height(); y += 2)
            for (int x = 0; x < map.width(); x += 2) {
                const QColor c = map.pixelColor(x, y);
                if (c.blue() > 200 && c.red() < 80 && c.green() < 80) ++blue;
                if (c.red() > 200 && c.blue() < 80 && c.green() < 80) ++red;
            }
        QVERIFY2(blue > 50 && red > 50, qPrintable(QStringLiteral("blue %1 red %2").arg(blue).arg(red)));
    }
    // The keys reach the list of events and the buttons.
    QTest::keyClick(w, Qt::Key_E, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), w->timeline());
    // The pictures are saved as PNG.
    QVERIFY(w->saveChartTo(QString::fromStdString(dir_.file("chart.png"))));
    QVERIFY(w->saveMapTo(QString::fromStdString(dir_.file("map.png"))));
    QImage chart(QString::fromStdString(dir_.file("chart.png"))),
        map(QString::fromStdString(dir_.file("map.png")));
    QVERIFY(chart.width() > 300 && chart.height() > 300);
    QCOMPARE(map.size(), w->mapImage().size());
    QVERIFY(!w->saveMapTo(QString::fromStdString(dir_.file("no/such/folder/map.png"))));
    if (const char* shots = std::getenv("KISHARIN_STORY_SHOT")) w->grab().save(QString::fromLocal8Bit(shots));
    w->close();
    QTRY_VERIFY(!w);  // it deletes itself
}

void StoryTest::theResultsWindowOpensTheStoryBesideItsOwnButton() {
    EndWatch end;  // closing the results would end the program
    GameState s;
    s.appDir = shippedDataDir();
    s.playerName[0] = "たろう";
    s.playerName[1] = "はなこ";
    QRect kiroku;
    {
        FrmEnd plain(s, nullptr);
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        QVERIFY(!plain.findChild<QPushButton*>(QStringLiteral("cmdStory"))->isVisible());
        kiroku = plain.findChild<QPushButton*>(QStringLiteral("cmdKiroku"))->geometry();
        plain.accept();
    }
    FrmEnd w(s, nullptr, true, rec_);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Beside the conquest record's button, which stays where it was; it opens the story.
    auto* story = w.findChild<QPushButton*>(QStringLiteral("cmdStory"));
    QCOMPARE(story->text(), QStringLiteral("対戦の記録"));
    QCOMPARE(w.findChild<QPushButton*>(QStringLiteral("cmdKiroku"))->geometry(), kiroku);
    story->click();
    FrmStory* opened = w.findChild<FrmStory*>();
    QVERIFY(opened);
    QCOMPARE(opened->story().turns.size(), readStories(rec_, shippedDataDir())[0].turns.size());
    opened->close();
}

void StoryTest::aDamagedRecordIsToldWithItsFileAndLine() {
    const std::string bad = dir_.file("bad.jsonl");
    writeBytesAtomic(bad, readFileBytes(rec_).substr(0, 400) + "\n{\"t\":\"cmd\"}\n");
    QString told;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->text();
            box->close();
        }
    });
    watch.start();
    QVERIFY(!FrmStory::openRecord(bad, shippedDataDir(), nullptr));
    QVERIFY2(told.contains(QString::fromStdString(bad)) && told.contains(QStringLiteral("行")),
             qPrintable(told));
}

QTEST_MAIN(StoryTest)
#include "story_test.moc"
