#include "screens/frmHost.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "screens/look.h"
#include "session/net_game.h"

namespace kisharin {

FrmHost::FrmHost(NetHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("frmHost"));
    setWindowTitle(QStringLiteral("ホスト"));
    auto* root = new QVBoxLayout(this);
    auto* lead = new QLabel(QStringLiteral("相手のコンピュータの「参加」で、次のどれかのアドレス、\nポートと"
                                           "参加コードを入れてもらってください。"),
                            this);
    lead->setFont(uiFont(10));
    root->addWidget(lead);
    lblDetails_ = new QLabel(this);
    lblDetails_->setObjectName(QStringLiteral("lblDetails"));
    lblDetails_->setFont(uiFont(12, true));
    lblDetails_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblDetails_->setWordWrap(true);
    root->addWidget(lblDetails_);
    lblWarning_ = new QLabel(this);
    lblWarning_->setObjectName(QStringLiteral("lblWarning"));
    lblWarning_->setFont(uiFont(10));
    lblWarning_->setStyleSheet(QStringLiteral("color: #c00000"));
    lblWarning_->setWordWrap(true);
    lblWarning_->hide();
    root->addWidget(lblWarning_);
    auto* wait = new QLabel(QStringLiteral("相手の参加を待っています…"), this);
    wait->setFont(uiFont(10));
    root->addWidget(wait);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("やめる"));
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    root->addWidget(box);
    connect(&host, &NetHost::guestJoined, this, &QDialog::accept);
    connect(&host, &NetHost::codeChanged, this, [this](const QString&, long wrong) {
        showDetails();
        lblWarning_->setText(
            QStringLiteral("参加コードをまちがえた接続がありました（%1回）。参加コードを新しく"
                           "しました。相手には新しいコードを伝えてください。")
                .arg(wrong));
        lblWarning_->show();
    });
    showDetails();
    setMinimumWidth(460);
}

void FrmHost::showDetails() {
    QString text = QStringLiteral("アドレス：");
    const QStringList addresses = NetHost::addresses();
    text += addresses.isEmpty() ? QStringLiteral("（見つかりません）") : addresses.join(QStringLiteral("、"));
    text += QStringLiteral("\nポート：%1\n参加コード：%2")
                .arg(host_.port())
                .arg(qs(net::spokenCode(host_.code())));
    lblDetails_->setText(text);
}

}  // namespace kisharin
