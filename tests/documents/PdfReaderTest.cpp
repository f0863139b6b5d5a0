// PDFs read through ReadDocument, written for these tests with Qt's PDF
// writer or by hand, and the claims' citations.

#include "ClaimCitation.h"
#include "ClaimTree.h"
#include "DocumentReader.h"
#include "TestPdf.h"

#include <QGuiApplication>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

// A PDF of Objects, numbered from 1 (the first the catalog), with a true
// cross-reference table.
std::string HandPdf(const std::vector<std::string>& Objects, const std::string& Trailer = {}) {
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < Objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + Objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(Objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    return pdf + "trailer\n<< /Size " + std::to_string(Objects.size() + 1) + " /Root 1 0 R " +
           Trailer + " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
}

const std::string Catalog = "<< /Type /Catalog /Pages 2 0 R >>";
const std::string OnePage = "<< /Type /Pages /Kids [3 0 R] /Count 1 >>";
const std::string Page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>";

// The standard security handler with a user password: neither the empty
// user nor the empty owner password opens it.
std::string LockedPdf() {
    const std::string hash(64, 'A');
    return HandPdf({Catalog, OnePage, Page,
                    "<< /Filter /Standard /V 1 /R 2 /O <" + hash + "> /U <" + hash + "> /P -4 >>"},
                   "/Encrypt 4 0 R /ID [<0123456789ABCDEF0123456789ABCDEF> "
                   "<0123456789ABCDEF0123456789ABCDEF>]");
}

const std::vector<QString> PumpClaims = TestClaims();

TDocumentRead Read(const std::string& Bytes, bool Ocr = false,
                   std::function<bool(int, int)> Progress = {}) {
    TReadOptions options;
    options.Ocr = Ocr;
    options.Progress = std::move(Progress);
    return ReadDocument(Bytes, options);
}

struct TBadPdf {
    const char* What;
    std::string Bytes;
    bool Ocr;
    const char* Error;
};

void PrintTo(const TBadPdf& Case, std::ostream* Out) {
    *Out << Case.What;
}

class BadPdf : public testing::TestWithParam<TBadPdf> {};

TEST_P(BadPdf, IsRefusedWithItsFault) {
    const TDocumentRead read = Read(GetParam().Bytes, GetParam().Ocr);
    EXPECT_TRUE(read.Documents.empty());
    EXPECT_TRUE(read.Format.isEmpty());
    EXPECT_TRUE(read.Error.contains(QString::fromUtf8(GetParam().Error)))
        << read.Error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Pdf, BadPdf,
    testing::Values(
        TBadPdf{"locked", LockedPdf(), true, "locked with a password"},
        TBadPdf{"truncated", GrantPdf(PumpClaims).Bytes.substr(0, 1500), true, "truncated"},
        TBadPdf{"damaged", "%PDF-1.4\nno objects at all, only words\n%%EOF\n", true, "damaged"},
        TBadPdf{"no pages", HandPdf({Catalog, "<< /Type /Pages /Kids [] /Count 0 >>"}), true,
                "no pages"},
        TBadPdf{"pages without text, recognition off", WriteTestPdf({TTestPage{}, TTestPage{}}),
                false, "text recognition is off"}));

TEST(PdfReader, TellsItsProgressAndStopsWhenCancelled) {
    const std::string bytes = WriteTestPdf(std::vector<TTestPage>(
        4, TTestPage{612, 792, {{72, 72, QStringLiteral("1. A pump."), 10}}}));
    std::vector<std::pair<int, int>> calls;
    const TDocumentRead read = Read(bytes, false, [&](int Done, int Total) {
        calls.emplace_back(Done, Total);
        return true;
    });
    EXPECT_TRUE(read.Error.isEmpty());
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), std::make_pair(4, 4));

    int asked = 0;
    const TDocumentRead cancelled = Read(bytes, false, [&](int Done, int) {
        ++asked;
        return Done < 2;
    });
    EXPECT_EQ(cancelled.Error, QStringLiteral("was cancelled"));
    EXPECT_TRUE(cancelled.Documents.empty());
    EXPECT_LE(asked, 3);
}

// A scan: the page's words recognised from its image, and the reading says so.
TEST(PdfReader, RecognisesPagesWithoutText) {
    TTestPage scan{612, 792, {}, true};
    const char* lines[] = {"Claims", "1. A pump with a housing.",
                           "2. The pump of claim 1, with a valve.",
                           "3. The pump of claim 2, with a motor."};
    for (const char* line : lines)
        scan.Lines.push_back({72, 100 + 30.0 * static_cast<double>(scan.Lines.size()),
                              QString::fromLatin1(line), 12});
    const TDocumentRead read = Read(WriteTestPdf({scan}), true);
    ASSERT_TRUE(read.Error.isEmpty()) << read.Error.toStdString();
    EXPECT_TRUE(read.Documents.front().Ocr);
    const TClaimTree tree(read.Documents.front().Text.toStdString(), TReading::Lenient);
    EXPECT_EQ(tree.ClaimCount, 3);
    EXPECT_EQ(tree.Roots.size(), 1u);
}

