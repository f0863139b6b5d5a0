// A claim read in full: the claims on the path of one of its copies, root
// first, and the same as JSON from the command-line tool.

#include "FullClaimText.h"

#include "FullTextReport.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

// 1 [2 [3 [5]], 4, 5 [6]]: claim 5 hangs on claims 1 and 3, so it has a
// copy below claim 1 and one three levels deep below claim 3; claim 6 hangs
// below whichever copy carries claim 5's subtree.
const char* const ValveClaims = "We claim:\n"
                                "1. A valve.\n"
                                "2. The valve of claim 1, with a seat.\n"
                                "3.\tThe valve of claim 2, the seat of brass.\n"
                                "4. The valve of claim 1, with a spring.\n"
                                "5. The valve of claim 1 or 3, with a lever.\r\n"
                                "6. The valve of claim 5, the lever of steel.\n";

struct TPathCase {
    const char* Name;
    int32_t Claim;
    int32_t Parent;   // the claim of the copy's parent; 0 for a root
    bool DeepCarries; // claim 5's copy below claim 3 carries claim 6
    const char* FullText;
};

const TPathCase PathCases[] = {
    {"three levels deep", 3, 2, false,
     "1. A valve.\n\n2. The valve of claim 1, with a seat.\n\n3.\tThe valve of claim 2, the "
     "seat of brass."},
    {"copy of a multiple dependent claim", 5, 1, false,
     "1. A valve.\n\n5. The valve of claim 1 or 3, with a lever."},
    {"deep copy of a multiple dependent claim", 5, 3, false,
     "1. A valve.\n\n2. The valve of claim 1, with a seat.\n\n3.\tThe valve of claim 2, the "
     "seat of brass.\n\n5. The valve of claim 1 or 3, with a lever."},
    {"below a copy", 6, 5, false,
     "1. A valve.\n\n5. The valve of claim 1 or 3, with a lever.\n\n6. The valve of claim 5, "
     "the lever of steel."},
    {"below the deep copy", 6, 5, true,
     "1. A valve.\n\n2. The valve of claim 1, with a seat.\n\n3.\tThe valve of claim 2, the "
     "seat of brass.\n\n5. The valve of claim 1 or 3, with a lever.\n\n6. The valve of claim 5, "
     "the lever of steel."},
};

class FullClaimTextTest : public testing::TestWithParam<TPathCase> {};

TEST_P(FullClaimTextTest, PathFromTheRootInOrder) {
    const TPathCase& c = GetParam();
    TClaimTree tree(ValveClaims);
    const auto copyBelow = [&tree](int32_t Claim, int32_t Parent) -> TClaimTreeNode* {
        for (TClaimTreeNode* node : tree.NodesByClaim[static_cast<std::size_t>(Claim)]) {
            if (node->Parent != nullptr && node->Parent->Number == Parent)
                return node;
        }
        return nullptr;
    };
    if (c.DeepCarries) {
        TClaimTreeNode* deep = copyBelow(5, 3);
        ASSERT_NE(deep, nullptr);
        tree.SubtreeNodeByClaim[5] = deep;
        tree.CreateChildren(deep);
    }
    const TClaimTreeNode* node = nullptr;
    for (const TClaimTreeNode* copy : tree.NodesByClaim[static_cast<std::size_t>(c.Claim)]) {
        if (copy->Parent != nullptr && copy->Parent->Number == c.Parent &&
            (c.Claim != 6 || copy->Parent == tree.SubtreeNodeByClaim[5]))
            node = copy;
    }
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(FullClaimText(*node), c.FullText);
}

INSTANTIATE_TEST_SUITE_P(Copies, FullClaimTextTest, testing::ValuesIn(PathCases),
                         [](const testing::TestParamInfo<TPathCase>& Info) {
                             std::string name = Info.param.Name;
                             for (char& ch : name)
                                 ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

TEST(FullTextReportTest, PathOfTheFirstNodeAsJson) {
    const TClaimTree tree(ValveClaims);
    std::ostringstream out;
    ASSERT_TRUE(WriteFullTextReport(out, tree, 5, true));
    EXPECT_EQ(out.str(), "{\n  \"claim\": 5,\n  \"path\": [\n"
                         "    { \"number\": 1, \"text\": \" A valve.\" },\n"
                         "    { \"number\": 5, \"text\": \" The valve of claim 1 or 3, with a "
                         "lever.\" }\n  ]\n}\n");
    for (const int64_t missing : {0, 7, 1024, -1}) {
        std::ostringstream none;
        EXPECT_FALSE(WriteFullTextReport(none, tree, missing, true)) << missing;
        EXPECT_TRUE(none.str().empty());
    }
}

} // namespace
