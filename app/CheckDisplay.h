#pragma once

#include <QObject>

class QAction;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QWidget;
class TProblemsPanel;
class TShownTree;
struct TClaimChecks;

// The claim checks as the window shows them: the problems panel below the
// input pane, which gives it room while it is shown, the problem marks of
// the boxes, and the Tools item that turns the checks on and off.
class TCheckDisplay : public QObject {
    Q_OBJECT

public:
    // Puts the panel into Room below Input, the splitter's first pane. The
    // user sizes the panel with the splitter; its height is remembered.
    TCheckDisplay(TShownTree& Shown, QSplitter& Room, QPlainTextEdit& Input);

    // The Tools item, checked and remembered: the checks are on.
    QAction* CheckClaims1 = nullptr;
    TProblemsPanel* pnProblems;

    // Puts the item into Tools before Before.
    void AddItem(QMenu& Tools, QAction* Before);
    // Checks the shown tree, or shows no problem for a Quiet one (a
    // built-in example) or while the checks are off. Known, when given, holds
    // the checks of the shown tree, already done.
    void Show(bool Quiet, const TClaimChecks* Known = nullptr);

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void CheckClaimsClick();

    // Gives the panel the height it was last given.
    void RestoreHeight();

    TShownTree& shown;
    QSplitter& room;
    QPlainTextEdit& input;
    bool quiet = false;
};
