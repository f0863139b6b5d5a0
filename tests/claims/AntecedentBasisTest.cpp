#include "AntecedentBasis.h"

#include "ClaimTree.h"
#include "Report.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A claims heading, then claim n on line n + 1.
std::string ClaimText(const char* Heading, const std::vector<std::string>& Claims) {
    std::string text = std::string(Heading) + "\n";
    for (std::size_t i = 0; i < Claims.size(); ++i)
        text += std::to_string(i + 1) + ". " + Claims[i] + "\n";
    return text;
}

// "claim severity term" for each problem.
std::vector<std::string> Found(const std::string& Text) {
    const TClaimTree tree(Text, TReading::Lenient);
    std::vector<std::string> found;
    for (const TClaimProblem& p : CheckAntecedentBasis(tree)) {
        EXPECT_EQ(p.Kind, TProblemKind::AntecedentBasis);
        found.push_back(std::to_string(p.Claim) + " " + SeverityName(p.Severity) + " " + p.Term);
    }
    return found;
}

struct TCase {
    std::vector<std::string> Claims;
    std::vector<std::string> Expected;
};

void Check(const char* Heading, const std::vector<TCase>& Cases) {
    for (const TCase& c : Cases)
        EXPECT_EQ(Found(ClaimText(Heading, c.Claims)), c.Expected) << ClaimText(Heading, c.Claims);
}

TEST(AntecedentBasis, English) {
    Check(
        "What is claimed is:",
        {
            // Basis in the claim itself, and none.
            {{"A pump comprising a valve, wherein the valve is closed."}, {}},
            {{"A pump comprising a housing, wherein the valve is closed."}, {"1 error valve"}},
            {{"A pump comprising a housing; said valve being closed."}, {"1 error valve"}},
            {{"A pump wherein the valve is closed, the pump comprising a valve."},
             {"1 error valve"}},
            // Once a claim and term.
            {{"A pump comprising a housing, the valve and the valve."}, {"1 error valve"}},
            // Basis in the claim it depends on; its subject needs none.
            {{"A pump comprising a valve.", "The pump of claim 1, wherein the valve is shut."}, {}},
            {{"A pump comprising a valve.", "A method of using the pump of claim 1, wherein the "
                                            "valve is opened."},
             {}},
            // Introduced only outside the chain: the claim number may be wrong.
            {{"A pump comprising a housing.", "The pump of claim 1, further comprising a valve.",
              "The pump of claim 1, wherein the valve is closed."},
             {"3 warning valve"}},
            // Each alternative needs it; claims taken together need it once.
            {{"A pump comprising a housing.", "The pump of claim 1, further comprising a valve.",
              "The pump of claim 1 or 2, wherein the valve is closed."},
             {"3 warning valve"}},
            {{"A pump comprising a housing.", "The pump of claim 1, further comprising a valve.",
              "The pump of claims 1 and 2, wherein the valve is closed."},
             {}},
            {{"A pump comprising a valve.", "The pump of claim 1, further comprising a seal.",
              "The pump of claim 1 or 2, wherein the valve is closed."},
             {}},
            // Singular and plural.
            {{"A pump comprising a valve, wherein the valves are closed."}, {"1 warning valves"}},
            {{"A pump comprising a plurality of valves, wherein the valve is closed."},
             {"1 warning valve"}},
            {{"A pump comprising at least one valve, wherein the valves are closed."}, {}},
            {{"A pump comprising one or more valves, wherein the valve is closed."}, {}},
            {{"A pump comprising a plurality of valves, each valve being closed."}, {}},
            {{"A pump comprising two valves, wherein the valves are closed."}, {}},
            // Ordinals introduce; a bare one is ambiguous, an unknown one missing.
            {{"A pump comprising a first valve and a second valve, wherein the first valve is "
              "closed."},
             {}},
            {{"A pump comprising a first valve and a second valve, wherein the valve is closed."},
             {"1 note valve"}},
            {{"A pump comprising a first valve, wherein the second valve is closed."},
             {"1 error second valve"}},
            // Properties, words that name no element, reference signs.
            {{"A pump comprising a rod, wherein the length of the rod is 5 cm."}, {}},
            {{"A pump comprising a rod, wherein the tip of the rod is round."}, {}},
            {{"A pump comprising a rod, wherein the tip of 5 mm is round."}, {"1 error tip"}},
            {{"A method comprising the steps of heating a fluid as known in the art and cooling "
              "the same."},
             {}},
            {{"A pump comprising a housing (2) and a valve (3), the valve (3) being in the "
              "housing (2)."},
             {}},
            // The phrase ends before participles and verbs, and keeps its modifiers.
            {{"A pump comprising a valve seated on a seat, wherein the valve is closed."}, {}},
            {{"A pump comprising an inlet valve, wherein the valve is closed."}, {}},
            {{"A pump comprising a piston, wherein the piston moves freely."}, {}},
            {{"A pump comprising a valve, wherein the valve seat is worn."},
             {"1 error valve seat"}},
            {{"A pump comprising a housing, wherein the pump housing is cast."}, {}},
        });
}

