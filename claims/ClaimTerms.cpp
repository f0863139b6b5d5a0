#include "ClaimTerms.h"

#include "ClaimTree.h"
#include "TextEncoding.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <unordered_set>

namespace {

// ---------------------------------------------------------------- words

enum class TTokenKind { Word, Number, Sign, Punct };

struct TToken {
    TTokenKind Kind = TTokenKind::Punct;
    std::size_t Begin = 0;
    std::size_t End = 0;
    std::string Lower; // a word in lower case
    bool Capital = false;
    bool Elided = false; // French "l'", "d'": an apostrophe followed
};

bool IsAsciiLetter(unsigned char C) {
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z');
}
bool IsDigit(unsigned char C) {
    return C >= '0' && C <= '9';
}

// A text read as Windows-1252: its bytes 0x80 to 0xBF are marks, not letters.
thread_local bool Windows1252 = false;

// Bytes of a punctuation mark at I that UTF-8 writes in several bytes
// (quotes, dashes, the no-break space, the degree sign); 0 for none.
std::size_t WidePunctAt(std::string_view Text, std::size_t I) {
    const auto c = static_cast<unsigned char>(Text[I]);
    if (Windows1252)
        return c >= 0x80 && c <= 0xBF ? 1 : 0;
    if (c == 0xE2 && I + 2 < Text.size() && static_cast<unsigned char>(Text[I + 1]) == 0x80)
        return 3;
    if (c == 0xC2 && I + 1 < Text.size())
        return 2;
    return 0;
}

bool IsApostropheAt(std::string_view Text, std::size_t I) {
    if (Text[I] == '\'')
        return true;
    if (Windows1252)
        return static_cast<unsigned char>(Text[I]) == 0x92;
    return I + 2 < Text.size() && static_cast<unsigned char>(Text[I]) == 0xE2 &&
           static_cast<unsigned char>(Text[I + 1]) == 0x80 &&
           (static_cast<unsigned char>(Text[I + 2]) == 0x99 ||
            static_cast<unsigned char>(Text[I + 2]) == 0x98);
}

bool IsWordByteAt(std::string_view Text, std::size_t I) {
    const auto c = static_cast<unsigned char>(Text[I]);
    return IsAsciiLetter(c) || IsDigit(c) || (c >= 0x80 && WidePunctAt(Text, I) == 0);
}

// ASCII and the Latin-1 capitals of UTF-8 ("Ä", "É") in lower case.
std::string Lowered(std::string_view Word, bool& Capital) {
    std::string out(Word);
    Capital = false;
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 32);
            Capital = Capital || i == 0;
        } else if (c == 0xC3 && i + 1 < out.size()) {
            const auto n = static_cast<unsigned char>(out[i + 1]);
            if (n >= 0x80 && n <= 0x9E && n != 0x97) {
                out[i + 1] = static_cast<char>(n + 32);
                Capital = Capital || i == 0;
            }
            ++i;
        }
    }
    return out;
}

bool IsElisionWord(std::string_view Lower) {
    for (const char* w : {"l", "d", "qu", "n", "s", "c", "j", "jusqu", "lorsqu", "puisqu"})
        if (Lower == w)
            return true;
    return false;
}

std::vector<TToken> TokensOf(std::string_view Text, bool French) {
    std::vector<TToken> tokens;
    std::size_t i = 0;
    while (i < Text.size()) {
        const auto c = static_cast<unsigned char>(Text[i]);
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        TToken token;
        token.Begin = i;
        if (IsWordByteAt(Text, i)) {
            std::size_t j = i;
            while (j < Text.size()) {
                if (IsWordByteAt(Text, j))
                    ++j;
                else if (Text[j] == '-' && j + 1 < Text.size() && IsWordByteAt(Text, j + 1))
                    ++j;
                else
                    break;
            }
            token.End = j;
            token.Kind = IsDigit(c) ? TTokenKind::Number : TTokenKind::Word;
            token.Lower = Windows1252
                              ? Lowered(Windows1252ToUtf8(Text.substr(i, j - i)), token.Capital)
                              : Lowered(Text.substr(i, j - i), token.Capital);
            if (French && j < Text.size() && IsApostropheAt(Text, j) &&
                IsElisionWord(token.Lower)) {
                token.Elided = true;
                j += Text[j] == '\'' || Windows1252 ? 1 : 3;
            }
            i = j;
        } else if (c == '(') {
            // "(2)", "(12a, 14)": a drawing's reference sign, read past.
            const std::size_t close = Text.find(')', i);
            const bool sign =
                close != std::string_view::npos && close - i <= 24 &&
                std::any_of(Text.begin() + static_cast<std::ptrdiff_t>(i),
                            Text.begin() + static_cast<std::ptrdiff_t>(close),
                            [](char b) { return IsDigit(static_cast<unsigned char>(b)); });
            token.Kind = sign ? TTokenKind::Sign : TTokenKind::Punct;
            i = sign ? close + 1 : i + 1;
        } else {
            const std::size_t wide = WidePunctAt(Text, i);
            i += wide == 0 ? 1 : wide;
        }
        if (token.End == 0)
            token.End = i;
        tokens.push_back(std::move(token));
    }
    return tokens;
}

using TWordSet = std::unordered_set<std::string_view>;

bool In(const TWordSet& Set, std::string_view Word) {
    return Set.count(Word) != 0;
}

bool EndsWith(std::string_view Word, std::string_view End) {
    return Word.size() >= End.size() && Word.substr(Word.size() - End.size()) == End;
}

// ---------------------------------------------------------------- English

