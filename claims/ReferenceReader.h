#pragma once

#include "ClaimTree.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What a claim's text says about the claims it refers to.
struct TReferences {
    std::vector<TReferenceRun> Runs;
    uint64_t Count = 0;
    std::string DependencyText;
};

// Reads the references of claim Number from its Text: the first claim word
// (English, Scandinavian, French, German, Italian), then the numbers, lists
// and ranges after it, or the claims before Number when "every" or
// "preceding" stands just before it.
TReferences ReadReferences(std::string_view Text, int32_t Number);

// The bytes that separate words in a claim: everything from 1 to 255 but the
// ASCII letters and digits, "-" and byte 30.
std::string ReferenceSeparators();
