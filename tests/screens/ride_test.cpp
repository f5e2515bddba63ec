// The ride window and the conquest celebration on screen: they open, animate, pay and
// close by themselves, and nothing the player does cuts them short.
#include <QApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "scene/announce.h"
#include "screens/frmEki.h"
#include "screens/frmSeiha.h"
#include "screens/qtScreens.h"
#include "screens/timing.h"
#include "support/fakes.h"
#include "support/railway_builder.h"

using namespace kisharin;
using namespace kisharin::testing;

namespace {

class Recorder final : public Speech {
  public:
    std::vector<std::string> said;
    void speak(const std::string& text) override { said.push_back(text); }
};

// A line of n stations with the shipped train pictures; player 1 rides from a to b.
GameState rideState(const std::string& name, int n, int a, int b, const std::string& descriptor,
                    int tickMs = 80) {
    GameState s;
    TestLine l;
    l.name = name;
    for (int i = 1; i <= n; ++i) l.stations.push_back("駅" + std::to_string(i));
    l.prefs = {"東京都"};
    l.descriptor = descriptor;
    addLine(s, 1, l);
    addLine(s, 2, TestLine{"支線", {"甲", "駅2"}, {"東京都"}, {}, {}, descriptor});
    s.appDir = std::string(KISHARIN_SHIPPED_DATA_DIR) + "/";
    s.curPlayer = 0;
    s.playerRosen[0] = 1;
    s.startEki[0] = static_cast<Integer>(a);
    s.playerEki[0] = static_cast<Integer>(b);
    s.playerPoint[0] = 100;
    s.rideInfo = {"各停", rgb(0, 0, 0), static_cast<Integer>(tickMs)};
    s.gameClock = 45000 + 10.0 / 24;  // 10:00
    return s;
}

const char* kCommuter = "3\\200;0;0\\0;120;0\\0;0;200\\230;230;230\\0";

// Runs the window modally, with a watchdog that fails the test instead of hanging.
int runModal(QDialog& w, int limitMs = 20000) {
    bool timedOut = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        w.done(-1);
    });
    watchdog.start(limitMs);
    const int rc = w.exec();
    return timedOut ? -1 : rc;
}

}  // namespace

class RideTest : public QObject {
    Q_OBJECT
  private slots:
    void aRideAnimatesAndClosesByItself();
    void theOpenWindowPaysTenPointsASecond();
    void voiceModeAnnouncesTheArrivalAndOnlyThen();
    void withoutASoundDeviceTheVoiceModeRideStillCloses();
    void nothingThePlayerDoesEndsTheRide();
    void theSceneIsPaintedAsOneSurface();
    void aFlightShowsThePlaneAndNoTrain();
    void atNightTheHeaderTurnsWhite();
    void aMissingPictureLeavesAWhiteTrainAndTheRideGoesOn();
    void theBoardOpensTheRideAndTheCelebration();
    void theCelebrationRunsItsTrainAndCloses();
};

void RideTest::aRideAnimatesAndClosesByItself() {
    GameState s = rideState("本線", 10, 3, 4, kCommuter);
    FakeClock clock;
    DefaultRng rng(1);
    FrmEki w(s, rng, clock, nullptr);
    QCOMPARE(w.windowTitle(), QStringLiteral("キシャリン"));
    QCOMPARE(w.size(), QSize(994, 519));
    const int startLeft = w.motion().left();
    QCOMPARE(runModal(w), int(QDialog::Accepted));
    QVERIFY(w.motion().arrived());
    QCOMPARE(w.motion().ticks(), 57);
    QVERIFY(w.motion().left() < startLeft);
    // The hold after arrival is a second, scaled like every other time in tests.
    QVERIFY2(w.heldMs() >= scaledMs(1000) - 1, qPrintable(QString::number(w.heldMs())));
}

void RideTest::theOpenWindowPaysTenPointsASecond() {
    GameState s = rideState("本線", 40, 1, 30, kCommuter, 100);
    FakeClock clock;
    DefaultRng rng(1);
    FrmEki w(s, rng, clock, nullptr);
    QCOMPARE(w.scoreText(), QStringLiteral("100"));
    QElapsedTimer open;
    open.start();
    QCOMPARE(runModal(w), int(QDialog::Accepted));
    const qint64 ms = open.elapsed();
    // The window counts its score ticks and shows the points coming; the rules pay them.
    const Long paid = w.scoreTicks() * 10L;
    QVERIFY(paid > 0);
    // Never more than one tick per scaled second the window was open.
    QVERIFY2(paid / 10 <= ms / scaledMs(1000) + 1,
             qPrintable(QString("%1 points in %2 ms").arg(paid).arg(ms)));
    QCOMPARE(w.scoreText(), QString::number(100 + paid));
    QCOMPARE(s.playerPoint[0], 100);
}

