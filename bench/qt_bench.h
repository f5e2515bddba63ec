// The main of a benchmark that shows windows: Qt's offscreen platform unless the caller
// chose another, one application for the whole run, then every benchmark registered.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

namespace kisharin {

template <typename Before>
int runWindowBenchmarks(int argc, char** argv, Before before) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    before(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

inline int runWindowBenchmarks(int argc, char** argv) {
    return runWindowBenchmarks(argc, argv, [](QApplication&) {});
}

}  // namespace kisharin
