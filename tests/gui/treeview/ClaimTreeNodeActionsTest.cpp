// What the user does to the drawn tree: the buttons of a box, "+" and "-",
// and revealing a claim as the Claims menu does.

#include "DrawnTree.h"

#include <QAccessible>
#include <QtTest>
#include <algorithm>

namespace {

// Copy 1 of a claim is written with a prime: "5'" is claim 5 below claim 2.
TClaimTreeNode* Named(const TDrawnTree& Drawn, const QString& Name) {
    const bool prime = Name.endsWith(QLatin1Char('\''));
    return Drawn.Node(QStringView(Name).left(Name.size() - (prime ? 1 : 0)).toInt(), prime ? 1 : 0);
}

QString NameOf(const TClaimTreeNode& Node) {
    const auto& copies = Node.OwnerTree()->NodesByClaim[static_cast<std::size_t>(Node.Number)];
    return QString::number(Node.Number) + (copies.front() == &Node ? "" : "'");
}

// The boxes on screen, top to bottom.
QString ShownBoxes(const TDrawnTree& Drawn) {
    std::vector<const TClaimTreeNode*> shown;
    for (const auto& copies : Drawn.tree->NodesByClaim) {
        for (const TClaimTreeNode* node : copies) {
            if (Shown(Drawn.View(node).CaptionLabel))
                shown.push_back(node);
        }
    }
    std::sort(shown.begin(), shown.end(), [&Drawn](const auto* a, const auto* b) {
        return Drawn.View(a).RowTop < Drawn.View(b).RowTop;
    });
    QStringList names;
    for (const TClaimTreeNode* node : shown)
        names << NameOf(*node);
    return names.join(QLatin1Char(' '));
}

// Shown boxes whose expand button shows the plus.
QString CollapsedBoxes(const TDrawnTree& Drawn) {
    QStringList names;
    for (const QString& name : ShownBoxes(Drawn).split(QLatin1Char(' '))) {
        const TClaimTreeNode* node = Named(Drawn, name);
        if (Shown(Drawn.View(node).ExpandButton) &&
            Drawn.ShowsGlyph(Drawn.View(node).ExpandButton, TImageList::Expand))
            names << name;
    }
    return names.join(QLatin1Char(' '));
}

// The Claims menu: the first copy that can be revealed is laid out. A
// problem's row keeps the other boxes as they are.
void RevealClaim(TDrawnTree& Drawn, int Number, bool KeepOthers = false) {
    for (TClaimTreeNode* node : Drawn.tree->NodesByClaim[static_cast<std::size_t>(Number)]) {
        if (Drawn.drawing->Reveal(*node, KeepOthers) != nullptr) {
            Drawn.drawing->Relayout();
            Drawn.pane.ScrollInView(Drawn.View(node).CaptionLabel);
            return;
        }
    }
}

void Act(TDrawnTree& Drawn, const QString& Action) {
    const QStringList words = Action.split(QLatin1Char(' '));
    if (words[0] == QLatin1String("+"))
        Drawn.drawing->ExpandAll();
    else if (words[0] == QLatin1String("-"))
        Drawn.drawing->CollapseAll();
    else if (words[0] == QLatin1String("expand"))
        QTest::mouseClick(Drawn.View(Named(Drawn, words[1])).ExpandButton, Qt::LeftButton);
    else if (words[0] == QLatin1String("branch"))
        QTest::mouseClick(Drawn.View(Named(Drawn, words[1])).BranchButton, Qt::LeftButton);
    else if (words[0] == QLatin1String("reveal"))
        RevealClaim(Drawn, words[1].toInt());
    else if (words[0] == QLatin1String("show"))
        RevealClaim(Drawn, words[1].toInt(), true);
    else
        QFAIL(qPrintable(Action));
}

// A claim text of five lines and one of a single short line.
const std::string TextClaims = "We claim:\n"
                               "1. A pump.\n"
                               "2. The pump of claim 1, wherein\n"
                               "   the housing is steel,\n"
                               "   the impeller is brass,\n"
                               "   the shaft is ceramic,\n"
                               "   and the seal is rubber.\n"
                               "3. The pump of claim 1.\n";

} // namespace

