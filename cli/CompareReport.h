#pragma once

// veltrum-claims --compare A B: two versions of a claim set, each read the
// lenient way (a listing's status identifiers and canceled claims are read
// no other way), compared, and written as a report or a listing.

#include "ClaimComparison.h"

#include <ostream>
#include <string>

enum class TCompareOutput { Text, Json, Html, Docx };

// Reads both inputs (plain texts or any document the documents library
// reads; "-" for standard input), compares them and writes Output to Out.
// Returns the exit status: 0 compared, 2 an input that cannot be read or
// output that cannot be written, with a message on Err. ToTerminal: Out is
// a terminal, which gets no Word document.
int RunComparison(const std::string& A, const std::string& B, TCompareOutput Output,
                  const std::string& Language, bool ToTerminal, std::ostream& Out,
                  std::ostream& Err);

// {"claims": [{"number", "from", "status", "mergedFrom", "inserted",
// "deleted", "referencesAdded", "referencesDropped"}], "canceled": [...]},
// claims in B's order, "from" null for a new claim.
std::string ComparisonJson(const TClaimComparison& Comparison);
