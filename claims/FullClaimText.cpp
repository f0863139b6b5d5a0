#include "FullClaimText.h"

#include "ClaimTree.h"

#include <algorithm>

std::vector<const TClaim*> ClaimPath(const TClaimTreeNode& Node) {
    std::vector<const TClaim*> path;
    for (const TClaimTreeNode* at = &Node; at != nullptr; at = at->Parent)
        path.push_back(at->Claim);
    std::reverse(path.begin(), path.end());
    return path;
}

std::string NumberedClaimText(const TClaim& Claim) {
    std::string text = std::to_string(Claim.Number) + '.';
    if (Claim.Text.empty() || (Claim.Text.front() != '\t' && Claim.Text.front() != ' '))
        text += ' ';
    return text + Claim.Text;
}

std::string FullClaimText(const TClaimTreeNode& Node) {
    std::string text;
    for (const TClaim* claim : ClaimPath(Node)) {
        if (!text.empty())
            text += "\n\n";
        text += NumberedClaimText(*claim);
    }
    return text;
}
