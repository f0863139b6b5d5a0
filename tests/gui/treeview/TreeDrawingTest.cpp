// The drawing as rows of data: widgets only near the view for big trees,
// controls that never outlive their nodes, handlers that never let an
// exception into Qt, the node limit and the marks of the boxes.

#include "BoxLabel.h"
#include "DrawnTree.h"
#include "ExportRows.h"

#include <QScrollBar>
#include <QtTest>
#include <stdexcept>

namespace {

// Claims 2 to Count each refer to all the claims before them: the drawing
// has Count * (Count - 1) / 2 + 1 rows.
std::string PrecedingClaims(int Count) {
    std::string text = "We claim:\n  1. A pump.\n";
    for (int n = 2; n <= Count; ++n)
        text += "  " + std::to_string(n) + ". The pump of any one of the preceding claims.\n";
    return text;
}

// Nodes of the tree that hold widgets.
int NodesWithWidgets(const TDrawnTree& Drawn) {
    int count = 0;
    for (const auto& copies : Drawn.tree->NodesByClaim) {
        for (const TClaimTreeNode* node : copies)
            count += Drawn.View(node).CaptionLabel != nullptr ? 1 : 0;
    }
    return count;
}

// Boxes whose widgets show another claim than their node's: caption, its
// look, the list of dependants or the text.
QStringList BoxesShowingOtherClaims(const TDrawnTree& Drawn) {
    QStringList wrong;
    for (const auto& copies : Drawn.tree->NodesByClaim) {
        for (const TClaimTreeNode* node : copies) {
            const TNodeView& view = Drawn.View(node);
            if (view.CaptionLabel == nullptr)
                continue;
            const QLabel& caption = *view.CaptionLabel;
            QString dependents;
            for (int32_t number : node->ChildNumbers())
                dependents += QString::number(number) + QLatin1Char(' ');
            const bool right =
                caption.text() == QString::fromStdString(node->Caption()) &&
                caption.font().bold() == (node->Kind == TClaimKind::Independent) &&
                caption.palette().color(caption.foregroundRole()) ==
                    QColor(node->Kind == TClaimKind::MultipleDependent ? Qt::red : Qt::blue) &&
                (view.DependentsLabel != nullptr ? view.DependentsLabel->text() : QString()) ==
                    dependents &&
                view.TextMemo->Lines() == TMemoText(node->Text(), true).Lines();
            if (!right)
                wrong << caption.text();
        }
    }
    return wrong;
}

// Counts the handlers run and keeps what they throw from Qt.
int handlersRun = 0;
int handlersFailed = 0;
void CountingRunner(const std::function<void()>& Handler) {
    ++handlersRun;
    try {
        Handler();
    } catch (...) {
        ++handlersFailed;
    }
}

} // namespace

class TreeDrawingTest : public QObject {
    Q_OBJECT

private slots:
    void bigTreeHasWidgetsNearTheView();
    void controlsNeverOutliveTheirNodes_data();
    void controlsNeverOutliveTheirNodes();
    void boxHandlersRunThroughTheRunner();
    void nodeLimitRefusesToOpen();
    void marksShowOnEveryBoxOfTheClaim();
    void longLabelsAreCut();
    void longLabelSeenInPart_data();
    void longLabelSeenInPart();
};

