#include "ClaimChecks.h"

#include "BuiltinExamples.h"
#include "ClaimTree.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <tuple>

namespace {

// "We claim:" on line 1, then claim n on line n + 1, LF line ends.
std::string ClaimText(const std::vector<std::string>& Lines) {
    std::string text = "We claim:\n";
    for (std::size_t i = 0; i < Lines.size(); ++i)
        text += " " + std::to_string(i + 1) + ". " + Lines[i] + "\n";
    return text;
}

// "claim:line:severity:kind: message" for each problem.
std::vector<std::string> Described(const std::vector<TClaimProblem>& Problems) {
    std::vector<std::string> lines;
    for (const TClaimProblem& p : Problems)
        lines.push_back(std::to_string(p.Claim) + ":" + std::to_string(p.Line) + ":" +
                        SeverityName(p.Severity) + ":" + ProblemKindName(p.Kind) + ": " +
                        p.Message);
    return lines;
}

std::vector<int32_t> Lines(const TClaimTree& Tree) {
    std::vector<int32_t> lines;
    for (const TClaim& claim : Tree.Claims)
        lines.push_back(claim.Line);
    return lines;
}

TEST(ClaimLines, CountLinesOfTheOriginalWhateverTheLineEnds) {
    struct Case {
        std::string Text;
        std::vector<int32_t> Lines;
    };
    const Case cases[] = {
        // Numbers in the first column get blanks, and the heading a colon, in
        // the prepared text only.
        {"Title\n\nClaims\n1. A pump.\n2. The pump\nof claim 1.\n3. A valve.", {4, 5, 7}},
        {"Title\r\n\r\nClaims\r\n1. A pump.\r\n2. The pump\r\nof claim 1.\r\n3. A valve.",
         {4, 5, 7}},
        {"Title\r\rClaims\r1. A pump.\r2. The pump\rof claim 1.\r3. A valve.", {4, 5, 7}},
        {"We claim: 1. A pump.\n\n\n  2. The pump of claim 1.", {1, 4}},
        {"We claim:\r\n\r\n1. A.\r\n\n\r2. B.\n\r\n 3. C.", {3, 6, 8}},
    };
    for (const Case& c : cases) {
        const TClaimTree tree(c.Text);
        EXPECT_EQ(Lines(tree), c.Lines) << c.Text;
        for (const TClaim& claim : tree.Claims) {
            // The offset starts the line that holds the claim's number.
            const std::size_t end = c.Text.find_first_of("\r\n", claim.Offset);
            const std::string line = c.Text.substr(claim.Offset, end - claim.Offset);
            EXPECT_NE(line.find(std::to_string(claim.Number) + ". "), std::string::npos)
                << c.Text << " claim " << claim.Number;
            EXPECT_TRUE(claim.Offset == 0 || c.Text[claim.Offset - 1] == '\n' ||
                        c.Text[claim.Offset - 1] == '\r');
        }
    }
}

struct CheckCase {
    const char* Name;
    std::vector<std::string> Claims;
    std::vector<std::string> Problems;
};

TEST(CheckClaims, FindsEachProblemKind) {
    const CheckCase cases[] = {
        {"sound set", {"A pump.", "The pump of claim 1.", "The pump of claim 1 or 2."}, {}},
        {"missing",
         {"A pump.", "The pump of claims 7 to 9 and 12."},
         {"2:3:error:missing-reference: Claim 2 refers to claims 7 to 9 and 12, which do not "
          "exist.",
          "2:3:error:no-box: Claim 2 gets no box in the tree: each claim it refers to does not "
          "exist."}},
        {"missing at the top of the numbers",
         {"A pump.", "The pump of claims 2147483646 and 2147483647."},
         {"2:3:error:missing-reference: Claim 2 refers to claims 2147483646 and 2147483647, "
          "which do not exist.",
          "2:3:error:no-box: Claim 2 gets no box in the tree: each claim it refers to does not "
          "exist."}},
        {"later and a claim below it",
         {"A pump.", "The pump of claim 3.", "The pump of claim 1.", "The pump of claim 2."},
         {"2:3:error:later-reference: Claim 2 refers to claim 3, which comes after it; a claim "
          "can only refer to claims before it.",
          "2:3:error:no-box: Claim 2 gets no box in the tree: the claim it refers to comes "
          "after it.",
          "4:5:error:no-box: Claim 4 gets no box in the tree: the claim it refers to has no box "
          "itself."}},
        {"own",
         {"A pump.", "The pump of claim 2.", "The pump of claims 1 and 3."},
         {"2:3:error:own-reference: Claim 2 refers to itself.",
          "2:3:error:no-box: Claim 2 gets no box in the tree: the claim it refers to is the "
          "claim itself.",
          "3:4:error:own-reference: Claim 3 refers to itself."}},
        {"no claim has a box",
         {"The pump of claim 2.", "The pump of claim 1."},
         {"1:2:error:later-reference: Claim 1 refers to claim 2, which comes after it; a claim "
          "can only refer to claims before it.",
          "1:2:error:no-box: Claim 1 gets no box in the tree: the claim it refers to comes "
          "after it.",
          "2:3:error:no-box: Claim 2 gets no box in the tree: the claim it refers to has no box "
          "itself."}},
        {"US: and",
         {"A pump.", "A valve.", "The pump of claims 1 and 2."},
         {"3:4:warning:us-not-alternative: US practice: Claim 3 refers to claims 1 and 2 "
          "together; a multiple dependent claim must refer to them in the alternative only "
          "(\"claim 1 or 2\", \"any one of claims 1 to 3\")."}},
        {"US: multiple on multiple",
         {"A pump.", "The pump of claim 1.", "The pump of claim 1 or 2.",
          "The pump of any one of claims 1 to 3.", "The pump of claim 3.",
          "The pump of claim 5 or 1.", "The pump of claim 2 or 1."},
         {"4:5:warning:us-multiple-on-multiple: US practice: Claim 4 is a multiple dependent "
          "claim and depends, by way of claim 3, on another multiple dependent claim; it counts "
          "as one claim for fees.",
          "6:7:warning:us-multiple-on-multiple: US practice: Claim 6 is a multiple dependent "
          "claim and depends, by way of claim 5, on another multiple dependent claim; it counts "
          "as one claim for fees."}},
    };
    for (const CheckCase& c : cases)
        EXPECT_EQ(Described(CheckClaims(TClaimTree(ClaimText(c.Claims)))), c.Problems) << c.Name;
}

TEST(CheckClaims, FindsNumberingProblems) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"We claim:\n1. A.\n2. B.\n5. C.\n8. D.",
         {"5:4:warning:gap: Claims 3 and 4 are missing from the numbering.",
          "8:5:warning:gap: Claims 6 and 7 are missing from the numbering."}},
        {"We claim:\n1. A.\n2. B.\n2. C.",
         {"2:4:error:repeated-number: Claim 2 repeats the number of the claim on line 3."}},
        // The second claim 2 has no box, but claim 3 hangs below the first.
        {"We claim:\n1. A.\n2. B of claim 1.\n2. C of claim 9.\n3. D of claim 2.",
         {"2:4:error:missing-reference: Claim 2 refers to claim 9, which does not exist.",
          "2:4:error:no-box: Claim 2 gets no box in the tree: the claim it refers to does not "
          "exist.",
          "2:4:error:repeated-number: Claim 2 repeats the number of the claim on line 3."}},
        {"We claim:\n1. A.\n3. B.\n2. C.",
         {"2:4:error:out-of-order: Claim 2 comes after claim 3; claims are numbered in order."}},
        {"We claim:\n1. A.\n2. B.\n 1500. C.",
         {"1500:4:warning:number-too-large: Claim 1500 is numbered beyond 1023, the highest "
          "number the tree can show; it gets no box.",
          "1500:4:warning:gap: Claims 3 to 1499 are missing from the numbering."}},
    };
    for (const auto& [text, problems] : cases)
        EXPECT_EQ(Described(CheckClaims(TClaimTree(text))), problems) << text;
}

