#include "ClaimAmendments.h"

#include "ClaimTree.h"
#include "TextEncoding.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

// Words no claim of the corpus has, for amendments and new claims.
const std::vector<std::string> FreshWords = {
    "tungsten", "helical",  "ribbed",   "annular",    "graphite", "bayonet",   "knurled",
    "serrated", "toroidal", "gimbal",   "ratchet",    "sintered", "bellows",   "dovetail",
    "flange",   "cambered", "quenched", "trunnion",   "lattice",  "pawl",      "gusset",
    "chamfer",  "spline",   "ferrule",  "grommet",    "tapered",  "resilient", "threaded",
    "barbed",   "welded",   "anodised", "perforated", "hinged",   "magnetic",  "ceramic"};

std::string Pick(const std::vector<std::string>& Words, std::mt19937& Random) {
    return Words[Random() % Words.size()];
}

TClaimWord LiteralWord(std::string Text) {
    return TClaimWord{std::move(Text), {}, {}, {}};
}

// A word written with Number(target) in each slot.
template <typename TNumber> std::string Written(const TClaimWord& Word, TNumber Number) {
    std::string out;
    std::size_t at = 0;
    for (std::size_t s = 0; s < Word.SlotAt.size(); ++s) {
        out += Word.Text.substr(at, Word.SlotAt[s] - at);
        out += Number(Word.Targets[s]);
        at = Word.SlotEnd[s];
    }
    return out + Word.Text.substr(at);
}

