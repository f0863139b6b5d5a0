// The exported picture against the window's drawing and the command-line
// outline: the same boxes, in the same places, paged between boxes.

#include "BoxGeometry.h"
#include "BuiltinExamples.h"
#include "DrawnTree.h"
#include "ExportRenderer.h"
#include "Report.h"
#include "TreeDrawing.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QtTest>
#include <sstream>

namespace {

// The rows of the drawing that are shown, top to bottom.
std::vector<TDrawnRow> ShownRows(const TTreeDrawing& Drawing) {
    std::vector<TDrawnRow> shown;
    for (const TDrawnRow& row : Drawing.Rows()) {
        if (row.Height > 0)
            shown.push_back(row);
    }
    return shown;
}

// Pump claims with claim 5's second copy carrying, texts shown, a branch view.
enum class TView { Expanded, TextsShown, SecondCopyCarries, Branch, Collapsed, OneRoot };

void SetView(TDrawnTree& Drawn, TView View) {
    switch (View) {
    case TView::Expanded:
        break;
    case TView::TextsShown:
        Drawn.drawing->ShowTextButtonClick(*Drawn.Node(2),
                                           Drawn.View(Drawn.Node(2)).ShowTextButton);
        Drawn.drawing->ShowTextButtonClick(*Drawn.Node(4),
                                           Drawn.View(Drawn.Node(4)).ShowTextButton);
        Drawn.drawing->ShowTextButtonClick(*Drawn.Node(4),
                                           Drawn.View(Drawn.Node(4)).ShowTextButton);
        break;
    case TView::SecondCopyCarries:
        Drawn.drawing->ExpandButtonClick(*Drawn.Node(5, 1),
                                         Drawn.View(Drawn.Node(5, 1)).ExpandButton);
        break;
    case TView::Branch:
        Drawn.drawing->BranchButtonClick(*Drawn.Node(4), Drawn.View(Drawn.Node(4)).BranchButton);
        break;
    case TView::Collapsed:
        Drawn.drawing->CollapseAll();
        Drawn.drawing->ExpandButtonClick(*Drawn.Node(1), Drawn.View(Drawn.Node(1)).ExpandButton);
        break;
    case TView::OneRoot:
        Drawn.drawing->BuildDrawing(&Drawn.pane, &Drawn.images, nullptr, 1, true);
        Drawn.drawing->ExpandAll();
        break;
    }
}

} // namespace

class ExportPictureTest : public QObject {
    Q_OBJECT

private slots:
    void shownRowsStandWhereTheWindowDrawsThem_data();
    void shownRowsStandWhereTheWindowDrawsThem();
    void wholeTreeIsTheCommandLineOutline_data();
    void wholeTreeIsTheCommandLineOutline();
    void pagesBreakBetweenBoxes_data();
    void pagesBreakBetweenBoxes();
    void cutDrawingIsExportedAsCut();
    void progressStopsThePaging();
};

void ExportPictureTest::shownRowsStandWhereTheWindowDrawsThem_data() {
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("outline");
    QTest::newRow("expanded") << int(TView::Expanded)
                              << "Claim 1\n  Claim 2\n    Claim 3\n      Claim 4\n"
                                 "    Claim 5 (dependent of 1, 2)\n  Claim 5 (dependent of 1, 2)\n"
                                 "    Claim 6\nClaim 7\n  Claim 8\n";
    QTest::newRow("texts shown")
        << int(TView::TextsShown)
        << "Claim 1\n  Claim 2\n    Claim 3\n      Claim 4\n"
           "    Claim 5 (dependent of 1, 2)\n  Claim 5 (dependent of 1, 2)\n"
           "    Claim 6\nClaim 7\n  Claim 8\n";
    QTest::newRow("second copy carries")
        << int(TView::SecondCopyCarries)
        << "Claim 1\n  Claim 2\n    Claim 3\n      Claim 4\n    Claim 5 (dependent of 1, 2)\n"
           "      Claim 6\n  Claim 5 (dependent of 1, 2)\nClaim 7\n  Claim 8\n";
    QTest::newRow("branch") << int(TView::Branch)
                            << "Claim 1\n  Claim 2\n    Claim 3\n      Claim 4\n";
    QTest::newRow("collapsed") << int(TView::Collapsed)
                               << "Claim 1\n  Claim 2\n  Claim 5 (dependent of 1, 2)\nClaim 7\n";
    QTest::newRow("one root") << int(TView::OneRoot) << "Claim 7\n  Claim 8\n";
}

void ExportPictureTest::shownRowsStandWhereTheWindowDrawsThem() {
    QFETCH(int, view);
    QFETCH(QString, outline);
    TDrawnTree drawn(PumpClaims);
    SetView(drawn, static_cast<TView>(view));

    const TExportTree exported = ShownExportTree(*drawn.drawing, MaxDrawnBoxes);
    QCOMPARE(OutlineText(exported), outline);
    const TExportPicture picture(exported, drawn.pane.width());
    const TTreeDrawing& drawing = *drawn.drawing;
    const std::vector<TDrawnRow> rows = ShownRows(drawing);
    QCOMPARE(exported.Rows.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        QCOMPARE(exported.Rows[i].Caption, QString::fromStdString(rows[i].Node->Caption()));
        QCOMPARE(exported.Rows[i].Depth, rows[i].Level);
        QCOMPARE(picture.RowTop(i), rows[i].Top);
        QCOMPARE(exported.Rows[i].Expanded, drawing.Geometry(rows[i]).ChildLineShown);
    }
}

