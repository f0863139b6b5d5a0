#include "ClaimComparison.h"

#include "ClaimTree.h"
#include "TextEncoding.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>

const char* AmendmentStatusName(TAmendmentStatus Status) {
    switch (Status) {
    case TAmendmentStatus::Original:
        return "Original";
    case TAmendmentStatus::CurrentlyAmended:
        return "Currently Amended";
    case TAmendmentStatus::PreviouslyPresented:
        return "Previously Presented";
    case TAmendmentStatus::New:
        return "New";
    case TAmendmentStatus::Canceled:
        return "Canceled";
    case TAmendmentStatus::Withdrawn:
        return "Withdrawn";
    case TAmendmentStatus::NotEntered:
        return "Not Entered";
    }
    return "";
}

namespace {

std::string Lowered(std::string_view Text) {
    std::string out(Text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return out;
}

} // namespace

std::optional<TAmendmentStatus> ReadAmendmentStatus(std::string_view Identifier) {
    const std::string text = Lowered(Identifier);
    const auto has = [&](const char* Word) { return text.find(Word) != std::string::npos; };
    // "Withdrawn - currently amended" is first of all withdrawn.
    if (has("withdrawn"))
        return TAmendmentStatus::Withdrawn;
    if (has("not entered"))
        return TAmendmentStatus::NotEntered;
    if (has("cancel"))
        return TAmendmentStatus::Canceled;
    if (has("previously presented"))
        return TAmendmentStatus::PreviouslyPresented;
    if (has("amended"))
        return TAmendmentStatus::CurrentlyAmended;
    if (has("original"))
        return TAmendmentStatus::Original;
    if (has("new"))
        return TAmendmentStatus::New;
    return std::nullopt;
}

// ---------------------------------------------------------------------------
// Words and the word diff

namespace {

// Whitespace as a re-wrapped text may hold it: ASCII blanks and line ends,
// and the no-break space.
std::size_t SpaceLength(std::string_view Text, std::size_t At) {
    const unsigned char c = static_cast<unsigned char>(Text[At]);
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f')
        return 1;
    if (c == 0xC2 && At + 1 < Text.size() && static_cast<unsigned char>(Text[At + 1]) == 0xA0)
        return 2;
    return 0;
}

} // namespace

std::vector<std::string_view> SplitWords(std::string_view Text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    const std::size_t n = Text.size();
    while (i < n) {
        if (const std::size_t space = SpaceLength(Text, i)) {
            i += space;
            continue;
        }
        const std::size_t start = i;
        while (i < n && SpaceLength(Text, i) == 0)
            ++i;
        words.push_back(Text.substr(start, i - start));
    }
    return words;
}

namespace {

// Myers' diff in linear space: the middle snake of each box splits it in
// two, so that only two rows of diagonals are ever held. Marks the words of
// A deleted and those of B inserted; the rest pair up in order.
class TMyersDiff {
public:
    TMyersDiff(const std::vector<int32_t>& A, const std::vector<int32_t>& B) : a(A), b(B) {
        Deleted.assign(A.size(), false);
        Inserted.assign(B.size(), false);
        const std::size_t size = A.size() + B.size() + 3;
        forward.resize(size);
        backward.resize(size);
        Compare(0, static_cast<int64_t>(A.size()), 0, static_cast<int64_t>(B.size()));
    }

    std::vector<bool> Deleted;
    std::vector<bool> Inserted;

private:
    struct TSnake {
        int64_t X0, Y0, X1, Y1;
        bool Forward; // the one edit comes first; else last
    };

    void Compare(int64_t Left, int64_t Right, int64_t Top, int64_t Bottom) {
        while (Left < Right && Top < Bottom && a[Left] == b[Top])
            ++Left, ++Top;
        while (Left < Right && Top < Bottom && a[Right - 1] == b[Bottom - 1])
            --Right, --Bottom;
        if (Left == Right || Top == Bottom) {
            for (int64_t x = Left; x < Right; ++x)
                Deleted[x] = true;
            for (int64_t y = Top; y < Bottom; ++y)
                Inserted[y] = true;
            return;
        }
        const TSnake snake = MiddleSnake(Left, Right, Top, Bottom);
        const int64_t dx = snake.X1 - snake.X0;
        const int64_t dy = snake.Y1 - snake.Y0;
        if (dx != dy) {
            // The snake's one edit: at its start going forward, at its end backward.
            if (dx > dy)
                Deleted[snake.Forward ? snake.X0 : snake.X1 - 1] = true;
            else
                Inserted[snake.Forward ? snake.Y0 : snake.Y1 - 1] = true;
        }
        Compare(Left, snake.X0, Top, snake.Y0);
        Compare(snake.X1, Right, snake.Y1, Bottom);
    }

