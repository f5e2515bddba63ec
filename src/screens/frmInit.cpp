#include "screens/frmInit.h"
#include "state/area_caption.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "screens/browser.h"
#include "screens/frmGames.h"
#include "screens/frmKiroku.h"
#include "screens/frmSlots.h"
#include "screens/look.h"
#include "screens/placement.h"
#include "screens/timing.h"
#include "state/error.h"

namespace kisharin {

namespace {

// The line about the manual: a click opens Manual.htm in the browser, or says why not.
class ManualLink final : public QLabel {
  public:
    ManualLink(const QString& text, QWidget* parent) : QLabel(text, parent) {
        setCursor(Qt::PointingHandCursor);
        setToolTip(QStringLiteral("クリックするとマニュアルを開きます"));
    }

  protected:
    void mouseReleaseEvent(QMouseEvent*) override { openManual(window()); }
};

QRadioButton* option(QWidget* parent, const QString& name, int index, const QString& caption) {
    auto* b = new QRadioButton(caption, parent);
    b->setObjectName(name + "(" + QString::number(index) + ")");
    b->setFont(uiFont(10));
    return b;
}

QGroupBox* frame(QWidget* parent, const QString& name, const QString& caption) {
    auto* g = new QGroupBox(caption, parent);
    g->setObjectName(name);
    g->setFont(uiFont(10, true));
    return g;
}

// A pair of On/Off style options in a frame, in a button group of their own.
QGroupBox* pair(QWidget* parent, const QString& frameName, const QString& caption, const QString& optName,
                QRadioButton* (&opts)[2], const char* a, const char* b) {
    QGroupBox* g = frame(parent, frameName, caption);
    auto* row = new QHBoxLayout(g);
    auto* group = new QButtonGroup(g);
    opts[0] = option(g, optName, 0, qs(a));
    opts[1] = option(g, optName, 1, qs(b));
    for (QRadioButton* o : opts) {
        group->addButton(o);
        row->addWidget(o);
    }
    row->addStretch();
    return g;
}

}  // namespace

FrmInit::FrmInit(GameState& s, std::string gameDataDir, std::string shippedGameDataDir,
                 std::function<void()> onStart)
    : QWidget(nullptr),
      s_(s),
      dir_(std::move(gameDataDir)),
      shippedDir_(std::move(shippedGameDataDir)),
      onStart_(std::move(onStart)) {
    setObjectName(QStringLiteral("frmInit"));
    setWindowTitle(QStringLiteral("ゲーム設定"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setBack(this, rgb(236, 246, 255));
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(18, 12, 18, 14);
    root->setSpacing(8);

    auto* title = new QLabel(QStringLiteral("キシャリン！！"), this);
    title->setObjectName(QStringLiteral("Label4"));
    title->setFont(titleFont(30));
    setFore(title, rgb(0, 80, 200));
    title->setAlignment(Qt::AlignCenter);
    root->addWidget(title);
    auto* note = new ManualLink(
        QStringLiteral("※ぜひ一度、「Manual.htm」ファイルの一番下[ 最後に ]をお読みください。"), this);
    note->setObjectName(QStringLiteral("Label6"));
    note->setFont(uiFont(9));
    setFore(note, rgb(160, 0, 0));
    root->addWidget(note);

    // Players.
    QGroupBox* players = frame(this, QStringLiteral("Frame2"), QStringLiteral("Player"));
    auto* grid = new QGridLayout(players);
    auto* heading = new QLabel(QStringLiteral("名前（３文字まで）"), players);
    heading->setObjectName(QStringLiteral("Label3"));
    heading->setFont(uiFont(9));
    grid->addWidget(heading, 0, 1);
    auto* group = new QButtonGroup(players);
    for (int p = 0; p <= 1; ++p) {
        auto* rowLabel = new QLabel(p == 0 ? QStringLiteral("Player1") : QStringLiteral("Player2"), players);
        rowLabel->setObjectName(p == 0 ? QStringLiteral("Label1") : QStringLiteral("Label2"));
        rowLabel->setFont(uiFont(10, true));
        setFore(rowLabel, p == 0 ? rgb(0, 0, 255) : rgb(255, 0, 0));
        grid->addWidget(rowLabel, p + 1, 0);
        txtName_[p] = new QLineEdit(players);
        txtName_[p]->setObjectName("txtName(" + QString::number(p) + ")");
        txtName_[p]->setFont(uiFont(11));
        txtName_[p]->setFixedWidth(90);
        QLineEdit* box = txtName_[p];
        connect(box, &QLineEdit::textChanged, this, [box](const QString& t) {
            const QString accepted = qs(acceptedName(us(t)));
            if (accepted != t) box->setText(accepted);
        });
        grid->addWidget(box, p + 1, 1);
        optPlayer_[p] = option(players, QStringLiteral("optPlayer"), p, p == 0 ? "Man" : "Com");
        group->addButton(optPlayer_[p]);
    }
    auto* who = new QHBoxLayout;
    who->addWidget(optPlayer_[0]);
    who->addWidget(optPlayer_[1]);
    // The computer's strength, beside "Com" (only while the computer plays).
    cboStrength_ = new QComboBox(players);
    cboStrength_->setObjectName(QStringLiteral("cboStrength"));
    cboStrength_->setFont(uiFont(10));
    for (Strength st : {Strength::Weak, Strength::Normal, Strength::Strong})
        cboStrength_->addItem(qs(strengthCaption(st)), static_cast<int>(st));
    cboStrength_->setToolTip(QStringLiteral("コンピュータの強さ"));
    who->addWidget(cboStrength_);
    connect(optPlayer_[1], &QRadioButton::toggled, cboStrength_, &QWidget::setEnabled);
    grid->addLayout(who, 2, 2);
    grid->setColumnStretch(3, 1);
    root->addWidget(players);

    auto* modes = new QHBoxLayout;
    modes->addWidget(pair(this, QStringLiteral("Frame1"), QStringLiteral("短縮モード"),
                          QStringLiteral("optShort"), optShort_, "On", "Off"));
    modes->addWidget(
        pair(this, QStringLiteral("Frame3"), QStringLiteral("音声モード（※音声合成機能があるパソコン）"),
             QStringLiteral("optVoice"), optVoice_, "On", "Off"),
        1);
    root->addLayout(modes);

    QGroupBox* areas = frame(this, QStringLiteral("Frame5"), QStringLiteral("プレイ地域選択"));
    auto* areaGrid = new QGridLayout(areas);
    auto* areaGroup = new QButtonGroup(areas);
    for (int i = 0; i <= 8; ++i) {
        optArea_[i] = option(areas, QStringLiteral("optArea"), i, qs(areaCaption(i)));
        areaGroup->addButton(optArea_[i]);
        if (i == 0)
            areaGrid->addWidget(optArea_[i], 0, 0, 1, 2);
        else
            areaGrid->addWidget(optArea_[i], 1 + (i - 1) / 4, (i - 1) % 4);
    }
    root->addWidget(areas);

    QGroupBox* url = frame(this, QStringLiteral("Frame4"), QStringLiteral("Web地図URL"));
    auto* urlRow = new QHBoxLayout(url);
    txtURL_ = new QLineEdit(url);
    txtURL_->setObjectName(QStringLiteral("txtURL"));
    txtURL_->setFont(uiFont(10));
    txtURL_->setMaxLength(kUrlLimit);  // holds every address URL.txt may keep, whole
    connect(txtURL_, &QLineEdit::textChanged, this, [this](const QString& t) {
        const QString accepted = qs(acceptedText(us(t)));
        if (accepted != t) txtURL_->setText(accepted);
    });
    urlRow->addWidget(txtURL_);
    root->addWidget(url);

    auto* buttons = new QHBoxLayout;
    auto makeButton = [this](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setFont(uiFont(11, true));
        b->setFixedSize(120, 34);
        return b;
    };
    cmdGo_ = makeButton(QStringLiteral("cmdGo"), QStringLiteral("はじめから"));
    cmdContinue_ = makeButton(QStringLiteral("cmdContinue"), QStringLiteral("つづきから"));
    cmdMemories_ = makeButton(QStringLiteral("cmdMemories"), QStringLiteral("思い出消去"));
    cmdMemories_->setFont(uiFont(10));
    buttons->addWidget(cmdGo_);
    buttons->addWidget(cmdContinue_);
    buttons->addStretch();
    buttons->addWidget(cmdMemories_);
    root->addLayout(buttons);
    // How to play and the conquest record under the others, which keep their places.
    auto* record = new QHBoxLayout;
    cmdManual_ = makeButton(QStringLiteral("cmdManual"), QStringLiteral("遊び方"));
    cmdManual_->setFont(uiFont(10));
    cmdManual_->setToolTip(QStringLiteral("遊び方をブラウザで開きます（キー：F1）"));
    connect(cmdManual_, &QPushButton::clicked, this, [this] { openManual(this); });
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, cmdManual_, &QPushButton::click);
    cmdKiroku_ = makeButton(QStringLiteral("cmdKiroku"), QStringLiteral("乗りつぶし記録"));
    cmdKiroku_->setFont(uiFont(10));
    // The list of games between them, where the row had room.
    cmdGames_ = makeButton(QStringLiteral("cmdGames"), QStringLiteral("これまでの対戦"));
    cmdGames_->setFont(uiFont(10));
    cmdGames_->setToolTip(QStringLiteral("これまでに遊んだ対戦の一覧を開きます"));
    connect(cmdGames_, &QPushButton::clicked, this, &FrmInit::cmdGames_Click);
    record->addWidget(cmdManual_);
    record->addStretch();
    record->addWidget(cmdGames_);
    record->addStretch();
    record->addWidget(cmdKiroku_);
    root->addLayout(record);
    connect(cmdKiroku_, &QPushButton::clicked, this, &FrmInit::cmdKiroku_Click);

    // Two players at two computers.
    QGroupBox* net = frame(this, QStringLiteral("FrameNet"), QStringLiteral("ネット対戦"));
    auto* netRow = new QHBoxLayout(net);
    QPushButton* cmdHost = makeButton(QStringLiteral("cmdHost"), QStringLiteral("ホスト"));
    QPushButton* cmdJoin = makeButton(QStringLiteral("cmdJoin"), QStringLiteral("参加"));
    netRow->addWidget(cmdHost);
    netRow->addWidget(cmdJoin);
    netRow->addStretch();
    root->addWidget(net);
    connect(cmdHost, &QPushButton::clicked, this, [this] {
        if (!namesGiven(settings())) return;
        netRole_ = NetRole::Host;
        // A saved game may go on over the network too.
        if (cmdContinue_->isEnabled()) {
            QMessageBox ask(QMessageBox::Question, QStringLiteral("ホスト"),
                            QStringLiteral("新しいゲームを始めますか、保存したゲームのつづきをしますか？"),
                            QMessageBox::NoButton, this);
            ask.setObjectName(QStringLiteral("askHostGame"));
            QAbstractButton* fresh = ask.addButton(QStringLiteral("はじめから"), QMessageBox::AcceptRole);
            QAbstractButton* saved = ask.addButton(QStringLiteral("つづきから"), QMessageBox::AcceptRole);
            ask.addButton(QStringLiteral("やめる"), QMessageBox::RejectRole);
            ask.exec();
            if (ask.clickedButton() == saved) cmdContinue_Click();
            if (ask.clickedButton() == fresh) start(false);
            if (!starting_) netRole_ = NetRole::None;
            return;
        }
        start(false);
    });
    connect(cmdJoin, &QPushButton::clicked, this, [this] {
        if (onJoin) onJoin();
    });
    connect(cmdGo_, &QPushButton::clicked, this, &FrmInit::cmdGo_Click);
    // Enter presses the button that has the focus, else "はじめから", the window's default
    // (keyPressEvent): only a key no control took, so that Enter in the open strength list
    // chooses a strength there, as in any list.
    cmdGo_->setDefault(true);
    connect(cmdContinue_, &QPushButton::clicked, this, &FrmInit::cmdContinue_Click);
    connect(cmdMemories_, &QPushButton::clicked, this, &FrmInit::cmdMemories_Click);

    setFixedWidth(520);
    Form_Load();
}

void FrmInit::Form_Load() {
    s_.historyBase = dir_ + "履歴";
    const SettingsLoad loaded = readSettings(dir_, shippedDir_);
    problems_ = loaded.problems;
    fill(loaded.settings);
    const StrengthLoad strength = readStrength(dir_);
    if (!strength.problem.empty()) problems_.push_back(strength.problem);
    cboStrength_->setCurrentIndex(cboStrength_->findData(static_cast<int>(strength.strength)));
    cboStrength_->setEnabled(optPlayer_[1]->isChecked());
    cmdContinue_->setEnabled(checkSlots(s_, dir_));
}

void FrmInit::fill(const Settings& st) {
    txtName_[0]->setText(qs(st.name1));
    txtName_[1]->setText(qs(st.name2));
    optPlayer_[st.player == 1 ? 1 : 0]->setChecked(true);
    optShort_[st.shortOpt == 0 ? 0 : 1]->setChecked(true);
    optVoice_[st.voiceOpt == 0 ? 0 : 1]->setChecked(true);
    optArea_[st.area >= 0 && st.area <= 8 ? st.area : 0]->setChecked(true);
    txtURL_->setText(qs(st.url));
    txtURL_->setCursorPosition(0);
}

void FrmInit::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (problems_.empty() || problemsShown_) return;
    problemsShown_ = true;
    // Each line says what stands in for what could not be read. Opened at once, the box
    // would be centred over where the window stood before the window manager placed it.
    warnOnScreen(this, QStringLiteral("ゲーム設定"),
                 QStringLiteral("設定ファイルの一部が読めませんでした。\n"), problems_,
                 QStringLiteral("msgSettingsProblems"), Qt::ApplicationModal);
}

void FrmInit::keyPressEvent(QKeyEvent* e) {
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !cboStrength_->view()->isVisible()) {
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        (focused ? focused : cmdGo_)->click();
        return;
    }
    QWidget::keyPressEvent(e);
}

