#include "LenientLexicon.h"

#include <algorithm>
#include <array>
#include <span>

namespace {

template <std::size_t N> bool In(const std::array<std::string_view, N>& Words, std::string_view W) {
    return std::find(Words.begin(), Words.end(), W) != Words.end();
}

constexpr std::array<std::string_view, 16> Singulars = {
    "claim",          "anspruch",        "anspruchs",        "anspruches",
    "patentanspruch", "patentanspruchs", "schutzanspruch",   "revendication",
    "rivendicazione", "reivindicacion",  "reivindicacao",    "conclusie",
    "kravet",         "patentkravet",    "patenttivaatimus", "patenttivaatimuksen"};

constexpr std::array<std::string_view, 21> Plurals = {"claims",
                                                      "anspruche",
                                                      "anspruchen",
                                                      "ansprueche",
                                                      "anspruechen",
                                                      "patentanspruche",
                                                      "patentanspruchen",
                                                      "schutzanspruche",
                                                      "revendications",
                                                      "rivendicazioni",
                                                      "reivindicaciones",
                                                      "reivindicacoes",
                                                      "conclusies",
                                                      "kravene",
                                                      "kraven",
                                                      "patentkravene",
                                                      "patentkraven",
                                                      "patenttivaatimukset",
                                                      "patenttivaatimusten",
                                                      "patenttivaatimuksista",
                                                      "patenttivaatimuksiin"};

constexpr std::array<std::string_view, 9> Weaks = {"krav",          "patentkrav",   "vaatimus",
                                                   "vaatimuksen",   "vaatimukset",  "vaatimusten",
                                                   "vaatimuksista", "vaatimukseen", "vaatimuksiin"};

constexpr std::array<std::string_view, 66> Preceding = {
    "preceding",       "foregoing",      "previous",       "prior",          "above",
    "aforegoing",      "aforementioned", "abovementioned", "precedent",      "vorhergehenden",
    "vorhergehende",   "vorhergehendem", "vorhergehender", "vorangehenden",  "vorangehende",
    "vorangehendem",   "vorstehenden",   "vorstehende",    "voranstehenden", "voranstehende",
    "vorigen",         "obigen",         "vorherigen",     "vorausgehenden", "vorausgehende",
    "vorangegangenen", "vorgenannten",   "precedentes",    "precedente",     "precedents",
    "anterieures",     "anterieure",     "precedenti",     "anteriori",      "anteriore",
    "anteriores",      "anterior",       "voorgaande",     "voorafgaande",   "vorige",
    "bovenstaande",    "voorgaand",      "foregaende",     "forutgaende",    "forrige",
    "ovenstaende",     "ovanstaende",    "foregaaende",    "edellisten",     "edellisen",
    "edellinen",       "edelliset",      "edellista",      "edella",         "aiempien",
    "aikaisempien",    "edeltavien",     "edeltavan",      "aforesaid",      "previously",
    "hereinbefore",    "herebefore",     "vorgehenden",    "vorgehende",     "vorgehendem",
    "vorgehender"};

constexpr std::array<std::string_view, 50> Quantifiers = {
    "any",        "each",         "every",     "all",       "one",         "either",     "einem",
    "einer",      "jedem",        "jeder",     "allen",     "irgendeinem", "quelconque", "une",
    "chacune",    "toutes",       "qualsiasi", "qualunque", "una",         "ciascuna",   "tutte",
    "cualquiera", "cualquier",    "todas",     "qualquer",  "uma",         "een",        "elke",
    "ieder",      "willekeurige", "der",       "hvilket",   "hvilken",     "ethvert",    "et",
    "ett",        "nagot",        "nagon",     "alla",      "alle",        "hver",       "jonkin",
    "minka",      "kaikkien",     "kaikista",  "ein",       "eines",       "plusieurs",  "several",
    "more"};

constexpr std::array<std::string_view, 29> Lists = {"and",
                                                    "or",
                                                    "und",
                                                    "oder",
                                                    "et",
                                                    "ou",
                                                    "e",
                                                    "o",
                                                    "y",
                                                    "u",
                                                    "ed",
                                                    "od",
                                                    "en",
                                                    "of",
                                                    "og",
                                                    "och",
                                                    "eller",
                                                    "ja",
                                                    "tai",
                                                    "seka",
                                                    "sowie",
                                                    "bzw",
                                                    "beziehungsweise",
                                                    "nor",
                                                    "und/oder",
                                                    "respectively",
                                                    "oppure",
                                                    "ovvero",
                                                    "nonche"};

// Second words of a connective: "o bien", "ou bien", "ou ainda".
constexpr std::array<std::string_view, 2> ListTails = {"bien", "ainda"};

constexpr std::array<std::string_view, 12> Ranges = {"to",  "through", "thru", "bis",   "a", "al",
                                                     "til", "till",    "tot",  "until", "t", "ate"};

constexpr std::array<std::string_view, 20> Fillers = {
    "no", "nos", "nr",  "n",    "number", "numbers", "from",      "da",        "van",
    "de", "von", "fra", "fran", "en",     "met",     "including", "inclusive", "einschliesslich",
    "up", "m"};

constexpr std::array<std::string_view, 62> Units = {
    "mm",     "cm",  "m",   "km",      "nm",     "um",      "mum",     "micron", "microns",
    "g",      "mg",  "kg",  "ug",      "l",      "ml",      "ul",      "s",      "ms",
    "min",    "h",   "hr",  "hours",   "hour",   "seconds", "minutes", "days",   "day",
    "c",      "k",   "f",   "degrees", "degree", "mol",     "mmol",    "bar",    "mbar",
    "pa",     "kpa", "mpa", "psi",     "v",      "mv",      "kv",      "w",      "kw",
    "hz",     "khz", "mhz", "ghz",     "rpm",    "percent", "parts",   "part",   "wt",
    "weight", "vol", "ppm", "times",   "fold",   "gew",     "teile",   "mass"};

constexpr std::array<std::string_view, 44> Statuses = {
    "currently",  "amended",    "original",  "originally", "presented",    "previously",
    "new",        "withdrawn",  "canceled",  "cancelled",  "cancel",       "deleted",
    "rejected",   "allowed",    "objected",  "added",      "rewritten",    "replaced",
    "entered",    "gestrichen", "geandert",  "neu",        "ursprunglich", "unverandert",
    "supprimee",  "modifiee",   "annulee",   "nouvelle",   "originale",    "cancellata",
    "modificata", "nuova",      "eliminada", "modificada", "nueva",        "suprimida",
    "amend",      "withdraw",   "pending",   "restored",   "reinstated",   "renumbered",
    "unchanged",  "status"};

constexpr std::array<std::string_view, 12> Cancels = {
    "canceled", "cancelled",  "cancel",    "deleted",   "gestrichen", "supprimee",
    "annulee",  "cancellata", "eliminada", "suprimida", "geschrapt",  "slettet"};

constexpr std::array<std::string_view, 34> HeadingWords = {
    "what",      "is",       "are",       "claimed",    "we",        "i",          "the",
    "invention", "listing",  "of",        "amendments", "amendment", "to",         "in",
    "patent",    "set",      "as",        "follows",    "defining",  "originally", "filed",
    "amended",   "original", "new",       "pending",    "this",      "following",  "current",
    "version",   "our",      "applicant", "claim",      "claims",    "s"};

constexpr std::array<std::string_view, 22> SectionEnds = {
    "abstract",       "zusammenfassung", "abrege",       "riassunto",
    "resumen",        "resumo",          "samenvatting", "sammendrag",
    "sammanfattning", "tiivistelma",     "description",  "beschreibung",
    "drawings",       "drawing",         "figures",      "bezugszeichenliste",
    "reference",      "sequence",        "references",   "zeichnungen",
    "figuren",        "dessins"};

// Words ending in "s" that follow a reference but count nothing.
constexpr std::array<std::string_view, 12> NotCounted = {
    "comprises", "includes", "contains", "consists", "provides", "whereas",
    "thus",      "plus",     "always",   "does",     "requires", "characterises"};

} // namespace

