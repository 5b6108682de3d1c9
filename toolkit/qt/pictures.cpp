#include "toolkit/qt/pictures.h"

#include <QResource>

#include "toolkit/layout.h"
#include "toolkit/qt/bitmap_file.h"
#include "toolkit/qt/raw_picture.h"

namespace toolkit::qt {
namespace {

QString ResourcePath(Picture picture) {
    switch (picture) {
        case Picture::Background:
            return QStringLiteral(":/cindermoor/background.rgb32");
        case Picture::Logo:
            return QStringLiteral(":/cindermoor/logo.bmp");
        case Picture::Icon:
            return QStringLiteral(":/cindermoor/cindermoor.ico");
        case Picture::None:
            break;
    }
    return {};
}

// Read here when they are in the forms the program stores; Qt's readers take anything else.
QImage ReadStoredPicture(const QString& path) {
    const QResource resource(path);
    // Raw pixels are shown where the executable holds them; they are never compressed.
    if (path.endsWith(QLatin1String(".rgb32")) &&
        resource.compressionAlgorithm() == QResource::NoCompression)
        return ViewRawPicture(
            QByteArrayView(reinterpret_cast<const char*>(resource.data()), resource.size()));
    const QByteArray bytes = resource.uncompressedData();
    QImage image = ReadTrueColourBitmap(bytes);
    return image.isNull() ? ReadPaletteIcon(bytes) : image;
}

}  // namespace

QPixmap LoadPicture(Picture picture) {
    if (picture == Picture::None)
        return {};
    const QString path = ResourcePath(picture);
    if (QImage image = ReadStoredPicture(path); !image.isNull())
        return QPixmap::fromImage(std::move(image));
    return QPixmap(path);
}

QIcon LoadIcon(Picture picture) {
    if (picture == Picture::None)
        return {};
    const QString path = ResourcePath(picture);
    if (QImage image = ReadStoredPicture(path); !image.isNull())
        return QIcon(QPixmap::fromImage(std::move(image)));
    return QIcon(path);
}

}  // namespace toolkit::qt
