#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <string>

// Where documents come from and where exports go: the command line, the
// recent files, the folders the file dialogs start in.

struct TStartupArguments {
    // The document to open at start, as an absolute name; empty for none.
    QString File;
    // Set for arguments the program does not take.
    QString Error;
};

// Reads the arguments left after Qt's own. A relative file name is taken
// from StartDir, the directory the program was started in.
TStartupArguments ParseStartupArguments(const QStringList& Arguments, const QString& StartDir);

// Whether Dir, the program's own folder, is where an installed program
// lives: a system folder, or one the user cannot write to. Run from a build
// folder, the program keeps its documents beside it.
bool IsInstalledProgramDir(const QString& Dir);

// The folder an Open dialog starts in: ProgramDir when run from a build
// folder; else the folder last opened from, or the home folder at first.
QString OpenDialogStartDir(const QString& ProgramDir);
void RememberOpenDir(const QString& FileName);

// The folder every export dialog starts in: where the last export of any
// kind went, or Fallback while there is none or it has gone.
QString ExportDialogStartDir(const QString& Fallback);
void RememberExportDir(const QString& FileName);

// The last documents read, newest first, remembered in the settings.
class TRecentFiles {
public:
    static constexpr int MaxCount = 8;
    static QStringList Files();
    static void Add(const QString& FileName);
    static void Remove(const QString& FileName);
};

// Writes Bytes to FileName whole or not at all: a failed write leaves no file
// behind and an existing one as it was. Returns an error message, empty on
// success.
QString WriteWholeFile(const QString& FileName, const std::string& Bytes);
