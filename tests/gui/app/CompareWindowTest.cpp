// The comparison window: the boxes' tags, a click on a box, the list of
// changes with its filters, the export of the listing, and the other version
// read and put on the right side.

#include "CompareWindow.h"

#include "AppTestMain.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "CompareCommand.h"
#include "Dialogs.h"
#include "TreeDrawing.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <memory>

namespace {

// The application as filed, and as amended: claim 2 canceled, claim 3 now
// hangs on claim 1 and is claim 2, claim 4 is claim 3 with another valve,
// claim 4 is new.
const char* const FiledClaims = "What is claimed is:\n"
                                "1. A pump comprising a rotor.\n"
                                "2. The pump of claim 1, wherein the rotor is of steel.\n"
                                "3. The pump of claim 2, further comprising a valve.\n"
                                "4. The pump of claim 3, wherein the valve is a check valve.\n";
const char* const AmendedClaims = "We claim:\n"
                                  "1. A pump comprising a rotor and a housing.\n"
                                  "2. The pump of claim 1, further comprising a valve.\n"
                                  "3. The pump of claim 2, wherein the valve is a ball valve.\n"
                                  "4. The pump of claim 1, having a seal.\n";

// A weekly file of two documents, and a document with its claims in two
// languages.
const char* const WeeklyFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<us-patent-grant lang=\"EN\" file=\"US00000001.XML\"><claims id=\"claims\">"
    "<claim id=\"CLM-00001\" num=\"00001\"><claim-text>1. A kettle with a spout."
    "</claim-text></claim></claims></us-patent-grant>\n"
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<us-patent-grant lang=\"EN\" file=\"US00000002.XML\"><claims id=\"claims\">"
    "<claim id=\"CLM-00001\" num=\"00001\"><claim-text>1. A door bell with a chime."
    "</claim-text></claim></claims></us-patent-grant>\n";
const char* const TwoLanguages =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<ep-patent-document id=\"EP0000001B1\" lang=\"en\" country=\"EP\" doc-number=\"0000001\" "
    "kind=\"B1\">"
    "<claims id=\"claims01\" lang=\"en\"><claim id=\"c-en-0001\" num=\"0001\"><claim-text>"
    "A jar with a lid.</claim-text></claim></claims>"
    "<claims id=\"claims02\" lang=\"de\"><claim id=\"c-de-0001\" num=\"0001\"><claim-text>"
    "Ein Glas mit einem Deckel.</claim-text></claim></claims></ep-patent-document>\n";

using enum TTextChange;
using enum TAmendmentStatus;

TComparedClaim Compared(int32_t Number, int32_t From, TAmendmentStatus Status,
                        std::vector<TTextPiece> Redline) {
    TComparedClaim claim;
    claim.Number = Number;
    claim.From = From;
    claim.Status = Status;
    for (const TTextPiece& piece : Redline) {
        if (piece.Change == Inserted)
            claim.Inserted.push_back(piece.Text);
        if (piece.Change == Deleted)
            claim.Deleted.push_back(piece.Text);
    }
    claim.Redline = std::move(Redline);
    return claim;
}

// What the matching finds for the two versions above.
TClaimComparison AmendedComparison() {
    TClaimComparison comparison;
    comparison.Claims.push_back(Compared(
        1, 1, CurrentlyAmended,
        {{Same, "A pump comprising a"}, {Deleted, "rotor."}, {Inserted, "rotor and a housing."}}));
    TComparedClaim second = Compared(2, 3, CurrentlyAmended,
                                     {{Same, "The pump of claim"},
                                      {Deleted, "2,"},
                                      {Inserted, "1,"},
                                      {Same, "further comprising a valve."}});
    second.ReferencesAdded = {1};
    second.ReferencesDropped = {2};
    comparison.Claims.push_back(second);
    comparison.Claims.push_back(Compared(3, 4, CurrentlyAmended,
                                         {{Same, "The pump of claim 2, wherein the valve is a"},
                                          {Deleted, "check"},
                                          {Inserted, "ball"},
                                          {Same, "valve."}}));
    comparison.Claims.push_back(
        Compared(4, 0, New, {{Inserted, "The pump of claim 1, having a seal."}}));
    comparison.Canceled = {2};
    return comparison;
}

TCompareVersion Version(const char* Name, const char* Text) {
    return {QString::fromLatin1(Name), Text, TReading::Standard};
}

// Merged, claim 2 of A is not dropped but taken into claim 1.
std::unique_ptr<TCompareWindow> OpenComparison(bool Merged = false) {
    auto window = std::make_unique<TCompareWindow>(
        Version("filed.txt", FiledClaims), Version("amended.txt", AmendedClaims), nullptr,
        [Merged](const TClaimTree&, const TClaimTree&) {
            TClaimComparison comparison = AmendedComparison();
            if (Merged)
                comparison.Claims.front().MergedFrom = {2};
            return comparison;
        });
    window->show();
    return window;
}

TClaimTreePane& Pane(TCompareWindow& Window, bool SideB) {
    return SideB ? *Window.sbTreeB : *Window.sbTreeA;
}

TTreeDrawing& Drawing(TCompareWindow& Window, bool SideB) {
    return SideB ? Window.DrawingB() : Window.DrawingA();
}

const TClaimTreeNode& FirstBox(TCompareWindow& Window, bool SideB, int32_t Claim) {
    const TClaimTree& tree = SideB ? Window.TreeB() : Window.TreeA();
    return *tree.NodesByClaim[static_cast<std::size_t>(Claim)].front();
}

QRect CaptionOf(TCompareWindow& Window, bool SideB, int32_t Claim) {
    const TClaimTreeNode& node = FirstBox(Window, SideB, Claim);
    TTreeDrawing& drawing = Drawing(Window, SideB);
    return drawing.Geometry(node, drawing.View(node).RowTop).Caption;
}

// The tag widget drawn beside the first box of Claim, or null.
QWidget* TagWidget(TCompareWindow& Window, bool SideB, int32_t Claim) {
    const QRect caption = CaptionOf(Window, SideB, Claim);
    for (QWidget* child :
         Pane(Window, SideB)
             .Content()
             ->findChildren<QWidget*>(QStringLiteral("BoxMarker"), Qt::FindDirectChildrenOnly)) {
        if (child->isVisible() && child->geometry().top() <= caption.center().y() &&
            child->geometry().bottom() >= caption.center().y())
            return child;
    }
    return nullptr;
}

// The document's text with inserted runs in <u>, deleted ones in <s>.
QString Marked(const QTextDocument& Document) {
    QString marked;
    for (QTextBlock block = Document.begin(); block.isValid(); block = block.next()) {
        if (!marked.isEmpty())
            marked += u'|';
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            const QString text = fragment.fragment().text();
            if (format.fontUnderline())
                marked += QStringLiteral("<u>") + text + QStringLiteral("</u>");
            else if (format.fontStrikeOut())
                marked += QStringLiteral("<s>") + text + QStringLiteral("</s>");
            else
                marked += text;
        }
    }
    return marked;
}

