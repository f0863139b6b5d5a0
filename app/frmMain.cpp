#include "frmMain.h"

#include "AboutBox.h"
#include "AnalysisRunner.h"
#include "AnchorLayout.h"
#include "BoxMenu.h"
#include "BuiltinExamples.h"
#include "BusyCursor.h"
#include "CheckDisplay.h"
#include "ClaimCitation.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "CompareCommand.h"
#include "DamagedDocument.h"
#include "Dialogs.h"
#include "DocumentChoice.h"
#include "DocumentFile.h"
#include "DocumentPlaces.h"
#include "DocumentReader.h"
#include "DocumentSource.h"
#include "DocumentView.h"
#include "DocumentWatcher.h"
#include "DraftingTools.h"
#include "FindBar.h"
#include "Fonts.h"
#include "ImageList.h"
#include "LiveText.h"
#include "PdfReading.h"
#include "ProblemsPanel.h"
#include "ProgramIcon.h"
#include "ProgramSettings.h"
#include "ReadingChoice.h"
#include "ReadingNotice.h"
#include "RecentFilesMenu.h"
#include "ShownTree.h"
#include "TabBarChange.h"
#include "TableExports.h"
#include "TermsPanel.h"
#include "TextEncoding.h"
#include "TreeDrawing.h"
#include "TreeExport.h"
#include "TreeView.h"
#include "VelkinApplication.h"
#include "WelcomePage.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QStringList>
#include <QTabBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <new>
#include <unordered_map>

TfrMain* frMain = nullptr;

namespace {

constexpr Qt::Edges LeftTop = Qt::LeftEdge | Qt::TopEdge;
constexpr Qt::Edges LeftTopRight = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge;
constexpr Qt::Edges AllSides = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge;

// The frame around the box a problem's row shows: a moment, so that the eye
// finds it in a full pane, then gone.
constexpr int FlashMilliseconds = 2000;
constexpr int FlashMargin = 3;
const QColor FlashColour(255, 120, 0);

// Sizes of the client area as the window was designed.
constexpr int DesignClientWidth = 688;
constexpr int DesignClientHeight = 434;
constexpr int DesignTreeWidth = 329;

void SetTextColor(QWidget* Control, QPalette::ColorRole Role, const QColor& Color) {
    QPalette palette = Control->palette();
    palette.setColor(Role, Color);
    Control->setPalette(palette);
}

QPushButton* NewTreeButton(QWidget* Parent, const char* Name, const QString& Caption,
                           const QString& Hint) {
    auto* button = new QPushButton(Caption, Parent);
    button->setObjectName(QLatin1String(Name));
    button->setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 12, true));
    SetTextColor(button, QPalette::ButtonText, Qt::blue);
    button->setToolTip(Hint);
    return button;
}

QLabel* NewPaneCaption(QWidget* Parent, const char* Name, const QString& Caption) {
    auto* label = new QLabel(Caption, Parent);
    label->setObjectName(QLatin1String(Name));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    SetTextColor(label, QPalette::WindowText, Qt::blue);
    return label;
}

QGroupBox* NewPaneBox(QWidget* Parent, const char* Name) {
    auto* box = new QGroupBox(Parent);
    box->setObjectName(QLatin1String(Name));
    box->setMinimumWidth(2);
    return box;
}

// A label of the welcome page, sized to its text and then fixed.
QLabel* NewWelcomeLabel(QWidget* Page, const QString& Text, int Points) {
    auto* label = new QLabel(Page);
    label->setFont(LayoutFont(QStringLiteral("Times"), Points, true));
    SetTextColor(label, QPalette::WindowText, Qt::black);
    label->setText(Text);
    label->adjustSize();
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

// The first local file of a drag, or an empty name when it carries none.
QString DraggedFile(const QMimeData* Data) {
    if (Data == nullptr || !Data->hasUrls())
        return {};
    for (const QUrl& url : Data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

// The window's tree as its features see it.
class TWindowTree final : public TShownTree {
public:
    explicit TWindowTree(TfrMain& Window) : window(Window) {}

    const TClaimTree* Tree() const override { return window.ClaimTree.get(); }
    unsigned BoxMarks(int32_t Claim) const override { return window.sbClaimTree->BoxMarks(Claim); }
    void SetBoxMarks(std::unordered_map<int32_t, unsigned> Marks) override {
        window.sbClaimTree->SetBoxMarks(std::move(Marks));
    }
    bool RevealClaim(int32_t Claim) override { return window.RevealClaim(Claim); }
    QWidget* DrawingArea() const override { return window.sbClaimTree->Content(); }
    TClaimTreeNode* BoxAt(QPoint AreaPoint) const override {
        TClaimTree* tree = window.ClaimTree.get();
        // A box of another tree, or of none: the pane is between drawings.
        if (tree == nullptr || window.sbClaimTree->DrawnTree() != tree)
            return nullptr;
        const TTreeDrawing* drawing = window.ClaimDrawing.get();
        return drawing != nullptr ? drawing->NodeAt(AreaPoint) : nullptr;
    }
    TExportTree ExportRows(bool Whole) const override {
        const TClaimTree* tree = window.ClaimTree.get();
        const TTreeDrawing* drawing = window.ClaimDrawing.get();
        if (tree == nullptr || drawing == nullptr)
            return {};
        return Whole ? WholeExportTree(*tree, MaxDrawnBoxes)
                     : ShownExportTree(*drawing, MaxDrawnBoxes);
    }
    int DrawingWidth() const override { return window.sbClaimTree->width(); }
    const TImageList& Glyphs() const override { return *window.imlCLTR; }
    QString CountsText() const override { return window.Label4->text(); }
    TViewPlace ViewPlace() const override;
    void RestoreViewPlace(const TViewPlace& Place) override;

private:
    TfrMain& window;
};

// The window's document as its exports see it.
class TWindowDocument final : public TDocumentSource {
public:
    explicit TWindowDocument(const TfrMain& Window) : window(Window) {}

    QString FileName() const override { return window.DocumentFileName; }
    const std::string& AnalysedText() const override { return window.InputText; }
    QString Caption() const override { return window.DocumentCaption(); }

private:
    const TfrMain& window;
};

TShownTree::TViewPlace TWindowTree::ViewPlace() const {
    const TClaimTreePane& pane = *window.sbClaimTree;
    TViewPlace place;
    place.Left = pane.horizontalScrollBar()->value();
    const int top = pane.verticalScrollBar()->value();
    const TClaimTree* tree = window.ClaimTree.get();
    const TTreeDrawing* drawing = window.ClaimDrawing.get();
    if (tree == nullptr || drawing == nullptr)
        return place;
    // The drawing knows where every row is, near the view or not: only the
    // rows near the view of a large tree have widgets.
    for (const TDrawnRow& row : drawing->Rows()) {
        if (row.Height == 0 || row.Top < top || !InClaimTable(row.Node->Number))
            continue;
        const auto& nodes = tree->NodesByClaim[static_cast<std::size_t>(row.Node->Number)];
        const auto copy = std::find(nodes.begin(), nodes.end(), row.Node);
        if (copy == nodes.end())
            continue;
        place.Anchored = true;
        place.Claim = row.Node->Number;
        place.Copy = static_cast<std::size_t>(copy - nodes.begin());
        place.Offset = row.Top - top;
        break;
    }
    return place;
}

void TWindowTree::RestoreViewPlace(const TViewPlace& Place) {
    TClaimTreePane& pane = *window.sbClaimTree;
    pane.horizontalScrollBar()->setValue(Place.Left);
    const TClaimTree* tree = window.ClaimTree.get();
    const TTreeDrawing* drawing = window.ClaimDrawing.get();
    if (!Place.Anchored || tree == nullptr || drawing == nullptr)
        return;
    const auto& nodes = tree->NodesByClaim[static_cast<std::size_t>(Place.Claim)];
    if (Place.Copy < nodes.size() && drawing->IsShown(*nodes[Place.Copy]))
        pane.verticalScrollBar()->setValue(drawing->View(*nodes[Place.Copy]).RowTop - Place.Offset);
}

// Whether Node's box is shown with every box above it open.
bool InOpenBranch(const TTreeDrawing& Drawing, const TClaimTreeNode& Node) {
    if (!Drawing.IsShown(Node))
        return false;
    for (const TClaimTreeNode* above = Node.Parent; above != nullptr; above = above->Parent) {
        if (Drawing.View(*above).DisplayState != TDisplayState::Expanded)
            return false;
    }
    return true;
}

// The frame FlashBox puts around a box's caption in the drawing Area.
class TBoxFlash final : public QWidget {
public:
    TBoxFlash(QWidget* Area, QRect Caption);

protected:
    void paintEvent(QPaintEvent* Event) override;
};

TBoxFlash::TBoxFlash(QWidget* Area, QRect Caption) : QWidget(Area) {
    setObjectName(QStringLiteral("BoxFlash"));
    // Every click goes through to the box beneath.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(Caption.adjusted(-FlashMargin, -FlashMargin, FlashMargin, FlashMargin));
    raise();
    show();
    QTimer::singleShot(FlashMilliseconds, this, [this] { deleteLater(); });
}

void TBoxFlash::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(FlashColour, 2));
    QColor fill = FlashColour;
    fill.setAlpha(50);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
}

} // namespace

