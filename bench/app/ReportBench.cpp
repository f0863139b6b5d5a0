// Speed of the claim tree report: a 300-claim set in which every claim
// depends on all claims before it, written as PDF into memory.

#include "ClaimTree.h"
#include "ClaimTreeReport.h"

#include <QApplication>
#include <QBuffer>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryFile>
#include <benchmark/benchmark.h>

namespace {

std::string AnyPrecedingClaims(int Count) {
    std::string text = "We claim:\n1. A pump.\n2. The pump of claim 1.\n";
    for (int n = 3; n <= Count; ++n)
        text +=
            std::to_string(n) + ". The pump of any of claims 1 to " + std::to_string(n - 1) + ".\n";
    return text;
}

// Pages of a PDF, as pdfinfo counts them; 0 when it cannot tell.
int PdfPages(const QByteArray& Pdf) {
    QTemporaryFile file;
    if (!file.open() || file.write(Pdf) != Pdf.size() || !file.flush())
        return 0;
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {file.fileName()});
    if (!info.waitForFinished(60'000))
        return 0;
    for (const QByteArray& line : info.readAllStandardOutput().split('\n')) {
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    }
    return 0;
}

void BM_ClaimTreeReport(benchmark::State& State) {
    const auto count = static_cast<int>(State.range(0));
    const TClaimTree tree(AnyPrecedingClaims(count), TReading::Lenient);
    if (tree.Claims.size() != static_cast<std::size_t>(count)) {
        State.SkipWithError("the claims were not all read");
        return;
    }
    QByteArray pdf;
    for (auto _ : State) {
        pdf.clear();
        QBuffer file(&pdf);
        file.open(QIODevice::WriteOnly);
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        const TClaimTreeReport report(tree, CheckAndCountFees(tree),
                                      {QStringLiteral("claims.txt"), QString(),
                                       QStringLiteral("7 December 2026"),
                                       QStringLiteral("Lenient reading")});
        if (!report.Paint(writer))
            State.SkipWithError("painting failed");
    }
    State.counters["pages"] = PdfPages(pdf);
    State.counters["drawn_boxes"] = static_cast<double>(tree.FullNodeCount);
}

BENCHMARK(BM_ClaimTreeReport)->Arg(300)->Unit(benchmark::kMillisecond);

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
