// What a form shows behind its child windows: the back colour, the background picture at
// its natural size from the top-left corner, then the shapes and lines of the layout.
// Rendered once per load; transparent labels paint their background from the same bitmap.
#pragma once

#include "toolkit/layout.h"
#include "toolkit/win32/win32_api.h"

namespace toolkit::win32 {

class Backdrop {
  public:
    Backdrop() = default;
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;
    ~Backdrop() { Release(); }

    void Render(const FormLayout& form, int dpi, int width, int height);
    void Release();

    // Copies the part of the backdrop under the given client rectangle.
    void PaintTo(HDC dc, const RECT& area) const;
    // A brush that paints a child at `area` (client coordinates) with the backdrop under
    // it. Windows 98 and Me use only 8 x 8 pixels of a pattern brush: there the backdrop is
    // copied into the child's DC and the brush returned paints nothing.
    HBRUSH BrushFor(HDC childDc, const RECT& area) const;

  private:
    HBITMAP bitmap_ = nullptr;
    HBRUSH brush_ = nullptr;
};

}  // namespace toolkit::win32
