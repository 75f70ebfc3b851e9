#pragma once
// The program's own icon, 16 and 32 pixels, for both windows.

#include <QIcon>

QIcon appIcon();
