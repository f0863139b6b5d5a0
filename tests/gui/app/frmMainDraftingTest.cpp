// Drafting in the main window: analysing the edited text, new drafts and the
// problems panel, driven through the window's commands with real files.

#include "AppTestMain.h"
#include "CheckDisplay.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "Dialogs.h"
#include "DraftingTools.h"
#include "ProblemsPanel.h"
#include "ProgramSettings.h"
#include "TreeDrawing.h"
#include "frmMain.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>
#include <memory>
#include <string>

namespace {

const QString AsYouTypeKey = QStringLiteral("Drafting/AnalyseAsYouType");

// Claim 1 with Count - 1 dependants: a tree taller than the pane.
QString TallClaims(int Count) {
    QString text = QStringLiteral("Pump\n\nWhat is claimed is:\n1. A pump.\n");
    for (int claim = 2; claim <= Count; ++claim)
        text += QStringLiteral("%1. The pump of claim 1, with part %1.\n").arg(claim);
    return text;
}

} // namespace

class TestfrMainDrafting : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TfrMain> window;
    std::unique_ptr<QTemporaryDir> dir;

    QString OpenNew(const QString& Name, const QString& Text) {
        const QString name = dir->filePath(Name);
        QFile file(name);
        if (file.open(QIODevice::WriteOnly))
            file.write(Text.toUtf8());
        file.close();
        TDialogs::SetNextFileName(name);
        window->Open1Click();
        return name;
    }

    // Replaces the pane's text as the user would, with undo.
    void EditPane(const QString& Text) {
        QTextCursor cursor(window->cmInput->document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(Text);
    }

    QStringList Tabs() const {
        QStringList tabs;
        for (int i = 0; i < window->TabControl1->count(); ++i)
            tabs << window->TabControl1->tabText(i);
        return tabs;
    }

    TClaimTreeNode& Node(int Claim) const {
        return *window->ClaimTree->NodesByClaim[static_cast<std::size_t>(Claim)].at(0);
    }
    TNodeView& View(int Claim) const { return window->ClaimDrawing->View(Node(Claim)); }

    int ScrollTop() const { return window->sbClaimTree->verticalScrollBar()->value(); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        TDialogs::Reset();
        ProgramSettings().remove(AsYouTypeKey);
        ProgramSettings().remove(QStringLiteral("Drafting/CheckClaims"));
        dir = std::make_unique<QTemporaryDir>();
        window = std::make_unique<TfrMain>();
        frMain = window.get();
        window->WasActivated = true;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup() {
        window.reset();
        dir.reset();
        TDialogs::Reset();
        ProgramSettings().remove(AsYouTypeKey);
    }

    // The pane's text is analysed; the file, the marks and the chosen tab's
    // claim stay.
    void analyseAgainReadsThePane() {
        const QString name =
            OpenNew(QStringLiteral("pump.txt"),
                    QStringLiteral("What is claimed is:\n1. A pump.\n2. The pump of claim 1.\n"
                                   "3. A valve.\n"));
        window->TabControl1->setCurrentIndex(2);
        QCOMPARE(window->ClaimDrawing->ShownRoot(), 1);

        // A new independent claim moves claim 3's tab one to the right.
        EditPane(QStringLiteral("What is claimed is:\n1. A pump.\n2. A hose.\n3. A valve.\n"
                                "4. The valve of claim 3.\n"));
        window->Drafting1->AnalyseAgain1->trigger();
        QCOMPARE(Tabs(), QStringList({"All claims", "Claim 1", "Claim 2", "Claim 3"}));
        QCOMPARE(window->TabControl1->currentIndex(), 3);
        QCOMPARE(window->ClaimDrawing->ShownRoot(), 2);
        QCOMPARE(window->Label4->text(),
                 QStringLiteral("Tree of claims: independent 3; dependent 1; total 4"));
        QCOMPARE(window->InputText,
                 std::string("What is claimed is:\n1. A pump.\n2. A hose.\n3. A valve.\n"
                             "4. The valve of claim 3.\n"));
        QVERIFY(window->InputModified);
        QCOMPARE(ReadBytes(name),
                 std::string("What is claimed is:\n1. A pump.\n2. The pump of claim 1.\n"
                             "3. A valve.\n"));

        // The tab's claim is gone: all claims.
        EditPane(QStringLiteral("What is claimed is:\n1. A pump.\n2. The pump of claim 1.\n"));
        window->Drafting1->AnalyseAgain1->trigger();
        QCOMPARE(window->TabControl1->currentIndex(), 0);
        QCOMPARE(window->ClaimDrawing->ShownRoot(), -1);
    }

    // The claim box at the top of the view stays where it was, although a new
    // box above it pushes it down; once it is gone the view starts at the top.
    void analyseAgainKeepsTheView() {
        OpenNew(QStringLiteral("tall.txt"), TallClaims(40));
        QScrollBar& scroll = *window->sbClaimTree->verticalScrollBar();
        const int top = View(20).CaptionLabel->y() - 3;
        scroll.setValue(top);
        QCOMPARE(scroll.value(), top);

        EditPane(TallClaims(40) + QStringLiteral("41. The pump of claim 2.\n"));
        window->Drafting1->AnalyseAgain1->trigger();
        QVERIFY(View(20).CaptionLabel->y() - 3 > top);
        QCOMPARE(ScrollTop(), View(20).CaptionLabel->y() - 3);

        EditPane(TallClaims(10));
        window->Drafting1->AnalyseAgain1->trigger();
        QCOMPARE(ScrollTop(), 0);
    }

    // A tree of 4,852 rows, scrolled far below the boxes that have widgets
    // after a new analysis: the box at the top of the view stays there.
    void analyseAgainKeepsTheViewOfALargeTree() {
        QString text = QStringLiteral("Pump\n\nWhat is claimed is:\n1. A pump.\n");
        for (int claim = 2; claim <= 99; ++claim)
            text += QStringLiteral("%1. The pump of any one of the preceding claims.\n").arg(claim);
        OpenNew(QStringLiteral("large.txt"), text);
        const std::vector<TDrawnRow>& rows = window->ClaimDrawing->Rows();
        QCOMPARE(rows.size(), std::size_t{4852});
        const int32_t claim = rows[2420].Node->Number;
        const auto& copies = window->ClaimTree->NodesByClaim[claim];
        const auto copy = static_cast<std::size_t>(
            std::find(copies.begin(), copies.end(), rows[2420].Node) - copies.begin());
        const int top = rows[2420].Top - 3;
        QScrollBar& scroll = *window->sbClaimTree->verticalScrollBar();
        scroll.setValue(top);
        QCOMPARE(scroll.value(), top);

        window->Drafting1->AnalyseAgain1->trigger();
        const TClaimTreeNode* again = window->ClaimTree->NodesByClaim[claim].at(copy);
        QCOMPARE(window->ClaimDrawing->View(*again).RowTop, top + 3);
        QCOMPARE(ScrollTop(), top);
        QVERIFY(window->ClaimDrawing->View(*again).CaptionLabel != nullptr);
    }

    // Half a second after the last change, without taking the focus or the
    // text cursor; remembered, and off by default.
    void analyseAsYouType() {
        QVERIFY(!window->Drafting1->AnalyseAsYouType1->isChecked());
        OpenNew(QStringLiteral("pump.txt"), QStringLiteral("We claim:\n1. A pump.\n"));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->cmInput->setFocus();
        window->cmInput->moveCursor(QTextCursor::End);
        QTest::keyClicks(window->cmInput, QStringLiteral("2. The pump of claim 1."));
        QVERIFY(!window->Drafting1->tmAnalyse->isActive());

        window->Drafting1->AnalyseAsYouType1->trigger();
        QVERIFY(ProgramSettings().value(AsYouTypeKey).toBool());
        QTest::keyClick(window->cmInput, Qt::Key_Return);
        QTest::keyClicks(window->cmInput, QStringLiteral("3. A valve."));
        const int cursor = window->cmInput->textCursor().position();
        QVERIFY(window->Drafting1->tmAnalyse->isActive());
        QCOMPARE(window->ClaimTree->ClaimCount, 1);
        QTRY_COMPARE_WITH_TIMEOUT(window->ClaimTree->ClaimCount, 3, 2000);
        QCOMPARE(window->Label4->text(),
                 QStringLiteral("Tree of claims: independent 2; dependent 1; total 3"));
        QCOMPARE(QApplication::focusWidget(), window->cmInput);
        QCOMPARE(window->cmInput->textCursor().position(), cursor);

        // A new window starts with the setting as left.
        window = std::make_unique<TfrMain>();
        QVERIFY(window->Drafting1->AnalyseAsYouType1->isChecked());
    }

    // From nothing to a named file; File > New still shows the welcome page.
    void newDraft() {
        window->Drafting1->NewDraft1->trigger();
        QCOMPARE(window->windowTitle(), QStringLiteral("Velkin - Untitled"));
        QVERIFY(window->cmInput->isEnabled());
        QVERIFY(!window->cmInput->isReadOnly());
        QVERIFY(window->cmInput->toPlainText().isEmpty());
        QVERIFY(window->Save1->isEnabled());
        QCOMPARE(Tabs(), QStringList{"All claims"});

        EditPane(QStringLiteral("1. A pump.\n2. The pump of claim 1."));
        QVERIFY(window->InputModified);
        TDialogs::SetNextAnswer(QMessageBox::Yes);
        window->New1->trigger();
        QCOMPARE(TDialogs::LastBox().Text,
                 QStringLiteral("Input file\nUntitled\nhas unsaved changes. Would you like to "
                                "save it first?"));

        // The first Save asks for a name; cancelled, nothing is written.
        TDialogs::SetNextFileName(QString());
        window->Save1->trigger();
        QVERIFY(window->InputModified);
        const QString name = dir->filePath(QStringLiteral("draft.txt"));
        TDialogs::SetNextFileName(name);
        window->Save1->trigger();
        QCOMPARE(ReadBytes(name), std::string("1. A pump.\r\n2. The pump of claim 1."));
        QCOMPARE(window->windowTitle(), QStringLiteral("Velkin - ") + name);
        QVERIFY(!window->InputModified);

        window->New1->trigger();
        QVERIFY(!window->cmInput->isEnabled());
        QCOMPARE(window->windowTitle(), QStringLiteral("Veltrum"));
    }

    // A problem's row selects the claim's first line and brings its box into
    // view from inside a collapsed branch.
    void problemShowsItsClaim() {
        OpenNew(QStringLiteral("tall.txt"),
                TallClaims(30) + QStringLiteral("31. The pump of claim 30.\n"));
        window->btnCollapseAll->click();
        QVERIFY(!View(31).CaptionLabel || !View(31).CaptionLabel->isVisibleTo(window->sbClaimTree));
        TClaimProblem problem;
        problem.Claim = 31;
        problem.Line = 34; // after the title, a blank line and the heading
        problem.Severity = TSeverity::Error;
        problem.Message = "Claim 31 refers to a claim.";
        window->ClaimChecks1->pnProblems->SetProblems({problem}, {});
        QVERIFY(window->ClaimChecks1->pnProblems->isVisible());
        QCOMPARE(window->ClaimChecks1->pnProblems->Title->text(), QStringLiteral("1 problem"));

        QTreeWidget& list = *window->ClaimChecks1->pnProblems->List;
        const QRect row = list.visualItemRect(list.topLevelItem(0));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(window->cmInput->textCursor().selectedText(),
                 QStringLiteral("31. The pump of claim 30."));
        QVERIFY(View(31).CaptionLabel->isVisibleTo(window->sbClaimTree));
        const QRect place(View(31).CaptionLabel->mapTo(window->sbClaimTree->viewport(), QPoint()),
                          View(31).CaptionLabel->size());
        QVERIFY(window->sbClaimTree->viewport()->rect().contains(place));
    }

    // The checks can be switched off, and the built-in examples, whose
    // layout users know, never show them (example 4 has real US-practice
    // warnings).
    void checksOffAndOnExamples() {
        window->Drafting1->NewDraft1->trigger();
        EditPane(QStringLiteral("What is claimed is:\n1. A pump.\n2. The pump of claim 3.\n"));
        window->Drafting1->AnalyseAgain1->trigger();
        QVERIFY(window->ClaimChecks1->pnProblems->isVisible());
        window->ClaimChecks1->CheckClaims1->trigger();
        QVERIFY(window->ClaimChecks1->pnProblems->isHidden());
        QCOMPARE(window->sbClaimTree->BoxMarks(2), 0u);
        QVERIFY(!ProgramSettings().value(QStringLiteral("Drafting/CheckClaims")).toBool());
        window->ClaimChecks1->CheckClaims1->trigger();
        QVERIFY(window->ClaimChecks1->pnProblems->isVisible());

        TDialogs::SetNextAnswer(QMessageBox::No);
        window->Example4->trigger();
        QVERIFY(window->ClaimChecks1->pnProblems->isHidden());
        QCOMPARE(window->sbClaimTree->BoxMarks(5), 0u);
    }

    // A reference to a later claim: the panel comes below a shorter input
    // pane and the claim's boxes are marked; fixed, all is as before.
    void problemsComeAndGo() {
        window->Drafting1->NewDraft1->trigger();
        const QRect input = window->cmInput->geometry();
        QVERIFY(window->ClaimChecks1->pnProblems->isHidden());
        EditPane(QStringLiteral("What is claimed is:\n1. A pump.\n2. The pump of claim 3.\n"
                                "3. The pump of claim 1.\n"));
        window->Drafting1->AnalyseAgain1->trigger();
        QVERIFY(window->ClaimChecks1->pnProblems->isVisible());
        QTreeWidget& list = *window->ClaimChecks1->pnProblems->List;
        QVERIFY(list.topLevelItemCount() > 0);
        for (int row = 0; row < list.topLevelItemCount(); ++row) {
            QCOMPARE(list.topLevelItem(row)->text(TProblemsPanel::ClaimColumn),
                     QStringLiteral("2"));
            QCOMPARE(list.topLevelItem(row)->text(TProblemsPanel::LineColumn), QStringLiteral("3"));
        }
        QCOMPARE(window->sbClaimTree->BoxMarks(2), unsigned(TBoxMark::Problem));
        QCOMPARE(window->sbClaimTree->BoxMarks(3), 0u);
        QVERIFY(window->cmInput->geometry().bottom() <
                window->ClaimChecks1->pnProblems->geometry().top());
        QVERIFY(window->ClaimChecks1->pnProblems->geometry().bottom() <= input.bottom());

        EditPane(QStringLiteral("What is claimed is:\n1. A pump.\n2. The pump of claim 1.\n"
                                "3. The pump of claim 1.\n"));
        window->Drafting1->AnalyseAgain1->trigger();
        QVERIFY(window->ClaimChecks1->pnProblems->isHidden());
        QCOMPARE(window->cmInput->geometry(), input);
        QCOMPARE(window->sbClaimTree->BoxMarks(2), 0u);
    }
};

VELTRUM_APP_TEST_MAIN(TestfrMainDrafting)
#include "frmMainDraftingTest.moc"
