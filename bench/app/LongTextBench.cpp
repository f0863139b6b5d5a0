// The window with a 20 MB text on one line: opening it, a scroll step in the
// input pane, and find counting millions of matches while the window answers.
// Run:
//   QT_QPA_PLATFORM=offscreen build/bench/app/bench_long_text

#include "ClaimTexts.h"
#include "DocumentView.h"
#include "FindBar.h"
#include "frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {

constexpr std::size_t TextBytes = 20'000'000;

// Ordinary claims run together on one line.
const std::string& OneLineText() {
    static const std::string text = [] {
        std::string line;
        while (line.size() < TextBytes) {
            std::string claims = OrdinaryClaims(1000);
            std::replace(claims.begin(), claims.end(), '\r', ' ');
            std::replace(claims.begin(), claims.end(), '\n', ' ');
            line += claims;
        }
        line.resize(TextBytes);
        return line;
    }();
    return text;
}

QString WriteFile(const QString& Name, const std::string& Text) {
    static QTemporaryDir dir;
    const QString name = dir.filePath(Name);
    QFile out(name);
    out.open(QIODevice::WriteOnly);
    out.write(Text.data(), static_cast<qint64>(Text.size()));
    return name;
}

// The text in a file, written once.
const QString& OneLineFile() {
    static const QString file = WriteFile(QStringLiteral("one-line.txt"), OneLineText());
    return file;
}

// "ab" again and again on one line: ten million occurrences of "a".
const QString& DenseFile() {
    static const QString file = [] {
        std::string text;
        text.reserve(TextBytes);
        while (text.size() < TextBytes)
            text += "ab";
        return WriteFile(QStringLiteral("dense.txt"), text);
    }();
    return file;
}

void ShowWindow(TfrMain& Window) {
    frMain = &Window;
    Window.WasActivated = true;
    Window.resize(1280, 800);
    Window.show();
    QApplication::processEvents();
}

// The input pane alone: the text put in and painted.
void BM_ShowOneLineText(benchmark::State& State) {
    QPlainTextEdit pane;
    pane.resize(600, 760);
    pane.show();
    TTextPaneView view(pane);
    const QString text = QString::fromStdString(OneLineText());
    for (auto _ : State) {
        view.ShowText(text);
        pane.viewport()->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ShowOneLineText)->Unit(benchmark::kMillisecond)->Iterations(3);

// Read and shown, not yet analysed.
void BM_LoadOneLineFile(benchmark::State& State) {
    const QString& file = OneLineFile();
    TfrMain window;
    ShowWindow(window);
    for (auto _ : State) {
        window.LoadInputFile(file);
        window.cmInput->viewport()->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_LoadOneLineFile)->Unit(benchmark::kMillisecond)->Iterations(3);

// Open as the user does: read, show, analyse and draw.
void BM_OpenOneLineFile(benchmark::State& State) {
    const QString& file = OneLineFile();
    TfrMain window;
    ShowWindow(window);
    for (auto _ : State) {
        window.OpenDocument(file);
        window.cmInput->viewport()->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_OpenOneLineFile)->Unit(benchmark::kMillisecond)->Iterations(1);

// One step of the mouse wheel down the pane, painted; with find open for
// "a", the occurrences in view highlighted too.
void BM_ScrollStep(benchmark::State& State) {
    TfrMain window;
    ShowWindow(window);
    window.LoadInputFile(OneLineFile());
    QApplication::processEvents();
    if (State.range(0) != 0) {
        window.FindBar1->Open();
        window.FindBar1->edFind->setText(QStringLiteral("a"));
        window.FindBar1->Refresh();
        while (window.FindBar1->Searching())
            QApplication::processEvents();
    }
    QScrollBar& bar = *window.cmInput->verticalScrollBar();
    for (auto _ : State) {
        bar.setValue(bar.value() < bar.maximum() ? bar.value() + 3 * bar.singleStep() : 0);
        window.cmInput->viewport()->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ScrollStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Find "a" through the whole text, the claims or ten million times "ab":
// the longest time the event loop waits between two turns while the count
// goes on.
void BM_FindLongestBlock(benchmark::State& State) {
    TfrMain window;
    ShowWindow(window);
    window.LoadInputFile(State.range(0) == 0 ? OneLineFile() : DenseFile());
    QApplication::processEvents();
    TFindBar& bar = *window.FindBar1;
    bar.Open();
    qint64 longest = 0;
    for (auto _ : State) {
        QElapsedTimer turn;
        QTimer watchdog;
        QObject::connect(&watchdog, &QTimer::timeout,
                         [&] { longest = std::max(longest, turn.restart()); });
        watchdog.start(1);
        turn.start();
        bar.edFind->setText(QStringLiteral("a"));
        bar.Refresh();
        longest = std::max(longest, turn.restart());
        while (bar.Searching())
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        bar.edFind->clear();
        bar.Refresh();
    }
    State.counters["longest_block_ms"] = static_cast<double>(longest);
    bar.edFind->setText(QStringLiteral("a"));
    bar.Refresh();
    while (bar.Searching())
        QApplication::processEvents();
    State.counters["matches"] = static_cast<double>(bar.MatchCount());
}
BENCHMARK(BM_FindLongestBlock)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
