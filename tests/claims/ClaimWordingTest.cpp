#include "ClaimCategories.h"
#include "ClaimChecks.h"
#include "ClaimTree.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// "We claim:" and claim n on line n + 1.
std::string ClaimText(const std::vector<std::string>& Claims, const std::string& Before = {}) {
    std::string text = Before + "We claim:\n";
    for (std::size_t i = 0; i < Claims.size(); ++i)
        text += std::to_string(i + 1) + ". " + Claims[i] + "\n";
    return text;
}

// Each claim's category, "method" or "method<1" for one that refers to a
// claim of another category, joined by blanks.
std::string Categories(const TClaimTree& Tree) {
    std::string text;
    for (const TCategoryOfClaim& of : ClaimCategories(Tree)) {
        text += (text.empty() ? "" : " ") + std::string(ClaimCategoryName(of.Category));
        if (of.OtherCategoryClaim != 0)
            text += "<" + std::to_string(of.OtherCategoryClaim);
    }
    return text;
}

// "claim: message" of each problem of Kind, checking the wording.
std::vector<std::string> Wording(const std::string& Text, TProblemKind Kind) {
    const TClaimTree tree(Text);
    std::vector<std::string> found;
    for (const TClaimProblem& p : CheckClaims(tree, {true, Text})) {
        if (p.Kind == Kind)
            found.push_back(std::to_string(p.Claim) + ": " + p.Message);
    }
    return found;
}

