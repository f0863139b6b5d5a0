#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

// Notices when the open document's file changes on disk. Word processors
// save by writing a new file and renaming it over the old one, which ends a
// plain watch on the file: the folder is watched too, and the file again
// whenever it is back. Changed comes once a burst of writes has settled, and
// only when the file differs from what was last read or saved.
class TDocumentWatcher : public QObject {
    Q_OBJECT

public:
    explicit TDocumentWatcher(QObject* Parent);

    // Watches FileName as it is now; an empty name stops watching.
    void Watch(const QString& FileName);
    // The program itself wrote the file: that is no change to report.
    void Written();
    QString FileName() const { return file; }

signals:
    void Changed();

private:
    void Settled();
    QString Signature() const;

    QFileSystemWatcher watcher;
    QTimer settle;
    QString file;
    QString known; // the signature of the file as last read or written
};