// The checks work out which claims get a box without looking at the tree:
// they must agree with it on random claim sets with repeated numbers, own,
// later and missing references, and a node limit.
TEST(CheckClaims, NoBoxAgreesWithTheTree) {
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        std::string text = "We claim:\n";
        const int claims = 2 + static_cast<int>(random() % 12);
        for (int i = 1; i <= claims; ++i) {
            const int number = random() % 5 == 0 ? 1 + static_cast<int>(random() % claims) : i;
            text += " " + std::to_string(number) + ". A part";
            if (random() % 4 != 0) {
                text += " of claim " + std::to_string(1 + random() % (claims + 2));
                if (random() % 3 == 0)
                    text += " or " + std::to_string(1 + random() % (claims + 2));
            }
            text += ".\n";
        }
        const TClaimTree tree(text, 1 + random() % 40);
        std::set<const TClaim*> boxless;
        for (const TClaimProblem& p : CheckClaims(tree)) {
            if (p.Kind == TProblemKind::NoBox)
                boxless.insert(&*std::find_if(tree.Claims.begin(), tree.Claims.end(),
                                              [&](const TClaim& c) { return c.Line == p.Line; }));
        }
        std::set<const TClaim*> withoutNodes;
        for (const TClaim& claim : tree.Claims) {
            const auto& nodes = tree.NodesByClaim[static_cast<std::size_t>(claim.Number)];
            const bool placed = !tree.NodeLimitReached || claim.Index < tree.FirstUnplaced;
            if (placed && std::none_of(nodes.begin(), nodes.end(),
                                       [&](const TClaimTreeNode* n) { return n->Claim == &claim; }))
                withoutNodes.insert(&claim);
        }
        EXPECT_EQ(boxless, withoutNodes) << text;
    }
}

