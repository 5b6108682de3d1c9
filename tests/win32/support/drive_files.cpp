#include "tests/win32/support/drive_files.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "toolkit/win32/win32_api.h"

namespace testsupport {
namespace {

const char* const kConfigFiles[] = {"Autoexec.bat", "Config.sys", "System.ini",
                                    "Win.ini",      "Hosts",      "Protocol"};

// The name as the folder stores it, so that a file put back keeps its letter case.
std::string StoredPath(const std::string& folder, const std::string& name) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + name).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return folder + name;
    FindClose(search);
    return folder + found.cFileName;
}

}  // namespace

std::string WindowsDir() {
    char buffer[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
    return std::string(buffer, length);
}

std::string DriveRoot() {
    return WindowsDir().substr(0, 3);
}

std::optional<std::string> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(std::ofstream(path, std::ios::binary) << bytes))
        throw std::runtime_error("cannot write " + path);
}

void Remove(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

ConfigFilesAside::ConfigFilesAside() {
    for (const std::string& folder : {WindowsDir() + "\\", DriveRoot()}) {
        for (const char* name : kConfigFiles) {
            std::string path = StoredPath(folder, name);
            kept_.push_back({path, ReadBytes(path)});
            Remove(path);
        }
    }
}

ConfigFilesAside::~ConfigFilesAside() {
    for (const Kept& kept : kept_) {
        Remove(kept.path);
        if (kept.bytes)
            WriteBytes(kept.path, *kept.bytes);
    }
}

}  // namespace testsupport
