#include "ClaimSplitter.h"

#include "TextEncoding.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool IsBreak(char c) {
    return c == '\n' || c == '\r';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A claim number 1 to 99 without leading zero, a period and a blank at Pos.
bool IndentedNumberAt(std::string_view t, std::size_t Pos) {
    if (Pos >= t.size() || t[Pos] < '1' || t[Pos] > '9')
        return false;
    std::size_t i = Pos + 1;
    if (i < t.size() && IsDigit(t[i]))
        ++i;
    return i + 1 < t.size() && t[i] == '.' && IsBlank(t[i + 1]);
}

// "Claims" or "CLAIMS" followed by a line break at Pos.
bool HeadingAt(std::string_view t, std::size_t Pos) {
    constexpr std::size_t len = 6;
    if (Pos + len >= t.size() || !IsBreak(t[Pos + len]))
        return false;
    const std::string_view word = t.substr(Pos, len);
    return word == "Claims" || word == "CLAIMS";
}

enum State : int {
    BeforeClaims = 0,
    AfterColon = 1,
    AfterPeriod = 2,
    ReadOne = 3,
    LineBreakAfterPeriod = 4,
    LineStartBlanks = 5,
    LineStartDigits = 6,
    ClaimText = 7,
    End = 8,
};

State Next(State s, char c) {
    switch (s) {
    case BeforeClaims:
        return c == ':' ? AfterColon : BeforeClaims;
    case AfterColon:
        if (IsBlank(c) || IsBreak(c))
            return AfterColon;
        return c == '1' ? ReadOne : BeforeClaims;
    case AfterPeriod:
        if (IsBlank(c))
            return AfterPeriod;
        return IsBreak(c) ? LineBreakAfterPeriod : ClaimText;
    case ReadOne:
        return c == '.' ? ClaimText : BeforeClaims;
    case LineBreakAfterPeriod:
        if (IsBlank(c))
            return LineStartBlanks;
        return IsBreak(c) ? LineBreakAfterPeriod : End;
    case LineStartBlanks:
        if (IsBlank(c))
            return LineStartBlanks;
        return IsDigit(c) ? LineStartDigits : End;
    case LineStartDigits:
        if (IsDigit(c))
            return LineStartDigits;
        return ClaimText;
    case ClaimText:
        return c == '.' ? AfterPeriod : ClaimText;
    case End:
        break;
    }
    return End;
}

int32_t AppendDigit(int32_t Value, char Digit) {
    const int32_t d = Digit - '0';
    if (Value > (INT32_MAX - d) / 10)
        return INT32_MAX;
    return Value * 10 + d;
}

// Appends the prepared form of Text[From, To) to Out, where To is the end of
// Text or the start of a line. The rules look past To into Text, so that
// the parts of consecutive ranges join up to the prepared whole.
void PrepareInto(std::string_view Text, std::size_t From, std::size_t To, std::string& Out) {
    std::size_t i = From;
    // Out ends with what precedes a line start; the rules apply at i.
    const auto insertAt = [&]() {
        if (IndentedNumberAt(Text, i)) {
            Out += "  ";
        } else if (HeadingAt(Text, i)) {
            // The closing line break is left for the next round: it may open
            // another heading.
            Out.append(Text.substr(i, 6));
            Out += ':';
            i += 6;
        }
    };
    if (i > 0 && i < To && IsBreak(Text[i - 1]))
        insertAt();
    while (i < To) {
        const std::size_t b = FindLineBreak(Text.substr(0, To), i);
        if (b == To) {
            Out.append(Text.substr(i, To - i));
            break;
        }
        Out.append(Text.substr(i, b + 1 - i));
        i = b + 1;
        if (i < To)
            insertAt();
    }
}

} // namespace

std::string PrepareText(std::string_view Text) {
    if (const auto nul = Text.find('\0'); nul != std::string_view::npos)
        Text = Text.substr(0, nul);
    std::string out;
    out.reserve(Text.size() + Text.size() / 32 + 16);
    PrepareInto(Text, 0, Text.size(), out);
    return out;
}