void FrmInit::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    // Closed by its window button: no game was started, so the program ends.
    if (!starting_) endProgram();
}

Settings FrmInit::settings() const {
    Settings st;
    st.name1 = us(txtName_[0]->text());
    st.name2 = us(txtName_[1]->text());
    st.player = optPlayer_[0]->isChecked() ? 0 : 1;
    st.shortOpt = optShort_[0]->isChecked() ? 0 : 1;
    st.voiceOpt = optVoice_[0]->isChecked() ? 0 : 1;
    st.area = 0;
    for (int i = 0; i <= 8; ++i)
        if (optArea_[i]->isChecked()) {
            st.area = i;
            break;
        }
    st.url = us(txtURL_->text());
    return st;
}

void FrmInit::データ保存() {
    try {
        writeSettings(dir_, settings());
        writeStrength(dir_, strength());
    } catch (const GameError& e) {
        QMessageBox::warning(
            this, QStringLiteral("ゲーム設定"),
            QStringLiteral("設定を保存できませんでした（ゲームは始められます）。\n") + qs(e.what()));
    }
}

Strength FrmInit::strength() const {
    const int v = cboStrength_->currentData().toInt();
    return v == static_cast<int>(Strength::Weak)     ? Strength::Weak
           : v == static_cast<int>(Strength::Strong) ? Strength::Strong
                                                     : Strength::Normal;
}

