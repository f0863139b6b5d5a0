#include "ClaimWords.h"

#include <algorithm>
#include <array>

namespace {

constexpr char RangeMark = '\x1e'; // stands for a hyphen in some texts

struct TWordEntry {
    std::string_view Word;
    TWordKind Kind;
};

constexpr std::array<TWordEntry, 13> Words = {{
    {"claim", TWordKind::Claim},
    {"krav", TWordKind::Claim},
    {"revendication", TWordKind::Claim},
    {"anspruch", TWordKind::Claim},
    {"rivendicazione", TWordKind::Claim},
    {"claims", TWordKind::Claim},
    {"and", TWordKind::List},
    {"or", TWordKind::List},
    {"-", TWordKind::Range},
    {std::string_view(&RangeMark, 1), TWordKind::Range},
    {"to", TWordKind::Range},
    {"every", TWordKind::AllPreceding},
    {"preceding", TWordKind::AllPreceding},
}};

bool EqualsLowered(std::string_view Lower, std::string_view Word) {
    return Lower.size() == Word.size() &&
           std::equal(Lower.begin(), Lower.end(), Word.begin(), [](char a, char b) {
               return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b + 32) : b);
           });
}

} // namespace

bool IsClaimWordChar(unsigned char C) {
    return (C >= '0' && C <= '9') || (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z');
}

bool IsLoneWordChar(unsigned char C) {
    return C == '-' || C == static_cast<unsigned char>(RangeMark);
}

bool TClaimWordReader::Next(std::string_view& Word) {
    const std::size_t n = text.size();
    while (pos < n && !IsClaimWordChar(static_cast<unsigned char>(text[pos])) &&
           !IsLoneWordChar(static_cast<unsigned char>(text[pos])))
        ++pos;
    if (pos == n)
        return false;
    const std::size_t start = pos++;
    if (IsClaimWordChar(static_cast<unsigned char>(text[start]))) {
        while (pos < n && IsClaimWordChar(static_cast<unsigned char>(text[pos])))
            ++pos;
    }
    Word = text.substr(start, pos - start);
    return true;
}

TWordKind WordKindOf(std::string_view Word) {
    for (const TWordEntry& entry : Words) {
        if (EqualsLowered(entry.Word, Word))
            return entry.Kind;
    }
    return TWordKind::Other;
}
