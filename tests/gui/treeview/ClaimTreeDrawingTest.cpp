// The build and layout passes: where every control of a box stands, which
// ones are shown, and what the pane holds for an empty document.

#include "DrawnTree.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QtTest>

namespace {

// Claim 9 has a text far wider than the pane, claim 10 a short one.
const std::string LongAndShortClaims =
    "We claim:\n"
    "1. A pump.\n"
    "9. The pump of claim 1, wherein the housing, the impeller, the shaft, the seal, the "
    "bearings and the motor are all made of one and the same corrosion resistant steel.\n"
    "10. The pump of claim 1, made of steel.\n";

QList<QLabel*> Labels(const TClaimTreePane& Pane) {
    return Pane.Content()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
}

} // namespace

class ClaimTreeDrawingTest : public QObject {
    Q_OBJECT

private slots:
    void rowsFollowTheRhythm_data();
    void rowsFollowTheRhythm();
    void rowHoldsItsControls_data();
    void rowHoldsItsControls();
    void linesJoinTheBoxes_data();
    void linesJoinTheBoxes();
    void emptyDocumentShowsNotice_data();
    void emptyDocumentShowsNotice();
    void memoWidthFollowsText();
    void shownTextPushesRowsDown();
    void oneRootDrawsOnlyItsTree();
    void scrolledLayoutKeepsContentPlaces();
    void deepChainIsDrawn();
    void boxLimitEndsDrawingWithNotice();
    void nodeLimitEndsDrawingWithNotice();
    void replacedDrawingIsLeftAlone();
};

void ClaimTreeDrawingTest::rowsFollowTheRhythm_data() {
    QTest::addColumn<int>("claim");
    QTest::addColumn<int>("copy");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    // Every box expanded, texts hidden: 13-pixel rows plus 20 pixels each.
    QTest::newRow("root 1") << 1 << 0 << 20 << 10;
    QTest::newRow("2 below 1") << 2 << 0 << 42 << 43;
    QTest::newRow("3 below 2") << 3 << 0 << 64 << 76;
    QTest::newRow("4 below 3") << 4 << 0 << 86 << 109;
    QTest::newRow("5 below 2") << 5 << 1 << 64 << 142;
    QTest::newRow("5 below 1") << 5 << 0 << 42 << 175;
    QTest::newRow("6 below 5") << 6 << 0 << 64 << 208;
    QTest::newRow("root 7") << 7 << 0 << 20 << 241;
    QTest::newRow("8 below 7") << 8 << 0 << 42 << 274;
}

void ClaimTreeDrawingTest::rowsFollowTheRhythm() {
    QFETCH(int, claim);
    QFETCH(int, copy);
    QFETCH(int, left);
    QFETCH(int, top);
    TDrawnTree drawn(PumpClaims);
    const TClaimTreeNode* node = drawn.Node(claim, static_cast<std::size_t>(copy));
    const TNodeView& box = drawn.View(node);
    QCOMPARE(box.RowLeft, left);
    QCOMPARE(box.RowTop, top);
    const QWidget* first =
        box.ExpandButton != nullptr ? static_cast<QWidget*>(box.ExpandButton) : box.CaptionLabel;
    QCOMPARE(first->pos(), QPoint(left, top));
    QVERIFY(Shown(box.CaptionLabel));
    QCOMPARE(box.CaptionLabel->y(), top);
}

void ClaimTreeDrawingTest::rowHoldsItsControls_data() {
    QTest::addColumn<int>("claim");
    QTest::addColumn<int>("copy");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("expandButton");
    QTest::addColumn<bool>("branchShown");
    QTest::addColumn<QString>("dependents"); // empty: no list
    QTest::newRow("root") << 1 << 0 << "Claim 1" << true << QColor(Qt::blue) << true << false
                          << "2 5 ";
    QTest::newRow("one parent") << 2 << 0 << "Claim 2" << false << QColor(Qt::blue) << true << true
                                << "3 5 ";
    QTest::newRow("leaf") << 4 << 0 << "Claim 4" << false << QColor(Qt::blue) << false << true
                          << "";
    QTest::newRow("several parents, carrying") << 5 << 0 << "Claim 5 (dependent of 1, 2)" << false
                                               << QColor(Qt::red) << true << false << "6 ";
    QTest::newRow("several parents, not carrying")
        << 5 << 1 << "Claim 5 (dependent of 1, 2)" << false << QColor(Qt::red) << true << false
        << "6 ";
}