void TreeDrawingTest::bigTreeHasWidgetsNearTheView() {
    TDrawnTree drawn(PrecedingClaims(100), 480, 400);
    const TTreeDrawing& drawing = *drawn.drawing;
    const std::vector<TDrawnRow>& rows = drawing.Rows();
    QCOMPARE(rows.size(), std::size_t{4951});
    QVERIFY(rows.size() > TTreeDrawing::FullDrawingRows);
    // Few widgets, and the whole drawing reachable by scrolling.
    QVERIFY(NodesWithWidgets(drawn) < 1000);
    const TDrawnRow& last = rows.back();
    QCOMPARE(drawn.pane.Content()->height(), last.Top + 13);
    QVERIFY(drawn.View(last.Node).CaptionLabel == nullptr);

    // Scrolling to the end brings the last boxes, in their places, with the
    // widgets the first boxes had.
    const QPointer<QLabel> firstCaption = drawn.View(rows.front().Node).CaptionLabel;
    drawn.pane.verticalScrollBar()->setValue(drawn.pane.verticalScrollBar()->maximum());
    QVERIFY(!firstCaption.isNull());
    QCOMPARE(BoxesShowingOtherClaims(drawn), QStringList());
    QVERIFY(Shown(drawn.View(last.Node).CaptionLabel));
    QCOMPARE(drawn.View(last.Node).CaptionLabel->geometry(), drawing.Geometry(last).Caption);
    QCOMPARE(drawing.NodeAt(QPoint(0, last.Top + 5)), last.Node);
    QVERIFY(drawn.View(rows[rows.size() / 2].Node).CaptionLabel == nullptr);
    QVERIFY(NodesWithWidgets(drawn) < 1000);
    // The root's box lies far above, but its vertical line runs through the view.
    const TClaimTreeNode* root = rows.front().Node;
    QVERIFY(Shown(drawn.View(root).ChildLine));
    QCOMPARE(drawn.View(root).ChildLine->geometry().bottom(),
             drawn.View(root->Children.back()).RowTop + 6);

    // A click far down works: the box collapses in place, the drawing
    // shortens, and the box stays in view with its widgets.
    const auto open = std::find_if(rows.rbegin(), rows.rend(), [&](const TDrawnRow& Row) {
        return Shown(drawn.View(Row.Node).ExpandButton) &&
               drawn.View(Row.Node).DisplayState == TDisplayState::Expanded;
    });
    QVERIFY(open != rows.rend());
    TClaimTreeNode* box = open->Node;
    const int top = drawn.View(box).RowTop;
    const int height = drawn.pane.Content()->height();
    QTest::mouseClick(drawn.View(box).ExpandButton, Qt::LeftButton);
    QCOMPARE(drawn.View(box).RowTop, top);
    QCOMPARE(drawn.View(box).DisplayState, TDisplayState::Collapsed);
    QVERIFY(drawn.pane.Content()->height() < height);
    QVERIFY(Shown(drawn.View(box).CaptionLabel));
    const QRect inView(drawn.View(box).ExpandButton->mapTo(drawn.pane.viewport(), QPoint(0, 0)),
                       QSize(13, 13));
    QVERIFY(drawn.pane.viewport()->rect().contains(inView));
    CompareWithWholeLayout(drawn);
    // And back in the middle.
    drawn.pane.verticalScrollBar()->setValue(rows[rows.size() / 2].Top);
    QCOMPARE(BoxesShowingOtherClaims(drawn), QStringList());
}

void TreeDrawingTest::controlsNeverOutliveTheirNodes_data() {
    QTest::addColumn<QString>("steps");
    // Each step is followed by a run of the event loop.
    QTest::newRow("tree first") << "tree";
    QTest::newRow("pane emptied, then tree") << "empty tree";
    QTest::newRow("pane first") << "pane tree";
    QTest::newRow("another tree takes the pane") << "other tree";
    QTest::newRow("copy expanded, then tree") << "copy copy tree";
}