TEST(AntecedentBasis, German) {
    Check(
        "Patentansprüche",
        {
            {{"Pumpe mit einem Gehäuse und einem Ventil, wobei das Ventil geschlossen ist."}, {}},
            {{"Pumpe mit einem Gehäuse, wobei das Ventil geschlossen ist."}, {"1 error Ventil"}},
            // Endings of case and number.
            {{"Pumpe mit einer drehbaren Welle, wobei die drehbare Welle gelagert ist."}, {}},
            {{"Pumpe mit mindestens einem Ventil, wobei die Ventile offen sind."}, {}},
            {{"Pumpe mit einer Mehrzahl von Kammern, wobei die Kammer offen ist."}, {}},
            {{"Pumpe mit einem ersten Ventil, wobei das zweite Ventil offen ist."},
             {"1 error zweite Ventil"}},
            {{"Pumpe mit einem ersten Ventil und einem zweiten Ventil, wobei das Ventil offen "
              "ist."},
             {"1 note Ventil"}},
            // The chain, and a claim outside it.
            {{"Pumpe mit einem Ventil.", "Pumpe nach Anspruch 1, wobei das Ventil offen ist."}, {}},
            {{"Pumpe mit einem Gehäuse.", "Pumpe nach Anspruch 1, mit einem Ventil.",
              "Pumpe nach Anspruch 1, wobei das Ventil offen ist."},
             {"3 warning Ventil"}},
            // A property in the genitive; a relative pronoun after a comma.
            {{"Pumpe mit einem Stab, wobei die Länge des Stabes 5 cm beträgt."}, {}},
            {{"Trockner mit einem Gebläse, das Luft fördert."}, {}},
        });
}

TEST(AntecedentBasis, French) {
    Check("Revendications",
          {
              {{"Pompe comprenant un boîtier et une soupape, dans laquelle la soupape est fermée."},
               {}},
              {{"Pompe comprenant un boîtier, dans laquelle la soupape est fermée."},
               {"1 error soupape"}},
              // Elision, and "du"/"au" as "de le"/"à le".
              {{"Pompe comprenant un élément, dans laquelle l'élément est fixe."}, {}},
              {{"Pompe comprenant un boîtier, dans laquelle l'élément est fixe."},
               {"1 error élément"}},
              {{"Pompe comprenant une tige, la soupape étant fixée au boîtier."},
               {"1 error soupape", "1 error boîtier"}},
              {{"Pompe comprenant une tige, la longueur de la tige étant de 5 cm."}, {}},
              {{"Filtre contenant du charbon, le charbon étant actif."}, {}},
              // Quantities.
              {{"Pompe comprenant au moins une soupape, dans laquelle la soupape est fermée."}, {}},
              {{"Pompe comprenant une pluralité de soupapes, dans laquelle les soupapes sont "
                "fermées."},
               {}},
              {{"Pompe comprenant des soupapes, dans laquelle les soupapes sont fermées."}, {}},
              // The noun first: its complement counts, and may be left out.
              {{"Pompe comprenant une soupape d'admission, dans laquelle la soupape d'échappement "
                "est fermée."},
               {"1 error soupape d'échappement"}},
              {{"Pompe comprenant une soupape d'admission, dans laquelle la soupape est fermée."},
               {}},
              {{"Pompe comprenant une première soupape et une seconde soupape, dans laquelle la "
                "soupape est fermée."},
               {"1 note soupape"}},
              // An object pronoun, and the claim's subject.
              {{"Pompe comprenant une vis pour la fixer."}, {}},
              {{"Pompe comprenant une soupape.",
                "Pompe selon la revendication 1, dans laquelle la soupape est fermée."},
               {}},
          });
}

