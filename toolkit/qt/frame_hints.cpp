#include "toolkit/qt/frame_hints.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace toolkit::qt {
namespace {

// The Motif window manager hints: flags, functions, decorations, input mode, status.
constexpr std::uint32_t kHasFunctions = 1, kHasDecorations = 2;
constexpr std::uint32_t kMove = 4, kClose = 32;
constexpr std::uint32_t kBorder = 2, kTitle = 8, kMenu = 16;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    xcb_atom_t atom = XCB_ATOM_NONE;
    if (reply)
        atom = reply->atom;
    std::free(reply);
    return atom;
}

}  // namespace

void AskForCloseAndMoveOnly(QWidget& window) {
    // The offscreen platform answers for X11 too, without a connection.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection() || !window.testAttribute(Qt::WA_WState_Created))
        return;
    xcb_connection_t* connection = x11->connection();
    const xcb_atom_t hints = Atom(connection, "_MOTIF_WM_HINTS");
    if (hints == XCB_ATOM_NONE)
        return;
    const std::array<std::uint32_t, 5> value{kHasFunctions | kHasDecorations, kMove | kClose,
                                             kBorder | kTitle | kMenu, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window.winId()), hints, hints, 32, value.size(),
                        value.data());
    xcb_flush(connection);
}

}  // namespace toolkit::qt
