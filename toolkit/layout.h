// Stored window layouts: plain data that every backend builds windows from.
// Positions and sizes are in twips (1/1440 inch); 15 twips make one pixel at 96 dpi.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace toolkit {

constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

enum class ControlKind { CommandButton, Label, TextBox, PictureBox, Line, Shape };

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};

struct FontDesc {
    std::string face;  // as the layout names it ("Verdana", "MS Sans Serif", "Tahoma")
    double points = 8.25;
    bool bold = false;
    friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

// The program's pictures; each backend maps them to its own resources.
enum class Picture { None, Background, Logo, Icon };

struct ControlLayout {
    std::string name;
    ControlKind kind = ControlKind::CommandButton;
    int index = -1;       // element of a control array, or -1
    std::string caption;  // caption of a button or label, text of a text box (ANSI bytes)
    // Left, Top, Width, Height; for a line: x1, y1, x2, y2.
    int left = 0, top = 0, width = 0, height = 0;
    int tabIndex = -1;             // -1: takes no focus (labels, lines, shapes)
    std::optional<FontDesc> font;  // empty: the window's font
    std::optional<Rgb> backColor;  // button face, box background, shape back colour
    std::optional<Rgb> foreColor;
    std::optional<Rgb> fillColor;     // shapes
    std::optional<Rgb> borderColor;   // shapes
    Picture picture = Picture::None;  // picture boxes
    bool visible = true;
    // Text boxes
    bool multiLine = false;
    bool readOnly = false;
    bool hScroll = false;
    bool vScroll = false;
    // Labels
    bool autoSize = false;
    bool transparent = false;

    bool IsArrayElement() const { return index >= 0; }
};

enum class FormBorder {
    FixedSingle,  // main window: thin frame, title bar, close box only
    FixedDialog,  // dialog frame, title bar, close box only, no taskbar entry
};

struct FormLayout {
    std::string name;
    std::string caption;
    int clientWidth = 0, clientHeight = 0;  // twips
    Rgb backColor = kWhite;
    Picture picture = Picture::None;  // background drawn unscaled from the top-left corner
    Picture icon = Picture::None;     // title-bar icon
    FontDesc font;                    // default font of controls without one of their own
    FormBorder border = FormBorder::FixedSingle;
    bool showInTaskbar = true;
    std::vector<ControlLayout> controls;  // in creation order

    const ControlLayout* Find(const std::string& controlName, int index = -1) const {
        for (const auto& c : controls) {
            if (c.name == controlName && c.index == index)
                return &c;
        }
        return nullptr;
    }
};

}  // namespace toolkit