namespace {

// Where the splitter stands in a prepared text that may grow.
struct TSplitState {
    State Now = BeforeClaims;
    std::string Claim;
    std::string HeldBack;
    int32_t Number = 0;
    int32_t Digits = 0;
    bool Begun = false;
    std::size_t FirstPeriod = 0;
    std::size_t NumberPos = 0;
    std::size_t DigitsPos = 0;
    std::size_t Read = 0; // characters read
};

// Goes on splitting Prepared where S stopped; Prepared is what S saw, and
// maybe more. True when the claims section ended. With Whole, Prepared is
// the whole text, and its end closes the last claim; else the end of
// Prepared leaves the claim open for more.
bool SplitPrepared(
    std::string_view Prepared, TSplitState& S,
    const std::function<void(int32_t Number, std::string Text, std::size_t NumberPos)>& Close,
    bool Whole) {
    const char* const text = Prepared.data();
    const std::size_t n = Prepared.size();

    State& state = S.Now;
    std::string& claim = S.Claim;
    std::string& heldBack = S.HeldBack;
    int32_t& number = S.Number;
    int32_t& digits = S.Digits;
    bool& begun = S.Begun;
    std::size_t& firstPeriod = S.FirstPeriod;
    std::size_t& numberPos = S.NumberPos;
    std::size_t& digitsPos = S.DigitsPos;
    std::size_t& i = S.Read;

    for (; i < n; ++i) {
        if (state == BeforeClaims) {
            const void* colon = std::memchr(text + i, ':', n - i);
            if (colon == nullptr) {
                i = n;
                break;
            }
            i = static_cast<std::size_t>(static_cast<const char*>(colon) - text);
            state = AfterColon;
            continue;
        }
        if (state == ClaimText) {
            const void* period = std::memchr(text + i, '.', n - i);
            const std::size_t stop =
                period ? static_cast<std::size_t>(static_cast<const char*>(period) - text) : n;
            claim.append(text + i, stop - i);
            if (stop == n) {
                i = n;
                break;
            }
            i = stop;
            heldBack.assign(1, '.');
            state = AfterPeriod;
            continue;
        }

        const char c = text[i];
        const State p = state;
        const State s = Next(p, c);

        if (p == ReadOne && s == ClaimText) {
            claim.clear();
            heldBack.clear();
            number = 1;
            begun = true;
            firstPeriod = i;
            numberPos = i - 1;
        }
        if (p == LineStartBlanks && s == LineStartDigits) {
            digits = c - '0';
            digitsPos = i;
        }
        if (p == LineStartDigits && s == LineStartDigits)
            digits = AppendDigit(digits, c);
        if (p == LineStartDigits && s == ClaimText && c == '.') {
            claim += '.';
            Close(number, std::move(claim), numberPos);
            claim.clear();
            heldBack.clear();
            number = digits;
            numberPos = digitsPos;
        }
        if (s == ClaimText && (p == AfterPeriod || p == LineBreakAfterPeriod ||
                               p == LineStartBlanks || (p == LineStartDigits && c != '.'))) {
            claim += heldBack;
            claim += c;
            heldBack.clear();
        }
        if (s < ClaimText && (p == AfterPeriod || p == LineBreakAfterPeriod ||
                              p == LineStartBlanks || p == LineStartDigits))
            heldBack += c;

        state = s;
        if (s == End) {
            ++i;
            break;
        }
    }

    // i is now the number of characters read.
    if (state != End && !Whole)
        return false;
    if (!begun || i <= firstPeriod + 1)
        return state == End;
    if (state == End)
        claim += '.';
    else
        claim += heldBack;
    Close(number, std::move(claim), numberPos);
    return state == End;
}

// Walks a text forward, counting lines: a CR LF, a lone CR and a lone LF each
// end one. Finds the line breaks with memchr; it serves the claims section,
// not the text before it.
class TLineCursor {
public:
    TLineCursor(std::string_view Text, std::size_t Pos, int32_t Line)
        : text(Text), pos(Pos), line(Line), nextLf(Text.find('\n', Pos)),
          nextCr(Text.find('\r', Pos)) {}

    // The line that holds Pos, at or after the last position asked.
    int32_t LineAt(std::size_t Pos) {
        Advance([&](std::size_t Break) { return Break < Pos; });
        return line;
    }

    // The offset of the start of Line, at or after the last line asked.
    std::size_t StartOf(int32_t Line) {
        Advance([&](std::size_t) { return line < Line; });
        return line < Line ? text.size() : pos;
    }

private:
    template <typename F> void Advance(F&& Goes) {
        for (;;) {
            const std::size_t b = std::min(Next(nextLf, '\n'), Next(nextCr, '\r'));
            if (b == std::string_view::npos || !Goes(b))
                return;
            pos = b + 1;
            if (text[b] == '\r' && pos < text.size() && text[pos] == '\n')
                continue; // the LF ends the line
            ++line;
        }
    }

    // The next C at or after pos, kept in Cached.
    std::size_t Next(std::size_t& Cached, char C) const {
        if (Cached != std::string_view::npos && Cached < pos) {
            const void* found = std::memchr(text.data() + pos, C, text.size() - pos);
            Cached = found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data())
                           : std::string_view::npos;
        }
        return Cached;
    }

    std::string_view text;
    std::size_t pos;
    int32_t line;
    std::size_t nextLf; // the next LF and CR at or after pos, or npos
    std::size_t nextCr;
};

// A bit for each of the 16 bytes at Text that is a colon or a line break;
// the lowest bit stands for the first byte.
uint32_t ColonsAndBreaks(const char* Text) {
#if defined(__SSE2__)
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Text));
    const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(':')),
                                                   _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'))),
                                      _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')));
    return static_cast<uint32_t>(_mm_movemask_epi8(hits));
