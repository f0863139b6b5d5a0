#pragma once

#include "ClaimTree.h"

#include <cstdint>
#include <ostream>

// Claim Number read in full, as JSON: the claims on the path of its first
// node, root first, each with its number and text. Returns false, writing
// nothing, when the claim has no node in the tree.
bool WriteFullTextReport(std::ostream& Out, const TClaimTree& Tree, int64_t Number,
                         bool InputIsUtf8);
