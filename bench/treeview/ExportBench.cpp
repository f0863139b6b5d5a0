// Speed of exporting a whole tree: rows, layout and painting, into memory.

#include "BuiltinExamples.h"
#include "ExportRenderer.h"
#include "ExportRows.h"
#include "ImageList.h"
#include "TreeView.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QPdfWriter>
#include <benchmark/benchmark.h>

namespace {

// Example 4 has 41,464 boxes when every copy is expanded.
const TClaimTree& ExampleFour() {
    static const TClaimTree tree(BuiltinExampleText(4));
    return tree;
}

void BM_WholeTreeToPdf(benchmark::State& State) {
    int64_t bytes = 0;
    for (auto _ : State) {
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        const TExportPicture picture(WholeExportTree(ExampleFour(), MaxDrawnBoxes),
                                     PageTextRoom(writer));
        if (!PaintPages(picture, writer))
            State.SkipWithError("painting failed");
        bytes = file.size();
    }
    State.counters["boxes"] = static_cast<double>(ExampleFour().FullNodeCount);
    State.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_WholeTreeToSvg(benchmark::State& State) {
    int64_t bytes = 0;
    for (auto _ : State) {
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        const TExportPicture picture(WholeExportTree(ExampleFour(), MaxDrawnBoxes), 800);
        if (!picture.WriteSvg(file, QStringLiteral("Example 4")))
            State.SkipWithError("writing failed");
        bytes = file.size();
    }
    State.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

long PeakResidentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return 0;
}

// Copy Tree as Text on 30 KB of one claim citing claim 1 over and over: each
// citation may make a box, and each box's caption lists them all.
void BM_RepeatedCitationsOutline(benchmark::State& State) {
    std::string text = "We claim:\n1. A pump.\n2. The pump of claims 1";
    while (text.size() < 30'000)
        text += ", 1";
    text += " and 1.\n";
    TClaimTree tree(text);
    const TImageList images;
    TClaimTreePane pane;
    pane.resize(688, 800);
    pane.show();
    TTreeDrawing drawing(tree);
    drawing.BuildDrawing(&pane, &images, nullptr, -1, true);
    drawing.ExpandAll();
    QApplication::processEvents();
    const long before = PeakResidentKilobytes();
    qsizetype length = 0;
    for (auto _ : State)
        length = OutlineText(ShownExportTree(drawing, MaxDrawnBoxes)).size();
    State.counters["rows"] = static_cast<double>(drawing.Rows().size());
    State.counters["text_MB"] = static_cast<double>(length) * 2 / 1e6;
    State.counters["peak_growth_MB"] =
        static_cast<double>(PeakResidentKilobytes() - before) / 1024.0;
}

// A whole tree the window still exports: 1,024 boxes of eleven
// claims, each depending on all before it. The time of one page bounds how
// long Cancel waits.
void BM_WholeTreeNearTheLimitToPdf(benchmark::State& State) {
    std::string text = "We claim:\n1. A pump.\n2. The pump of claim 1.\n";
    for (int n = 3; n <= 11; ++n)
        text +=
            std::to_string(n) + ". The pump of any of claims 1 to " + std::to_string(n - 1) + ".\n";
    const TClaimTree tree(text);
    int pages = 0;
    for (auto _ : State) {
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        const TExportPicture picture(WholeExportTree(tree, MaxDrawnBoxes), PageTextRoom(writer));
        pages = 0;
        if (!PaintPages(picture, writer, [&pages](int, int) { return ++pages > 0; }))
            State.SkipWithError("painting failed");
    }
    State.counters["boxes"] = static_cast<double>(tree.FullNodeCount);
    State.counters["pages"] = pages;
}

BENCHMARK(BM_WholeTreeNearTheLimitToPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepeatedCitationsOutline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeTreeToPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeTreeToSvg)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
