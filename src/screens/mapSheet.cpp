#include "screens/mapSheet.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QThreadPool>

#include "maps/kept_map.h"
#include "maps/one_map.h"

namespace kisharin {

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
    for (const std::string& key : keys)
        widths.push_back(fonts.width(key.substr(key.find('\t') + 1), pointSize));
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

// Paints them for `data` once a painting for another prefecture is done, if the pointer
// still rests on this one then (the read ahead of `ticket`).
void paintLinesAhead(const std::shared_ptr<const MapData>& data, qreal ratio, int ticket) {
    LinesAhead& ahead = linesAhead();
    {
        std::unique_lock<std::mutex> hold(ahead.lock);
        ahead.done.wait(hold, [&] { return ahead.painting == nullptr; });
        if (!readAheadWanted(ticket) || (ahead.data == data && ahead.image.devicePixelRatio() == ratio))
            return;
        ahead.painting = data.get();
    }
    const auto finished = [&ahead](QImage image, const std::shared_ptr<const MapData>& of,
                                   const MapView& view) {
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
    const MapView view = firstView(*data);
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

QImage linesPaintedAhead(const MapData& data, const MapView& view) {
    // A painting of them under way is nearly done: waiting is quicker than painting.
    LinesAhead& ahead = linesAhead();
    std::unique_lock<std::mutex> hold(ahead.lock);
    ahead.done.wait(hold, [&] { return ahead.painting != &data; });
    return ahead.data.get() == &data && ahead.view == view ? ahead.image : QImage();
}

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
        paintLinesAhead(data, ratio, ticket);
    });
}

int KeptTextMetrics::height(int pointSize) const {
    static std::unordered_map<int, int> heights;
    const auto it = heights.find(pointSize);
    if (it != heights.end()) return it->second;
    return heights.emplace(pointSize, fonts_.height(pointSize)).first->second;
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
    for (const MapLabel* l : pic.paintOrder()) paintLabel(p, *l, qs(l->text()));
}

// --- MapSheet ------------------------------------------------------------------------------

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
    for (const MapLabel* l : pic.paintOrder()) labels_.push_back({l, labelReach(*l), qs(l->text())});
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

}  // namespace kisharin