const TWordSet EnglishStops = {"a",
                               "an",
                               "the",
                               "said",
                               "each",
                               "every",
                               "this",
                               "these",
                               "those",
                               "that",
                               "which",
                               "who",
                               "whose",
                               "whom",
                               "what",
                               "it",
                               "its",
                               "they",
                               "them",
                               "their",
                               "there",
                               "here",
                               "such",
                               "any",
                               "all",
                               "both",
                               "either",
                               "neither",
                               "some",
                               "no",
                               "not",
                               "only",
                               "also",
                               "further",
                               "furthermore",
                               "and",
                               "or",
                               "nor",
                               "but",
                               "than",
                               "as",
                               "if",
                               "so",
                               "then",
                               "thus",
                               "when",
                               "where",
                               "while",
                               "whereas",
                               "wherein",
                               "whereby",
                               "wherefrom",
                               "whereon",
                               "thereby",
                               "therein",
                               "thereof",
                               "thereon",
                               "thereto",
                               "therefrom",
                               "therewith",
                               "therethrough",
                               "thereafter",
                               "hereby",
                               "herein",
                               "of",
                               "in",
                               "on",
                               "at",
                               "to",
                               "for",
                               "with",
                               "without",
                               "by",
                               "from",
                               "into",
                               "onto",
                               "between",
                               "among",
                               "through",
                               "throughout",
                               "within",
                               "over",
                               "under",
                               "above",
                               "below",
                               "about",
                               "against",
                               "along",
                               "around",
                               "via",
                               "upon",
                               "across",
                               "after",
                               "before",
                               "behind",
                               "beneath",
                               "beside",
                               "besides",
                               "beyond",
                               "toward",
                               "towards",
                               "out",
                               "up",
                               "down",
                               "off",
                               "away",
                               "together",
                               "relative",
                               "respect",
                               "according",
                               "per",
                               "is",
                               "are",
                               "was",
                               "were",
                               "be",
                               "being",
                               "been",
                               "has",
                               "have",
                               "having",
                               "had",
                               "do",
                               "does",
                               "can",
                               "may",
                               "must",
                               "shall",
                               "will",
                               "should",
                               "could",
                               "would",
                               "comprise",
                               "comprises",
                               "comprising",
                               "comprised",
                               "include",
                               "includes",
                               "including",
                               "consist",
                               "consists",
                               "consisting",
                               "contain",
                               "contains",
                               "containing",
                               "configured",
                               "adapted",
                               "arranged",
                               "operable",
                               "capable",
                               "disposed",
                               "located",
                               "positioned",
                               "mounted",
                               "coupled",
                               "connected",
                               "attached",
                               "provided",
                               "defining",
                               "defines",
                               "defined",
                               "forming",
                               "forms",
                               "extending",
                               "extends",
                               "selected",
                               "wherewith",
                               "whereupon",
                               "least",
                               "more",
                               "less",
                               "most",
                               "much",
                               "many",
                               "several",
                               "other",
                               "than",
                               "very",
                               "same",
                               "one",
                               "two",
                               "three",
                               "four",
                               "five",
                               "six",
                               "seven",
                               "eight",
                               "nine",
                               "ten",
                               "plurality",
                               "claim",
                               "claims",
                               "characterized",
                               "characterised",
                               "via",
                               "i.e",
                               "e.g",
                               "etc",
                               "like",
                               "during",
                               "until",
                               "once",
                               "already",
                               "itself",
                               "themselves",
                               "alone",
                               "again",
                               "cannot",
                               "whether",
                               "because",
                               "due",
                               "outward",
                               "inward",
                               "upward",
                               "downward",
                               "outwards",
                               "inwards",
                               "upwards",
                               "downwards",
                               "therebetween",
                               "thereunder",
                               "thereabove",
                               "otherwise",
                               "instead",
                               "even",
                               "still",
                               "yet",
                               "just",
                               "too",
                               "very",
                               "however",
                               "respectively",
                               "given",
                               "taken",
                               "made",
                               "held",
                               "driven",
                               "shown",
                               "known",
                               "chosen",
                               "drawn",
                               "sent",
                               "kept",
                               "seen",
                               "done"};

// "Housing", "ring": nouns that end as a verb's form does.
const TWordSet EnglishIngNouns = {
    "ring",      "spring",   "string",    "wing",     "thing",    "bearing",  "housing",
    "opening",   "casing",   "coating",   "fitting",  "coupling", "winding",  "lining",
    "seating",   "mounting", "tubing",    "piping",   "filling",  "ceiling",  "building",
    "setting",   "drawing",  "recording", "bushing",  "packing",  "sealing",  "sheathing",
    "grating",   "fairing",  "facing",    "marking",  "molding",  "moulding", "padding",
    "railing",   "wiring",   "plating",   "footing",  "flooring", "siding",   "coding",
    "heading",   "reading",  "landing",   "handling", "binding",  "clothing", "wrapping",
    "wrapper",   "bedding",  "backing",   "topping",  "dressing", "lighting", "engraving",
    "building",  "carving",  "printing",  "painting", "planting", "stuffing", "earring",
    "o-ring",    "spacing",  "cladding",  "decking",  "fencing",  "framing",  "netting",
    "screening", "shelving", "fastening", "stocking", "living",   "being",    "offering",
    "meaning",   "morning",  "evening"};

bool IsEnglishAdverb(std::string_view Word) {
    if (!EndsWith(Word, "ly") || Word.size() < 5)
        return false;
    // "Assembly", "supply", "family".
    return !EndsWith(Word, "mbly") && !EndsWith(Word, "pply") && !EndsWith(Word, "ily") &&
           !EndsWith(Word, "oly") && Word != "anomaly";
}

// A form that follows its noun as a participle or adjective does: "a rod
// connected", "a member movable".
bool IsEnglishVerbLike(std::string_view Word) {
    if (Word.size() >= 5 && EndsWith(Word, "ed") && !EndsWith(Word, "eed"))
        return true;
    if (Word.size() >= 5 && EndsWith(Word, "ing") && !In(EnglishIngNouns, Word))
        return true;
    return Word.size() >= 6 && (EndsWith(Word, "able") || EndsWith(Word, "ible"));
}

int32_t EnglishOrdinal(std::string_view Word) {
    static const std::array<std::string_view, 10> words = {"first", "second", "third",   "fourth",
                                                           "fifth", "sixth",  "seventh", "eighth",
                                                           "ninth", "tenth"};
    for (std::size_t i = 0; i < words.size(); ++i)
        if (Word == words[i])
            return static_cast<int32_t>(i) + 1;
    return 0;
}

