#include "ClaimChecks.h"

#include "AntecedentBasis.h"
#include "ClaimCategories.h"
#include "ClaimTree.h"
#include "ClaimWords.h"
#include "LenientLexicon.h"
#include "LenientReferences.h"
#include "ReferenceSigns.h"
#include "Tools.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <map>
#include <set>

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
    uint64_t WordAt(std::size_t W) const { return words[W]; }
    void Assign(int32_t Number, bool Value) {
        if (Value)
            Set(Number);
        else
            words[Word(Number)] &= ~Bit(Number);
    }
    // Clears words Lo..Hi.
    void Clear(std::size_t Lo, std::size_t Hi) {
        for (std::size_t w = Lo; w <= Hi && w < words.size(); ++w)
            words[w] = 0;
    }
    // The members as runs of consecutive numbers, ascending; a word at a time.
    std::vector<std::pair<int32_t, int32_t>> Runs() const {
        std::vector<std::pair<int32_t, int32_t>> runs;
        for (std::size_t w = 0; w < words.size(); ++w) {
            uint64_t bits = words[w];
            while (bits != 0) {
                const int start = std::countr_zero(bits);
                const int ones = std::countr_one(bits >> start);
                const auto first = static_cast<int32_t>(w * 64) + start;
                const int32_t last = first + ones - 1;
                if (!runs.empty() && runs.back().second + 1 == first)
                    runs.back().second = last;
                else
                    runs.emplace_back(first, last);
                bits = ones + start == 64 ? 0 : bits & (~uint64_t{0} << (start + ones));
            }
        }
        return runs;
    }

private:
    static std::size_t Word(int32_t Number) { return static_cast<std::size_t>(Number) / 64; }
    static uint64_t Bit(int32_t Number) { return uint64_t{1} << (Number % 64); }

    std::array<uint64_t, ClaimTableSize / 64> words{};
};

// Claim numbers as ascending runs of consecutive numbers. Numbers past the
// tables are kept so: "any one of claims 1 to 30000" is one run, not 29,000
// numbers for each claim that says so.
using TRuns = std::vector<std::pair<int32_t, int32_t>>;

int64_t CountOf(const TRuns& Runs) {
    int64_t n = 0;
    for (const auto& [first, last] : Runs)
        n += int64_t{last} - first + 1;
    return n;
}

bool Contains(const TRuns& Runs, int32_t Number) {
    return std::any_of(Runs.begin(), Runs.end(),
                       [&](const auto& r) { return r.first <= Number && Number <= r.second; });
}

// Appends First..Last, joining it to the last run when they touch.
void Append(TRuns& Runs, int32_t First, int32_t Last) {
    if (!Runs.empty() && int64_t{Runs.back().second} + 1 >= First)
        Runs.back().second = std::max(Runs.back().second, Last);
    else
        Runs.emplace_back(First, Last);
}

// Runs less one number.
TRuns Without(const TRuns& Runs, int32_t Number) {
    TRuns out;
    for (const auto& [first, last] : Runs) {
        if (Number < first || Number > last) {
            out.emplace_back(first, last);
            continue;
        }
        if (first < Number)
            out.emplace_back(first, Number - 1);
        if (Number < last)
            out.emplace_back(Number + 1, last);
    }
    return out;
}

// Runs one after the other, both ascending, the second starting after the first.
TRuns Joined(const TRuns& Low, const TRuns& High) {
    TRuns out;
    for (const TRuns* part : {&Low, &High})
        for (const auto& [first, last] : *part)
            Append(out, first, last);
    return out;
}

// A changing set of claim numbers past the tables, as disjoint runs.
class TNumberRunSet {
public:
    bool Has(int32_t Number) const {
        const auto it = Containing(Number);
        return it != runs.end();
    }
    void Assign(int32_t Number, bool Value) {
        if (Value == Has(Number))
            return;
        if (Value) {
            int32_t first = Number, last = Number;
            if (Number > std::numeric_limits<int32_t>::min()) {
                if (const auto below = Containing(Number - 1); below != runs.end()) {
                    first = below->first;
                    runs.erase(below);
                }
            }
            if (Number < std::numeric_limits<int32_t>::max()) {
                if (const auto above = runs.find(Number + 1); above != runs.end()) {
                    last = above->second;
                    runs.erase(above);
                }
            }
            runs.emplace(first, last);
        } else {
            const auto it = Containing(Number);
            const int32_t first = it->first, last = it->second;
            runs.erase(it);
            if (first < Number)
                runs.emplace(first, Number - 1);
            if (Number < last)
                runs.emplace(Number + 1, last);
        }
    }
    // The parts of Runs that are in the set, or that are not.
    TRuns In(const TRuns& Runs) const { return Split(Runs, true); }
    TRuns NotIn(const TRuns& Runs) const { return Split(Runs, false); }

private:
    std::map<int32_t, int32_t>::const_iterator Containing(int32_t Number) const {
        auto it = runs.upper_bound(Number);
        if (it == runs.begin())
            return runs.end();
        --it;
        return it->second >= Number ? it : runs.end();
    }

    TRuns Split(const TRuns& Runs, bool Inside) const {
        TRuns out;
        for (const auto& [first, last] : Runs) {
            int64_t from = first; // the first number not yet placed
            auto it = runs.upper_bound(first);
            if (it != runs.begin() && std::prev(it)->second >= first)
                --it;
            for (; it != runs.end() && it->first <= last; ++it) {
                const int32_t a = std::max(it->first, first);
                const int32_t b = std::min(it->second, last);
                if (!Inside && from < a)
                    out.emplace_back(static_cast<int32_t>(from), a - 1);
                if (Inside)
                    out.emplace_back(a, b);
                from = int64_t{b} + 1;
            }
            if (!Inside && from <= last)
                out.emplace_back(static_cast<int32_t>(from), last);
        }
        return out;
    }

