#include "RedrawLock.h"

#include "ClaimTreePane.h"

void SetRedrawLock(QWidget* Control, bool Locked) {
    if (Control == nullptr)
        return;
    if (auto* pane = qobject_cast<TClaimTreePane*>(Control)) {
        pane->Content()->setVisible(!Locked);
        if (!Locked)
            pane->update();
        return;
    }
    // Setting updates enabled again schedules one repaint of Control with
    // all its children.
    Control->setUpdatesEnabled(!Locked);
}