// Singular of an English noun; Plural tells whether it was one.
std::string EnglishSingular(const std::string& Word, bool& Plural) {
    Plural = false;
    if (Word.size() < 4 || Word.back() != 's' || EndsWith(Word, "ss") || EndsWith(Word, "us") ||
        EndsWith(Word, "is"))
        return Word;
    Plural = true;
    if (EndsWith(Word, "ies"))
        return Word.substr(0, Word.size() - 3) + "y";
    for (const char* end : {"sses", "shes", "ches", "xes", "zes"})
        if (EndsWith(Word, end))
            return Word.substr(0, Word.size() - 2);
    return Word.substr(0, Word.size() - 1);
}

// ---------------------------------------------------------------- German

const TWordSet GermanStops = {"und",        "oder",
                              "sowie",      "bzw",
                              "mit",        "von",
                              "vom",        "zu",
                              "zum",        "zur",
                              "in",         "im",
                              "an",         "am",
                              "auf",        "aus",
                              "bei",        "beim",
                              "durch",      "für",
                              "gegen",      "ohne",
                              "um",         "über",
                              "unter",      "vor",
                              "hinter",     "neben",
                              "zwischen",   "nach",
                              "seit",       "entlang",
                              "innerhalb",  "außerhalb",
                              "ist",        "sind",
                              "wird",       "werden",
                              "wurde",      "ist",
                              "hat",        "haben",
                              "weist",      "aufweist",
                              "aufweisen",  "umfasst",
                              "umfassen",   "umfassend",
                              "enthält",    "kann",
                              "können",     "soll",
                              "wobei",      "wodurch",
                              "womit",      "welche",
                              "welcher",    "welches",
                              "welchen",    "welchem",
                              "dass",       "als",
                              "wie",        "wenn",
                              "sich",       "nicht",
                              "auch",       "so",
                              "dadurch",    "gekennzeichnet",
                              "derart",     "insbesondere",
                              "mindestens", "wenigstens",
                              "jeweils",    "dessen",
                              "deren",      "diese",
                              "dieser",     "dieses",
                              "diesen",     "diesem",
                              "sein",       "seine",
                              "seiner",     "seinem",
                              "seinen",     "ihr",
                              "ihre",       "ihrem",
                              "ihren",      "ihrer",
                              "es",         "er",
                              "sie",        "eine",
                              "ein",        "einen",
                              "einem",      "eines",
                              "einer",      "der",
                              "die",        "das",
                              "den",        "dem",
                              "des",        "kein",
                              "keine",      "mehrere",
                              "zwei",       "drei",
                              "vier",       "fünf",
                              "anspruch",   "ansprüche",
                              "ansprüchen", "anspruchs",
                              "dann",       "ferner",
                              "weiter",     "weiterhin",
                              "zumindest",  "zusätzlich",
                              "bzw.",       "d",
                              "h",          "z",
                              "b"};

// The stem German nouns and adjectives share across their endings:
// "Ventil", "Ventile", "Ventilen"; "Kammer", "Kammern".
std::string GermanStem(std::string Word) {
    const auto strip = [&](std::initializer_list<const char*> Ends) {
        for (const char* end : Ends) {
            const std::string_view e(end);
            if (Word.size() >= e.size() + 3 && EndsWith(Word, e)) {
                Word.resize(Word.size() - e.size());
                return;
            }
        }
    };
    strip({"en", "er", "es", "em", "e", "n", "s"});
    strip({"er", "e", "n"});
    return Word;
}

int32_t GermanOrdinal(std::string_view Word) {
    static const std::array<std::string_view, 10> stems = {
        "erst", "zweit", "dritt", "viert", "fünft", "sechst", "siebt", "acht", "neunt", "zehnt"};
    for (std::size_t i = 0; i < stems.size(); ++i) {
        if (Word.substr(0, stems[i].size()) != stems[i])
            continue;
        const std::string_view rest = Word.substr(stems[i].size());
        if (rest == "e" || rest == "er" || rest == "es" || rest == "en" || rest == "em")
            return static_cast<int32_t>(i) + 1;
    }
    return 0;
}

// ---------------------------------------------------------------- French

const TWordSet FrenchStops = {"et",
                              "ou",
                              "de",
                              "du",
                              "des",
                              "à",
                              "au",
                              "aux",
                              "en",
                              "dans",
                              "sur",
                              "sous",
                              "par",
                              "pour",
                              "avec",
                              "sans",
                              "entre",
                              "vers",
                              "contre",
                              "selon",
                              "chez",
                              "depuis",
                              "pendant",
                              "parmi",
                              "est",
                              "sont",
                              "être",
                              "étant",
                              "a",
                              "ont",
                              "avoir",
                              "ayant",
                              "comprend",
                              "comprennent",
                              "comprenant",
                              "comporte",
                              "comportant",
                              "présentant",
                              "présente",
                              "qui",
                              "que",
                              "qu",
                              "dont",
                              "où",
                              "lequel",
                              "laquelle",
                              "lesquels",
                              "lesquelles",
                              "auquel",
                              "duquel",
                              "ce",
                              "cet",
                              "cette",
                              "ces",
                              "son",
                              "sa",
                              "ses",
                              "leur",
                              "leurs",
                              "se",
                              "ne",
                              "pas",
                              "plus",
                              "moins",
                              "ainsi",
                              "également",
                              "aussi",
                              "caractérisé",
                              "caractérisée",
                              "tel",
                              "telle",
                              "tels",
                              "telles",
                              "le",
                              "la",
                              "les",
                              "l",
                              "un",
                              "une",
                              "d",
                              "ledit",
                              "ladite",
                              "lesdits",
                              "lesdites",
                              "audit",
                              "dudit",
                              "auxdits",
                              "chaque",
                              "plusieurs",
                              "deux",
                              "trois",
                              "quatre",
                              "cinq",
                              "moins",
                              "revendication",
                              "revendications",
                              "dans",
                              "lorsque",
                              "quand",
                              "si",
                              "alors",
                              "n",
                              "s",
                              "c",
                              "j",
                              "jusqu",
                              "lorsqu",
                              "puisqu",
                              "peut",
                              "peuvent",
                              "sensiblement",
                              "agencé",
                              "agencée",
                              "configuré",
                              "configurée",
                              "apte",
                              "adapté",
                              "adaptée",
                              "disposé",
                              "disposée",
                              "monté",
                              "montée",
                              "relié",
                              "reliée",
                              "fixé",
                              "fixée"};

