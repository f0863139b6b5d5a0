// The main window's documents, analysis, tabs, Claims menu, input pane and
// examples, driven through its handlers with real files.

#include "AppTestMain.h"
#include "BuiltinExamples.h"
#include "ClaimMemo.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "Dialogs.h"
#include "DocumentFile.h"
#include "DraftingTools.h"
#include "GlyphButton.h"
#include "RecentFilesMenu.h"
#include "TreeDrawing.h"
#include "WelcomePage.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <memory>
#include <stdexcept>
#include <string>

Q_DECLARE_METATYPE(std::string)

namespace {

const QString ZeroCounts = QStringLiteral("Tree of claims: independent 0; dependent 0; total 0");

QString Counts(int Independent, int Dependent, int Total) {
    return QStringLiteral("Tree of claims: independent %1; dependent %2; total %3")
        .arg(Independent)
        .arg(Dependent)
        .arg(Total);
}

// A claims text with CR LF line ends.
std::string ClaimsText(std::initializer_list<const char*> Claims) {
    std::string text = "Pump\r\n\r\nWhat is claimed is:\r\n";
    for (const char* claim : Claims)
        text += std::string(claim) + "\r\n";
    return text;
}

const std::string PumpText = ClaimsText({"1. A pump.", "2. The pump of claim 1, with a valve.",
                                         "3. A valve.", "4. The pump of claims 2 or 3."});

std::string Replaced(std::string Text, const std::string& From, const std::string& To) {
    for (std::size_t at = Text.find(From); at != std::string::npos;
         at = Text.find(From, at + To.size()))
        Text.replace(at, From.size(), To);
    return Text;
}

QStringList Numbered(const char* Pattern, std::initializer_list<int> Numbers) {
    QStringList result;
    for (int number : Numbers)
        result << QString::fromLatin1(Pattern).arg(number);
    return result;
}

QStringList Numbered(const char* Pattern, int First, int Last) {
    QStringList result;
    for (int number = First; number <= Last; ++number)
        result << QString::fromLatin1(Pattern).arg(number);
    return result;
}

// The bytes of a literal, zero bytes included.
template <std::size_t Size> std::string Bytes(const char (&Literal)[Size]) {
    return std::string(Literal, Size - 1);
}

} // namespace

