// The find bar: occurrences in the text, boxes marked, stepping through the
// claims that match, and leaving the document as it was.

#include "FindBar.h"

#include "AppTestMain.h"
#include "CheckDisplay.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "DocumentView.h"
#include "DraftingTools.h"
#include "ReadingChoice.h"
#include "ShownTree.h"
#include "TreeDrawing.h"
#include "frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

const QString ExchangerClaims =
    QStringLiteral("Heat exchanger\n"
                   "\n"
                   "We claim:\n"
                   "1. A heat exchanger with a Café plate.\n"
                   "2. The exchanger of claim 1, the plate of cafe brass.\n"
                   "3. The exchanger of claim 2, with a CAFÉ seal.\n"
                   "4. A pump.\n"
                   "5. The pump of claim 4, with a plate.\n");

using TClaims = std::vector<int32_t>;

// "A pump with a valve " again and again, Length characters in all: three
// occurrences of "a" in every twenty characters.
QString PumpLine(qsizetype Length) {
    QString line;
    while (line.size() < Length)
        line += QStringLiteral("A pump with a valve ");
    line.truncate(Length);
    return line;
}

// No tree yet: the welcome page, or a text not analysed.
class TNoTree final : public TShownTree {
public:
    const TClaimTree* Tree() const override { return nullptr; }
    unsigned BoxMarks(int32_t) const override { return 0; }
    void SetBoxMarks(std::unordered_map<int32_t, unsigned> Marks) override {
        MarkedClaims = Marks.size();
    }
    bool RevealClaim(int32_t) override {
        ++Reveals;
        return false;
    }
    QWidget* DrawingArea() const override { return nullptr; }
    TClaimTreeNode* BoxAt(QPoint) const override { return nullptr; }
    TExportTree ExportRows(bool) const override { return {}; }
    int DrawingWidth() const override { return 0; }
    const TImageList& Glyphs() const override { std::abort(); }
    QString CountsText() const override { return {}; }
    TViewPlace ViewPlace() const override { return {}; }
    void RestoreViewPlace(const TViewPlace&) override {}

    std::size_t MarkedClaims = 0;
    int Reveals = 0;
};

// Counts the repaints of the control it watches.
class TPaintCount final : public QObject {
public:
    int Count = 0;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() == QEvent::Paint)
            ++Count;
        return QObject::eventFilter(Watched, Event);
    }
};

} // namespace

class FindBarTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TfrMain> window;
    TFindBar* bar = nullptr;

    std::vector<int32_t> FoundMarks() const {
        std::vector<int32_t> marked;
        for (int32_t claim = 1; claim <= 5; ++claim) {
            if (window->sbClaimTree->BoxMarks(claim) & static_cast<unsigned>(TBoxMark::Found))
                marked.push_back(claim);
        }
        return marked;
    }

    const TClaimTreeNode& Node(int Claim) const {
        return *window->ClaimTree->NodesByClaim[Claim].front();
    }
    const TNodeView& View(int Claim) const { return window->ClaimDrawing->View(Node(Claim)); }

