#include "screens/frmMessage.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "screens/look.h"
#include "screens/timing.h"
#include "turns/messages.h"

namespace kisharin {

FrmMessage::FrmMessage(const GameState& s, QWidget* parent) : QDialog(parent) {
    const MessageWindowModel m = messageWindowModel(s);
    setObjectName(QStringLiteral("frmMessage"));
    setWindowTitle(qs(m.caption));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setBack(this, m.background);
    lblMessage_ = new QLabel(qs(m.text), this);
    lblMessage_->setObjectName(QStringLiteral("lblMessage"));
    lblMessage_->setFont(uiFont(11, true));
    lblMessage_->setWordWrap(true);
    lblMessage_->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(lblMessage_);
    setFixedSize(460, 100);
    tmrMain_ = new QTimer(this);
    tmrMain_->setObjectName(QStringLiteral("tmrMain"));
    tmrMain_->setSingleShot(true);
    tmrMain_->setInterval(scaledMs(m.closeAfterMs));
    connect(tmrMain_, &QTimer::timeout, this, &FrmMessage::closeTick);
    tmrMain_->start();
}

QString FrmMessage::text() const {
    return lblMessage_->text();
}
QColor FrmMessage::background() const {
    return palette().color(QPalette::Window);
}

void FrmMessage::closeTick() {
    accept();
}

}  // namespace kisharin
