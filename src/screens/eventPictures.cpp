#include "screens/eventPictures.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTimer>
#include <cmath>

#include "screens/timing.h"
#include "turns/race.h"

namespace kisharin {

namespace {

constexpr double kPi = 3.14159265358979323846;

QPainterPath flame(double x, double base, double w, double h) {
    QPainterPath p;
    p.moveTo(x - w / 2, base);
    p.cubicTo(x - w / 2, base - h * 0.45, x - w * 0.15, base - h * 0.55, x, base - h);
    p.cubicTo(x + w * 0.1, base - h * 0.6, x + w / 2, base - h * 0.5, x + w / 2, base);
    p.closeSubpath();
    return p;
}

void drawFlame(QPainter& p, double x, double base, double w, double h) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 40, 20));
    p.drawPath(flame(x, base, w, h));
    p.setBrush(QColor(255, 140, 0));
    p.drawPath(flame(x, base, w * 0.7, h * 0.75));
    p.setBrush(QColor(255, 230, 80));
    p.drawPath(flame(x, base, w * 0.35, h * 0.45));
}

void frame(QPainter& p, int w, int h) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.drawRect(1, 1, w - 2, h - 2);
}

void tornado(QPainter& p, int w, int h) {
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(70, 78, 96));
    sky.setColorAt(1, QColor(150, 160, 170));
    p.fillRect(0, 0, w, h, sky);
    // The dark cloud it hangs from.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(45, 48, 60));
    for (int i = 0; i < 7; ++i) p.drawEllipse(QPointF(10 + i * 24, 10 + (i % 2) * 5), 24, 14);
    // Ground.
    p.setBrush(QColor(96, 128, 64));
    p.drawRect(0, h - 16, w, 16);
    // The funnel: rings narrowing towards the ground, swaying to one side.
    for (int i = 0; i < 15; ++i) {
        const double t = i / 14.0;
        const double cx = 84 + 14 * std::sin(t * 3.0);
        const double cy = 22 + t * (h - 44);
        const double rx = 44 * (1 - t) + 5;
        const int g = 140 + i * 5;
        p.setBrush(QColor(g, g, g + 6));
        p.setPen(QPen(QColor(90, 90, 100), 1));
        p.drawEllipse(QPointF(cx, cy), rx, 6 + 3 * (1 - t));
    }
    // Swirling dust at its foot and flying debris.
    p.setBrush(QColor(150, 120, 80, 200));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(96, h - 18), 22, 7);
    p.setBrush(QColor(110, 70, 40));
    const QPointF bits[] = {{30, 60}, {130, 48}, {140, 80}, {22, 88}, {120, 26}};
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.translate(bits[i]);
        p.rotate(i * 37.0);
        p.drawRect(-5, -2, 10, 4);
        p.restore();
    }
    // A roof tile torn off.
    p.setBrush(QColor(170, 40, 40));
    QPolygonF roof;
    roof << QPointF(40, 34) << QPointF(58, 28) << QPointF(60, 36) << QPointF(44, 42);
    p.drawPolygon(roof);
}

void fire(QPainter& p, int w, int h) {
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(40, 20, 60));
    sky.setColorAt(1, QColor(230, 110, 40));
    p.fillRect(0, 0, w, h, sky);
    // Smoke.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 70, 75, 200));
    for (int i = 0; i < 6; ++i) p.drawEllipse(QPointF(60 + i * 12, 28 - i * 3), 14 + i * 2, 11 + i);
    // The house.
    p.setBrush(QColor(60, 40, 30));
    p.drawRect(0, h - 12, w, 12);
    p.setBrush(QColor(196, 160, 110));
    p.drawRect(40, 64, 80, 46);
    p.setBrush(QColor(120, 50, 40));
    QPolygonF roof;
    roof << QPointF(30, 66) << QPointF(80, 36) << QPointF(130, 66);
    p.drawPolygon(roof);
    // Windows aglow, the door.
    p.setBrush(QColor(255, 200, 60));
    p.drawRect(50, 74, 18, 14);
    p.drawRect(92, 74, 18, 14);
    p.setBrush(QColor(90, 55, 35));
    p.drawRect(73, 86, 14, 24);
    // Flames out of the roof and the windows.
    drawFlame(p, 62, 58, 26, 40);
    drawFlame(p, 88, 52, 30, 50);
    drawFlame(p, 112, 62, 22, 34);
    drawFlame(p, 59, 76, 16, 22);
    drawFlame(p, 101, 76, 16, 22);
}

