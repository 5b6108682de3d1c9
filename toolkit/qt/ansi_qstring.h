// Conversion of ANSI bytes at the widget edge.
#pragma once

#include <QString>
#include <string>

#include "toolkit/form.h"

namespace toolkit::qt {

QString FromAnsi(const std::string& bytes);
AnsiText ToAnsi(const QString& text);

}  // namespace toolkit::qt
