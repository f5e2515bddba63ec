#include "screens/frmEki.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <array>
#include <cmath>

#include "scene/announce.h"
#include "scene/scenery_art.h"
#include "screens/look.h"
#include "screens/timing.h"

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

FrmEki::FrmEki(GameState& s, Rng& rng, Clock& clock, QWidget* parent, Speech* voice)
    : QDialog(parent), s_(s), scene_(rideSetUp(s, rng, clock)), motion_(scene_.layout), voice_(voice) {
    const RideLayout& L = scene_.layout;
    const ScenePaint& P = scene_.paint;
    setObjectName(QStringLiteral("frmEki"));
    setWindowTitle(QStringLiteral("キシャリン"));
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint);
    setFixedSize(kClientWidth, kClientHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);

    train_ = toQImage(P.train).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    plane_ = toQImage(P.plane);
    clouds_[0] = toQImage(P.clouds[0]);
    clouds_[1] = toQImage(P.clouds[1]);

    // The header: line name, train kind, points. White at night and underground, where
    // the kind's name keeps a white ground of its own.
    const QColor headerText = P.whiteHeaders ? Qt::white : Qt::black;
    lblRosenName_ = headerLabel(this, "lblRosenName", qs(L.lineName), faceAt(kLineNamePt), 8, 8, 457, 33);
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
    connect(tmrMain_, &QTimer::timeout, this, &FrmEki::tmrMain_Timer);
    tmrScore_ = new QTimer(this);
    tmrScore_->setObjectName(QStringLiteral("tmrScore"));
    tmrScore_->setInterval(scaledMs(kScoreMs));
    connect(tmrScore_, &QTimer::timeout, this, &FrmEki::tmrScore_Timer);
    hold_ = new QTimer(this);
    hold_->setSingleShot(true);
    hold_->setTimerType(Qt::PreciseTimer);
    hold_->setInterval(scaledMs(kHoldMs));
    connect(hold_, &QTimer::timeout, this, &FrmEki::finish);
    tmrMain_->start();
    tmrScore_->start();
}

FrmEki::~FrmEki() = default;

QString FrmEki::scoreText() const {
    return lblScore_->text();
}

void FrmEki::advance(int ticks) {
    for (int i = 0; i < ticks && !motion_.arrived(); ++i) motion_.tick();
}

void FrmEki::tmrMain_Timer() {
    if (motion_.tick()) arrive();
    update();
}

void FrmEki::tmrScore_Timer() {
    rideScoreTick(s_);
    lblScore_->setText(QString::number(s_.playerPoint[s_.curPlayer]));
}

void FrmEki::arrive() {
    tmrMain_->stop();
    if (s_.voiceMode) {
        // Show the train at the platform before the voice holds the window.
        repaint();
        QCoreApplication::processEvents();
        if (voice_) {
            announceArrival(s_, *voice_);
        } else {
            JapaneseVoice voice;
            announceArrival(s_, voice);
        }
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

void FrmEki::paintEvent(QPaintEvent*) {
    QPainter p(this);
    render(p);
}

void FrmEki::render(QPainter& p) const {
    const RideLayout& L = scene_.layout;
    p.fillRect(0, 0, kClientWidth, kClientHeight, QColor::fromRgba(scene_.paint.background));
    p.save();
    p.translate(motion_.left(), kStripTop);
    renderStrip(p);
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

void FrmEki::renderStrip(QPainter& p) const {
    const RideLayout& L = scene_.layout;
    // Only what the window shows is painted: the strip is many windows wide.
    const int from = -motion_.left();
    const int to = from + kClientWidth;
    p.setClipRect(0, 0, L.stripWidth, kStripHeight);
    auto visible = [from, to](int left, int width) { return left + width > from && left < to; };
    for (const ScenePiece& piece : L.ground)
        if (visible(piece.left, piece.width)) p.drawImage(piece.left, piece.top, pieceImage(piece.kind));
    for (const RideBoard& b : L.boards)
        if (visible(b.left, kBoardWidth + 1)) renderBoard(p, b);
    for (const ScenePiece& piece : L.front)
        if (visible(piece.left, piece.width)) p.drawImage(piece.left, piece.top, pieceImage(piece.kind));
}

void FrmEki::renderBoard(QPainter& p, const RideBoard& b) const {
    const int B = b.left;
    panel(p, B, 8, kBoardWidth, 161);
    panel(p, B, 112, kPanelWidth, 57);
    panel(p, B + kPanelWidth - 1, 112, kPanelWidth, 57);
    panel(p, B + 32, 168, 17, 65);
    panel(p, B + 224, 168, 17, 65);
    p.setPen(Qt::black);
    p.setFont(faceAt(b.namePt));
    p.drawText(QRect(B, 32, 265, 49), Qt::AlignHCenter | Qt::AlignTop, qs(b.name));
    p.setFont(faceAt(9));
    p.drawText(QRect(B, 16, 265, 17), Qt::AlignHCenter | Qt::AlignTop, qs(b.reading));
    p.setFont(faceAt(kPrefPt));
    p.drawText(QRect(B, 80, kBoardWidth, 25), Qt::AlignHCenter | Qt::AlignTop, qs(b.pref));
    p.setFont(faceAt(b.backPt));
    p.drawText(QRect(B, 120, 129, 49), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, qs(b.back));
    p.setFont(faceAt(b.nextPt));
    p.drawText(QRect(B + kPanelWidth - 1, 120, 129, 49), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
               qs(b.next));
}

}  // namespace kisharin