// Claim words as scanners misread them.
constexpr std::array<std::string_view, 6> Scanned = {"clairn", "clairns", "ciaim",
                                                     "ciaims", "c1aim",   "c1aims"};

bool IsScannedClaimWord(std::string_view Fold) {
    return In(Scanned, Fold);
}

TClaimWord ClaimWordKind(std::string_view Fold) {
    if (const TClaimWord wider = WiderClaimWordKind(Fold); wider != TClaimWord::None)
        return wider;
    // Every claim word starts with one of these letters.
    if (Fold.size() < 4 ||
        std::string_view("acknprsv").find(Fold.front()) == std::string_view::npos)
        return TClaimWord::None;
    if (In(Scanned, Fold))
        return Fold.back() == 's' ? TClaimWord::Plural : TClaimWord::Singular;
    if (Fold.size() < 4 || Fold.size() > 21)
        return TClaimWord::None;
    if (In(Singulars, Fold))
        return TClaimWord::Singular;
    if (In(Plurals, Fold))
        return TClaimWord::Plural;
    if (In(Weaks, Fold))
        return TClaimWord::Weak;
    return TClaimWord::None;
}

bool IsPrecedingWord(std::string_view Fold) {
    return In(Preceding, Fold) || IsWiderPrecedingWord(Fold);
}
bool IsQuantifierWord(std::string_view Fold) {
    return In(Quantifiers, Fold) || IsWiderQuantifierWord(Fold);
}
bool IsListWord(std::string_view Fold) {
    return In(Lists, Fold);
}
bool IsListTailWord(std::string_view Fold) {
    return In(ListTails, Fold);
}
bool IsCountedNounWord(std::string_view Fold) {
    if (Fold.size() < 4 || Fold.back() != 's' || Fold.ends_with("ss") || Fold.ends_with("us") ||
        Fold.ends_with("is"))
        return false;
    return ClaimWordKind(Fold) == TClaimWord::None && !In(NotCounted, Fold) &&
           !IsPrecedingWord(Fold) && !IsUnitWord(Fold);
}
bool IsRangeWord(std::string_view Fold) {
    return In(Ranges, Fold);
}
bool IsFillerWord(std::string_view Fold) {
    return In(Fillers, Fold) || IsWiderFillerWord(Fold);
}
bool IsUnitWord(std::string_view Fold) {
    return In(Units, Fold);
}
bool IsStatusWord(std::string_view Fold) {
    return In(Statuses, Fold);
}
bool IsCancelWord(std::string_view Fold) {
    return In(Cancels, Fold);
}
bool IsClaimsHeadingWord(std::string_view Fold) {
    return In(HeadingWords, Fold) || IsWiderHeadingWord(Fold);
}
bool IsSectionEndWord(std::string_view Fold) {
    return In(SectionEnds, Fold) || IsWiderSectionEndWord(Fold);
}

