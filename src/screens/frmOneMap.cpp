#include "screens/frmOneMap.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <QCloseEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollBar>
#include <QThreadPool>
#include <QToolTip>
#include <QWheelEvent>

#include "maps/kept_map.h"
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

// The measures are kept for the whole program: a map opened again measures none of its
// names again. The names of a map read ahead are measured on the reading thread.
namespace {
struct KeptWidths {
    std::mutex lock;
    std::unordered_map<std::string, int> widths;  // point size, tab, text
};
KeptWidths& keptWidths() {
    static KeptWidths kept;
    return kept;
}
std::string widthKey(const std::string& text, int pointSize) {
    std::string key = std::to_string(pointSize);
    key += '\t';
    key += text;
    return key;
}
}  // namespace

int KeptTextMetrics::width(const std::string& text, int pointSize) const {
    std::string key = widthKey(text, pointSize);
    KeptWidths& kept = keptWidths();
    {
        std::lock_guard<std::mutex> hold(kept.lock);
        const auto it = kept.widths.find(key);
        if (it != kept.widths.end()) return it->second;
    }
    const int w = fonts_.width(text, pointSize);
    std::lock_guard<std::mutex> hold(kept.lock);
    kept.widths.emplace(std::move(key), w);
    return w;
}

void KeptTextMetrics::measure(const std::vector<std::string>& texts, int pointSize) {
    KeptWidths& kept = keptWidths();
    std::vector<std::string> keys;
    {
        std::lock_guard<std::mutex> hold(kept.lock);
        for (const std::string& text : texts) {
            std::string key = widthKey(text, pointSize);
            if (!kept.widths.count(key)) keys.push_back(std::move(key));
        }
    }
    if (keys.empty()) return;
    const QtTextMetrics fonts;
    std::vector<int> widths;
    widths.reserve(keys.size());
    for (const std::string& key : keys) widths.push_back(fonts.width(key.substr(key.find('\t') + 1), pointSize));
    std::lock_guard<std::mutex> hold(kept.lock);
    for (size_t i = 0; i < keys.size(); ++i) kept.widths.emplace(std::move(keys[i]), widths[i]);
}

namespace {

// The lines of a prefecture's first view, painted while the pointer rested on its name:
// its first frame then only writes the names over them.
struct LinesAhead {
    std::mutex lock;
    std::condition_variable done;
    const MapData* painting = nullptr;  // the data whose lines are being painted
    std::shared_ptr<const MapData> data;
    MapView view;
    QImage image;  // the whole first canvas, at the screen's resolution
};
LinesAhead& linesAhead() {
    static LinesAhead ahead;
    return ahead;
}

void paintLinesAhead(const std::shared_ptr<const MapData>& data, qreal ratio) {
    LinesAhead& ahead = linesAhead();
    {
        std::lock_guard<std::mutex> hold(ahead.lock);
        if (ahead.painting || (ahead.data == data && ahead.image.devicePixelRatio() == ratio)) return;
        ahead.painting = data.get();
    }
    const auto finished = [&ahead](QImage image, const std::shared_ptr<const MapData>& of, const MapView& view) {
        {
            std::lock_guard<std::mutex> hold(ahead.lock);
            ahead.painting = nullptr;
            if (!image.isNull()) {
                ahead.data = of;
                ahead.view = view;
                ahead.image = std::move(image);
            }
        }
        ahead.done.notify_all();
    };
    // The first view as the opening draws it: the canvas as large as the frame.
    const MapView view = 座標設定(data->boundW, data->boundE, data->boundS, data->boundN);
    if (view.empty()) return finished(QImage(), data, view);
    MapPicture lines;
    lines.width = lines.height = OneMap::kFrame;
    const CanvasScale c{view, OneMap::kFrame, OneMap::kFrame};
    県界線のみ描画(*data, c, lines);
    鉄道描画(*data, c, lines);
    MapSheet sheet;
    sheet.build(lines);
    finished(sheet.linesImage(ratio), data, view);
}

}  // namespace

void readMapAhead(const std::string& mapDataDir, const std::string& pref, qreal ratio) {
    const int ticket = wantReadAhead(mapDataDir, pref);
    QThreadPool::globalInstance()->start([ticket, ratio] {
        const std::shared_ptr<const MapData> data = readAhead(ticket);
        // The pointer passing over names on its way reads them, but measures and paints
        // only for the one it rests on.
        if (!data || !readAheadWanted(ticket)) return;
        // The names the first drawing measures: every station's label at the plain size.
        std::vector<std::string> names;
        names.reserve(data->sameStation.size());
        for (const SameStationRecord& r : data->sameStation) names.push_back(r.name);
        KeptTextMetrics::measure(names, kLabelPoint);
        if (readAheadWanted(ticket)) paintLinesAhead(data, ratio);
    });
}

