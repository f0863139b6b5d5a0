#include "Tools.h"

#include <array>

std::vector<std::string> Tokenize(std::string Text, std::string Delimiters) {
    std::array<bool, 256> isDelimiter{};
    for (unsigned char c : Delimiters)
        isDelimiter[c] = true;

    std::vector<std::string> words;
    std::size_t i = 0;
    const std::size_t n = Text.size();
    while (i < n) {
        while (i < n && isDelimiter[static_cast<unsigned char>(Text[i])])
            ++i;
        const std::size_t start = i;
        while (i < n && !isDelimiter[static_cast<unsigned char>(Text[i])])
            ++i;
        if (i > start)
            words.emplace_back(Text, start, i - start);
    }
    return words;
}

std::string LowerAscii(std::string Text) {
    for (char& c : Text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return Text;
}
