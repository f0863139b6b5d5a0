#include "ReferenceReader.h"

#include "Tools.h"

#include <algorithm>

namespace {

constexpr char RangeMark = '\x1e'; // stands for a hyphen in some texts

enum WordKind { Other = 0, ClaimWord = 1, ListWord = 2, RangeWord = 3, AllPrecedingWord = 4 };

bool IsWordChar(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsOwnWord(char c) {
    return c == '-' || c == RangeMark;
}

// Words of a claim as the tokenizer sees them after lower-casing and spacing
// out hyphens: runs of letters and digits, and every "-" or byte 30 alone.
class TWordReader {
public:
    explicit TWordReader(std::string_view Text) : text(Text) {}

    bool Next(std::string_view& Word) {
        const std::size_t n = text.size();
        while (pos < n && !IsWordChar(static_cast<unsigned char>(text[pos])) &&
               !IsOwnWord(text[pos]))
            ++pos;
        if (pos == n)
            return false;
        const std::size_t start = pos;
        if (IsOwnWord(text[pos])) {
            ++pos;
        } else {
            while (pos < n && IsWordChar(static_cast<unsigned char>(text[pos])))
                ++pos;
        }
        Word = text.substr(start, pos - start);
        return true;
    }

private:
    std::string_view text;
    std::size_t pos = 0;
};

std::string Lower(std::string_view Word) {
    return LowerAscii(std::string(Word));
}

WordKind KindOf(std::string_view Word) {
    if (Word.size() > 14)
        return Other;
    const std::string w = Lower(Word);
    if (w == "claim" || w == "krav" || w == "revendication" || w == "anspruch" ||
        w == "rivendicazione" || w == "claims")
        return ClaimWord;
    if (w == "and" || w == "or")
        return ListWord;
    if (w == "-" || w == std::string(1, RangeMark) || w == "to")
        return RangeWord;
    if (w == "every" || w == "preceding")
        return AllPrecedingWord;
    return Other;
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
        if (!IsWordChar(static_cast<unsigned char>(c)) && !IsOwnWord(static_cast<char>(c)))
            separators += static_cast<char>(c);
    }
    return separators;
}

TReferences ReadReferences(std::string_view Text, int32_t Number) {
    TReferences result;
    TWordReader words(Text);
    std::string_view word;
    std::string_view previous;
    bool hasPrevious = false;
    while (words.Next(word)) {
        if (KindOf(word) == ClaimWord)
            break;
        previous = word;
        hasPrevious = true;
        word = {};
    }
    if (word.empty())
        return result;

    if (hasPrevious && KindOf(previous) == AllPrecedingWord) {
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
            const WordKind kind = KindOf(word);
            if (kind == RangeWord)
                rangeEnd = true;
            else if (kind != ListWord)
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
