#include "screens/frmLog.h"

#include <QListWidget>
#include <QVBoxLayout>

#include "screens/look.h"
#include "turns/messages.h"

namespace kisharin {

FrmLog::FrmLog(const MessageLog& log, QWidget* parent) : QDialog(parent), log_(log) {
    setObjectName(QStringLiteral("frmLog"));
    setWindowTitle(QStringLiteral("メッセージ記録"));
    setWindowFlags((windowFlags() | Qt::Window) & ~Qt::WindowContextHelpButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lstLog"));
    list_->setFont(uiFont(10));
    list_->setWordWrap(true);
    layout->addWidget(list_);
    resize(sizeHint());
}

void FrmLog::showBeside(QPointer<FrmLog>& open, const MessageLog& log,
                        const std::array<std::string, 2>& names, QWidget* board) {
    if (!open) {
        open = new FrmLog(log, board);
        open->move(board->geometry().right() + 8, board->geometry().top());
    }
    open->follow(names);
    open->show();
    open->raise();
}

void FrmLog::follow(const std::array<std::string, 2>& names) {
    if (log_.added() == shown_) return;
    shown_ = log_.added();
    // Newest first; the whole list anew (it holds at most MessageLog::kKept lines).
    list_->clear();
    const auto& entries = log_.entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        auto* item = new QListWidgetItem(qs(loggedLine(*it, names)), list_);
        item->setBackground(qcolor(messageBackground(it->player)));
    }
}

}  // namespace kisharin
