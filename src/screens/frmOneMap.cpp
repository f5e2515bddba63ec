#include "screens/frmOneMap.h"
#include "maps/picker.h"

#include <algorithm>

#include <QCloseEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include "screens/placement.h"

namespace kisharin {

namespace {

QPointer<FrmOneMap> theMap;

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int x, int y) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setFont(uiFont(9));
    b->setGeometry(x, y, 49, 25);
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(uiFont(9));
    l->setGeometry(x, y, w, h);
    return l;
}

// A white-gloved hand with a blue cuff, drawn into a 32 x 32 cursor picture.
QPixmap handCursor(const QPainterPath& hand, const QRectF& cuff, bool knuckles) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(hand.simplified());
    if (knuckles) {
        p.drawLine(QPointF(15, 13), QPointF(15, 17));
        p.drawLine(QPointF(19, 13), QPointF(19, 17));
    }
    p.setBrush(QColor(40, 90, 220));
    p.drawRoundedRect(cuff, 1.5, 1.5);
    return pm;
}

QPixmap pointingHand() {
    QPainterPath hand;
    hand.addRoundedRect(QRectF(9.5, 1, 5, 15), 2.5, 2.5);  // the pointing finger
    hand.addRoundedRect(QRectF(7, 12, 16, 12), 3, 3);      // the fist
    hand.addRoundedRect(QRectF(4, 13, 5, 8), 2, 2);        // the thumb
    return handCursor(hand, QRectF(8, 24, 14, 6), true);
}

QPixmap openHand() {
    QPainterPath hand;
    hand.addRoundedRect(QRectF(8, 11, 16, 14), 5, 5);  // the palm
    const double fingers[4][2] = {{8.5, 4}, {12.5, 2}, {16.5, 2.5}, {20.5, 5}};
    for (const auto& f : fingers) hand.addRoundedRect(QRectF(f[0], f[1], 4, 12), 2, 2);
    QPainterPath thumb;
    thumb.addRoundedRect(QRectF(-2, -10, 4, 11), 2, 2);
    QTransform t;
    t.translate(8, 20);
    t.rotate(-40);
    hand.addPath(t.map(thumb));
    return handCursor(hand, QRectF(9, 25, 14, 5), false);
}

}  // namespace

QCursor mapCursor(int kind) {
    static const QCursor hand(pointingHand(), 12, 1);
    static const QCursor open(openHand(), 16, 14);
    return kind == 2 ? open : hand;
}

// --- FrmOneMap ---------------------------------------------------------------------------

FrmOneMap::FrmOneMap(GameState& s, QPushButton* boardButton, QWidget* parent)
    : QWidget(parent, Qt::Window), s_(s), map_(s, metrics_), boardButton_(boardButton) {
    setObjectName(QStringLiteral("frmOneMap"));
    setWindowTitle(QStringLiteral("路線図"));
    setFixedSize(675, 661);
    setAttribute(Qt::WA_DeleteOnClose);

    picFloor_ = new QWidget(this);
    picFloor_->setObjectName(QStringLiteral("picFloor"));
    picFloor_->setGeometry(8, 8, OneMap::kFrame, OneMap::kFrame);
    picFloor_->setAutoFillBackground(true);
    setBack(picFloor_, rgb(128, 128, 128));
    picMain_ = new MapCanvas(this, picFloor_);
    picMain_->setGeometry(0, 0, OneMap::kFrame, OneMap::kFrame);

    cmdZoom_ = button(this, "cmdZoom", QStringLiteral("変更"), 616, 8);
    cmdZoomBack_ = button(this, "cmdZoomBack", QStringLiteral("１つ前"), 616, 40);
    cmdInit_ = button(this, "cmdInit", QStringLiteral("初期値"), 616, 72);
    label(this, "lblShrink", QStringLiteral("縮小"), 24, 616, 30, 17);
    scrZoom_ = new QScrollBar(Qt::Horizontal, this);
    scrZoom_->setObjectName(QStringLiteral("scrZoom"));
    scrZoom_->setGeometry(56, 616, 497, 17);
    scrZoom_->setRange(0, OneMap::kZoomMax);
    scrZoom_->setPageStep(1);
    // A drag of the bar draws once, where it is let go, not at every step it passes
    // (a step of a large prefecture takes a tenth of a second).
    scrZoom_->setTracking(false);
    label(this, "lblGrow", QStringLiteral("拡大"), 560, 616, 30, 17);
    lblMes_ = label(this, "lblMes", QString(), 8, 640, 484, 18);
    setFore(lblMes_, rgb(255, 0, 0));

    txtIng_ = new QLabel(QStringLiteral("描画中"), this);
    txtIng_->setObjectName(QStringLiteral("txtIng"));
    txtIng_->setGeometry(168, 290, 265, 45);
    txtIng_->setAlignment(Qt::AlignCenter);
    txtIng_->setFont(uiFont(28));
    txtIng_->setFrameShape(QFrame::Box);
    txtIng_->setAutoFillBackground(true);
    setBack(txtIng_, rgb(255, 255, 255));
    txtIng_->hide();
    // "描画中" is up while a drawing is under way. It is painted at once only when the
    // drawing before took long enough to keep the player waiting (from the input to the
    // painted map); a quick one is on the screen before the box could be, and the box
    // would only flicker at every step of the zoom.
    map_.busy = [this](bool on) {
        if (!on) return;
        drawing_.start();
        txtIng_->show();
        txtIng_->raise();
        if (lastDrawing_ >= kSlowDrawing) txtIng_->repaint();
    };

    connect(cmdZoom_, &QPushButton::clicked, this, [this] { run([this] { map_.cmdZoom_Click(); }); });
    connect(cmdZoomBack_, &QPushButton::clicked, this, [this] { run([this] { map_.cmdZoomBack_Click(); }); });
    connect(cmdInit_, &QPushButton::clicked, this, [this] { run([this] { map_.cmdInit_Click(); }); });
    connect(scrZoom_, &QScrollBar::valueChanged, this, [this](int v) {
        if (!syncing_) run([this, v] { map_.scrZoom_Change(v); });
    });
    sync();
}

