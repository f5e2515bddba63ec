#include "screens/frmBet.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>

#include "screens/eventPictures.h"
#include "screens/look.h"
#include "screens/timing.h"
#include "turns/board_model.h"

namespace kisharin {

// The track picBack: its colour, lane lines, lane numbers, the start line, the goal and
// the racers where the race has them.
class TrackView : public QWidget {
  public:
    TrackView(const Race& race, const std::string& raceName, QWidget* parent) : QWidget(parent), race_(race) {
        setObjectName(QStringLiteral("picBack"));
        setFixedSize(kTrackWidth, kTrackHeight);
        const RaceLook look = raceLook(raceName);
        colour_ = qcolor(look.track);
        racer_ = racerPicture(look.racer);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), colour_);
        const int pitch = kLaneTops[1] - kLaneTops[0];
        // Lane lines linBorder(0..5) halfway between the racers.
        p.setPen(QPen(Qt::white, 2));
        for (int i = 0; i <= kLanes; ++i) {
            const int y = kLaneTops[0] - (pitch - kRacerHeight) / 2 + i * pitch;
            p.drawLine(0, y, kTrackWidth, y);
        }
        // Start line Shape1 and the goal shpGoal.
        const int top = kLaneTops[0] - (pitch - kRacerHeight) / 2;
        const int bottom = top + kLanes * pitch;
        p.fillRect(kStartLineLeft, top, 3, bottom - top, Qt::white);
        for (int y = top, k = 0; y < bottom; y += 8, ++k)
            for (int x = 0; x < kGoalWidth; x += 3)
                p.fillRect(kGoalLeft + x, y, 3, 8, ((x / 3 + k) % 2) ? Qt::black : Qt::white);
        p.setPen(Qt::white);
        p.setFont(uiFont(10, true));
        p.drawText(QRect(kGoalLeft - 20, 6, kGoalWidth + 40, 20), Qt::AlignCenter, QStringLiteral("ゴール"));
        p.drawText(QRect(kStartLineLeft - 20, 6, 44, 20), Qt::AlignCenter, QStringLiteral("スタート"));
        // Lane numbers lblNo(0..4) at the right end of each lane.
        p.setFont(uiFont(14, true));
        for (int i = 0; i < kLanes; ++i) {
            const QRect r(kRacerStartLeft + kRacerWidth + 6, kLaneTops[static_cast<size_t>(i)], 32,
                          kRacerHeight);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawEllipse(r.center(), 14, 14);
            p.setPen(Qt::black);
            p.drawText(r, Qt::AlignCenter, qs(fullWidthNumber(i + 1)));
        }
        for (int i = 0; i < kLanes; ++i)
            p.drawPixmap(race_.left(i), kLaneTops[static_cast<size_t>(i)], racer_);
    }

  private:
    const Race& race_;
    QColor colour_;
    QPixmap racer_;
};

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& text, QRect at, int size,
              bool bold = false) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(at);
    l->setFont(uiFont(size, bold));
    return l;
}

}  // namespace

FrmBet::FrmBet(const GameState& s, Race& race, Rng& rng, std::function<bool(const Command&)> send,
               QWidget* parent)
    : QDialog(parent), s_(s), rng_(rng), race_(race), send_(std::move(send)) {
    setObjectName(QStringLiteral("frmBet"));
    setWindowTitle(qs(kBetCaption));
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(kTrackWidth + 16, kTrackHeight + 16 + 136);
    setBack(this, rgb(240, 240, 240));

    picBack_ = new TrackView(race_, s.raceName, this);
    picBack_->move(8, 8);

    const int y0 = kTrackHeight + 20;
    label(this, QStringLiteral("Label1"), QStringLiteral("何コースに賭けますか？"), {16, y0, 260, 22}, 11,
          true);
    lanes_ = new QButtonGroup(this);
    for (int i = 0; i < kLanes; ++i) {
        auto* o = new QRadioButton(qs(fullWidthNumber(i + 1) + "コース"), this);
        o->setObjectName(QStringLiteral("optNo%1").arg(i));
        o->setFont(uiFont(11));
        o->setGeometry(16 + i * 100, y0 + 28, 96, 24);
        lanes_->addButton(o, i);
        optNo_[static_cast<size_t>(i)] = o;
        // During the race a switch is the player's command: it counts from the next tick
        // (of the race here, or of the race another computer runs for this window's bet).
        connect(o, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && (race_.started() || betSent_) && !race_.decided() && !replaying_)
                send_(Command::chooseLane(s_.curPlayer, i));
        });
        // The odds drawn at the opening: "オッズ：" & odds & "倍".
        lblOdds_[static_cast<size_t>(i)] =
            label(this, QStringLiteral("lblOdds%1").arg(i), qs(oddsText(race_.odds(i))),
                  {20 + i * 100, y0 + 54, 92, 22}, 10);
    }
    optNo_[0]->setChecked(true);

    label(this, QStringLiteral("Label2"), QStringLiteral("いくら賭けますか？"), {540, y0, 200, 22}, 11, true);
    cboMoney_ = new QComboBox(this);
    cboMoney_->setObjectName(QStringLiteral("cboMoney"));
    QFont fixed(QStringLiteral("IPAGothic"));
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    fixed.setPixelSize(15);
    cboMoney_->setFont(fixed);
    cboMoney_->setGeometry(540, y0 + 28, 130, 26);
    stakes_ = offeredStakes(s.playerMoney[s.curPlayer]);
    for (Long st : stakes_) cboMoney_->addItem(qs(stakeEntry(st)));
    cboMoney_->setCurrentIndex(0);

    cmdStart_ = new QPushButton(QStringLiteral("出走"), this);
    cmdStart_->setObjectName(QStringLiteral("cmdStart"));
    cmdStart_->setFont(uiFont(12, true));
    cmdStart_->setGeometry(540, y0 + 66, 90, 32);
    cmdStart_->setEnabled(!stakes_.empty());
    cmdStop_ = new QPushButton(QStringLiteral("勝負しない"), this);
    cmdStop_->setObjectName(QStringLiteral("cmdStop"));
    cmdStop_->setFont(uiFont(11));
    cmdStop_->setGeometry(640, y0 + 66, 105, 32);
    // Enter starts the race, or declines it when there is nothing to stake.
    (stakes_.empty() ? cmdStop_ : cmdStart_)->setDefault(true);
    connect(cmdStart_, &QPushButton::clicked, this, &FrmBet::cmdStart_Click);
    connect(cmdStop_, &QPushButton::clicked, this, &FrmBet::cmdStop_Click);

    lblMessage_ = label(this, QStringLiteral("lblMessage"), QString(), {16, y0 + 84, 500, 34}, 20, true);
    setFore(lblMessage_, rgb(220, 0, 0));
    lblMessage_->hide();

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer"));
    timer_->setInterval(scaledMs(kRaceTickMs));
    connect(timer_, &QTimer::timeout, this, &FrmBet::Timer_Timer);
    timerEnd_ = new QTimer(this);
    timerEnd_->setObjectName(QStringLiteral("TimerEnd"));
    timerEnd_->setSingleShot(true);
    timerEnd_->setInterval(scaledMs(kRaceCloseMs));
    connect(timerEnd_, &QTimer::timeout, this, &FrmBet::TimerEnd_Timer);
}

