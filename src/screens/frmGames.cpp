#include "screens/frmGames.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/data_home.h"
#include "platform/text_file.h"
#include "screens/frmReplay.h"
#include "screens/look.h"
#include "screens/placement.h"
#include "state/error.h"

namespace kisharin {

namespace {

const char* const kOpponentCaptions[] = {"すべて", "人", "よわい", "ふつう", "つよい", "ネット"};
const char* const kOpponentKinds[] = {"", "man", "よわい", "ふつう", "つよい", "net"};

QString yen(long long v) {
    return QLocale(QLocale::Japanese).toString(v) + QStringLiteral("円");
}

QString both(long long a, long long b, const QString& unit = {}) {
    return QString::number(a) + unit + QStringLiteral(" ／ ") + QString::number(b) + unit;
}

QComboBox* filterBox(QWidget* parent, const QString& name, const QStringList& items) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setFont(uiFont(10));
    c->addItems(items);
    return c;
}

}  // namespace

FrmGames::FrmGames(std::string gameDataDir, QWidget* parent, OpenStory openStory)
    : QDialog(parent), dir_(std::move(gameDataDir)), openStory_(std::move(openStory)) {
    setObjectName(QStringLiteral("frmGames"));
    setWindowTitle(QStringLiteral("これまでの対戦"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setBack(this, rgb(236, 246, 255));
    auto* root = new QVBoxLayout(this);

    // The filters, each with its label (Alt and the letter moves to it).
    auto* filters = new QHBoxLayout;
    auto addFilter = [&](const QString& caption, QComboBox* box) {
        auto* l = new QLabel(caption, this);
        l->setFont(uiFont(10, true));
        l->setBuddy(box);
        filters->addWidget(l);
        filters->addWidget(box);
        filters->addSpacing(10);
        connect(box, &QComboBox::currentIndexChanged, this, &FrmGames::refill);
    };
    QStringList areas{QStringLiteral("すべて")};
    for (int a = 0; a <= 8; ++a) areas << qs(areaCaption(a));
    cboArea_ = filterBox(this, QStringLiteral("cboArea"), areas);
    cboMode_ = filterBox(this, QStringLiteral("cboMode"),
                         {QStringLiteral("すべて"), QStringLiteral("短縮"), QStringLiteral("通常")});
    QStringList opponents;
    for (const char* o : kOpponentCaptions) opponents << qs(o);
    cboOpponent_ = filterBox(this, QStringLiteral("cboOpponent"), opponents);
    cboEnd_ =
        filterBox(this, QStringLiteral("cboEnd"),
                  {QStringLiteral("すべて"), QStringLiteral("終了した対戦"), QStringLiteral("中断した対戦")});
    addFilter(QStringLiteral("地域(&A)"), cboArea_);
    addFilter(QStringLiteral("モード(&M)"), cboMode_);
    addFilter(QStringLiteral("相手(&O)"), cboOpponent_);
    addFilter(QStringLiteral("結果(&E)"), cboEnd_);
    filters->addStretch();
    root->addLayout(filters);

    const QStringList headers{QStringLiteral("日時"),     QStringLiteral("地域"),    QStringLiteral("モード"),
                              QStringLiteral("Player1"),  QStringLiteral("Player2"), QStringLiteral("手番"),
                              QStringLiteral("ポイント"), QStringLiteral("所持金"),  QStringLiteral("到達数"),
                              QStringLiteral("リード"),   QStringLiteral("結果"),    QStringLiteral("記録")};
    table_ = new QTableWidget(0, static_cast<int>(headers.size()), this);
    table_->setObjectName(QStringLiteral("tblGames"));
    table_->setFont(uiFont(10));
    table_->setHorizontalHeaderLabels(headers);
    table_->horizontalHeader()->setFont(uiFont(10, true));
    table_->verticalHeader()->setVisible(false);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setTabKeyNavigation(false);  // Tab leaves the table for the buttons
    table_->setAlternatingRowColors(true);
    table_->setMinimumSize(940, 320);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &FrmGames::selectionChanged);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { cmdStory_Click(); });
    root->addWidget(table_, 1);

    lblCount_ = new QLabel(this);
    lblCount_->setObjectName(QStringLiteral("lblCount"));
    lblCount_->setFont(uiFont(10));
    root->addWidget(lblCount_);
    lblWins_ = new QLabel(this);
    lblWins_->setObjectName(QStringLiteral("lblWins"));
    lblWins_->setFont(uiFont(10, true));
    setFore(lblWins_, rgb(0, 80, 200));
    root->addWidget(lblWins_);

    auto* buttons = new QHBoxLayout;
    auto makeButton = [this](const QString& name, const QString& caption, const QString& hint) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setFont(uiFont(10));
        b->setMinimumSize(130, 30);
        b->setAutoDefault(false);
        b->setToolTip(hint);
        return b;
    };
    cmdStory_ = makeButton(QStringLiteral("cmdStory"), QStringLiteral("対戦の記録(&S)"),
                           QStringLiteral("選んだ対戦の流れを見ます（キー：Alt+S、Enter）"));
    cmdSaveRecord_ =
        makeButton(QStringLiteral("cmdSaveRecord"), QStringLiteral("記録をファイルに保存(&W)"),
                   QStringLiteral("選んだ対戦の記録をファイルに保存します（キー：Alt+W、Ctrl+S）"));
    auto* close = makeButton(QStringLiteral("cmdClose"), QStringLiteral("閉じる(&C)"),
                             QStringLiteral("キー：Alt+C、Esc"));
    buttons->addWidget(cmdStory_);
    // 「もう一度見る」: the selected game played again on the board.
    cmdReplay_ = makeButton(QStringLiteral("cmdReplay"), QStringLiteral("もう一度見る(&R)"),
                            QStringLiteral("選んだ対戦を盤の上でもう一度見ます（キー：Alt+R、Ctrl+R）"));
    buttons->addWidget(cmdReplay_);
    connect(cmdReplay_, &QPushButton::clicked, this, [this] {
        const GameEntry* e = selected();
        if (e && cmdReplay_->isEnabled())
            FrmReplay::openRecord(keptRecordPath(dir_, *e), shippedDataDir(), -1, this);
    });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this), &QShortcut::activated, cmdReplay_,
            &QPushButton::click);
    buttons->addWidget(cmdSaveRecord_);
    // Any record file (a game copied from another computer): its story.
    auto* open = makeButton(
        QStringLiteral("cmdOpenRecord"), QStringLiteral("記録を開く(&F)"),
        QStringLiteral("記録のファイル（*.jsonl）を選んで、その対戦の流れを見ます（キー：Alt+F、Ctrl+O）"));
    open->setEnabled(static_cast<bool>(openStory_));
    buttons->addWidget(open);
    connect(open, &QPushButton::clicked, this, &FrmGames::cmdOpenRecord_Click);
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, open, &QPushButton::click);
    buttons->addStretch();
    buttons->addWidget(close);
    root->addLayout(buttons);
    connect(cmdStory_, &QPushButton::clicked, this, &FrmGames::cmdStory_Click);
    connect(cmdSaveRecord_, &QPushButton::clicked, this, &FrmGames::cmdSaveRecord_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    // Enter on the table opens the story, Ctrl+S saves the record.
    table_->installEventFilter(this);
    auto* save = new QShortcut(QKeySequence::Save, this);
    connect(save, &QShortcut::activated, cmdSaveRecord_, &QPushButton::click);

    const GameListRead list = readGameList(dir_);
    all_.assign(list.entries.rbegin(), list.entries.rend());  // newest first
    notices_ = list.notices;
    refill();
    table_->setFocus();
}

