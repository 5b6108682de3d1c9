// What a fixed window tells the X window manager it may do with it.
#pragma once

#include <QWidget>

namespace toolkit::qt {

// Asks the window manager, before the window is mapped, to offer moving and closing only:
// Qt's own Motif hints also ask for resizing and a resize border whatever the window's fixed
// size. Does nothing off X11.
void AskForCloseAndMoveOnly(QWidget& window);

}  // namespace toolkit::qt
