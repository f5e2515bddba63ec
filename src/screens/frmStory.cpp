#include "screens/frmStory.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "screens/frmMap.h"
#include "screens/frmReplay.h"
#include "screens/look.h"
#include "state/error.h"

namespace kisharin {

namespace {

// The board's colours of the two players.
const QColor kPlayerColor[2] = {QColor(0, 0, 255), QColor(255, 0, 0)};
constexpr int kMapScale = 2;  // the journey map is the picker's map at twice its size

QChartView* chartView(const QString& title, const QString& unit, QLineSeries* (&series)[2], QWidget* parent) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(uiFont(12, true));
    chart->legend()->setFont(uiFont(10));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto* x = new QValueAxis;
    x->setTitleText(QStringLiteral("ターン"));
    x->setLabelFormat(QStringLiteral("%d"));
    auto* y = new QValueAxis;
    y->setTitleText(unit);
    y->setLabelFormat(QStringLiteral("%d"));
    for (QValueAxis* a : {x, y}) {
        a->setTitleFont(uiFont(10));
        a->setLabelsFont(uiFont(9));
    }
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (int p = 0; p < 2; ++p) {
        series[p] = new QLineSeries;
        series[p]->setPen(QPen(kPlayerColor[p], 2));
        chart->addSeries(series[p]);
        series[p]->attachAxis(x);
        series[p]->attachAxis(y);
    }
    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(480, 260);
    return view;
}

// Both axes of a chart fitted to its series, the values rounded out to whole steps.
void fitAxes(QChartView* view, QLineSeries* const (&series)[2]) {
    double lo = 0, hi = 1, last = 1;
    for (QLineSeries* s : series)
        for (const QPointF& p : s->points()) {
            lo = std::min(lo, p.y());
            hi = std::max(hi, p.y());
            last = std::max(last, p.x());
        }
    const auto axes = view->chart()->axes();
    for (QAbstractAxis* a : axes) {
        auto* v = qobject_cast<QValueAxis*>(a);
        if (!v) continue;
        if (a->orientation() == Qt::Horizontal) {
            v->setRange(0, last);
            v->applyNiceNumbers();
        } else {
            v->setRange(lo, hi);
            v->applyNiceNumbers();
        }
    }
}

QString modeText(const Story& s) {
    return s.shortMode ? QStringLiteral("短縮モード") : QStringLiteral("通常モード");
}

}  // namespace

