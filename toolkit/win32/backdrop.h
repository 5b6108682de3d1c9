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
    // A brush that paints a child at (x, y) with the backdrop under it.
    HBRUSH BrushFor(HDC childDc, int x, int y) const;

  private:
    HBITMAP bitmap_ = nullptr;
    HBRUSH brush_ = nullptr;
};

}  // namespace toolkit::win32