    std::map<int32_t, int32_t> runs; // first -> last
};

bool IsCancelledStatus(const std::string& Status) {
    return !Status.empty() && LowerAscii(Status).find("cancel") != std::string::npos;
}

bool IsCancelled(const TClaim& Claim) {
    return IsCancelledStatus(Claim.Status);
}

// "claim 3", "claims 3 and 5", "claims 2, 4 to 6 and 9", from runs of
// consecutive numbers in ascending order; a run of two is written as two numbers.
std::string ClaimList(const std::vector<std::pair<int32_t, int32_t>>& Runs) {
    std::vector<std::pair<int32_t, int32_t>> items;
    for (const auto& [first, last] : Runs) {
        const bool two = int64_t{last} == int64_t{first} + 1; // numbers reach INT32_MAX
        if (two)
            items.emplace_back(first, first);
        items.emplace_back(two ? last : first, last);
    }
    std::string text =
        items.size() == 1 && items[0].first == items[0].second ? "claim " : "claims ";
    for (std::size_t k = 0; k < items.size(); ++k) {
        text += k == 0 ? "" : k + 1 == items.size() ? " and " : ", ";
        text += std::to_string(items[k].first);
        if (items[k].second != items[k].first) {
            text += " to ";
            text += std::to_string(items[k].second);
        }
    }
    return text;
}

// The parts joined, with one allocation.
std::string Cat(std::initializer_list<std::string_view> Parts) {
    std::size_t size = 0;
    for (std::string_view part : Parts)
        size += part.size();
    std::string text;
    text.reserve(size);
    for (std::string_view part : Parts)
        text += part;
    return text;
}

// Whether Word, in any case, is one of List (lower case).
bool OneOf(std::string_view Word, std::initializer_list<std::string_view> List) {
    return std::any_of(List.begin(), List.end(), [&](std::string_view w) {
        return w.size() == Word.size() &&
               std::equal(w.begin(), w.end(), Word.begin(), [](char a, char b) {
                   return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b + 32) : b);
               });
    });
}

// Whether Word is a claim word of the reading that read the claim. The
// lenient reading knows many more; words with accented letters fall apart
// here and are not found.
bool IsReadingsClaimWord(std::string_view Word, TReading Reading) {
    if (WordKindOf(Word) == TWordKind::Claim)
        return true;
    return Reading == TReading::Lenient && Word.size() <= 24 &&
           ClaimWordKind(LowerAscii(std::string(Word))) != TClaimWord::None;
}

