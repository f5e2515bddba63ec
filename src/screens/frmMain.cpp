#include "screens/frmMain.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <cmath>

#include "board/line_display.h"
#include "board/startup.h"
#include "screens/boardKeys.h"
#include "screens/browser.h"
#include "screens/eventPictures.h"
#include "screens/frmKiroku.h"
#include "screens/frmLog.h"
#include "screens/frmMap.h"
#include "screens/frmMokutekiti.h"
#include "screens/frmSlots.h"
#include "screens/look.h"
#include "screens/stripView.h"
#include "screens/timing.h"
#include "state/error.h"
#include "turns/board_model.h"
#include "turns/boarding.h"
#include "turns/command.h"
#include "turns/money.h"
#include "turns/strip_keys.h"
#include "turns/turn.h"

namespace kisharin {

namespace {

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

FrmMain::FrmMain(Game& g, std::string gameDataDir) : QWidget(nullptr), g_(g), dir_(std::move(gameDataDir)) {
    g_.gameDataDir = dir_;  // where the Save command writes the slots of this board's game
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("キシャリン"));
    setFixedSize(784, 578);
    setBack(this, rgb(240, 240, 240));

    // The viewport, the strip inside it and the scroll bar to its right.
    picScreen_ = new QWidget(this);
    picScreen_->setObjectName(QStringLiteral("picScreen"));
    picScreen_->setGeometry(8, 8, kViewportWidth, kViewportHeight);
    picScreen_->setAutoFillBackground(true);
    strip_ = new StripView(g_.line, picScreen_);
    // Hover changes only the strip's colours and hint: repaint the strip alone.
    strip_->onStationMove = [this](int i) { hover([&] { lblEki_MouseMove(g_.s, g_.line, i); }); };
    strip_->onTransferMove = [this](int k) { hover([&] { lblNorikae_MouseMove(g_.line, *g_.metrics, k); }); };
    strip_->onBackgroundMove = [this] { hover([&] { picEki_MouseMove(g_.s, g_.line); }); };
    strip_->onStationClick = [this](int i) { lblEki_Click(i); };
    strip_->onTransferClick = [this](int k) { lblNorikae_Click(k); };
    strip_->onWheel = [this](int delta) { run([&] { onMouseWheel(g_.line, delta); }); };
    // The key focus lights its target as the pointer would, and brings it into view.
    strip_->onKeyFocus = [this](StripTarget t) {
        hover([&] {
            picEki_MouseMove(g_.s, g_.line);
            if (t.station) lblEki_MouseMove(g_.s, g_.line, t.station);
            if (t.transfer) lblNorikae_MouseMove(g_.line, *g_.metrics, t.transfer);
        });
        if (t && depth_ == 0) run([&] { setScrollValue(g_.line, scrollToShow(g_.line, t)); });
    };
    scTate_ = new QScrollBar(Qt::Vertical, this);
    scTate_->setObjectName(QStringLiteral("scTate"));
    scTate_->setGeometry(picScreen_->x() + picScreen_->width(), picScreen_->y(), 17, picScreen_->height());
    scTate_->setSingleStep(kStationPitch);
    scTate_->setPageStep(kViewportHeight);
    scTate_->installEventFilter(this);  // the wheel over the bar steps as over the strip
    connect(scTate_, &QScrollBar::valueChanged, this, [this](int v) {
        if (!syncing_) run([&] { scTate_Change(g_.line, v); });
    });

    lblJikoku_ = makeLabel(this, QStringLiteral("lblJikoku"), {8, 448, 92, 22}, 10, true);
    lblMoney_ = makeLabel(this, QStringLiteral("lblMoney"), {104, 448, 92, 22}, 10, true);
    lblMoney_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblManName_ = makeLabel(this, QStringLiteral("lblManName"), {200, 448, 433, 22}, 11, true);
    lblManName_->setIndent(6);
    lblTrainName_ = makeLabel(this, QStringLiteral("lblTrainName"), {200, 482, 310, 28}, 13, true);
    lblSusumu_ = makeLabel(this, QStringLiteral("lblSusumu"), {200, 522, 310, 24}, 10, true);