class ClaimTreeNodeActionsTest : public QObject {
    Q_OBJECT

private slots:
    void actionsChangeTheView_data();
    void actionsChangeTheView();
    void subtreeMovesToTheExpandedCopy();
    void copyClickAmongSiblings();
    void revealFailsWithoutChange();
    void textButtons_data();
    void textButtons();
    void expandAllHidesTexts();
    void decomposeButtonCallsHandler();
    void clickedButtonStaysInViewWhenScrollBarsAppear();
    void keysMoveAndExpand_data();
    void keysMoveAndExpand();
};

void ClaimTreeNodeActionsTest::actionsChangeTheView_data() {
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("collapsed");
    QTest::addColumn<QString>("branchHint");
    const QString all = QStringLiteral("Show all");
    const QString branch = QStringLiteral("Show branch");
    QTest::newRow("drawn and expanded") << QStringList() << "1 2 3 4 5' 5 6 7 8"
                                        << "5'" << branch;
    QTest::newRow("collapse") << QStringList{"expand 2"} << "1 2 5 6 7 8"
                              << "2" << branch;
    QTest::newRow("expand shows one level")
        << QStringList{"expand 2", "expand 2"} << "1 2 3 5' 5 6 7 8"
        << "3 5'" << branch;
    QTest::newRow("expand the other copy") << QStringList{"expand 5'"} << "1 2 3 4 5' 6' 5 7 8"
                                           << "5" << branch;
    QTest::newRow("show branch") << QStringList{"branch 4"} << "1 2 3 4"
                                 << "" << all;
    QTest::newRow("show all") << QStringList{"branch 4", "branch 4"} << "1 2 3 4 5' 5 7"
                              << "5' 5 7" << branch;
    QTest::newRow("show all from a collapsed box")
        << QStringList{"branch 2", "branch 2"} << "1 2 5 7"
        << "2 5 7" << branch;
    QTest::newRow("+ after show branch") << QStringList{"branch 4", "+"} << "1 2 3 4 5' 5 6 7 8"
                                         << "5'" << all;
    QTest::newRow("- after show branch") << QStringList{"branch 4", "-"} << "1 7"
                                         << "1 7" << all;
    QTest::newRow("-") << QStringList{"-"} << "1 7"
                       << "1 7" << branch;
    QTest::newRow("reveal in a collapsed branch")
        << QStringList{"-", "reveal 4"} << "1 2 3 4 5' 5 7"
        << "5' 5 7" << branch;
    QTest::newRow("reveal below a carrying copy") << QStringList{"-", "reveal 6"} << "1 2 5 6 7"
                                                  << "2 7" << branch;
    QTest::newRow("reveal the copy that carries now")
        << QStringList{"expand 5'", "-", "reveal 6"} << "1 2 3 5' 6' 5 7"
        << "3 5 7" << branch;
    QTest::newRow("show keeps the other branches")
        << QStringList{"expand 3", "expand 5", "show 6"} << "1 2 3 5' 5 6 7 8"
        << "3 5'" << branch;
    QTest::newRow("show leaves the box as it was") << QStringList{"-", "show 2"} << "1 2 5 7"
                                                   << "2 5 7" << branch;
    QTest::newRow("show in a collapsed branch") << QStringList{"-", "show 4"} << "1 2 3 4 5' 5 7"
                                                << "5' 5 7" << branch;
    QTest::newRow("show a box left out of one branch")
        << QStringList{"branch 4", "show 5"} << "1 2 3 4 5"
        << "5" << all;
    QTest::newRow("show out of one branch") << QStringList{"branch 4", "show 6"} << "1 2 3 4 5 6"
                                            << "" << all;
}

