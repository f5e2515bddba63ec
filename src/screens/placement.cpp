#include "screens/placement.h"

#include <QEvent>
#include <QPointer>
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

}  // namespace kisharin
