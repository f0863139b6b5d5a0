#pragma once

#include "ClaimComparison.h"

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QTextBrowser;
class QTextDocument;
class QTreeWidget;
class QTreeWidgetItem;
class TClaimTree;
class TClaimTreeNode;
class TClaimTreePane;
class TImageList;
class TTreeDrawing;
enum class TReading;

// The kinds of change the list of changes tells apart, as bits.
enum class TChangeKind : unsigned { Changed = 1, New = 2, Canceled = 4, DependencyChanged = 8 };

// One line of the list of changes: a claim of B, or a canceled claim of A.
struct TChangeEntry {
    int32_t Number = 0; // in B; 0 for a canceled claim
    int32_t From = 0;   // in A; 0 for a new claim
    unsigned Kinds = 0; // TChangeKind bits
};

// The changes of Comparison in reading order: the claims of B that changed
// in words, references or not at all but for being new; each canceled claim
// of A stands before the first claim of B that comes from a later claim.
std::vector<TChangeEntry> ChangeEntries(const TClaimComparison& Comparison);

// One version of a claim set as the comparison reads it.
struct TCompareVersion {
    QString Name; // what the window calls it: a file name, "the saved file"
    std::string Text;
    TReading Reading{};
};

// How the comparison is made; CompareClaims unless a caller brings its own.
using TComparer = std::function<TClaimComparison(const TClaimTree& A, const TClaimTree& B)>;

// Two versions of a claim set side by side: the earlier version A's tree on
// the left, the later version B's on the right, each box tagged with what
// became of its claim; the list of changes with its filters; the redline of
// the claim chosen; and the claim listing exported.
class TCompareWindow : public QWidget {
    Q_OBJECT

public:
    TCompareWindow(TCompareVersion A, TCompareVersion B, QWidget* Parent = nullptr,
                   TComparer Comparer = {});
    ~TCompareWindow() override;

    enum class TListingFormat { Html, Pdf, Docx };

    // The window's controls.
    QLabel* lbVersionA;
    QLabel* lbVersionB;
    QPushButton* btnSwap;
    QPushButton* btnExport;
    QAction* ExportHtml1;
    QAction* ExportPdf1;
    QAction* ExportDocx1;
    TClaimTreePane* sbTreeA;
    TClaimTreePane* sbTreeB;
    QCheckBox* cbChanged;
    QCheckBox* cbNew;
    QCheckBox* cbCanceled;
    QCheckBox* cbDependency;
    QTreeWidget* lvChanges;
    QPushButton* btnPrevious;
    QPushButton* btnNext;
    QTextBrowser* mmRedline;

    const TClaimComparison& Comparison() const { return comparison; }
    const TClaimTree& TreeA() const { return *treeA; }
    const TClaimTree& TreeB() const { return *treeB; }
    TTreeDrawing& DrawingA() const { return *drawingA; }
    TTreeDrawing& DrawingB() const { return *drawingB; }

    // The claims chosen, in A's and B's numbers (0 where the claim has no
    // counterpart); both 0 before any choice.
    int32_t ChosenA() const { return chosenA; }
    int32_t ChosenB() const { return chosenB; }

    // Chooses a claim of B (Side B) or of A: its redline is shown, its
    // counterpart chosen on the other side, both boxes brought into view.
    void ChooseClaim(bool SideB, int32_t Number);
    // The next or previous line of the list of changes, as the filters show it.
    void NextChange();
    void PreviousChange();
    // A becomes B and B becomes A, and the comparison is made again.
    void Swap();

    // The claim listing: every claim of B in order with its status, changed
    // claims marked up; canceled claims of A where they stood.
    std::unique_ptr<QTextDocument> ListingDocument() const;
    // Writes the listing to FileName; a file that cannot be written is left
    // as it was and the user is told. Returns whether it was written.
    bool ExportListing(TListingFormat Format, const QString& FileName);

private:
    // What the listing's head names: B, compared with A.
    std::string ListingTitle() const;
    void Compare();
    void FillChanges();
    void ApplyFilters();
    void ShowRedline();
    void BoxChosen(bool SideB, TClaimTreeNode* Node);
    void StepChange(int Direction);
    void ExportClick(TListingFormat Format);
    // The line of the list for the chosen claims, or null.
    QTreeWidgetItem* ChosenItem() const;
    const TComparedClaim* ComparedOf(int32_t NumberB) const;

    TCompareVersion versionA;
    TCompareVersion versionB;
    TComparer comparer;
    std::unique_ptr<TImageList> images;
    std::unique_ptr<TClaimTree> treeA;
    std::unique_ptr<TClaimTree> treeB;
    // Destroyed before the trees they draw.
    std::unique_ptr<TTreeDrawing> drawingA;
    std::unique_ptr<TTreeDrawing> drawingB;
    TClaimComparison comparison;
    std::vector<TChangeEntry> entries;
    int32_t chosenA = 0;
    int32_t chosenB = 0;
    bool chosenSideB = true; // the side the claim was chosen on
};
