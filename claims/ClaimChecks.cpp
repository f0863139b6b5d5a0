#include "ClaimChecks.h"

#include "ClaimTree.h"
#include "Tools.h"

#include <algorithm>
#include <bit>
#include <unordered_map>
#include <unordered_set>

namespace {

// A set of claim numbers inside the per-claim tables, one bit each.
class TNumberMask {
public:
    void Set(int32_t Number) { words[Word(Number)] |= Bit(Number); }
    bool Has(int32_t Number) const { return (words[Word(Number)] & Bit(Number)) != 0; }

    // Sets First..Last, clipped to the tables.
    void SetRange(int32_t First, int32_t Last) {
        First = std::max(First, 0);
        Last = std::min(Last, ClaimTableSize - 1);
        for (int32_t w = First / 64; First <= Last && w <= Last / 64; ++w) {
            uint64_t bits = ~uint64_t{0};
            if (w == First / 64)
                bits &= ~uint64_t{0} << (First % 64);
            if (w == Last / 64 && Last % 64 != 63)
                bits &= (uint64_t{1} << (Last % 64 + 1)) - 1;
            words[static_cast<std::size_t>(w)] |= bits;
        }
    }

    TNumberMask And(const TNumberMask& Other) const {
        TNumberMask m;
        for (std::size_t i = 0; i < words.size(); ++i)
            m.words[i] = words[i] & Other.words[i];
        return m;
    }
    TNumberMask AndNot(const TNumberMask& Other) const {
        TNumberMask m;
        for (std::size_t i = 0; i < words.size(); ++i)
            m.words[i] = words[i] & ~Other.words[i];
        return m;
    }
    bool Empty() const {
        return std::all_of(words.begin(), words.end(), [](uint64_t w) { return w == 0; });
    }
    int Count() const {
        int n = 0;
        for (uint64_t w : words)
            n += std::popcount(w);
        return n;
    }
    template <typename F> void ForEach(F&& Visit) const {
        for (std::size_t w = 0; w < words.size(); ++w) {
            for (uint64_t bits = words[w]; bits != 0; bits &= bits - 1)
                Visit(static_cast<int32_t>(w * 64) + std::countr_zero(bits));
        }
    }
    void AppendTo(std::vector<int32_t>& Numbers) const {
        ForEach([&](int32_t n) { Numbers.push_back(n); });
    }

private:
    static std::size_t Word(int32_t Number) { return static_cast<std::size_t>(Number) / 64; }
    static uint64_t Bit(int32_t Number) { return uint64_t{1} << (Number % 64); }

