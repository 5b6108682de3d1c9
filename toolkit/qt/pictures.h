// The program's pictures, compiled into the executable.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <string>

namespace toolkit::qt {

QPixmap LoadPicture(const std::string& name);
QIcon LoadIcon(const std::string& name);

}  // namespace toolkit::qt