int KeptTextMetrics::height(int pointSize) const {
    static std::unordered_map<int, int> heights;
    const auto it = heights.find(pointSize);
    if (it != heights.end()) return it->second;
    return heights.emplace(pointSize, fonts_.height(pointSize)).first->second;
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
    if (!s_.prefPicked) return;
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

void FrmOneMap::closeEvent(QCloseEvent* e) {
    if (boardButton_) boardButton_->setEnabled(true);
    e->accept();
}

namespace {

// The two label fonts, made once (labels are painted on several threads at a time).
QFont labelFont(int pointSize) {
    static const QFont plain = uiFont(kLabelPoint, false);
    static const QFont emphasised = uiFont(kEmphasisPoint, true);
    if (pointSize == kLabelPoint) return plain;
    if (pointSize == kEmphasisPoint) return emphasised;
    return uiFont(pointSize, true);
}

QPen linePen(const MapPolyline& line) {
    // Round ends keep the short platforms visible as marks; long lines draw faster with
    // plain ends and joins.
    const Qt::PenCapStyle cap = line.points.size() <= 4 ? Qt::RoundCap : Qt::FlatCap;
    return QPen(qcolor(line.color), line.width, Qt::SolidLine, cap, Qt::BevelJoin);
}

void paintLabel(QPainter& p, const MapLabel& l, const QString& caption) {
    p.setFont(labelFont(l.pointSize));
    const QRect box(l.x, l.y, l.w + 4, l.h);
    // A thin white rim keeps the marked names readable over the lines.
    if (l.color != kWindowText) {
        p.setPen(QColor(255, 255, 255, 220));
        for (const QPoint d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
            p.drawText(box.translated(d), Qt::AlignLeft | Qt::AlignTop, caption);
    }
    p.setPen(l.color == kWindowText ? QColor(Qt::black) : qcolor(l.color));
    p.drawText(box, Qt::AlignLeft | Qt::AlignTop, caption);
}

// What a label's painting can touch: its box and the rim around it.
QRect labelReach(const MapLabel& l) {
    return QRect(l.x - 1, l.y - 1, l.w + 6, l.h + 2);
}

}  // namespace

void paintMapPicture(QPainter& p, const MapPicture& pic) {
    p.setRenderHint(QPainter::Antialiasing);
    std::vector<QPoint> pts;
    for (const MapPolyline& line : pic.lines) {
        p.setPen(linePen(line));
        pts.clear();
        for (const CanvasPoint& c : line.points) pts.emplace_back(c.x, c.y);
        p.drawPolyline(pts.data(), static_cast<int>(pts.size()));
    }
    p.setRenderHint(QPainter::TextAntialiasing);
    for (const MapLabel* l : pic.paintOrder()) paintLabel(p, *l, qs(l->caption));
}

// --- MapCanvas -----------------------------------------------------------------------------

void MapSheet::build(const MapPicture& pic) {
    width_ = pic.width;
    height_ = pic.height;
    linesImage_ = QImage();
    lines_.clear();
    lines_.reserve(pic.lines.size());
    for (const MapPolyline& line : pic.lines) {
        Line l{linePen(line), {}, QRect()};
        l.points.reserve(line.points.size());
        for (const CanvasPoint& c : line.points) l.points.emplace_back(c.x, c.y);
        if (!l.points.empty()) {
            int x0 = l.points[0].x(), x1 = x0, y0 = l.points[0].y(), y1 = y0;
            for (const QPoint& c : l.points) {
                x0 = std::min(x0, c.x());
                x1 = std::max(x1, c.x());
                y0 = std::min(y0, c.y());
                y1 = std::max(y1, c.y());
            }
            const int m = line.width + 2;
            l.reach = QRect(QPoint(x0 - m, y0 - m), QPoint(x1 + m, y1 + m));
        }
        lines_.push_back(std::move(l));
    }
    labels_.clear();
    for (const MapLabel* l : pic.paintOrder()) labels_.push_back({l, labelReach(*l), qs(l->caption)});
}

QImage MapSheet::linesImage(qreal ratio) const {
    const QRect whole(0, 0, width_, height_);
    QImage image(whole.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter p(&image);
    paintLines(p, whole);
    return image;
}

void MapSheet::paint(QPainter& p, const QRect& area) const {
    const qreal ratio = p.paintEngine()->paintDevice()->devicePixelRatio();
    if (!lines_.empty() && !linesImage_.isNull() && linesImage_.devicePixelRatio() == ratio) {
        const QRect at = area & QRect(QPoint(0, 0), linesImage_.deviceIndependentSize().toSize());
        p.drawImage(at.topLeft(), linesImage_, QRect(at.topLeft() * ratio, at.size() * ratio));
        paintLabels(p, area);
        return;
    }
    // A large area is painted in bands by every processor (stroking the lines is most of
    // a frame's work on a dense map, above all on a screen scaled x2), each band into an
    // image of the screen's resolution, lines then labels; a band's pixels are those of
    // the whole area, as for any area. The bands are thin, taken in turn, so that a dense
    // corner of the map is shared too.
    const int workers = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 4);
    const int bands = std::min(workers * 4, area.height() / 32);
    if (workers == 1 || bands < 2 || ratio != std::floor(ratio)) {
        p.fillRect(area, Qt::white);
        paintLines(p, area);
        paintLabels(p, area);
    } else {
        std::vector<QRect> parts;
        for (int i = 0; i < bands; ++i) {
            const int top = area.top() + area.height() * i / bands;
            const int bottom = area.top() + area.height() * (i + 1) / bands;
            parts.emplace_back(area.left(), top, area.width(), bottom - top);
        }
        std::vector<QImage> images(parts.size());
        std::atomic<size_t> next{0};
        const auto strokeBands = [&] {
            for (size_t i = next++; i < parts.size(); i = next++) {
                // Opaque: copied onto the screen as it is, not blended.
                QImage image(parts[i].size() * ratio, QImage::Format_RGB32);
                image.setDevicePixelRatio(ratio);
                image.fill(Qt::white);
                QPainter q(&image);
                q.translate(-parts[i].topLeft());
                paintLines(q, parts[i]);
                paintLabels(q, parts[i]);
                q.end();
                images[i] = std::move(image);
            }
        };
        std::vector<std::thread> helpers;
        for (int i = 1; i < workers; ++i) helpers.emplace_back(strokeBands);
        strokeBands();
        for (std::thread& t : helpers) t.join();
        for (size_t i = 0; i < parts.size(); ++i) p.drawImage(parts[i].topLeft(), images[i]);
    }
}

void MapSheet::paintLabels(QPainter& p, const QRect& area) const {
    p.setRenderHint(QPainter::TextAntialiasing);
    for (const Label& l : labels_)
        if (l.reach.intersects(area)) paintLabel(p, *l.label, l.caption);
}

void MapSheet::paintLines(QPainter& p, const QRect& area) const {
    p.setRenderHint(QPainter::Antialiasing);
    std::vector<std::pair<size_t, size_t>> runs;  // first and last point of each run
    for (const Line& l : lines_) {
        if (!l.reach.intersects(area)) continue;
        p.setPen(l.pen);
        const std::vector<QPoint>& src = l.points;
        // A short line, or one lying wholly in the area, is drawn whole. A long one is cut
        // into the runs of its segments that come near the area: a segment whose reach
        // (its box grown by the pen and a pixel of smoothing) misses the area puts no
        // pixel into it, nor do the joins and ends at its points.
        if (src.size() <= 4 || area.contains(l.reach)) {
            p.drawPolyline(src.data(), static_cast<int>(src.size()));
            continue;
        }
        const int m = l.pen.width() + 2;
        const QRect near = area.adjusted(-m, -m, m, m);
        runs.clear();
        for (size_t i = 1; i < src.size(); ++i) {
            const QPoint a = src[i - 1], b = src[i];
            const bool touches =
                std::min(a.x(), b.x()) <= near.right() && std::max(a.x(), b.x()) >= near.left() &&
                std::min(a.y(), b.y()) <= near.bottom() && std::max(a.y(), b.y()) >= near.top();
            if (!touches) continue;
            if (!runs.empty() && runs.back().second == i - 1)
                runs.back().second = i;
            else
                runs.emplace_back(i - 1, i);
        }
        if (runs.size() == 1) {
            p.drawPolyline(src.data() + runs[0].first, static_cast<int>(runs[0].second - runs[0].first + 1));
        } else if (runs.size() > 1) {
            // The runs stroked as one path: where a line comes back near itself, its
            // pieces overlap as the whole line's did, not smoothed twice.
            QPainterPath path;
            for (const auto& [first, last] : runs) {
                path.moveTo(src[first]);
                for (size_t i = first + 1; i <= last; ++i) path.lineTo(src[i]);
            }
            p.strokePath(path, l.pen);
        }
    }
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
        // prefecture's name: the same data, view and canvas give the same lines.
        // A painting of them under way is nearly done: waiting is quicker than painting.
        LinesAhead& ahead = linesAhead();
        std::unique_lock<std::mutex> hold(ahead.lock);
        ahead.done.wait(hold, [&] { return ahead.painting != &m.data(); });
        if (ahead.data.get() == &m.data() && ahead.view == m.view() && m.canvas().width == OneMap::kFrame &&
            m.canvas().height == OneMap::kFrame)
            sheet_.useLines(ahead.image);
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
    // the corners hold, so that "変更" zooms into what the player sees marked.
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
    // one step of the zoom bar, towards the player enlarging.
    wheelRest_ += e->angleDelta().y();
    const int notches = wheelRest_ / 120;
    wheelRest_ -= notches * 120;
    if (notches == 0 || !m.mapShown() || held_) return;
    const QPoint at = form_->picFloor_->mapFromGlobal(e->globalPosition().toPoint());
    form_->run([&] { m.zoomAround(m.zoomValue() + notches, at.x(), at.y()); });
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