void ClaimTreeNodeActionsTest::actionsChangeTheView() {
    QFETCH(QStringList, actions);
    QFETCH(QString, shown);
    QFETCH(QString, collapsed);
    QFETCH(QString, branchHint);
    TDrawnTree drawn(PumpClaims);
    for (const QString& action : actions)
        Act(drawn, action);
    QCOMPARE(ShownBoxes(drawn), shown);
    QCOMPARE(CollapsedBoxes(drawn), collapsed);

    const int branchImage =
        branchHint == QLatin1String("Show all") ? TImageList::ShowAll : TImageList::ShowBranch;
    for (const QString& name : shown.split(QLatin1Char(' '))) {
        const TClaimTreeNode* node = Named(drawn, name);
        if (Shown(drawn.View(node).BranchButton)) {
            QCOMPARE(drawn.View(node).BranchButton->toolTip(), branchHint);
            QVERIFY(drawn.ShowsGlyph(drawn.View(node).BranchButton, branchImage));
        }
        // Every expanded box's vertical line reaches its last shown child.
        if (Shown(drawn.View(node).ChildLine)) {
            const auto last =
                std::find_if(node->Children.rbegin(), node->Children.rend(),
                             [&drawn](const auto* c) { return Shown(drawn.View(c).CaptionLabel); });
            QVERIFY(last != node->Children.rend());
            QCOMPARE(drawn.View(node).ChildLine->geometry().bottom(), drawn.View(*last).RowTop + 6);
        }
    }
    // Shown boxes stand 33 pixels apart, without gaps.
    int top = 10;
    for (const QString& name : shown.split(QLatin1Char(' '))) {
        QCOMPARE(drawn.View(Named(drawn, name)).RowTop, top);
        top += 33;
    }
    CompareWithWholeLayout(drawn);
}

void ClaimTreeNodeActionsTest::subtreeMovesToTheExpandedCopy() {
    TDrawnTree drawn(PumpClaims);
    TClaimTreeNode* carrying = drawn.Node(5, 0);
    TClaimTreeNode* other = drawn.Node(5, 1);
    TClaimTreeNode* eight = drawn.Node(8);
    drawn.drawing->ShowTextButtonClick(*eight, drawn.View(eight).ShowTextButton);
    QVERIFY(Shown(drawn.View(eight).TextMemo));
    QVERIFY(other->Children.empty());

    QPointer<TGlyphButton> clicked = drawn.View(other).ExpandButton;
    QTest::mouseClick(clicked, Qt::LeftButton);

    QCOMPARE(drawn.tree->SubtreeNodeByClaim[5], other);
    QVERIFY(clicked->parent() == nullptr);
    QVERIFY(drawn.View(other).ExpandButton != clicked);
    QVERIFY(drawn.ShowsGlyph(drawn.View(other).ExpandButton, TImageList::Collapse));
    // The new copy of claim 6 comes second, as in the whole tree.
    QCOMPARE(drawn.tree->NodesByClaim[6].size(), std::size_t{2});
    QCOMPARE(drawn.Node(6, 1)->Parent, other);
    QCOMPARE(drawn.View(6, 1).DisplayState, TDisplayState::Collapsed);
    QCOMPARE(drawn.View(6, 1).RowLeft, drawn.View(other).RowLeft + 22);
    // The old copy collapses; every other box keeps its state.
    QCOMPARE(drawn.View(carrying).DisplayState, TDisplayState::Collapsed);
    QVERIFY(!Shown(drawn.View(carrying).ChildLine));
    QVERIFY(Shown(drawn.View(eight).TextMemo));
    // The clicked button goes once its click has ended.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(clicked.isNull());
    CompareWithWholeLayout(drawn);

    // And back again.
    QTest::mouseClick(drawn.View(carrying).ExpandButton, Qt::LeftButton);
    QCOMPARE(drawn.tree->SubtreeNodeByClaim[5], carrying);
    QCOMPARE(ShownBoxes(drawn), QStringLiteral("1 2 3 4 5' 5 6 7 8"));
    CompareWithWholeLayout(drawn);
}