void FrmGames::refill() {
    GameFilter f;
    f.area = cboArea_->currentIndex() - 1;
    f.shortMode = cboMode_->currentIndex() == 0 ? -1 : cboMode_->currentIndex() == 1 ? 1 : 0;
    f.opponent = kOpponentKinds[std::max(0, cboOpponent_->currentIndex())];
    f.finished = cboEnd_->currentIndex() == 0 ? -1 : cboEnd_->currentIndex() == 1 ? 1 : 0;
    shown_.clear();
    for (const GameEntry& e : all_)
        if (passes(f, e)) shown_.push_back(e);

    table_->setRowCount(static_cast<int>(shown_.size()));
    for (int r = 0; r < static_cast<int>(shown_.size()); ++r) {
        const GameEntry& e = shown_[static_cast<std::size_t>(r)];
        const QString lead =
            e.leader() < 0 ? QStringLiteral("同点") : qs(e.names[static_cast<std::size_t>(e.leader())]);
        const QStringList cells{
            qs(e.when),
            qs(areaCaption(e.area)),
            e.shortMode ? QStringLiteral("短縮") : QStringLiteral("通常"),
            qs(e.names[0]) + QStringLiteral("（") + qs(seatCaption(e, 0)) + QStringLiteral("）"),
            qs(e.names[1]) + QStringLiteral("（") + qs(seatCaption(e, 1)) + QStringLiteral("）"),
            QString::number(e.turns),
            both(e.points[0], e.points[1]),
            yen(e.money[0]) + QStringLiteral(" ／ ") + yen(e.money[1]),
            both(e.arrived[0], e.arrived[1]),
            lead,
            qs(gameEndCaption(e.end)),
            e.joined() ? QStringLiteral("記録はホストにあります")
            : !e.record.empty() && fileExists(keptRecordPath(dir_, e)) ? QStringLiteral("あり")
                                                                       : QStringLiteral("記録なし")};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c >= 5 && c <= 8) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (c == 10 && !e.finished()) item->setForeground(QColor(160, 0, 0));
            if (c == 11 && !e.joined() && cells[c] != QStringLiteral("あり")) item->setForeground(Qt::gray);
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
    // Every column in view, as far as the screen allows.
    const int wide = table_->horizontalHeader()->length() + table_->verticalScrollBar()->sizeHint().width() +
                     2 * table_->frameWidth();
    table_->setMinimumWidth(std::max(940, std::min(wide, 1400)));
    if (!shown_.empty()) table_->selectRow(0);
    lblCount_->setText(all_.empty()
                           ? QStringLiteral("まだ対戦がありません。")
                           : QStringLiteral("%1 件中 %2 件を表示").arg(all_.size()).arg(shown_.size()));

    // The share against each strength counts every game listed, whatever the filters.
    const std::array<WinShare, 3> wins = winsAgainstComputer(all_);
    QString text = QStringLiteral("コンピュータに勝った割合（終了した対戦）");
    const char* names[] = {"よわい", "ふつう", "つよい"};
    for (std::size_t i = 0; i < 3; ++i) {
        text += QStringLiteral("　") + qs(names[i]) + QStringLiteral("：");
        if (wins[i].games == 0)
            text += QStringLiteral("対戦なし");
        else
            text += QStringLiteral("%1勝／%2戦（%3％）")
                        .arg(wins[i].won)
                        .arg(wins[i].games)
                        .arg(qRound(100.0 * wins[i].won / wins[i].games));
    }
    lblWins_->setText(text);
    selectionChanged();
}

