#include "screens/qtScreens.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QSpacerItem>
#include <algorithm>
#include <cmath>

#include "screens/frmBet.h"
#include "screens/frmDice.h"
#include "screens/frmEki.h"
#include "screens/frmEnd.h"
#include "screens/frmMain.h"
#include "screens/frmMap.h"
#include "screens/frmMessage.h"
#include "screens/frmSeiha.h"
#include "screens/look.h"
#include "screens/timing.h"
#include "turns/command.h"
#include "turns/game.h"

namespace kisharin {

QWidget* QtScreens::parent() const {
    return board_;
}

void QtScreens::showMessage(const GameState& s) {
    FrmMessage w(s, parent());
    w.exec();
}

int QtScreens::rollDice(const GameState& s, Rng& rng) {
    FrmDice w(s, rng, parent());
    w.exec();
    return w.face();
}

int QtScreens::showRide(const GameState& s, Rng& rng, Clock& clock) {
    FrmEki w(s, rng, clock, parent());
    w.exec();
    return w.scoreTicks();
}

void QtScreens::showConquest(GameState& s, int line, Rng& rng, Clock& clock) {
    FrmSeiha w(s, line, rng, clock, parent());
    w.exec();
}

void QtScreens::showDisaster(const GameState&, int kind) {
    if (board_) board_->showDisaster(kind);
}

void QtScreens::showEventPicture(const GameState&, int picture) {
    if (board_) board_->showEventPicture(picture);
}

void QtScreens::shakeBoard(int twips) {
    if (board_) board_->shake(twips);
}

void QtScreens::showResults(const GameState& s) {
    FrmEnd w(s, parent(), true, recordFile_);
    w.exec();
}

void QtScreens::pause(double seconds) {
    // Inside a command the game holds only for moments (between the earthquake's moves):
    // the board as it stands is on the screen, and nothing else runs meanwhile.
    holdMs(static_cast<int>(std::lround(seconds * 1000)), board_);
}

void QtScreens::processEvents() {
    // The board drawn as it is now; the events wait for the event loop, not inside a turn.
    showNow(board_);
}

void QtScreens::refreshBoard(const GameState&) {
    if (board_) board_->refresh();
}

void QtScreens::enableBoard(bool enabled) {
    if (board_) board_->setBoardEnabled(enabled);
}

WarpQuestion::WarpQuestion(const std::string& title, const std::string& question, QWidget* parent)
    : QMessageBox(QMessageBox::Question, qs(title), qs(title), QMessageBox::Yes | QMessageBox::No, parent) {
    setObjectName(QStringLiteral("askWarp"));
    setInformativeText(qs(question));
    // The question asks for a step the player must choose on purpose (the warp jump).
    setDefaultButton(QMessageBox::No);
    // The region in large type, where it cannot be cut.
    if (auto* heading = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        heading->setFont(uiFont(12, true));
        heading->setObjectName(QStringLiteral("lblWarpRegion"));
    }
    // Wide enough for the title in a title bar beside the window's buttons (a message box
    // takes no minimum width of its own: a spacer under its rows holds it open).
    const int titleWidth = QFontMetrics(uiFont(12, true)).horizontalAdvance(windowTitle());
    const int wide = std::max(340, titleWidth + 180);
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addItem(new QSpacerItem(wide, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(),
                      0, 1, grid->columnCount());
}

void QtSeat::answerWarp(Game& g, int, const std::string& title, const std::string& question) {
    WarpQuestion box(title, question, screens_.parent());
    apply(g, Command::answerWarp(g.s.curPlayer, box.ask()));
}

void QtSeat::answerGod(Game& g) {
    const std::string pref = FrmMap::pickForMove(g.s, screens_.parent());
    apply(g, Command::answerGod(g.s.curPlayer, pref));
}

void QtSeat::runBet(Game& g, Race& race) {
    FrmBet w(
        g.s, race, g.rng, [&g](const Command& c) { return static_cast<bool>(apply(g, c)); },
        screens_.parent());
    w.exec();
}

}  // namespace kisharin