// Russian, Polish, Czech, Turkish and Portuguese: one table per language.
// Cyrillic words are folded to lower-case Cyrillic, the others to ASCII.
namespace {

using TWords = std::span<const std::string_view>;

struct TLanguageWords {
    TWordLanguage Language;
    TWords Singulars;
    TWords Plurals;
    TWords Weaks; // "пункт": also "item"; a claim word only with a number or "preceding"
    TWords Abbreviations; // claim words written with a period: "п.", "zastrz."
    TWords Preceding;
    TWords Quantifiers;
    TWords Lists;
    TWords Ranges;
    TWords HeadingWords; // heading words that name the claims without a claim word
    TWords SectionEnds;
};

namespace russian {
constexpr std::string_view Weaks[] = {"п",       "пп",      "пункт",    "пункта",
                                      "пункту",  "пунктом", "пункте",   "пункты",
                                      "пунктов", "пунктам", "пунктами", "пунктах"};
constexpr std::string_view Abbreviations[] = {"п", "пп"};
constexpr std::string_view Preceding[] = {
    "предшествующих", "предшествующему", "предшествующего", "предшествующим", "предыдущих",
    "предыдущему",    "предыдущего",     "предыдущим",      "вышеуказанных",  "вышеприведенных"};
constexpr std::string_view Quantifiers[] = {"любому", "любого",  "любой", "любом", "одному",
                                            "одного", "каждому", "всем",  "всех"};
constexpr std::string_view Lists[] = {"и", "или", "либо"};
constexpr std::string_view Ranges[] = {"по", "до"};
// "Формула изобретения": the formula of the invention, as Russian heads its claims.
constexpr std::string_view HeadingWords[] = {"формула", "изобретения", "полезной", "модели"};
constexpr std::string_view SectionEnds[] = {"реферат", "описание", "аннотация"};
} // namespace russian

namespace polish {
constexpr std::string_view Singulars[] = {"zastrz", "zastrzezenie", "zastrzezenia", "zastrzezeniu",
                                          "zastrzezeniem"};
constexpr std::string_view Plurals[] = {"zastrzezen", "zastrzezeniach", "zastrzezeniami",
                                        "zastrzezeniom"};
constexpr std::string_view Abbreviations[] = {"zastrz"};
constexpr std::string_view Preceding[] = {"poprzednich",     "poprzedniego",    "poprzednim",
                                          "poprzedzajacych", "poprzedzajacego", "wczesniejszych",
                                          "powyzszych"};
constexpr std::string_view Quantifiers[] = {"ktorykolwiek", "ktoregokolwiek", "ktorymkolwiek",
                                            "jednego",      "jednym",         "kazdego",
                                            "dowolnego",    "dowolnym",       "wszystkich"};
constexpr std::string_view Lists[] = {"i", "lub", "albo", "oraz", "badz"};
constexpr std::string_view Ranges[] = {"do"};
constexpr std::string_view HeadingWords[] = {"patentowe", "ochronne"};
constexpr std::string_view SectionEnds[] = {"opis", "streszczenie", "skrot"};
} // namespace polish

namespace czech {
constexpr std::string_view Singulars[] = {"narok", "naroku", "narokem", "nar"};
constexpr std::string_view Plurals[] = {"naroky", "narokum", "narocich"};
constexpr std::string_view Abbreviations[] = {"nar"};
constexpr std::string_view Preceding[] = {"predchozich",     "predchoziho", "predchazejicich",
                                          "predchazejiciho", "predeslych",  "predesleho"};
constexpr std::string_view Quantifiers[] = {"kterehokoli", "kterehokoliv", "libovolneho", "jednoho",
                                            "kazdeho",     "vsech",        "nektereho"};
// "a" is "and" here, where Portuguese and Spanish read a range.
constexpr std::string_view Lists[] = {"a", "nebo", "ci"};
constexpr std::string_view Ranges[] = {"az", "do"};
constexpr std::string_view HeadingWords[] = {"patentove", "na", "ochranu"};
constexpr std::string_view SectionEnds[] = {"anotace", "popis"};
} // namespace czech

namespace turkish {
// "İstem" takes its case endings as suffixes.
constexpr std::string_view Singulars[] = {"istem",      "istemi",    "isteme",   "istemde",
                                          "istemden",   "istemin",   "istemine", "isteminde",
                                          "isteminden", "istemdeki", "istemle"};
constexpr std::string_view Plurals[] = {
    "istemler",   "istemleri",     "istemlere",   "istemlerde",   "istemlerden",
    "istemlerin", "istemlerinden", "istemlerine", "istemlerdeki", "istemlerinin"};
constexpr std::string_view Preceding[] = {"onceki", "yukaridaki", "evvelki"};
constexpr std::string_view Quantifiers[] = {"herhangi", "her",  "tum",    "butun",
                                            "birine",   "biri", "birinde"};
constexpr std::string_view Lists[] = {"ve", "veya", "ya", "yahut", "ile"};
constexpr std::string_view Ranges[] = {"ila"};
constexpr std::string_view SectionEnds[] = {"ozet", "tarifname", "aciklama"};
} // namespace turkish

namespace portuguese {
// Also in the older tables; here for the words that differ from Spanish.
constexpr std::string_view Singulars[] = {"reivindicacao"};
constexpr std::string_view Plurals[] = {"reivindicacoes"};
constexpr std::string_view Preceding[] = {"anteriormente", "antecedentes", "precedentemente"};
constexpr std::string_view Lists[] = {"ou", "e"};
constexpr std::string_view Ranges[] = {"a", "ate"};
constexpr std::string_view Quantifiers[] = {"quaisquer", "cada", "umas"};
constexpr std::string_view SectionEnds[] = {"relatorio", "listagem"};
} // namespace portuguese

constexpr TLanguageWords Languages[] = {
    {TWordLanguage::Russian,
     {},
     {},
     russian::Weaks,
     russian::Abbreviations,
     russian::Preceding,
     russian::Quantifiers,
     russian::Lists,
     russian::Ranges,
     russian::HeadingWords,
     russian::SectionEnds},
    {TWordLanguage::Polish,
     polish::Singulars,
     polish::Plurals,
     {},
     polish::Abbreviations,
     polish::Preceding,
     polish::Quantifiers,
     polish::Lists,
     polish::Ranges,
     polish::HeadingWords,
     polish::SectionEnds},
    {TWordLanguage::Czech,
     czech::Singulars,
     czech::Plurals,
     {},
     czech::Abbreviations,
     czech::Preceding,
     czech::Quantifiers,
     czech::Lists,
     czech::Ranges,
     czech::HeadingWords,
     czech::SectionEnds},
    {TWordLanguage::Turkish,
     turkish::Singulars,
     turkish::Plurals,
     {},
     {},
     turkish::Preceding,
     turkish::Quantifiers,
     turkish::Lists,
     turkish::Ranges,
     {},
     turkish::SectionEnds},
    {TWordLanguage::Portuguese,
     portuguese::Singulars,
     portuguese::Plurals,
     {},
     {},
     portuguese::Preceding,
     portuguese::Quantifiers,
     portuguese::Lists,
     portuguese::Ranges,
     {},
     portuguese::SectionEnds},
};

// The list words that join claims in the alternative, and those that join
// them together: "claim 1 or 2" is a multiple dependent claim as US practice
// wants it, "claims 1 and 2" is not.
struct TJoiningWords {
    TWordLanguage Language;
    TWords Ors;
    TWords Ands;
};

constexpr std::string_view RussianOrs[] = {"или", "либо"};
constexpr std::string_view RussianAnds[] = {"и"};
constexpr std::string_view PolishOrs[] = {"albo", "lub", "badz"};
constexpr std::string_view PolishAnds[] = {"i", "oraz"};
constexpr std::string_view CzechOrs[] = {"nebo", "ci"};
constexpr std::string_view CzechAnds[] = {"a"};
constexpr std::string_view TurkishOrs[] = {"veya", "ya", "yahut"};
constexpr std::string_view TurkishAnds[] = {"ve", "ile"};
constexpr std::string_view PortugueseOrs[] = {"ou"};
constexpr std::string_view PortugueseAnds[] = {"e"};

constexpr TJoiningWords Joining[] = {
    {TWordLanguage::Russian, RussianOrs, RussianAnds},
    {TWordLanguage::Polish, PolishOrs, PolishAnds},
    {TWordLanguage::Czech, CzechOrs, CzechAnds},
    {TWordLanguage::Turkish, TurkishOrs, TurkishAnds},
    {TWordLanguage::Portuguese, PortugueseOrs, PortugueseAnds},
};

bool InWords(TWords Words, std::string_view W) {
    return std::find(Words.begin(), Words.end(), W) != Words.end();
}

const TLanguageWords* LanguageWords(TWordLanguage Language) {
    for (const TLanguageWords& words : Languages) {
        if (words.Language == Language)
            return &words;
    }
    return nullptr;
}

// Whether any language's table holds W in the field Field.
bool InAnyLanguage(TWords TLanguageWords::*Field, std::string_view W) {
    return std::any_of(std::begin(Languages), std::end(Languages),
                       [&](const TLanguageWords& l) { return InWords(l.*Field, W); });
}

// Every claim word of these tables starts so: the cheap test for the many words that are none.
bool MayBeWiderClaimWord(std::string_view Fold) {
    if (Fold.size() < 2)
        return false;
    switch (Fold[0]) {
    case '\xd0':
        return Fold[1] == '\xbf'; // "п"
    case 'z':
        return Fold.starts_with("zastrz");
    case 'n':
        return Fold.starts_with("nar");
    case 'i':
        return Fold.starts_with("istem");
    case 'r':
        return Fold.starts_with("reivindicac");
    default:
        return false;
    }
}

} // namespace