// Whether a claim's references are written in the alternative, as US practice
// wants of a multiple dependent claim: "claim 1 or 2", "any one of claims 1 to
// 3", "any preceding claim", but not "claims 1 and 2", "claims 1 to 3" or
// "claims 1 and/or 2". Unknown wording counts as alternative, so that it gives
// no false problem.
bool InTheAlternative(std::string_view Text, TReading Reading) {
    if (Reading == TReading::Lenient) {
        if (const std::optional<bool> wider = WiderReferenceInTheAlternative(Text))
            return *wider;
    }
    TClaimWordReader words(Text);
    std::string_view word;
    std::array<std::string_view, 4> lastFour; // the words before the claim word
    std::size_t count = 0;
    bool found = false;
    while (!found && words.Next(word)) {
        found = IsReadingsClaimWord(word, Reading);
        if (!found)
            lastFour[count++ % lastFour.size()] = word;
    }
    if (!found)
        return true;
    for (std::size_t i = 0; i < std::min(count, lastFour.size()); ++i) {
        if (OneOf(lastFour[i], {"any", "one", "either", "einem", "einer", "eines", "quelconque",
                                "qualsiasi", "qualunque", "helst"}))
            return true;
    }
    bool hasOr = false;
    bool hasAnd = false;
    while (words.Next(word)) {
        if (OneOf(word, {"or", "oder", "ou", "o", "eller"}))
            hasOr = true;
        else if (OneOf(word, {"and", "und", "et", "e", "og", "och"}))
            hasAnd = true;
        else if (!(word[0] >= '1' && word[0] <= '9') && WordKindOf(word) != TWordKind::Range)
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

// The claims numbered past the tables as (number, index), sorted: a million
// of them in a table of 16 bytes each rather than in hash maps.
using TClaimsBeyond = std::vector<std::pair<int32_t, std::size_t>>;

TClaimsBeyond ClaimsBeyond(const TClaimTree& Tree) {
    TClaimsBeyond beyond;
    for (const TClaim& claim : Tree.Claims) {
        if (!InClaimTable(claim.Number))
            beyond.emplace_back(claim.Number, claim.Index);
    }
    std::sort(beyond.begin(), beyond.end());
    return beyond;
}

// The first claim numbered Number (one of Beyond).
std::size_t FirstBeyond(const TClaimsBeyond& Beyond, int32_t Number) {
    return std::lower_bound(Beyond.begin(), Beyond.end(),
                            std::pair<int32_t, std::size_t>{Number, 0})
        ->second;
}

// Everything the checks and the fee counts need, in one pass over the claims.
class TClaimSetReading {
public:
    // Collect: whether to gather the problems, or only what the fee counts need.
    TClaimSetReading(const TClaimTree& Tree, bool Collect)
        : tree(Tree), beyondClaims(ClaimsBeyond(Tree)), collect(Collect) {
        facts.resize(Tree.Claims.size());
        for (const TClaim& claim : Tree.Claims)
            Read(claim);
    }

    const TClaimTree& tree;
    const TClaimsBeyond beyondClaims;
    std::vector<TClaimFacts> facts;
    std::vector<TIndexedProblem> problems;
    TFeeCounts fees;

private:
    // Every claim number of the text; only needed to tell a missing claim from
    // a later one, so found when first needed.
    void FindExisting() {
        if (existingFound)
            return;
        existingFound = true;
        for (const TClaim& claim : tree.Claims) {
            if (InClaimTable(claim.Number))
                existing.Set(claim.Number);
            else
                existingBeyond.Assign(claim.Number, true);
        }
    }

    void Add(const TClaim& Claim, TSeverity Severity, TProblemKind Kind, std::string Message) {
        problems.push_back(
            {Claim.Index, {Claim.Number, Claim.Line, Severity, Kind, std::move(Message)}});
    }

    bool Placed(const TClaim& Claim) const {
        return InClaimTable(Claim.Number) &&
               !(tree.NodeLimitReached && Claim.Index >= tree.FirstUnplaced);
    }

    void Read(const TClaim& Claim) {
        TClaimFacts& f = facts[Claim.Index];

        // The references: those the tables hold as bits in words lo..hi of
        // refs, the rest listed. Most claims touch one word.
        refs.Clear(lo, hi);
        lo = ClaimTableSize / 64;
        hi = 0;
        beyond.clear();
        for (const TReferenceRun& run : Claim.References) {
            const int32_t first = std::max(run.First, 0);
            const int32_t last = std::min(run.Last, ClaimTableSize - 1);
            if (first <= last) {
                refs.SetRange(first, last);
                lo = std::min(lo, static_cast<std::size_t>(first) / 64);
                hi = std::max(hi, static_cast<std::size_t>(last) / 64);
            }
            if (run.Last >= ClaimTableSize)
                beyond.emplace_back(std::max(run.First, ClaimTableSize), run.Last);
        }

        const bool inTable = InClaimTable(Claim.Number);
        bool own = inTable && refs.Has(Claim.Number);
        uint64_t unread = 0, box = 0, cancelled = 0, onMultiple = 0;
        int resolved = 0;
        int32_t firstResolved = -1;
        for (std::size_t w = lo; w <= hi && lo <= hi; ++w) {
            const uint64_t r = refs.WordAt(w);
            if (r == 0)
                continue;
            // Missing or later: not read before this claim.
            uint64_t u = r & ~before.WordAt(w);
            if (own && w == static_cast<std::size_t>(Claim.Number) / 64)
                u &= ~(uint64_t{1} << (Claim.Number % 64));
            unread |= u;
            box |= r & withBox.WordAt(w);
            const uint64_t res = r & before.WordAt(w);
            cancelled |= res & cancelledNumbers.WordAt(w);
            onMultiple |= res & onMultipleNumbers.WordAt(w);
            if (res != 0 && firstResolved < 0)
                firstResolved = static_cast<int32_t>(w * 64) + std::countr_zero(res);
            resolved += std::popcount(res);
        }

        // References beyond the tables, seldom any: the claim itself, those
        // read before it, those that come later and those missing.
        referredBeyond.clear();
        laterBeyond.clear();
        missingBeyond.clear();
        if (!beyond.empty()) {
            FindExisting();
            std::sort(beyond.begin(), beyond.end());
            TRuns merged;
            for (const auto& [first, last] : beyond)
                Append(merged, first, last);
            beyond = std::move(merged);
            if (!inTable && Contains(beyond, Claim.Number))
                own = true;
            const TRuns others = inTable ? beyond : Without(beyond, Claim.Number);
            referredBeyond = readBeyond.In(others);
            const TRuns unread = readBeyond.NotIn(others);
            laterBeyond = existingBeyond.In(unread);
            missingBeyond = existingBeyond.NotIn(unread);
            if (!cancelledBeyond.In(referredBeyond).empty())
                cancelled |= 1;
            if (!onMultipleBeyond.In(referredBeyond).empty())
                onMultiple |= 1;
        }

        // The fee count and the place in US multiple dependency.
        f.Resolved = resolved + static_cast<int>(CountOf(referredBeyond));
        f.Multiple = f.Resolved >= 2;
        if (f.Multiple) {
            f.OnMultiple = true;
            f.Improper = onMultiple != 0;
            f.FeeCount = f.Improper ? 1 : f.Resolved;
        } else if (f.Resolved == 1) {
            // Counts as the claim it depends on: one, or a proper multiple
            // dependent claim's count.
            const std::size_t parentIndex =
                firstResolved >= 0 ? latest[static_cast<std::size_t>(firstResolved)]
                                   : LatestBeyond(referredBeyond.front().first, Claim.Index);
            const TClaimFacts& parent = facts[parentIndex];
            f.OnMultiple = parent.OnMultiple;
            f.FeeCount = parent.FeeCount;
        }
        if (Placed(Claim))
            f.HasBox = Claim.Kind == TClaimKind::Independent || box != 0;

        // Raw counts; FeesOf works out the excess.
        const bool isCancelled = IsCancelled(Claim);
        if (!isCancelled) {
            fees.Us.Total += f.FeeCount;
            fees.Us.Independent += Claim.Kind == TClaimKind::Independent ? 1 : 0;
            fees.Us.MultipleDependent |= f.Multiple && !f.Improper;
            ++fees.Ep.Claims;
        }

        if (collect) {
            const bool together = f.Multiple && !InTheAlternative(Claim.Text, tree.Reading);
            if (unread != 0 || own || cancelled != 0 || together || f.Improper ||
                !missingBeyond.empty() || !laterBeyond.empty() || !Claim.Unresolved.empty() ||
                (Placed(Claim) && !f.HasBox) ||
                (tree.NodeLimitReached && Claim.Index == tree.FirstUnplaced))
                Report(Claim, own, together, unread != 0);
        }

        // What the claims after it see.
        if (inTable) {
            const int32_t n = Claim.Number;
            before.Set(n);
            latest[static_cast<std::size_t>(n)] = Claim.Index;
            if (f.HasBox) // an earlier claim of the same number keeps its boxes
                withBox.Set(n);
            cancelledNumbers.Assign(n, isCancelled);
            onMultipleNumbers.Assign(n, f.OnMultiple);
        } else {
            readBeyond.Assign(Claim.Number, true);
            cancelledBeyond.Assign(Claim.Number, isCancelled);
            onMultipleBeyond.Assign(Claim.Number, f.OnMultiple);
        }
    }

    // The last claim numbered Number read before claim Index; one was, as
    // Number is among those read.
    std::size_t LatestBeyond(int32_t Number, std::size_t Index) const {
        const auto after = std::lower_bound(beyondClaims.begin(), beyondClaims.end(),
                                            std::pair<int32_t, std::size_t>{Number, Index});
        return std::prev(after)->second;
    }

    // The problems of one claim that has some; here speed does not matter.
    void Report(const TClaim& Claim, bool Own, bool Together, bool Unread) {
        if (Unread || (Placed(Claim) && !facts[Claim.Index].HasBox))
            FindExisting();
        const TClaimFacts& f = facts[Claim.Index];
        const std::string name = "Claim " + std::to_string(Claim.Number);
        const TNumberMask resolved = refs.And(before);
        // The claims of Mask in the tables and More past them.
        const auto merged = [](const TNumberMask& Mask, const TRuns& More) {
            return Joined(Mask.Runs(), More);
        };
        const auto listed = [&](const TNumberMask& Mask, const TRuns& More) {
            return ClaimList(merged(Mask, More));
        };

        TRuns missing = missingBeyond;
        TRuns later = laterBeyond;
        if (Unread) {
            TNumberMask laterMask = refs.And(existing).AndNot(before);
            if (InClaimTable(Claim.Number))
                laterMask = laterMask.AndNot(Single(Claim.Number));
            missing = merged(refs.AndNot(existing), missing);
            later = merged(laterMask, later);
        }
        if (!missing.empty())
            Add(Claim, TSeverity::Error, TProblemKind::MissingReference,
                Cat({name, " refers to ", ClaimList(missing),
                     CountOf(missing) == 1 ? ", which does not exist." : ", which do not exist."}));
        if (!later.empty())
            Add(Claim, TSeverity::Error, TProblemKind::LaterReference,
                Cat({name, " refers to ", ClaimList(later),
                     CountOf(later) == 1 ? ", which comes" : ", which come",
                     " after it; a claim can only refer to claims before it."}));
        if (Own)
            Add(Claim, TSeverity::Error, TProblemKind::OwnReference,
                Cat({name, " refers to itself."}));
        for (const std::string& phrase : Claim.Unresolved)
            Add(Claim, TSeverity::Warning, TProblemKind::UnresolvedReference,
                Cat({name, ": the reference \"", phrase,
                     "\" could not be read as a claim number."}));

        if (Placed(Claim) && !f.HasBox)
            Add(Claim, TSeverity::Error, TProblemKind::NoBox, NoBoxMessage(Claim, name));
        else if (tree.NodeLimitReached && Claim.Index == tree.FirstUnplaced)
            Add(Claim, TSeverity::Warning, TProblemKind::TreeTooLarge,
                Cat({"The tree is too large to draw in full: ", name,
                     " and the claims after it get no box."}));

        const TRuns cancelled =
            merged(resolved.And(cancelledNumbers), cancelledBeyond.In(referredBeyond));
        if (!cancelled.empty() && !IsCancelled(Claim))
            Add(Claim, TSeverity::Warning, TProblemKind::CancelledReference,
                Cat({name, " refers to cancelled ", ClaimList(cancelled), "."}));

        if (Together)
            Add(Claim, TSeverity::Warning, TProblemKind::UsNotAlternative,
                Cat({"US practice: ", name, " refers to ", listed(resolved, referredBeyond),
                     " together; a multiple dependent claim must refer to them in the "
                     "alternative only (\"claim 1 or 2\", \"any one of claims 1 to 3\")."}));
        if (f.Improper)
            Add(Claim, TSeverity::Warning, TProblemKind::UsMultipleOnMultiple,
                Cat({"US practice: ", name,
                     " is a multiple dependent claim and depends, by way of ",
                     listed(resolved.And(onMultipleNumbers), onMultipleBeyond.In(referredBeyond)),
                     ", on another multiple dependent claim; it counts as one claim for fees."}));
    }

    std::string NoBoxMessage(const TClaim& Claim, const std::string& Name) const {
        const TNumberMask& Refs = refs;
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
        own = own || (!InClaimTable(Claim.Number) && Contains(beyond, Claim.Number));
        boxless = boxless || !referredBeyond.empty();
        later = later || !laterBeyond.empty();
        missing = missing || !missingBeyond.empty();
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
        const bool one = Refs.Count() + CountOf(beyond) == 1;
        return Name + " gets no box in the tree: " +
               (one ? "the claim it refers to " : "each claim it refers to ") + why + ".";
    }

    static TNumberMask Single(int32_t Number) {
        TNumberMask m;
        m.Set(Number);
        return m;
    }

    const bool collect;
    bool existingFound = false;
    TNumberMask existing;
    TNumberRunSet existingBeyond;
    TNumberMask before;            // numbers of the claims read so far
    TNumberMask withBox;           // those with a box, of any claim of the number
    TNumberMask cancelledNumbers;  // those whose last claim is cancelled
    TNumberMask onMultipleNumbers; // those whose last claim is or depends on a multiple dependent
    // The current claim's references in the tables, in words lo..hi, and beyond them.
    TNumberMask refs;
    std::size_t lo = 1;
    std::size_t hi = 0;
    TRuns beyond;
    TRuns referredBeyond, laterBeyond, missingBeyond; // beyond, less the claim itself
    std::array<std::size_t, ClaimTableSize> latest{}; // last claim read with each number
    TNumberRunSet readBeyond; // as before, and the three below, past the tables
    TNumberRunSet cancelledBeyond;
    TNumberRunSet onMultipleBeyond;
};

// Numbering: claim 1, gaps, repeats, order and numbers the tables cannot hold.
void CheckNumbering(const TClaimTree& Tree, const TClaimsBeyond& Beyond,
                    std::vector<TIndexedProblem>& Problems) {
    if (Tree.Claims.empty())
        return;
    const auto add = [&](const TClaim& Claim, TSeverity Severity, TProblemKind Kind,
                         std::string Message) {
        Problems.push_back(
            {Claim.Index, {Claim.Number, Claim.Line, Severity, Kind, std::move(Message)}});
    };
    // Each claim past the tables has a problem of its own.
    Problems.reserve(Problems.size() + Beyond.size());
    // The first claim of each number.
    std::array<const TClaim*, ClaimTableSize> firstInTable{};
    const auto firstBeyond = [&](int32_t Number) {
        return &Tree.Claims[FirstBeyond(Beyond, Number)];
    };
    const TClaim* previous = nullptr;
    for (const TClaim& claim : Tree.Claims) {
        const TClaim* beyondFirst = nullptr;
        if (!InClaimTable(claim.Number)) {
            beyondFirst = firstBeyond(claim.Number);
            if (beyondFirst == &claim)
                beyondFirst = nullptr;
        }
        const TClaim*& first = InClaimTable(claim.Number)
                                   ? firstInTable[static_cast<std::size_t>(claim.Number)]
                                   : beyondFirst;
        if (first != nullptr)
            add(claim, TSeverity::Error, TProblemKind::RepeatedNumber,
                "Claim " + std::to_string(claim.Number) +
                    " repeats the number of the claim on line " + std::to_string(first->Line) +
                    ".");
        else if (previous != nullptr && claim.Number < previous->Number)
            add(claim, TSeverity::Error, TProblemKind::OutOfOrder,
                "Claim " + std::to_string(claim.Number) + " comes after claim " +
                    std::to_string(previous->Number) + "; claims are numbered in order.");
        if (first == nullptr)
            first = &claim;
        if (!InClaimTable(claim.Number))
            add(claim, TSeverity::Warning, TProblemKind::NumberTooLarge,
                "Claim " + std::to_string(claim.Number) + " is numbered beyond " +
                    std::to_string(ClaimTableSize - 1) +
                    ", the highest number the tree can show; it gets no box.");
        previous = &claim;
    }

    const auto firstOf = [&](int32_t Number) {
        return InClaimTable(Number) ? firstInTable[static_cast<std::size_t>(Number)]
                                    : firstBeyond(Number);
    };
    std::vector<int32_t> numbers;
    for (int32_t n = 1; n < ClaimTableSize; ++n) {
        if (firstInTable[static_cast<std::size_t>(n)] != nullptr)
            numbers.push_back(n);
    }
    for (std::size_t i = 0; i < Beyond.size(); ++i) {
        if (i == 0 || Beyond[i].first != Beyond[i - 1].first)
            numbers.push_back(Beyond[i].first);
    }
    // The numbers of a wide range are neither missing nor a gap: the range
    // has its own problem. Ascending, so that each gap looks at few.
    std::vector<std::pair<int64_t, int64_t>> wide;
    for (const TUnreadRange& range : Tree.UnreadRanges)
        wide.emplace_back(range.First, range.Last);
    std::sort(wide.begin(), wide.end());
    if (firstInTable[1] == nullptr &&
        (wide.empty() || wide.front().first > 1 || wide.front().second < 1))
        add(Tree.Claims.front(), TSeverity::Warning, TProblemKind::NoClaim1,
            "There is no claim 1; the claims start at claim " +
                std::to_string(Tree.Claims.front().Number) + ".");
    std::size_t w = 0;
    for (std::size_t i = 1; i < numbers.size(); ++i) {
        if (numbers[i] == numbers[i - 1] + 1)
            continue;
        int64_t from = int64_t{numbers[i - 1]} + 1;
        const int32_t to = numbers[i] - 1;
        while (w < wide.size() && wide[w].second < from)
            ++w;
        for (std::size_t k = w; k < wide.size() && wide[k].first <= from; ++k)
            from = std::max(from, wide[k].second + 1);
        if (from > to)
            continue;
        add(*firstOf(numbers[i]), TSeverity::Warning, TProblemKind::Gap,
            (from == to ? "Claim " + std::to_string(from) + " is"
                        : "Claims " + std::to_string(from) + (to == from + 1 ? " and " : " to ") +
                              std::to_string(to) + " are") +
                " missing from the numbering.");
    }
}

} // namespace

const char* ProblemKindName(TProblemKind Kind) {
    switch (Kind) {
    case TProblemKind::MissingReference:
        return "missing-reference";
    case TProblemKind::LaterReference:
        return "later-reference";
    case TProblemKind::OwnReference:
        return "own-reference";
    case TProblemKind::UnresolvedReference:
        return "unresolved-reference";
    case TProblemKind::NoBox:
        return "no-box";
    case TProblemKind::TreeTooLarge:
        return "tree-too-large";
    case TProblemKind::CancelledReference:
        return "cancelled-reference";
    case TProblemKind::UsNotAlternative:
        return "us-not-alternative";
    case TProblemKind::UsMultipleOnMultiple:
        return "us-multiple-on-multiple";
    case TProblemKind::RepeatedNumber:
        return "repeated-number";
    case TProblemKind::OutOfOrder:
        return "out-of-order";
    case TProblemKind::NumberTooLarge:
        return "number-too-large";
    case TProblemKind::NoClaim1:
        return "no-claim-1";
    case TProblemKind::Gap:
        return "gap";
    case TProblemKind::RangeTooWide:
        return "range-too-wide";
    case TProblemKind::RangeWithText:
        return "range-with-text";
    case TProblemKind::OtherReading:
        return "other-reading";
    case TProblemKind::ClaimsLeftOut:
        return "claims-left-out";
    case TProblemKind::CategoryCount:
        return "category-count";
    case TProblemKind::ReferenceSign:
        return "reference-sign";
    case TProblemKind::ClaimLink:
        return "claim-link";
    case TProblemKind::AntecedentBasis:
        return "antecedent-basis";
    }
    return "unknown";
}

bool ProblemKindOfName(std::string_view Name, TProblemKind& Kind) {
    for (int k = 0; k <= static_cast<int>(LastProblemKind); ++k) {
        if (Name == ProblemKindName(static_cast<TProblemKind>(k))) {
            Kind = static_cast<TProblemKind>(k);
            return true;
        }
    }
    return false;
}

const char* SeverityName(TSeverity Severity) {
    if (Severity == TSeverity::Note)
        return "note";
    return Severity == TSeverity::Error ? "error" : "warning";
}

namespace {

// Ranges not read claim by claim. Each goes before the problems of the claim
// after it.
std::vector<TIndexedProblem> WideRangeProblems(const TClaimTree& Tree) {
    std::vector<TIndexedProblem> problems;
    for (const TUnreadRange& range : Tree.UnreadRanges) {
        const std::string claims =
            "Claims " + std::to_string(range.First) + " to " + std::to_string(range.Last);
        TClaimProblem problem{range.First, range.Line, TSeverity::Error,
                              TProblemKind::RangeWithText,
                              claims + " are numbered as one range with a text; each claim needs "
                                       "a number of its own, so the range is not read as claims."};
        if (!range.HasText && IsCancelledStatus(range.Status)) {
            problem.Severity = TSeverity::Warning;
            problem.Kind = TProblemKind::RangeTooWide;
            problem.Message = claims + " are cancelled as one range of more claims than the tree "
                                       "can show; they are not listed one by one.";
        } else if (!range.HasText) {
            problem.Kind = TProblemKind::RangeTooWide;
            problem.Message = claims + " are numbered as one range of more claims than the tree "
                                       "can show; the range is not read as claims.";
        }
        problems.push_back({range.Before, std::move(problem)});
    }
    return problems;
}

// The checks of the claims' words: categories and reference signs.
void AddWordingProblems(const TClaimTree& Tree, std::string_view Text,
                        std::vector<TIndexedProblem>& Problems) {
    std::vector<std::pair<std::size_t, TClaimProblem>> found;
    AddCategoryProblems(Tree, ClaimCategories(Tree), found);
    AddReferenceSignProblems(Tree, DescriptionBefore(Tree, Text), found);
    for (auto& [index, problem] : found)
        Problems.push_back({index, std::move(problem)});
}

std::vector<TClaimProblem> ProblemsOf(const TClaimTree& Tree, TClaimSetReading& Reading,
                                      const TCheckOptions& Options) {
    if (!Tree.UnreadRanges.empty()) {
        std::vector<TIndexedProblem> ranges = WideRangeProblems(Tree);
        Reading.problems.insert(Reading.problems.begin(), std::make_move_iterator(ranges.begin()),
                                std::make_move_iterator(ranges.end()));
    }
    CheckNumbering(Tree, Reading.beyondClaims, Reading.problems);
    if (Options.Wording)
        AddWordingProblems(Tree, Options.Text, Reading.problems);
    if (Options.AntecedentBasis)
        for (auto& [index, problem] : AntecedentBasisByClaim(Tree))
            Reading.problems.push_back({index, std::move(problem)});
    // Text order; within a claim, references before numbering.
    const auto byIndex = [](const TIndexedProblem& a, const TIndexedProblem& b) {
        return a.Index < b.Index;
    };
    if (!std::is_sorted(Reading.problems.begin(), Reading.problems.end(), byIndex))
        std::stable_sort(Reading.problems.begin(), Reading.problems.end(), byIndex);
    std::vector<TClaimProblem> problems;
    problems.reserve(Reading.problems.size());
    for (TIndexedProblem& p : Reading.problems)
        problems.push_back(std::move(p.Problem));
    return problems;
}

TFeeCounts FeesOf(const TClaimSetReading& Reading) {
    TFeeCounts counts = Reading.fees;
    counts.Us.ExcessTotal = std::max<int64_t>(counts.Us.Total - 20, 0);
    counts.Us.ExcessIndependent = std::max<int64_t>(counts.Us.Independent - 3, 0);
    counts.Ep.Excess15 = std::clamp<int64_t>(counts.Ep.Claims - 15, 0, 35);
    counts.Ep.Excess50 = std::max<int64_t>(counts.Ep.Claims - 50, 0);
    return counts;
}

} // namespace

std::vector<TClaimProblem> CheckClaims(const TClaimTree& Tree, const TCheckOptions& Options) {
    TClaimSetReading reading(Tree, true);
    return ProblemsOf(Tree, reading, Options);
}

TFeeCounts CountFees(const TClaimTree& Tree) {
    return FeesOf(TClaimSetReading(Tree, false));
}

TClaimChecks CheckAndCountFees(const TClaimTree& Tree, const TCheckOptions& Options) {
    TClaimSetReading reading(Tree, true);
    TClaimChecks checks;
    checks.Problems = ProblemsOf(Tree, reading, Options);
    checks.Fees = FeesOf(reading);
    return checks;
}

std::string MessageAfterClaim(const TClaimProblem& Problem) {
    // "laim 2", as in "Claim 2" and "claim 2".
    const std::string name = "laim " + std::to_string(Problem.Claim);
    const std::string& message = Problem.Message;
    for (std::size_t found = message.find(name); found != std::string::npos;
         found = message.find(name, found + 1)) {
        const std::size_t at = found - 1;
        const std::size_t end = found + name.size();
        if (found == 0 || (message[at] != 'C' && message[at] != 'c') ||
            (at > 0 && message[at - 1] != ' '))
            continue;
        // "Claim 2" and not the start of "Claim 23".
        if (end < message.size() && message[end] >= '0' && message[end] <= '9')
            continue;
        if (at == 0) {
            std::size_t rest = end;
            if (rest < message.size() && message[rest] == ':')
                ++rest;
            if (rest < message.size() && message[rest] == ' ')
                ++rest;
            return message.substr(rest);
        }
        return message.substr(0, at) + "this claim" + message.substr(end);
    }
    return message;
}

const char* ReadingName(TReading Reading) {
    return Reading == TReading::Lenient ? "lenient" : "standard";
}

namespace {

// Each claim number of a reading once, ascending, with its last claim's
// references as ascending runs that neither overlap nor touch.
struct TReadClaim {
    int32_t Number = 0;
    int32_t Line = 0;
    TRuns References;
};

std::vector<TReadClaim> ReadClaims(const TClaimTree& Tree) {
    std::vector<std::pair<int32_t, std::size_t>> order; // number, index
    order.reserve(Tree.Claims.size());
    for (const TClaim& claim : Tree.Claims)
        order.emplace_back(claim.Number, claim.Index);
    if (!std::is_sorted(order.begin(), order.end()))
        std::sort(order.begin(), order.end());
    std::vector<TReadClaim> claims;
    claims.reserve(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i + 1 < order.size() && order[i + 1].first == order[i].first)
            continue; // a later claim of the number counts
        const TClaim& claim = Tree.Claims[order[i].second];
        TRuns runs;
        runs.reserve(claim.References.size());
        for (const TReferenceRun& run : claim.References)
            runs.emplace_back(run.First, run.Last);
        if (!std::is_sorted(runs.begin(), runs.end()))
            std::sort(runs.begin(), runs.end());
        TRuns merged;
        for (const auto& [first, last] : runs)
            Append(merged, first, last);
        claims.push_back({claim.Number, claim.Line, std::move(merged)});
    }
    return claims;
}

} // namespace