// Words of a text in which each '#' is a slot for the next of Targets.
std::vector<TClaimWord> TemplateWords(const std::string& Text, const std::vector<int>& Targets) {
    std::vector<TClaimWord> words;
    std::size_t next = 0;
    for (std::string_view piece : SplitWords(Text)) {
        TClaimWord word = LiteralWord({});
        for (char c : piece) {
            if (c == '#' && next < Targets.size()) {
                word.SlotAt.push_back(word.Text.size());
                word.Text += '0';
                word.SlotEnd.push_back(word.Text.size());
                word.Targets.push_back(Targets[next++]);
            } else {
                word.Text += c;
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

struct TVersionClaim {
    int Base = -1; // index in the base set; -1 for a new claim
    std::vector<TClaimWord> Words;
    bool Canceled = false;
    int MergedInto = -1; // index in the version of the claim that took it in
    int MergedFrom = -1; // base index of the claim it took in
};

std::string Render(const std::vector<TClaimWord>& Words, const std::map<int, int32_t>& Numbers,
                   bool Wrap, std::mt19937& Random) {
    std::string out;
    for (std::size_t k = 0; k < Words.size(); ++k) {
        const std::string word = Written(Words[k], [&](int Target) {
            const auto found = Numbers.find(Target);
            return found != Numbers.end() ? std::to_string(found->second) : std::string("0");
        });
        // A line may only start with a lower-case word: a number or a
        // capital there could start a claim.
        if (k > 0)
            out += Wrap && word[0] >= 'a' && word[0] <= 'z' && Random() % 7 == 0 ? "\n    " : " ";
        out += word;
    }
    return out;
}

} // namespace

std::vector<std::string> SortedWords(const std::vector<std::string>& Pieces) {
    std::vector<std::string> words;
    for (const std::string& piece : Pieces) {
        for (std::string_view word : SplitWords(piece))
            words.emplace_back(word);
    }
    std::sort(words.begin(), words.end());
    return words;
}

std::vector<TBaseClaim> BaseClaims(const TClaimTree& Tree) {
    std::vector<const TClaim*> live;
    for (const TClaim& claim : Tree.Claims) {
        if (ReadAmendmentStatus(claim.Status) != TAmendmentStatus::Canceled &&
            !SplitWords(claim.Text).empty())
            live.push_back(&claim);
    }
    std::map<int32_t, int> indexOf;
    for (std::size_t i = 0; i < live.size(); ++i)
        indexOf.emplace(live[i]->Number, static_cast<int>(i));
    std::vector<TBaseClaim> base(live.size());
    std::vector<bool> kept(live.size(), true);
    for (std::size_t i = 0; i < live.size(); ++i) {
        std::set<int32_t> numbers;
        for (const TReferenceRun& run : live[i]->References) {
            for (int32_t n = run.First; n <= run.Last && n - run.First < 100; ++n)
                numbers.insert(n);
        }
        for (int32_t n : numbers) {
            const auto found = indexOf.find(n);
            if (found == indexOf.end() || found->second >= static_cast<int>(i))
                kept[i] = false;
            else
                base[i].Targets.push_back(found->second);
        }
        const std::string text = Tree.TextIsUtf8 ? live[i]->Text : Windows1252ToUtf8(live[i]->Text);
        for (std::string_view piece : SplitWords(text)) {
            TClaimWord word = LiteralWord(std::string(piece));
            // Claim numbers stand alone: "5,", "1-3", not "0.5" nor "(1)".
            const bool plain =
                !piece.empty() && IsDigit(piece[0]) &&
                std::all_of(piece.begin(), piece.end(),
                            [](char c) {
                                return IsDigit(c) || c == '-' || c == ',' || c == ';' || c == ':' ||
                                       c == '.';
                            }) &&
                (piece.find('.') == std::string_view::npos || piece.find('.') + 1 == piece.size());
            for (std::size_t k = 0; plain && k < piece.size();) {
                if (!IsDigit(piece[k])) {
                    ++k;
                    continue;
                }
                std::size_t end = k;
                while (end < piece.size() && IsDigit(piece[end]))
                    ++end;
                const int32_t n =
                    end - k < 6 ? std::stoi(std::string(piece.substr(k, end - k))) : -1;
                const auto found = indexOf.find(n);
                if (numbers.count(n) && found != indexOf.end()) {
                    word.SlotAt.push_back(k);
                    word.SlotEnd.push_back(end);
                    word.Targets.push_back(found->second);
                }
                k = end;
            }
            base[i].Words.push_back(std::move(word));
        }
    }
    // Claims naming a claim left out go too, and so on.
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t i = 0; i < live.size(); ++i) {
            if (!kept[i])
                continue;
            for (int t : base[i].Targets) {
                if (!kept[t]) {
                    kept[i] = false;
                    changed = true;
                    break;
                }
            }
        }
    }
    std::vector<int> newIndex(live.size(), -1);
    std::vector<TBaseClaim> out;
    for (std::size_t i = 0; i < live.size(); ++i) {
        if (!kept[i])
            continue;
        newIndex[i] = static_cast<int>(out.size());
        out.push_back(std::move(base[i]));
    }
    for (TBaseClaim& claim : out) {
        for (int& t : claim.Targets)
            t = newIndex[t];
        for (TClaimWord& word : claim.Words) {
            for (int& t : word.Targets)
                t = newIndex[t];
        }
    }
    return out;
}

std::vector<TBaseClaim> VariedClaims(int Count, std::mt19937& Random) {
    static const std::vector<std::string> things = {
        "housing", "rotor",   "shaft",   "valve",    "spring", "piston",  "seal",    "nozzle",
        "bearing", "gear",    "lever",   "clamp",    "frame",  "panel",   "sensor",  "circuit",
        "switch",  "cable",   "magnet",  "coil",     "filter", "pump",    "chamber", "inlet",
        "outlet",  "blade",   "hub",     "collar",   "sleeve", "bracket", "hinge",   "latch",
        "cover",   "base",    "plate",   "rod",      "tube",   "duct",    "fan",     "motor",
        "battery", "display", "antenna", "lens",     "mirror", "prism",   "wheel",   "axle",
        "tray",    "drawer",  "handle",  "knob",     "button", "screen",  "socket",  "plug",
        "strap",   "buckle",  "needle",  "cartridge"};
    static const std::vector<std::string> kinds = {
        "steel",  "plastic", "rubber", "curved",   "flat",    "hollow", "round",  "square",
        "narrow", "wide",    "rigid",  "flexible", "heated",  "cooled", "coated", "porous",
        "smooth", "rough",   "thin",   "thick",    "movable", "fixed",  "sealed", "open"};
    static const std::vector<std::string> doings = {
        "holds", "drives", "guides", "covers", "supports", "surrounds", "locks",   "releases",
        "heats", "cools",  "senses", "moves",  "connects", "separates", "presses", "turns"};
    std::vector<TBaseClaim> claims;
    int independent = 0;
    for (int n = 0; n < Count; ++n) {
        TBaseClaim claim;
        std::string text;
        if (n % 12 == 0) {
            independent = n;
            text = "A " + Pick(things, Random) + " assembly comprising a " + Pick(kinds, Random) +
                   " " + Pick(things, Random) + ", a " + Pick(things, Random) + " that " +
                   Pick(doings, Random) + " the " + Pick(things, Random) + ", and a " +
                   Pick(kinds, Random) + " " + Pick(things, Random) + ".";
        } else {
            const int target = independent + static_cast<int>(Random() % (n - independent));
            claim.Targets.push_back(target);
            text = "The assembly of claim #, wherein the " + Pick(things, Random) + " is " +
                   Pick(kinds, Random) + " and " + Pick(doings, Random) + " the " +
                   Pick(kinds, Random) + " " + Pick(things, Random) + ".";
        }
        claim.Words = TemplateWords(text, claim.Targets);
        claims.push_back(std::move(claim));
    }
    return claims;
}

TAmendedPair AmendClaims(const std::vector<TBaseClaim>& Base, std::mt19937& Random, bool Listing) {
    const int n = static_cast<int>(Base.size());
    std::vector<int> namedBy(n, 0);
    for (const TBaseClaim& claim : Base) {
        for (int t : claim.Targets)
            ++namedBy[t];
    }
    std::vector<TVersionClaim> b;
    for (int i = 0; i < n; ++i)
        b.push_back({i, Base[i].Words, false, -1, -1});
    std::vector<bool> touched(n, false);
    const auto pickClaim = [&](auto Fits) {
        for (int tries = 0; tries < 40; ++tries) {
            const int i = static_cast<int>(Random() % n);
            if (!touched[i] && Fits(i))
                return i;
        }
        return -1;
    };
    const auto leaf = [&](int i) { return namedBy[i] == 0; };
    const auto slotWord = [&](const std::vector<TClaimWord>& Words) {
        for (std::size_t k = 0; k < Words.size(); ++k) {
            if (!Words[k].Targets.empty())
                return static_cast<int>(k);
        }
        return -1;
    };

    // A dependent claim merged into its independent claim.
    int merged = -1, mergedInto = -1;
    if (const int d = pickClaim([&](int i) {
            return leaf(i) && Base[i].Targets.size() == 1 &&
                   Base[Base[i].Targets[0]].Targets.empty() && !touched[Base[i].Targets[0]] &&
                   slotWord(Base[i].Words) >= 0 &&
                   Base[i].Words.size() > static_cast<std::size_t>(slotWord(Base[i].Words)) + 3;
        });
        d >= 0) {
        const int p = Base[d].Targets[0];
        std::vector<TClaimWord>& words = b[p].Words;
        std::string& last = words.back().Text;
        if (!last.empty() && last.back() == '.')
            last.pop_back();
        last += ',';
        const int s = slotWord(Base[d].Words);
        words.insert(words.end(), Base[d].Words.begin() + s + 1, Base[d].Words.end());
        b[d].Canceled = true;
        b[d].MergedInto = p;
        b[p].MergedFrom = d;
        touched[d] = touched[p] = true;
        merged = d, mergedInto = p;
    }
    // Canceled claims.
    for (int k = 1 + static_cast<int>(Random() % 2); k > 0; --k) {
        if (const int c = pickClaim(leaf); c >= 0) {
            b[c].Canceled = true;
            touched[c] = true;
        }
    }
    // Amended words: replaced, inserted or deleted.
    for (int k = 1 + static_cast<int>(Random() % 3); k > 0; --k) {
        const int c = pickClaim([&](int i) { return Base[i].Words.size() > 4; });
        if (c < 0)
            continue;
        touched[c] = true;
        std::vector<TClaimWord>& words = b[c].Words;
        // Not the last word, which carries the full stop, nor a number.
        std::size_t at = 1 + Random() % (words.size() - 2);
        while (at + 1 < words.size() && !words[at].Targets.empty())
            ++at;
        if (!words[at].Targets.empty())
            continue;
        switch (Random() % 3) {
        case 0:
            words[at] = LiteralWord(Pick(FreshWords, Random));
            break;
        case 1:
            words.insert(words.begin() + static_cast<std::ptrdiff_t>(at),
                         LiteralWord(Pick(FreshWords, Random)));
            if (Random() % 2)
                words.insert(words.begin() + static_cast<std::ptrdiff_t>(at),
                             LiteralWord(Pick(FreshWords, Random)));
            break;
        default:
            words.erase(words.begin() + static_cast<std::ptrdiff_t>(at));
        }
    }
    // A changed reference: to another claim before it.
    if (const int c = pickClaim([&](int i) { return Base[i].Targets.size() == 1 && i > 1; });
        c >= 0) {
        const int s = slotWord(b[c].Words);
        const int old = Base[c].Targets[0];
        const int other = static_cast<int>(Random() % c);
        if (s >= 0 && other != old && !b[other].Canceled && b[c].Words[s].Targets.size() == 1) {
            b[c].Words[s].Targets[0] = other;
            touched[c] = true;
        }
    }
    // New claims: after a claim, or at the end of a listing.
    for (int k = 1 + static_cast<int>(Random() % 2); k > 0; --k) {
        const int parent = pickClaim([&](int i) { return !b[i].Canceled; });
        if (parent < 0)
            continue;
        TVersionClaim added;
        added.Words =
            TemplateWords("The device of claim #, further comprising a " +
                              Pick(FreshWords, Random) + " " + Pick(FreshWords, Random) + " " +
                              Pick(FreshWords, Random) + " " + Pick(FreshWords, Random) + ".",
                          {parent});
        std::size_t at = b.size();
        if (!Listing) {
            at = 0;
            while (at < b.size() && b[at].Base != parent)
                ++at;
            ++at;
        }
        b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), std::move(added));
    }

    // Numbers: A 1, 2, ...; B the same in a listing, else its live claims
    // renumbered in order.
    std::map<int, int32_t> aNumber, bNumber;
    for (int i = 0; i < n; ++i)
        aNumber[i] = i + 1;
    std::vector<int32_t> numberOf(b.size());
    std::map<int, int32_t> newNumber; // new claims, by their place in b
    int32_t next = Listing ? n + 1 : 1;
    for (std::size_t k = 0; k < b.size(); ++k) {
        if (Listing)
            numberOf[k] = b[k].Base >= 0 ? b[k].Base + 1 : next++;
        else
            numberOf[k] = b[k].Canceled ? 0 : next++;
        if (b[k].Base >= 0 && numberOf[k] != 0)
            bNumber[b[k].Base] = numberOf[k];
    }

    TAmendedPair pair;
    pair.Merges = merged >= 0;
    pair.A = "What is claimed is:\n";
    for (int i = 0; i < n; ++i)
        pair.A +=
            std::to_string(i + 1) + ". " + Render(Base[i].Words, aNumber, true, Random) + "\n";
    pair.B = Listing ? "Listing of claims:\n" : "Claims\n";
    for (std::size_t k = 0; k < b.size(); ++k) {
        const TVersionClaim& claim = b[k];
        if (claim.Canceled) {
            pair.Canceled.push_back(claim.Base + 1);
            if (Listing) {
                pair.B += std::to_string(numberOf[k]) + ". (Canceled)\n";
                pair.Expected.push_back(
                    {numberOf[k], claim.Base + 1, TAmendmentStatus::Canceled, {}, {}, 0});
            }
            continue;
        }
        TExpectedClaim expected;
        expected.Number = numberOf[k];
        expected.From = claim.Base >= 0 ? claim.Base + 1 : 0;
        std::vector<std::string> bWords;
        for (const TClaimWord& word : claim.Words)
            bWords.push_back(Written(word, [&](int t) { return std::to_string(bNumber[t]); }));
        if (claim.Base < 0) {
            expected.Status = TAmendmentStatus::New;
            expected.Inserted = bWords;
        } else {
            // What a least word diff finds: the words of each side the other
            // lacks, A's references read in B's numbers.
            std::multiset<std::string> left(bWords.begin(), bWords.end());
            for (const TClaimWord& word : Base[claim.Base].Words) {
                const std::string key = Written(word, [&](int t) {
                    return std::to_string(bNumber.count(t) ? bNumber[t] : -1);
                });
                const auto found = left.find(key);
                if (found != left.end())
                    left.erase(found);
                else
                    expected.Deleted.push_back(
                        Written(word, [&](int t) { return std::to_string(aNumber[t]); }));
            }
            expected.Inserted.assign(left.begin(), left.end());
            expected.Status = expected.Inserted.empty() && expected.Deleted.empty()
                                  ? TAmendmentStatus::Original
                                  : TAmendmentStatus::CurrentlyAmended;
            if (claim.MergedFrom >= 0)
                expected.MergedFrom = claim.MergedFrom + 1;
        }
        std::sort(expected.Inserted.begin(), expected.Inserted.end());
        std::sort(expected.Deleted.begin(), expected.Deleted.end());
        std::string status;
        if (Listing)
            status = std::string("(") + AmendmentStatusName(expected.Status) + ") ";
        pair.B += std::to_string(expected.Number) + ". " + status +
                  Render(claim.Words, bNumber, true, Random) + "\n";
        pair.Expected.push_back(std::move(expected));
    }
    std::sort(pair.Canceled.begin(), pair.Canceled.end());
    (void)mergedInto;
    return pair;
}