FrmStory::FrmStory(std::vector<Story> stories, std::string mapDataDir, QWidget* parent)
    : QDialog(parent), stories_(std::move(stories)), mapDataDir_(std::move(mapDataDir)) {
    setObjectName(QStringLiteral("frmStory"));
    setWindowTitle(QStringLiteral("対戦の記録"));
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::WindowMaximizeButtonHint);
    setBack(this, rgb(255, 255, 240));
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(12, 10, 12, 10);

    auto* top = new QHBoxLayout;
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("lblTitle"));
    title_->setFont(uiFont(12, true));
    top->addWidget(title_, 1);
    games_ = new QComboBox(this);
    games_->setObjectName(QStringLiteral("cboGame"));
    games_->setFont(uiFont(10));
    games_->setToolTip(QStringLiteral("記録の中のゲーム"));
    for (std::size_t i = 0; i < stories_.size(); ++i)
        games_->addItem(QStringLiteral("ゲーム %1：%2 対 %3")
                            .arg(i + 1)
                            .arg(qs(stories_[i].names[0]), qs(stories_[i].names[1])));
    games_->setVisible(stories_.size() > 1);
    top->addWidget(games_);
    root->addLayout(top);
    leader_ = new QLabel(this);
    leader_->setObjectName(QStringLiteral("lblLeader"));
    leader_->setFont(titleFont(14));
    setFore(leader_, rgb(230, 80, 0));
    root->addWidget(leader_);

    auto* body = new QGridLayout;
    body->setHorizontalSpacing(12);
    charts_ = new QWidget(this);
    charts_->setObjectName(QStringLiteral("charts"));
    auto* chartBox = new QVBoxLayout(charts_);
    chartBox->setContentsMargins(0, 0, 0, 0);
    pointView_ = chartView(QStringLiteral("ポイント"), QStringLiteral("ポイント（P）"), points_, charts_);
    moneyView_ = chartView(QStringLiteral("所持金"), QStringLiteral("所持金（円）"), money_, charts_);
    chartBox->addWidget(pointView_);
    chartBox->addWidget(moneyView_);
    body->addWidget(charts_, 0, 0, 2, 1);

    mapLabel_ = new QLabel(this);
    mapLabel_->setObjectName(QStringLiteral("picJourney"));
    mapLabel_->setAlignment(Qt::AlignCenter);
    mapLabel_->setMinimumSize(kPickerWidth * 3 / 4, kPickerHeight * 3 / 4);
    mapLabel_->setToolTip(QStringLiteral("旅の道のり（青：プレイヤー1、赤：プレイヤー2、丸数字：目的地）"));
    body->addWidget(mapLabel_, 0, 1);
    auto* events = new QLabel(QStringLiteral("できごと（&E）"), this);
    events->setFont(uiFont(10, true));
    timeline_ = new QListWidget(this);
    timeline_->setObjectName(QStringLiteral("lstTimeline"));
    timeline_->setFont(uiFont(10));
    timeline_->setMinimumHeight(150);
    events->setBuddy(timeline_);
    auto* right = new QVBoxLayout;
    right->addWidget(events);
    right->addWidget(timeline_, 1);
    body->addLayout(right, 1, 1);
    body->setColumnStretch(0, 1);
    body->setColumnStretch(1, 1);
    body->setRowStretch(0, 3);
    body->setRowStretch(1, 2);
    root->addLayout(body, 1);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setFont(uiFont(10));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    connect(button(QStringLiteral("cmdSaveChart"), QStringLiteral("グラフを保存(&G)")), &QPushButton::clicked,
            this, &FrmStory::saveChart);
    connect(button(QStringLiteral("cmdSaveMap"), QStringLiteral("地図を保存(&M)")), &QPushButton::clicked,
            this, &FrmStory::saveMap);
    cmdReplay_ = button(QStringLiteral("cmdReplay"), QStringLiteral("もう一度見る(&R)"));
    cmdReplay_->setToolTip(QStringLiteral("このゲームを盤の上でもう一度見ます"));
    cmdReplay_->setVisible(false);
    connect(cmdReplay_, &QPushButton::clicked, this, &FrmStory::cmdReplay_Click);
    buttons->addStretch(1);
    QPushButton* close = button(QStringLiteral("cmdClose"), QStringLiteral("閉じる"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    root->addLayout(buttons);

    connect(games_, &QComboBox::currentIndexChanged, this, &FrmStory::showGame);
    resize(1180, 800);
    showGame(0);
}

void FrmStory::showGame(int index) {
    if (index < 0 || index >= static_cast<int>(stories_.size()) || index == shown_) return;
    shown_ = index;
    if (games_->currentIndex() != index) games_->setCurrentIndex(index);
    const Story& s = story();
    title_->setText(QStringLiteral("%1（青）対 %2（赤）　%3　%4　%5ターン")
                        .arg(qs(s.names[0]), qs(s.names[1]), qs(s.areaCaption), modeText(s))
                        .arg(static_cast<int>(s.turns.size()) - 1));
    leader_->setText(QStringLiteral("最後にリードしていたのは：") + qs(s.leaderText()) +
                     (s.end.ended ? QString() : QStringLiteral("（ゲームは途中で終わっています）")));
    for (int p = 0; p < 2; ++p) {
        QList<QPointF> pts, money;
        pts.reserve(static_cast<int>(s.turns.size()));
        money.reserve(static_cast<int>(s.turns.size()));
        for (const StoryTurn& t : s.turns) {
            pts.append(QPointF(t.turn, static_cast<double>(t.points[static_cast<std::size_t>(p)])));
            money.append(QPointF(t.turn, static_cast<double>(t.money[static_cast<std::size_t>(p)])));
        }
        points_[p]->replace(pts);
        money_[p]->replace(money);
        points_[p]->setName(qs(s.names[static_cast<std::size_t>(p)]));
        money_[p]->setName(qs(s.names[static_cast<std::size_t>(p)]));
    }
    fitAxes(pointView_, points_);
    fitAxes(moneyView_, money_);

    timeline_->clear();
    for (const StoryEntry& e : s.timeline) {
        const char* mark = e.kind == StoryEntry::Kind::Destination ? "◎"
                           : e.kind == StoryEntry::Kind::Bet       ? "＄"
                                                                   : "★";
        auto* item = new QListWidgetItem(
            QStringLiteral("%1ターン目　%2 %3").arg(e.turn).arg(qs(mark), qs(e.text)), timeline_);
        item->setForeground(kPlayerColor[std::clamp(e.player, 0, 1)]);
        item->setToolTip(item->text());  // a long entry in whole
    }
    if (s.timeline.empty()) timeline_->addItem(QStringLiteral("（できごとはありません）"));
    paintMap();
}

void FrmStory::paintMap() {
    const Story& s = story();
    map_ = QImage(kPickerWidth * kMapScale, kPickerHeight * kMapScale, QImage::Format_ARGB32_Premultiplied);
    map_.fill(Qt::white);
    QPainter p(&map_);
    p.scale(kMapScale, kMapScale);
    // The map of Japan in pale grey, so that the players' colours stand out.
    paintJapan(p, mapDataDir_, [](int) { return QColor(236, 236, 228); });
    StoryMap m;
    QString fault;
    try {
        m = storyMap(s, mapDataDir_);
    } catch (const GameError& e) {
        fault = qs(e.what());
    }
    p.setRenderHint(QPainter::Antialiasing);
    for (int who = 0; who < 2; ++who) {
        // Player 2 a hair aside, so that a line both rode shows both colours.
        const QPointF shift = who == 0 ? QPointF(-0.4, -0.4) : QPointF(0.4, 0.4);
        for (const StoryMapRide& r : m.rides[static_cast<std::size_t>(who)]) {
            QPen pen(kPlayerColor[who], r.flight ? 0.9 : 1.6);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            if (r.flight) pen.setStyle(Qt::DashLine);
            p.setPen(pen);
            QPainterPath path;
            path.moveTo(QPointF(r.points[0].x, r.points[0].y) + shift);
            for (std::size_t i = 1; i < r.points.size(); ++i)
                path.lineTo(QPointF(r.points[i].x, r.points[i].y) + shift);
            p.drawPath(path);
        }
    }
    QFont font = uiFont(7, true);
    p.setFont(font);
    for (const StoryMapMark& d : m.destinations) {
        const QRectF box(d.at.x - 5, d.at.y - 5, 10, 10);
        p.setPen(QPen(QColor(40, 40, 40), 0.8));
        p.setBrush(d.reachedBy < 0 ? QColor(255, 255, 255) : kPlayerColor[d.reachedBy].lighter(170));
        p.drawEllipse(box);
        p.setPen(d.reachedBy < 0 ? QColor(40, 40, 40) : kPlayerColor[d.reachedBy].darker(130));
        p.drawText(box, Qt::AlignCenter, QString::number(d.number));
    }
    p.setFont(uiFont(8));
    p.setPen(QColor(60, 60, 60));
    p.drawText(QRectF(260, 470, 244, 46), Qt::AlignRight | Qt::AlignBottom,
               fault.isEmpty() ? QStringLiteral("青：%1　赤：%2\n丸数字：目的地（色は到着した人）")
                                     .arg(qs(s.names[0]), qs(s.names[1]))
                               : fault);
    p.end();
    mapLabel_->setPixmap(
        QPixmap::fromImage(map_).scaled(mapLabel_->size().expandedTo(QSize(kPickerWidth, kPickerHeight)),
                                        Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void FrmStory::setRecord(std::string recordFile, std::string appDir) {
    recordFile_ = std::move(recordFile);
    appDir_ = std::move(appDir);
    cmdReplay_->setVisible(!recordFile_.empty());
}

void FrmStory::cmdReplay_Click() {
    if (!recordFile_.empty()) FrmReplay::openRecord(recordFile_, appDir_, shown_, this);
}

bool FrmStory::saveChartTo(const QString& path) const {
    return charts_->grab().save(path, "PNG");
}

bool FrmStory::saveMapTo(const QString& path) const {
    return map_.save(path, "PNG");
}

void FrmStory::saveChart() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("グラフを保存"),
                                                      QStringLiteral("対戦の記録_グラフ.png"),
                                                      QStringLiteral("PNG 画像 (*.png)"));
    if (!path.isEmpty() && !saveChartTo(path))
        QMessageBox::warning(this, QStringLiteral("対戦の記録"),
                             path + QStringLiteral(" に保存できませんでした。"));
}

void FrmStory::saveMap() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("地図を保存"),
                                                      QStringLiteral("対戦の記録_地図.png"),
                                                      QStringLiteral("PNG 画像 (*.png)"));
    if (!path.isEmpty() && !saveMapTo(path))
        QMessageBox::warning(this, QStringLiteral("対戦の記録"),
                             path + QStringLiteral(" に保存できませんでした。"));
}

FrmStory* FrmStory::openRecord(const std::string& recordFile, const std::string& appDir, QWidget* parent) {
    std::vector<Story> stories;
    try {
        stories = readStories(recordFile, appDir);
    } catch (const GameError& e) {
        QMessageBox::warning(parent, QStringLiteral("対戦の記録"),
                             QStringLiteral("対戦の記録を開けません。\n") + qs(e.what()));
        return nullptr;
    }
    if (stories.empty()) {
        QMessageBox::warning(parent, QStringLiteral("対戦の記録"),
                             qs(recordFile) + QStringLiteral(" にはゲームの記録がありません。"));
        return nullptr;
    }
    auto* w = new FrmStory(std::move(stories), appDir + "MapData/", parent);
    w->setRecord(recordFile, appDir);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    return w;
}

}  // namespace kisharin
