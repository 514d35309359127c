// Start-up to the first window, and configuration reads and writes on a store of a few hundred lines.
#include <benchmark/benchmark.h>

#include "qt_bench_main.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "app/program_start.h"
#include "foundation/config_store.h"
#include "foundation/startup.h"
#include "mainwindow/tl_main.h"
#include "options/new_setup.h"
#include "platform/message_box.h"
#include "platform/timers.h"

namespace {

class SilentBoxes final : public platform::MessageBoxes {
public:
    int show(const std::string&, int, const std::string&) override { return platform::vbOK; }
};

void fillStore(int sections, int keysPerSection) {
    modTLC::ResetForTests();
    for (int s = 0; s < sections; ++s)
        for (int k = 0; k < keysPerSection; ++k)
            modTLC::Set_Config_Value("Section" + std::to_string(s), "Key" + std::to_string(k), "value " + std::to_string(k));
}

void BM_StartupToFirstWindow(benchmark::State& state) {
    SilentBoxes boxes;
    platform::setMessageBoxesForTests(&boxes);
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir home;
        ::setenv("XDG_DATA_HOME", home.path().toLocal8Bit().constData(), 1);
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        state.ResumeTiming();
        programstart::Start();
        platform::timers().waitUntil([] { return NewSetup::loaded() && NewSetup::instance().isVisible(); }, 10000);
        state.PauseTiming();
        NewSetup::Unload();
        TLMain::unloadForTests();
        programstart::Finish();  // the program's end, before its data folder goes
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    platform::setMessageBoxesForTests(nullptr);
}
BENCHMARK(BM_StartupToFirstWindow)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_ConfigRead(benchmark::State& state) {
    fillStore(12, 25);  // 300 key lines
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(modTLC::Get_Config_Value("Section" + std::to_string(i % 12), "KEY24", ""));
        ++i;
    }
}
BENCHMARK(BM_ConfigRead);

void BM_ConfigWriteExisting(benchmark::State& state) {
    fillStore(12, 25);
    int i = 0;
    for (auto _ : state) modTLC::Set_Config_Value("Section6", "Key12", std::to_string(i++));
}
BENCHMARK(BM_ConfigWriteExisting);

void BM_ConfigSave(benchmark::State& state) {
    QTemporaryDir home;
    modTLMain::DataFolder = home.path().toStdString() + "/";
    fillStore(12, 25);
    for (auto _ : state) modTLC::Save_Config_File();
}
BENCHMARK(BM_ConfigSave)->Unit(benchmark::kMicrosecond);

}  // namespace

TOLVANE_BENCHMARK_MAIN_WIDGETS()
