#include "screens/frmMap.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include <map>

#include "maps/picker.h"
#include "screens/frmOneMap.h"
#include "screens/look.h"
#include "screens/placement.h"

namespace kisharin {

namespace {

QPointer<FrmMap> theViewer;

// Soft colours of the eight regions, far enough apart to tell neighbours from each other.
const QColor kRegionFill[9] = {
    QColor(255, 255, 255), QColor(196, 226, 160),  // 北海道
    QColor(168, 214, 230),                         // 東北
    QColor(242, 206, 150),                         // 関東
    QColor(230, 200, 226),                         // 中部
    QColor(250, 236, 150),                         // 近畿
    QColor(180, 224, 196),                         // 中国
    QColor(244, 186, 176),                         // 四国
    QColor(204, 196, 240),                         // 九州・沖縄
};

class JapanPicture : public QWidget {
  public:
    JapanPicture(const std::string& dir, QWidget* parent) : QWidget(parent), dir_(dir) {
        setObjectName(QStringLiteral("Picture1"));
        setFixedSize(kPickerWidth, kPickerHeight);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, japan(devicePixelRatio()));
    }

  private:
    // The map of Japan never changes: it is painted once at the screen's resolution (crisp
    // on a screen scaled x2) and kept, so that the picker opens with a copy of it.
    const QImage& japan(qreal ratio) const {
        static std::map<std::pair<std::string, qreal>, QImage> kept;
        QImage& image = kept[{dir_, ratio}];
        if (image.isNull()) {
            image = QImage(QSize(kPickerWidth, kPickerHeight) * ratio, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            QPainter p(&image);
            paintJapan(p, dir_);
        }
        return image;
    }

    std::string dir_;
};

// A prefecture's name; a click picks it.
class PrefLabel : public QLabel {
  public:
    PrefLabel(FrmMap* form, int code, QWidget* parent)
        : QLabel(qs(prefectureCaption(code)), parent), form_(form), code_(code) {
        setObjectName(QStringLiteral("lblPref%1").arg(code));
        QFont f = uiFont(9);
        f.setPixelSize(kPickerLabelPixels);
        setFont(f);
        setAlignment(Qt::AlignCenter);
        setAutoFillBackground(true);
        setBack(this, rgb(255, 224, 192));
        const PickerRect r = pickerLabel(code);
        setGeometry(r.x, r.y, r.w, r.h);
        setCursor(Qt::PointingHandCursor);
        setToolTip(text());
    }

  protected:
    void enterEvent(QEnterEvent* e) override {
        form_->lblPref_Hover(code_);
        QLabel::enterEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            form_->lblPref_Click(code_);
    }