TClaimWord WiderClaimWordKind(std::string_view Fold) {
    if (!MayBeWiderClaimWord(Fold))
        return TClaimWord::None;
    for (const TLanguageWords& l : Languages) {
        if (InWords(l.Singulars, Fold))
            return TClaimWord::Singular;
        if (InWords(l.Plurals, Fold))
            return TClaimWord::Plural;
        if (InWords(l.Weaks, Fold))
            return TClaimWord::Weak;
    }
    return TClaimWord::None;
}

TWordLanguage ClaimWordLanguage(std::string_view Fold) {
    if (!MayBeWiderClaimWord(Fold))
        return TWordLanguage::Other;
    for (const TLanguageWords& l : Languages) {
        if (InWords(l.Singulars, Fold) || InWords(l.Plurals, Fold) || InWords(l.Weaks, Fold))
            return l.Language;
    }
    return TWordLanguage::Other;
}

bool IsAbbreviatedClaimWord(std::string_view Fold) {
    return InAnyLanguage(&TLanguageWords::Abbreviations, Fold);
}

bool IsWiderPrecedingWord(std::string_view Fold) {
    return InAnyLanguage(&TLanguageWords::Preceding, Fold);
}

bool IsWiderQuantifierWord(std::string_view Fold) {
    return InAnyLanguage(&TLanguageWords::Quantifiers, Fold);
}

