#pragma once
// How the running program names itself to the desktop. Call once, after the QApplication exists
// and before the first window is shown: the window system reads the names when a window is made.

// Sets the desktop file name (the reverse-DNS application ID that names the installed .desktop
// file and the AppStream metainfo) and the application's own icon. Never fails.
void identifyApplication();
