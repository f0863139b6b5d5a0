#pragma once

#include <QEvent>

// The controls of the drawing are shown in bulk, under their pane's content
// widget, which is hidden for each pass (SetRedrawLock) and repaints the
// whole visible picture when it is shown again. The repaint that Qt queues
// for every child shown that way would put each of tens of thousands of
// controls on the dirty list, and each entry costs a walk over all its
// siblings; so the controls skip it. They are also never marked opaque: the
// region of opaque children is rebuilt, rectangle by rectangle, at every
// paint of the content.
inline bool SkipsOwnRepaint(const QEvent* Event) {
    return Event->type() == QEvent::UpdateLater;
}
