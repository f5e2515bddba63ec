#include "screens/frmDice.h"

#include <algorithm>

#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>

#include "screens/look.h"
#include "screens/timing.h"
#include "turns/messages.h"

namespace kisharin {

QPixmap dieFace(int face, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal m = size * 0.04;
    QRectF body(m, m, size - 2 * m, size - 2 * m);
    p.setPen(QPen(QColor(60, 60, 60), size * 0.03));
    p.setBrush(QColor(252, 252, 248));
    p.drawRoundedRect(body, size * 0.16, size * 0.16);
    // Pip positions on a 3 x 3 grid: column, row.
    static const int pips[7][6][2] = {
        {},
        {{1, 1}},
        {{0, 0}, {2, 2}},
        {{0, 0}, {1, 1}, {2, 2}},
        {{0, 0}, {2, 0}, {0, 2}, {2, 2}},
        {{0, 0}, {2, 0}, {1, 1}, {0, 2}, {2, 2}},
        {{0, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {2, 2}},
    };
    if (face < 1 || face > 6) return pm;
    const qreal cell = body.width() / 4;
    const qreal r = face == 1 ? size * 0.12 : size * 0.08;
    p.setPen(Qt::NoPen);
    p.setBrush(face == 1 ? QColor(210, 20, 30) : QColor(20, 20, 20));
    for (int k = 0; k < face; ++k) {
        const QPointF c(body.left() + cell * (1 + pips[face][k][0]),
                        body.top() + cell * (1 + pips[face][k][1]));
        p.drawEllipse(c, r, r);
    }
    return pm;
}

class DieView : public QWidget {
  public:
    explicit DieView(QWidget* parent) : QWidget(parent) { setFixedSize(112, 112); }
    void setFace(int f) {
        face_ = f;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawPixmap(0, 0, dieFace(face_, width()));
    }

  private:
    int face_ = 1;
};

FrmDice::FrmDice(const GameState& s, Rng& rng, QWidget* parent, int shownFace)
    : QDialog(parent), s_(s), rng_(rng), shownFace_(shownFace >= 1 && shownFace <= 6 ? shownFace : 0) {
    setObjectName(QStringLiteral("frmDice"));
    setWindowTitle(QStringLiteral("サイコロ"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setBack(this, messageBackground(s.curPlayer));
    imgDice_ = new DieView(this);
    imgDice_->setObjectName(QStringLiteral("imgDice"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(imgDice_, 0, Qt::AlignCenter);
    setFixedSize(180, 170);
    imgDice_->setFace(die_.face());
    start_.start();
    tmrMove_ = new QTimer(this);
    tmrMove_->setObjectName(QStringLiteral("tmrMove"));
    tmrMove_->setInterval(scaledMs(kDieTickMs));
    connect(tmrMove_, &QTimer::timeout, this, &FrmDice::tmrMove_Timer);
    tmrMove_->start();
}

void FrmDice::reject() {
    if (die_.stopped()) QDialog::reject();
}

void FrmDice::tmrMove_Timer() {
    if (die_.stopped()) return;
    // The window's time, brought back to the die's own milliseconds when the tests run
    // the windows faster.
    const int elapsed = static_cast<int>(start_.elapsed() * kDieRollMs / std::max(1, scaledMs(kDieRollMs)));
    const bool rolling = die_.tick(rng_, elapsed, s_.shortMode);
    imgDice_->setFace(rolling ? die_.face() : face());
    if (!rolling) {
        tmrMove_->stop();
        QTimer::singleShot(scaledMs(kDieShowMs), this, &QDialog::accept);
    }
}

}  // namespace kisharin
