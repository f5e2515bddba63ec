#include "screens/frmEki.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>

#include "scene/announce.h"
#include "scene/scenery_art.h"
#include "screens/look.h"
#include "screens/timing.h"
#include "state/saturate.h"

namespace kisharin {

namespace {

using namespace ride;

// The text face at a point size that may have a fraction (21.75 pt and the like), in
// pixels at 96 dpi.
QFont faceAt(double pt, bool bold = false) {
    QFont f = uiFont(9, bold);
    f.setPixelSize(static_cast<int>(std::lround(pt * 96.0 / 72.0)));
    return f;
}

const QImage& pieceImage(PieceKind kind) {
    static const std::array<QImage, 10> images = [] {
        std::array<QImage, 10> a;
        auto put = [&a](PieceKind k, const PixelBuffer& b) {
            a[static_cast<size_t>(k)] = toQImage(b).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        };
        put(PieceKind::River, riverPicture());
        put(PieceKind::Road, roadPicture());
        put(PieceKind::Crossing, levelCrossingPicture());
        put(PieceKind::BufferStop, bufferStopPicture());
        put(PieceKind::RedSignal, redSignalPicture());
        put(PieceKind::Pole, polePicture());
        put(PieceKind::Tree, treePicture());
        put(PieceKind::Tunnel, tunnelPicture());
        put(PieceKind::Signal, signalPicture());
        put(PieceKind::Pier, viaductPierPicture());
        return a;
    }();
    return images[static_cast<size_t>(kind)];
}

QLabel* headerLabel(QWidget* parent, const char* name, const QString& text, const QFont& font, int x, int y,
                    int w, int h) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(font);
    l->setGeometry(x, y, w, h);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    return l;
}

// The face at pt, made smaller (not below 8 px) until text fits the box.
QFont fitted(double pt, const QString& text, QSize box, bool wrap) {
    QFont f = faceAt(pt);
    if (text.isEmpty()) return f;
    for (int px = f.pixelSize(); px > 8; --px) {
        f.setPixelSize(px);
        const QFontMetrics m(f);
        const QRect need =
            wrap ? m.boundingRect(QRect(QPoint(0, 0), box), Qt::TextWordWrap | Qt::AlignHCenter, text)
                 : QRect(0, 0, m.horizontalAdvance(text), m.height());
        if (need.width() <= box.width() && need.height() <= box.height() + 4) break;
    }
    return f;
}

// A board panel: white with a black border 3 px wide inside its box.
void panel(QPainter& p, int x, int y, int w, int h) {
    p.fillRect(x, y, w, h, Qt::black);
    p.fillRect(x + 3, y + 3, w - 6, h - 6, Qt::white);
}

}  // namespace

QImage toQImage(const PixelBuffer& b) {
    if (b.empty()) return {};
    QImage img(b.width, b.height, QImage::Format_ARGB32);
    for (int y = 0; y < b.height; ++y)
        std::copy_n(b.px.data() + static_cast<size_t>(y) * static_cast<size_t>(b.width), b.width,
                    reinterpret_cast<std::uint32_t*>(img.scanLine(y)));
    return img;
}

