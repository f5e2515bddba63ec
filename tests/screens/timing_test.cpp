// The game's timers run at their own pace: only a test can speed them up, never a
// setting in the player's environment.
#include <QCoreApplication>
#include <QTest>
#include <cstdlib>

#include "screens/timing.h"

using namespace kisharin;

class TimingTest : public QObject {
    Q_OBJECT
  private slots:
    void theEnvironmentDoesNotChangeTheGamesTimes() {
        ::setenv("KISHARIN_TIME_SCALE", "0.01", 1);
        QCOMPARE(scaledMs(1000), 1000);
        QCOMPARE(scaledMs(80), 80);
    }
    void aTestMaySpeedThemUpWithinReason() {
        setTimeScale(0.01);
        QCOMPARE(scaledMs(1000), 10);
        QCOMPARE(scaledMs(30), 1);  // never below one millisecond
        for (double nonsense : {0.0, -1.0, 2.0}) {
            setTimeScale(nonsense);
            QCOMPARE(scaledMs(1000), 1000);
        }
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TimingTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "timing_test.moc"
