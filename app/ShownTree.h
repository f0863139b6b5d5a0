#pragma once

#include "ExportRows.h"

#include <QPoint>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <unordered_map>

class QWidget;
class TClaimTree;
class TClaimTreeNode;
class TImageList;

// The current tree and its drawing, as the window's features see them: the
// find bar, the boxes' menu and the exports. Every question about where a
// box is drawn goes through here, so that none of them depends on how the
// drawing keeps it.
class TShownTree {
public:
    virtual ~TShownTree() = default;

    // The tree of the last analysis, or null before any.
    virtual const TClaimTree* Tree() const = 0;

    // The marks of the claim's boxes (TBoxMark bits), and all marks at once.
    virtual unsigned BoxMarks(int32_t Claim) const = 0;
    virtual void SetBoxMarks(std::unordered_map<int32_t, unsigned> Marks) = 0;

    // Reveals a box of the claim and scrolls it into view; false when none can be.
    virtual bool RevealClaim(int32_t Claim) = 0;

    // The widget the boxes are drawn on, and the box drawn at a point of it,
    // or null.
    virtual QWidget* DrawingArea() const = 0;
    virtual TClaimTreeNode* BoxAt(QPoint AreaPoint) const = 0;

    // The boxes as shown, or every box expanded, for an export; empty rows
    // before any analysis.
    virtual TExportTree ExportRows(bool Whole) const = 0;
    // The width the tree is drawn in, the drawing's glyphs and its counts line.
    virtual int DrawingWidth() const = 0;
    virtual const TImageList& Glyphs() const = 0;
    virtual QString CountsText() const = 0;

    // Where the user is in the drawing: how far it is scrolled sideways, and
    // the topmost box in view, when Anchored: the Copy-th box of Claim, with
    // its distance below the top of the view.
    struct TViewPlace {
        int Left = 0;
        bool Anchored = false;
        int32_t Claim = 0;
        std::size_t Copy = 0;
        int Offset = 0;
    };
    virtual TViewPlace ViewPlace() const = 0;
    // Back to Place in a new drawing, as far as its boxes allow.
    virtual void RestoreViewPlace(const TViewPlace& Place) = 0;
};
