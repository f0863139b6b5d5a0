#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QWidget;
class TClaimTreeNode;
class TShownTree;
struct TClaim;

// The context menu of a box in the tree pane: copy the claim's text, or the
// claim in full with the claims it hangs on. Of a document read from printed
// pages, the box's tool tip and the copied text say where the claim stands.
class TBoxMenu : public QObject {
    Q_OBJECT

public:
    TBoxMenu(TShownTree& Shown, QObject* Parent);

    // The shown box at a point of the drawing, or null.
    TClaimTreeNode* BoxAt(QPoint AreaPoint) const;

    // The menu for Node, not yet shown; the caller deletes it.
    QMenu* MenuFor(TClaimTreeNode& Node);

    // The claim's text, and the claim with the texts on its path, as copied.
    static QString ClaimText(const TClaimTreeNode& Node);
    static QString ClaimInFull(const TClaimTreeNode& Node);

    // Where a claim stands on the printed pages ("col. 28, ll. 5-22"), or
    // empty; none by default.
    std::function<QString(const TClaim&)> Citation;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    TShownTree& shown;
    QWidget* content;
};