#else
    uint32_t mask = 0;
    for (int k = 0; k < 16; ++k)
        mask |= static_cast<uint32_t>(Text[k] == ':' || IsBreak(Text[k])) << k;
    return mask;
#endif
}

struct TClaimsStart {
    std::size_t Pos = 0;       // where the preparation may start
    std::size_t LineStart = 0; // the start of the line that holds Pos
    int32_t Line = 1;
};

// Runs the splitter's search for the claims section over the unprepared
// text: a colon, or the one preparation puts behind a heading, then blanks
// and line breaks, then "1.". The character that ends a failed search is
// used up, even when it is a colon.
bool FindClaimsStart(std::string_view Text, TClaimsStart& Start) {
    const std::size_t n = Text.size();
    std::size_t resume = 0; // colons before this are used up
    int32_t line = 1;
    std::size_t lineStart = 0;
    // Whether "1." follows the colon before From; else where the search resumes.
    const auto claimsFollow = [&](std::size_t From) {
        std::size_t j = From;
        while (j < n && (IsBlank(Text[j]) || IsBreak(Text[j])))
            ++j;
        if (j + 1 < n && Text[j] == '1' && Text[j + 1] == '.')
            return true;
        resume = (j < n && Text[j] == '1' ? j + 1 : j) + 1;
        return false;
    };
    // One colon or line break at P; true when the claims start there.
    const auto at = [&](std::size_t P) {
        if (Text[P] == ':') {
            if (P < resume || !claimsFollow(P + 1))
                return false;
            Start = {P, lineStart, line};
            return true;
        }
        if (Text[P] == '\r' && P + 1 < n && Text[P + 1] == '\n')
            return false; // the LF ends the line
        ++line;
        lineStart = P + 1;
        // The colon a heading gets is never used up: "Claims" comes before it.
        if (!HeadingAt(Text, P + 1) || !claimsFollow(P + 7))
            return false;
        Start = {P + 1, P + 1, line};
        return true;
    };
    std::size_t base = 0;
    for (; n - base >= 16; base += 16) {
        for (uint32_t hits = ColonsAndBreaks(Text.data() + base); hits != 0; hits &= hits - 1) {
            if (at(base + static_cast<std::size_t>(std::countr_zero(hits))))
                return true;
        }
    }
    for (; base < n; ++base) {
        if ((Text[base] == ':' || IsBreak(Text[base])) && at(base))
            return true;
    }
    return false;
}

} // namespace

void SplitClaims(std::string_view Prepared,
                 const std::function<void(int32_t Number, std::string Text)>& Close) {
    SplitClaimsAt(Prepared, [&](int32_t Number, std::string Text, std::size_t) {
        Close(Number, std::move(Text));
    });
}

void SplitClaimsAt(
    std::string_view Prepared,
    const std::function<void(int32_t Number, std::string Text, std::size_t NumberPos)>& Close) {
    TSplitState state;
    SplitPrepared(Prepared, state, Close, true);
}

void SplitTextClaims(std::string_view Text,
                     const std::function<void(int32_t Number, std::string Text, int32_t Line,
                                              std::size_t LineStart)>& Close,
                     std::size_t Piece) {
    TClaimsStart start;
    if (!FindClaimsStart(Text, start))
        return;
    // Prepares the text from the claims' start a piece at a time, and splits
    // each piece as it comes, until the claims section ends: memory near the
    // size of that section, however long the text after it.
    struct TFound {
        int32_t Number;
        std::string Text;
        std::size_t NumberPos;
    };
    std::vector<TFound> found;
    std::string prepared;
    TSplitState state;
    const std::size_t n = Text.size();
    const std::size_t piece = std::max<std::size_t>(Piece, 1);
    for (std::size_t from = start.Pos; from < n;) {
        std::size_t to = n;
        if (n - from > piece) {
            // Up to a line start, never between a CR and its LF.
            to = std::min(FindLineBreak(Text, from + piece - 1) + 1, n);
            if (to < n && Text[to - 1] == '\r' && Text[to] == '\n')
                ++to;
        }
        PrepareInto(Text, from, to, prepared);
        from = to;
        const bool ended = SplitPrepared(
            prepared, state,
            [&](int32_t Number, std::string ClaimText, std::size_t Pos) {
                found.push_back({Number, std::move(ClaimText), Pos});
            },
            to == n);
        if (ended)
            break;
    }
    // The preparation inserts no line breaks and never splits a CR LF, so
    // the prepared text has the original's lines.
    TLineCursor preparedLines(prepared, 0, start.Line);
    TLineCursor originalLines(Text, start.LineStart, start.Line);
    for (TFound& claim : found) {
        const int32_t line = preparedLines.LineAt(claim.NumberPos);
        Close(claim.Number, std::move(claim.Text), line, originalLines.StartOf(line));
    }
}
