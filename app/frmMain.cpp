#include "frmMain.h"

#include "AboutBox.h"
#include "AnchorLayout.h"
#include "BuiltinExamples.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "Fonts.h"
#include "ProgramIcon.h"
#include "VelkinApplication.h"
#include "WelcomePage.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTabBar>
#include <algorithm>

TfrMain* frMain = nullptr;

namespace {

constexpr Qt::Edges LeftTop = Qt::LeftEdge | Qt::TopEdge;
constexpr Qt::Edges LeftTopRight = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge;
constexpr Qt::Edges AllSides = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge;

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

} // namespace

bool TypesCharacter(const QKeyEvent& Key) {
    return !Key.text().isEmpty() && Key.key() != Qt::Key_Delete;
}

TfrMain::TfrMain(QWidget* Parent) : QMainWindow(Parent) {
    setObjectName(QStringLiteral("frMain"));
    setWindowTitle(QStringLiteral("Veltrum"));
    setWindowIcon(ProgramIcon());
    setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 8));
    CreatePanes();
    CreateMenu();
    CreateFileDialogs();

    ProgramDir = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!ProgramDir.isEmpty() && !ProgramDir.endsWith(QDir::separator()))
        ProgramDir += QDir::separator();
    QDir::setCurrent(ProgramDir);
    DocumentFileName.clear();
    InputModified = false;
    cmInput->setEnabled(false);
    cmInput->setReadOnly(false);

    resize(DesignClientWidth, DesignClientHeight + MainMenu1->sizeHint().height());
    if (const QScreen* desktop = QGuiApplication::primaryScreen())
        move(desktop->availableGeometry().center() - rect().center());
}

TfrMain::~TfrMain() {
    // The drawn controls refer to the tree's nodes, so they go first.
    sbClaimTree->DestroyComponents();
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

    gbClaims = NewPaneBox(Splitter2, "gbClaims");
    auto* claims = new TAnchorLayout(
        gbClaims, QSize(DesignClientWidth - DesignTreeWidth - 6, DesignClientHeight));
    Label3 = NewPaneCaption(gbClaims, "Label3", QStringLiteral("Input text"));
    claims->Place(Label3, QRect(2, 11, 349, 16), LeftTopRight);
    cmInput = new QPlainTextEdit(gbClaims);
    cmInput->setObjectName(QStringLiteral("cmInput"));
    cmInput->setFont(LayoutFont(QStringLiteral("Arial"), 10));
    cmInput->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    cmInput->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    cmInput->setTabChangesFocus(false);
    cmInput->installEventFilter(this);
    claims->Place(cmInput, QRect(2, 32, 349, 400), AllSides);

    Splitter2->addWidget(gbTree);
    Splitter2->addWidget(gbClaims);
    // Growing the window widens the input pane only.
    Splitter2->setStretchFactor(0, 0);
    Splitter2->setStretchFactor(1, 1);
    SetTreePaneWidth(DesignTreeWidth);

    connect(Splitter2, &QSplitter::splitterMoved, this,
            [this] { treePaneWidth = gbTree->width(); });
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

    // Open, Save and Save As are not shown: they belong to the File menu but
    // are left out of its list, and are the window's actions instead, so that
    // their keys work. Qt disables a hidden action, key and all.
    Open1 = addItem(File1, "Open1", QStringLiteral("&Open..."), &TfrMain::Open1Click);
    Open1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Save1 = addItem(File1, "Save1", QStringLiteral("&Save"), &TfrMain::Save1Click);
    Save1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Save1->setEnabled(false);
    SaveAs1 = addItem(File1, "SaveAs1", QStringLiteral("Save &As..."), &TfrMain::SaveAs1Click);
    SaveAs1->setEnabled(false);
    for (QAction* item : {Open1, Save1, SaveAs1}) {
        File1->removeAction(item);
        addAction(item);
    }

    N1 = File1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    Exit1 = addItem(File1, "Exit1", QStringLiteral("E&xit"), &TfrMain::Exit1Click);

    mnuClaims = MainMenu1->addMenu(QStringLiteral("&Claims"));
    mnuClaims->setObjectName(QStringLiteral("mnuClaims"));

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
    OpenDialog->setNameFilters(filters);

    SaveDialog1 = new QFileDialog(this);
    SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
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
    treePaneWidth = Width;
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
    if (client < TreePaneWidth())
        SetTreePaneWidth((client / 3) * 2);
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
    ClaimTree.reset();
    return true;
}

bool TfrMain::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == cmInput && Event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(Event);
        if (TypesCharacter(*key))
            RunHandler([this, key] { cmInputKeyPress(key); });
    }
    return QMainWindow::eventFilter(Watched, Event);
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
    // TODO(documents): ask the unsaved-changes question.
    return true;
}

void TfrMain::LoadInputFile(const QString& FileName) {
    // TODO(documents): read the file into InputText and the input pane.
    Q_UNUSED(FileName);
}

void TfrMain::AnalyseInput() {
    // TODO(analysis): new tree, tabs, drawing, counts, Claims menu.
}

void TfrMain::ShowBuiltinExample(int Number) {
    // TODO(examples): install the example's text, then ExampleClick().
    Q_UNUSED(Number);
}

void TfrMain::ExampleClick() {
    // TODO(examples): the analysis sequence with the settings for examples.
}

void TfrMain::FillClaimTabs() {
    // TODO(tabs): refill TabControl1 with its signals blocked, so that
    // selecting tab 0 does not run TabControl1Change.
}

void TfrMain::ShowClaimCounts() {
    // TODO(tabs): the counts of ClaimTree into Label4.
}

void TfrMain::ClearClaimsMenu() {
    // TODO(tabs): remove and destroy every item of mnuClaims.
}

void TfrMain::FillClaimsMenu() {
    // TODO(tabs): show mnuClaims and add one item per claim with a node.
}

void TfrMain::New1Click() {
    // TODO(documents): back to the start state with the welcome page.
}

void TfrMain::Open1Click() {
    // TODO(documents): choose a file through TDialogs::ChooseFile(*OpenDialog).
}

void TfrMain::Save1Click() {
    // TODO(documents): write the input pane to DocumentFileName.
}

void TfrMain::SaveAs1Click() {
    // TODO(documents): choose a name through TDialogs::ChooseFile(*SaveDialog1).
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
    // TODO(tabs): draw the chosen root's tree, show or hide the Claims menu.
}

void TfrMain::ClaimMenuItemClick() {
    // TODO(tabs): reveal the claim of the chosen item and scroll it into view.
}

void TfrMain::btnExpandAllClick() {
    // TODO(analysis): ClaimTree->ExpandAll(sbClaimTree) once the drawing is in.
}

void TfrMain::btnCollapseAllClick() {
    // TODO(analysis): ClaimTree->CollapseAll(sbClaimTree) once the drawing is in.
}

void TfrMain::cmInputKeyPress(QKeyEvent* Key) {
    // TODO(input pane): mark the document modified while the pane is editable.
    Q_UNUSED(Key);
}
