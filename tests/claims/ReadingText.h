#pragma once

#include "ClaimTree.h"

#include <string>

// The claims as a reader writes them down: "1:" an independent claim 1,
// "3:1,2" claim 3 referring to claims 1 and 2; claims separated by blanks.
inline std::string ReadingText(const TClaimTree& Tree) {
    std::string out;
    for (const TClaim& claim : Tree.Claims) {
        if (!out.empty())
            out += ' ';
        out += std::to_string(claim.Number) + ':';
        bool first = true;
        for (int32_t r : claim.ReferenceList()) {
            out += (first ? "" : ",") + std::to_string(r);
            first = false;
        }
    }
    return out;
}