TReadingDifference CompareReadings(const TClaimTree& InUse, const TClaimTree& Other) {
    TReadingDifference difference;
    difference.Claims = InUse.Claims.size();
    difference.OtherClaims = Other.Claims.size();
    const std::vector<TReadClaim> mine = ReadClaims(InUse);
    const std::vector<TReadClaim> theirs = ReadClaims(Other);
    const bool standard = InUse.Reading == TReading::Standard;
    const auto differs = [&](const TReadClaim& Claim) {
        if (difference.Differing++ == 0) {
            difference.FirstClaim = Claim.Number;
            difference.FirstLine = Claim.Line;
        }
    };
    std::size_t i = 0, j = 0;
    while (i < mine.size() || j < theirs.size()) {
        if (j == theirs.size() || (i < mine.size() && mine[i].Number < theirs[j].Number)) {
            differs(mine[i++]);
        } else if (i == mine.size() || theirs[j].Number < mine[i].Number) {
            const TReadClaim& missing = theirs[j++];
            differs(missing);
            if (standard && missing.Number >= 100) {
                if (difference.LeftOut.empty())
                    difference.LeftOutLine = missing.Line;
                Append(difference.LeftOut, missing.Number, missing.Number);
            }
        } else {
            if (mine[i].References != theirs[j].References)
                differs(mine[i]);
            ++i;
            ++j;
        }
    }
    return difference;
}

