#include "screens/frmGuest.h"

#include <QCloseEvent>
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

#include "screens/frmEki.h"
#include "screens/look.h"
#include "screens/stripView.h"
#include "state/railway.h"
#include "state/regions.h"

namespace kisharin {

namespace {

// The board's geometry (the same as the host's board).
constexpr int kViewWidth = 750, kViewHeight = 433;
constexpr quint16 kDefaultPort = 48620;

// The clock of a ride the host showed: its game time and the timer it seeded from.
class ShownClock final : public Clock {
  public:
    ShownClock(double now, double timer) : now_(now), timer_(timer) {}
    double now() override { return now_; }
    double timer() override { return timer_; }

  private:
    double now_, timer_;
};

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
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,6}")), txtCode_));
    for (QLineEdit* e : {txtAddress_, txtPort_, txtCode_}) e->setFont(uiFont(11));
    form->addRow(QStringLiteral("ホストのアドレス"), txtAddress_);
    form->addRow(QStringLiteral("ポート"), txtPort_);
    form->addRow(QStringLiteral("参加コード（６けた）"), txtCode_);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("参加"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("やめる"));
    connect(box, &QDialogButtonBox::accepted, this, [this] {
        if (address().isEmpty() || port() == 0 || code().size() != 6) {
            QMessageBox::warning(this, QStringLiteral("参加"),
                                 QStringLiteral("アドレス、ポート、６けたの参加コードを入れてください。"));
            return;
        }
        accept();
    });
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(box);
    setFont(uiFont(10));
}

QString FrmJoin::address() const {
    return txtAddress_->text().trimmed();
}
quint16 FrmJoin::port() const {
    return static_cast<quint16>(txtPort_->text().toUInt());
}
std::string FrmJoin::code() const {
    return txtCode_->text().toStdString();
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

    connect(&guest_, &NetGuest::boardChanged, this, &FrmGuest::refresh);
    connect(&guest_, &NetGuest::shown, this, &FrmGuest::shown);
    connect(&guest_, &NetGuest::asked, this, [this](const net::Ask& a) {
        // Asked from the event loop, not inside the socket's signal.
        QTimer::singleShot(0, this, [this, a] { asked(a); });
    });
    connect(&guest_, &NetGuest::refused, this,
            [this](const QString& why) { lblShown_->setText(QStringLiteral("できません：") + why); });
    connect(&guest_, &NetGuest::ended, this, [this](const QString& why) {
        if (ending_) return;
        ending_ = true;
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
    syncing_ = false;
}

void FrmGuest::shown(const net::ShowCall& c) {
    QString text;
    if (c.what == "message")
        text = qs(c.text);
    else if (c.what == "dice")
        text = QStringLiteral("サイの目：%1").arg(c.value);
    else if (c.what == "ride") {
        text = QStringLiteral("%1で %2 駅から %3 駅へ").arg(qs(c.text)).arg(c.start).arg(c.end);
        // The scene runs from the event loop, not inside the socket's signal.
        QTimer::singleShot(0, this, [this, c] { showRide(c); });
    } else if (c.what == "conquest")
        text = QStringLiteral("路線制覇！");
    else if (c.what == "results")
        text = qs(c.text);
    else
        return;
    lblShown_->setText(text);
    setFore(lblShown_, c.player == 1 ? kColorPlayer2 : kColorPlayer1);
    if (c.what == "results") {
        QMessageBox box(QMessageBox::Information, QStringLiteral("終了"), text, QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("guestResults"));
        box.exec();
    }
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
    ShownClock clock(c.gameClock, c.seed);
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
        QMessageBox box(QMessageBox::Question, qs(a.title), qs(a.text), QMessageBox::Yes | QMessageBox::No,
                        this);
        box.setObjectName(QStringLiteral("askWarp"));
        send(Command::answerWarp(me, box.exec() == QMessageBox::Yes));
    } else if (a.question == "god") {
        // The prefectures of the shipped railway's regions to pick from; without them, typed.
        QStringList prefs;
        if (railway_)
            for (int r = 1; r <= kRegionCount; ++r)
                for (const std::string& p : railway_->regionPrefs[r]) prefs << qs(p);
        const QString stay = QStringLiteral("（行かない）");
        bool ok = false;
        QString pref;
        if (prefs.isEmpty()) {
            pref = QInputDialog::getText(this, QStringLiteral("氏神"),
                                         QStringLiteral("行きたい都道府県の名前（空欄ならそのまま）"),
                                         QLineEdit::Normal, QString(), &ok);
        } else {
            pref = QInputDialog::getItem(this, QStringLiteral("氏神"), QStringLiteral("行きたい都道府県"),
                                         QStringList{stay} + prefs, 0, false, &ok);
            if (pref == stay) pref.clear();
        }
        send(Command::answerGod(me, ok ? pref.trimmed().toStdString() : std::string()));
    } else {
        QStringList stakes;
        for (Long st : a.stakes) stakes << QStringLiteral("%1円").arg(st);
        stakes << QStringLiteral("勝負しない");
        bool ok = false;
        const QString pick =
            QInputDialog::getItem(this, qs(a.title), QStringLiteral("掛け金"), stakes, 0, false, &ok);
        const auto i = stakes.indexOf(pick);
        if (!ok || i < 0 || i >= static_cast<int>(a.stakes.size())) {
            send(Command::declineBet(me));
            return;
        }
        QStringList lanes;
        for (int l = 0; l < 5; ++l)
            lanes << QStringLiteral("%1番（%2倍）").arg(l + 1).arg(a.odds[static_cast<std::size_t>(l)]);
        const QString lane = QInputDialog::getItem(this, qs(a.title), QStringLiteral("どれに賭けますか"),
                                                   lanes, 0, false, &ok);
        send(Command::placeBet(me, a.stakes[static_cast<std::size_t>(i)]),
             std::max(0, static_cast<int>(lanes.indexOf(lane))));
    }
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
