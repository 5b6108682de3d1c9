// The program's pictures as Windows stores them: uncompressed 24-bit bitmap files and an icon
// of 256 colours with its transparency mask. Reading them here, straight into the screen's
// format, spares start-up Qt's general image readers (their plug-in list, a colour
// conversion table for an icon's mask).
#pragma once

#include <QByteArrayView>
#include <QImage>

namespace toolkit::qt {

// The picture of an uncompressed 24-bit bitmap file; a null image for any other file.
QImage ReadTrueColourBitmap(QByteArrayView file);

// The first picture of an icon file if it has 256 colours (transparent where its mask is
// set); a null image for any other file.
QImage ReadPaletteIcon(QByteArrayView file);

}  // namespace toolkit::qt
