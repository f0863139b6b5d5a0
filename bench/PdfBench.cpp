// Reading a 300-page text PDF, laid out as a two-column grant, through
// ReadDocument: pages per second, and the peak resident memory of the
// process beside the time.

#include "DocumentReader.h"
#include "TestPdf.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

// Some 300 pages: a description of two-column pages, then the claims.
std::string LongGrant() {
    std::vector<QString> claims = TestClaims();
    for (int c = 5; c <= 40; ++c)
        claims.push_back(QStringLiteral("%1. The pump of claim %2, wherein the seal of the shaft "
                                        "is held in the housing by a spring.")
                             .arg(c)
                             .arg(c - 1));
    return GrantPdf(claims, 300 * 2 * 56 - 300).Bytes;
}

void BM_ReadPdf(benchmark::State& State) {
    const std::string pdf = LongGrant();
    TReadOptions options;
    int pages = 0;
    options.Progress = [&pages](int, int Total) {
        pages = Total;
        return true;
    };
    for (auto _ : State) {
        const TDocumentRead read = ReadDocument(pdf, options);
        if (!read.Error.isEmpty())
            State.SkipWithError(qPrintable(read.Error));
        benchmark::DoNotOptimize(read.Documents.front().Text.size());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    State.counters["pages"] = pages;
    State.counters["pages_per_s"] = benchmark::Counter(
        static_cast<double>(pages), benchmark::Counter::kIsIterationInvariantRate);
    State.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    State.counters["pdf_MB"] = static_cast<double>(pdf.size()) / (1 << 20);
}
BENCHMARK(BM_ReadPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
