#include "screens/stripView.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

#include "screens/look.h"

namespace kisharin {

QRect toQRect(const PixelRect& r) {
    return QRect(r.left, r.top, r.width, r.height);
}

namespace {
// The sizes of the station names, which are painted bold.
class BoldTextMetrics final : public TextMetrics {
  public:
    int width(const std::string& text, int pointSize) const override {
        return QFontMetrics(uiFont(pointSize, true)).horizontalAdvance(qs(text)) + 2;
    }
    int height(int pointSize) const override { return QFontMetrics(uiFont(pointSize, true)).height(); }
};
}  // namespace

StationCaption stationCaption(const StationView& st) {
    // Inside the box's frame, the name's rows a pixel apart from it.
    return fitStationName(st.name, st.fontSize, st.box.width - 4, st.box.height - 2, BoldTextMetrics());
}

StripView::StripView(const LineDisplayModel& model, QWidget* parent) : QWidget(parent), m_(model) {
    setObjectName(QStringLiteral("picEki"));
    setMouseTracking(true);
    // Tab and the board's arrow keys bring the keyboard here; a click picks at once.
    setFocusPolicy(Qt::TabFocus);
}

QString StripView::keysHint() {
    return QStringLiteral("キー：↑↓・Tab で選び、Enter・スペースで決定");
}

void StripView::setTargets(std::vector<StripTarget> targets, int own) {
    if (targets == targets_ && own == own_ && m_.line == line_) return;
    targets_ = std::move(targets);
    own_ = own;
    line_ = m_.line;
    if (focus_) setFocusTarget({});
}

void StripView::setFocusTarget(StripTarget t) {
    if (t == focus_) return;
    focus_ = t;
    update();
    if (onKeyFocus) onKeyFocus(t);
}

void StripView::stepFocus(int step) {
    if (targets_.empty()) {
        // Nothing to pick: the keys look along the line as the wheel does.
        if (onWheel) onWheel(step > 0 ? -120 : 120);
        return;
    }
    if (!hasFocus()) setFocus(Qt::OtherFocusReason);
    setFocusTarget(stepTarget(m_, targets_, focus_, step, own_));
}

bool StripView::pickable(Hit h) const {
    return std::find(targets_.begin(), targets_.end(), StripTarget{h.station, h.transfer}) != targets_.end();
}

void StripView::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Down:
        case Qt::Key_Right:
            stepFocus(1);
            return;
        case Qt::Key_Up:
        case Qt::Key_Left:
            stepFocus(-1);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (focus_ && !e->isAutoRepeat()) {
                // The same as a click on it; the board checks and sends the command.
                const StripTarget t = focus_;
                if (t.transfer && onTransferClick)
                    onTransferClick(t.transfer);
                else if (t.station && onStationClick)
                    onStationClick(t.station);
                return;
            }
            break;
        default:
            break;
    }
    QWidget::keyPressEvent(e);
}

void StripView::focusInEvent(QFocusEvent* e) {
    if (!focus_ && (e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason))
        setFocusTarget(stepTarget(m_, targets_, {}, e->reason() == Qt::TabFocusReason ? 1 : -1, own_));
    update();
}

void StripView::focusOutEvent(QFocusEvent* e) {
    // Tabbed away: the frame goes; the keyboard lent elsewhere for a while keeps it.
    if (e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason) setFocusTarget({});
    update();
}

bool StripView::focusNextPrevChild(bool next) {
    if (hasFocus()) {
        const StripTarget t = stepTarget(m_, targets_, focus_, next ? 1 : -1, own_);
        if (t && t != focus_) {
            setFocusTarget(t);
            return true;
        }
    }
    return QWidget::focusNextPrevChild(next);
}

StripView::Hit StripView::hitAt(QPoint p) const {
    const StripHit h = hitTest(m_, p.x(), p.y());
    return {h.station, h.transfer};
}

