#pragma once

#include "ClaimTree.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

// The counts line: "Tree of claims: independent I; dependent D; total T".
std::string ClaimCountsText(const TClaimTree& Tree);

// The analysis as one JSON object. Strings are UTF-8: the input bytes as they
// are when InputIsUtf8, else each byte read as Windows-1252.
void WriteJsonReport(std::ostream& Out, const TClaimTree& Tree, bool InputIsUtf8);

// The whole tree, one caption per node, two spaces of indent per level.
// Returns false, writing nothing, when the tree has more than MaxNodes nodes.
bool WriteTreeReport(std::ostream& Out, const TClaimTree& Tree, int64_t MaxNodes);

// S as a JSON string literal, quotes included.
std::string JsonString(std::string_view Utf8);
