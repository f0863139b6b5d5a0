// The words of printed pages back into reading order: pages laid out here
// with known positions, read back, text and citations checked exactly.

#include "PdfLayout.h"

#include "PdfTestPages.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

std::string Show(const std::vector<TLineOrigin>& Origins) {
    std::string out;
    for (const TLineOrigin& o : Origins)
        out += std::to_string(o.Page) + "/" + std::to_string(o.Column) + "/" +
               std::to_string(o.Line) + " ";
    return out;
}

// ---- Whole documents ----

const QStringList UsGrant{
    "The reel described here winds a garden hose onto a drum that turns on a fixed axle, and "
    "a spring returns the drum when the hose is let go by the user standing at the far end.",
    "In use the guide arm moves back and forth across the drum so that the hose is laid in "
    "even turns, which keeps the wound hose from slipping sideways off the flanges.",
    "What is claimed is:",
    "1. A hose reel comprising:",
    "a drum mounted to turn on an axle;",
    "a spring arranged to turn the drum in a winding direction; and",
    "a guide arm driven by the drum and moving across it while the drum turns, the guide arm "
    "carrying a roller of polyoxymethylene that bears on the hose from above and from below.",
    "2. The hose reel of claim 1, wherein the spring is a flat spiral spring housed inside the "
    "drum and anchored to the axle at its inner end.",
    "3. The hose reel of claim 1 or 2, wherein the guide arm is driven by a screw with two "
    "opposite threads that cross each other, so that a follower reverses at each end of travel "
    "without any switch, and wherein the screw turns at a fixed ratio to the drum.",
    "4. The hose reel of any one of claims 1 to 3, further comprising a latch holding the drum "
    "against the spring at any angle.",
    "5. The hose reel of claim 4, wherein the latch releases when the hose is pulled briefly.",
    "6. A method of winding a hose on the hose reel of claim 1, comprising letting the hose go "
    "so that the spring turns the drum while the guide arm lays the hose in even turns across "
    "the whole width of the drum from one flange to the other flange and back again.",
    "7. The method of claim 6, wherein the hose is wound at less than two turns per second.",
};

const QStringList EpThreeLanguages{
    "1. A kettle comprising a vessel, a heating plate under the vessel and a switch that opens "
    "when the water in the vessel boils, characterised in that the switch is held open by a "
    "bimetal disc until the heating plate has cooled.",
    "2. The kettle according to claim 1, wherein the bimetal disc is pressed against the "
    "heating plate by a spring.",
    "3. The kettle according to claim 1 or 2, wherein the vessel is of glass.",
    "Patentansprüche",
    "1. Wasserkocher mit einem Gefäß, einer Heizplatte unter dem Gefäß und einem Schalter, der "
    "öffnet, wenn das Wasser im Gefäß kocht, dadurch gekennzeichnet, dass der Schalter von "
    "einer Bimetallscheibe offen gehalten wird, bis die Heizplatte abgekühlt ist.",
    "2. Wasserkocher nach Anspruch 1, wobei die Bimetallscheibe von einer Feder gegen die "
    "Heizplatte gedrückt wird.",
    "3. Wasserkocher nach Anspruch 1 oder 2, wobei das Gefäß aus Glas ist.",
    "Revendications",
    "1. Bouilloire comprenant un récipient, une plaque chauffante sous le récipient et un "
    "interrupteur qui s'ouvre lorsque l'eau du récipient bout, caractérisée en ce que "
    "l'interrupteur est maintenu ouvert par un disque bimétallique jusqu'au refroidissement.",
    "2. Bouilloire selon la revendication 1, dans laquelle le disque bimétallique est pressé "
    "contre la plaque chauffante par un ressort.",
    "3. Bouilloire selon la revendication 1 ou 2, dans laquelle le récipient est en verre.",
};

struct TDocumentCase {
    const char* Name;
    QStringList Paragraphs;
    TPdfTestLayout Layout;
};

TEST(PdfLayout, ReadsGeneratedPagesWithTheirCitations) {
    TPdfTestLayout us;
    us.LinesPerColumn = 20;
    us.FirstColumn = 27;
    TPdfTestLayout ep;
    ep.Style = TPdfTestStyle::Ep;
    ep.LinesPerColumn = 10;
    ep.FirstPage = 12;
    TPdfTestLayout epFlush = ep;
    epFlush.Indent = false;
    epFlush.LinesPerColumn = 45;
    TPdfTestLayout usLong = us;
    usLong.LinesPerColumn = 55;
    const std::vector<TDocumentCase> cases{
        {"two columns, claims over columns and pages", UsGrant, us},
        {"two columns, a full page", UsGrant + UsGrant + UsGrant, usLong},
        {"one column, three languages, claims over pages", EpThreeLanguages, ep},
        {"one column, paragraphs not indented", EpThreeLanguages, epFlush},
    };
    for (const TDocumentCase& c : cases) {
        const TPdfTestDocument doc = LayOutTestPages(c.Paragraphs, c.Layout);
        const TPdfText read = LayOutPdfPages(doc.Pages);
        EXPECT_EQ(read.Text.toStdString(), doc.Paragraphs.join(u'\n').toStdString()) << c.Name;
        EXPECT_EQ(Show(read.Lines), Show(doc.First)) << c.Name;
        EXPECT_EQ(Show(read.LastLines), Show(doc.Last)) << c.Name;
    }
}

