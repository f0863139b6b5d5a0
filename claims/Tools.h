#pragma once

#include <string>
#include <vector>

// Splits Text into the maximal runs of characters that are not in Delimiters,
// in text order. Never returns an empty word.
std::vector<std::string> Tokenize(std::string Text, std::string Delimiters);

// Copy of Text with the ASCII capitals A-Z lowered; every other byte,
// accented capitals included, stays as it is.
std::string LowerAscii(std::string Text);
