#include "toolkit/qt/pictures.h"

#include "toolkit/layout.h"

namespace toolkit::qt {
namespace {

QString ResourcePath(Picture picture) {
    switch (picture) {
        case Picture::Background:
            return QStringLiteral(":/cindermoor/background.bmp");
        case Picture::Logo:
            return QStringLiteral(":/cindermoor/logo.bmp");
        case Picture::Icon:
            return QStringLiteral(":/cindermoor/cindermoor.ico");
        case Picture::None:
            break;
    }
    return {};
}

}  // namespace

QPixmap LoadPicture(Picture picture) {
    if (picture == Picture::None)
        return {};
    return QPixmap(ResourcePath(picture));
}

QIcon LoadIcon(Picture picture) {
    if (picture == Picture::None)
        return {};
    return QIcon(ResourcePath(picture));
}

}  // namespace toolkit::qt
