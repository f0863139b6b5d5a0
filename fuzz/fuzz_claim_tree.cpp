// Analyses any bytes and checks what the tree promises about itself.

#include "ClaimChecks.h"
#include "ClaimSplitter.h"
#include "ClaimTree.h"
#include "FullTreeModel.h"
#include "Report.h"
#include "TextEncoding.h"
#include "Tools.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string_view>
#include <tuple>
#include <vector>

namespace {

void Check(bool Condition, const char* What) {
    if (!Condition) {
        std::fprintf(stderr, "broken: %s\n", What);
        std::abort();
    }
}

bool Refers(const TClaim& Claim, int32_t Number) {
    for (const TReferenceRun& run : Claim.References) {
        if (run.First <= Number && Number <= run.Last)
            return true;
    }
    return false;
}

void CheckInvariants(const TClaimTree& Tree, int64_t MaxNodes = TClaimTree::MaxCreatedNodes) {
    // By each node's own index, which is below the count of nodes made:
    // maps over millions of nodes made the check slower than the analysis.
    const std::size_t made = static_cast<std::size_t>(Tree.CreatedNodeCount());
    std::vector<unsigned char> seen(made, 0);
    std::size_t seenCount = 0;
    std::vector<int64_t> createdPerClaim(Tree.Claims.size(), 0);
    std::vector<const TClaimTreeNode*> pending(Tree.Roots.begin(), Tree.Roots.end());
    for (const TClaimTreeNode* root : Tree.Roots)
        Check(root->Kind == TClaimKind::Independent && root->Parent == nullptr &&
                  root->Claim->Kind == TClaimKind::Independent,
              "root");
    while (!pending.empty()) {
        const TClaimTreeNode* node = pending.back();
        pending.pop_back();
        Check(node->Index < made && seen[node->Index] == 0, "node reachable twice");
        seen[node->Index] = 1;
        ++seenCount;
        Check(node->Claim->Index < createdPerClaim.size(), "claim index");
        ++createdPerClaim[node->Claim->Index];
        Check(InClaimTable(node->Number), "node outside the tables");
        Check(node->Kind == node->Claim->Kind, "kind differs from the claim's");
        if (node->Kind == TClaimKind::Dependent)
            Check(node->Claim->ReferenceCount == 1, "kind 1 with other than one reference");
        if (node->Kind == TClaimKind::MultipleDependent)
            Check(node->Claim->ReferenceCount > 1, "kind 2 with fewer than two references");
        if (node->Parent != nullptr)
            Check(Refers(*node->Claim, node->Parent->Number), "parent not referred to");
        Check(node->ChildrenCreated || node->Children.empty(), "uncreated children present");
        // Listing the children costs a vector a node: the first nodes are
        // enough to catch a disagreement, and a tree of millions stays quick.
        if (seenCount <= 100'000)
            Check(node->HasChildren() == !node->ChildNumbers().empty(), "HasChildren");
        for (const TClaimTreeNode* child : node->Children) {
            Check(child != nullptr && child->Parent == node, "child link");
            pending.push_back(child);
        }
    }
    std::size_t listed = 0;
    for (int32_t n = 0; n < ClaimTableSize; ++n) {
        const auto& nodes = Tree.NodesByClaim[static_cast<std::size_t>(n)];
        for (const TClaimTreeNode* node : nodes) {
            Check(node->Number == n, "node listed under another number");
            Check(node->Index < made && seen[node->Index]++ == 1,
                  "node listed twice or unreachable");
        }
        listed += nodes.size();
        const TClaimTreeNode* carrier = Tree.SubtreeNodeByClaim[static_cast<std::size_t>(n)];
        Check(nodes.empty() ? carrier == nullptr : carrier == nodes.front(), "carrying node");
    }
    Check(listed == seenCount, "a node is missing from NodesByClaim");
    Check(static_cast<int64_t>(seenCount) <= MaxNodes, "node limit");

    int64_t total = 0;
    for (const TClaim& claim : Tree.Claims) {
        const int64_t created = createdPerClaim[claim.Index];
        Check(created <= claim.FullNodeCount, "more nodes than the whole tree has");
        if (!Tree.NodeLimitReached)
            Check((created > 0) == (claim.FullNodeCount > 0), "claim has nodes in one tree only");
        total = total > SaturatedCount - claim.FullNodeCount ? SaturatedCount
                                                             : total + claim.FullNodeCount;
    }
    Check(total == Tree.FullNodeCount, "counts do not add up");
    if (!Tree.Claims.empty())
        Check(Tree.ClaimCount == Tree.Claims.back().Number, "ClaimCount");
}

// Creates the children of every node found, as expanding would, under a
// small node limit: refused calls create nothing.
void CreateChildrenUnderLimit(std::string_view Input, TReading Reading, int64_t MaxNodes) {
    TClaimTree tree(Input, Reading, MaxNodes);
    std::vector<TClaimTreeNode*> pending(tree.Roots.begin(), tree.Roots.end());
    while (!pending.empty()) {
        TClaimTreeNode* node = pending.back();
        pending.pop_back();
        const int64_t before = tree.CreatedNodeCount();
        if (!tree.CreateChildren(node))
            Check(tree.CreatedNodeCount() == before && !node->ChildrenCreated, "refused creation");
        pending.insert(pending.end(), node->Children.begin(), node->Children.end());
    }
    CheckInvariants(tree, MaxNodes);
}

// A tree that only counts its nodes reports what the tree with nodes does.
void CheckCountedTree(std::string_view Input, const TClaimTree& Tree) {
    const TClaimTree counted(Input, Tree.Reading, TClaimTree::MaxCreatedNodes, TNodes::Counted);
    Check(counted.Roots.size() == Tree.Roots.size(), "counted roots");
    Check(counted.NodeLimitReached == Tree.NodeLimitReached &&
              counted.FirstUnplaced == Tree.FirstUnplaced,
          "counted node limit");
    Check(counted.FullNodeCount == Tree.FullNodeCount, "counted nodes");
    if (Tree.FullNodeCount <= 3000) {
        std::ostringstream a, b;
        Check(WriteTreeReport(a, Tree, 3000) == WriteTreeReport(b, counted, 3000) &&
                  a.str() == b.str(),
              "counted tree report");
    }
}

// What the lenient reading promises beyond any tree: a claim set reads
// upwards (a repeated number is a claim of its own), and every reference list
// is ascending, each claim once.
void CheckLenient(std::string_view Input, const TClaimTree& Tree) {
    for (const TClaim& claim : Tree.Claims) {
        Check(claim.Index == 0 || claim.Number >= Tree.Claims[claim.Index - 1].Number,
              "lenient claim numbers go down");
        Check(claim.Line >= 1 && claim.Offset <= Input.size(), "claim position");
        const std::vector<int32_t> list = claim.ReferenceList();
        for (std::size_t i = 1; i < list.size(); ++i)
            Check(list[i - 1] < list[i], "lenient references not ascending");
    }
    Check(Tree.FurtherClaimSets >= 0, "further claim sets");
}

void CheckReading(std::string_view input, TReading Reading) {
    const std::size_t Size = input.size();
    TClaimTree tree(input, Reading);
    CheckInvariants(tree);
    if (Reading == TReading::Lenient)
        CheckLenient(input, tree);
    CheckCountedTree(input, tree);
    CreateChildrenUnderLimit(input, Reading, 1 + static_cast<int64_t>(Size % 97));

    // The checks work out on their own which claims get no box.
    const TClaimChecks checks = CheckAndCountFees(tree);
    std::size_t boxless = 0;
    for (const TClaimProblem& problem : checks.Problems)
        boxless += problem.Kind == TProblemKind::NoBox ? 1 : 0;
    std::size_t withoutNodes = 0;
    for (const TClaim& claim : tree.Claims) {
        if (!InClaimTable(claim.Number) ||
            (tree.NodeLimitReached && claim.Index >= tree.FirstUnplaced))
            continue;
        const auto& nodes = tree.NodesByClaim[static_cast<std::size_t>(claim.Number)];
        bool found = false;
        for (const TClaimTreeNode* node : nodes)
            found = found || node->Claim == &claim;
        withoutNodes += found ? 0 : 1;
    }
    Check(boxless == withoutNodes, "the checks and the tree disagree on boxes");
    int64_t live = 0; // cancelled claims count for no fee
    for (const TClaim& claim : tree.Claims)
        live += LowerAscii(claim.Status).find("cancel") == std::string::npos ? 1 : 0;
    Check(checks.Fees.Ep.Claims == live, "EP claim count");

    if (tree.FullNodeCount <= 3000) {
        const TFullTreeModel model(tree, 3000);
        std::string difference = CompareWithModel(tree, model);
        Check(difference.empty(), difference.c_str());
        std::ostringstream out;
        Check(WriteTreeReport(out, tree, 3000), "tree report");
        CreateAllNodes(tree);
        difference = CompareWithModel(tree, model);
        Check(difference.empty(), difference.c_str());
        CheckInvariants(tree);
    }
    if (Size <= 4096) {
        std::ostringstream json;
        WriteJsonReport(json, tree, IsValidUtf8(input));
    }
}

// Finding the claims in the unprepared text, and preparing a small piece at
// a time, gives what preparing the whole text gives, lines included.
void CheckSplitInPlace(std::string_view Input) {
    const std::string_view text = Input.substr(0, Input.find('\0'));
    const std::string prepared = PrepareText(text);
    std::vector<std::tuple<int32_t, std::string, int32_t, std::size_t>> whole, inPlace;
    int32_t line = 1;
    std::size_t counted = 0;
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            starts.push_back(i + 1);
    }
    SplitClaimsAt(prepared, [&](int32_t Number, std::string ClaimText, std::size_t Pos) {
        for (; counted < Pos; ++counted) {
            const char c = prepared[counted];
            if (c == '\n' ||
                (c == '\r' && (counted + 1 == prepared.size() || prepared[counted + 1] != '\n')))
                ++line;
        }
        whole.emplace_back(Number, std::move(ClaimText), line,
                           starts[static_cast<std::size_t>(line - 1)]);
    });
    SplitTextClaims(
        text,
        [&](int32_t Number, std::string ClaimText, int32_t Line, std::size_t LineStart) {
            inPlace.emplace_back(Number, std::move(ClaimText), Line, LineStart);
        },
        1 + text.size() % 13);
    Check(whole == inPlace, "claims found in place differ from the prepared text's");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    const std::string_view input(reinterpret_cast<const char*>(Data), Size);
    CheckSplitInPlace(input);
    CheckReading(input, TReading::Standard);
    CheckReading(input, TReading::Lenient);
    return 0;
}
