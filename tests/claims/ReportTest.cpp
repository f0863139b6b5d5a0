#include "Report.h"

#include "ModeReport.h"

#include <gtest/gtest.h>
#include <limits>
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
          R"("text": " A pump \"P\".",
      "category": "apparatus" })"})
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

TEST(Report, TreeSizeIsWhatTheTreeReportWritesAndStopsPastTheLimit) {
    for (const std::string& text :
         {Pump, std::string("We claim: 1. A.\n 2. B of claim 1.\n 3. C of claims 1, 1, 2.\n"),
          std::string("")}) {
        const TClaimTree tree(text);
        std::ostringstream out;
        ASSERT_TRUE(WriteTreeReport(out, tree, 100));
        const auto size = static_cast<int64_t>(out.str().size());
        EXPECT_EQ(TreeReportSize(tree, size), size) << text;
        if (size > 0) {
            EXPECT_GT(TreeReportSize(tree, size - 1), size - 1) << text;
        }
    }
}

// The "references" array of claim 2 in the JSON, and the length of its text.
std::pair<std::string, int> References(const std::string& Claim2, TReading Reading) {
    const TClaimTree tree("We claim:\n 1. A pump.\n 2. The pump of " + Claim2 + ".\n", Reading);
    std::ostringstream out;
    WriteJsonReport(out, tree, true);
    const std::string json = out.str();
    const std::size_t at = json.find("\"references\": [", json.find("\"number\": 2")) + 15;
    return {json.substr(at, json.find(']', at) - at), static_cast<int>(tree.Claims[1].Text.size())};
}

TEST(Report, JsonListsNumbersPastTheTableNoFurtherThanTheTextGoes) {
    // Numbers written one by one are listed in full; a wide range past the
    // table stops after as many numbers as the claim's text has bytes.
    EXPECT_EQ(References("claims 1, 2000, 2001, 2002", TReading::Standard).first,
              "1, 2000, 2001, 2002");
    const auto [wide, textSize] = References("claims 1000 to 100000", TReading::Lenient);
    std::string expected;
    for (int v = 1000; v < 1024 + textSize; ++v)
        expected += (expected.empty() ? "" : ", ") + std::to_string(v);
    EXPECT_EQ(wide, expected);
}

// The bound lets a report skip its measuring pass: one below the real size
// would let a report past its limit through. Every number at its widest,
// every byte an escape.
TEST(Report, JsonBoundIsNeverBelowWhatTheJsonReportWrites) {
    constexpr int32_t least = std::numeric_limits<int32_t>::min();
    TClaimTree tree("", TReading::Lenient);
    TClaimChecks checks;
    for (std::size_t i = 0; i < 200; ++i) {
        TClaim& claim = tree.Claims.emplace_back();
        claim.Index = i;
        claim.Number = least;
        claim.Line = least;
        claim.FullNodeCount = std::numeric_limits<int64_t>::min();
        claim.References = {{least, least + 9}};
        claim.ReferenceCount = 10;
        claim.Text = claim.DependencyText = claim.Status = "\x01\x02";
        claim.Unresolved = {"\x03"};
        checks.Problems.push_back(
            {least, least, TSeverity::Warning, TProblemKind::UsMultipleOnMultiple, "\x04"});
    }
    for (const bool utf8 : {true, false}) {
        std::ostringstream out;
        WriteJsonReport(out, tree, utf8, checks);
        EXPECT_GE(JsonReportBound(tree, checks), static_cast<int64_t>(out.str().size()));
    }
}

TEST(Report, TreeTextLimitGrowsWithTheNodeLimitFromAFloorWithoutOverflow) {
    constexpr int64_t floor = int64_t{256} << 20;
    const std::pair<int64_t, int64_t> cases[] = {
        {0, floor},
        {1'000'000, floor},
        {1'048'577, 1'048'577 * 256},
        {std::numeric_limits<int64_t>::max() / 256 + 1, std::numeric_limits<int64_t>::max()},
        {std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::max()},
    };
    for (const auto& [nodes, bytes] : cases)
        EXPECT_EQ(MaxTreeReportBytes(nodes), bytes) << nodes;
}

} // namespace
