// What both windows show in the reference pictures: a drive whose Win.ini holds letters
// that fonts like to join, with no Hosts file, so that one button is greyed.
#pragma once

#include <memory>

#include "toolkit/form.h"

namespace screens {

struct DriveFile {
    bool inWindowsFolder;
    const char* name;
    const char* bytes;  // Windows-1252: \x99 is the trade mark sign, \x85 the ellipsis
};

inline constexpr DriveFile kDriveFiles[] = {
    {true, "WIN.INI",
     "; fi ffi fl TM \x99 ... \x85 1/2\r\n[windows]\r\nload=\r\nrun=\r\n[Desktop]\r\n"
     "Wallpaper=(None)\r\nTileWallpaper=0\r\n"},
    {true, "SYSTEM.INI", "[boot]\r\n"},
    {true, "PROTOCOL", "[ndis]\r\n"},
    {false, "AUTOEXEC.BAT", "SET TMP=C:\\TEMP\r\n"},
    {false, "CONFIG.SYS", "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n"},
};

inline constexpr int kWinIniIndex = 3;  // the index of the "Win.ini" button

// A bold caption in transparent labels over the picture, a little narrower to a little wider
// than it needs, one pixel apart, in several faces: too narrow, they narrow the font to fit.
inline std::unique_ptr<toolkit::Form> ShowCaptionSheet(toolkit::Toolkit& gui) {
    toolkit::FormLayout layout;
    layout.name = "frmCaptions";
    layout.caption = "Captions";
    layout.clientWidth = 8685;
    layout.clientHeight = 6150;
    layout.picture = toolkit::Picture::Background;
    layout.font = {"Tahoma", 8.25, true};
    int column = 0;
    for (const char* face : {"Tahoma", "DejaVu Sans", "MS Sans Serif"}) {
        for (int pixels = 78; pixels <= 100; ++pixels) {
            toolkit::ControlLayout label;
            label.name = "lbl";
            label.kind = toolkit::ControlKind::Label;
            label.index = static_cast<int>(layout.controls.size());
            label.caption = "Cindermoor";
            label.left = 150 + 2850 * column, label.top = 150 + 255 * (pixels - 78);
            label.width = 15 * pixels, label.height = 255;
            label.font = toolkit::FontDesc{face, 11.25, true};
            label.transparent = true;
            layout.controls.push_back(label);
        }
        ++column;
    }
    auto form = gui.CreateForm(layout, {});
    form->Show();
    return form;
}

}  // namespace screens