std::vector<TClaimProblem> ReadingProblems(TReading InUse, const TReadingDifference& Difference) {
    std::vector<TClaimProblem> problems;
    if (!Difference.Differ())
        return problems;
    const std::string used = ReadingName(InUse);
    const std::string other =
        ReadingName(InUse == TReading::Lenient ? TReading::Standard : TReading::Lenient);
    const auto claims = [](std::size_t Count) {
        return Count == 0   ? std::string("no claims")
               : Count == 1 ? std::string("1 claim")
                            : std::to_string(Count) + " claims";
    };
    std::string message;
    if (Difference.Claims != Difference.OtherClaims)
        message = "The " + used + " reading finds " + claims(Difference.Claims) + "; the " + other +
                  " reading finds " +
                  (Difference.OtherClaims == 0 ? std::string("none")
                                               : std::to_string(Difference.OtherClaims)) +
                  ".";
    else
        message = "The " + used + " and the " + other + " reading each find " +
                  claims(Difference.Claims) + " but read " +
                  (Difference.Differing == 1 ? std::string("1 of them")
                                             : std::to_string(Difference.Differing) + " of them") +
                  " differently.";
    problems.push_back({Difference.FirstClaim, Difference.FirstLine, TSeverity::Warning,
                        TProblemKind::OtherReading, std::move(message)});
    if (!Difference.LeftOut.empty()) {
        const bool one = CountOf(Difference.LeftOut) == 1;
        problems.push_back({Difference.LeftOut.front().first, Difference.LeftOutLine,
                            TSeverity::Error, TProblemKind::ClaimsLeftOut,
                            "The standard reading leaves out " + ClaimList(Difference.LeftOut) +
                                ", which the lenient reading finds; the checks and fee counts "
                                "cover only the claims before " +
                                (one ? "it." : "them.")});
    }
    return problems;
}

