// The desktop game's network roles: hosting a game whose player 2 sits at another
// computer, and joining one as that player.
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>

#include "board/history_file.h"
#include "board/station_file.h"
#include "platform/system_clock.h"
#include "record/game_list.h"
#include "screens/desktopGame.h"
#include "screens/frmGuest.h"
#include "screens/frmHost.h"
#include "screens/frmInit.h"
#include "screens/frmMain.h"
#include "screens/look.h"
#include "screens/timing.h"
#include "setup/settings.h"
#include "state/datetime.h"
#include "state/error.h"
#include "state/regions.h"

namespace kisharin {

namespace {
// The port the host tries first; when it is taken, any free one (shown to the player).
constexpr quint16 kHostPort = 48620;

QString leftText(const QString& why, const NetHost& host) {
    return why + QStringLiteral(
                     "\nゲームを止めています。同じ参加コード（%1）で相手がもう一度参加するのを"
                     "待つか、保存して終了できます。")
                     .arg(qs(net::spokenCode(host.code())));
}
QString waitingTitle(const NetHost& host) {
    return QStringLiteral("キシャリン（相手を待っています　ポート：%1　参加コード：%2）")
        .arg(host.port())
        .arg(qs(net::spokenCode(host.code())));
}
}  // namespace

bool DesktopGame::startHosting() {
    Run& r = *run_;
    r.host = std::make_unique<NetHost>(r.g, net::joinCode(QRandomGenerator::system()->generate64()));
    if (!r.host->listen(kHostPort) && !r.host->listen(0)) {
        QMessageBox::critical(init_.get(), QStringLiteral("ネット対戦"), r.host->error());
        r.host.reset();
        return false;
    }
    FrmHost wait(*r.host, init_.get());
    if (wait.exec() != QDialog::Accepted) {
        r.host.reset();
        return false;
    }
    r.remote = std::make_unique<RemoteSeat>(*r.host);
    r.shown.setHost(r.host.get());
    r.s.comOpponent = False;
    r.watched = std::make_unique<WatchedSeat>(r.here, *r.host);
    r.g.seats = {r.watched.get(), r.remote.get()};
    connect(r.host.get(), &NetHost::guestJoined, this, [this] {
        if (board_) board_->setWindowTitle(QStringLiteral("キシャリン"));
    });
    connect(r.host.get(), &NetHost::guestLeft, this,
            [this](const QString& why) { QTimer::singleShot(0, this, [this, why] { guestLeft(why); }); });
    // Someone gave wrong codes during the game: the player learns it and the new code (the
    // box of a guest that left shows it too). One box, kept up to date.
    connect(r.host.get(), &NetHost::codeChanged, this, [this](const QString& code, long wrong) {
        if (!board_ || !run_ || !run_->host) return;
        if (auto* left = board_->findChild<QMessageBox*>(QStringLiteral("guestLeft")))
            left->setText(leftText(left->property("why").toString(), *run_->host));
        if (board_ && !run_->host->joined()) board_->setWindowTitle(waitingTitle(*run_->host));
        auto* box = board_->findChild<QMessageBox*>(QStringLiteral("codeChanged"));
        if (!box) {
            box = new QMessageBox(QMessageBox::Warning, QStringLiteral("ネット対戦"), QString(),
                                  QMessageBox::Ok, board_.get());
            box->setObjectName(QStringLiteral("codeChanged"));
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->setModal(false);
        }
        box->setText(
            QStringLiteral("参加コードをまちがえた接続がありました（%1回）。\n参加コードを新しく"
                           "しました：%2\n相手がもう一度参加するときは、このコードを伝えてください。")
                .arg(wrong)
                .arg(code));
        box->show();
    });
    return true;
}

void DesktopGame::guestLeft(const QString& why) {
    if (!run_ || !run_->host || run_->host->joined() || !board_) return;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("ネット対戦"), leftText(why, *run_->host),
                    QMessageBox::NoButton, board_.get());
    box.setObjectName(QStringLiteral("guestLeft"));
    box.setProperty("why", why);
    QPushButton* wait = box.addButton(QStringLiteral("待つ"), QMessageBox::AcceptRole);
    QPushButton* save = box.addButton(QStringLiteral("保存して終了"), QMessageBox::DestructiveRole);
    box.setDefaultButton(wait);
    box.exec();
    if (box.clickedButton() == save && !run_->host->joined()) {
        QTimer::singleShot(0, board_.get(), &FrmMain::cmdSave_Click);
        return;
    }
    // Waiting: the board's title says so, with what the guest needs to join again, until
    // it has.
    if (!run_->host->joined()) board_->setWindowTitle(waitingTitle(*run_->host));
}