void ClaimTreeDrawingTest::rowHoldsItsControls() {
    QFETCH(int, claim);
    QFETCH(int, copy);
    QFETCH(QString, caption);
    QFETCH(bool, bold);
    QFETCH(QColor, colour);
    QFETCH(bool, expandButton);
    QFETCH(bool, branchShown);
    QFETCH(QString, dependents);
    TDrawnTree drawn(PumpClaims);
    const TClaimTreeNode* node = drawn.Node(claim, static_cast<std::size_t>(copy));
    const TNodeView& box = drawn.View(node);
    const QLabel* label = box.CaptionLabel;
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->font().bold(), bold);
    QCOMPARE(label->palette().color(label->foregroundRole()), colour);
    QCOMPARE(label->width(), QFontMetrics(label->font()).horizontalAdvance(caption));

    QCOMPARE(Shown(box.ExpandButton), expandButton);
    QCOMPARE(box.ChildLine != nullptr, expandButton);
    QCOMPARE(Shown(box.BranchButton), branchShown);
    QCOMPARE(box.DependentsLabel != nullptr, !dependents.isEmpty());
    QVERIFY(box.DecomposeButton == nullptr);

    // Left to right on a 23-pixel pitch, labels followed by 10 pixels.
    const int row = box.RowTop;
    const int captionLeft = box.RowLeft + (expandButton ? 23 : 0);
    QCOMPARE(label->pos(), QPoint(captionLeft, row));
    const int showLeft = captionLeft + label->width() + 10;
    QCOMPARE(box.ShowTextButton->geometry(), QRect(showLeft, row, 13, 13));
    QCOMPARE(box.HideTextButton->geometry(), QRect(showLeft + 23, row, 13, 13));
    int next = showLeft + 46;
    if (box.BranchButton != nullptr) {
        QCOMPARE(box.BranchButton->geometry(), QRect(next, row, 13, 13));
        if (node->Kind != 2)
            next += 23;
    }
    if (!dependents.isEmpty()) {
        QVERIFY(Shown(box.DependentsLabel));
        QCOMPARE(box.DependentsLabel->text(), dependents);
        QCOMPARE(box.DependentsLabel->pos(), QPoint(next, row));
    }
    QCOMPARE(box.ShowTextButton->toolTip(), QStringLiteral("Show claim"));
    QCOMPARE(box.HideTextButton->toolTip(), QStringLiteral("Hide claim"));
    QVERIFY(drawn.ShowsGlyph(box.ShowTextButton, TImageList::ShowText));
    QVERIFY(drawn.ShowsGlyph(box.HideTextButton, TImageList::HideText));
    if (expandButton)
        QCOMPARE(box.ExpandButton->toolTip(), QStringLiteral("Show/hide dependent claims"));
}

void ClaimTreeDrawingTest::linesJoinTheBoxes_data() {
    QTest::addColumn<int>("claim");
    QTest::addColumn<int>("copy");
    QTest::addColumn<bool>("linkShown");
    QTest::addColumn<QRect>("link");
    QTest::addColumn<bool>("childLineShown");
    QTest::addColumn<QRect>("childLine");
    // A vertical line ends on the link line of the last shown child.
    QTest::newRow("root") << 1 << 0 << false << QRect(19, 9, 1, 1) << true
                          << QRect(26, 23, 1, 175 - 10 - 6);
    QTest::newRow("inner box") << 2 << 0 << true << QRect(26, 49, 21, 1) << true
                               << QRect(48, 56, 1, 142 - 43 - 6);
    QTest::newRow("one child") << 3 << 0 << true << QRect(48, 82, 21, 1) << true
                               << QRect(70, 89, 1, 109 - 76 - 6);
    QTest::newRow("copy without its subtree")
        << 5 << 1 << true << QRect(48, 148, 21, 1) << false << QRect(70, 155, 1, 1);
    QTest::newRow("carrying copy")
        << 5 << 0 << true << QRect(26, 181, 21, 1) << true << QRect(48, 188, 1, 208 - 175 - 6);
    QTest::newRow("leaf") << 8 << 0 << true << QRect(26, 280, 21, 1) << false << QRect();
}