// The wording of the connective decides; the other languages read only a
// few forms as several references.
TEST(CheckClaims, MultipleDependencyInTheAlternativeByLanguage) {
    const std::pair<const char*, bool> cases[] = {
        {"The pump of claim 1, 2 or 3.", true},
        {"The pump of any one of claims 1, 2 and 3.", true},
        {"The pump of either claim 1 or 2.", true},
        {"The pump of any preceding claim.", true},
        {"The pump of any of claims 1-3.", true},
        {"The pump of claims 1 to 3.", false},
        {"The pump of claims 1, 2 and/or 3.", false},
        {"The pump of the preceding claims.", false},
        {"The pump of claims 1 or 2 and 3.", false},
        {"Pompe selon la revendication 1, 2 ou 3.", true},
        {"Pompe selon la revendication 1, 2 et 3.", false},
        {"Pumpe nach Anspruch 1, 2 oder 3.", true},
        {"Pumpe nach Anspruch 1, 2 und 3.", false},
        {"Pompa secondo la rivendicazione 1, 2 o 3.", true},
        {"Pompa secondo la rivendicazione 1, 2 e 3.", false},
        {"Pumpe ifølge krav 1, 2 eller 3.", true},
        {"Pumpe ifølge krav 1, 2 og 3.", false},
        // The references come from the first claim word the reading knows.
        {"Pompe selon les revendications 1 et 2 ou la revendication 2 ou 3.", true},
    };
    for (const auto& [claim, alternative] : cases) {
        const auto problems = CheckClaims(TClaimTree(ClaimText({"A.", "B.", "C.", claim})));
        const bool flagged = problems.size() == 1 &&
                             problems[0].Kind == TProblemKind::UsNotAlternative &&
                             problems[0].Claim == 4;
        EXPECT_EQ(problems.empty(), alternative) << claim;
        EXPECT_EQ(flagged, !alternative) << claim;
    }
}

// The lenient reading knows more claim words, and the checks with it.
TEST(CheckClaims, MultipleDependencyInTheAlternativeAsTheLenientReadingFindsIt) {
    const std::pair<const char*, bool> cases[] = {
        {"Pumpe ifølge kravene 1 og 2.", false},
        {"Pumpe ifølge et hvilket som helst af kravene 1 og 2.", true},
        {"Pompe selon les revendications 1 ou 2.", true},
        {"Pompa według zastrz. 1 albo 2.", true},
        {"Pompa według zastrz. 1 i 2.", false},
        {"Насос по пп. 1 или 2.", true},
        {"Насос по пп. 1 и 2.", false},
        {"Čerpadlo podle nároků 1 a 2.", false},
        {"Čerpadlo podle nároku 1 nebo 2.", true},
        {"İstem 1 ila 2'den herhangi birine göre pompa.", true},
        {"İstem 1 ve 2'ye göre pompa.", false},
        {"Bomba conforme qualquer uma das reivindicações 1 a 2.", true},
        {"Bomba de acordo com as reivindicações 1 e 2.", false},
    };
    for (const auto& [claim, alternative] : cases) {
        const TClaimTree tree("Krav\n1. A.\n2. B.\n3. " + std::string(claim) + "\n",
                              TReading::Lenient);
        ASSERT_EQ(tree.Claims.size(), 3u) << claim;
        const auto problems = CheckClaims(tree);
        EXPECT_EQ(problems.empty(), alternative) << claim;
    }
}

