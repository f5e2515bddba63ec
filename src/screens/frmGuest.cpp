#include "screens/frmGuest.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QInputDialog>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTimer>
#include <cmath>

#include "board/history_file.h"
#include "board/route.h"
#include "platform/text_file.h"
#include "screens/boardKeys.h"
#include "screens/eventPictures.h"
#include "screens/frmBet.h"
#include "screens/frmDice.h"
#include "screens/frmEki.h"
#include "screens/frmEnd.h"
#include "screens/frmKiroku.h"
#include "screens/frmMap.h"
#include "screens/frmMessage.h"
#include "screens/frmMokutekiti.h"
#include "screens/frmSeiha.h"
#include "screens/look.h"
#include "screens/qtScreens.h"
#include "screens/stripView.h"
#include "screens/timing.h"
#include "state/railway.h"
#include "state/regions.h"
#include "turns/board_model.h"
#include "turns/messages.h"
#include "turns/race.h"

namespace kisharin {

namespace {

// The board's geometry (the same as the host's board).
constexpr int kViewWidth = 750, kViewHeight = 433;
constexpr quint16 kDefaultPort = 48620;

QLabel* makeLabel(QWidget* parent, const QString& name, QRect at, int pointSize, bool bold = false) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(at);
    l->setFont(uiFont(pointSize, bold));
    return l;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, int x, int y) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(x, y, 81, 25);
    b->setFont(uiFont(9));
    return b;
}

}  // namespace

// --- the join box -------------------------------------------------------------------------

FrmJoin::FrmJoin(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmJoin"));
    setWindowTitle(QStringLiteral("参加"));
    auto* form = new QFormLayout(this);
    txtAddress_ = new QLineEdit(this);
    txtAddress_->setObjectName(QStringLiteral("txtAddress"));
    txtAddress_->setMaxLength(253);
    txtPort_ = new QLineEdit(QString::number(kDefaultPort), this);
    txtPort_->setObjectName(QStringLiteral("txtPort"));
    txtPort_->setValidator(new QIntValidator(1, 65535, txtPort_));
    txtCode_ = new QLineEdit(this);
    txtCode_->setObjectName(QStringLiteral("txtCode"));
    txtCode_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 -]{0,12}")), txtCode_));
    for (QLineEdit* e : {txtAddress_, txtPort_, txtCode_}) e->setFont(uiFont(11));
    form->addRow(QStringLiteral("ホストのアドレス"), txtAddress_);
    form->addRow(QStringLiteral("ポート"), txtPort_);
    form->addRow(QStringLiteral("参加コード（８けた）"), txtCode_);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("参加"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("やめる"));
    connect(box, &QDialogButtonBox::accepted, this, [this] {
        if (address().isEmpty() || port() == 0 || code().size() != net::kJoinCodeDigits) {
            QMessageBox::warning(this, QStringLiteral("参加"),
                                 QStringLiteral("アドレス、ポート、８けたの参加コードを入れてください。"));
            return;
        }
        accept();
    });
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(box);
    setFont(uiFont(10));
}

void FrmJoin::fill(const QString& address, const QString& port, const QString& code) {
    if (!address.isEmpty()) txtAddress_->setText(address);
    if (!port.isEmpty()) txtPort_->setText(port);
    if (!code.isEmpty()) txtCode_->setText(code);
}
QString FrmJoin::typedPort() const {
    return txtPort_->text();
}
QString FrmJoin::typedCode() const {
    return txtCode_->text();
}

QString FrmJoin::address() const {
    return txtAddress_->text().trimmed();
}
quint16 FrmJoin::port() const {
    return static_cast<quint16>(txtPort_->text().toUInt());
}
std::string FrmJoin::code() const {
    // 「1234 5678」 as the host's window shows it, or without the space.
    return net::typedCode(txtCode_->text().toStdString());
}

// --- the guest's board --------------------------------------------------------------------

