// A scratch Wine-style prefix with a C: drive in a temporary folder, set as WINEPREFIX
// for the lifetime of the object.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/files.h"

namespace testsupport {

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
    std::optional<std::string> Read(const std::string& relative) const {
        return ReadBytes(driveC_ / relative);
    }

  private:
    std::filesystem::path root_, prefix_, driveC_;
    std::string windowsFolder_;
    std::optional<std::string> oldPrefix_;
};

}  // namespace testsupport
