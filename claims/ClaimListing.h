#pragma once

// The claim listing of a US response, made from a comparison: every claim in
// order with its status identifier ("1. (Currently Amended) A pump ..."), the
// currently amended ones marked up against the earlier version, canceled
// ones as "2. (Canceled)". Here as plain text and HTML; the Word document is
// written by documents/.

#include "ClaimComparison.h"

#include <string>
#include <string_view>
#include <vector>

struct TListingEntry {
    int32_t Number = 0;
    // "2", or "2 (as numbered before)" for a canceled claim of the earlier
    // version whose number the later one gave to another claim.
    std::string Label;
    TAmendmentStatus Status = TAmendmentStatus::Original;
    // Marked up for a currently amended claim with a source; else the clean
    // text as one Same piece; empty for a canceled claim.
    std::vector<TTextPiece> Text;
    // The entry's claim in TClaimComparison::Claims; -1 for a claim of A alone.
    int64_t Claim = -1;
};

// B's claims in B's order; A's canceled claims that B does not list stand
// before the first claim of B with a higher number, or at the end when B
// numbers another claim so.
std::vector<TListingEntry> ClaimListing(const TClaimComparison& Comparison);

// Whether a deletion is short enough to show in double brackets, [[...]],
// rather than struck through: five characters or fewer, where a strike is
// hard to see.
bool BracketedDeletion(std::string_view Utf8);

// The plain text report: a line of counts, then the listing with insertions
// as {+words+} and deletions as [-words-], and below a claim, indented, where
// it comes from when that is not plain (moved, merged, references changed).
std::string ClaimComparisonText(const TClaimComparison& Comparison);

// The listing as a self-contained HTML page: insertions underlined,
// deletions struck through or in double brackets. Title (UTF-8) heads it.
std::string ClaimListingHtml(const TClaimComparison& Comparison, std::string_view Title);
