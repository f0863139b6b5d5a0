// How right the antecedent basis check is on the claim sets of the
// repository: error-severity problems per claim on the texts as they are,
// and the share of planted faults reported with the right claim and term.
// Run: build/bench/antecedent_measure [-v] resources/examples/*.txt --lenient
// tests/data/lenient/*.txt

#include "AntecedentBasis.h"
#include "ClaimChecks.h"
#include "ClaimTerms.h"
#include "ClaimTexts.h"
#include "ClaimTree.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Lower(std::string Text) {
    for (char& c : Text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return Text;
}

std::unique_ptr<TClaimTree> Read(const std::string& Text, TReading Reading) {
    return std::make_unique<TClaimTree>(Text, Reading);
}

// Where claim Claim's text starts in Text, or npos.
std::size_t ClaimStart(const std::string& Text, const TClaim& Claim) {
    const std::size_t probe = std::min<std::size_t>(Claim.Text.size(), 40);
    return Text.find(Claim.Text.substr(0, probe), Claim.Offset);
}

// Whether the faulted text reports an antecedent problem of claim Claim
// whose term names Head.
bool Reported(const std::string& Text, TReading Reading, int32_t Claim, const std::string& Head) {
    const auto tree = Read(Text, Reading);
    for (const TClaimProblem& p : CheckClaims(*tree, {.AntecedentBasis = true}))
        if (p.Kind == TProblemKind::AntecedentBasis && p.Claim == Claim &&
            Lower(p.Term).find(Lower(Head)) != std::string::npos)
            return true;
    return false;
}

// The words of claim Index and of every claim it depends on, lower case.
bool ChainWrites(const TClaimTree& Tree, std::size_t Index, const std::string& Word) {
    std::vector<std::size_t> todo{Index};
    std::set<std::size_t> seen;
    while (!todo.empty()) {
        const std::size_t c = todo.back();
        todo.pop_back();
        if (!seen.insert(c).second)
            continue;
        const TClaim& claim = Tree.Claims[c];
        if (Lower(claim.Text).find(Lower(Word)) != std::string::npos)
            return true;
        for (const int32_t n : claim.ReferenceList())
            for (std::size_t k = 0; k < c; ++k)
                if (Tree.Claims[k].Number == n)
                    todo.push_back(k);
    }
    return false;
}

std::string LastWord(const std::string& Term) {
    const std::size_t space = Term.rfind(' ');
    return space == std::string::npos ? Term : Term.substr(space + 1);
}

struct TCounts {
    int64_t Claims = 0, Errors = 0, Warnings = 0, Notes = 0;
    int64_t Trials[3] = {0, 0, 0};
    int64_t Hits[3] = {0, 0, 0};
};

