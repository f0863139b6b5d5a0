#pragma once

#include "DocumentFile.h"
#include "VelkinApplication.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

class QAction;
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
class TClaimTree;
class TClaimTreePane;
class TImageList;
class TReadingNotice;
enum class TReading;

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
    QMenu* mnuClaims;
    // Commands beyond reading the tree: readings, checks, export.
    QMenu* mnuTools;
    // Checked: every document is read with the lenient reading. Remembered.
    QAction* mnuLenientReading;
    QMenu* Help1;
    QAction* About1;

    QFileDialog* OpenDialog;
    QFileDialog* SaveDialog1;

    // The drawing's seven glyphs, owned by the window.
    TImageList* imlCLTR = nullptr;

    // Directory of the executable, ending in a separator.
    QString ProgramDir;
    // The text that the next analysis reads, as bytes.
    std::string InputText;
    QString LoadedFileName;
    QString DocumentFileName;
    bool InputModified = false;
    // How the document's bytes were read; Save writes them back the same way.
    TTextEncoding DocumentEncoding = TTextEncoding::Utf8;
    std::unique_ptr<TClaimTree> ClaimTree;
    bool WasActivated = false;

    // The client area's width, and the window's width with its frame.
    int ClientWidth() const;
    int OuterWidth() const;

    // The tree pane keeps the width last given, whatever the window does,
    // until FormResize or the splitter changes it.
    int TreePaneWidth() const { return treePaneWidth; }
    void SetTreePaneWidth(int Width);

    // First activation: maximise, give the tree pane two thirds, welcome page.
    void FormActivate();
    // Keeps the tree pane narrower than the window.
    void FormResize();
    // Returns whether the window may close.
    bool FormClose();

    void ShowWelcomePage();

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
    // The notice's button: this document read the other way.
    void btnReadingClick();
    // The Tools menu's "Lenient reading".
    void mnuLenientReadingClick();

protected:
    bool event(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void CreatePanes();
    void CreateMenu();
    void CreateFileDialogs();
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
    // The reading for the document: the built-in examples are standard texts.
    TReading DocumentReading() const;
    // Reads the text the other way too and shows or hides the notice.
    void UpdateReadingNotice();
    // Analyses the document again, as it was read from its file.
    void AnalyseAgain();
    void ResetDocumentReading();

    std::unique_ptr<TImageList> imageList;
    int treePaneWidth = 0;
    bool showingExample = false;
    // The reading chosen with the notice's button for this document only.
    bool otherReading = false;
};

// The one main window of the program.
extern TfrMain* frMain;

// Whether a key press types a character into the input pane, the presses
// that reach cmInputKeyPress: not Delete, arrows, paging or function keys.
bool TypesCharacter(const QKeyEvent& Key);
