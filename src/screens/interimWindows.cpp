#include "screens/interimWindows.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "screens/look.h"
#include "screens/timing.h"
#include "turns/messages.h"

namespace kisharin {

SelfClosingNote::SelfClosingNote(const QString& name, const QString& title, const QString& text, int ms,
                                 Long back, QWidget* parent)
    : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(title);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setBack(this, back);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    auto* l = new QLabel(text, this);
    l->setObjectName(QStringLiteral("lblText"));
    l->setFont(uiFont(12, true));
    l->setAlignment(Qt::AlignCenter);
    l->setWordWrap(true);
    layout->addWidget(l);
    setMinimumSize(380, 110);
    QTimer::singleShot(scaledMs(ms), this, &QDialog::accept);
}

FrmDisasterInterim::FrmDisasterInterim(const GameState& s, int kind, QWidget* parent)
    : SelfClosingNote(QStringLiteral("frmDisaster"), QStringLiteral("わー！！"),
                      QStringLiteral("（災害の場面 %1 はまだ絵がありません）").arg(kind), 1000,
                      messageBackground(s.curPlayer), parent) {}

FrmBetInterim::FrmBetInterim(const GameState& s, QWidget* parent)
    : SelfClosingNote(
          QStringLiteral("frmBet"), qs(s.raceName),
          qs("今日は" + s.raceName + "開催日！\n賭けの窓口はまだ準備中なので、今回は見送ります。"), 3000,
          messageBackground(s.curPlayer), parent) {}

}  // namespace kisharin
