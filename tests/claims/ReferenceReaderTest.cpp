#include "ReferenceReader.h"

#include <gtest/gtest.h>

namespace {

struct ReferenceCase {
    int32_t Number;
    std::string Text;
    std::vector<int32_t> Expected;
    std::string DependencyText;
};

std::vector<int32_t> Entries(const TReferences& r) {
    TClaim claim;
    claim.References = r.Runs;
    return claim.ReferenceList();
}

std::vector<int32_t> Span(int32_t First, int32_t Last) {
    std::vector<int32_t> v;
    for (int32_t i = First; i <= Last; ++i)
        v.push_back(i);
    return v;
}

std::vector<int32_t> Join(std::vector<int32_t> a, const std::vector<int32_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(ReadReferences, ReadsListsRangesAndAllPreceding) {
    const ReferenceCase cases[] = {
        {2, "A grinding tool as defined in claim 1, wherein", {1}, "1"},
        {8, "according to any one of the preceding Claims, wherein", Span(1, 7), "1-7"},
        {17, "according to any one of Claims 3 to 16, wherein", Span(3, 16), "3-16"},
        {23, "according to Claim 21 or 22, wherein", {21, 22}, "21, 22"},
        {14,
         "A compound of any of claims\xa0"
         "1-11 or 13 wherein",
         Join(Span(1, 11), {13}), "1-11, 13"},
        {10,
         "The compound of any of claims 1\x1e"
         "9, wherein",
         Span(1, 9), "1-9"},
        {10, "claims 1, 2, and 4-6 or 8 to 9.", {1, 2, 4, 5, 6, 8, 9}, "1, 2, 4-6, 8-9"},
        {3, "claims 1 and 1.", {1, 1}, "1, 1"},
        {6, "claims 5 to 3.", {5}, "5-3"},
        {6,
         "claims 1\x96"
         "3.",
         {1, 3},
         "1, 3"},
        {3, "claim 1a.", {1}, "1a"},
        {3, "claim 01.", {1}, "01"},
        {3, "claim 0.", {}, ""},
        {5, "The claim's scope as in claim 3.", {}, ""},
        {3, "nach Anspruch 2.", {2}, "2"},
        {3, "ifølge krav 2.", {2}, "2"},
        {3, "selon la revendication 2.", {2}, "2"},
        {3, "secondo la rivendicazione 2.", {2}, "2"},
        {3, "Claim 2, CLAIMS 1", {2}, "2"},
        {1, "any preceding claim.", {}, ""},
        {4, "every claim.", {1, 2, 3}, "1-3"},
        {2, "any preceding claim.", {1}, "1-1"},
        {6, "claims 2 and 3 or claim 4.", {2, 3}, "2, 3"},
        {9, "claims 1 - 3 - 5.", Span(1, 5), "1-3-5"},
        {4, "the preceding, claim 2", Span(1, 3), "1-3"},
        {4, "claimed in 2", {}, ""},
        {4, "claim1", {}, ""},
        {4,
         "Anspr\xfc"
         "che 1",
         {},
         ""},
        {4, "claim\xe9 3", {3}, "3"},
        {4, "claim", {}, ""},
        {4, "preceding claim", Span(1, 3), "1-3"},
        {4, "the claims. 2 and 3", {2, 3}, "2, 3"},
        // Implementer's choices.
        {4, "claims to 3", {}, ""},
        {4, "claims and to 3", {}, ""},
        {4, "claims 1 to 2000000000", Span(1, 1023), "1-2000000000"},
        {4, "claims 2000 to 2005", {2000}, "2000-2005"},
        {4, "claims 1000 to 1030 to 1040", Span(1000, 1023), "1000-1030-1040"},
        {4, "claim 99999999999", {INT32_MAX}, "99999999999"},
        {2000, "any preceding claim", Span(1, 1023), "1-1999"},
    };
    for (const auto& c : cases) {
        const TReferences r = ReadReferences(c.Text, c.Number);
        EXPECT_EQ(Entries(r), c.Expected) << c.Text;
        EXPECT_EQ(r.Count, c.Expected.size()) << c.Text;
        EXPECT_EQ(r.DependencyText, c.DependencyText) << c.Text;
    }
}

TEST(ReadReferences, RepeatedRangesStayCompact) {
    std::string text = "claims 1 to 1000";
    for (int i = 0; i < 10000; ++i)
        text += " and 1 to 1000";
    const TReferences r = ReadReferences(text, 5);
    EXPECT_EQ(r.Count, 10001u * 1000u);
    EXPECT_LE(r.Runs.size(), 10001u);
}

TEST(ReferenceSeparators, AreEveryByteButLettersDigitsAndHyphens) {
    const std::string separators = ReferenceSeparators();
    EXPECT_EQ(separators.size(), 191u);
    for (char c : {'a', 'Z', '0', '9', '-', '\x1e'})
        EXPECT_EQ(separators.find(c), std::string::npos) << c;
    for (char c : {' ', '\xa0', '\x96', '\xe9', ',', '\x01', '\xff'})
        EXPECT_NE(separators.find(c), std::string::npos) << c;
}

} // namespace
