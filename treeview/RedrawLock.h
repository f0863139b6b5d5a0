#pragma once

#include <QPointer>
#include <QWidget>

// Suspends (Locked) or resumes the painting of Control and its children
// around a pass over the drawing; resuming repaints Control once, whole.
// Does nothing for a null Control.
//
// For the tree pane the content widget is hidden while locked: controls
// shown, moved or resized under a hidden parent cost no events, where under
// a visible one each of them would look for the widget under the mouse
// among all its siblings.
void SetRedrawLock(QWidget* Control, bool Locked);

// Holds the redraw lock for a scope, released on every way out.
class TRedrawLock {
public:
    explicit TRedrawLock(QWidget* Control) : control(Control) { SetRedrawLock(Control, true); }
    ~TRedrawLock() { SetRedrawLock(control, false); }
    TRedrawLock(const TRedrawLock&) = delete;
    TRedrawLock& operator=(const TRedrawLock&) = delete;

private:
    QPointer<QWidget> control;
};
