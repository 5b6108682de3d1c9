#include "tests/win32/support/drive_files.h"

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
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + path);
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size())
        throw std::runtime_error("cannot write " + path);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
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