// Status and unresolved phrases come from the lenient reading; the checks
// read them from the claims, whichever reading filled them.
TEST(CheckClaims, ReadsAmendmentStatusUnresolvedPhrasesAndFirstNumber) {
    TClaimTree tree(ClaimText(
        {"A pump.", "(Canceled).", "The pump of claims 1 or 2.", "The pump of claim 3."}));
    tree.Claims[1].Status = "Canceled";
    tree.Claims[3].Unresolved = {"claim I"};
    EXPECT_EQ(Described(CheckClaims(tree)),
              (std::vector<std::string>{
                  "3:4:warning:cancelled-reference: Claim 3 refers to cancelled claim 2.",
                  "4:5:warning:unresolved-reference: Claim 4: the reference \"claim I\" could "
                  "not be read as a claim number."}));

    // A reading that starts later than claim 1.
    tree.Claims[0].Number = 7;
    const auto problems = CheckClaims(tree);
    ASSERT_FALSE(problems.empty());
    EXPECT_EQ(problems[0].Kind, TProblemKind::NoClaim1);
}

TEST(CheckClaims, OnlyLiveClaimsAreWarnedOfCancelledReferences) {
    TClaimTree tree(ClaimText({"A pump.", "(Canceled).", "The pump of claim 2."}));
    tree.Claims[1].Status = "Canceled";
    const std::pair<std::string, std::size_t> cases[] = {
        {"", 1}, {"Currently amended", 1}, {"Canceled", 0}};
    for (const auto& [status, warnings] : cases) {
        tree.Claims[2].Status = status;
        EXPECT_EQ(CheckClaims(tree).size(), warnings) << status;
    }
}

// A range wider than the tables, or with a text, is one problem, not a claim
// per number; a range of statuses within them is a claim per number.
TEST(CheckClaims, LenientRangesTooWideOrWithATextAreOneProblem) {
    struct Case {
        std::string Text;
        std::size_t Claims;
        std::vector<std::string> Problems;
    };
    const Case cases[] = {
        {"Claims\n1. A pump.\n2-1023. (Cancelled)\n", 1023, {}},
        {"Claims\n1. A pump.\n2-1024. (Cancelled)\n",
         1,
         {"2:3:warning:range-too-wide: Claims 2 to 1024 are cancelled as one range of more claims "
          "than the tree can show; they are not listed one by one."}},
        {"Claims\n1-999999. (Cancelled)\n",
         0,
         {"1:2:warning:range-too-wide: Claims 1 to 999999 are cancelled as one range of more "
          "claims than the tree can show; they are not listed one by one."}},
        {"Claims\n1-5000. (Cancelled)\n5001. A pump.\n",
         1,
         {"1:2:warning:range-too-wide: Claims 1 to 5000 are cancelled as one range of more "
          "claims than the tree can show; they are not listed one by one.",
          "5001:3:warning:number-too-large: Claim 5001 is numbered beyond 1023, the highest "
          "number the tree can show; it gets no box."}},
        {"Claims\n1-999999. A pump.\n",
         0,
         {"1:2:error:range-with-text: Claims 1 to 999999 are numbered as one range with a text; "
          "each claim needs a number of its own, so the range is not read as claims."}},
        {"Claims\n1. A pump.\n2-3. The pump of claim 1.\n4. The pump of claim 2.\n",
         2,
         {"2:3:error:range-with-text: Claims 2 to 3 are numbered as one range with a text; "
          "each claim needs a number of its own, so the range is not read as claims.",
          "4:4:error:missing-reference: Claim 4 refers to claim 2, which does not exist.",
          "4:4:error:no-box: Claim 4 gets no box in the tree: the claim it refers to does not "
          "exist."}},
        {"Claims\n1. A pump.\n2-1500. (Withdrawn)\n",
         1,
         {"2:3:error:range-too-wide: Claims 2 to 1500 are numbered as one range of more claims "
          "than the tree can show; the range is not read as claims."}},
        {"Claims\n1. A pump.\n2-5000. (Cancelled)\n5001. The pump of claim 1.\n",
         2,
         {"2:3:warning:range-too-wide: Claims 2 to 5000 are cancelled as one range of more claims "
          "than the tree can show; they are not listed one by one.",
          "5001:4:warning:number-too-large: Claim 5001 is numbered beyond 1023, the highest "
          "number the tree can show; it gets no box."}},
        {"Claims\n1. A pump.\n2-5000. (Cancelled)\n5003. The pump of claim 1.\n",
         2,
         {"2:3:warning:range-too-wide: Claims 2 to 5000 are cancelled as one range of more claims "
          "than the tree can show; they are not listed one by one.",
          "5003:4:warning:number-too-large: Claim 5003 is numbered beyond 1023, the highest "
          "number the tree can show; it gets no box.",
          "5003:4:warning:gap: Claims 5001 and 5002 are missing from the numbering."}},
    };
    for (const Case& c : cases) {
        const TClaimTree tree(c.Text, TReading::Lenient);
        EXPECT_EQ(tree.Claims.size(), c.Claims) << c.Text;
        EXPECT_EQ(Described(CheckClaims(tree)), c.Problems) << c.Text;
    }
}

