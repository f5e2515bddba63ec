#include "screens/qtScreens.h"

#include <QCoreApplication>
#include <QMessageBox>

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

void QtScreens::showRide(GameState& s, Rng& rng, Clock& clock) {
    FrmEki w(s, rng, clock, parent());
    w.exec();
}

void QtScreens::showConquest(GameState& s, int line, Rng& rng, Clock& clock) {
    FrmSeiha w(s, line, rng, clock, parent());
    w.exec();
}

bool QtScreens::askYesNo(const GameState&, const std::string& title, const std::string& question) {
    QMessageBox box(QMessageBox::Question, qs(title), qs(question), QMessageBox::Yes | QMessageBox::No,
                    parent());
    // The question asks for a step the player must choose on purpose (the warp jump).
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::string QtScreens::pickPrefecture(GameState& s) {
    return FrmMap::pickForMove(s, parent());
}

RaceOutcome QtScreens::runBet(GameState& s, Rng& rng) {
    FrmBet w(s, rng, parent());
    w.exec();
    // However the window went, without a race nothing was bet.
    if (!w.race().decided()) s.betCancelled = true;
    return w.outcome();
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
    FrmEnd w(s, parent());
    w.exec();
}

void QtScreens::pause(double seconds) {
    waitMs(static_cast<int>(seconds * 1000));
}

void QtScreens::processEvents() {
    QCoreApplication::processEvents();
}

void QtScreens::refreshBoard(const GameState&) {
    if (board_) board_->refresh();
}

void QtScreens::enableBoard(bool enabled) {
    if (board_) board_->setBoardEnabled(enabled);
}

}  // namespace kisharin
