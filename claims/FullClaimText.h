#pragma once

// A dependent claim read in full, as an attorney reads it: with the texts of
// the claims it hangs on, from its independent claim down.

#include <string>
#include <vector>

struct TClaim;
class TClaimTreeNode;

// The claims on the path from Node's root down to Node, root first. The path
// is that of this copy of the claim: a claim that depends on several claims
// has one path per copy.
std::vector<const TClaim*> ClaimPath(const TClaimTreeNode& Node);

// The claim as written in the document: its number, a full stop, and its
// text (which keeps its own leading tab or blank), without the line ends
// that close it.
std::string NumberedClaimText(const TClaim& Claim);

// The numbered texts of the claims on Node's path, root first, a blank line
// between two claims. Bytes as in the document.
std::string FullClaimText(const TClaimTreeNode& Node);