// Claim 3 has a copy below claim 2 with a sibling after it, and carries two
// levels: 1 [2 [3b, 6], 3a [4 [5]]]. The rows around the moving subtree stay.
void ClaimTreeNodeActionsTest::copyClickAmongSiblings() {
    TDrawnTree drawn("We claim:\n"
                     "1. A pump.\n"
                     "2. The pump of claim 1.\n"
                     "3. The pump of claims 1 or 2.\n"
                     "4. The pump of claim 3.\n"
                     "5. The pump of claim 4.\n"
                     "6. The pump of claim 2.\n");
    TClaimTreeNode* other = drawn.Node(3, 1);
    QCOMPARE(other->Parent, drawn.Node(2));
    drawn.drawing->ExpandButtonClick(*other, drawn.View(other).ExpandButton);
    QCOMPARE(drawn.tree->SubtreeNodeByClaim[3], other);
    CompareWithWholeLayout(drawn);
    TClaimTreeNode* four = other->Children.front();
    drawn.drawing->ShowTextButtonClick(*four, drawn.View(four).ShowTextButton);
    QVERIFY(Shown(drawn.View(four).TextMemo));
    CompareWithWholeLayout(drawn);
    drawn.drawing->ExpandButtonClick(*drawn.Node(3), drawn.View(3).ExpandButton);
    QCOMPARE(drawn.tree->SubtreeNodeByClaim[3], drawn.Node(3));
    CompareWithWholeLayout(drawn);
}

void ClaimTreeNodeActionsTest::revealFailsWithoutChange() {
    TDrawnTree drawn(PumpClaims);
    drawn.drawing->CollapseAll();
    TClaimTreeNode* other = drawn.Node(5, 1);
    QVERIFY(drawn.drawing->Reveal(*other) == nullptr);
    for (const auto& copies : drawn.tree->NodesByClaim) {
        for (const TClaimTreeNode* node : copies)
            QCOMPARE(drawn.View(node).DisplayState, node->Kind == TClaimKind::Independent
                                                        ? TDisplayState::Collapsed
                                                        : TDisplayState::Hidden);
    }
    QCOMPARE(drawn.tree->SubtreeNodeByClaim[5], drawn.Node(5, 0));
    QVERIFY(other->Children.empty());
}

void ClaimTreeNodeActionsTest::textButtons_data() {
    QTest::addColumn<int>("claim");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<int>("textMode");
    QTest::addColumn<int>("lines"); // memo height in lines; 0 for the cut preview
    QTest::newRow("short, once") << 3 << QStringList{"show"} << 1 << 1;
    QTest::newRow("short, twice") << 3 << QStringList{"show", "show"} << 1 << 1;
    QTest::newRow("long, once: preview") << 2 << QStringList{"show"} << 1 << 0;
    QTest::newRow("long, twice: whole") << 2 << QStringList{"show", "show"} << 2 << 5;
    QTest::newRow("long, thrice") << 2 << QStringList{"show", "show", "show"} << 2 << 5;
    QTest::newRow("hidden again") << 2 << QStringList{"show", "show", "hide"} << 0 << -1;
}

void ClaimTreeNodeActionsTest::textButtons() {
    QFETCH(int, claim);
    QFETCH(QStringList, clicks);
    QFETCH(int, textMode);
    QFETCH(int, lines);
    TDrawnTree drawn(TextClaims);
    TClaimTreeNode* node = drawn.Node(claim);
    TNodeView& box = drawn.View(node);
    for (const QString& click : clicks) {
        QTest::mouseClick(click == QLatin1String("show") ? box.ShowTextButton : box.HideTextButton,
                          Qt::LeftButton);
    }
    QCOMPARE(static_cast<int>(box.TextMode), textMode);
    QCOMPARE(Shown(box.TextMemo), textMode != 0);
    if (lines >= 0) {
        const int height = lines == 0 ? 50 : TClaimMemo::LineHeight() * lines + 5;
        QCOMPARE(box.TextMemo->height(), height);
    }
    // The text sits 10 pixels under the row; the next box 20 pixels under it.
    const int textRoom = textMode == 0 ? 0 : 10 + box.TextMemo->height();
    const TClaimTreeNode* next = claim == 2 ? drawn.Node(3) : nullptr;
    if (next != nullptr)
        QCOMPARE(drawn.View(next).RowTop, box.RowTop + 13 + textRoom + 20);
    CompareWithWholeLayout(drawn);
}

