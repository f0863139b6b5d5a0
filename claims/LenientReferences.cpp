#include "LenientReferences.h"

#include "LenientCjk.h"
#include "LenientLayouts.h"
#include "LenientLexicon.h"
#include "LenientText.h"

#include <algorithm>

namespace {

// Claim numbers beyond this are taken for other numbers.
constexpr int64_t MaxClaimNumber = 999'999;

bool IsWord(const TToken& t) {
    return t.Kind == TTokenKind::Word;
}

class TPhraseReader {
public:
    TPhraseReader(std::string_view Text, int32_t Number)
        : text(Text), number(Number), all(LenientTokens(Text)) {}

    TLenientReferences Read() {
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            if (!IsWord(tokens[i]))
                continue;
            const TClaimWord kind = ClaimWordKind(all.Fold(tokens[i]));
            if (kind != TClaimWord::None)
                ReadPhrase(i, kind);
        }
        if (all.Cjk)
            ReadCjkReferences(text, number, runs);
        TLenientReferences result;
        result.References = ReferencesOf(std::move(runs));
        result.Unresolved = std::move(unresolved);
        result.WithDependants = std::move(withDependants);
        return result;
    }

    // ".[." or ".Iadd": a reissue's markup, found among the tokens rather than
    // by another search of every claim's text.
    bool HasReissueMarkup() const {
        for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
            if (tokens[i].Kind != TTokenKind::Period || !tokens[i + 1].Glued)
                continue;
            const TToken& next = tokens[i + 1];
            if (next.Kind == TTokenKind::Other && text[next.Begin] == '[')
                return true;
            if (IsWord(next) && all.Fold(next).starts_with("iadd"))
                return true;
        }
        return false;
    }

