#include "screens/frmKiroku.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>
#include <memory>

#include "maps/conquest_map.h"
#include "maps/kept_map.h"
#include "maps/picker.h"
#include "screens/frmMap.h"
#include "state/error.h"

namespace kisharin {

namespace {

constexpr int kDetailLeast = 300;        // the prefecture's map fitting the page, at least, pixels
constexpr double kDetailStep = 1.5;      // a zoom step makes the map half as large again
constexpr int kDetailMostPixels = 3600;  // its side at most, in the screen's own pixels
constexpr int kBarRole = Qt::UserRole + 1;
constexpr int kIndexRole = Qt::UserRole + 2;

// Light to dark in the player's hue; nothing reached stays a plain grey.
const QColor kSteps[3][5] = {
    {{190, 215, 250}, {140, 185, 240}, {90, 150, 225}, {40, 105, 205}, {10, 55, 160}},
    {{252, 200, 185}, {250, 150, 125}, {240, 100, 80}, {210, 45, 40}, {150, 10, 20}},
    {{220, 200, 240}, {190, 160, 225}, {155, 115, 200}, {120, 70, 175}, {80, 25, 135}},
};

QString percent(int reached, int total) {
    if (total <= 0) return QStringLiteral("－");
    const double v = 100.0 * reached / total;
    // A share above nothing never shows as 0 %, nor one short of all as 100 %.
    if (reached > 0 && v < 1) return QStringLiteral("1 %未満");
    if (reached < total && v > 99) return QStringLiteral("99 %");
    return QStringLiteral("%1 %").arg(static_cast<int>(v + 0.5));
}

QString counts(const Tally& t, int who) {
    return QStringLiteral("%1 / %2").arg(t.reached[static_cast<size_t>(who)]).arg(t.total);
}

// The bar of a line's progress, drawn in the column that holds kBarRole.
class BarDelegate final : public QStyledItemDelegate {
  public:
    explicit BarDelegate(QObject* parent) : QStyledItemDelegate(parent) {}
    int who = 0;
    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(p, opt, index);
        const QVariant v = index.data(kBarRole);
        if (!v.isValid()) return;
        const QRectF box = QRectF(opt.rect).adjusted(4, 4, -4, -4);
        p->save();
        p->setPen(QColor(150, 150, 150));
        p->setBrush(QColor(240, 240, 240));
        p->drawRect(box);
        p->setPen(Qt::NoPen);
        p->setBrush(qcolor(conquestColor(who)));
        p->drawRect(
            QRectF(box.topLeft(), QSizeF(box.width() * v.toDouble(), box.height())).adjusted(1, 1, 0, 0));
        p->restore();
    }
};

}  // namespace

Long conquestColor(int who) {
    return who == 0 ? rgb(0, 0, 255) : who == 1 ? rgb(255, 0, 0) : rgb(128, 0, 160);
}

QColor shareFill(int who, int step) {
    if (step < 0) return {255, 255, 255};
    if (step == 0) return {218, 218, 214};
    return kSteps[std::clamp(who, 0, 2)][std::clamp(step, 1, 5) - 1];
}

// --- The map of Japan ----------------------------------------------------------------

