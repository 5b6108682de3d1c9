#include "editor/frmCindermoor_layout.h"

#include "base/identity/identity.h"

// Each row names only what differs from a control's defaults; GCC warns about every member
// that a designated initialiser leaves to its default.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif

namespace editor {
namespace {

using toolkit::FontDesc;

const FontDesc kWindowFont{"Verdana", 8.25, false};
const FontDesc kEditFont{"MS Sans Serif", 8.25, false};
const FontDesc kTitleFont{"Tahoma", 11.25, true};

}  // namespace

const toolkit::FormLayout& frmCindermoorLayout() {
    using enum toolkit::ControlKind;
    using toolkit::kBlack, toolkit::kWhite, toolkit::Picture;
    // One row per control, in creation order. A line's Left, Top, Width, Height are its two
    // end points.
    // clang-format off
    static const toolkit::FormLayout layout{
        .name = "frmCindermoor",
        .caption = "Cindermoor",
        .clientWidth = 8685,
        .clientHeight = 4005,
        .backColor = kWhite,
        .picture = Picture::Background,
        .icon = Picture::Icon,
        .font = kWindowFont,
        .border = toolkit::FormBorder::FixedSingle,
        .controls = {
            {.name = "cmdVer",      .kind = CommandButton, .index = -1, .caption = identity::kVersionCaption,                 .left = 8055, .top = 3645, .width = 570,  .height = 315,  .tabIndex = 13, .backColor = kWhite},
            {.name = "cmdOpen",     .kind = CommandButton, .index = 5,  .caption = "Protocols",                               .left = 90,   .top = 3150, .width = 1665, .height = 315,  .tabIndex = 12},
            {.name = "cmdOpen",     .kind = CommandButton, .index = 4,  .caption = "Hosts",                                   .left = 90,   .top = 2790, .width = 1665, .height = 315,  .tabIndex = 11},
            {.name = "cmdOpen",     .kind = CommandButton, .index = 3,  .caption = "Win.ini",                                 .left = 90,   .top = 2205, .width = 1665, .height = 315,  .tabIndex = 10},
            {.name = "cmdOpen",     .kind = CommandButton, .index = 2,  .caption = "System.ini",                              .left = 90,   .top = 1845, .width = 1665, .height = 315,  .tabIndex = 9},
            {.name = "cmdOpen",     .kind = CommandButton, .index = 0,  .caption = "Config.sys",                              .left = 90,   .top = 1260, .width = 1665, .height = 315,  .tabIndex = 8},
            {.name = "win",         .kind = PictureBox,    .index = -1, .caption = "",                                        .left = 180,  .top = 90,   .width = 615,  .height = 495,  .tabIndex = 6,  .backColor = kWhite, .picture = Picture::Logo},
            {.name = "cmdClose",    .kind = CommandButton, .index = -1, .caption = "Close File",                              .left = 3645, .top = 3645, .width = 1650, .height = 315,  .tabIndex = 5},
            {.name = "cmdSave",     .kind = CommandButton, .index = -1, .caption = "Save Current File",                       .left = 1845, .top = 3645, .width = 1650, .height = 315,  .tabIndex = 4},
            {.name = "cmdOpen",     .kind = CommandButton, .index = 1,  .caption = "Autoexec.bat",                            .left = 90,   .top = 900,  .width = 1665, .height = 315,  .tabIndex = 1},
            {.name = "txtDisplay",  .kind = TextBox,       .index = -1, .caption = "",                                        .left = 1845, .top = 810,  .width = 6465, .height = 2760, .tabIndex = 0,  .font = kEditFont, .multiLine = true, .hScroll = true, .vScroll = true},
            {.name = "Line2",       .kind = Line,          .index = -1, .caption = "",                                        .left = 180,  .top = 2655, .width = 1665, .height = 2655, .tabIndex = -1},
            {.name = "Line1",       .kind = Line,          .index = -1, .caption = "",                                        .left = 180,  .top = 1710, .width = 1665, .height = 1710, .tabIndex = -1},
            {.name = "txtME",       .kind = Label,         .index = -1, .caption = "Microsoft Windows Millennium Cindermoor", .left = 900,  .top = 180,  .width = 5055, .height = 255,  .tabIndex = 7,  .font = kTitleFont, .foreColor = kBlack, .transparent = true},
            {.name = "lblFileName", .kind = Label,         .index = -1, .caption = "None",                                    .left = 3555, .top = 585,  .width = 435,  .height = 195,  .tabIndex = 3,  .autoSize = true, .transparent = true},
            {.name = "lblCurFile",  .kind = Label,         .index = -1, .caption = "Current File Open:",                      .left = 1845, .top = 585,  .width = 1590, .height = 195,  .tabIndex = 2,  .autoSize = true, .transparent = true},
        }};
    // clang-format on
    return layout;
}

}  // namespace editor
