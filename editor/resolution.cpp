#include "editor/resolution.h"

#include "fileops/modFileOps/modFileOps.h"

namespace editor {

std::string TrimSpaces(std::string text) {
    const size_t last = text.find_last_not_of(' ');
    if (last == std::string::npos)
        return {};
    text.erase(last + 1);
    text.erase(0, text.find_first_not_of(' '));
    return text;
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
