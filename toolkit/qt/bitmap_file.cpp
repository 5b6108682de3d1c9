#include "toolkit/qt/bitmap_file.h"

#include <cstdint>

namespace toolkit::qt {
namespace {

constexpr qsizetype kInfoHeader = 40;  // BITMAPINFOHEADER
constexpr std::int32_t kLargest = 1 << 15;

std::uint32_t Little32(const unsigned char* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

unsigned Little16(const unsigned char* p) {
    return p[0] | p[1] << 8;
}

qsizetype RowBytes(std::int32_t width, int bitsPerPixel) {
    return (qsizetype{width} * bitsPerPixel + 31) / 32 * 4;
}

// An uncompressed bitmap of the given depth whose header starts at `header`.
bool IsPlainBitmap(const unsigned char* header, unsigned bitsPerPixel) {
    return Little32(header) >= kInfoHeader && Little16(header + 12) == 1 &&
           Little16(header + 14) == bitsPerPixel && Little32(header + 16) == 0;
}

}  // namespace

QImage ReadTrueColourBitmap(QByteArrayView file) {
    constexpr qsizetype kFileHeader = 14;
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    if (file.size() < kFileHeader + kInfoHeader || bytes[0] != 'B' || bytes[1] != 'M' ||
        !IsPlainBitmap(bytes + kFileHeader, 24))
        return {};
    const auto width = static_cast<std::int32_t>(Little32(bytes + 18));
    const auto height = static_cast<std::int32_t>(Little32(bytes + 22));
    const std::uint32_t offset = Little32(bytes + 10);
    if (width <= 0 || width > kLargest || height == 0 || height < -kLargest || height > kLargest)
        return {};
    // Rows are stored bottom up unless the height is negative.
    const int rows = height > 0 ? height : -height;
    const qsizetype stride = RowBytes(width, 24);
    if (offset < kFileHeader + kInfoHeader || offset > file.size() ||
        (file.size() - offset) / stride < rows)
        return {};
    QImage image(width, rows, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    for (int y = 0; y < rows; ++y) {
        const unsigned char* in = bytes + offset + stride * (height > 0 ? rows - 1 - y : y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        // Blue, green, red read as a little-endian number is the pixel's value: one 32-bit
        // read each, but for the last pixel, whose fourth byte may lie past the file.
        for (int x = 0; x < width - 1; ++x, in += 3) out[x] = 0xFF000000u | Little32(in);
        out[width - 1] = qRgb(in[2], in[1], in[0]);
    }
    return image;
}

QImage ReadPaletteIcon(QByteArrayView file) {
    // Icon directory (6 bytes) and its first entry (16), then that entry's bitmap: header,
    // 256 colours, the pixels, then a mask of one bit per pixel; both bottom up, and the
    // header's height counts both.
    constexpr qsizetype kDirectory = 6 + 16;
    constexpr int kColours = 256;
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    if (file.size() < kDirectory || Little16(bytes) != 0 || Little16(bytes + 2) != 1 ||
        Little16(bytes + 4) == 0)
        return {};
    const std::uint32_t offset = Little32(bytes + 18);
    if (offset > file.size() || file.size() - offset < kInfoHeader)
        return {};
    const unsigned char* header = bytes + offset;
    const auto width = static_cast<std::int32_t>(Little32(header + 4));
    const auto height = static_cast<std::int32_t>(Little32(header + 8)) / 2;
    const std::uint32_t coloursUsed = Little32(header + 32);
    if (!IsPlainBitmap(header, 8) || (coloursUsed != 0 && coloursUsed != kColours) || width <= 0 ||
        width > kLargest || height <= 0 || height > kLargest)
        return {};
    const qsizetype pixelStride = RowBytes(width, 8);
    const qsizetype maskStride = RowBytes(width, 1);
    const qsizetype headerSize = Little32(header);
    if ((file.size() - offset - headerSize - kColours * 4) / (pixelStride + maskStride) < height)
        return {};
    const unsigned char* palette = header + headerSize;
    const unsigned char* pixels = palette + kColours * 4;
    const unsigned char* mask = pixels + pixelStride * height;
    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    for (int y = 0; y < height; ++y) {
        const unsigned char* in = pixels + pixelStride * (height - 1 - y);
        const unsigned char* clear = mask + maskStride * (height - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const unsigned char* colour = palette + 4 * in[x];
            const bool transparent = clear[x / 8] & (0x80 >> (x % 8));
            out[x] = transparent ? 0 : qRgb(colour[2], colour[1], colour[0]);
        }
    }
    return image;
}

}  // namespace toolkit::qt