    // The box holds an edit (the common ends are stripped), so a snake is
    // found for some d at most (width + height + 1) / 2.
    TSnake MiddleSnake(int64_t Left, int64_t Right, int64_t Top, int64_t Bottom) {
        const int64_t width = Right - Left;
        const int64_t height = Bottom - Top;
        const int64_t delta = width - height;
        const int64_t most = (width + height + 1) / 2;
        // Diagonals k from -most - 1 to most + 1.
        const int64_t offset = most + 1;
        int64_t* vf = forward.data();
        int64_t* vb = backward.data();
        vf[offset + 1] = Left;
        vb[offset + 1] = Bottom;
        for (int64_t d = 0; d <= most; ++d) {
            for (int64_t k = d; k >= -d; k -= 2) {
                const int64_t c = k - delta;
                int64_t px, x;
                if (k == -d || (k != d && vf[offset + k - 1] < vf[offset + k + 1])) {
                    px = x = vf[offset + k + 1];
                } else {
                    px = vf[offset + k - 1];
                    x = px + 1;
                }
                int64_t y = Top + (x - Left) - k;
                const int64_t py = (d == 0 || x != px) ? y : y - 1;
                while (x < Right && y < Bottom && a[x] == b[y])
                    ++x, ++y;
                vf[offset + k] = x;
                if ((delta & 1) != 0 && c >= -(d - 1) && c <= d - 1 && y >= vb[offset + c])
                    return {px, py, x, y, true};
            }
            for (int64_t c = d; c >= -d; c -= 2) {
                const int64_t k = c + delta;
                int64_t py, y;
                if (c == -d || (c != d && vb[offset + c - 1] > vb[offset + c + 1])) {
                    py = y = vb[offset + c + 1];
                } else {
                    py = vb[offset + c - 1];
                    y = py - 1;
                }
                int64_t x = Left + (y - Top) + k;
                const int64_t px = (d == 0 || y != py) ? x : x + 1;
                while (x > Left && y > Top && a[x - 1] == b[y - 1])
                    --x, --y;
                vb[offset + c] = y;
                if ((delta & 1) == 0 && k >= -d && k <= d && x <= vf[offset + k])
                    return {x, y, px, py, false};
            }
        }
        // Not reached for a box with an edit; as a safe answer, the whole box.
        return {Left, Top, Left, Top, true};
    }

    const std::vector<int32_t>& a;
    const std::vector<int32_t>& b;
    std::vector<int64_t> forward;
    std::vector<int64_t> backward;
};

void AppendPiece(std::vector<TTextPiece>& Pieces, TTextChange Change, std::string_view Word) {
    if (!Pieces.empty() && Pieces.back().Change == Change) {
        Pieces.back().Text += ' ';
        Pieces.back().Text += Word;
    } else {
        Pieces.push_back({Change, std::string(Word)});
    }
}

// The diff of two word lists compared by their keys: kept words are written
// as B has them, deleted words as A had them.
std::vector<TTextPiece> DiffKeyedWords(const std::vector<std::string_view>& AWords,
                                       const std::vector<std::string_view>& AKeys,
                                       const std::vector<std::string_view>& BWords) {
    std::unordered_map<std::string_view, int32_t> ids;
    const auto id = [&](std::string_view Word) {
        return ids.emplace(Word, static_cast<int32_t>(ids.size())).first->second;
    };
    std::vector<int32_t> a, b;
    a.reserve(AKeys.size());
    b.reserve(BWords.size());
    for (std::string_view key : AKeys)
        a.push_back(id(key));
    for (std::string_view word : BWords)
        b.push_back(id(word));
    const TMyersDiff diff(a, b);
    std::vector<TTextPiece> pieces;
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        if (i < a.size() && diff.Deleted[i]) {
            AppendPiece(pieces, TTextChange::Deleted, AWords[i++]);
        } else if (j < b.size() && diff.Inserted[j]) {
            AppendPiece(pieces, TTextChange::Inserted, BWords[j++]);
        } else {
            AppendPiece(pieces, TTextChange::Same, BWords[j]);
            ++i, ++j;
        }
    }
    return pieces;
}

} // namespace

