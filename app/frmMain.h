#pragma once

#include "ClaimCitation.h"
#include "DocumentFile.h"
#include "DocumentReader.h"
#include "VelkinApplication.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QFileDialog;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTabBar;
class QTimer;
class QVBoxLayout;
class TAnchorLayout;
class TClaimTreeNode;
class TCheckDisplay;
class TCompareCommand;
struct TOpenDocument;
class TProblemsPanel;
class TClaimTree;
class TTreeDrawing;
class TBoxMenu;
class TClaimTreePane;
class TDamagedDocument;
class TDocumentWatcher;
class TDocumentChoice;
class TDocumentView;
class TDraftingTools;
class TTermsPanel;
class TFindBar;
class TImageList;
class TShownTree;
class TTableExports;
class TDocumentSource;
class TTreeExport;
class TReadingChoice;
class TRecentFilesMenu;
class TReadingNotice;
class TLiveText;
class TAnalysisRunner;
struct TAnalysis;
struct TClaim;
struct TClaimChecks;

// The main window: the claim tree on the left, the input text on the right.
class TfrMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrMain(QWidget* Parent = nullptr);
    ~TfrMain() override;

    // The window's controls.
    QSplitter* Splitter2;
    QGroupBox* gbTree;
    QPushButton* btnExpandAll;
    QPushButton* btnCollapseAll;
    QLabel* Label4;
    QTabBar* TabControl1;
    TClaimTreePane* sbClaimTree;
    QGroupBox* gbClaims;
    QLabel* Label3;
    QPlainTextEdit* cmInput;
    // Across the top of the tree pane when the readings differ, or the
    // lenient one is in use.
    TReadingNotice* ReadingNotice;

    QMenuBar* MainMenu1;
    QMenu* File1;
    QAction* New1;
    QMenu* Example;
    QAction* Example1;
    QAction* Example2;
    QAction* Example3;
    QAction* Example4;
    QAction* Example5;
    QAction* Open1;
    QAction* Save1;
    QAction* SaveAs1;
    QAction* N1;
    QAction* Exit1;
    // The last documents read, newest first.
    TRecentFilesMenu* RecentFiles1 = nullptr;
    // The open document's file, to read again when it changes on disk.
    TDocumentWatcher* Watcher1 = nullptr;
    void FileChangedOnDisk();
    // The document and claims language read of a file that holds several.
    TDocumentChoice* Choice1 = nullptr;
    // Reads the open file again and analyses it.
    void ReadFileAgain();
    QMenu* mnuClaims;
    // The reading of documents, with the Tools item "Lenient reading".
    TReadingChoice* Readings1 = nullptr;
    QMenu* Help1;
    QAction* About1;

    QFileDialog* OpenDialog;
    QFileDialog* SaveDialog1;

    // The Tools menu's features: exports of the tables and of the tree,
    // printing and the find bar; and the boxes' context menu.
    TTableExports* TableExports1 = nullptr;
    TTreeExport* TreeExport1 = nullptr;
    TFindBar* FindBar1 = nullptr;
    // Tools > Terms: the claims' terms beside the tree.
    TTermsPanel* TermsPanel1 = nullptr;
    TBoxMenu* BoxMenu1 = nullptr;
    // Tools > Compare with...
    TCompareCommand* Compare1 = nullptr;

    // The drawing's seven glyphs, owned by the window.
    TImageList* imlCLTR = nullptr;

    // Directory of the executable, ending in a separator.
    QString ProgramDir;
    // The text that the next analysis reads, as bytes.
    std::string InputText;
    // Of a PDF: where each line of InputText stands on the pages; else empty.
    std::vector<TLineOrigin> DocumentLines;
    std::vector<TLineOrigin> DocumentLastLines;
    // Where a claim stands on the pages of a PDF ("col. 28, ll. 5-22"), as
    // the last analysis found; empty for other documents.
    QString CitationOf(const TClaim& Claim) const;
    QString LoadedFileName;
    QString DocumentFileName;
    bool InputModified = false;
    std::unique_ptr<TClaimTree> ClaimTree;
    // The drawing of ClaimTree: made with it, and destroyed before it.
    std::unique_ptr<TTreeDrawing> ClaimDrawing;
    bool WasActivated = false;
    // The document named on the command line, read once the window is up.
    QString StartupFileName;

    // The client area's width, and the window's width with its frame.
    int ClientWidth() const;
    int OuterWidth() const;

    // The tree pane keeps the width last given, whatever the window does,
    // while the window is wide enough for it (FormResize); the splitter
    // changes it.
    int TreePaneWidth() const { return treePaneWidth; }
    void SetTreePaneWidth(int Width);

    // First activation: maximise, give the tree pane two thirds, welcome page.
    void FormActivate();
    // Keeps the tree pane narrower than the window.
    void FormResize();
    // Returns whether the window may close.
    bool FormClose();

    void ShowWelcomePage();
    // The caption: Lead, then the document's Name, marked while its text
    // has unsaved changes.
    void ShowTitle(const QString& Lead, const QString& Name = {});
    // The caption without the mark.
    QString DocumentCaption() const { return titleLead + titleName; }

    // Documents, the analysis, tabs and the Claims menu.
    bool CheckUnsavedChanges();
    // Returns whether the file could be read.
    bool LoadInputFile(const QString& FileName);
    // Analyses InputText and shows the result; CallerSettings runs between
    // the counts and the Claims menu.
    void AnalyseInput(const std::function<void()>& CallerSettings = {});
    void ExampleClick();
    // Steps shared by the five example handlers.
    void ShowBuiltinExample(int Number);
    void FillClaimTabs();
    void ShowClaimCounts();
    void ClearClaimsMenu();
    void FillClaimsMenu();

    // Open once the file is chosen: reads FileName and shows its analysis,
    // whether or not it could be read. Returns whether it could.
    bool OpenDocument(const QString& FileName);

    // Drafting: analysing the edited text, and the problems of the claims.
    TDraftingTools* Drafting1 = nullptr;
    // Analyses of typed texts this long (UTF-16 code units) run on a thread
    // of their own, so that typing never waits for them.
    static constexpr int LargeText = 1 << 16;
    // The analyses of typed texts under way.
    TAnalysisRunner* Analyses1 = nullptr;
    // Analyses the pane's text once typing has paused: a large text is read
    // off this thread, and shown when done unless the text changed meanwhile.
    void AnalyseTypedText();
    // The checks' panel, marks and Tools item.
    TCheckDisplay* ClaimChecks1 = nullptr;
    // Reveals a box of the claim and scrolls it into view; false when none can be.
    bool RevealClaim(int Claim);

