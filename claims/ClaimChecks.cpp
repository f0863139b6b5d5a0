#include "ClaimChecks.h"

#include "ClaimTree.h"

std::vector<TClaimProblem> CheckClaims(const TClaimTree&) {
    return {};
}

TFeeCounts CountFees(const TClaimTree&) {
    return {};
}
