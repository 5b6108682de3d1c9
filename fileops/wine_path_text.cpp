// Windows path text for the Wine-style drive emulation; see wine_path_text.h.
#include "fileops/wine_path_text.h"

#include <algorithm>

namespace fileops {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsDosDeviceName(std::string_view name) {
    if (!name.empty() && name.back() == ':')
        name.remove_suffix(1);
    const auto dot = name.find('.');
    if (dot != std::string_view::npos) {
        name = name.substr(0, dot);
        if (!name.empty() && name.back() == ':')
            name.remove_suffix(1);
    }
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    std::string lower;
    for (const char c : name) lower.push_back(AsciiLower(c));
    if (lower == "aux" || lower == "con" || lower == "nul" || lower == "prn" || lower == "conin$" ||
        lower == "conout$")
        return true;
    return lower.size() == 4 && (lower.rfind("com", 0) == 0 || lower.rfind("lpt", 0) == 0) &&
           lower[3] > '0' && lower[3] <= '9';
}

void CollapsePath(std::string& path, std::size_t mark) {
    for (char& c : path)
        if (c == '/')
            c = '\\';

    // A run of backslashes counts as one.
    const std::size_t keep = std::max<std::size_t>(1, mark);
    if (path.size() > keep) {
        std::string out = path.substr(0, keep);
        for (std::size_t i = keep; i < path.size(); ++i)
            if (path[i] != '\\' || out.back() != '\\')
                out.push_back(path[i]);
        path = std::move(out);
    }

    auto at = [&](std::size_t i) { return i < path.size() ? path[i] : '\0'; };
    std::size_t p = mark;
    while (p < path.size()) {
        if (path[p] == '.') {
            if (at(p + 1) == '\\') {  // ".\" inside the path
                path.erase(p, 2);
                continue;
            }
            if (at(p + 1) == '\0') {  // final "."
                if (p > mark)
                    --p;
                path.erase(p);
                continue;
            }
            if (at(p + 1) == '.') {
                if (at(p + 2) == '\\') {  // "..\" inside the path
                    const std::size_t next = p + 3;
                    if (p > mark) {
                        --p;
                        while (p > mark && path[p - 1] != '\\') --p;
                    }
                    path.erase(p, next - p);
                    continue;
                }
                if (at(p + 2) == '\0') {  // final ".."
                    if (p > mark) {
                        --p;
                        while (p > mark && path[p - 1] != '\\') --p;
                        if (p > mark)
                            --p;
                    }
                    path.erase(p);
                    continue;
                }
            }
        }
        while (p < path.size() && path[p] != '\\') ++p;
        if (p < path.size()) {
            // One trailing dot of a folder name inside the path goes.
            if (p > mark && path[p - 1] == '.')
                path.erase(p - 1, 1);
            else
                ++p;
        }
    }
    // Trailing spaces and dots of the path go.
    p = path.size();
    while (p > mark && (path[p - 1] == ' ' || path[p - 1] == '.')) --p;
    path.erase(p);
}

bool HasInvalidCharacter(std::string_view name) {
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32)
            return true;
        switch (c) {
            case '*':
            case '?':
            case '<':
            case '>':
            case '|':
            case '"':
                return true;
            default:
                break;
        }
    }
    return false;
}

bool SplitDrivePath(const std::string& full, FullPath* out) {
    if (full.size() < 3 || full[1] != ':' || full[2] != '\\')
        return false;
    const char drive = AsciiLower(full[0]);
    if (drive < 'a' || drive > 'z')
        return false;
    out->drive = drive;
    out->names.clear();
    std::size_t i = 3;
    while (i < full.size()) {
        const std::size_t end = std::min(full.find('\\', i), full.size());
        out->names.emplace_back(full.substr(i, end - i));
        i = end + 1;
    }
    out->trailingSeparator = full.size() > 3 && full.back() == '\\';
    return true;
}

}  // namespace fileops