private slots:
    void init() {
        window = std::make_unique<TfrMain>();
        frMain = window.get();
        window->WasActivated = true;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->cmInput->setEnabled(true);
        window->cmInput->setPlainText(ExchangerClaims);
        window->InputText = ExchangerClaims.toStdString();
        window->AnalyseInput();
        bar = window->FindBar1;
    }

    void cleanup() { window.reset(); }

    void findsTextAndClaims_data() {
        QTest::addColumn<QString>("needle");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<int>("matches");
        QTest::addColumn<TClaims>("claims");
        QTest::newRow("any case, accent kept") << "café" << false << 2 << TClaims{1, 3};
        QTest::newRow("no accent finds no accent") << "cafe" << false << 1 << TClaims{2};
        QTest::newRow("case matched") << "Café" << true << 1 << TClaims{1};
        QTest::newRow("several claims") << "plate" << false << 3 << TClaims{1, 2, 5};
        QTest::newRow("title counts, claims only") << "EXCHANGER" << false << 4 << TClaims{1, 2, 3};
        QTest::newRow("nothing") << "valve" << false << 0 << TClaims{};
    }

    void findsTextAndClaims() {
        QFETCH(QString, needle);
        QFETCH(bool, matchCase);
        QFETCH(int, matches);
        QFETCH(TClaims, claims);
        window->sbClaimTree->SetBoxMarks({{4, static_cast<unsigned>(TBoxMark::Problem)}});
        bar->Find1->trigger();
        QVERIFY(bar->isVisible());
        bar->cbMatchCase->setChecked(matchCase);
        bar->edFind->setText(needle);
        bar->Refresh();
        QCOMPARE(bar->MatchCount(), matches);
        QCOMPARE(bar->MatchingClaims(), claims);
        QCOMPARE(FoundMarks(), claims);
        QCOMPARE(window->cmInput->extraSelections().size(), matches);
        // Marks of other kinds stay.
        QCOMPARE(window->sbClaimTree->BoxMarks(4) & static_cast<unsigned>(TBoxMark::Problem),
                 static_cast<unsigned>(TBoxMark::Problem));
    }

    void stepsRevealCollapsedBoxes() {
        window->btnCollapseAllClick();
        QCOMPARE(View(2).DisplayState, TDisplayState::Hidden);
        bar->Find1->trigger();
        QTest::keyClicks(bar->edFind, QStringLiteral("plate"));
        bar->Refresh();
        const QString text = window->cmInput->toPlainText();

        QTest::keyClick(bar->edFind, Qt::Key_Return);
        QTest::keyClick(bar->edFind, Qt::Key_Return);
        QVERIFY(View(2).DisplayState != TDisplayState::Hidden);
        QCOMPARE(View(1).DisplayState, TDisplayState::Expanded);
        QCOMPARE(window->cmInput->textCursor().position(),
                 text.indexOf(QStringLiteral("plate of cafe")));
        QTest::keyClick(bar->edFind, Qt::Key_Return);
        QVERIFY(View(5).DisplayState != TDisplayState::Hidden);
        QCOMPARE(View(4).DisplayState, TDisplayState::Expanded);
        QCOMPARE(window->cmInput->textCursor().position(),
                 text.lastIndexOf(QStringLiteral("plate")));
        // Round to the first, and back with Shift+Enter.
        QTest::keyClick(bar->edFind, Qt::Key_Return);
        QCOMPARE(window->cmInput->textCursor().position(), text.indexOf(QStringLiteral("plate")));
        QTest::keyClick(bar->edFind, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(window->cmInput->textCursor().position(),
                 text.lastIndexOf(QStringLiteral("plate")));
    }

    // Every new analysis draws new boxes; the open bar finds its text in the
    // new claims and marks them at once. Claim 4 gets a plate where the text
    // changes.
    void analysisKeepsTheMarks_data() {
        QTest::addColumn<QString>("analysis");
        QTest::addColumn<TClaims>("claims");
        QTest::newRow("analyse again") << "analyse again" << TClaims{1, 2, 4, 5};
        QTest::newRow("as you type") << "as you type" << TClaims{1, 2, 4, 5};
        QTest::newRow("open") << "open" << TClaims{1, 2, 4, 5};
        QTest::newRow("reading") << "reading" << TClaims{1, 2, 5};
        QTest::newRow("checks") << "checks" << TClaims{1, 2, 5};
    }

    void analysisKeepsTheMarks() {
        QFETCH(QString, analysis);
        QFETCH(TClaims, claims);
        const QString pumpLine = QStringLiteral("4. A pump.");
        QString platedPump = ExchangerClaims;
        platedPump.replace(pumpLine, QStringLiteral("4. A pump with a plate."));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("exchanger.txt"));
        {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(platedPump.toUtf8());
        }
        bar->Find1->trigger();
        QTest::keyClicks(bar->edFind, QStringLiteral("plate"));
        bar->Refresh();
        QCOMPARE(FoundMarks(), (TClaims{1, 2, 5}));
        if (analysis == QLatin1String("analyse again")) {
            window->cmInput->setPlainText(platedPump);
            window->Drafting1->AnalyseAgain1->trigger();
        } else if (analysis == QLatin1String("as you type")) {
            window->Drafting1->AnalyseAsYouType1->setChecked(true);
            QTextCursor cursor(window->cmInput->document());
            cursor.setPosition(static_cast<int>(ExchangerClaims.indexOf(pumpLine) + 9));
            window->cmInput->setTextCursor(cursor);
            QTest::keyClicks(window->cmInput, QStringLiteral(" with a plate"));
            QCOMPARE(window->cmInput->toPlainText(), platedPump);
            QVERIFY(window->Drafting1->tmAnalyse->isActive());
            QTRY_VERIFY(!window->Drafting1->tmAnalyse->isActive());
        } else if (analysis == QLatin1String("open")) {
            QVERIFY(window->OpenDocument(file));
        } else if (analysis == QLatin1String("reading")) {
            window->Readings1->btnReadingClick();
        } else {
            // Off and on again: the remembered setting stays as it was.
            window->ClaimChecks1->CheckClaims1->trigger();
            window->ClaimChecks1->CheckClaims1->trigger();
        }
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->MatchingClaims(), claims);
        QCOMPARE(FoundMarks(), claims);
    }

    // Marks follow the field as it is typed in, character by character, and
    // stay through F5, beside the problem marks. Backspace is "<".
    void marksFollowTheField_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<TClaims>>("marked");
        QTest::newRow("narrowing") << "pum" << QList<TClaims>{{1, 2, 4, 5}, {4, 5}, {4, 5}};
        QTest::newRow("widening again") << "sea<<" << QList<TClaims>{{2, 3}, {3}, {3}, {3}, {2, 3}};
    }

    void marksFollowTheField() {
        QFETCH(QString, keys);
        QFETCH(QList<TClaims>, marked);
        bar->Find1->trigger();
        // The boxes' controls leave their repaints to the drawing's area: new
        // marks are seen only once it is repainted.
        TPaintCount paints;
        window->sbClaimTree->Content()->installEventFilter(&paints);
        for (qsizetype i = 0; i < keys.size(); ++i) {
            paints.Count = 0;
            if (keys[i] == u'<')
                QTest::keyClick(bar->edFind, Qt::Key_Backspace);
            else
                QTest::keyClick(bar->edFind, keys[i].toLatin1());
            QTRY_COMPARE(FoundMarks(), marked[i]);
            QTRY_VERIFY(paints.Count > 0);
        }
        // Claim 1 now refers to a later claim: a problem.
        QString edited = ExchangerClaims;
        edited.replace(QStringLiteral("1. A heat exchanger with"),
                       QStringLiteral("1. The heat exchanger of claim 4 with"));
        window->cmInput->setPlainText(edited);
        QTest::keyClick(bar->edFind, Qt::Key_F5);
        QVERIFY(window->InputText.find("of claim 4 with") != std::string::npos);
        QCOMPARE(FoundMarks(), marked.constLast());
        QCOMPARE(window->sbClaimTree->BoxMarks(1) & static_cast<unsigned>(TBoxMark::Problem),
                 static_cast<unsigned>(TBoxMark::Problem));
        QVERIFY(bar->isVisible());
    }

    // The bar has room of its own above the text: it covers neither the
    // text's first line nor the caption, and gives the room back when closed.
    void barTakesItsOwnRoom() {
        const auto inWindow = [this](const QWidget* Control, QRect Rect) {
            return Rect.translated(Control->mapTo(window.get(), QPoint()));
        };
        const QRect pane = inWindow(window->cmInput, window->cmInput->rect());
        bar->Find1->trigger();
        QTRY_VERIFY(inWindow(window->cmInput, window->cmInput->rect()).top() > pane.top());
        const QRect shown = inWindow(bar, bar->rect());
        const QRect firstLine =
            inWindow(window->cmInput->viewport(),
                     window->cmInput->cursorRect(QTextCursor(window->cmInput->document())));
        QVERIFY(!shown.intersects(firstLine));
        QVERIFY(!shown.intersects(inWindow(window->cmInput, window->cmInput->rect())));
        QVERIFY(!shown.intersects(inWindow(window->Label3, window->Label3->rect())));
        QCOMPARE(shown.left(), pane.left());
        QCOMPARE(shown.width(), pane.width());
        QTest::keyClick(bar->edFind, Qt::Key_Escape);
        QTRY_COMPARE(inWindow(window->cmInput, window->cmInput->rect()), pane);
    }

    // The bar works on the text alone while there is no tree to mark.
    void findsTextWithoutATree() {
        QWidget host;
        QMenu tools;
        QVBoxLayout column(&host);
        QPlainTextEdit text(&host);
        column.addWidget(&text);
        text.setPlainText(ExchangerClaims);
        TTextPaneView document(text);
        TNoTree shown;
        TFindBar found(document, shown, tools, host);
        column.insertWidget(0, &found);
        host.show();
        found.Open();
        QTest::keyClicks(found.edFind, QStringLiteral("plate"));
        found.Refresh();
        QCOMPARE(found.MatchCount(), 3);
        QVERIFY(found.MatchingClaims().empty());
        QCOMPARE(text.extraSelections().size(), 3);
        QTest::keyClick(found.edFind, Qt::Key_Return);
        QCOMPARE(shown.Reveals, 0);
        found.TreeChanged();
        QCOMPARE(shown.MarkedClaims, std::size_t{0});
        QCOMPARE(found.lblMatches->text(), QStringLiteral("3 matches in 0 claims"));
        // A pane too narrow for the count beside the field gives it a line of
        // its own, never cut short.
        for (const int width : {900, 300}) {
            host.resize(width, 200);
            QCoreApplication::processEvents();
            QVERIFY(found.lblMatches->width() >= found.lblMatches->sizeHint().width());
            QVERIFY(found.rect().contains(found.lblMatches->geometry()));
        }
    }

    // Counting goes on across the slices' edges as if in one go.
    void countsAcrossSlices_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("needle");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<qsizetype>("span");
        QTest::addColumn<qint64>("count");
        QTest::newRow("one across an edge") << "xxabxx"
                                            << "ab" << true << qsizetype{3} << qint64{1};
        QTest::newRow("needle longer than a slice") << "valve valve"
                                                    << "valve" << true << qsizetype{1} << qint64{2};
        QTest::newRow("side by side, no overlap") << "aaaaa"
                                                  << "aa" << true << qsizetype{2} << qint64{2};
        QTest::newRow("any case, accents kept") << "Café CAFÉ cafe"
                                                << "café" << false << qsizetype{4} << qint64{2};
        QTest::newRow("case matched") << "Café CAFÉ"
                                      << "Café" << true << qsizetype{100} << qint64{1};
        QTest::newRow("at the very end") << "xyzab"
                                         << "ab" << true << qsizetype{4} << qint64{1};
        QTest::newRow("empty needle") << "abc"
                                      << "" << false << qsizetype{1} << qint64{0};
        QTest::newRow("long text")
            << PumpLine(200'000) << "A" << false << qsizetype{1 << 12} << qint64{30'000};
    }

    void countsAcrossSlices() {
        QFETCH(QString, text);
        QFETCH(QString, needle);
        QFETCH(bool, matchCase);
        QFETCH(qsizetype, span);
        QFETCH(qint64, count);
        TFindCount progress;
        int slices = 0;
        while (!CountMatches(text, needle, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive,
                             progress, span))
            QVERIFY(++slices <= text.size());
        QCOMPARE(progress.Count, count);
    }

    // The pane holds what a plain text edit would make of the whole text,
    // shown with lines over the limit cut short; every position outside the
    // parts left out maps to the same character and back.
    void longLinesCutShortKeepTheText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("whole");
        const QString line = PumpLine(MaxShownLine);
        QTest::newRow("line ends and odd spaces")
            << QStringLiteral("a\r\nb\rc\u00A0d\u2028e\u2029f\ng\uFDD0h\uFDD1i") << true;
        QTest::newRow("at the limit") << line + QStringLiteral("\nend") << true;
        QTest::newRow("one over") << QStringLiteral("1.\r\n") + line + QStringLiteral("x\r\n2.")
                                  << false;
        QTest::newRow("pair at the cut")
            << line.left(MaxShownLine - 1) + QStringLiteral("\U0001D400 tail") << false;
        QTest::newRow("several") << line + line + QStringLiteral("\nshort\n") + line +
                                        QStringLiteral("\u00A0z")
                                 << false;
    }

    void longLinesCutShortKeepTheText() {
        QFETCH(QString, text);
        QFETCH(bool, whole);
        QPlainTextEdit reference;
        reference.setPlainText(text);
        QPlainTextEdit pane;
        TTextPaneView view(pane);
        QCOMPARE(view.ShowText(text), whole);
        QCOMPARE(view.RawText(), reference.document()->toRawText());
        QCOMPARE(view.Text(), reference.toPlainText());

        const TPaneText cut = CutLongLines(text);
        QCOMPARE(cut.Cuts.empty(), whole);
        QCOMPARE(pane.document()->toRawText(), cut.Shown);
        for (QTextBlock block = pane.document()->begin(); block.isValid(); block = block.next())
            QVERIFY(block.length() <= MaxShownLine + 80);
        const QString raw = view.RawText();
        const QString shown = cut.Shown;
        for (qsizetype at = 0; at < raw.size(); ++at) {
            const bool left =
                std::any_of(cut.Cuts.begin(), cut.Cuts.end(), [at](const TLineCut& c) {
                    return at >= c.At && at < c.At + c.Removed;
                });
            if (left)
                continue;
            const qsizetype shownAt = ShownPosition(cut.Cuts, at);
            QCOMPARE(shown[shownAt], raw[at]);
            QCOMPARE(DocumentPosition(cut.Cuts, shownAt), at);
        }
        // A pair is never split.
        for (const TLineCut& c : cut.Cuts)
            QVERIFY(!raw[c.At].isLowSurrogate());
    }

    // A document with a line too long to show whole: read-only, saved and
    // found whole; the long search leaves the cursor as it was.
    void longLineIsSavedAndFoundWhole() {
        const QString line = PumpLine(3 * MaxShownLine);
        const QByteArray bytes = (QStringLiteral("We claim:\r\n1. A pump.\r\n") + line +
                                  QStringLiteral("\r\n2. The pump of claim 1.\r\n"))
                                     .toUtf8();
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("long.txt"));
        {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(bytes);
        }
        QVERIFY(window->OpenDocument(file));
        QVERIFY(window->cmInput->isReadOnly());
        QVERIFY(window->Label3->text().contains(QStringLiteral("read-only")));
        QVERIFY(window->cmInput->document()->characterCount() < 2 * MaxShownLine);
        // Analysed again, and saved, as it was read.
        const std::string analysed = window->InputText;
        window->AnalyseAgainClick();
        QVERIFY(window->InputText == analysed);
        window->Save1Click();
        {
            QFile in(file);
            QVERIFY(in.open(QIODevice::ReadOnly));
            QVERIFY(in.readAll() == bytes);
        }
        bar->Find1->trigger();
        bar->edFind->setText(QStringLiteral("a"));
        bar->Refresh();
        QTRY_VERIFY(!bar->Searching());
        // One in the heading and in each claim's first line besides.
        QCOMPARE(bar->MatchCount(), 3 * (3 * MaxShownLine / 20) + 3);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        // Every highlight stands on an occurrence in the pane.
        const QString shown = window->cmInput->toPlainText();
        QVERIFY(!window->cmInput->extraSelections().isEmpty());
        for (const QTextEdit::ExtraSelection& selection : window->cmInput->extraSelections())
            QCOMPARE(selection.cursor.selectedText().toLower(), QStringLiteral("a"));
        // Those beyond a line's share of selections are painted all the same,
        // down to the bottom of the view.
        const QImage view = window->cmInput->viewport()->grab().toImage();
        bool bottomHighlighted = false;
        for (int y = view.height() * 3 / 4; y < view.height() && !bottomHighlighted; ++y) {
            for (int x = 0; x < view.width() && !bottomHighlighted; ++x)
                bottomHighlighted = view.pixelColor(x, y) == QColor(255, 236, 120);
        }
        QVERIFY(bottomHighlighted);
    }

    void escapeClosesAndLeavesTheDocument() {
        window->InputModified = false;
        bar->Find1->trigger();
        QTest::keyClicks(bar->edFind, QStringLiteral("pump"));
        bar->Refresh();
        QVERIFY(!FoundMarks().empty());
        QTest::keyClick(bar->edFind, Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        QVERIFY(FoundMarks().empty());
        QVERIFY(window->cmInput->extraSelections().isEmpty());
        QCOMPARE(window->cmInput->toPlainText(), ExchangerClaims);
        QVERIFY(!window->InputModified);
        // From the bar's other controls and the text too, but not from the tree.
        for (QWidget* target :
             {static_cast<QWidget*>(bar->cbMatchCase), static_cast<QWidget*>(bar->btnNext),
              static_cast<QWidget*>(window->cmInput), static_cast<QWidget*>(window->sbClaimTree)}) {
            bar->Find1->trigger();
            QTest::keyClick(target, Qt::Key_Escape);
            QCOMPARE(bar->isVisible(), target == window->sbClaimTree);
        }
    }
};

VELTRUM_APP_TEST_MAIN(FindBarTest)
#include "FindBarTest.moc"
