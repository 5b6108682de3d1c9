#include "toolkit/qt/pictures.h"

#include "toolkit/layout.h"

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

}  // namespace

QPixmap LoadPicture(const std::string& name) {
    if (name.empty())
        return {};
    return QPixmap(ResourcePath(name));
}

QIcon LoadIcon(const std::string& name) {
    if (name.empty())
        return {};
    return QIcon(ResourcePath(name));
}

}  // namespace toolkit::qt
