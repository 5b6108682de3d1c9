#include "toolkit/win32/fonts.h"

#include <cstring>
#include <vector>

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

// Faces close in shape and width, best first.
std::vector<std::string> Substitutes(const std::string& face) {
    if (face == "Verdana")
        return {"DejaVu Sans", "Tahoma"};
    if (face == "Tahoma")
        return {"DejaVu Sans", "Verdana"};
    if (face == "MS Sans Serif")
        return {"Microsoft Sans Serif", "Tahoma", "DejaVu Sans"};
    return {"Tahoma", "DejaVu Sans"};
}

}  // namespace

std::string AvailableFace(const std::string& face) {
    if (IsInstalled(face))
        return face;
    for (const std::string& substitute : Substitutes(face)) {
        if (IsInstalled(substitute))
            return substitute;
    }
    return face;  // GDI's own choice of a Swiss face
}

FontSet::~FontSet() {
    for (auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT FontSet::Get(const FontDesc& font) {
    Key key{font.face, font.points, font.bold};
    if (auto it = fonts_.find(key); it != fonts_.end())
        return it->second;
    std::string face = AvailableFace(font.face);
    HFONT created = CreateFontA(FontHeightForPoints(font.points, dpi_), 0, 0, 0,
                                font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                VARIABLE_PITCH | FF_SWISS, face.c_str());
    fonts_.emplace(key, created);
    return created;
}

}  // namespace toolkit::win32