    std::array<uint64_t, ClaimTableSize / 64> words{};
};

bool IsCancelled(const TClaim& Claim) {
    return LowerAscii(Claim.Status).find("cancel") != std::string::npos;
}

// "claim 3", "claims 3 and 5", "claims 2, 4 to 6 and 9", from sorted distinct numbers.
std::string ClaimList(const std::vector<int32_t>& Numbers) {
    std::vector<std::string> runs;
    for (std::size_t i = 0; i < Numbers.size();) {
        std::size_t j = i;
        while (j + 1 < Numbers.size() && Numbers[j + 1] == Numbers[j] + 1)
            ++j;
        std::string run = std::to_string(Numbers[i]);
        if (j == i + 1) {
            runs.push_back(run);
            run = std::to_string(Numbers[j]);
        } else if (j > i) {
            run += " to " + std::to_string(Numbers[j]);
        }
        runs.push_back(run);
        i = j + 1;
    }
    std::string text = Numbers.size() == 1 ? "claim " : "claims ";
    for (std::size_t i = 0; i < runs.size(); ++i)
        text += (i == 0 ? "" : i + 1 == runs.size() ? " and " : ", ") + runs[i];
    return text;
}

bool IsWordChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Words as the reference reading cuts them, lower-cased: runs of ASCII
// letters and digits, and each "-" or byte 30 alone.
std::vector<std::string> Words(std::string_view Text) {
    std::vector<std::string> words;
    for (std::size_t i = 0; i < Text.size();) {
        if (Text[i] == '-' || Text[i] == '\x1e') {
            words.emplace_back(1, Text[i++]);
        } else if (IsWordChar(Text[i])) {
            const std::size_t start = i;
            while (i < Text.size() && IsWordChar(Text[i]))
                ++i;
            words.push_back(LowerAscii(std::string(Text.substr(start, i - start))));
        } else {
            ++i;
        }
    }
    return words;
}

bool OneOf(const std::string& Word, std::initializer_list<std::string_view> List) {
    return std::find(List.begin(), List.end(), Word) != List.end();
}

// Whether a claim's references are written in the alternative, as US practice
// wants of a multiple dependent claim: "claim 1 or 2", "any one of claims 1 to
// 3", "any preceding claim", but not "claims 1 and 2", "claims 1 to 3" or
// "claims 1 and/or 2". Unknown wording counts as alternative, so that it gives
// no false problem.
bool InTheAlternative(std::string_view Text) {
    const std::vector<std::string> words = Words(Text);
    std::size_t k = 0;
    while (k < words.size() &&
           !OneOf(words[k], {"claim", "claims", "krav", "revendication", "revendications",
                             "anspruch", "rivendicazione", "rivendicazioni"}))
        ++k;
    if (k == words.size())
        return true;
    for (std::size_t i = k >= 4 ? k - 4 : 0; i < k; ++i) {
        if (OneOf(words[i], {"any", "one", "either", "einem", "einer", "eines", "quelconque",
                             "qualsiasi", "qualunque", "helst"}))
            return true;
    }
    bool hasOr = false;
    bool hasAnd = false;
    for (std::size_t i = k + 1; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (OneOf(w, {"or", "oder", "ou", "o", "eller"}))
            hasOr = true;
        else if (OneOf(w, {"and", "und", "et", "e", "og", "och"}))
            hasAnd = true;
        else if (!(w[0] >= '1' && w[0] <= '9') && !OneOf(w, {"-", "\x1e", "to"}))
            break;
    }
    return hasOr && !hasAnd;
}

struct TClaimFacts {
    bool HasBox = false;
    int Resolved = 0;        // distinct earlier claims it refers to
    bool Multiple = false;   // a multiple dependent claim: Resolved >= 2
    bool OnMultiple = false; // is or depends through single dependents on one
    bool Improper = false;   // multiple dependent on another multiple dependent
    int64_t FeeCount = 1;    // claims it counts as for US fees
};

// A problem and the claim it belongs to, for sorting into text order.
struct TIndexedProblem {
    std::size_t Index;
    TClaimProblem Problem;
};

// Everything the checks and the fee counts need, in one pass over the claims.
class TClaimSetReading {
public:
    explicit TClaimSetReading(const TClaimTree& Tree) : tree(Tree) {
        for (const TClaim& claim : Tree.Claims) {
            if (InClaimTable(claim.Number))
                existing.Set(claim.Number);
            else
                existingBeyond.insert(claim.Number);
        }
        facts.resize(Tree.Claims.size());
        for (const TClaim& claim : Tree.Claims)
            Read(claim);
    }

    const TClaimTree& tree;
    TNumberMask existing;
    std::unordered_set<int32_t> existingBeyond;
    std::vector<TClaimFacts> facts;
    std::vector<TIndexedProblem> problems;

private:
    void Add(const TClaim& Claim, TSeverity Severity, std::string Kind, std::string Message) {
        problems.push_back(
            {Claim.Index,
             {Claim.Number, Claim.Line, Severity, std::move(Kind), std::move(Message)}});
    }

    bool Placed(const TClaim& Claim) const {
        return InClaimTable(Claim.Number) &&
               !(tree.NodeLimitReached && Claim.Index >= tree.FirstUnplaced);
    }