bool TypesCharacter(const QKeyEvent& Key) {
    return !Key.text().isEmpty() && Key.key() != Qt::Key_Delete;
}

TfrMain::TfrMain(QWidget* Parent) : QMainWindow(Parent) {
    setObjectName(QStringLiteral("frMain"));
    setWindowIcon(ProgramIcon());
    setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 8));
    CreatePanes();
    ShowTitle(QStringLiteral("Veltrum"));
    connect(cmInput->document(), &QTextDocument::modificationChanged, this,
            [this] { UpdateTitle(); });
    CreateMenu();
    CreateFileDialogs();
    RecentFiles1 = new TRecentFilesMenu(*File1, Save1, [this](const QString& FileName) {
        if (CheckUnsavedChanges())
            OpenDocument(FileName);
    });
    // After the examples, as the documents of a file are another choice of text.
    Choice1 = new TDocumentChoice(*File1, N1, *mnuTools, *this,
                                  [this] { RunHandler([this] { ReadFileAgain(); }); });
    documentView = std::make_unique<TTextPaneView>(*cmInput);
    shownTree = std::make_unique<TWindowTree>(*this);
    documentSource = std::make_unique<TWindowDocument>(*this);
    TableExports1 = new TTableExports(*shownTree, *documentSource, *mnuTools, *this);
    setAcceptDrops(true);
    CreateProblemsPanel();
    CreateDraftingTools();
    imageList = std::make_unique<TImageList>();
    imlCLTR = imageList.get();
    TreeExport1 = new TTreeExport(*shownTree, *documentSource, *mnuTools, *this);
    FindBar1 = new TFindBar(*documentView, *shownTree, *mnuTools, *this);
    Compare1 = new TCompareCommand(*mnuTools, *this, [this] { return OpenDocumentNow(); });
    inputColumn->insertWidget(0, FindBar1);
    BoxMenu1 = new TBoxMenu(*shownTree, this);
    BoxMenu1->Citation = [this](const TClaim& Claim) { return CitationOf(Claim); };
    ClaimChecks1->AddAntecedentItem(*mnuTools);
    TermsPanel1 = new TTermsPanel(*documentView, *shownTree, *mnuTools, *this);

    ProgramDir = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!ProgramDir.isEmpty() && !ProgramDir.endsWith(QDir::separator()))
        ProgramDir += QDir::separator();
    QDir::setCurrent(ProgramDir);
    DocumentFileName.clear();
    InputModified = false;
    cmInput->setEnabled(false);
    cmInput->setReadOnly(false);

    // The status bar, when the checks show it, comes below the designed client area.
    const int statusHeight = statusBar()->isHidden() ? 0 : statusBar()->sizeHint().height();
    resize(DesignClientWidth, DesignClientHeight + MainMenu1->sizeHint().height() + statusHeight);
    if (const QScreen* desktop = QGuiApplication::primaryScreen())
        move(desktop->availableGeometry().center() - rect().center());
}

TfrMain::~TfrMain() {
    // The drawn controls refer to the tree's nodes, so they go first.
    sbClaimTree->DestroyComponents();
    ClaimDrawing.reset();
    ClaimTree.reset();
    if (frMain == this)
        frMain = nullptr;
}