public slots:
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void Exit1Click();
    void Example1Click();
    void Example2Click();
    void Example3Click();
    void Example4Click();
    void Example5Click();
    void About1Click();
    void TabControl1Change();
    // Sender is the chosen item of the Claims menu.
    void ClaimMenuItemClick(QObject* Sender);
    void btnExpandAllClick();
    void btnCollapseAllClick();
    void cmInputKeyPress(QKeyEvent* Key);
    void AnalyseAgainClick();
    void NewDraftClick();

protected:
    bool event(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

private:
    // Commands beyond reading the tree: readings, checks, export.
    QMenu* mnuTools;
    // How the document's bytes were read; Save writes them back the same way.
    TDocumentFormat DocumentFormat;
    // Writes the pane's text to FileName; false when the user chose to keep
    // editing rather than change the document's encoding.
    bool SaveDocument(const QString& FileName);
    // Set for a document that Save would damage: it stays read-only.
    TDamagedDocument* Damage1 = nullptr;
    // The open document as a comparison reads it.
    TOpenDocument OpenDocumentNow() const;
    // Analyses the pane's current text, keeping the tab and the scroll position.
    void AnalyseAgain();
    // Checks the claims of ClaimTree: the problems panel and the boxes' marks.
    void ShowProblems(const TClaimChecks* Known = nullptr);
    // Selects the claim's first line in the input pane, reveals its box
    // without closing any other, and flashes it.
    void ShowProblemClaim(int Claim, int Line);
    // Reveals a box of the claim and scrolls it into view, and returns it;
    // null when none can be. KeepOthers opens no more than the way to it,
    // and prefers a box already on screen.
    TClaimTreeNode* RevealBox(int Claim, bool KeepOthers);
    // A moment's frame around Node's box.
    void FlashBox(const TClaimTreeNode& Node);
    QPointer<QWidget> boxFlash;
    // Analyses the pane's text, once a document or an example is shown.
    void AnalyseEditedText();
    // Shows the analysis of the typed text, as AnalyseAgain would.
    void ShowTypedAnalysis(TAnalysis Analysis);
    // Runs Analyse, which shows a new analysis of the pane's text, keeping the
    // tab and the place in the drawing.
    void KeepingView(const std::function<void()>& Analyse);
    // AnalyseInput once ClaimTree holds the new tree. Other and Checks, when
    // given, are the other reading and the checks, already done.
    void ShowAnalysis(const TClaimTree* Other, const TClaimChecks* Checks,
                      const std::function<void()>& CallerSettings);

    void CreatePanes();
    void CreateMenu();
    void CreateFileDialogs();
    // Opens a file dropped on the window, after the unsaved-changes question.
    void DropFile(const QString& FileName);
    // Handlers run through RunHandler: an exception is shown in the
    // exception box before it reaches Qt's code.
    template <typename Sender, typename Signal>
    void ConnectHandler(Sender* From, Signal Emitted, void (TfrMain::*Handler)()) {
        connect(From, Emitted, this,
                [this, Handler] { RunHandler([this, Handler] { (this->*Handler)(); }); });
    }
    // The same for a handler that is told its sender.
    template <typename Sender, typename Signal>
    void ConnectHandler(Sender* From, Signal Emitted, void (TfrMain::*Handler)(QObject*)) {
        connect(From, Emitted, this, [this, From, Handler] {
            RunHandler([this, From, Handler] { (this->*Handler)(From); });
        });
    }
    void Maximise();
    void ApplyTreePaneWidth();
    void SetSaveEnabled(bool Enabled);
    void SetZeroCounts();
    // A file read, not yet shown: ReadInputFile may be cancelled while it
    // reads a PDF, before anything in the window has changed.
    struct TInputFile {
        bool Read = false;
        bool Cancelled = false;
        TDocumentText Document;
        QString ConvertedFrom; // the format of a document read into text
        QString Fault;
        TDocumentRead All;
    };
    TInputFile ReadInputFile(const QString& FileName, int Index, const QString& Language);
    bool ShowInputFile(const QString& FileName, TInputFile File);
    std::vector<std::optional<TCitation>> claimCitations;
    int readingInBackground = 0; // a PDF is being read; events still come

    void CreateDraftingTools();
    void CreateProblemsPanel();
    // Every change the user makes to the pane's text.
    void InputChanged();

    std::unique_ptr<TImageList> imageList;
    // What the features see of the input pane and of the tree.
    std::unique_ptr<TDocumentView> documentView;
    std::unique_ptr<TShownTree> shownTree;
    std::unique_ptr<TDocumentSource> documentSource;
    // The pane's text as typed, for the analyses of typed texts.
    TLiveText* liveText = nullptr;
    int treePaneWidth = 0;
    // The width last set or dragged; a narrower window narrows the pane
    // for as long as it is too narrow for it.
    int chosenTreePaneWidth = 0;
    // The input pane's column: the find bar, then the text above the
    // problems panel.
    QVBoxLayout* inputColumn = nullptr;
    QSplitter* splInput = nullptr;
    QString titleLead;
    QString titleName;
    void UpdateTitle();
    // Analyses the text of the last analysis again, with the reading now chosen.
    void ReadAgain();
};

// The one main window of the program.
extern TfrMain* frMain;

// Whether a key press types a character into the input pane, the presses
// that reach cmInputKeyPress: not Delete, arrows, paging or function keys.
bool TypesCharacter(const QKeyEvent& Key);
