#include "ClaimSplitter.h"

#include "FullTreeModel.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace {

using Claims = std::vector<std::pair<int32_t, std::string>>;

Claims Split(const std::string& Text) {
    Claims claims;
    SplitClaims(PrepareText(Text), [&](int32_t Number, std::string ClaimText) {
        claims.emplace_back(Number, std::move(ClaimText));
    });
    return claims;
}

struct SplitCase {
    const char* Name;
    std::string Text;
    Claims Expected;
};

const std::string Pump = "1. A pump.\r\n";
const std::string PumpOf1 = "2. The pump of claim 1.";

TEST(SplitClaims, FindsAndCutsTheClaimsSection) {
    const SplitCase cases[] = {
        {"heading line",
         "What is claimed is:\r\n" + Pump + PumpOf1,
         {{1, " A pump."}, {2, " The pump of claim 1."}}},
        {"no colon, no claims", Pump + PumpOf1, {}},
        {"heading on the first line", "Claims\r\n" + Pump + PumpOf1, {}},
        {"heading after a line",
         "Pump\r\nClaims\r\n" + Pump + PumpOf1,
         {{1, " A pump."}, {2, " The pump of claim 1."}}},
        {"capital heading, LF only",
         "x\nCLAIMS\n1. A pump.\n2. The pump of claim 1.",
         {{1, " A pump."}, {2, " The pump of claim 1."}}},
        {"heading with a blank after it", "x\r\nClaims \r\n" + Pump + PumpOf1, {}},
        {"prose line ends the section",
         "We claim:\r\n" + Pump + "The pump is new.\r\n" + PumpOf1,
         {{1, " A pump."}}},
        {"blank-only line ends the section",
         "We claim:\r\n" + Pump + " \r\n" + PumpOf1,
         {{1, " A pump."}}},
        {"100 in the first column",
         "We claim:\r\n" + Pump + "100. The pump of claim 1.",
         {{1, " A pump."}}},
        {"100 indented",
         "We claim:\r\n" + Pump + " 100. The pump of claim 1.",
         {{1, " A pump."}, {100, " The pump of claim 1."}}},
        {"decimals and indented numbers stay in the text",
         "We claim:\r\n1. A pump of 1.5 mm.\r\n  10 mm wide.\r\n" + PumpOf1,
         {{1, " A pump of 1.5 mm.\r\n  10 mm wide."}, {2, " The pump of claim 1."}}},
        {"no blank after the number's period",
         "We claim:\r\n" + Pump + "2.The pump of claim 1.",
         {{1, " A pump."}}},
        {"colon in the description",
         "Note: 1.5 mm is the size.\r\nWe claim:\r\n" + Pump,
         {{1, "5 mm is the size."}}},
        {"numbered list after a colon",
         "Objects:\r\n1. To make pumps.\r\n2. To sell pumps.\r\nMore prose.\r\nWe claim:\r\n" +
             Pump,
         {{1, " To make pumps."}, {2, " To sell pumps."}}},
        {"empty lines between claims, line breaks kept at the end",
         "We claim:\r\n" + Pump + "\r\n\r\n" + PumpOf1 + "\r\n\r\n",
         {{1, " A pump."}, {2, " The pump of claim 1.\r\n\r\n"}}},
        {"double colon starts nothing", "We claim::\r\n" + Pump, {}},
        {"failed start, later heading",
         "Ratio: 1:2\r\nWe claim:\r\n" + Pump,
         {{1, " A pump.\r\n"}}},
        {"tab after the number",
         "x\nClaims\n1.\tA pump.\n2.\tThe pump of claim 1.",
         {{1, "\tA pump."}, {2, "\tThe pump of claim 1."}}},
        {"text runs out without a period", "We claim: 1. A pump\r\nwith", {{1, " A pump\r\nwith"}}},
        {"held-back digits kept at the end",
         "We claim: 1. A pump.\r\n  12",
         {{1, " A pump.\r\n  12"}}},
        {"digits not followed by a period",
         "We claim: 1. A pump.\r\n  12 mm.\r\n 2. B.",
         {{1, " A pump.\r\n  12 mm."}, {2, " B."}}},
        {"section end adds one period", "We claim: 1. A pump.  \r\nEnd", {{1, " A pump."}}},
        {"ends right after 1.", "We claim: 1.", {}},
        {"ends right after a later 2.", "We claim: 1. A.\r\n 2.", {{1, " A."}, {2, ""}}},
        {"text stops at NUL",
         std::string("We claim: 1. A.\r\n 2. B.\0\r\n 3. C.", 30),
         {{1, " A."}, {2, " B."}}},
        {"claim number 0 and repeats",
         "We claim: 1. A.\r\n 0. B.\r\n 0. C.",
         {{1, " A."}, {0, " B."}, {0, " C."}}},
        {"long numbers saturate",
         "We claim: 1. A.\r\n 99999999999999999999. B.",
         {{1, " A."}, {INT32_MAX, " B."}}},
        {"2147483647 exactly",
         "We claim: 1. A.\r\n 2147483647. B.",
         {{1, " A."}, {INT32_MAX, " B."}}},
        {"LF CR line ends", "We claim:\n\r1. A.\n\r2. B.", {{1, " A."}, {2, " B."}}},
        {"CR only", "We claim:\r1. A.\r2. B.\r", {{1, " A."}, {2, " B.\r"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Split(c.Text), c.Expected) << c.Name;
}

TEST(SplitClaims, TenThousandDigitNumberDoesNotOverflow) {
    const std::string text = "We claim: 1. A.\r\n " + std::string(10000, '7') + ". B.";
    EXPECT_EQ(Split(text), (Claims{{1, " A."}, {INT32_MAX, " B."}}));
}

TEST(PrepareText, IndentsLineStartNumbersAndMarksHeadings) {
    const std::pair<std::string, std::string> cases[] = {
        {"1. A", "1. A"},
        {"x\n2. A", "x\n  2. A"},
        {"x\r\n12.\tA", "x\r\n  12.\tA"},
        {"x\n99. A\n100. B\n05. C\n0. D", "x\n  99. A\n100. B\n05. C\n0. D"},
        {"x\n2.A\n2.", "x\n2.A\n2."},
        {"x\nClaims\nClaims\r\nCLAIMS\r", "x\nClaims:\nClaims:\r\nCLAIMS:\r"},
        {"Claims\nx", "Claims\nx"},
        {"x\nClaimsy\n", "x\nClaimsy\n"},
        {"x\nclaims\n", "x\nclaims\n"},
        {"x\nClaims", "x\nClaims"},
        {std::string("a\0\n2. b", 7), "a"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(PrepareText(in), out);
}

// The single pass must give what inserting one by one and searching the
// whole text again after each insertion gives.
TEST(PrepareText, AgreesWithRescanningOnGeneratedTexts) {
    const std::vector<std::string> pieces = {
        "\n",     "\r",     "\r\n",  " ",    "\t",
        "1",      "2",      "9",     "12",   "99",
        "100",    "0",      "05",    ".",    ". ",
        ".\t",    ":",      "x",     "A",    "Claims",
        "CLAIMS", "claims", "Claim", "pump", std::string(1, '\0'),
        "\x1e",   "-"};
    std::mt19937 random(20261207);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i)
            text += pieces[random() % pieces.size()];
        ASSERT_EQ(PrepareText(text), PrepareTextByRescanning(text)) << text;
    }
}

struct LocatedClaim {
    int32_t Number;
    std::string Text;
    int32_t Line;
    std::size_t LineStart;
    bool operator==(const LocatedClaim&) const = default;
};

// Where each line of Text starts; lines end at a CR LF, a lone CR or a lone LF.
std::vector<std::size_t> LineStarts(std::string_view Text) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] == '\n' || (Text[i] == '\r' && (i + 1 == Text.size() || Text[i + 1] != '\n')))
            starts.push_back(i + 1);
    }
    return starts;
}

