// Font faces of the layouts, mapped to what this system has.
#pragma once

#include <QFont>

#include "toolkit/layout.h"

namespace toolkit::qt {

// Makes the Windows-metric faces that Debian ships with Wine (Tahoma, MS Sans Serif)
// known to the application when they are installed. Call once, before QApplication is made:
// fontconfig then has them before Qt first lists the fonts.
void RegisterCompatibleFonts();

// The face to use for a layout face: itself when installed, else the nearest available;
// on a scaled screen, the nearest that scales.
QString ResolveFace(const std::string& face);

// Makes text in the font show every character as its own glyph: no ligatures.
void DrawEveryCharacterAlone(QFont& font);

// Sizes are taken at 96 dpi, as the layouts were made, so every screen lays out alike.
QFont ToQFont(const FontDesc& layout);

}  // namespace toolkit::qt
