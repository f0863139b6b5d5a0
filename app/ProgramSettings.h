#pragma once

#include <QSettings>

// Where the program remembers its options between runs: one file for all of
// them, whatever the application's name.
inline QSettings ProgramSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Veltrum"),
                     QStringLiteral("Veltrum"));
}
