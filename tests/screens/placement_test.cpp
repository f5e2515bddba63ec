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
    void aWindowStandsCentredOverItsOwnerAndOnTheScreen() {
        const QRect screen(0, 0, 1280, 1024);
        // Room enough: centred over the board.
        QCOMPARE(placedOver(QSize(675, 681), QRect(249, 230, 784, 600), screen), QPoint(303, 190));
        // A board near the bottom right corner: the window is pulled back onto the screen.
        QCOMPARE(placedOver(QSize(675, 681), QRect(700, 600, 784, 600), screen), QPoint(605, 343));
        // And near the top left corner.
        QCOMPARE(placedOver(QSize(675, 681), QRect(-200, -100, 400, 300), screen), QPoint(0, 0));
        // A screen smaller than the window: its top left corner stays in view, for the
        // title bar to drag it by.
        QCOMPARE(placedOver(QSize(675, 681), QRect(0, 0, 784, 600), QRect(0, 24, 640, 480)), QPoint(0, 24));
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