void ClaimTreeDrawingTest::linesJoinTheBoxes() {
    QFETCH(int, claim);
    QFETCH(int, copy);
    QFETCH(bool, linkShown);
    QFETCH(QRect, link);
    QFETCH(bool, childLineShown);
    QFETCH(QRect, childLine);
    TDrawnTree drawn(PumpClaims);
    const TClaimTreeNode* node = drawn.Node(claim, static_cast<std::size_t>(copy));
    const TNodeView& box = drawn.View(node);
    QCOMPARE(Shown(box.LinkLine), linkShown);
    QCOMPARE(box.LinkLine->geometry(), link);
    QCOMPARE(Shown(box.ChildLine), childLineShown);
    if (box.ChildLine != nullptr)
        QCOMPARE(box.ChildLine->geometry(), childLine);
}

void ClaimTreeDrawingTest::emptyDocumentShowsNotice_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("drawnBefore"); // the pane's previous drawing, if any
    QTest::newRow("empty text") << QByteArray() << QByteArray();
    QTest::newRow("no claims section") << QByteArray("A pump.\n1. Not a claim.\n") << QByteArray();
    QTest::newRow("no independent claim")
        << QByteArray("We claim:\n1. The pump of claim 2.\n2. The pump of claim 1.\n")
        << QByteArray();
    // Its scroll bars go with it: the notice is centred in the whole pane.
    QByteArray deepChain = "We claim:\n1. A pump.\n";
    for (int n = 2; n <= 40; ++n)
        deepChain +=
            QByteArray::number(n) + ". The pump of claim " + QByteArray::number(n - 1) + ".\n";
    QTest::newRow("after a drawing with scroll bars") << QByteArray() << deepChain;
}

void ClaimTreeDrawingTest::emptyDocumentShowsNotice() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, drawnBefore);
    TDrawnTree drawn((drawnBefore.isEmpty() ? text : drawnBefore).toStdString(), 480, 401);
    if (!drawnBefore.isEmpty()) {
        QTRY_VERIFY(drawn.pane.ClientHeight() < drawn.pane.maximumViewportSize().height());
        drawn.drawing.reset();
        drawn.tree = std::make_unique<TClaimTree>(text.toStdString());
        drawn.drawing = std::make_unique<TTreeDrawing>(*drawn.tree);
        drawn.drawing->BuildDrawing(&drawn.pane, &drawn.images, nullptr, -1, true);
        drawn.drawing->ExpandAll();
        QTRY_COMPARE(drawn.pane.ClientHeight(), drawn.pane.maximumViewportSize().height());
    }
    const QList<QLabel*> labels = Labels(drawn.pane);
    QCOMPARE(labels.size(), 2);
    const int width = drawn.pane.ClientWidth() - 4;
    const int middle = drawn.pane.ClientHeight() / 2;
    QCOMPARE(labels[0]->text(), QStringLiteral("The document has no claims."));
    QCOMPARE(labels[1]->text(), QStringLiteral("Please check you input."));
    QCOMPARE(labels[0]->geometry(),
             QRect(2, middle - labels[0]->height() - 5, width, labels[0]->height()));
    QCOMPARE(labels[1]->geometry(), QRect(2, middle + 5, width, labels[1]->height()));
    for (const QLabel* label : labels) {
        QVERIFY(label->isVisible());
        QVERIFY(label->font().bold());
        QCOMPARE(label->font().family(), QStringLiteral("Liberation Serif"));
        QCOMPARE(label->font().pixelSize(), 19);
        QCOMPARE(label->palette().color(label->foregroundRole()), QColor(Qt::red));
        QVERIFY(label->alignment() & Qt::AlignHCenter);
    }

    // Anchored left, top and right: the notice stays centred when the pane grows.
    drawn.pane.resize(580, 401);
    QTRY_COMPARE(labels[0]->width(), width + 100);
    QCOMPARE(labels[1]->x(), 2);
}

