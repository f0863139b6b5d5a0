// Comparing two versions of a 300-claim set, amended as prosecution does.

#include "ClaimAmendments.h"
#include "ClaimComparison.h"
#include "ClaimTree.h"

#include <benchmark/benchmark.h>

namespace {

void BM_CompareClaims(benchmark::State& State) {
    std::mt19937 random(300);
    const std::vector<TBaseClaim> base = VariedClaims(static_cast<int>(State.range(0)), random);
    const TAmendedPair pair = AmendClaims(base, random, false);
    const TClaimTree a(pair.A, TReading::Lenient);
    const TClaimTree b(pair.B, TReading::Lenient);
    for (auto _ : State)
        benchmark::DoNotOptimize(CompareClaims(a, b));
    State.counters["claims"] = static_cast<double>(b.Claims.size());
}
BENCHMARK(BM_CompareClaims)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

// Both versions read and compared, as the command line does.
void BM_ReadAndCompare(benchmark::State& State) {
    std::mt19937 random(300);
    const std::vector<TBaseClaim> base = VariedClaims(static_cast<int>(State.range(0)), random);
    const TAmendedPair pair = AmendClaims(base, random, false);
    for (auto _ : State) {
        const TClaimTree a(pair.A, TReading::Lenient, TClaimTree::MaxCreatedNodes, TNodes::Counted);
        const TClaimTree b(pair.B, TReading::Lenient, TClaimTree::MaxCreatedNodes, TNodes::Counted);
        benchmark::DoNotOptimize(CompareClaims(a, b));
    }
}
BENCHMARK(BM_ReadAndCompare)->Arg(300)->Unit(benchmark::kMillisecond);

// One long claim rewritten throughout: the word diff alone, in linear memory.
void BM_DiffLongClaim(benchmark::State& State) {
    std::mt19937 random(7);
    std::string a, b;
    for (int k = 0; k < State.range(0); ++k) {
        const std::string word = "w" + std::to_string(random() % 500);
        a += word + " ";
        b += (random() % 3 ? word : "x" + std::to_string(random() % 500)) + " ";
    }
    for (auto _ : State)
        benchmark::DoNotOptimize(DiffWords(a, b));
}
BENCHMARK(BM_DiffLongClaim)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
