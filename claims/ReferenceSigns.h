#pragma once

// Reference signs in claims, as EP practice writes them: "a housing (2)",
// "arms (12, 14)". A reader trips over a sign used for two parts, a part
// with two signs, and a sign the description never uses.

#include "ClaimChecks.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TClaimTree;

// One parenthesis of signs and the words before it.
struct TReferenceSign {
    std::vector<std::string> Signs; // "2", "12a", in the order written
    std::string Term;               // the words before it, as written: "first roller"
    std::string Key;                // the same folded: lower case, singular
    std::string Head;               // the last word of Key
};

// The signs of one claim's text, in text order. A parenthesis counts only
// when it holds nothing but sign numbers ("(2)", "(2a)", "(12, 14)") after a
// word that is not "formula", "claim", "step" and the like.
std::vector<TReferenceSign> ReferenceSignsOf(std::string_view Text);

// The text before the claims when it reads as a description (some forty
// words or more), else empty.
std::string_view DescriptionBefore(const TClaimTree& Tree, std::string_view Text);

// Warnings, as (claim index, problem): a sign for two parts, a part with two
// signs, and, when Description is not empty, a sign it never uses. Each
// finding once, at the claim where it first shows.
void AddReferenceSignProblems(const TClaimTree& Tree, std::string_view Description,
                              std::vector<std::pair<std::size_t, TClaimProblem>>& Problems);
