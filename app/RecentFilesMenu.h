#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;

// The File menu's list of the last documents read or saved, newest first,
// kept in the settings between runs.
class TRecentFilesMenu : public QObject {
    Q_OBJECT

public:
    // Puts the submenu into File before Before; Open runs for a chosen item.
    TRecentFilesMenu(QMenu& File, QAction* Before, std::function<void(const QString&)> Open);

    QMenu* mnuRecentFiles;

    // A document was opened or saved under a new name: a read or written
    // one goes to the top, one that has gone leaves the list.
    void Opened(const QString& FileName, bool Read);

private:
    void Fill();

    std::function<void(const QString&)> open;
};
