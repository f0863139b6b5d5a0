#include "BuiltinExamples.h"

#include "ClaimTree.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

std::vector<int32_t> RootNumbers(const TClaimTree& Tree) {
    std::vector<int32_t> numbers;
    for (const TClaimTreeNode* root : Tree.Roots)
        numbers.push_back(root->Number);
    return numbers;
}

std::vector<int32_t> ChildNumbers(const TClaimTree& Tree, int32_t Claim) {
    return Tree.NodesByClaim[static_cast<std::size_t>(Claim)].front()->ChildNumbers();
}

const TClaim& ClaimNumbered(const TClaimTree& Tree, int32_t Number) {
    return *std::find_if(Tree.Claims.begin(), Tree.Claims.end(),
                         [&](const TClaim& c) { return c.Number == Number; });
}

struct ExampleCase {
    int Example;
    std::vector<int32_t> Roots;
    int32_t Total;
};

TEST(BuiltinExamples, GiveTheirClaimsAndIndependentClaims) {
    const ExampleCase cases[] = {
        {1, {1, 23}, 24},
        {2, {1, 16, 28, 39, 41, 43, 58}, 71},
        {3, {1, 36, 37, 39, 43, 51, 52, 66, 68, 78}, 78},
        {4, {1, 21}, 23},
        {5, {1, 11, 12, 16, 26, 27}, 41},
    };
    for (const auto& c : cases) {
        const std::string text = BuiltinExampleText(c.Example);
        const TClaimTree tree(text);
        EXPECT_EQ(RootNumbers(tree), c.Roots) << "example " << c.Example;
        EXPECT_EQ(tree.ClaimCount, c.Total) << "example " << c.Example;
        // Numbered 1 to N in order: no wrapped "1." line started a claim, and
        // only the first claim set was read.
        ASSERT_EQ(tree.Claims.size(), static_cast<std::size_t>(c.Total)) << "example " << c.Example;
        for (std::size_t i = 0; i < tree.Claims.size(); ++i)
            EXPECT_EQ(tree.Claims[i].Number, static_cast<int32_t>(i + 1))
                << "example " << c.Example;
        // Every line ends in CR LF.
        EXPECT_TRUE(text.size() >= 2 && text.substr(text.size() - 2) == "\r\n");
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
                  std::count(text.begin(), text.end(), '\r'));
    }
}

TEST(BuiltinExamples, Example1HasItsChildren) {
    const TClaimTree tree(BuiltinExampleText(1));
    const std::pair<int32_t, std::vector<int32_t>> children[] = {
        {1, {2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 20, 21}},
        {10, {11, 12}},
        {13, {14, 15}},
        {15, {16, 17, 18, 19}},
        {21, {22}},
        {23, {24}},
    };
    for (const auto& [claim, expected] : children)
        EXPECT_EQ(ChildNumbers(tree, claim), expected) << claim;
    EXPECT_NE(BuiltinExampleText(1).find('\xb0'), std::string::npos);
}

TEST(BuiltinExamples, Example4HasItsDependencyTextsAndNodeCounts) {
    const TClaimTree tree(BuiltinExampleText(4));
    const char* expected[] = {"",     "1",    "2",    "1-3",  "1-4", "1-5",  "1-3",   "1-7",
                              "8",    "8",    "1-10", "11",   "12",  "1-13", "1-14",  "1-15",
                              "3-16", "1-17", "1-18", "1-18", "",    "21",   "21, 22"};
    for (int32_t n = 1; n <= 23; ++n)
        EXPECT_EQ(ClaimNumbered(tree, n).DependencyText, expected[n - 1]) << n;
    EXPECT_EQ(tree.FullNodeCount, 41464);
    EXPECT_EQ(ClaimNumbered(tree, 19).FullNodeCount, 13820);
    EXPECT_EQ(ClaimNumbered(tree, 20).FullNodeCount, 13820);
    EXPECT_NE(BuiltinExampleText(4).find('\xba'), std::string::npos);
}

TEST(BuiltinExamples, Example5ReadsReferencesAcrossNoBreakSpacesAndByte30) {
    const std::string text = BuiltinExampleText(5);
    EXPECT_NE(text.find("claims\xa0"), std::string::npos);
    EXPECT_NE(text.find('\x1e'), std::string::npos);
    const TClaimTree tree(text);
    std::vector<std::string> dependencies;
    for (const TClaim& claim : tree.Claims)
        dependencies.push_back(claim.DependencyText);
    EXPECT_NE(std::find(dependencies.begin(), dependencies.end(), "1-11, 13"), dependencies.end());
    EXPECT_NE(std::find(dependencies.begin(), dependencies.end(), "1-9"), dependencies.end());
}

TEST(BuiltinExamples, OutsideOneToFiveThereIsNoText) {
    EXPECT_EQ(BuiltinExampleText(0), "");
    EXPECT_EQ(BuiltinExampleText(6), "");
}

} // namespace