std::string FrenchSingular(const std::string& Word) {
    if (Word.size() >= 4 && (Word.back() == 's' || Word.back() == 'x') && !EndsWith(Word, "ss"))
        return Word.substr(0, Word.size() - 1);
    return Word;
}

int32_t FrenchOrdinal(std::string_view Word) {
    for (const auto& [word, value] :
         std::initializer_list<std::pair<std::string_view, int32_t>>{{"premier", 1},
                                                                     {"première", 1},
                                                                     {"premiers", 1},
                                                                     {"premières", 1},
                                                                     {"second", 2},
                                                                     {"seconde", 2},
                                                                     {"seconds", 2},
                                                                     {"secondes", 2},
                                                                     {"deuxième", 2},
                                                                     {"deuxièmes", 2},
                                                                     {"troisième", 3},
                                                                     {"troisièmes", 3},
                                                                     {"quatrième", 4},
                                                                     {"quatrièmes", 4},
                                                                     {"cinquième", 5},
                                                                     {"cinquièmes", 5}})
        if (Word == word)
            return value;
    return 0;
}

// ---------------------------------------------------------------- shared

bool IsClaimWord(std::string_view Lower) {
    return Lower.substr(0, 5) == "claim" || Lower.substr(0, 8) == "anspruch" ||
           Lower.substr(0, 9) == "ansprüch" || Lower.substr(0, 13) == "revendication";
}

std::string OrdinalFold(int32_t Ordinal) {
    return "#" + std::to_string(Ordinal);
}

struct TLanguageWords {
    TWordSet Intro;       // "a", "ein", "une"
    TWordSet Reference;   // "the", "der", "la"
    TWordSet Each;        // "each", "jede", "chaque"
    TWordSet Counts;      // "two", "zwei", "deux": a quantity
    TWordSet Inherent;    // after a reference: "of", "des", "de"
    TWordSet FirstExempt; // first words of references that need no antecedent
    TWordSet HeadExempt;  // heads (folded) that name no element
    const TWordSet* Stops = nullptr;
};

const TLanguageWords& WordsOf(TTermLanguage Language) {
    static const TLanguageWords english{
        {"a", "an", "several", "multiple"},
        {"the", "said"},
        {"each", "every"},
        {"two", "three", "four", "five", "six", "seven", "eight", "nine", "ten", "several",
         "multiple"},
        {"of", "thereof", "between", "among", "amongst"},
        {"other",   "same",  "like",     "art",    "following",  "preceding", "foregoing",
         "above",   "below", "latter",   "former", "respective", "remaining", "rest",
         "present", "prior", "previous", "one",    "next",       "whole",     "entire"},
        {"art",      "step",      "method",  "process", "invention", "form",   "range",
         "amount",   "presence",  "absence", "group",   "way",       "manner", "case",
         "extent",   "purpose",   "time",    "result",  "use",       "sum",    "total",
         "majority", "remainder", "order",   "balance", "number"},
        &EnglishStops};
    static const TLanguageWords german{
        {"ein", "eine", "einen", "einem", "eines", "einer", "mehrere"},
        {"der", "die", "das", "den", "dem", "des", "besagte", "besagten", "besagter", "besagtes",
         "besagtem"},
        {"jede", "jeder", "jedes", "jeden", "jedem"},
        {"zwei", "drei", "vier", "fünf", "sechs", "sieben", "acht", "neun", "zehn", "mehrere"},
        {"des", "der", "eines", "einer", "von", "vom"},
        {"andere",        "anderen",        "anderer",     "anderes",      "gleiche",
         "gleichen",      "selbe",          "selben",      "folgende",     "folgenden",
         "vorhergehende", "vorhergehenden", "vorstehende", "vorstehenden", "obige",
         "obigen",        "jeweilige",      "jeweiligen",  "übrige",       "übrigen",
         "vorliegende",   "vorliegenden",   "letztere",    "letzteren"},
        {"verfahr", "schritt", "erfindung", "form", "bereich", "meng", "anwesenheit", "grupp",
         "weis", "art", "fall", "zeit", "summ", "rest"},
        &GermanStops};
    static const TLanguageWords french{
        {"un", "une", "des", "plusieurs"},
        {"le", "la", "les", "l", "du", "au", "aux", "ledit", "ladite", "lesdits", "lesdites",
         "audit", "dudit", "auxdits", "auxdites", "desdits", "desdites"},
        {"chaque"},
        {"deux", "trois", "quatre", "cinq", "six", "sept", "huit", "neuf", "dix", "plusieurs"},
        {"de", "d", "du", "des"},
        {"autre",      "autres",      "même",        "mêmes",     "suivant",
         "suivante",   "suivants",    "suivantes",   "précédent", "précédente",
         "précédents", "précédentes", "présent",     "présente",  "respectif",
         "respective", "respectifs",  "respectives", "reste",     "ensemble"},
        {"procédé", "méthode", "étape", "invention", "forme", "gamme", "plage", "quantité",
         "présence", "absence", "groupe", "manière", "façon", "ca", "foi", "temp"},
        &FrenchStops};
    switch (Language) {
    case TTermLanguage::German:
        return german;
    case TTermLanguage::French:
        return french;
    default:
        return english;
    }
}

// Words a collective noun introduces after it: "a plurality of", "eine
// Vielzahl von", "une pluralité de".
bool IsCollective(TTermLanguage Language, std::string_view Lower) {
    switch (Language) {
    case TTermLanguage::German:
        return Lower == "mehrzahl" || Lower == "vielzahl" || Lower == "anzahl" || Lower == "reihe";
    case TTermLanguage::French:
        return Lower == "pluralité" || Lower == "multitude" || Lower == "série" ||
               Lower == "nombre" || Lower == "ensemble";
    default:
        return Lower == "plurality" || Lower == "pair" || Lower == "set" || Lower == "number" ||
               Lower == "series" || Lower == "multitude" || Lower == "multiplicity" ||
               Lower == "array" || Lower == "variety";
    }
}

