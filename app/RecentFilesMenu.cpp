#include "RecentFilesMenu.h"

#include "DocumentPlaces.h"
#include "VelkinApplication.h"

#include <QAction>
#include <QDir>
#include <QMenu>

TRecentFilesMenu::TRecentFilesMenu(QMenu& File, QAction* Before,
                                   std::function<void(const QString&)> Open)
    : QObject(&File), open(std::move(Open)) {
    mnuRecentFiles = new QMenu(QStringLiteral("&Recent files"), &File);
    mnuRecentFiles->setObjectName(QStringLiteral("mnuRecentFiles"));
    mnuRecentFiles->menuAction()->setObjectName(QStringLiteral("mnuRecentFiles"));
    File.insertMenu(Before, mnuRecentFiles);
    Fill();
}

void TRecentFilesMenu::Opened(const QString& FileName, bool Read) {
    if (Read)
        TRecentFiles::Add(FileName);
    else
        TRecentFiles::Remove(FileName);
    Fill();
}

void TRecentFilesMenu::Fill() {
    for (QAction* item : mnuRecentFiles->actions()) {
        mnuRecentFiles->removeAction(item);
        item->deleteLater();
    }
    const QStringList files = TRecentFiles::Files();
    for (qsizetype i = 0; i < files.size(); ++i) {
        auto* item =
            new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files[i])),
                        mnuRecentFiles);
        item->setData(files[i]);
        // The name is copied out: opening refills the menu.
        const QString fileName = files[i];
        connect(item, &QAction::triggered, this,
                [this, fileName] { RunHandler([this, fileName] { open(fileName); }); });
        mnuRecentFiles->addAction(item);
    }
    mnuRecentFiles->setEnabled(!files.isEmpty());
}
