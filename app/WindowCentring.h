#pragma once
// Centres top-level windows on their screen as a person sees them: frame and title bar included.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where the frame's top-left corner goes so that a window of client size client with frame
// margins frame sits in the middle of available. A window larger than available keeps its
// title bar on the screen: it is pinned to available's top-left corner.
QPoint centredFramePosition(QSize client, QMargins frame, const QRect& available);

// Centres window on its screen (the primary screen when it has none yet); does nothing without
// a screen. The window manager adds the frame only when it first shows the window, so until then
// the frame of the last framed window stands in, and the window is centred again once its own
// frame is known. Call after the window has its final size.
void centreOnScreen(QWidget* window);
