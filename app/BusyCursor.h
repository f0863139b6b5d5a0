#pragma once

#include <QCursor>
#include <QGuiApplication>

// The wait cursor for as long as it lives, around work that may take longer
// than a moment; nested guards stack, and every way out restores the cursor.
// Work that goes on in slices while the window answers takes Qt::BusyCursor.
class TBusyCursor {
public:
    explicit TBusyCursor(Qt::CursorShape Shape = Qt::WaitCursor) {
        QGuiApplication::setOverrideCursor(Shape);
    }
    ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};