void ClaimTreeNodeActionsTest::expandAllHidesTexts() {
    TDrawnTree drawn(TextClaims);
    TClaimTreeNode* node = drawn.Node(2);
    TNodeView& box = drawn.View(node);
    drawn.drawing->ShowTextButtonClick(*node, box.ShowTextButton);
    drawn.drawing->CollapseAll();
    QCOMPARE(box.TextMode, TTextMode::None);
    drawn.drawing->ExpandAll();
    QCOMPARE(box.TextMode, TTextMode::None);
    QVERIFY(!Shown(box.TextMemo));
    QCOMPARE(drawn.View(1).DisplayState, TDisplayState::Expanded);
    QCOMPARE(drawn.View(3).DisplayState, TDisplayState::Collapsed);
}

void ClaimTreeNodeActionsTest::decomposeButtonCallsHandler() {
    TDrawnTree drawn(PumpClaims);
    std::vector<TClaimTreeNode*> decomposed;
    drawn.drawing->BuildDrawing(
        &drawn.pane, &drawn.images, [&](TClaimTreeNode* node) { decomposed.push_back(node); }, -1,
        true);
    drawn.drawing->ExpandAll();
    TClaimTreeNode* two = drawn.Node(2);
    QVERIFY(Shown(drawn.View(two).DecomposeButton));
    QCOMPARE(drawn.View(two).DecomposeButton->toolTip(), QStringLiteral("Decompose"));
    QVERIFY(drawn.ShowsGlyph(drawn.View(two).DecomposeButton, TImageList::Decompose));
    QCOMPARE(drawn.View(two).DecomposeButton->x(), drawn.View(two).BranchButton->x() + 23);
    QCOMPARE(drawn.View(two).DependentsLabel->x(), drawn.View(two).DecomposeButton->x() + 23);
    QTest::mouseClick(drawn.View(two).DecomposeButton, Qt::LeftButton);
    QCOMPARE(decomposed, std::vector<TClaimTreeNode*>{two});

    // Expanding another copy rebuilds the drawing without the handler.
    QTest::mouseClick(drawn.View(5, 1).ExpandButton, Qt::LeftButton);
    QVERIFY(drawn.View(two).DecomposeButton == nullptr);
}

// Four collapsed roots fill the pane; expanding claim 4 adds a row below
// them whose long caption needs a horizontal scroll bar. The new bar must
// not cover the clicked button.
void ClaimTreeNodeActionsTest::clickedButtonStaysInViewWhenScrollBarsAppear() {
    std::string text = "We claim:\n1. A pump.\n2. A valve.\n3. A hose.\n4. A tap.\n"
                       "5. The tap of claims 4";
    for (int number = 2000; number < 2012; ++number)
        text += ", " + std::to_string(number);
    text += ".\n";
    TDrawnTree drawn(text, 300, 130);
    drawn.drawing->CollapseAll();
    QTRY_COMPARE(drawn.pane.ClientHeight(), drawn.pane.maximumViewportSize().height());
    TClaimTreeNode* four = drawn.Node(4);
    QVERIFY(drawn.View(four).ExpandButton->geometry().bottom() < drawn.pane.ClientHeight());

    QTest::mouseClick(drawn.View(four).ExpandButton, Qt::LeftButton);
    QTRY_VERIFY(drawn.pane.ClientHeight() < drawn.pane.maximumViewportSize().height());
    const TGlyphButton* clicked = drawn.View(four).ExpandButton;
    const QRect place(clicked->mapTo(drawn.pane.viewport(), QPoint(0, 0)), clicked->size());
    QVERIFY2(drawn.pane.viewport()->rect().contains(place),
             qPrintable(QStringLiteral("button at %1, %2").arg(place.x()).arg(place.y())));
}

