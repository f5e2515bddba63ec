// A window that opens a box as it appears waits until it stands where it will be seen.
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "screens/placement.h"

using namespace kisharin;

class PlacementTest : public QObject {
    Q_OBJECT
  private slots:
    void waitsUntilTheWindowIsOnTheScreen() {
        QWidget w;
        w.resize(200, 100);
        int calls = 0;
        bool exposedWhenCalled = false;
        whenShownOnScreen(&w, [&] {
            ++calls;
            exposedWhenCalled = w.windowHandle() && w.windowHandle()->isExposed();
        });
        QTest::qWait(20);
        QCOMPARE(calls, 0);  // not shown yet: nothing opens
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_COMPARE(calls, 1);
        QVERIFY(exposedWhenCalled);
        // Hidden and shown again, the window does not open the box a second time.
        w.hide();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::qWait(20);
        QCOMPARE(calls, 1);
    }
    void aWindowAlreadyShownRunsFromTheEventLoop() {
        QWidget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        int calls = 0;
        whenShownOnScreen(&w, [&] { ++calls; });
        QCOMPARE(calls, 0);  // never from inside the caller
        QTRY_COMPARE(calls, 1);
    }
    void aWindowClosedForGoodRunsNothing() {
        int calls = 0;
        auto* w = new QWidget;
        whenShownOnScreen(w, [&] { ++calls; });
        w->show();
        delete w;  // gone before the event loop ran
        QTest::qWait(30);
        QCOMPARE(calls, 0);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    PlacementTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "placement_test.moc"
