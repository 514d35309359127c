// qt_bench_main.h — the main() of a benchmark that needs Qt's event loop (and, for windows, the
// offscreen platform unless one is set).
#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <type_traits>

template <class App>
int Run_Qt_Benchmarks(int argc, char** argv) {
    if constexpr (std::is_same_v<App, QApplication>) ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Benchmarks that run an event loop without windows.
#define TOLVANE_BENCHMARK_MAIN_CORE() \
    int main(int argc, char** argv) { return Run_Qt_Benchmarks<QCoreApplication>(argc, argv); }
// Benchmarks that make windows.
#define TOLVANE_BENCHMARK_MAIN_WIDGETS() \
    int main(int argc, char** argv) { return Run_Qt_Benchmarks<QApplication>(argc, argv); }