private:
    const TToken* At(std::size_t i) const { return i < tokens.size() ? &tokens[i] : nullptr; }

    bool WordAt(std::size_t i, bool (*Test)(std::string_view)) const {
        const TToken* t = At(i);
        return t != nullptr && IsWord(*t) && !t->Glued && Test(all.Fold(*t));
    }

    // List and range words in the language of the claim word being read.
    bool IsListAt(std::size_t i) const {
        const TToken* t = At(i);
        return t != nullptr && IsWord(*t) && !t->Glued && IsListWordIn(language, all.Fold(*t));
    }
    bool IsRangeAt(std::size_t i) const {
        const TToken* t = At(i);
        return t != nullptr && IsWord(*t) && !t->Glued && IsRangeWordIn(language, all.Fold(*t));
    }

    // A number that some unit or decimal part follows is a measure.
    bool IsMeasure(std::size_t i) const {
        const TToken* next = At(i + 1);
        if (next == nullptr)
            return false;
        if (next->Kind == TTokenKind::Percent || next->Kind == TTokenKind::Degree)
            return true;
        if (IsWord(*next) && IsUnitWord(all.Fold(*next)))
            return true;
        if ((next->Kind == TTokenKind::Period || next->Kind == TTokenKind::Comma) && next->Glued) {
            const TToken* after = At(i + 2);
            if (after != nullptr && after->Kind == TTokenKind::Number && after->Glued) {
                // "1.5" always; "1,5" only as a measure ("1,5 mm"), since
                // "claims 1,2" is a list.
                return next->Kind == TTokenKind::Period || IsMeasure(i + 2);
            }
        }
        return false;
    }

    bool LineBreakBetween(std::size_t Begin, std::size_t End) const {
        return text.substr(Begin, End - Begin).find_first_of("\r\n") != std::string_view::npos;
    }

    // A printed page's line count in its margin ("5", "10", ... alone on its
    // line or at its start), with a number after it: a reference wrapped
    // across it goes on.
    std::size_t SkipMargin(std::size_t i) const {
        const TToken* t = At(i);
        const TToken* after = At(i + 1);
        if (t == nullptr || after == nullptr || i == 0 || t->Kind != TTokenKind::Number ||
            t->Value % 5 != 0 || t->Value > 100 || t->Value == 0)
            return i;
        if (!LineBreakBetween(tokens[i - 1].End, t->Begin))
            return i;
        // "10 2, wherein": the margin's number at the start of the line, the
        // claim's after it.
        if (!LineBreakBetween(t->End, after->Begin) &&
            (after->Kind != TTokenKind::Number || after->Glued))
            return i;
        return i + 1;
    }

    // A claim number at i: its value, or 0.
    int64_t ClaimNumberAt(std::size_t i, bool AllowScanned) const {
        const TToken* t = At(i);
        if (t == nullptr)
            return 0;
        if (t->Kind != TTokenKind::Number && !(AllowScanned && t->Kind == TTokenKind::OcrNumber))
            return 0;
        if (t->Value < 1 || t->Value > MaxClaimNumber || IsMeasure(i))
            return 0;
        return t->Value;
    }

    void Add(int64_t First, int64_t Last) {
        if (First > Last)
            std::swap(First, Last);
        runs.push_back({static_cast<int32_t>(First), static_cast<int32_t>(Last)});
    }

    void NoteScanned(std::size_t ClaimWord, std::size_t i) {
        if (tokens[i].Kind != TTokenKind::OcrNumber)
            return;
        const std::size_t begin = tokens[i].End - tokens[ClaimWord].Begin <= 40
                                      ? tokens[ClaimWord].Begin
                                      : tokens[i].Begin;
        unresolved.emplace_back(text.substr(begin, tokens[i].End - begin));
    }

    std::size_t SkipFillers(std::size_t i) const {
        while (i < tokens.size()) {
            const TToken& t = tokens[i];
            if ((IsWord(t) && IsFillerWord(all.Fold(t))) || t.Kind == TTokenKind::Slash ||
                (t.Kind == TTokenKind::Period && i > 0 && IsWord(tokens[i - 1]) &&
                 IsFillerWord(all.Fold(tokens[i - 1]))))
                ++i;
            else
                break;
        }
        return i;
    }

    void ReadPhrase(std::size_t ClaimWord, TClaimWord Kind) {
        const std::string_view fold = all.Fold(tokens[ClaimWord]);
        language = ClaimWordLanguage(fold);
        std::size_t i = ClaimWord + 1;
        // "по п. 1", "zastrz. 2"
        if (At(i) != nullptr && At(i)->Kind == TTokenKind::Period && At(i)->Glued &&
            IsAbbreviatedClaimWord(fold))
            ++i;
        i = SkipFillers(i);
        if (At(i + 1) != nullptr && At(i + 1)->Kind == TTokenKind::Number)
            i = SkipMargin(i);
        if (ClaimNumberAt(i, true) != 0) {
            if (IsScannedClaimWord(fold) && tokens[i].Kind == TTokenKind::Number)
                unresolved.emplace_back(
                    text.substr(tokens[ClaimWord].Begin, tokens[i].End - tokens[ClaimWord].Begin));
            ReadList(ClaimWord, i);
            return;
        }
        if (ReadPreceding(ClaimWord, Kind) || ReadOrdinal(ClaimWord, Kind) ||
            ReadDependantsOf(ClaimWord))
            return;
        if (Kind == TClaimWord::Weak)
            return;
        // "in Anspruch nehmen": a German idiom, no claim.
        if (fold.starts_with("anspruch") && ClaimWord > 0 && IsWord(tokens[ClaimWord - 1]) &&
            all.Fold(tokens[ClaimWord - 1]) == "in")
            return;
        const TToken& word = tokens[ClaimWord];
        unresolved.emplace_back(text.substr(word.Begin, word.End - word.Begin));
    }

    // "any of the preceding claims", "revendications précédentes", "the
    // previous claim".
    bool ReadPreceding(std::size_t ClaimWord, TClaimWord Kind) {
        bool preceding = false;
        bool quantified = false;
        const std::size_t from = ClaimWord >= 6 ? ClaimWord - 6 : 0;
        for (std::size_t j = ClaimWord; j-- > from;) {
            const TToken& t = tokens[j];
            if (!IsWord(t))
                break;
            preceding = preceding || IsPrecedingWord(all.Fold(t));
            quantified = quantified || IsQuantifierWord(all.Fold(t));
        }
        for (std::size_t j = ClaimWord + 1; j < tokens.size() && j <= ClaimWord + 2; ++j) {
            if (!IsWord(tokens[j]))
                break;
            if (IsPrecedingWord(all.Fold(tokens[j])))
                preceding = true;
        }
        if (!preceding)
            return false;
        if (number < 2)
            return true;
        if (Kind == TClaimWord::Plural || quantified)
            Add(1, number - 1);
        else
            Add(number - 1, number - 1);
        return true;
    }

    // "according to the first claim", "nach dem zweiten Anspruch": an
    // ordinal before a singular claim word names an earlier claim.
    bool ReadOrdinal(std::size_t ClaimWord, TClaimWord Kind) {
        if (Kind != TClaimWord::Singular || ClaimWord < 2 || !IsWord(tokens[ClaimWord - 1]) ||
            !IsWord(tokens[ClaimWord - 2]))
            return false;
        const int32_t ordinal = OrdinalValue(all.Fold(tokens[ClaimWord - 1]));
        if (ordinal == 0 || !IsDefiniteArticle(all.Fold(tokens[ClaimWord - 2])))
            return false;
        // A later claim is never what "the third claim" of claim 2 means.
        if (ordinal >= number)
            return false;
        Add(ordinal, ordinal);
        return true;
    }

    // "claim 1 or any claim dependent thereon", "claim 3 or any claim
    // depending therefrom": the claim just named and its dependants.
    bool ReadDependantsOf(std::size_t ClaimWord) {
        if (runs.empty() || !WordAt(ClaimWord + 1, IsDependingWord))
            return false;
        std::size_t i = ClaimWord + 2;
        // "dependent on it", "dependent upon it"
        if (WordAt(i, [](std::string_view w) { return w == "on" || w == "upon"; }) &&
            WordAt(i + 1, [](std::string_view w) { return w == "it"; }))
            i += 2;
        else if (WordAt(i, IsThereonWord))
            ++i;
        else
            return false;
        withDependants.push_back(runs.back().Last);
        return true;
    }

    void ReadList(std::size_t ClaimWord, std::size_t i) {
        int64_t value = ClaimNumberAt(i, true);
        NoteScanned(ClaimWord, i);
        for (;;) {
            // i is the item's number, value its value.
            std::size_t next = SkipMargin(i + 1);
            const TToken* t = At(next);
            const bool range = t != nullptr && !t->Glued
                                   ? (t->Kind == TTokenKind::Dash || IsRangeAt(next))
                                   : (t != nullptr && t->Kind == TTokenKind::Dash);
            if (range) {
                std::size_t end = SkipFillers(next + 1);
                if (At(end + 1) != nullptr && At(end + 1)->Kind == TTokenKind::Number)
                    end = SkipMargin(end);
                const int64_t last = ClaimNumberAt(end, true);
                const bool measure =
                    At(end) != nullptr && At(end)->Kind == TTokenKind::Number && IsMeasure(end);
                if (measure)
                    return;
                if (last == 0) {
                    Add(value, value);
                    return;
                }
                NoteScanned(ClaimWord, end);
                Add(value, last);
                i = end;
                value = last;
                next = SkipMargin(i + 1);
                t = At(next);
            } else {
                Add(value, value);
            }
            if (t == nullptr)
                return;
            // A further number after a comma ("claims 1, 2 or 3") is a claim
            // before this one; after "and" or "or" any claim.
            bool joined = false;
            if (t->Kind == TTokenKind::Comma) {
                ++next;
                joined = false;
                if (IsListAt(next)) {
                    ++next;
                    joined = true;
                    if (WordAt(next, IsListTailWord))
                        ++next;
                }
            } else if (IsListAt(next)) {
                ++next;
                joined = true;
                // "o bien"
                if (WordAt(next, IsListTailWord))
                    ++next;
                // "bzw."
                if (At(next) != nullptr && At(next)->Kind == TTokenKind::Period && At(next)->Glued)
                    ++next;
                // "and/or"
                if (At(next) != nullptr && At(next)->Kind == TTokenKind::Slash &&
                    IsListAt(next + 1))
                    next += 2;
            } else {
                return;
            }
            if (At(next + 1) != nullptr && At(next + 1)->Kind == TTokenKind::Number)
                next = SkipMargin(next);
            const int64_t following = ClaimNumberAt(next, joined);
            if (following == 0)
                return;
            if (!joined && following >= number) {
                // "claim 1, 20-120 parts": a measure list, not a claim.
                return;
            }
            // "claim 1 and 2 valves", "claim 1, 2 valves": after a single
            // claim, a number that counts the noun after it.
            if (ClaimWordKind(all.Fold(tokens[ClaimWord])) == TClaimWord::Singular &&
                WordAt(next + 1, IsCountedNounWord))
                return;
            const TToken* afterFollowing = At(next + 1);
            if (afterFollowing != nullptr &&
                (afterFollowing->Kind == TTokenKind::Dash || IsRangeAt(next + 1))) {
                const std::size_t end = SkipFillers(next + 2);
                if (At(end) != nullptr && At(end)->Kind == TTokenKind::Number && IsMeasure(end))
                    return;
            }
            NoteScanned(ClaimWord, next);
            i = next;
            value = following;
        }
    }

    std::string_view text;
    int32_t number;
    TTokens all;
    const std::vector<TToken>& tokens = all.Items;
    std::vector<TReferenceRun> runs;
    std::vector<std::string> unresolved;
    std::vector<int32_t> withDependants;
    TWordLanguage language = TWordLanguage::Other;
};

} // namespace

