#include "screens/frmEnd.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <memory>

#include "screens/frmKiroku.h"
#include "screens/frmStory.h"
#include "screens/look.h"
#include "screens/timing.h"
#include "setup/results.h"

namespace kisharin {

namespace {
QLabel* label(QWidget* parent, const QString& name, const std::string& text, const QFont& font) {
    auto* l = new QLabel(qs(text), parent);
    l->setObjectName(name);
    l->setFont(font);
    return l;
}
}  // namespace

FrmEnd::FrmEnd(const GameState& s, QWidget* parent, bool endsProgram, std::string recordFile)
    : QDialog(parent), endsProgram_(endsProgram) {
    setObjectName(QStringLiteral("frmEnd"));
    setWindowTitle(QStringLiteral("終了"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setBack(this, rgb(255, 255, 240));
    const ResultsModel m = resultsModel(s);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(28, 20, 28, 20);
    grid->setHorizontalSpacing(48);
    grid->setVerticalSpacing(8);
    auto* title = label(this, QStringLiteral("Label4"), "お疲れ様でした！！", titleFont(22));
    title->setAlignment(Qt::AlignCenter);
    setFore(title, rgb(230, 80, 0));
    grid->addWidget(title, 0, 0, 1, 2);
    auto* thanks =
        label(this, QStringLiteral("Label1"), "Thank You For Your Play And Train Spirit.", uiFont(11, true));
    thanks->setAlignment(Qt::AlignCenter);
    grid->addWidget(thanks, 1, 0, 1, 2);
    for (int p = 0; p <= 1; ++p) {
        const QString n = QString::number(p);
        auto* man = label(this, "lblMan" + n, m.man[p], uiFont(14, true));
        setFore(man, p == 0 ? rgb(0, 0, 255) : rgb(255, 0, 0));
        grid->addWidget(man, 2, p);
        grid->addWidget(label(this, "lblPoint" + n, m.point[p], uiFont(11)), 3, p);
        grid->addWidget(label(this, "lblMoney" + n, m.money[p], uiFont(11)), 4, p);
        grid->addWidget(label(this, "lblArrive" + n, m.arrive[p], uiFont(11)), 5, p);
    }
    grid->addWidget(label(this, QStringLiteral("lblPlayTime"), m.playTime, uiFont(11, true)), 6, 0, 1, 2);
    auto* end = new QPushButton(QStringLiteral("終了"), this);
    end->setObjectName(QStringLiteral("cmdEnd"));
    end->setFont(uiFont(10));
    end->setFixedSize(96, 28);
    connect(end, &QPushButton::clicked, this, &QDialog::accept);
    end->setDefault(true);  // Enter ends
    grid->addWidget(end, 7, 0, 1, 2, Qt::AlignCenter);
    auto* record = new QPushButton(QStringLiteral("乗りつぶし記録"), this);
    record->setObjectName(QStringLiteral("cmdKiroku"));
    record->setFont(uiFont(10));
    record->setFixedSize(120, 28);
    record->setAutoDefault(false);
    connect(record, &QPushButton::clicked, this, [this, &s] {
        std::unique_ptr<FrmKiroku> w(
            FrmKiroku::create(s.appDir, s.historyBase, {s.playerName[0], s.playerName[1]}, &s, this));
        if (w) w->exec();
    });
    grid->addWidget(record, 8, 0, 1, 2, Qt::AlignCenter);
    record->setVisible(endsProgram_);
    // The story of the game just played, in the second column's cell of the same row: the
    // conquest record's button stays where it was.
    auto* story = new QPushButton(QStringLiteral("対戦の記録"), this);
    story->setObjectName(QStringLiteral("cmdStory"));
    story->setFont(uiFont(10));
    story->setFixedSize(96, 28);
    story->setAutoDefault(false);
    story->setVisible(endsProgram_ && !recordFile.empty());
    connect(story, &QPushButton::clicked, this, [this, file = std::move(recordFile), appDir = s.appDir] {
        FrmStory::openRecord(file, appDir, this);
    });
    grid->addWidget(story, 8, 1, Qt::AlignRight);
}

void FrmEnd::done(int r) {
    QDialog::done(r);
    if (endsProgram_) endProgram();
}

}  // namespace kisharin
