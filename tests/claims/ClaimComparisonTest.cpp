#include "ClaimComparison.h"

#include "ClaimListing.h"
#include "ClaimTree.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

const char* Short(TAmendmentStatus Status) {
    switch (Status) {
    case TAmendmentStatus::Original:
        return "O";
    case TAmendmentStatus::CurrentlyAmended:
        return "CA";
    case TAmendmentStatus::PreviouslyPresented:
        return "PP";
    case TAmendmentStatus::New:
        return "N";
    case TAmendmentStatus::Canceled:
        return "C";
    case TAmendmentStatus::Withdrawn:
        return "W";
    case TAmendmentStatus::NotEntered:
        return "NE";
    }
    return "?";
}

template <typename T> std::string Joined(const std::vector<T>& Items, const char* Separator) {
    std::string out;
    for (const T& item : Items) {
        if (!out.empty())
            out += Separator;
        if constexpr (std::is_same_v<T, std::string>)
            out += item;
        else
            out += std::to_string(item);
    }
    return out;
}

// "NB<NA status +{inserted|...} -{deleted} m{merged} r+{added} r-{dropped}",
// claims joined by "; ", then " | canceled ..." when A lost claims.
std::string Described(const TClaimComparison& Comparison) {
    std::string out;
    for (const TComparedClaim& claim : Comparison.Claims) {
        if (!out.empty())
            out += "; ";
        out += std::to_string(claim.Number) + "<" +
               (claim.From ? std::to_string(claim.From) : std::string("-")) + " " +
               Short(claim.Status);
        if (!claim.Inserted.empty())
            out += " +{" + Joined(claim.Inserted, "|") + "}";
        if (!claim.Deleted.empty())
            out += " -{" + Joined(claim.Deleted, "|") + "}";
        if (!claim.MergedFrom.empty())
            out += " m{" + Joined(claim.MergedFrom, ",") + "}";
        if (!claim.ReferencesAdded.empty())
            out += " r+{" + Joined(claim.ReferencesAdded, ",") + "}";
        if (!claim.ReferencesDropped.empty())
            out += " r-{" + Joined(claim.ReferencesDropped, ",") + "}";
    }
    if (!Comparison.Canceled.empty())
        out += " | canceled " + Joined(Comparison.Canceled, ",");
    return out;
}

std::string Compared(const std::string& A, const std::string& B) {
    const TClaimTree a(A, TReading::Lenient);
    const TClaimTree b(B, TReading::Lenient);
    return Described(CompareClaims(a, b));
}

const std::string Pump = "1. A pump comprising a housing, a rotor in the housing and a motor "
                         "driving the rotor.\n"
                         "2. The pump of claim 1, wherein the rotor is made of stainless steel.\n"
                         "3. The pump of claim 1, wherein the housing is cast from aluminium.\n"
                         "4. The pump of claim 3, wherein the housing carries cooling fins.\n"
                         "5. A method of pumping water with the pump of claim 1, comprising "
                         "starting the motor before opening the inlet valve.\n";

struct TPair {
    const char* Kind;
    std::string A;
    std::string B;
    std::string Expected;
};

} // namespace