class TestfrMainDocuments : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TfrMain> window;
    std::unique_ptr<QTemporaryDir> dir;

    QString Write(const QString& Name, const std::string& Bytes) {
        const QString name = dir->filePath(Name);
        QFile file(name);
        if (file.open(QIODevice::WriteOnly))
            file.write(Bytes.data(), static_cast<qint64>(Bytes.size()));
        return name;
    }

    void Open(const QString& FileName) {
        TDialogs::SetNextFileName(FileName);
        window->Open1Click();
    }

    QString OpenNew(const QString& Name, const std::string& Bytes) {
        const QString name = Write(Name, Bytes);
        Open(name);
        return name;
    }

    // The tabs' texts; a tab left hidden is marked.
    QStringList Tabs() const {
        QStringList tabs;
        for (int i = 0; i < window->TabControl1->count(); ++i) {
            tabs << window->TabControl1->tabText(i) + (window->TabControl1->isTabVisible(i)
                                                           ? QString()
                                                           : QStringLiteral(" hidden"));
        }
        return tabs;
    }

    // The Claims menu's items as names, each checked against its caption and
    // tag.
    QStringList MenuNames() const {
        QStringList names;
        for (const QAction* item : window->mnuClaims->actions()) {
            const int claim = item->data().toInt();
            if (item->text() != QStringLiteral("Claim %1").arg(claim) ||
                item->parent() != window.get())
                return {QStringLiteral("bad item ") + item->text()};
            names << item->objectName();
        }
        return names;
    }

    bool MenuShown() const { return window->mnuClaims->menuAction()->isVisible(); }

    QAction* MenuItem(int Claim) const {
        return window->findChild<QAction*>(QStringLiteral("mnuClaim%1").arg(Claim));
    }

    QStringList PaneTexts() const {
        QStringList texts;
        for (const QLabel* label :
             window->sbClaimTree->Content()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            texts << label->text();
        return texts;
    }

    bool ShowsNoClaimsNotice() const {
        return PaneTexts().contains(QStringLiteral("The document has no claims."));
    }

    void Type(int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        QTest::keyClick(window->cmInput, Qt::Key(Key), Modifiers);
    }

    void TypeText(const QString& Text) {
        QTest::sendKeyEvent(QTest::Click, window->cmInput, Qt::Key_unknown, Text, Qt::NoModifier);
    }

    void ShowActive() {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    TClaimTreeNode& Node(int Claim, std::size_t Copy = 0) const {
        return *window->ClaimTree->NodesByClaim[static_cast<std::size_t>(Claim)].at(Copy);
    }
    TNodeView& View(int Claim, std::size_t Copy = 0) const {
        return window->ClaimDrawing->View(Node(Claim, Copy));
    }

private slots:
    void init() {
        TDialogs::Reset();
        dir = std::make_unique<QTemporaryDir>();
        window = std::make_unique<TfrMain>();
        frMain = window.get();
        // The start-up layout is frmMain's own test; keep the design size.
        window->WasActivated = true;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup() {
        window.reset();
        dir.reset();
        TDialogs::Reset();
    }

    // The end state of an analysis, reached from a single claim's tab.
    void analysis_data() {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<QStringList>("tabs");
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QStringList>("menu");
        QTest::newRow("two independent claims")
            << PumpText << QStringList{"All claims", "Claim 1", "Claim 3"} << Counts(2, 2, 4)
            << Numbered("mnuClaim%1", 1, 4);
        QTest::newRow("claim 4 without a node")
            << ClaimsText({"1. A pump.", "2. The pump of claim 1.", "3. A valve.",
                           "4. The valve of claim 5.", "5. The pump of claim 2."})
            << QStringList{"All claims", "Claim 1", "Claim 3"} << Counts(2, 3, 5)
            << Numbered("mnuClaim%1", {1, 2, 3, 5});
        QTest::newRow("claim numbered above the last")
            << ClaimsText({"1. A pump.", " 5. The pump of claim 1.", "2. A valve."})
            << QStringList{"All claims", "Claim 1", "Claim 2"} << Counts(2, 0, 2)
            << Numbered("mnuClaim%1", {1, 2});
        QTest::newRow("numbers running backwards: negative dependent count")
            << ClaimsText({"1. A pump.", "2. A valve.", "3. A seal.", "1. A hose."})
            << QStringList{"All claims", "Claim 1", "Claim 2", "Claim 3", "Claim 1"}
            << Counts(4, -3, 1) << Numbered("mnuClaim%1", {1});
        QTest::newRow("number beyond the claim tables")
            << ClaimsText({"1. A pump.", " 2000. The pump of claim 1."})
            << QStringList{"All claims", "Claim 1"} << Counts(1, 1999, 2000)
            << Numbered("mnuClaim%1", {1});
        QTest::newRow("no claims section")
            << std::string("Pumps move water.\r\n") << QStringList{"All claims"} << ZeroCounts
            << QStringList();
        QTest::newRow("empty") << std::string() << QStringList{"All claims"} << ZeroCounts
                               << QStringList();
    }

    void analysis() {
        QFETCH(std::string, text);
        QFETCH(QStringList, tabs);
        QFETCH(QString, counts);
        QFETCH(QStringList, menu);
        OpenNew(QStringLiteral("first.txt"), PumpText);
        window->TabControl1->setCurrentIndex(2);
        QVERIFY(!MenuShown());

        QSignalSpy tabChanges(window->TabControl1, &QTabBar::currentChanged);
        OpenNew(QStringLiteral("claims.txt"), text);
        QCOMPARE(tabChanges.count(), 0);
        QCOMPARE(Tabs(), tabs);
        QCOMPARE(window->TabControl1->currentIndex(), 0);
        QCOMPARE(window->Label4->text(), counts);
        QVERIFY(MenuShown());
        QCOMPARE(MenuNames(), menu);
        QCOMPARE(window->ClaimDrawing->ShownRoot(), -1);
        QCOMPARE(ShowsNoClaimsNotice(), tabs.size() == 1);
        QCOMPARE(TDialogs::BoxCount(), 0);
    }

    // The wait cursor is up while the analysis runs, and gone after it, also
    // when the analysis fails.
    void busyCursorWhileAnalysing_data() {
        QTest::addColumn<bool>("fails");
        QTest::newRow("analysed") << false;
        QTest::newRow("failed") << true;
    }

    void busyCursorWhileAnalysing() {
        QFETCH(bool, fails);
        window->InputText = PumpText;
        Qt::CursorShape during = Qt::ArrowCursor;
        try {
            window->AnalyseInput([&] {
                if (const QCursor* cursor = QGuiApplication::overrideCursor())
                    during = cursor->shape();
                if (fails)
                    throw std::runtime_error("failed");
            });
        } catch (const std::runtime_error&) {
        }
        QCOMPARE(during, Qt::WaitCursor);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    // Claim 1 is valid UTF-8 on its own, the document as a whole is not: the
    // claim's box reads it as the input pane does.
    void boxReadsAsThePane() {
        OpenNew(QStringLiteral("mixed.txt"), "We claim:\r\n1. A caf\xc3\xa9 pump.\r\n"
                                             "2. The pump of claim 1 at 5\xb0 C.\r\n");
        const QString pane = window->cmInput->toPlainText();
        QVERIFY(pane.contains(QString::fromUtf8("A caf\xc3\x83\xc2\xa9 pump.")));
        QStringList boxes;
        for (const TClaimMemo* memo : window->sbClaimTree->findChildren<TClaimMemo*>()) {
            if (memo->Lines().join(QLatin1Char('\n')).contains(QStringLiteral("caf")))
                boxes << memo->Lines().join(QLatin1Char('\n'));
        }
        QVERIFY(!boxes.isEmpty());
        for (const QString& box : boxes)
            QVERIFY2(pane.contains(box), qPrintable(box));
    }

    // A tab draws from scratch; the Claims menu lives on the "All claims" tab.
    void tabChanges() {
        OpenNew(QStringLiteral("pump.txt"), PumpText);
        const QString counts = window->Label4->text();
        window->btnCollapseAll->click();
        View(1).TextMode = TTextMode::Whole;

        window->TabControl1->setCurrentIndex(2);
        QCOMPARE(window->ClaimDrawing->ShownRoot(), 1);
        QVERIFY(View(1).CaptionLabel == nullptr);
        QVERIFY(View(3).CaptionLabel != nullptr);
        QCOMPARE(View(3).DisplayState, TDisplayState::Expanded);
        QVERIFY(!MenuShown());
        QVERIFY(window->mnuClaims->actions().isEmpty());

        window->TabControl1->setCurrentIndex(0);
        QCOMPARE(window->ClaimDrawing->ShownRoot(), -1);
        QCOMPARE(View(1).DisplayState, TDisplayState::Expanded);
        QCOMPARE(View(1).TextMode, TTextMode::None);
        QVERIFY(MenuShown());
        QCOMPARE(MenuNames(), Numbered("mnuClaim%1", 1, 4));
        QCOMPARE(window->Label4->text(), counts);

        // The selected tab once more: nothing is redrawn.
        const QPointer<QLabel> caption = View(1).CaptionLabel;
        window->TabControl1->setCurrentIndex(0);
        QCOMPARE(View(1).CaptionLabel, caption.data());
        QVERIFY(!caption.isNull());
    }

    // Claim 1 with 29 dependants, the last of them with one of its own: a
    // tree taller than the pane.
    void claimsMenuRevealsAndScrolls() {
        std::string text = "Pump\r\n\r\nWhat is claimed is:\r\n1. A pump.\r\n";
        for (int claim = 2; claim <= 30; ++claim)
            text += std::to_string(claim) + ". The pump of claim 1, with part " +
                    std::to_string(claim) + ".\r\n";
        text += "31. The pump of claim 30, made of steel.\r\n";
        OpenNew(QStringLiteral("tall.txt"), text);
        TClaimTreePane& pane = *window->sbClaimTree;
        QScrollBar& scroll = *pane.verticalScrollBar();
        window->btnCollapseAll->click();
        QCOMPARE(View(31).DisplayState, TDisplayState::Hidden);
        QCOMPARE(scroll.value(), 0);

        // The caption's place in the visible area, or null when not shown.
        const auto inView = [&pane, this](const TClaimTreeNode& Node) {
            const QLabel* caption = window->ClaimDrawing->View(Node).CaptionLabel;
            if (caption == nullptr || !caption->isVisibleTo(&pane))
                return QRect();
            return QRect(caption->mapTo(pane.viewport(), QPoint(0, 0)), caption->size());
        };

        // Down into the collapsed branch, just far enough.
        MenuItem(31)->trigger();
        QCOMPARE(View(1).DisplayState, TDisplayState::Expanded);
        QCOMPARE(View(30).DisplayState, TDisplayState::Expanded);
        QVERIFY(scroll.value() > 0);
        QRect place = inView(Node(31));
        QVERIFY(place.isValid());
        QCOMPARE(place.top() + place.height(), pane.ClientHeight());

        // Already in view: no scrolling.
        const int scrolled = scroll.value();
        MenuItem(30)->trigger();
        QCOMPARE(scroll.value(), scrolled);

        // Above the view: back up until its top shows.
        MenuItem(1)->trigger();
        place = inView(Node(1));
        QVERIFY(place.isValid());
        QCOMPARE(place.top(), 0);
    }

    // Claim 6 hangs below both copies of claim 5 once the second copy has
    // taken over the subtree; only that one can be revealed.
    void claimsMenuTakesFirstRevealableNode() {
        OpenNew(QStringLiteral("two-parents.txt"),
                ClaimsText({"1. A pump.", "2. The pump of claim 1.", "3. A valve.",
                            "4. The valve of claim 3.", "5. The seal of claims 2 or 4.",
                            "6. The seal of claim 5."}));
        QVERIFY(View(5, 1).ExpandButton->isVisibleTo(window->sbClaimTree));
        View(5, 1).ExpandButton->click();
        window->btnCollapseAll->click();
        QCOMPARE(window->ClaimTree->NodesByClaim[6].size(), std::size_t(2));

        MenuItem(6)->trigger();
        QCOMPARE(View(6, 1).DisplayState, TDisplayState::Expanded);
        QVERIFY(View(6, 1).CaptionLabel->isVisibleTo(window->sbClaimTree));
        QCOMPARE(View(1).DisplayState, TDisplayState::Collapsed); // the other root stays shut
    }

    void treeButtons() {
        // No tree: nothing happens.
        window->btnExpandAll->click();
        window->btnCollapseAll->click();
        QVERIFY(window->ClaimTree == nullptr);
        QCOMPARE(TDialogs::BoxCount(), 0);

        OpenNew(QStringLiteral("pump.txt"), PumpText);
        window->btnCollapseAll->click();
        QCOMPARE(View(1).DisplayState, TDisplayState::Collapsed);
        QCOMPARE(View(3).DisplayState, TDisplayState::Collapsed);
        QCOMPARE(View(2).DisplayState, TDisplayState::Hidden);
        window->btnExpandAll->click();
        QCOMPARE(View(1).DisplayState, TDisplayState::Expanded);
        QCOMPARE(View(2).DisplayState, TDisplayState::Expanded);
        QCOMPARE(View(4).DisplayState, TDisplayState::Collapsed);
    }

    void newTwice() {
        const QString name = OpenNew(QStringLiteral("pump.txt"), PumpText);
        window->TabControl1->setCurrentIndex(1);
        for (int round = 0; round < 2; ++round) {
            window->New1Click();
            QCOMPARE(window->windowTitle(), QStringLiteral("Veltrum"));
            QVERIFY(!window->Save1->isEnabled());
            QVERIFY(!window->SaveAs1->isEnabled());
            QVERIFY(!window->cmInput->isEnabled());
            QVERIFY(!window->cmInput->isReadOnly());
            QVERIFY(window->cmInput->toPlainText().isEmpty());
            QVERIFY(!window->cmInput->document()->isModified());
            QVERIFY(window->DocumentFileName.isEmpty());
            QVERIFY(window->ClaimTree == nullptr);
            QCOMPARE(window->TabControl1->count(), 0);
            QCOMPARE(window->Label4->text(), ZeroCounts);
            QVERIFY(window->mnuClaims->actions().isEmpty());
            QVERIFY(!MenuShown()); // its visibility stays
            QCOMPARE(PaneTexts().size(), WelcomeLineCount + 2);
            QCOMPARE(window->TreePaneWidth(), (window->ClientWidth() / 3) * 2);
        }
        // Kept for the next document.
        QCOMPARE(window->LoadedFileName, name);
        QCOMPARE(window->InputText, PumpText);
        QCOMPARE(TDialogs::BoxCount(), 0);
    }

    // Each file is opened after a first, readable one.
    void open_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<std::string>("bytes");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("paneText");
        QTest::addColumn<std::string>("inputText");
        QTest::addColumn<QString>("counts");
        QTest::addColumn<bool>("damaged");
        const QString pumpPane = QString::fromStdString(Replaced(PumpText, "\r\n", "\n"));
        QTest::newRow("missing") << "missing.txt" << std::string() << false << QString()
                                 << std::string() << ZeroCounts << false;
        QTest::newRow("directory") << "folder" << std::string() << false << QString()
                                   << std::string() << ZeroCounts << false;
        QTest::newRow("empty") << "empty.txt" << std::string() << true << QString() << std::string()
                               << ZeroCounts << false;
        QTest::newRow("zero byte ends the text")
            << "zero.txt" << PumpText + Bytes("\0 5. Hidden.\r\n") << true << pumpPane << PumpText
            << Counts(2, 2, 4) << true;
        QTest::newRow("LF only") << "lf.txt" << Replaced(PumpText, "\r\n", "\n") << true << pumpPane
                                 << Replaced(PumpText, "\r\n", "\n") << Counts(2, 2, 4) << false;
        QTest::newRow("CR only") << "cr.txt" << Replaced(PumpText, "\r\n", "\r") << true << pumpPane
                                 << Replaced(PumpText, "\r\n", "\r") << Counts(2, 2, 4) << false;
        const QString degreePane = QString(pumpPane).replace("A valve", "A valve for 90\u00b0");
        const std::string utf8 = Replaced(PumpText, "A valve", "A valve for 90\xc2\xb0");
        QTest::newRow("UTF-8") << "utf8.txt" << utf8 << true << degreePane << utf8
                               << Counts(2, 2, 4) << false;
        const std::string ansi = Replaced(PumpText, "A valve", "A valve for 90\xb0");
        QTest::newRow("Windows-1252")
            << "ansi.txt" << ansi << true << degreePane << ansi << Counts(2, 2, 4) << false;
    }

    void open() {
        QFETCH(QString, name);
        QFETCH(std::string, bytes);
        QFETCH(bool, readable);
        QFETCH(QString, paneText);
        QFETCH(std::string, inputText);
        QFETCH(QString, counts);
        QFETCH(bool, damaged);
        const QString first = OpenNew(QStringLiteral("first.txt"), PumpText);
        QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("folder")));
        const QString fileName =
            name == "missing.txt" || name == "folder" ? dir->filePath(name) : Write(name, bytes);
        window->SetTreePaneWidth(100);
        if (!readable)
            TDialogs::SetNextAnswer(QMessageBox::Ok);

        Open(fileName);
        QCOMPARE(TDialogs::BoxCount(), readable ? 0 : 1);
        if (!readable) {
            const TDialogs::TBox box = TDialogs::LastBox();
            QCOMPARE(box.Text, QStringLiteral("Unable to open file\n") + fileName);
            QCOMPARE(box.Caption, QStringLiteral("ERROR"));
            QCOMPARE(box.Icon, QMessageBox::Critical);
            QCOMPARE(box.Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
        // A file that failed to open leaves the caption as it was, and Save
        // off, so that the empty pane cannot be written over it.
        QCOMPARE(window->windowTitle(),
                 QStringLiteral("Velkin - ") + (readable ? fileName : first));
        // A damaged document is shown read-only and cannot be saved.
        QCOMPARE(window->Save1->isEnabled(), readable && !damaged);
        QCOMPARE(window->SaveAs1->isEnabled(), readable && !damaged);
        QVERIFY(window->cmInput->isEnabled());
        QCOMPARE(window->cmInput->isReadOnly(), damaged);
        QCOMPARE(window->Label3->text().startsWith(QLatin1String("Input text (read-only: ")),
                 damaged);
        QCOMPARE(window->cmInput->toPlainText(), paneText);
        QCOMPARE(window->InputText, inputText);
        QCOMPARE(window->DocumentFileName, fileName);
        QCOMPARE(window->LoadedFileName, fileName);
        QVERIFY(!window->InputModified);
        QCOMPARE(window->Label4->text(), counts);
        QCOMPARE(ShowsNoClaimsNotice(), counts == ZeroCounts);
        QCOMPARE(window->TreePaneWidth(), (window->ClientWidth() / 3) * 2);
    }

    void openCancelled() {
        const QString name = OpenNew(QStringLiteral("pump.txt"), PumpText);
        const TClaimTree* tree = window->ClaimTree.get();
        Open(QString());
        QCOMPARE(window->ClaimTree.get(), tree);
        QCOMPARE(window->DocumentFileName, name);
        QCOMPARE(window->cmInput->toPlainText(),
                 QString::fromStdString(Replaced(PumpText, "\r\n", "\n")));
    }

    // Opened, edited or not, and saved: only what the edit changed differs.
    // An edit replaces the first match of "from" in the pane by "to"; a
    // character Windows-1252 lacks asks, and "answer" answers.
    void saveRoundTrip_data() {
        QTest::addColumn<std::string>("bytes");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("answer");
        QTest::addColumn<std::string>("saved");
        const int none = QMessageBox::NoButton;
        const auto same = [&](const char* Row, const std::string& Bytes) {
            QTest::newRow(Row) << Bytes << QString() << QString() << none << Bytes;
        };
        same("CR LF", PumpText);
        const std::string ansi = Bytes("90\xb0, claims\xa0"
                                       "1\x1e"
                                       "3 at 5\xba\r\n");
        same("Windows-1252 with no-break space and byte 30", ansi);
        QTest::newRow("Windows-1252, edited")
            << ansi << "claims"
            << "claims \u00e9" << none << Replaced(ansi, "claims", "claims \xe9");
        QTest::newRow("Windows-1252, a character it lacks: save as UTF-8")
            << ansi << "claims"
            << "claims \u03b1" << int(QMessageBox::Save)
            << std::string("90\xc2\xb0, claims \xce\xb1\xc2\xa0"
                           "1\x1e"
                           "3 at 5\xc2\xba\r\n");
        QTest::newRow("Windows-1252, a character it lacks: keep editing")
            << ansi << "claims"
            << "claims \u03b1" << int(QMessageBox::Cancel) << ansi;
        const std::string utf8 = "90\xc2\xb0, claims\xc2\xa0"
                                 "1 \xe2\x86\x92 3\r\n";
        same("UTF-8 with no-break space", utf8);
        same("LF only", Replaced(PumpText, "\r\n", "\n"));
        same("CR only", Replaced(PumpText, "\r\n", "\r"));
        same("no line end at the end", "1. A pump.\n2. A valve.");
        const std::string mixed = "1. A pump.\n2. A valve.\r\n3. A gear.\r4. A cam.\n";
        same("mixed line ends", mixed);
        QTest::newRow("mixed line ends, a line split: the new end is the most frequent")
            << mixed << "valve."
            << "valve.\n5. A rod." << none
            << Replaced(mixed, "valve.\r\n", "valve.\r\n5. A rod.\n");
        std::string crLfFirst = "1. A pump.\r\n2. A gear.\r\n3. A cam.\r\n";
        for (int claim = 4; claim <= 40; ++claim)
            crLfFirst += std::to_string(claim) + ". The pump of claim 1.\n";
        QTest::newRow("3 CR LF lines before 37 LF lines, a line added")
            << crLfFirst << "3. A cam."
            << "3. A cam.\n3a. A rod." << none
            << Replaced(crLfFirst, "3. A cam.\r\n", "3. A cam.\r\n3a. A rod.\n");
        // U+2028 within a line, U+2029 and U+FDD0 ending one.
        const std::string separators = "1. A pump\xe2\x80\xa8with a valve.\xe2\x80\xa9"
                                       "2. A gear.\xef\xb7\x90"
                                       "3. A cam.\n4. A rod.\n";
        same("UTF-8 line and paragraph separators, frame mark", separators);
        QTest::newRow("UTF-8 line and paragraph separators, a line added")
            << separators << "3. A cam."
            << "3. A cam.\n3a. A rod." << none
            << Replaced(separators, "3. A cam.\n", "3. A cam.\n3a. A rod.\n");
        // Never written: Save is off.
        same("zero byte", Bytes("a\r\n\0b\r\n"));
        const std::string marked = "\xef\xbb\xbf"
                                   "1. X\x1eray at 40\xc2\xb0 \xe2\x86\x92 cas\x1fing.\r\n";
        same("UTF-8 with mark, bytes 30 and 31", marked);
        QTest::newRow("UTF-8 with mark, edited")
            << marked << "at"
            << "\u03b1t" << none << Replaced(marked, "at", "\xce\xb1t");
        // "1. X", byte 30, "ray 40°", CR LF, "€".
        const std::string le = Bytes("\xff\xfe"
                                     "1\0.\0 \0X\0\x1e\0r\0a\0y\0 \0"
                                     "4\0"
                                     "0\0\xb0\0\r\0\n\0\xac\x20");
        same("UTF-16 LE with mark", le);
        QTest::newRow("UTF-16 LE with mark, a line added") << le << "\u20ac"
                                                           << "\u20ac\n2." << none
                                                           << le + Bytes("\r\0\n\0"
                                                                         "2\0.\0");
        const auto swapped = [](const std::string& Le) {
            std::string be = Le.substr(2);
            for (std::size_t i = 0; i + 1 < be.size(); i += 2)
                std::swap(be[i], be[i + 1]);
            return "\xfe\xff" + be;
        };
        same("UTF-16 BE with mark", swapped(le));
        QTest::newRow("UTF-16 BE with mark, a line added") << swapped(le) << "\u20ac"
                                                           << "\u20ac\n2." << none
                                                           << swapped(le + Bytes("\r\0\n\0"
                                                                                 "2\0.\0"));
    }

    void saveRoundTrip() {
        QFETCH(std::string, bytes);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, answer);
        QFETCH(std::string, saved);
        const QString name = OpenNew(QStringLiteral("doc.txt"), bytes);
        if (!from.isEmpty()) {
            QTextCursor cursor = window->cmInput->document()->find(from);
            QVERIFY(!cursor.isNull());
            cursor.insertText(to);
        }
        if (answer != QMessageBox::NoButton)
            TDialogs::SetNextAnswer(QMessageBox::StandardButton(answer));
        window->Save1->trigger();
        QCOMPARE(TDialogs::BoxCount(), answer == QMessageBox::NoButton ? 0 : 1);
        QCOMPARE(ReadBytes(name), saved);
        // Kept editing: the text still differs from the file.
        const QString mark = answer == QMessageBox::Cancel ? QStringLiteral("*") : QString();
        QCOMPARE(window->windowTitle(), QStringLiteral("Velkin - ") + mark + name);
    }

    // The question names the first character Windows-1252 lacks; a document
    // saved as UTF-8 stays UTF-8 without asking again.
    void saveAsksBeforeUtf8() {
        const QString name = OpenNew(QStringLiteral("ansi.txt"), "90\xb0\r\n");
        window->cmInput->moveCursor(QTextCursor::End);
        TypeText(QStringLiteral("\u2192"));
        QVERIFY(window->InputModified);
        TDialogs::SetNextAnswer(QMessageBox::Cancel);
        window->Save1Click();
        QCOMPARE(TDialogs::LastBox().Text,
                 QStringLiteral("The text has characters that Windows-1252 cannot hold, the "
                                "first \"\u2192\" (U+2192) on line 2.\n\nSave the file as UTF-8 "
                                "instead? Programs that read it as Windows-1252 would show its "
                                "other accented letters and signs wrongly."));
        QVERIFY(window->InputModified);
        QCOMPARE(ReadBytes(name), std::string("90\xb0\r\n"));
        // Save As answered the same keeps the document's name.
        const QString other = dir->filePath(QStringLiteral("other.txt"));
        TDialogs::SetNextFileName(other);
        TDialogs::SetNextAnswer(QMessageBox::Cancel);
        window->SaveAs1Click();
        QCOMPARE(window->DocumentFileName, name);
        QCOMPARE(ReadBytes(other), std::string("<missing>"));
        TDialogs::SetNextAnswer(QMessageBox::Save);
        window->Save1Click();
        QVERIFY(!window->InputModified);
        QVERIFY(!window->cmInput->document()->isModified()); // the text is the file's
        QCOMPARE(ReadBytes(name), std::string("90\xc2\xb0\r\n\xe2\x86\x92"));
        Type(Qt::Key_Backspace);
        window->Save1Click();
        QCOMPARE(TDialogs::BoxCount(), 3);
        QCOMPARE(ReadBytes(name), std::string("90\xc2\xb0\r\n"));
        // Nothing is analysed again.
        QCOMPARE(window->InputText, std::string("90\xb0\r\n"));
    }

    void saveAs() {
        const QString first = OpenNew(QStringLiteral("first.txt"), PumpText);
        QDir(dir->path()).mkdir(QStringLiteral("other"));
        const QString second = dir->filePath(QStringLiteral("other/second.txt"));
        window->cmInput->moveCursor(QTextCursor::End);
        Type(Qt::Key_X);

        TDialogs::SetNextFileName(QString());
        window->SaveAs1Click();
        QCOMPARE(window->DocumentFileName, first);
        QCOMPARE(window->SaveDialog1->directory(), QDir(dir->path()));
        QVERIFY(window->InputModified);

        TDialogs::SetNextFileName(second);
        window->SaveAs1Click();
        QCOMPARE(TDialogs::BoxCount(), 0);
        QCOMPARE(ReadBytes(second), PumpText + "x");
        QCOMPARE(ReadBytes(first), PumpText);
        QCOMPARE(window->DocumentFileName, second);
        QCOMPARE(window->LoadedFileName, second);
        QCOMPARE(window->windowTitle(), QStringLiteral("Velkin - ") + second);
        QVERIFY(!window->InputModified);
    }

    void saveFailureShowsMessageAndKeepsMark() {
        OpenNew(QStringLiteral("pump.txt"), PumpText);
        Type(Qt::Key_X);
        const QString name = dir->filePath(QStringLiteral("missing/pump.txt"));
        window->DocumentFileName = name;
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        window->Save1->trigger();
        QCOMPARE(TDialogs::BoxCount(), 1);
        QCOMPARE(TDialogs::LastBox().Text, QStringLiteral("Cannot create file ") + name + '.');
        QCOMPARE(TDialogs::LastBox().Caption, QStringLiteral("Velkin"));
        QVERIFY(window->InputModified);
        QVERIFY(window->windowTitle().startsWith(QStringLiteral("Velkin - *")));
    }

    // After typing into an opened file, every way of dropping it asks first;
    // Yes and Cancel leave everything as it was.
    void unsavedChangesQuestion_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("answer");
        for (const char* path :
             {"New", "Open", "Recent", "Drop", "Example", "New draft", "Exit", "Close"}) {
            QTest::addRow("%s, Yes", path) << path << int(QMessageBox::Yes);
            QTest::addRow("%s, No", path) << path << int(QMessageBox::No);
            QTest::addRow("%s, Cancel", path) << path << int(QMessageBox::Cancel);
        }
    }

    void unsavedChangesQuestion() {
        QFETCH(QString, path);
        QFETCH(int, answer);
        const QString other = OpenNew(QStringLiteral("other.txt"), "1. Other.\r\n");
        const QString name = OpenNew(QStringLiteral("pump.txt"), PumpText);
        Type(Qt::Key_X);
        TDialogs::SetNextAnswer(QMessageBox::StandardButton(answer));
        if (path == "Open")
            TDialogs::SetNextFileName(other);

        if (path == "New") {
            window->New1->trigger();
        } else if (path == "Open") {
            window->Open1->trigger();
        } else if (path == "Recent") {
            for (QAction* item : window->RecentFiles1->mnuRecentFiles->actions()) {
                if (item->data().toString() == other) {
                    item->trigger();
                    break;
                }
            }
        } else if (path == "Drop") {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(other)});
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(window.get(), &enter);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(window.get(), &drop);
        } else if (path == "New draft") {
            window->Drafting1->NewDraft1->trigger();
        } else if (path == "Example")
            window->Example1->trigger();
        else if (path == "Exit")
            window->Exit1->trigger();
        else
            window->close();

        QCOMPARE(TDialogs::BoxCount(), 1);
        const TDialogs::TBox box = TDialogs::LastBox();
        QCOMPARE(box.Text, QStringLiteral("Input file\n") + name +
                               "\nhas unsaved changes. Would you like to save it first?");
        QCOMPARE(box.Caption, QStringLiteral("WARNING"));
        QCOMPARE(box.Icon, QMessageBox::Question);
        QCOMPARE(box.Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

        if (answer != QMessageBox::No) {
            QVERIFY(window->isVisible());
            QCOMPARE(window->windowTitle(), QStringLiteral("Velkin - *") + name);
            QCOMPARE(window->DocumentFileName, name);
            QVERIFY(window->cmInput->toPlainText().startsWith(QLatin1Char('x')));
            QVERIFY(window->InputModified);
            return;
        }
        const QMap<QString, QString> captions = {{"New", "Veltrum"},
                                                 {"Open", "Velkin - " + other},
                                                 {"Recent", "Velkin - " + other},
                                                 {"Drop", "Velkin - " + other},
                                                 {"Example", BuiltinExample(1).WindowCaption},
                                                 {"New draft", "Velkin - Untitled"}};
        if (captions.contains(path)) {
            QVERIFY(window->isVisible());
            QCOMPARE(window->windowTitle(), captions[path]);
        } else {
            QVERIFY(!window->isVisible());
            QVERIFY(window->ClaimTree == nullptr);
        }
    }

    // The question needs both marks: typed characters and a changed text.
    void noQuestion_data() {
        QTest::addColumn<QString>("setup");
        QTest::newRow("untouched file") << "open";
        QTest::newRow("saved after typing") << "open, type, save";
        QTest::newRow("typing into an example") << "example, type";
        QTest::newRow("after New") << "new, type";
    }

    void noQuestion() {
        QFETCH(QString, setup);
        const QString name = Write(QStringLiteral("pump.txt"), PumpText);
        for (const QString& step : setup.split(QStringLiteral(", "))) {
            if (step == "open")
                Open(name);
            else if (step == "example")
                window->Example2->trigger();
            else if (step == "new")
                window->New1->trigger();
            else if (step == "type")
                Type(Qt::Key_X);
            else if (step == "save")
                window->Save1->trigger();
        }
        QVERIFY(!window->InputModified);
        const QString text = window->cmInput->toPlainText();
        TTextEncoding encoding{};
        if (setup == "example, type") // read-only: the key changed nothing
            QCOMPARE(text, DecodeDocumentText(BuiltinExampleText(2), encoding));
        window->New1->trigger();
        QCOMPARE(TDialogs::BoxCount(), 0);
        QCOMPARE(window->windowTitle(), QStringLiteral("Veltrum"));
    }

    // The caption marks a text that differs from its file, and only then:
    // undo back to the saved text takes the mark away, further back brings
    // it again. NAME is the opened file, OTHER the name saved as.
    void modifiedMark_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("caption");
        QTest::newRow("opened") << "open"
                                << "Velkin - NAME";
        QTest::newRow("typed") << "open, type"
                               << "Velkin - *NAME";
        QTest::newRow("typed, undone") << "open, type, undo"
                                       << "Velkin - NAME";
        QTest::newRow("saved") << "open, type, save"
                               << "Velkin - NAME";
        QTest::newRow("undone past the save") << "open, type, save, undo"
                                              << "Velkin - *NAME";
        QTest::newRow("redone to the save") << "open, type, save, undo, redo"
                                            << "Velkin - NAME";
        QTest::newRow("redone past the save") << "open, type, undo, save, redo"
                                              << "Velkin - *NAME";
        QTest::newRow("typed after the save") << "open, type, save, type"
                                              << "Velkin - *NAME";
        QTest::newRow("saved as") << "open, type, save as"
                                  << "Velkin - OTHER";
        QTest::newRow("new draft typed") << "draft, type"
                                         << "Velkin - *Untitled";
        QTest::newRow("example typed")
            << "example, type" << QString(BuiltinExample(1).WindowCaption);
        QTest::newRow("dropped by New") << "open, type, new"
                                        << "Veltrum";
    }

    void modifiedMark() {
        QFETCH(QString, steps);
        QFETCH(QString, caption);
        const QString name = Write(QStringLiteral("pump.txt"), PumpText);
        const QString other = dir->filePath(QStringLiteral("other.txt"));
        for (const QString& step : steps.split(QStringLiteral(", "))) {
            if (step == "open") {
                Open(name);
            } else if (step == "type") {
                Type(Qt::Key_End, Qt::ControlModifier);
                Type(Qt::Key_X);
            } else if (step == "undo") {
                window->cmInput->undo();
            } else if (step == "redo") {
                window->cmInput->redo();
            } else if (step == "save") {
                window->Save1->trigger();
            } else if (step == "save as") {
                TDialogs::SetNextFileName(other);
                window->SaveAs1->trigger();
            } else if (step == "draft") {
                window->Drafting1->NewDraft1->trigger();
            } else if (step == "example") {
                window->Example1->trigger();
            } else if (step == "new") {
                TDialogs::SetNextAnswer(QMessageBox::No);
                window->New1->trigger();
            }
        }
        QCOMPARE(window->windowTitle(),
                 QString(caption).replace("NAME", name).replace("OTHER", other));
    }

    void keys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("marks");
        const int ctrl = Qt::ControlModifier;
        const int shift = Qt::ShiftModifier;
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << true;
        QTest::newRow("space") << int(Qt::Key_Space) << 0 << true;
        QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << true;
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << true;
        QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << true;
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << ctrl << true;
        QTest::newRow("Ctrl+X") << int(Qt::Key_X) << ctrl << true;
        QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << ctrl << true;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << true;
        QTest::newRow("Left") << int(Qt::Key_Left) << 0 << false;
        QTest::newRow("Page Down") << int(Qt::Key_PageDown) << 0 << false;
        QTest::newRow("Shift+Delete") << int(Qt::Key_Delete) << shift << true;
        QTest::newRow("Shift+Insert") << int(Qt::Key_Insert) << shift << true;
    }

    void keys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, marks);
        OpenNew(QStringLiteral("pump.txt"), PumpText);
        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        window->cmInput->moveCursor(QTextCursor::Down);
        window->cmInput->moveCursor(QTextCursor::Right, QTextCursor::KeepAnchor);
        Type(key, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(window->InputModified, marks);
        // The tree stays as it was read.
        QCOMPARE(window->InputText, PumpText);
    }

    void ctrlSAfterNewDoesNothing() {
        ShowActive();
        const QString name = OpenNew(QStringLiteral("pump.txt"), PumpText);
        Type(Qt::Key_X);
        TDialogs::SetNextAnswer(QMessageBox::No);
        window->New1Click();
        TDialogs::Reset();
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(TDialogs::BoxCount(), 0);
        QCOMPARE(ReadBytes(name), PumpText);
    }

    // Each built-in example, chosen twice: the same picture, no question.
    void examples_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QStringList>("tabRoots");
        QTest::addColumn<QString>("counts");
        QTest::newRow("1") << 1 << "Veltrum - Example (US Patent 4777771)"
                           << "US patent 4777771.txt" << Numbered("Claim %1", {1, 23})
                           << Counts(2, 22, 24);
        QTest::newRow("2") << 2 << "Veltrum - Example (Patent 7167713)"
                           << "7167713.txt" << Numbered("Claim %1", {1, 16, 28, 39, 41, 43, 58})
                           << Counts(7, 64, 71);
        QTest::newRow("3") << 3 << "Veltrum - Example (Patent 7271765)"
                           << "7271765.txt"
                           << Numbered("Claim %1", {1, 36, 37, 39, 43, 51, 52, 66, 68, 78})
                           << Counts(10, 68, 78);
        QTest::newRow("4") << 4 << "Veltrum - Example (Patent p70074ep00)"
                           << "p70074ep00.txt" << Numbered("Claim %1", {1, 21})
                           << Counts(2, 21, 23);
        QTest::newRow("5") << 5 << "Veltrum - Example (Patent p80278ep00)"
                           << "p80278ep00.txt" << Numbered("Claim %1", {1, 11, 12, 16, 26, 27})
                           << Counts(6, 35, 41);
    }

    void examples() {
        QFETCH(int, number);
        QFETCH(QString, caption);
        QFETCH(QString, fileName);
        QFETCH(QStringList, tabRoots);
        QFETCH(QString, counts);
        QAction* item = window->Example->actions().at(number - 1);
        const int total = counts.section(QLatin1Char(' '), -1).toInt();
        OpenNew(QStringLiteral("pump.txt"), PumpText);
        window->TabControl1->setCurrentIndex(1);

        for (int round = 0; round < 2; ++round) {
            item->trigger();
            QCOMPARE(TDialogs::BoxCount(), 0);
            QCOMPARE(window->windowTitle(), caption);
            QCOMPARE(window->DocumentFileName, window->ProgramDir + fileName);
            QCOMPARE(Tabs(), QStringList(QStringLiteral("All claims")) + tabRoots);
            QCOMPARE(window->TabControl1->currentIndex(), 0);
            QCOMPARE(window->Label4->text(), counts);
            QVERIFY(MenuShown());
            QCOMPARE(MenuNames(), Numbered("mnuClaim%1", 1, total));
            QCOMPARE(window->InputText, BuiltinExampleText(number));
            TTextEncoding encoding{};
            // Raw: the plain text would show no-break spaces as spaces.
            QCOMPARE(window->cmInput->document()->toRawText().replace(QChar::ParagraphSeparator,
                                                                      QLatin1Char('\n')),
                     DecodeDocumentText(BuiltinExampleText(number), encoding));
            QVERIFY(window->cmInput->isEnabled());
            QVERIFY(window->cmInput->isReadOnly());
            QVERIFY(!window->Save1->isEnabled());
            QVERIFY(!window->SaveAs1->isEnabled());
            QVERIFY(!window->InputModified);
            QCOMPARE(window->TreePaneWidth(), (window->OuterWidth() * 2) / 3);
        }
    }

    // Every way of changing the text marks the document, so that dropping
    // it asks first.
    void everyEditAsks_data() {
        QTest::addColumn<QString>("edit");
        for (const char* edit : {"Delete", "Backspace", "menu cut", "menu paste", "drop",
                                 "undo after save", "redo after save"})
            QTest::newRow(edit) << edit;
    }

    void everyEditAsks() {
        QFETCH(QString, edit);
        const QString name = OpenNew(QStringLiteral("pump.txt"), PumpText);
        QPlainTextEdit& pane = *window->cmInput;
        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        pane.moveCursor(QTextCursor::End);
        pane.moveCursor(QTextCursor::Left, QTextCursor::KeepAnchor);
        const auto menuItem = [&pane](const char* Name) {
            const std::unique_ptr<QMenu> menu(pane.createStandardContextMenu());
            QAction* item = menu->findChild<QAction*>(QLatin1String(Name));
            if (item != nullptr)
                item->trigger();
            return item != nullptr;
        };
        if (edit.endsWith(QLatin1String("after save"))) {
            Type(Qt::Key_Delete);
            if (edit.startsWith(QLatin1String("redo")))
                pane.undo();
            window->Save1Click();
            QVERIFY(!window->InputModified);
            if (edit.startsWith(QLatin1String("redo")))
                pane.redo();
            else
                pane.undo();
        } else if (edit == "Delete") {
            Type(Qt::Key_Delete);
        } else if (edit == "Backspace") {
            Type(Qt::Key_Backspace);
        } else if (edit == "menu cut") {
            QVERIFY(menuItem("edit-cut"));
        } else if (edit == "menu paste") {
            QVERIFY(menuItem("edit-paste"));
        } else {
            QMimeData dragged;
            dragged.setText(QStringLiteral("dropped"));
            // As a drag from another program arrives: enter, move, drop.
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dragged, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(pane.viewport(), &enter);
            QDragMoveEvent move(QPoint(5, 5), Qt::CopyAction, &dragged, Qt::LeftButton,
                                Qt::NoModifier);
            QApplication::sendEvent(pane.viewport(), &move);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dragged, Qt::LeftButton,
                            Qt::NoModifier);
            QApplication::sendEvent(pane.viewport(), &drop);
            QVERIFY(pane.toPlainText().contains(QLatin1String("dropped")));
        }
        QVERIFY(window->InputModified);
        TDialogs::SetNextAnswer(QMessageBox::Yes);
        window->New1->trigger();
        QCOMPARE(TDialogs::BoxCount(), 1);
        QCOMPARE(window->DocumentFileName, name);
    }

    // A cut or binary file opens read-only and Ctrl+S explains instead of
    // writing it.
    void damagedDocumentIsNeverWritten_data() {
        QTest::addColumn<std::string>("bytes");
        QTest::addColumn<QString>("caption");
        QTest::newRow("zero byte")
            << PumpText + Bytes("\0\x89\x01") << "Input text (read-only: cut at a zero byte)";
        QTest::newRow("not text") << Bytes("\x7f"
                                           "ELF\x02\x01\x01\x03\x05\x06")
                                  << "Input text (read-only: not plain text)";
    }

    void damagedDocumentIsNeverWritten() {
        QFETCH(std::string, bytes);
        QFETCH(QString, caption);
        ShowActive();
        const QString name = OpenNew(QStringLiteral("damaged.txt"), bytes);
        QCOMPARE(window->Label3->text(), caption);
        window->cmInput->setFocus();
        Type(Qt::Key_X);
        QVERIFY(!window->InputModified);
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(TDialogs::BoxCount(), 1);
        QVERIFY(TDialogs::LastBox().Text.endsWith(name));
        // Save As explains too, before it asks for a name.
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        window->SaveAs1Click();
        QCOMPARE(TDialogs::BoxCount(), 2);
        QCOMPARE(window->DocumentFileName, name);
        QCOMPARE(ReadBytes(name), bytes);

        // The next document is whole again: Ctrl+S writes it.
        const QString good = OpenNew(QStringLiteral("good.txt"), PumpText);
        QCOMPARE(window->Label3->text(), QStringLiteral("Input text"));
        window->cmInput->moveCursor(QTextCursor::End);
        Type(Qt::Key_X);
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(TDialogs::BoxCount(), 2);
        QCOMPARE(ReadBytes(good), PumpText + "x");
    }
};

VELTRUM_APP_TEST_MAIN(TestfrMainDocuments)
#include "frmMainDocumentsTest.moc"