std::vector<TTextPiece> DiffWords(std::string_view A, std::string_view B) {
    const std::vector<std::string_view> a = SplitWords(A);
    return DiffKeyedWords(a, a, SplitWords(B));
}

// ---------------------------------------------------------------------------
// References in the text, renumbered through the matching

namespace {

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}
bool IsLetter(char C) {
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z');
}

// The word with the punctuation around it taken off, lowered.
std::string CoreWord(std::string_view Word) {
    std::size_t begin = 0, end = Word.size();
    const auto inner = [](unsigned char c) { return IsLetter(c) || IsDigit(c) || c >= 0x80; };
    while (begin < end && !inner(static_cast<unsigned char>(Word[begin])))
        ++begin;
    while (end > begin && !inner(static_cast<unsigned char>(Word[end - 1])))
        --end;
    return Lowered(Word.substr(begin, end - begin));
}

bool IsClaimWord(const std::string& Core) {
    static constexpr const char* Stems[] = {"claim",
                                            "anspruch",
                                            "anspr\xc3\xbc"
                                            "ch",
                                            "revendication",
                                            "krav",
                                            "rivendicazion",
                                            "reivindica",
                                            "conclus"};
    for (const char* stem : Stems) {
        if (Core.starts_with(stem))
            return true;
    }
    return false;
}

// Words that go on a list of claim numbers: "claims 1, 3 and 5 to 7".
bool IsListWord(const std::string& Core) {
    static constexpr const char* Joins[] = {"and",  "or",  "to", "through", "thru", "und",
                                            "oder", "bis", "et", "ou",      "à"};
    for (const char* join : Joins) {
        if (Core == join)
            return true;
    }
    return false;
}