void DesktopGame::join() {
    FrmJoin ask(init_.get());
    ask.fill(joinTyped_[0], joinTyped_[1], joinTyped_[2]);
    if (ask.exec() != QDialog::Accepted) return;
    joinTyped_ = {ask.address(), ask.typedPort(), ask.typedCode()};
    guest_ = std::make_unique<NetGuest>();
    // The shipped railway, for painting the rides (read only; no history, no setting).
    guestRailway_ = std::make_unique<GameState>();
    try {
        GameState& r = *guestRailway_;
        r.appDir = shippedDir_;
        r.mapDataDir = shippedDir_ + "MapData/";  // the god's prefecture is picked on the map
        buildFareTable(r);
        buildRegionTables(r);
        static_cast<RailwayData&>(r) = readStationFile(shippedDir_ + "GameData/駅.txt");
    } catch (const GameError&) {
        guestRailway_.reset();  // the rides are shown as text
    }
    if (guestRailway_) {
        // This computer's history of player 2 grows from the guest's rides; the conquest
        // record shows this computer's own names.
        GameState& r = *guestRailway_;
        r.historyBase = dir_ + "履歴";
        std::vector<std::string> notices;
        r.visited[1] = loadHistory(historyPath(r, 1), notices);
        const Settings st = readSettings(dir_, shippedDir_ + "GameData/").settings;
        r.playerName[0] = st.name1 + "さん";
        r.playerName[1] = st.name2 + "さん";
        for (const std::string& n : notices)
            QMessageBox::warning(init_.get(), QStringLiteral("ネット対戦"), QString::fromStdString(n));
    }
    guestBoard_ = std::make_unique<FrmGuest>(*guest_, [this] {
        // The game ended or was left: this computer's list keeps what its player saw.
        if (listGames && guestTally_ && guestTally_->any()) {
            try {
                addGame(dir_, guestTally_->entry(shortDateTimeText(SystemClock().now())), "");
            } catch (const GameError& fault) {
                QMessageBox::warning(
                    guestBoard_.get(), QStringLiteral("これまでの対戦"),
                    QStringLiteral("この対戦を一覧に書けませんでした。\n") + qs(fault.what()));
            }
            guestTally_.reset();
        }
        QTimer::singleShot(0, this, [this] {
            guestBoard_.reset();
            guest_.reset();
            guestRailway_.reset();
            if (!init_) openSetup();
        });
    });
    guestBoard_->setRailway(guestRailway_.get());
    guestTally_ = std::make_unique<GuestGameTally>();
    connect(guest_.get(), &NetGuest::boardChanged, this, [this] {
        if (guestTally_) guestTally_->board(guest_->board());
    });
    connect(guest_.get(), &NetGuest::shown, this, [this](const net::ShowCall& c) {
        if (c.what == "results" && guestTally_) guestTally_->results(c.arrived);
    });
    connect(guest_.get(), &NetGuest::welcomed, this, [this] {
        if (guestTally_) guestTally_->welcomed(guest_->area(), guest_->shortMode());
        init_.reset();
        guestBoard_->show();
    });
    guest_->join(ask.address(), ask.port(), ask.code());
}

}  // namespace kisharin