void RideTest::voiceModeAnnouncesTheArrivalAndOnlyThen() {
    GameState s = rideState("本線", 10, 3, 2, kCommuter);
    s.ekiYomi(1, 2) = "えきに";
    s.norikaeCount = 2;
    s.norikaeList(1, 0) = 2;
    s.norikaeList(1, 1) = 2;
    s.norikaeList(1, 2) = 2;
    FakeClock clock;
    DefaultRng rng(1);
    Recorder voice;
    s.voiceMode = false;
    {
        FrmEki w(s, rng, clock, nullptr, &voice);
        QCOMPARE(runModal(w), int(QDialog::Accepted));
        QVERIFY(voice.said.empty());
    }
    s.voiceMode = true;
    FrmEki w(s, rng, clock, nullptr, &voice);
    QTimer probe;
    bool spokenEarly = false;
    QObject::connect(&probe, &QTimer::timeout,
                     [&] { spokenEarly = spokenEarly || (!w.motion().arrived() && !voice.said.empty()); });
    probe.start(1);
    QCOMPARE(runModal(w), int(QDialog::Accepted));
    QVERIFY(!spokenEarly);
    QCOMPARE(voice.said, (std::vector<std::string>{"えきにです", "よみ支線", "はお乗り換えです。"}));
}

void RideTest::withoutASoundDeviceTheVoiceModeRideStillCloses() {
    // No sound server to be found: the game's own voice stays silent.
    const QByteArray server = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", "unix:/nonexistent/kisharin-no-sound");
    GameState s = rideState("本線", 10, 3, 2, kCommuter);
    s.voiceMode = true;
    FakeClock clock;
    DefaultRng rng(1);
    FrmEki w(s, rng, clock, nullptr);
    QElapsedTimer t;
    t.start();
    QCOMPARE(runModal(w), int(QDialog::Accepted));
    QVERIFY(w.motion().arrived());
    QVERIFY(w.heldMs() >= scaledMs(1000) - 1);
    if (server.isNull())
        qunsetenv("PULSE_SERVER");
    else
        qputenv("PULSE_SERVER", server);
    QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
}

void RideTest::nothingThePlayerDoesEndsTheRide() {
    GameState s = rideState("本線", 40, 1, 25, kCommuter, 100);
    FakeClock clock;
    DefaultRng rng(1);
    FrmEki w(s, rng, clock, nullptr);
    int tries = 0;
    QTimer pester;
    QObject::connect(&pester, &QTimer::timeout, [&] {
        if (w.motion().arrived()) return;
        ++tries;
        w.close();
        static_cast<QDialog&>(w).reject();
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&w, &esc);
        QTest::mouseClick(&w, Qt::LeftButton, Qt::NoModifier, QPoint(500, 300));
    });
    pester.start(2);
    QCOMPARE(runModal(w), int(QDialog::Accepted));
    QVERIFY(tries > 0);
    QVERIFY(w.motion().arrived());  // it closed at the platform, not when asked
}

void RideTest::theSceneIsPaintedAsOneSurface() {
    GameState s = rideState("本線", 10, 3, 5, kCommuter);
    FakeClock clock;
    DefaultRng rng(1);
    FrmEki w(s, rng, clock, nullptr);
    // The strip is drawn, not built of widgets: only the four header labels are children.
    QCOMPARE(w.findChildren<QWidget*>().size(), 4);
    const QImage img = w.grab().toImage();
    const QColor sky = QColor::fromRgba(w.scene().paint.background);
    QVERIFY(w.scene().paint.skyIndex == 0 || w.scene().paint.skyIndex == 1);
    QCOMPARE(img.pixelColor(990, 60), sky);
    QCOMPARE(img.pixelColor(500, 465), QColor(Qt::black));  // the rail
    QCOMPARE(img.pixelColor(500, 337), QColor(Qt::black));  // the wire, behind nothing
    // The first board in the middle: its black frame and white face.
    const int board = w.motion().left();
    QCOMPARE(img.pixelColor(board + 1, 72 + 9), QColor(Qt::black));
    QCOMPARE(img.pixelColor(board + 10, 72 + 100), QColor(Qt::white));
    // The train stands on the rail, coloured by the line (not a white box).
    int coloured = 0;
    for (int x = 96; x < 96 + 778; x += 3) {
        const QColor c = img.pixelColor(x, 360 + 60);
        coloured += c != QColor(Qt::white) && c != sky && c != QColor(Qt::black);
    }
    QVERIFY2(coloured > 50, qPrintable(QString::number(coloured)));
    // The kind and the points are in the header.
    QCOMPARE(w.findChild<QLabel*>("lblShubetu")->text(), QStringLiteral("各停"));
    QCOMPARE(w.findChild<QLabel*>("lblRosenName")->text(), QStringLiteral("本線"));
}