void TreeDrawingTest::controlsNeverOutliveTheirNodes() {
    QFETCH(QString, steps);
    TImageList images;
    auto pane = std::make_unique<TClaimTreePane>();
    pane->resize(480, 400);
    pane->show();
    QVERIFY(QTest::qWaitForWindowExposed(pane.get()));
    auto tree = std::make_unique<TClaimTree>(PumpClaims);
    auto drawing = std::make_unique<TTreeDrawing>(*tree);
    drawing->BuildDrawing(pane.get(), &images, nullptr, -1, true);
    drawing->ExpandAll();
    const auto node = [&](int Number, std::size_t Copy) {
        return tree->NodesByClaim[static_cast<std::size_t>(Number)].at(Copy);
    };
    const auto view = [&](int Number, std::size_t Copy) -> TNodeView& {
        return drawing->View(*node(Number, Copy));
    };
    std::unique_ptr<TClaimTree> other;
    std::unique_ptr<TTreeDrawing> otherDrawing;
    QPointer<TGlyphButton> clicked;
    for (const QString& step : steps.split(QLatin1Char(' '))) {
        if (step == QLatin1String("tree")) {
            // Whoever holds a tree drops its drawing first.
            drawing.reset();
            tree.reset();
        } else if (step == QLatin1String("empty")) {
            pane->DestroyComponents();
            QVERIFY(view(2, 0).CaptionLabel == nullptr);
        } else if (step == QLatin1String("pane")) {
            pane.reset();
            QVERIFY(view(2, 0).CaptionLabel == nullptr);
        } else if (step == QLatin1String("other")) {
            other = std::make_unique<TClaimTree>("We claim:\n1. A valve.\n");
            otherDrawing = std::make_unique<TTreeDrawing>(*other);
            otherDrawing->BuildDrawing(pane.get(), &images, nullptr, -1, true);
            QVERIFY(view(2, 0).CaptionLabel == nullptr);
        } else if (step == QLatin1String("copy")) {
            // The copies of claim 5 take the subtree in turn; each click
            // retires the clicked button, and nothing else stays behind.
            const std::size_t copy = tree->SubtreeNodeByClaim[5] == node(5, 0) ? 1 : 0;
            clicked = view(5, copy).ExpandButton;
            QTest::mouseClick(clicked, Qt::LeftButton);
            QVERIFY(clicked != nullptr && clicked->parent() == nullptr);
            QVERIFY(view(5, copy).ExpandButton != clicked);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QVERIFY(clicked == nullptr);
    }
    if (pane) {
        // Once its tree is gone, none of its controls is left; the valve's
        // box has five.
        const auto left = pane->Content()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(left.size(), other ? 5 : 0);
    }
}

void TreeDrawingTest::boxHandlersRunThroughTheRunner() {
    SetHandlerRunner(CountingRunner);
    TDrawnTree drawn(PumpClaims);
    drawn.drawing->BuildDrawing(
        &drawn.pane, &drawn.images,
        [](TClaimTreeNode*) { throw std::runtime_error("decomposition failed"); }, -1, true);
    drawn.drawing->ExpandAll();
    handlersRun = handlersFailed = 0;
    QTest::mouseClick(drawn.View(2).DecomposeButton, Qt::LeftButton);
    QCOMPARE(handlersRun, 1);
    QCOMPARE(handlersFailed, 1);
    QTest::mouseClick(drawn.View(2).ExpandButton, Qt::LeftButton);
    QCOMPARE(handlersRun, 2);
    QCOMPARE(drawn.View(2).DisplayState, TDisplayState::Collapsed);
    QVERIFY(drawn.pane.Content()->isVisible());
    SetHandlerRunner(nullptr);
}

void TreeDrawingTest::nodeLimitRefusesToOpen() {
    // Claims 1 to 5 as in PumpClaims with claim 6 below claim 5: expanding
    // the copy of claim 5 below claim 2 needs a further node.
    const std::string text = "We claim:\n1. A pump.\n2. The pump of claim 1.\n"
                             "5. The pump of claims 1 or 2.\n6. The pump of claim 5.\n";
    const int64_t limit = 5;
    auto tree = std::make_unique<TClaimTree>(text, limit);
    QCOMPARE(tree->CreatedNodeCount(), limit);
    TDrawnTree drawn(text);
    drawn.drawing.reset();
    drawn.tree = std::move(tree);
    drawn.drawing = std::make_unique<TTreeDrawing>(*drawn.tree);
    drawn.drawing->BuildDrawing(&drawn.pane, &drawn.images, nullptr, -1, true);
    drawn.drawing->ExpandAll();
    TClaimTreeNode* copy = drawn.Node(5, 1);
    QTest::mouseClick(drawn.View(copy).ExpandButton, Qt::LeftButton);
    QCOMPARE(drawn.View(copy).DisplayState, TDisplayState::Collapsed);
    QCOMPARE(drawn.tree->SubtreeNodeByClaim[5], drawn.Node(5, 0));
    const auto* notice =
        drawn.pane.Content()->findChild<QLabel*>(QStringLiteral("lblDrawingLimit"));
    QVERIFY(Shown(notice));
    QCOMPARE(notice->text(), RefusedClaimNotice(5));
    // The Claims menu cannot reveal claim 6 below that copy either.
    QVERIFY(drawn.drawing->Reveal(*drawn.Node(5, 1)) == nullptr);
    QCOMPARE(drawn.tree->CreatedNodeCount(), limit);
}

void TreeDrawingTest::marksShowOnEveryBoxOfTheClaim() {
    TDrawnTree drawn(PumpClaims);
    const QString problem = QStringLiteral("The claim checks found problems in this claim");
    const QString found = QStringLiteral("The claim matches the search");
    const auto markers = [&] {
        QStringList shown;
        for (const QWidget* child :
             drawn.pane.Content()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->toolTip() != problem && child->toolTip() != found)
                continue;
            if (!child->isVisible())
                continue;
            const TClaimTreeNode* node = drawn.drawing->NodeAt(QPoint(0, child->y()));
            shown << QString::number(node->Number) + ":" + child->toolTip();
        }
        shown.sort();
        return shown.join(QLatin1Char('|'));
    };
    QCOMPARE(markers(), QString());
    drawn.pane.SetBoxMarks({{5, unsigned(TBoxMark::Problem)}, {7, unsigned(TBoxMark::Found)}});
    QCOMPARE(markers(), QStringList({"5:" + problem, "5:" + problem, "7:" + found}).join('|'));
    // Beside the caption, without moving the controls after it.
    const TClaimTreeNode* seven = drawn.Node(7);
    QCOMPARE(drawn.View(seven).ShowTextButton->x(),
             drawn.View(seven).CaptionLabel->geometry().right() + 11);
    drawn.pane.SetBoxMarks({});
    QCOMPARE(markers(), QString());
}

