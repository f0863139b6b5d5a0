#pragma once

#include "ClaimTree.h"

#include <cstddef>
#include <string>
#include <string_view>

// The analysis as files for other programs: the claim graph, the dependency
// matrix and the claims as a table. All output is UTF-8.
//
// A reference to number N links a claim to every claim numbered N read before
// it, as the tree places it; references to no earlier claim link nothing. A
// claim is named by its number, and a number that repeats by "N#k" for its
// k-th claim, so that every claim has a name of its own.

// Graphviz DOT: one vertex per claim, an edge from each claim to every claim
// it refers to, the independent claims on the first rank.
// A number repeated many times links each claim that names it to all of them:
// past MaxGraphEdges edges it throws std::length_error rather than fill the
// memory.
std::string ClaimGraphDot(const TClaimTree& Tree);

inline constexpr std::size_t MaxGraphEdges = 1'000'000;

// The matrices are quadratic in the claims: past this many, they throw
// std::length_error rather than fill the memory.
inline constexpr std::size_t MaxMatrixClaims = 10'000;

// Claims by claims, CSV (RFC 4180): the cell of row R and column C is "D"
// when R refers to C, "I" when it depends on C only through other claims,
// and empty otherwise.
std::string DependencyMatrixCsv(const TClaimTree& Tree);

// The same matrix as a self-contained HTML page; Title (UTF-8) heads it.
std::string DependencyMatrixHtml(const TClaimTree& Tree, std::string_view Title);

// The claims as a CSV table, one row each: number, kind, references,
// dependency text, text. Texts are the input's bytes when InputIsUtf8, else
// read as Windows-1252.
std::string ClaimsCsv(const TClaimTree& Tree, bool InputIsUtf8);

// One CSV field: quoted, with doubled quotes, when it holds a comma, a quote
// or a line break.
std::string CsvField(std::string_view Utf8);
