// Speed of Save's encoding: the pane's lines matched against the text as
// read, for texts of growing size, unedited, with one line added, and with
// edits all over the text that defeat the line matching.

#include "DocumentCodec.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

// Lines lines of claims, their ends LF, with every seventh CR LF.
std::string MixedText(int Lines) {
    std::string text;
    for (int i = 1; i <= Lines; ++i)
        text += std::to_string(i) + ". The pump of claim 1, with a valve and a housing." +
                (i % 7 == 0 ? "\r\n" : "\n");
    return text;
}

enum TEdit { Unedited, LineAdded, Scattered };

void BM_Encode(benchmark::State& State, TEdit Edit) {
    const int lines = static_cast<int>(State.range(0));
    const std::string bytes = MixedText(lines);
    TDocumentFormat format;
    QString text = DecodeDocumentText(bytes, format);
    if (Edit == LineAdded)
        text.insert(text.size() / 2, QStringLiteral("An added line.\n"));
    if (Edit == Scattered) {
        // A line added at the start and every hundredth line changed.
        text.prepend(QStringLiteral("An added line.\n"));
        for (qsizetype at = text.indexOf(u'.'), line = 0; at >= 0; at = text.indexOf(u'\n', at + 1))
            if (++line % 100 == 0)
                text[at + 1] = u'X';
    }
    std::string saved;
    for (auto _ : State) {
        TDocumentFormat written = format;
        benchmark::DoNotOptimize(EncodeDocumentText(text, written, saved));
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) *
                            static_cast<int64_t>(bytes.size()));
}

BENCHMARK_CAPTURE(BM_Encode, unedited, Unedited)
    ->Arg(20'000)
    ->Arg(80'000)
    ->Arg(320'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Encode, line_added, LineAdded)
    ->Arg(20'000)
    ->Arg(80'000)
    ->Arg(320'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Encode, scattered, Scattered)
    ->Arg(20'000)
    ->Arg(80'000)
    ->Arg(320'000)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
