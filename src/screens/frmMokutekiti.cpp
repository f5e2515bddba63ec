#include "screens/frmMokutekiti.h"

#include <algorithm>

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include "screens/look.h"
#include "turns/destinations.h"

namespace kisharin {

namespace {
// The text with line breaks allowed only between its parts, after "：" and at the blank
// before the prefecture: a word joiner holds every other pair of characters together.
QString breakBetweenParts(const QString& text) {
    const QChar joiner(0x2060);
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        out += text[i];
        if (i + 1 == text.size() || text[i].isHighSurrogate()) continue;
        if (text[i] == u'：' || text[i] == u'　' || text[i + 1] == u'　') continue;
        out += joiner;
    }
    return out;
}

// Wide enough for the longest line of the course, so that a long line name such as
// 「JR陸羽東線(奥の細道湯けむりライン)」 is not broken or cut; at least the usual 260
// pixels, and no wider than the screen.
int courseWidth(QTextEdit* text, const QWidget* parent) {
    const QFontMetrics fm(text->font());
    int widest = 0;
    for (const QString& line : text->toPlainText().split(u'\n'))
        widest = std::max(widest, fm.horizontalAdvance(line));
    const int chrome = 2 * 8                                                           // the layout's margins
                       + 2 * text->frameWidth()                                        // the box's frame
                       + 2 * static_cast<int>(text->document()->documentMargin()) + 2  // the text's
                       + text->style()->pixelMetric(QStyle::PM_ScrollBarExtent);       // a scroll bar
    int width = std::max(260, widest + chrome);
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) width = std::min(width, screen->availableGeometry().width() - 32);
    return width;
}

}  // namespace

FrmMokutekiti::FrmMokutekiti(const GameState& s, QWidget* parent) : QDialog(parent) {
    const DestinationListModel m = destinationListModel(s);
    setObjectName(QStringLiteral("frmMokutekiti"));
    setWindowTitle(qs(m.caption));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setBack(this, rgb(255, 255, 255));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 14, 16, 14);
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(10);
    for (const DestinationLabel& d : m.labels) {
        auto* l = new QLabel(breakBetweenParts(qs(d.text)), this);
        l->setObjectName("lblMokutekiti(" + QString::number(d.number) + ")");
        l->setFont(uiFont(d.pointSize, true));
        l->setMinimumWidth(330);
        // Long line names would widen the window past a small screen; they wrap instead.
        l->setWordWrap(true);
        setFore(l, d.color);
        grid->addWidget(l, d.row, d.column);
    }
}

FrmCourse::FrmCourse(const GameState& s, QWidget* parent) : QDialog(parent) {
    const CourseModel m = courseModel(s);
    setObjectName(QStringLiteral("frmCourse"));
    setWindowTitle(qs(m.caption));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    txtCourse_ = new QTextEdit(this);
    txtCourse_->setObjectName(QStringLiteral("txtCourse"));
    txtCourse_->setReadOnly(true);
    txtCourse_->setFont(uiFont(11));
    txtCourse_->setPlainText(m.lines.empty() ? QStringLiteral("（行ける目的地がありません）") : qs(m.text()));
    layout->addWidget(txtCourse_);
    resize(courseWidth(txtCourse_, parent), 360);
}

QString FrmCourse::courseText() const {
    return txtCourse_->toPlainText();
}

}  // namespace kisharin