bool IsListWordIn(TWordLanguage Language, std::string_view Fold) {
    const TLanguageWords* words = LanguageWords(Language);
    return words != nullptr ? InWords(words->Lists, Fold) || IsListWord(Fold) : IsListWord(Fold);
}

bool IsRangeWordIn(TWordLanguage Language, std::string_view Fold) {
    const TLanguageWords* words = LanguageWords(Language);
    if (words == nullptr)
        return IsRangeWord(Fold);
    return !InWords(words->Lists, Fold) && (InWords(words->Ranges, Fold) || IsRangeWord(Fold));
}

bool IsWiderHeadingWord(std::string_view Fold) {
    return InAnyLanguage(&TLanguageWords::HeadingWords, Fold);
}

bool IsWiderSectionEndWord(std::string_view Fold) {
    return InAnyLanguage(&TLanguageWords::SectionEnds, Fold);
}

bool IsHeadingClaimWord(std::string_view Fold) {
    return Fold == "формула";
}

namespace {

// Ordinals from "first" to "twentieth" in English, German and French, each
// table in order from 1.
constexpr std::string_view EnglishOrdinals[] = {
    "first",     "second",    "third",       "fourth",     "fifth",      "sixth",      "seventh",
    "eighth",    "ninth",     "tenth",       "eleventh",   "twelfth",    "thirteenth", "fourteenth",
    "fifteenth", "sixteenth", "seventeenth", "eighteenth", "nineteenth", "twentieth"};
// German stems: "ersten", "erstem" and "erste" share "erst".
constexpr std::string_view GermanOrdinals[] = {"erst",   "zweit", "dritt", "viert", "funft",
                                               "sechst", "siebt", "acht",  "neunt", "zehnt"};
constexpr std::string_view FrenchOrdinals[] = {"premiere",  "deuxieme", "troisieme", "quatrieme",
                                               "cinquieme", "sixieme",  "septieme",  "huitieme",
                                               "neuvieme",  "dixieme"};
constexpr std::string_view DefiniteArticles[] = {"the", "dem", "den", "der",
                                                 "des", "die", "la",  "le"};

int32_t IndexIn(TWords Words, std::string_view W) {
    const auto found = std::find(Words.begin(), Words.end(), W);
    return found == Words.end() ? 0 : static_cast<int32_t>(found - Words.begin()) + 1;
}

} // namespace

