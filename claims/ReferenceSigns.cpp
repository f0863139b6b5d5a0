#include "ReferenceSigns.h"

#include "ClaimTree.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <set>
#include <unordered_set>

namespace {

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

bool IsLetter(char C) {
    const auto b = static_cast<unsigned char>(C);
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b >= 0x80;
}

std::string Trimmed(std::string_view Text) {
    while (!Text.empty() && Text.front() == ' ')
        Text.remove_prefix(1);
    while (!Text.empty() && Text.back() == ' ')
        Text.remove_suffix(1);
    return std::string(Text);
}

// "2", "12a", "7'" : one to four digits, a small letter, primes.
bool IsSign(std::string_view Item) {
    std::size_t i = 0;
    while (i < Item.size() && IsDigit(Item[i]))
        ++i;
    if (i == 0 || i > 4 || Item[0] == '0')
        return false;
    if (i < Item.size() && Item[i] >= 'a' && Item[i] <= 'z')
        ++i;
    while (i < Item.size() && Item[i] == '\'')
        ++i;
    return i == Item.size();
}

// The signs of a parenthesis' content, or none when it holds anything else.
std::vector<std::string> SignsIn(std::string_view Content) {
    std::vector<std::string> signs;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= Content.size(); ++i) {
        if (i < Content.size() && Content[i] != ',' && Content[i] != ';')
            continue;
        std::string item = Trimmed(Content.substr(start, i - start));
        if (!IsSign(item))
            return {};
        signs.push_back(std::move(item));
        start = i + 1;
    }
    return signs;
}

std::string Lower(std::string_view Word) {
    std::string lower(Word);
    for (char& c : lower)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return lower;
}

// Singular and plural, and German and French endings, read alike: "valves"
// and "valve", "Rollen" and "Rolle", "Gehäuses" and "Gehäuse".
std::string Folded(std::string_view Word) {
    std::string w = Lower(Word);
    if (w.size() > 4 && w.ends_with("ies"))
        w.replace(w.size() - 3, 3, "y");
    while (w.size() > 3 &&
           (w.back() == 's' || w.back() == 'e' || w.back() == 'n' || w.back() == 'x'))
        w.pop_back();
    return w;
}

bool In(std::string_view Word, std::initializer_list<std::string_view> List) {
    return std::find(List.begin(), List.end(), Word) != List.end();
}

// Words that end a term going back from its sign: articles, prepositions,
// conjunctions and the verbs claims use, in the three languages.
bool EndsTerm(std::string_view Lower) {
    return In(Lower, {"a",     "an",     "the",        "said",      "each",      "every",   "one",
                      "of",    "to",     "in",         "on",        "at",        "by",      "for",
                      "from",  "with",   "and",        "or",        "is",        "are",     "has",
                      "have",  "having", "comprising", "comprises", "including", "wherein", "which",
                      "that",  "into",   "onto",       "between",   "via",       "through", "its",
                      "their", "der",    "die",        "das",       "den",       "dem",     "des",
                      "ein",   "eine",   "einer",      "eines",     "einem",     "einen",   "und",
                      "oder",  "mit",    "von",        "zu",        "zum",       "zur",     "an",
                      "am",    "im",     "auf",        "für",       "wobei",     "le",      "la",
                      "les",   "l'",     "un",         "une",       "des",       "du",      "de",
                      "d'",    "et",     "ou",         "avec",      "dans",      "sur",     "par",
                      "pour",  "au",     "aux"});
}

// Words after which a parenthesised number is not a sign.
bool BeforeNonSign(std::string_view Lower) {
    return In(Lower,
              {"formula",       "formulae",       "formulas", "formel",    "formeln",
               "formule",       "formules",       "equation", "gleichung", "équation",
               "claim",         "claims",         "anspruch", "ansprüche", "ansprüchen",
               "revendication", "revendications", "step",     "steps",     "schritt",
               "schritte",      "étape",          "étapes",   "fig",       "figure",
               "figures",       "figur",          "page",     "table",     "example",
               "beispiel",      "exemple",        "no",       "nr",        "id",
               "seq",           "group",          "gruppe",   "groupe",    "structure",
               "struktur",      "item",           "feature",  "merkmal",   "caractéristique"});
}