void TfrMain::CreatePanes() {
    Splitter2 = new QSplitter(Qt::Horizontal, this);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    Splitter2->setHandleWidth(6);
    Splitter2->setOpaqueResize(true);
    Splitter2->setChildrenCollapsible(false);
    setCentralWidget(Splitter2);

    gbTree = NewPaneBox(Splitter2, "gbTree");
    auto* tree = new TAnchorLayout(gbTree, QSize(DesignTreeWidth, DesignClientHeight));
    btnExpandAll =
        NewTreeButton(gbTree, "btnExpandAll", QStringLiteral("+"), QStringLiteral("Expand all"));
    tree->Place(btnExpandAll, QRect(2, 8, 25, 25), LeftTop);
    btnCollapseAll = NewTreeButton(gbTree, "btnCollapseAll", QStringLiteral("-"),
                                   QStringLiteral("Collapse all"));
    tree->Place(btnCollapseAll, QRect(26, 8, 25, 25), LeftTop);
    Label4 = NewPaneCaption(gbTree, "Label4",
                            QStringLiteral("Tree of claims: independent 0; dependent 0; total 0"));
    tree->Place(Label4, QRect(48, 11, 277, 16), LeftTopRight);
    TabControl1 = new QTabBar(gbTree);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    TabControl1->setExpanding(false);
    TabControl1->setUsesScrollButtons(true);
    tree->Place(TabControl1, QRect(0, 32, 325, 25), LeftTopRight);
    sbClaimTree = new TClaimTreePane(gbTree);
    sbClaimTree->setObjectName(QStringLiteral("sbClaimTree"));
    tree->Place(sbClaimTree, QRect(2, 56, 323, 376), AllSides);
    ReadingNotice = new TReadingNotice(gbTree, tree, sbClaimTree);

    gbClaims = NewPaneBox(Splitter2, "gbClaims");
    auto* claims = new TAnchorLayout(
        gbClaims, QSize(DesignClientWidth - DesignTreeWidth - 6, DesignClientHeight));
    Label3 = NewPaneCaption(gbClaims, "Label3", QStringLiteral("Input text"));
    claims->Place(Label3, QRect(2, 11, 349, 16), LeftTopRight);
    // The text, with the find bar above it and the problems panel below it,
    // each in room of its own.
    auto* inputArea = new QWidget(gbClaims);
    inputArea->setObjectName(QStringLiteral("pnInput"));
    inputColumn = new QVBoxLayout(inputArea);
    inputColumn->setContentsMargins(0, 0, 0, 0);
    inputColumn->setSpacing(2);
    // The pane may shrink below what its controls would like, as the rest of
    // the window may.
    inputColumn->setSizeConstraint(QLayout::SetNoConstraint);
    splInput = new QSplitter(Qt::Vertical, inputArea);
    splInput->setObjectName(QStringLiteral("splInput"));
    splInput->setChildrenCollapsible(false);
    inputColumn->addWidget(splInput, 1);
    cmInput = new QPlainTextEdit(splInput);
    cmInput->setObjectName(QStringLiteral("cmInput"));
    cmInput->setFont(LayoutFont(QStringLiteral("Arial"), 10));
    cmInput->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    cmInput->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    cmInput->setTabChangesFocus(false);
    // Tab stops every half inch, as in the rich edit the texts were written in.
    cmInput->setTabStopDistance(48);
    cmInput->installEventFilter(this);
    // Files dropped on the text open; text dragged within it stays an edit.
    cmInput->viewport()->installEventFilter(this);
    splInput->addWidget(cmInput);
    claims->Place(inputArea, QRect(2, 32, 349, 400), AllSides);

    Splitter2->addWidget(gbTree);
    Splitter2->addWidget(gbClaims);
    // Growing the window widens the input pane only.
    Splitter2->setStretchFactor(0, 0);
    Splitter2->setStretchFactor(1, 1);
    SetTreePaneWidth(DesignTreeWidth);

    connect(Splitter2, &QSplitter::splitterMoved, this,
            [this] { treePaneWidth = chosenTreePaneWidth = gbTree->width(); });
    ConnectHandler(btnExpandAll, &QPushButton::clicked, &TfrMain::btnExpandAllClick);
    ConnectHandler(btnCollapseAll, &QPushButton::clicked, &TfrMain::btnCollapseAllClick);
    ConnectHandler(TabControl1, &QTabBar::currentChanged, &TfrMain::TabControl1Change);
}

void TfrMain::CreateMenu() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    // The layout counts on the menu being part of the window.
    MainMenu1->setNativeMenuBar(false);

    const auto addItem = [this](QMenu* Menu, const char* Name, const QString& Caption,
                                void (TfrMain::*Handler)()) {
        QAction* item = Menu->addAction(Caption);
        item->setObjectName(QLatin1String(Name));
        ConnectHandler(item, &QAction::triggered, Handler);
        return item;
    };

    File1 = MainMenu1->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    New1 = addItem(File1, "New1", QStringLiteral("&New"), &TfrMain::New1Click);
    New1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));

    Open1 = addItem(File1, "Open1", QStringLiteral("&Open..."), &TfrMain::Open1Click);
    Open1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Save1 = addItem(File1, "Save1", QStringLiteral("&Save"), &TfrMain::Save1Click);
    Save1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Save1->setEnabled(false);
    SaveAs1 = addItem(File1, "SaveAs1", QStringLiteral("Save &As..."), &TfrMain::SaveAs1Click);
    SaveAs1->setEnabled(false);
    File1->addSeparator()->setObjectName(QStringLiteral("N2"));

    Example = File1->addMenu(QStringLiteral("Examples"));
    Example->setObjectName(QStringLiteral("Example"));
    const auto caption = [](int Number) {
        return QString::fromLatin1(BuiltinExample(Number).MenuCaption);
    };
    Example1 = addItem(Example, "Example1", caption(1), &TfrMain::Example1Click);
    Example2 = addItem(Example, "Example2", caption(2), &TfrMain::Example2Click);
    Example3 = addItem(Example, "Example3", caption(3), &TfrMain::Example3Click);
    Example4 = addItem(Example, "Example4", caption(4), &TfrMain::Example4Click);
    Example5 = addItem(Example, "Example5", caption(5), &TfrMain::Example5Click);

    N1 = File1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    Exit1 = addItem(File1, "Exit1", QStringLiteral("E&xit"), &TfrMain::Exit1Click);

    mnuClaims = MainMenu1->addMenu(QStringLiteral("&Claims"));
    mnuClaims->setObjectName(QStringLiteral("mnuClaims"));

    mnuTools = MainMenu1->addMenu(QStringLiteral("&Tools"));
    mnuTools->setObjectName(QStringLiteral("mnuTools"));
    Readings1 = new TReadingChoice(*ReadingNotice, *mnuTools, [this] { ReadAgain(); });

    Help1 = MainMenu1->addMenu(QStringLiteral("&Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    About1 = addItem(Help1, "About1", QStringLiteral("&About..."), &TfrMain::About1Click);
}

void TfrMain::CreateFileDialogs() {
    // "*" rather than "*.*": names without a dot are files too.
    const QStringList filters = {QStringLiteral("Text files (*.txt)"),
                                 QStringLiteral("All files (*)")};
    OpenDialog = new QFileDialog(this);
    OpenDialog->setObjectName(QStringLiteral("OpenDialog"));
    OpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog->setFileMode(QFileDialog::AnyFile);
    OpenDialog->setNameFilters(
        {QStringLiteral("Patent documents (*.txt *.docx *.odt *.xml *.html *.htm *.pdf)"),
         QStringLiteral("Text files (*.txt)"), QStringLiteral("PDF files (*.pdf)"),
         QStringLiteral("Word and OpenDocument files (*.docx *.odt)"),
         QStringLiteral("Patent-office XML (*.xml)"), QStringLiteral("Web pages (*.html *.htm)"),
         QStringLiteral("All files (*)")});

    SaveDialog1 = new TSaveFileDialog(this);
    SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
    SaveDialog1->setFileMode(QFileDialog::AnyFile);
    SaveDialog1->setDefaultSuffix(QStringLiteral("txt"));
    SaveDialog1->setNameFilters(filters);
}

int TfrMain::ClientWidth() const {
    return width();
}

int TfrMain::OuterWidth() const {
    return frameGeometry().width();
}

void TfrMain::SetTreePaneWidth(int Width) {
    treePaneWidth = chosenTreePaneWidth = Width;
    ApplyTreePaneWidth();
}

void TfrMain::ApplyTreePaneWidth() {
    const int rest = Splitter2->width() - Splitter2->handleWidth() - treePaneWidth;
    Splitter2->setSizes({treePaneWidth, std::max(rest, 0)});
}

bool TfrMain::event(QEvent* Event) {
    const bool handled = QMainWindow::event(Event);
    if (Event->type() == QEvent::WindowActivate)
        RunHandler([this] { FormActivate(); });
    return handled;
}

void TfrMain::FormActivate() {
    if (WasActivated)
        return;
    WasActivated = true;
    Maximise();
    SetTreePaneWidth((OuterWidth() * 2) / 3);
    ShowWelcomePage();
    // Once the start-up layout has been shown.
    if (!StartupFileName.isEmpty()) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                RunHandler([this] {
                    const QString fileName = std::exchange(StartupFileName, QString());
                    if (CheckUnsavedChanges())
                        OpenDocument(fileName);
                });
            },
            Qt::QueuedConnection);
    }
}

