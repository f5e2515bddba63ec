#include "screens/frmSeiha.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QTimer>

#include "screens/frmEki.h"
#include "screens/look.h"
#include "screens/timing.h"

namespace kisharin {

namespace {
QLabel* popLabel(QWidget* parent, const char* name, const QString& text, double pt, QColor colour) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    QFont f = titleFont(static_cast<int>(pt));
    f.setPixelSize(static_cast<int>(pt * 96.0 / 72.0));
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, colour);
    l->setPalette(pal);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    l->adjustSize();
    return l;
}
}  // namespace

FrmSeiha::FrmSeiha(const GameState& s, int line, Rng& rng, Clock& clock, QWidget* parent)
    : QDialog(parent), model_(seihaSetUp(s, line, rng, clock)) {
    setObjectName(QStringLiteral("frmSeiha"));
    setWindowTitle(QStringLiteral("制覇！！"));
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint);
    setFixedSize(seiha::kClientWidth, seiha::kClientHeight);
    setBack(this, rgb(255, 255, 255));

    // The pop face is wider than the one the window was laid out for: both texts take the
    // size at which the title fills its 827 px.
    const QString title = QString::fromLatin1(seiha::kTitle);
    const double wide = QFontMetrics(titleFont(static_cast<int>(seiha::kTitlePt))).horizontalAdvance(title);
    const double scale = wide > seiha::kTitleWidth ? seiha::kTitleWidth / wide : 1.0;
    lblTitle_ = popLabel(this, "lblTitle", title, seiha::kTitlePt * scale, qcolor(model_.titleColor));
    lblTitle_->move((seiha::kClientWidth - lblTitle_->width()) / 2, seiha::kTitleTop);
    lblRosen_ = popLabel(this, "lblRosen", qs(model_.caption), seiha::kCaptionPt * scale, Qt::black);
    lblRosen_->move(SeihaModel::captionLeft(lblRosen_->width()), seiha::kCaptionTop);

    train_ = toQImage(seihaTrain(s, line));

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer"));
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setInterval(scaledMs(seiha::kTickMs));
    connect(timer_, &QTimer::timeout, this, &FrmSeiha::Timer_Timer);
    timer_->start();
}

QColor FrmSeiha::titleColor() const {
    return lblTitle_->palette().color(QPalette::WindowText);
}
QString FrmSeiha::caption() const {
    return lblRosen_->text();
}
QRect FrmSeiha::captionGeometry() const {
    return lblRosen_->geometry();
}

void FrmSeiha::advance(int ticks) {
    for (int i = 0; i < ticks && !model_.closed; ++i) model_.tick();
    update();
}

void FrmSeiha::Timer_Timer() {
    if (model_.tick()) {
        timer_->stop();
        accept();
        return;
    }
    update();
}

void FrmSeiha::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // The train runs behind the texts, on the rail.
    if (train_.isNull())
        p.fillRect(model_.trainLeft, seiha::kTrainTop, seiha::kTrainWidth, 101, Qt::white);
    else
        p.drawImage(model_.trainLeft, seiha::kTrainTop, train_);
    p.fillRect(0, seiha::kRailTop, 993, 9, Qt::black);
}

void FrmSeiha::closeEvent(QCloseEvent* e) {
    if (model_.closed)
        e->accept();
    else
        e->ignore();
}

void FrmSeiha::reject() {
    if (model_.closed) QDialog::reject();
}

}  // namespace kisharin
