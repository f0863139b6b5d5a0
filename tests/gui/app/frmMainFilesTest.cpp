// The main window's ways to files beyond Open and Save: the file named at
// start, dropped files, recent files, the Open dialog's folder and the
// exported tables.

#include "AppTestMain.h"
#include "BoxMenu.h"
#include "CheckDisplay.h"
#include "ClaimTree.h"
#include "Dialogs.h"
#include "DocumentChoice.h"
#include "DocumentPlaces.h"
#include "ProblemsPanel.h"
#include "ProgramSettings.h"
#include "ReadingChoice.h"
#include "RecentFilesMenu.h"
#include "TableExports.h"
#include "TestPdf.h"
#include "TestZip.h"
#include "TextEncoding.h"
#include "TreeExport.h"
#include "frmMain.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <cstdio>
#include <memory>

namespace {

const std::string PumpText = "Pump\r\n\r\nWhat is claimed is:\r\n1. A pump.\r\n"
                             "2. The pump of claim 1, with a valve.\r\n3. A valve.\r\n"
                             "4. The pump of claims 2 or 3.\r\n";
const QString PumpCounts = QStringLiteral("Tree of claims: independent 2; dependent 2; total 4");

} // namespace

class TestfrMainFiles : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TfrMain> window;
    std::unique_ptr<QTemporaryDir> dir;
    QTemporaryDir settingsDir;

    QString Write(const QString& Name, const std::string& Bytes) {
        const QString name = dir->filePath(Name);
        QDir().mkpath(QFileInfo(name).absolutePath());
        QFile file(name);
        if (file.open(QIODevice::WriteOnly))
            file.write(Bytes.data(), static_cast<qint64>(Bytes.size()));
        return name;
    }

    QStringList RecentItems() const {
        QStringList names;
        for (const QAction* item : window->RecentFiles1->mnuRecentFiles->actions())
            names << item->data().toString();
        return names;
    }

    void Drop(QWidget* Target, const QString& FileName) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(FileName)});
        // Qt delivers a drop to the widget that took the drag's entry.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Target, &drop);
        QVERIFY(drop.isAccepted());
    }

    void TypeIntoPane() {
        window->cmInput->setFocus();
        QTest::keyClick(window->cmInput, Qt::Key_X);
        QVERIFY(window->InputModified);
    }

