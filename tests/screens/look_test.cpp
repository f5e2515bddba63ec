// How the windows look while a game is played on the shipped railway data: no caption,
// label or button text is cut off, in the board or in any window that opens over it.
// With KISHARIN_LOOK_DIR set, every window seen is also saved there as a PNG to look at.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "screen_support.h"
#include "screens/desktopGame.h"
#include "screens/frmEnd.h"
#include "screens/frmInit.h"
#include "screens/frmMain.h"
#include "screens/frmMokutekiti.h"
#include "screens/frmSlots.h"
#include "screens/stripView.h"
#include "state/railway.h"

using namespace kisharin;
using namespace kisharin::testing;

namespace {

// The texts of w's visible labels, buttons and frames that do not fit their control.
QStringList clippedTexts(QWidget* w) {
    QStringList out;
    for (QLabel* l : w->findChildren<QLabel*>()) {
        if (!l->isVisibleTo(w) || l->text().isEmpty()) continue;
        const QFontMetrics m(l->font());
        const QRect room = l->contentsRect().adjusted(l->indent() > 0 ? l->indent() : 0, 0, 0, 0);
        const QRect need = l->wordWrap()
                               ? m.boundingRect(room, Qt::TextWordWrap | int(l->alignment()), l->text())
                               : QRect(0, 0, m.horizontalAdvance(l->text()), m.height());
        if (need.width() > room.width() + 1 || need.height() > room.height() + 1)
            out << l->objectName() + "「" + l->text() + "」";
    }
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
        if (!b->isVisibleTo(w) || b->text().isEmpty() || b->parent() == nullptr) continue;
        if (qobject_cast<QMessageBox*>(b->window())) continue;
        if (b->sizeHint().width() > b->width() + 1) out << b->objectName() + "「" + b->text() + "」";
    }
    for (QGroupBox* g : w->findChildren<QGroupBox*>()) {
        if (!g->isVisibleTo(w)) continue;
        if (QFontMetrics(g->font()).horizontalAdvance(g->title()) + 8 > g->width())
            out << g->objectName() + "「" + g->title() + "」";
    }
    return out;
}

int shots = 0;
void keep(QWidget* w, const QString& name) {
    const QByteArray dir = qgetenv("KISHARIN_LOOK_DIR");
    if (dir.isEmpty()) return;
    w->grab().save(QString::fromLocal8Bit(dir) +
                   QStringLiteral("/%1_%2.png").arg(++shots, 2, 10, QChar('0')).arg(name));
}

// Looks at every modal window while it is open: checked once, kept once.
class ModalWatch {
  public:
    ModalWatch() {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* w = QApplication::activeModalWidget();
            // Windows come and go on the stack, often at the same address: a window is
            // new when another one (or none) was open before it.
            if (!w || !w->isVisible()) {
                current_ = nullptr;
                return;
            }
            if (w == current_) return;
            current_ = w;
            QApplication::processEvents();
            keep(w, w->objectName().isEmpty() ? QStringLiteral("box") : w->objectName());
            for (const QString& c : clippedTexts(w)) clipped << w->objectName() + ": " + c;
            ++count;
        });
        timer_.start();
    }
    QStringList clipped;
    int count = 0;

  private:
    QTimer timer_;
    QWidget* current_ = nullptr;
};

}  // namespace

class LookTest : public QObject {
    Q_OBJECT
  private slots:
    void nothingIsCutOffDuringAGame();
};

