#include "screens/frmReplay.h"
#include "state/area_caption.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "screens/frmEki.h"
#include "screens/frmEnd.h"
#include "screens/frmMain.h"
#include "screens/look.h"
#include "screens/mapSheet.h"
#include "state/error.h"
#include "state/railway.h"
#include "turns/board_model.h"

namespace kisharin {

namespace {

constexpr int kSpeeds[3] = {1, 4, 16};

// The board's fonts, for the strip the replay lays out.
const TextMetrics& boardMetrics() {
    static const KeptTextMetrics metrics;
    return metrics;
}

QString yen(long long v) {
    return QLocale(QLocale::Japanese).toString(v) + QStringLiteral("円");
}

}  // namespace

// What the replayed game shows beside the board: the disasters' pictures slide over it as
// they did. The messages are read from the game's log after each turn.
class FrmReplay::View final : public ReplayView {
  public:
    explicit View(FrmMain*& board) : board_(board) {}
    void showDisaster(const GameState&, int kind) override {
        if (board_) board_->showDisaster(kind);
    }

  private:
    FrmMain*& board_;
};

FrmReplay::FrmReplay(std::unique_ptr<RecordPlayer> player, QWidget* parent)
    : QDialog(parent), player_(std::move(player)) {
    setObjectName(QStringLiteral("frmReplay"));
    setWindowTitle(QStringLiteral("もう一度見る"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setBack(this, rgb(240, 240, 240));
    view_ = std::make_unique<View>(board_);
    player_->setView(view_.get());
    player_->watchRides([this](const GameState& s, double timer, int) {
        // Kept only when the scene is to be shown: a copy of the whole state costs.
        if (!chkRide_->isChecked() || speed_ == 16) return;
        if (!rideState_) rideState_ = std::make_unique<GameState>();
        *rideState_ = s;
        rideTimer_ = timer;
        rode_ = true;
    });
    const GameState& s = player_->state();

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->setSpacing(6);
    lblTitle_ = new QLabel(this);
    lblTitle_->setObjectName(QStringLiteral("lblTitle"));
    lblTitle_->setFont(uiFont(11, true));
    lblTitle_->setText(QStringLiteral("%1（青）対 %2（赤）　%3　%4　ゲーム %5／%6")
                           .arg(qs(s.playerName[0]), qs(s.playerName[1]), qs(areaCaption(s.playArea)),
                                s.shortMode ? QStringLiteral("短縮モード") : QStringLiteral("通常モード"))
                           .arg(player_->index() + 1)
                           .arg(player_->games()));
    root->addWidget(lblTitle_);

    auto* middle = new QHBoxLayout;
    // The game's own board, watching only.
    board_ = new FrmMain(player_->game(), std::string());
    board_->setParent(this, Qt::Widget);
    board_->watchOnly();
    middle->addWidget(board_, 0, Qt::AlignTop);

    auto* side = new QVBoxLayout;
    lblTurn_ = new QLabel(this);
    lblTurn_->setObjectName(QStringLiteral("lblTurn"));
    lblTurn_->setFont(titleFont(14));
    lblTurn_->setFixedSize(340, 30);
    side->addWidget(lblTurn_);
    for (int p = 0; p < 2; ++p) {
        lblPlayer_[p] = new QLabel(this);
        lblPlayer_[p]->setObjectName(QStringLiteral("lblPlayer%1").arg(p));
        lblPlayer_[p]->setFont(uiFont(10));
        lblPlayer_[p]->setFrameShape(QFrame::StyledPanel);
        lblPlayer_[p]->setMargin(6);
        lblPlayer_[p]->setFixedSize(340, 70);  // a new text never lays the window out again
        setBack(lblPlayer_[p], rgb(255, 255, 255));
        side->addWidget(lblPlayer_[p]);
    }
    auto* caption = new QLabel(QStringLiteral("メッセージ"), this);
    caption->setFont(uiFont(10, true));
    side->addWidget(caption);
    // A plain text log: a line added is laid out alone, however long the log has grown.
    log_ = new QPlainTextEdit(this);
    log_->setObjectName(QStringLiteral("txtMessages"));
    log_->setFont(uiFont(9));
    log_->setReadOnly(true);
    log_->setFocusPolicy(Qt::NoFocus);
    log_->setMaximumBlockCount(static_cast<int>(MessageLog::kKept));
    side->addWidget(log_, 1);
    middle->addLayout(side, 1);
    root->addLayout(middle, 1);

    lblMessage_ = new QLabel(this);
    lblMessage_->setObjectName(QStringLiteral("lblMessage"));
    lblMessage_->setFont(uiFont(10, true));
    lblMessage_->setFrameShape(QFrame::StyledPanel);
    lblMessage_->setIndent(6);
    lblMessage_->setFixedHeight(26);
    // A long message is cut at the window's edge (the log holds it whole) rather than
    // widening the window.
    lblMessage_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setBack(lblMessage_, rgb(255, 255, 240));
    root->addWidget(lblMessage_);

    // The controls, each with its key.
    auto* controls = new QHBoxLayout;
    auto button = [&](const QString& name, const QString& text, const QString& tip) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setFont(uiFont(10));
        b->setMinimumSize(110, 30);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);  // every control has its key
        b->setToolTip(tip);
        controls->addWidget(b);
        return b;
    };
    cmdPause_ = button(QStringLiteral("cmdPause"), QStringLiteral("一時停止"), QStringLiteral("キー：Space"));
    cmdStep_ = button(QStringLiteral("cmdStep"), QStringLiteral("1ターン進む"),
                      QStringLiteral("一時停止中に（キー：→ または N）"));
    connect(cmdPause_, &QPushButton::clicked, this, &FrmReplay::togglePause);
    connect(cmdStep_, &QPushButton::clicked, this, &FrmReplay::stepOnce);
    auto* speeds = new QGroupBox(QStringLiteral("速さ"), this);
    speeds->setFont(uiFont(9));
    auto* speedRow = new QHBoxLayout(speeds);
    speedRow->setContentsMargins(8, 2, 8, 2);
    auto* group = new QButtonGroup(this);
    const char* speedKeys[3] = {"1", "4", "6"};
    for (int i = 0; i < 3; ++i) {
        optSpeed_[i] = new QRadioButton(QStringLiteral("%1×").arg(kSpeeds[i]), speeds);
        optSpeed_[i]->setObjectName(QStringLiteral("optSpeed%1").arg(kSpeeds[i]));
        optSpeed_[i]->setFont(uiFont(10, true));
        optSpeed_[i]->setFocusPolicy(Qt::NoFocus);
        optSpeed_[i]->setToolTip(QStringLiteral("キー：%1").arg(QLatin1String(speedKeys[i])));
        group->addButton(optSpeed_[i]);
        speedRow->addWidget(optSpeed_[i]);
        const int speed = kSpeeds[i];
        connect(optSpeed_[i], &QRadioButton::clicked, this, [this, speed] { setSpeed(speed); });
    }
    optSpeed_[0]->setChecked(true);
    controls->addWidget(speeds);
    chkRide_ = new QCheckBox(QStringLiteral("乗車シーン"), this);
    chkRide_->setObjectName(QStringLiteral("chkRide"));
    chkVoice_ = new QCheckBox(QStringLiteral("音声"), this);
    chkVoice_->setObjectName(QStringLiteral("chkVoice"));
    chkRide_->setToolTip(QStringLiteral("乗るたびに乗車シーンを見せます（16×では見せません。キー：R）"));
    chkVoice_->setToolTip(QStringLiteral("乗車シーンで駅の案内を話します（キー：V）"));
    for (QCheckBox* c : {chkRide_, chkVoice_}) {
        c->setFont(uiFont(10));
        c->setFocusPolicy(Qt::NoFocus);
        controls->addWidget(c);
    }
    chkVoice_->setEnabled(false);
    connect(chkRide_, &QCheckBox::toggled, this, [this](bool on) {
        chkVoice_->setEnabled(on && speed_ != 16);
        if (!on) chkVoice_->setChecked(false);
    });
    controls->addStretch(1);
    QPushButton* close =
        button(QStringLiteral("cmdClose"), QStringLiteral("閉じる"), QStringLiteral("キー：Esc"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    root->addLayout(controls);
    auto* keys =
        new QLabel(QStringLiteral("キー：Space 一時停止／再開　→・N 1ターン進む　1・4・6 速さ 1×・4×・16×　"
                                  "R 乗車シーン　V 音声　Esc 閉じる"),
                   this);
    keys->setObjectName(QStringLiteral("lblKeys"));
    keys->setFont(uiFont(9));
    setFore(keys, rgb(80, 80, 80));
    root->addWidget(keys);

    auto key = [this](QKeySequence k, auto f) {
        auto* sc = new QShortcut(k, this);
        connect(sc, &QShortcut::activated, this, f);
    };
    key(QKeySequence(Qt::Key_Space), [this] { togglePause(); });
    key(QKeySequence(Qt::Key_Right), [this] { stepOnce(); });
    key(QKeySequence(Qt::Key_N), [this] { stepOnce(); });
    key(QKeySequence(Qt::Key_1), [this] { setSpeed(1); });
    key(QKeySequence(Qt::Key_4), [this] { setSpeed(4); });
    key(QKeySequence(Qt::Key_6), [this] { setSpeed(16); });
    key(QKeySequence(Qt::Key_R), [this] {
        if (chkRide_->isEnabled()) chkRide_->toggle();
    });
    key(QKeySequence(Qt::Key_V), [this] {
        if (chkVoice_->isEnabled()) chkVoice_->toggle();
    });

    tick_ = new QTimer(this);
    tick_->setObjectName(QStringLiteral("tmrReplay"));
    tick_->setSingleShot(true);
    connect(tick_, &QTimer::timeout, this, &FrmReplay::tick);
    refresh();
    takeMessages();
}

FrmReplay::~FrmReplay() {
    tick_->stop();
    // The windows that draw the player's game go before it.
    delete ride_.data();
    delete results_.data();
    delete board_;
    board_ = nullptr;
}

FrmReplay* FrmReplay::openRecord(const std::string& recordFile, const std::string& appDir, int game,
                                 QWidget* parent) {
    std::unique_ptr<RecordPlayer> player;
    try {
        player = std::make_unique<RecordPlayer>(recordFile, appDir, game, nullptr, &boardMetrics());
    } catch (const GameError& e) {
        QMessageBox::warning(parent, QStringLiteral("もう一度見る"),
                             QStringLiteral("対戦を再生できません。\n") + qs(e.what()));
        return nullptr;
    }
    auto* w = new FrmReplay(std::move(player), parent);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    return w;
}

FrmEnd* FrmReplay::results() const {
    return results_.data();
}
FrmEki* FrmReplay::ride() const {
    return ride_.data();
}

int FrmReplay::interval() const {
    return kTurnMs / speed_;
}

void FrmReplay::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (started_) return;
    started_ = true;
    schedule();
}

void FrmReplay::schedule() {
    if (paused_ || over_ || ride_) return;
    tick_->start(interval());
}

void FrmReplay::tick() {
    advance();
    schedule();
}

void FrmReplay::togglePause() {
    if (over_) return;
    paused_ = !paused_;
    cmdPause_->setText(paused_ ? QStringLiteral("再開") : QStringLiteral("一時停止"));
    cmdStep_->setEnabled(paused_);
    if (paused_)
        tick_->stop();
    else
        schedule();
    refresh();
}

void FrmReplay::stepOnce() {
    if (!paused_ || over_ || ride_) return;
    advance();
}

void FrmReplay::setSpeed(int speed) {
    if (speed != 1 && speed != 4 && speed != 16) return;
    speed_ = speed;
    for (int i = 0; i < 3; ++i) optSpeed_[i]->setChecked(kSpeeds[i] == speed);
    // At 16× a turn is over before a scene could be seen or a word said.
    const bool scenes = speed != 16;
    if (!scenes) {
        chkRide_->setChecked(false);
        chkVoice_->setChecked(false);
    }
    chkRide_->setEnabled(scenes);
    chkVoice_->setEnabled(scenes && chkRide_->isChecked());
    if (tick_->isActive()) tick_->start(interval());
}

void FrmReplay::advance() {
    if (over_) return;
    rode_ = false;
    bool more = false;
    try {
        more = player_->step();
        // The turn that reached the last destination ends the game: its end is taken now.
        if (more && player_->game().ended) more = player_->step();
    } catch (const GameError& e) {
        fail(qs(e.what()));
        return;
    }
    refresh();
    takeMessages();
    if (!more) {
        showEnd();
        return;
    }
    if (rode_) showRide();
}

void FrmReplay::refresh() {
    if (board_) board_->refresh();
    const GameState& s = player_->state();
    lblTurn_->setText(QStringLiteral("ターン %1").arg(player_->turns()) +
                      (over_     ? QStringLiteral("（終わり）")
                       : paused_ ? QStringLiteral("（一時停止中）")
                                 : QString()));
    for (int p = 0; p < 2; ++p) {
        const int line = s.playerRosen[p], pos = s.playerEki[p];
        const QString where = isStation(s, line, pos)
                                  ? qs(s.ekiName(line, pos) + "駅（" + s.ekiName(line, 0) + "）")
                                  : QString();
        lblPlayer_[p]->setText(QStringLiteral("<b><font color='%1'>%2</font></b>%3<br>"
                                              "ポイント：<b>%4P</b>　所持金：<b>%5</b><br>"
                                              "目的地：%6／8　%7")
                                   .arg(p == 0 ? QStringLiteral("#0000ff") : QStringLiteral("#ff0000"),
                                        qs(s.playerName[p]).toHtmlEscaped(),
                                        s.curPlayer == p && !over_ ? QStringLiteral("　◀ 手番") : QString())
                                   .arg(s.playerPoint[p])
                                   .arg(yen(s.playerMoney[p]))
                                   .arg(s.arriveCount[p])
                                   .arg(where.toHtmlEscaped()));
    }
    cmdStep_->setEnabled(paused_ && !over_);
    cmdPause_->setEnabled(!over_);
}

void FrmReplay::takeMessages() {
    const MessageLog& m = player_->game().messages;
    const auto& entries = m.entries();
    const long fresh = std::min<long>(m.added() - messagesSeen_, static_cast<long>(entries.size()));
    messagesSeen_ = m.added();
    const std::array<std::string, 2> names{player_->state().playerName[0], player_->state().playerName[1]};
    for (auto it = entries.end() - fresh; it != entries.end(); ++it) {
        const QString line = qs(loggedLine(*it, names));
        log_->appendHtml(QStringLiteral("<span style='color:%1; white-space:pre-wrap'>%2</span>")
                             .arg(it->player == 1 ? QStringLiteral("#c80000") : QStringLiteral("#0000c8"),
                                  line.toHtmlEscaped()));
        lblMessage_->setText(line);
    }
}

void FrmReplay::showRide() {
    if (!rideState_ || !chkRide_->isChecked() || speed_ == 16) return;
    GameState& s = *rideState_;
    s.voiceMode = chkVoice_->isChecked();
    StoppedClock clock(s.gameClock, rideTimer_);
    tick_->stop();
    ride_ = new FrmEki(s, rideRng_, clock, this);
    ride_->setObjectName(QStringLiteral("replayRide"));
    ride_->setAttribute(Qt::WA_DeleteOnClose);
    // The play goes on once the ride window has closed itself.
    connect(ride_, &QDialog::finished, this, [this] {
        ride_ = nullptr;
        QTimer::singleShot(0, this, &FrmReplay::schedule);
    });
    // The ride window takes the keys while it stands: the pause key works over it too.
    connect(new QShortcut(QKeySequence(Qt::Key_Space), ride_), &QShortcut::activated, this,
            &FrmReplay::togglePause);
    ride_->show();
}

void FrmReplay::showEnd() {
    over_ = true;
    tick_->stop();
    refresh();
    if (!player_->end().ended) {
        lblMessage_->setText(
            QStringLiteral("記録はここで終わっています（ゲームは結果の前に終わりました）。"));
        return;
    }
    lblMessage_->setText(QStringLiteral("ゲームが終わりました。"));
    // The results as the game showed them; this window writes nothing and ends nothing.
    results_ = new FrmEnd(player_->state(), this, false);
    results_->setAttribute(Qt::WA_DeleteOnClose);
    results_->show();
}

void FrmReplay::fail(const QString& why) {
    over_ = true;
    tick_->stop();
    refresh();
    const QString text = QStringLiteral("記録をこれ以上再生できません：") + why;
    lblMessage_->setText(text);
    lblMessage_->setToolTip(text);
    log_->appendHtml(QStringLiteral("<span style='color:#a00000; white-space:pre-wrap'>%1</span>")
                         .arg(text.toHtmlEscaped()));
}

}  // namespace kisharin
