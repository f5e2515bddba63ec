#include "screens/placement.h"

#include <algorithm>

#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace kisharin {

namespace {

// Waits for the first exposure of a native window, then hands fn to the event loop.
class ExposeWatch : public QObject {
  public:
    ExposeWatch(QWidget* w, std::function<void()> fn) : QObject(w), widget_(w), fn_(std::move(fn)) {}

    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Expose) {
            auto* win = qobject_cast<QWindow*>(watched);
            if (win && win->isExposed()) {
                watched->removeEventFilter(this);
                fire();
            }
        }
        return false;
    }

    void fire() {
        QPointer<QWidget> w = widget_;
        auto fn = std::move(fn_);
        QTimer::singleShot(0, w, [w, fn] {
            if (w) fn();
        });
        deleteLater();
    }

  private:
    QPointer<QWidget> widget_;
    std::function<void()> fn_;
};

}  // namespace

void whenShownOnScreen(QWidget* w, std::function<void()> fn) {
    QWidget* top = w->window();
    QWindow* win = top->windowHandle();
    auto* watch = new ExposeWatch(w, std::move(fn));
    // Placed and drawn already: nothing to wait for.
    if (win && win->isExposed()) {
        watch->fire();
        return;
    }
    if (!win) {
        top->winId();  // makes the native window, so its exposure can be watched
        win = top->windowHandle();
    }
    win->installEventFilter(watch);
}

void warnOnScreen(QWidget* w, const QString& title, const QString& text,
                  const std::vector<std::string>& lines, const QString& objectName,
                  Qt::WindowModality modality) {
    QString all = text;
    for (const std::string& l : lines) all += "\n" + QString::fromStdString(l);
    whenShownOnScreen(w, [w, title, all, objectName, modality] {
        auto* box = new QMessageBox(QMessageBox::Warning, title, all, QMessageBox::Ok, w);
        box->setObjectName(objectName);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(modality);
        box->show();
    });
}

QPoint placedOver(QSize size, const QRect& over, const QRect& screen) {
    int x = over.left() + (over.width() - size.width()) / 2;
    int y = over.top() + (over.height() - size.height()) / 2;
    x = std::max(std::min(x, screen.right() + 1 - size.width()), screen.left());
    y = std::max(std::min(y, screen.bottom() + 1 - size.height()), screen.top());
    return {x, y};
}

void placeOver(QWidget* window, const QWidget* over) {
    if (!over) return;
    const QWidget* top = over->window();
    QScreen* screen = top->screen();
    if (!screen) return;
    // Room for the frame the window manager adds: the one of the window it belongs with.
    const QSize frame = top->frameGeometry().size() - top->geometry().size();
    const QPoint at = placedOver(window->size() + frame, top->frameGeometry(), screen->availableGeometry());
    window->move(at);
}

void keepAbove(QWidget* window, const QWidget* owner) {
    if (!owner) return;
    const QWidget* top = owner->window();
    // Qt hands the owner on to an X window manager for windows of the dialog type only;
    // a plain window would be left to sink behind the board.
    if (window->windowType() == Qt::Window)
        window->setWindowFlags((window->windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    top->winId();  // the native windows, made now if they are not yet
    window->winId();
    if (window->windowHandle() && top->windowHandle())
        window->windowHandle()->setTransientParent(top->windowHandle());
}

}  // namespace kisharin
