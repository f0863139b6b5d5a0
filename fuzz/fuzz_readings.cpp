// The two readings and the checks alone, fast enough to reach long inputs:
// no node is created, so every claim set costs about what its text does.

#include "AntecedentBasis.h"
#include "ClaimChecks.h"
#include "ClaimComparison.h"
#include "ClaimTree.h"
#include "ReferenceReader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

namespace {

void Check(bool Condition, const char* What) {
    if (!Condition) {
        std::fprintf(stderr, "broken: %s\n", What);
        std::abort();
    }
}

// Runs well formed, and the count theirs.
void CheckReferences(const std::vector<TReferenceRun>& Runs, uint64_t Count) {
    uint64_t count = 0;
    for (const TReferenceRun& run : Runs) {
        Check(run.First >= 1 && run.First <= run.Last, "reference run");
        count += static_cast<uint64_t>(int64_t{run.Last} - run.First + 1);
    }
    Check(count == Count, "reference count");
}

void CheckClaim(std::string_view Input, const TClaimTree& Tree, const TClaim& Claim) {
    Check(&Tree.Claims[Claim.Index] == &Claim, "claim index");
    Check(Claim.Number >= 0, "claim number");
    Check(Claim.Line >= 1 && Claim.Offset <= Input.size(), "claim position");
    CheckReferences(Claim.References, Claim.ReferenceCount);
    const TClaimKind kind = Claim.ReferenceCount == 0   ? TClaimKind::Independent
                            : Claim.ReferenceCount == 1 ? TClaimKind::Dependent
                                                        : TClaimKind::MultipleDependent;
    Check(Claim.Kind == kind, "kind and references disagree");
    Check(Claim.DependencyText.empty() == (kind == TClaimKind::Independent), "dependency text");
}

void CheckTree(std::string_view Input, const TClaimTree& Tree) {
    // Each claim needs its number in the text; ranges add at most the tables.
    Check(Tree.Claims.size() <= Input.size() + ClaimTableSize, "more claims than the text holds");
    for (const TClaim& claim : Tree.Claims)
        CheckClaim(Input, Tree, claim);
    Check(Tree.ClaimCount == (Tree.Claims.empty() ? 0 : Tree.Claims.back().Number),
          "claim count is not the last claim's number");
    for (const TClaimTreeNode* root : Tree.Roots)
        Check(root->Claim->Kind == TClaimKind::Independent, "root");

    if (Tree.Reading == TReading::Lenient) {
        for (const TClaim& claim : Tree.Claims) {
            Check(claim.Index == 0 || claim.Number >= Tree.Claims[claim.Index - 1].Number,
                  "lenient claim numbers go down");
            for (std::size_t i = 1; i < claim.References.size(); ++i)
                Check(claim.References[i - 1].Last + int64_t{1} < claim.References[i].First,
                      "lenient references not ascending runs");
        }
        std::size_t before = 0;
        for (const TUnreadRange& range : Tree.UnreadRanges) {
            Check(range.First < range.Last && (!InClaimTable(range.Last) || range.HasText),
                  "unread range");
            Check(range.Before >= before && range.Before <= Tree.Claims.size(),
                  "unread range place");
            before = range.Before;
        }
    } else {
        Check(Tree.UnreadRanges.empty(), "a standard reading with wide ranges");
    }

    // The checks name only claims there are, on their lines.
    std::set<std::pair<int32_t, int32_t>> places;
    for (const TClaim& claim : Tree.Claims)
        places.emplace(claim.Number, claim.Line);
    for (const TUnreadRange& range : Tree.UnreadRanges)
        places.emplace(range.First, range.Line);
    const TClaimChecks checks = CheckAndCountFees(Tree);
    for (const TClaimProblem& problem : checks.Problems) {
        Check(places.count({problem.Claim, problem.Line}) == 1, "a problem of no claim");
        Check(std::string_view(ProblemKindName(problem.Kind)) != "unknown", "problem kind");
        Check(!problem.Message.empty(), "problem message");
    }
    // The checks of the words, which read every phrase of every claim, name
    // claims there are; the terms stand within their claims' texts.
    std::set<int32_t> numbers;
    for (const TClaim& claim : Tree.Claims)
        numbers.insert(claim.Number);
    for (const TUnreadRange& range : Tree.UnreadRanges)
        numbers.insert(range.First);
    for (const TClaimProblem& problem : CheckClaims(Tree, {true, Input, true}))
        Check(numbers.count(problem.Claim) == 1, "a wording problem of no claim");
    for (const TClaimTerm& term : ListTerms(Tree))
        Check(numbers.count(term.Introduced.Claim) == 1 && !term.Term.empty(),
              "a term of no claim");
    // A claim set compared with itself keeps every claim.
    const TClaimComparison same = CompareClaims(Tree, Tree);
    Check(same.Claims.size() == Tree.Claims.size(), "a comparison that loses claims");
    const TFeeCounts& fees = checks.Fees;
    Check(fees.Ep.Claims >= 0 && fees.Ep.Claims <= static_cast<int64_t>(Tree.Claims.size()),
          "EP claims");
    // Every claim counts at least once for US fees.
    Check(fees.Us.Independent <= fees.Ep.Claims && fees.Us.Total >= fees.Ep.Claims, "US counts");
    Check(fees.Us.ExcessTotal == std::max<int64_t>(fees.Us.Total - 20, 0), "US excess");
}

// The whole input as one claim's text, numbered by its length: the standard
// reading of a claim longer than any the splitting gives.
void CheckClaimText(std::string_view Input) {
    const auto number = static_cast<int32_t>(Input.size() % 1200);
    const TReferences standard = ReadReferences(Input, number);
    CheckReferences(standard.Runs, standard.Count);
    Check(standard.DependencyText.empty() == (standard.Count == 0), "standard dependency text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    const std::string_view input(reinterpret_cast<const char*>(Data), Size);
    for (const TReading reading : {TReading::Standard, TReading::Lenient})
        CheckTree(input, TClaimTree(input, reading, TClaimTree::MaxCreatedNodes, TNodes::Counted));
    CheckClaimText(input);
    return 0;
}