void tsunami(QPainter& p, int w, int h) {
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(150, 200, 235));
    sky.setColorAt(1, QColor(220, 238, 250));
    p.fillRect(0, 0, w, h, sky);
    // Little houses on the shore, about to be hit.
    p.setPen(QPen(QColor(60, 60, 60), 1));
    const int xs[] = {112, 134};
    for (int x : xs) {
        p.setBrush(QColor(240, 230, 200));
        p.drawRect(x, h - 34, 18, 16);
        p.setBrush(QColor(180, 50, 40));
        QPolygonF roof;
        roof << QPointF(x - 3, h - 34) << QPointF(x + 9, h - 44) << QPointF(x + 21, h - 34);
        p.drawPolygon(roof);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 190, 140));
    p.drawRect(0, h - 18, w, 18);
    // The wave: a tall body curling over to the right, with a white crest.
    QPainterPath wave;
    wave.moveTo(0, h);
    wave.lineTo(0, 40);
    wave.cubicTo(20, 8, 80, 0, 104, 26);
    wave.cubicTo(118, 42, 106, 60, 92, 52);
    wave.cubicTo(84, 46, 90, 36, 98, 40);
    wave.cubicTo(82, 30, 70, 58, 86, 80);
    wave.cubicTo(96, 96, 118, 104, 128, h);
    wave.closeSubpath();
    QLinearGradient water(0, 0, 0, h);
    water.setColorAt(0, QColor(30, 90, 170));
    water.setColorAt(1, QColor(10, 40, 110));
    p.setBrush(water);
    p.drawPath(wave);
    // Foam along the crest.
    p.setBrush(Qt::white);
    const QPointF foam[] = {{30, 14}, {46, 8}, {62, 6}, {78, 9}, {92, 16}, {102, 26}, {104, 38}, {98, 46}};
    for (const QPointF& f : foam) p.drawEllipse(f, 6, 5);
    p.setPen(QPen(QColor(200, 230, 255), 2));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) p.drawArc(QRectF(10 + i * 14, 50 + i * 14, 40, 20), 0, 180 * 16);
}

void warpHole(QPainter& p, int w, int h) {
    p.fillRect(0, 0, w, h, QColor(12, 6, 30));
    // Stars.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const QPointF stars[] = {{12, 14}, {150, 20}, {20, 100}, {140, 104},
                             {30, 56}, {132, 62}, {74, 8},   {90, 112}};
    for (const QPointF& s : stars) p.drawEllipse(s, 1.5, 1.5);
    const QPointF c(w / 2.0, h / 2.0);
    QRadialGradient glow(c, 58);
    glow.setColorAt(0, QColor(0, 0, 0));
    glow.setColorAt(0.25, QColor(60, 0, 110));
    glow.setColorAt(0.7, QColor(150, 60, 220, 180));
    glow.setColorAt(1, QColor(12, 6, 30, 0));
    p.setBrush(glow);
    p.drawEllipse(c, 70, 52);
    // Spiral arms pulled into the hole.
    for (int arm = 0; arm < 4; ++arm) {
        QPainterPath path;
        for (int i = 0; i <= 60; ++i) {
            const double t = i / 60.0;
            const double a = arm * kPi / 2 + t * 3.2 * kPi;
            const double r = 56 * (1 - t) + 3;
            const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a) * 0.72);
            if (i == 0)
                path.moveTo(pt);
            else
                path.lineTo(pt);
        }
        const QColor colours[] = {QColor(90, 220, 255), QColor(230, 120, 255), QColor(120, 255, 200),
                                  QColor(255, 200, 255)};
        p.setPen(QPen(colours[arm], 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(c, 9, 7);
}

void guardianGod(QPainter& p, int w, int h) {
    QRadialGradient back(QPointF(w / 2.0, 40), 110);
    back.setColorAt(0, QColor(255, 250, 210));
    back.setColorAt(1, QColor(250, 210, 120));
    p.fillRect(0, 0, w, h, back);
    // Halo.
    p.setPen(QPen(QColor(255, 200, 40), 4));
    p.setBrush(QColor(255, 240, 150));
    p.drawEllipse(QPointF(80, 36), 30, 30);
    // The cloud he rides.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const QPointF puffs[] = {{40, 108}, {60, 104}, {80, 110}, {100, 104}, {120, 108}, {80, 100}};
    for (const QPointF& c : puffs) p.drawEllipse(c, 18, 10);
    // Robe.
    QPainterPath robe;
    robe.moveTo(80, 54);
    robe.cubicTo(58, 60, 50, 84, 48, 104);
    robe.lineTo(112, 104);
    robe.cubicTo(110, 84, 102, 60, 80, 54);
    p.setBrush(QColor(245, 245, 250));
    p.setPen(QPen(QColor(150, 150, 170), 1));
    p.drawPath(robe);
    // Purple sash.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(130, 60, 160));
    p.drawRect(QRectF(58, 80, 44, 6));
    // Face.
    p.setBrush(QColor(250, 215, 180));
    p.setPen(QPen(QColor(170, 120, 90), 1));
    p.drawEllipse(QPointF(80, 40), 13, 15);
    // Bald head with white hair at the sides, long eyebrows, a long white beard.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(67, 40), 4, 7);
    p.drawEllipse(QPointF(93, 40), 4, 7);
    QPainterPath beard;
    beard.moveTo(68, 46);
    beard.cubicTo(70, 66, 76, 80, 80, 86);
    beard.cubicTo(84, 80, 90, 66, 92, 46);
    beard.cubicTo(86, 54, 74, 54, 68, 46);
    p.setPen(QPen(QColor(200, 200, 210), 1));
    p.drawPath(beard);
    p.setPen(QPen(QColor(60, 40, 30), 2));
    p.drawArc(QRectF(71, 36, 7, 4), 0, 180 * 16);  // smiling eyes
    p.drawArc(QRectF(82, 36, 7, 4), 0, 180 * 16);
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(70, 33), QPointF(77, 32));
    p.drawLine(QPointF(83, 32), QPointF(90, 33));
    // A staff with a bent top.
    p.setPen(QPen(QColor(120, 80, 40), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(122, 40), QPointF(118, 104));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(114, 28, 16, 16), 0, 200 * 16);
    // Sleeve holding it.
    p.setPen(QPen(QColor(150, 150, 170), 1));
    p.setBrush(QColor(245, 245, 250));
    p.drawEllipse(QPointF(112, 72), 9, 6);
    // The word on the robe: 神.
    p.setPen(QColor(180, 30, 30));
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPixelSize(16);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(68, 86, 24, 18), Qt::AlignCenter, QStringLiteral("神"));
}