TEST(CheckClaims, RangesPastTheTableAreCheckedWholeAndListedAsRuns) {
    // Claims 1 to 1023 "A pump.", then Tail; the lenient reading keeps
    // ranges past the table as written.
    const auto text = [](const std::string& Tail) {
        std::string t = "We claim:\n";
        for (int n = 1; n < 1024; ++n)
            t += " " + std::to_string(n) + ". A pump.\n";
        return t + Tail;
    };
    struct Case {
        std::string Tail;
        std::vector<std::string> Problems; // less the numbers past the table
    };
    const Case cases[] = {
        {" 1024. A pump.\n 1025. The pump of any one of claims 1024 to 100000.\n",
         {"1025:1026:error:missing-reference: Claim 1025 refers to claims 1026 to 100000, which "
          "do not exist.",
          "1025:1026:error:own-reference: Claim 1025 refers to itself."}},
        {" 1024. The pump of claim 1 or 1030.\n",
         {"1024:1025:error:missing-reference: Claim 1024 refers to claim 1030, which does not "
          "exist."}},
        {" 1024. The pump of claims 1025 to 1027.\n 1025. (Cancelled)\n 1026. The pump of claim 1 "
         "or 1025.\n 1027. The pump of claims 1022 to 1026.\n",
         {"1024:1025:error:later-reference: Claim 1024 refers to claims 1025 to 1027, which come "
          "after it; a claim can only refer to claims before it.",
          "1026:1027:warning:cancelled-reference: Claim 1026 refers to cancelled claim 1025.",
          "1027:1028:warning:cancelled-reference: Claim 1027 refers to cancelled claim 1025.",
          "1027:1028:warning:us-not-alternative: US practice: Claim 1027 refers to claims 1022 to "
          "1026 together; a multiple dependent claim must refer to them in the alternative only "
          "(\"claim 1 or 2\", \"any one of claims 1 to 3\").",
          "1027:1028:warning:us-multiple-on-multiple: US practice: Claim 1027 is a multiple "
          "dependent claim and depends, by way of claim 1026, on another multiple dependent "
          "claim; it counts as one claim for fees."}},
    };
    for (const Case& c : cases) {
        const TClaimTree tree(text(c.Tail), TReading::Lenient);
        std::vector<std::string> problems;
        for (const std::string& p : Described(CheckClaims(tree)))
            if (p.find(":number-too-large:") == std::string::npos)
                problems.push_back(p);
        EXPECT_EQ(problems, c.Problems) << c.Tail;
    }
}

TEST(CheckClaims, ClaimsBeyondTheNodeLimitAreOneWarning) {
    const TClaimTree tree(
        ClaimText({"A pump.", "The pump of claim 1.", "The pump of claim 1 or 2.", "A valve."}), 3);
    EXPECT_EQ(Described(CheckClaims(tree)),
              (std::vector<std::string>{"3:4:warning:tree-too-large: The tree is too large to "
                                        "draw in full: Claim 3 and the claims after it get no "
                                        "box."}));
}

// Only what is really there: examples 4 and 5 are European claim sets that
// build multiple dependent claims on multiple dependent claims.
TEST(CheckClaims, BuiltinExamplesHaveOnlyTheirRealProblems) {
    const std::vector<int32_t> multipleOnMultiple[] = {
        {}, {}, {}, {5, 6, 8, 11, 14, 15, 16, 17, 18, 19, 20}, {14, 25, 33, 35, 36, 38, 39, 41}};
    for (int example = 1; example <= BuiltinExampleCount; ++example) {
        std::vector<int32_t> flagged;
        for (const TClaimProblem& p : CheckClaims(TClaimTree(BuiltinExampleText(example)))) {
            EXPECT_EQ(p.Kind, TProblemKind::UsMultipleOnMultiple) << example << ": " << p.Message;
            flagged.push_back(p.Claim);
        }
        EXPECT_EQ(flagged, multipleOnMultiple[example - 1]) << example;
    }
}

