#include "ReferenceReader.h"

#include "ClaimWords.h"
#include "Tools.h"

#include <algorithm>

namespace {

std::string Lower(std::string_view Word) {
    return LowerAscii(std::string(Word));
}

// Decimal value of the word's leading digits, saturating; 0 without digits.
int32_t ValueOf(std::string_view Word) {
    int32_t value = 0;
    for (char c : Word) {
        if (c < '0' || c > '9')
            break;
        const int32_t d = c - '0';
        value = value > (INT32_MAX - d) / 10 ? INT32_MAX : value * 10 + d;
    }
    return value;
}

void Append(TReferences& r, int32_t First, int32_t Last) {
    if (!r.Runs.empty() && r.Runs.back().Last < INT32_MAX && r.Runs.back().Last + 1 == First &&
        r.Runs.back().First <= r.Runs.back().Last)
        r.Runs.back().Last = Last;
    else
        r.Runs.push_back({First, Last});
    r.Count += static_cast<uint64_t>(static_cast<int64_t>(Last) - First + 1);
}

} // namespace

std::string ReferenceSeparators() {
    std::string separators;
    for (int c = 1; c <= 255; ++c) {
        if (!IsClaimWordChar(static_cast<unsigned char>(c)) &&
            !IsLoneWordChar(static_cast<unsigned char>(c)))
            separators += static_cast<char>(c);
    }
    return separators;
}

TReferences ReadReferences(std::string_view Text, int32_t Number) {
    TReferences result;
    TClaimWordReader words(Text);
    std::string_view word;
    std::string_view previous;
    bool hasPrevious = false;
    while (words.Next(word)) {
        if (WordKindOf(word) == TWordKind::Claim)
            break;
        previous = word;
        hasPrevious = true;
        word = {};
    }
    if (word.empty())
        return result;

    if (hasPrevious && WordKindOf(previous) == TWordKind::AllPreceding) {
        if (Number >= 2) {
            Append(result, 1, std::min(Number - 1, ClaimTableSize - 1));
            result.DependencyText = "1-" + std::to_string(Number - 1);
        }
        return result;
    }

    bool rangeEnd = false;
    while (words.Next(word)) {
        const int32_t value = ValueOf(word);
        if (!rangeEnd) {
            if (value != 0) {
                Append(result, value, value);
                if (!result.DependencyText.empty())
                    result.DependencyText += ", ";
                result.DependencyText += Lower(word);
                continue;
            }
            const TWordKind kind = WordKindOf(word);
            if (kind == TWordKind::Range)
                rangeEnd = true;
            else if (kind != TWordKind::List)
                break;
        } else {
            // A range with nothing before it ends the list.
            if (value == 0 || result.Runs.empty())
                break;
            const int32_t last = result.Runs.back().Last;
            const int32_t top = std::min(value, ClaimTableSize - 1);
            if (last < top)
                Append(result, last + 1, top);
            result.DependencyText += '-';
            result.DependencyText += Lower(word);
            rangeEnd = false;
        }
    }
    return result;
}
