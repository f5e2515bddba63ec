#include "screens/desktopGame.h"

#include <QApplication>

#include <QMessageBox>
#include <QTimer>
#include <cstdlib>

#include "platform/data_home.h"
#include "platform/text_file.h"
#include "record/game_list.h"
#include "screens/frmGuest.h"
#include "screens/frmInit.h"
#include "screens/frmMain.h"
#include "screens/frmStory.h"
#include "screens/look.h"
#include "screens/timing.h"
#include "state/datetime.h"
#include "state/error.h"
#include "turns/computer.h"
#include "turns/turn.h"

namespace kisharin {

DesktopGame::DesktopGame() = default;
DesktopGame::~DesktopGame() {
    setBeforeEnd(nullptr);
    if (run_) run_->screens.setBoard(nullptr);
}

bool DesktopGame::start() {
    showTextsAsWritten();
    shippedDir_ = shippedDataDir();
    try {
        dir_ = ensureUserGameData(shippedDir_);
    } catch (const GameError& e) {
        QMessageBox::critical(nullptr, QStringLiteral("キシャリン"), qs(e.what()));
        return false;
    }
    // A fixed seed, for tests and for finding a fault again.
    if (const char* v = std::getenv("KISHARIN_SEED")) {
        char* end = nullptr;
        const double seed = std::strtod(v, &end);
        if (end && end != v && *end == '\0' && seed >= 0 && seed < 86400)
            seed_ = seed;
        else
            QMessageBox::warning(
                nullptr, QStringLiteral("キシャリン"),
                QStringLiteral("環境変数 KISHARIN_SEED の値「%1」は 0～86399 の数ではないため、使いません。")
                    .arg(QString::fromLocal8Bit(v)));
    }
    openSetup();
    return true;
}

void DesktopGame::openSetup() {
    board_.reset();
    run_ = std::make_unique<Run>(seed_);
    run_->rng.reseed(run_->clock.timer());
    run_->s.appDir = shippedDir_;
    run_->g.metrics = &run_->metrics;
    run_->g.seatBoth(run_->here);
    // The board opens after the click that started the game has finished.
    init_ = std::make_unique<FrmInit>(run_->s, dir_, shippedDir_ + "GameData/",
                                      [this] { QTimer::singleShot(0, this, &DesktopGame::openBoard); });
    init_->onJoin = [this] { join(); };
    // 「これまでの対戦」's 「対戦の記録」: the story over the list it was opened from.
    init_->openStory = [this](const std::string& recordFile) {
        QWidget* over = QApplication::activeModalWidget();
        FrmStory::openRecord(recordFile, shippedDir_, over ? over : init_.get());
    };
    init_->show();
}

void DesktopGame::beginRecord(bool fromSave) {
    GameState& s = run_->s;
    const bool hosting = init_ && init_->netRole() == FrmInit::NetRole::Host;
    const std::string two = hosting         ? "net"
                            : s.comOpponent ? "com:" + std::string(strengthCaption(run_->computer.strength))
                                            : "man";
    run_->record.moveTo(recordPath(dir_));
    const bool bets = !s.comOpponent || hosting || run_->computer.betsOnRaces();
    run_->record.start(s, {"man", two}, {true, bets}, true, fromSave);
    run_->g.record = &run_->record;
}

void DesktopGame::openBoard() {
    GameState& s = run_->s;
    const int slot = init_ ? init_->loadedSlot() : 0;
    run_->computer.strength = init_ ? init_->strength() : kDefaultStrength;
    std::vector<std::string> notices;
    try {
        notices = loadBoard(s, run_->rng, run_->g.clock, slot, [this] { beginRecord(false); });
        if (slot > 0) {
            // A saved game goes on with its record, or begins one at its load.
            std::string kept;
            try {
                kept = readFileBytes(slotRecordPath(dir_, slot));
            } catch (const GameError&) {
            }
            if (!kept.empty() && run_->record.moveTo(recordPath(dir_), &kept))
                run_->g.record = &run_->record;
            else
                beginRecord(true);
            run_->record.resume(s);
            run_->rng.reseed(run_->g.clock.timer());
        } else {
            run_->record.board(s);
        }
    } catch (const GameError& e) {
        QMessageBox::critical(nullptr, QStringLiteral("キシャリン"),
                              QStringLiteral("ゲームを始められません。\n") + qs(e.what()));
        // Back to a fresh setup window, which reads the settings just written; the slots
        // and the histories are as they were.
        QTimer::singleShot(0, this, &DesktopGame::openSetup);
        return;
    }
    // A damaged history was read as far as it goes; the player learns what was left out.
    for (const std::string& n : notices)
        QMessageBox::warning(init_.get(), QStringLiteral("キシャリン"), qs(n));
    const bool hosting = init_->netRole() == FrmInit::NetRole::Host;
    // Player 2 is the computer's seat when the setup window chose the computer.
    run_->g.seats = {&run_->here, s.comOpponent ? static_cast<Seat*>(&run_->computer) : &run_->here};
    // The turn caption ends at 「）」: the computer's strength is the tooltip of its name.
    if (s.comOpponent)
        run_->g.seatCaptions[1] =
            "コンピュータ（" + std::string(strengthCaption(run_->computer.strength)) + "）";
    if (hosting && !startHosting()) {
        QTimer::singleShot(0, this, &DesktopGame::openSetup);
        return;
    }
    init_.reset();
    board_ = std::make_unique<FrmMain>(run_->g, dir_);
    run_->screens.setBoard(board_.get());
    run_->screens.setRecordFile(run_->g.record ? run_->record.path() : std::string());
    board_->show();
    QTimer::singleShot(0, board_.get(), &FrmMain::open);
    // Before the program stops (the results, 「保存して終了」, the board closed): the game
    // goes into the list, and a host says goodbye to its guest.
    setBeforeEnd([this] {
        if (listGames) listGame();
        if (run_ && run_->host) run_->host->sayGoodbye();
    });
}

void DesktopGame::listGame() {
    if (!run_ || !board_) return;
    const GameState& s = run_->s;
    GameEntry e;
    e.when = shortDateTimeText(run_->clock.now());  // the wall clock, not the record's
    e.area = s.playArea;
    e.shortMode = s.shortMode;
    e.host = static_cast<bool>(run_->host);
    e.seats = {"man", e.host          ? "net"
                      : s.comOpponent ? "com:" + std::string(strengthCaption(run_->computer.strength))
                                      : "man"};
    e.turns = run_->g.turnNumber;
    for (int p = 0; p < 2; ++p) {
        const auto i = static_cast<std::size_t>(p);
        e.names[i] = s.playerName[p];
        e.points[i] = s.playerPoint[p];
        e.money[i] = s.playerMoney[p];
        e.arrived[i] = s.arriveCount[p];
    }
    e.end = s.turnPhase == TurnPhase::Over ? GameEnd::Results
            : board_->savedToEnd()         ? GameEnd::Saved
                                           : GameEnd::Closed;
    try {
        addGame(dir_, e, run_->record.path());
    } catch (const GameError& fault) {
        QMessageBox::warning(board_.get(), QStringLiteral("これまでの対戦"),
                             QStringLiteral("この対戦を一覧に書けませんでした。\n") + qs(fault.what()));
    }
}

}  // namespace kisharin
