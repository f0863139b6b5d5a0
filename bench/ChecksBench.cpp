// Speed of the claim checks against the analysis of 1,000-claim sets, and of
// batch use on one thread against two. Run: build/bench/checks_bench

#include "Batch.h"
#include "ClaimChecks.h"
#include "ClaimTexts.h"
#include "ClaimTree.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <streambuf>

namespace {

// The analysis alone (check 0), with the checks and fee counts after it
// (1), as the command line and the window run them, with the wording checks
// too (2), and with the antecedent basis of the terms too (3): compare them.
void Analyse(benchmark::State& State, const std::string& Text, int64_t Check) {
    for (auto _ : State) {
        const TClaimTree tree(Text);
        if (Check != 0) {
            benchmark::DoNotOptimize(CheckAndCountFees(tree, {Check >= 2, Text, Check == 3}));
        }
        benchmark::DoNotOptimize(tree.FullNodeCount);
    }
}

void OrdinaryBench(benchmark::State& State) {
    Analyse(State, OrdinaryClaims(1000), State.range(0));
}
BENCHMARK(OrdinaryBench)
    ->ArgName("check")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond);

void AllPrecedingBench(benchmark::State& State) {
    Analyse(State, AllPrecedingClaims(1000), State.range(0));
}
BENCHMARK(AllPrecedingBench)
    ->ArgName("check")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond);

// The checks and fee counts alone, on a tree built once: their own cost,
// apart from the allocator's moods between one tree and the next.
void ChecksAloneBench(benchmark::State& State) {
    const TClaimTree tree(State.range(0) != 0 ? AllPrecedingClaims(1000) : OrdinaryClaims(1000));
    for (auto _ : State)
        benchmark::DoNotOptimize(CheckAndCountFees(tree));
}
BENCHMARK(ChecksAloneBench)->ArgName("allPreceding")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// About Bytes bytes of claims, each "according to any one of claims 1 to"
// the one before it: cited ranges run far past the claim table.
std::string CitedRanges(std::size_t Bytes) {
    std::string text = "We claim:\n 1. A pump.\n";
    for (int n = 2; text.size() < Bytes; ++n)
        text += " " + std::to_string(n) + ". The pump according to any one of claims 1 to " +
                std::to_string(n - 1) + ".\n";
    return text;
}

// The checks alone, both readings.
void CitedRangesChecks(benchmark::State& State) {
    const TClaimTree tree(CitedRanges(static_cast<std::size_t>(State.range(0)) << 20),
                          State.range(1) != 0 ? TReading::Lenient : TReading::Standard);
    for (auto _ : State)
        benchmark::DoNotOptimize(CheckAndCountFees(tree));
}
BENCHMARK(CitedRangesChecks)
    ->ArgNames({"MB", "lenient"})
    ->ArgsProduct({{1, 4, 16}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// 1,000 documents of 50 kB in a folder of their own, written once.
const std::string& BatchFolder() {
    static const std::string folder = [] {
        const auto path = std::filesystem::temp_directory_path() / "veltrum-batch-bench";
        std::filesystem::create_directories(path);
        const std::string text = LongDocument(50 * 1024);
        for (int i = 0; i < 1000; ++i) {
            const auto file = path / ("doc" + std::to_string(1000 + i) + ".txt");
            if (!std::filesystem::exists(file))
                std::ofstream(file, std::ios::binary) << text;
        }
        return path.string();
    }();
    return folder;
}

class TNullBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void BatchBench(benchmark::State& State) {
    const std::vector<std::string> arguments{BatchFolder()};
    TNullBuffer null;
    std::ostream out(&null);
    for (auto _ : State)
        benchmark::DoNotOptimize(RunBatch(arguments, {TMode::Check, 1'000'000},
                                          static_cast<int>(State.range(0)), out, out));
}
BENCHMARK(BatchBench)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
