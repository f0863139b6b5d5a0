// "Analyse as you type": one typed character, then what the pause in typing
// starts, until the window shows the new analysis painted. Run:
//   QT_QPA_PLATFORM=offscreen build/bench/app/bench_analyse_again
//
// ms: from the pause to the repainted window; CPU: the processor time of
// all threads for the character and the pause, which a loaded machine does
// not stretch. gui_ms: the longest the window
// was busy at one stretch meanwhile, which is what a key pressed then waits
// for, and gui_cpu_ms the processor time of that stretch (the same on an idle
// machine, less on a loaded one). key_ms: the typed character itself.

#include "BuiltinExamples.h"
#include "ClaimTexts.h"
#include "ClaimTree.h"
#include "DocumentFile.h"
#include "DraftingTools.h"
#include "ReadingChoice.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>

namespace {

struct TPauseTimes {
    double Pause = 0; // ms to the repainted window
    double Longest = 0;
    double LongestCpu = 0;
    double Key = 0;
};

// Processor time of this thread, in ms.
double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Types one character at the end and waits for the analysis that the pause
// starts to be shown.
TPauseTimes TypeAndPause(TfrMain& Window, QTextCursor& Cursor) {
    TPauseTimes times;
    QElapsedTimer clock;
    clock.start();
    Cursor.insertText(QStringLiteral(" "));
    times.Key = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const TClaimTree* before = Window.ClaimTree.get();
    // The pause has passed.
    Window.Drafting1->tmAnalyse->setInterval(0);
    clock.restart();
    Window.Drafting1->tmAnalyse->start();
    QElapsedTimer stretch;
    const auto measured = [&](const auto& Work) {
        stretch.start();
        const double cpu = ThreadCpuMs();
        Work();
        times.LongestCpu = std::max(times.LongestCpu, ThreadCpuMs() - cpu);
        times.Longest = std::max(times.Longest, static_cast<double>(stretch.nsecsElapsed()) / 1e6);
    };
    while (Window.ClaimTree.get() == before) {
        measured([] {
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents,
                                            5);
        });
    }
    measured([&] {
        QCoreApplication::processEvents();
        Window.repaint();
    });
    times.Pause = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    return times;
}

void RunPauses(benchmark::State& State, TfrMain& Window) {
    Window.Drafting1->AnalyseAsYouType1->setChecked(true);
    QTextCursor cursor(Window.cmInput->document());
    cursor.movePosition(QTextCursor::End);
    Window.AnalyseAgainClick();
    QCoreApplication::processEvents();
    TPauseTimes worst;
    for (auto _ : State) {
        const TPauseTimes times = TypeAndPause(Window, cursor);
        State.SetIterationTime(times.Pause / 1e3);
        worst.Longest = std::max(worst.Longest, times.Longest);
        worst.LongestCpu = std::max(worst.LongestCpu, times.LongestCpu);
        worst.Key = std::max(worst.Key, times.Key);
    }
    State.counters["gui_ms"] = worst.Longest;
    State.counters["gui_cpu_ms"] = worst.LongestCpu;
    State.counters["key_ms"] = worst.Key;
    benchmark::DoNotOptimize(Window.ClaimTree.get());
}

void AnalyseAsYouTypeExample4(benchmark::State& State) {
    TfrMain window;
    frMain = &window;
    window.WasActivated = true;
    window.resize(1400, 900);
    window.show();
    window.NewDraftClick();
    TDocumentFormat format;
    window.cmInput->setPlainText(DecodeDocumentText(BuiltinExampleText(4), format));
    RunPauses(State, window);
    frMain = nullptr;
}
BENCHMARK(AnalyseAsYouTypeExample4)
    ->UseManualTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

// A 5 MB document, nearly all description, in either reading (0 standard,
// 1 lenient).
void AnalyseAsYouType5MB(benchmark::State& State) {
    TfrMain window;
    frMain = &window;
    window.WasActivated = true;
    window.resize(1400, 900);
    window.show();
    window.Readings1->mnuLenientReading->setChecked(State.range(0) == 1);
    window.NewDraftClick();
    TDocumentFormat format;
    window.cmInput->setPlainText(DecodeDocumentText(LongDocument(5'000'000), format));
    RunPauses(State, window);
    State.SetLabel(window.ClaimTree->Reading == TReading::Lenient ? "lenient" : "standard");
    frMain = nullptr;
}
BENCHMARK(AnalyseAsYouType5MB)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->MeasureProcessCPUTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
