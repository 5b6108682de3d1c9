// The program's pictures, compiled into the executable.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <string>

#include "toolkit/layout.h"

namespace toolkit::qt {

QPixmap LoadPicture(Picture picture);
QIcon LoadIcon(Picture picture);

}  // namespace toolkit::qt