// A word of digits and punctuation alone: "5", "5,", "(5)", "1-3".
bool IsNumberWord(std::string_view Word) {
    bool digit = false;
    for (char c : Word) {
        if (IsDigit(c))
            digit = true;
        else if (IsLetter(c) || static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return digit;
}

// Word with each of its numbers N replaced by Map(N); an unknown claim number
// gets a key no number of B can have.
std::string RenumberedWord(std::string_view Word, const std::unordered_map<int32_t, int32_t>& Map) {
    std::string out;
    std::size_t i = 0;
    while (i < Word.size()) {
        if (!IsDigit(Word[i])) {
            out += Word[i++];
            continue;
        }
        std::size_t end = i;
        int64_t number = 0;
        while (end < Word.size() && IsDigit(Word[end])) {
            number = std::min<int64_t>(number * 10 + (Word[end] - '0'), INT32_MAX);
            ++end;
        }
        const auto found = Map.find(static_cast<int32_t>(number));
        if (found != Map.end())
            out += std::to_string(found->second);
        else
            out += "\x01" + std::string(Word.substr(i, end - i)); // gone from B
        i = end;
    }
    return out;
}

// The keys of A's words for comparing with B's: claim numbers on a list after
// a claim word become the numbers B gives their claims.
// So are the numbers the reading found the claim to refer to, in a language
// whose claim word this does not know ("nárok 3", "istem 3"), but for
// reference signs in brackets ("granules (1)").
std::vector<std::string> RenumberedKeys(const std::vector<std::string_view>& Words,
                                        const std::unordered_map<int32_t, int32_t>& Map,
                                        const std::vector<int32_t>& References) {
    std::vector<std::string> keys;
    keys.reserve(Words.size());
    bool onList = false;
    // A whole number and its punctuation, not "0.5" nor "(1)".
    const auto referenced = [&](std::string_view Word) {
        std::size_t digits = 0;
        int64_t number = 0;
        while (digits < Word.size() && IsDigit(Word[digits]))
            number = std::min<int64_t>(number * 10 + (Word[digits++] - '0'), INT32_MAX);
        const std::string_view rest = Word.substr(digits);
        return digits > 0 && rest.find_first_not_of(",.;:") == std::string_view::npos &&
               std::binary_search(References.begin(), References.end(), number);
    };
    for (std::string_view word : Words) {
        const std::string core = CoreWord(word);
        if (IsClaimWord(core)) {
            onList = true;
            keys.emplace_back(word);
        } else if (IsNumberWord(word) && (onList || referenced(word))) {
            keys.push_back(RenumberedWord(word, Map));
        } else {
            // "1 - 3": a dash alone goes on with the list.
            onList = onList && (core.empty() || IsListWord(core));
            keys.emplace_back(word);
        }
    }
    return keys;
}

// ---------------------------------------------------------------------------
// Matching

// Words every claim is made of, which say nothing of which claim it is; in a
// small claim set they would count as rare.
bool IsCommonWord(const std::string& Core) {
    static constexpr const char* Words[] = {"a",         "an",
                                            "the",       "of",
                                            "in",        "on",
                                            "to",        "and",
                                            "or",        "is",
                                            "are",       "be",
                                            "being",     "by",
                                            "for",       "from",
                                            "with",      "at",
                                            "as",        "it",
                                            "its",       "which",
                                            "that",      "said",
                                            "wherein",   "whereby",
                                            "claim",     "claims",
                                            "any",       "one",
                                            "further",   "comprising",
                                            "comprises", "having",
                                            "has",       "der",
                                            "die",       "das",
                                            "nach",      "anspruch",
                                            "wobei",     "le",
                                            "la",        "les",
                                            "selon",     "revendication",
                                            "dans",      "de",
                                            "du"};
    for (const char* word : Words) {
        if (Core == word)
            return true;
    }
    return false;
}

// Common words weigh this little; words of a dependent claim's opening this
// part of their weight.
constexpr double CommonWordWeight = 0.1;
constexpr double OpeningWeight = 0.3;

// A claim word this early makes the opening of a dependent claim.
constexpr std::size_t OpeningWords = 16;

struct TClaimWords {
    std::vector<std::pair<int32_t, int32_t>> Counts; // word id, count; by id
    double Weight = 0;
};

class TWordTable {
public:
    // The words that tell claims apart: lowered, without punctuation and
    // without numbers, which the renumbering changes.
    // The opening of a dependent claim ("The pump of claim 1,") is read apart
    // from its body: its words are those of every sibling, and it is the
    // body that tells which claim of the other version a claim is.
    TClaimWords Read(std::string_view Text) {
        TClaimWords words;
        const std::vector<std::string_view> split = SplitWords(Text);
        std::size_t opening = 0;
        for (std::size_t k = 0; k < split.size() && k < OpeningWords; ++k) {
            if (!IsClaimWord(CoreWord(split[k])))
                continue;
            opening = k + 1;
            while (opening < split.size() &&
                   (IsNumberWord(split[opening]) || IsListWord(CoreWord(split[opening]))))
                ++opening;
            break;
        }
        for (std::size_t k = 0; k < split.size(); ++k) {
            std::string core = CoreWord(split[k]);
            if (core.empty() || std::all_of(core.begin(), core.end(), IsDigit))
                continue;
            if (k < opening)
                core.insert(core.begin(), '\x02');
            const auto [it, added] = ids.emplace(core, static_cast<int32_t>(ids.size()));
            if (added) {
                Frequency.push_back(0);
                Opening.push_back(k < opening);
                Common.push_back(IsCommonWord(k < opening ? core.substr(1) : core));
            }
            words.Counts.push_back({it->second, 1});
        }
        std::sort(words.Counts.begin(), words.Counts.end());
        std::size_t kept = 0;
        for (std::size_t i = 0; i < words.Counts.size(); ++i) {
            if (kept > 0 && words.Counts[kept - 1].first == words.Counts[i].first)
                ++words.Counts[kept - 1].second;
            else
                words.Counts[kept++] = words.Counts[i];
        }
        words.Counts.resize(kept);
        for (const auto& [id, count] : words.Counts)
            ++Frequency[id];
        return words;
    }

    // Claims holding each word, over both versions.
    std::vector<int32_t> Frequency;
    std::vector<bool> Opening; // a word of a dependent claim's opening
    std::vector<bool> Common;  // IsCommonWord

private:
    std::unordered_map<std::string, int32_t> ids;
};

struct TCandidate {
    double Score = 0;
    int32_t A = -1; // index into A's claims
};

// Candidates kept per claim of B: enough for the order to choose among
// near-equal claims, few enough to keep memory linear.
constexpr std::size_t CandidatesPerClaim = 6;
// Shares of weighted words two claims must have in common to be matched:
// in the order of the claims, and moved out of it.
constexpr double InOrderScore = 0.5;
constexpr double MovedScore = 0.6;
// For a claim whose words, references read through the matching, are B's.
constexpr double SameReferencesBonus = 0.2;
// The part of a merged claim's own words the claim it merged into must take in.
constexpr double MergedShare = 0.6;

std::string Utf8Text(const TClaimTree& Tree, const TClaim& Claim) {
    return Tree.TextIsUtf8 ? Claim.Text : Windows1252ToUtf8(Claim.Text);
}

bool IsCanceledEntry(const TClaim& Claim) {
    const auto status = ReadAmendmentStatus(Claim.Status);
    return status == TAmendmentStatus::Canceled ||
           (!Claim.Status.empty() && SplitWords(Claim.Text).empty());
}

// The unique numbers a claim refers to within the claim tables, ascending.
std::vector<int32_t> ReferencedNumbers(const TClaim& Claim) {
    std::vector<bool> seen(ClaimTableSize, false);
    for (const TReferenceRun& run : Claim.References) {
        const int32_t first = std::max(run.First, 0);
        const int32_t last = std::min(run.Last, ClaimTableSize - 1);
        for (int32_t n = first; n <= last; ++n)
            seen[n] = true;
    }
    std::vector<int32_t> numbers;
    for (int32_t n = 0; n < ClaimTableSize; ++n) {
        if (seen[n])
            numbers.push_back(n);
    }
    return numbers;
}

// The heaviest chain of candidate pairs increasing in both A and B: the
// claims that kept their order. Pairs sorted by B, then A descending, so
// that no chain takes two pairs of one B claim. Fenwick tree over A for the
// best chain ending below each A index.
std::vector<std::pair<int32_t, int32_t>>
HeaviestChain(const std::vector<std::vector<TCandidate>>& Candidates, std::size_t ACount) {
    struct TPair {
        int32_t B, A;
        double Weight;
    };
    std::vector<TPair> pairs;
    for (std::size_t j = 0; j < Candidates.size(); ++j) {
        for (const TCandidate& c : Candidates[j]) {
            if (c.Score >= InOrderScore)
                pairs.push_back({static_cast<int32_t>(j), c.A, c.Score - InOrderScore + 0.01});
        }
    }
    std::sort(pairs.begin(), pairs.end(),
              [](const TPair& x, const TPair& y) { return x.B != y.B ? x.B < y.B : x.A > y.A; });
    // tree[i]: the best (weight, pair) over the A indices it covers.
    std::vector<std::pair<double, int32_t>> tree(ACount + 1, {0.0, -1});
    std::vector<int32_t> previous(pairs.size(), -1);
    std::vector<double> best(pairs.size(), 0);
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        std::pair<double, int32_t> before{0.0, -1};
        for (int32_t i = pairs[p].A; i > 0; i -= i & -i)
            before = std::max(before, tree[i]);
        best[p] = before.first + pairs[p].Weight;
        previous[p] = before.second;
        for (auto i = static_cast<std::size_t>(pairs[p].A) + 1; i <= ACount; i += i & -i)
            tree[i] = std::max(tree[i], {best[p], static_cast<int32_t>(p)});
    }
    int32_t last = -1;
    double top = 0;
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        if (best[p] > top)
            top = best[p], last = static_cast<int32_t>(p);
    }
    std::vector<std::pair<int32_t, int32_t>> chain;
    for (int32_t p = last; p >= 0; p = previous[p])
        chain.push_back({pairs[p].B, pairs[p].A});
    std::reverse(chain.begin(), chain.end());
    return chain;
}

} // namespace

