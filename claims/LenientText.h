#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Characters and words of a text that may be UTF-8 or Windows-1252, as the
// lenient reading sees them. A byte sequence that is valid UTF-8 is read as
// such and every other byte as Windows-1252, so accented letters are letters
// in both encodings without a pass over the whole text.

// The character at Pos, moving Pos past it. Pos must be inside Text.
uint32_t NextChar(std::string_view Text, std::size_t& Pos);

// Space, tab, form feed, the no-break space and the other typographic spaces.
bool IsBlankChar(uint32_t C);
// Hyphen, byte 30, the Unicode hyphens and dashes, minus.
bool IsDashChar(uint32_t C);
// Appends the letter's lower-case ASCII form ("Ü" gives "u", "ß" gives "ss")
// and returns true; false for anything but a letter. Letters beyond Latin-1
// give "~", so that they never match a lexicon word.
bool FoldLetter(uint32_t C, std::string& Out);

// FoldLetter for the letters of Central Europe, Turkey and the Cyrillic
// alphabet: Latin letters fold to their ASCII base ("ł" gives "l", "İ" and
// "ı" both give "i"), Cyrillic ones to lower-case Cyrillic in UTF-8.
bool FoldWiderLetter(uint32_t C, std::string& Out);
// An upper-case Latin or Cyrillic letter.
bool IsCapitalLetter(uint32_t C);

enum class TTokenKind : uint8_t {
    Word,      // letters, folded
    Number,    // ASCII digits
    OcrNumber, // digits read into letters by a scanner: "I", "l", "1l"
    Dash,
    Comma,
    Semicolon,
    Period,
    Colon,
    Slash,
    Percent, // "%" and "‰"
    Degree,
    Other,
};

// A token takes 20 bytes: a text of short words has nearly a token for every
// three bytes. Offsets are 32 bits: a text longer than 4 GiB is read to there.
struct TToken {
    uint32_t Begin = 0; // bytes of the token in the text
    uint32_t End = 0;
    union {
        // A number (saturating), or an OcrNumber read with 1 for I and l.
        uint32_t Value = 0;
        // A word: its fold is bytes FoldBegin to FoldEnd of TTokens::Folds.
        uint32_t FoldBegin;
    };
    uint32_t FoldEnd = 0;
    TTokenKind Kind = TTokenKind::Other;
    bool Glued = false; // no blank or line break since the token before
};

struct TTokens {
    std::vector<TToken> Items;
    std::string Folds; // the words, folded, one after the other
    // A character of the CJK blocks or the full-width forms was met: the
    // text may hold Chinese, Japanese or Korean references.
    bool Cjk = false;

    // A word's fold ("" for any other token).
    std::string_view Fold(const TToken& Token) const {
        if (Token.Kind != TTokenKind::Word)
            return {};
        return std::string_view(Folds).substr(Token.FoldBegin, Token.FoldEnd - Token.FoldBegin);
    }
};

// The words, numbers and punctuation of Text. Digits followed by letters
// ("20wt") give a number and a word.
TTokens LenientTokens(std::string_view Text);

// The folded words of a short text, for lexicon look-ups of headings.
std::vector<std::string> FoldedWords(std::string_view Text);
