#include "ClaimTree.h"

#include "FullTreeModel.h"

#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <sstream>

namespace {

// "We claim:" and one line per claim, CR LF line ends.
std::string ClaimText(const std::vector<std::string>& Lines) {
    std::string text = "We claim:\r\n";
    for (std::size_t i = 0; i < Lines.size(); ++i)
        text += " " + std::to_string(i + 1) + ". " + Lines[i] + "\r\n";
    return text;
}

std::vector<int32_t> Numbers(const std::vector<TClaimTreeNode*>& Nodes) {
    std::vector<int32_t> numbers;
    for (const TClaimTreeNode* node : Nodes)
        numbers.push_back(node->Number);
    return numbers;
}

struct Counts {
    int64_t Independent, Dependent, Total;
    friend bool operator==(const Counts&, const Counts&) = default;
};

Counts CountsOf(const TClaimTree& Tree) {
    const auto independent = static_cast<int64_t>(Tree.Roots.size());
    return {independent, Tree.ClaimCount - independent, Tree.ClaimCount};
}

void ExpectMatchesFullModel(TClaimTree& Tree, const std::string& Name) {
    const TFullTreeModel model(Tree, 200000);
    ASSERT_TRUE(model.Complete) << Name;
    EXPECT_EQ(CompareWithModel(Tree, model), "") << Name << " (as constructed)";
    CreateAllNodes(Tree);
    EXPECT_EQ(CompareWithModel(Tree, model), "") << Name << " (every node created)";
    EXPECT_EQ(Tree.CreatedNodeCount(), Tree.FullNodeCount) << Name;
}

// The whole tree walked depth first, as "depth:number" items.
std::string FullWalk(const TClaimTree& Tree) {
    std::ostringstream walk;
    const bool complete = Tree.ForEachFullTreeNode([&](int Depth, const TClaim& Claim) {
        walk << Depth << ":" << Claim.Number << " ";
        return true;
    });
    return complete ? walk.str() : "incomplete";
}

// The claim that a node limit stops the placing at: the first whose nodes,
// added to those of the claims before it, pass the limit.
std::optional<std::size_t> FirstClaimOverLimit(std::string_view Text, int64_t MaxNodes) {
    const TClaimTree unlimited(Text);
    std::vector<int64_t> perClaim(unlimited.Claims.size());
    for (const auto& nodes : unlimited.NodesByClaim) {
        for (const TClaimTreeNode* node : nodes)
            ++perClaim[node->Claim->Index];
    }
    int64_t placed = 0;
    for (const TClaim& claim : unlimited.Claims) {
        placed += perClaim[claim.Index];
        if (placed > MaxNodes)
            return claim.Index;
    }
    return std::nullopt;
}

// The limit stops the placing where it must, and a tree that only counts its
// nodes reports what the tree with nodes does.
void ExpectCountedTreeAgrees(std::string_view Text, int64_t MaxNodes, const std::string& Name) {
    const TClaimTree created(Text, MaxNodes);
    const TClaimTree counted(Text, MaxNodes, TNodes::Counted);
    const std::optional<std::size_t> stop = FirstClaimOverLimit(Text, MaxNodes);
    EXPECT_EQ(created.NodeLimitReached, stop.has_value()) << Name;
    if (stop) {
        EXPECT_EQ(created.FirstUnplaced, *stop) << Name;
    }
    EXPECT_EQ(Numbers(counted.Roots), Numbers(created.Roots)) << Name;
    EXPECT_EQ(counted.NodeLimitReached, created.NodeLimitReached) << Name;
    EXPECT_EQ(counted.FirstUnplaced, created.FirstUnplaced) << Name;
    EXPECT_EQ(counted.FullNodeCount, created.FullNodeCount) << Name;
    EXPECT_EQ(FullWalk(counted), FullWalk(created)) << Name;
    for (std::size_t i = 0; i < counted.Roots.size(); ++i)
        EXPECT_EQ(counted.Roots[i]->ChildNumbers(), created.Roots[i]->ChildNumbers()) << Name;
    EXPECT_EQ(counted.CreatedNodeCount(), static_cast<int64_t>(counted.Roots.size())) << Name;
}

TEST(ClaimTree, EmptyAndClaimlessTextsGiveEmptyTrees) {
    for (const std::string text : {"", "No claims here.", "We claim:", "1. A pump.\r\n"}) {
        const TClaimTree tree(text);
        EXPECT_TRUE(tree.Roots.empty());
        EXPECT_EQ(tree.ClaimCount, 0);
        EXPECT_EQ(tree.FullNodeCount, 0);
        for (int n = 0; n < ClaimTableSize; ++n) {
            EXPECT_TRUE(tree.NodesByClaim[n].empty());
            EXPECT_EQ(tree.SubtreeNodeByClaim[n], nullptr);
        }
    }
}

TEST(ClaimTree, PlacesClaimsBelowEveryNodeTheyReferTo) {
    const TClaimTree tree(
        ClaimText({"A pump.", "The pump of claim 1.", "The pump of claims 1 or 2."}));
    ASSERT_EQ(Numbers(tree.Roots), std::vector<int32_t>{1});
    const TClaimTreeNode* one = tree.Roots[0];
    ASSERT_EQ(Numbers(one->Children), (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(Numbers(one->Children[0]->Children), std::vector<int32_t>{3});
    const auto& threes = tree.NodesByClaim[3];
    ASSERT_EQ(threes.size(), 2u);
    for (const TClaimTreeNode* three : threes) {
        EXPECT_EQ(three->Kind, TClaimKind::MultipleDependent);
        EXPECT_EQ(three->DependencyText(), "1, 2");
        EXPECT_EQ(three->Caption(), "Claim 3 (dependent of 1, 2)");
    }
    EXPECT_EQ(tree.SubtreeNodeByClaim[3], one->Children[1]);
    EXPECT_EQ(tree.SubtreeNodeByClaim[3]->Parent, one);
    EXPECT_EQ(one->Children[0]->Caption(), "Claim 2");
    EXPECT_EQ(one->Caption(), "Claim 1");
    EXPECT_EQ(CountsOf(tree), (Counts{1, 2, 3}));
}

struct StructureCase {
    const char* Name;
    std::vector<std::string> Lines;
    std::vector<int32_t> Roots;
    std::vector<std::size_t> NodesPerClaim; // claims 1, 2, ...
    Counts Expected;
};

TEST(ClaimTree, CountsAndNodesFollowTheReferences) {
    const StructureCase cases[] = {
        {"range and repeat",
         {"A pump.", "A valve.", "The pump of claims 1 to 2 and 1."},
         {1, 2},
         {1, 1, 3},
         {2, 1, 3}},
        {"forward reference",
         {"A pump.", "The pump of claim 3.", "The pump of claim 1.", "The pump of claim 2."},
         {1},
         {1, 0, 1, 0},
         {1, 3, 4}},
        {"no independent claim",
         {"The pump of claim 2.", "The pump of claim 1."},
         {},
         {0, 0},
         {0, 2, 2}},
        {"any preceding claim in claim 1",
         {"A pump according to any preceding claim."},
         {1},
         {1},
         {1, 0, 1}},
        {"own number only", {"A pump.", "The pump of claim 2."}, {1}, {1, 0}, {1, 1, 2}},
        {"own number with another",
         {"A pump.", "The pump of claims 2 and 1."},
         {1},
         {1, 1},
         {1, 1, 2}},
        {"reference to 1024 and more",
         {"A pump.", "The pump of claims 1 and 5000."},
         {1},
         {1, 1},
         {1, 1, 2}},
    };
    for (const auto& c : cases) {
        TClaimTree tree(ClaimText(c.Lines));
        EXPECT_EQ(Numbers(tree.Roots), c.Roots) << c.Name;
        for (std::size_t n = 1; n <= c.NodesPerClaim.size(); ++n)
            EXPECT_EQ(tree.NodesByClaim[n].size(), c.NodesPerClaim[n - 1]) << c.Name << " " << n;
        EXPECT_EQ(CountsOf(tree), c.Expected) << c.Name;
        ExpectMatchesFullModel(tree, c.Name);
    }
}

// Dependency texts of a European claim set with nested multiple dependencies.
std::string EuropeanClaims() {
    const std::vector<std::string> references = {
        "",   "1",    "2",    "1-3",  "1-4",  "1-5",  "1-3",  "1-7",  "8", "8",  "1-10",    "11",
        "12", "1-13", "1-14", "1-15", "3-16", "1-17", "1-18", "1-18", "",  "21", "21 or 22"};
    std::string text = "Our ref.\r\n\r\nClaims\r\n";
    for (std::size_t i = 0; i < references.size(); ++i) {
        std::string r = references[i];
        if (const auto dash = r.find('-'); dash != std::string::npos)
            r = "any one of Claims " + r.substr(0, dash) + " to " + r.substr(dash + 1);
        else if (!r.empty())
            r = "Claim " + r;
        text +=
            std::to_string(i + 1) + ".\tA system" +
            (r.empty() ? std::string(" for the skin.") : " according to " + r + ", with a part.") +
            "\r\n";
    }
    return text + "\r\n\r\n";
}

TEST(ClaimTree, NestedMultipleDependenciesAreCountedNotBuilt) {
    TClaimTree tree(EuropeanClaims());
    EXPECT_EQ(CountsOf(tree), (Counts{2, 21, 23}));
    EXPECT_EQ(tree.FullNodeCount, 41464);
    EXPECT_EQ(tree.Claims[18].FullNodeCount, 13820);
    EXPECT_EQ(tree.Claims[19].FullNodeCount, 13820);
    EXPECT_EQ(tree.Claims[22].DependencyText, "21, 22");
    EXPECT_EQ(tree.Claims[16].DependencyText, "3-16");
    EXPECT_LT(tree.CreatedNodeCount(), 400);
    ExpectMatchesFullModel(tree, "european");
}

TEST(ClaimTree, ManyClaimsOnAllPrecedingStaySmall) {
    std::vector<std::string> lines = {"A pump."};
    for (int i = 2; i <= 70; ++i)
        lines.push_back("The pump according to any one of the preceding claims.");
    const TClaimTree tree(ClaimText(lines));
    // Claim n has 2^(n-2) copies: counted exactly up to the saturation point.
    EXPECT_EQ(tree.Claims[59].FullNodeCount, int64_t{1} << 58);
    EXPECT_EQ(tree.Claims.back().FullNodeCount, SaturatedCount);
    EXPECT_EQ(tree.FullNodeCount, SaturatedCount);
    EXPECT_LT(tree.CreatedNodeCount(), 70 * 70);
    EXPECT_FALSE(tree.NodeLimitReached);
    EXPECT_EQ(tree.NodesByClaim[60].size(), 59u);
}

TEST(ClaimTree, CreatingChildrenLaterKeepsTheFullOrder) {
    TClaimTree tree(
        ClaimText({"A pump.", "A valve.", "The pump of claims 1 or 2.", "The pump of claim 3.",
                   "The pump of claims 3 and 4.", "The pump of claim 4."}));
    const auto& threes = tree.NodesByClaim[3];
    ASSERT_EQ(threes.size(), 2u);
    TClaimTreeNode* second = threes[1];
    EXPECT_FALSE(second->ChildrenCreated);
    EXPECT_EQ(second->ChildNumbers(), (std::vector<int32_t>{4, 5}));
    tree.SubtreeNodeByClaim[3] = second;
    tree.CreateChildren(second);
    EXPECT_EQ(Numbers(second->Children), (std::vector<int32_t>{4, 5}));
    // Claim 4's new node sits behind the one below the first copy of claim 3.
    ASSERT_EQ(tree.NodesByClaim[4].size(), 2u);
    EXPECT_EQ(tree.NodesByClaim[4][1], second->Children[0]);
    EXPECT_EQ(Numbers(second->Children[0]->Children), (std::vector<int32_t>{5, 6}));
    tree.SubtreeNodeByClaim[3] = threes[0];
    ExpectMatchesFullModel(tree, "created later");
}

TEST(ClaimTree, OutOfOrderNumbersStillGetTheirCarryingNode) {
    const TClaimTree tree(
        "We claim:\r\n 1. A.\r\n 7. B of claim 1.\r\n 8. C of claims 1 and 7.\r\n 3. D.");
    EXPECT_EQ(tree.ClaimCount, 3);
    EXPECT_EQ(CountsOf(tree), (Counts{2, 1, 3}));
    EXPECT_EQ(tree.SubtreeNodeByClaim[8], tree.NodesByClaim[8].front());
}

TEST(ClaimTree, ClaimsNumberedPastTheTablesAreReadButNotPlaced) {
    const TClaimTree tree("We claim:\r\n 1. A.\r\n 1500. B of claim 1.\r\n 3. C of claim 1500.");
    ASSERT_EQ(tree.Claims.size(), 3u);
    EXPECT_EQ(tree.Claims[1].Number, 1500);
    EXPECT_EQ(tree.Claims[1].DependencyText, "1");
    EXPECT_EQ(tree.Claims[1].FullNodeCount, 0);
    EXPECT_EQ(tree.Claims[2].FullNodeCount, 0);
    EXPECT_EQ(tree.ClaimCount, 3);
    EXPECT_EQ(tree.FullNodeCount, 1);
}

TEST(ClaimTree, RepeatedSelfReferencesHitTheNodeLimitNotTheMemory) {
    std::string text = "We claim:\r\n 1. A.\r\n 2. B of claim 1.";
    for (int i = 0; i < 40; ++i)
        text += "\r\n 2. B of claim 2.";
    const TClaimTree tree(text);
    EXPECT_TRUE(tree.NodeLimitReached);
    EXPECT_LE(tree.CreatedNodeCount(), TClaimTree::MaxCreatedNodes);
    // The claim that would pass the limit, and every later one, is left out.
    const TClaimTree small(text, 100);
    EXPECT_EQ(small.FirstUnplaced, 8u); // it would add 64 copies to 65
    EXPECT_EQ(small.CreatedNodeCount(), 65);
    EXPECT_EQ(tree.Claims.back().FullNodeCount, int64_t{1} << 39);
    EXPECT_EQ(tree.ClaimCount, 2);
    EXPECT_FALSE(tree.ForEachFullTreeNode([](int, const TClaim&) { return true; }));
}

// Expanding later keeps to the tree's node limit; an expansion that would
// pass it creates nothing.
TEST(ClaimTree, CreatingChildrenKeepsToTheNodeLimit) {
    for (const int64_t limit : {80, 300}) {
        TClaimTree tree(EuropeanClaims(), limit);
        int refused = 0;
        std::vector<TClaimTreeNode*> pending(tree.Roots.begin(), tree.Roots.end());
        while (!pending.empty()) {
            TClaimTreeNode* node = pending.back();
            pending.pop_back();
            const int64_t before = tree.CreatedNodeCount();
            if (!tree.CreateChildren(node)) {
                ++refused;
                EXPECT_EQ(tree.CreatedNodeCount(), before) << limit;
                EXPECT_FALSE(node->ChildrenCreated) << limit;
            }
            pending.insert(pending.end(), node->Children.begin(), node->Children.end());
        }
        EXPECT_LE(tree.CreatedNodeCount(), limit);
        EXPECT_GT(refused, 0) << limit;
    }
}

// Creating claim 3's second copy's children needs four nodes (4, 5 and,
// below 4, 5 and 6) on top of the eight the analysis created.
TEST(ClaimTree, CreatingChildrenThatExactlyFitTheLimitSucceeds) {
    const std::pair<int64_t, bool> cases[] = {{12, true}, {11, false}};
    for (const auto& [limit, fits] : cases) {
        TClaimTree tree(
            ClaimText({"A pump.", "A valve.", "The pump of claims 1 or 2.", "The pump of claim 3.",
                       "The pump of claims 3 and 4.", "The pump of claim 4."}),
            limit);
        ASSERT_EQ(tree.CreatedNodeCount(), 8) << limit;
        TClaimTreeNode* second = tree.NodesByClaim[3][1];
        EXPECT_EQ(tree.CreateChildren(second), fits) << limit;
        EXPECT_EQ(second->ChildrenCreated, fits) << limit;
        EXPECT_EQ(tree.CreatedNodeCount(), fits ? 12 : 8) << limit;
    }
}

TEST(ClaimTree, CountingTreeAgreesAtItsLimits) {
    std::string selfReferences = "We claim:\r\n 1. A.\r\n 2. B of claim 1.";
    for (int i = 0; i < 12; ++i)
        selfReferences += "\r\n 2. B of claim 2.";
    const std::string texts[] = {
        selfReferences,
        EuropeanClaims(),
        ClaimText({"A pump.", "A valve.", "The pump of claims 1 or 2.", "The pump of claim 3.",
                   "The pump of claims 3 and 4."}),
        "We claim:\r\n 1. A.\r\n 2. B.\r\n 3. C of claims 1 or 2.\r\n 3. D of claims 1 or "
        "2.\r\n 4. E of claim 3.\r\n 1. F.\r\n 5. G of claim 1.",
    };
    for (const std::string& text : texts) {
        for (int64_t limit = 0; limit <= 130; ++limit)
            ExpectCountedTreeAgrees(text, limit, text + " under " + std::to_string(limit));
        ExpectCountedTreeAgrees(text, TClaimTree::MaxCreatedNodes, text);
        if (HasFailure())
            return;
    }
}

TEST(ClaimTree, FullTreeWalkVisitsEveryCopyDepthFirst) {
    const TClaimTree tree(
        ClaimText({"A pump.", "The pump of claim 1.", "A valve.", "The pump of claims 2 or 3."}));
    std::ostringstream walk;
    tree.ForEachFullTreeNode([&](int Depth, const TClaim& Claim) {
        walk << Depth << ":" << Claim.Number << " ";
        return true;
    });
    EXPECT_EQ(walk.str(), "0:1 1:2 2:4 0:3 1:4 ");
}

// Random claim sets with repeated, self, forward and multiple references:
// the tree as built, and with every node created, must match the plain model.
TEST(ClaimTree, AgreesWithTheFullModelOnGeneratedClaimSets) {
    std::mt19937 random(42);
    for (int round = 0; round < 400; ++round) {
        std::string text = "We claim:\r\n";
        const int claims = 1 + static_cast<int>(random() % 12);
        for (int i = 1; i <= claims; ++i) {
            const int number = random() % 5 == 0 ? 1 + static_cast<int>(random() % claims) : i;
            text += " " + std::to_string(number) + ". A part";
            switch (random() % 5) {
            case 0:
                break;
            case 1:
                text += " of claim " + std::to_string(1 + random() % claims);
                break;
            case 2:
                text += " of claims " + std::to_string(1 + random() % claims) + " or " +
                        std::to_string(1 + random() % claims);
                break;
            case 3:
                text += " of claims " + std::to_string(1 + random() % 3) + " to " +
                        std::to_string(1 + random() % claims);
                break;
            default:
                text += " of any preceding claim";
            }
            text += ".\r\n";
        }
        ExpectCountedTreeAgrees(text, static_cast<int64_t>(random() % 40), text);
        TClaimTree tree(text);
        const TFullTreeModel model(tree, 100000);
        if (!model.Complete)
            continue;
        ExpectMatchesFullModel(tree, text);
        if (HasFailure())
            return;
    }
}

} // namespace
