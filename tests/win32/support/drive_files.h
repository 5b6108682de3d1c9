// Real files on the Windows drive of the test's Wine prefix, through the Win32 file calls.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

std::string WindowsDir();  // as GetWindowsDirectoryA gives it ("C:\windows" under Wine)
std::string DriveRoot();   // its first three characters ("C:\")

std::optional<std::string> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
void Remove(const std::string& path);

// Puts the six configuration files out of the way (in the Windows directory and at the root of
// its drive) for the life of the object, so that a test starts with none of them.
class ConfigFilesAside {
  public:
    ConfigFilesAside();
    ~ConfigFilesAside();
    ConfigFilesAside(const ConfigFilesAside&) = delete;
    ConfigFilesAside& operator=(const ConfigFilesAside&) = delete;

  private:
    struct Kept {
        std::string path;
        std::optional<std::string> bytes;
    };
    std::vector<Kept> kept_;
};

}  // namespace testsupport