// A label lays out its whole text at each paint: a megabyte caption froze
// the pane at every scroll step, and the text copy repeated it in every row.
void TreeDrawingTest::longLabelsAreCut() {
    std::string text = "We claim:\n  1. A pump.\n  2. The pump of claims 1";
    for (int number = 2000; text.size() < 1'000'000; ++number)
        text += ", " + std::to_string(number);
    text += ".\n";
    text += "  3. The pump of claim 2.\n";
    TDrawnTree drawn(text);
    const QString caption = drawn.View(2).CaptionLabel->text();
    QCOMPARE(caption.size(), MaxBoxLabelLength + 1);
    QVERIFY(caption.startsWith(QStringLiteral("Claim 2 (dependent of 1, 2000, 2001, ")));
    QVERIFY(caption.endsWith(QChar(BoxLabelCut)));
    // The text copy shows what the boxes show.
    const QStringList outline =
        OutlineText(ShownExportTree(*drawn.drawing, MaxDrawnBoxes)).split(QLatin1Char('\n'));
    QCOMPARE(outline.at(1).trimmed(), caption);
}

void TreeDrawingTest::longLabelSeenInPart_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("left"); // of the label in the view
    QString numbers;
    for (int number = 2; numbers.size() < 3000; ++number)
        numbers += QString::number(number) + QLatin1Char(' ');
    QTest::newRow("dependants") << numbers << 0;
    QTest::newRow("dependants, scrolled") << numbers << -700;
    QTest::newRow("accents") << numbers.replace(QLatin1String("7"), QStringLiteral("7\u0301"))
                             << -30;
    QTest::newRow("tabs") << QString(numbers).replace(QLatin1Char('5'), QLatin1Char('\t')) << 0;
    QTest::newRow("right to left") << QStringLiteral("\u05d0\u05d1 ") + numbers << 0;
}

// Only the part of a long label that reaches the view is drawn; the view
// shows what the whole label would.
void TreeDrawingTest::longLabelSeenInPart() {
    QFETCH(QString, text);
    QFETCH(int, left);
    const auto seen = [&](QLabel* Label) {
        QWidget view;
        view.setAutoFillBackground(true);
        view.setPalette(QPalette(Qt::white));
        view.resize(400, 20);
        Label->setParent(&view);
        Label->setText(text);
        Label->setGeometry(left, 2, Label->sizeHint().width(), 16);
        return view.grab().toImage();
    };
    const QImage cut = seen(new TBoxLabel(nullptr));
    const QImage whole = seen(new QLabel);
    QCOMPARE(cut, whole);
}

QTEST_MAIN(TreeDrawingTest)
#include "TreeDrawingTest.moc"
