// The fonts of one window, created on first use and deleted with the window.
#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "toolkit/layout.h"
#include "toolkit/win32/win32_api.h"

namespace toolkit::win32 {

// The face to ask GDI for: the layout's own when installed, else the nearest one that is
// (Wine, for one, has Tahoma and MS Sans Serif but no Verdana).
std::string ResolveFace(const std::string& face);

class FontSet {
  public:
    explicit FontSet(int dpi) : dpi_(dpi) {}
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;
    ~FontSet();

    HFONT Get(const FontDesc& font);
    // The font for a caption that must show whole on one line of `width` pixels: the
    // layout's own when the caption fits, else the same face narrowed until it does. A
    // system's face may be wider than the one the layout was made for (a bold face
    // substituted for Tahoma Bold, for one).
    HFONT Fitting(const FontDesc& font, const std::string& caption, int width);

  private:
    using Key = std::tuple<std::string, double, bool>;
    int dpi_;
    std::map<Key, HFONT> fonts_;
    std::vector<HFONT> narrowed_;
};

}  // namespace toolkit::win32
