#include "LenientNumbering.h"

#include "LenientCjk.h"
#include "LenientLexicon.h"
#include "LenientText.h"

#include <vector>

namespace {

// Claim numbers have at most this many digits.
constexpr std::size_t MaxDigits = 6;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipBlanks(std::string_view s, std::size_t i) {
    while (i < s.size()) {
        std::size_t next = i;
        if (!IsBlankChar(NextChar(s, next)))
            break;
        i = next;
    }
    return i;
}

// Digits at i: the value, i moved past them; false when there are none or too many.
bool ReadNumber(std::string_view s, std::size_t& i, int32_t& Value) {
    std::size_t j = i;
    int32_t v = 0;
    while (j < s.size() && IsDigit(s[j])) {
        if (j - i >= MaxDigits)
            return false;
        v = v * 10 + (s[j] - '0');
        ++j;
    }
    if (j == i)
        return false;
    i = j;
    Value = v;
    return true;
}

bool DashAt(std::string_view s, std::size_t i, std::size_t& After) {
    if (i >= s.size())
        return false;
    std::size_t next = i;
    if (!IsDashChar(NextChar(s, next)))
        return false;
    After = next;
    return true;
}

// The folded word at i, i moved past it.
std::string WordAt(std::string_view s, std::size_t& i) {
    std::string fold;
    while (i < s.size()) {
        std::size_t next = i;
        if (!FoldLetter(NextChar(s, next), fold))
            break;
        i = next;
        if (fold.size() > 24)
            break;
    }
    return fold;
}

// "-5", " to 5", ".-5." after a first number: the last number of a range.
bool ReadRangeEnd(std::string_view s, std::size_t& i, int32_t First, int32_t& Last) {
    std::size_t j = i;
    if (j < s.size() && s[j] == '.')
        ++j;
    j = SkipBlanks(s, j);
    std::size_t after = 0;
    if (DashAt(s, j, after)) {
        j = after;
    } else {
        std::size_t w = j;
        const std::string word = WordAt(s, w);
        if (word.empty() || !IsRangeWord(word) || word == "a" || word == "t")
            return false;
        j = w;
    }
    j = SkipBlanks(s, j);
    int32_t last = 0;
    if (!ReadNumber(s, j, last) || last <= First)
        return false;
    i = j;
    Last = last;
    return true;
}

bool IsCapital(std::string_view s, std::size_t i) {
    if (i >= s.size())
        return true;
    std::size_t next = i;
    const uint32_t c = NextChar(s, next);
    return IsCapitalLetter(c) || c == '(' || c == '[' || c == '"' || c == 0x201C || IsCjkLetter(c);
}

// A bracketed amendment status at i: "(Currently amended)", "[Canceled]".
bool ReadStatus(std::string_view s, std::size_t& i, TClaimStart& Start) {
    if (i >= s.size() || (s[i] != '(' && s[i] != '['))
        return false;
    const char close = s[i] == '(' ? ')' : ']';
    const std::size_t end = s.find(close, i + 1);
    if (end == std::string_view::npos || end - i > 80)
        return false;
    const std::string_view inside = s.substr(i + 1, end - i - 1);
    const std::vector<std::string> words = FoldedWords(inside);
    if (words.empty() || words.size() > 10)
        return false;
    bool status = false;
    for (const std::string& w : words) {
        if (IsStatusWord(w))
            status = true;
        else if (ClaimWordKind(w) == TClaimWord::None && w.size() > 9)
            return false;
        Start.Cancelled = Start.Cancelled || IsCancelWord(w);
    }
    if (!status)
        return false;
    const std::size_t from = SkipBlanks(inside, 0);
    std::size_t to = inside.size();
    while (to > from && (inside[to - 1] == ' ' || inside[to - 1] == '\t'))
        --to;
    Start.Status = inside.substr(from, to - from);
    i = end + 1;
    return true;
}

// The text after the number's punctuation: status, then the claim's words.
void ReadText(std::string_view s, std::size_t i, TClaimStart& Start) {
    i = SkipBlanks(s, i);
    if (ReadStatus(s, i, Start)) {
        i = SkipBlanks(s, i);
        while (i < s.size() && (s[i] == '.' || s[i] == ':' || s[i] == ',' || s[i] == '-'))
            i = SkipBlanks(s, i + 1);
    } else {
        // "2. Canceled." without brackets.
        const std::vector<std::string> words =
            s.size() - i <= 40 ? FoldedWords(s.substr(i)) : std::vector<std::string>();
        if (!words.empty() && words.size() <= 3 && IsCancelWord(words.front())) {
            std::size_t to = s.size();
            while (to > i && (s[to - 1] == ' ' || s[to - 1] == '\t' || s[to - 1] == '.'))
                --to;
            Start.Status = s.substr(i, to - i);
            Start.Cancelled = true;
            i = s.size();
        }
    }
    Start.TextBegin = i;
    Start.CapitalStart = !Start.Status.empty() || IsCapital(s, i);
}

std::optional<TClaimStart> ReadNumbered(std::string_view s) {
    TClaimStart start;
    std::size_t i = 0;
    if (!ReadNumber(s, i, start.First))
        return std::nullopt;
    start.Last = start.First;
    ReadRangeEnd(s, i, start.First, start.Last);
    if (i == s.size()) {
        if (start.Last != start.First)
            return std::nullopt;
        start.Numbering = TNumbering::Bare;
        start.TextBegin = i;
        start.CapitalStart = true;
        return start;
    }
    if (s[i] == '\t') {
        if (start.Last != start.First)
            return std::nullopt;
        start.Numbering = TNumbering::Bare;
        ReadText(s, i, start);
        return start;
    }
    const std::size_t afterNumber = i;
    i = SkipBlanks(s, i);
    if (i >= s.size())
        return std::nullopt;
    if (s[i] == '.' || s[i] == ':') {
        // Not a decimal ("1.5") nor a time ("10:30").
        if (i + 1 < s.size() && IsDigit(s[i + 1]))
            return std::nullopt;
        // "1 . 5" neither, nor a blank before a colon.
        if (i != afterNumber) {
            const std::size_t k = SkipBlanks(s, i + 1);
            if (s[i] == ':' || (k < s.size() && IsDigit(s[k])))
                return std::nullopt;
        }
        start.Numbering = TNumbering::Period;
    } else if (s[i] == ')') {
        start.Numbering = TNumbering::Bracket;
    } else if (std::size_t dash = 0; i != afterNumber && DashAt(s, i, dash)) {
        // "1 - Dispositivo": a dash between blanks, then a capital.
        const std::size_t text = SkipBlanks(s, dash);
        if (text == dash || start.Last != start.First || !IsCapital(s, text) || text >= s.size())
            return std::nullopt;
        start.Numbering = TNumbering::Period;
        ReadText(s, text, start);
        return start;
    } else {
        return std::nullopt;
    }
    // "1.- Un dispositivo", as Spanish texts write it.
    std::size_t after = i + 1;
    std::size_t dash = 0;
    if (after < s.size() && DashAt(s, after, dash))
        after = dash;
    ReadText(s, after, start);
    return start;
}

std::optional<TClaimStart> ReadParenthesised(std::string_view s) {
    TClaimStart start;
    std::size_t i = SkipBlanks(s, 1);
    if (!ReadNumber(s, i, start.First))
        return std::nullopt;
    start.Last = start.First;
    i = SkipBlanks(s, i);
    if (i >= s.size() || s[i] != ')')
        return std::nullopt;
    ++i;
    if (i < s.size() && s[i] == '.')
        ++i;
    start.Numbering = TNumbering::Paren;
    ReadText(s, i, start);
    return start;
}

// "Claim 1.", "CLAIM 1:", "Claims 3-5 (Canceled)", "[Claim 1]", "Anspruch 1".
std::optional<TClaimStart> ReadWordNumbered(std::string_view s) {
    TClaimStart start;
    std::size_t i = 0;
    // "[Claim 1]", or with the lenticular brackets of East Asian texts, "【Claim 1】".
    const bool lenticular = s.starts_with("\xe3\x80\x90");
    const bool bracket = s[0] == '[' || lenticular;
    if (bracket)
        i = SkipBlanks(s, lenticular ? 3 : 1);
    const std::string word = WordAt(s, i);
    if (ClaimWordKind(word) == TClaimWord::None)
        return std::nullopt;
    i = SkipBlanks(s, i);
    if (!ReadNumber(s, i, start.First))
        return std::nullopt;
    start.Last = start.First;
    ReadRangeEnd(s, i, start.First, start.Last);
    const std::size_t afterNumber = i;
    i = SkipBlanks(s, i);
    start.Numbering = TNumbering::Word;
    if (bracket) {
        const std::string_view close = lenticular ? "\xe3\x80\x91" : "]";
        if (s.substr(i, close.size()) != close)
            return std::nullopt;
        ReadText(s, i + close.size(), start);
        return start;
    }
    if (i >= s.size()) {
        start.TextBegin = i;
        start.CapitalStart = true;
        return start;
    }
    std::size_t after = 0;
    if (s[i] == '.' || s[i] == ':' || s[i] == ')' || DashAt(s, i, after)) {
        if (s[i] == '.' && i + 1 < s.size() && IsDigit(s[i + 1]))
            return std::nullopt;
        ReadText(s, s[i] == '.' || s[i] == ':' || s[i] == ')' ? i + 1 : after, start);
        return start;
    }
    if (i == afterNumber)
        return std::nullopt;
    // "Claim 1 A pump", "Claim 1 (Original) A pump": a capital must follow.
    TClaimStart probe = start;
    ReadText(s, i, probe);
    if (!probe.Status.empty() || (s[i] >= 'A' && s[i] <= 'Z'))
        return probe;
    return std::nullopt;
}

// The line trimmed of its closing colon and a count "(12)"; whether the colon was there.
std::string_view HeadingCore(std::string_view Line, bool& Colon) {
    Colon = false;
    while (!Line.empty() && (Line.back() == ' ' || Line.back() == '\t'))
        Line.remove_suffix(1);
    if (!Line.empty() && Line.back() == ':') {
        Colon = true;
        Line.remove_suffix(1);
    }
    while (!Line.empty() && (Line.back() == ' ' || Line.back() == '\t'))
        Line.remove_suffix(1);
    if (!Line.empty() && Line.back() == ')') {
        const std::size_t open = Line.rfind('(');
        if (open != std::string_view::npos) {
            bool digits = open + 2 < Line.size() + 1;
            for (std::size_t k = open + 1; k + 1 < Line.size(); ++k)
                digits = digits && IsDigit(Line[k]);
            if (digits)
                Line = Line.substr(0, open);
        }
    }
    return Line;
}

// "1. ", "(1)", "Claim 1.", and a margin's line number before them.
std::optional<TClaimStart> ReadLatinClaimStart(std::string_view Line) {
    const char c = Line[0];
    if (IsDigit(c)) {
        if (auto start = ReadNumbered(Line))
            return start;
        // A line number of a printed page before the claim's number: "5 2. The".
        std::size_t i = 0;
        int32_t margin = 0;
        if (!ReadNumber(Line, i, margin) || margin % 5 != 0 || margin > 100)
            return std::nullopt;
        const std::size_t rest = SkipBlanks(Line, i);
        if (rest == i || rest >= Line.size() || !IsDigit(Line[rest]))
            return std::nullopt;
        auto start = ReadNumbered(Line.substr(rest));
        if (!start || start->Numbering != TNumbering::Period)
            return std::nullopt;
        start->TextBegin += rest;
        return start;
    }
    if (c == '(')
        return ReadParenthesised(Line);
    return ReadWordNumbered(Line);
}

} // namespace