// The words before Text[End], back to the start or a non-word byte other
// than a blank, at most Most, last first.
std::vector<std::string_view> WordsBefore(std::string_view Text, std::size_t End,
                                          std::size_t Most) {
    std::vector<std::string_view> words;
    std::size_t i = End;
    while (words.size() < Most) {
        while (i > 0 && Text[i - 1] == ' ')
            --i;
        std::size_t start = i;
        while (start > 0 && (IsLetter(Text[start - 1]) || Text[start - 1] == '-' ||
                             Text[start - 1] == '\'' || IsDigit(Text[start - 1])))
            --start;
        if (start == i)
            break;
        words.push_back(Text.substr(start, i - start));
        i = start;
    }
    return words;
}

} // namespace

std::vector<TReferenceSign> ReferenceSignsOf(std::string_view Text) {
    std::vector<TReferenceSign> found;
    for (std::size_t open = Text.find('('); open != std::string_view::npos;
         open = Text.find('(', open + 1)) {
        const std::size_t close = Text.find_first_of("()", open + 1);
        if (close == std::string_view::npos || Text[close] != ')' || close - open > 32)
            continue;
        std::vector<std::string> signs = SignsIn(Text.substr(open + 1, close - open - 1));
        if (signs.empty())
            continue;
        // "housing(2)" and "housing (2)", not "x(2)" in a formula: a word
        // of letters, then the sign.
        const std::vector<std::string_view> before = WordsBefore(Text, open, 4);
        if (before.empty() || !IsLetter(before.front().back()) || before.front().size() < 2 ||
            BeforeNonSign(Lower(before.front())))
            continue;
        TReferenceSign sign;
        sign.Signs = std::move(signs);
        std::vector<std::string_view> term;
        for (std::string_view word : before) {
            const std::string lower = Lower(word);
            if (EndsTerm(lower) || IsDigit(word.front()) || term.size() == 3)
                break;
            term.insert(term.begin(), word);
        }
        if (term.empty())
            continue;
        for (std::size_t k = 0; k < term.size(); ++k) {
            sign.Term += (k ? " " : "") + std::string(term[k]);
            sign.Key += (k ? " " : "") + Folded(term[k]);
        }
        sign.Head = Folded(term.back());
        found.push_back(std::move(sign));
    }
    return found;
}

std::string_view DescriptionBefore(const TClaimTree& Tree, std::string_view Text) {
    if (Tree.Claims.empty())
        return {};
    const std::size_t end = std::min(Tree.Claims.front().Offset, Text.size());
    const std::string_view before = Text.substr(0, end);
    int words = 0;
    bool inWord = false;
    for (char c : before) {
        const bool letter = IsLetter(c);
        if (letter && !inWord)
            ++words;
        inWord = letter;
    }
    return words >= 40 ? before : std::string_view();
}

namespace {

// The sign's number and letter, without primes: how a description writes it.
std::string SignBase(const std::string& Sign) {
    std::string base = Sign;
    while (!base.empty() && base.back() == '\'')
        base.pop_back();
    return base;
}

// Every "12", "12a" of Text that stands as a word of its own.
std::unordered_set<std::string> NumbersIn(std::string_view Text) {
    std::unordered_set<std::string> numbers;
    for (std::size_t i = 0; i < Text.size();) {
        if (!IsDigit(Text[i]) || (i > 0 && (IsLetter(Text[i - 1]) || IsDigit(Text[i - 1])))) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < Text.size() && IsDigit(Text[end]))
            ++end;
        numbers.emplace(Text.substr(i, end - i));
        if (end < Text.size() && Text[end] >= 'a' && Text[end] <= 'z' &&
            (end + 1 == Text.size() || !IsLetter(Text[end + 1])))
            numbers.emplace(Text.substr(i, end + 1 - i));
        i = end;
    }
    return numbers;
}