// A check line names the claim before its message, which then must not name
// it again: "claim 2: refers to claim 3", never "claim 2: Claim 2 refers".
TEST(CheckClaims, MessageAfterClaimNamesTheClaimOnce) {
    const std::tuple<int32_t, std::string, std::string> cases[] = {
        {2, "Claim 2 refers to claim 23, which comes after it.",
         "refers to claim 23, which comes after it."},
        {2, "Claim 23 refers to claim 2.", "Claim 23 refers to this claim."},
        {23, "Claim 2 refers to Claim 23.", "Claim 2 refers to this claim."},
        {4, "Claim 4: the reference \"x\" could not be read.",
         "the reference \"x\" could not be read."},
        {3, "US practice: Claim 3 refers to claims 1 and 2 together.",
         "US practice: this claim refers to claims 1 and 2 together."},
        {6, "Claims 3 to 5 are missing from the numbering.",
         "Claims 3 to 5 are missing from the numbering."},
        {7, "Claim 7", ""},
    };
    for (const auto& [claim, message, expected] : cases)
        EXPECT_EQ(MessageAfterClaim({claim, 0, TSeverity::Error, TProblemKind::Gap, message}),
                  expected)
            << message;

    // Every kind of problem, as the checks word it.
    const std::pair<std::string, TReading> texts[] = {
        {"We claim:\n 1. A pump.\n 2. The pump of claim 2.\n 3. The pump of claim 9.\n"
         " 4. The pump of claim 50.\n 5. (Canceled)\n 6. The pump of claim 5.\n"
         " 7. The valve of claims 1 and 6.\n 8. The valve of claim 7 or 1.\n"
         " 9. The valve of claim 1.\n 10. The valve of claim A.\n",
         TReading::Lenient},
        {"We claim:\n1. A.\n3. B.\n2. C.\n2. D.\n 1500. E.\n", TReading::Standard},
        {"We claim:\n 2. A.\n 3. B.\n", TReading::Lenient},
        {"We claim:\n1-3000. (Canceled)\n 3001-3005. A pump.\n 3006. A.\n", TReading::Lenient},
    };
    std::vector<TClaimProblem> all =
        CheckClaims(TClaimTree(ClaimText({"A.", "B of claim 1 or 1.", "C of claim 2 or 2."}), 2));
    for (const auto& [text, reading] : texts)
        for (TClaimProblem& p : CheckClaims(TClaimTree(text, reading)))
            all.push_back(std::move(p));
    std::set<TProblemKind> kinds;
    for (const TClaimProblem& p : all) {
        kinds.insert(p.Kind);
        const std::string after = MessageAfterClaim(p);
        const std::string name = "laim " + std::to_string(p.Claim);
        for (std::size_t at = after.find(name); at != std::string::npos;
             at = after.find(name, at + 1)) {
            const std::size_t end = at + name.size();
            EXPECT_TRUE(end < after.size() && std::isdigit(static_cast<unsigned char>(after[end])))
                << ProblemKindName(p.Kind) << ": " << after;
        }
        EXPECT_TRUE(!after.empty() && after[0] != ' ' && after[0] != ':') << after;
    }
    // Less the two that compare readings.
    EXPECT_EQ(kinds.size(), std::size_t{int(TProblemKind::ClaimsLeftOut) - 1});
}