    void Read(const TClaim& Claim) {
        TClaimFacts& f = facts[Claim.Index];
        const std::string name = "Claim " + std::to_string(Claim.Number);

        // The references, split into those the tables hold and the rest.
        TNumberMask refs;
        std::vector<int32_t> beyond;
        for (const TReferenceRun& run : Claim.References) {
            refs.SetRange(run.First, run.Last);
            for (int64_t v = std::max(run.First, ClaimTableSize); v <= run.Last; ++v)
                beyond.push_back(static_cast<int32_t>(v));
        }
        std::sort(beyond.begin(), beyond.end());
        beyond.erase(std::unique(beyond.begin(), beyond.end()), beyond.end());

        std::vector<int32_t> missing, later;
        refs.AndNot(existing).AppendTo(missing);
        TNumberMask laterMask = refs.And(existing).AndNot(before);
        bool own = false;
        if (InClaimTable(Claim.Number) && refs.Has(Claim.Number)) {
            own = true;
            laterMask = laterMask.AndNot(Single(Claim.Number));
        }
        laterMask.AppendTo(later);
        std::vector<std::pair<int32_t, std::size_t>> resolvedBeyond;
        for (int32_t r : beyond) {
            if (r == Claim.Number)
                own = true;
            else if (const auto it = latestBeyond.find(r); it != latestBeyond.end())
                resolvedBeyond.emplace_back(r, it->second);
            else if (existingBeyond.count(r))
                later.push_back(r);
            else
                missing.push_back(r);
        }

        if (!missing.empty())
            Add(Claim, TSeverity::Error, "missing-reference",
                name + " refers to " + ClaimList(missing) +
                    (missing.size() == 1 ? ", which does not exist." : ", which do not exist."));
        if (!later.empty())
            Add(Claim, TSeverity::Error, "later-reference",
                name + " refers to " + ClaimList(later) +
                    (later.size() == 1 ? ", which comes" : ", which come") +
                    " after it; a claim can only refer to claims before it.");
        if (own)
            Add(Claim, TSeverity::Error, "own-reference", name + " refers to itself.");
        for (const std::string& phrase : Claim.Unresolved)
            Add(Claim, TSeverity::Warning, "unresolved-reference",
                name + ": the reference \"" + phrase + "\" could not be read as a claim number.");

        // Its place in the tree, as the analysis gives it.
        const TNumberMask resolved = refs.And(before);
        if (Placed(Claim)) {
            f.HasBox = Claim.Kind == 0 || !refs.And(withBox).Empty();
            if (!f.HasBox)
                Add(Claim, TSeverity::Error, "no-box", NoBoxMessage(Claim, name, refs, beyond));
        } else if (tree.NodeLimitReached && Claim.Index == tree.FirstUnplaced) {
            Add(Claim, TSeverity::Warning, "tree-too-large",
                "The tree is too large to draw in full: " + name +
                    " and the claims after it get no box.");
        }

        // Amendments: references to cancelled claims.
        std::vector<int32_t> cancelled;
        const auto noteCancelled = [&](int32_t r, std::size_t index) {
            if (IsCancelled(tree.Claims[index]))
                cancelled.push_back(r);
        };
        resolved.ForEach([&](int32_t r) { noteCancelled(r, latest[static_cast<std::size_t>(r)]); });
        for (const auto& [r, index] : resolvedBeyond)
            noteCancelled(r, index);
        if (!cancelled.empty() && !IsCancelled(Claim))
            Add(Claim, TSeverity::Warning, "cancelled-reference",
                name + " refers to cancelled " + ClaimList(cancelled) + ".");

        // Multiple dependency, US style.
        std::vector<std::size_t> referred;
        resolved.ForEach(
            [&](int32_t r) { referred.push_back(latest[static_cast<std::size_t>(r)]); });
        for (const auto& [r, index] : resolvedBeyond)
            referred.push_back(index);
        f.Resolved = static_cast<int>(referred.size());
        f.Multiple = f.Resolved >= 2;
        if (f.Multiple) {
            f.OnMultiple = true;
            std::vector<int32_t> onMultiple;
            for (std::size_t index : referred) {
                if (facts[index].OnMultiple)
                    onMultiple.push_back(tree.Claims[index].Number);
            }
            f.Improper = !onMultiple.empty();
            f.FeeCount = f.Improper ? 1 : f.Resolved;
            if (!InTheAlternative(Claim.Text))
                Add(Claim, TSeverity::Warning, "us-not-alternative",
                    "US practice: " + name + " refers to " + ClaimList(Sorted(referred)) +
                        " together; a multiple dependent claim must refer to them in the "
                        "alternative only (\"claim 1 or 2\", \"any one of claims 1 to 3\").");
            if (f.Improper)
                Add(Claim, TSeverity::Warning, "us-multiple-on-multiple",
                    "US practice: " + name +
                        " is a multiple dependent claim and depends, by way of " +
                        ClaimList(onMultiple) +
                        ", on another multiple dependent claim; it counts as one claim for fees.");
        } else if (f.Resolved == 1) {
            // Counts as the claim it depends on: one, or a proper multiple
            // dependent claim's count.
            const TClaimFacts& parent = facts[referred.front()];
            f.OnMultiple = parent.OnMultiple;
            f.FeeCount = parent.FeeCount;
        }

        // What the claims after it see.
        if (InClaimTable(Claim.Number)) {
            before.Set(Claim.Number);
            latest[static_cast<std::size_t>(Claim.Number)] = Claim.Index;
            if (f.HasBox)
                withBox.Set(Claim.Number);
        } else {
            latestBeyond[Claim.Number] = Claim.Index;
        }
    }