TReferences ReferencesOf(std::vector<TReferenceRun> Runs) {
    std::sort(Runs.begin(), Runs.end(), [](const TReferenceRun& a, const TReferenceRun& b) {
        return a.First != b.First ? a.First < b.First : a.Last < b.Last;
    });
    TReferences result;
    for (const TReferenceRun& run : Runs) {
        if (!result.Runs.empty() &&
            static_cast<int64_t>(run.First) <= static_cast<int64_t>(result.Runs.back().Last) + 1) {
            result.Runs.back().Last = std::max(result.Runs.back().Last, run.Last);
        } else {
            result.Runs.push_back(run);
        }
    }
    for (const TReferenceRun& run : result.Runs) {
        result.Count += static_cast<uint64_t>(static_cast<int64_t>(run.Last) - run.First + 1);
        if (!result.DependencyText.empty())
            result.DependencyText += ", ";
        result.DependencyText += std::to_string(run.First);
        if (run.Last == run.First + 1)
            result.DependencyText += ", " + std::to_string(run.Last);
        else if (run.Last > run.First)
            result.DependencyText += "-" + std::to_string(run.Last);
    }
    return result;
}

TLenientReferences ReadLenientReferences(std::string_view Text, int32_t Number) {
    if (Text.find("[[") == std::string_view::npos) {
        TPhraseReader reader(Text, Number);
        std::string reissued;
        if (!reader.HasReissueMarkup() || !UnmarkReissueText(Text, reissued))
            return reader.Read();
        return TPhraseReader(reissued, Number).Read();
    }
    std::string reissued;
    if (UnmarkReissueText(Text, reissued))
        Text = reissued;
    // An amendment marks deleted text with double brackets ("claim [[3]] 5"):
    // blanked out, so that the rest keeps its place.
    std::string amended(Text);
    for (std::size_t open = amended.find("[["); open != std::string::npos;
         open = amended.find("[[", open)) {
        const std::size_t close = amended.find("]]", open + 2);
        if (close == std::string::npos || close - open > 200)
            break;
        amended.replace(open, close + 2 - open, close + 2 - open, ' ');
    }
    return TPhraseReader(amended, Number).Read();
}

