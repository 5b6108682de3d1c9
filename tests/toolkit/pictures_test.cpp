// The program's pictures, read by the backend's own bitmap and icon readers, hold exactly
// the pixels that Qt's image readers find in the same files.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "toolkit/layout.h"
#include "toolkit/qt/bitmap_file.h"
#include "toolkit/qt/pictures.h"

static void InitCindermoorResources() {
    Q_INIT_RESOURCE(cindermoor);
}

namespace {

using namespace toolkit;
using namespace toolkit::qt;

QImage Opaque(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32);
}

TEST(Pictures, DrawTheSamePixelsAsQtsReaders) {
    InitCindermoorResources();
    const struct {
        Picture name;
        const char* file;
    } pictures[] = {{Picture::Background, ":/cindermoor/background.bmp"},
                    {Picture::Logo, ":/cindermoor/logo.bmp"},
                    {Picture::Icon, ":/cindermoor/cindermoor.ico"}};
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.file);
        const QImage expected = Opaque(QImage(QString::fromLatin1(picture.file)));
        ASSERT_FALSE(expected.isNull());
        EXPECT_EQ(Opaque(LoadPicture(picture.name).toImage()), expected);
        EXPECT_EQ(Opaque(LoadIcon(picture.name).pixmap(expected.size()).toImage()), expected);
    }
}

QByteArray Bytes(const char* resource) {
    QFile file(QString::fromLatin1(resource));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(Pictures, TopDownBitmapsAndCutFilesAreReadRightOrRefused) {
    InitCindermoorResources();
    const QByteArray logo = Bytes(":/cindermoor/logo.bmp");
    const QByteArray icon = Bytes(":/cindermoor/cindermoor.ico");
    // The same picture stored top down: negative height, rows in the other order.
    QByteArray topDown = logo;
    const QImage picture = ReadTrueColourBitmap(logo);
    const qsizetype offset = 54, stride = picture.width() * 3;
    const int height = picture.height();
    for (int y = 0; y < height; ++y)
        topDown.replace(offset + y * stride, stride,
                        logo.mid(offset + (height - 1 - y) * stride, stride));
    const qint32 negative = -height;
    topDown.replace(22, 4, reinterpret_cast<const char*>(&negative), 4);
    EXPECT_EQ(ReadTrueColourBitmap(topDown), picture);
    for (const qsizetype size : {qsizetype{0}, qsizetype{20}, offset, icon.size() - 1}) {
        EXPECT_TRUE(ReadTrueColourBitmap(logo.left(size)).isNull()) << size;
        EXPECT_TRUE(ReadPaletteIcon(icon.left(size)).isNull()) << size;
    }
    EXPECT_TRUE(ReadTrueColourBitmap(logo.left(logo.size() - 1)).isNull());
}

}  // namespace
