#include "ClaimOutline.h"

#include "ClaimTree.h"

#include <gtest/gtest.h>

namespace {

// The outline as text: two blanks a level, the other parents after the number.
std::string OutlineOf(const std::string& Text) {
    const TClaimTree tree(Text);
    std::string out;
    for (const TOutlineEntry& entry : ClaimOutline(tree)) {
        out += std::string(static_cast<std::size_t>(entry.Depth) * 2, ' ') +
               std::to_string(entry.Number);
        if (entry.Unattached)
            out += " unattached";
        if (!entry.OtherParents.empty())
            out += " " + AlsoDependsText(entry.OtherParents);
        out += '\n';
    }
    return out;
}

TEST(ClaimOutline, EachClaimOnceBelowTheFirstClaimItNames) {
    const struct {
        const char* Name;
        std::string Text;
        std::string Outline;
    } cases[] = {
        {"any preceding claim",
         "We claim:\n1. A pump.\n2. The pump of claim 1.\n3. The pump of claim 1 or 2.\n"
         "4. The pump of any of claims 1 to 3.\n",
         "1\n  2\n  3 also depends on claim 2\n  4 also depends on claims 2, 3\n"},
        {"the first named, not the lowest",
         "We claim:\n1. A pump.\n2. The pump of claim 1.\n3. The pump of claim 2 or 1.\n",
         "1\n  2\n    3 also depends on claim 1\n"},
        {"dependants in reading order below their own root",
         "We claim:\n1. A pump.\n2. A valve.\n3. The valve of claim 2.\n4. The pump of claim 1.\n"
         "5. The valve of claim 3.\n",
         "1\n  4\n2\n  3\n    5\n"},
        {"a missing or later claim gives no parent",
         "We claim:\n1. A pump.\n2. The pump of claim 7.\n3. The pump of claim 4.\n"
         "4. The pump of claim 1.\n",
         "1\n  4\n2 unattached\n3 unattached\n"},
        {"a parent named twice is one parent",
         "We claim:\n1. A pump.\n2. The pump of claim 1.\n3. The pump of claims 1, 2, 1 and 2.\n",
         "1\n  2\n  3 also depends on claim 2\n"},
    };
    for (const auto& row : cases)
        EXPECT_EQ(OutlineOf(row.Text), row.Outline) << row.Name;
}

TEST(ClaimOutline, NumberListsShortenRuns) {
    const struct {
        std::vector<int32_t> Numbers;
        std::string Text;
    } cases[] = {
        {{}, ""},
        {{3}, "3"},
        {{3, 5}, "3, 5"},
        {{3, 4}, "3, 4"},
        {{3, 4, 5},
         "3\xE2\x80\x93"
         "5"},
        {{1, 2, 3, 5, 7, 8, 9, 10},
         "1\xE2\x80\x93"
         "3, 5, 7\xE2\x80\x93"
         "10"},
    };
    for (const auto& row : cases)
        EXPECT_EQ(ClaimNumbersText(row.Numbers), row.Text) << row.Text;
}

TEST(ClaimOutline, DocumentNumberIsFoundAtTheTopOnly) {
    const std::string tenLines = "a\nb\nc\nd\ne\nf\ng\nh\ni\nj\n";
    const struct {
        std::string Text;
        std::string Number;
    } cases[] = {
        {"(10) Pub. No.: US 2031/0123456 A1\n(43) Pub. Date: Mar. 3, 2031\n", "US 2031/0123456 A1"},
        {"EP 3 456 789 B1\nWe claim:\n1. A pump.\n", "EP 3 456 789 B1"},
        {"Patent WO 2031/123456\n", "WO 2031/123456"},
        {"US 11,234,567 B2\n", "US 11,234,567 B2"},
        {"GB 654321\n", "GB 654321"},
        {"US 12345 A1\n", ""},
        {"We claim:\n1. A pump as in US 12.\n", ""},
        {"We claim:\n1. A BUS 1234567 pump.\n", ""},
        {tenLines + "US 2031/0123456 A1\n", ""},
    };
    for (const auto& row : cases)
        EXPECT_EQ(FindDocumentNumber(row.Text), row.Number) << row.Text;
}

} // namespace
