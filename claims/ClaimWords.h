#pragma once

// The words of a claim as the references are read from it, shared by the
// reference reading and the checks, so that both see the same claim word.

#include <cstddef>
#include <string_view>

// Runs of ASCII letters and digits, and each "-" or byte 30 alone; every
// other byte separates words.
class TClaimWordReader {
public:
    explicit TClaimWordReader(std::string_view Text) : text(Text) {}

    // The next word; false after the last.
    bool Next(std::string_view& Word);

private:
    std::string_view text;
    std::size_t pos = 0;
};

// Whether byte C belongs to a word, or is a word of its own.
bool IsClaimWordChar(unsigned char C);
bool IsLoneWordChar(unsigned char C);

enum class TWordKind {
    Other,
    Claim,        // "claim", "claims", "krav", "revendication", "anspruch", "rivendicazione"
    List,         // "and", "or"
    Range,        // "-", byte 30, "to"
    AllPreceding, // "every", "preceding" just before the claim word
};

// The kind of a word in any case of its ASCII letters.
TWordKind WordKindOf(std::string_view Word);
