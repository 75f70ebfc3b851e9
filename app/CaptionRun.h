#pragma once
// Progress captions come once per contact, far faster than a window manager redraws a title bar.
// Captions that differ only in their numbers (contact 2 of 7, contact 3 of 7) form one run: the
// window system needs the first and the last of a run, and in between about one per frame.

#include <QString>

// True when a and b are the same text but for their runs of decimal digits, and have at least one.
bool sameCaptionRun(const QString& a, const QString& b);
