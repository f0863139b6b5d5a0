// The terms panel: the terms of the shown claims, and a term chosen
// highlights its places in the text and marks its claims' boxes.

#include "TermsPanel.h"

#include "AppTestMain.h"
#include "ClaimTreePane.h"
#include "ProgramSettings.h"
#include "frmMain.h"

#include <QAction>
#include <QDockWidget>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <memory>

namespace {

const QString PumpClaims = QStringLiteral("Pump\n"
                                          "\n"
                                          "We claim:\n"
                                          "1. A pump comprising a housing and a valve,\n"
                                          "the valve being in the housing.\n"
                                          "2. The pump of claim 1, wherein the valve is shut.\n"
                                          "3. A filter comprising a screen.\n");

using TClaims = std::vector<int32_t>;

} // namespace

class TermsPanelTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TfrMain> window;
    TTermsPanel* panel = nullptr;

    QTreeWidgetItem* Item(const QString& Term) const {
        const auto found =
            panel->lvTerms->findItems(Term, Qt::MatchExactly, TTermsPanel::TermColumn);
        return found.isEmpty() ? nullptr : found.front();
    }

    TClaims FoundMarks() const {
        TClaims marked;
        for (int32_t claim = 1; claim <= 3; ++claim)
            if (window->sbClaimTree->BoxMarks(claim) & static_cast<unsigned>(TBoxMark::Found))
                marked.push_back(claim);
        return marked;
    }

private slots:
    void init() {
        window = std::make_unique<TfrMain>();
        frMain = window.get();
        window->WasActivated = true;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->cmInput->setEnabled(true);
        window->cmInput->setPlainText(PumpClaims);
        window->InputText = PumpClaims.toStdString();
        window->AnalyseInput();
        panel = window->TermsPanel1;
    }

    void cleanup() { window.reset(); }

    void clickHighlightsUsesAndMarksBoxes() {
        panel->Terms1->trigger();
        QVERIFY(panel->dkTerms->isVisible());
        QVERIFY(ProgramSettings().value(QStringLiteral("Window/TermsPanel")).toBool());
        QTreeWidgetItem* valve = Item(QStringLiteral("valve"));
        QVERIFY(valve != nullptr);
        QCOMPARE(valve->text(TTermsPanel::IntroducedColumn), QStringLiteral("claim 1"));
        QCOMPARE(valve->text(TTermsPanel::UsedColumn), QStringLiteral("1, 2"));

        window->sbClaimTree->SetBoxMarks({{3, static_cast<unsigned>(TBoxMark::Problem)}});
        const QRect rect = panel->lvTerms->visualItemRect(valve);
        QTest::mouseClick(panel->lvTerms->viewport(), Qt::LeftButton, {}, rect.center());

        // "a valve", "the valve" on the next line, "the valve" of claim 2:
        // each the word itself, not another "valve" of its line.
        const QString text = window->cmInput->toPlainText();
        const auto selections = window->cmInput->extraSelections();
        QCOMPARE(selections.size(), 3);
        QList<int> starts;
        for (const QTextEdit::ExtraSelection& selection : selections) {
            QCOMPARE(selection.cursor.selectedText(), QStringLiteral("valve"));
            starts << selection.cursor.selectionStart();
        }
        std::sort(starts.begin(), starts.end());
        QCOMPARE(starts,
                 (QList<int>{static_cast<int>(text.indexOf(QStringLiteral("a valve")) + 2),
                             static_cast<int>(text.indexOf(QStringLiteral("the valve being")) + 4),
                             static_cast<int>(text.indexOf(QStringLiteral("the valve is")) + 4)}));
        QCOMPARE(FoundMarks(), (TClaims{1, 2}));
        // Marks of other kinds stay.
        QCOMPARE(window->sbClaimTree->BoxMarks(3), static_cast<unsigned>(TBoxMark::Problem));
    }

    void followsEachAnalysis() {
        panel->Terms1->trigger();
        QVERIFY(Item(QStringLiteral("screen")) != nullptr);
        const QString changed =
            QString(PumpClaims).replace(QStringLiteral("a screen"), QStringLiteral("a mesh"));
        window->cmInput->setPlainText(changed);
        window->InputText = changed.toStdString();
        window->AnalyseInput();
        QVERIFY(Item(QStringLiteral("screen")) == nullptr);
        QVERIFY(Item(QStringLiteral("mesh")) != nullptr);
    }
};

VELTRUM_APP_TEST_MAIN(TermsPanelTest)
#include "TermsPanelTest.moc"
