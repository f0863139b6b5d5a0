#pragma once

// The claim listing of a comparison as a Word document (DOCX) that pastes
// into a response: one paragraph per claim, insertions underlined (w:u),
// deletions struck through (w:strike) or, five characters or fewer, in
// double brackets.

#include "ClaimComparison.h"

#include <string>
#include <string_view>

// The document's bytes; empty with Error set when the container could not
// be made (out of memory in libzip).
std::string ClaimListingDocx(const TClaimComparison& Comparison, std::string_view Title,
                             std::string& Error);