void TfrMain::Maximise() {
    const QRect outer = frameGeometry();
    const QRect client = geometry();
    setWindowState(windowState() | Qt::WindowMaximized);
    // The window system maximises later, or never without a window manager:
    // take the maximised geometry now so that the start-up layout sees it.
    // Qt takes a resize from code for the end of the maximised state, so the
    // state is set once more.
    if (const QScreen* shown = screen()) {
        const QMargins frame(client.left() - outer.left(), client.top() - outer.top(),
                             outer.right() - client.right(), outer.bottom() - client.bottom());
        setGeometry(shown->availableGeometry().marginsRemoved(frame));
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

void TfrMain::resizeEvent(QResizeEvent* Event) {
    QMainWindow::resizeEvent(Event);
    RunHandler([this] {
        FormResize();
        // The splitter has shared out the new width by itself; the tree pane
        // keeps its own.
        ApplyTreePaneWidth();
    });
}

void TfrMain::FormResize() {
    const int client = ClientWidth();
    // Narrowed from the width last chosen, not from the last narrowed one: a
    // window made small and large again gives the tree pane its width back.
    treePaneWidth = client < chosenTreePaneWidth ? (client / 3) * 2 : chosenTreePaneWidth;
}

void TfrMain::closeEvent(QCloseEvent* Event) {
    // A failing close handler keeps the window open.
    bool mayClose = false;
    RunHandler([this, &mayClose] { mayClose = FormClose(); });
    Event->setAccepted(mayClose);
}

bool TfrMain::FormClose() {
    if (!CheckUnsavedChanges())
        return false;
    sbClaimTree->DestroyComponents();
    ClaimDrawing.reset();
    ClaimTree.reset();
    return true;
}

bool TfrMain::eventFilter(QObject* Watched, QEvent* Event) {
    if ((Watched == cmInput || Watched == cmInput->viewport()) &&
        (Event->type() == QEvent::DragEnter || Event->type() == QEvent::DragMove ||
         Event->type() == QEvent::Drop)) {
        auto* drag = static_cast<QDropEvent*>(Event);
        const QString fileName = DraggedFile(drag->mimeData());
        if (fileName.isEmpty())
            return QMainWindow::eventFilter(Watched, Event);
        drag->acceptProposedAction();
        if (Event->type() == QEvent::Drop)
            RunHandler([this, &fileName] { DropFile(fileName); });
        return true;
    }
    // A disabled pane takes no input; its filter still sees the key.
    if (Watched == cmInput && Event->type() == QEvent::KeyPress && cmInput->isEnabled()) {
        auto* key = static_cast<QKeyEvent*>(Event);
        // Tab types in the text, so Ctrl+Tab and Ctrl+Shift+Tab leave it.
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_Tab && modifiers == Qt::ControlModifier) ||
            (key->key() == Qt::Key_Backtab &&
             modifiers == (Qt::ControlModifier | Qt::ShiftModifier))) {
            focusNextPrevChild(key->key() == Qt::Key_Tab);
            return true;
        }
        if (TypesCharacter(*key))
            RunHandler([this, key] { cmInputKeyPress(key); });
    }
    return QMainWindow::eventFilter(Watched, Event);
}

void TfrMain::dragEnterEvent(QDragEnterEvent* Event) {
    if (!DraggedFile(Event->mimeData()).isEmpty())
        Event->acceptProposedAction();
}

void TfrMain::dropEvent(QDropEvent* Event) {
    const QString fileName = DraggedFile(Event->mimeData());
    if (fileName.isEmpty())
        return;
    Event->acceptProposedAction();
    RunHandler([this, &fileName] { DropFile(fileName); });
}

void TfrMain::DropFile(const QString& FileName) {
    if (CheckUnsavedChanges())
        OpenDocument(FileName);
}

void TfrMain::ShowTitle(const QString& Lead, const QString& Name) {
    titleLead = Lead;
    titleName = Name;
    UpdateTitle();
}

void TfrMain::UpdateTitle() {
    const bool unsaved = !titleName.isEmpty() && cmInput->isEnabled() && !cmInput->isReadOnly() &&
                         cmInput->document()->isModified();
    // The mark goes before the document's name, as desktop programs show it.
    setWindowTitle(titleLead + (unsaved ? QStringLiteral("*") : QString()) + titleName);
}

void TfrMain::ShowWelcomePage() {
    sbClaimTree->DestroyComponents();
    QWidget* page = sbClaimTree->Content();
    const std::array<QString, WelcomeLineCount>& texts = WelcomeLines();
    std::array<QLabel*, WelcomeLineCount> lines{};
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i] = NewWelcomeLabel(page, texts[i], 12);
    auto* picture = new QLabel(page);
    picture->setPixmap(ProgramIconPicture());
    picture->setAlignment(Qt::AlignCenter);
    QLabel* note = NewWelcomeLabel(page, WelcomeNote(), 9);

    const TWelcomePageLayout layout =
        WelcomePageLayout(lines[0]->height(), note->height(), picture->pixmap().height(),
                          sbClaimTree->ClientWidth(), sbClaimTree->ClientHeight());
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i]->setGeometry(layout.Lines[i]);
    picture->setGeometry(layout.Picture);
    note->setGeometry(layout.Note);
    for (QLabel* item : page->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        sbClaimTree->AnchorRight(item);
        item->show();
    }
    sbClaimTree->FitContent();
}

