#pragma once

// Checks of a claim set as a drafter needs them, and the official fee counts
// that follow from the claims. Computed from an analysed TClaimTree.

#include <cstdint>
#include <string>
#include <vector>

class TClaimTree;

enum class TSeverity { Warning, Error };

// "error" or "warning".
const char* SeverityName(TSeverity Severity);

enum class TProblemKind {
    MissingReference,
    LaterReference,
    OwnReference,
    UnresolvedReference,
    NoBox,
    TreeTooLarge,
    CancelledReference,
    UsNotAlternative,
    UsMultipleOnMultiple,
    RepeatedNumber,
    OutOfOrder,
    NumberTooLarge,
    NoClaim1,
    Gap,
    RangeTooWide,
    RangeWithText,
};

// The short stable key that scripts read: "later-reference", "gap", ...
const char* ProblemKindName(TProblemKind Kind);

// One problem of one claim; Message is a sentence a drafter understands.
struct TClaimProblem {
    int32_t Claim = 0;
    int32_t Line = 0; // line of the claim in the text, from 1; 0 when unknown
    TSeverity Severity = TSeverity::Warning;
    TProblemKind Kind = TProblemKind::MissingReference;
    std::string Message;
};

// Every problem of the claim set, in text order.
std::vector<TClaimProblem> CheckClaims(const TClaimTree& Tree);

struct TUsFeeCounts {
    int64_t Total = 0; // the claims as counted for fees
    int64_t Independent = 0;
    int64_t ExcessTotal = 0;        // Total less 20, never below 0
    int64_t ExcessIndependent = 0;  // Independent less 3, never below 0
    bool MultipleDependent = false; // a proper multiple dependent claim is present
};

struct TEpFeeCounts {
    int64_t Claims = 0;
    int64_t Excess15 = 0; // the 16th to the 50th claim
    int64_t Excess50 = 0; // the 51st claim on
};

struct TFeeCounts {
    TUsFeeCounts Us;
    TEpFeeCounts Ep;
};

TFeeCounts CountFees(const TClaimTree& Tree);

// Both of the above from one reading of the claims: what a report shows.
struct TClaimChecks {
    std::vector<TClaimProblem> Problems;
    TFeeCounts Fees;
};

TClaimChecks CheckAndCountFees(const TClaimTree& Tree);