int32_t OrdinalValue(std::string_view Fold) {
    if (const int32_t english = IndexIn(EnglishOrdinals, Fold); english != 0)
        return english;
    if (const int32_t french = IndexIn(FrenchOrdinals, Fold); french != 0)
        return french;
    if (Fold == "seconde" || Fold == "second")
        return 2;
    // German: the stem and one of the endings "e", "en", "em", "er", "es".
    for (const std::string_view ending : {"e", "en", "em", "er", "es"}) {
        if (Fold.size() > ending.size() && Fold.ends_with(ending)) {
            const std::string_view stem = Fold.substr(0, Fold.size() - ending.size());
            if (const int32_t german = IndexIn(GermanOrdinals, stem); german != 0)
                return german;
            if (stem == "siebent")
                return 7;
        }
    }
    return 0;
}

bool IsDefiniteArticle(std::string_view Fold) {
    return InWords(DefiniteArticles, Fold);
}

bool IsDependingWord(std::string_view Fold) {
    return Fold == "dependent" || Fold == "depending" || Fold == "dependant";
}

bool IsThereonWord(std::string_view Fold) {
    return Fold == "thereon" || Fold == "thereupon" || Fold == "therefrom" || Fold == "therefor";
}

namespace {

const TJoiningWords* JoiningWords(TWordLanguage Language) {
    for (const TJoiningWords& words : Joining) {
        if (words.Language == Language)
            return &words;
    }
    return nullptr;
}

} // namespace

bool IsOrWordIn(TWordLanguage Language, std::string_view Fold) {
    const TJoiningWords* words = JoiningWords(Language);
    return words != nullptr && InWords(words->Ors, Fold);
}

bool IsAndWordIn(TWordLanguage Language, std::string_view Fold) {
    const TJoiningWords* words = JoiningWords(Language);
    return words != nullptr && InWords(words->Ands, Fold);
}

namespace {

// "zastrz. od 1 do 3", "пп. с 1 по 3": the word that opens a range.
constexpr std::string_view WiderFillers[] = {"od", "с", "от"};

} // namespace

bool IsWiderFillerWord(std::string_view Fold) {
    return InWords(WiderFillers, Fold);
}
