#pragma once

// Antecedent basis: "the valve" needs "a valve" before it, in the same claim
// or in every chain of claims it depends on. And the terms of a claim set:
// each with the claim that introduces it and the claims that use it.

#include "ClaimChecks.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TClaimTree;

// A phrase in a claim's text (TClaim::Text): its words' bytes, and the line
// of the document they start on (0 when unknown).
struct TTermPlace {
    int32_t Claim = 0;
    int32_t Line = 0;
    std::size_t Offset = 0;
    std::size_t Length = 0;
};

struct TClaimTerm {
    std::string Term; // as the introduction writes it: "inlet valve"
    TTermPlace Introduced;
    std::vector<TTermPlace> Uses; // the references that find it, in text order
};

// Problems of kind AntecedentBasis, in text order. Silent for a claim set
// in none of the languages it reads (English, German, French).
std::vector<TClaimProblem> CheckAntecedentBasis(const TClaimTree& Tree);
// The same, each with the index of its claim in TClaimTree::Claims.
std::vector<std::pair<std::size_t, TClaimProblem>> AntecedentBasisByClaim(const TClaimTree& Tree);

// Every introduced term, in text order.
std::vector<TClaimTerm> ListTerms(const TClaimTree& Tree);