    frame1_ = new QGroupBox(QStringLiteral("列車"), this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setGeometry(8, 476, 177, 96);
    frame1_->setFont(uiFont(8));
    // 各停, 急行 and 特急 in the first row; 新幹線 and 飛行機, chosen by the line alone, below.
    const int kindX[6] = {0, 8, 64, 120, 8, 84};
    const int kindY[6] = {0, 16, 16, 16, 38, 38};
    for (int k = 1; k <= 5; ++k) {
        auto* o = new QRadioButton(frame1_);
        o->setObjectName("optKind(" + QString::number(k) + ")");
        o->setAutoExclusive(false);
        o->setGeometry(kindX[k], kindY[k], k >= 4 ? 72 : 54, 20);
        o->setFont(uiFont(9, true));
        connect(o, &QRadioButton::clicked, this, [this, k] { optKind_Click(k); });
        optKind_[k] = o;
    }
    cmdSusumu_ = makeButton(frame1_, QStringLiteral("cmdSusumu"), QStringLiteral("進む"), 48, 64);
    cmdSusumu_->setFont(uiFont(10, true));

    cmdMokutekiti_ =
        makeButton(this, QStringLiteral("cmdMokutekiti"), QStringLiteral("目的地確認"), 520, 480);
    cmdCourse_ = makeButton(this, QStringLiteral("cmdCourse"), QStringLiteral("最短目的地"), 520, 512);
    cmdPoint_ = makeButton(this, QStringLiteral("cmdPoint"), QStringLiteral("ポイント確認"), 520, 544);
    cmdWork_ = makeButton(this, QStringLiteral("cmdWork"), QStringLiteral("アルバイト"), 608, 480);
    cmdMap2_ = makeButton(this, QStringLiteral("cmdMap2"), QStringLiteral("路線図"), 608, 512);
    cmdMap_ = makeButton(this, QStringLiteral("cmdMap"), QStringLiteral("Web地図"), 608, 544);
    cmdSave_ = makeButton(this, QStringLiteral("cmdSave"), QStringLiteral("保存して終了"), 696, 544);
    // The message log, in the free place above 「乗りつぶし」; where the other player
    // stands, under the turn's train.
    cmdLog_ = makeButton(this, QStringLiteral("cmdLog"), QStringLiteral("メッセージ"), 696, 480);
    connect(cmdLog_, &QPushButton::clicked, this, &FrmMain::cmdLog_Click);
    lblOther_ = makeLabel(this, QStringLiteral("lblOther"), {200, 550, 310, 22}, 9, true);
    connect(cmdSusumu_, &QPushButton::clicked, this, &FrmMain::cmdSusumu_Click);
    connect(cmdWork_, &QPushButton::clicked, this, &FrmMain::cmdWork_Click);
    connect(cmdMokutekiti_, &QPushButton::clicked, this, &FrmMain::cmdMokutekiti_Click);
    connect(cmdCourse_, &QPushButton::clicked, this, &FrmMain::cmdCourse_Click);
    connect(cmdPoint_, &QPushButton::clicked, this, &FrmMain::cmdPoint_Click);
    connect(cmdMap2_, &QPushButton::clicked, this, &FrmMain::cmdMap2_Click);
    connect(cmdMap_, &QPushButton::clicked, this, &FrmMain::cmdMap_Click);
    connect(cmdSave_, &QPushButton::clicked, this, &FrmMain::cmdSave_Click);
    addBoardShortcuts(this);  // keys for the buttons and the train kinds
    // ↓ and ↑ anywhere on the board move the strip's focus frame over what can be picked.
    addStripKeys(this, strip_);
    // The conquest record 「乗りつぶし記録」, in the free place above "保存して終了".
    auto* cmdKiroku = makeButton(this, QStringLiteral("cmdKiroku"), QStringLiteral("乗りつぶし"), 696, 512);
    cmdKiroku->setToolTip(QStringLiteral("乗りつぶし記録"));
    connect(cmdKiroku, &QPushButton::clicked, this, [this] { FrmKiroku::showFromBoard(g_.s, this); });

    tmrMain_ = new QTimer(this);
    tmrMain_->setObjectName(QStringLiteral("tmrMain"));
    tmrMain_->setInterval(scaledMs(1000));
    connect(tmrMain_, &QTimer::timeout, this, &FrmMain::tmrMain_Timer);
    tmrMain_->start();

    // The computer's pauses between the steps of its turn run on this timer, with the
    // board live; nothing waits inside the game.
    seatTimer_ = new QTimer(this);
    seatTimer_->setObjectName(QStringLiteral("tmrSeat"));
    seatTimer_->setSingleShot(true);
    connect(seatTimer_, &QTimer::timeout, this, &FrmMain::playSeatTurns);

    picE_ = std::make_unique<BoardPicture>(this);
}

FrmMain::~FrmMain() {
    if (course_) delete course_.data();
}

template <typename F>
void FrmMain::run(F&& handler) {
    ++depth_;
    try {
        handler();
    } catch (const GameError& e) {
        QMessageBox::warning(this, QStringLiteral("キシャリン"), qs(e.what()));
    }
    --depth_;
    refresh();
}

template <typename F>
void FrmMain::hover(F&& handler) {
    try {
        handler();
    } catch (const GameError&) {
        // A highlight that cannot be drawn is not worth a message on every mouse move.
    }
    strip_->update();
}

void FrmMain::open() {
    run([&] { showBoard(g_); });
    playSeatTurns();
}

void FrmMain::send(const Command& c) {
    // The board speaks for the player to move, and only when that player sits here.
    if (!g_.seat(c.player).atBoard()) return;
    run([&] { apply(g_, c); });
    // A computer to move plays once this click has been answered, not inside it.
    QTimer::singleShot(0, this, &FrmMain::playSeatTurns);
}

void FrmMain::playSeatTurns() {
    // A handler still running schedules the loop again; a seat in its pause goes on when
    // the pause is over.
    if (depth_ > 0 || seatTimer_->isActive()) return;
    SeatStep step;
    run([&] { step = playSeatStep(g_); });
    if (!step.played) return;
    const TurnStep& t = step.step;
    seatTimer_->start(t.more && t.pause > 0 ? scaledMs(static_cast<int>(std::lround(t.pause * 1000))) : 0);
}

void FrmMain::refresh() {
    syncing_ = true;
    const LineDisplayModel& line = g_.line;
    setBack(picScreen_, line.background);
    strip_->setGeometry(0, -std::max(0, line.scrollValue), line.stripWidth, std::max(line.stripHeight, 1));
    strip_->setVisible(line.visible);
    strip_->update();
    scTate_->setRange(line.scrollMin, std::max(line.scrollMin, line.scrollMax));
    scTate_->setValue(line.scrollValue);
    scTate_->setEnabled(line.scrollMax > line.scrollMin);
    strip_->setTargets(pickableTargets(g_), g_.s.playerEki[g_.s.curPlayer]);

    const BoardModel m = boardModel(g_);
    lblTrainName_->setText(qs(m.lblTrainName));
    lblJikoku_->setText(qs(m.lblJikoku));
    lblMoney_->setText(qs(m.lblMoney));
    lblManName_->setText(qs(m.lblManName));
    lblManName_->setToolTip(qs(m.manNameTip));
    setBack(lblManName_, m.manNameBack);
    setFore(lblManName_, m.manNameColor);
    lblSusumu_->setText(qs(m.lblSusumu));
    for (int k = 1; k <= 5; ++k) {
        const KindButton& b = m.optKind[k];
        optKind_[k]->setText(qs(b.caption));
        setFore(optKind_[k], b.color);
        optKind_[k]->setVisible(b.visible);
        optKind_[k]->setEnabled(b.enabled);
        optKind_[k]->setChecked(b.value);
    }
    cmdSusumu_->setVisible(m.cmdSusumuVisible);
    cmdWork_->setVisible(m.cmdWorkVisible);
    cmdSave_->setVisible(m.cmdSaveVisible);
    const int other = otherPlayerOf(g_);
    lblOther_->setText(qs(otherPlayerText(g_.s, other)));
    setFore(lblOther_, other == 1 ? kColorPlayer2 : kColorPlayer1);
    if (log_) log_->follow({g_.s.playerName[0], g_.s.playerName[1]});
    setEnabled(m.boardEnabled || watching_);
    if (watching_) {
        for (QWidget* w : {static_cast<QWidget*>(frame1_), static_cast<QWidget*>(cmdWork_),
                           static_cast<QWidget*>(cmdPoint_), static_cast<QWidget*>(cmdSave_)})
            w->setEnabled(false);
        cmdSave_->setVisible(false);
    }
    syncing_ = false;
}

void FrmMain::watchOnly() {
    watching_ = true;
    tmrMain_->stop();
    const QList<QShortcut*> keys = findChildren<QShortcut*>();
    for (QShortcut* k : keys) k->setEnabled(false);
    refresh();
}

void FrmMain::cmdLog_Click() {
    FrmLog::showBeside(log_, g_.messages, {g_.s.playerName[0], g_.s.playerName[1]}, this);
}

void FrmMain::setBoardEnabled(bool enabled) {
    setEnabled(enabled);
}

void FrmMain::lblEki_Click(int i) {
    send(clickCommand(g_, {.station = i}));
}
void FrmMain::lblNorikae_Click(int k) {
    if (k < 1 || k > static_cast<int>(g_.line.transfers.size())) return;
    send(clickCommand(g_, {.transfer = k}));
}
void FrmMain::optKind_Click(int k) {
    if (syncing_) return;
    send(Command::chooseKind(g_.s.curPlayer, k));
}
void FrmMain::cmdSusumu_Click() {
    send(Command::roll(g_.s.curPlayer));
}
void FrmMain::cmdWork_Click() {
    send(Command::work(g_.s.curPlayer));
}
void FrmMain::cmdPoint_Click() {
    run([&] { ::kisharin::cmdPoint_Click(g_); });
}
void FrmMain::tmrMain_Timer() {
    apply(g_, Command::clockTick(g_.s.curPlayer));
    lblJikoku_->setText(qs(lblJikokuText(g_.s)));
}

void FrmMain::showDisaster(int kind) {
    picE_->slide(kind, picScreen_->y());
}

void FrmMain::showEventPicture(int picture) {
    picE_->show(picture, picScreen_->width(), picScreen_->y());
}

void FrmMain::tmrNature_Timer() {
    picE_->step();
}

void FrmMain::shake(int twips) {
    const int px = static_cast<int>(std::lround(twips * logicalDpiX() / 1440.0));
    move(x() + px, y());
}

void FrmMain::cmdMokutekiti_Click() {
    FrmMokutekiti list(g_.s, this);
    list.exec();
}

void FrmMain::cmdCourse_Click() {
    if (course_) course_->close();  // WA_DeleteOnClose
    course_ = new FrmCourse(g_.s, this);
    course_->setWindowFlag(Qt::Window);
    course_->move(geometry().right() + 8, geometry().top());
    course_->show();
}

void FrmMain::cmdMap_Click() {
    const QString address = qs(g_.s.webMapUrl);
    auto failed = [this, address] {
        QMessageBox::information(
            this, QStringLiteral("Web地図"),
            QStringLiteral("ブラウザを起動できませんでした。\nWeb地図のURL：") + address);
    };
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid() || address.isEmpty())
        failed();
    else
        openInBrowser(url, this, failed);  // tells the player when no browser opens
}

void FrmMain::cmdMap2_Click() {
    FrmMap::showViewing(g_.s, cmdMap2_, this);
}

void FrmMain::cmdSave_Click() {
    // The board's own player saves (at one computer, the player to move; the host saves
    // while its guest is to move too).
    const int me = !g_.seat(g_.s.curPlayer).atBoard() ? 1 - g_.s.curPlayer : g_.s.curPlayer;
    // A save that cannot be made says why, never nothing.
    const std::string why = refusal(g_, Command::save(me, 1));
    if (!why.empty()) {
        QMessageBox::warning(this, QStringLiteral("保存して終了"), qs(why));
        return;
    }
    bool turnStart = false;
    FrmSaveData picker(g_.s, dir_, this, [this, me, &turnStart](int n) {
        const Verdict v = apply(g_, Command::save(me, n));
        turnStart = v.savedTurnStart;
        return v.reason;
    });
    picker.exec();
    if (!picker.saveDone()) return;
    QMessageBox::information(this, QStringLiteral("お疲れ様でした"),
                             (turnStart ? qs(kMsgSavedTurnStart) : QStringLiteral("保存しました。")) +
                                 QStringLiteral("ゲームを終了します。"));
    savedToEnd_ = true;
    endProgram();
}

QRect FrmMain::stationRect(int i) const {
    if (i < 1 || i > g_.line.stationCount()) return {};
    const QRect r = toQRect(g_.line.station(i).label);
    return QRect(strip_->mapTo(this, r.topLeft()), r.size());
}

QRect FrmMain::transferRect(int k) const {
    if (k < 1 || k > static_cast<int>(g_.line.transfers.size())) return {};
    const QRect r = toQRect(g_.line.transfers[static_cast<size_t>(k - 1)].rect);
    return QRect(strip_->mapTo(this, r.topLeft()), r.size());
}

void FrmMain::closeEvent(QCloseEvent* e) {
    // Closing the board ends the game at once, without saving (the histories are
    // already on disk).
    e->accept();
    endProgram();
}

void FrmMain::wheelEvent(QWheelEvent* e) {
    const int delta = e->angleDelta().y();
    if (delta == 0) return;
    run([&] { onMouseWheel(g_.line, delta); });
    e->accept();
}

bool FrmMain::eventFilter(QObject* watched, QEvent* e) {
    if (watched == scTate_ && e->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(e));
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace kisharin