std::optional<bool> WiderReferenceInTheAlternative(std::string_view Text) {
    const TTokens all = LenientTokens(Text);
    const std::vector<TToken>& tokens = all.Items;
    std::size_t claimWord = 0;
    while (claimWord < tokens.size() &&
           (!IsWord(tokens[claimWord]) ||
            ClaimWordKind(all.Fold(tokens[claimWord])) == TClaimWord::None))
        ++claimWord;
    if (claimWord == tokens.size())
        return std::nullopt;
    const TWordLanguage language = ClaimWordLanguage(all.Fold(tokens[claimWord]));
    if (language == TWordLanguage::Other)
        return std::nullopt;
    // "any one of", "któregokolwiek z", "любому из" just before the claim word.
    for (std::size_t j = claimWord; j-- > 0 && claimWord - j <= 4;) {
        if (IsWord(tokens[j]) && IsQuantifierWord(all.Fold(tokens[j])))
            return true;
    }
    bool hasOr = false;
    bool hasAnd = false;
    for (std::size_t j = claimWord + 1; j < tokens.size(); ++j) {
        const TToken& t = tokens[j];
        if (t.Kind == TTokenKind::Number || t.Kind == TTokenKind::Dash ||
            t.Kind == TTokenKind::Comma || (t.Kind == TTokenKind::Period && t.Glued))
            continue;
        // "3'ten": a case ending after an apostrophe.
        if (t.Kind == TTokenKind::Other && t.Glued)
            continue;
        if (!IsWord(t))
            break;
        const std::string_view fold = all.Fold(t);
        if (t.Glued && j > 0 && tokens[j - 1].Kind == TTokenKind::Other)
            continue;
        // Turkish puts "herhangi birine" after the numbers.
        if (IsQuantifierWord(fold))
            return true;
        if (IsOrWordIn(language, fold))
            hasOr = true;
        else if (IsAndWordIn(language, fold))
            hasAnd = true;
        else if (!IsRangeWordIn(language, fold) && ClaimWordKind(fold) == TClaimWord::None)
            break;
    }
    return hasOr && !hasAnd;
}
