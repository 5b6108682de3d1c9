#include "about/frmAbout_layout.h"

#include "about/about_text_data.h"
#include "base/identity/identity.h"

// Each row names only what differs from a control's defaults; GCC warns about every member
// that a designated initialiser leaves to its default.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif

namespace about {
namespace {

using toolkit::FontDesc;

const FontDesc kButtonFont{"Tahoma", 9, true};
const FontDesc kBoxFont{"MS Sans Serif", 8.25, false};
const FontDesc kContactFont{"Tahoma", 8.25, true};
const FontDesc kTitleFont{"Tahoma", 11.25, true};
const FontDesc kVersionFont{"Tahoma", 8.25, true};
constexpr toolkit::Rgb kLightGrey{224, 224, 224};

}  // namespace

const std::string& AboutText() {
    static const std::string text(reinterpret_cast<const char*>(kAboutTextData), kAboutTextSize);
    return text;
}

const toolkit::FormLayout& frmAboutLayout() {
    using enum toolkit::ControlKind;
    using toolkit::kBlack, toolkit::kWhite, toolkit::Picture;
    // One row per control, in creation order. A line's Left, Top, Width, Height are its two
    // end points.
    // clang-format off
    static const toolkit::FormLayout layout{
        .name = "frmAbout",
        .caption = "About WinME Cindermoor",
        .clientWidth = 7500,
        .clientHeight = 5355,
        .backColor = kWhite,
        .font = kBoxFont,
        .border = toolkit::FormBorder::FixedDialog,
        .showInTaskbar = false,
        .controls = {
            {.name = "win",            .kind = PictureBox,    .index = -1, .caption = "",                                        .left = 270,  .top = 180,  .width = 525,  .height = 495,  .tabIndex = 7,  .backColor = kWhite, .picture = Picture::Icon},
            {.name = "closeabout",     .kind = CommandButton, .index = -1, .caption = "Close",                                   .left = 6615, .top = 4905, .width = 855,  .height = 375,  .tabIndex = 4,  .font = kButtonFont},
            {.name = "Text1",          .kind = TextBox,       .index = -1, .caption = AboutText(),                               .left = 270,  .top = 1650, .width = 7215, .height = 3135, .tabIndex = 3,  .font = kBoxFont, .multiLine = true, .readOnly = true, .vScroll = true},
            {.name = "emailladdy",     .kind = CommandButton, .index = -1, .caption = "Email Address",                           .left = 45,   .top = 4905, .width = 1695, .height = 375,  .tabIndex = 2,  .font = kButtonFont},
            {.name = "Command1",       .kind = CommandButton, .index = -1, .caption = "Updates",                                 .left = 1800, .top = 4905, .width = 1095, .height = 375,  .tabIndex = 1,  .font = kButtonFont},
            {.name = "electronicmail", .kind = TextBox,       .index = -1, .caption = identity::kEmail,                          .left = 3060, .top = 4950, .width = 3375, .height = 285,  .tabIndex = 0,  .font = kContactFont, .backColor = kWhite, .visible = false, .readOnly = true},
            {.name = "Label2",         .kind = Label,         .index = -1, .caption = "Microsoft Windows Millennium Cindermoor", .left = 990,  .top = 270,  .width = 5175, .height = 255,  .tabIndex = 6,  .font = kTitleFont, .transparent = true},
            {.name = "lblVersionInfo", .kind = Label,         .index = -1, .caption = "version 1.5",                             .left = 6165, .top = 630,  .width = 975,  .height = 255,  .tabIndex = 5,  .font = kVersionFont, .transparent = true},
            {.name = "Gray",           .kind = Shape,         .index = -1, .caption = "",                                        .left = -45,  .top = 990,  .width = 7605, .height = 4380, .tabIndex = -1, .backColor = kLightGrey, .fillColor = kLightGrey, .borderColor = kBlack},
            {.name = "Line9",          .kind = Line,          .index = -1, .caption = "",                                        .left = 990,  .top = 525,  .width = 6030, .height = 525,  .tabIndex = -1},
        }};
    // clang-format on
    return layout;
}

}  // namespace about
