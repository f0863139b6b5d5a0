// Speed of the analysis. Run: build-bench/bench/claims_bench

#include "ClaimTexts.h"
#include "ClaimTree.h"

#include <benchmark/benchmark.h>

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

} // namespace

BENCHMARK_MAIN();