std::optional<TClaimStart> ReadClaimStart(std::string_view Line) {
    if (Line.empty())
        return std::nullopt;
    if (auto start = ReadLatinClaimStart(Line))
        return start;
    if (!MayStartCjkClaim(Line))
        return std::nullopt;
    return ReadCjkClaimStart(Line);
}

bool IsClaimsHeading(std::string_view Line) {
    if (Line.empty() || Line.size() > 90)
        return false;
    if (IsCjkClaimsHeading(Line))
        return true;
    bool colon = false;
    const std::string_view core = HeadingCore(Line, colon);
    if (core.empty() || core.size() > 70)
        return false;
    // "Having described the invention, what is claimed is:" may hold a comma.
    for (char c : core) {
        if (IsDigit(c) || c == '.' || c == ';' || (c == ',' && !colon))
            return false;
    }
    const std::vector<std::string> words = FoldedWords(core);
    if (words.empty() || words.size() > (colon ? 14u : 9u))
        return false;
    bool claimWord = false;
    bool vocabulary = true;
    for (const std::string& w : words) {
        const bool isClaim =
            ClaimWordKind(w) != TClaimWord::None || w == "claimed" || IsHeadingClaimWord(w);
        claimWord = claimWord || isClaim;
        vocabulary = vocabulary && (isClaim || IsClaimsHeadingWord(w));
    }
    if (!claimWord)
        return false;
    if (colon)
        return true;
    // Without a colon only a line of heading words that starts with a capital.
    std::size_t first = 0;
    if (core[0] == '[' || core[0] == '(')
        first = 1;
    return vocabulary && IsCapital(core, first) && words.size() <= 6;
}

bool IsSectionHeading(std::string_view Line) {
    if (IsCjkSectionHeading(Line))
        return true;
    if (Line.empty() || Line.size() > 60 || Line.back() == '.' || Line.back() == ',' ||
        Line.back() == ';')
        return false;
    if (!IsCapital(Line, 0) || Line[0] == '(' || Line[0] == '[' || Line[0] == '"')
        return false;
    const std::vector<std::string> words = FoldedWords(Line);
    return !words.empty() && words.size() <= 6 && IsSectionEndWord(words.front());
}
