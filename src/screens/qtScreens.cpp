#include "screens/qtScreens.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "screens/frmDice.h"
#include "screens/frmEki.h"
#include "screens/frmEnd.h"
#include "screens/frmMain.h"
#include "screens/frmMap.h"
#include "screens/frmMessage.h"
#include "screens/frmSeiha.h"
#include "screens/interimWindows.h"
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

bool QtScreens::askYesNo(const GameState&, const std::string& question) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("キシャリン"), qs(question),
                    QMessageBox::Yes | QMessageBox::No, parent());
    // The question asks for a step the player must choose on purpose (the warp jump).
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::string QtScreens::pickPrefecture(GameState& s) {
    return FrmMap::pickForMove(s, parent());
}

void QtScreens::runBet(GameState& s, Rng&) {
    FrmBetInterim w(s, parent());
    w.exec();
    s.betCancelled = true;
    s.betStake = 0;
    s.betWinPoints = 0;
}

void QtScreens::showDisaster(const GameState& s, int kind) {
    FrmDisasterInterim w(s, kind, parent());
    w.exec();
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
