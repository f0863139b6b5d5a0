#include "FullClaimText.h"

#include "ClaimTree.h"

#include <algorithm>
#include <string_view>

std::vector<const TClaim*> ClaimPath(const TClaimTreeNode& Node) {
    std::vector<const TClaim*> path;
    for (const TClaimTreeNode* at = &Node; at != nullptr; at = at->Parent)
        path.push_back(at->Claim);
    std::reverse(path.begin(), path.end());
    return path;
}

std::string NumberedClaimText(const TClaim& Claim) {
    std::string_view body = Claim.Text;
    // The line ends that close the claim in the document close nothing here.
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r'))
        body.remove_suffix(1);
    std::string text = std::to_string(Claim.Number) + '.';
    if (body.empty() || (body.front() != '\t' && body.front() != ' '))
        text += ' ';
    return text.append(body);
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
