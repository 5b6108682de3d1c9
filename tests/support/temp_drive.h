// A scratch Wine-style prefix with a C: drive in a temporary folder, set as WINEPREFIX
// for the lifetime of the object.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace testsupport {

// Whole files, byte-exact; writing makes the folders on the way.
std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

class TempDrive {
  public:
    // windowsFolder: the name of the Windows folder at the root of C:, or "" for none.
    explicit TempDrive(const std::string& windowsFolder = "WINDOWS");
    ~TempDrive();
    TempDrive(const TempDrive&) = delete;
    TempDrive& operator=(const TempDrive&) = delete;

    const std::filesystem::path& Prefix() const { return prefix_; }
    const std::filesystem::path& DriveC() const { return driveC_; }
    std::filesystem::path WindowsDir() const { return driveC_ / windowsFolder_; }

    // Paths relative to the drive's root ("WINDOWS/WIN.INI").
    std::filesystem::path Write(const std::string& relative, const std::string& bytes) const;
    std::string Read(const std::string& relative) const { return ReadBytes(driveC_ / relative); }
    bool Exists(const std::string& relative) const;

  private:
    std::filesystem::path root_, prefix_, driveC_;
    std::string windowsFolder_;
    std::optional<std::string> oldPrefix_;
};

}  // namespace testsupport