// One pair per kind of change an amendment makes.
TEST(ClaimComparisonTest, PairsOfVersions) {
    const std::vector<TPair> pairs = {
        {"unchanged", Pump, Pump, "1<1 O; 2<2 O; 3<3 O; 4<4 O; 5<5 O"},
        {"renumbered after a cancellation", Pump,
         "1. A pump comprising a housing, a rotor in the housing and a motor driving the rotor.\n"
         "2. The pump of claim 1, wherein the housing is cast from aluminium.\n"
         "3. The pump of claim 2, wherein the housing carries cooling fins.\n"
         "4. A method of pumping water with the pump of claim 1, comprising starting the motor "
         "before opening the inlet valve.\n",
         "1<1 O; 2<3 O; 3<4 O; 4<5 O | canceled 2"},
        {"dependent claim merged into its independent claim", Pump,
         "1. A pump comprising a housing, a rotor in the housing and a motor driving the rotor, "
         "wherein the rotor is made of stainless steel.\n"
         "2. The pump of claim 1, wherein the housing is cast from aluminium.\n"
         "3. The pump of claim 2, wherein the housing carries cooling fins.\n"
         "4. A method of pumping water with the pump of claim 1, comprising starting the motor "
         "before opening the inlet valve.\n",
         "1<1 CA +{rotor, wherein the rotor is made of stainless steel.} -{rotor.} m{2}; 2<3 O; "
         "3<4 O; 4<5 O | canceled 2"},
        {"amended words",
         "1. A valve comprising a seat and a ball pressed against the seat by a spring.\n",
         "1. A valve comprising a conical seat and a ball pressed onto the seat by an "
         "adjustable spring.\n",
         "1<1 CA +{conical|onto|an adjustable} -{against|a}"},
        {"new claims", Pump,
         Pump + "6. The pump of claim 2, further comprising a filter upstream of the inlet.\n",
         "1<1 O; 2<2 O; 3<3 O; 4<4 O; 5<5 O; 6<- N +{The pump of claim 2, further comprising a "
         "filter upstream of the inlet.}"},
        {"changed reference",
         "1. A lamp with a glass bulb.\n2. The lamp of claim 1, with a screw base.\n"
         "3. The lamp of claim 1, wherein the bulb is frosted.\n",
         "1. A lamp with a glass bulb.\n2. The lamp of claim 1, with a screw base.\n"
         "3. The lamp of claim 2, wherein the bulb is frosted.\n",
         "1<1 O; 2<2 O; 3<3 CA +{2,} -{1,} r+{2} r-{1}"},
        {"re-wrapped lines, no change of words",
         "1. A ladder having two\nstiles and rungs   joining the stiles.\n"
         "2. The ladder of claim 1,\nwherein the rungs are\nserrated.\n",
         "Claims\n\n1. A ladder having two stiles and\n    rungs joining the stiles.\n"
         "2. The ladder of claim 1, wherein the rungs are serrated.\n",
         "1<1 O; 2<2 O"},
        {"claims moved to another place",
         "1. A kettle with a heating plate under its base.\n"
         "2. A method of boiling water in a kettle by switching on its heating plate.\n",
         "1. A method of boiling water in a kettle by switching on its heating plate.\n"
         "2. A kettle with a heating plate under its base.\n",
         "1<2 O; 2<1 O"},
        {"the near twin of a canceled claim",
         "1. A brush with a handle and bristles.\n"
         "2. The brush of claim 1, wherein the bristles are made of nylon.\n"
         "3. The brush of claim 1, wherein the bristles are made of horsehair.\n",
         "1. A brush with a handle and bristles.\n"
         "2. The brush of claim 1, wherein the bristles are made of horsehair.\n",
         "1<1 O; 2<3 O | canceled 2"},
        {"a listing with status identifiers",
         "1. A fan with a hub and blades.\n2. The fan of claim 1, wherein the blades are "
         "curved.\n3. The fan of claim 1, wherein the hub is hollow.\n",
         "1. (Currently amended) A fan with a hub and five blades.\n2. (Canceled)\n"
         "3. (Original) The fan of claim 1, wherein the hub is hollow.\n"
         "4. (New) The fan of claim 3, wherein the hub holds a bearing.\n",
         "1<1 CA +{five}; 2<2 C; 3<3 O; 4<- N +{The fan of claim 3, wherein the hub holds a "
         "bearing.} | canceled 2"},
        {"a listing with a dependent claim merged and listed as canceled", Pump,
         "1. (Currently amended) A pump comprising a housing, a rotor in the housing and a "
         "motor driving the rotor, wherein the rotor is made of stainless steel.\n"
         "2. (Canceled)\n3. (Original) The pump of claim 1, wherein the housing is cast from "
         "aluminium.\n",
         "1<1 CA +{rotor, wherein the rotor is made of stainless steel.} -{rotor.} m{2}; 2<2 C; "
         "3<3 O | canceled 2,4,5"},
        {"a listing compared again: unchanged claims were presented before",
         "1. (Currently amended) A fan with a hub and five blades.\n2. (Canceled)\n"
         "3. (Original) The fan of claim 1, wherein the hub is hollow.\n",
         "1. A fan with a hub and five blades.\n"
         "3. The fan of claim 1, wherein the hub is hollow, and wherein the hub is round.\n",
         "1<1 PP; 3<3 CA +{hollow, and wherein the hub is round.} -{hollow.} | canceled 2"},
    };
    for (const TPair& pair : pairs)
        EXPECT_EQ(Compared(pair.A, pair.B), pair.Expected) << pair.Kind;
}

namespace {

std::string Joined(const std::vector<std::string_view>& Words) {
    std::string out;
    for (std::string_view word : Words) {
        if (!out.empty())
            out += ' ';
        out += word;
    }
    return out;
}

// The words of the pieces of the given kinds, single-spaced.
std::string Kept(const std::vector<TTextPiece>& Pieces, TTextChange Other) {
    std::string out;
    for (const TTextPiece& piece : Pieces) {
        if (piece.Change != TTextChange::Same && piece.Change != Other)
            continue;
        if (!out.empty())
            out += ' ';
        out += piece.Text;
    }
    return out;
}

std::size_t CommonSubsequence(const std::vector<std::string_view>& A,
                              const std::vector<std::string_view>& B) {
    std::vector<std::size_t> row(B.size() + 1, 0), next(B.size() + 1, 0);
    for (std::size_t i = A.size(); i-- > 0;) {
        for (std::size_t j = B.size(); j-- > 0;)
            next[j] = A[i] == B[j] ? row[j + 1] + 1 : std::max(row[j], next[j + 1]);
        std::swap(row, next);
    }
    return row[0];
}

} // namespace

