#include "toolkit/win32/fonts.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "toolkit/form_rules.h"
#include "toolkit/win32/metrics.h"

namespace toolkit::win32 {
namespace {

int CALLBACK NoteFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool IsInstalled(const std::string& face) {
    LOGFONTA query{};
    query.lfCharSet = ANSI_CHARSET;
    if (face.size() >= sizeof query.lfFaceName)
        return false;
    std::memcpy(query.lfFaceName, face.c_str(), face.size() + 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &query, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The width a caption takes on one line, ink of the last letter included.
int CaptionWidth(HDC dc, const std::string& caption) {
    SIZE extent{};
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    int width = extent.cx;
    ABC last{};
    if (!caption.empty() &&
        GetCharABCWidthsA(dc, static_cast<unsigned char>(caption.back()),
                          static_cast<unsigned char>(caption.back()), &last) &&
        last.abcC < 0) {
        width -= last.abcC;
    }
    return width;
}

}  // namespace

std::string ResolveFace(const std::string& face) {
    if (IsInstalled(face))
        return face;
    for (std::string_view fallback : FaceFallbacks(face)) {
        if (IsInstalled(std::string(fallback)))
            return std::string(fallback);
    }
    return face;  // GDI's own choice of a Swiss face
}

FontSet::~FontSet() {
    for (auto& [key, font] : fonts_) DeleteObject(font);
    for (HFONT font : narrowed_) DeleteObject(font);
}

HFONT FontSet::Get(const FontDesc& font) {
    Key key{font.face, font.points, font.bold};
    if (auto it = fonts_.find(key); it != fonts_.end())
        return it->second;
    std::string face = ResolveFace(font.face);
    HFONT created = CreateFontA(FontHeightForPoints(font.points, dpi_), 0, 0, 0,
                                font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                VARIABLE_PITCH | FF_SWISS, face.c_str());
    fonts_.emplace(key, created);
    return created;
}

HFONT FontSet::Fitting(const FontDesc& font, const std::string& caption, int width) {
    HFONT chosen = Get(font);
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, chosen);
    int needed = CaptionWidth(screen, caption);
    if (needed > width && width > 0) {
        LOGFONTA narrower{};
        GetObjectA(chosen, sizeof narrower, &narrower);
        TEXTMETRICA metrics{};
        GetTextMetricsA(screen, &metrics);
        // The average character width in proportion, then narrower by steps until it fits.
        narrower.lfWidth = std::max<LONG>(1, MulDiv(metrics.tmAveCharWidth, width, needed));
        for (;;) {
            HFONT candidate = CreateFontIndirectA(&narrower);
            SelectObject(screen, candidate);
            needed = CaptionWidth(screen, caption);
            if (needed <= width || narrower.lfWidth == 1) {
                chosen = candidate;
                narrowed_.push_back(candidate);
                break;
            }
            SelectObject(screen, old);
            DeleteObject(candidate);
            --narrower.lfWidth;
        }
    }
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return chosen;
}

}  // namespace toolkit::win32