void horse(QPainter& p) {
    // Tail, body, neck and head towards the left.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 35, 20));
    QPainterPath tail;
    tail.moveTo(36, 13);
    tail.cubicTo(43, 12, 44, 20, 41, 24);
    tail.cubicTo(40, 19, 38, 16, 35, 16);
    p.drawPath(tail);
    p.setBrush(QColor(140, 80, 40));
    p.drawEllipse(QRectF(13, 11, 25, 12));
    QPolygonF neck;
    neck << QPointF(12, 6) << QPointF(18, 4) << QPointF(21, 16) << QPointF(15, 17);
    p.drawPolygon(neck);
    p.drawEllipse(QRectF(4, 3, 13, 7));
    p.setBrush(QColor(60, 35, 20));
    p.drawRect(QRectF(14, 3, 5, 3));  // mane
    // Legs in a gallop.
    p.setPen(QPen(QColor(110, 60, 30), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17, 21), QPointF(9, 28));
    p.drawLine(QPointF(20, 21), QPointF(16, 31));
    p.drawLine(QPointF(32, 21), QPointF(38, 30));
    p.drawLine(QPointF(34, 20), QPointF(30, 31));
    // Jockey in bright silks, crouched forward.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 30, 60));
    p.drawEllipse(QRectF(20, 4, 11, 8));
    p.setBrush(QColor(250, 220, 40));
    p.drawEllipse(QRectF(18, 0, 7, 6));  // cap
    p.setBrush(Qt::white);
    p.drawRect(QRectF(25, 10, 6, 3));
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(7, 5), 1, 1);  // eye
}

void boat(QPainter& p) {
    // Spray behind it.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawEllipse(QRectF(34, 18, 10, 8));
    p.drawEllipse(QRectF(30, 22, 12, 7));
    // Hull pointing left.
    QPainterPath hull;
    hull.moveTo(1, 18);
    hull.lineTo(38, 15);
    hull.lineTo(38, 25);
    hull.lineTo(10, 25);
    hull.closeSubpath();
    p.setBrush(QColor(250, 250, 250));
    p.setPen(QPen(QColor(40, 40, 60), 1));
    p.drawPath(hull);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 30, 30));
    p.drawRect(QRectF(8, 21, 30, 3));
    // Engine at the back.
    p.setBrush(QColor(50, 50, 50));
    p.drawRect(QRectF(36, 11, 6, 10));
    // Racer in a helmet, windshield in front.
    p.setBrush(QColor(40, 120, 220));
    p.drawEllipse(QRectF(22, 8, 10, 9));
    p.setBrush(QColor(250, 220, 40));
    p.drawEllipse(QRectF(20, 3, 8, 7));
    p.setBrush(QColor(150, 220, 255, 200));
    QPolygonF shield;
    shield << QPointF(14, 16) << QPointF(18, 9) << QPointF(20, 16);
    p.drawPolygon(shield);
    // Bow wave.
    p.setPen(QPen(QColor(255, 255, 255), 1.5));
    p.drawLine(QPointF(2, 27), QPointF(12, 27));
    p.drawLine(QPointF(12, 30), QPointF(36, 30));
}

