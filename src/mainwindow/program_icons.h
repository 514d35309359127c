// program_icons.h — the program's own picture (windows, tray, launcher, About box) and the
// toolbar's pictures: the desktop theme's icon for each job where the theme has one, else a
// picture shipped with the program (the ":/icons/" resource).
#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QString>

namespace TLMainIcons {

// The file name (without ".svg") the launcher and the desktop know the program's picture by.
inline constexpr const char* kProgramIconName = "tolvane-rerode-ii";

// The program's picture.
QIcon Program_Icon();

// The picture for a toolbar button or menu entry, drawn for the palette in use so that it stays
// clear on a dark toolbar as on a light one: the theme's symbolic icon `themeName`-symbolic in the
// palette's text colour; else the theme's icon `themeName`; else the shipped picture
// ":/icons/<fallback>.svg", whose outlines take the palette's text colour. An empty theme name
// always takes the shipped picture. A picture that would still not stand out from the palette's
// window colour gets an outline in the text colour.
QIcon Theme_Icon(const char* themeName, const char* fallback);

// Whether a picture (with its transparency) stands out when drawn over the background: a tenth of
// its area or more differs from the background by a contrast ratio of at least 3:1.
bool Clearly_Visible(const QImage& picture, const QColor& background);

}  // namespace TLMainIcons
