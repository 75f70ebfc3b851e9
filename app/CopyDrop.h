#pragma once
// Drops on the program are only ever read, so each is taken as a copy, whatever the source
// proposes. A source told "moved" deletes its items: a Shift-drag from a file manager would
// remove the user's files.

#include <QDropEvent>

// Accepts the drag or drop as a copy. A source that offers no copy (move or link only) is
// refused: whatever the window answered, the source could still act on its own proposal.
inline void takeAsCopy(QDropEvent* event) {
    if (event->possibleActions() & Qt::CopyAction) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
    }
}
