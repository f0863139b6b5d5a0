// Recognition of rendered claims pages: what it reads must read as the text
// it was rendered from, and any image or language it cannot take is an error.

#include "PdfOcr.h"

#include "PageImages.h"
#include "PdfLayout.h"
#include "ReadingText.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

QString WordsOf(const TRecognisedWords& Result) {
    QString out;
    for (const TPdfWord& w : Result.Words)
        out += w.Text + QLatin1Char(' ');
    return out;
}

struct TLanguageCase {
    const char* Languages;
    const char* Text;
    const char* KeyWords[2];
};

const TLanguageCase LanguageCases[] = {
    {"eng",
     "1. A hinge comprising a leaf (12) and a pin (14).\n"
     "2. The hinge of claim 1, wherein the pin (14) is hollow.\n"
     "11. The hinge of claim 1 or 2, wherein the leaf (12) is bent.\n"
     "17. The hinge according to any one of claims 2 to 11.",
     {"hinge", "hollow"}},
    {"deu",
     "1. Lüfter mit einem Gehäuse (1) und einem Flügelrad (3).\n"
     "2. Lüfter nach Anspruch 1, wobei das Gehäuse (1) geschlossen ist.\n"
     "3. Lüfter nach Anspruch 1 oder 2, dadurch gekennzeichnet, dass das\n"
     "Flügelrad (3) aus Kunststoff besteht.",
     {"Lüfter", "Flügelrad"}},
    {"fra",
     "1. Procédé de séchage d'un matériau, comprenant une étape (a).\n"
     "2. Procédé selon la revendication 1, caractérisé en ce que\n"
     "l'étape (a) dure 12 minutes.\n"
     "3. Procédé selon l'une des revendications 1 ou 2.",
     {"Procédé", "caractérisé"}},
};

// Claim numbers and the claims they name come out exactly as from the plain
// text; the words stand where they were printed, in points.
TEST(PdfOcr, ReadsClaimsPagesInEachLanguage) {
    if (!OcrAvailable())
        GTEST_SKIP() << "no language data for text recognition";
    for (const TLanguageCase& c : LanguageCases) {
        const QString text = QString::fromUtf8(c.Text);
        const std::vector<TRenderedPage> pages = RenderPages(text, TPageLayout::Plain);
        ASSERT_EQ(pages.size(), 1u);
        const TRecognisedWords got =
            RecogniseWords(PageImageOf(pages[0]), QString::fromLatin1(c.Languages));
        ASSERT_TRUE(got.Error.isEmpty()) << got.Error.toStdString();
        const TPdfText laidOut = LayOutPdfPages({{pages[0].Width, pages[0].Height, got.Words}});
        EXPECT_EQ(ReadingText(TClaimTree(laidOut.Text.toStdString(), TReading::Lenient)),
                  ReadingText(TClaimTree(text.toStdString(), TReading::Lenient)))
            << c.Languages << ": " << laidOut.Text.toStdString();
        for (const char* key : c.KeyWords)
            EXPECT_TRUE(WordsOf(got).contains(QString::fromUtf8(key)))
                << key << " in " << WordsOf(got).toStdString();
        // The first word "1." is printed at 72 pt from the left, its line
        // 72 pt from the top.
        ASSERT_FALSE(got.Words.empty());
        const TPdfWord& first = got.Words.front();
        EXPECT_NEAR(first.Left, 72, 3) << c.Languages;
        EXPECT_NEAR(first.Top, 75, 4) << c.Languages;
        EXPECT_LT(first.Right, 90) << c.Languages;
        EXPECT_NEAR(first.Bottom - first.Top, 8, 3) << c.Languages;
    }
}

TEST(PdfOcr, BlankPageGivesNoWords) {
    if (!OcrAvailable())
        GTEST_SKIP() << "no language data for text recognition";
    QImage blank(2480, 3508, QImage::Format_Grayscale8);
    blank.fill(Qt::white);
    const TRecognisedWords got = RecogniseWords({blank.constBits(), blank.width(), blank.height(),
                                                 static_cast<int>(blank.bytesPerLine()), 300},
                                                QStringLiteral("eng"));
    EXPECT_TRUE(got.Error.isEmpty()) << got.Error.toStdString();
    EXPECT_TRUE(got.Words.empty()) << WordsOf(got).toStdString();
}