FrmEki::FrmEki(const GameState& s, Rng& rng, Clock& clock, QWidget* parent, Speech* voice)
    : QDialog(parent), s_(s), scene_(rideSetUp(s, rng, clock)), motion_(scene_.layout), voice_(voice) {
    const RideLayout& L = scene_.layout;
    const ScenePaint& P = scene_.paint;
    setObjectName(QStringLiteral("frmEki"));
    setWindowTitle(QStringLiteral("キシャリン"));
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint);
    setFixedSize(kClientWidth, kClientHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);

    for (const RideBoard& b : L.boards)
        faces_.push_back({fitted(b.namePt, qs(b.name), QSize(265, 49), false),
                          fitted(9, qs(b.reading), QSize(265, 17), false),
                          fitted(kPrefPt, qs(b.pref), QSize(kBoardWidth, 25), false),
                          fitted(b.backPt, qs(b.back), QSize(129, 49), true),
                          fitted(b.nextPt, qs(b.next), QSize(129, 49), true)});

    train_ = toQImage(P.train).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    plane_ = toQImage(P.plane);
    clouds_[0] = toQImage(P.clouds[0]);
    clouds_[1] = toQImage(P.clouds[1]);

    // The header: line name, train kind, points. White at night and underground, where
    // the kind's name keeps a white ground of its own.
    const QColor headerText = P.whiteHeaders ? Qt::white : Qt::black;
    // A long line name may use the room up to the kind's label, then a smaller face.
    lblRosenName_ = headerLabel(this, "lblRosenName", qs(L.lineName), faceAt(kLineNamePt), 8, 8, 457, 33);
    const int nameWidth = QFontMetrics(lblRosenName_->font()).horizontalAdvance(lblRosenName_->text());
    if (nameWidth > 457) {
        lblRosenName_->setFont(fitted(kLineNamePt, lblRosenName_->text(), QSize(728, 33), false));
        lblRosenName_->resize(728, 33);
    }
    lblShubetu_ = headerLabel(this, "lblShubetu", qs(L.kindCaption), faceAt(kHeaderPt, true), 744, 8, 34, 16);
    lblShubetu_->adjustSize();
    lblPoint_ =
        headerLabel(this, "lblPoint", QStringLiteral("ポイント："), faceAt(kHeaderPt, true), 800, 8, 65, 16);
    lblPoint_->adjustSize();
    lblScore_ =
        headerLabel(this, "lblScore", QString::number(L.points), faceAt(kHeaderPt, true), 872, 8, 105, 17);
    for (QLabel* l : {lblRosenName_, lblPoint_, lblScore_}) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, headerText);
        l->setPalette(pal);
    }
    QPalette kind = lblShubetu_->palette();
    kind.setColor(QPalette::WindowText, qcolor(L.kindColor));
    kind.setColor(QPalette::Window, Qt::white);
    lblShubetu_->setPalette(kind);
    lblShubetu_->setAutoFillBackground(P.whiteHeaders);

    tmrMain_ = new QTimer(this);
    tmrMain_->setObjectName(QStringLiteral("tmrMain"));
    tmrMain_->setTimerType(Qt::PreciseTimer);
    tmrMain_->setInterval(scaledMs(L.tickMs));
    connect(tmrMain_, &QTimer::timeout, this, &FrmEki::rideTick);
    tmrScore_ = new QTimer(this);
    tmrScore_->setObjectName(QStringLiteral("tmrScore"));
    tmrScore_->setInterval(scaledMs(kScoreMs));
    connect(tmrScore_, &QTimer::timeout, this, &FrmEki::tmrScore_Timer);
    hold_ = new QTimer(this);
    hold_->setSingleShot(true);
    hold_->setTimerType(Qt::PreciseTimer);
    hold_->setInterval(scaledMs(kHoldMs));
    connect(hold_, &QTimer::timeout, this, &FrmEki::finish);
    // The frames between the ticks, at the usual 60 a second.
    frame_ = new QTimer(this);
    frame_->setTimerType(Qt::PreciseTimer);
    frame_->setInterval(16);
    connect(frame_, &QTimer::timeout, this, [this] {
        if (motion_.arrived()) frame_->stop();
        update();
    });
    tmrMain_->start();
    tmrScore_->start();
    frame_->start();
    // The sound stream is opened and the arrival's sentences are made while the train
    // runs (the rules have settled where it stops), so that the arrival is heard at
    // once: the ride's points run on while the voice holds the window.
    if (s_.voiceMode && !voice_) programVoice().prepare(arrivalAnnouncement(s_));
}

FrmEki::~FrmEki() = default;

QString FrmEki::scoreText() const {
    return lblScore_->text();
}

void FrmEki::advance(int ticks) {
    for (int i = 0; i < ticks && !motion_.arrived(); ++i) motion_.tick();
}

void FrmEki::rideTick() {
    tickFrom_ = motion_.left();
    sinceTick_.start();
    if (motion_.tick()) arrive();
    update();
}

void FrmEki::tmrScore_Timer() {
    // The points are the rules' to pay when the window closes; the score shows them coming.
    ++scoreTicks_;
    Long shown = s_.playerPoint[s_.curPlayer];
    addPoints(shown, static_cast<long long>(scoreTicks_) * ride::kScorePerTick);
    lblScore_->setText(QString::number(shown));
}

void FrmEki::arrive() {
    tmrMain_->stop();
    if (s_.voiceMode) {
        // Show the train at the platform before the voice holds the window.
        showNow(this);
        announceArrival(s_, voice_ ? *voice_ : programVoice());
    }
    // The stand at the platform, timed on the monotonic clock; events go on meanwhile.
    holdClock_.start();
    hold_->start();
}

void FrmEki::finish() {
    heldMs_ = holdClock_.elapsed();
    done_ = true;
    tmrScore_->stop();
    accept();
}

void FrmEki::closeEvent(QCloseEvent* e) {
    if (done_)
        e->accept();
    else
        e->ignore();
}

void FrmEki::keyPressEvent(QKeyEvent* e) {
    e->accept();  // Esc and Enter do not end the ride
}

void FrmEki::reject() {
    if (done_) QDialog::reject();
}

void FrmEki::setVisible(bool visible) {
    // Before the window is placed, so that it is placed at the size it will have.
    if (visible && !isVisible()) fitToScreen();
    QDialog::setVisible(visible);
}

