// A picture stored as the screen's own pixels: width and height (32-bit, little-endian), then
// the rows top down, 32 bits a pixel (QImage::Format_RGB32). Shown straight from the
// executable's memory, it costs start-up no decoding and no fresh memory.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

namespace toolkit::qt {

QByteArray EncodeRawPicture(const QImage& picture);

// The picture over the bytes themselves, which must outlive it; a null image when they are
// not a raw picture.
QImage ViewRawPicture(QByteArrayView bytes);

}  // namespace toolkit::qt
