#include "toolkit/qt/raw_picture.h"

#include <cstdint>
#include <cstring>

namespace toolkit::qt {
namespace {

constexpr qsizetype kHeader = 8;
constexpr std::uint32_t kLargest = 1 << 15;

void PutLittle32(char* out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t Little32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

}  // namespace

QByteArray EncodeRawPicture(const QImage& picture) {
    if (picture.isNull())
        return {};
    const QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
    const qsizetype row = qsizetype{pixels.width()} * 4;
    QByteArray raw(kHeader + row * pixels.height(), Qt::Uninitialized);
    PutLittle32(raw.data(), static_cast<std::uint32_t>(pixels.width()));
    PutLittle32(raw.data() + 4, static_cast<std::uint32_t>(pixels.height()));
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(raw.data() + kHeader + row * y, pixels.constScanLine(y),
                    static_cast<std::size_t>(row));
    return raw;
}

QImage ViewRawPicture(QByteArrayView bytes) {
    if (bytes.size() < kHeader)
        return {};
    const std::uint32_t width = Little32(bytes.data());
    const std::uint32_t height = Little32(bytes.data() + 4);
    if (width == 0 || height == 0 || width > kLargest || height > kLargest ||
        bytes.size() != kHeader + qsizetype{width} * height * 4)
        return {};
    const auto* pixels = reinterpret_cast<const uchar*>(bytes.data() + kHeader);
    QImage view(pixels, static_cast<int>(width), static_cast<int>(height),
                static_cast<qsizetype>(width) * 4, QImage::Format_RGB32);
    // Qt reads the pixels 32 bits at a time: rows that do not start on such a boundary are
    // copied to ones that do.
    if (reinterpret_cast<std::uintptr_t>(pixels) % alignof(std::uint32_t) != 0)
        return view.copy();
    return view;
}

}  // namespace toolkit::qt