TClaimComparison CompareClaims(const TClaimTree& A, const TClaimTree& B) {
    const std::size_t na = A.Claims.size();
    const std::size_t nb = B.Claims.size();
    std::vector<std::string> aTexts(na), bTexts(nb);
    std::vector<bool> aLive(na), bLive(nb);
    for (std::size_t i = 0; i < na; ++i) {
        aTexts[i] = Utf8Text(A, A.Claims[i]);
        aLive[i] = !IsCanceledEntry(A.Claims[i]);
    }
    for (std::size_t j = 0; j < nb; ++j) {
        bTexts[j] = Utf8Text(B, B.Claims[j]);
        bLive[j] = !IsCanceledEntry(B.Claims[j]);
    }

    // Words of every live claim, and which claims of A hold each word.
    TWordTable table;
    std::vector<TClaimWords> aWords(na), bWords(nb);
    for (std::size_t i = 0; i < na; ++i) {
        if (aLive[i])
            aWords[i] = table.Read(aTexts[i]);
    }
    for (std::size_t j = 0; j < nb; ++j) {
        if (bLive[j])
            bWords[j] = table.Read(bTexts[j]);
    }
    // A word every claim has ("the", "of claim") says little: weighted by
    // how rare it is.
    const double claims = static_cast<double>(na + nb) + 1;
    std::vector<double> weight(table.Frequency.size());
    for (std::size_t w = 0; w < weight.size(); ++w)
        weight[w] = table.Common[w] ? CommonWordWeight
                                    : (std::log(claims / table.Frequency[w]) + 0.1) *
                                          (table.Opening[w] ? OpeningWeight : 1.0);
    std::vector<std::vector<std::pair<int32_t, int32_t>>> holders(weight.size());
    for (std::size_t i = 0; i < na; ++i) {
        for (const auto& [id, count] : aWords[i].Counts) {
            holders[id].push_back({static_cast<int32_t>(i), count});
            aWords[i].Weight += weight[id] * count;
        }
    }
    for (std::size_t j = 0; j < nb; ++j) {
        for (const auto& [id, count] : bWords[j].Counts)
            bWords[j].Weight += weight[id] * count;
    }

    // Each claim of B against every claim of A that shares a word with it:
    // the weighted share of words in common (Dice), best few kept.
    std::vector<std::vector<TCandidate>> candidates(nb);
    std::vector<double> shared(na, 0.0);
    std::vector<int32_t> touched;
    for (std::size_t j = 0; j < nb; ++j) {
        if (!bLive[j])
            continue;
        touched.clear();
        for (const auto& [id, count] : bWords[j].Counts) {
            for (const auto& [i, aCount] : holders[id]) {
                if (shared[i] == 0.0)
                    touched.push_back(i);
                shared[i] += weight[id] * std::min(count, aCount);
            }
        }
        std::vector<TCandidate>& best = candidates[j];
        // Between equal scores, the claim at the same place in its set.
        const double place = nb > 1 ? static_cast<double>(j) / (nb - 1) : 0.0;
        for (int32_t i : touched) {
            const double dice = 2 * shared[i] / (aWords[i].Weight + bWords[j].Weight);
            const double there = na > 1 ? static_cast<double>(i) / (na - 1) : 0.0;
            best.push_back({dice - 0.02 * std::abs(place - there), i});
            shared[i] = 0.0;
        }
        const std::size_t keep = std::min(best.size(), CandidatesPerClaim);
        std::partial_sort(
            best.begin(), best.begin() + static_cast<std::ptrdiff_t>(keep), best.end(),
            [](const TCandidate& x, const TCandidate& y) { return x.Score > y.Score; });
        best.resize(keep);
    }

    std::unordered_map<int32_t, int32_t> aIndexOf;
    for (std::size_t i = na; i-- > 0;)
        aIndexOf[A.Claims[i].Number] = static_cast<int32_t>(i);
    std::vector<int32_t> fromOf(nb, -1); // A index per B claim
    std::vector<int32_t> toOf(na, -1);   // B index per A claim
    // One to one: first the claims that kept their order, then the moved
    // ones, best first.
    const auto assign = [&] {
        std::fill(fromOf.begin(), fromOf.end(), -1);
        std::fill(toOf.begin(), toOf.end(), -1);
        for (const auto& [j, i] : HeaviestChain(candidates, na))
            fromOf[j] = i, toOf[i] = j;
        std::vector<std::tuple<double, int32_t, int32_t>> rest;
        for (std::size_t j = 0; j < nb; ++j) {
            if (fromOf[j] >= 0)
                continue;
            for (const TCandidate& c : candidates[j]) {
                if (c.Score >= MovedScore)
                    rest.emplace_back(c.Score, static_cast<int32_t>(j), c.A);
            }
        }
        std::sort(rest.begin(), rest.end(),
                  [](const auto& x, const auto& y) { return std::get<0>(x) > std::get<0>(y); });
        for (const auto& [score, j, i] : rest) {
            if (fromOf[j] < 0 && toOf[i] < 0)
                fromOf[j] = i, toOf[i] = j;
        }
        // A listing's canceled claims keep their numbers: each stands for
        // the claim of A with its number.
        for (std::size_t j = 0; j < nb; ++j) {
            if (bLive[j])
                continue;
            const auto found = aIndexOf.find(B.Claims[j].Number);
            if (found != aIndexOf.end() && toOf[found->second] < 0)
                fromOf[j] = found->second, toOf[found->second] = static_cast<int32_t>(j);
        }
    };
    // A's numbers as B gives them, for the references.
    std::unordered_map<int32_t, int32_t> renumbered;
    const auto renumber = [&] {
        renumbered.clear();
        for (std::size_t i = 0; i < na; ++i) {
            if (toOf[i] >= 0 && bLive[toOf[i]])
                renumbered.emplace(A.Claims[i].Number, B.Claims[toOf[i]].Number);
        }
    };
    const auto keysOf = [&](std::size_t i) {
        return RenumberedKeys(SplitWords(aTexts[i]), renumbered, ReferencedNumbers(A.Claims[i]));
    };
    assign();
    renumber();
    // Claims alike but for their references (a run of "The method of claim
    // N, wherein the steps are repeated."): the one whose references, read
    // through the first matching, are B's own is the source.
    bool exact = false;
    for (std::size_t j = 0; j < nb; ++j) {
        if (!bLive[j] || candidates[j].size() < 2)
            continue;
        const std::vector<std::string_view> words = SplitWords(bTexts[j]);
        for (TCandidate& c : candidates[j]) {
            const std::vector<std::string> keys = keysOf(c.A);
            if (std::equal(keys.begin(), keys.end(), words.begin(), words.end()))
                c.Score += SameReferencesBonus, exact = true;
        }
    }
    if (exact) {
        assign();
        renumber();
    }

    TClaimComparison comparison;
    comparison.Claims.resize(nb);
    const auto diff = [&](std::size_t j, std::size_t i) {
        const std::vector<std::string_view> aw = SplitWords(aTexts[i]);
        const std::vector<std::string> keys = keysOf(i);
        const std::vector<std::string_view> keyViews(keys.begin(), keys.end());
        return DiffKeyedWords(aw, keyViews, SplitWords(bTexts[j]));
    };

    // A dependent claim of A with no live successor whose own words went into the
    // claim that follows its parent was merged into it, as amendments do to
    // bring a dependent claim's feature into its independent claim.
    for (std::size_t i = 0; i < na; ++i) {
        if ((toOf[i] >= 0 && bLive[toOf[i]]) || !aLive[i])
            continue;
        for (int32_t parentNumber : ReferencedNumbers(A.Claims[i])) {
            const auto parent = aIndexOf.find(parentNumber);
            if (parent == aIndexOf.end() || toOf[parent->second] < 0)
                continue;
            const std::size_t j = toOf[parent->second];
            if (!bLive[j])
                continue;
            // The merged claim's own words: those its parent lacks.
            std::unordered_map<std::string, int> inserted;
            for (const TTextPiece& piece : diff(j, parent->second)) {
                if (piece.Change == TTextChange::Inserted) {
                    for (std::string_view word : SplitWords(piece.Text))
                        ++inserted[CoreWord(word)];
                }
            }
            std::unordered_map<std::string, int> parentWords;
            for (std::string_view word : SplitWords(aTexts[parent->second]))
                ++parentWords[CoreWord(word)];
            int own = 0, taken = 0;
            for (std::string_view word : SplitWords(aTexts[i])) {
                const std::string core = CoreWord(word);
                if (core.empty() || IsNumberWord(core) || IsClaimWord(core))
                    continue;
                auto inParent = parentWords.find(core);
                if (inParent != parentWords.end() && inParent->second > 0) {
                    --inParent->second;
                    continue;
                }
                ++own;
                auto in = inserted.find(core);
                if (in != inserted.end() && in->second > 0) {
                    --in->second;
                    ++taken;
                }
            }
            if (own > 0 && taken >= MergedShare * own) {
                comparison.Claims[j].MergedFrom.push_back(A.Claims[i].Number);
                // Its references now lead to the claim it merged into.
                renumbered.emplace(A.Claims[i].Number, B.Claims[j].Number);
                break;
            }
        }
    }

    for (std::size_t j = 0; j < nb; ++j) {
        TComparedClaim& compared = comparison.Claims[j];
        const TClaim& claim = B.Claims[j];
        compared.Number = claim.Number;
        const int32_t i = fromOf[j];
        if (i >= 0)
            compared.From = A.Claims[i].Number;
        const std::optional<TAmendmentStatus> own = ReadAmendmentStatus(claim.Status);
        if (!bLive[j]) {
            compared.Status = TAmendmentStatus::Canceled;
            continue;
        }
        if (i >= 0 && aLive[i]) {
            compared.Redline = diff(j, i);
        } else {
            for (std::string_view word : SplitWords(bTexts[j]))
                AppendPiece(compared.Redline, TTextChange::Inserted, word);
        }
        for (const TTextPiece& piece : compared.Redline) {
            if (piece.Change == TTextChange::Inserted)
                compared.Inserted.push_back(piece.Text);
            else if (piece.Change == TTextChange::Deleted)
                compared.Deleted.push_back(piece.Text);
        }
        if (i >= 0) {
            std::vector<int32_t> before;
            for (int32_t n : ReferencedNumbers(A.Claims[i])) {
                const auto to = renumbered.find(n);
                before.push_back(to != renumbered.end() ? to->second : -n);
            }
            const std::vector<int32_t> after = ReferencedNumbers(claim);
            for (int32_t n : after) {
                if (std::find(before.begin(), before.end(), n) == before.end())
                    compared.ReferencesAdded.push_back(n);
            }
            const std::vector<int32_t> aNumbers = ReferencedNumbers(A.Claims[i]);
            for (std::size_t k = 0; k < before.size(); ++k) {
                if (std::find(after.begin(), after.end(), before[k]) == after.end())
                    compared.ReferencesDropped.push_back(aNumbers[k]);
            }
        }
        if (own) {
            compared.Status = *own;
        } else if (i < 0 || !aLive[i]) {
            compared.Status = TAmendmentStatus::New;
        } else if (compared.Changed()) {
            compared.Status = TAmendmentStatus::CurrentlyAmended;
        } else {
            compared.Status = A.Claims[i].Status.empty() ? TAmendmentStatus::Original
                                                         : TAmendmentStatus::PreviouslyPresented;
        }
    }

    // Every claim of A that no live claim of B comes from.
    std::vector<bool> succeeded(na, false);
    for (std::size_t j = 0; j < nb; ++j) {
        if (fromOf[j] >= 0 && bLive[j])
            succeeded[fromOf[j]] = true;
    }
    for (std::size_t i = 0; i < na; ++i) {
        if (!succeeded[i])
            comparison.Canceled.push_back(A.Claims[i].Number);
    }
    std::sort(comparison.Canceled.begin(), comparison.Canceled.end());
    return comparison;
}
