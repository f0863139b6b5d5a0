#pragma once

#include <QCursor>
#include <QGuiApplication>

// The wait cursor for as long as it lives, around work that may take longer
// than a moment; nested guards stack, and every way out restores the cursor.
class TBusyCursor {
public:
    TBusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};
