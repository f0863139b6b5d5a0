#pragma once

#include "ReferenceReader.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One claim as the lenient reading found it.
struct TLenientClaim {
    int32_t Number = 0;
    // The last number of claims written as one range ("3-5. (Canceled)"), read
    // as one record whatever its width; Number for a single claim.
    int32_t Last = 0;
    std::string Text;       // without its number, status and surrounding blanks
    int32_t Line = 0;       // line of the number, from 1
    std::size_t Offset = 0; // byte offset of that line
    std::string Status;
    TReferences References;
    std::vector<std::string> Unresolved;
    // Claims whose earlier dependants the claim refers to as well.
    std::vector<int32_t> WithDependants;
};

struct TLenientClaims {
    std::vector<TLenientClaim> Claims;
    int32_t FurtherClaimSets = 0;
};

// Reads a text as a careful person reads it: finds the claims however they
// are headed and numbered, in any of the lexicon's languages, UTF-8 or
// Windows-1252, and reads each claim's references. Of several claim sets it
// reads the first and counts the others.
TLenientClaims ReadLenientClaims(std::string_view Text);

// The same, handing each claim to Claims as it is read rather than holding
// them all; returns the count of further claim sets.
using TLenientClaimSink = std::function<void(TLenientClaim&&)>;
int32_t ReadLenientClaims(std::string_view Text, const TLenientClaimSink& Claims);
