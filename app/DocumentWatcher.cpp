#include "DocumentWatcher.h"

#include <QFileInfo>
#include <sys/stat.h>

namespace {

// Long enough for a word processor's write, rename and removal of its copy.
constexpr int SettleMs = 250;

} // namespace

TDocumentWatcher::TDocumentWatcher(QObject* Parent) : QObject(Parent) {
    settle.setSingleShot(true);
    settle.setInterval(SettleMs);
    connect(&settle, &QTimer::timeout, this, &TDocumentWatcher::Settled);
    connect(&watcher, &QFileSystemWatcher::fileChanged, &settle, qOverload<>(&QTimer::start));
    connect(&watcher, &QFileSystemWatcher::directoryChanged, &settle, qOverload<>(&QTimer::start));
}

void TDocumentWatcher::Watch(const QString& FileName) {
    settle.stop();
    if (!watcher.files().isEmpty())
        watcher.removePaths(watcher.files());
    if (!watcher.directories().isEmpty())
        watcher.removePaths(watcher.directories());
    file = FileName.isEmpty() ? QString() : QFileInfo(FileName).absoluteFilePath();
    known.clear();
    if (file.isEmpty())
        return;
    watcher.addPath(QFileInfo(file).absolutePath());
    watcher.addPath(file);
    known = Signature();
}

void TDocumentWatcher::Written() {
    if (file.isEmpty())
        return;
    if (!watcher.files().contains(file))
        watcher.addPath(file);
    known = Signature();
}

void TDocumentWatcher::Settled() {
    if (file.isEmpty())
        return;
    // A rename put a new file under the name: watch that one.
    if (!watcher.files().contains(file) && QFileInfo::exists(file))
        watcher.addPath(file);
    const QString now = Signature();
    // A file that is gone may come back; its absence is no text to read.
    if (now.isEmpty() || now == known)
        return;
    known = now;
    emit Changed();
}

QString TDocumentWatcher::Signature() const {
    // The inode tells a renamed-in file from the old one even when size and
    // time agree to the second.
    struct stat status {};
    if (::stat(QFile::encodeName(file).constData(), &status) != 0)
        return {};
    return QStringLiteral("%1 %2 %3.%4")
        .arg(status.st_ino)
        .arg(status.st_size)
        .arg(status.st_mtim.tv_sec)
        .arg(status.st_mtim.tv_nsec);
}