void RideTest::aFlightShowsThePlaneAndNoTrain() {
    GameState s = rideState("飛行機（羽田～新千歳）", 2, 1, 2, "");
    s.rideCut = true;
    FakeClock clock;
    DefaultRng rng(1);
    FrmEki w(s, rng, clock, nullptr);
    QVERIFY(w.scene().layout.isFlight);
    const QImage img = w.grab().toImage();
    const QColor sky = QColor::fromRgba(w.scene().paint.background);
    QCOMPARE(img.pixelColor(20, 465), sky);  // no rail
    QCOMPARE(img.pixelColor(20, 337), sky);  // no wire
    int plane = 0;
    for (int y = 320; y < 516; y += 4)
        for (int x = 367; x < 627; x += 4) plane += img.pixelColor(x, y) != sky;
    QVERIFY(plane > 100);
    QCOMPARE(w.scene().layout.count(PieceKind::RedSignal), 1);
}

void RideTest::atNightTheHeaderTurnsWhite() {
    GameState s = rideState("本線", 10, 3, 5, kCommuter);
    s.gameClock = 45000 + 21.0 / 24;
    FakeClock clock;
    DefaultRng rng(1);
    FrmEki night(s, rng, clock, nullptr);
    QCOMPARE(night.scene().paint.skyIndex, 3);
    for (const char* name : {"lblRosenName", "lblPoint", "lblScore"})
        QCOMPARE(night.findChild<QLabel*>(name)->palette().color(QPalette::WindowText), QColor(Qt::white));
    auto* kind = night.findChild<QLabel*>("lblShubetu");
    QVERIFY(kind->autoFillBackground());
    QCOMPARE(kind->palette().color(QPalette::Window), QColor(Qt::white));
    const QImage img = night.grab().toImage();
    QCOMPARE(img.pixelColor(990, 60), QColor(0, 64, 128));

    s.gameClock = 45000 + 17.0 / 24;
    FrmEki evening(s, rng, clock, nullptr);
    QCOMPARE(evening.findChild<QLabel*>("lblRosenName")->palette().color(QPalette::WindowText),
             QColor(Qt::black));
    QVERIFY(!evening.findChild<QLabel*>("lblShubetu")->autoFillBackground());
}

void RideTest::aMissingPictureLeavesAWhiteTrainAndTheRideGoesOn() {
    GameState s = rideState("本線", 10, 3, 4, kCommuter);
    s.appDir = "/nonexistent/";
    FakeClock clock;
    DefaultRng rng(1);
    FrmEki w(s, rng, clock, nullptr);
    QVERIFY(!w.scene().paint.stoppedBecause.empty());
    const QImage img = w.grab().toImage();
    QCOMPARE(img.pixelColor(400, 410), QColor(Qt::white));  // the empty picture area
    QCOMPARE(runModal(w), int(QDialog::Accepted));
    QVERIFY(w.motion().arrived());
}

void RideTest::theBoardOpensTheRideAndTheCelebration() {
    GameState s = rideState("本線", 10, 2, 3, kCommuter);
    FakeClock clock;
    DefaultRng rng(1);
    QtScreens screens;
    screens.showRide(s, rng, clock);
    QVERIFY(s.playerPoint[0] >= 100);
    QElapsedTimer t;
    t.start();
    screens.showConquest(s, 1, rng, clock);
    QVERIFY(t.elapsed() >= 207 * scaledMs(30) - 5);
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY(w->objectName() != "frmEki" && w->objectName() != "frmSeiha");
}

void RideTest::theCelebrationRunsItsTrainAndCloses() {
    GameState s = rideState("本線", 3, 1, 3, kCommuter);
    FakeClock clock;
    clock.step = 1;
    DefaultRng rng(1);
    FrmSeiha first(s, 1, rng, clock, nullptr);
    QCOMPARE(first.windowTitle(), QStringLiteral("制覇！！"));
    QCOMPARE(first.size(), QSize(878, 346));
    QCOMPARE(first.caption(), QStringLiteral("本線　制覇　!!"));
    const QRect c = first.captionGeometry();
    QVERIFY(std::abs(c.center().x() - 439) <= 1);
    QVERIFY(QFontInfo(first.findChild<QLabel*>("lblTitle")->font()).family().startsWith("M PLUS"));
    QCOMPARE(runModal(first), int(QDialog::Accepted));
    QCOMPARE(first.model().ticks, 207);

    FrmSeiha second(s, 1, rng, clock, nullptr);
    FrmSeiha third(s, 1, rng, clock, nullptr);
    QVERIFY(first.titleColor() != second.titleColor() || second.titleColor() != third.titleColor());

    // A name far wider than the window stays centred on it.
    s.ekiName(1, 0) = "とてもとてもとてもとてもとてもとても長い名前の路線";
    FrmSeiha wide(s, 1, rng, clock, nullptr);
    QVERIFY(wide.captionGeometry().left() < 0);
    QVERIFY(std::abs(wide.captionGeometry().center().x() - 439) <= 1);
    second.advance(120);
    const QImage img = second.grab().toImage();
    QCOMPARE(img.pixelColor(400, 320), QColor(Qt::black));  // the rail
}

int main(int argc, char** argv) {
    kisharin::setTimeScale(0.01);
    QApplication app(argc, argv);
    RideTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "ride_test.moc"
