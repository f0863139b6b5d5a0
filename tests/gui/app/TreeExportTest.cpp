// Exports read back as a reader would: the PDF's text and pages, the SVG's
// text elements, the PNG's pixels; printing through a PDF printer.

#include "TreeExport.h"

#include "AppTestMain.h"
#include "BoxGeometry.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "Dialogs.h"
#include "GlyphButton.h"
#include "TreeDrawing.h"
#include "frmMain.h"

#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QXmlStreamReader>
#include <algorithm>
#include <map>
#include <memory>
#include <optional>

namespace {

using TFormat = TTreeExport::TFormat;

// 99 claims, claim n hanging on claim n / 2: far more boxes than a page
// holds, seven levels deep.
std::string ManyClaims() {
    std::string text = "We claim:\n1. A pump.\n";
    for (int n = 2; n <= 99; ++n)
        text += std::to_string(n) + ". The pump of claim " + std::to_string(n / 2) + ".\n";
    return text;
}

// Claim n depends on every claim before it: the drawn tree doubles with
// every claim, the claims do not.
std::string AnyPrecedingClaims(int Count) {
    std::string text = "We claim:\n1. A pump.\n2. The pump of claim 1.\n";
    for (int n = 3; n <= Count; ++n)
        text +=
            std::to_string(n) + ". The pump of any of claims 1 to " + std::to_string(n - 1) + ".\n";
    return text;
}

// Pictures in a PDF: the window's buttons would be some.
int PdfImageCount(const QString& FileName) {
    QProcess pdfimages;
    pdfimages.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), FileName});
    if (!pdfimages.waitForFinished(60'000) || pdfimages.exitCode() != 0)
        return -1;
    // Two lines of column titles, then one line an image.
    const QList<QByteArray> lines = pdfimages.readAllStandardOutput().trimmed().split('\n');
    return static_cast<int>(lines.size()) - 2;
}

// How often a caption stands in Text as a line of its own: pdftotext and
// the SVG's text elements give each caption its own line.
int CaptionCount(const QString& Text, const QString& Caption) {
    int count = 0;
    for (const QString& line : Text.split(QLatin1Char('\n')))
        count += line.trimmed() == Caption ? 1 : 0;
    return count;
}

std::map<QString, int> ExpectedCaptions(const TExportTree& Tree) {
    std::map<QString, int> counts;
    for (const TExportRow& row : Tree.Rows)
        ++counts[row.Caption];
    return counts;
}

// The PDF's text, pages ending in form feeds.
QString PdfText(const QString& FileName) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {FileName, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60'000) || pdftotext.exitCode() != 0)
        return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

QString SvgText(const QString& FileName) {
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader svg(&file);
    QString text;
    while (!svg.atEnd()) {
        if (svg.readNext() == QXmlStreamReader::StartElement && svg.name() == QLatin1String("text"))
            text += svg.readElementText(QXmlStreamReader::IncludeChildElements) + QLatin1Char('\n');
    }
    return svg.hasError() ? QString() : text;
}

} // namespace

class TreeExportTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TfrMain> window;
    QTemporaryDir folder;

    void Analyse(const std::string& Text) {
        window->InputText = Text;
        window->AnalyseInput();
    }

    void ShowSet(const QString& Set) {
        if (Set == QLatin1String("any preceding")) {
            Analyse(AnyPrecedingClaims(11));
            return;
        }
        if (!Set.startsWith(QLatin1String("example 4"))) {
            Analyse(ManyClaims());
            return;
        }
        window->Example4Click();
        if (Set.endsWith(QLatin1String("texts"))) {
            // Claim 1's whole text and claim 3's preview.
            TTreeDrawing& drawing = *window->ClaimDrawing;
            TClaimTreeNode* one = window->ClaimTree->NodesByClaim[1].front();
            drawing.ShowTextButtonClick(*one, drawing.View(*one).ShowTextButton);
            drawing.ShowTextButtonClick(*one, drawing.View(*one).ShowTextButton);
            TClaimTreeNode* three = window->ClaimTree->NodesByClaim[3].front();
            drawing.ShowTextButtonClick(*three, drawing.View(*three).ShowTextButton);
        }
    }

    void CheckCaptions(const QString& Text, const TExportTree& Tree) {
        for (const auto& [caption, count] : ExpectedCaptions(Tree))
            QVERIFY2(CaptionCount(Text, caption) == count, qPrintable(caption));
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        TDialogs::Reset();
        window = std::make_unique<TfrMain>();
        frMain = window.get();
        window->WasActivated = true;
        window->resize(1000, 700);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup() { window.reset(); }

    void exportReadsBack_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("set");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<int>("minPages");
        QTest::newRow("pdf example 4") << int(TFormat::Pdf) << "example 4" << false << 1;
        QTest::newRow("pdf long chain") << int(TFormat::Pdf) << "many claims" << false << 3;
        QTest::newRow("pdf example 4 texts")
            << int(TFormat::Pdf) << "example 4 texts" << false << 1;
        QTest::newRow("pdf any preceding whole")
            << int(TFormat::Pdf) << "any preceding" << true << 20;
        QTest::newRow("svg example 4") << int(TFormat::Svg) << "example 4" << false << 1;
        QTest::newRow("svg long chain") << int(TFormat::Svg) << "many claims" << false << 1;
        QTest::newRow("png example 4") << int(TFormat::Png) << "example 4" << false << 1;
        QTest::newRow("png long chain") << int(TFormat::Png) << "many claims" << false << 1;
    }

    void exportReadsBack() {
        QFETCH(int, format);
        QFETCH(QString, set);
        QFETCH(bool, whole);
        QFETCH(int, minPages);
        ShowSet(set);
        window->TreeExport1->WholeTree1->setChecked(whole);
        window->sbClaimTree->SetBoxMarks({{2, unsigned(TBoxMark::Problem)}});
        const TExportTree tree = window->TreeExport1->CurrentTree();
        QVERIFY(!tree.Rows.empty());
        const QString name = folder.filePath(QStringLiteral("tree"));
        QVERIFY(window->TreeExport1->Export(static_cast<TFormat>(format), name));
        QCOMPARE(TDialogs::BoxCount(), 0);

        switch (static_cast<TFormat>(format)) {
        case TFormat::Pdf: {
            const QString text = PdfText(name);
            QVERIFY(!text.isEmpty());
            // Every caption once per box: none cut at a page's edge, none twice.
            CheckCaptions(text, tree);
            if (set.endsWith(QLatin1String("texts"))) {
                // The last line of claim 1 and the first of claim 3, but
                // not the end of claim 3, which its preview leaves out.
                QVERIFY(text.contains(QLatin1String("release the active agent into the")));
                QVERIFY(text.contains(QLatin1String("The delivery system of Claim 2")));
                QVERIFY(!text.contains(QLatin1String("range of from 29")));
            }
            // pdftotext ends every page with a form feed.
            QVERIFY(text.count(QLatin1Char('\f')) >= minPages);
            // Paper shows none of the window's buttons.
            QCOMPARE(PdfImageCount(name), 0);
            break;
        }
        case TFormat::Svg:
            CheckCaptions(SvgText(name), tree);
            QVERIFY(!QString::fromStdString(ReadBytes(name)).contains(QLatin1String("<image")));
            break;
        case TFormat::Png: {
            const QImage image(name, "PNG");
            QVERIFY(!image.isNull());
            // Twice the picture: 33 pixels a box, doubled.
            QVERIFY(image.height() >= static_cast<int>(tree.Rows.size()) * 33 * 2);
            int blue = 0;
            int orange = 0;
            for (int y = 0; y < image.height(); y += 2) {
                for (int x = 0; x < image.width(); x += 2) {
                    const QColor pixel = image.pixelColor(x, y);
                    if (pixel.blue() > 200 && pixel.red() < 100 && pixel.green() < 100)
                        ++blue;
                    orange += pixel.rgba() == BoxGeometry::ProblemMarkColor ? 1 : 0;
                }
            }
            // Blue captions, at least a few pixels each.
            QVERIFY(blue > static_cast<int>(tree.Rows.size()) * 4);
            // Claim 2's problem bar, whole in every box of claim 2 (every
            // other pixel of a picture at twice the scale).
            const auto marked =
                std::count_if(tree.Rows.begin(), tree.Rows.end(),
                              [](const TExportRow& Row) { return Row.Number == 2; });
            QVERIFY(marked > 0);
            QCOMPARE(orange, static_cast<int>(marked) * BoxGeometry::MarkerWidth *
                                 (TGlyphButton::Size - 2));
            break;
        }
        }
    }

    void failedWriteLeavesNothing_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("missing folder") << "missing/tree.pdf" << int(TFormat::Pdf) << false;
        QTest::newRow("name of a folder") << "folder.pdf" << int(TFormat::Pdf) << false;
        // Smaller than QSaveFile's buffer: only the last flush meets the full disk.
        QTest::newRow("disk full") << "tree.svg" << int(TFormat::Svg) << true;
    }

    void failedWriteLeavesNothing() {
        QFETCH(QString, target);
        QFETCH(int, format);
        QFETCH(bool, diskFull);
        QTemporaryDir here;
        QVERIFY(QDir(here.path()).mkdir(QStringLiteral("folder.pdf")));
        const std::string old = "<svg/>";
        if (diskFull) {
            QFile file(here.filePath(target));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(old.data(), static_cast<qint64>(old.size()));
        }
        const QStringList before = QDir(here.path()).entryList(QDir::AllEntries | QDir::Hidden);
        if (diskFull)
            Analyse("We claim:\n1. A pump.\n2. The pump of claim 1.\n");
        else
            window->Example4Click();
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        {
            std::optional<TFileSizeLimit> limit;
            if (diskFull)
                limit.emplace(64);
            QVERIFY(
                !window->TreeExport1->Export(static_cast<TFormat>(format), here.filePath(target)));
        }
        QCOMPARE(TDialogs::BoxCount(), 1);
        QCOMPARE(TDialogs::LastBox().Caption, QStringLiteral("ERROR"));
        QVERIFY(TDialogs::LastBox().Text.contains(target));
        QCOMPARE(QDir(here.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
        QVERIFY(QDir(here.filePath(QStringLiteral("folder.pdf"))).isEmpty());
        if (diskFull)
            QCOMPARE(ReadBytes(here.filePath(target)), old);
    }

    void printsAndPreviewsThePages() {
        Analyse(ManyClaims());
        const TExportTree tree = window->TreeExport1->CurrentTree();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setOutputFileName(folder.filePath(QStringLiteral("printed.pdf")));
        QVERIFY(window->TreeExport1->PrintOn(printer));
        const QString text = PdfText(printer.outputFileName());
        CheckCaptions(text, tree);
        const int pages = static_cast<int>(text.count(QLatin1Char('\f')));
        QVERIFY(pages > 1);

        QPrinter shown(QPrinter::HighResolution);
        shown.setPageSize(QPageSize(QPageSize::Letter));
        std::unique_ptr<QPrintPreviewDialog> preview(window->TreeExport1->NewPreview(shown));
        preview->open();
        auto* pagesShown = preview->findChild<QPrintPreviewWidget*>();
        QVERIFY(pagesShown != nullptr);
        QTRY_COMPARE(pagesShown->pageCount(), pages);
        preview->close();
    }

    void copiesTheShownTreeAsOutline() {
        Analyse("We claim:\n1. A pump.\n2. The pump of claim 1.\n3. A valve.\n"
                "4. The pump of claims 2 or 3.\n");
        TClaimTreeNode* two = window->ClaimTree->NodesByClaim[2].front();
        window->ClaimDrawing->ExpandButtonClick(*two,
                                                window->ClaimDrawing->View(*two).ExpandButton);
        window->TreeExport1->CopyTreeAsText1->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("Claim 1\n  Claim 2\nClaim 3\n  Claim 4 (dependent of 2, 3)\n"));
    }

    // Every page names the document, its number when the text gives one, the
    // date and the reading, and counts the pages.
    void reportPagesCarryHeaderAndFooter_data() {
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("number");
        QTest::newRow("numbered") << "(10) Pub. No.: US 2031/0123456 A1\n"
                                  << "US 2031/0123456 A1";
        QTest::newRow("no number") << "Claims as filed\n" << QString();
    }

    void reportPagesCarryHeaderAndFooter() {
        QFETCH(QString, top);
        QFETCH(QString, number);
        window->DocumentFileName = folder.filePath(QStringLiteral("pump claims.txt"));
        Analyse(top.toStdString() + AnyPrecedingClaims(99));
        const QString name = folder.filePath(QStringLiteral("report.pdf"));
        QVERIFY(window->TreeExport1->ExportReport(name));
        QCOMPARE(TDialogs::BoxCount(), 0);
        QStringList pages = PdfText(name).split(QLatin1Char('\f'));
        pages.removeLast(); // after the last form feed
        QVERIFY(pages.size() >= 2);
        const QString date = QLocale().toString(QDate::currentDate(), QLocale::LongFormat);
        for (qsizetype page = 0; page < pages.size(); ++page) {
            const QString& text = pages[page];
            QVERIFY2(text.contains(QLatin1String("pump claims.txt")), qPrintable(text));
            QVERIFY(text.contains(date));
            QVERIFY(text.contains(QLatin1String("Standard reading")));
            QVERIFY(text.contains(QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages.size())));
            if (!number.isEmpty())
                QVERIFY(text.contains(number));
            else
                QVERIFY(!text.contains(QLatin1String("\u00b7  \u00b7")));
        }
        // The problems and the fee counts follow the outline.
        QVERIFY(pages.back().contains(QLatin1String("US fees:")));
    }

    // A claim hanging on several claims is drawn below each of them, with
    // its dependants; the report names it once.
    void reportOutlinesEachClaimOnce() {
        Analyse(AnyPrecedingClaims(12) + "13. A valve.\n14. The valve of claim 13 or 12.\n" +
                "15. The valve of claim 14.\n");
        QVERIFY(window->ClaimTree->FullNodeCount > 1000);
        const QString name = folder.filePath(QStringLiteral("report.pdf"));
        QVERIFY(window->TreeExport1->ExportReport(name));
        const QString text = PdfText(name);
        const qsizetype start = text.indexOf(QLatin1String("\nClaims\n"));
        const qsizetype end = text.indexOf(QLatin1String("\nProblems\n"));
        QVERIFY(start >= 0 && end > start);
        std::map<int, int> seen;
        static const QRegularExpression claimLine(QStringLiteral("^Claim (\\d+)(\\s|$)"));
        for (const QString& line : text.mid(start, end - start).split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch match = claimLine.match(line.trimmed());
            if (match.hasMatch())
                ++seen[match.captured(1).toInt()];
        }
        QCOMPARE(static_cast<int>(seen.size()), 15);
        for (const auto& [claim, count] : seen)
            QVERIFY2(count == 1, qPrintable(QString::number(claim)));
        QVERIFY(text.contains(QStringLiteral("also depends on claims 2\u20134")));
        QVERIFY(text.contains(QLatin1String("also depends on claim 12")));
    }

    void wholeTreePastTheLimitIsRefused() {
        window->Example4Click();
        window->TreeExport1->WholeTree1->setChecked(true);
        const int64_t boxes = window->ClaimTree->FullNodeCount;
        QVERIFY(boxes > TTreeExport::MaxWholeTreeBoxes);
        const QString name = folder.filePath(QStringLiteral("whole.pdf"));
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        QVERIFY(!window->TreeExport1->Export(TFormat::Pdf, name));
        QCOMPARE(TDialogs::BoxCount(), 1);
        QVERIFY2(TDialogs::LastBox().Text.contains(QLocale().toString(boxes)),
                 qPrintable(TDialogs::LastBox().Text));
        QVERIFY(!QFile::exists(name));
        // The tree as shown is still written.
        window->TreeExport1->WholeTree1->setChecked(false);
        QVERIFY(window->TreeExport1->Export(TFormat::Pdf, name));
    }

    // Cancel stops the whole-tree export between two pages: no file, no error.
    void wholeTreeExportCancels() {
        Analyse(AnyPrecedingClaims(11));
        window->TreeExport1->WholeTree1->setChecked(true);
        const QString name = folder.filePath(QStringLiteral("cancelled.pdf"));
        QElapsedTimer sinceCancel;
        int pages = 0;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* progress = window->findChild<QProgressDialog*>(QStringLiteral("ExportProgress"));
            if (progress == nullptr || progress->value() < 2 || sinceCancel.isValid())
                return;
            pages = progress->maximum();
            sinceCancel.start();
            progress->cancel();
        });
        poll.start(10);
        QElapsedTimer whole;
        whole.start();
        QVERIFY(!window->TreeExport1->Export(TFormat::Pdf, name));
        const qint64 afterCancel = sinceCancel.elapsed();
        QVERIFY(sinceCancel.isValid());
        qInfo("cancelled within %lld ms of %lld ms, %d pages", afterCancel, whole.elapsed(), pages);
        QVERIFY(pages > 20);
        QCOMPARE(TDialogs::BoxCount(), 0);
        QVERIFY(!QFile::exists(name));
        QVERIFY(window->findChild<QProgressDialog*>(QStringLiteral("ExportProgress")) == nullptr);
    }

    void pageSizeFollowsTheLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("size");
        QTest::newRow("United States") << "en_US" << int(QPageSize::Letter);
        QTest::newRow("Canada, French") << "fr_CA" << int(QPageSize::Letter);
        QTest::newRow("Mexico") << "es_MX" << int(QPageSize::Letter);
        QTest::newRow("United Kingdom") << "en_GB" << int(QPageSize::A4);
        QTest::newRow("Germany") << "de_DE" << int(QPageSize::A4);
    }

    void pageSizeFollowsTheLocale() {
        QFETCH(QString, locale);
        QFETCH(int, size);
        QCOMPARE(int(LocalePageSize(QLocale(locale)).id()), size);
    }
};

VELTRUM_APP_TEST_MAIN(TreeExportTest)
#include "TreeExportTest.moc"