void StripView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), qcolor(m_.background));
    if (!m_.visible) return;
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const StationView& st : m_.stations) {
        if (st.connector) {
            p.setPen(QPen(QColor(40, 40, 40), 3));
            p.drawLine(st.connectorX, st.connectorY1, st.connectorX, st.connectorY2);
        }
    }
    for (const StationView& st : m_.stations) {
        const QRect box = toQRect(st.box);
        p.setPen(QPen(QColor(0, 0, 0), 1));
        p.setBrush(qcolor(st.fill));
        p.drawRect(box.adjusted(0, 0, -1, -1));
        const StationCaption caption = stationCaption(st);
        p.setFont(uiFont(caption.fontSize, true));
        p.setPen(Qt::black);
        if (caption.lines.size() == 1) {
            p.drawText(toQRect(st.label), Qt::AlignCenter | Qt::TextSingleLine, qs(caption.lines[0]));
        } else {
            // A long name in two rows filling the box.
            const QRect inside = box.adjusted(1, 1, -1, -1);
            const int half = inside.height() / 2;
            p.drawText(QRect(inside.left(), inside.top(), inside.width(), half),
                       Qt::AlignCenter | Qt::TextSingleLine, qs(caption.lines[0]));
            p.drawText(QRect(inside.left(), inside.top() + half, inside.width(), inside.height() - half),
                       Qt::AlignCenter | Qt::TextSingleLine, qs(caption.lines[1]));
        }
        if (st.star) {
            p.setPen(qcolor(m_.grey));
            p.setFont(uiFont(st.fontSize));
            p.drawText(toQRect(st.starRect), Qt::AlignCenter, QStringLiteral("★"));
        }
    }
    for (const TransferView& t : m_.transfers) {
        const QRect r = toQRect(t.rect);
        p.setPen(QColor(90, 90, 140));
        p.setBrush(QColor(255, 255, 255, 200));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        QFont f = uiFont(t.fontSize);
        f.setUnderline(true);
        p.setFont(f);
        p.setPen(QColor(0, 0, 160));
        p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, qs(t.caption));
    }
    if (m_.hintVisible && !m_.hintText.empty()) {
        QFont f = uiFont(9, true);
        p.setFont(f);
        QRect r = toQRect(m_.hintRect);
        const int w = QFontMetrics(f).horizontalAdvance(qs(m_.hintText)) + 10;
        if (r.width() < w) r.setWidth(w);
        if (r.height() < 18) r.setHeight(18);
        if (r.right() > width() - 2) r.moveRight(width() - 2);
        p.setPen(QColor(120, 100, 0));
        p.setBrush(QColor(255, 255, 200));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, qs(m_.hintText));
    }
    if (focus_ && hasFocus()) {
        // The key focus: a thick frame around the target, seen at a glance on every fill.
        const QRect r = toQRect(targetRect(m_, focus_)).adjusted(-4, -4, 3, 3);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 255, 255), 5));
        p.drawRect(r);
        p.setPen(QPen(QColor(230, 60, 0), 3));
        p.drawRect(r);
    }
}

void StripView::mouseMoveEvent(QMouseEvent* e) {
    const Hit h = hitAt(e->position().toPoint());
    if (h.station && onStationMove)
        onStationMove(h.station);
    else if (h.transfer && onTransferMove)
        onTransferMove(h.transfer);
    else if (!h.station && !h.transfer && onBackgroundMove)
        onBackgroundMove();
}

void StripView::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const Hit h = hitAt(e->position().toPoint());
    if (h.station && onStationClick)
        onStationClick(h.station);
    else if (h.transfer && onTransferClick)
        onTransferClick(h.transfer);
}

void StripView::wheelEvent(QWheelEvent* e) {
    const int delta = e->angleDelta().y();
    if (delta != 0 && onWheel) onWheel(delta);
    e->accept();
}

bool StripView::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const Hit h = hitAt(help->pos());
        const QString keys = pickable(h) ? QStringLiteral("\n") + keysHint() : QString();
        if (h.station)
            QToolTip::showText(help->globalPos(), qs(m_.station(h.station).name) + keys, this);
        else if (h.transfer && !keys.isEmpty())
            QToolTip::showText(help->globalPos(), QStringLiteral("乗り換え") + keys, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

}  // namespace kisharin