    std::string NoBoxMessage(const TClaim& Claim, const std::string& Name, const TNumberMask& Refs,
                             const std::vector<int32_t>& Beyond) const {
        // Each claim it refers to fails for one of these reasons.
        TNumberMask others = Refs;
        bool own = false;
        if (InClaimTable(Claim.Number) && Refs.Has(Claim.Number) && !before.Has(Claim.Number)) {
            own = true;
            others = Refs.AndNot(Single(Claim.Number));
        }
        bool missing = !others.AndNot(existing).Empty();
        bool later = !others.And(existing).AndNot(before).Empty();
        bool boxless = !others.And(before).AndNot(withBox).Empty();
        for (int32_t r : Beyond) {
            if (r == Claim.Number)
                own = true;
            else if (latestBeyond.count(r))
                boxless = true;
            else if (existingBeyond.count(r))
                later = true;
            else
                missing = true;
        }
        std::vector<std::string> reasons;
        if (missing)
            reasons.push_back("does not exist");
        if (later)
            reasons.push_back("comes after it");
        if (boxless)
            reasons.push_back("has no box itself");
        if (own)
            reasons.push_back("is the claim itself");
        std::string why;
        for (std::size_t i = 0; i < reasons.size(); ++i)
            why += (i == 0 ? "" : i + 1 == reasons.size() ? " or " : ", ") + reasons[i];
        const bool one = Refs.Count() + Beyond.size() == 1;
        return Name + " gets no box in the tree: " +
               (one ? "the claim it refers to " : "each claim it refers to ") + why + ".";
    }

    std::vector<int32_t> Sorted(const std::vector<std::size_t>& Indexes) const {
        std::vector<int32_t> numbers;
        for (std::size_t index : Indexes)
            numbers.push_back(tree.Claims[index].Number);
        std::sort(numbers.begin(), numbers.end());
        numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
        return numbers;
    }

    static TNumberMask Single(int32_t Number) {
        TNumberMask m;
        m.Set(Number);
        return m;
    }

