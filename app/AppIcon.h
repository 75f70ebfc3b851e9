#pragma once
// The program's own icon for both windows, in every size the desktop's icon theme gets, so a task
// switcher or a HiDPI title bar picks a sharp one instead of scaling 32 pixels up.

#include <QIcon>

#include <array>

inline constexpr std::array kAppIconSizes{16, 22, 24, 32, 48, 64, 128, 256};

QIcon appIcon();
