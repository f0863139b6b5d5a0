#pragma once

#include <QObject>
#include <QRect>

class QAction;
class QMenu;
class QPlainTextEdit;
class QWidget;
class TAnchorLayout;
class TProblemsPanel;
class TShownTree;
struct TClaimChecks;

// The claim checks as the window shows them: the problems panel below the
// input pane, which gives it room while it is shown, the problem marks of
// the boxes, and the Tools item that turns the checks on and off.
class TCheckDisplay : public QObject {
    Q_OBJECT

public:
    // Puts the panel into Box, below Input, whose designed place in Layout
    // is InputBounds.
    TCheckDisplay(TShownTree& Shown, TAnchorLayout& Layout, QPlainTextEdit& Input,
                  QRect InputBounds, QWidget& Box);

    // The Tools item, checked and remembered: the checks are on.
    QAction* CheckClaims1 = nullptr;
    TProblemsPanel* pnProblems;

    // Puts the item into Tools before Before.
    void AddItem(QMenu& Tools, QAction* Before);
    // Checks the shown tree, or shows no problem for a Quiet one (a
    // built-in example) or while the checks are off. Known, when given, holds
    // the checks of the shown tree, already done.
    void Show(bool Quiet, const TClaimChecks* Known = nullptr);

private:
    void CheckClaimsClick();

    TShownTree& shown;
    TAnchorLayout& layout;
    QPlainTextEdit& input;
    const QRect inputBounds;
    bool quiet = false;
};