// The markup's claim links against the text's references: a range agrees
// with links to its ends, every link must be inside a reference, and a
// problem goes in text order among the others.
TEST(LinkProblems, NameBothSidesWhereTheyDisagree) {
    const std::vector<std::string> claims{"A pump.", "The pump of claim 1.", "The pump of claim 2.",
                                          "The pump of any one of claims 1 to 3.",
                                          "A valve of claim 6."};
    struct Case {
        const char* Name;
        std::vector<TMarkupLink> Links;
        std::vector<std::string> Problems;
    };
    const std::string missing = "5:6:error:missing-reference: Claim 5 refers to claim 6, which "
                                "does not exist.";
    const std::string noBox = "5:6:error:no-box: Claim 5 gets no box in the tree: the claim it "
                              "refers to does not exist.";
    const Case cases[] = {
        {"no markup, nothing compared", {}, {missing, noBox}},
        {"agreeing; a range by its ends; a link given twice",
         {{2, 1}, {2, 1}, {3, 2}, {4, 1}, {4, 3}, {5, 6}},
         {missing, noBox}},
        {"a range by every number",
         {{2, 1}, {3, 2}, {4, 1}, {4, 2}, {4, 3}, {5, 6}},
         {missing, noBox}},
        {"another claim; a range's end unlinked; a link outside the text; none at all",
         {{2, 3}, {3, 2}, {4, 1}, {4, 2}, {1, 4}},
         {"1:2:warning:claim-link: Claim 1 is linked to claim 4 in the markup, but its text "
          "refers to no claim.",
          "2:3:warning:claim-link: Claim 2 is linked to claim 3 in the markup, but its text "
          "refers to claim 1.",
          "4:5:warning:claim-link: Claim 4 is linked to claims 1 and 2 in the markup, but its "
          "text refers to claims 1 to 3.",
          missing, noBox,
          "5:6:warning:claim-link: Claim 5 is linked to no claim in the markup, but its text "
          "refers to claim 6."}},
    };
    const TClaimTree tree(ClaimText(claims));
    for (const Case& c : cases) {
        std::vector<TClaimProblem> problems = CheckClaims(tree);
        AddLinkProblems(problems, tree, c.Links);
        EXPECT_EQ(Described(problems), c.Problems) << c.Name;
    }
}

// The second reading is compared claim number by claim number, ranges as
// ranges; where the standard reading stops before claim 100, the claims
// after it are named.
TEST(CompareReadings, CountsWhatTheOtherReadingReadsOtherwise) {
    std::string many = "We claim:\n1. A pump.\n";
    for (int n = 2; n <= 120; ++n)
        many += std::to_string(n) + ". The pump of claim 1.\n";
    struct Case {
        const char* Name;
        std::string Text;
        TReading InUse;
        std::size_t Claims, OtherClaims, Differing;
        int32_t FirstClaim, FirstLine;
        std::vector<std::pair<int32_t, int32_t>> LeftOut;
        int32_t LeftOutLine;
    };
    const Case cases[] = {
        {"agreeing",
         ClaimText({"A.", "B of claim 1.", "C of claims 1 to 2 and 1."}),
         TReading::Standard,
         3,
         3,
         0,
         0,
         0,
         {},
         0},
        {"a range and its numbers",
         ClaimText({"A.", "B.", "C of claims 1 to 2.", "D of claim 1, 2 or 3."}),
         TReading::Lenient,
         4,
         4,
         0,
         0,
         0,
         {},
         0},
        {"none read",
         "Claims:\n(1) A pump.\n(2) The pump of claim 1.\n",
         TReading::Standard,
         0,
         2,
         2,
         1,
         2,
         {},
         0},
        {"none read, lenient in use",
         "Claims:\n(1) A pump.\n(2) The pump of claim 1.\n",
         TReading::Lenient,
         2,
         0,
         2,
         1,
         2,
         {},
         0},
        {"a reference",
         "We claim:\n1. A pump.\n2. The pump of Claim I.\n3. The pump of claim 2.\n",
         TReading::Standard,
         3,
         3,
         1,
         2,
         3,
         {},
         0},
        {"stops at 99", many, TReading::Standard, 99, 120, 21, 100, 101, {{100, 120}}, 101},
        {"past 99, lenient in use", many, TReading::Lenient, 120, 99, 21, 100, 101, {}, 0},
    };
    for (const Case& c : cases) {
        const TReading other =
            c.InUse == TReading::Standard ? TReading::Lenient : TReading::Standard;
        const TReadingDifference got =
            CompareReadings(TClaimTree(c.Text, c.InUse), TClaimTree(c.Text, other, 0));
        EXPECT_EQ(got.Claims, c.Claims) << c.Name;
        EXPECT_EQ(got.OtherClaims, c.OtherClaims) << c.Name;
        EXPECT_EQ(got.Differing, c.Differing) << c.Name;
        EXPECT_EQ(got.FirstClaim, c.FirstClaim) << c.Name;
        EXPECT_EQ(got.FirstLine, c.FirstLine) << c.Name;
        EXPECT_EQ(got.LeftOut, c.LeftOut) << c.Name;
        EXPECT_EQ(got.LeftOutLine, c.LeftOutLine) << c.Name;
        EXPECT_EQ(ReadingProblems(c.InUse, got).size(), std::size_t{c.Differing == 0    ? 0u
                                                                    : c.LeftOut.empty() ? 1u
                                                                                        : 2u})
            << c.Name;
    }
}