int FrmBet::selectedLane() const {
    const int id = lanes_->checkedId();
    return id < 0 ? 0 : id;
}

RaceOutcome FrmBet::outcome() const {
    if (!race_.decided()) return {};
    return {race_.laneAtFinish() + 1, race_.winner() + 1};
}

void FrmBet::lockControls() {
    cmdStart_->setEnabled(false);
    cmdStop_->setEnabled(false);
    cboMoney_->setEnabled(false);
}

void FrmBet::cmdStart_Click() {
    if (race_.started() || stakes_.empty() || replaying_) return;
    const int entry = std::clamp(cboMoney_->currentIndex(), 0, static_cast<int>(stakes_.size()) - 1);
    if (!send_(Command::placeBet(s_.curPlayer, stakes_[static_cast<size_t>(entry)]))) return;
    lockControls();
    // A bet sent to another computer: the race comes from there tick by tick (follow),
    // and the lane options stay the player's.
    if (!race_.started()) {
        betSent_ = true;
        return;
    }
    send_(Command::chooseLane(s_.curPlayer, selectedLane()));
    timer_->start();
}

void FrmBet::replay(const std::string& moves, int lane, Long stake) {
    if (race_.started() && replaying_) return;
    replaying_ = true;
    moves_ = moves;
    lockControls();
    if (lane >= 0 && lane < kLanes) optNo_[static_cast<size_t>(lane)]->setChecked(true);
    for (QRadioButton* o : optNo_) o->setEnabled(false);
    const auto at = std::find(stakes_.begin(), stakes_.end(), stake);
    if (at != stakes_.end()) cboMoney_->setCurrentIndex(static_cast<int>(at - stakes_.begin()));
    race_.start(stake);
    timer_->start();
}

void FrmBet::follow(const std::string& moves, int laneAtFinish, bool decidedThere, Long stake) {
    if (replaying_) return;
    if (!race_.started()) race_.start(stake);
    const bool before = race_.decided();
    while (!race_.decided() && race_.replayTick(moves, selectedLane())) {
    }
    if (!before && race_.decided()) {
        lblMessage_->setText(qs(winnerText(race_.winner() + 1)));
        lblMessage_->show();
    }
    if (decidedThere && !timerEnd_->isActive()) {
        // The lane that counted is the one the other computer had when the winner crossed.
        betSent_ = false;
        if (laneAtFinish >= 0 && laneAtFinish < kLanes)
            optNo_[static_cast<size_t>(laneAtFinish)]->setChecked(true);
        for (QRadioButton* o : optNo_) o->setEnabled(false);
        timerEnd_->start();
    }
    picBack_->update();
}

void FrmBet::cmdStop_Click() {
    if (race_.started()) return;
    send_(Command::declineBet(s_.curPlayer));
    closing_ = true;
    done(QDialog::Rejected);
}

void FrmBet::Timer_Timer() {
    const bool before = race_.decided();
    if (!replaying_) {
        race_.tick(rng_);
    } else if (!race_.replayTick(moves_, selectedLane())) {
        // The record ends (after the winner, or cut short): the window closes as after a race.
        timer_->stop();
        if (!timerEnd_->isActive()) timerEnd_->start();
        return;
    }
    if (!before && race_.decided()) {
        lblMessage_->setText(qs(winnerText(race_.winner() + 1)));
        lblMessage_->show();
        timerEnd_->start();
    }
    picBack_->update();
}

void FrmBet::TimerEnd_Timer() {
    timer_->stop();
    closing_ = true;
    done(QDialog::Accepted);
}

void FrmBet::closeEvent(QCloseEvent* e) {
    if (closing_)
        e->accept();
    else
        e->ignore();
}

void FrmBet::reject() {
    if (closing_) QDialog::reject();
}

}  // namespace kisharin