void bicycle(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 30, 30), 2));
    p.drawEllipse(QPointF(9, 24), 7.5, 7.5);
    p.drawEllipse(QPointF(34, 24), 7.5, 7.5);
    p.setPen(QPen(QColor(200, 30, 30), 2, Qt::SolidLine, Qt::RoundCap));
    // Frame: back wheel, seat, pedals, head tube, front wheel.
    p.drawLine(QPointF(34, 24), QPointF(24, 24));
    p.drawLine(QPointF(24, 24), QPointF(28, 13));
    p.drawLine(QPointF(28, 13), QPointF(34, 24));
    p.drawLine(QPointF(28, 13), QPointF(13, 13));
    p.drawLine(QPointF(13, 13), QPointF(24, 24));
    p.drawLine(QPointF(13, 13), QPointF(9, 24));
    p.setPen(QPen(QColor(30, 30, 30), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 10), QPointF(15, 10));  // bars
    // Rider bent low towards the left.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 100, 200));
    QPainterPath body;
    body.moveTo(28, 11);
    body.cubicTo(26, 3, 18, 3, 14, 7);
    body.lineTo(16, 10);
    body.cubicTo(20, 8, 24, 9, 26, 13);
    body.closeSubpath();
    p.drawPath(body);
    p.setPen(QPen(QColor(30, 100, 200), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(27, 12), QPointF(23, 19));  // leg
    p.drawLine(QPointF(23, 19), QPointF(25, 24));
    p.setPen(QPen(QColor(250, 215, 180), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15, 7), QPointF(13, 10));  // arm
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 220, 40));
    p.drawEllipse(QRectF(9, 1, 8, 6));  // helmet
}

}  // namespace

QPixmap eventPicture(int k) {
    if (k < 1 || k > 5) return {};
    const int w = kEventPictureWidth, h = kEventPictureHeight;
    QPixmap pm(w, h);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (k) {
        case 1:
            tornado(p, w, h);
            break;
        case 2:
            fire(p, w, h);
            break;
        case 3:
            tsunami(p, w, h);
            break;
        case 4:
            warpHole(p, w, h);
            break;
        default:
            guardianGod(p, w, h);
            break;
    }
    frame(p, w, h);
    return pm;
}

QPixmap racerPicture(int k) {
    if (k < 1 || k > 3) return {};
    QPixmap pm(kRacerWidth, kRacerHeight);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (k == 1)
        horse(p);
    else if (k == 2)
        boat(p);
    else
        bicycle(p);
    return pm;
}

BoardPicture::BoardPicture(QWidget* board)
    : board_(board), label_(new QLabel(board)), timer_(new QTimer(board)) {
    label_->setObjectName(QStringLiteral("picE"));
    label_->setFixedSize(kEventPictureWidth, kEventPictureHeight);
    label_->hide();
    timer_->setObjectName(QStringLiteral("tmrNature"));
    timer_->setInterval(scaledMs(kNatureTickMs));
    QObject::connect(timer_, &QTimer::timeout, board, [this] { step(); });
}

void BoardPicture::slide(int kind, int screenTop) {
    startSlide(e_, kind, label_->width(), screenTop);
    place();
    timer_->start();
}

void BoardPicture::show(int picture, int screenWidth, int screenTop) {
    timer_->stop();
    if (picture == 0)
        hidePicture(e_);
    else
        centrePicture(e_, picture, label_->width(), screenWidth, screenTop);
    place();
}

void BoardPicture::step() {
    if (!tmrNature_Timer(e_, board_->frameGeometry().width())) timer_->stop();
    place();
}

void BoardPicture::place() {
    if (e_.visible) {
        // Drawn once per picture, not at every step of a slide.
        if (e_.picture != drawn_) {
            label_->setPixmap(eventPicture(e_.picture));
            drawn_ = e_.picture;
        }
        label_->move(e_.left, e_.top);
        label_->raise();
    }
    label_->setVisible(e_.visible);
}

}  // namespace kisharin