struct FeeCase {
    const char* Name;
    std::vector<std::string> Claims;
    TFeeCounts Expected;
};

// Claim 1 independent, claims 2 to Last of claim 1.
std::vector<std::string> Singles(int Last) {
    std::vector<std::string> claims{"A pump."};
    for (int n = 2; n <= Last; ++n)
        claims.push_back("The pump of claim 1.");
    return claims;
}

std::vector<std::string> With(std::vector<std::string> Claims,
                              std::initializer_list<std::string> More) {
    Claims.insert(Claims.end(), More);
    return Claims;
}

TEST(CountFees, UsAndEpCountsAroundTheThresholds) {
    const FeeCase cases[] = {
        {"worked example",
         {"A pump.", "The pump of claim 1.", "The pump of claim 1 or 2.",
          "The pump of any one of claims 1 to 3.", "The pump of claim 3."},
         {{7, 1, 0, 0, true}, {5, 0, 0}}},
        {"a repeated reference is one claim",
         {"A pump.", "The pump of claim 1.", "The pump of claim 1 or 1."},
         {{3, 1, 0, 0, false}, {3, 0, 0}}},
        // 17 claims and a multiple dependent claim of three: 20, just not in excess.
        {"20 as counted",
         With(Singles(17), {"The pump of any one of claims 1 to 3."}),
         {{20, 1, 0, 0, true}, {18, 3, 0}}},
        {"over 20 through a claim that depends on it",
         With(Singles(17), {"The pump of any one of claims 1 to 3.", "The pump of claim 18."}),
         {{23, 1, 3, 0, true}, {19, 4, 0}}},
        {"improper counts one",
         With(Singles(17), {"The pump of any one of claims 1 to 3.", "The pump of claim 18 or 17.",
                            "The pump of claim 19."}),
         {{22, 1, 2, 0, true}, {20, 5, 0}}},
        {"15 and 16 claims", Singles(15), {{15, 1, 0, 0, false}, {15, 0, 0}}},
        {"16 claims", Singles(16), {{16, 1, 0, 0, false}, {16, 1, 0}}},
        {"50 claims and four independent",
         With(Singles(47), {"A valve.", "A seal.", "A motor."}),
         {{50, 4, 30, 1, false}, {50, 35, 0}}},
        {"51 claims with a multiple dependent claim",
         With(Singles(50), {"The pump of claim 1 or 2."}),
         {{52, 1, 32, 0, true}, {51, 35, 1}}},
    };
    for (const FeeCase& c : cases) {
        const TFeeCounts got = CountFees(TClaimTree(ClaimText(c.Claims)));
        const TFeeCounts& want = c.Expected;
        EXPECT_EQ(got.Us.Total, want.Us.Total) << c.Name;
        EXPECT_EQ(got.Us.Independent, want.Us.Independent) << c.Name;
        EXPECT_EQ(got.Us.ExcessTotal, want.Us.ExcessTotal) << c.Name;
        EXPECT_EQ(got.Us.ExcessIndependent, want.Us.ExcessIndependent) << c.Name;
        EXPECT_EQ(got.Us.MultipleDependent, want.Us.MultipleDependent) << c.Name;
        EXPECT_EQ(got.Ep.Claims, want.Ep.Claims) << c.Name;
        EXPECT_EQ(got.Ep.Excess15, want.Ep.Excess15) << c.Name;
        EXPECT_EQ(got.Ep.Excess50, want.Ep.Excess50) << c.Name;
    }
}

TEST(CountFees, CancelledClaimsDoNotCount) {
    TClaimTree tree(ClaimText(With(Singles(15), {"(Cancelled).", "The pump of claim 1 or 2."})));
    tree.Claims[15].Status = "Cancelled";
    const TFeeCounts fees = CountFees(tree);
    EXPECT_EQ(fees.Us.Total, 17);
    EXPECT_EQ(fees.Us.Independent, 1);
    EXPECT_EQ(fees.Ep.Claims, 16);
    EXPECT_EQ(fees.Ep.Excess15, 1);

    TClaimTree tree55(ClaimText(Singles(55)));
    EXPECT_EQ(CountFees(tree55).Ep.Excess15, 35);
    EXPECT_EQ(CountFees(tree55).Ep.Excess50, 5);
}

} // namespace