// The whole text prepared, split, and each claim's line looked up by counting.
std::vector<LocatedClaim> SplitPreparedWhole(const std::string& Text) {
    const std::string prepared = PrepareText(Text);
    const std::vector<std::size_t> preparedStarts = LineStarts(prepared);
    const std::vector<std::size_t> starts = LineStarts(Text.substr(0, Text.find('\0')));
    std::vector<LocatedClaim> claims;
    SplitClaimsAt(prepared, [&](int32_t Number, std::string ClaimText, std::size_t Pos) {
        const auto line = std::upper_bound(preparedStarts.begin(), preparedStarts.end(), Pos) -
                          preparedStarts.begin();
        claims.push_back({Number, std::move(ClaimText), static_cast<int32_t>(line),
                          starts[static_cast<std::size_t>(line - 1)]});
    });
    return claims;
}

std::vector<LocatedClaim> SplitInPlace(const std::string& Text, std::size_t Piece) {
    std::vector<LocatedClaim> claims;
    SplitTextClaims(
        std::string_view(Text).substr(0, Text.find('\0')),
        [&](int32_t Number, std::string ClaimText, int32_t Line, std::size_t LineStart) {
            claims.push_back({Number, std::move(ClaimText), Line, LineStart});
        },
        Piece);
    return claims;
}

// Finding the claims in the unprepared text and preparing only from there,
// a piece at a time, must give what preparing everything gives.
TEST(SplitTextClaims, AgreesWithPreparingTheWholeText) {
    const std::vector<std::string> pieces = {"\n",
                                             "\r",
                                             "\r\n",
                                             " ",
                                             "\t",
                                             "1",
                                             "2",
                                             "12",
                                             "100",
                                             "0",
                                             ".",
                                             ". ",
                                             ".\t",
                                             ":",
                                             "x",
                                             "A",
                                             "Claims",
                                             "CLAIMS",
                                             "claims",
                                             "Claims",
                                             "1. A",
                                             "2. B.",
                                             std::string(1, '\0'),
                                             "\xC3\xA9",
                                             ": ",
                                             "We claim"};
    std::mt19937 random(20261208);
    for (int round = 0; round < 6000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i)
            text += pieces[random() % pieces.size()];
        const auto expected = SplitPreparedWhole(text);
        for (const std::size_t piece : {std::size_t{1}, std::size_t{5}, std::size_t{1} << 20})
            ASSERT_EQ(SplitInPlace(text, piece), expected) << piece << ": " << text;
    }
}

} // namespace
