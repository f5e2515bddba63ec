#include "screens/timing.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace kisharin {

namespace {
double& timeScale() {
    static double scale = 1.0;
    return scale;
}
std::function<void()>& endHook() {
    static std::function<void()> hook;
    return hook;
}
std::function<void()>& beforeEnd() {
    static std::function<void()> keep;
    return keep;
}
}  // namespace

void setTimeScale(double scale) {
    timeScale() = scale > 0 && scale <= 1 ? scale : 1.0;
}

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
    if (beforeEnd()) std::exchange(beforeEnd(), {})();
    if (endHook()) {
        endHook()();
        return;
    }
    // Everything the game keeps is on disk already (settings, histories and slots are
    // written as they change), so the program can stop here, even deep inside a turn.
    std::fflush(nullptr);
    std::_Exit(0);
}

void setBeforeEnd(std::function<void()> keep) {
    beforeEnd() = std::move(keep);
}

void setEndProgramHook(std::function<void()> hook) {
    endHook() = std::move(hook);
}

}  // namespace kisharin
