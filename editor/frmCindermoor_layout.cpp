#include "editor/frmCindermoor_layout.h"

#include "base/identity/identity.h"

namespace editor {
namespace {

using toolkit::ControlKind;
using toolkit::ControlLayout;
using toolkit::FontDesc;

const FontDesc kWindowFont{"Verdana", 8.25, false};
const FontDesc kEditFont{"MS Sans Serif", 8.25, false};
const FontDesc kTitleFont{"Tahoma", 11.25, true};

ControlLayout Button(const char* name, int index, const char* caption, int left, int top, int width,
                     int tab) {
    ControlLayout c;
    c.name = name;
    c.kind = ControlKind::CommandButton;
    c.index = index;
    c.caption = caption;
    c.left = left, c.top = top, c.width = width, c.height = 315;
    c.tabIndex = tab;
    return c;
}

ControlLayout Line(const char* name, int x1, int y1, int x2, int y2) {
    ControlLayout c;
    c.name = name;
    c.kind = ControlKind::Line;
    c.left = x1, c.top = y1, c.width = x2, c.height = y2;
    return c;
}

ControlLayout Label(const char* name, const char* caption, int left, int top, int width, int height,
                    int tab) {
    ControlLayout c;
    c.name = name;
    c.kind = ControlKind::Label;
    c.caption = caption;
    c.left = left, c.top = top, c.width = width, c.height = height;
    c.tabIndex = tab;
    c.transparent = true;
    return c;
}

toolkit::FormLayout Build() {
    toolkit::FormLayout f;
    f.name = "frmCindermoor";
    f.caption = "Cindermoor";
    f.clientWidth = 8685;
    f.clientHeight = 4005;
    f.backColor = toolkit::kWhite;
    f.picture = toolkit::kPictureBackground;
    f.icon = toolkit::kPictureIcon;
    f.font = kWindowFont;
    f.border = toolkit::FormBorder::FixedSingle;

    ControlLayout ver = Button("cmdVer", -1, identity::kVersionCaption, 8055, 3645, 570, 13);
    ver.backColor = toolkit::kWhite;
    f.controls.push_back(ver);
    f.controls.push_back(Button("cmdOpen", 5, "Protocols", 90, 3150, 1665, 12));
    f.controls.push_back(Button("cmdOpen", 4, "Hosts", 90, 2790, 1665, 11));
    f.controls.push_back(Button("cmdOpen", 3, "Win.ini", 90, 2205, 1665, 10));
    f.controls.push_back(Button("cmdOpen", 2, "System.ini", 90, 1845, 1665, 9));
    f.controls.push_back(Button("cmdOpen", 0, "Config.sys", 90, 1260, 1665, 8));

    ControlLayout logo;
    logo.name = "win";
    logo.kind = ControlKind::PictureBox;
    logo.picture = toolkit::kPictureLogo;
    logo.left = 180, logo.top = 90, logo.width = 615, logo.height = 495;
    logo.tabIndex = 6;
    logo.backColor = toolkit::kWhite;
    f.controls.push_back(logo);

    f.controls.push_back(Button("cmdClose", -1, "Close File", 3645, 3645, 1650, 5));
    f.controls.push_back(Button("cmdSave", -1, "Save Current File", 1845, 3645, 1650, 4));
    f.controls.push_back(Button("cmdOpen", 1, "Autoexec.bat", 90, 900, 1665, 1));

    ControlLayout display;
    display.name = "txtDisplay";
    display.kind = ControlKind::TextBox;
    display.left = 1845, display.top = 810, display.width = 6465, display.height = 2760;
    display.tabIndex = 0;
    display.font = kEditFont;
    display.multiLine = true;
    display.hScroll = true;
    display.vScroll = true;
    f.controls.push_back(display);

    f.controls.push_back(Line("Line2", 180, 2655, 1665, 2655));
    f.controls.push_back(Line("Line1", 180, 1710, 1665, 1710));

    ControlLayout title =
        Label("txtME", "Microsoft Windows Millennium Cindermoor", 900, 180, 5055, 255, 7);
    title.font = kTitleFont;
    title.foreColor = toolkit::kBlack;
    f.controls.push_back(title);

    ControlLayout fileName = Label("lblFileName", "None", 3555, 585, 435, 195, 3);
    fileName.autoSize = true;
    f.controls.push_back(fileName);

    ControlLayout current = Label("lblCurFile", "Current File Open:", 1845, 585, 1590, 195, 2);
    current.autoSize = true;
    f.controls.push_back(current);
    return f;
}

}  // namespace

const toolkit::FormLayout& frmCindermoorLayout() {
    static const toolkit::FormLayout layout = Build();
    return layout;
}

}  // namespace editor