const GameEntry* FrmGames::selected() const {
    const QList<QTableWidgetSelectionRange> ranges = table_->selectedRanges();
    if (ranges.isEmpty()) return nullptr;
    const int r = ranges.front().topRow();
    return r >= 0 && r < static_cast<int>(shown_.size()) ? &shown_[static_cast<std::size_t>(r)] : nullptr;
}

void FrmGames::selectionChanged() {
    const GameEntry* e = selected();
    const bool kept = e && !e->record.empty() && fileExists(keptRecordPath(dir_, *e));
    cmdStory_->setEnabled(kept && static_cast<bool>(openStory_));
    cmdSaveRecord_->setEnabled(kept);
    if (cmdReplay_) cmdReplay_->setEnabled(kept);  // selections made while the buttons are built
}

void FrmGames::cmdStory_Click() {
    const GameEntry* e = selected();
    if (!e || !cmdStory_->isEnabled()) return;
    openStory_(keptRecordPath(dir_, *e));
}

void FrmGames::cmdSaveRecord_Click() {
    const GameEntry* e = selected();
    if (!e || !cmdSaveRecord_->isEnabled()) return;
    const QString suggested = QDir::home().filePath(QStringLiteral("キシャリン対戦%1.jsonl").arg(e->number));
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("対戦の記録を保存"), suggested,
                                                      QStringLiteral("対戦の記録 (*.jsonl)"));
    if (!path.isEmpty()) saveRecordTo(path);
}

void FrmGames::cmdOpenRecord_Click() {
    if (!openStory_) return;
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("対戦の記録を開く"), QDir::homePath(), QStringLiteral("対戦の記録 (*.jsonl)"));
    if (!path.isEmpty()) openStory_(us(path));
}

bool FrmGames::saveRecordTo(const QString& path) {
    const GameEntry* e = selected();
    if (!e || e->record.empty()) return false;
    try {
        writeBytesAtomic(us(path), readFileBytes(keptRecordPath(dir_, *e)));
    } catch (const GameError& fault) {
        QMessageBox::warning(this, QStringLiteral("これまでの対戦"),
                             QStringLiteral("記録を保存できませんでした。\n") + qs(fault.what()));
        return false;
    }
    return true;
}

bool FrmGames::eventFilter(QObject* watched, QEvent* e) {
    if (watched == table_ && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdStory_->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void FrmGames::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (notices_.empty() || noticesShown_) return;
    noticesShown_ = true;
    // A notice beside the list, which stays usable.
    warnOnScreen(this, QStringLiteral("これまでの対戦"),
                 QStringLiteral("対戦の一覧の一部が読めませんでした。ほかの対戦はそのまま表示します。\n"),
                 notices_, QStringLiteral("msgGameListProblems"), Qt::NonModal);
}

}  // namespace kisharin