void FrmEki::fitToScreen() {
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    if (!screen || fit_ != 1.0) return;
    // The window manager's frame: the one of the window the ride belongs to, or a usual
    // title bar and border.
    QSize frame(16, 40);
    if (parentWidget()) {
        const QWidget* top = parentWidget()->window();
        const QSize f = top->frameGeometry().size() - top->geometry().size();
        if (!f.isEmpty()) frame = f;
    }
    const QRect avail = screen->availableGeometry();
    const double f = std::min({1.0, double(avail.width() - frame.width()) / kClientWidth,
                               double(avail.height() - frame.height()) / kClientHeight});
    // A screen scaled by 1.5 leaves 853 of a 1280-pixel screen's width to the window: the
    // whole ride is drawn smaller rather than cut at the points.
    if (f >= 1.0 || f <= 0.2) return;
    fit_ = f;
    setFixedSize(static_cast<int>(std::ceil(kClientWidth * f)),
                 static_cast<int>(std::ceil(kClientHeight * f)));
    for (QLabel* l : {lblRosenName_, lblShubetu_, lblPoint_, lblScore_}) {
        QFont font = l->font();
        font.setPixelSize(std::max(8, static_cast<int>(std::lround(font.pixelSize() * f))));
        l->setFont(font);
        const QRect g = l->geometry();
        l->setGeometry(static_cast<int>(g.x() * f), static_cast<int>(g.y() * f),
                       static_cast<int>(std::ceil(g.width() * f)),
                       static_cast<int>(std::ceil(g.height() * f)));
    }
    lblShubetu_->adjustSize();
    lblPoint_->adjustSize();
}

void FrmEki::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (fit_ != 1.0) p.scale(fit_, fit_);
    renderAt(p, shownLeft());
}

void FrmEki::render(QPainter& p) const {
    renderAt(p, motion_.left());
}

int FrmEki::shownLeft() const {
    if (motion_.arrived() || !sinceTick_.isValid()) return motion_.left();
    // Between the last two ticks, by the time since the last one: the strip glides at
    // every frame and still passes exactly where the ticks put it.
    const double ms = static_cast<double>(sinceTick_.nsecsElapsed()) / 1e6;
    const double f = std::min(1.0, ms / std::max(1, tmrMain_->interval()));
    return static_cast<int>(std::lround(tickFrom_ + (motion_.left() - tickFrom_) * f));
}

void FrmEki::renderAt(QPainter& p, int left) const {
    const RideLayout& L = scene_.layout;
    p.fillRect(0, 0, kClientWidth, kClientHeight, QColor::fromRgba(scene_.paint.background));
    p.save();
    p.translate(left, kStripTop);
    renderStrip(p, left);
    p.restore();
    if (L.showTrain()) {
        if (train_.isNull())
            p.fillRect(kTrainLeft, kTrainTop, kTrainWidth, kTrainHeight, Qt::white);
        else
            p.drawImage(kTrainLeft, kTrainTop, train_);
        p.fillRect(0, 461, 993, 9, Qt::black);  // the rail
        p.fillRect(0, 336, 993, 2, Qt::black);  // the overhead wire
    } else {
        p.drawImage(366, 320, plane_);
        p.drawImage(88, 408, clouds_[0]);
        p.drawImage(728, 336, clouds_[1]);
    }
}

void FrmEki::renderStrip(QPainter& p, int stripLeft) const {
    const RideLayout& L = scene_.layout;
    // Only what the window shows is painted: the strip is many windows wide.
    const int from = -stripLeft;
    const int to = from + kClientWidth;
    p.setClipRect(0, 0, L.stripWidth, kStripHeight);
    auto visible = [from, to](int left, int width) { return left + width > from && left < to; };
    for (const ScenePiece& piece : L.ground)
        if (visible(piece.left, piece.width)) p.drawImage(piece.left, piece.top, pieceImage(piece.kind));
    for (size_t i = 0; i < L.boards.size(); ++i)
        if (visible(L.boards[i].left, kBoardWidth + 1)) renderBoard(p, L.boards[i], faces_[i]);
    for (const ScenePiece& piece : L.front)
        if (visible(piece.left, piece.width)) p.drawImage(piece.left, piece.top, pieceImage(piece.kind));
}

void FrmEki::renderBoard(QPainter& p, const RideBoard& b, const BoardFaces& f) const {
    const int B = b.left;
    panel(p, B, 8, kBoardWidth, 161);
    panel(p, B, 112, kPanelWidth, 57);
    panel(p, B + kPanelWidth - 1, 112, kPanelWidth, 57);
    panel(p, B + 32, 168, 17, 65);
    panel(p, B + 224, 168, 17, 65);
    p.setPen(Qt::black);
    p.setFont(f.name);
    p.drawText(QRect(B, 32, 265, 49), Qt::AlignHCenter | Qt::AlignTop, qs(b.name));
    p.setFont(f.reading);
    p.drawText(QRect(B, 16, 265, 17), Qt::AlignHCenter | Qt::AlignTop, qs(b.reading));
    p.setFont(f.pref);
    p.drawText(QRect(B, 80, kBoardWidth, 25), Qt::AlignHCenter | Qt::AlignTop, qs(b.pref));
    p.setFont(f.back);
    p.drawText(QRect(B, 120, 129, 49), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, qs(b.back));
    p.setFont(f.next);
    p.drawText(QRect(B + kPanelWidth - 1, 120, 129, 49), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
               qs(b.next));
}

}  // namespace kisharin
