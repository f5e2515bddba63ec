#include "screens/frmSlots.h"

#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "board/station_file.h"
#include "record/game_record.h"
#include "screens/look.h"
#include "setup/save_slot.h"
#include "setup/slot_summary.h"
#include "state/error.h"
#include "state/railway.h"

namespace kisharin {

namespace {
const char* const kCircled[4] = {"", "①", "②", "③"};

QPushButton* slotButton(QDialog* d, const QString& name, int n, const char* verb) {
    auto* b = new QPushButton(qs(std::string("データ") + kCircled[n] + verb), d);
    b->setObjectName(name + "(" + QString::number(n) + ")");
    b->setFont(uiFont(11));
    b->setFixedSize(200, 36);
    return b;
}

void frame(QDialog* d, const QString& name, const QString& caption) {
    d->setObjectName(name);
    d->setWindowTitle(caption);
    d->setWindowFlags(d->windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QGridLayout(d);
    layout->setContentsMargins(32, 20, 32, 20);
    layout->setHorizontalSpacing(16);
    layout->setVerticalSpacing(12);
}

// The railway whose names the summaries use: the game's, or, before a game has loaded
// it (the load picker of the setup window), the station file read for the purpose.
const RailwayData& namesOf(const GameState& s, RailwayData& read) {
    if (lineCount(s) > 0) return s;
    try {
        read = readStationFile(s.appDir + "GameData/駅.txt");
    } catch (const GameError&) {
        read = RailwayData{};  // the summaries then give the stations by number
    }
    return read;
}

// A slot's button with what the slot holds beside it. The slot does not keep the players'
// names: they are those its game began with, in the record kept beside the slot; a slot
// saved without a record shows `names`, the names the game would go on with.
void addSlot(QDialog* d, const std::string& dir, int n, QPushButton* b, const SlotSummary& m,
             const std::array<std::string, 2>& names) {
    auto* grid = static_cast<QGridLayout*>(d->layout());
    grid->addWidget(b, n - 1, 0, Qt::AlignTop);
    const std::array<std::string, 2> kept = slotRecordNames(dir, n);
    std::string shown[2];
    for (int p = 0; p <= 1; ++p) {
        const auto i = static_cast<std::size_t>(p);
        shown[p] = !kept[i].empty()    ? kept[i]
                   : !names[i].empty() ? names[i]
                                       : (p == 0 ? "Player1" : "Player2");
    }
    QStringList text;
    for (const std::string& line : m.lines(shown)) text << qs(line);
    auto* l = new QLabel(text.join(u'\n'), d);
    l->setObjectName("lblSlot(" + QString::number(n) + ")");
    l->setFont(uiFont(9));
    l->setWordWrap(true);
    l->setMinimumWidth(420);
    l->setTextInteractionFlags(Qt::NoTextInteraction);
    grid->addWidget(l, n - 1, 1);
}
}  // namespace

FrmSaveData::FrmSaveData(GameState& s, std::string gameDataDir, QWidget* parent,
                         std::function<std::string(int)> save)
    : QDialog(parent), s_(s), dir_(std::move(gameDataDir)), save_(std::move(save)) {
    frame(this, QStringLiteral("frmSaveData"), QStringLiteral("中断"));
    RailwayData read;
    const RailwayData& railway = namesOf(s_, read);
    for (int n = 1; n <= kSlotCount; ++n) {
        QPushButton* b = slotButton(this, QStringLiteral("cmdSave"), n, "に保存");
        connect(b, &QPushButton::clicked, this, [this, n] { cmdSave_Click(n); });
        addSlot(this, dir_, n, b, readSlotSummary(dir_, n, railway), {s_.playerName[0], s_.playerName[1]});
    }
}

void FrmSaveData::cmdSave_Click(int n) {
    std::string why;
    try {
        if (save_)
            why = save_(n);
        else
            writeSlot(dir_, n, s_);
    } catch (const GameError& e) {
        why = e.what();
    }
    if (!why.empty()) {
        QMessageBox::warning(this, QStringLiteral("中断"),
                             QStringLiteral("保存できませんでした。\n") + qs(why));
        return;
    }
    saved_ = true;
    accept();
}

FrmLoadData::FrmLoadData(GameState& s, std::string gameDataDir, QWidget* parent,
                         std::array<std::string, 2> names)
    : QDialog(parent), s_(s), dir_(std::move(gameDataDir)) {
    for (int p = 0; p <= 1; ++p)
        if (names[static_cast<std::size_t>(p)].empty()) names[static_cast<std::size_t>(p)] = s_.playerName[p];
    frame(this, QStringLiteral("frmLoadData"), QStringLiteral("再開"));
    RailwayData read;
    const RailwayData& railway = namesOf(s_, read);
    for (int n = 1; n <= kSlotCount; ++n) {
        QPushButton* b = slotButton(this, QStringLiteral("cmdLoad"), n, "を再開");
        b->setEnabled(s_.slotExists[n]);  // Form_Load
        connect(b, &QPushButton::clicked, this, [this, n] { cmdLoad_Click(n); });
        addSlot(this, dir_, n, b, readSlotSummary(dir_, n, railway), names);
        buttons_[n] = b;
    }
    // Back to the setup window without loading (as the close box does).
    cmdBack_ = new QPushButton(QStringLiteral("戻る"), this);
    cmdBack_->setObjectName(QStringLiteral("cmdBack"));
    cmdBack_->setFont(uiFont(11));
    cmdBack_->setFixedSize(120, 32);
    connect(cmdBack_, &QPushButton::clicked, this, &QDialog::reject);
    static_cast<QGridLayout*>(layout())->addWidget(cmdBack_, kSlotCount, 0, 1, 2, Qt::AlignRight);
}

void FrmLoadData::cmdLoad_Click(int n) {
    try {
        readSlot(dir_, n, s_);
    } catch (const GameError& e) {
        QMessageBox::warning(this, QStringLiteral("再開"),
                             QStringLiteral("このデータは読み込めません。\n") + qs(e.what()));
        return;
    }
    loaded_ = n;
    accept();
}

}  // namespace kisharin
