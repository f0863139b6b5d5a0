#include "AntecedentBasis.h"

#include "ClaimTerms.h"
#include "ClaimTree.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <map>
#include <set>
#include <unordered_map>

namespace {

constexpr bool ModifierNamesElement = false;
// Introductions of one noun looked at before a reference, nearest first.
constexpr std::size_t MaxLookBack = 64;
// Claim sets past these are left unread.
constexpr std::size_t MaxTextBytes = 1'000'000;
constexpr std::size_t MaxClaims = 5'000;

// Work past which the claim chains are no longer walked in full: a crafted
// claim set where every claim refers to every one before it costs the cube
// of its claims. Past it, a term introduced in any alternative is enough.
constexpr int64_t WalkBudget = 4'000'000;
// References to claims, as entries, past which a claim set is not checked.
constexpr int64_t ParentBudget = 4'000'000;

struct TIndexRun {
    std::size_t First;
    std::size_t Last;
};

class TBits {
public:
    void Resize(std::size_t N) { words.assign((N + 63) / 64, 0); }
    bool Has(std::size_t I) const { return (words[I / 64] >> (I % 64)) & 1U; }
    void Set(std::size_t I) { words[I / 64] |= uint64_t{1} << (I % 64); }
    void Reset(std::size_t I) { words[I / 64] &= ~(uint64_t{1} << (I % 64)); }
    // Whether First..Last are all set.
    bool AllSet(std::size_t First, std::size_t Last) const {
        for (std::size_t w = First / 64; w <= Last / 64; ++w) {
            uint64_t mask = ~uint64_t{0};
            if (w == First / 64)
                mask &= ~uint64_t{0} << (First % 64);
            if (w == Last / 64 && Last % 64 != 63)
                mask &= (uint64_t{1} << (Last % 64 + 1)) - 1;
            if ((words[w] & mask) != mask)
                return false;
        }
        return true;
    }

private:
    std::vector<uint64_t> words;
};

// Runs of blanks as one space: a phrase may run over a line break.
std::string Written(std::string_view Text) {
    std::string out;
    bool blank = false;
    for (const char c : Text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            blank = true;
            continue;
        }
        if (blank && !out.empty())
            out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

std::string Quoted(std::string_view Text) {
    return "\"" + Written(Text) + "\"";
}

struct TMatch {
    std::size_t Claim;
    std::size_t Phrase;
};

class TBasisCheck {
public:
    explicit TBasisCheck(const TClaimTree& Tree)
        : tree(Tree), language(TermLanguageOf(Tree)), n(Tree.Claims.size()) {}

    // Reads every claim; Problems and Terms are filled as asked.
    void Run(std::vector<std::pair<std::size_t, TClaimProblem>>* Problems,
             std::vector<TClaimTerm>* Terms) {
        problems = Problems;
        terms = Terms;
        // A claim set of more text than any real one is not read for its
        // terms: crafted texts of megabytes would take seconds.
        std::size_t bytes = 0;
        for (const TClaim& claim : tree.Claims)
            bytes += claim.Text.size();
        if (bytes > MaxTextBytes || n > MaxClaims)
            return;
        if (language == TTermLanguage::Other || n == 0 || !ReadParents())
            return;
        phrases.resize(n);
        termOf.resize(n);
        words.resize(n);
        for (std::size_t c = 0; c < n; ++c) {
            const TClaim& claim = tree.Claims[c];
            phrases[c] =
                ReadNounPhrases(claim.Text, language, !claim.References.empty(), tree.TextIsUtf8);
            termOf[c].assign(phrases[c].size(), SIZE_MAX);
            for (std::size_t p = 0; p < phrases[c].size(); ++p) {
                const TNounPhrase& phrase = phrases[c][p];
                if (phrase.Role == TPhraseRole::Reference)
                    continue;
                index[Key(phrase.Folded)].push_back({c, p});
                if (terms != nullptr && phrase.Role == TPhraseRole::Introduction) {
                    termOf[c][p] = terms->size();
                    terms->push_back({Written(std::string_view(claim.Text)
                                                  .substr(phrase.Words, phrase.End - phrase.Words)),
                                      Place(c, phrase),
                                      {}});
                }
            }
        }
        visited.Resize(n);
        for (std::size_t c = 0; c < n; ++c) {
            ancestorsKnown = false;
            for (std::size_t p = 0; p < phrases[c].size(); ++p) {
                const TNounPhrase& phrase = phrases[c][p];
                if (phrase.Role == TPhraseRole::Reference && !phrase.Exempt)
                    CheckReference(c, p);
            }
            for (const std::size_t a : ancestors)
                visited.Reset(a);
            ancestors.clear();
            reported.clear();
        }
    }

private:
    // The last word for languages that end a phrase with its noun; the
    // first noun for French, which starts with it.
    std::string Key(const std::vector<std::string>& Folded) const {
        if (language != TTermLanguage::French)
            return Folded.back();
        std::size_t k = 0;
        while (k + 1 < Folded.size() && Folded[k][0] == '#')
            ++k;
        return Folded[k];
    }

    // The line a phrase starts on: the claim's line and the line ends before
    // it, of any kind ("\r\n", "\n", "\r"), found once a claim.
    TTermPlace Place(std::size_t Claim, const TNounPhrase& Phrase) {
        const TClaim& claim = tree.Claims[Claim];
        int32_t line = 0;
        if (claim.Line > 0) {
            if (lineEndsOf != Claim) {
                lineEndsOf = Claim;
                lineEnds.clear();
                const std::string& text = claim.Text;
                for (std::size_t i = 0; i < text.size(); ++i)
                    if (text[i] == '\n' ||
                        (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
                        lineEnds.push_back(i);
            }
            const auto before =
                std::lower_bound(lineEnds.begin(), lineEnds.end(), Phrase.Words) - lineEnds.begin();
            line = claim.Line + static_cast<int32_t>(before);
        }
        return {claim.Number, line, Phrase.Words, Phrase.End - Phrase.Words};
    }

    // "claims 3 and 5", "Ansprüche 3 und 5": the claims together, where
    // "or" would make them alternatives.
    static uint8_t Together(std::string_view Dependency) {
        bool both = false;
        std::size_t i = 0;
        while (i < Dependency.size()) {
            std::size_t j = i;
            while (j < Dependency.size() && std::isalpha(static_cast<unsigned char>(Dependency[j])))
                ++j;
            std::string word(Dependency.substr(i, j - i));
            for (char& c : word)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (word == "or" || word == "oder" || word == "ou" || word == "any" || word == "one" ||
                word == "einem" || word == "l")
                return 0;
            both = both || word == "and" || word == "und" || word == "et";
            i = j == i ? i + 1 : j;
        }
        return both ? 1 : 0;
    }

    // Each claim's parents: the last claim of each number it refers to,
    // read before it. A reference to no such claim leaves the claim unknown.
    bool ReadParents() {
        parents.resize(n);
        unknown.assign(n, 0);
        cumulative.assign(n, 0);
        std::vector<int64_t> latest(ClaimTableSize, -1);
        std::map<int32_t, std::size_t> latestBeyond;
        int64_t entries = 0;
        for (std::size_t c = 0; c < n; ++c) {
            const TClaim& claim = tree.Claims[c];
            if (!claim.Unresolved.empty())
                unknown[c] = 1;
            // The lenient reading keeps the numbers only: the words before the
            // first comma say it too.
            const std::string_view text(claim.Text);
            cumulative[c] = Together(claim.DependencyText) |
                            Together(text.substr(0, std::min(text.find(','), std::size_t{160})));
            const auto add = [&](std::size_t Index) {
                auto& runs = parents[c];
                if (!runs.empty() && runs.back().Last + 1 == Index)
                    runs.back().Last = Index;
                else
                    runs.push_back({Index, Index});
                ++entries;
            };
            for (const TReferenceRun& run : claim.References) {
                const int64_t count = int64_t{run.Last} - run.First + 1;
                for (int32_t number = run.First; number <= run.Last && number < ClaimTableSize;
                     ++number) {
                    if (number >= 0 && latest[static_cast<std::size_t>(number)] >= 0)
                        add(static_cast<std::size_t>(latest[static_cast<std::size_t>(number)]));
                    else
                        unknown[c] = 1;
                }
                if (run.Last >= ClaimTableSize) {
                    const int32_t from = std::max(run.First, ClaimTableSize);
                    int64_t found = 0;
                    for (auto it = latestBeyond.lower_bound(from);
                         it != latestBeyond.end() && it->first <= run.Last; ++it, ++found)
                        add(it->second);
                    if (found != int64_t{run.Last} - from + 1)
                        unknown[c] = 1;
                }
                if (count < 0)
                    unknown[c] = 1;
                if (entries > ParentBudget)
                    return false;
            }
            if (InClaimTable(claim.Number))
                latest[static_cast<std::size_t>(claim.Number)] = static_cast<int64_t>(c);
            else
                latestBeyond[claim.Number] = c;
        }
        return true;
    }

    // Every claim the current claim depends on, through any chain; whether
    // one of them, or the claim, has several parents or is unknown.
    void FindAncestors(std::size_t Claim) {
        ancestorsKnown = true;
        multiple =
            (parents[Claim].size() > 1 ||
             (!parents[Claim].empty() && parents[Claim][0].First != parents[Claim][0].Last)) &&
            !cumulative[Claim];
        anyUnknown = unknown[Claim] != 0;
        std::vector<std::size_t> stack{Claim};
        while (!stack.empty()) {
            // Past the budget the chains are not known: nothing is reported.
            if (budget < 0) {
                anyUnknown = true;
                break;
            }
            const std::size_t x = stack.back();
            stack.pop_back();
            for (const TIndexRun& run : parents[x]) {
                if ((run.First != run.Last || parents[x].size() > 1) && !cumulative[x])
                    multiple = true;
                if (visited.AllSet(run.First, run.Last))
                    continue;
                for (std::size_t p = run.First; p <= run.Last; ++p) {
                    --budget;
                    if (visited.Has(p))
                        continue;
                    visited.Set(p);
                    ancestors.push_back(p);
                    anyUnknown = anyUnknown || unknown[p] != 0;
                    stack.push_back(p);
                }
            }
        }
    }

    // Whether every chain from Claim up introduces the term: Introduces[x]
    // for the claims that do. A claim that depends on its claims together
    // ("claims 3 and 5") needs it in one of them. Failing is set to the
    // parent of Claim that lacks it.
    bool EveryChain(std::size_t Claim, const std::vector<uint8_t>& Introduces,
                    std::size_t& Failing) {
        constexpr uint8_t Open = 0, Yes = 1, No = 2;
        std::unordered_map<std::size_t, uint8_t> memo;
        const auto decided = [&](std::size_t X) -> uint8_t {
            if (Introduces[X] != 0 || unknown[X] != 0)
                return Yes;
            if (parents[X].empty())
                return No;
            const auto it = memo.find(X);
            return it == memo.end() ? Open : it->second;
        };
        // Depth first without recursion: a chain may be thousands deep.
        struct TFrame {
            std::size_t Claim;
            std::size_t Run = 0;
            std::size_t At = SIZE_MAX;
        };
        std::vector<TFrame> stack{{Claim}};
        while (!stack.empty()) {
            TFrame& frame = stack.back();
            const auto& runs = parents[frame.Claim];
            const bool together = cumulative[frame.Claim] != 0;
            uint8_t result = together ? No : Yes;
            bool pushed = false;
            while (frame.Run < runs.size()) {
                if (frame.At == SIZE_MAX)
                    frame.At = runs[frame.Run].First;
                if (frame.At > runs[frame.Run].Last) {
                    ++frame.Run;
                    frame.At = SIZE_MAX;
                    continue;
                }
                if (--budget < 0)
                    return true;
                const std::size_t p = frame.At;
                const uint8_t d = decided(p);
                if (d == Open) {
                    stack.push_back({p});
                    pushed = true;
                    break;
                }
                if (d == (together ? Yes : No)) {
                    result = d;
                    if (d == No && frame.Claim == Claim)
                        Failing = p;
                    break;
                }
                ++frame.At;
            }
            if (pushed)
                continue;
            memo[frame.Claim] = result;
            stack.pop_back();
        }
        return memo[Claim] == Yes;
    }

    // The introductions Folded finds among those read before the reference
    // at phrase P of claim C, nearest first, and the first after it in C.
    // A text that introduces one noun thousands of times is looked at only
    // as far back as MaxLookBack: Capped says so.
    std::vector<TMatch> Matches(const std::vector<std::string>& Folded, std::size_t C,
                                std::size_t P, bool& Capped) const {
        std::vector<TMatch> found;
        const auto it = index.find(Key(Folded));
        if (it == index.end())
            return found;
        const std::vector<TMatch>& list = it->second;
        const auto at = std::lower_bound(
            list.begin(), list.end(), TMatch{C, P}, [](const TMatch& a, const TMatch& b) {
                return a.Claim != b.Claim ? a.Claim < b.Claim : a.Phrase < b.Phrase;
            });
        std::size_t looked = 0;
        for (auto back = at; back != list.begin();) {
            --back;
            if (++looked > MaxLookBack) {
                Capped = true;
                break;
            }
            if (PhraseMatches(Folded, phrases[back->Claim][back->Phrase].Folded, language))
                found.push_back(*back);
        }
        for (auto ahead = at; ahead != list.end() && ahead->Claim == C && ahead - at < 16; ++ahead)
            if (PhraseMatches(Folded, phrases[ahead->Claim][ahead->Phrase].Folded, language)) {
                found.push_back(*ahead);
                break;
            }
        return found;
    }

    // The introductions that Folded, or its start where the phrase may end
    // sooner, finds: "the step uses" finds "a step".
    std::vector<TMatch> MatchesOf(const TNounPhrase& Ref, std::size_t C, std::size_t P,
                                  std::size_t& Length, bool& Capped) const {
        for (Length = Ref.Folded.size(); Length > 0; --Length) {
            if (Length < Ref.Folded.size() && !Ref.MayEndBefore[Length])
                continue;
            std::vector<TMatch> found = Matches(
                {Ref.Folded.begin(), Ref.Folded.begin() + static_cast<std::ptrdiff_t>(Length)}, C,
                P, Capped);
            if (!found.empty())
                return found;
        }
        Length = Ref.Folded.size();
        return {};
    }

    bool IsIntroduction(const TMatch& M) const {
        return phrases[M.Claim][M.Phrase].Role == TPhraseRole::Introduction;
    }

    // The words of a claim, each with where it is first written; sorted too,
    // for the words that start alike.
    struct TWordIndex {
        bool Read = false;
        std::unordered_map<std::string, std::size_t> First;
        std::vector<std::pair<std::string, std::size_t>> Sorted;
    };

    // Whether Word is written in claim Claim before byte Before; with
    // Stem, also a word of the same stem ("melt" in "melting"), and in
    // German the last part of a compound ("Luft" of "Abluft").
    bool HasWord(std::size_t Claim, const std::string& Word, std::size_t Before, bool Stem) {
        TWordIndex& index = words[Claim];
        if (!index.Read) {
            index.Read = true;
            for (auto& [at, word] : FoldedWords(tree.Claims[Claim].Text, language, tree.TextIsUtf8))
                index.First.emplace(std::move(word), at);
            index.Sorted.assign(index.First.begin(), index.First.end());
            std::sort(index.Sorted.begin(), index.Sorted.end());
        }
        const auto before = [&](const std::string& W) {
            const auto it = index.First.find(W);
            return it != index.First.end() && it->second < Before;
        };
        if (before(Word))
            return true;
        if (!Stem || Word.size() < 4)
            return false;
        if (language == TTermLanguage::German)
            for (std::size_t k = 1; k + 4 <= Word.size(); ++k)
                if (before(Word.substr(k)))
                    return true;
        // Half the word and one more, at least five letters: "treat" of
        // "treatment", and not "wärme" of "Wärmetauscher".
        const std::size_t stem =
            std::min(Word.size(), std::max<std::size_t>(5, Word.size() / 2 + 1));
        const std::string prefix = Word.substr(0, stem);
        auto it = std::lower_bound(index.Sorted.begin(), index.Sorted.end(),
                                   std::pair<std::string, std::size_t>{prefix, 0});
        for (int looked = 0; it != index.Sorted.end() && looked < 64 &&
                             it->first.compare(0, prefix.size(), prefix) == 0;
             ++it, ++looked)
            if (it->second < Before)
                return true;
        return false;
    }

    // Whether Word is written in claim C before byte Before, or in a claim it
    // depends on; yes too once the budget is spent.
    bool WrittenInChain(std::size_t C, const std::string& Word, std::size_t Before, bool Stem) {
        if (HasWord(C, Word, Before, Stem))
            return true;
        for (const std::size_t a : ancestors)
            if (--budget < 0 || HasWord(a, Word, SIZE_MAX, Stem))
                return true;
        return false;
    }

    void CheckReference(std::size_t C, std::size_t P) {
        const TNounPhrase& ref = phrases[C][P];
        std::size_t length = 0;
        bool capped = false;
        const std::vector<TMatch> matches = MatchesOf(ref, C, P, length, capped);
        const std::vector<std::string> folded(
            ref.Folded.begin(), ref.Folded.begin() + static_cast<std::ptrdiff_t>(length));
        const bool shortened = length < ref.Folded.size();
        if (!ancestorsKnown)
            FindAncestors(C);
        std::vector<TMatch> inScope;
        const TMatch* later = nullptr;
        const TMatch* outside = nullptr;
        for (const TMatch& m : matches) {
            if (m.Claim == C) {
                if (m.Phrase < P)
                    inScope.push_back(m);
                else if (later == nullptr && IsIntroduction(m))
                    later = &m;
            } else if (visited.Has(m.Claim)) {
                inScope.push_back(m);
            } else if (m.Claim < C && IsIntroduction(m) &&
                       (outside == nullptr || m.Claim > outside->Claim)) {
                outside = &m;
            }
        }
        const bool own = std::any_of(inScope.begin(), inScope.end(),
                                     [&](const TMatch& m) { return m.Claim == C; });
        std::size_t failing = SIZE_MAX;
        bool found = own;
        if (!found && !inScope.empty()) {
            found = true;
            if (multiple && budget > 0) {
                std::vector<uint8_t> introduces(n, 0);
                for (const TMatch& m : inScope)
                    introduces[m.Claim] = 1;
                found = EveryChain(C, introduces, failing);
            }
        }
        const TClaim& claim = tree.Claims[C];
        const std::string_view text(claim.Text);
        // Where the phrase may end sooner, as far as it matched.
        const std::size_t refEnd = ref.WordEnds[length - 1];
        const std::string term = Written(text.substr(ref.Words, refEnd - ref.Words));
        const std::string written = Quoted(text.substr(ref.Start, refEnd - ref.Start));
        const std::string name = "Claim " + std::to_string(claim.Number);
        const auto report = [&](TSeverity Severity, std::string Message) {
            // Once a claim and term: a term used ten times is one fault.
            if (problems == nullptr || !reported.insert(folded).second)
                return;
            problems->push_back(
                {C, TClaimProblem(claim.Number, Place(C, ref).Line, Severity,
                                  TProblemKind::AntecedentBasis, std::move(Message), term)});
        };
        const auto introduction = [&](const TMatch& M) {
            const TNounPhrase& intro = phrases[M.Claim][M.Phrase];
            return Quoted(std::string_view(tree.Claims[M.Claim].Text)
                              .substr(intro.Start, intro.End - intro.Start));
        };
        const auto number = [&](const TMatch& M) { return tree.Claims[M.Claim].Number; };
        if (!found) {
            if ((anyUnknown || capped) && failing == SIZE_MAX)
                return; // a claim it refers to is missing, or the look back gave up
            if (failing != SIZE_MAX) {
                report(TSeverity::Warning,
                       name + " uses " + written + ", which claim " +
                           std::to_string(tree.Claims[failing].Number) +
                           ", one of the claims it refers to, does not introduce: each "
                           "alternative needs its own antecedent basis.");
                return;
            }
            if (outside != nullptr && !claim.References.empty()) {
                report(TSeverity::Warning,
                       name + " uses " + written + ", which claim " +
                           std::to_string(number(*outside)) + " introduces (" +
                           introduction(*outside) +
                           "), a claim it does not depend on: check the claim it refers to.");
                return;
            }
            if (later != nullptr) {
                report(TSeverity::Error, name + " uses " + written + " before it introduces " +
                                             introduction(*later) + ".");
                return;
            }
            // Silent where the words may well have their basis after all: a
            // superlative or a result ("the highest", "the resulting"), or
            // the noun written before in some other phrase.
            if (ref.Each || IsImplicitModifier(folded.front(), language))
                return;
            // "the measured value" after "measuring": the result of a step.
            if (language == TTermLanguage::English && folded.size() >= 2 &&
                IsParticiple(folded.front())) {
                // "the measured values": the results of a step, rarely introduced.
                if (ref.Number == TPhraseNumber::Many)
                    return;
                const std::string stem = folded.front().substr(0, folded.front().size() - 2);
                if (HasWord(C, stem, ref.Start, true))
                    return;
                for (const std::size_t a : ancestors)
                    if (--budget < 0 || HasWord(a, stem, SIZE_MAX, true))
                        return;
            }
            const std::size_t headAt =
                language == TTermLanguage::French ? FrenchHeadOf(folded) : folded.size() - 1;
            // "the second valve" after "a first valve": the noun is there, the
            // one it names is not.
            const bool ordinal = std::any_of(folded.begin(), folded.end(),
                                             [](const std::string& w) { return w[0] == '#'; });
            if (ordinal) {
                report(TSeverity::Error, name + " uses " + written +
                                             " without antecedent basis: neither it nor a claim "
                                             "it depends on introduces \"" +
                                             term + "\".");
                return;
            }
            if (IsPropertyWord(folded[headAt], language))
                return;
            // "the grain moisture falls": the noun may come before a verb.
            for (std::size_t k = 1; k < ref.Folded.size(); ++k) {
                if (!ref.MayEndBefore[k])
                    continue;
                const std::string& noun = ref.Folded[k - 1];
                if (IsPropertyWord(noun, language) || HasWord(C, noun, ref.Start, true))
                    return;
                for (const std::size_t a : ancestors)
                    if (--budget < 0 || HasWord(a, noun, SIZE_MAX, true))
                        return;
            }
            // The noun, a word it comes from ("the melt" after "melting"), or
            // a modifier that names an element ("the frame duration" of "a frame").
            // French names the element by its complement too: "la soupape
            // d'échappement" is not "une soupape d'admission".
            bool complement = true;
            for (std::size_t k = headAt + 1; language == TTermLanguage::French && k < folded.size();
                 ++k)
                if (folded[k] != "de" && folded[k] != "d" &&
                    !WrittenInChain(C, folded[k], ref.Start, false))
                    complement = false;
            for (std::size_t k = 0; complement && k < folded.size(); ++k) {
                if (folded[k][0] == '#' || folded[k] == "de" || folded[k] == "d")
                    continue;
                const bool head = k == headAt;
                if (!head && !ModifierNamesElement)
                    continue;
                if (WrittenInChain(C, folded[k], ref.Start, head))
                    return;
            }
            report(TSeverity::Error,
                   name + " uses " + written +
                       " without antecedent basis: neither it nor a claim it depends on "
                       "introduces \"" +
                       term + "\".");
            return;
        }
        // The introduction the reference finds: the nearest one before it.
        std::vector<TMatch> named;
        for (const TMatch& m : inScope)
            if (IsIntroduction(m))
                named.push_back(m);
        if (named.empty())
            return;
        const TMatch nearest =
            *std::max_element(named.begin(), named.end(), [](const TMatch& a, const TMatch& b) {
                return a.Claim != b.Claim ? a.Claim < b.Claim : a.Phrase < b.Phrase;
            });
        if (terms != nullptr && termOf[nearest.Claim][nearest.Phrase] != SIZE_MAX)
            (*terms)[termOf[nearest.Claim][nearest.Phrase]].Uses.push_back(Place(C, ref));
        if (ref.Each || shortened)
            return;
        // Two introductions it could mean, unless one of them says it exactly.
        // Alternatives of a multiple dependent claim each have their own.
        const auto fits = [&](const TMatch& M) {
            const TPhraseNumber intro = phrases[M.Claim][M.Phrase].Number;
            return intro == TPhraseNumber::Any || ref.Number == TPhraseNumber::Any ||
                   intro == ref.Number;
        };
        std::vector<TMatch> candidates;
        for (const TMatch& m : named)
            if ((!multiple || m.Claim == C || m.Claim == nearest.Claim) && fits(m))
                candidates.push_back(m);
        const auto exact =
            std::count_if(candidates.begin(), candidates.end(), [&](const TMatch& m) {
                return phrases[m.Claim][m.Phrase].Folded == ref.Folded;
            });
        if (candidates.size() >= 2 && exact != 1) {
            const TMatch& a = candidates[candidates.size() - 2];
            const TMatch& b = candidates.back();
            report(TSeverity::Note,
                   name + " uses " + written +
                       ", which could mean more than one introduction: " + introduction(a) +
                       (a.Claim == b.Claim ? " and "
                                           : " in claim " + std::to_string(number(a)) + " and ") +
                       introduction(b) + " in claim " + std::to_string(number(b)) + ".");
            return;
        }
        if (language != TTermLanguage::English || ref.Number == TPhraseNumber::Any ||
            named.size() != inScope.size())
            return;
        const bool plural = ref.Number == TPhraseNumber::Many;
        const bool other = std::all_of(named.begin(), named.end(), [&](const TMatch& m) {
            return phrases[m.Claim][m.Phrase].Number ==
                   (plural ? TPhraseNumber::One : TPhraseNumber::Many);
        });
        if (other)
            report(TSeverity::Warning,
                   name + " uses " + written + " in the " + (plural ? "plural" : "singular") +
                       ", but claim " + std::to_string(number(nearest)) + " introduces " +
                       introduction(nearest) + " in the " + (plural ? "singular" : "plural") + ".");
    }

    static bool IsParticiple(const std::string& Word) {
        return Word.size() >= 5 && Word.compare(Word.size() - 2, 2, "ed") == 0;
    }

    static std::size_t FrenchHeadOf(const std::vector<std::string>& Folded) {
        std::size_t k = 0;
        while (k + 1 < Folded.size() && Folded[k][0] == '#')
            ++k;
        return k;
    }

    const TClaimTree& tree;
    const TTermLanguage language;
    const std::size_t n;
    std::vector<std::pair<std::size_t, TClaimProblem>>* problems = nullptr;
    std::vector<TClaimTerm>* terms = nullptr;
    std::vector<std::vector<TNounPhrase>> phrases;
    std::vector<std::vector<std::size_t>> termOf; // term of each introduction, by claim
    std::vector<std::vector<TIndexRun>> parents;
    std::vector<uint8_t> unknown;
    std::vector<uint8_t> cumulative; // depends on its claims together: "of claims 3 and 5"
    std::unordered_map<std::string, std::vector<TMatch>> index;
    std::vector<TWordIndex> words;     // by claim, when needed
    std::size_t lineEndsOf = SIZE_MAX; // the claim whose line ends lineEnds holds
    std::vector<std::size_t> lineEnds;
    std::set<std::vector<std::string>> reported; // terms of the current claim
    // The current claim's ancestors, marked in visited.
    TBits visited;
    std::vector<std::size_t> ancestors;
    bool ancestorsKnown = false;
    bool multiple = false;
    bool anyUnknown = false;
    int64_t budget = WalkBudget;
};

} // namespace

std::vector<std::pair<std::size_t, TClaimProblem>> AntecedentBasisByClaim(const TClaimTree& Tree) {
    std::vector<std::pair<std::size_t, TClaimProblem>> problems;
    TBasisCheck(Tree).Run(&problems, nullptr);
    return problems;
}

std::vector<TClaimProblem> CheckAntecedentBasis(const TClaimTree& Tree) {
    std::vector<TClaimProblem> problems;
    for (auto& [index, problem] : AntecedentBasisByClaim(Tree))
        problems.push_back(std::move(problem));
    return problems;
}

std::vector<TClaimTerm> ListTerms(const TClaimTree& Tree) {
    std::vector<TClaimTerm> terms;
    TBasisCheck(Tree).Run(nullptr, &terms);
    return terms;
}
