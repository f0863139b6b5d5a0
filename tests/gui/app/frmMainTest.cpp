#include "frmMain.h"

#include "AboutBox.h"
#include "AppTestMain.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "Dialogs.h"
#include "Fonts.h"
#include "WelcomePage.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSplitter>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

class TestfrMain : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TfrMain> window;

    // Shows the window without letting its first activation run, so that the
    // layout stays as constructed.
    void ShowUnactivated() {
        window->WasActivated = true;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void ShowActive() {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    // Where a control stands in its pane's box, whatever holds it within.
    QRect PlaceOf(const QString& Name) const {
        const QWidget* control = window->findChild<QWidget*>(Name);
        if (control == window->gbTree || control == window->gbClaims)
            return control->geometry();
        const QWidget* box = control->parentWidget();
        while (box != window->gbTree && box != window->gbClaims)
            box = box->parentWidget();
        return {control->mapTo(box, QPoint()), control->size()};
    }

    QList<QLabel*> PageItems() const {
        return window->sbClaimTree->Content()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    }

    // Shown in a menu: visible and listed by a menu or the menu bar.
    static bool Shown(const QAction* Item) {
        if (!Item->isVisible())
            return false;
        for (const QObject* owner : Item->associatedObjects())
            if (qobject_cast<const QMenu*>(owner) || qobject_cast<const QMenuBar*>(owner))
                return true;
        return false;
    }

    QAction* MenuItem(const QString& Name) const {
        if (auto* item = window->findChild<QAction*>(Name))
            return item;
        if (auto* menu = window->findChild<QMenu*>(Name))
            return menu->menuAction();
        return nullptr;
    }

private slots:
    void init() {
        TDialogs::Reset();
        window = std::make_unique<TfrMain>();
        frMain = window.get();
    }

    void cleanup() {
        window.reset();
        TDialogs::Reset();
    }

    void constructionState() {
        QCOMPARE(window->windowTitle(), QStringLiteral("Veltrum"));
        QVERIFY(!window->WasActivated);
        QVERIFY(window->InputText.empty());
        QVERIFY(window->LoadedFileName.isEmpty());
        QVERIFY(window->DocumentFileName.isEmpty());
        QVERIFY(!window->InputModified);
        QVERIFY(window->ClaimTree == nullptr);
        QVERIFY(window->imlCLTR != nullptr);

        const QString programDir = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
        QCOMPARE(window->ProgramDir, programDir + QDir::separator());
        QCOMPARE(QDir::current(), QDir(QCoreApplication::applicationDirPath()));

        QVERIFY(!window->cmInput->isEnabled());
        QVERIFY(!window->cmInput->isReadOnly());
        QVERIFY(window->cmInput->toPlainText().isEmpty());
        QCOMPARE(window->TabControl1->count(), 0);
        QCOMPARE(window->Label4->text(),
                 QStringLiteral("Tree of claims: independent 0; dependent 0; total 0"));
        QCOMPARE(window->Label3->text(), QStringLiteral("Input text"));
        QCOMPARE(window->btnExpandAll->text(), QStringLiteral("+"));
        QCOMPARE(window->btnExpandAll->toolTip(), QStringLiteral("Expand all"));
        QCOMPARE(window->btnCollapseAll->text(), QStringLiteral("-"));
        QCOMPARE(window->btnCollapseAll->toolTip(), QStringLiteral("Collapse all"));
        QVERIFY(window->gbTree->title().isEmpty());
        QVERIFY(window->gbClaims->title().isEmpty());
        QCOMPARE(window->Splitter2->handleWidth(), 6);
        QVERIFY(window->Splitter2->opaqueResize());
        QCOMPARE(window->gbTree->minimumWidth(), 2);
        QCOMPARE(window->gbClaims->minimumWidth(), 2);
        QVERIFY(PageItems().isEmpty());
    }

    void fonts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QColor>("color");
        const QColor text = QApplication::palette().color(QPalette::WindowText);
        QTest::newRow("window") << "frMain"
                                << "Liberation Sans" << 11 << false << text;
        QTest::newRow("+") << "btnExpandAll"
                           << "Liberation Sans" << 16 << true << QColor(Qt::blue);
        QTest::newRow("-") << "btnCollapseAll"
                           << "Liberation Sans" << 16 << true << QColor(Qt::blue);
        QTest::newRow("counts") << "Label4"
                                << "Liberation Sans" << 11 << false << QColor(Qt::blue);
        QTest::newRow("input caption") << "Label3"
                                       << "Liberation Sans" << 11 << false << QColor(Qt::blue);
        QTest::newRow("input") << "cmInput"
                               << "Liberation Sans" << 13 << false << QColor();
    }

    void fonts() {
        QFETCH(QString, name);
        QFETCH(QString, family);
        QFETCH(int, pixels);
        QFETCH(bool, bold);
        QFETCH(QColor, color);
        auto* control = name == "frMain" ? window.get() : window->findChild<QWidget*>(name);
        QVERIFY(control != nullptr);
        QCOMPARE(control->font().family(), family);
        QCOMPARE(QFontInfo(control->font()).family(), family); // installed, not substituted
        QCOMPARE(control->font().pixelSize(), pixels);
        QCOMPARE(control->font().bold(), bold);
        if (color.isValid()) {
            const auto role =
                qobject_cast<QPushButton*>(control) ? QPalette::ButtonText : QPalette::WindowText;
            QCOMPARE(control->palette().color(role), color);
        }
    }

    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("bounds");
        QTest::newRow("tree pane box") << "gbTree" << QRect(0, 0, 329, 434);
        QTest::newRow("input pane box") << "gbClaims" << QRect(335, 0, 353, 434);
        QTest::newRow("+") << "btnExpandAll" << QRect(2, 8, 25, 25);
        QTest::newRow("-") << "btnCollapseAll" << QRect(26, 8, 25, 25);
        QTest::newRow("counts") << "Label4" << QRect(48, 11, 277, 16);
        QTest::newRow("tabs") << "TabControl1" << QRect(0, 32, 325, 25);
        QTest::newRow("tree pane") << "sbClaimTree" << QRect(2, 56, 323, 376);
        QTest::newRow("input caption") << "Label3" << QRect(2, 11, 349, 16);
        QTest::newRow("input pane") << "cmInput" << QRect(2, 32, 349, 400);
    }

    void layout() {
        QFETCH(QString, name);
        QFETCH(QRect, bounds);
        ShowUnactivated();
        QCOMPARE(window->centralWidget()->size(), QSize(688, 434));
        QCOMPARE(PlaceOf(name), bounds);
        QCOMPARE(window->Splitter2->handle(1)->geometry(), QRect(329, 0, 6, 434));
    }

    // Anchored controls follow the panes' edges when the window grows.
    void anchors_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("bounds");
        // Window client 888 by 534: the tree pane box keeps 329, the input
        // pane box grows by 200, both grow in height by 100.
        QTest::newRow("+ stays") << "btnExpandAll" << QRect(2, 8, 25, 25);
        QTest::newRow("counts stay") << "Label4" << QRect(48, 11, 277, 16);
        QTest::newRow("tree pane grows down") << "sbClaimTree" << QRect(2, 56, 323, 476);
        QTest::newRow("input caption widens") << "Label3" << QRect(2, 11, 549, 16);
        QTest::newRow("input pane grows") << "cmInput" << QRect(2, 32, 549, 500);
        QTest::newRow("input pane box") << "gbClaims" << QRect(335, 0, 553, 534);
    }

    void anchors() {
        QFETCH(QString, name);
        QFETCH(QRect, bounds);
        ShowUnactivated();
        const int menu = window->height() - window->centralWidget()->height();
        window->resize(888, 534 + menu);
        QCOMPARE(PlaceOf(name), bounds);
    }

    void menu_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("enabled");
        const QKeySequence none;
        QTest::newRow("File") << "File1"
                              << "&File" << none << true << true;
        QTest::newRow("New") << "New1"
                             << "&New" << QKeySequence("Ctrl+N") << true << true;
        QTest::newRow("Examples") << "Example"
                                  << "Examples" << none << true << true;
        for (int n = 1; n <= 5; ++n)
            QTest::addRow("Example %d", n)
                << QStringLiteral("Example%1").arg(n) << QStringLiteral("Example &%1").arg(n)
                << none << true << true;
        QTest::newRow("Open") << "Open1"
                              << "&Open..." << QKeySequence("Ctrl+O") << true << true;
        QTest::newRow("Save") << "Save1"
                              << "&Save" << QKeySequence("Ctrl+S") << true << false;
        QTest::newRow("Save As") << "SaveAs1"
                                 << "Save &As..." << none << true << false;
        QTest::newRow("separator") << "N1"
                                   << "" << none << true << true;
        QTest::newRow("Exit") << "Exit1"
                              << "E&xit" << none << true << true;
        QTest::newRow("Claims") << "mnuClaims"
                                << "&Claims" << none << true << true;
        QTest::newRow("Help") << "Help1"
                              << "&Help" << none << true << true;
        QTest::newRow("About") << "About1"
                               << "&About..." << none << true << true;
    }

    void menu() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QKeySequence, shortcut);
        QFETCH(bool, shown);
        QFETCH(bool, enabled);
        QAction* item = MenuItem(name);
        QVERIFY(item != nullptr);
        QCOMPARE(item->text(), caption);
        QCOMPARE(item->shortcut(), shortcut);
        QCOMPARE(Shown(item), shown);
        QCOMPARE(item->isEnabled(), enabled);
    }

    void menuOrder() {
        const auto names = [](const QList<QAction*>& Items) {
            QStringList result;
            for (const QAction* item : Items)
                result << (item->menu() ? item->menu()->objectName() : item->objectName());
            return result;
        };
        QCOMPARE(window->menuBar(), window->MainMenu1);
        QCOMPARE(window->MainMenu1->objectName(), QStringLiteral("MainMenu1"));
        QCOMPARE(names(window->MainMenu1->actions()),
                 QStringList({"File1", "mnuClaims", "mnuTools", "Help1"}));
        QCOMPARE(names(window->File1->actions()),
                 QStringList({"New1", "Open1", "mnuRecentFiles", "Save1", "SaveAs1", "N2",
                              "Example", "mnuDocuments", "N1", "Exit1"}));
        QVERIFY(window->N1->isSeparator());
        QCOMPARE(names(window->Example->actions()),
                 QStringList({"Example1", "Example2", "Example3", "Example4", "Example5"}));
        QVERIFY(window->mnuClaims->actions().isEmpty());
        QCOMPARE(names(window->Help1->actions()), QStringList({"About1"}));
    }

    void hiddenItemKeys_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("itemEnabled");
        QTest::addColumn<int>("triggered");
        QTest::newRow("Ctrl+O opens") << "Open1" << int(Qt::Key_O) << true << 1;
        QTest::newRow("Ctrl+O, Open disabled") << "Open1" << int(Qt::Key_O) << false << 0;
        QTest::newRow("Ctrl+S, Save disabled") << "Save1" << int(Qt::Key_S) << false << 0;
        QTest::newRow("Ctrl+S once Save enabled") << "Save1" << int(Qt::Key_S) << true << 1;
        QTest::newRow("Ctrl+N, shown item") << "New1" << int(Qt::Key_N) << true << 1;
        QTest::newRow("Ctrl+N, New disabled") << "New1" << int(Qt::Key_N) << false << 0;
    }

    void hiddenItemKeys() {
        QFETCH(QString, name);
        QFETCH(int, key);
        QFETCH(bool, itemEnabled);
        QFETCH(int, triggered);
        ShowActive();
        QAction* item = MenuItem(name);
        item->setEnabled(itemEnabled);
        // Whatever the handlers do, nothing may block: answer their dialogs.
        QTemporaryDir scratch;
        window->DocumentFileName = scratch.filePath(QStringLiteral("saved.txt"));
        TDialogs::SetNextFileName(QString());
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        QSignalSpy spy(item, &QAction::triggered);
        QTest::keyClick(window.get(), Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(spy.count(), triggered);
    }

    void fileDialogs() {
        const QStringList filters = {QStringLiteral("Text files (*.txt)"),
                                     QStringLiteral("All files (*)")};
        QCOMPARE(window->OpenDialog->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(window->OpenDialog->fileMode(), QFileDialog::AnyFile); // need not exist
        QVERIFY(window->OpenDialog->defaultSuffix().isEmpty());
        // Open offers every format it reads, all at once first.
        QCOMPARE(window->OpenDialog->nameFilters().first(),
                 QStringLiteral("Patent documents (*.txt *.docx *.odt *.xml *.html *.htm *.pdf)"));
        QCOMPARE(window->OpenDialog->nameFilters().mid(1, 1), filters.mid(0, 1));
        QCOMPARE(window->OpenDialog->nameFilters().last(), filters.last());
        // Only a name in an existing folder is taken.
        QVERIFY(qobject_cast<TSaveFileDialog*>(window->SaveDialog1) != nullptr);
        QCOMPARE(window->SaveDialog1->acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(!window->SaveDialog1->testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(window->SaveDialog1->defaultSuffix(), QStringLiteral("txt"));
        QCOMPARE(window->SaveDialog1->nameFilters(), filters);
    }

    void firstActivation() {
        ShowUnactivated();
        window->WasActivated = false;
        window->FormActivate();
        QVERIFY(window->WasActivated);
        QVERIFY(window->windowState() & Qt::WindowMaximized);
        const QRect screen = window->screen()->availableGeometry();
        QCOMPARE(window->OuterWidth(), screen.width());
        const int expected = (window->OuterWidth() * 2) / 3;
        QCOMPARE(window->TreePaneWidth(), expected);
        QCOMPARE(window->gbTree->width(), expected);
        QCOMPARE(PageItems().size(), WelcomeLineCount + 2);

        // Later activations change nothing: no second layout, the same page.
        const QList<QLabel*> items = PageItems();
        const QList<QPointer<QLabel>> page(items.cbegin(), items.cend());
        window->SetTreePaneWidth(300);
        window->FormActivate();
        QCOMPARE(window->TreePaneWidth(), 300);
        QCOMPARE(PageItems().size(), WelcomeLineCount + 2);
        for (const QPointer<QLabel>& item : page)
            QVERIFY(!item.isNull());
    }

    void activationRunsFormActivate() {
        ShowActive();
        QVERIFY(window->WasActivated);
        QCOMPARE(PageItems().size(), WelcomeLineCount + 2);
    }

    void resizeRule_data() {
        QTest::addColumn<int>("treeWidth");
        QTest::addColumn<int>("clientWidth");
        QTest::addColumn<int>("expected");
        QTest::newRow("shrink below: (500 / 3) * 2") << 600 << 500 << 332;
        QTest::newRow("one below: divide first") << 600 << 599 << 398;
        QTest::newRow("equal: unchanged") << 600 << 600 << 600;
        QTest::newRow("one above: unchanged") << 600 << 601 << 600;
        QTest::newRow("grow: unchanged") << 600 << 1200 << 600;
        QTest::newRow("very small") << 600 << 175 << 116;
    }

    void resizeRule() {
        QFETCH(int, treeWidth);
        QFETCH(int, clientWidth);
        QFETCH(int, expected);
        ShowUnactivated();
        window->resize(1000, window->height());
        window->SetTreePaneWidth(treeWidth);
        QCOMPARE(window->gbTree->width(), treeWidth);
        window->resize(clientWidth, window->height());
        QCOMPARE(window->ClientWidth(), clientWidth);
        QCOMPARE(window->TreePaneWidth(), expected);
        // Where the input pane still fits, the tree pane shows that width.
        if (clientWidth >= expected + 6 + 2)
            QCOMPARE(window->gbTree->width(), expected);
        // Wide again, the tree pane has the width it had before.
        window->resize(1000, window->height());
        QCOMPARE(window->TreePaneWidth(), treeWidth);
        QCOMPARE(window->gbTree->width(), treeWidth);
    }

    void splitterDragSetsTreeWidth() {
        ShowUnactivated();
        window->resize(1000, window->height());
        const int handleX = window->Splitter2->handle(1)->width() / 2;
        QTest::mousePress(window->Splitter2->handle(1), Qt::LeftButton, {}, QPoint(handleX, 100));
        QTest::mouseMove(window->Splitter2->handle(1), QPoint(handleX + 120, 100));
        QTest::mouseRelease(window->Splitter2->handle(1), Qt::LeftButton, {},
                            QPoint(handleX + 120, 100));
        QCOMPARE(window->gbTree->width(), 329 + 120);
        QCOMPARE(window->TreePaneWidth(), 329 + 120);
        // The dragged width survives the window growing.
        window->resize(1100, window->height());
        QCOMPARE(window->gbTree->width(), 329 + 120);
    }

    void welcomePageFormulas_data() {
        QTest::addColumn<int>("lineHeight");
        QTest::addColumn<int>("noteHeight");
        QTest::addColumn<int>("clientHeight");
        QTest::addColumn<int>("firstLineTop");
        QTest::addColumn<int>("pictureTop");
        QTest::addColumn<int>("noteTop");
        QTest::newRow("worked example, pitch 23") << 18 << 14 << 400 << 131 << 76 << 276;
        QTest::newRow("odd client height") << 18 << 14 << 401 << 131 << 76 << 276;
        QTest::newRow("even pitch 24") << 19 << 15 << 400 << 128 << 72 << 280;
        QTest::newRow("small pane: negative tops") << 18 << 14 << 100 << -19 << -74 << 126;
        QTest::newRow("no height at all") << 18 << 14 << 0 << -69 << -124 << 76;
    }

    void welcomePageFormulas() {
        QFETCH(int, lineHeight);
        QFETCH(int, noteHeight);
        QFETCH(int, clientHeight);
        QFETCH(int, firstLineTop);
        QFETCH(int, pictureTop);
        QFETCH(int, noteTop);
        const TWelcomePageLayout page =
            WelcomePageLayout(lineHeight, noteHeight, 32, 300, clientHeight);
        for (int i = 0; i < WelcomeLineCount; ++i)
            QCOMPARE(page.Lines[i], QRect(2, firstLineTop + i * (lineHeight + 5), 296, lineHeight));
        QCOMPARE(page.Picture, QRect(0, pictureTop, 300, 32));
        QCOMPARE(page.Note, QRect(2, noteTop, 296, noteHeight));
    }

    void welcomePageInPane() {
        ShowUnactivated();
        window->ShowWelcomePage();
        const QList<QLabel*> items = PageItems();
        QCOMPARE(items.size(), WelcomeLineCount + 2);

        const QFont lineFont = LayoutFont(QStringLiteral("Times"), 12, true);
        const QFont noteFont = LayoutFont(QStringLiteral("Times"), 9, true);
        QCOMPARE(QFontInfo(lineFont).family(), QStringLiteral("Liberation Serif"));
        // Heights as a label of that font sizes itself.
        const auto height = [](const QFont& Font) {
            QLabel probe(QStringLiteral("VELTRUM"));
            probe.setFont(Font);
            probe.adjustSize();
            return probe.height();
        };
        const int H = height(lineFont);
        const int h = height(noteFont);
        QVERIFY(H >= QFontMetrics(lineFont).height());
        const TWelcomePageLayout expected = WelcomePageLayout(
            H, h, 32, window->sbClaimTree->ClientWidth(), window->sbClaimTree->ClientHeight());

        for (int i = 0; i < WelcomeLineCount; ++i) {
            const QLabel* line = items[i];
            QCOMPARE(line->text(), WelcomeLines()[i]);
            QCOMPARE(line->font().pixelSize(), 16);
            QVERIFY(line->font().bold());
            QCOMPARE(line->font().family(), QStringLiteral("Liberation Serif"));
            QCOMPARE(line->palette().color(QPalette::WindowText), QColor(Qt::black));
            QVERIFY(line->alignment() & Qt::AlignHCenter);
            QVERIFY(!line->wordWrap());
            QCOMPARE(line->geometry(), expected.Lines[i]);
        }
        const QLabel* picture = items[WelcomeLineCount];
        QCOMPARE(picture->pixmap().size(), QSize(32, 32));
        QVERIFY(picture->alignment() & Qt::AlignHCenter);
        QCOMPARE(picture->geometry(), expected.Picture);
        const QLabel* note = items[WelcomeLineCount + 1];
        QCOMPARE(note->text(), QStringLiteral("The example text is not editable."));
        QCOMPARE(note->font().pixelSize(), 12);
        QVERIFY(note->font().bold());
        QCOMPARE(note->geometry(), expected.Note);
    }

    void welcomePageOnlyOnce() {
        ShowUnactivated();
        window->ShowWelcomePage();
        window->ShowWelcomePage();
        QCOMPARE(PageItems().size(), WelcomeLineCount + 2);
    }

    // Widening the tree pane keeps the page centred; its tops stay.
    void welcomePageFollowsPaneWidth() {
        ShowUnactivated();
        window->resize(1000, window->height());
        window->ShowWelcomePage();
        QList<int> tops;
        for (const QLabel* item : PageItems())
            tops << item->y();
        window->SetTreePaneWidth(600);
        const int clientWidth = window->sbClaimTree->ClientWidth();
        QCOMPARE(window->sbClaimTree->width(), 600 - 6);
        const QList<QLabel*> items = PageItems();
        for (int i = 0; i < items.size(); ++i) {
            const bool picture = i == WelcomeLineCount;
            QCOMPARE(items[i]->width(), picture ? clientWidth : clientWidth - 4);
            QCOMPARE(items[i]->y(), tops[i]);
        }
    }

    void aboutItemShowsDialogModally() {
        TAboutBox box;
        AboutBox = &box;
        int reads = 0;
        box.MemoryStatusSource = [&reads] {
            ++reads;
            return TMemoryStatus{};
        };
        bool wasModal = false;
        QTimer::singleShot(0, &box, [&] {
            wasModal = box.isVisible() && box.isModal();
            box.OKButton->click();
        });
        window->About1->trigger();
        AboutBox = nullptr;
        QVERIFY(wasModal);
        QVERIFY(!box.isVisible());
        QCOMPARE(reads, 1);
    }

    void exitClosesWindow() {
        ShowUnactivated();
        window->Exit1->trigger();
        QVERIFY(!window->isVisible());
    }

    void typesCharacter_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("types");
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << "a" << true;
        QTest::newRow("space") << int(Qt::Key_Space) << 0 << " " << true;
        QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << "\r" << true;
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << "\b" << true;
        QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << "\t" << true;
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << "\x16" << true;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << "\x7f" << false;
        QTest::newRow("arrow") << int(Qt::Key_Left) << 0 << "" << false;
        QTest::newRow("Page Down") << int(Qt::Key_PageDown) << 0 << "" << false;
        QTest::newRow("Shift+Insert")
            << int(Qt::Key_Insert) << int(Qt::ShiftModifier) << "" << false;
    }

    void typesCharacter() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(bool, types);
        const QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QCOMPARE(TypesCharacter(press), types);
    }

    void tabKeyTypesTab() {
        ShowActive();
        window->cmInput->setEnabled(true);
        window->cmInput->setFocus();
        QTest::keyClick(window->cmInput, Qt::Key_Tab);
        QCOMPARE(window->cmInput->toPlainText(), QStringLiteral("\t"));
        QCOMPARE(QApplication::focusWidget(), window->cmInput);
    }
};

VELTRUM_APP_TEST_MAIN(TestfrMain)
#include "frmMainTest.moc"
