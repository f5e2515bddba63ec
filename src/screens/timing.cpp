#include "screens/timing.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdlib>

namespace kisharin {

namespace {
double timeScale() {
    static const double scale = [] {
        const char* v = std::getenv("KISHARIN_TIME_SCALE");
        if (!v || !*v) return 1.0;
        const double d = std::atof(v);
        return d > 0 && d <= 1 ? d : 1.0;
    }();
    return scale;
}
std::function<void()>& endHook() {
    static std::function<void()> hook;
    return hook;
}
}  // namespace

int scaledMs(int ms) {
    const int v = static_cast<int>(ms * timeScale());
    return v < 1 ? 1 : v;
}

void waitMs(int ms) {
    QEventLoop loop;
    QTimer::singleShot(scaledMs(ms), &loop, &QEventLoop::quit);
    loop.exec();
}

void endProgram() {
    if (endHook()) {
        endHook()();
        return;
    }
    std::exit(0);
}

void setEndProgramHook(std::function<void()> hook) {
    endHook() = std::move(hook);
}

}  // namespace kisharin