  private:
    FrmMap* form_;
    int code_;
};

}  // namespace

const std::vector<JapanPath>& japanPaths(const std::string& mapDataDir) {
    static std::map<std::string, std::vector<JapanPath>> cache;
    const auto it = cache.find(mapDataDir);
    if (it != cache.end()) return it->second;
    std::vector<JapanPath> out;
    for (const PrefOutline& pref : japanOutline(mapDataDir).prefs) {
        JapanPath jp{pref.code, pref.region, QPainterPath()};
        jp.path.setFillRule(Qt::OddEvenFill);
        for (const auto& ring : pref.rings) {
            QPolygonF poly;
            poly.reserve(static_cast<int>(ring.size()));
            for (const PickerPoint& q : ring) poly << QPointF(q.x, q.y);
            jp.path.addPolygon(poly);
            jp.path.closeSubpath();
        }
        out.push_back(std::move(jp));
    }
    return cache.emplace(mapDataDir, std::move(out)).first->second;
}

void paintJapan(QPainter& p, const std::string& mapDataDir, const std::function<QColor(int code)>& fill) {
    p.fillRect(0, 0, kPickerWidth, kPickerHeight, QColor(214, 234, 248));  // the sea
    p.setRenderHint(QPainter::Antialiasing);
    // The inset of 沖縄県 first, so that its frame sits under the islands.
    const QRectF inset(kOkinawaInset.x + 0.5, kOkinawaInset.y + 0.5, kOkinawaInset.w, kOkinawaInset.h);
    p.setPen(QPen(QColor(90, 110, 140), 1));
    p.setBrush(QColor(224, 240, 252));
    p.drawRect(inset);
    for (const JapanPath& pref : japanPaths(mapDataDir)) {
        if (pref.code == 47) {
            p.save();
            p.setClipRect(inset);
        }
        p.setPen(QPen(QColor(110, 110, 110), 0.6));
        p.setBrush(fill ? fill(pref.code) : kRegionFill[pref.region]);
        p.drawPath(pref.path);
        if (pref.code == 47) p.restore();
    }
}

FrmMap::FrmMap(GameState& s, const QString& tag, QPushButton* boardButton, QWidget* parent)
    : QDialog(parent), s_(s), boardButton_(boardButton) {
    setObjectName(QStringLiteral("frmMap"));
    setWindowTitle(QStringLiteral("路線図"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setProperty("tag", tag);
    auto* picture = new JapanPicture(s.mapDataDir, this);
    picture->move(0, 0);
    for (int code = 1; code <= kPrefCount; ++code) lblPref_[code] = new PrefLabel(this, code, picture);
    lblMessage_ = new QLabel(QStringLiteral("※移動したくない場合は「×」で閉じてください。"), this);
    lblMessage_->setObjectName(QStringLiteral("lblMessage"));
    lblMessage_->setFont(uiFont(12));
    setFore(lblMessage_, rgb(255, 0, 0));
    lblMessage_->setGeometry(8, kPickerHeight + 4, kPickerWidth - 16, 24);
    lblMessage_->hide();
    setFixedSize(kPickerWidth, kPickerHeight + 32);
    keyPref_ = pickerStart(s_);
}

FrmMap* FrmMap::viewing() {
    return theViewer;
}

FrmMap* FrmMap::showViewing(GameState& s, QPushButton* boardButton, QWidget* parent) {
    if (!theViewer) {
        // Not a child of the board, so that the board's being disabled for the computer's
        // turn leaves it usable; it goes when the board goes.
        theViewer = new FrmMap(s, QString(), boardButton, nullptr);
        theViewer->setAttribute(Qt::WA_DeleteOnClose);
        if (parent) {
            QObject::connect(parent, &QObject::destroyed, theViewer, &QObject::deleteLater);
            // Over the board, wholly on the screen, and kept above it like the detailed map;
            // placed at the viewing picker's size (the map alone, no notice under it).
            theViewer->setFixedSize(kPickerWidth, kPickerHeight);
            placeOver(theViewer, parent);
            keepAbove(theViewer, parent);
        }
    }
    theViewer->show();
    theViewer->raise();
    theViewer->activateWindow();
    return theViewer;
}

std::string FrmMap::pickForMove(GameState& s, QWidget* parent) {
    if (theViewer) theViewer->close();
    mapPick().pickedPref.clear();
    FrmMap w(s, QStringLiteral("God"), nullptr, parent);
    w.exec();
    return mapPick().pickedPref;
}

void FrmMap::showEvent(QShowEvent* e) {
    const bool god = property("tag").toString() == QStringLiteral("God");
    lblMessage_->setVisible(god);
    // The notice gets its own strip under the map; the viewing picker is the map alone.
    setFixedSize(kPickerWidth, kPickerHeight + (god ? 32 : 0));
    QDialog::showEvent(e);
}

void FrmMap::lblPref_Hover(int code) {
    // A click on a name comes a moment after the pointer came onto it: the map is read
    // and its lines painted meanwhile.
    if (property("tag").toString() != QStringLiteral("God"))
        readMapAhead(s_.mapDataDir, prefectureCaption(code), devicePixelRatio());
}

void FrmMap::lblPref_Click(int code) {
    const bool god = property("tag").toString() == QStringLiteral("God");
    const bool open = kisharin::lblPref_Click(code, god);
    closingByPick_ = true;
    close();
    closingByPick_ = false;
    if (open) FrmOneMap::showPicked(s_, boardButton_);
}

void FrmMap::moveKey(PickerKey k) {
    QLabel* was = lblPref_[keyPref_];
    // The first key shows where the keys stand; the next ones move.
    if (keysUsed_) keyPref_ = pickerKeyMove(keyPref_, k);
    keysUsed_ = true;
    setBack(was, rgb(255, 224, 192));
    was->setFrameShape(QFrame::NoFrame);
    QLabel* now = lblPref_[keyPref_];
    setBack(now, rgb(255, 160, 64));
    now->setFrameShape(QFrame::Box);
}

void FrmMap::keyPressEvent(QKeyEvent* e) {
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier && !(mods == Qt::ShiftModifier && e->key() == Qt::Key_Backtab)) {
        QDialog::keyPressEvent(e);
        return;
    }
    switch (e->key()) {
        case Qt::Key_Left:
            moveKey(PickerKey::Left);
            break;
        case Qt::Key_Right:
            moveKey(PickerKey::Right);
            break;
        case Qt::Key_Up:
            moveKey(PickerKey::Up);
            break;
        case Qt::Key_Down:
            moveKey(PickerKey::Down);
            break;
        case Qt::Key_Tab:
            moveKey(PickerKey::Next);
            break;
        case Qt::Key_Backtab:
            moveKey(PickerKey::Previous);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            lblPref_Click(keyPref_);
            break;
        case Qt::Key_Escape:
            close();
            break;
        default:
            QDialog::keyPressEvent(e);
            return;
    }
    e->accept();
}

bool FrmMap::focusNextPrevChild(bool next) {
    // Tab moves between the names, the picker having no other control to go to.
    moveKey(next ? PickerKey::Next : PickerKey::Previous);
    return true;
}

void FrmMap::closeEvent(QCloseEvent* e) {
    // Closed by the player (×): nothing was picked.
    if (!closingByPick_) mapPick().pickedPref.clear();
    QDialog::closeEvent(e);
}

void FrmMap::reject() {
    if (!closingByPick_) mapPick().pickedPref.clear();
    QDialog::reject();
}

}  // namespace kisharin
