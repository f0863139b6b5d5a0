// Speed of the analysis. Run: build-bench/bench/claims_bench

#include "ClaimTexts.h"
#include "ClaimTree.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

namespace {

// The benchmarks run each text with the standard reading, and with the
// lenient one under the same name with the suffix "Lenient".
void Analyse(benchmark::State& State, const std::string& Text,
             TReading Reading = TReading::Standard) {
    int64_t created = 0;
    for (auto _ : State) {
        TClaimTree tree(Text, Reading);
        created = tree.CreatedNodeCount();
        benchmark::DoNotOptimize(tree.FullNodeCount);
    }
    State.SetBytesProcessed(State.iterations() * static_cast<int64_t>(Text.size()));
    State.counters["created_nodes"] = static_cast<double>(created);
}

void LongDocumentBench(benchmark::State& State) {
    const std::string text = LongDocument(static_cast<std::size_t>(State.range(0)) << 20);
    Analyse(State, text);
}
BENCHMARK(LongDocumentBench)
    ->Arg(5)
    ->Arg(10)
    ->Arg(20)
    ->Arg(30)
    ->Arg(50)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond);

void LongDocumentLenient(benchmark::State& State) {
    const std::string text = LongDocument(static_cast<std::size_t>(State.range(0)) << 20);
    Analyse(State, text, TReading::Lenient);
}
BENCHMARK(LongDocumentLenient)
    ->Arg(5)
    ->Arg(10)
    ->Arg(20)
    ->Arg(30)
    ->Arg(50)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond);

void LongCjkDocumentLenient(benchmark::State& State) {
    const std::string text = LongCjkDocument(static_cast<std::size_t>(State.range(0)) << 20);
    Analyse(State, text, TReading::Lenient);
}
BENCHMARK(LongCjkDocumentLenient)->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond);

void OrdinaryClaimsBench(benchmark::State& State) {
    Analyse(State, OrdinaryClaims(static_cast<int>(State.range(0))));
}
BENCHMARK(OrdinaryClaimsBench)->Arg(1000)->Unit(benchmark::kMillisecond);

void OrdinaryClaimsLenient(benchmark::State& State) {
    Analyse(State, OrdinaryClaims(static_cast<int>(State.range(0))), TReading::Lenient);
}
BENCHMARK(OrdinaryClaimsLenient)->Arg(1000)->Unit(benchmark::kMillisecond);

void AllPrecedingBench(benchmark::State& State) {
    Analyse(State, AllPrecedingClaims(static_cast<int>(State.range(0))));
}
BENCHMARK(AllPrecedingBench)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

void AllPrecedingLenient(benchmark::State& State) {
    Analyse(State, AllPrecedingClaims(static_cast<int>(State.range(0))), TReading::Lenient);
}
BENCHMARK(AllPrecedingLenient)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

// About Bytes bytes of claims, each citing the one before it, with LineEnd
// after each; Joiner between the claims ("\n" for a line each, " " for all
// on one line).
std::string ChainedClaims(std::size_t Bytes, const std::string& Joiner,
                          const std::string& LineEnd) {
    std::string text = "What is claimed is:" + LineEnd + "1. A pump having a housing.";
    for (int n = 2; text.size() < Bytes; ++n)
        text += Joiner + std::to_string(n) + ". The pump of claim " + std::to_string(n - 1) +
                ", wherein the valve is held in the housing.";
    return text + LineEnd;
}

// The same claims a line each, with LF and with lone CR line ends: the two
// should take about as long.
void LineEndsLenient(benchmark::State& State) {
    const std::string end = State.range(1) != 0 ? "\r" : "\n";
    Analyse(State, ChainedClaims(static_cast<std::size_t>(State.range(0)) << 20, end, end),
            TReading::Lenient);
}
BENCHMARK(LineEndsLenient)
    ->ArgNames({"MB", "cr"})
    ->ArgsProduct({{1, 4, 16}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// Claims run together on one line.
void ClaimsOnOneLineLenient(benchmark::State& State) {
    Analyse(State, ChainedClaims(static_cast<std::size_t>(State.range(0)) << 20, " ", "\n"),
            TReading::Lenient);
}
BENCHMARK(ClaimsOnOneLineLenient)
    ->ArgName("MB")
    ->Arg(1)
    ->Arg(4)
    ->Arg(16)
    ->Unit(benchmark::kMillisecond);

// Heap bytes in use now.
double HeapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// 1 MB crafted texts, with every node created (the window) and with the
// nodes below the roots only counted (veltrum-claims): heap_MB is what the
// tree holds.
void CraftedTextBench(benchmark::State& State) {
    const std::string text =
        State.range(0) == 0 ? SelfReferringClaims(1 << 20) : WideReferenceClaims(1 << 20);
    const TNodes nodes = State.range(1) == 0 ? TNodes::Created : TNodes::Counted;
    double heap = 0;
    int64_t created = 0;
    for (auto _ : State) {
        const double before = HeapBytes();
        TClaimTree tree(text, TClaimTree::MaxCreatedNodes, nodes);
        heap = HeapBytes() - before;
        created = tree.CreatedNodeCount();
        benchmark::DoNotOptimize(tree.FullNodeCount);
    }
    State.counters["heap_MB"] = heap / (1 << 20);
    State.counters["created_nodes"] = static_cast<double>(created);
}
BENCHMARK(CraftedTextBench)
    ->ArgNames({"wide", "counted"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
