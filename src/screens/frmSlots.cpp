#include "screens/frmSlots.h"

#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "screens/look.h"
#include "setup/save_slot.h"
#include "state/error.h"

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
    auto* layout = new QVBoxLayout(d);
    layout->setContentsMargins(32, 20, 32, 20);
    layout->setSpacing(12);
}
}  // namespace

FrmSaveData::FrmSaveData(GameState& s, std::string gameDataDir, QWidget* parent)
    : QDialog(parent), s_(s), dir_(std::move(gameDataDir)) {
    frame(this, QStringLiteral("frmSaveData"), QStringLiteral("中断"));
    for (int n = 1; n <= kSlotCount; ++n) {
        QPushButton* b = slotButton(this, QStringLiteral("cmdSave"), n, "に保存");
        connect(b, &QPushButton::clicked, this, [this, n] { cmdSave_Click(n); });
        layout()->addWidget(b);
    }
}

void FrmSaveData::cmdSave_Click(int n) {
    try {
        writeSlot(dir_, n, s_);
    } catch (const GameError& e) {
        QMessageBox::warning(this, QStringLiteral("中断"),
                             QStringLiteral("保存できませんでした。\n") + qs(e.what()));
        return;
    }
    saved_ = true;
    accept();
}

FrmLoadData::FrmLoadData(GameState& s, std::string gameDataDir, QWidget* parent)
    : QDialog(parent), s_(s), dir_(std::move(gameDataDir)) {
    frame(this, QStringLiteral("frmLoadData"), QStringLiteral("再開"));
    for (int n = 1; n <= kSlotCount; ++n) {
        QPushButton* b = slotButton(this, QStringLiteral("cmdLoad"), n, "を再開");
        b->setEnabled(s_.slotExists[n]);  // Form_Load
        connect(b, &QPushButton::clicked, this, [this, n] { cmdLoad_Click(n); });
        layout()->addWidget(b);
        buttons_[n] = b;
    }
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
