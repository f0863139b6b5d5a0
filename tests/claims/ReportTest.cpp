#include "Report.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

const std::string Pump = "What is claimed is:\r\n1. A pump \"P\".\r\n2. The pump of claim 1.\r\n"
                         "3. The pump of claims 1 or 2.";

TEST(Report, CountsLineWritesTheDependentCountAsComputed) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "Tree of claims: independent 0; dependent 0; total 0"},
        {Pump, "Tree of claims: independent 1; dependent 2; total 3"},
        {"We claim: 1. A.\r\n 2. B.\r\n 3. C.\r\n 1. D.",
         "Tree of claims: independent 4; dependent -3; total 1"},
    };
    for (const auto& [text, line] : cases)
        EXPECT_EQ(ClaimCountsText(TClaimTree(text)), line);
}

TEST(Report, JsonStringsEscapeQuotesAndControls) {
    EXPECT_EQ(JsonString("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(JsonString("\r\n\t\x01\x1e"), R"("\r\n\t\u0001\u001e")");
    EXPECT_EQ(JsonString("\xc2\xb0"), "\"\xc2\xb0\"");
}

TEST(Report, JsonHoldsClaimsReferencesAndCounts) {
    const TClaimTree tree(Pump);
    std::ostringstream out;
    WriteJsonReport(out, tree, true);
    const std::string json = out.str();
    for (const char* part :
         {R"("claimCount": 3)", R"("roots": [1])", R"("nodes": 4,)", R"("nodesSaturated": false)",
          R"("references": [1, 2],)", R"("dependencyText": "1, 2", "nodes": 2)",
          R"("text": " A pump \"P\"." })"})
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
}

TEST(Report, JsonReadsNonUtf8InputAsWindows1252) {
    const TClaimTree tree("We claim: 1. A pump at 25\xb0.");
    std::ostringstream out;
    WriteJsonReport(out, tree, false);
    EXPECT_NE(out.str().find("25\xc2\xb0."), std::string::npos);
}

TEST(Report, TreeListsEveryCopyUnlessOverTheLimit) {
    const TClaimTree tree(Pump);
    std::ostringstream out;
    ASSERT_TRUE(WriteTreeReport(out, tree, 4));
    EXPECT_EQ(out.str(), "Claim 1\n  Claim 2\n    Claim 3 (dependent of 1, 2)\n"
                         "  Claim 3 (dependent of 1, 2)\n");
    std::ostringstream none;
    EXPECT_FALSE(WriteTreeReport(none, tree, 3));
    EXPECT_EQ(none.str(), "");
}

} // namespace
