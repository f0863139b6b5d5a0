#pragma once

#include "TreeView.h"

#include <QLabel>
#include <QTest>
#include <memory>
#include <string>

// A claim text drawn into a shown tree pane of a known size, as the main
// window draws it: BuildDrawing for all roots with the view reset, then
// ExpandAll.
struct TDrawnTree {
    explicit TDrawnTree(const std::string& Text, int Width = 480, int Height = 400,
                        int64_t MaxBoxes = MaxDrawnBoxes)
        : tree(std::make_unique<TClaimTree>(Text)), drawing(std::make_unique<TTreeDrawing>(*tree)) {
        pane.resize(Width, Height);
        pane.SetMaxBoxes(MaxBoxes);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        drawing->BuildDrawing(&pane, &images, nullptr, -1, true);
        drawing->ExpandAll();
    }

    // Node Index of claim Number, in NodesByClaim order.
    TClaimTreeNode* Node(int Number, std::size_t Index = 0) const {
        return tree->NodesByClaim[static_cast<std::size_t>(Number)].at(Index);
    }

    // The view state and widgets of a node's box.
    TNodeView& View(const TClaimTreeNode* Node) const { return drawing->View(*Node); }
    TNodeView& View(int Number, std::size_t Index = 0) const { return View(Node(Number, Index)); }

    bool ShowsGlyph(const TGlyphButton* Button, int Image) const {
        return Button->Glyph().cacheKey() == images.Image(Image).cacheKey();
    }

    TImageList images;
    TClaimTreePane pane;
    std::unique_ptr<TClaimTree> tree;
    std::unique_ptr<TTreeDrawing> drawing; // destroyed before the tree
};

// Whether the control is shown, for a pane that is shown.
inline bool Shown(const QWidget* Control) {
    return Control != nullptr && Control->isVisible();
}

// The rows, the view state and the places of the shown widgets, as text.
inline QStringList DrawnPicture(const TDrawnTree& Drawn) {
    QStringList picture;
    const auto place = [](const QWidget* Control) {
        if (!Shown(Control))
            return QStringLiteral(" -");
        const QRect g = Control->geometry();
        return QStringLiteral(" %1,%2,%3,%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
    };
    for (const TDrawnRow& row : Drawn.drawing->Rows()) {
        const TNodeView& v = Drawn.View(row.Node);
        QString line = QStringLiteral("%1 level %2 top %3 height %4 line %5 at %6,%7 state %8")
                           .arg(row.Node->Number)
                           .arg(row.Level)
                           .arg(row.Top)
                           .arg(row.Height)
                           .arg(row.ChildLineHeight)
                           .arg(v.RowLeft)
                           .arg(v.RowTop)
                           .arg(static_cast<int>(v.DisplayState));
        for (const QWidget* control :
             {static_cast<const QWidget*>(v.ExpandButton), static_cast<const QWidget*>(v.ChildLine),
              static_cast<const QWidget*>(v.LinkLine), static_cast<const QWidget*>(v.CaptionLabel),
              static_cast<const QWidget*>(v.BranchButton),
              static_cast<const QWidget*>(v.DependentsLabel),
              static_cast<const QWidget*>(v.TextMemo)})
            line += place(control);
        picture << line;
    }
    picture << QStringLiteral("content %1 x %2")
                   .arg(Drawn.pane.Content()->width())
                   .arg(Drawn.pane.Content()->height());
    return picture;
}

// Clicks lay out only what they change: the picture must be the one a whole
// layout makes.
inline void CompareWithWholeLayout(TDrawnTree& Drawn) {
    const QStringList clicked = DrawnPicture(Drawn);
    Drawn.drawing->Relayout();
    QCOMPARE(clicked, DrawnPicture(Drawn));
}

// The rows of the composed pump-and-valve claim set used by several tests:
// 1 [2 [3 [4], 5b], 5a [6]], 7 [8]. Claim 5 depends on claims 1 and 2, so it
// has two copies; the one below claim 1 (5a, created first) carries claim 6.
inline const std::string PumpClaims = "We claim:\n"
                                      "1. A pump.\n"
                                      "2. The pump of claim 1.\n"
                                      "3. The pump of claim 2.\n"
                                      "4. The pump of claim 3.\n"
                                      "5. The pump of claims 1 or 2.\n"
                                      "6. The pump of claim 5.\n"
                                      "7. A valve.\n"
                                      "8. The valve of claim 7.\n";
