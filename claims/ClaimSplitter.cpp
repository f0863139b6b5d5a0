#include "ClaimSplitter.h"

#include <cstring>

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

} // namespace

std::string PrepareText(std::string_view Text) {
    if (const auto nul = Text.find('\0'); nul != std::string_view::npos)
        Text = Text.substr(0, nul);

    std::string out;
    out.reserve(Text.size() + Text.size() / 32 + 16);
    std::size_t i = 0;
    const std::size_t n = Text.size();
    while (i < n) {
        std::size_t b = i;
        while (b < n && !IsBreak(Text[b]))
            ++b;
        if (b == n) {
            out.append(Text.substr(i));
            break;
        }
        out.append(Text.substr(i, b + 1 - i));
        i = b + 1;
        if (IndentedNumberAt(Text, i)) {
            out += "  ";
        } else if (HeadingAt(Text, i)) {
            // The closing line break is left for the next round: it may open
            // another heading.
            out.append(Text.substr(i, 6));
            out += ':';
            i += 6;
        }
    }
    return out;
}

void SplitClaims(std::string_view Prepared,
                 const std::function<void(int32_t Number, std::string Text)>& Close) {
    SplitClaimsAt(Prepared, [&](int32_t Number, std::string Text, std::size_t) {
        Close(Number, std::move(Text));
    });
}

void SplitClaimsAt(
    std::string_view Prepared,
    const std::function<void(int32_t Number, std::string Text, std::size_t NumberPos)>& Close) {
    const char* const text = Prepared.data();
    const std::size_t n = Prepared.size();

    State state = BeforeClaims;
    std::string claim;
    std::string heldBack;
    int32_t number = 0;
    int32_t digits = 0;
    bool begun = false;
    std::size_t firstPeriod = 0;
    std::size_t numberPos = 0;
    std::size_t digitsPos = 0;
    std::size_t i = 0;

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
    if (!begun || i <= firstPeriod + 1)
        return;
    if (state == End)
        claim += '.';
    else
        claim += heldBack;
    Close(number, std::move(claim), numberPos);
}