bool TfrMain::CheckUnsavedChanges() {
    if (!InputModified || !cmInput->document()->isModified())
        return true;
    const QMessageBox::StandardButton answer = TDialogs::Message(
        this,
        QStringLiteral("Input file\n") +
            (DocumentFileName.isEmpty() ? QStringLiteral("Untitled") : DocumentFileName) +
            QStringLiteral("\nhas unsaved changes. Would you like to save it first?"),
        QStringLiteral("WARNING"), QMessageBox::Question,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    // Yes: the user saves first, so the operation is abandoned, as on Cancel
    // (and Escape). Only No lets the edits go.
    return answer == QMessageBox::No;
}

TfrMain::TInputFile TfrMain::ReadInputFile(const QString& FileName, int Index,
                                           const QString& Language) {
    TInputFile file;
    try {
        const TBusyCursor busy;
        std::string bytes;
        file.Read = ReadDocumentFile(FileName, bytes);
        if (file.Read && DetectDocumentFormat(bytes) == QLatin1String("pdf")) {
            // Off the GUI thread, as a long PDF takes its time.
            TReadOptions options;
            options.Ocr = true;
            ++readingInBackground;
            std::optional<TDocumentRead> pdf = ReadInBackground(*this, bytes, options);
            --readingInBackground;
            if (!pdf) {
                file.Cancelled = true;
                return file;
            }
            file.Read = InputDocumentFrom(std::move(*pdf), file.Document, file.ConvertedFrom,
                                          file.Fault, Index, &file.All);
        } else if (file.Read) {
            file.Read = ReadInputDocument(bytes, file.Document, file.ConvertedFrom, file.Fault,
                                          Index, Language, &file.All, Choice1->OriginalText());
        }
    } catch (const std::bad_alloc&) {
        file.Read = false;
    }
    return file;
}

bool TfrMain::LoadInputFile(const QString& FileName) {
    TInputFile file = ReadInputFile(FileName, Choice1->Index, Choice1->Language);
    return !file.Cancelled && ShowInputFile(FileName, std::move(file));
}

bool TfrMain::ShowInputFile(const QString& FileName, TInputFile File) {
    InputText.clear();
    LoadedFileName = FileName;
    TDocumentText& document = File.Document;
    const QString& convertedFrom = File.ConvertedFrom; // the format of a document read into text
    const QString& fault = File.Fault;
    const bool read = File.Read;
    Choice1->Show(File.All);
    if (!read) {
        TDialogs::Message(this,
                          QStringLiteral("Unable to open file\n") + FileName +
                              (fault.isEmpty() ? QString() : u'\n' + fault),
                          QStringLiteral("ERROR"), QMessageBox::Critical, QMessageBox::Ok);
        return false;
    }
    // A long text takes its time to show.
    const TBusyCursor busy;
    InputText = std::move(document.Analysed);
    const TReadDocument* pdf =
        File.All.Format == QLatin1String("pdf") && !File.All.Documents.empty()
            ? &File.All.Documents.front()
            : nullptr;
    DocumentLines = pdf != nullptr ? pdf->LineOrigins : std::vector<TLineOrigin>();
    DocumentLastLines = pdf != nullptr ? pdf->LastLineOrigins : std::vector<TLineOrigin>();
    DocumentFormat = document.Format;
    Damage1->Set(document.Damage);
    cmInput->setEnabled(true);
    const bool whole = documentView->ShowText(document.Shown);
    // Edits of a damaged document could only be saved over what was left out;
    // a line shown cut short could only be edited as far as it is shown.
    cmInput->setReadOnly(Damage1->IsDamaged() || !whole || !convertedFrom.isEmpty());
    if (!convertedFrom.isEmpty()) {
        Damage1->SetConverted(
            DocumentFormatName(convertedFrom) +
            (pdf != nullptr && pdf->Ocr ? QStringLiteral(", recognised by OCR") : QString()));
    } else if (!whole && !Damage1->IsDamaged()) {
        Label3->setText(QStringLiteral("Input text (read-only: lines too long to show whole)"));
        Label3->setToolTip(QStringLiteral("Lines over %L1 characters are shown cut short; the "
                                          "whole text is analysed, found and saved.")
                               .arg(MaxShownLine));
    }
    ShowTitle(QStringLiteral("Velkin - "), LoadedFileName);
    SetSaveEnabled(!Damage1->IsDamaged());
    if (Damage1->IsConverted())
        Save1->setEnabled(false);
    return true;
}

void TfrMain::AnalyseInput(const std::function<void()>& CallerSettings) {
    const TBusyCursor busy;
    // An analysis under way reads an older text, or reads it another way.
    Analyses1->Drop();
    ClaimDrawing.reset();
    ClaimTree = std::make_unique<TClaimTree>(InputText, Readings1->ForDocument());
    ShowAnalysis(nullptr, nullptr, CallerSettings);
}

void TfrMain::ShowAnalysis(const TClaimTree* Other, const TClaimChecks* Checks,
                           const std::function<void()>& CallerSettings) {
    claimCitations = ClaimCitations(*ClaimTree, InputText, {DocumentLines, DocumentLastLines});
    ClaimDrawing = std::make_unique<TTreeDrawing>(*ClaimTree);
    if (Other != nullptr)
        Readings1->UpdateNotice(*ClaimTree, *Other);
    else
        Readings1->UpdateNotice(ClaimTree.get(), InputText);
    ShowProblems(Checks);
    FillClaimTabs();
    ClaimDrawing->BuildDrawing(sbClaimTree, imlCLTR, nullptr, -1, true);
    ClaimDrawing->ExpandAll();
    ShowClaimCounts();
    if (CallerSettings)
        CallerSettings();
    ClearClaimsMenu();
    FillClaimsMenu();
    FindBar1->TreeChanged();
    TermsPanel1->TreeChanged();
}

QString TfrMain::CitationOf(const TClaim& Claim) const {
    return Claim.Index < claimCitations.size() && claimCitations[Claim.Index]
               ? CitationText(*claimCitations[Claim.Index])
               : QString();
}

void TfrMain::ShowBuiltinExample(int Number) {
    if (!CheckUnsavedChanges())
        return;
    const TBusyCursor busy;
    const TBuiltinExample& example = BuiltinExample(Number);
    // The name is written for Windows, behind a backslash.
    QString fileName = QString::fromLatin1(example.FileName);
    if (fileName.startsWith(QLatin1Char('\\')))
        fileName.remove(0, 1);
    DocumentFileName = ProgramDir + fileName;
    Watcher1->Watch({});
    Choice1->NewFile();
    ShowTitle(QString::fromLatin1(example.WindowCaption));
    InputText = BuiltinExampleText(Number);
    DocumentLines.clear();
    DocumentLastLines.clear();
    cmInput->setEnabled(true);
    cmInput->setReadOnly(false);
    cmInput->setPlainText(DecodeDocumentText(InputText, DocumentFormat));
    Damage1->Set(TDocumentDamage::None);
    SetTreePaneWidth((OuterWidth() * 2) / 3);
    SetSaveEnabled(false);
    InputModified = false;
    ClaimDrawing.reset();
    ClaimTree.reset();
    sbClaimTree->DestroyComponents();
    SetZeroCounts();
    ExampleClick();
}

void TfrMain::ExampleClick() {
    Readings1->NewDocument(true);
    AnalyseInput([this] {
        cmInput->setReadOnly(true);
        SetSaveEnabled(false);
        InputModified = false;
    });
}

void TfrMain::FillClaimTabs() {
    {
        QStringList texts{QStringLiteral("All claims")};
        for (const TClaimTreeNode* root : ClaimTree->Roots) {
            if (root != nullptr)
                texts.append(QStringLiteral("Claim %1").arg(root->Number));
        }
        TTabBarChange(*TabControl1).SetTexts(texts);
    }
    const QSignalBlocker quiet(TabControl1);
    TabControl1->setCurrentIndex(0);
}

void TfrMain::ShowClaimCounts() {
    // Computed as it comes: repeated or backward numbers make it negative.
    const auto independent = static_cast<qint64>(ClaimTree->Roots.size());
    const qint64 total = ClaimTree->ClaimCount;
    Label4->setText(QStringLiteral("Tree of claims: independent %1; dependent %2; total %3")
                        .arg(independent)
                        .arg(total - independent)
                        .arg(total));
}

void TfrMain::SetZeroCounts() {
    Label4->setText(QStringLiteral("Tree of claims: independent 0; dependent 0; total 0"));
}

void TfrMain::ClearClaimsMenu() {
    // Gone at once, before new items of the same names are made.
    while (!mnuClaims->actions().isEmpty()) {
        QAction* item = mnuClaims->actions().constFirst();
        mnuClaims->removeAction(item);
        delete item;
    }
}

void TfrMain::FillClaimsMenu() {
    mnuClaims->menuAction()->setVisible(true);
    // Claims numbered beyond the table have no node.
    const int32_t last = std::min(ClaimTree->ClaimCount, ClaimTableSize - 1);
    for (int32_t claim = 1; claim <= last; ++claim) {
        if (ClaimTree->NodesByClaim[static_cast<std::size_t>(claim)].empty())
            continue;
        auto* item = new QAction(QStringLiteral("Claim %1").arg(claim), this);
        // Of a PDF, where the claim stands, right-aligned as a shortcut is.
        if (const QString citation = CitationOf(
                *ClaimTree->NodesByClaim[static_cast<std::size_t>(claim)].front()->Claim);
            !citation.isEmpty())
            item->setText(item->text() + u'\t' + citation);
        item->setObjectName(QStringLiteral("mnuClaim%1").arg(claim));
        item->setData(claim);
        ConnectHandler(item, &QAction::triggered, &TfrMain::ClaimMenuItemClick);
        mnuClaims->addAction(item);
    }
}

void TfrMain::SetSaveEnabled(bool Enabled) {
    Save1->setEnabled(Enabled);
    SaveAs1->setEnabled(Enabled);
}

void TfrMain::New1Click() {
    if (!CheckUnsavedChanges())
        return;
    const TBusyCursor busy;
    DocumentFileName.clear();
    Watcher1->Watch({});
    Choice1->NewFile();
    ShowTitle(QStringLiteral("Veltrum"));
    SetSaveEnabled(false);
    DocumentLines.clear();
    DocumentLastLines.clear();
    ClaimDrawing.reset();
    ClaimTree.reset();
    ShowProblems();
    Damage1->Set(TDocumentDamage::None);
    TTabBarChange(*TabControl1).RemoveAll();
    cmInput->setPlainText(QString());
    cmInput->document()->setModified(false);
    cmInput->setEnabled(false);
    cmInput->setReadOnly(false);
    sbClaimTree->DestroyComponents();
    SetZeroCounts();
    Readings1->NewDocument(false);
    SetTreePaneWidth((ClientWidth() / 3) * 2);
    ShowWelcomePage();
    ClearClaimsMenu();
}

void TfrMain::Open1Click() {
    if (!CheckUnsavedChanges())
        return;
    OpenDialog->setDirectory(OpenDialogStartDir(ProgramDir));
    const QString fileName = TDialogs::ChooseFile(*OpenDialog);
    if (fileName.isEmpty())
        return;
    RememberOpenDir(fileName);
    OpenDocument(fileName);
}

bool TfrMain::OpenDocument(const QString& FileName) {
    // A copy: the name may belong to a recent-files item, which is replaced.
    const QString fileName = FileName;
    // Read before anything changes: a PDF's reading may be cancelled, and
    // then all stays as it was.
    TInputFile file = ReadInputFile(fileName, 0, {});
    if (file.Cancelled)
        return false;
    DocumentLines.clear();
    DocumentLastLines.clear();
    if (ClaimTree) {
        const TBusyCursor busy;
        sbClaimTree->DestroyComponents();
        ClaimDrawing.reset();
        ClaimTree.reset();
        InputText.clear();
    }
    cmInput->setPlainText(QString());
    // The pane's mark is cleared without a signal when it is emptied.
    UpdateTitle();
    Choice1->NewFile();
    // Save would write the empty pane over the file that could not be read.
    const bool read = ShowInputFile(fileName, std::move(file));
    if (!read) {
        SetSaveEnabled(false);
        Damage1->Set(TDocumentDamage::None);
    }
    RecentFiles1->Opened(fileName, read);
    Watcher1->Watch(read ? fileName : QString());
    SetTreePaneWidth((ClientWidth() / 3) * 2);
    // Whether or not the file could be read: an unreadable one shows the
    // empty analysis under its name.
    Readings1->NewDocument(false);
    AnalyseInput([this, &fileName] {
        DocumentFileName = fileName;
        InputModified = false;
    });
    return read;
}

void TfrMain::Save1Click() {
    if (Damage1->IsDamaged() || Damage1->IsConverted()) {
        Damage1->DamagedSaveClick();
        return;
    }
    // A new draft gets its name at its first Save.
    if (DocumentFileName.isEmpty()) {
        SaveAs1Click();
        return;
    }
    SaveDocument(DocumentFileName);
}

bool TfrMain::SaveDocument(const QString& FileName) {
    // The pane's raw text: its plain text would turn no-break spaces into
    // spaces.
    const QString text = documentView->RawText();
    TDocumentFormat written = DocumentFormat;
    std::string bytes;
    TUnheldCharacter unheld;
    if (!EncodeDocumentText(text, written, bytes, &unheld)) {
        // Only Windows-1252 lacks characters; UTF-8 holds them all.
        const QString character = QString::fromUcs4(&unheld.Character, 1);
        TDialogs::TBox box;
        const QString code = QStringLiteral("%1")
                                 .arg(static_cast<uint>(unheld.Character), 4, 16, QLatin1Char('0'))
                                 .toUpper();
        box.Text = QStringLiteral("The text has characters that Windows-1252 cannot hold, the "
                                  "first \"%1\" (U+%2) on line %3.\n\nSave the file as UTF-8 "
                                  "instead? Programs that read it as Windows-1252 would show its "
                                  "other accented letters and signs wrongly.")
                       .arg(character, code, QString::number(unheld.Line));
        box.Caption = QStringLiteral("Save");
        box.Icon = QMessageBox::Warning;
        box.Buttons = QMessageBox::Save | QMessageBox::Cancel;
        box.ButtonTexts = {{QMessageBox::Save, QStringLiteral("Save as UTF-8")},
                           {QMessageBox::Cancel, QStringLiteral("Keep Editing")}};
        if (TDialogs::Ask(this, box) != QMessageBox::Save)
            return false;
        written.Encoding = TTextEncoding::Utf8;
        EncodeDocumentText(text, written, bytes);
    }
    WriteDocumentFile(FileName, bytes);
    if (QFileInfo(FileName).absoluteFilePath() == Watcher1->FileName())
        Watcher1->Written();
    // A Windows-1252 document written as UTF-8 stays UTF-8.
    DocumentFormat = written;
    InputModified = false;
    // The pane's mark now says whether the text differs from the file: undo
    // back to the saved text clears it, and further back sets it again.
    cmInput->document()->setModified(false);
    return true;
}

void TfrMain::SaveAs1Click() {
    if (Damage1->IsDamaged()) {
        Damage1->DamagedSaveClick();
        return;
    }
    const qsizetype separator = std::max(DocumentFileName.lastIndexOf(QLatin1Char('/')),
                                         DocumentFileName.lastIndexOf(QDir::separator()));
    SaveDialog1->setDirectory(DocumentFileName.left(separator + 1));
    const QString fileName = TDialogs::ChooseFile(*SaveDialog1);
    // The names change only once the file is written.
    if (fileName.isEmpty() || !SaveDocument(fileName))
        return;
    // The text read from another format is now a plain text of its own.
    if (Damage1->IsConverted()) {
        Damage1->Set(TDocumentDamage::None);
        DocumentLines.clear();
        DocumentLastLines.clear();
        cmInput->setReadOnly(false);
        SetSaveEnabled(true);
        // Its edits have no markup whose claim links could be checked.
        Choice1->NewFile();
        ShowProblems(nullptr);
    }
    DocumentFileName = fileName;
    LoadedFileName = fileName;
    Watcher1->Watch(fileName);
    ShowTitle(QStringLiteral("Velkin - "), LoadedFileName);
    RecentFiles1->Opened(fileName, true);
}

void TfrMain::Exit1Click() {
    close();
}

void TfrMain::Example1Click() {
    ShowBuiltinExample(1);
}

void TfrMain::Example2Click() {
    ShowBuiltinExample(2);
}

void TfrMain::Example3Click() {
    ShowBuiltinExample(3);
}

void TfrMain::Example4Click() {
    ShowBuiltinExample(4);
}

void TfrMain::Example5Click() {
    ShowBuiltinExample(5);
}

void TfrMain::About1Click() {
    if (AboutBox != nullptr)
        AboutBox->exec();
}

void TfrMain::TabControl1Change() {
    const int tab = TabControl1->currentIndex();
    if (!ClaimDrawing || tab < 0)
        return;
    const TBusyCursor busy;
    // From scratch: whatever the user had opened or closed is gone.
    ClaimDrawing->BuildDrawing(sbClaimTree, imlCLTR, nullptr, tab - 1, true);
    ClaimDrawing->ExpandAll();
    ClearClaimsMenu();
    if (tab != 0) {
        mnuClaims->menuAction()->setVisible(false);
        return;
    }
    FillClaimsMenu();
}

void TfrMain::ClaimMenuItemClick(QObject* Sender) {
    const auto* item = qobject_cast<const QAction*>(Sender);
    if (item == nullptr || !ClaimTree)
        return;
    bool isNumber = false;
    const int claim = item->data().toInt(&isNumber);
    if (!isNumber)
        return;
    const TBusyCursor busy;
    RevealClaim(claim);
}

void TfrMain::btnExpandAllClick() {
    if (!ClaimDrawing)
        return;
    const TBusyCursor busy;
    ClaimDrawing->ExpandAll();
}

void TfrMain::btnCollapseAllClick() {
    if (!ClaimDrawing)
        return;
    const TBusyCursor busy;
    ClaimDrawing->CollapseAll();
}

void TfrMain::cmInputKeyPress(QKeyEvent* Key) {
    Q_UNUSED(Key);
    if (!cmInput->isReadOnly())
        InputModified = true;
}

void TfrMain::ReadAgain() {
    if (!ClaimTree || Readings1->ShowingExample())
        return;
    sbClaimTree->DestroyComponents();
    ClaimDrawing.reset();
    ClaimTree.reset();
    AnalyseInput();
}

// Drafting: the window's side of the drafting commands, the checks and
// damaged documents.

void TfrMain::CreateDraftingTools() {
    Drafting1 = new TDraftingTools(
        *mnuTools, [this] { AnalyseEditedText(); }, [this] { AnalyseTypedText(); },
        [this] { NewDraftClick(); });
    liveText = new TLiveText(*cmInput->document());
    Analyses1 = new TAnalysisRunner(
        [this](TAnalysis Analysis) { ShowTypedAnalysis(std::move(Analysis)); }, this);
    // The text an analysis under way reads is no longer the pane's.
    connect(cmInput->document(), &QTextDocument::contentsChange, Analyses1, &TAnalysisRunner::Drop);
    ClaimChecks1->AddItem(*mnuTools, Drafting1->NewDraft1);

    Damage1 = new TDamagedDocument(*Label3, *this, [this] { return DocumentFileName; });
    Watcher1 = new TDocumentWatcher(this);
    connect(Watcher1, &TDocumentWatcher::Changed, this,
            [this] { RunHandler([this] { FileChangedOnDisk(); }); });

    // Every change, whatever made it: keys, menus, drops, undo and redo.
    ConnectHandler(cmInput, &QPlainTextEdit::textChanged, &TfrMain::InputChanged);
}

void TfrMain::CreateProblemsPanel() {
    ClaimChecks1 = new TCheckDisplay(*shownTree, *splInput, *cmInput, *statusBar());
    // Known before the analysis of an opened file is shown, unlike DocumentFileName.
    ClaimChecks1->DocumentPath = [this] { return LoadedFileName; };
    ClaimChecks1->Links = &Choice1->Links;
    connect(ClaimChecks1->pnProblems, &TProblemsPanel::ProblemChosen, this,
            [this](int Claim, int Line) {
                RunHandler([this, Claim, Line] { ShowProblemClaim(Claim, Line); });
            });
}

void TfrMain::InputChanged() {
    // Putting a new text into the pane turns undo off meanwhile: no user edit.
    if (!cmInput->document()->isUndoRedoEnabled() || !cmInput->isEnabled() || cmInput->isReadOnly())
        return;
    InputModified = true;
    Drafting1->TextEdited();
}

void TfrMain::AnalyseAgainClick() {
    Drafting1->AnalyseAgainClick();
}

void TfrMain::AnalyseEditedText() {
    // Nothing to analyse before a document or an example is shown.
    if (!cmInput->isEnabled())
        return;
    AnalyseAgain();
}

TOpenDocument TfrMain::OpenDocumentNow() const {
    TOpenDocument open;
    open.FileName = DocumentFileName;
    open.Caption = DocumentFileName.isEmpty() ? QStringLiteral("Untitled")
                                              : QFileInfo(DocumentFileName).fileName();
    // A read-only pane may show a converted document or lines cut short:
    // only its analysed text is the document's.
    if (cmInput->isEnabled())
        open.Text = cmInput->isReadOnly()
                        ? InputText
                        : AnalysedDocumentText(documentView->RawText(), DocumentFormat);
    open.Edited = cmInput->document()->isModified();
    open.Index = Choice1->Index;
    open.Language = Choice1->Language;
    open.Reading = Readings1->ForDocument();
    return open;
}

void TfrMain::AnalyseAgain() {
    KeepingView([this] {
        InputText = AnalysedDocumentText(documentView->RawText(), DocumentFormat);
        // The old drawing refers to the old tree's nodes.
        sbClaimTree->DestroyComponents();
        AnalyseInput();
    });
}

void TfrMain::AnalyseTypedText() {
    if (!cmInput->isEnabled())
        return;
    // A read-only pane may show lines cut short: its own text is not the
    // document's.
    if (cmInput->document()->characterCount() <= LargeText || cmInput->isReadOnly()) {
        AnalyseAgain();
        return;
    }
    TAnalysisOrder order;
    order.Shown = liveText->Text();
    order.Format = DocumentFormat;
    order.Reading = Readings1->ForDocument();
    order.Notice = !Readings1->ShowingExample();
    order.Checks = true;
    Analyses1->Start(std::move(order));
}

void TfrMain::ShowTypedAnalysis(TAnalysis Analysis) {
    // Stale results never come here, but the pane may have been closed.
    if (!cmInput->isEnabled())
        return;
    KeepingView([this, &Analysis] {
        InputText = std::move(Analysis.Text);
        sbClaimTree->DestroyComponents();
        ClaimDrawing.reset();
        ClaimTree = std::move(Analysis.Tree);
        ShowAnalysis(Analysis.Other.get(), Analysis.Checked ? &Analysis.Checks : nullptr, {});
    });
}

void TfrMain::FileChangedOnDisk() {
    // Not in the middle of reading a PDF: once that is done.
    if (readingInBackground > 0) {
        QTimer::singleShot(250, this, [this] { RunHandler([this] { FileChangedOnDisk(); }); });
        return;
    }
    const QString fileName = DocumentFileName;
    if (fileName.isEmpty() || QFileInfo(fileName).absoluteFilePath() != Watcher1->FileName())
        return;
    if (InputModified && cmInput->document()->isModified() &&
        TDialogs::Message(this,
                          QStringLiteral("The file\n") + fileName +
                              QStringLiteral("\nchanged on disk. Read it again, losing the edits "
                                             "in the pane?"),
                          QStringLiteral("WARNING"), QMessageBox::Question,
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    // As Analyse again does: the tab and the place in the drawing stay.
    KeepingView([this] { ReadFileAgain(); });
}

void TfrMain::ReadFileAgain() {
    const QString fileName = DocumentFileName;
    if (fileName.isEmpty())
        return;
    Analyses1->Drop();
    sbClaimTree->DestroyComponents();
    ClaimDrawing.reset();
    ClaimTree.reset();
    // A file that cannot be read now keeps the text shown.
    if (!LoadInputFile(fileName))
        InputText = AnalysedDocumentText(documentView->RawText(), DocumentFormat);
    AnalyseInput([this] { InputModified = false; });
}

void TfrMain::KeepingView(const std::function<void()>& Analyse) {
    // What the user looks at: the tab of a root claim (its caption names the
    // claim) and the place in the drawing.
    const int tab = TabControl1->currentIndex();
    const QString tabRoot = tab > 0 ? TabControl1->tabText(tab) : QString();
    const TShownTree::TViewPlace place = shownTree->ViewPlace();

    Analyse();

    for (int k = 1; !tabRoot.isEmpty() && k < TabControl1->count(); ++k) {
        if (TabControl1->tabText(k) == tabRoot) {
            TabControl1->setCurrentIndex(k);
            break;
        }
    }
    shownTree->RestoreViewPlace(place);
}

void TfrMain::NewDraftClick() {
    if (!CheckUnsavedChanges())
        return;
    if (ClaimTree) {
        sbClaimTree->DestroyComponents();
        ClaimDrawing.reset();
        ClaimTree.reset();
    }
    InputText.clear();
    DocumentFileName.clear();
    Watcher1->Watch({});
    Choice1->NewFile();
    LoadedFileName.clear();
    DocumentFormat = TDocumentFormat();
    DocumentLines.clear();
    DocumentLastLines.clear();
    Damage1->Set(TDocumentDamage::None);
    Readings1->NewDocument(false);
    cmInput->setEnabled(true);
    cmInput->setReadOnly(false);
    cmInput->setPlainText(QString());
    ShowTitle(QStringLiteral("Velkin - "), QStringLiteral("Untitled"));
    SetSaveEnabled(true);
    SetTreePaneWidth((ClientWidth() / 3) * 2);
    AnalyseInput([this] { InputModified = false; });
    cmInput->setFocus();
}

void TfrMain::ShowProblems(const TClaimChecks* Known) {
    // The built-in examples show their problems as any text does.
    ClaimChecks1->Show(Known, ClaimTree.get());
}

void TfrMain::ShowProblemClaim(int Claim, int Line) {
    // A problem without a line takes that of the claim.
    for (std::size_t i = 0; Line <= 0 && ClaimTree && i < ClaimTree->Claims.size(); ++i) {
        if (ClaimTree->Claims[i].Number == Claim)
            Line = ClaimTree->Claims[i].Line;
    }
    if (Line > 0) {
        const QTextBlock block = cmInput->document()->findBlockByNumber(Line - 1);
        if (block.isValid()) {
            QTextCursor cursor(block);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            cmInput->setTextCursor(cursor);
            cmInput->centerCursor();
        }
    }
    if (TabControl1->currentIndex() > 0)
        TabControl1->setCurrentIndex(0);
    // The user's other open branches stay open: only the way to the box opens.
    if (const TClaimTreeNode* shown = RevealBox(Claim, true))
        FlashBox(*shown);
}

bool TfrMain::RevealClaim(int Claim) {
    return RevealBox(Claim, false) != nullptr;
}

TClaimTreeNode* TfrMain::RevealBox(int Claim, bool KeepOthers) {
    if (!ClaimTree || !ClaimDrawing || !InClaimTable(Claim))
        return nullptr;
    // Reveal may add nodes to the list: walk it by index.
    const std::vector<TClaimTreeNode*>& nodes =
        ClaimTree->NodesByClaim[static_cast<std::size_t>(Claim)];
    TClaimTreeNode* revealed = nullptr;
    // A box already on screen needs nothing opened.
    for (std::size_t i = 0; KeepOthers && revealed == nullptr && i < nodes.size(); ++i) {
        if (InOpenBranch(*ClaimDrawing, *nodes[i]))
            revealed = nodes[i];
    }
    for (std::size_t i = 0; revealed == nullptr && i < nodes.size(); ++i)
        revealed = ClaimDrawing->Reveal(*nodes[i], KeepOthers);
    if (revealed == nullptr)
        return nullptr;
    ClaimDrawing->Relayout();
    ScrollBoxInView(*ClaimDrawing, *revealed);
    return revealed;
}

void TfrMain::FlashBox(const TClaimTreeNode& Node) {
    delete boxFlash.data();
    if (!ClaimDrawing || !ClaimDrawing->IsShown(Node))
        return;
    const QRect caption = ClaimDrawing->Geometry(Node, ClaimDrawing->View(Node).RowTop).Caption;
    boxFlash = new TBoxFlash(sbClaimTree->Content(), caption);
}
