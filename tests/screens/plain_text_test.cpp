// Names are shown as the players wrote them: text that looks like markup is not taken
// for it, on the board or in a message box.
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "screen_support.h"
#include "screens/desktopGame.h"
#include "screens/frmInit.h"
#include "screens/frmMain.h"

using namespace kisharin;
using namespace kisharin::testing;

class PlainTextTest : public QObject {
    Q_OBJECT
  private slots:
    void namesThatLookLikeMarkupAreShownAsWritten();
};

void PlainTextTest::namesThatLookLikeMarkupAreShownAsWritten() {
    DesktopGame game;
    QVERIFY(game.start());
    QVERIFY(game.init()->loadProblems().empty());
    QTest::mouseClick(game.init()->findChild<QPushButton*>(QStringLiteral("cmdGo")), Qt::LeftButton);
    QTRY_VERIFY(game.board());
    FrmMain* board = game.board();
    QTRY_VERIFY(game.game().line.stationCount() > 0);
    auto* caption = board->findChild<QLabel*>(QStringLiteral("lblManName"));
    QVERIFY(caption->text().startsWith(QStringLiteral("<b>さんの番です")));
    QTRY_COMPARE(caption->textFormat(), Qt::PlainText);
    // Shown as written: as wide as the text with its angle brackets.
    const int written = caption->fontMetrics().horizontalAdvance(caption->text());
    QVERIFY2(caption->sizeHint().width() >= written,
             qPrintable(QString::number(caption->sizeHint().width())));
    for (QLabel* l : board->findChildren<QLabel*>()) QCOMPARE(l->textFormat(), Qt::PlainText);

    // A message box with an address holding markup shows it as written too.
    game.state().webMapUrl = "<i>no map</i>";
    Qt::TextFormat format = Qt::AutoText;
    QString shown;
    whenModal([&](QWidget* box) {
        for (QLabel* l : box->findChildren<QLabel*>())
            if (l->text().contains(QStringLiteral("<i>"))) format = l->textFormat(), shown = l->text();
        press(box, QMessageBox::Ok);
    });
    QTest::mouseClick(board->findChild<QPushButton*>(QStringLiteral("cmdMap")), Qt::LeftButton);
    QTRY_VERIFY(!shown.isEmpty());
    QCOMPARE(format, Qt::PlainText);
}

int main(int argc, char** argv) {
    TestFolders f(linkedRailway(6), {"<b>", "<i>", " 0 ", " 1 ", " 1 ", " 0 "});
    QApplication app(argc, argv);
    PlainTextTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "plain_text_test.moc"