private slots:
    void initTestCase() {
        // A settings file of this test's own: other tests run beside it.
        QVERIFY(settingsDir.isValid());
        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, settingsDir.path());
    }

    void init() {
        TDialogs::Reset();
        ProgramSettings().clear();
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
        ProgramSettings().clear();
    }

    void startupArguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("error");
        QTest::newRow("none") << QStringList{} << QString() << false;
        QTest::newRow("relative") << QStringList{"claims.txt"} << "/start/here/claims.txt" << false;
        QTest::newRow("up a level") << QStringList{"../b/c.txt"} << "/start/b/c.txt" << false;
        QTest::newRow("absolute") << QStringList{"/data/d.txt"} << "/data/d.txt" << false;
        QTest::newRow("dash name after --")
            << QStringList{"--", "-e.txt"} << "/start/here/-e.txt" << false;
        QTest::newRow("unknown option") << QStringList{"--bogus"} << QString() << true;
        QTest::newRow("two files") << QStringList{"a.txt", "b.txt"} << "/start/here/a.txt" << true;
    }

    void startupArguments() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        QFETCH(bool, error);
        arguments.prepend(QStringLiteral("veltrum"));
        const TStartupArguments parsed =
            ParseStartupArguments(arguments, QStringLiteral("/start/here"));
        QCOMPARE(parsed.File, file);
        QCOMPARE(!parsed.Error.isEmpty(), error);
    }

    // The name is resolved where the program started, before the window
    // moves to the program's folder; the file opens after the start-up layout.
    void fileNamedAtStartOpensOnceShown() {
        const QString name = Write(QStringLiteral("start/pump.txt"), PumpText);
        const QString started = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir->filePath(QStringLiteral("start"))));
        const TStartupArguments startup = ParseStartupArguments(
            {QStringLiteral("veltrum"), QStringLiteral("pump.txt")}, QDir::currentPath());
        window = std::make_unique<TfrMain>();
        frMain = window.get();
        QVERIFY(QDir::currentPath() != dir->filePath(QStringLiteral("start")));
        window->StartupFileName = startup.File;
        window->FormActivate();
        QTRY_COMPARE(window->DocumentFileName, name);
        QCOMPARE(window->Label4->text(), PumpCounts);
        QCOMPARE(window->windowTitle(), QStringLiteral("Velkin - ") + name);
        QVERIFY(window->StartupFileName.isEmpty());
        QDir::setCurrent(started);
    }

    void droppedFileOpensAfterTheQuestion() {
        const QString first = Write(QStringLiteral("first.txt"), "1. A.\r\n");
        const QString pump = Write(QStringLiteral("pump.txt"), PumpText);
        window->OpenDocument(first);
        TypeIntoPane();
        // Yes: save first, so nothing happens.
        TDialogs::SetNextAnswer(QMessageBox::Yes);
        Drop(window->cmInput->viewport(), pump);
        QCOMPARE(TDialogs::BoxCount(), 1);
        QCOMPARE(window->DocumentFileName, first);
        TDialogs::SetNextAnswer(QMessageBox::No);
        Drop(window->cmInput->viewport(), pump);
        QCOMPARE(window->DocumentFileName, pump);
        QCOMPARE(window->Label4->text(), PumpCounts);
        // On the tree side too.
        window->OpenDocument(first);
        Drop(window.get(), pump);
        QCOMPARE(window->DocumentFileName, pump);
    }

    // A web page, XML or Word file shows the text read from it, read-only;
    // Save explains and Save As writes that text as a plain text, which then
    // is the document. A damaged one names its fault and changes nothing.
    void otherFormatsOpenReadOnlyAndSaveAsText() {
        const QString page =
            Write(QStringLiteral("pump.html"),
                  "<html><head><title>Pump</title><script>1. no</script></head><body>"
                  "<section itemprop=\"claims\"><div class=\"claim\" num=\"1\">A pump.</div>"
                  "<div class=\"claim\" num=\"2\">The pump of claim 1, with a valve.</div>"
                  "<div class=\"claim\" num=\"3\">A valve.</div>"
                  "<div class=\"claim\" num=\"4\">The pump of claims 2 or "
                  "3.</div></section></body></html>");
        QVERIFY(window->OpenDocument(page));
        QCOMPARE(window->Label4->text(), PumpCounts);
        QVERIFY(window->cmInput->isReadOnly());
        QCOMPARE(window->Label3->text(), QStringLiteral("Input text (read-only: from a web page)"));
        QVERIFY(!window->Save1->isEnabled());
        QVERIFY(window->SaveAs1->isEnabled());
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        window->Save1Click();
        QCOMPARE(TDialogs::BoxCount(), 1);
        QVERIFY(TDialogs::LastBox().Text.contains(QStringLiteral("Save As writes")));

        const QString text = dir->filePath(QStringLiteral("pump.txt"));
        TDialogs::SetNextFileName(text);
        window->SaveAs1Click();
        QFile saved(text);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        // A new text file: the system's line ends.
        QCOMPARE(saved.readAll(), QByteArray("Pump\n\nClaims\n\n1. A pump.\n2. The pump of "
                                             "claim 1, with a valve.\n3. A valve.\n4. The pump "
                                             "of claims 2 or 3.\n"));
        QCOMPARE(window->DocumentFileName, text);
        QVERIFY(!window->cmInput->isReadOnly());
        QCOMPARE(window->Label3->text(), QStringLiteral("Input text"));
        QVERIFY(window->Save1->isEnabled());

        const QString damaged = Write(QStringLiteral("cut.docx"), std::string("PK\x03\x04"
                                                                              "cut"));
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        QVERIFY(!window->OpenDocument(damaged));
        QVERIFY(TDialogs::LastBox().Text.contains(QStringLiteral("damaged or truncated zip")));
    }

    // A PDF shows the text read from it, read-only, and the Claims menu says
    // where each claim stands on the printed pages.
    void pdfOpensReadOnlyWithCitations() {
        window->Readings1->mnuLenientReading->setChecked(true);
        const QString grant = Write(QStringLiteral("grant.pdf"), GrantPdf(TestClaims(), 100).Bytes);
        QVERIFY(window->OpenDocument(grant));
        QVERIFY(window->cmInput->isReadOnly());
        QCOMPARE(window->Label3->text(), QStringLiteral("Input text (read-only: from a PDF)"));
        QCOMPARE(window->Label4->text(),
                 QStringLiteral("Tree of claims: independent 1; dependent 3; total 4"));
        const QList<QAction*> claims = window->mnuClaims->actions();
        QCOMPARE(claims.size(), 4);
        QCOMPARE(claims[1]->text(), QStringLiteral("Claim 2\tcol. 2, l. 56 \u2013 col. 3, l. 1"));
        QCOMPARE(claims[2]->text(), QStringLiteral("Claim 3\tcol. 3, ll. 3\u20134"));
        const std::unique_ptr<QMenu> menu(
            window->BoxMenu1->MenuFor(*window->ClaimTree->NodesByClaim[1].front()));
        menu->findChild<QAction*>(QStringLiteral("CopyClaimText1"))->trigger();
        QVERIFY(QGuiApplication::clipboard()->text().endsWith(
            QStringLiteral(" the pressure measured at the outlet.\n(col. 2, ll. 48\u201354)")));
        // A text again: no citations.
        QVERIFY(window->OpenDocument(Write(QStringLiteral("pump.txt"), PumpText)));
        QCOMPARE(window->mnuClaims->actions()[1]->text(), QStringLiteral("Claim 2"));
    }

    // A long PDF is read off the GUI thread; its progress shows after a
    // moment, and Cancel leaves the document that was open as it was.
    void cancelledPdfLeavesTheOpenDocument() {
        std::vector<TTestPage> pages(300);
        for (TTestPage& page : pages)
            for (int l = 0; l < 50; ++l)
                page.Lines.push_back({72, 72 + 12.0 * l,
                                      QStringLiteral("The description goes on in line %1.").arg(l),
                                      10});
        const QString pdf = Write(QStringLiteral("long.pdf"), WriteTestPdf(pages));
        const QString pump = Write(QStringLiteral("pump.txt"), PumpText);
        QVERIFY(window->OpenDocument(pump));
        const QString title = window->windowTitle();
        bool shown = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            auto* progress = window->findChild<QProgressDialog*>(QStringLiteral("PdfProgress1"));
            if (progress != nullptr && progress->isVisible() && !shown) {
                shown = true;
                QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
            }
        });
        watch.start(20);
        QVERIFY(!window->OpenDocument(pdf));
        QVERIFY(shown);
        QCOMPARE(window->DocumentFileName, pump);
        QCOMPARE(window->windowTitle(), title);
        QCOMPARE(window->Label4->text(), PumpCounts);
        QCOMPARE(window->cmInput->toPlainText().left(4), QStringLiteral("Pump"));
        QVERIFY(!window->cmInput->isReadOnly());
    }

    // A weekly file's documents, and a document's claims languages, are
    // chosen in menus; the file is read again with the choice.
    void documentsAndLanguagesAreChosenInMenus() {
        const std::string grant =
            "<?xml version=\"1.0\"?><us-patent-grant><us-bibliographic-data-grant>"
            "<publication-reference><document-id><country>US</country><doc-number>%1"
            "</doc-number></document-id></publication-reference>"
            "</us-bibliographic-data-grant><claims>%2</claims></us-patent-grant>\n";
        const auto claims = [](int Count) {
            QString text;
            for (int c = 1; c <= Count; ++c)
                text +=
                    QStringLiteral("<claim num=\"%1\"><claim-text>A part %1.</claim-text></claim>")
                        .arg(c);
            return text;
        };
        const QString weekly = QString::fromStdString(grant).arg(QStringLiteral("11"), claims(2)) +
                               QString::fromStdString(grant).arg(QStringLiteral("22"), claims(5));
        QVERIFY(window->OpenDocument(Write(QStringLiteral("weekly.xml"), weekly.toStdString())));
        QCOMPARE(window->Label4->text(),
                 QStringLiteral("Tree of claims: independent 2; dependent 0; total 2"));
        const QList<QAction*> documents = window->Choice1->mnuDocuments->actions();
        QCOMPARE(documents.size(), 2);
        QCOMPARE(documents[1]->text(), QStringLiteral("US22"));
        QVERIFY(!window->Choice1->mnuLanguages->isEnabled());
        documents[1]->trigger();
        QCOMPARE(window->Label4->text(),
                 QStringLiteral("Tree of claims: independent 5; dependent 0; total 5"));
        QVERIFY(window->Choice1->mnuDocuments->actions()[1]->isChecked());

        const std::string ep = "<?xml version=\"1.0\"?><ep-patent-document lang=\"de\">"
                               "<claims lang=\"en\">" +
                               claims(3).toStdString() +
                               "</claims>"
                               "<claims lang=\"de\">" +
                               claims(1).toStdString() +
                               "</claims>"
                               "</ep-patent-document>";
        QVERIFY(window->OpenDocument(Write(QStringLiteral("ep.xml"), ep)));
        QVERIFY(!window->Choice1->mnuDocuments->isEnabled());
        QCOMPARE(window->Label4->text(),
                 QStringLiteral("Tree of claims: independent 1; dependent 0; total 1"));
        const QList<QAction*> languages = window->Choice1->mnuLanguages->actions();
        QCOMPARE(languages.size(), 2);
        QCOMPARE(languages[0]->text(), QStringLiteral("en"));
        languages[0]->trigger();
        QCOMPARE(window->Label4->text(),
                 QStringLiteral("Tree of claims: independent 3; dependent 0; total 3"));
    }

    // The markup's claim links are checked against the text; a Word draft's
    // tracked changes read as the original text once Tools says so, which is
    // remembered, and back.
    void documentLinksAndTrackedChanges() {
        const std::string linked =
            "<?xml version=\"1.0\"?><us-patent-grant><claims>"
            "<claim id=\"C1\" num=\"1\"><claim-text>A pump.</claim-text></claim>"
            "<claim id=\"C2\" num=\"2\"><claim-text>A valve.</claim-text></claim>"
            "<claim id=\"C3\" num=\"3\"><claim-text>The pump of <claim-ref idref=\"C2\">"
            "claim 1</claim-ref>.</claim-text></claim></claims></us-patent-grant>";
        QVERIFY(window->OpenDocument(Write(QStringLiteral("linked.xml"), linked)));
        QTreeWidget& problems = *window->ClaimChecks1->pnProblems->List;
        QCOMPARE(problems.topLevelItemCount(), 1);
        QVERIFY(problems.topLevelItem(0)->text(3).contains(QLatin1String("linked to claim 2")));
        // Saved as a plain text it has no markup left to check against.
        TDialogs::SetNextFileName(dir->filePath(QStringLiteral("linked.txt")));
        window->SaveAs1Click();
        QCOMPARE(problems.topLevelItemCount(), 0);

        const std::string ns =
            " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";
        const auto paragraph = [](const std::string& Text) {
            return "<w:p><w:r><w:t>" + Text + "</w:t></w:r></w:p>";
        };
        const std::string draft =
            MakeZip({{"word/document.xml",
                      "<w:document" + ns + "><w:body>" + paragraph("What is claimed is:") +
                          paragraph("1. A pump.") + paragraph("2. The pump of claim 1.") +
                          "<w:p><w:pPr><w:rPr><w:ins w:id=\"1\"/></w:rPr></w:pPr><w:ins w:id=\"2\">"
                          "<w:r><w:t>3. A valve.</w:t></w:r></w:ins></w:p>" +
                          "</w:body></w:document>"}});
        QVERIFY(!window->Choice1->OriginalText1->isChecked());
        QVERIFY(window->OpenDocument(Write(QStringLiteral("draft.docx"), draft)));
        QCOMPARE(window->Label4->text(),
                 QStringLiteral("Tree of claims: independent 2; dependent 1; total 3"));
        window->Choice1->OriginalText1->trigger();
        QCOMPARE(window->Label4->text(),
                 QStringLiteral("Tree of claims: independent 1; dependent 1; total 2"));
        window = std::make_unique<TfrMain>();
        frMain = window.get();
        QVERIFY(window->Choice1->OriginalText1->isChecked());
        window->Choice1->OriginalText1->trigger();
        QVERIFY(!ProgramSettings().value(QStringLiteral("Documents/OriginalText")).toBool());
    }

    // Word processors save by writing a new file and renaming it over the
    // old: every such save is read again, keeping the tab shown; with edits
    // in the pane the window asks first.
    void fileSavedByRenameIsReadAgain() {
        const QString name = Write(QStringLiteral("draft.txt"), PumpText);
        QVERIFY(window->OpenDocument(name));
        window->TabControl1->setCurrentIndex(2); // claim 3's tree
        const QString shown = window->TabControl1->tabText(2);
        std::string text = "Draft\n\nWhat is claimed is:\n1. A pump.\n2. A valve.\n3. A seal.\n";
        for (int save = 1; save <= 5; ++save) {
            text += std::to_string(save + 3) + ". The pump of claim 1.\n";
            const QString copy = Write(QStringLiteral("~draft.tmp"), text);
            QCOMPARE(
                ::rename(QFile::encodeName(copy).constData(), QFile::encodeName(name).constData()),
                0);
            QTRY_COMPARE(window->Label4->text(),
                         QStringLiteral("Tree of claims: independent 3; dependent %1; total %2")
                             .arg(save)
                             .arg(save + 3));
            QCOMPARE(window->TabControl1->tabText(window->TabControl1->currentIndex()), shown);
        }
        QCOMPARE(TDialogs::BoxCount(), 0);

        TypeIntoPane();
        TDialogs::SetNextAnswer(QMessageBox::No);
        const QString copy = Write(QStringLiteral("~draft.tmp"), PumpText);
        QCOMPARE(::rename(QFile::encodeName(copy).constData(), QFile::encodeName(name).constData()),
                 0);
        QTRY_COMPARE(TDialogs::BoxCount(), 1);
        QVERIFY(window->InputModified);
        QVERIFY(window->Label4->text() != PumpCounts);
    }

    void recentFilesKeepTheLastEightAndDropMissingOnes() {
        QStringList opened;
        for (int i = 1; i <= 9; ++i) {
            opened.prepend(Write(QStringLiteral("doc%1.txt").arg(i), PumpText));
            QVERIFY(window->OpenDocument(opened.front()));
        }
        // Reopening moves a file to the top rather than listing it twice.
        window->OpenDocument(opened[3]);
        opened.move(3, 0);
        QCOMPARE(RecentItems(), opened.mid(0, 8));

        // Remembered for the next window.
        window = std::make_unique<TfrMain>();
        frMain = window.get();
        QCOMPARE(RecentItems(), opened.mid(0, 8));

        QFile::remove(opened[2]);
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        window->RecentFiles1->mnuRecentFiles->actions().at(2)->trigger();
        QCOMPARE(TDialogs::LastBox().Text, QStringLiteral("Unable to open file\n") + opened[2]);
        opened.removeAt(2);
        QCOMPARE(RecentItems(), opened.mid(0, 7));
    }

    void openDialogStartsInTheLastFolderOnceInstalled() {
        QVERIFY(IsInstalledProgramDir(QStringLiteral("/usr/bin")));
        QVERIFY(!IsInstalledProgramDir(dir->path()));
        // From a build folder, as before.
        QCOMPARE(OpenDialogStartDir(dir->path()), dir->path());
        QCOMPARE(OpenDialogStartDir(QStringLiteral("/usr/bin")), QDir::homePath());
        const QString name = Write(QStringLiteral("sub/pump.txt"), PumpText);
        window->ProgramDir = QStringLiteral("/usr/bin/");
        TDialogs::SetNextFileName(name);
        window->Open1Click();
        QCOMPARE(OpenDialogStartDir(QStringLiteral("/usr/bin")), dir->filePath("sub"));
    }

    // Example 4 is Windows-1252: every table comes out as UTF-8.
    void exportsAreUtf8AndReadBack() {
        window->Example4Click();
        const int claims = static_cast<int>(window->ClaimTree->Claims.size());

        const QString csv = dir->filePath(QStringLiteral("claims.csv"));
        TDialogs::SetNextFileName(csv);
        window->TableExports1->ExportClaimsCsv1->trigger();
        const std::string table = ReadBytes(csv);
        QVERIFY(IsValidUtf8(table));
        QVERIFY(table.find("25 \xc2\xba"
                           "C") != std::string::npos);

        const QString json = dir->filePath(QStringLiteral("sub/claims.json"));
        QDir().mkpath(dir->filePath(QStringLiteral("sub")));
        TDialogs::SetNextFileName(json);
        window->TableExports1->ExportClaimsJson1->trigger();
        QJsonParseError error{};
        const QJsonDocument parsed =
            QJsonDocument::fromJson(QByteArray::fromStdString(ReadBytes(json)), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(parsed.object().value(QStringLiteral("claims")).toArray().size(), claims);

        // The dialog starts where the last export went.
        TDialogs::SetNextFileName(QString());
        window->TableExports1->ExportMatrixHtml1->trigger();
        QCOMPARE(window->TableExports1->ExportDialog->directory().absolutePath(),
                 dir->filePath("sub"));
        QCOMPARE(TDialogs::BoxCount(), 0);
    }

    // The tree's and the tables' exports: one folder, remembered with the
    // program's other settings.
    void exportsShareOneFolder_data() {
        QTest::addColumn<bool>("treeFirst");
        QTest::newRow("tree, then table") << true;
        QTest::newRow("table, then tree") << false;
    }

    void exportsShareOneFolder() {
        QFETCH(bool, treeFirst);
        window->Example4Click();
        QAction* tree = window->TreeExport1->ExportSvg1;
        QAction* table = window->TableExports1->ExportClaimsCsv1;
        const QString folder = dir->filePath(QStringLiteral("exports"));
        QVERIFY(QDir().mkpath(folder));
        TDialogs::SetNextFileName(folder + QStringLiteral("/claims"));
        (treeFirst ? tree : table)->trigger();
        TDialogs::SetNextFileName(QString());
        (treeFirst ? table : tree)->trigger();
        QCOMPARE(TDialogs::LastFolder(), folder);
        window->TreeExport1->WholeTree1->setChecked(true);
        QVERIFY(TfrMain().TreeExport1->WholeTree1->isChecked());
        // Nothing in a settings file of no program's name.
        QCOMPARE(QSettings().allKeys(), QStringList());
        QCOMPARE(TDialogs::BoxCount(), 0);
    }

    void exportThatCannotBeWrittenSaysSoAndLeavesNothing_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("missing folder") << QStringLiteral("missing/matrix.csv");
        QTest::newRow("a folder's name") << QStringLiteral("taken");
        QTest::newRow("below a file") << QStringLiteral("file.txt/matrix.csv");
    }

    void exportThatCannotBeWrittenSaysSoAndLeavesNothing() {
        QFETCH(QString, target);
        QDir(dir->path()).mkdir(QStringLiteral("taken"));
        Write(QStringLiteral("file.txt"), "kept");
        window->Example4Click();
        const QStringList before = QDir(dir->path()).entryList(QDir::AllEntries | QDir::Hidden);
        TDialogs::SetNextFileName(dir->filePath(target));
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        window->TableExports1->ExportMatrixCsv1->trigger();
        QCOMPARE(TDialogs::BoxCount(), 1);
        QVERIFY(TDialogs::LastBox().Text.startsWith(QStringLiteral("Unable to write file\n") +
                                                    dir->filePath(target)));
        QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::Hidden), before);
        QVERIFY(QDir(dir->filePath("taken")).isEmpty());
        QCOMPARE(ReadBytes(dir->filePath("file.txt")), std::string("kept"));
    }

    // A matrix of more claims than it takes is refused with the reason, not
    // an exception box, and leaves no file.
    void matrixPastItsSizeSaysWhyAndLeavesNothing() {
        std::string text = "We claim:\n";
        for (int n = 0; n <= 10'000; ++n)
            text += " 1. A pump.\n";
        TDialogs::SetNextFileName(Write(QStringLiteral("many.txt"), text));
        window->Open1Click();
        const QString target = dir->filePath(QStringLiteral("matrix.csv"));
        TDialogs::SetNextFileName(target);
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        window->TableExports1->ExportMatrixCsv1->trigger();
        QCOMPARE(TDialogs::BoxCount(), 1);
        QCOMPARE(TDialogs::LastBox().Text,
                 QStringLiteral("Unable to write file\n") + target +
                     QStringLiteral("\nThe dependency matrix takes at most 10000 claims, not "
                                    "10001."));
        QVERIFY(!QFileInfo::exists(target));
    }
};

VELTRUM_APP_TEST_MAIN(TestfrMainFiles)
#include "frmMainFilesTest.moc"