    TNumberMask before;                               // numbers of the claims read so far
    TNumberMask withBox;                              // those of them that have a box
    std::array<std::size_t, ClaimTableSize> latest{}; // last claim read with each number
    std::unordered_map<int32_t, std::size_t> latestBeyond;
};

// Numbering: claim 1, gaps, repeats, order and numbers the tables cannot hold.
void CheckNumbering(const TClaimTree& Tree, std::vector<TIndexedProblem>& Problems) {
    if (Tree.Claims.empty())
        return;
    const auto add = [&](const TClaim& Claim, TSeverity Severity, const char* Kind,
                         std::string Message) {
        Problems.push_back(
            {Claim.Index, {Claim.Number, Claim.Line, Severity, Kind, std::move(Message)}});
    };
    std::unordered_map<int32_t, const TClaim*> first;
    const TClaim* previous = nullptr;
    for (const TClaim& claim : Tree.Claims) {
        const std::string name = "Claim " + std::to_string(claim.Number);
        const auto [it, isNew] = first.emplace(claim.Number, &claim);
        if (!isNew)
            add(claim, TSeverity::Error, "repeated-number",
                name + " repeats the number of the claim on line " +
                    std::to_string(it->second->Line) + ".");
        else if (previous != nullptr && claim.Number < previous->Number)
            add(claim, TSeverity::Error, "out-of-order",
                name + " comes after claim " + std::to_string(previous->Number) +
                    "; claims are numbered in order.");
        if (!InClaimTable(claim.Number))
            add(claim, TSeverity::Warning, "number-too-large",
                name + " is numbered beyond " + std::to_string(ClaimTableSize - 1) +
                    ", the highest number the tree can show; it gets no box.");
        previous = &claim;
    }

    std::vector<int32_t> numbers;
    for (const auto& [number, claim] : first) {
        if (number >= 1)
            numbers.push_back(number);
    }
    std::sort(numbers.begin(), numbers.end());
    if (first.count(1) == 0)
        add(Tree.Claims.front(), TSeverity::Warning, "no-claim-1",
            "There is no claim 1; the claims start at claim " +
                std::to_string(Tree.Claims.front().Number) + ".");
    for (std::size_t i = 1; i < numbers.size(); ++i) {
        if (numbers[i] == numbers[i - 1] + 1)
            continue;
        const int32_t from = numbers[i - 1] + 1;
        const int32_t to = numbers[i] - 1;
        add(*first[numbers[i]], TSeverity::Warning, "gap",
            (from == to ? "Claim " + std::to_string(from) + " is"
                        : "Claims " + std::to_string(from) + (to == from + 1 ? " and " : " to ") +
                              std::to_string(to) + " are") +
                " missing from the numbering.");
    }
}

} // namespace

const char* SeverityName(TSeverity Severity) {
    return Severity == TSeverity::Error ? "error" : "warning";
}

std::vector<TClaimProblem> CheckClaims(const TClaimTree& Tree) {
    TClaimSetReading reading(Tree);
    CheckNumbering(Tree, reading.problems);
    // Text order; within a claim, references before numbering.
    std::stable_sort(
        reading.problems.begin(), reading.problems.end(),
        [](const TIndexedProblem& a, const TIndexedProblem& b) { return a.Index < b.Index; });
    std::vector<TClaimProblem> problems;
    problems.reserve(reading.problems.size());
    for (TIndexedProblem& p : reading.problems)
        problems.push_back(std::move(p.Problem));
    return problems;
}

TFeeCounts CountFees(const TClaimTree& Tree) {
    const TClaimSetReading reading(Tree);
    TFeeCounts counts;
    for (const TClaim& claim : Tree.Claims) {
        if (IsCancelled(claim))
            continue;
        const TClaimFacts& f = reading.facts[claim.Index];
        counts.Us.Total += f.FeeCount;
        if (claim.Kind == 0)
            ++counts.Us.Independent;
        if (f.Multiple && !f.Improper)
            counts.Us.MultipleDependent = true;
        ++counts.Ep.Claims;
    }
    counts.Us.ExcessTotal = std::max<int64_t>(counts.Us.Total - 20, 0);
    counts.Us.ExcessIndependent = std::max<int64_t>(counts.Us.Independent - 3, 0);
    counts.Ep.Excess15 = std::clamp<int64_t>(counts.Ep.Claims - 15, 0, 35);
    counts.Ep.Excess50 = std::max<int64_t>(counts.Ep.Claims - 50, 0);
    return counts;
}
