#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

class QAction;
class QMenu;
class QWidget;
class TClaimTreeNode;
class TfrMain;

// The context menu of a box in the tree pane: copy the claim's text, or the
// claim in full with the claims it hangs on.
class TBoxMenu : public QObject {
    Q_OBJECT

public:
    explicit TBoxMenu(TfrMain* Window);

    // The shown box at a point of the pane's content, or null.
    TClaimTreeNode* BoxAt(QPoint ContentPoint) const;

    // The menu for Node, not yet shown; the caller deletes it.
    QMenu* MenuFor(TClaimTreeNode& Node);

    // The claim's text, and the claim with the texts on its path, as copied.
    static QString ClaimText(const TClaimTreeNode& Node);
    static QString ClaimInFull(const TClaimTreeNode& Node);

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    TfrMain* window;
    QWidget* content;
};