void Measure(const std::string& Name, const std::string& Text, TCounts& Total, bool Verbose,
             TReading Reading) {
    TReading reading = Reading;
    auto tree = Read(Text, reading);
    if (tree->Claims.empty() && reading == TReading::Standard) {
        reading = TReading::Lenient;
        tree = Read(Text, reading);
    }
    const TTermLanguage language = TermLanguageOf(*tree);
    if (language == TTermLanguage::Other || tree->Claims.empty())
        return;
    TCounts counts;
    counts.Claims = static_cast<int64_t>(tree->Claims.size());
    for (const TClaimProblem& p : CheckAntecedentBasis(*tree)) {
        counts.Errors += p.Severity == TSeverity::Error;
        counts.Warnings += p.Severity == TSeverity::Warning;
        counts.Notes += p.Severity == TSeverity::Note;
        if (Verbose && p.Severity == TSeverity::Error)
            std::cout << "  " << Name << ": claim " << p.Claim << ": " << p.Message << '\n';
    }
    const char* definite = language == TTermLanguage::German   ? "der "
                           : language == TTermLanguage::French ? "le "
                                                               : "the ";
    const char* planted =
        language == TTermLanguage::German   ? ", wobei die Prallblechkante poliert ist"
        : language == TTermLanguage::French ? ", dans lequel la chicane de trempe est polie"
                                            : ", wherein the quench baffle is polished";
    const char* plantedHead = language == TTermLanguage::German   ? "Prallblechkante"
                              : language == TTermLanguage::French ? "chicane"
                                                                  : "baffle";
    const char* claimWord = language == TTermLanguage::German   ? "anspruch "
                            : language == TTermLanguage::French ? "revendication "
                                                                : "claim ";
    constexpr int Trials = 4;
    const std::vector<TClaimTerm> terms = ListTerms(*tree);
    // 1. An introduction made a definite reference, where nothing before it
    // in its claim or chain writes its noun.
    int made = 0;
    for (std::size_t c = 0; c < tree->Claims.size() && made < Trials; ++c) {
        const TClaim& claim = tree->Claims[c];
        const std::size_t start = ClaimStart(Text, claim);
        if (start == std::string::npos)
            continue;
        const auto phrases =
            ReadNounPhrases(claim.Text, language, !claim.References.empty(), tree->TextIsUtf8);
        for (const TNounPhrase& phrase : phrases) {
            // The claim's subject needs no antecedent: the first phrase is left alone.
            if (&phrase == &phrases.front() || phrase.Role != TPhraseRole::Introduction ||
                phrase.Start == phrase.Words)
                continue;
            const std::string head =
                LastWord(claim.Text.substr(phrase.Words, phrase.End - phrase.Words));
            const std::string before = Lower(claim.Text.substr(0, phrase.Start));
            bool earlier = before.find(Lower(head)) != std::string::npos;
            for (const int32_t n : claim.ReferenceList())
                for (std::size_t k = 0; k < c; ++k)
                    if (tree->Claims[k].Number == n && ChainWrites(*tree, k, head))
                        earlier = true;
            if (earlier || head.size() < 3)
                continue;
            std::string faulted = Text;
            faulted.replace(start + phrase.Start, phrase.Words - phrase.Start, definite);
            ++counts.Trials[0];
            if (Reported(faulted, reading, claim.Number, head))
                ++counts.Hits[0];
            else if (Verbose)
                std::cout << "  missed 1: " << Name << " claim " << claim.Number << " " << head
                          << '\n';
            ++made;
            break;
        }
    }
    // 2. A term that appears nowhere before, put at the end of a claim.
    made = 0;
    for (std::size_t c = 0; c < tree->Claims.size() && made < Trials;
         c += std::max<std::size_t>(1, tree->Claims.size() / Trials)) {
        const TClaim& claim = tree->Claims[c];
        const std::size_t start = ClaimStart(Text, claim);
        const std::size_t period = claim.Text.rfind('.');
        if (start == std::string::npos || period == std::string::npos)
            continue;
        std::string faulted = Text;
        faulted.insert(start + period, planted);
        ++counts.Trials[1];
        if (Reported(faulted, reading, claim.Number, plantedHead))
            ++counts.Hits[1];
        else if (Verbose)
            std::cout << "  missed 2: " << Name << " claim " << claim.Number << '\n';
        ++made;
    }
    // 3. The number a claim refers to changed, so that the claim it now
    // refers to no longer introduces a term it uses.
    made = 0;
    for (const TClaimTerm& term : terms) {
        if (made >= Trials)
            break;
        const std::string head = LastWord(term.Term);
        for (const TTermPlace& use : term.Uses) {
            if (use.Claim == term.Introduced.Claim)
                continue;
            const auto user = std::find_if(tree->Claims.begin(), tree->Claims.end(),
                                           [&](const TClaim& c) { return c.Number == use.Claim; });
            if (user == tree->Claims.end() || user->References.size() != 1 ||
                user->References[0].First != user->References[0].Last ||
                Lower(user->Text.substr(0, use.Offset)).find(Lower(head)) != std::string::npos)
                continue;
            const int32_t parent = user->References[0].First;
            // A claim before it whose chain never writes the noun.
            int32_t other = 0;
            for (std::size_t k = 0; k < user->Index; ++k)
                if (tree->Claims[k].Number != parent && !ChainWrites(*tree, k, head)) {
                    other = tree->Claims[k].Number;
                    break;
                }
            const std::size_t start = ClaimStart(Text, *user);
            const std::string from = claimWord + std::to_string(parent);
            const std::size_t at =
                start == std::string::npos ? std::string::npos : Lower(Text).find(from, start);
            if (other == 0 || at == std::string::npos || at > start + user->Text.size())
                continue;
            std::string faulted = Text;
            faulted.replace(at + from.size() - std::to_string(parent).size(),
                            std::to_string(parent).size(), std::to_string(other));
            ++counts.Trials[2];
            if (Reported(faulted, reading, use.Claim, head))
                ++counts.Hits[2];
            else if (Verbose)
                std::cout << "  missed 3: " << Name << " claim " << use.Claim << " " << head
                          << " now of claim " << other << '\n';
            ++made;
            break;
        }
    }
    std::cout << Name << ": " << counts.Claims << " claims, " << counts.Errors << " errors, "
              << counts.Warnings << " warnings, " << counts.Notes << " notes; found "
              << counts.Hits[0] << "/" << counts.Trials[0] << ", " << counts.Hits[1] << "/"
              << counts.Trials[1] << ", " << counts.Hits[2] << "/" << counts.Trials[2] << '\n';
    Total.Claims += counts.Claims;
    Total.Errors += counts.Errors;
    Total.Warnings += counts.Warnings;
    Total.Notes += counts.Notes;
    for (int i = 0; i < 3; ++i) {
        Total.Trials[i] += counts.Trials[i];
        Total.Hits[i] += counts.Hits[i];
    }
}

} // namespace

int main(int argc, char** argv) {
    TCounts total;
    bool verbose = false;
    TReading reading = TReading::Standard;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "-v") {
            verbose = true;
            continue;
        }
        // The files after it are read as the lenient reading reads them.
        if (name == "--lenient") {
            reading = TReading::Lenient;
            continue;
        }
        std::ifstream in(name, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        Measure(name, text, total, verbose, reading);
    }
    Measure("bench:OrdinaryClaims(40)", OrdinaryClaims(40), total, verbose, TReading::Standard);
    Measure("bench:AllPrecedingClaims(40)", AllPrecedingClaims(40), total, verbose,
            TReading::Standard);
    const int64_t trials = total.Trials[0] + total.Trials[1] + total.Trials[2];
    const int64_t hits = total.Hits[0] + total.Hits[1] + total.Hits[2];
    std::printf("\nAll: %lld claims, %lld errors (%.3f a claim), %lld warnings, %lld notes\n",
                static_cast<long long>(total.Claims), static_cast<long long>(total.Errors),
                total.Claims ? static_cast<double>(total.Errors) / static_cast<double>(total.Claims)
                             : 0.0,
                static_cast<long long>(total.Warnings), static_cast<long long>(total.Notes));
    const char* kinds[3] = {"introduction made definite", "term nowhere before",
                            "reference number changed"};
    for (int i = 0; i < 3; ++i)
        std::printf("%s: %lld of %lld found\n", kinds[i], static_cast<long long>(total.Hits[i]),
                    static_cast<long long>(total.Trials[i]));
    std::printf("planted faults found: %lld of %lld (%.1f %%)\n", static_cast<long long>(hits),
                static_cast<long long>(trials),
                trials ? 100.0 * static_cast<double>(hits) / static_cast<double>(trials) : 0.0);
    return 0;
}