// ---- Words into lines ----

struct TPlaced {
    QString Text;
    double Left;
    double Base;
    double Size = 10;
};

TPdfPage PageOf(const std::vector<TPlaced>& Words) {
    TPdfPage page{595, 842, {}};
    for (const TPlaced& w : Words)
        page.Words.push_back({w.Left, w.Base - 0.8 * w.Size, w.Left + w.Text.size() * w.Size / 2,
                              w.Base + 0.2 * w.Size, w.Text});
    return page;
}

TEST(PdfLayout, JoinsWordsIntoLines) {
    struct TCase {
        const char* Name;
        std::vector<TPlaced> Words;
        const char* Text;
    };
    const std::vector<TCase> cases{
        {"subscripts join their word",
         {{"a", 70, 100}, {"CH", 80, 100}, {"3", 90, 102, 6}, {"group", 98, 100}},
         "a CH3 group"},
        // A tight box, as recognition gives it, barely overlaps the line.
        {"a superscript joins its word",
         {{"about", 70, 100}, {"10", 102, 100}, {"5", 112, 93, 5}, {"cycles", 120, 100}},
         "about 105 cycles"},
        {"a subscript at the line end stays on its line",
         {{"wherein", 70, 100},
          {"R", 110, 100},
          {"1", 115, 103, 6},
          {"is", 70, 112},
          {"methyl", 82, 112}},
         "wherein R1 is methyl"},
        {"a superscript opening a line stays on it",
         {{"the", 70, 100}, {"end", 90, 100}, {"2", 70, 109, 6}, {"H", 74, 112}, {"gas", 84, 112}},
         "the end 2H gas"},
        {"justified spacing",
         {{"a", 70, 100}, {"wide", 130, 100}, {"line", 250, 100}},
         "a wide line"},
        {"skewed boxes as recognition gives them",
         {{"one", 70, 100},
          {"two", 95, 101},
          {"three", 120, 102},
          {"four", 150, 103},
          {"five", 70, 112.5},
          {"six", 95, 113.5},
          {"seven", 120, 114.5}},
         "one two three four five six seven"},
        {"ligatures, soft hyphens, non-breaking spaces",
         {{QString::fromUtf8("e\uFB03cient"), 70, 100},
          {QString::fromUtf8("\uFB01xed"), 120, 100},
          {QString::fromUtf8("10\u00A0mm"), 145, 100},
          {QString::fromUtf8("sta\u00ADble"), 190, 100}},
         "efficient fixed 10 mm stable"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(LayOutPdfPages({PageOf(c.Words)}).Text.toStdString(), c.Text) << c.Name;
}

// ---- Columns ----

// Columns of lines numbered in reading order under a title; a full-width
// line after the tenth line of each column cuts the columns in two: the
// first ten lines of each column are read, then it, then the rest.
TEST(PdfLayout, ReadsColumnByColumnAroundFullWidthLines) {
    for (const int columns : {2, 3}) {
        for (const QString& across :
             {QString(),
              QStringLiteral("A sentence set across the page from the left to the right edge")}) {
            std::vector<TPlaced> words;
            const auto line = [&](const QString& Text, double Left, double Base, double Space) {
                for (const QString& w : Text.split(u' ')) {
                    words.push_back({w, Left, Base});
                    Left += w.size() * 5 + Space;
                }
            };
            const double width = 480.0 / columns;
            const QString title(
                "A title set over all the columns of the page, from the left to the right");
            line(title, 60 + (width * columns - 40 - title.size() * 5) / 2, 100, 5);
            std::string expected = title.toStdString();
            int order = 0;
            const std::vector<std::pair<int, int>> parts =
                across.isEmpty() ? std::vector<std::pair<int, int>>{{0, 20}}
                                 : std::vector<std::pair<int, int>>{{0, 10}, {10, 20}};
            for (const auto& [from, to] : parts) {
                for (int c = 0; c < columns; ++c)
                    for (int l = from; l < to; ++l) {
                        QString text = QString("%1. Column %2").arg(++order).arg(QString("abc")[c]);
                        while (text.size() * 5 < width - 80)
                            text += " words";
                        text += u'.';
                        line(text, 60 + c * width,
                             130 + l * 12 + (l >= 10 && !across.isEmpty()) * 24, 5);
                        expected += "\n" + text.toStdString();
                    }
                if (from == 0 && !across.isEmpty()) {
                    line(QString("%1. %2.").arg(++order).arg(across), 62, 130 + 10 * 12 + 6, 5.5);
                    expected += "\n" + std::to_string(order) + ". " + across.toStdString() + ".";
                }
            }
            EXPECT_EQ(LayOutPdfPages({PageOf(words)}).Text.toStdString(), expected)
                << columns << " columns, " << across.toStdString();
        }
    }
}

// ---- Paragraphs ----

TEST(PdfLayout, JoinsTheLinesOfAParagraph) {
    struct TPrinted {
        const char* Text;
        bool Full = false;     // reaches the right edge
        bool Indented = false; // starts in from the left edge
    };
    struct TCase {
        const char* Name;
        std::vector<TPrinted> Lines;
        const char* Text;
    };
    const std::vector<TCase> cases{
        {"a paragraph's lines join",
         {{"1. A pump comprising a rotor", true}, {"that turns.", false}},
         "1. A pump comprising a rotor that turns."},
        {"a short line ends a paragraph",
         {{"1. A pump.", false}, {"The pump turns.", false}},
         "1. A pump.\nThe pump turns."},
        {"an indented line starts one",
         {{"1. A pump comprising a rotor", true}, {"wherein it turns.", false, true}},
         "1. A pump comprising a rotor\nwherein it turns."},
        {"a claim number after a full line starts a claim",
         {{"1. A pump comprising a rotor.", true}, {"2. The pump of claim 1.", false}},
         "1. A pump comprising a rotor.\n2. The pump of claim 1."},
        {"a reference broken before its number does not",
         {{"1. A pump.", false},
          {"2. The pump as defined in claim", true},
          {"1.", false},
          {"3. A valve.", false}},
         "1. A pump.\n2. The pump as defined in claim 1.\n3. A valve."},
        {"a claim number alone takes its text",
         {{"7.", false}, {"A valve comprising a seat.", false}},
         "7. A valve comprising a seat."},
        {"list items keep their lines",
         {{"1. A method comprising steps of", true},
          {"a) heating the part;", true},
          {"b) cooling it.", false}},
         "1. A method comprising steps of\na) heating the part;\nb) cooling it."},
    };
    for (const TCase& c : cases) {
        TPdfPage page{595, 842, {}};
        double base = 100;
        for (const TPrinted& line : c.Lines) {
            const QStringList words = QString::fromUtf8(line.Text).split(u' ');
            double left = line.Indented ? 90 : 70;
            qsizetype chars = 0;
            for (const QString& w : words)
                chars += w.size();
            const double space =
                line.Full && words.size() > 1 ? (525 - left - chars * 5.0) / (words.size() - 1) : 5;
            for (const QString& w : words) {
                page.Words.push_back({left, base - 8, left + w.size() * 5.0, base + 2, w});
                left += w.size() * 5.0 + space;
            }
            base += 12;
        }
        // A full line of its own, far below, marks the right edge.
        page.Words.push_back({70, 400, 525, 410, "x"});
        EXPECT_EQ(LayOutPdfPages({page}).Text.section(u'\n', 0, -2).toStdString(), c.Text)
            << c.Name;
    }
}

// ---- Hyphens at line ends ----

// A full line ending in Last, the next line starting with Next, and far
// below a paragraph of its own.
TPdfPage BrokenLine(const QString& Last, const QString& Next, const QString& Elsewhere) {
    std::vector<TPlaced> words{{"some", 70, 100}, {"words", 100, 100}, {"at", 140, 100}};
    words.push_back({Last, 525 - Last.size() * 5.0, 100});
    double left = 70;
    for (const QString& w : (Next + " end").split(u' ')) {
        words.push_back({w, left, 112});
        left += (w.size() + 1) * 5;
    }
    left = 70;
    for (const QString& w : Elsewhere.split(u' ', Qt::SkipEmptyParts)) {
        words.push_back({w, left, 200});
        left += (w.size() + 1) * 5;
    }
    return PageOf(words);
}

TEST(PdfLayout, UndoesTypesettersHyphensOnly) {
    struct TCase {
        const char* Last;
        const char* Next;
        const char* Elsewhere;
        const char* Joined;
    };
    const std::vector<TCase> cases{
        {"con-", "trol", "", "control"},
        {"con\u00AD", "trol", "", "control"},
        {"C3-", "C8", "", "C3-C8"},
        {"2-", "methyl", "", "2-methyl"},
        {"Kunststoff-", "Folie", "", "Kunststoff-Folie"},
        {"PVC-", "coated", "", "PVC-coated"},
        {"non-", "woven", "", "nonwoven"},
        {"non-", "woven", "a non-woven web", "non-woven"},
        {"non-", "woven", "a Non-Woven, web", "non-woven"},
        {"poly-", "(vinyl", "", "poly-(vinyl"},
        {"-", "and", "", "- and"},
    };
    for (const TCase& c : cases) {
        const QString text =
            LayOutPdfPages({BrokenLine(QString::fromUtf8(c.Last), QString::fromUtf8(c.Next),
                                       QString::fromUtf8(c.Elsewhere))})
                .Text;
        EXPECT_EQ(text.section(u'\n', 0, 0).toStdString(),
                  std::string("some words at ") + c.Joined + " end")
            << c.Last << c.Next;
    }
}

// ---- Running lines ----

TEST(PdfLayout, DropsRunningHeadersAndPageNumbers) {
    struct TCase {
        const char* Header;
        const char* Footer;
        int Page; // as printed, else the PDF page
    };
    const std::vector<TCase> cases{
        {"U.S. Patent Jan. 2, 2018 Sheet 3 of 7 US 9,876,543 B2", "", 1},
        {"EP 1 234 567 B1", "- 7 -", 7},
        {"WO 2019/123456 PCT/EP2018/065432", "Page 4 of 9", 4},
        {"", "12", 12},
        // Body text at the top of the page stays.
        {"A pump of claim 1.", "", 1},
    };
    for (const TCase& c : cases) {
        std::vector<TPlaced> words;
        const auto line = [&](const QString& Text, double Base) {
            double left = 70;
            for (const QString& w : Text.split(u' ', Qt::SkipEmptyParts)) {
                words.push_back({w, left, Base});
                left += (w.size() + 1) * 5;
            }
        };
        line(QString::fromUtf8(c.Header), 40);
        line("3. A valve.", 120);
        line(QString::fromUtf8(c.Footer), 810);
        const TPdfText read = LayOutPdfPages({PageOf(words)});
        const std::string body = std::string(c.Header).starts_with("A pump")
                                     ? std::string(c.Header) + "\n3. A valve."
                                     : "3. A valve.";
        EXPECT_EQ(read.Text.toStdString(), body) << c.Header << c.Footer;
        ASSERT_FALSE(read.Lines.empty());
        EXPECT_EQ(read.Lines.back().Page, c.Page) << c.Header << c.Footer;
    }
}

// ---- Any boxes ----

TEST(PdfLayout, AnyBoxesGiveSomeText) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-100, 900);
    TPdfPage scattered{595, 842, {}}, oneLine{nan, -1, {}}, oneBox{0, 0, {}};
    for (int i = 0; i < 100'000; ++i) {
        const double x = coordinate(random), y = coordinate(random);
        scattered.Words.push_back(
            {x, y, x + coordinate(random) / 50, y + 8, "w" + QString::number(i % 97)});
        oneLine.Words.push_back({i * 6.0, 100, i * 6.0 + 5, 110, "5"});
        oneBox.Words.push_back({10, 10, 10, 10, "x-"});
    }
    const std::vector<std::pair<const char*, std::vector<TPdfPage>>> cases{
        {"no pages", {}},
        {"a page without words", {{612, 792, {}}, {0, 0, {{1, 2, 3, 4, " "}}}}},
        {"bad numbers",
         {{nan,
           inf,
           {{nan, 1, 2, 3, "a"},
            {1, inf, 2, 3, "b"},
            {5, 5, 1, 1, "c"},
            {1e300, -1e300, -1e300, 1e300, "d"},
            {0, 0, 0, 0, ""}}}}},
        {"100,000 scattered words", {scattered}},
        {"100,000 numbers on one line", {oneLine}},
        {"100,000 words in one point", {oneBox}},
    };
    for (const auto& [name, pages] : cases) {
        const TPdfText read = LayOutPdfPages(pages);
        const auto lines = read.Text.isEmpty() ? 0 : read.Text.count(u'\n') + 1;
        EXPECT_EQ(read.Lines.size(), static_cast<std::size_t>(lines)) << name;
        EXPECT_EQ(read.LastLines.size(), read.Lines.size()) << name;
        EXPECT_EQ(read.Text.isEmpty(), std::string(name).starts_with("no pages") ||
                                           std::string(name).starts_with("a page without"))
            << name;
    }
}

} // namespace
