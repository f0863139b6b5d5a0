// Writes the PDFs the command-line tests read into the folder given: a
// two-column grant, a one-column publication, a scan and a cut grant.

#include "TestPdf.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

namespace {

bool Write(const QString& Name, const std::string& Bytes) {
    QFile file(Name);
    return file.open(QIODevice::WriteOnly) &&
           file.write(Bytes.data(), static_cast<qint64>(Bytes.size())) ==
               static_cast<qint64>(Bytes.size());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const std::vector<QString> claims = TestClaims();
    const std::string grant = GrantPdf(claims, 100).Bytes;
    TTestPage scan{612, 792, {}, true};
    for (const char* line : {"Claims", "1. A pump with a housing.", "2. The pump of claim 1."})
        scan.Lines.push_back({72, 100 + 30.0 * static_cast<double>(scan.Lines.size()),
                              QString::fromLatin1(line), 12});
    const bool written =
        Write(folder.filePath(QStringLiteral("grant.pdf")), grant) &&
        Write(folder.filePath(QStringLiteral("publication.pdf")),
              OneColumnPdf(claims, 2, 48).Bytes) &&
        Write(folder.filePath(QStringLiteral("cut.pdf")), grant.substr(0, grant.size() / 2)) &&
        Write(folder.filePath(QStringLiteral("scan.pdf")), WriteTestPdf({scan}));
    return written ? 0 : 1;
}
