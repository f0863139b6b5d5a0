#pragma once

#include <string>

// Generated claim texts for the benchmarks.

// A patent document of about Bytes bytes, nearly all description, with a
// claims section of twenty ordinary claims at the end.
std::string LongDocument(std::size_t Bytes);

// The same in Chinese: numbered description paragraphs, then the claims
// section of twenty claims.
std::string LongCjkDocument(std::size_t Bytes);

// Claims claims; claim n refers to claim n - 1 or to a few earlier claims,
// as ordinary claim sets do.
std::string OrdinaryClaims(int Claims);

// Claims claims, each but the first according to any one of the preceding claims.
std::string AllPrecedingClaims(int Claims);

// Claims independent claims. Numbers run from 1 to 1000 and start again, so
// that each claim is placed and gets a tab.
std::string IndependentClaims(int Claims);

// Crafted texts of about Bytes bytes whose trees pass the analysis's node
// limit: claim 2 again and again below itself, or 1,000 independent claims
// and claims that each refer to all of them.
std::string SelfReferringClaims(std::size_t Bytes);
std::string WideReferenceClaims(std::size_t Bytes);
