#pragma once

// The category of each claim, read from its preamble in English, German or
// French: what EP practice counts independent claims by, and what a reader
// of a mixed claim set ("A method of using the device of claim 1") needs to
// see.

#include "ClaimChecks.h"

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

class TClaimTree;

enum class TClaimCategory : uint8_t {
    Unknown, // an empty claim, or a language the tables do not know
    Method,
    Apparatus,
    Product, // compositions, compounds, materials
    Use,
    Medium, // computer-readable media and program products
    MeansPlusFunction,
};

// "method", "apparatus", "product", "use", "medium", "means-plus-function",
// "unknown": the JSON's keys.
const char* ClaimCategoryName(TClaimCategory Category);

enum class TClaimLanguage : uint8_t { Other, English, German, French };

// The language most of the claims' words are in.
TClaimLanguage ClaimSetLanguage(const TClaimTree& Tree);

// The category the preamble of Text names. Named is false when the preamble
// names nothing the tables know ("A bicycle"): Apparatus is then a guess,
// and a dependent claim keeps its parent's category.
TClaimCategory PreambleCategory(std::string_view Text, TClaimLanguage Language, bool& Named);

struct TCategoryOfClaim {
    TClaimCategory Category = TClaimCategory::Unknown;
    // A claim that refers to a claim of another category ("A method of
    // using the device of claim 1"): that claim's number and category.
    int32_t OtherCategoryClaim = 0;
    TClaimCategory OtherCategory = TClaimCategory::Unknown;

    // Whether EP practice counts it as an independent claim of its category.
    bool StandsAlone(bool Independent) const { return Independent || OtherCategoryClaim != 0; }
};

// Every claim's category, by index in Tree.Claims: an independent claim's
// from its preamble, a dependent claim's from its first parent unless its
// own preamble names another.
std::vector<TCategoryOfClaim> ClaimCategories(const TClaimTree& Tree);

// Warnings, as (claim index, problem), for every independent claim of a
// category after the first of it; cancelled claims do not count.
void AddCategoryProblems(const TClaimTree& Tree, const std::vector<TCategoryOfClaim>& Categories,
                         std::vector<std::pair<std::size_t, TClaimProblem>>& Problems);
