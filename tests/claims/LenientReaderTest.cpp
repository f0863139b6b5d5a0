#include "ClaimChecks.h"
#include "ClaimTree.h"
#include "ReadingText.h"

#include <gtest/gtest.h>

namespace {

std::string Reading(const TClaimTree& Tree) {
    return ReadingText(Tree);
}

struct TCase {
    const char* Name;
    std::string Text;
    std::string Expected;
};

void ExpectReadings(const std::vector<TCase>& Cases) {
    for (const TCase& c : Cases) {
        const TClaimTree tree(c.Text, TReading::Lenient);
        EXPECT_EQ(Reading(tree), c.Expected) << c.Name << "\n" << c.Text;
    }
}

TEST(LenientReading, FindsClaimsHoweverTheyAreHeaded) {
    ExpectReadings({
        {"heading as first line", "Claims\n1. A pump.\n2. The pump of claim 1.\n", "1: 2:1"},
        {"upper-case heading with count",
         "CLAIMS (3)\r\n\r\n1. A valve.\r\n2. The valve of claim 1.\r\n"
         "3. The valve of claim 2.\r\n",
         "1: 2:1 3:2"},
        {"what is claimed", "What is claimed is:\n\n1. A rotor.\n\n2. The rotor of claim 1.",
         "1: 2:1"},
        {"heading and claim on one line", "We claim: 1. A hinge.\n2. The hinge of claim 1.",
         "1: 2:1"},
        {"heading without colon before claim 1", "CLAIMS 1. A hinge.\n2. The hinge of claim 1.",
         "1: 2:1"},
        {"no heading, claims only",
         "1. A lamp comprising a bulb.\n2. The lamp of claim 1, wherein "
         "the bulb is clear.\n",
         "1: 2:1"},
        {"description ends without a colon",
         "PUMP\n\nThe pump is shown in FIG. 1. It has a housing 12 and an impeller 14.\n"
         "1. A pump comprising a housing.\n2. The pump according to claim 1, comprising a seal.\n",
         "1: 2:1"},
        {"German heading",
         "Patentansprüche\n\n1. Pumpe mit einem Gehäuse.\n2. Pumpe nach Anspruch 1, "
         "wobei das Gehäuse aus Stahl besteht.\n",
         "1: 2:1"},
        {"French heading, Windows-1252",
         "REVENDICATIONS\r\n1. Pompe comprenant un carter.\r\n2. Pompe selon la revendication 1, "
         "caract\xe9ris\xe9"
         "e en ce que le carter est en acier.\r\n",
         "1: 2:1"},
        {"Dutch heading",
         "Conclusies\n1. Pomp met een huis.\n2. Pomp volgens conclusie 1, waarbij het "
         "huis van staal is.\n",
         "1: 2:1"},
        {"Finnish heading",
         "Patenttivaatimukset\n1. Pumppu, jossa on runko.\n2. Patenttivaatimuksen 1 "
         "mukainen pumppu, jossa runko on terästä.\n",
         "1: 2:1"},
        {"numbered description sections before the claims",
         "1. Field of the Invention\nThe invention concerns pumps.\n2. Description of the Related "
         "Art\nPumps are old.\n\nWhat is claimed is:\n1. A pump.\n2. The pump of claim 1.\n"
         "3. The pump of claim 2.\n",
         "1: 2:1 3:2"},
        {"long heading with a comma after numbered description lists",
         "1. Field\nPumps.\n2. Background\nOld pumps leak.\nHaving described the invention, what "
         "is claimed as new is:\n1. A pump.\n2. The pump of claim 1.\n",
         "1: 2:1"},
        {"paragraph numbers and figures are no claims",
         "[0011] FIG. 2 shows the seal.\n[0012] The seal 20 is made of rubber.\n\nClaims\n"
         "1. A seal made of rubber.\n2. The seal of claim 1, being 2 mm thick.\n",
         "1: 2:1"},
        {"a heading repeated at a page top inside the claims",
         "CLAIMS\n1. A nozzle.\n2. The nozzle of claim 1.\nCLAIMS\n3. The nozzle of claim 2.\n",
         "1: 2:1 3:2"},
        {"the abstract after the last claim is not its text",
         "Claims\n1. A nozzle.\n2. The nozzle of claim 1.\n\nAbstract\nA nozzle for claim 1 "
         "sprays water.\n",
         "1: 2:1"},
    });
}

TEST(LenientReading, ReadsEveryNumberingStyle) {
    ExpectReadings({
        {"numbers of 100 and more",
         [] {
             std::string t = "Claims\n";
             for (int n = 1; n <= 120; ++n)
                 t += std::to_string(n) +
                      (n == 1 ? ". A gear.\n"
                              : ". The gear of claim " + std::to_string(n - 1) + ".\n");
             return t;
         }(),
         [] {
             std::string e = "1:";
             for (int n = 2; n <= 120; ++n)
                 e += " " + std::to_string(n) + ":" + std::to_string(n - 1);
             return e;
         }()},
        {"blank before the period", "Claims\n1 . A cam.\n2 . The cam of claim 1.\n", "1: 2:1"},
        {"dash after the number",
         "Reivindicações\n1 - Came.\n2 - Came de acordo com a "
         "reivindicação 1.\n",
         "1: 2:1"},
        {"closing bracket", "Claims\n1) A cam.\n2) The cam of claim 1.\n", "1: 2:1"},
        {"parenthesised", "Claims\n(1) A cam.\n(2) The cam of claim 1.\n", "1: 2:1"},
        {"claim word", "Claim 1. A cam.\nClaim 2. The cam of claim 1.\n", "1: 2:1"},
        {"bracketed claim word", "[Claim 1]\nA cam.\n[Claim 2]\nThe cam according to claim 1.\n",
         "1: 2:1"},
        {"lenticular brackets",
         "\xe3\x80\x90"
         "Claim 1\xe3\x80\x91\nA cam.\n\xe3\x80\x90"
         "Claim "
         "2\xe3\x80\x91\nThe cam of claim 1.\n",
         "1: 2:1"},
        {"number alone on its line", "Claims\n1\nA cam.\n2\nThe cam of claim 1.\n", "1: 2:1"},
        {"number and period alone", "Claims\n1.\nA cam.\n2.\nThe cam of claim 1.\n", "1: 2:1"},
        {"inner list in another style is text",
         "Claims\n1. A method comprising:\n1) heating;\n2) cooling.\n2. The method of claim 1.\n",
         "1: 2:1"},
        {"list inside a claim in the claims' own style",
         "Claims\n1. A method comprising the steps:\n1. heating;\n2. cooling.\n2. The method of "
         "claim 1.\n3. The method of claim 2.\n",
         "1: 2:1 3:2"},
        {"a skipped number", "Claims\n1. A cam.\n2. The cam of claim 1.\n4. The cam of claim 2.\n",
         "1: 2:1 4:2"},
        {"wrapped reference at a line start is text",
         "Claims\n1. A cam.\n2. The cam according to\nclaim 1, being round.\n3. The cam of claim "
         "2.\n",
         "1: 2:1 3:2"},
        {"claims run together in one paragraph",
         "1. A pump with a housing. 2. The pump according to claim 1, wherein the housing is "
         "steel. 3. The pump according to claim 1 or 2, with 3 blades.\n",
         "1: 2:1 3:1,2"},
        {"decimal at a line start is text",
         "Claims\n1. A cam of\n1.5 mm.\n2. The cam of claim 1.\n", "1: 2:1"},
    });
}

TEST(LenientReading, ReadsReferenceWording) {
    ExpectReadings({
        {"or claim", "Claims\n1. A.\n2. B.\n3. C of claim 1 or claim 2.\n", "1: 2: 3:1,2"},
        {"claim words inside the list",
         "Claims\n1. A.\n2. B.\n3. C.\n4. D.\n5. E.\n6. F.\n7. G.\n8. H.\n9. I.\n"
         "10. J according to Claims 1 and 9 or Claims 4 and 9.\n",
         "1: 2: 3: 4: 5: 6: 7: 8: 9: 10:1,4,9"},
        {"through",
         "Claims\n1. A.\n2. B of claim 1.\n3. C of claim 1.\n4. D of any of claims 1 "
         "through 3.\n",
         "1: 2:1 3:1 4:1,2,3"},
        {"en dash and em dash",
         "Claims\n1. A.\n2. B.\n3. C.\n4. D of claims 1\xe2\x80\x93"
         "3.\n5. E of claims 2 \xe2\x80\x94 4.\n",
         "1: 2: 3: 4:1,2,3 5:2,3,4"},
        {"foregoing and previous",
         "Claims\n1. A.\n2. B of any of the foregoing claims.\n3. C of the previous claim.\n"
         "4. D of one of the preceding claims.\n5. E as claimed in any preceding claim.\n",
         "1: 2:1 3:2 4:1,2,3 5:1,2,3,4"},
        {"German",
         "Patentansprüche\n1. Pumpe.\n2. Pumpe nach Anspruch 1.\n3. Pumpe nach einem der "
         "Ansprüche 1 bis 2.\n4. Pumpe nach einem der vorhergehenden Ansprüche.\n"
         "5. Pumpe nach Anspruch 3 oder 4.\n",
         "1: 2:1 3:1,2 4:1,2,3 5:3,4"},
        {"French",
         "Revendications\n1. Pompe.\n2. Pompe selon la revendication 1.\n3. Pompe selon "
         "l'une quelconque des revendications 1 \xc3\xa0 2.\n4. Pompe selon l'une "
         "quelconque des revendications pr\xc3\xa9"
         "c\xc3\xa9"
         "dentes.\n",
         "1: 2:1 3:1,2 4:1,2,3"},
        {"Italian",
         "Rivendicazioni\n1. Pompa.\n2. Pompa secondo la rivendicazione 1.\n3. Pompa "
         "secondo una qualsiasi delle rivendicazioni precedenti.\n",
         "1: 2:1 3:1,2"},
        {"Spanish",
         "Reivindicaciones\n1. Bomba.\n2. Bomba seg\xc3\xban la reivindicaci\xc3\xb3n 1.\n"
         "3. Bomba seg\xc3\xban cualquiera de las reivindicaciones 1 a 2.\n",
         "1: 2:1 3:1,2"},
        {"Portuguese",
         "Reivindica\xc3\xa7\xc3\xb5"
         "es\n1. Bomba.\n2. Bomba de acordo com a reivindica\xc3\xa7\xc3\xa3o 1.\n"
         "3. Bomba de acordo com qualquer uma das reivindica\xc3\xa7\xc3\xb5"
         "es anteriores.\n",
         "1: 2:1 3:1,2"},
        {"Dutch",
         "Conclusies\n1. Pomp.\n2. Pomp volgens conclusie 1.\n3. Pomp volgens conclusie "
         "1 of 2.\n4. Pomp volgens een van de voorgaande conclusies.\n",
         "1: 2:1 3:1,2 4:1,2,3"},
        {"Danish and Swedish",
         "Patentkrav\n1. Pumpe.\n2. Pumpe ifølge krav 1.\n3. Pumpe ifølge et hvilket som helst af "
         "kravene 1-2.\n4. Pump enligt n\xc3\xa5got av f\xc3\xb6reg\xc3\xa5"
         "ende krav.\n",
         "1: 2:1 3:1,2 4:1,2,3"},
        {"Finnish",
         "Patenttivaatimukset\n1. Pumppu.\n2. Patenttivaatimuksen 1 mukainen pumppu.\n"
         "3. Jonkin edellisen patenttivaatimuksen mukainen pumppu.\n",
         "1: 2:1 3:1,2"},
        {"long and two-word connectives",
         "Rivendicazioni\n1. Pompa.\n2. Pompa.\n3. Pompa secondo la rivendicazione 1 oppure 2.\n"
         "4. Bomba seg\xc3\xban la reivindicaci\xc3\xb3n 2 o bien 3.\n",
         "1: 2: 3:1,2 4:2,3"},
        {"measures are no references",
         "Claims\n1. A gas.\n2. The gas of claim 1 comprising 13 - 17 % oxygen.\n3. The resin of "
         "claim 1, 20-120 parts by weight of filler.\n4. The gas of claim 2 and 3 mm.\n",
         "1: 2:1 3:1 4:2"},
        // Past 32 bits a number must not wrap round to a small claim number.
        {"a number too large for any claim", "Claims\n1. A.\n2. B of claim 4294967297.\n", "1: 2:"},
        {"a number that counts a noun",
         "Claims\n1. A.\n2. B.\n3. C of claim 1 and 2 valves.\n4. D of claims 1 and 2, wherein "
         "E.\n5. F of claim 1 or 2 comprises G.\n",
         "1: 2: 3:1 4:1,2 5:1,2"},
        {"a count after a comma, of this claim's number or a lower one",
         "Claims\n1. A.\n2. B of claim 1, 2 valves and a seal.\n3. C of claim 1, 2 valves.\n"
         "4. D of claim 1, 2 wherein E.\n5. F of claim 1, 5 of the seals being wide.\n",
         "1: 2:1 3:1 4:1,2 5:1"},
        {"a margin line number inside a wrapped reference",
         "Claims\n1. A.\n2. B.\n3. C.\n4. D.\n5. E of claims 1\n10\nto 3 or\n15\n4 and F.\n",
         "1: 2: 3: 4: 5:1,2,3,4"},
        {"a margin line number before the number on a wrapped reference's line",
         "Claims\n1. A.\n2. B.\n3. C of claim\n10 2, wherein E.\n4. D of claims 1 to\n15 3, "
         "with 5 layers.\n",
         "1: 2: 3:2 4:1,2,3"},
        {"comma lists", "Claims\n1. A.\n2. B.\n3. C.\n4. D of claims 1, 2, or 3.\n",
         "1: 2: 3: 4:1,2,3"},
        {"deleted text of an amendment", "Claims\n1. A.\n2. B.\n3. C of claim [[1]] 2.\n",
         "1: 2: 3:2"},
        {"an independent claim of another category",
         "Claims\n1. A method of pumping.\n2. A pump for carrying out the method of claim 1.\n",
         "1: 2:1"},
    });
}

TEST(LenientReading, ReadsAmendmentListings) {
    const TClaimTree tree("Listing of Claims:\n\n1. (Currently amended) A method of mixing.\n"
                          "2. (Canceled)\n3-5. (Cancelled)\n6. (Previously presented) The method "
                          "of claim 2.\n7. (New) The method of claim 1.\n8. (Withdrawn) A mixer.\n"
                          "9. (Original) The mixer of claim 8.\nClaims 10-11 (Cancelled).\n",
                          TReading::Lenient);
    EXPECT_EQ(Reading(tree), "1: 2: 3: 4: 5: 6:2 7:1 8: 9:8 10: 11:");
    const std::vector<std::string> statuses = {"Currently amended",
                                               "Canceled",
                                               "Cancelled",
                                               "Cancelled",
                                               "Cancelled",
                                               "Previously presented",
                                               "New",
                                               "Withdrawn",
                                               "Original",
                                               "Cancelled",
                                               "Cancelled"};
    ASSERT_EQ(tree.Claims.size(), statuses.size());
    for (std::size_t i = 0; i < statuses.size(); ++i)
        EXPECT_EQ(tree.Claims[i].Status, statuses[i]);
    EXPECT_EQ(tree.Claims[1].Text, "");
    EXPECT_EQ(tree.Claims[0].Text, "A method of mixing.");
    EXPECT_EQ(tree.Claims[4].Line, 5);
    EXPECT_EQ(tree.Claims[4].Offset,
              std::string("Listing of Claims:\n\n1. (Currently amended) A method "
                          "of mixing.\n2. (Canceled)\n")
                  .size());
}

TEST(LenientReading, FlagsScanningErrorsAndUnreadablePhrases) {
    const TClaimTree tree("Claims\n1. A pump.\n2. The pump as claimed in claim I.\n3. The pump of "
                          "claim l, wherein the claims are short.\n4. The pump of clairn 3.\n",
                          TReading::Lenient);
    EXPECT_EQ(Reading(tree), "1: 2:1 3:1 4:3");
    EXPECT_EQ(tree.Claims[3].Unresolved, std::vector<std::string>{"clairn 3"});
    EXPECT_EQ(tree.Claims[1].Unresolved, std::vector<std::string>{"claim I"});
    EXPECT_EQ(tree.Claims[2].Unresolved, (std::vector<std::string>{"claim l", "claims"}));
    EXPECT_TRUE(tree.Claims[0].Unresolved.empty());
}

TEST(LenientReading, ReadsTheFirstClaimSetAndCountsTheOthers) {
    const TClaimTree tree("Claims\n1. A pump.\n2. The pump of claim 1.\n\nPatentansprüche\n"
                          "1. Pumpe.\n2. Pumpe nach Anspruch 1.\n\nRevendications\n1. Pompe.\n"
                          "2. Pompe selon la revendication 1.\n",
                          TReading::Lenient);
    EXPECT_EQ(Reading(tree), "1: 2:1");
    EXPECT_EQ(tree.FurtherClaimSets, 2);
    EXPECT_EQ(tree.Claims[1].Text, "The pump of claim 1.");
    // A description's numbered headings after the claims are no further set.
    const TClaimTree described("Claims\n1. A pump.\n2. The pump of claim 1.\n3. The pump of "
                               "claim 2.\n\nDescription\nBackground\n1. Field of the Invention\n"
                               "Pumps.\n2. Related Art\nSee claims 1-4 of an older patent.\n",
                               TReading::Lenient);
    EXPECT_EQ(Reading(described), "1: 2:1 3:2");
    EXPECT_EQ(described.FurtherClaimSets, 0);
}

TEST(LenientReading, FindsLinesWhateverTheLineEndsAndClaimsRunTogether) {
    // Claims 3 and 5 run on from the claim before; claim 5's line is the
    // one after claim 4's, where claim 4 goes on.
    const std::string lf =
        "Claims\n1. A pump.\n2. The pump of claim 1. 3. The pump of claim 2.\n\n"
        "4. The pump\nof claim 3. 5. The pump of claim 4.\n6. The pump of claim 1.";
    const auto replaced = [&](const std::string& End) {
        std::string text;
        for (char c : lf)
            text += c == '\n' ? End : std::string(1, c);
        return text;
    };
    const std::string texts[] = {
        lf,
        replaced("\r\n"),
        replaced("\r"),
        "Claims\r1. A pump.\n2. The pump of claim 1. 3. The pump of claim 2.\r\r\n"
        "4. The pump\r\nof claim 3. 5. The pump of claim 4.\n6. The pump of claim 1.",
    };
    for (const std::string& text : texts) {
        const TClaimTree tree(text, TReading::Lenient);
        EXPECT_EQ(Reading(tree), "1: 2:1 3:2 4:3 5:4 6:1") << text;
        std::vector<int32_t> lines;
        for (const TClaim& claim : tree.Claims)
            lines.push_back(claim.Line);
        EXPECT_EQ(lines, (std::vector<int32_t>{2, 3, 3, 5, 6, 7})) << text;
    }
}

TEST(LenientReading, ReadsWiderAlphabetsWhateverTheirCase) {
    ExpectReadings({
        {"Russian capitals and an abbreviation glued to its number",
         "ФОРМУЛА ИЗОБРЕТЕНИЯ\n1. Насос.\n2. НАСОС ПО П.1.\n3. Насос по пп. 1 или 2.\n",
         "1: 2:1 3:1,2"},
        {"Russian item word in the text, without a number, is no claim",
         "Формула изобретения\n1. Насос.\n2. Насос по п. 1, где каждый пункт меню светится.\n",
         "1: 2:1"},
        {"Turkish dotless and dotted i, and a lower-casing that kept the dot as an accent",
         "İSTEMLER\n1. Bir pompa.\n2. ıstem 1'e göre pompa.\n3. i\xcc\x87stem 2'ye göre pompa.\n",
         "1: 2:1 3:2"},
        {"Czech \"a\" joins two claims, Portuguese \"a\" ends a range",
         "Nároky\n1. A.\n2. B.\n3. C.\n4. D podle nároků 1 a 3.\n"
         "5. E de acordo com as reivindicações 1 a 3.\n",
         "1: 2: 3: 4:1,3 5:1,2,3"},
        {"Polish letters with a stroke and a dot",
         "ZASTRZEŻENIA PATENTOWE\n1. Pompa.\n2. Pompa według zastrzeżenia 1.\n"
         "3. Pompa według któregokolwiek z poprzednich zastrzeżeń.\n",
         "1: 2:1 3:1,2"},
        {"a range opened by a word",
         "Zastrzeżenia\n1. A.\n2. B.\n3. C.\n4. D według zastrz. od 1 do 3.\n"
         "5. E по пп. с 2 по 4.\n",
         "1: 2: 3: 4:1,2,3 5:2,3,4"},
    });
}

TEST(LenientReading, ReadsOrdinalAndDependantReferences) {
    ExpectReadings({
        {"an ordinal names an earlier claim only",
         "Claims\n1. A.\n2. B of the first claim.\n3. C of the fourth claim, and the third "
         "layer.\n",
         "1: 2:1 3:"},
        {"the ordinal needs its article", "Claims\n1. A.\n2. B.\n3. C as a second claim.\n",
         "1: 2: 3:"},
        {"dependants through others, and not those of a later claim",
         "Claims\n1. A.\n2. B of claim 1.\n3. C of claim 2.\n4. D.\n5. E of claim 4.\n"
         "6. F of claim 1 or any claim dependent thereon.\n7. G of claim 6.\n",
         "1: 2:1 3:2 4: 5:4 6:1,2,3 7:6"},
    });
}

TEST(LenientReading, ReadsFullTextLayouts) {
    ExpectReadings({
        {"a reissue deletes a claim too short for its status",
         "Claims\n.[.1. A..].\n.Iadd.2. B..Iaddend.\n.Iadd.3. C of claim 2..Iaddend.\n",
         "1: 2: 3:2"},
        {"one bracket deletes two claims",
         "Claims\n.[.1. A ladder with two rails.\n2. The ladder of claim 1, with rungs..].\n"
         ".Iadd.3. A ladder..Iaddend.\n.Iadd.4. The ladder of claim 3..Iaddend.\n",
         "1: 2: 3: 4:3"},
        {"reissue markup inside claims only",
         "Claims\n1. A pump .[.of steel.]. .Iadd.of brass.Iaddend..\n2. The pump of claim "
         ".[.2.]. .Iadd.1.Iaddend., wherein it is red.\n",
         "1: 2:1"},
        {"a deleted bracket without its end deletes nothing",
         "Claims\n1. A .[.of steel.\n2. B of claim 1.\n", "1: 2:1"},
        {"tags outside the claims section stay",
         "DETD\nPAR  1. A step of claim 1.\nCLMS\nNUM  1.\nPAR  A pump.\nNUM  2.\nPAR  The pump "
         "of claim 1.\nABST\nPAR  2. Not a claim.\n",
         "1: 2:1"},
    });
    const std::string reissue = "Claims\n.[.1. A pump with a long housing..].\n"
                                ".Iadd.2. The pump of claim .[.1.]. 3..Iaddend.\n"
                                ".Iadd.3. A valve..Iaddend.\n";
    const TClaimTree tree(reissue, TReading::Lenient);
    ASSERT_EQ(Reading(tree), "1: 2:3 3:");
    EXPECT_EQ(tree.Claims[0].Status, "Canceled");
    EXPECT_EQ(tree.Claims[0].Text, "");
    EXPECT_EQ(tree.Claims[1].Line, 3);
    EXPECT_EQ(tree.Claims[1].Offset, reissue.find(".Iadd.2."));
    EXPECT_EQ(tree.Claims[2].Text, "A valve.");

    const TClaimTree labelled("Claims Text - CLTX (1):\n1. A pump.\n\nClaims Text - CLTX (2):\n"
                              "2. The pump of claim 1.\n",
                              TReading::Lenient);
    ASSERT_EQ(Reading(labelled), "1: 2:1");
    EXPECT_EQ(labelled.Claims[0].Text, "A pump.");
    EXPECT_TRUE(labelled.Claims[0].Unresolved.empty());
}

TEST(LenientReading, KeepsARepeatedNumberAndReportsIt) {
    const TClaimTree tree("Claims\n1. A pump.\n2. The pump of claim 1.\n2. The pump of claim 1, "
                          "with a seal.\n3. The pump of claim 2.\n",
                          TReading::Lenient);
    ASSERT_EQ(Reading(tree), "1: 2:1 2:1 3:2");
    EXPECT_EQ(tree.Claims[2].Text, "The pump of claim 1, with a seal.");
    const std::vector<TClaimProblem> problems = CheckClaims(tree);
    const auto repeated =
        std::count_if(problems.begin(), problems.end(), [](const TClaimProblem& p) {
            return p.Kind == TProblemKind::RepeatedNumber;
        });
    EXPECT_EQ(repeated, 1);
}

TEST(LenientReading, LeavesTextsWithoutClaimsEmpty) {
    for (const char* text : {"", "\n\n", "Claims\n", "The pump is new.\nIt has 2 parts.\n",
                             "13 - 17 % oxygen\n20-120 parts by weight\n"}) {
        const TClaimTree tree(text, TReading::Lenient);
        EXPECT_TRUE(tree.Claims.empty()) << text;
        EXPECT_TRUE(tree.Roots.empty());
    }
}

} // namespace
