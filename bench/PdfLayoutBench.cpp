// Laying out the words of a 300-page two-column grant: pages per second.

#include "PdfLayout.h"
#include "PdfTestPages.h"

#include <benchmark/benchmark.h>
#include <random>

namespace {

// Paragraphs of 40 to 120 words, every fifth a claim, so that some 300
// pages of two 55-line columns are filled.
QStringList GrantText(int Pages) {
    static const char* const words[] = {"the",     "pump",        "housing", "valve", "rotor",
                                        "wherein", "comprising",  "shaft",   "seal",  "inlet",
                                        "outlet",  "of",          "and",     "a",     "first",
                                        "second",  "chamber",     "spring",  "claim", "connected",
                                        "between", "arrangement", "C3-C8",   "is",    "to"};
    std::mt19937 random(7);
    QStringList paragraphs;
    qsizetype chars = 0;
    const qsizetype wanted = static_cast<qsizetype>(Pages) * 2 * 55 * 44;
    for (int p = 0; chars < wanted; ++p) {
        QString text = p % 5 == 0 ? QString::number(p / 5 + 1) + ". A" : QStringLiteral("the");
        const int count = 40 + static_cast<int>(random() % 80);
        for (int i = 0; i < count; ++i)
            text += u' ' + QString::fromLatin1(words[random() % std::size(words)]);
        text += u'.';
        chars += text.size();
        paragraphs.push_back(text);
    }
    return paragraphs;
}

void LayOut300PageGrant(benchmark::State& State) {
    TPdfTestLayout layout;
    const TPdfTestDocument doc = LayOutTestPages(GrantText(300), layout);
    std::size_t words = 0;
    for (const TPdfPage& page : doc.Pages)
        words += page.Words.size();
    for (auto _ : State)
        benchmark::DoNotOptimize(LayOutPdfPages(doc.Pages));
    State.counters["pages"] = static_cast<double>(doc.Pages.size());
    State.counters["words"] = static_cast<double>(words);
    State.counters["pages/s"] = benchmark::Counter(static_cast<double>(doc.Pages.size()) *
                                                       static_cast<double>(State.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(LayOut300PageGrant)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