void ClaimTreeDrawingTest::memoWidthFollowsText() {
    TDrawnTree drawn(LongAndShortClaims, 480, 400);
    TClaimTreeNode* longClaim = drawn.Node(9);
    TClaimTreeNode* shortClaim = drawn.Node(10);
    const QFontMetrics metrics(TClaimMemo::TextFont());

    // A long text wraps inside a memo that ends 25 pixels short of the pane.
    QCOMPARE(drawn.View(longClaim).TextMemo->x(), drawn.View(longClaim).RowLeft + 43);
    QCOMPARE(drawn.View(longClaim).TextMemo->geometry().right() + 1, drawn.pane.width() - 25);
    QVERIFY(drawn.View(longClaim).TextMemo->LineCount() > 1);
    // A short one gets 20 pixels more than its widest line.
    int widest = 0;
    for (const QString& line : QString::fromStdString(shortClaim->Text()).split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    QVERIFY(widest > 100);
    QCOMPARE(drawn.View(shortClaim).TextMemo->width(), widest + 20);
    QCOMPARE(drawn.View(shortClaim).TextMemo->LineCount(), 1);
    QVERIFY(!Shown(drawn.View(longClaim).TextMemo));
    QVERIFY(!Shown(drawn.View(shortClaim).TextMemo));
}

void ClaimTreeDrawingTest::shownTextPushesRowsDown() {
    TDrawnTree drawn(LongAndShortClaims, 480, 400);
    TClaimTreeNode* longClaim = drawn.Node(9);
    TClaimTreeNode* shortClaim = drawn.Node(10);
    drawn.View(longClaim).TextMode = TTextMode::Whole;
    drawn.drawing->Relayout();

    const TClaimMemo* memo = drawn.View(longClaim).TextMemo;
    QVERIFY(Shown(memo));
    // Row, 10 pixels, the memo, 20 pixels; the memo is as high as its lines.
    QCOMPARE(memo->y(), drawn.View(longClaim).RowTop + 13 + 10);
    QCOMPARE(memo->height(), TClaimMemo::LineHeight() * memo->LineCount() + 5);
    QCOMPARE(drawn.View(shortClaim).RowTop, memo->geometry().bottom() + 1 + 20);
}

void ClaimTreeDrawingTest::oneRootDrawsOnlyItsTree() {
    TDrawnTree drawn(PumpClaims);
    drawn.drawing->BuildDrawing(&drawn.pane, &drawn.images, nullptr, 1, true);
    drawn.drawing->ExpandAll();
    QCOMPARE(drawn.drawing->ShownRoot(), 1);
    QCOMPARE(drawn.View(7).CaptionLabel->pos(), QPoint(43, 10));
    QCOMPARE(drawn.View(8).RowTop, 43);
    // The other root's boxes are gone, and its nodes no longer point at them.
    QVERIFY(drawn.View(1).CaptionLabel == nullptr);
    QCOMPARE(Labels(drawn.pane).size(), 3); // the captions of 7 and 8, the list of 7
}

void ClaimTreeDrawingTest::scrolledLayoutKeepsContentPlaces() {
    TDrawnTree drawn(PumpClaims, 160, 120);
    QScrollBar* vertical = drawn.pane.verticalScrollBar();
    QVERIFY(vertical->maximum() > 100);
    vertical->setValue(100);
    drawn.drawing->Relayout();
    const QLabel* caption = drawn.View(7).CaptionLabel;
    QCOMPARE(caption->pos(), QPoint(43, 241));
    QCOMPARE(caption->mapTo(drawn.pane.viewport(), QPoint(0, 0)), QPoint(43, 241 - 100));
}

void ClaimTreeDrawingTest::deepChainIsDrawn() {
    std::string text = "We claim:\n  1. A pump.\n";
    for (int n = 2; n <= 1023; ++n)
        text += "  " + std::to_string(n) + ". The pump of claim " + std::to_string(n - 1) + ".\n";
    TDrawnTree drawn(text);
    const TClaimTreeNode* deepest = drawn.Node(1023);
    QCOMPARE(drawn.View(deepest).RowLeft, 20 + 22 * 1022);
    QCOMPARE(drawn.View(deepest).RowTop, 10 + 33 * 1022);
    QVERIFY(Shown(drawn.View(deepest).CaptionLabel));
    QCOMPARE(drawn.pane.Content()->height(), drawn.View(deepest).RowTop + 13);
}

void ClaimTreeDrawingTest::boxLimitEndsDrawingWithNotice() {
    TDrawnTree drawn(PumpClaims, 480, 400, 4);
    for (int claim : {1, 2, 3, 4})
        QVERIFY(Shown(drawn.View(claim).CaptionLabel));
    for (int claim : {5, 6, 7, 8})
        QVERIFY(drawn.View(claim).CaptionLabel == nullptr);
    const QList<QLabel*> labels = Labels(drawn.pane);
    const QLabel* last = labels.back();
    QCOMPARE(last->text(), DrawingLimitNotice(4));
    QCOMPARE(last->pos(), QPoint(20, 142));
    QVERIFY(Shown(last));

    // The drawn boxes still work, and the notice follows the last of them.
    TClaimTreeNode* two = drawn.Node(2);
    drawn.drawing->ExpandButtonClick(*two, drawn.View(two).ExpandButton);
    QCOMPARE(last->pos(), QPoint(20, 76));
}

void ClaimTreeDrawingTest::replacedDrawingIsLeftAlone() {
    TDrawnTree drawn(PumpClaims);
    TClaimTree other("We claim:\n1. A valve.\n");
    TTreeDrawing otherDrawing(other);
    otherDrawing.BuildDrawing(&drawn.pane, &drawn.images, nullptr, -1, true);
    otherDrawing.ExpandAll();
    drawn.drawing->CollapseAll();
    drawn.drawing->Relayout();
    // Only the valve's box is left, untouched by the pump tree's passes.
    const QList<QLabel*> labels = Labels(drawn.pane);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels[0], otherDrawing.View(*other.Roots[0]).CaptionLabel);
    QCOMPARE(labels[0]->pos(), QPoint(20, 10));
    QVERIFY(Shown(labels[0]));
}

void ClaimTreeDrawingTest::nodeLimitEndsDrawingWithNotice() {
    // Claim 4 would make the seven nodes that pass a limit of four.
    TClaimTree tree("We claim:\n1. A pump.\n2. The pump of claim 1.\n"
                    "3. The pump of claims 1 or 2.\n4. The pump of claims 1 to 3.\n",
                    4);
    QVERIFY(tree.NodeLimitReached);
    TImageList images;
    TClaimTreePane pane;
    pane.resize(480, 400);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    TTreeDrawing drawing(tree);
    drawing.BuildDrawing(&pane, &images, nullptr, -1, true);
    drawing.ExpandAll();
    const QLabel* last = Labels(pane).back();
    QCOMPARE(last->text(), NodeLimitNotice(4));
    QVERIFY(Shown(last));
    QCOMPARE(last->pos().y(), drawing.View(*tree.NodesByClaim[3][0]).RowTop + 33);
}

QTEST_MAIN(ClaimTreeDrawingTest)
#include "ClaimTreeDrawingTest.moc"