bool IsCollectiveLink(TTermLanguage Language, const TToken& Token) {
    switch (Language) {
    case TTermLanguage::German:
        return Token.Lower == "von";
    case TTermLanguage::French:
        return Token.Lower == "de" || (Token.Lower == "d" && Token.Elided);
    default:
        return Token.Lower == "of";
    }
}

class TPhraseReader {
public:
    TPhraseReader(std::string_view Text, TTermLanguage Language, bool Dependent)
        : text(Text), language(Language), words(WordsOf(Language)), dependent(Dependent),
          tokens(TokensOf(Text, Language == TTermLanguage::French)) {}

    std::vector<TNounPhrase> Read() {
        std::size_t i = 0;
        while (i < tokens.size()) {
            const std::size_t next = ReadAt(i);
            i = next > i ? next : i + 1;
        }
        return std::move(phrases);
    }

private:
    bool IsWord(std::size_t I) const {
        return I < tokens.size() && tokens[I].Kind == TTokenKind::Word;
    }
    const std::string& LowerAt(std::size_t I) const {
        static const std::string none;
        return I < tokens.size() ? tokens[I].Lower : none;
    }
    bool Is(std::size_t I, std::string_view Word) const {
        return IsWord(I) && tokens[I].Lower == Word;
    }
    bool IsStop(std::size_t I) const {
        return !IsWord(I) || In(*words.Stops, tokens[I].Lower) ||
               (language == TTermLanguage::English && IsEnglishAdverb(tokens[I].Lower));
    }

    // Reads what starts at token I; returns the token after it.
    std::size_t ReadAt(std::size_t I) {
        if (!IsWord(I))
            return I + 1;
        const TToken& t = tokens[I];
        // French "pour la fixer": an object pronoun before a verb.
        if (language == TTermLanguage::French && I > 0 &&
            (t.Lower == "le" || t.Lower == "la" || t.Lower == "les" ||
             (t.Lower == "l" && t.Elided))) {
            const std::string& before = LowerAt(I - 1);
            const std::string& after = LowerAt(I + 1);
            if ((before == "pour" || before == "qui" || before == "ne" || before == "que" ||
                 before == "se") &&
                (EndsWith(after, "er") || EndsWith(after, "ir") || EndsWith(after, "re")))
                return I + 2;
        }
        // German "ein Gebläse, das Luft fördert": a relative pronoun.
        if (language == TTermLanguage::German && I > 0 && tokens[I - 1].Kind == TTokenKind::Punct &&
            text[tokens[I - 1].Begin] == ',' &&
            (t.Lower == "der" || t.Lower == "die" || t.Lower == "das" || t.Lower == "dem" ||
             t.Lower == "den"))
            return I + 1;
        TNounPhrase phrase;
        phrase.Start = t.Begin;
        std::size_t at = I + 1;
        // French "comprenant du charbon": "du" after no noun is partitive,
        // an introduction; after a noun it is "de le", a reference.
        const bool partitive = language == TTermLanguage::French && t.Lower == "du" &&
                               (I == 0 || IsStop(I - 1) || EndsWith(LowerAt(I - 1), "ant"));
        if (partitive) {
            phrase.Role = TPhraseRole::Introduction;
            phrase.Number = TPhraseNumber::Any;
        } else if (In(words.Reference, t.Lower)) {
            phrase.Role = TPhraseRole::Reference;
            at = SkipQuantity(at, phrase.Number);
        } else if (In(words.Each, t.Lower)) {
            phrase.Role = TPhraseRole::Reference;
            phrase.Each = true;
        } else if (language == TTermLanguage::English && t.Lower == "at" && Is(I + 1, "least")) {
            phrase.Role = TPhraseRole::Introduction;
            phrase.Number = TPhraseNumber::Any;
            at = I + 2;
            if (Is(at, "one") || In(words.Counts, LowerAt(at)))
                ++at;
        } else if (language == TTermLanguage::German &&
                   (t.Lower == "mindestens" || t.Lower == "wenigstens")) {
            phrase.Role = TPhraseRole::Introduction;
            phrase.Number = TPhraseNumber::Any;
            if (IsWord(at) && (LowerAt(at).substr(0, 3) == "ein" || In(words.Counts, LowerAt(at))))
                ++at;
        } else if (language == TTermLanguage::French && t.Lower == "au" && Is(I + 1, "moins")) {
            phrase.Role = TPhraseRole::Introduction;
            phrase.Number = TPhraseNumber::Any;
            at = I + 2;
            if (Is(at, "un") || Is(at, "une") || In(words.Counts, LowerAt(at)))
                ++at;
        } else if (language == TTermLanguage::English && t.Lower == "one" && Is(I + 1, "or") &&
                   Is(I + 2, "more")) {
            phrase.Role = TPhraseRole::Introduction;
            phrase.Number = TPhraseNumber::Any;
            at = I + 3;
        } else if (In(words.Intro, t.Lower) || In(words.Counts, t.Lower)) {
            phrase.Role = TPhraseRole::Introduction;
            if (In(words.Counts, t.Lower))
                phrase.Number = TPhraseNumber::Many;
            // "two or more", "one or more"
            if (Is(at, "or") && Is(at + 1, "more")) {
                phrase.Number = TPhraseNumber::Any;
                at += 2;
            }
            if (IsWord(at) && IsCollective(language, LowerAt(at)) && at + 1 < tokens.size() &&
                IsCollectiveLink(language, tokens[at + 1])) {
                phrase.Number = TPhraseNumber::Many;
                at += 2;
            }
        } else {
            return ReadBare(I);
        }
        return ReadWords(at, std::move(phrase));
    }

