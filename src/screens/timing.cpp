#include "screens/timing.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
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

void showNow(QWidget* w) {
    if (w) w->repaint();
    // Qt sends its requests to the X server from its event loop; the hold takes none, so
    // they are sent here (the board's move, what was painted).
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb")) return;
    if (auto* x = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        if (xcb_connection_t* c = x->connection()) xcb_flush(c);
}

void holdMs(int ms, QWidget* shown) {
    showNow(shown);
    std::this_thread::sleep_for(std::chrono::milliseconds(scaledMs(ms)));
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
