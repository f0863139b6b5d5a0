#pragma once

#include "ClaimChecks.h"
#include "ClaimTree.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// The counts line: "Tree of claims: independent I; dependent D; total T".
std::string ClaimCountsText(const TClaimTree& Tree);

// The analysis as one JSON object. Strings are UTF-8: the input bytes as they
// are when InputIsUtf8, else each byte read as Windows-1252. References past
// the claim table are listed up to as many as the claim's text has bytes.
void WriteJsonReport(std::ostream& Out, const TClaimTree& Tree, bool InputIsUtf8);
// The same with the checks of the tree already made. ClaimKeys, when given,
// holds JSON members to add to each claim's object, by the claim's Index
// ("\"citation\": {...}"; empty for none).
void WriteJsonReport(std::ostream& Out, const TClaimTree& Tree, bool InputIsUtf8,
                     const TClaimChecks& Checks,
                     const std::vector<std::string>* ClaimKeys = nullptr);

// A bound on the bytes WriteJsonReport writes, found without writing: every
// byte of a string may take six ("\u001f"), every number its widest form.
int64_t JsonReportBound(const TClaimTree& Tree, const TClaimChecks& Checks);

// The problems, one line each in the form editors and CI systems read,
// "FILE:LINE: severity: claim N: message", then the fee counts in two lines.
void WriteCheckReport(std::ostream& Out, std::string_view File,
                      const std::vector<TClaimProblem>& Problems, const TFeeCounts& Fees);

// Whether any of the problems is an error.
bool HasError(const std::vector<TClaimProblem>& Problems);

// The whole tree, one caption per node, two spaces of indent per level.
// Returns false, writing nothing, when the tree has more than MaxNodes nodes.
bool WriteTreeReport(std::ostream& Out, const TClaimTree& Tree, int64_t MaxNodes);

// The bytes WriteTreeReport writes, or the first count past Limit.
int64_t TreeReportSize(const TClaimTree& Tree, int64_t Limit);

// The terms of the claim set (ListTerms) as one JSON object: each term with
// the claim and line that introduce it and the claims and lines that use it.
void WriteTermsReport(std::ostream& Out, const TClaimTree& Tree, bool InputIsUtf8);

// S as a JSON string literal, quotes included.
std::string JsonString(std::string_view Utf8);
