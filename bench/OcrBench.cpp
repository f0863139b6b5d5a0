// Recognition of one scanned claims page: a US-grant-like two-column page at
// 300 dpi, in English and in the three languages the window offers. The peak
// resident memory of the process is reported beside the time.

#include "PageImages.h"
#include "PdfOcr.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <sys/resource.h>

namespace {

QString FullPage() {
    QString text;
    for (int i = 1; i <= 100; ++i)
        text += QStringLiteral("%1. The valve of claim %2, wherein the seal (%3) is held\n"
                               "in the housing (12) by a spring.\n")
                    .arg(i + 1)
                    .arg(i)
                    .arg(10 + i);
    return text;
}

void BM_RecognisePage(benchmark::State& State, const char* Languages) {
    const std::vector<TRenderedPage> pages = RenderPages(FullPage(), TPageLayout::UsGrant);
    std::size_t words = 0;
    for (auto _ : State) {
        const TRecognisedWords got =
            RecogniseWords(PageImageOf(pages.front()), QString::fromLatin1(Languages));
        if (!got.Error.isEmpty())
            State.SkipWithError(qPrintable(got.Error));
        words = got.Words.size();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    State.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    State.counters["words"] = static_cast<double>(words);
}
BENCHMARK_CAPTURE(BM_RecognisePage, eng, "eng")->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_RecognisePage, eng_deu_fra, "eng+deu+fra")
    ->Unit(benchmark::kSecond)
    ->Iterations(3);

// Cancel pressed 0.1 s, 1 s and 3 s into a page: how long recognition goes on
// before it returns (the engine is asked between words, not while it finds
// the page's blocks and lines).
void BM_CancelLatency(benchmark::State& State) {
    const std::vector<TRenderedPage> pages = RenderPages(FullPage(), TPageLayout::UsGrant);
    using TClock = std::chrono::steady_clock;
    const auto after = std::chrono::milliseconds(State.range(0));
    double worst = 0;
    for (auto _ : State) {
        const TClock::time_point start = TClock::now();
        const TRecognisedWords got =
            RecogniseWords(PageImageOf(pages.front()), QStringLiteral("eng"),
                           [&] { return TClock::now() - start >= after; });
        worst =
            std::max(worst, std::chrono::duration<double>(TClock::now() - start - after).count());
        benchmark::DoNotOptimize(got.Words.size());
    }
    State.counters["latency_s"] = worst;
}
BENCHMARK(BM_CancelLatency)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(3000)
    ->Unit(benchmark::kSecond)
    ->Iterations(2);

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