FrmOneMap::~FrmOneMap() {
    if (boardButton_) boardButton_->setEnabled(true);
}

FrmOneMap* FrmOneMap::instance() {
    return theMap;
}

FrmOneMap* FrmOneMap::showPicked(GameState& s, QPushButton* boardButton) {
    if (!theMap) {
        // A window of its own, not a child of the board: it stays usable while the board
        // is disabled for the computer's turn, and goes when the board goes.
        theMap = new FrmOneMap(s, boardButton, nullptr);
        // Over the board, all of it on the screen; the window manager would put a window
        // of its own wherever it finds room, even half below the screen's edge.
        if (boardButton) {
            placeOver(theMap, boardButton->window());
            // A click on the board must not bury the map: the board's "路線図" stays
            // disabled while the map is open, so the player could not bring it back.
            keepAbove(theMap, boardButton->window());
            QObject::connect(boardButton->window(), &QObject::destroyed, theMap, &QObject::deleteLater);
        }
    }
    theMap->show();
    theMap->raise();
    theMap->activateWindow();
    theMap->Form_Activate();
    return theMap;
}

template <typename F>
void FrmOneMap::run(F&& handler) {
    handler();
    sync();
    txtIng_->hide();
}

void FrmOneMap::drawingPainted() {
    if (!drawing_.isValid()) return;
    lastDrawing_ = drawing_.elapsed();
    drawing_.invalidate();
}

void FrmOneMap::Form_Activate() {
    if (!mapPick().prefPicked) return;
    if (boardButton_) boardButton_->setEnabled(false);
    run([this] { map_.Form_Activate(); });
    if (!map_.loadError().empty()) {
        // The box opens over the map once the window manager has placed the map's window.
        whenShownOnScreen(this, [this, text = qs(map_.loadError())] {
            auto* box =
                new QMessageBox(QMessageBox::Warning, QStringLiteral("路線図"), text, QMessageBox::Ok, this);
            box->setObjectName(QStringLiteral("msgMapError"));
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->open();
        });
    }
}

void FrmOneMap::sync() {
    syncing_ = true;
    const CanvasRect& c = map_.canvas();
    picMain_->setGeometry(c.left, c.top, c.width, c.height);
    picMain_->refresh();
    picMain_->setCursor(mapCursor(map_.cursor()));
    cmdZoomBack_->setEnabled(map_.zoomBackEnabled());
    scrZoom_->setEnabled(map_.zoomBarEnabled());
    scrZoom_->setValue(map_.zoomValue());
    lblMes_->setText(qs(map_.lblMes()));
    syncing_ = false;
}

bool FrmOneMap::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) Form_Activate();
    return QWidget::event(e);
}

void FrmOneMap::keyPressEvent(QKeyEvent* e) {
    // Escape closes the map as its × does.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

void FrmOneMap::closeEvent(QCloseEvent* e) {
    if (boardButton_) boardButton_->setEnabled(true);
    e->accept();
}

MapCanvas::MapCanvas(FrmOneMap* form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("picMain"));
    setMouseTracking(false);
    // Every pixel is painted: a drag moves what is on the screen and paints only the
    // strip it uncovers.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MapCanvas::refresh() {
    update();
}

const MapSheet* MapCanvas::sheet() {
    const OneMap& m = form_->map_;
    if (!m.mapShown()) return nullptr;
    // The sheet points into the model's picture: it is made anew with every drawing.
    if (drawn_ != m.drawCount()) {
        drawn_ = m.drawCount();
        sheet_.build(m.picture());
        // The first view's lines may have been painted while the pointer rested on the
        // prefecture's name.
        if (m.canvas().width == OneMap::kFrame && m.canvas().height == OneMap::kFrame)
            sheet_.useLines(linesPaintedAhead(m.data(), m.view()));
    }
    return &sheet_;
}

