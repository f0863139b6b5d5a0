// "Analyse as you type" on the largest built-in example: one typed character,
// then what the pause in typing starts: the analysis of the pane's text, the
// new drawing, and the window painted again.

#include "BuiltinExamples.h"
#include "DocumentFile.h"
#include "frmMain.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <benchmark/benchmark.h>

namespace {

void AnalyseAsYouTypeExample4(benchmark::State& State) {
    TfrMain window;
    frMain = &window;
    window.WasActivated = true;
    window.resize(1400, 900);
    window.show();
    window.NewDraftClick();
    TDocumentFormat format;
    window.cmInput->setPlainText(DecodeDocumentText(BuiltinExampleText(4), format));
    QTextCursor cursor(window.cmInput->document());
    cursor.movePosition(QTextCursor::End);
    window.AnalyseAgainClick();
    QCoreApplication::processEvents();
    for (auto _ : State) {
        cursor.insertText(QStringLiteral(" "));
        window.AnalyseAgainClick();
        // What the event loop does next: layout requests, deleted controls
        // and the painting of the whole window.
        QCoreApplication::processEvents();
        window.repaint();
    }
    benchmark::DoNotOptimize(window.ClaimTree.get());
    frMain = nullptr;
}
BENCHMARK(AnalyseAsYouTypeExample4)->Unit(benchmark::kMillisecond);

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