FrmGuest::FrmGuest(NetGuest& guest, std::function<void()> onEnded)
    : QWidget(nullptr), guest_(guest), onEnded_(std::move(onEnded)) {
    setObjectName(QStringLiteral("frmGuest"));
    setWindowTitle(QStringLiteral("キシャリン（ネット対戦）"));
    setFixedSize(784, 604);
    setBack(this, rgb(240, 240, 240));

    picScreen_ = new QWidget(this);
    picScreen_->setObjectName(QStringLiteral("picScreen"));
    picScreen_->setGeometry(8, 8, kViewWidth, kViewHeight);
    picScreen_->setAutoFillBackground(true);
    strip_ = new StripView(line_, picScreen_);
    strip_->onStationClick = [this](int i) {
        if (myTurn()) send(Command::ride(guest_.player(), {line_.line, i}));
    };
    strip_->onTransferClick = [this](int k) {
        if (!myTurn() || k < 1 || k > static_cast<int>(line_.transfers.size())) return;
        const TransferView& t = line_.transfers[static_cast<std::size_t>(k - 1)];
        const net::BoardView& b = guest_.board();
        const Station here = b.at[static_cast<std::size_t>(guest_.player())];
        send(Command::changeLine(guest_.player(), here, {t.line, t.pos}));
    };
    // The guest scrolls its own view of the strip.
    strip_->onWheel = [this](int delta) {
        onMouseWheel(line_, delta);
        line_.wheelBusy = false;
        refresh();
    };
    scTate_ = new QScrollBar(Qt::Vertical, this);
    scTate_->setObjectName(QStringLiteral("scTate"));
    scTate_->setGeometry(picScreen_->x() + picScreen_->width(), picScreen_->y(), 17, picScreen_->height());
    connect(scTate_, &QScrollBar::valueChanged, this, [this](int v) {
        if (syncing_) return;
        scTate_Change(line_, v);
        refresh();
    });

    lblJikoku_ = makeLabel(this, QStringLiteral("lblJikoku"), {8, 448, 92, 22}, 10, true);
    lblMoney_ = makeLabel(this, QStringLiteral("lblMoney"), {104, 448, 92, 22}, 10, true);
    lblMoney_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblManName_ = makeLabel(this, QStringLiteral("lblManName"), {200, 448, 433, 22}, 11, true);
    lblManName_->setIndent(6);
    lblTrainName_ = makeLabel(this, QStringLiteral("lblTrainName"), {200, 482, 310, 28}, 13, true);
    lblSusumu_ = makeLabel(this, QStringLiteral("lblSusumu"), {200, 522, 310, 24}, 10, true);
    lblShown_ = makeLabel(this, QStringLiteral("lblShown"), {8, 576, 768, 24}, 10, true);
    lblShown_->setFrameShape(QFrame::StyledPanel);
    lblShown_->setIndent(6);
    picE_ = std::make_unique<BoardPicture>(this);

    auto* frame = new QGroupBox(QStringLiteral("列車"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(8, 476, 177, 96);
    frame->setFont(uiFont(8));
    const int kindX[6] = {0, 8, 64, 120, 8, 84};
    const int kindY[6] = {0, 16, 16, 16, 38, 38};
    for (int k = 1; k <= 5; ++k) {
        auto* o = new QRadioButton(frame);
        o->setObjectName("optKind(" + QString::number(k) + ")");
        o->setAutoExclusive(false);
        o->setGeometry(kindX[k], kindY[k], k >= 4 ? 72 : 54, 20);
        o->setFont(uiFont(9, true));
        connect(o, &QRadioButton::clicked, this, [this, k] {
            if (!syncing_ && myTurn()) send(Command::chooseKind(guest_.player(), k));
            refresh();
        });
        optKind_[k] = o;
    }
    cmdSusumu_ = makeButton(frame, QStringLiteral("cmdSusumu"), QStringLiteral("進む"), 48, 64);
    cmdSusumu_->setFont(uiFont(10, true));
    cmdWork_ = makeButton(this, QStringLiteral("cmdWork"), QStringLiteral("アルバイト"), 608, 480);
    connect(cmdSusumu_, &QPushButton::clicked, this, [this] { send(Command::roll(guest_.player())); });
    connect(cmdWork_, &QPushButton::clicked, this, [this] { send(Command::work(guest_.player())); });
    // The buttons that only look, where the host's board has them.
    cmdMokutekiti_ =
        makeButton(this, QStringLiteral("cmdMokutekiti"), QStringLiteral("目的地確認"), 520, 480);
    cmdCourse_ = makeButton(this, QStringLiteral("cmdCourse"), QStringLiteral("最短目的地"), 520, 512);
    cmdPoint_ = makeButton(this, QStringLiteral("cmdPoint"), QStringLiteral("ポイント確認"), 520, 544);
    cmdMap2_ = makeButton(this, QStringLiteral("cmdMap2"), QStringLiteral("路線図"), 608, 512);
    cmdKiroku_ = makeButton(this, QStringLiteral("cmdKiroku"), QStringLiteral("乗りつぶし"), 696, 512);
    cmdKiroku_->setToolTip(QStringLiteral("乗りつぶし記録"));
    connect(cmdMokutekiti_, &QPushButton::clicked, this, &FrmGuest::cmdMokutekiti_Click);
    connect(cmdCourse_, &QPushButton::clicked, this, &FrmGuest::cmdCourse_Click);
    connect(cmdPoint_, &QPushButton::clicked, this, &FrmGuest::cmdPoint_Click);
    connect(cmdMap2_, &QPushButton::clicked, this, [this] { FrmMap::showViewing(view(), cmdMap2_, this); });
    connect(cmdKiroku_, &QPushButton::clicked, this, [this] {
        GameState& s = view();
        for (int p = 0; p < 2; ++p) s.playerName[p] = homeNames_[static_cast<std::size_t>(p)];
        FrmKiroku::showFromBoard(s, this);
    });
    cmdLog_ = makeButton(this, QStringLiteral("cmdLog"), QStringLiteral("メッセージ"), 696, 480);
    connect(cmdLog_, &QPushButton::clicked, this, &FrmGuest::cmdLog_Click);
    lblOther_ = makeLabel(this, QStringLiteral("lblOther"), {200, 550, 310, 22}, 9, true);
    addBoardShortcuts(this);  // the same keys as the host's board
    // ↓ and ↑ move the strip's focus frame over what the host says can be picked.
    addStripKeys(this, strip_);

    connect(&guest_, &NetGuest::boardChanged, this, &FrmGuest::refresh);
    connect(&guest_, &NetGuest::shown, this, &FrmGuest::shown);
    connect(&guest_, &NetGuest::asked, this, [this](const net::Ask& a) {
        Shown q;
        q.ask = true;
        q.question = a;
        queue_.push_back(q);
        // Asked from the event loop, not inside the socket's signal.
        QTimer::singleShot(0, this, &FrmGuest::showNext);
    });
    connect(&guest_, &NetGuest::refused, this, [this](const QString& why) {
        lblShown_->setText(QStringLiteral("できません：") + why);
        // A bet the host did not take: no race comes.
        if (bet_ && !bet_->race().started()) bet_->done(QDialog::Rejected);
    });
    connect(&guest_, &NetGuest::ended, this, [this](const QString& why) {
        if (ending_) return;
        ending_ = true;
        queue_.clear();
        if (bet_) bet_->done(QDialog::Rejected);  // no race comes any more
        QTimer::singleShot(0, this, [this, why] {
            QMessageBox box(QMessageBox::Information, QStringLiteral("ネット対戦"),
                            why + QStringLiteral("\n設定画面に戻ります。"), QMessageBox::Ok, this);
            box.setObjectName(QStringLiteral("guestEnded"));
            box.exec();
            close();
            if (onEnded_) onEnded_();
        });
    });
    refresh();
}

bool FrmGuest::myTurn() const {
    const net::BoardView& b = guest_.board();
    return guest_.joined() && guest_.hasBoard() && !b.ended && !b.busy && b.curPlayer == guest_.player();
}

void FrmGuest::send(const Command& c, int lane) {
    guest_.send(c, lane);
}

void FrmGuest::refresh() {
    syncing_ = true;
    const net::BoardView& b = guest_.board();
    // The strip as the host drew it; the scroll position stays the guest's own while the
    // same line is shown.
    const int keepScroll = line_.scrollValue;
    const bool sameLine = line_.line == b.strip.line && !line_.stations.empty();
    if (sender() == &guest_ || line_.stations.empty()) {
        line_ = b.strip;
        if (sameLine && b.phase == TurnPhase::Choosing && b.curPlayer != guest_.player())
            setScrollValue(line_, keepScroll);
    }
    setBack(picScreen_, line_.background);
    strip_->setGeometry(0, -std::max(0, line_.scrollValue), line_.stripWidth, std::max(line_.stripHeight, 1));
    strip_->setVisible(line_.visible && guest_.hasBoard());
    strip_->setTargets(myTurn() ? b.targets : std::vector<StripTarget>{},
                       b.at[static_cast<std::size_t>(guest_.player())].pos);
    strip_->update();
    scTate_->setRange(line_.scrollMin, std::max(line_.scrollMin, line_.scrollMax));
    scTate_->setValue(line_.scrollValue);
    scTate_->setEnabled(line_.scrollMax > line_.scrollMin);

    const BoardModel& m = b.controls;
    lblTrainName_->setText(qs(m.lblTrainName));
    lblJikoku_->setText(qs(m.lblJikoku));
    lblMoney_->setText(qs(m.lblMoney));
    lblManName_->setText(qs(m.lblManName));
    setBack(lblManName_, m.manNameBack);
    setFore(lblManName_, m.manNameColor);
    lblSusumu_->setText(qs(m.lblSusumu));
    const bool mine = myTurn();
    for (int k = 1; k <= 5; ++k) {
        const KindButton& kb = m.optKind[k];
        optKind_[k]->setText(qs(kb.caption));
        setFore(optKind_[k], kb.color);
        optKind_[k]->setVisible(kb.visible);
        optKind_[k]->setEnabled(kb.enabled && mine);
        optKind_[k]->setChecked(kb.value);
    }
    cmdSusumu_->setVisible(m.cmdSusumuVisible);
    cmdSusumu_->setEnabled(mine);
    cmdWork_->setVisible(m.cmdWorkVisible);
    cmdWork_->setEnabled(mine);
    picScreen_->setEnabled(mine);
    // What needs the railway (names, routes, maps) waits for it.
    const bool looks = railway_ && guest_.hasBoard();
    for (QPushButton* button : {cmdMokutekiti_, cmdCourse_, cmdMap2_, cmdKiroku_}) button->setEnabled(looks);
    cmdPoint_->setEnabled(guest_.hasBoard());
    if (sender() == &guest_) recordArrival();
    if (guest_.hasBoard() && b.curPlayer != turnOf_) {
        turnOf_ = b.curPlayer;
        ++turn_;
    }
    // The other player is the host's.
    const int other = 1 - guest_.player();
    lblOther_->setText(railway_ && guest_.hasBoard() ? qs(otherPlayerText(view(), other)) : QString());
    setFore(lblOther_, other == 1 ? kColorPlayer2 : kColorPlayer1);
    if (logWindow_) logWindow_->follow({b.names[0], b.names[1]});
    syncing_ = false;
}

void FrmGuest::setRailway(GameState* railway) {
    railway_ = railway;
    if (railway_) homeNames_ = {railway_->playerName[0], railway_->playerName[1]};
    refresh();
}

void FrmGuest::recordArrival() {
    const int me = guest_.player();
    if (!railway_ || railway_->historyBase.empty() || !guest_.hasBoard() || me != 1) return;
    const Station at = guest_.board().at[1];
    GameState& r = *railway_;
    if (!isStation(r, at.line, at.pos) || r.visited[1](at.line, at.pos)) return;
    // Written before it counts as visited: a write that fails is tried again next time.
    try {
        appendLine(historyPath(r, 1), historyRecord(at.line, at.pos));
        r.visited[1](at.line, at.pos) = True;
    } catch (const GameError& e) {
        lblShown_->setText(qs(e.what()));
    }
}

void FrmGuest::cmdMokutekiti_Click() {
    FrmMokutekiti list(view(), this);
    list.exec();
}

void FrmGuest::cmdCourse_Click() {
    // The shortest way for the guest's own player, worked out here from the board.
    GameState& s = view();
    s.curPlayer = static_cast<Integer>(guest_.player());
    道のり(s);
    auto* w = new FrmCourse(s, this);  // deletes itself on close
    w->setWindowFlag(Qt::Window);
    w->show();
}

void FrmGuest::cmdLog_Click() {
    const net::BoardView& b = guest_.board();
    FrmLog::showBeside(logWindow_, log_, {b.names[0], b.names[1]}, this);
}

void FrmGuest::cmdPoint_Click() {
    GameState& s = view();
    s.curPlayer = static_cast<Integer>(guest_.player());
    s.messageText = pointsText(s.playerName[0], s.playerPoint[0], s.playerName[1], s.playerPoint[1]);
    FrmMessage w(s, this);
    w.exec();
}

GameState& FrmGuest::view() {
    if (!railway_ && !own_) own_ = std::make_unique<GameState>();
    GameState& s = railway_ ? *railway_ : *own_;
    const net::BoardView& b = guest_.board();
    for (int p = 0; p < 2; ++p) {
        const std::size_t i = static_cast<std::size_t>(p);
        s.playerName[p] = b.names[i];
        s.playerMoney[p] = b.money[i];
        s.playerPoint[p] = b.points[i];
        s.playerRosen[p] = static_cast<Integer>(b.at[i].line);
        s.playerEki[p] = static_cast<Integer>(b.at[i].pos);
    }
    for (int d = 1; d <= kDestinationCount; ++d) {
        const std::size_t i = static_cast<std::size_t>(d - 1);
        s.mokutekitiRosen[d] = static_cast<Integer>(b.destinations[i].line);
        s.mokutekitiEki[d] = static_cast<Integer>(b.destinations[i].pos);
        s.mokutekitiDone[d] = b.done[i] ? True : False;
    }
    return s;
}

void FrmGuest::shown(const net::ShowCall& c) {
    // The race of the guest's own bet goes to its open betting window as it runs.
    if (c.what == "race" && bet_) {
        bet_->follow(c.moves, c.start - 1, c.end > 0, c.value);
        return;
    }
    Shown q;
    q.show = c;
    queue_.push_back(q);
    QTimer::singleShot(0, this, &FrmGuest::showNext);
}

void FrmGuest::showNext() {
    if (showing_ || queue_.empty() || ending_) return;
    const Shown next = queue_.front();
    queue_.pop_front();
    showing_ = true;
    if (next.ask && next.question.question == "bet") return askBet(next.question);  // shown until it closes
    if (next.ask)
        asked(next.question);
    else
        showCall(next.show);
    showing_ = false;
    if (!queue_.empty()) QTimer::singleShot(0, this, &FrmGuest::showNext);
}

QString FrmGuest::rideText(const net::ShowCall& c) const {
    // 「各停で 東京駅から 神田駅へ」: the stations by name where this computer has the railway.
    auto station = [&](int pos) {
        if (railway_ && isStation(*railway_, c.line, pos))
            return qs(railway_->ekiName(c.line, pos)) + QStringLiteral("駅");
        return QStringLiteral("%1 駅").arg(pos);
    };
    return QStringLiteral("%1で %2から %3へ").arg(qs(c.text), station(c.start), station(c.end));
}

void FrmGuest::showCall(const net::ShowCall& c) {
    // The line under the board keeps the last thing shown.
    QString text;
    if (c.what == "message" || c.what == "results")
        text = qs(c.text).trimmed();
    else if (c.what == "dice")
        text = QStringLiteral("サイの目：%1").arg(c.value);
    else if (c.what == "ride")
        text = rideText(c);
    else if (c.what == "conquest")
        text = QStringLiteral("路線制覇！");
    if (!text.isEmpty()) {
        lblShown_->setText(text);
        setFore(lblShown_, c.player == 1 ? kColorPlayer2 : kColorPlayer1);
    }
    GameState& s = view();
    s.curPlayer = static_cast<Integer>(c.player);
    if (c.what == "message") {
        log_.add(std::max(turn_, 1), c.player, c.text);
        if (logWindow_) logWindow_->follow({guest_.board().names[0], guest_.board().names[1]});
        s.messageText = c.text;
        FrmMessage w(s, this);
        w.exec();
    } else if (c.what == "dice") {
        // The die turns on faces of this computer's own and stops on the host's.
        s.shortMode = c.tick == 1 ? True : False;
        DefaultRng turning(static_cast<double>(QDateTime::currentMSecsSinceEpoch() % 86400000) / 1000.0);
        FrmDice w(s, turning, this, c.value);
        w.exec();
    } else if (c.what == "ride") {
        showRide(c);
    } else if (c.what == "conquest") {
        // The celebration of a line this computer knows: its title colour drawn from the
        // host's seed, as at the host.
        if (!railway_ || c.line < 1 || c.line > lineCount(s)) return;
        StoppedClock clock(0, c.seed);
        DefaultRng rng(c.seed);
        FrmSeiha w(s, c.line, rng, clock, this);
        w.exec();
    } else if (c.what == "disaster") {
        picE_->slide(c.value, picScreen_->y());
    } else if (c.what == "picture") {
        picE_->show(c.value, picScreen_->width(), picScreen_->y());
    } else if (c.what == "shake") {
        const int px = static_cast<int>(std::lround(c.value * logicalDpiX() / 1440.0));
        move(x() + px, y());
    } else if (c.what == "results") {
        for (int p = 0; p < 2; ++p)
            s.arriveCount[p] = static_cast<Integer>(c.arrived[static_cast<std::size_t>(p)]);
        s.playSeconds = c.playSeconds;
        FrmEnd w(s, this, false);
        w.setObjectName(QStringLiteral("guestResults"));
        w.exec();
    } else if (c.what == "race") {
        showRace(c);
    }
}

void FrmGuest::showRace(const net::ShowCall& c) {
    // The host's player's race, as it was run there.
    GameState& s = view();
    s.curPlayer = static_cast<Integer>(c.player);
    s.raceName = c.text;
    Race race(c.odds);
    DefaultRng unused(0);
    FrmBet w(
        s, race, unused, [](const Command&) { return false; }, this);
    w.replay(c.moves, c.start - 1, c.value);
    w.exec();
}

void FrmGuest::showRide(const net::ShowCall& c) {
    if (!railway_ || riding_) return;
    GameState& s = *railway_;
    // Only a line this computer knows as the host does: the same stations in the same order
    // as the strip the host sent.
    const net::BoardView& b = guest_.board();
    if (c.line < 1 || c.line > lineCount(s)) return;
    const int n = stationCount(s, c.line);
    if (c.start < 1 || c.end < 1 || c.start > n || c.end > n) return;
    if (b.strip.line == c.line) {
        if (b.strip.stationCount() != n) return;
        for (int i = 1; i <= n; ++i)
            if (b.strip.station(i).name != s.ekiName(c.line, i)) return;
    }
    s.curPlayer = static_cast<Integer>(c.player);
    s.playerRosen[c.player] = static_cast<Integer>(c.line);
    s.startEki[c.player] = static_cast<Integer>(c.start);
    s.playerEki[c.player] = static_cast<Integer>(c.end);
    s.rideInfo = {c.text, c.color, static_cast<Integer>(c.tick)};
    s.rideCut = c.cut;
    s.gameClock = c.gameClock;
    s.playSeconds = c.playSeconds;
    s.norikaeCount = 0;
    s.playerPoint[c.player] = b.points[static_cast<std::size_t>(c.player)];
    StoppedClock clock(c.gameClock, c.seed);
    DefaultRng rng(c.seed);
    riding_ = true;
    FrmEki w(s, rng, clock, this);
    w.setObjectName(QStringLiteral("guestRide"));
    w.exec();
    riding_ = false;
}

void FrmGuest::asked(const net::Ask& a) {
    const int me = guest_.player();
    if (a.question == "warp") {
        WarpQuestion box(a.title, a.text, this);
        send(Command::answerWarp(me, box.ask()));
    } else if (a.question == "god") {
        // The picker map, as at the host; closing it stays.
        std::string pref;
        if (railway_ && !railway_->mapDataDir.empty()) {
            pref = FrmMap::pickForMove(view(), this);
        } else {
            bool ok = false;
            const QString typed = QInputDialog::getText(
                this, QStringLiteral("氏神"), QStringLiteral("行きたい都道府県の名前（空欄ならそのまま）"),
                QLineEdit::Normal, QString(), &ok);
            if (ok) pref = typed.trimmed().toStdString();
        }
        send(Command::answerGod(me, pref));
    }
}

void FrmGuest::askBet(const net::Ask& a) {
    // The betting window, as at the host: the bet goes to the host, which runs the race
    // and sends it back to this window. The window does not hold an event loop of its own
    // while it waits for the race: what comes next is shown once it has closed.
    const int me = guest_.player();
    GameState& s = view();
    s.curPlayer = static_cast<Integer>(me);
    s.raceName = a.title;
    betRace_ = std::make_unique<Race>(a.odds);
    auto* w = new FrmBet(
        s, *betRace_, betRng_,
        [this, me](const Command& c) {
            if (c.kind == CommandKind::PlaceBet)
                send(Command::placeBet(me, c.stake), bet_ ? bet_->selectedLane() : 0);
            else if (c.kind == CommandKind::ChooseLane)
                send(Command::chooseLane(me, c.lane));
            else
                send(Command::declineBet(me));
            return true;
        },
        this);
    bet_ = w;
    connect(w, &QDialog::finished, this, [this, w] {
        bet_ = nullptr;
        w->deleteLater();
        showing_ = false;
        QTimer::singleShot(0, this, &FrmGuest::showNext);
    });
    w->setWindowModality(Qt::ApplicationModal);
    w->show();
}

void FrmGuest::closeEvent(QCloseEvent* e) {
    if (!ending_) {
        ending_ = true;
        guest_.leave();
        if (onEnded_) QTimer::singleShot(0, onEnded_);
    }
    e->accept();
}

}  // namespace kisharin
