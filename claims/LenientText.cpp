#include "LenientText.h"

#include "LenientCjk.h"

#include <algorithm>

namespace {

// Windows-1252 bytes 0x80 to 0x9F; the five undefined ones stand for
// themselves.
constexpr uint16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// ASCII forms of U+00C0 to U+00FF, lower case; "" for the two signs.
constexpr const char* Latin1Folds[64] = {
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "y"};

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

bool IsAsciiLetter(uint32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(uint32_t c) {
    return c >= '0' && c <= '9';
}

} // namespace

uint32_t NextChar(std::string_view Text, std::size_t& Pos) {
    const auto b = static_cast<unsigned char>(Text[Pos]);
    if (b < 0x80) {
        ++Pos;
        return b;
    }
    const std::size_t left = Text.size() - Pos;
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(Text[Pos + i]); };
    if (b >= 0xC2 && b <= 0xDF && left >= 2 && IsContinuation(at(1))) {
        const uint32_t c = ((b & 0x1Fu) << 6) | (at(1) & 0x3Fu);
        Pos += 2;
        return c;
    }
    if (b >= 0xE0 && b <= 0xEF && left >= 3 && IsContinuation(at(1)) && IsContinuation(at(2))) {
        const uint32_t c = ((b & 0x0Fu) << 12) | ((at(1) & 0x3Fu) << 6) | (at(2) & 0x3Fu);
        if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) {
            Pos += 3;
            return c;
        }
    }
    if (b >= 0xF0 && b <= 0xF4 && left >= 4 && IsContinuation(at(1)) && IsContinuation(at(2)) &&
        IsContinuation(at(3))) {
        const uint32_t c = ((b & 0x07u) << 18) | ((at(1) & 0x3Fu) << 12) | ((at(2) & 0x3Fu) << 6) |
                           (at(3) & 0x3Fu);
        if (c >= 0x10000 && c <= 0x10FFFF) {
            Pos += 4;
            return c;
        }
    }
    ++Pos;
    return b < 0xA0 ? Cp1252High[b - 0x80] : b;
}

bool IsBlankChar(uint32_t C) {
    return C == ' ' || C == '\t' || C == '\f' || C == '\v' || C == 0xA0 ||
           (C >= 0x2000 && C <= 0x200B) || C == 0x202F || C == 0x3000;
}

bool IsDashChar(uint32_t C) {
    return C == '-' || C == 0x1E || C == 0xAD || (C >= 0x2010 && C <= 0x2015) || C == 0x2212;
}

namespace {

// Base letters of U+0100 to U+017F, Latin Extended-A: the Central European and
// Turkish letters. '?' marks the two ligatures, spelled out below.
constexpr std::string_view LatinExtendedA =
    "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiii??jjkkk"
    "llllllllllnnnnnnnnnoooooo??rrrrrrsssssssstttttt"
    "uuuuuuuuuuuuwwyyyzzzzzzs";

void AppendUtf8(uint32_t C, std::string& Out) {
    if (C < 0x800) {
        Out += static_cast<char>(0xC0 | (C >> 6));
    } else {
        Out += static_cast<char>(0xE0 | (C >> 12));
        Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    }
    Out += static_cast<char>(0x80 | (C & 0x3F));
}

} // namespace

bool FoldWiderLetter(uint32_t C, std::string& Out) {
    if (C >= 0x100 && C < 0x180) {
        const char base = LatinExtendedA[C - 0x100];
        if (base == '?')
            Out += C < 0x140 ? "ij" : "oe";
        else
            Out += base;
        return true;
    }
    // Combining accents belong to the letter before them: "i̇" (i and a
    // dot above) is how a lower-casing that ignores Turkish writes "İ".
    if (C >= 0x300 && C < 0x370)
        return true;
    // Cyrillic folds to its own lower case, "Ё" to "е".
    if (C == 0x401 || C == 0x451) {
        AppendUtf8(0x435, Out);
        return true;
    }
    if (C >= 0x400 && C < 0x500) {
        if (C < 0x410)
            C += 0x50;
        else if (C < 0x430)
            C += 0x20;
        AppendUtf8(C, Out);
        return true;
    }
    return false;
}