void LookTest::nothingIsCutOffDuringAGame() {
    EndWatch end;
    ModalWatch modals;
    EventWindowAnswers events;  // a warp, the god or a race day may come up on a move
    DesktopGame game;
    QVERIFY(game.start());
    FrmInit* init = game.init();
    QTRY_VERIFY(init->isVisible());
    keep(init, QStringLiteral("frmInit"));
    QCOMPARE(clippedTexts(init), QStringList());
    pressStart(init, true);
    QTRY_VERIFY_WITH_TIMEOUT(game.board(), 20000);
    FrmMain* board = game.board();
    GameState& s = game.state();
    QTRY_VERIFY(game.game().line.stationCount() > 0 && board->isEnabled());
    keep(board, QStringLiteral("board"));
    QCOMPARE(clippedTexts(board), QStringList());

    // A transfer, when the start station has one.
    if (!game.game().line.transfers.empty()) {
        QTest::mouseClick(board->strip(), Qt::LeftButton, {},
                          board->strip()->mapFrom(board, board->transferRect(1).center()));
        QTRY_VERIFY(game.game().line.stationCount() > 0);
        keep(board, QStringLiteral("board_transfer"));
        QCOMPARE(clippedTexts(board), QStringList());
    }

    // Three rounds against the computer; each roll is looked at with a reachable
    // station under the mouse.
    for (int round = 0; round < 3; ++round) {
        QTRY_VERIFY_WITH_TIMEOUT(s.curPlayer == 0 && board->isEnabled() && s.susumuSteps == 0, 20000);
        // Work when the fare cannot be paid or the line has no other station to ride to.
        if (s.playerMoney[0] < s.kindFare[s.selKind] || game.game().line.stationCount() < 2) {
            QTest::mouseClick(board->findChild<QPushButton*>(QStringLiteral("cmdWork")), Qt::LeftButton);
            continue;
        }
        QTest::mouseClick(board->findChild<QPushButton*>(QStringLiteral("cmdSusumu")), Qt::LeftButton);
        QTRY_VERIFY(s.susumuSteps > 0);
        const int n = game.game().line.stationCount();
        const int here = s.playerEki[0];
        // The farthest station within reach, forward when there is one, else backward.
        const int to = here < n ? std::min(n, here + s.susumuSteps) : std::max(1, here - s.susumuSteps);
        const QPoint at = board->strip()->mapFrom(board, board->stationRect(to).center());
        QTest::mouseMove(board->strip(), at);
        QTest::qWait(20);
        keep(board, QStringLiteral("board_rolled"));
        QCOMPARE(clippedTexts(board), QStringList());
        QTest::mouseClick(board->strip(), Qt::LeftButton, {}, at);
    }
    QTRY_VERIFY_WITH_TIMEOUT(s.curPlayer == 0 && board->isEnabled() && s.susumuSteps == 0, 20000);

    // The destination list, the course and the results.
    whenModal([](QWidget* list) { QTimer::singleShot(30, list, &QWidget::close); });
    QTest::mouseClick(board->findChild<QPushButton*>(QStringLiteral("cmdMokutekiti")), Qt::LeftButton);
    QTest::mouseClick(board->findChild<QPushButton*>(QStringLiteral("cmdCourse")), Qt::LeftButton);
    QTRY_VERIFY(board->course() && board->course()->isVisible());
    keep(board->course(), QStringLiteral("frmCourse"));
    QCOMPARE(clippedTexts(board->course()), QStringList());
    s.playSeconds = 3725;
    s.playerMoney[1] = -500;
    {
        FrmEnd results(s, board);
        results.show();
        QTest::qWait(10);
        keep(&results, QStringLiteral("frmEnd"));
        QCOMPARE(clippedTexts(&results), QStringList());
        results.hide();
    }
    s.slotExists[1] = true;
    FrmLoadData picker(s, game.gameDataDir(), board);
    picker.show();
    QTest::qWait(10);
    QCOMPARE(clippedTexts(&picker), QStringList());

    QVERIFY(modals.count >= 3);  // dice, messages, the destination list at least
    QVERIFY2(modals.clipped.isEmpty(), qPrintable(modals.clipped.join(QStringLiteral("; "))));
}

int main(int argc, char** argv) {
    ScratchDir home;
    ::setenv("KISHARIN_DATA_HOME", home.path().c_str(), 1);
    ::unsetenv("KISHARIN_DATA_DIR");
    setTimeScale(0.02);
    QApplication app(argc, argv);
    LookTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "look_test.moc"
