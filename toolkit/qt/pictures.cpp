#include "toolkit/qt/pictures.h"

#include <QResource>

#include "toolkit/layout.h"
#include "toolkit/qt/bitmap_file.h"

namespace toolkit::qt {
namespace {

QString ResourcePath(const std::string& name) {
    if (name == kPictureBackground)
        return QStringLiteral(":/cindermoor/background.bmp");
    if (name == kPictureLogo)
        return QStringLiteral(":/cindermoor/logo.bmp");
    if (name == kPictureIcon)
        return QStringLiteral(":/cindermoor/cindermoor.ico");
    return {};
}

// Read here when they are in the forms the program stores; Qt's readers take anything else.
QImage ReadStoredPicture(const QString& path) {
    const QByteArray bytes = QResource(path).uncompressedData();
    QImage image = ReadTrueColourBitmap(bytes);
    return image.isNull() ? ReadPaletteIcon(bytes) : image;
}

}  // namespace

QPixmap LoadPicture(const std::string& name) {
    if (name.empty())
        return {};
    const QString path = ResourcePath(name);
    if (QImage image = ReadStoredPicture(path); !image.isNull())
        return QPixmap::fromImage(std::move(image));
    return QPixmap(path);
}

QIcon LoadIcon(const std::string& name) {
    if (name.empty())
        return {};
    const QString path = ResourcePath(name);
    if (QImage image = ReadStoredPicture(path); !image.isNull())
        return QIcon(QPixmap::fromImage(std::move(image)));
    return QIcon(path);
}

}  // namespace toolkit::qt