// Random edits of random texts: the diff leads from A to B, keeps as many
// words as can be kept, and never mistakes a re-wrap for a change.
TEST(ClaimComparisonTest, WordDiffLeadsFromAToB) {
    std::mt19937 random(21);
    const std::vector<std::string> vocabulary = {"a",  "the",   "pump", "of",      "claim",
                                                 "1,", "rotor", "and",  "housing", "wherein"};
    const std::vector<std::string> spaces = {" ", "\n", "  ", "\xc2\xa0", "\t", "\r\n"};
    const auto word = [&] { return vocabulary[random() % vocabulary.size()]; };
    const auto written = [&](const std::vector<std::string>& Words) {
        std::string text = random() % 2 ? "\n" : "";
        for (const std::string& w : Words)
            text += w + spaces[random() % spaces.size()];
        return text;
    };
    for (int round = 0; round < 10000; ++round) {
        std::vector<std::string> a(random() % 30);
        for (std::string& w : a)
            w = word();
        std::vector<std::string> b = a;
        for (int edits = static_cast<int>(random() % 5); edits > 0; --edits) {
            const std::size_t at = b.empty() ? 0 : random() % (b.size() + 1);
            const std::size_t length = 1 + random() % 4;
            switch (random() % 3) {
            case 0:
                for (std::size_t k = 0; k < length; ++k)
                    b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), word());
                break;
            case 1:
                b.erase(b.begin() + static_cast<std::ptrdiff_t>(std::min(at, b.size())),
                        b.begin() + static_cast<std::ptrdiff_t>(std::min(at + length, b.size())));
                break;
            default:
                for (std::size_t k = at; k < std::min(at + length, b.size()); ++k)
                    b[k] = word();
            }
        }
        const std::string aText = written(a);
        const std::string bText = written(b);
        const std::vector<TTextPiece> diff = DiffWords(aText, bText);
        const std::vector<std::string_view> aWords = SplitWords(aText);
        const std::vector<std::string_view> bWords = SplitWords(bText);
        ASSERT_EQ(Kept(diff, TTextChange::Inserted), Joined(bWords)) << aText << "|" << bText;
        ASSERT_EQ(Kept(diff, TTextChange::Deleted), Joined(aWords)) << aText << "|" << bText;
        std::size_t same = 0;
        for (const TTextPiece& piece : diff) {
            if (piece.Change == TTextChange::Same)
                same += SplitWords(piece.Text).size();
        }
        ASSERT_EQ(same, CommonSubsequence(aWords, bWords)) << aText << "|" << bText;
        if (a == b) {
            ASSERT_LE(diff.size(), 1u) << aText << "|" << bText;
        }
    }
}

namespace {

const std::string FanBefore = "1. A fan with a hub and six blades turning freely about an axis.\n"
                              "2. The fan of claim 1, wherein the blades are curved.\n"
                              "3. The fan of claim 1, wherein the hub is hollow.\n";
const std::string FanAfter = "1. A fan with a hub and five blades turning about a fixed axis.\n"
                             "3. The fan of claim 1, wherein the hub is hollow.\n"
                             "4. The fan of claim 3, wherein the hub holds a bearing & a seal.\n";

TClaimComparison FanComparison() {
    const TClaimTree a(FanBefore, TReading::Lenient);
    const TClaimTree b(FanAfter, TReading::Lenient);
    return CompareClaims(a, b);
}

} // namespace

// The listing of a response: canceled claims at their places, short
// deletions in double brackets, longer ones struck through, new claims clean.
TEST(ClaimComparisonTest, ListingAsHtmlAndText) {
    const std::string html = ClaimListingHtml(FanComparison(), "Fan <draft>");
    EXPECT_NE(html.find("<title>Listing of claims - Fan &lt;draft&gt;</title>"), std::string::npos);
    const std::size_t body = html.find("<p class=\"claim\">");
    ASSERT_NE(body, std::string::npos);
    EXPECT_EQ(
        html.substr(body),
        "<p class=\"claim\">1. (Currently Amended) A fan with a hub and [[six]] <u>five</u> "
        "blades turning <s>freely</s> about [[an]] <u>a fixed</u> axis.</p>\n"
        "<p class=\"claim\">2. (Canceled)</p>\n"
        "<p class=\"claim\">3. (Original) The fan of claim 1, wherein the hub is hollow.</p>\n"
        "<p class=\"claim\">4. (New) The fan of claim 3, wherein the hub holds a bearing "
        "&amp; a seal.</p>\n"
        "</body>\n</html>\n");
    EXPECT_EQ(ClaimComparisonText(FanComparison()),
              "3 claims: 1 amended, 1 new, 0 renumbered; canceled: 2.\n\n"
              "1. (Currently Amended) A fan with a hub and [-six-] {+five+} blades turning "
              "[-freely-] about [-an-] {+a fixed+} axis.\n"
              "2. (Canceled)\n"
              "3. (Original) The fan of claim 1, wherein the hub is hollow.\n"
              "4. (New) The fan of claim 3, wherein the hub holds a bearing & a seal.\n");
}