bool IsCapitalLetter(uint32_t C) {
    if ((C >= 'A' && C <= 'Z') || (C >= 0xC0 && C <= 0xDE && C != 0xD7))
        return true;
    if (C >= 0x400 && C < 0x430)
        return true;
    if (C >= 0x100 && C < 0x180) {
        // Upper case comes first in each pair; the pairs shift at U+0139 and U+0179.
        if ((C >= 0x139 && C <= 0x148) || C >= 0x179)
            return C % 2 == 1 && C != 0x17F;
        return C % 2 == 0 && C != 0x138 && C != 0x149;
    }
    return false;
}

bool FoldLetter(uint32_t C, std::string& Out) {
    if (IsAsciiLetter(C)) {
        Out += static_cast<char>(C | 0x20);
        return true;
    }
    if (C >= 0xC0 && C <= 0xFF) {
        const char* fold = Latin1Folds[C - 0xC0];
        if (*fold == '\0')
            return false;
        Out += fold;
        return true;
    }
    switch (C) {
    case 0x152:
    case 0x153:
        Out += "oe";
        return true;
    case 0x160:
    case 0x161:
        Out += 's';
        return true;
    case 0x17D:
    case 0x17E:
        Out += 'z';
        return true;
    case 0x178:
        Out += 'y';
        return true;
    default:
        break;
    }
    // Full-width Latin letters are their ASCII ones; full-width digits and
    // punctuation are no letters.
    if (C >= 0xFF01 && C <= 0xFF65) {
        const char a = AsciiForm(C);
        if (!IsAsciiLetter(static_cast<unsigned char>(a)))
            return false;
        Out += static_cast<char>(a | 0x20);
        return true;
    }
    if (FoldWiderLetter(C, Out))
        return true;
    // Other alphabets: letters, but no lexicon word. Punctuation and symbols
    // of the general blocks are not letters.
    if ((C >= 0x100 && C < 0x2000) || (C >= 0x3040 && C < 0xFFF0) || C >= 0x10000) {
        Out += '~';
        return true;
    }
    return false;
}

namespace {

constexpr uint64_t MaxValue = UINT32_MAX;

// Value * 10 + Digit, saturating.
uint32_t Appended(uint32_t Value, uint32_t Digit) {
    return static_cast<uint32_t>(std::min<uint64_t>(uint64_t{Value} * 10 + Digit, MaxValue));
}

} // namespace