// Asked a few times while the page is being read, Cancelled stops it.
TEST(PdfOcr, CancelledStopsRecognition) {
    if (!OcrAvailable())
        GTEST_SKIP() << "no language data for text recognition";
    QString text;
    for (int i = 1; i <= 40; ++i)
        text += QStringLiteral("%1. The hinge of claim %2, wherein the pin is hollow.\n")
                    .arg(i + 1)
                    .arg(i);
    const std::vector<TRenderedPage> pages = RenderPages(text, TPageLayout::Plain);
    int polls = 0;
    const TRecognisedWords got =
        RecogniseWords(PageImageOf(pages[0]), QStringLiteral("eng"), [&] { return ++polls > 3; });
    EXPECT_GT(polls, 3);
    EXPECT_FALSE(got.Error.isEmpty());
    EXPECT_TRUE(got.Words.empty());
}

// What recognition makes of claim words and numbers that the readings cannot
// use is mended; everything else stays as read.
TEST(PdfOcr, MendsWhatTheReadingsCannotUse) {
    const struct {
        const char* Read;
        const char* Mended;
    } cases[] = {
        {"nach einem der Anspriiche 1 bis 3", "nach einem der Ansprüche 1 bis 3"},
        {"PATENTANSPRIICHE", "PATENTANSPRÜCHE"},
        {"conforme a reivindicagao 2", "conforme a reivindicaçao 2"},
        {"las reivindicaciones 2 0 3,", "las reivindicaciones 2 o 3,"},
        {"la rivendicazione 1 05, caratterizzata", "la rivendicazione 1 o 5, caratterizzata"},
        {"claims 1 to 3 at 0 to 5 bar, 10 0.5 mm", "claims 1 to 3 at 0 to 5 bar, 10 0.5 mm"},
        {"claim 1, 0 5", "claim 1, 0 5"},
        {"claim 12 0", "claim 12 0"},
        {"Gewicht 5 050 g", "Gewicht 5 050 g"},
        {"Massen von 1 050, 2 100 kg", "Massen von 1 050, 2 100 kg"},
        {"1 012 und 2 05 mm", "1 012 und 2 05 mm"},
    };
    for (const auto& c : cases) {
        std::vector<TPdfWord> words;
        double left = 0;
        for (const QString& text : QString::fromUtf8(c.Read).split(QLatin1Char(' '))) {
            words.push_back({left, 0, left + 6.0 * text.size(), 10, text});
            left += 6.0 * text.size() + 4;
        }
        MendRecognisedWords(words);
        QStringList mended;
        for (std::size_t i = 0; i < words.size(); ++i) {
            mended << words[i].Text;
            if (i > 0) {
                EXPECT_LE(words[i - 1].Right, words[i].Left) << c.Read;
            }
        }
        EXPECT_EQ(mended.join(QLatin1Char(' ')).toStdString(), c.Mended);
    }
}

// Images and language names recognition must refuse before it starts, without
// touching the pixels (the huge image here has none behind it).
TEST(PdfOcr, RefusesWhatItCannotRead) {
    static const uint8_t pixels[64] = {};
    struct TCase {
        TPageImage Image;
        const char* Languages;
        const char* Says;
    } const cases[] = {
        {{pixels, 20000, 20000, 20000, 300}, "eng", "too large"},
        {{pixels, 40000, 100, 40000, 300}, "eng", "too large"},
        {{pixels, 8, 8, 4, 300}, "eng", "malformed"},
        {{nullptr, 8, 8, 8, 300}, "eng", "malformed"},
        {{pixels, 8, 8, 8, 0}, "eng", "resolution"},
        {{pixels, 8, 8, 8, 300}, "eng+xyz", "xyz"},
        {{pixels, 8, 8, 8, 300}, "../../etc/eng", "not a language name"},
    };
    for (const TCase& c : cases) {
        const TRecognisedWords got = RecogniseWords(c.Image, QString::fromLatin1(c.Languages));
        EXPECT_TRUE(got.Error.contains(QLatin1String(c.Says)))
            << c.Says << ": " << got.Error.toStdString();
        EXPECT_TRUE(got.Words.empty());
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