    // After "the": "at least one", "one or more", "plurality of", "two".
    std::size_t SkipQuantity(std::size_t At, TPhraseNumber& Number) {
        if (language == TTermLanguage::English) {
            if (Is(At, "at") && Is(At + 1, "least")) {
                Number = TPhraseNumber::Any;
                At += 2;
                if (Is(At, "one") || In(words.Counts, LowerAt(At)))
                    ++At;
            } else if (Is(At, "one") && Is(At + 1, "or") && Is(At + 2, "more")) {
                Number = TPhraseNumber::Any;
                At += 3;
            } else if (In(words.Counts, LowerAt(At))) {
                Number = TPhraseNumber::Many;
                ++At;
            }
        } else if (language == TTermLanguage::German && Is(At, "mindestens")) {
            At += IsWord(At + 1) && LowerAt(At + 1).substr(0, 3) == "ein" ? 2 : 1;
        } else if (In(words.Counts, LowerAt(At))) {
            ++At;
        }
        // "the plurality of valves" speaks of the valves; "the number of
        // valves" of a property of theirs.
        const std::string& word = LowerAt(At);
        if ((word == "plurality" || word == "mehrzahl" || word == "vielzahl" ||
             word == "pluralité") &&
            At + 1 < tokens.size() && IsCollectiveLink(language, tokens[At + 1])) {
            Number = TPhraseNumber::Many;
            At += 2;
        }
        return At;
    }

    // The words of a phrase from At: its modifiers and head as each
    // language orders them.
    std::size_t ReadWords(std::size_t At, TNounPhrase Phrase) {
        std::vector<std::size_t> taken;
        std::size_t end = At;
        if (language == TTermLanguage::English) {
            while (taken.size() < 6 && !IsStop(end)) {
                taken.push_back(end);
                ++end;
                // A plural noun is the head: what follows is its verb.
                bool plural = false;
                EnglishSingular(tokens[end - 1].Lower, plural);
                if (plural)
                    break;
            }
            // The phrase ends before a participle that follows its noun.
            for (std::size_t k = 1; k < taken.size(); ++k) {
                const bool verbLike = IsEnglishVerbLike(tokens[taken[k]].Lower);
                const bool nextToo =
                    k + 1 == taken.size() || IsEnglishVerbLike(tokens[taken[k + 1]].Lower);
                if (verbLike && nextToo) {
                    taken.resize(k);
                    break;
                }
            }
        } else if (language == TTermLanguage::German) {
            // Lower-case adjectives, then the capitalised noun.
            while (taken.size() < 5 && IsWord(end) && !IsStop(end)) {
                taken.push_back(end);
                ++end;
                if (tokens[end - 1].Capital)
                    break;
            }
            if (taken.empty() || !tokens[taken.back()].Capital)
                taken.clear();
        } else {
            // Ordinals, the noun, and a complement "de X" without article.
            while (IsWord(end) && FrenchOrdinal(tokens[end].Lower) != 0) {
                taken.push_back(end);
                ++end;
            }
            if (!IsStop(end)) {
                taken.push_back(end);
                ++end;
                if (end + 1 < tokens.size() &&
                    (Is(end, "de") || (Is(end, "d") && tokens[end].Elided)) && !IsStop(end + 1) &&
                    FrenchOrdinal(tokens[end + 1].Lower) == 0) {
                    taken.push_back(end);
                    taken.push_back(end + 1);
                    end += 2;
                }
            } else {
                taken.clear();
            }
        }
        if (taken.empty())
            return At;
        Phrase.Words = tokens[taken.front()].Begin;
        Phrase.End = tokens[taken.back()].End;
        bool plural = false;
        for (std::size_t k = 0; k < taken.size(); ++k) {
            const std::string& lower = tokens[taken[k]].Lower;
            Phrase.Folded.push_back(Fold(lower, plural));
            Phrase.WordEnds.push_back(tokens[taken[k]].End);
            Phrase.MayEndBefore.push_back(language == TTermLanguage::English && k > 0 &&
                                          (IsEnglishVerbLike(lower) || lower.back() == 's'));
        }
        // A bare run of participles names nothing: "mounted", "rotating".
        if (Phrase.Role == TPhraseRole::Bare && language == TTermLanguage::English &&
            IsEnglishVerbLike(tokens[taken.back()].Lower))
            return taken.back() + 1;
        if (language != TTermLanguage::English) {
            Phrase.Number = TPhraseNumber::Any;
        } else if (plural && Phrase.Number == TPhraseNumber::One) {
            Phrase.Number = TPhraseNumber::Many;
        }
        if (Phrase.Role == TPhraseRole::Reference)
            Phrase.Exempt = ExemptReference(taken, Phrase);
        const std::size_t after = At + (taken.back() - At) + 1;
        if (NamesClaim(after) || (dependent && phrases.empty() && taken.front() <= 3)) {
            // The claim's subject, as its preamble names the claim it refers to.
            if (Phrase.Role == TPhraseRole::Introduction)
                Phrase.Role = TPhraseRole::Bare;
            else
                Phrase.Exempt = true;
        }
        phrases.push_back(std::move(Phrase));
        return after;
    }

    // A phrase without a determiner still counts as introduced ("comprising water").
    std::size_t ReadBare(std::size_t I) {
        if (IsStop(I) || (language == TTermLanguage::German && !tokens[I].Capital))
            return I + 1;
        TNounPhrase phrase;
        phrase.Role = TPhraseRole::Bare;
        phrase.Number = TPhraseNumber::Any;
        phrase.Start = tokens[I].Begin;
        if (language != TTermLanguage::English) {
            bool plural = false;
            phrase.Words = tokens[I].Begin;
            phrase.End = tokens[I].End;
            phrase.Folded.push_back(Fold(tokens[I].Lower, plural));
            phrase.WordEnds.push_back(tokens[I].End);
            phrases.push_back(std::move(phrase));
            return I + 1;
        }
        return ReadWords(I, std::move(phrase));
    }

    std::string Fold(const std::string& Lower, bool& Plural) const {
        switch (language) {
        case TTermLanguage::German:
            if (const int32_t n = GermanOrdinal(Lower))
                return OrdinalFold(n);
            return GermanStem(Lower);
        case TTermLanguage::French:
            if (const int32_t n = FrenchOrdinal(Lower))
                return OrdinalFold(n);
            return FrenchSingular(Lower);
        default:
            if (const int32_t n = EnglishOrdinal(Lower))
                return OrdinalFold(n);
            return EnglishSingular(Lower, Plural);
        }
    }

