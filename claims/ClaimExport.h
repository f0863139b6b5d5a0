#pragma once

#include "ClaimTree.h"

#include <cstddef>
#include <limits>
#include <ostream>
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
// past MaxGraphEdges edges, or when the graph would take more than MaxBytes,
// it throws std::length_error rather than fill the memory.
std::string ClaimGraphDot(const TClaimTree& Tree,
                          std::size_t MaxBytes = std::numeric_limits<std::size_t>::max());

inline constexpr std::size_t MaxGraphEdges = 1'000'000;

// The matrices are quadratic in the claims: past this many, they throw
// std::length_error rather than fill the memory.
inline constexpr std::size_t MaxMatrixClaims = 10'000;

// Claims by claims, CSV (RFC 4180): the cell of row R and column C is "D"
// when R refers to C, "I" when it depends on C only through other claims,
// and empty otherwise. Past MaxBytes it throws std::length_error.
std::string DependencyMatrixCsv(const TClaimTree& Tree,
                                std::size_t MaxBytes = std::numeric_limits<std::size_t>::max());

// The same written to Out row by row, so that the whole matrix is never held
// in memory; throws std::length_error, writing nothing, past MaxBytes.
void WriteDependencyMatrixCsv(std::ostream& Out, const TClaimTree& Tree, std::size_t MaxBytes);

// The same matrix as a self-contained HTML page; Title (UTF-8) heads it.
std::string DependencyMatrixHtml(const TClaimTree& Tree, std::string_view Title);

// Text made safe inside HTML elements and quoted attributes.
std::string HtmlEscaped(std::string_view Utf8);

// The claims as a CSV table, one row each: number, kind, references,
// dependency text, text. Texts are the input's bytes when InputIsUtf8, else
// read as Windows-1252.
std::string ClaimsCsv(const TClaimTree& Tree, bool InputIsUtf8);

// One CSV field: quoted, with doubled quotes, when it holds a comma, a quote
// or a line break.
std::string CsvField(std::string_view Utf8);
