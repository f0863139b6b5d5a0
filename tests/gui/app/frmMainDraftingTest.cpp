// Drafting in the main window: analysing the edited text, new drafts and the
// problems panel, driven through the window's commands with real files.

#include "AnalysisRunner.h"
#include "AppTestMain.h"
#include "CheckDisplay.h"
#include "ClaimChecks.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "Dialogs.h"
#include "DocumentFile.h"
#include "DraftingTools.h"
#include "GlyphButton.h"
#include "LiveText.h"
#include "ProblemsPanel.h"
#include "ProgramSettings.h"
#include "ReadingChoice.h"
#include "RecentFilesMenu.h"
#include "TreeDrawing.h"
#include "frmMain.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

const QString AsYouTypeKey = QStringLiteral("Drafting/AnalyseAsYouType");
const QString PanelHeightKey = QStringLiteral("Window/ProblemsPanelHeight");

// Claim 1 with Count - 1 dependants: a tree taller than the pane.
QString TallClaims(int Count) {
    QString text = QStringLiteral("Pump\n\nWhat is claimed is:\n1. A pump.\n");
    for (int claim = 2; claim <= Count; ++claim)
        text += QStringLiteral("%1. The pump of claim 1, with part %1.\n").arg(claim);
    return text;
}

// A description long enough that its analysis as you type runs off the
// window's thread, then Claims.
QString LargeDraft(const QString& Claims) {
    QString text = QStringLiteral("Pump\n\n");
    while (text.size() <= TfrMain::LargeText)
        text += QStringLiteral("The impeller 18 turns in the housing 12 at up to 3,000 rpm.\n");
    return text + QStringLiteral("What is claimed is:\n") + Claims;
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
        ProgramSettings().remove(QStringLiteral("reading/lenient"));
        ProgramSettings().remove(PanelHeightKey);
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
        ProgramSettings().remove(QStringLiteral("DismissedProblems"));
        ProgramSettings().remove(QStringLiteral("Drafting/CheckWording"));
        TDialogs::Reset();
        ProgramSettings().remove(AsYouTypeKey);
        ProgramSettings().remove(PanelHeightKey);
    }

    // A box's caption says its claim's category, and for a claim of another
    // category that refers to one, which claim and category that is.
    void boxCaptionsSayTheCategory() {
        OpenNew(QStringLiteral("pump.txt"),
                QStringLiteral("What is claimed is:\n1. A pump.\n2. The pump of claim 1.\n"
                               "3. A method of using the pump of claim 2.\n"));
        QCOMPARE(View(2).CaptionLabel->toolTip(), QStringLiteral("Apparatus claim"));
        QCOMPARE(View(3).CaptionLabel->toolTip(),
                 QStringLiteral("Method claim, referring to apparatus claim 2"));
    }

    // A dismissed problem leaves the list, the count and the box marks, is
    // listed apart, stays dismissed for the same file in a new window, and
    // comes back when restored; the file's text is not touched.
    void dismissedProblemsAreRememberedPerDocument() {
        const QString text = QStringLiteral("What is claimed is:\n1. A pump.\n"
                                            "2. The pump of claim 4.\n3. The pump of claim 5.\n");
        const QString name = OpenNew(QStringLiteral("pump.txt"), text);
        TProblemsPanel* panel = window->ClaimChecks1->pnProblems;
        QCOMPARE(panel->ProblemCount(), 4);
        panel->List->setCurrentItem(panel->List->topLevelItem(0));
        panel->Dismiss1->trigger();
        QCOMPARE(panel->ProblemCount(), 3);
        QCOMPARE(panel->Title->text(), QStringLiteral("3 problems"));
        QCOMPARE(panel->btnDismissed->text(), QStringLiteral("Dismissed (1)"));
        QCOMPARE(panel->lvDismissed->topLevelItemCount(), 1);
        // Claim 2's other problem keeps its mark; dismissing it too clears it.
        QCOMPARE(window->sbClaimTree->BoxMarks(2), unsigned(TBoxMark::Problem));
        panel->List->setCurrentItem(panel->List->topLevelItem(0));
        panel->Dismiss1->trigger();
        QCOMPARE(window->sbClaimTree->BoxMarks(2), 0u);
        QCOMPARE(window->sbClaimTree->BoxMarks(3), unsigned(TBoxMark::Problem));

        // Another document keeps its own problems.
        OpenNew(QStringLiteral("other.txt"), text);
        QCOMPARE(window->ClaimChecks1->pnProblems->ProblemCount(), 4);

        window = std::make_unique<TfrMain>();
        frMain = window.get();
        window->WasActivated = true;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        TDialogs::SetNextFileName(name);
        window->Open1Click();
        panel = window->ClaimChecks1->pnProblems;
        QCOMPARE(panel->ProblemCount(), 2);
        QCOMPARE(panel->lvDismissed->topLevelItemCount(), 2);
        QCOMPARE(window->sbClaimTree->BoxMarks(2), 0u);
        panel->lvDismissed->setCurrentItem(panel->lvDismissed->topLevelItem(1));
        panel->Restore1->trigger();
        QCOMPARE(panel->ProblemCount(), 3);
        QCOMPARE(panel->btnDismissed->text(), QStringLiteral("Dismissed (1)"));
        QCOMPARE(window->sbClaimTree->BoxMarks(2), unsigned(TBoxMark::Problem));
        QFile file(name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()), text);
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

    // The text kept from the document's changes is the document's own after
    // every kind of edit, and small edits are followed, not extracted again.
    void liveTextFollowsEveryEdit() {
        QPlainTextEdit pane;
        QTextDocument& document = *pane.document();
        TLiveText live(document);
        const auto cursorAt = [&](int From, int To) {
            QTextCursor cursor(&document);
            cursor.setPosition(From);
            cursor.setPosition(To, QTextCursor::KeepAnchor);
            return cursor;
        };
        const int end = -1; // the end of the text, however long
        const auto at = [&](int Position) {
            return Position == end ? document.characterCount() - 1 : Position;
        };
        struct TEdit {
            const char* Name;
            std::function<void()> Make;
            bool Followed;
        };
        const std::vector<TEdit> edits = {
            {"whole text", [&] { pane.setPlainText(QStringLiteral("1. A pump.\n2. A hose.")); },
             false},
            {"at the start", [&] { cursorAt(0, 0).insertText(QStringLiteral("We claim:\n")); },
             true},
            {"at the end", [&] { cursorAt(at(end), at(end)).insertText(QStringLiteral("\n3.")); },
             true},
            {"last character", [&] { cursorAt(at(end) - 1, at(end)).removeSelectedText(); }, true},
            {"across lines",
             [&] { cursorAt(3, 15).insertText(QStringLiteral("\u00e9\U0001F600\u2011\u00a0")); },
             true},
            {"a line break", [&] { cursorAt(1, 1).insertText(QString(QChar::LineSeparator)); },
             true},
            {"the last line",
             [&] {
                 QTextCursor cursor = cursorAt(at(end), at(end));
                 cursor.movePosition(QTextCursor::PreviousBlock, QTextCursor::KeepAnchor);
                 cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
                 cursor.removeSelectedText();
             },
             true},
            {"undo", [&] { document.undo(); }, true},
            {"undo again", [&] { document.undo(); }, true},
            {"redo", [&] { document.redo(); }, true},
            {"everything", [&] { cursorAt(0, at(end)).removeSelectedText(); }, true},
            {"into nothing", [&] { cursorAt(0, 0).insertText(QStringLiteral("1.\n")); }, false},
        };
        QCOMPARE(live.Text(), document.toRawText());
        for (const TEdit& edit : edits) {
            edit.Make();
            QVERIFY2(live.Following() == edit.Followed, edit.Name);
            QVERIFY2(live.Text() == document.toRawText(), edit.Name);
        }
    }

    // The one-pass bytes of the pane's text are those of the document's
    // conversion, for every encoding, line end and hyphen setting.
    void analysedPaneTextAsDocuments() {
        // Breaks: the ends of the text last read, none for a new text.
        const auto format = [](TTextEncoding Encoding, std::vector<TLineBreak> Breaks, bool Byte30,
                               bool Byte31) {
            TDocumentFormat made;
            made.Encoding = Encoding;
            if (!Breaks.empty())
                made.Lines = std::make_shared<const TDocumentLines>(
                    QString(static_cast<qsizetype>(Breaks.size()), u'\n'), Breaks);
            made.ShowsByte30 = Byte30;
            made.ShowsByte31 = Byte31;
            return made;
        };
        using enum TLineBreak;
        const std::vector<TDocumentFormat> formats = {
            format(TTextEncoding::Utf8, {}, true, true),
            format(TTextEncoding::Utf8, {Lf, Lf}, false, true),
            format(TTextEncoding::Windows1252, {Cr}, true, false),
            format(TTextEncoding::Utf8Bom, {Lf, CrLf, Lf}, true, true),
            format(TTextEncoding::Utf16Le, {CrLf, CrLf}, false, false),
        };
        const std::vector<QString> texts = {
            QString(),
            QStringLiteral("1. A pump.\n2. The pump of claim 1.\n"),
            QStringLiteral("lines\u2029and\u2028more\r\nends\n"),
            QStringLiteral("non\u2011breaking and soft\u00adhyphens, \x1e\x1f bytes"),
            QStringLiteral("caf\u00e9 \u20ac 5 \u00a0"),
            QStringLiteral("\u007f\u0080 \u07ff\u0800 \ud7ff\ue000\uffff at the lengths' edges"),
            QStringLiteral("\u00c3\u00a9 reads as UTF-8 in Windows-1252 bytes"),
            QStringLiteral("\u30dd\u30f3\u30d7 \U0001F600 beyond Windows-1252"),
            QStringLiteral("unpaired ") + QChar(0xD800) + QStringLiteral(" and ") + QChar(0xDC00),
        };
        for (const TDocumentFormat& made : formats) {
            for (const QString& text : texts) {
                QVERIFY2(AnalysedPaneText(text, made) == AnalysedDocumentText(text, made),
                         qPrintable(text));
            }
        }
    }

    // A large text is analysed off the window's thread. A result whose text
    // has changed since, or that a reading chosen meanwhile replaced, is never
    // shown; the latest text's is, problems and all.
    void analyseAsYouTypeLargeText() {
        OpenNew(QStringLiteral("large.txt"), LargeDraft(QStringLiteral("1. A pump.\n")));
        window->Drafting1->AnalyseAsYouType1->trigger();
        QCOMPARE(window->ClaimTree->ClaimCount, 1);
        const auto analyseTyped = [this](const QString& Claims) {
            EditPane(LargeDraft(Claims));
            window->Drafting1->tmAnalyse->stop();
            window->AnalyseTypedText();
            QVERIFY(window->Analyses1->Busy());
        };

        // Typing goes on while the analysis runs.
        analyseTyped(QStringLiteral("1. A pump.\n2. A hose.\n"));
        EditPane(LargeDraft(QStringLiteral("1. A pump.\n2. A hose.\n3. A valve.\n")));
        window->Drafting1->tmAnalyse->stop();
        QTRY_VERIFY(!window->Analyses1->Busy());
        QCOMPARE(window->ClaimTree->ClaimCount, 1);

        // Another reading chosen meanwhile.
        analyseTyped(QStringLiteral("1. A pump.\n2. The pump of claim 1.\n"));
        window->Readings1->mnuLenientReading->trigger();
        QCOMPARE(window->ClaimTree->Reading, TReading::Lenient);
        QTRY_VERIFY(!window->Analyses1->Busy());
        QCOMPARE(window->ClaimTree->Reading, TReading::Lenient);
        window->Readings1->mnuLenientReading->trigger();

        // An order while one runs waits for it, and only its result is shown.
        analyseTyped(QStringLiteral("1. A pump.\n"));
        const QString latest = QStringLiteral("1. A pump.\n2. The pump of claim 3.\n3. A hose.\n");
        EditPane(LargeDraft(latest));
        window->Drafting1->tmAnalyse->stop();
        window->AnalyseTypedText();
        QTRY_VERIFY(!window->Analyses1->Busy());
        QCOMPARE(window->InputText,
                 ReadDocumentText(LargeDraft(latest).toUtf8().toStdString()).Analysed);
        QCOMPARE(window->Label4->text(),
                 QStringLiteral("Tree of claims: independent 2; dependent 1; total 3"));
        QVERIFY(window->ClaimChecks1->pnProblems->isVisible());
        QCOMPARE(window->sbClaimTree->BoxMarks(2), unsigned(TBoxMark::Problem));
        QCOMPARE(window->sbClaimTree->DrawnTree(), window->ClaimTree.get());
    }

    // Analysed as you type, on the window's thread or one of its own, the
    // problems list holds the latest text's rows only, and shows them
    // without waiting for a repaint; checks handed in for another tree than
    // the one shown are never shown.
    void problemRowsFollowTheText_data() {
        QTest::addColumn<bool>("large");
        QTest::newRow("window's thread") << false;
        QTest::newRow("thread of its own") << true;
    }

    void problemRowsFollowTheText() {
        QFETCH(bool, large);
        const auto draft = [large](const QString& Claims) {
            return large ? LargeDraft(Claims) : QStringLiteral("What is claimed is:\n") + Claims;
        };
        QString many = QStringLiteral("1. A pump.\n");
        for (int n = 2; n <= 40; ++n)
            many += QStringLiteral("%1. The pump of claim 99.\n").arg(n);
        OpenNew(QStringLiteral("many.txt"), draft(many));
        window->Drafting1->AnalyseAsYouType1->trigger();
        QTreeWidget& list = *window->ClaimChecks1->pnProblems->List;
        QCOMPARE(list.topLevelItemCount(), 78);
        list.verticalScrollBar()->setValue(list.verticalScrollBar()->maximum() / 2);
        // The old text's checks, as a result that came too late would hold them.
        const TClaimTree oldTree(window->InputText);
        const TClaimChecks oldChecks = CheckAndCountFees(oldTree);

        EditPane(draft(QStringLiteral("1. A pump.\n2. The pump of claim 3.\n3. A valve.\n")));
        if (large) {
            window->Drafting1->tmAnalyse->stop();
            window->AnalyseTypedText();
            QTRY_VERIFY(!window->Analyses1->Busy());
        }
        QTRY_COMPARE_WITH_TIMEOUT(window->ClaimTree->ClaimCount, 3, 2000);
        const auto rows = [&list] {
            QStringList texts;
            for (int row = 0; row < list.topLevelItemCount(); ++row)
                texts << list.topLevelItem(row)->text(TProblemsPanel::ClaimColumn) + ": " +
                             list.topLevelItem(row)->text(TProblemsPanel::MessageColumn);
            return texts;
        };
        QStringList latest;
        for (const TClaimProblem& problem : CheckClaims(*window->ClaimTree))
            latest << QString::number(problem.Claim) + ": " +
                          QString::fromStdString(problem.Message);
        QCOMPARE(rows(), latest);
        QCOMPARE(latest.size(), 2);

        // What the screen shows is what a whole repaint shows.
        QTest::qWait(50);
        const auto onScreen = [&] {
            const QPoint at = list.viewport()->mapTo(window.get(), QPoint());
            return window->screen()
                ->grabWindow(window->winId(), at.x(), at.y(), list.viewport()->width(),
                             list.viewport()->height())
                .toImage();
        };
        const QImage shown = onScreen();
        list.viewport()->repaint();
        QCOMPARE(shown, onScreen());

        window->ClaimChecks1->Show(&oldChecks, &oldTree);
        QCOMPARE(rows(), latest);
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
        // Lines end as the system's own editors end them.
        QCOMPARE(ReadBytes(name), std::string("1. A pump.\n2. The pump of claim 1."));
        QCOMPARE(window->windowTitle(), QStringLiteral("Velkin - ") + name);
        QVERIFY(!window->InputModified);
        bool recent = false;
        for (const QAction* item : window->RecentFiles1->mnuRecentFiles->actions())
            recent = recent || item->data().toString() == name;
        QVERIFY(recent);

        window->New1->trigger();
        QVERIFY(!window->cmInput->isEnabled());
        QCOMPARE(window->windowTitle(), QStringLiteral("Veltrum"));
    }

    // A problem's row selects the claim's first line and brings its box into
    // view from inside a collapsed branch, flashing it; the branch the user
    // opened stays open.
    void problemShowsItsClaim() {
        OpenNew(QStringLiteral("tall.txt"),
                TallClaims(30) + QStringLiteral("31. The pump of claim 30.\n32. A valve.\n"
                                                "33. The valve of claim 32.\n"));
        window->btnCollapseAll->click();
        QTest::mouseClick(View(32).ExpandButton, Qt::LeftButton);
        QVERIFY(View(33).CaptionLabel->isVisibleTo(window->sbClaimTree));
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
        QCOMPARE(View(32).DisplayState, TDisplayState::Expanded);
        QVERIFY(View(33).CaptionLabel->isVisibleTo(window->sbClaimTree));
        QCOMPARE(View(31).DisplayState, TDisplayState::Collapsed);

        const QPointer<QWidget> flash =
            window->sbClaimTree->Content()->findChild<QWidget*>(QStringLiteral("BoxFlash"));
        QVERIFY(flash != nullptr && flash->isVisible());
        QVERIFY(flash->geometry().contains(View(31).CaptionLabel->geometry()));
        QTRY_VERIFY_WITH_TIMEOUT(flash.isNull(), 5000);
    }

    // Of a claim's boxes, one already in view is shown: no closed branch opens.
    void problemPrefersABoxInView() {
        OpenNew(QStringLiteral("two.txt"),
                QStringLiteral("What is claimed is:\n1. A pump.\n2. A valve.\n"
                               "3. The device of claim 1 or 2.\n"));
        QTest::mouseClick(View(1).ExpandButton, Qt::LeftButton);
        TClaimProblem problem;
        problem.Claim = 3;
        problem.Message = "Claim 3 is a test.";
        window->ClaimChecks1->pnProblems->SetProblems({problem}, {});
        QTreeWidget& list = *window->ClaimChecks1->pnProblems->List;
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(list.topLevelItem(0)).center());
        QCOMPARE(View(1).DisplayState, TDisplayState::Collapsed);
        const TClaimTreeNode* underValve = window->ClaimTree->NodesByClaim[3].back();
        QVERIFY(
            window->ClaimDrawing->View(*underValve).CaptionLabel->isVisibleTo(window->sbClaimTree));
    }

    // The panel below the text takes the height the user drags it to, in
    // this window and the next; a long message wraps onto more lines.
    void problemsPanelKeepsItsHeight() {
        window->Drafting1->NewDraft1->trigger();
        EditPane(QStringLiteral("What is claimed is:\n1. A pump.\n2. The pump of claim 3.\n"));
        window->Drafting1->AnalyseAgain1->trigger();
        TProblemsPanel& panel = *window->ClaimChecks1->pnProblems;
        QVERIFY(panel.isVisible());
        auto* split = window->findChild<QSplitter*>(QStringLiteral("splInput"));
        QVERIFY(split != nullptr);
        const int height = panel.height();
        const int textHeight = window->cmInput->height();
        QSplitterHandle* handle = split->handle(1);
        const QPoint middle = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, middle);
        QTest::mouseMove(handle, middle - QPoint(0, 60));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, middle - QPoint(0, 60));
        QCOMPARE(panel.height(), height + 60);
        QCOMPARE(window->cmInput->height(), textHeight - 60);

        window = std::make_unique<TfrMain>();
        frMain = window.get();
        window->WasActivated = true;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->Drafting1->NewDraft1->trigger();
        TClaimProblem problem;
        problem.Claim = 2;
        problem.Severity = TSeverity::Warning;
        problem.Message = "A message long enough that a panel this narrow can only show it on "
                          "several lines, one below the other, so that nothing of it is lost.";
        window->ClaimChecks1->pnProblems->SetProblems({problem}, {});
        QCOMPARE(window->ClaimChecks1->pnProblems->height(), height + 60);
        QTreeWidget& list = *window->ClaimChecks1->pnProblems->List;
        QTRY_VERIFY(list.visualItemRect(list.topLevelItem(0)).height() >
                    2 * list.fontMetrics().height());
        QCOMPARE(list.topLevelItem(0)->toolTip(TProblemsPanel::MessageColumn),
                 QString::fromStdString(problem.Message));
    }

    // The checks can be switched off; the built-in examples show theirs as
    // the command line and the exports do (example 4 has real US-practice
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
        QVERIFY(window->ClaimChecks1->pnProblems->isVisible());
        QCOMPARE(window->ClaimChecks1->pnProblems->ProblemCount(), 11);
        QCOMPARE(window->sbClaimTree->BoxMarks(5), unsigned(TBoxMark::Problem));
    }

    // The fee counts show below the window whether or not there are
    // problems, as the command line counts them, and go with the tree.
    void feeCountsAlwaysShown_data() {
        QTest::addColumn<int>("example");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("checks");
        QTest::addColumn<QString>("counted");
        QTest::addColumn<int>("problems");
        QTest::newRow("21 claims, no problem")
            << 0 << TallClaims(21) << true << QStringLiteral("21 claims, 1 independent; 1 over 20")
            << 0;
        QTest::newRow("a problem") << 0
                                   << QStringLiteral("We claim:\n1. A pump.\n2. The pump of "
                                                     "claim 3.\n3. The pump of claim 1 or 2.\n")
                                   << true << QStringLiteral("4 claims, 1 independent") << 2;
        QTest::newRow("example 4") << 4 << QString() << true
                                   << QStringLiteral("; multiple dependent claim surcharge") << 11;
        QTest::newRow("checks off") << 0 << TallClaims(21) << false << QString() << 0;
    }

    void feeCountsAlwaysShown() {
        QFETCH(int, example);
        QFETCH(QString, text);
        QFETCH(bool, checks);
        QFETCH(QString, counted);
        QFETCH(int, problems);
        QLabel& fees = *window->ClaimChecks1->lbFeeCounts;
        QVERIFY(fees.text().isEmpty());
        if (!checks)
            window->ClaimChecks1->CheckClaims1->trigger();
        if (example == 4)
            window->Example4->trigger();
        else
            OpenNew(QStringLiteral("fees.txt"), text);
        QCOMPARE(window->ClaimChecks1->pnProblems->ProblemCount(), problems);
        // Without the checks the window has no status bar, as before them.
        QCOMPARE(fees.isVisible(), checks);
        if (!checks) {
            QVERIFY(fees.text().isEmpty());
            return;
        }
        QVERIFY2(fees.text().contains(counted), qPrintable(fees.text()));
        QCOMPARE(fees.text(), TProblemsPanel::FeesText(CountFees(*window->ClaimTree)));
        // The welcome page has no tree to count.
        window->New1->trigger();
        QVERIFY(fees.text().isEmpty());
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

    // Tab goes round every part of the window and so does Shift+Tab, the
    // other way; in the input pane Tab types, so Ctrl+Tab goes on from it.
    void tabCycle_data() {
        QTest::addColumn<bool>("back");
        QTest::addColumn<QString>("cycle");
        QTest::newRow("Tab") << false
                             << "btnExpandAll btnCollapseAll TabControl1 sbClaimTree cmInput "
                                "lvProblems";
        QTest::newRow("Shift+Tab") << true
                                   << "btnExpandAll lvProblems cmInput sbClaimTree TabControl1 "
                                      "btnCollapseAll";
    }

    void tabCycle() {
        QFETCH(bool, back);
        QFETCH(QString, cycle);
        OpenNew(QStringLiteral("pump.txt"), TallClaims(3));
        TClaimProblem problem;
        problem.Claim = 2;
        problem.Line = 5;
        problem.Severity = TSeverity::Error;
        problem.Message = "Claim 2 refers to a claim.";
        window->ClaimChecks1->pnProblems->SetProblems({problem}, {});
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->btnExpandAll->setFocus(Qt::TabFocusReason);
        QStringList visited;
        do {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus != nullptr);
            visited << focus->objectName();
            const Qt::KeyboardModifiers typing =
                focus == window->cmInput ? Qt::ControlModifier : Qt::NoModifier;
            QTest::keyClick(focus, back ? Qt::Key_Backtab : Qt::Key_Tab,
                            typing | (back ? Qt::ShiftModifier : Qt::NoModifier));
        } while (QApplication::focusWidget() != window->btnExpandAll && visited.size() < 20);
        QCOMPARE(visited.join(QLatin1Char(' ')), cycle);
        QCOMPARE(window->cmInput->toPlainText(), TallClaims(3));
    }
};

VELTRUM_APP_TEST_MAIN(TestfrMainDrafting)
#include "frmMainDraftingTest.moc"
