// The destination list wraps a long entry between its parts, never inside a name or
// the prefecture in brackets, however narrow the window.
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTextLayout>

#include "screens/frmMokutekiti.h"
#include "support/railway_builder.h"

using namespace kisharin;

class DestinationWrapTest : public QObject {
    Q_OBJECT
  private slots:
    void thePrefectureInBracketsStaysOnOneLine();
};

namespace {
// Where the lines of `text` start when laid out `width` pixels wide in `font`.
QList<int> lineStarts(const QString& text, const QFont& font, int width) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);  // as a word-wrapping label lays out
    layout.setTextOption(option);
    QList<int> starts;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        starts << line.textStart();
    }
    layout.endLayout();
    return starts;
}
}  // namespace

void DestinationWrapTest::thePrefectureInBracketsStaysOnOneLine() {
    GameState s;
    static_cast<RailwayData&>(s) = testing::makeEightRegions(3);
    s.ekiName(1, 0) = "JR東北本線(黒磯～利府・盛岡)";
    s.ekiName(1, 2) = "北上";
    s.ekiPref(1, 2) = "岩手県";
    for (int d = 1; d <= 8; ++d) s.mokutekitiRosen[d] = 1, s.mokutekitiEki[d] = 2;
    FrmMokutekiti list(s, nullptr);
    auto* label = list.findChild<QLabel*>(QStringLiteral("lblMokutekiti(1)"));
    QVERIFY(label);
    const QString text = label->text();
    const qsizetype open = text.indexOf(u'（'), close = text.indexOf(u'）');
    const qsizetype station = text.indexOf(u'北');
    QVERIFY(open > 0 && close > open);
    const int full = QFontMetrics(label->font()).horizontalAdvance(text);
    const int bracket = QFontMetrics(label->font()).horizontalAdvance(text.mid(open, close - open + 1));
    for (int width = full; width >= bracket; width -= 3) {
        for (int start : lineStarts(text, label->font(), width)) {
            QVERIFY2(
                start <= open || start > close,
                qPrintable(QStringLiteral("width %1 breaks 「%2」 at %3").arg(width).arg(text).arg(start)));
            QVERIFY2(start <= station || start > station + 1,
                     qPrintable(QStringLiteral("width %1").arg(width)));
        }
    }
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DestinationWrapTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "destination_wrap_test.moc"