TTokens LenientTokens(std::string_view Text) {
    if (Text.size() > UINT32_MAX)
        Text = Text.substr(0, UINT32_MAX);
    TTokens result;
    std::vector<TToken>& tokens = result.Items;
    std::string& folds = result.Folds;
    tokens.reserve(Text.size() / 4 + 8);
    std::size_t pos = 0;
    bool glued = false;
    const std::size_t n = Text.size();
    const auto add = [&](TToken& Token, std::size_t End) {
        Token.End = static_cast<uint32_t>(End);
        pos = End;
        tokens.push_back(Token);
    };
    while (pos < n) {
        const std::size_t begin = pos;
        const uint32_t c = NextChar(Text, pos);
        if (IsBlankChar(c) || c == '\n' || c == '\r') {
            glued = false;
            continue;
        }
        TToken token;
        token.Begin = static_cast<uint32_t>(begin);
        token.Glued = glued;
        glued = true;
        if (IsDigit(c) || c == 'I' || c == 'l' || c == '|') {
            // A run of digits, perhaps with the letters a scanner makes of them.
            std::size_t end = begin;
            bool digits = false;
            bool scanned = false;
            uint32_t value = 0;
            while (end < n) {
                const char d = Text[end];
                if (d >= '0' && d <= '9')
                    digits = true;
                else if (d == 'I' || d == 'l' || d == '|' || (d == 'O' && end > begin))
                    scanned = true;
                else
                    break;
                value = Appended(value, (d >= '0' && d <= '9') ? d - '0' : d == 'O' ? 0 : 1);
                ++end;
            }
            const bool wordGoesOn =
                end < n && (IsAsciiLetter(static_cast<unsigned char>(Text[end])) ||
                            static_cast<unsigned char>(Text[end]) >= 0x80);
            if (!scanned && digits) {
                token.Kind = TTokenKind::Number;
                token.Value = value;
                add(token, end);
                continue;
            }
            if (scanned && !wordGoesOn && end - begin <= 4) {
                token.Kind = TTokenKind::OcrNumber;
                token.Value = value;
                add(token, end);
                continue;
            }
            if (digits && IsDigit(c)) {
                // Digits then letters: the number alone, the letters follow.
                std::size_t e = begin;
                uint32_t v = 0;
                while (e < n && Text[e] >= '0' && Text[e] <= '9') {
                    v = Appended(v, static_cast<uint32_t>(Text[e] - '0'));
                    ++e;
                }
                token.Kind = TTokenKind::Number;
                token.Value = v;
                add(token, e);
                continue;
            }
            if (c == '|') {
                token.Kind = TTokenKind::Other;
                add(token, pos);
                continue;
            }
            // A word that starts with I or l.
        }
        if (c >= 0x3000) {
            // Not the common path: ASCII tokens do not pass here.
            result.Cjk = true;
        }
        if (c >= 0xFF10 && c <= 0xFF19) {
            // Full-width digits, perhaps with ASCII ones among them.
            uint32_t value = c - 0xFF10;
            std::size_t end = pos;
            for (;;) {
                std::size_t next = end;
                const uint32_t d = end < n ? NextChar(Text, next) : 0;
                if (IsDigit(d))
                    value = Appended(value, d - '0');
                else if (d >= 0xFF10 && d <= 0xFF19)
                    value = Appended(value, d - 0xFF10);
                else
                    break;
                end = next;
            }
            token.Kind = TTokenKind::Number;
            token.Value = value;
            add(token, end);
            continue;
        }
        const std::size_t foldBegin = folds.size();
        if (IsAsciiLetter(c)) {
            // The common word: ASCII letters up to a byte that is no letter.
            std::size_t end = pos;
            while (end < n && IsAsciiLetter(static_cast<unsigned char>(Text[end])))
                ++end;
            if (end == n || static_cast<unsigned char>(Text[end]) < 0x80) {
                for (std::size_t i = begin; i < end; ++i)
                    folds += static_cast<char>(Text[i] | 0x20);
                token.Kind = TTokenKind::Word;
                token.FoldBegin = static_cast<uint32_t>(foldBegin);
                token.FoldEnd = static_cast<uint32_t>(folds.size());
                add(token, end);
                continue;
            }
        }
        if (FoldLetter(c, folds)) {
            std::size_t end = pos;
            while (end < n) {
                const char a = Text[end];
                if ((a >= 'a' && a <= 'z') || (a >= 'A' && a <= 'Z')) {
                    folds += static_cast<char>(a | 0x20);
                    ++end;
                    continue;
                }
                if (static_cast<unsigned char>(a) < 0x80)
                    break;
                std::size_t next = end;
                const uint32_t l = NextChar(Text, next);
                if (!FoldLetter(l, folds))
                    break;
                if (l >= 0x3000)
                    result.Cjk = true;
                end = next;
            }
            token.Kind = TTokenKind::Word;
            token.FoldBegin = static_cast<uint32_t>(foldBegin);
            token.FoldEnd = static_cast<uint32_t>(folds.size());
            add(token, end);
            continue;
        }
        // Full-width and CJK punctuation as its ASCII form.
        const char a = c < 0x80 ? static_cast<char>(c) : AsciiForm(c);
        if (IsDashChar(c) || a == '-' || (c >= 0x80 && a == '~'))
            token.Kind = TTokenKind::Dash;
        else if (a == ',')
            token.Kind = TTokenKind::Comma;
        else if (a == ';')
            token.Kind = TTokenKind::Semicolon;
        else if (a == '.')
            token.Kind = TTokenKind::Period;
        else if (a == ':')
            token.Kind = TTokenKind::Colon;
        else if (a == '/')
            token.Kind = TTokenKind::Slash;
        else if (a == '%' || c == 0x2030)
            token.Kind = TTokenKind::Percent;
        else if (c == 0xB0 || c == 0xBA)
            token.Kind = TTokenKind::Degree;
        add(token, pos);
    }
    return result;
}

std::vector<std::string> FoldedWords(std::string_view Text) {
    std::vector<std::string> words;
    const TTokens tokens = LenientTokens(Text);
    for (const TToken& token : tokens.Items) {
        if (token.Kind == TTokenKind::Word)
            words.emplace_back(tokens.Fold(token));
    }
    return words;
}
