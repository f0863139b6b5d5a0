#pragma once

// A deliberately plain model of the claim analysis, for checking the real one:
// preparation passes that search the text again after every insertion, and a
// tree in which every copy of every claim is created.

#include "ClaimTree.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The two preparation passes done the slow way, insertion by insertion.
std::string PrepareTextByRescanning(std::string_view Text);

struct TModelNode {
    std::size_t ClaimIndex;
    int32_t Number;
    int Parent; // -1 for a root
    std::vector<int> Children;
};

// Every copy of every claim of Tree's claim list, placed by the plain rules.
// Stops creating nodes past MaxNodes and sets Complete to false.
struct TFullTreeModel {
    TFullTreeModel(const TClaimTree& Tree, std::size_t MaxNodes);

    std::vector<TModelNode> Nodes;
    std::vector<int> Roots;
    std::vector<std::vector<int>> NodesByClaim; // 1024 lists of node indices
    bool Complete = true;
};

// Compares the created nodes of Tree with the model, which must be complete:
// structure, order of NodesByClaim, carrying nodes, children not yet created.
// Returns an empty string when they agree, else what differs.
std::string CompareWithModel(const TClaimTree& Tree, const TFullTreeModel& Model);

// Creates every node of Tree.
void CreateAllNodes(TClaimTree& Tree);
