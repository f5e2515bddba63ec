#include "screens/look.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace kisharin {

namespace {
int pixels(int pointSize) {
    return (pointSize * 96 + 36) / 72;
}
}  // namespace

namespace {
// Turns every label into a plain-text one as it is made ready to be shown.
class PlainTextLabels final : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Polish)
            if (auto* label = qobject_cast<QLabel*>(watched)) label->setTextFormat(Qt::PlainText);
        return false;
    }
};
}  // namespace

void showTextsAsWritten() {
    static PlainTextLabels* filter = nullptr;
    if (filter || !qApp) return;
    filter = new PlainTextLabels;
    filter->setParent(qApp);
    qApp->installEventFilter(filter);
}

QFont uiFont(int pointSize, bool bold) {
    QFont f;
    f.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"), QStringLiteral("IPAGothic"),
                   QStringLiteral("M PLUS 1"), QStringLiteral("Noto Sans CJK JP"),
                   QStringLiteral("sans-serif")});
    f.setPixelSize(pixels(pointSize));
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QFont titleFont(int pointSize) {
    QFont f;
    f.setFamilies({QStringLiteral("M PLUS 1"), QStringLiteral("M PLUS 2"), QStringLiteral("IPAPGothic"),
                   QStringLiteral("sans-serif")});
    f.setPixelSize(pixels(pointSize));
    f.setWeight(QFont::Black);
    return f;
}

QColor qcolor(Long c) {
    return QColor(redOf(c), greenOf(c), blueOf(c));
}
QString qs(const std::string& utf8) {
    return QString::fromStdString(utf8);
}
std::string us(const QString& text) {
    return text.toStdString();
}

void setBack(QWidget* w, Long c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, qcolor(c));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void setFore(QWidget* w, Long c) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, qcolor(c));
    p.setColor(QPalette::ButtonText, qcolor(c));
    p.setColor(QPalette::Text, qcolor(c));
    w->setPalette(p);
}

int QtTextMetrics::width(const std::string& text, int pointSize) const {
    return QFontMetrics(uiFont(pointSize)).horizontalAdvance(qs(text)) + 2;
}

int QtTextMetrics::height(int pointSize) const {
    return QFontMetrics(uiFont(pointSize)).height();
}

}  // namespace kisharin
