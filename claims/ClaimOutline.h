#pragma once

// The claims as a reader outlines them: each claim once, below the first of
// the claims it hangs on, the others named beside it. Where the drawn tree
// repeats a subtree under every parent, the outline stays as long as the
// claim set.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TClaimTree;

struct TOutlineEntry {
    std::size_t ClaimIndex = 0; // into TClaimTree::Claims
    int32_t Number = 0;
    int Depth = 0; // 0 for a claim that hangs on none
    // The other claims it hangs on, ascending, the one above it left out.
    std::vector<int32_t> OtherParents;
    bool MoreParents = false; // more than OtherParents lists
    bool Unattached = false;  // a dependent claim that names no claim of the set
};

// Every claim of the tree once, depth first: a claim below the claim read
// earliest among those it hangs on, its dependants in reading order.
std::vector<TOutlineEntry> ClaimOutline(const TClaimTree& Tree);

// Ascending numbers as a list, runs of three or more as ranges: "3, 5, 7–9".
std::string ClaimNumbersText(const std::vector<int32_t>& Numbers);

// "also depends on claim 3" or "also depends on claims 3, 5"; empty for none.
std::string AlsoDependsText(const std::vector<int32_t>& Numbers);

// The publication or application number a document names at its top ("US
// 2023/0123456 A1", "EP 3 456 789 B1"), as written; empty when none.
std::string FindDocumentNumber(std::string_view Text);
