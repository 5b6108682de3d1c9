#include "about/frmAbout_layout.h"

#include "about/about_text_data.h"
#include "base/identity/identity.h"

namespace about {
namespace {

using toolkit::ControlKind;
using toolkit::ControlLayout;
using toolkit::FontDesc;

const FontDesc kButtonFont{"Tahoma", 9, true};
const FontDesc kBoxFont{"MS Sans Serif", 8.25, false};
const FontDesc kContactFont{"Tahoma", 8.25, true};
const FontDesc kTitleFont{"Tahoma", 11.25, true};
const FontDesc kVersionFont{"Tahoma", 8.25, true};
constexpr toolkit::Rgb kLightGrey{224, 224, 224};

ControlLayout Make(const char* name, ControlKind kind, int left, int top, int width, int height,
                   int tab) {
    ControlLayout c;
    c.name = name;
    c.kind = kind;
    c.left = left, c.top = top, c.width = width, c.height = height;
    c.tabIndex = tab;
    return c;
}

ControlLayout Button(const char* name, const char* caption, int left, int width, int tab) {
    ControlLayout c = Make(name, ControlKind::CommandButton, left, 4905, width, 375, tab);
    c.caption = caption;
    c.font = kButtonFont;
    return c;
}

ControlLayout Label(const char* name, const char* caption, int left, int top, int width,
                    const FontDesc& font, int tab) {
    ControlLayout c = Make(name, ControlKind::Label, left, top, width, 255, tab);
    c.caption = caption;
    c.font = font;
    c.transparent = true;
    return c;
}

toolkit::FormLayout Build() {
    toolkit::FormLayout f;
    f.name = "frmAbout";
    f.caption = "About WinME Cindermoor";
    f.clientWidth = 7500;
    f.clientHeight = 5355;
    f.backColor = toolkit::kWhite;
    f.font = kBoxFont;
    f.border = toolkit::FormBorder::FixedDialog;
    f.showInTaskbar = false;

    ControlLayout icon = Make("win", ControlKind::PictureBox, 270, 180, 525, 495, 7);
    icon.picture = toolkit::kPictureIcon;
    icon.backColor = toolkit::kWhite;
    f.controls.push_back(icon);

    f.controls.push_back(Button("closeabout", "Close", 6615, 855, 4));

    ControlLayout text = Make("Text1", ControlKind::TextBox, 270, 1650, 7215, 3135, 3);
    text.caption = AboutText();
    text.font = kBoxFont;
    text.multiLine = true;
    text.readOnly = true;
    text.vScroll = true;
    f.controls.push_back(text);

    f.controls.push_back(Button("emailladdy", "Email Address", 45, 1695, 2));
    f.controls.push_back(Button("Command1", "Updates", 1800, 1095, 1));

    ControlLayout contact = Make("electronicmail", ControlKind::TextBox, 3060, 4950, 3375, 285, 0);
    contact.caption = identity::kEmail;
    contact.font = kContactFont;
    contact.readOnly = true;
    contact.visible = false;
    contact.backColor = toolkit::kWhite;
    f.controls.push_back(contact);

    f.controls.push_back(
        Label("Label2", "Microsoft Windows Millennium Cindermoor", 990, 270, 5175, kTitleFont, 6));
    f.controls.push_back(Label("lblVersionInfo", "version 1.5", 6165, 630, 975, kVersionFont, 5));

    ControlLayout panel = Make("Gray", ControlKind::Shape, -45, 990, 7605, 4380, -1);
    panel.fillColor = kLightGrey;
    panel.backColor = kLightGrey;
    panel.borderColor = toolkit::kBlack;
    f.controls.push_back(panel);

    ControlLayout line = Make("Line9", ControlKind::Line, 990, 525, 6030, 525, -1);
    f.controls.push_back(line);
    return f;
}

}  // namespace

const std::string& AboutText() {
    static const std::string text(reinterpret_cast<const char*>(kAboutTextData), kAboutTextSize);
    return text;
}

const toolkit::FormLayout& frmAboutLayout() {
    static const toolkit::FormLayout layout = Build();
    return layout;
}

}  // namespace about
