#include "editor/resolution.h"

#include "fileops/modFileOps.h"

namespace editor {

std::string TrimSpaces(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string FileNameFromCaption(const std::string& caption) {
    std::string name = TrimSpaces(caption);
    if (name == "Protocols")
        return "Protocol";
    return name;
}

std::string BuildWindowsDirPath(const std::string& fileName) {
    return modFileOps::GetWindowsDir() + "\\" + fileName;
}

std::string BuildDriveRootPath(const std::string& fileName) {
    return modFileOps::GetWindowsDir().substr(0, 3) + fileName;
}

}  // namespace editor
