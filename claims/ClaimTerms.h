#pragma once

// The noun phrases of a claim as antecedent basis sees them: those an
// article or a quantity introduces ("a valve", "zwei Ventile", "une tige"),
// those a definite article refers back with ("the valve", "das Ventil",
// "la tige"), and the bare ones ("comprising water") that count as an
// introduction but name no term of their own.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TClaimTree;

enum class TTermLanguage { Other, English, German, French };

// The language of the claim set, from the articles of its claims: Other
// when none of the three is clearly there.
TTermLanguage TermLanguageOf(const TClaimTree& Tree);

enum class TPhraseRole { Introduction, Reference, Bare };

// How many things a phrase speaks of, as far as English shows it.
enum class TPhraseNumber { One, Many, Any };

struct TNounPhrase {
    TPhraseRole Role = TPhraseRole::Bare;
    // The phrase in the claim's text: Start is its determiner's first byte
    // (or its first word's, for a bare phrase), Words..End its words.
    std::size_t Start = 0;
    std::size_t Words = 0;
    std::size_t End = 0;
    // Folded words: lower case, singular, ordinals as "#1"; and where
    // each word ends in the text.
    std::vector<std::string> Folded;
    std::vector<std::size_t> WordEnds;
    TPhraseNumber Number = TPhraseNumber::One;
    // Whether the phrase may end before word k: "uses" in "the step uses"
    // may be the verb. Never for the first word.
    std::vector<bool> MayEndBefore;
    // A reference by "each" or "every": one of many.
    bool Each = false;
    // A reference that needs no antecedent: a property ("the length of"),
    // a word that names no element ("the art"), the claim's own subject.
    bool Exempt = false;
};

// The noun phrases of Text in order. Dependent is true when the claim
// refers to others: its first phrase names their subject. Utf8 is false for
// a text read as Windows-1252 (TClaimTree::TextIsUtf8).
std::vector<TNounPhrase> ReadNounPhrases(std::string_view Text, TTermLanguage Language,
                                         bool Dependent, bool Utf8 = true);

// Whether a reference's words find their introduction in Intro's words:
// equal, or the reference names the introduction's head with fewer of its
// modifiers ("the valve" for "an inlet valve").
bool PhraseMatches(const std::vector<std::string>& Reference, const std::vector<std::string>& Intro,
                   TTermLanguage Language);

// Every word of Text folded as phrases fold them, with the byte it starts
// at; a hyphenated word also gives its parts ("skin-care": "skin", "care").
std::vector<std::pair<std::size_t, std::string>>
FoldedWords(std::string_view Text, TTermLanguage Language, bool Utf8 = true);

// Words that point at something the claim need not have introduced: "the
// highest", "the resulting", "the minimum".
bool IsImplicitModifier(std::string_view Folded, TTermLanguage Language);

// A measure of something ("the temperature", "die Drehzahl", "le débit"):
// a property of what the claim has, introduced or not.
bool IsPropertyWord(std::string_view Folded, TTermLanguage Language);