void ExportPictureTest::wholeTreeIsTheCommandLineOutline_data() {
    QTest::addColumn<int>("example");
    for (int example = 1; example <= BuiltinExampleCount; ++example)
        QTest::addRow("example %d", example) << example;
}

void ExportPictureTest::wholeTreeIsTheCommandLineOutline() {
    QFETCH(int, example);
    const TClaimTree tree(BuiltinExampleText(example));
    std::ostringstream report;
    QVERIFY(WriteTreeReport(report, tree, MaxDrawnBoxes));
    const TExportTree whole = WholeExportTree(tree, MaxDrawnBoxes);
    QCOMPARE(OutlineText(whole), QString::fromStdString(report.str()));
    QVERIFY(whole.Notices.isEmpty());
    // Every box lists the boxes below it, and so is expanded.
    for (std::size_t i = 0; i + 1 < whole.Rows.size(); ++i)
        QCOMPARE(whole.Rows[i].Expanded, whole.Rows[i + 1].Depth > whole.Rows[i].Depth);
}

void ExportPictureTest::pagesBreakBetweenBoxes_data() {
    QTest::addColumn<int>("pageHeight");
    QTest::newRow("a box a page") << 45;
    QTest::newRow("a few boxes") << 200;
    QTest::newRow("odd height") << 333;
    QTest::newRow("smaller than the long text") << 60;
}

void ExportPictureTest::pagesBreakBetweenBoxes() {
    QFETCH(int, pageHeight);
    TDrawnTree drawn(PumpClaims +
                     "9. The pump of claim 8, wherein\nthe\nshaft\nis\nmade\nof\nsteel.\n");
    drawn.drawing->ShowTextButtonClick(*drawn.Node(9), drawn.View(drawn.Node(9)).ShowTextButton);
    drawn.drawing->ShowTextButtonClick(*drawn.Node(9), drawn.View(drawn.Node(9)).ShowTextButton);
    const TExportTree exported = ShownExportTree(*drawn.drawing, MaxDrawnBoxes);
    const TExportPicture picture(exported, drawn.pane.width());
    const std::vector<int> tops = picture.PageTops(pageHeight);

    std::vector<int> rowTops;
    for (std::size_t i = 0; i < exported.Rows.size(); ++i)
        rowTops.push_back(picture.RowTop(i));
    const int lastRowTop = rowTops.back();
    for (std::size_t page = 1; page < tops.size(); ++page) {
        QVERIFY(tops[page] > tops[page - 1]);
        // Only the gap after its last box may run past the page.
        QVERIFY(tops[page] - tops[page - 1] <= pageHeight + BoxGeometry::BoxGap);
        // A page starts at a box, or inside the last box's text when that is
        // taller than a page, between two of its lines.
        const bool atBox = std::find(rowTops.begin(), rowTops.end(), tops[page]) != rowTops.end();
        const bool insideLongText = tops[page] > lastRowTop;
        QVERIFY2(atBox || insideLongText, qPrintable(QString::number(tops[page])));
    }
    QVERIFY(picture.Size().height() - tops.back() <= pageHeight + BoxGeometry::BoxGap);
}

// A drawing that stops after four boxes exports those four, and says so as
// the window does.
void ExportPictureTest::cutDrawingIsExportedAsCut() {
    TDrawnTree drawn(PumpClaims, 480, 400, 4);
    const TExportTree exported = ShownExportTree(*drawn.drawing, MaxDrawnBoxes);
    QCOMPARE(OutlineText(exported),
             QStringLiteral("Claim 1\n  Claim 2\n    Claim 3\n      Claim 4\n"));
    QCOMPARE(exported.Notices, QStringList{DrawingLimitNotice(4)});
    // Above the boxes as well as below them: the first page says so.
    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    QVERIFY(TExportPicture(exported, drawn.pane.width()).WriteSvg(svg, QStringLiteral("cut")));
    const QString text = QString::fromUtf8(svg.data());
    const qsizetype notice = text.indexOf(DrawingLimitNotice(4).toHtmlEscaped());
    QVERIFY(notice >= 0);
    QVERIFY(notice < text.indexOf(QLatin1String(">Claim 1<")));
    QVERIFY(text.lastIndexOf(DrawingLimitNotice(4).toHtmlEscaped()) >
            text.indexOf(QLatin1String(">Claim 4<")));
}

// A stop asked for before a page paints no further page: Cancel must not
// wait for the rest of a long export.
void ExportPictureTest::progressStopsThePaging() {
    const TClaimTree tree(BuiltinExampleText(4));
    const TExportTree whole = WholeExportTree(tree, 2000);
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    QPdfWriter writer(&file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    const TExportPicture picture(whole, PageTextRoom(writer));
    std::vector<int> asked;
    int pages = 0;
    QVERIFY(!PaintPages(picture, writer, [&](int Page, int Pages) {
        asked.push_back(Page);
        pages = Pages;
        return Page < 2;
    }));
    QVERIFY(pages > 10);
    QCOMPARE(asked, (std::vector<int>{0, 1, 2}));
}

QTEST_MAIN(ExportPictureTest)
#include "ExportPictureTest.moc"