// A page of 4800 points square is 20,000 pixels square at 300 dpi: 400 MB
// of grey, four times that in colour. Rendered for recognition it must cost
// far less.
TEST(PdfReader, HugePageIsRecognisedInBoundedMemory) {
    TTestPage huge;
    huge.Width = huge.Height = 4800;
    const std::string bytes = WriteTestPdf({huge});
    const TDocumentRead read = Read(bytes, true);
    // No words on it: recognition finds none, or is not there at all.
    EXPECT_FALSE(read.Error.isEmpty());
    // The address sanitizer's shadow and quarantine add their own hundreds
    // of megabytes: the bound holds for the program as shipped.
#if defined(__SANITIZE_ADDRESS__)
    constexpr bool sanitized = true;
#elif defined(__has_feature)
    constexpr bool sanitized = __has_feature(address_sanitizer);
#else
    constexpr bool sanitized = false;
#endif
    if (sanitized)
        return;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    EXPECT_LT(usage.ru_maxrss, 300 * 1024) << "kilobytes at the peak";
}

// ---- Citations ----

TEST(Citation, JsonAndTextForEachKindOfPlace) {
    struct TCase {
        TCitation Citation;
        const char* Json;
        const char* Text;
    };
    const TCase cases[] = {
        {{{14, 28, 5}, {14, 28, 22}},
         R"({"page": 14, "column": 28, "lines": [5, 22]})",
         "col. 28, ll. 5\u201322"},
        {{{3, 0, 10}, {3, 0, 25}}, R"({"page": 3, "lines": [10, 25]})", "page 3, ll. 10\u201325"},
        {{{14, 28, 50}, {14, 29, 12}},
         R"({"page": 14, "column": 28, "line": 50, "to": {"page": 14, "column": 29, "line": 12}})",
         "col. 28, l. 50 \u2013 col. 29, l. 12"},
        {{{3, 0, 48}, {4, 0, 2}},
         R"({"page": 3, "line": 48, "to": {"page": 4, "line": 2}})",
         "page 3, l. 48 \u2013 page 4, l. 2"},
        {{{7, 13, 40}, {7, 13, 40}},
         R"({"page": 7, "column": 13, "lines": [40, 40]})",
         "col. 13, l. 40"},
        // No margin numbers: the page alone.
        {{{2, 0, 0}, {2, 0, 0}}, R"({"page": 2})", "page 2"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(CitationJson(c.Citation), c.Json);
        EXPECT_EQ(CitationText(c.Citation), QString::fromUtf8(c.Text));
    }
}

// PDFs laid out as the offices print them, read back: each claim cited
// where it was printed, over column and page breaks too.
TEST(Citation, ClaimsOfPrintedPdfsAreCitedExactly) {
    struct TCase {
        const char* What;
        TPrintedPdf Printed;
    };
    const TCase cases[] = {
        {"grant, claim 2 over a column and page break", GrantPdf(PumpClaims, 100)},
        {"grant, claims mid-column", GrantPdf(PumpClaims, 60)},
        {"publication, claim 1 over a page break", OneColumnPdf(PumpClaims, 2, 48)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        const TDocumentRead read = Read(c.Printed.Bytes);
        ASSERT_TRUE(read.Error.isEmpty()) << read.Error.toStdString();
        EXPECT_EQ(DocumentFormatName(read.Format), QStringLiteral("a PDF"));
        const TReadDocument& document = read.Documents.front();
        EXPECT_FALSE(document.Ocr);
        const std::string text = document.Text.toStdString();
        const TClaimTree tree(text, TReading::Lenient);
        ASSERT_EQ(tree.Claims.size(), PumpClaims.size() - 1);
        const auto citations =
            ClaimCitations(tree, text, {document.LineOrigins, document.LastLineOrigins});
        for (std::size_t i = 0; i < tree.Claims.size(); ++i) {
            ASSERT_TRUE(citations[i]) << "claim " << i + 1;
            // Paragraph 0 is the heading.
            EXPECT_EQ(*citations[i], (TCitation{c.Printed.First[i + 1], c.Printed.Last[i + 1]}))
                << "claim " << i + 1 << ": " << CitationJson(*citations[i]);
        }
    }
}

// Each claim ends where its text ends, not at the next claim: a heading or
// the claims in another language may follow.
TEST(Citation, ClaimsEndWhereTheirTextEnds) {
    const std::string text = "Claims\n"            // 1
                             "1. A pump with\n"    // 2
                             "a housing.\n"        // 3
                             "\n"                  // 4
                             "2. The pump of\n"    // 5
                             "claim 1, with a\n"   // 6
                             "valve.\n"            // 7
                             "Patentanspr\xC3\xBC" // 8
                             "che\n"
                             "1. Pumpe.\n"; // 9
    std::vector<TLineOrigin> lines;
    for (int l = 1; l <= 10; ++l)
        lines.push_back({l < 6 ? 3 : 4, 0, l < 6 ? 45 + l : l - 5});
    const TClaimTree tree(text, TReading::Lenient);
    ASSERT_GE(tree.Claims.size(), 2u);
    const auto citations = ClaimCitations(tree, text, {lines, {}});
    ASSERT_TRUE(citations[0] && citations[1]);
    EXPECT_EQ(*citations[0], (TCitation{{3, 0, 47}, {3, 0, 48}}));
    EXPECT_EQ(*citations[1], (TCitation{{3, 0, 50}, {4, 0, 2}}));
    EXPECT_TRUE(ClaimCitations(tree, text, {{}, {}})[0] == std::nullopt);
}

} // namespace

int main(int argc, char** argv) {
    // Qt's PDF writer needs fonts, and so the program's GUI side.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