std::vector<TClaimProblem> LinkProblems(const TClaimTree& Tree,
                                        const std::vector<TMarkupLink>& Links) {
    std::vector<TClaimProblem> problems;
    if (Links.empty())
        return problems;
    std::map<int32_t, std::vector<int32_t>> linked;
    for (const TMarkupLink& link : Links)
        linked[link.From].push_back(link.To);
    for (auto& [from, targets] : linked) {
        std::sort(targets.begin(), targets.end());
        targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
    }
    std::set<int32_t> seen;
    for (const TClaim& claim : Tree.Claims) {
        // A repeated number is its own problem; its first claim is compared.
        if (!seen.insert(claim.Number).second)
            continue;
        static const std::vector<int32_t> none;
        const auto found = linked.find(claim.Number);
        const std::vector<int32_t>& targets = found == linked.end() ? none : found->second;
        std::vector<std::pair<int32_t, int32_t>> runs;
        for (const TReferenceRun& run : claim.References)
            runs.emplace_back(run.First, run.Last);
        std::sort(runs.begin(), runs.end());
        const auto isLinked = [&](int32_t Number) {
            return std::binary_search(targets.begin(), targets.end(), Number);
        };
        std::vector<std::pair<int32_t, int32_t>> shown;
        for (const auto& [first, last] : runs) {
            if (!shown.empty() && int64_t{first} <= int64_t{shown.back().second} + 1)
                shown.back().second = std::max(shown.back().second, last);
            else
                shown.emplace_back(first, last);
        }
        const auto isReferred = [&](int32_t Number) {
            const auto after =
                std::upper_bound(shown.begin(), shown.end(), std::pair{Number, INT32_MAX});
            return after != shown.begin() && std::prev(after)->second >= Number;
        };
        // Each reference linked, a range at its ends at least, and each link
        // inside a reference.
        const bool agree = std::all_of(runs.begin(), runs.end(),
                                       [&](const auto& Run) {
                                           return isLinked(Run.first) && isLinked(Run.second);
                                       }) &&
                           std::all_of(targets.begin(), targets.end(), isReferred);
        if (agree)
            continue;
        std::vector<std::pair<int32_t, int32_t>> markup;
        for (const int32_t to : targets) {
            if (!markup.empty() && int64_t{to} == int64_t{markup.back().second} + 1)
                markup.back().second = to;
            else
                markup.emplace_back(to, to);
        }
        problems.push_back({claim.Number, claim.Line, TSeverity::Warning, TProblemKind::ClaimLink,
                            Cat({"Claim ", std::to_string(claim.Number), " is linked to ",
                                 markup.empty() ? "no claim" : ClaimList(markup),
                                 " in the markup, but its text refers to ",
                                 shown.empty() ? "no claim" : ClaimList(shown), "."})});
    }
    return problems;
}

void AddLinkProblems(std::vector<TClaimProblem>& Problems, const TClaimTree& Tree,
                     const std::vector<TMarkupLink>& Links) {
    std::vector<TClaimProblem> links = LinkProblems(Tree, Links);
    if (links.empty())
        return;
    // Each goes after the problems of its own and earlier lines.
    std::vector<TClaimProblem> merged;
    merged.reserve(Problems.size() + links.size());
    auto next = links.begin();
    for (TClaimProblem& problem : Problems) {
        for (; next != links.end() && problem.Line > next->Line; ++next)
            merged.push_back(std::move(*next));
        merged.push_back(std::move(problem));
    }
    for (; next != links.end(); ++next)
        merged.push_back(std::move(*next));
    Problems = std::move(merged);
}
