// Speed of exporting a whole tree: rows, layout and painting, into memory.

#include "BuiltinExamples.h"
#include "ExportRenderer.h"
#include "ImageList.h"
#include "TreeView.h"

#include <QApplication>
#include <QBuffer>
#include <QPdfWriter>
#include <benchmark/benchmark.h>

namespace {

// Example 4 has 41,464 boxes when every copy is expanded.
const TClaimTree& ExampleFour() {
    static const TClaimTree tree(BuiltinExampleText(4));
    return tree;
}

void BM_WholeTreeToPdf(benchmark::State& State) {
    const TImageList images;
    int64_t bytes = 0;
    for (auto _ : State) {
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        const TExportPicture picture(WholeExportTree(ExampleFour(), MaxDrawnBoxes), images,
                                     PageTextRoom(writer));
        if (!PaintPages(picture, writer))
            State.SkipWithError("painting failed");
        bytes = file.size();
    }
    State.counters["boxes"] = static_cast<double>(ExampleFour().FullNodeCount);
    State.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_WholeTreeToSvg(benchmark::State& State) {
    const TImageList images;
    int64_t bytes = 0;
    for (auto _ : State) {
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        const TExportPicture picture(WholeExportTree(ExampleFour(), MaxDrawnBoxes), images, 800);
        if (!picture.WriteSvg(file, QStringLiteral("Example 4")))
            State.SkipWithError("writing failed");
        bytes = file.size();
    }
    State.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

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
