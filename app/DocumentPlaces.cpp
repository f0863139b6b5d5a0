#include "DocumentPlaces.h"

#include "ProgramSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

namespace {

const QString RecentFilesKey = QStringLiteral("RecentFiles");
const QString OpenDirKey = QStringLiteral("Folders/Open");
const QString ExportDirKey = QStringLiteral("Folders/Export");

} // namespace

TStartupArguments ParseStartupArguments(const QStringList& Arguments, const QString& StartDir) {
    TStartupArguments result;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < Arguments.size(); ++i) {
        const QString& arg = Arguments[i];
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && arg.startsWith(QLatin1Char('-'))) {
            result.Error = QStringLiteral("unknown option '%1'").arg(arg);
            return result;
        } else if (!result.File.isEmpty()) {
            result.Error = QStringLiteral("give one file");
            return result;
        } else {
            result.File = QDir::cleanPath(QDir(StartDir).absoluteFilePath(arg));
        }
    }
    return result;
}

bool IsInstalledProgramDir(const QString& Dir) {
    const QFileInfo info(Dir);
    const QString path =
        info.canonicalFilePath().isEmpty() ? QDir::cleanPath(Dir) : info.canonicalFilePath();
    for (const char* system : {"/usr", "/opt", "/bin", "/sbin", "/snap"}) {
        const QString root = QLatin1String(system);
        if (path == root || path.startsWith(root + QLatin1Char('/')))
            return true;
    }
    return !info.isWritable();
}

QString OpenDialogStartDir(const QString& ProgramDir) {
    if (!IsInstalledProgramDir(ProgramDir))
        return ProgramDir;
    const QString last = ProgramSettings().value(OpenDirKey).toString();
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : QDir::homePath();
}

void RememberOpenDir(const QString& FileName) {
    ProgramSettings().setValue(OpenDirKey, QFileInfo(FileName).absolutePath());
}

QString ExportDialogStartDir(const QString& Fallback) {
    const QString last = ProgramSettings().value(ExportDirKey).toString();
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : Fallback;
}

void RememberExportDir(const QString& FileName) {
    ProgramSettings().setValue(ExportDirKey, QFileInfo(FileName).absolutePath());
}

QStringList TRecentFiles::Files() {
    QStringList files = ProgramSettings().value(RecentFilesKey).toStringList();
    files.removeAll(QString());
    return files.mid(0, MaxCount);
}

void TRecentFiles::Add(const QString& FileName) {
    QStringList files = Files();
    files.removeAll(FileName);
    files.prepend(FileName);
    ProgramSettings().setValue(RecentFilesKey, files.mid(0, MaxCount));
}

void TRecentFiles::Remove(const QString& FileName) {
    QStringList files = Files();
    if (files.removeAll(FileName) > 0)
        ProgramSettings().setValue(RecentFilesKey, files);
}

QString WriteWholeFile(const QString& FileName, const std::string& Bytes) {
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(Bytes.data(), static_cast<qint64>(Bytes.size())) !=
        static_cast<qint64>(Bytes.size())) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    // commit() misses a failure of the final flush (a full disk) and would
    // rename a cut file into place.
    if (!file.flush()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
