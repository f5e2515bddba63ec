#include "screens/interimWindows.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "screens/look.h"
#include "screens/timing.h"
#include "state/regions.h"
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

FrmRideInterim::FrmRideInterim(const GameState& s, QWidget* parent)
    : SelfClosingNote(QStringLiteral("frmEki"), QStringLiteral("乗車中"),
                      qs(s.rideInfo.caption + "で出発！\n" +
                         s.ekiName(s.playerRosen[s.curPlayer], s.startEki[s.curPlayer]) + "　→　" +
                         s.ekiName(s.playerRosen[s.curPlayer], s.playerEki[s.curPlayer])),
                      1500, messageBackground(s.curPlayer), parent) {}

FrmConquestInterim::FrmConquestInterim(const GameState& s, int line, QWidget* parent)
    : SelfClosingNote(QStringLiteral("frmSeiha"), QStringLiteral("制覇"),
                      qs("「" + s.ekiName(line, 0) + "」制覇！"), 2000, rgb(255, 250, 200), parent) {}

FrmPrefInterim::FrmPrefInterim(const GameState& s, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmMap"));
    setWindowTitle(QStringLiteral("行きたい県を選んでください"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QVBoxLayout(this);
    auto* l = new QLabel(QStringLiteral("氏神様が連れて行ってくれる県："), this);
    l->setFont(uiFont(11, true));
    layout->addWidget(l);
    list_ = new QComboBox(this);
    list_->setObjectName(QStringLiteral("cboPref"));
    list_->setFont(uiFont(11));
    for (const std::string& p : allPrefectures(s)) list_->addItem(qs(p));
    layout->addWidget(list_);
    auto* ok = new QPushButton(QStringLiteral("決定"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setFont(uiFont(10));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

std::string FrmPrefInterim::picked() const {
    if (list_->count() == 0) return "東京都";
    return us(list_->currentText());
}

}  // namespace kisharin