    // A claim word a few words on, nothing but words between: "the pump
    // as recited in claim 3", "la revendication 1".
    bool NamesClaim(std::size_t At) const {
        for (std::size_t i = At; i < tokens.size() && i < At + 6; ++i) {
            if (tokens[i].Kind != TTokenKind::Word)
                return false;
            if (IsClaimWord(tokens[i].Lower))
                return true;
        }
        return false;
    }

    bool ExemptReference(const std::vector<std::size_t>& Taken, const TNounPhrase& Phrase) const {
        if (In(words.FirstExempt, tokens[Taken.front()].Lower))
            return true;
        const std::string& head = language == TTermLanguage::French
                                      ? Phrase.Folded[FrenchHead(Phrase)]
                                      : Phrase.Folded.back();
        if (In(words.HeadExempt, head) || IsClaimWord(tokens[Taken.back()].Lower))
            return true;
        // A property of something else: "the length of the rod", "der
        // Antrieb (15) der Trommel".
        std::size_t after = Taken.back() + 1;
        while (after < tokens.size() && tokens[after].Kind == TTokenKind::Sign)
            ++after;
        // English "of" needs a determiner after it: "the blades of 1.5 mm"
        // still needs its blades.
        if (IsWord(after) && In(words.Inherent, tokens[after].Lower) &&
            (language != TTermLanguage::English || tokens[after].Lower == "thereof" ||
             (IsWord(after + 1) &&
              (In(words.Reference, LowerAt(after + 1)) || In(words.Intro, LowerAt(after + 1)) ||
               In(words.Each, LowerAt(after + 1)) || LowerAt(after + 1) == "its" ||
               LowerAt(after + 1) == "their" || LowerAt(after + 1) == "at" ||
               LowerAt(after + 1) == "one" || In(words.Counts, LowerAt(after + 1))))))
            return true;
        // "the valve's seat"
        if (after < tokens.size() && tokens[after].Kind == TTokenKind::Punct &&
            IsApostropheAt(text, tokens[after].Begin))
            return true;
        // "the piperidine or piperazine ring": a modifier of a noun further on.
        const bool listWord = Is(after, "or") || Is(after, "and") || Is(after, "oder") ||
                              Is(after, "und") || Is(after, "ou") || Is(after, "et");
        if (listWord && IsWord(after + 1) && !In(words.Reference, LowerAt(after + 1)) &&
            !In(words.Intro, LowerAt(after + 1)) && !In(words.Each, LowerAt(after + 1)))
            return true;
        // "the rate at which": the clause says which one.
        if (IsWord(after) && IsWord(after + 1) &&
            (LowerAt(after + 1) == "which" || LowerAt(after + 1) == "whom"))
            return true;
        // Labels of a formula: "the group OQ", "the residue R1".
        for (const std::size_t k : Taken) {
            const std::string_view word(text.data() + tokens[k].Begin,
                                        tokens[k].End - tokens[k].Begin);
            const auto upper = std::count_if(word.begin(), word.end(),
                                             [](char b) { return b >= 'A' && b <= 'Z'; });
            const auto digit = std::count_if(word.begin(), word.end(), [](char b) {
                return IsDigit(static_cast<unsigned char>(b));
            });
            if ((upper >= 2 && upper == static_cast<std::ptrdiff_t>(word.size())) ||
                (digit > 0 && upper > 0))
                return true;
        }
        return false;
    }

    static std::size_t FrenchHead(const TNounPhrase& Phrase) {
        std::size_t k = 0;
        while (k + 1 < Phrase.Folded.size() && Phrase.Folded[k][0] == '#')
            ++k;
        return k;
    }

    std::string_view text;
    TTermLanguage language;
    const TLanguageWords& words;
    bool dependent;
    std::vector<TToken> tokens;
    std::vector<TNounPhrase> phrases;
};

} // namespace

std::vector<TNounPhrase> ReadNounPhrases(std::string_view Text, TTermLanguage Language,
                                         bool Dependent, bool Utf8) {
    if (Language == TTermLanguage::Other)
        return {};
    Windows1252 = !Utf8;
    std::vector<TNounPhrase> phrases = TPhraseReader(Text, Language, Dependent).Read();
    Windows1252 = false;
    return phrases;
}

bool PhraseMatches(const std::vector<std::string>& Reference, const std::vector<std::string>& Intro,
                   TTermLanguage Language) {
    if (Reference.empty() || Reference.size() > Intro.size())
        return false;
    if (Language != TTermLanguage::French)
        return std::equal(Reference.rbegin(), Reference.rend(), Intro.rbegin());
    // French puts the noun first: ordinals as the introduction has them,
    // then its first words.
    const auto ordinals = [](const std::vector<std::string>& Words) {
        std::size_t k = 0;
        while (k < Words.size() && Words[k][0] == '#')
            ++k;
        return k;
    };
    const std::size_t r = ordinals(Reference), i = ordinals(Intro);
    if (r != 0 &&
        (r != i || !std::equal(Reference.begin(),
                               Reference.begin() + static_cast<std::ptrdiff_t>(r), Intro.begin())))
        return false;
    if (Reference.size() - r > Intro.size() - i)
        return false;
    return std::equal(Reference.begin() + static_cast<std::ptrdiff_t>(r), Reference.end(),
                      Intro.begin() + static_cast<std::ptrdiff_t>(i));
}

