// The pictures of the special events and the betting window: each disaster halfway
// across the board, the warp question, the guardian god's picker, and the betting window
// of each race kind before the start and after the finish.
#include "eventShots.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "screens/frmBet.h"
#include "screens/look.h"
#include "screens/qtScreens.h"
#include "turns/command.h"
#include "turns/events.h"
#include "turns/game.h"

namespace kisharin {

namespace {

bool grab(QWidget& w, const QString& path) {
    QApplication::processEvents();
    if (w.grab().save(path)) return true;
    std::fprintf(stderr, "kisharin-screenshots: cannot write %s\n", qPrintable(path));
    return false;
}

// A window's picture with a plain title bar drawn above it, so that its title shows (the
// offscreen platform draws no window frames).
bool grabWithTitle(QWidget& w, const QString& path) {
    QApplication::processEvents();
    const QPixmap body = w.grab();
    const int bar = 26;
    QPixmap shot(std::max(body.width(), 220), body.height() + bar);
    shot.fill(QColor(240, 240, 240));
    {
        QPainter p(&shot);
        p.fillRect(0, 0, shot.width(), bar, QColor(52, 84, 140));
        p.setPen(Qt::white);
        p.setFont(uiFont(10, true));
        p.drawText(QRect(8, 0, shot.width() - 40, bar), Qt::AlignVCenter | Qt::AlignLeft, w.windowTitle());
        p.drawText(QRect(shot.width() - 26, 0, 20, bar), Qt::AlignCenter, QStringLiteral("×"));
        p.drawPixmap(0, bar, body);
    }
    if (shot.save(path)) return true;
    std::fprintf(stderr, "kisharin-screenshots: cannot write %s\n", qPrintable(path));
    return false;
}

// Grabs the modal window the next call opens, then closes it the way the player would.
void grabNextModal(const QString& path, int& written, const std::function<void(QWidget*)>& close) {
    QTimer::singleShot(300, [=, &written] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w) return;
        if (grabWithTitle(*w, path)) ++written;
        close(w);
    });
}

}  // namespace

int saveEventScreenshots(FrmMain& board, GameState& s, Rng& rng, const QString& dir) {
    int written = 0;
    board.show();
    // Each disaster about halfway across: eight ticks of 50 px.
    const char* names[] = {"", "disaster_tornado", "disaster_fire", "disaster_tsunami"};
    for (int kind = 1; kind <= 3; ++kind) {
        board.showDisaster(kind);
        for (int i = 0; i < 9; ++i) board.tmrNature_Timer();
        if (grab(board, dir + "/" + names[kind] + ".png")) ++written;
    }
    board.showEventPicture(0);

    QtScreens screens;
    screens.setBoard(&board);
    // The questions as a player at this board sees them.
    class StillClock final : public Clock {
      public:
        double now() override { return 45000.0; }
        double timer() override { return 34200.0; }
    } clock;
    Game g{s, screens, rng, clock};
    QtSeat here(screens);
    g.seatBoth(here);
    // The warp hole: the board with its picture, and the question over it.
    board.showEventPicture(kPictureWarp);
    if (grab(board, dir + "/warp_board.png")) ++written;
    grabNextModal(dir + "/warp_question.png", written, [](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w)) box->button(QMessageBox::No)->click();
    });
    s.question = Question::Warp;
    here.answerWarp(g, 8, warpTitle(s.regionName[8]), kWarpQuestion);
    closeQuestion(g);
    // The guardian god: its picture and the prefecture picker, closed to stay.
    board.showEventPicture(kPictureGod);
    if (grab(board, dir + "/god_board.png")) ++written;
    grabNextModal(dir + "/god_picker.png", written, [](QWidget* w) { w->close(); });
    s.question = Question::God;
    here.answerGod(g);
    closeQuestion(g);
    board.showEventPicture(0);
    board.hide();

    // The betting window of each race kind, before the start and after the finish.
    const char* races[] = {"競馬", "競艇", "競輪"};
    const char* files[] = {"frmBet_horse", "frmBet_boat", "frmBet_bicycle"};
    s.playerMoney[s.curPlayer] = 60000;
    for (int k = 0; k < 3; ++k) {
        s.raceName = races[k];
        Race race(rng);
        openBetQuestion(g, race);
        FrmBet bet(s, race, rng, [&g](const Command& c) { return static_cast<bool>(apply(g, c)); }, nullptr);
        bet.show();
        if (grabWithTitle(bet, dir + "/" + files[k] + ".png")) ++written;
        bet.cmdStart_Click();
        for (int i = 0; i < 400 && !bet.race().decided(); ++i) bet.Timer_Timer();
        for (int i = 0; i < 12; ++i) bet.Timer_Timer();  // the racers run on a little
        if (grabWithTitle(bet, dir + "/" + files[k] + "_finish.png")) ++written;
        bet.TimerEnd_Timer();
        closeQuestion(g);
    }
    return written;
}

}  // namespace kisharin
