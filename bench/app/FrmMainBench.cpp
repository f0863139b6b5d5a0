// Opening documents in the main window. Run:
//   QT_QPA_PLATFORM=offscreen build/bench/app/bench_app

#include "ClaimTexts.h"
#include "ClaimTree.h"
#include "TreeDrawing.h"
#include "frmMain.h"

#include <QApplication>
#include <QTabBar>
#include <benchmark/benchmark.h>

namespace {

// The analysis of a new text as opening a file runs it: tabs, drawing,
// counts and the Claims menu, until the window has been painted.
void BM_OpenIndependentClaims(benchmark::State& State) {
    TfrMain window;
    window.resize(1200, 800);
    window.show();
    QApplication::processEvents();
    window.InputText = IndependentClaims(static_cast<int>(State.range(0)));
    for (auto _ : State) {
        window.AnalyseInput();
        QApplication::processEvents();
    }
    State.counters["tabs"] = window.TabControl1->count();
}
BENCHMARK(BM_OpenIndependentClaims)->Arg(1000)->Arg(8000)->Unit(benchmark::kMillisecond);

// The tabs alone: one for all claims and one per independent claim.
void BM_FillClaimTabs(benchmark::State& State) {
    TfrMain window;
    window.resize(1200, 800);
    window.show();
    QApplication::processEvents();
    window.ClaimTree =
        std::make_unique<TClaimTree>(IndependentClaims(static_cast<int>(State.range(0))));
    window.ClaimDrawing = std::make_unique<TTreeDrawing>(*window.ClaimTree);
    for (auto _ : State) {
        window.FillClaimTabs();
        QApplication::processEvents();
    }
    State.counters["tabs"] = window.TabControl1->count();
}
BENCHMARK(BM_FillClaimTabs)->Arg(1000)->Arg(8000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