void ClaimTreeNodeActionsTest::keysMoveAndExpand_data() {
    QTest::addColumn<QString>("keys"); // "-" is Collapse all, "click N" a click on N's caption
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("shown");
    const QString all = QStringLiteral("1 2 3 4 5' 5 6 7 8");
    QTest::newRow("Tab starts at the top") << ""
                                           << "1" << all;
    QTest::newRow("Down") << "Down"
                          << "2" << all;
    QTest::newRow("Up to a collapsed copy") << "End Up Up Up Up"
                                            << "5'" << all;
    QTest::newRow("Up at the top stays") << "Up"
                                         << "1" << all;
    QTest::newRow("End, Up") << "End Up"
                             << "7" << all;
    QTest::newRow("Home") << "End Home"
                          << "1" << all;
    QTest::newRow("Left to the parent") << "Down Down Down Left"
                                        << "3" << all;
    QTest::newRow("Left at a root stays") << "End Up Left"
                                          << "7" << all;
    QTest::newRow("Right to the first dependant") << "Down Right"
                                                  << "3" << all;
    QTest::newRow("Right on a last box stays") << "End Right"
                                               << "8" << all;
    QTest::newRow("Space collapses") << "Down Space"
                                     << "2"
                                     << "1 2 5 6 7 8";
    QTest::newRow("Down skips the hidden boxes") << "Down Space Down"
                                                 << "5"
                                                 << "1 2 5 6 7 8";
    QTest::newRow("Space again expands one level") << "Down Space Space"
                                                   << "2"
                                                   << "1 2 3 5' 5 6 7 8";
    QTest::newRow("Enter collapses") << "Down Return"
                                     << "2"
                                     << "1 2 5 6 7 8";
    QTest::newRow("Space on a last box") << "End Space"
                                         << "8" << all;
    QTest::newRow("Right opens a collapsed box") << "- Right"
                                                 << "2"
                                                 << "1 2 5 7";
    QTest::newRow("Right opens the other copy") << "End Up Up Up Up Right"
                                                << "6'"
                                                << "1 2 3 4 5' 6' 5 7 8";
    QTest::newRow("collapsed away: from the shown ancestor") << "Down Down - Down"
                                                             << "7"
                                                             << "1 7";
    QTest::newRow("Page Down") << "PgDown"
                               << "4" << all;
    QTest::newRow("Page Down twice") << "PgDown PgDown"
                                     << "6" << all;
    QTest::newRow("Page Up") << "PgDown PgDown PgUp"
                             << "4" << all;
    QTest::newRow("Page Down at the end") << "End PgDown"
                                          << "8" << all;
    QTest::newRow("a click chooses the box") << "click 6 Up"
                                             << "5" << all;
}

// The pane shows about four rows, so that a page is a few boxes.
void ClaimTreeNodeActionsTest::keysMoveAndExpand() {
    QFETCH(QString, keys);
    QFETCH(QString, current);
    QFETCH(QString, shown);
    TDrawnTree drawn(PumpClaims, 480, 120);
    drawn.pane.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&drawn.pane));
    drawn.pane.clearFocus();
    drawn.pane.setFocus(Qt::TabFocusReason);
    const QStringList words = keys.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (words[i] == QLatin1String("-")) {
            drawn.drawing->CollapseAll();
        } else if (words[i] == QLatin1String("click")) {
            QTest::mouseClick(drawn.View(Named(drawn, words[++i])).CaptionLabel, Qt::LeftButton);
        } else {
            const QKeyCombination key = QKeySequence(words[i])[0];
            QVERIFY2(key.key() != Qt::Key_unknown, qPrintable(words[i]));
            QTest::keyClick(&drawn.pane, key.key(), key.keyboardModifiers());
        }
    }
    QVERIFY(drawn.pane.CurrentBox() != nullptr);
    QCOMPARE(NameOf(*drawn.pane.CurrentBox()), current);
    QCOMPARE(ShownBoxes(drawn), shown);
    // A screen reader hears of the current box and its state.
    const TClaimTreeNode& at = *drawn.pane.CurrentBox();
    QCOMPARE(QAccessible::queryAccessibleInterface(&drawn.pane)->text(QAccessible::Name),
             TClaimTreePane::BoxAccessibleName(at, drawn.View(&at).DisplayState ==
                                                       TDisplayState::Expanded));
    // The current box is in view.
    const QLabel* caption = drawn.View(drawn.pane.CurrentBox()).CaptionLabel;
    const QRect place(caption->mapTo(drawn.pane.viewport(), QPoint(0, 0)), caption->size());
    QVERIFY(drawn.pane.viewport()->rect().contains(place));
    CompareWithWholeLayout(drawn);
}

QTEST_MAIN(ClaimTreeNodeActionsTest)
#include "ClaimTreeNodeActionsTest.moc"