TEST(ClaimCategories, FromThePreambleInThreeLanguages) {
    struct Case {
        std::vector<std::string> Claims;
        std::string Categories;
    };
    const Case cases[] = {
        {{"A method of drying grain, comprising heating it.",
          "The method of claim 1, wherein the grain is turned.",
          "A dryer for carrying out the method of claim 1, comprising a drum.",
          "A computer-readable storage medium holding instructions for the method of claim 1.",
          "Use of the dryer of claim 3 for drying seeds."},
         "method method apparatus<1 medium<1 use<3"},
        // The head noun decides, not a word that qualifies it.
        {{"A process chamber for etching wafers, comprising a lid.",
          "A computer-implemented method for routing parcels.",
          "A computer program product comprising code that routes parcels.",
          "A culture medium comprising agar.", "A pharmaceutical composition comprising a salt."},
         "apparatus method medium product product"},
        // A dependent claim that names nothing keeps its parent's category,
        // also under "means for" and a product made by a method.
        {{"An encoder comprising: means for sampling a signal; means for quantising the "
          "samples; and means for packing them.",
          "The encoder of claim 1, wherein the samples are 16 bits wide.",
          "A method of encoding with the encoder of claim 2, comprising sampling.",
          "The method of claim 3, wherein the signal is speech."},
         "means-plus-function means-plus-function method<2 method"},
        {{"Verfahren zum Trocknen von Getreide, umfassend das Erhitzen.",
          "Verfahren nach Anspruch 1, wobei das Getreide gewendet wird.",
          "Trocknungsvorrichtung zur Durchführung des Verfahrens nach Anspruch 1.",
          "Verwendung der Vorrichtung nach Anspruch 3 zum Trocknen von Saatgut.",
          "Pharmazeutische Zusammensetzung, enthaltend ein Salz.",
          "Computerlesbares Speichermedium mit Befehlen für das Verfahren nach Anspruch 1."},
         "method method apparatus<1 use<3 product medium<1"},
        {{"Procédé de séchage de grains, comprenant le chauffage des grains.",
          "Procédé selon la revendication 1, dans lequel les grains sont retournés.",
          "Dispositif pour la mise en œuvre du procédé selon la revendication 1.",
          "Utilisation du dispositif selon la revendication 3 pour sécher des semences.",
          "Composition pharmaceutique comprenant un sel.",
          "Support d'enregistrement lisible par ordinateur pour le procédé selon la "
          "revendication 1."},
         "method method apparatus<1 use<3 product medium<1"},
        // Claims in a language the tables do not read get no category.
        {{"Procedimiento de secado de grano, que comprende calentar el grano.",
          "Procedimiento según la reivindicación 1, en el que el grano se voltea."},
         "unknown unknown"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Categories(TClaimTree(ClaimText(c.Claims))), c.Categories) << c.Claims[0];
}

TEST(ClaimCategories, OneWarningForEachFurtherIndependentClaimOfACategory) {
    const std::string text = ClaimText({
        "A pump comprising a rotor.",
        "A method of pumping water, comprising turning a rotor.",
        "A valve comprising a seat.",
        "The valve of claim 3, wherein the seat is round.",
        "A method of using the valve of claim 3, comprising opening it.",
        "A hose comprising a liner.",
    });
    EXPECT_EQ(Wording(text, TProblemKind::CategoryCount),
              (std::vector<std::string>{
                  "3: EP practice: claim 3 is a further independent apparatus claim after "
                  "claim 1; one independent claim per category is the rule, with exceptions "
                  "(Rule 43(2) EPC).",
                  "5: EP practice: claim 5 is a further independent method claim after claim 2; "
                  "one independent claim per category is the rule, with exceptions (Rule 43(2) "
                  "EPC).",
                  "6: EP practice: claim 6 is a further independent apparatus claim after "
                  "claim 1; one independent claim per category is the rule, with exceptions "
                  "(Rule 43(2) EPC)."}));
    // Only when asked for: the checks as they were stay as they were.
    const TClaimTree tree(text);
    EXPECT_EQ(CheckClaims(tree).size(), CheckClaims(tree, {false, text}).size());
    for (const TClaimProblem& p : CheckClaims(tree))
        EXPECT_NE(p.Kind, TProblemKind::CategoryCount);
}

TEST(ReferenceSigns, WarnOfSignsForTwoPartsPartsWithTwoSignsAndUnusedSigns) {
    // Some forty words before the claims: a description that names 2, 3, 4
    // and 12 to 14.
    const std::string description =
        "Description\nThe pump 1 shown in FIG. 1 has a housing 2 closed by a lid 3, a "
        "shaft 4 that carries the rollers 12 and 14, and a spring 13 that presses the lid 3 "
        "onto the housing 2 whenever the shaft 4 turns in either direction, so that water "
        "cannot leak out of the pump while it runs.\n";
    struct Case {
        std::vector<std::string> Claims;
        bool Described;
        std::vector<std::string> Problems;
    };
    const Case cases[] = {
        // Signs used alike throughout, plural and singular, lists, and
        // parentheses that hold no sign.
        {{"A pump (1) comprising a housing (2), a lid (3) and rollers (12, 14), the housing "
          "holding 1 to 5 wt% (1 to 5 wt%) of a compound of formula (I) or formula (2).",
          "The pump (1) of claim 1, wherein the roller (12) and the housings (2) are steel, "
          "in step (a) and in step (1), and (i) at least one of the lids (3) is round."},
         true,
         {}},
        {{"A pump (1) comprising a housing (2) and a lid (2).",
          "The pump of claim 1, wherein the lid (3) rests on the housing (2)."},
         false,
         {"1: The reference sign (2) stands for \"lid\" and for \"housing\" in claim 1; a sign "
          "names one part.",
          "2: \"lid\" has the reference sign (3) in claim 2 and (2) in claim 1; a part keeps one "
          "sign."}},
        {{"A pump (1) comprising a housing (2) and a lever (7a).",
          "The pump of claim 1, wherein the lever (7a) is bent and a spring (13) acts on it."},
         true,
         {"1: The reference sign (7a) of \"lever\" in claim 1 is never used in the "
          "description."}},
        // A German compound ending in the term it stands for is the same part.
        {{"Pumpe (1) mit einem Gehäuse (2) und einem Deckel (3).",
          "Pumpe nach Anspruch 1, wobei das Pumpengehäuse (2) aus Stahl ist und die Deckel "
          "(3) rund sind."},
         false,
         {}},
        {{"Pompe (1) comprenant un boîtier (2) et un couvercle (3).",
          "Pompe selon la revendication 1, dans laquelle le couvercle (4) repose sur le "
          "ressort (3)."},
         false,
         {"2: \"couvercle\" has the reference sign (4) in claim 2 and (3) in claim 1; a part "
          "keeps one sign.",
          "2: The reference sign (3) stands for \"ressort\" in claim 2 and for \"couvercle\" in "
          "claim 1; a sign names one part."}},
    };
    for (const Case& c : cases) {
        const std::string text = ClaimText(c.Claims, c.Described ? description : "Pump\n");
        EXPECT_EQ(Wording(text, TProblemKind::ReferenceSign), c.Problems) << c.Claims[0];
    }
}

} // namespace