// The claims chosen, A/B, as Next (or Previous) steps through the list from nothing chosen.
QString Steps(TCompareWindow& Window, bool Forward) {
    QStringList steps;
    for (int i = 0; i < 8; ++i) {
        const int32_t a = Window.ChosenA();
        const int32_t b = Window.ChosenB();
        Forward ? Window.NextChange() : Window.PreviousChange();
        if (Window.ChosenA() == a && Window.ChosenB() == b)
            break;
        steps << QStringLiteral("%1/%2").arg(Window.ChosenA()).arg(Window.ChosenB());
    }
    return steps.join(u' ');
}

} // namespace

class CompareWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { TDialogs::Reset(); }

    // Every box says in words what became of its claim, beside its caption
    // and clear of its buttons.
    void tagsShowWhatChanged_data() {
        QTest::addColumn<bool>("sideB");
        QTest::addColumn<int>("claim");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<bool>("merged");
        QTest::newRow("A1 amended in place") << false << 1 << "Amended" << false;
        QTest::newRow("A2 canceled") << false << 2 << "Canceled" << false;
        QTest::newRow("A3 amended, renumbered") << false << 3 << "Amended, now 2" << false;
        QTest::newRow("B2 amended, renumbered") << true << 2 << "Amended, was 3" << false;
        QTest::newRow("B4 new") << true << 4 << "New" << false;
        QTest::newRow("A2 merged") << false << 2 << "Merged into 1" << true;
    }
    void tagsShowWhatChanged() {
        QFETCH(bool, sideB);
        QFETCH(int, claim);
        QFETCH(QString, tag);
        QFETCH(bool, merged);
        const auto window = OpenComparison(merged);
        QWidget* marker = TagWidget(*window, sideB, claim);
        QVERIFY(marker != nullptr);
        QCOMPARE(marker->accessibleName(), tag);
        const TClaimTreeNode& node = FirstBox(*window, sideB, claim);
        TTreeDrawing& drawing = Drawing(*window, sideB);
        const TRowGeometry g = drawing.Geometry(node, drawing.View(node).RowTop);
        QVERIFY(marker->geometry().left() > g.Caption.right());
        QVERIFY(!marker->geometry().intersects(g.ShowText));
        QVERIFY(g.Extent.contains(marker->geometry()));
    }

    // A click on a box shows its claim's redline and chooses its counterpart.
    void clickShowsRedline_data() {
        QTest::addColumn<bool>("sideB");
        QTest::addColumn<int>("claim");
        QTest::addColumn<int>("chosenA");
        QTest::addColumn<int>("chosenB");
        QTest::addColumn<QString>("redline");
        QTest::newRow("B3, words changed")
            << true << 3 << 4 << 3
            << "Claim 3 (claim 4 of A): Currently Amended|The pump of claim 2, wherein "
               "the valve is a <s>check</s> <u>ball</u> valve.";
        QTest::newRow("A3, its successor")
            << false << 3 << 3 << 2
            << "Claim 2 (claim 3 of A): Currently Amended|Dependency changed: now refers to "
               "claim 1; no longer to claim 2 of A|The pump of claim <s>2,</s> <u>1,</u> further "
               "comprising a valve.";
        QTest::newRow("A2, canceled") << false << 2 << 2 << 0
                                      << "Claim 2 of A: Canceled|<s>The pump of claim 1, "
                                         "wherein the rotor is of steel.</s>";
    }
    void clickShowsRedline() {
        QFETCH(bool, sideB);
        QFETCH(int, claim);
        QFETCH(int, chosenA);
        QFETCH(int, chosenB);
        QFETCH(QString, redline);
        const auto window = OpenComparison();
        QTest::mouseClick(Pane(*window, sideB).Content(), Qt::LeftButton, {},
                          CaptionOf(*window, sideB, claim).center());
        QCOMPARE(window->ChosenA(), chosenA);
        QCOMPARE(window->ChosenB(), chosenB);
        QCOMPARE(Marked(*window->mmRedline->document()), redline);
        // Both sides frame the chosen claims' tags.
        QCOMPARE(window->sbTreeA->SelectedTag(), chosenA);
        QCOMPARE(window->sbTreeB->SelectedTag(), chosenB);
        QCOMPARE(window->sbTreeB->CurrentBox() != nullptr, chosenB != 0);
    }

    // The keys move through a tree as the mouse does, and each box they
    // reach is chosen with its counterpart.
    void keysChooseBoxes() {
        const auto window = OpenComparison();
        TClaimTreePane& pane = *window->sbTreeB;
        QTest::mouseClick(pane.Content(), Qt::LeftButton, {}, CaptionOf(*window, true, 1).center());
        pane.setFocus();
        QStringList chosen;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(&pane, Qt::Key_Down);
            chosen << QStringLiteral("%1/%2").arg(window->ChosenA()).arg(window->ChosenB());
        }
        // The first press shows where the keys start.
        QCOMPARE(chosen.join(u' '), QStringLiteral("1/1 3/2 4/3 0/4"));
    }

    // Next and Previous step through the changes the filters let through.
    void filtersStep_data() {
        QTest::addColumn<QString>("filters"); // c changed, n new, x canceled, d dependency
        QTest::addColumn<bool>("forward");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("merged");
        QTest::newRow("all") << "cnxd" << true << "1/1 2/0 3/2 4/3 0/4" << false;
        QTest::newRow("all, backwards") << "cnxd" << false << "0/4 4/3 3/2 2/0 1/1" << false;
        QTest::newRow("changed") << "c" << true << "1/1 3/2 4/3" << false;
        QTest::newRow("new") << "n" << true << "0/4" << false;
        QTest::newRow("canceled") << "x" << true << "2/0" << false;
        QTest::newRow("dependency") << "d" << true << "3/2" << false;
        QTest::newRow("new and canceled, backwards") << "nx" << false << "0/4 2/0" << false;
        QTest::newRow("none") << "" << true << "" << false;
        // The merged claim's line chooses the claim it went into, and the
        // steps go on from its own line all the same.
        QTest::newRow("all, merged") << "cnxd" << true << "1/1 2/1 3/2 4/3 0/4" << true;
        QTest::newRow("all, merged, backwards") << "cnxd" << false << "0/4 4/3 3/2 2/1 1/1" << true;
    }
    void filtersStep() {
        QFETCH(QString, filters);
        QFETCH(bool, forward);
        QFETCH(QString, steps);
        QFETCH(bool, merged);
        const auto window = OpenComparison(merged);
        window->cbChanged->setChecked(filters.contains(u'c'));
        window->cbNew->setChecked(filters.contains(u'n'));
        window->cbCanceled->setChecked(filters.contains(u'x'));
        window->cbDependency->setChecked(filters.contains(u'd'));
        QCOMPARE(Steps(*window, forward), steps);
    }

    // The listing goes to a file, or the user hears why not and the old
    // file stays as it was.
    void exportWritesListing_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("place"); // "ok", "missing folder", "full disk"
        QTest::addColumn<QByteArray>("starts");
        QTest::newRow("HTML") << int(TCompareWindow::TListingFormat::Html) << "ok"
                              << QByteArray("<!DOCTYPE");
        QTest::newRow("PDF") << int(TCompareWindow::TListingFormat::Pdf) << "ok"
                             << QByteArray("%PDF");
        QTest::newRow("Word") << int(TCompareWindow::TListingFormat::Docx) << "ok"
                              << QByteArray("PK");
        QTest::newRow("missing folder")
            << int(TCompareWindow::TListingFormat::Pdf) << "missing folder" << QByteArray();
        QTest::newRow("full disk")
            << int(TCompareWindow::TListingFormat::Html) << "full disk" << QByteArray("old");
    }
    void exportWritesListing() {
        QFETCH(int, format);
        QFETCH(QString, place);
        QFETCH(QByteArray, starts);
        const auto window = OpenComparison();
        const QTemporaryDir dir;
        QString fileName = dir.filePath(QStringLiteral("listing"));
        if (place == QLatin1String("missing folder"))
            fileName = dir.filePath(QStringLiteral("gone/listing"));
        if (place == QLatin1String("full disk")) {
            QFile old(fileName);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        bool written = false;
        {
            std::unique_ptr<TFileSizeLimit> limit;
            if (place == QLatin1String("full disk"))
                limit = std::make_unique<TFileSizeLimit>(100);
            written = window->ExportListing(TCompareWindow::TListingFormat(format), fileName);
        }

        QCOMPARE(written, place == QLatin1String("ok"));
        QCOMPARE(TDialogs::BoxCount(), written ? 0 : 1);
        if (!written)
            QVERIFY(TDialogs::LastBox().Text.startsWith(
                QStringLiteral("Unable to write the claim listing")));
        const std::string bytes = ReadBytes(fileName);
        if (starts.isEmpty())
            QCOMPARE(bytes, std::string("<missing>"));
        else
            QVERIFY(QByteArray::fromStdString(bytes).startsWith(starts));
    }

    // Swapped, the amended version is read as the earlier one and the
    // comparison is made again the other way round.
    void swapComparesAgain() {
        TCompareWindow window(Version("filed.txt", FiledClaims),
                              Version("amended.txt", AmendedClaims));
        window.Swap();
        QVERIFY(window.lbVersionA->text().contains(QStringLiteral("amended.txt")));
        QVERIFY(window.TreeA().Claims.front().Text.find("housing") != std::string::npos);
        const TBoxTag* steel = window.sbTreeB->BoxTag(2);
        QVERIFY(steel != nullptr);
        QCOMPARE(steel->Text, QStringLiteral("New"));
        QCOMPARE(window.sbTreeA->BoxTag(4)->Text, QStringLiteral("Canceled"));
    }

    // The printed listing gives each claim its status, underlines and
    // strikes as the other exports do, brackets short deletions.
    void listingMarksAmendedClaims() {
        const auto window = OpenComparison();
        const QStringList lines =
            Marked(*window->ListingDocument()).split(u'|', Qt::SkipEmptyParts);
        QCOMPARE(
            lines.mid(2),
            QStringList({"1. (Currently Amended) A pump comprising a <s>rotor.</s> <u>rotor and "
                         "a housing.</u>",
                         "2. (Currently Amended) The pump of claim [[2,]] <u>1,</u> "
                         "further comprising a valve.",

                         "3. (Currently Amended) The pump of claim 2, wherein the valve "
                         "is a [[check]] <u>ball</u> valve.",
                         "4. (New) The pump of claim 1, having a seal.",
                         "2 (as numbered before). (Canceled)"}));
    }

    // The other version is read from where the user said and takes the side
    // the user chose.
    void otherVersionRead_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("openIsLater");
        QTest::addColumn<QString>("word"); // in the other version's first claim
        using enum TCompareSource::TKind;
        const QString text = QString::fromLatin1(FiledClaims);
        QTest::newRow("saved, open later") << int(SavedFile) << text << 0 << "" << true << "rotor.";
        QTest::newRow("saved, open earlier")
            << int(SavedFile) << text << 0 << "" << false << "rotor.";
        QTest::newRow("another file") << int(File) << text << 0 << "" << true << "rotor.";
        QTest::newRow("another document of the file")
            << int(Document) << QString::fromLatin1(WeeklyFile) << 1 << "" << true << "bell";
        QTest::newRow("another language of the file")
            << int(Language) << QString::fromLatin1(TwoLanguages) << 0 << "de" << true << "Deckel";
    }
    void otherVersionRead() {
        QFETCH(int, kind);
        QFETCH(QString, file);
        QFETCH(int, index);
        QFETCH(QString, language);
        QFETCH(bool, openIsLater);
        QFETCH(QString, word);
        const QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("claims"));
        QFile written(fileName);
        QVERIFY(written.open(QIODevice::WriteOnly));
        written.write(file.toUtf8());
        written.close();
        QWidget host;
        TOpenDocument open;
        open.FileName = fileName;
        open.Caption = QStringLiteral("open");
        open.Text = AmendedClaims;
        QMenu tools;
        TCompareCommand command(tools, host, [&open] { return open; });
        TCompareSource source;
        source.Kind = TCompareSource::TKind(kind);
        source.FileName = fileName;
        source.Index = index;
        source.Language = language;
        std::unique_ptr<TCompareWindow> window(command.Compare(source, openIsLater));
        QVERIFY(window != nullptr);
        const TClaimTree& other = openIsLater ? window->TreeA() : window->TreeB();
        QVERIFY(!other.Claims.empty());
        QVERIFY(QString::fromStdString(other.Claims.front().Text).contains(word));
        const TClaimTree& shown = openIsLater ? window->TreeB() : window->TreeA();
        QVERIFY(shown.Claims.front().Text.find("housing") != std::string::npos);
    }

    // Another file that cannot be read is told, and no window opens.
    void missingOtherVersion() {
        QWidget host;
        TOpenDocument open;
        open.Text = AmendedClaims;
        QMenu tools;
        TCompareCommand command(tools, host, [&open] { return open; });
        TCompareSource source;
        source.FileName = QStringLiteral("/nonexistent/filed.txt");
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        QVERIFY(command.Compare(source, true) == nullptr);
        QCOMPARE(TDialogs::BoxCount(), 1);
        QVERIFY(TDialogs::LastBox().Text.contains(QStringLiteral("filed.txt")));
    }
};

VELTRUM_APP_TEST_MAIN(CompareWindowTest)
#include "CompareWindowTest.moc"