TEST(AntecedentBasis, SilentInOtherLanguages) {
    // Spanish shares "la" and "un" with French.
    EXPECT_TRUE(Found(ClaimText("Reivindicaciones",
                                {"Bomba que comprende una carcasa y un motor, en la que la válvula "
                                 "está cerrada y el motor es eléctrico."}))
                    .empty());
}

TEST(AntecedentBasis, MessagesNameTheIntroducingClaim) {
    const TClaimTree tree(
        ClaimText("What is claimed is:", {"A pump comprising a housing.",
                                          "The pump of claim 1, further comprising a valve.",
                                          "The pump of claim 1, wherein the valve is closed."}),
        TReading::Lenient);
    const std::vector<TClaimProblem> problems = CheckAntecedentBasis(tree);
    ASSERT_EQ(problems.size(), 1U);
    EXPECT_EQ(problems[0].Line, 4);
    EXPECT_NE(problems[0].Message.find("\"the valve\""), std::string::npos) << problems[0].Message;
    EXPECT_NE(problems[0].Message.find("claim 2"), std::string::npos) << problems[0].Message;
}

TEST(AntecedentBasis, ReportedOnlyWhenAskedFor) {
    const TClaimTree tree(ClaimText("What is claimed is:",
                                    {"A pump comprising a housing, wherein the valve is shut."}));
    std::ostringstream without, with;
    WriteJsonReport(without, tree, true, CheckAndCountFees(tree));
    WriteJsonReport(with, tree, true, CheckAndCountFees(tree, {.AntecedentBasis = true}));
    EXPECT_EQ(without.str().find("antecedent-basis"), std::string::npos);
    EXPECT_NE(with.str().find("\"kind\": \"antecedent-basis\""), std::string::npos) << with.str();
    EXPECT_NE(with.str().find(", \"term\": \"valve\" }"), std::string::npos) << with.str();
}

TEST(ClaimTerms, EachTermWithItsIntroductionAndUses) {
    const TClaimTree tree(ClaimText("What is claimed is:",
                                    {"A pump comprising a housing and an inlet valve,\nthe valve "
                                     "being in the housing.",
                                     "The pump of claim 1, wherein the valve is closed.",
                                     "A filter comprising a housing."}),
                          TReading::Lenient);
    const std::vector<TClaimTerm> terms = ListTerms(tree);
    std::vector<std::string> described;
    for (const TClaimTerm& term : terms) {
        std::string line = term.Term + " " + std::to_string(term.Introduced.Claim) + ":" +
                           std::to_string(term.Introduced.Line);
        for (const TTermPlace& use : term.Uses) {
            line += " " + std::to_string(use.Claim) + ":" + std::to_string(use.Line);
            const std::string& text = tree.Claims[static_cast<std::size_t>(use.Claim - 1)].Text;
            EXPECT_EQ(text.substr(use.Offset, use.Length).back(), term.Term.back());
        }
        described.push_back(line);
    }
    // The subject of claim 2 is claim 1's pump, and no use of it; the second
    // housing is another independent claim's.
    EXPECT_EQ(described,
              (std::vector<std::string>{"pump 1:2", "housing 1:2 1:3", "inlet valve 1:2 1:3 2:4",
                                        "filter 3:5", "housing 3:5"}));
}

} // namespace