void MapCanvas::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QRect area = e->rect();
    // Only what the frame shows is painted, at the screen's own resolution.
    if (const MapSheet* sheet = this->sheet()) {
        sheet->paint(p, area);
        form_->drawingPainted();
    } else {
        p.fillRect(area, Qt::white);
    }
    const OneMap& m = form_->map_;
    // The corners picked for "変更": corner 2 as a cross, and the area between the two
    // corners once both are there. They stay marked on every new picture for as long as
    // the corners hold, so that "変更" zooms into what the player sees marked; once it has,
    // the map shows that very area and the marks go.
    if (!m.cornersMarked()) return;
    const CanvasScale c = m.scale();
    const auto x2 = textFloat(m.txtX2()), y2 = textFloat(m.txtY2());
    if (!x2 || !y2) return;
    const QPointF b(c.pixelX(*x2), c.pixelY(*y2));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(220, 0, 0), 2));
    p.drawLine(b + QPointF(-6, 0), b + QPointF(6, 0));
    p.drawLine(b + QPointF(0, -6), b + QPointF(0, 6));
    const auto x1 = textFloat(m.txtX1()), y1 = textFloat(m.txtY1());
    if (!x1 || !y1) return;
    p.setPen(QPen(QColor(220, 0, 0), 1, Qt::DashLine));
    p.setBrush(QColor(255, 0, 0, 24));
    p.drawRect(QRectF(QPointF(c.pixelX(*x1), c.pixelY(*y1)), b).normalized());
}

void MapCanvas::mousePressEvent(QMouseEvent* e) {
    OneMap& m = form_->map_;
    if (!m.mapShown()) return;
    const QPoint pt = e->position().toPoint();
    const MouseButton b = e->button() == Qt::RightButton  ? MouseButton::Right
                          : e->button() == Qt::LeftButton ? MouseButton::Left
                                                          : MouseButton::Middle;
    const MapPicture& pic = m.picture();
    form_->run([&] {
        if (const MapLabel* l = pic.labelAt(pt.x(), pt.y())) {
            const int i = static_cast<int>(l - pic.labels.data()) + 1;
            m.lblEki_MouseDown(i, b, pt.x() - l->x, pt.y() - l->y);
        } else {
            const CanvasScale c = m.scale();
            m.picMain_MouseDown(b, static_cast<float>(c.lonAt(pt.x())), static_cast<float>(c.latAt(pt.y())));
        }
    });
    if (b == MouseButton::Right) update();
    if (m.dragging()) {
        held_ = true;
        pressFloor_ = form_->picFloor_->mapFromGlobal(e->globalPosition().toPoint());
        canvasStart_ = pos();
    }
}

void MapCanvas::mouseMoveEvent(QMouseEvent* e) {
    if (!held_) return;
    const QPoint now = form_->picFloor_->mapFromGlobal(e->globalPosition().toPoint());
    move(canvasStart_ + now - pressFloor_);
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* e) {
    if (!held_) return;
    held_ = false;
    OneMap& m = form_->map_;
    const QPoint floorPt = form_->picFloor_->mapFromGlobal(e->globalPosition().toPoint());
    // Where the drop falls on the canvas as it lay when it was pressed.
    const QPoint q = floorPt - canvasStart_;
    const MapPicture& pic = m.picture();
    form_->run([&] {
        if (q.x() >= 0 && q.y() >= 0 && q.x() < m.canvas().width && q.y() < m.canvas().height) {
            if (const MapLabel* l = pic.labelAt(q.x(), q.y())) {
                const int i = static_cast<int>(l - pic.labels.data()) + 1;
                m.lblEki_DragDrop(i, q.x() - l->x, q.y() - l->y);
            } else {
                const CanvasScale c = m.scale();
                m.picMain_DragDrop(static_cast<float>(c.lonAt(q.x())), static_cast<float>(c.latAt(q.y())));
            }
        } else {
            m.picFloor_DragDrop(floorPt.x(), floorPt.y());
        }
    });
}

void MapCanvas::wheelEvent(QWheelEvent* e) {
    e->accept();
    OneMap& m = form_->map_;
    // A notch of the wheel (120 eighths of a degree; touchpads send less at a time) is
    // one zoom step around the pointer, away from the player enlarging.
    wheelRest_ += e->angleDelta().y();
    const int notches = wheelRest_ / 120;
    wheelRest_ -= notches * 120;
    if (notches == 0 || !m.mapShown() || held_) return;
    const QPoint at = form_->picFloor_->mapFromGlobal(e->globalPosition().toPoint());
    form_->run([&] { m.wheelZoom(notches, at.x(), at.y()); });
}

bool MapCanvas::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* he = static_cast<QHelpEvent*>(e);
        if (const MapLabel* l = form_->map_.picture().labelAt(he->pos().x(), he->pos().y()))
            QToolTip::showText(he->globalPos(), qs(l->hint), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

}  // namespace kisharin
