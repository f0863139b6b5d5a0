#pragma once

#include "ReferenceReader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A claim's references as a careful reader takes them.
struct TLenientReferences {
    // Ascending, every claim once: runs of consecutive numbers.
    TReferences References;
    // Phrases that name a claim without a number that can be read
    // ("claims wherein"), and numbers read from scanning errors ("claim I").
    std::vector<std::string> Unresolved;
    // "claim 1 or any claim dependent thereon": claims whose dependants among
    // the claims before this one are referred to as well. Only the claim set
    // knows those; References holds the claims named.
    std::vector<int32_t> WithDependants;
};

// Reads every reference phrase of claim Number's Text: each claim word with
// the numbers, lists and ranges after it ("claims 1 through 8", "Ansprüche 1
// bis 3", "claim 1 or claim 2"), and the phrases for all earlier claims
// ("any of the foregoing claims", "einem der vorhergehenden Ansprüche") or
// the claim before ("the previous claim"). Numbers with a unit ("13 - 17 %",
// "20-120 parts") are no references.
TLenientReferences ReadLenientReferences(std::string_view Text, int32_t Number);

// Runs, count and dependency text ("1-7", "1, 3") of a set of claim numbers.
TReferences ReferencesOf(std::vector<TReferenceRun> Runs);

// For a claim whose first claim word is Russian, Polish, Czech, Turkish or
// Portuguese: whether that reference is written in the alternative ("zastrz.
// 1 albo 2", "İstem 1 ila 3'ten herhangi birine", "qualquer uma das
// reivindicações 1 a 3"). Nothing for other claims.
std::optional<bool> WiderReferenceInTheAlternative(std::string_view Text);
