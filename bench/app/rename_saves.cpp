// A Word draft saved again and again as word processors save: a new file
// written beside it and renamed over it. Counts the analyses the window
// makes of the saves and whether the tab shown stays. Run:
//   QT_QPA_PLATFORM=offscreen build/bench/app/rename_saves [SAVES]

#include "../../tests/documents/TestZip.h"
#include "frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTabBar>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// A draft of Claims claims in an automatic list: one independent, the
// others on claim 1.
std::string Draft(int Claims) {
    const std::string ns =
        " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";
    std::string body = "<w:p><w:r><w:t>What is claimed is:</w:t></w:r></w:p>";
    for (int n = 1; n <= Claims; ++n)
        body += "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr>"
                "</w:pPr><w:r><w:t>" +
                std::string(n == 1 ? "A pump." : "The pump of claim 1.") + "</w:t></w:r></w:p>";
    return MakeZip(
        {{"word/document.xml", "<w:document" + ns + "><w:body>" + body + "</w:body></w:document>",
          true},
         {"word/numbering.xml",
          "<w:numbering" + ns +
              "><w:abstractNum w:abstractNumId=\"1\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/>"
              "<w:lvlText w:val=\"%1.\"/></w:lvl></w:abstractNum><w:num w:numId=\"1\">"
              "<w:abstractNumId w:val=\"1\"/></w:num></w:numbering>",
          true}});
}

bool Write(const QString& Name, const std::string& Bytes) {
    QFile file(Name);
    return file.open(QIODevice::WriteOnly) &&
           file.write(Bytes.data(), static_cast<qint64>(Bytes.size())) ==
               static_cast<qint64>(Bytes.size());
}

QString Counts(int Claims) {
    return QStringLiteral("Tree of claims: independent 1; dependent %1; total %2")
        .arg(Claims - 1)
        .arg(Claims);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int saves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("draft.docx"));
    const QString copy = folder.filePath(QStringLiteral("~WRL0001.tmp"));
    if (!Write(name, Draft(3)))
        return 2;
    TfrMain window;
    window.show();
    if (!window.OpenDocument(name) || window.Label4->text() != Counts(3)) {
        std::fprintf(stderr, "the draft does not open: %s\n", qPrintable(window.Label4->text()));
        return 2;
    }
    window.TabControl1->setCurrentIndex(1);
    const QString tab = window.TabControl1->tabText(1);

    int analysed = 0, kept = 0;
    QElapsedTimer clock, one;
    clock.start();
    double longest = 0;
    for (int save = 1; save <= saves; ++save) {
        one.start();
        if (!Write(copy, Draft(3 + save % 90)) ||
            ::rename(QFile::encodeName(copy).constData(), QFile::encodeName(name).constData()) != 0)
            return 2;
        // Each save is awaited, as a user's saves are seconds apart. Each
        // has another number of claims than the one before, 4 to 92 (the
        // standard reading reads claims from 100 on only in some numberings).
        while (window.Label4->text() != Counts(3 + save % 90) && one.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        longest = std::max(longest, static_cast<double>(one.elapsed()));
        analysed += window.Label4->text() == Counts(3 + save % 90);
        if (window.Label4->text() != Counts(3 + save % 90))
            std::fprintf(stderr, "save %d not shown: %s\n", save,
                         qPrintable(window.Label4->text()));
        kept += window.TabControl1->tabText(window.TabControl1->currentIndex()) == tab;
    }
    std::printf(
        "saves: %d, analyses shown: %d, tab kept: %d, %.1f s in all, longest wait %.0f ms\n", saves,
        analysed, kept, static_cast<double>(clock.elapsed()) / 1e3, longest);
    return analysed == saves && kept == saves ? 0 : 1;
}
