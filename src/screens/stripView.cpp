#include "screens/stripView.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include "screens/look.h"

namespace kisharin {

QRect toQRect(const PixelRect& r) {
    return QRect(r.left, r.top, r.width, r.height);
}

StripView::StripView(const LineDisplayModel& model, QWidget* parent) : QWidget(parent), m_(model) {
    setObjectName(QStringLiteral("picEki"));
    setMouseTracking(true);
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
        p.setFont(uiFont(st.fontSize, true));
        p.setPen(Qt::black);
        p.drawText(toQRect(st.label), Qt::AlignCenter | Qt::TextSingleLine, qs(st.name));
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
        if (h.station)
            QToolTip::showText(help->globalPos(), qs(m_.station(h.station).name), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

}  // namespace kisharin