TTermLanguage TermLanguageOf(const TClaimTree& Tree) {
    static const TWordSet english = {"the", "a", "an", "said", "of", "and", "wherein"};
    static const TWordSet german = {"der", "die", "das", "und", "ein", "eine", "mit", "wobei"};
    static const TWordSet french = {"le", "la",    "les",  "et",       "un",     "une",
                                    "du", "selon", "dans", "laquelle", "lequel", "l"};
    // Spanish and Italian share "la" and "un" with French.
    static const TWordSet others = {"el",    "los",   "las",  "una",   "y",     "del",
                                    "il",    "della", "gli",  "lo",    "che",   "uno",
                                    "het",   "een",   "och",  "og",    "di",    "dei",
                                    "delle", "nella", "alla", "dalla", "sulla", "degli"};
    int64_t otherCount = 0;
    std::array<int64_t, 3> counts{};
    for (const TClaim& claim : Tree.Claims) {
        // The start of each claim says enough, and keeps this quick.
        const std::string_view text = std::string_view(claim.Text).substr(0, 400);
        std::size_t i = 0;
        while (i < text.size()) {
            while (i < text.size() && !IsAsciiLetter(static_cast<unsigned char>(text[i])))
                ++i;
            std::size_t j = i;
            while (j < text.size() && IsAsciiLetter(static_cast<unsigned char>(text[j])))
                ++j;
            bool capital = false;
            const std::string word = Lowered(text.substr(i, j - i), capital);
            counts[0] += In(english, word);
            counts[1] += In(german, word);
            counts[2] += In(french, word);
            otherCount += In(others, word);
            i = j;
        }
    }
    const auto best = std::max_element(counts.begin(), counts.end());
    int64_t second = 0;
    for (auto it = counts.begin(); it != counts.end(); ++it)
        if (it != best)
            second = std::max(second, *it);
    if (*best < 2 || *best < 2 * second || *best < 2 * otherCount)
        return TTermLanguage::Other;
    return best == counts.begin()       ? TTermLanguage::English
           : best == counts.begin() + 1 ? TTermLanguage::German
                                        : TTermLanguage::French;
}

std::vector<std::pair<std::size_t, std::string>> FoldedWords(std::string_view Text,
                                                             TTermLanguage Language, bool Utf8) {
    std::vector<std::pair<std::size_t, std::string>> words;
    Windows1252 = !Utf8;
    const std::vector<TToken> tokens = TokensOf(Text, Language == TTermLanguage::French);
    Windows1252 = false;
    for (const TToken& token : tokens) {
        if (token.Kind != TTokenKind::Word)
            continue;
        const auto fold = [&](const std::string& Lower) {
            bool plural = false;
            switch (Language) {
            case TTermLanguage::German:
                return GermanOrdinal(Lower) ? OrdinalFold(GermanOrdinal(Lower)) : GermanStem(Lower);
            case TTermLanguage::French:
                return FrenchOrdinal(Lower) ? OrdinalFold(FrenchOrdinal(Lower))
                                            : FrenchSingular(Lower);
            default:
                return EnglishOrdinal(Lower) ? OrdinalFold(EnglishOrdinal(Lower))
                                             : EnglishSingular(Lower, plural);
            }
        };
        words.emplace_back(token.Begin, fold(token.Lower));
        if (token.Lower.find('-') == std::string::npos)
            continue;
        std::size_t from = 0;
        while (from <= token.Lower.size()) {
            const std::size_t dash = std::min(token.Lower.find('-', from), token.Lower.size());
            if (dash > from)
                words.emplace_back(token.Begin + from, fold(token.Lower.substr(from, dash - from)));
            from = dash + 1;
        }
    }
    return words;
}

bool IsPropertyWord(std::string_view Folded, TTermLanguage Language) {
    static const TWordSet english = {
        "temperature", "pressure", "speed",       "velocity",  "weight",        "length",
        "width",       "height",   "depth",       "thickness", "diameter",      "radius",
        "volume",      "mass",     "density",     "viscosity", "concentration", "size",
        "frequency",   "voltage",  "resistance",  "power",     "force",         "torque",
        "flow",        "rate",     "level",       "content",   "ratio",         "proportion",
        "angle",       "distance", "orientation", "humidity",  "moisture",      "yield",
        "duration",    "capacity", "strength"};
    static const TWordSet german = {"temperatur",   "druck",         "geschwindigkeit",
                                    "gewicht",      "läng",          "breit",
                                    "höh",          "dick",          "durchmess",
                                    "volum",        "mass",          "dicht",
                                    "viskosität",   "konzentration", "größ",
                                    "frequenz",     "spannung",      "leistung",
                                    "kraft",        "drehzahl",      "zuladung",
                                    "feuchtigkeit", "dau",           "kapazität"};
    static const TWordSet french = {
        "température", "pression", "vitesse",   "poid",          "longueur",
        "largeur",     "hauteur",  "épaisseur", "diamètre",      "volume",
        "masse",       "densité",  "viscosité", "concentration", "taille",
        "fréquence",   "tension",  "puissance", "force",         "débit",
        "humidité",    "durée",    "capacité",  "porosité",      "écoulement"};
    switch (Language) {
    case TTermLanguage::German:
        return In(german, Folded);
    case TTermLanguage::French:
        return In(french, Folded);
    default:
        return In(english, Folded);
    }
}

bool IsImplicitModifier(std::string_view Folded, TTermLanguage Language) {
    static const TWordSet english = {
        "minimum",    "maximum",  "optimum",    "total",         "entire",    "overall", "current",
        "actual",     "average",  "nominal",    "original",      "final",     "initial", "desired",
        "particular", "given",    "respective", "corresponding", "resulting", "upper",   "lower",
        "inner",      "outer",    "front",      "rear",          "top",       "bottom",  "middle",
        "central",    "opposite", "free",       "distal",        "proximal"};
    static const TWordSet other = {"maximal", "minimal", "gesamt", "jeweilig",
                                   "maximum", "minimum", "total",  "totale"};
    if (Language != TTermLanguage::English)
        return In(other, Folded);
    if (In(english, Folded))
        return true;
    static const TWordSet notSuperlative = {"interest", "request", "contest", "manifest", "harvest",
                                            "forest",   "protest", "digest",  "suggest"};
    if (Folded.size() >= 6 && EndsWith(Folded, "est") && !In(notSuperlative, Folded))
        return true;
    // Past participles of a result ("the measured value"), not the nouns
    // and gerunds that name a part ("the sealing ring").
    static const TWordSet results = {"resulting", "remaining",  "corresponding", "following",
                                     "preceding", "existing",   "surrounding",   "incoming",
                                     "outgoing",  "underlying", "adjoining",     "adjacent"};
    return In(results, Folded);
}