JapanShareMap::JapanShareMap(const ConquestRecord& r, std::string mapDataDir, QWidget* parent)
    : QWidget(parent), r_(r), dir_(std::move(mapDataDir)) {
    setObjectName(QStringLiteral("picJapan"));
    setFixedSize(kPickerWidth, kPickerHeight);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

void JapanShareMap::setWho(int who) {
    who_ = who;
    cache_ = QImage();
    update();
}

int JapanShareMap::prefAt(const QPointF& p) const {
    const QRectF inset(kOkinawaInset.x, kOkinawaInset.y, kOkinawaInset.w, kOkinawaInset.h);
    for (const JapanPath& jp : japanPaths(dir_)) {
        // 沖縄県 only inside its inset, the others only outside it.
        if ((jp.code == 47) != inset.contains(p)) continue;
        if (jp.path.contains(p)) return jp.code;
    }
    return 0;
}

QString JapanShareMap::hint(int code) const {
    const PlaceFigures& f = r_.prefs[static_cast<size_t>(code)];
    return qs(f.name) + QStringLiteral("\n駅 ") + counts(f.stations, who_) + QStringLiteral("（") +
           percent(f.stations.reached[static_cast<size_t>(who_)], f.stations.total) +
           QStringLiteral("）\n制覇した路線 ") + counts(f.lines, who_);
}

void JapanShareMap::paintAll(QPainter& p) const {
    paintJapan(p, dir_, [this](int code) {
        const Tally& t = r_.prefs[static_cast<size_t>(code)].stations;
        return shareFill(who_, shareStep(t.reached[static_cast<size_t>(who_)], t.total));
    });
    // The legend in the open sea at the lower right.
    p.setRenderHint(QPainter::Antialiasing, false);
    const int x = 392, y = 404, rowH = 17;
    p.setPen(QColor(90, 110, 140));
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawRect(x - 8, y - 22, 118, 22 + rowH * kShareSteps + 6);
    QFont f = uiFont(10, true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(x - 4, y - 20, 112, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("到達した駅の割合"));
    p.setFont(uiFont(10));
    for (int step = 0; step < kShareSteps; ++step) {
        const int ry = y + step * rowH;
        p.setPen(QColor(110, 110, 110));
        p.setBrush(shareFill(who_, step));
        p.drawRect(x, ry + 2, 22, rowH - 5);
        p.setPen(Qt::black);
        p.drawText(QRect(x + 28, ry, 80, rowH), Qt::AlignLeft | Qt::AlignVCenter, qs(shareStepCaption(step)));
    }
}

void JapanShareMap::paintEvent(QPaintEvent*) {
    // The map changes only with the player shown; between changes it is one picture.
    if (cache_.isNull()) {
        cache_ = QImage(size() * devicePixelRatioF(), QImage::Format_RGB32);
        cache_.setDevicePixelRatio(devicePixelRatioF());
        QPainter p(&cache_);
        paintAll(p);
    }
    QPainter p(this);
    p.drawImage(0, 0, cache_);
}

void JapanShareMap::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    if (const int code = prefAt(e->position())) emit prefClicked(code);
}

bool JapanShareMap::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* he = static_cast<QHelpEvent*>(e);
        const int code = prefAt(he->pos());
        if (code)
            QToolTip::showText(he->globalPos(), hint(code), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

// --- The window ----------------------------------------------------------------------

FrmKiroku::FrmKiroku(ConquestInputs inputs, const std::array<std::string, 2>& names, std::string mapDataDir,
                     QWidget* parent)
    : QDialog(parent), in_(std::move(inputs)), names_(names), mapDataDir_(std::move(mapDataDir)) {
    record_ = conquestRecord(in_.railway, in_.visited[0], in_.visited[1]);
    setObjectName(QStringLiteral("frmKiroku"));
    setWindowTitle(QStringLiteral("乗りつぶし記録"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setBack(this, rgb(246, 250, 255));
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(10, 8, 10, 10);

    // Whose record, and its figures for the whole country.
    auto* top = new QHBoxLayout;
    auto* title = new QLabel(QStringLiteral("乗りつぶし記録"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    title->setFont(titleFont(18));
    setFore(title, rgb(0, 80, 200));
    top->addWidget(title);
    top->addSpacing(16);
    auto* group = new QButtonGroup(this);
    for (int w = 0; w < 3; ++w) {
        const QString caption = w < 2 ? qs(names_[static_cast<size_t>(w)]) : QStringLiteral("二人合わせて");
        optWho_[w] = new QRadioButton(caption, this);
        optWho_[w]->setObjectName(QStringLiteral("optWho(%1)").arg(w));
        optWho_[w]->setFont(uiFont(11, true));
        setFore(optWho_[w], conquestColor(w));
        group->addButton(optWho_[w], w);
        top->addWidget(optWho_[w]);
    }
    optWho_[0]->setChecked(true);
    connect(group, &QButtonGroup::idClicked, this, &FrmKiroku::setWho);
    top->addStretch();
    root->addLayout(top);
    lblSummary_ = new QLabel(this);
    lblSummary_->setObjectName(QStringLiteral("lblSummary"));
    lblSummary_->setFont(uiFont(12, true));
    root->addWidget(lblSummary_);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabPages"));
    tabs_->setFont(uiFont(10));
    root->addWidget(tabs_, 1);

    // Page 1: the map and the figures per region and prefecture.
    auto* mapPage = new QWidget;
    auto* mapRow = new QHBoxLayout(mapPage);
    japan_ = new JapanShareMap(record_, mapDataDir_, mapPage);
    mapRow->addWidget(japan_, 0, Qt::AlignTop);
    lvwPlaces_ = new QTreeWidget(mapPage);
    lvwPlaces_->setObjectName(QStringLiteral("lvwPlaces"));
    lvwPlaces_->setFont(uiFont(10));
    lvwPlaces_->setHeaderLabels({QStringLiteral("地方・都道府県"), QStringLiteral("駅"),
                                 QStringLiteral("割合"), QStringLiteral("制覇した路線")});
    lvwPlaces_->setRootIsDecorated(true);
    lvwPlaces_->setUniformRowHeights(true);
    mapRow->addWidget(lvwPlaces_, 1);
    tabs_->addTab(mapPage, QStringLiteral("日本地図"));
    connect(japan_, &JapanShareMap::prefClicked, this, &FrmKiroku::openPrefecture);
    connect(lvwPlaces_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (const int code = item->data(0, kIndexRole).toInt()) openPrefecture(code);
    });

    // Page 2: the lines, and the stations of the one chosen.
    auto* linePage = new QWidget;
    auto* lineRow = new QHBoxLayout(linePage);
    auto* left = new QVBoxLayout;
    auto* filters = new QHBoxLayout;
    cboRegion_ = new QComboBox(linePage);
    cboRegion_->setObjectName(QStringLiteral("cboRegion"));
    cboRegion_->addItem(QStringLiteral("すべての地方"), 0);
    for (int g = 1; g <= kRegionCount; ++g)
        cboRegion_->addItem(qs(record_.regions[static_cast<size_t>(g)].name), g);
    cboPref_ = new QComboBox(linePage);
    cboPref_->setObjectName(QStringLiteral("cboPref"));
    filters->addWidget(new QLabel(QStringLiteral("絞り込み："), linePage));
    filters->addWidget(cboRegion_);
    filters->addWidget(cboPref_);
    filters->addStretch();
    left->addLayout(filters);
    lvwLines_ = new QTreeWidget(linePage);
    lvwLines_->setObjectName(QStringLiteral("lvwLines"));
    lvwLines_->setFont(uiFont(10));
    lvwLines_->setRootIsDecorated(false);
    lvwLines_->setUniformRowHeights(true);
    lvwLines_->setHeaderLabels({QStringLiteral("路線"), QStringLiteral("到達/駅"), QStringLiteral("残り"),
                                QStringLiteral("進み具合")});
    lvwLines_->setItemDelegateForColumn(3, new BarDelegate(lvwLines_));
    lvwLines_->header()->resizeSection(0, 300);
    lvwLines_->header()->resizeSection(1, 70);
    lvwLines_->header()->resizeSection(2, 50);
    left->addWidget(lvwLines_, 1);
    lineRow->addLayout(left, 3);
    auto* right = new QVBoxLayout;
    lblLine_ = new QLabel(QStringLiteral("路線を選ぶと駅が並びます"), linePage);
    lblLine_->setObjectName(QStringLiteral("lblLine"));
    lblLine_->setFont(uiFont(11, true));
    lblLine_->setWordWrap(true);
    right->addWidget(lblLine_);
    lstStations_ = new QListWidget(linePage);
    lstStations_->setObjectName(QStringLiteral("lstStations"));
    lstStations_->setFont(uiFont(11));
    right->addWidget(lstStations_, 1);
    lineRow->addLayout(right, 2);
    tabs_->addTab(linePage, QStringLiteral("路線"));
    connect(cboRegion_, &QComboBox::activated, this,
            [this] { setFilter(cboRegion_->currentData().toInt(), 0); });
    connect(cboPref_, &QComboBox::activated, this,
            [this] { setFilter(cboRegion_->currentData().toInt(), cboPref_->currentData().toInt()); });
    connect(lvwLines_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) openLine(item->data(0, kIndexRole).toInt());
    });

    // Page 3: one prefecture's railway map, fitting the page at first; the wheel, the
    // buttons beside the caption and a drag of the map zoom and move it.
    auto* detailPage = new QWidget;
    auto* detailCol = new QVBoxLayout(detailPage);
    auto* detailTop = new QHBoxLayout;
    lblDetail_ =
        new QLabel(QStringLiteral("日本地図で都道府県をクリックすると、その路線図が開きます"), detailPage);
    lblDetail_->setObjectName(QStringLiteral("lblDetail"));
    lblDetail_->setFont(uiFont(11, true));
    lblDetail_->setWordWrap(true);
    detailTop->addWidget(lblDetail_, 1);
    const auto zoomButton = [&](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, detailPage);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(uiFont(10));
        b->setFixedWidth(56);  // the caption keeps its one line beside them
        b->setEnabled(false);
        detailTop->addWidget(b);
        return b;
    };
    cmdDetailOut_ = zoomButton("cmdDetailOut", QStringLiteral("縮小"));
    cmdDetailIn_ = zoomButton("cmdDetailIn", QStringLiteral("拡大"));
    cmdDetailWhole_ = zoomButton("cmdDetailWhole", QStringLiteral("全体"));
    detailCol->addLayout(detailTop);
    scrDetail_ = new QScrollArea(detailPage);
    scrDetail_->setObjectName(QStringLiteral("scrDetail"));
    picDetail_ = new QLabel;
    picDetail_->setObjectName(QStringLiteral("picDetail"));
    picDetail_->installEventFilter(this);
    scrDetail_->setWidget(picDetail_);
    scrDetail_->setWidgetResizable(false);
    scrDetail_->setAlignment(Qt::AlignCenter);
    scrDetail_->viewport()->installEventFilter(this);
    detailCol->addWidget(scrDetail_, 1);
    tabs_->addTab(detailPage, QStringLiteral("都道府県の路線図"));
    const auto middle = [this] { return scrDetail_->viewport()->rect().center(); };
    connect(cmdDetailIn_, &QPushButton::clicked, this, [=, this] { zoomDetail(detailZoom_ + 1, middle()); });
    connect(cmdDetailOut_, &QPushButton::clicked, this, [=, this] { zoomDetail(detailZoom_ - 1, middle()); });
    connect(cmdDetailWhole_, &QPushButton::clicked, this, [this] { zoomDetail(0); });

    fillPrefFilter();
    refresh();
    resize(1000, 660);
}

void FrmKiroku::setWho(int who) {
    who_ = std::clamp(who, 0, 2);
    if (!optWho_[who_]->isChecked()) optWho_[who_]->setChecked(true);
    refresh();
}

void FrmKiroku::refresh() {
    const size_t w = static_cast<size_t>(who_);
    lblSummary_->setText(
        QStringLiteral("駅 %1（%2）　　制覇した路線 %3（%4）　　※飛行機の路線は制覇の数に入りません")
            .arg(counts(record_.all.stations, who_),
                 percent(record_.all.stations.reached[w], record_.all.stations.total),
                 counts(record_.all.lines, who_),
                 percent(record_.all.lines.reached[w], record_.all.lines.total)));
    setFore(lblSummary_, conquestColor(who_));
    japan_->setWho(who_);
    static_cast<BarDelegate*>(lvwLines_->itemDelegateForColumn(3))->who = who_;
    fillPlaces();
    fillLines();
    if (shownLine_ >= 0) openLine(shownLine_);
    drawDetail();
}

void FrmKiroku::fillPlaces() {
    lvwPlaces_->clear();
    const size_t w = static_cast<size_t>(who_);
    const auto row = [&](const PlaceFigures& f, QTreeWidgetItem* item) {
        item->setText(0, qs(f.name));
        item->setText(1, counts(f.stations, who_));
        item->setText(2, percent(f.stations.reached[w], f.stations.total));
        item->setText(3, counts(f.lines, who_));
        for (int c = 1; c <= 3; ++c) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        const int step = shareStep(f.stations.reached[w], f.stations.total);
        item->setBackground(2, shareFill(who_, step));
        if (step >= 4) item->setForeground(2, Qt::white);
    };
    for (int g = 1; g <= kRegionCount; ++g) {
        auto* region = new QTreeWidgetItem(lvwPlaces_);
        row(record_.regions[static_cast<size_t>(g)], region);
        QFont bold = uiFont(10, true);
        region->setFont(0, bold);
        for (int code = 1; code <= kPrefCount; ++code) {
            if (prefectureRegion(code) != g) continue;
            auto* pref = new QTreeWidgetItem(region);
            row(record_.prefs[static_cast<size_t>(code)], pref);
            pref->setData(0, kIndexRole, code);
            pref->setToolTip(0, QStringLiteral("ダブルクリックで路線図を開きます"));
        }
        region->setExpanded(true);
    }
    const int widths[4] = {122, 92, 64, 84};
    for (int c = 0; c < 4; ++c) lvwPlaces_->header()->resizeSection(c, widths[c]);
}

void FrmKiroku::fillPrefFilter() {
    const int region = cboRegion_->currentData().toInt();
    cboPref_->clear();
    cboPref_->addItem(QStringLiteral("すべての都道府県"), 0);
    for (int code = 1; code <= kPrefCount; ++code)
        if (region == 0 || prefectureRegion(code) == region)
            cboPref_->addItem(qs(prefectureCaption(code)), code);
}

void FrmKiroku::setFilter(int region, int prefCode) {
    const int r = cboRegion_->findData(region);
    if (r >= 0 && r != cboRegion_->currentIndex()) {
        cboRegion_->setCurrentIndex(r);
        fillPrefFilter();
    } else if (prefCode == 0) {
        fillPrefFilter();
    }
    const int p = cboPref_->findData(prefCode);
    cboPref_->setCurrentIndex(p >= 0 ? p : 0);
    fillLines();
}

void FrmKiroku::fillLines() {
    const QSignalBlocker quiet(lvwLines_);
    lvwLines_->clear();
    const size_t w = static_cast<size_t>(who_);
    const std::vector<int> order =
        lineOrder(record_, who_, cboRegion_->currentData().toInt(), cboPref_->currentData().toInt());
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(order.size()));
    for (const int i : order) {
        const LineFigures& lf = record_.lines[static_cast<size_t>(i)];
        auto* item = new QTreeWidgetItem;
        item->setText(0, qs(lf.name));
        item->setData(0, kIndexRole, i);
        item->setText(1, QStringLiteral("%1 / %2").arg(lf.visited[w]).arg(lf.positions));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        if (lf.conquered(who_)) {
            item->setText(2, QStringLiteral("制覇"));
            item->setForeground(2, qcolor(conquestColor(who_)));
        } else {
            item->setText(2, QString::number(lf.left(who_)));
        }
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(3, kBarRole, lf.positions ? static_cast<double>(lf.visited[w]) / lf.positions : 0.0);
        if (lf.air) item->setToolTip(0, QStringLiteral("飛行機の路線は制覇になりません"));
        items.push_back(item);
    }
    lvwLines_->addTopLevelItems(items);
}

void FrmKiroku::openLine(int index) {
    if (index < 0 || static_cast<size_t>(index) >= record_.lines.size()) return;
    shownLine_ = index;
    const LineFigures& lf = record_.lines[static_cast<size_t>(index)];
    const size_t w = static_cast<size_t>(who_);
    lblLine_->setText(qs(lf.name) + QStringLiteral("\n到達 %1 / %2 駅　残り %3 駅")
                                        .arg(lf.visited[w])
                                        .arg(lf.positions)
                                        .arg(lf.left(who_)));
    lstStations_->clear();
    const QColor mine = qcolor(conquestColor(who_));
    for (int pos = 1; pos <= lf.positions; ++pos) {
        const bool a = in_.visited[0](lf.line, pos), b = in_.visited[1](lf.line, pos);
        const bool reached = who_ == 0 ? a : who_ == 1 ? b : (a || b);
        auto* item = new QListWidgetItem((reached ? QStringLiteral("★ ") : QStringLiteral("　 ")) +
                                             qs(in_.railway.ekiName(lf.line, pos)) + QStringLiteral("（") +
                                             qs(in_.railway.ekiPref(lf.line, pos)) + QStringLiteral("）"),
                                         lstStations_);
        item->setForeground(reached ? mine : QColor(140, 140, 140));
    }
}

void FrmKiroku::openPrefecture(int code) {
    if (code < 1 || code > kPrefCount) return;
    if (code != detailPref_) detailZoom_ = 0;
    detailPref_ = code;
    tabs_->setCurrentIndex(2);
    drawDetail();
}

void FrmKiroku::zoomDetail(int zoom) {
    zoomDetail(zoom, scrDetail_->viewport()->rect().center());
}

void FrmKiroku::zoomDetail(int zoom, QPoint at) {
    zoom = std::clamp(zoom, 0, kDetailZoomMax);
    if (!detailPref_ || zoom == detailZoom_ || (zoom > detailZoom_ && detailSizeAt(zoom) == detailSize_))
        return;
    // The share of the map under `at`, kept there at the new size.
    const QPointF on = QPointF(at - picDetail_->pos()) / std::max(detailSize_, 1);
    const int before = detailSize_;
    detailZoom_ = zoom;
    drawDetail();
    if (detailSize_ == before) return;
    scrDetail_->horizontalScrollBar()->setValue(qRound(on.x() * detailSize_ - at.x()));
    scrDetail_->verticalScrollBar()->setValue(qRound(on.y() * detailSize_ - at.y()));
}

int FrmKiroku::detailSizeAt(int zoom) {
    // The whole map fits the page; each step makes it half as large again, up to a picture
    // the screen can keep.
    const int fit = detailFit();
    const int most = std::max(fit, static_cast<int>(kDetailMostPixels / picDetail_->devicePixelRatioF()));
    return std::min(most, static_cast<int>(fit * std::pow(kDetailStep, zoom)));
}

int FrmKiroku::detailFit() {
    // The page as it is laid out, also before the window or the page is first shown (a
    // page behind another is laid out only when it comes to the front).
    layout()->activate();
    QWidget* page = tabs_->widget(2);
    if (QWidget* stack = page->parentWidget(); stack && page->geometry() != stack->contentsRect())
        page->setGeometry(stack->contentsRect());
    page->layout()->activate();
    const QSize room = scrDetail_->maximumViewportSize();
    return std::max(kDetailLeast, std::min(room.width(), room.height()));
}

void FrmKiroku::drawDetail() {
    const int code = detailPref_;
    if (!code) return;
    const std::string& pref = prefectureCaption(code);
    const PlaceFigures& f = record_.prefs[static_cast<size_t>(code)];
    const size_t w = static_cast<size_t>(who_);
    QString caption = qs(pref) + QStringLiteral("の路線図　駅 ") + counts(f.stations, who_) +
                      QStringLiteral("（") + percent(f.stations.reached[w], f.stations.total) +
                      QStringLiteral("）　制覇した路線 ") + counts(f.lines, who_) +
                      QStringLiteral("　　★色つき：到達した駅　灰色：まだの駅");
    detailSize_ = detailSizeAt(detailZoom_);
    // Drawn at the screen's resolution, so that lines and names stay sharp on a scaled screen.
    const qreal dpr = picDetail_->devicePixelRatioF();
    QImage image(QSize(detailSize_, detailSize_) * dpr, QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::white);
    try {
        // The prefecture read last is kept (often the one just looked at on the board's map).
        const std::shared_ptr<const MapData> d = readKeptMap(mapDataDir_, pref);
        detailPic_ = conquestMapPicture(
            *d, detailSize_, metrics_,
            [&](const std::string& name) {
                const StationFigures* st = record_.station(pref, name);
                return st && st->reached[w];
            },
            conquestColor(who_));
        // Painted as the detailed map paints a frame: in bands on every processor.
        MapSheet sheet;
        sheet.build(detailPic_);
        QPainter p(&image);
        sheet.paint(p, QRect(0, 0, detailSize_, detailSize_));
    } catch (const GameError& e) {
        detailPic_ = {};
        caption = qs(pref) + QStringLiteral("の路線図を開けませんでした：") + qs(e.what());
    }
    lblDetail_->setText(caption);
    setFore(lblDetail_, conquestColor(who_));
    picDetail_->setPixmap(QPixmap::fromImage(image));
    picDetail_->resize(detailSize_, detailSize_);
    const bool shown = !detailPic_.labels.empty() || !detailPic_.lines.empty();
    cmdDetailIn_->setEnabled(shown && detailZoom_ < kDetailZoomMax &&
                             detailSizeAt(detailZoom_ + 1) > detailSize_);
    cmdDetailOut_->setEnabled(shown && detailZoom_ > 0);
    cmdDetailWhole_->setEnabled(shown && detailZoom_ > 0);
}

QString FrmKiroku::detailHint(const QPoint& at) const {
    const MapLabel* l = detailPic_.labelAt(at.x(), at.y());
    if (!l) return {};
    return qs(l->caption) + QStringLiteral("（") + qs(l->hint) + QStringLiteral("）") +
           (l->star ? QStringLiteral("　到達済み") : QStringLiteral("　まだ"));
}

bool FrmKiroku::eventFilter(QObject* watched, QEvent* e) {
    if (watched == scrDetail_->viewport() && detailPref_) {
        switch (e->type()) {
            case QEvent::Wheel: {
                // The wheel zooms around the pointer, as on the detailed map.
                auto* we = static_cast<QWheelEvent*>(e);
                detailWheel_ += we->angleDelta().y();
                const int notches = detailWheel_ / 120;
                detailWheel_ -= notches * 120;
                if (notches) zoomDetail(detailZoom_ + notches, we->position().toPoint());
                return true;
            }
            case QEvent::Resize:
                // The whole map keeps fitting the page.
                if (detailZoom_ == 0 && detailFit() != detailSize_) drawDetail();
                break;
            default:
                break;
        }
    }
    if (watched == picDetail_) {
        // The map held with the left button moves with the pointer.
        if (e->type() == QEvent::MouseButtonPress) {
            auto* me = static_cast<QMouseEvent*>(e);
            if (me->button() == Qt::LeftButton) {
                detailHeld_ = me->globalPosition().toPoint();
                detailHolding_ = true;
                picDetail_->setCursor(Qt::ClosedHandCursor);
                return true;
            }
        } else if (e->type() == QEvent::MouseMove && detailHolding_) {
            const QPoint now = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
            const QPoint d = now - detailHeld_;
            detailHeld_ = now;
            scrDetail_->horizontalScrollBar()->setValue(scrDetail_->horizontalScrollBar()->value() - d.x());
            scrDetail_->verticalScrollBar()->setValue(scrDetail_->verticalScrollBar()->value() - d.y());
            return true;
        } else if (e->type() == QEvent::MouseButtonRelease && detailHolding_) {
            detailHolding_ = false;
            picDetail_->unsetCursor();
            return true;
        }
    }
    if (watched == picDetail_ && e->type() == QEvent::ToolTip) {
        auto* he = static_cast<QHelpEvent*>(e);
        const QString hint = detailHint(he->pos());
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(he->globalPos(), hint, picDetail_);
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

FrmKiroku* FrmKiroku::create(const std::string& appDir, const std::string& historyBase,
                             const std::array<std::string, 2>& names, const RailwayData* railway,
                             QWidget* parent) {
    ConquestInputs in;
    try {
        in = railway ? readConquestHistories(*railway, historyBase)
                     : readConquestInputs(appDir + "GameData/駅.txt", historyBase);
    } catch (const GameError& e) {
        QMessageBox::warning(parent, QStringLiteral("乗りつぶし記録"),
                             QStringLiteral("乗りつぶし記録を開けません。\n") + qs(e.what()));
        return nullptr;
    }
    // A damaged history was read as far as it goes; the player learns what was left out.
    for (const std::string& n : in.notices)
        QMessageBox::warning(parent, QStringLiteral("乗りつぶし記録"), qs(n));
    return new FrmKiroku(std::move(in), names, appDir + "MapData/", parent);
}

void FrmKiroku::showFromBoard(const GameState& s, QWidget* board) {
    static QPointer<FrmKiroku> open;
    if (!open) {
        open = create(s.appDir, s.historyBase, {s.playerName[0], s.playerName[1]}, &s, nullptr);
        if (!open) return;
        open->setAttribute(Qt::WA_DeleteOnClose);
        if (board) QObject::connect(board, &QObject::destroyed, open, &QObject::deleteLater);
    }
    open->show();
    open->raise();
    open->activateWindow();
}

}  // namespace kisharin