// Whether two heads name the same part: equal, or a German compound ending
// in the other ("Pumpengehäuse", "Gehäuse").
bool SameHead(const std::string& A, const std::string& B) {
    if (A == B)
        return true;
    const std::string& shorter = A.size() < B.size() ? A : B;
    const std::string& longer = A.size() < B.size() ? B : A;
    return shorter.size() >= 4 && longer.ends_with(shorter);
}

std::string Quoted(const std::string& Term) {
    return "\"" + Term + "\"";
}

std::string SignList(const std::vector<std::string>& Signs) {
    std::string text = "(";
    for (std::size_t i = 0; i < Signs.size(); ++i)
        text += (i ? ", " : "") + Signs[i];
    return text + ")";
}

} // namespace

void AddReferenceSignProblems(const TClaimTree& Tree, std::string_view Description,
                              std::vector<std::pair<std::size_t, TClaimProblem>>& Problems) {
    struct TFirstUse {
        std::string Head;
        std::string Term;
        int32_t Claim;
    };
    struct TTermSigns {
        std::set<std::string> Signs; // every sign the term has had
        std::string Term;
        std::string FirstSigns;
        int32_t Claim;
    };
    std::map<std::string, TFirstUse> bySign;
    std::map<std::string, TTermSigns> byTerm;
    std::set<std::pair<std::string, std::string>> told; // sign or term, and the other
    std::set<std::string> unused;
    const bool described = !Description.empty();
    const std::unordered_set<std::string> described_numbers =
        described ? NumbersIn(Description) : std::unordered_set<std::string>();

    for (const TClaim& claim : Tree.Claims) {
        const std::string here = " in claim " + std::to_string(claim.Number);
        const auto add = [&](std::string Message) {
            Problems.emplace_back(claim.Index,
                                  TClaimProblem{claim.Number, claim.Line, TSeverity::Warning,
                                                TProblemKind::ReferenceSign, std::move(Message)});
        };
        // " in claim 1" after what the first use had, or nothing when it
        // was in this claim too.
        const auto there = [&](int32_t Claim) {
            return Claim == claim.Number ? std::string() : " in claim " + std::to_string(Claim);
        };
        for (const TReferenceSign& sign : ReferenceSignsOf(claim.Text)) {
            // One term, two signs: none of these signs was ever the term's.
            auto [term, newTerm] = byTerm.try_emplace(
                sign.Key, TTermSigns{{}, sign.Term, SignList(sign.Signs), claim.Number});
            const auto& termSigns = term->second.Signs;
            const bool shared = std::any_of(sign.Signs.begin(), sign.Signs.end(),
                                            [&](auto& s) { return termSigns.count(s) != 0; });
            if (!newTerm && !shared && told.emplace(sign.Key, SignList(sign.Signs)).second)
                add(Quoted(sign.Term) + " has the reference sign " + SignList(sign.Signs) +
                    (term->second.Claim == claim.Number
                         ? " and " + term->second.FirstSigns + here
                         : here + " and " + term->second.FirstSigns + there(term->second.Claim)) +
                    "; a part keeps one sign.");
            term->second.Signs.insert(sign.Signs.begin(), sign.Signs.end());

            for (const std::string& s : sign.Signs) {
                // One sign, two parts.
                auto [first, newSign] =
                    bySign.try_emplace(s, TFirstUse{sign.Head, sign.Term, claim.Number});
                if (!newSign && !SameHead(first->second.Head, sign.Head) &&
                    told.emplace("(" + s + ")", sign.Head).second)
                    add("The reference sign (" + s + ") stands for " + Quoted(sign.Term) +
                        (first->second.Claim == claim.Number
                             ? " and for " + Quoted(first->second.Term) + here
                             : here + " and for " + Quoted(first->second.Term) +
                                   there(first->second.Claim)) +
                        "; a sign names one part.");
                if (described && described_numbers.count(SignBase(s)) == 0 &&
                    unused.insert(SignBase(s)).second)
                    add("The reference sign (" + s + ") of " + Quoted(sign.Term) + here +
                        " is never used in the description.");
            }
        }
    }
}