void FrmInit::start(bool resume) {
    startWithSettings(s_, settings(), resume);
    データ保存();
    starting_ = true;
    close();
    if (onStart_) onStart_();
}

void FrmInit::cmdGo_Click() {
    if (!namesGiven(settings())) return;
    start(false);
}

void FrmInit::cmdContinue_Click() {
    if (!namesGiven(settings())) return;
    const Settings st = settings();
    FrmLoadData picker(s_, dir_, this, {st.name1 + "さん", st.name2 + "さん"});
    picker.setWindowIcon(windowIcon());
    picker.exec();
    if (picker.loadedSlot() == 0) return;
    loadedSlot_ = picker.loadedSlot();
    start(true);
}

void FrmInit::cmdKiroku_Click() {
    const Settings st = settings();
    std::unique_ptr<FrmKiroku> w(
        FrmKiroku::create(s_.appDir, s_.historyBase, {st.name1 + "さん", st.name2 + "さん"}, nullptr, this));
    if (w) w->exec();
}

void FrmInit::cmdGames_Click() {
    FrmGames w(dir_, this, openStory);
    w.exec();
}

void FrmInit::cmdMemories_Click() {
    QMessageBox ask(QMessageBox::Question, QStringLiteral("消しちゃうの？"),
                    QStringLiteral("今まで巡った旅の足跡をすべて消去します。\nよろしいですか？"),
                    QMessageBox::Yes | QMessageBox::No, this);
    ask.setObjectName(QStringLiteral("askErase"));
    ask.setDefaultButton(QMessageBox::No);
    if (ask.exec() != QMessageBox::Yes) return;
    try {
        eraseMemories(s_);
    } catch (const GameError& e) {
        QMessageBox::warning(this, QStringLiteral("思い出消去"), qs(e.what()));
        return;
    }
    QMessageBox done(QMessageBox::Information, QStringLiteral("さびしいね"), QStringLiteral("消去しました。"),
                     QMessageBox::Ok, this);
    done.setObjectName(QStringLiteral("erased"));
    done.exec();
}

}  // namespace kisharin
