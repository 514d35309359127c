// program_icons.h — the program's own picture (windows, tray, launcher, About box) and the
// toolbar's pictures: the desktop theme's icon for each job where the theme has one, else a
// picture shipped with the program (the ":/icons/" resource).
#pragma once

#include <QIcon>
#include <QString>

namespace TLMainIcons {

// The file name (without ".svg") the launcher and the desktop know the program's picture by.
inline constexpr const char* kProgramIconName = "tolvane-rerode-ii";

// The program's picture.
QIcon Program_Icon();

// The theme's icon `themeName` (or its "-symbolic" form); without one in the theme, the shipped
// picture ":/icons/<fallback>.svg". An empty theme name always takes the shipped picture.
QIcon Theme_Icon(const char* themeName, const char* fallback);

}  // namespace TLMainIcons
