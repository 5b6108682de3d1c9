// Helpers for the file-service tests: temporary folders, Wine-style prefixes, environment
// and working-directory guards, and running a test's body as an
// unprivileged user.
#pragma once

#include <sys/types.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace fotest {

// A fresh folder under the system's temporary folder, removed with all its content
// (whatever its permissions) when the object goes.
class TempDir {
  public:
    explicit TempDir(const std::string& tag = "fileops");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

void RemoveTree(const std::string& path);
void MakeDir(const std::string& path, mode_t mode = 0755);
void MakeDirs(const std::string& path);  // with parents
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);  // fails the test when it cannot
bool Exists(const std::string& path);           // lstat
bool IsSymlink(const std::string& path);
void Symlink(const std::string& target, const std::string& link);
void Chmod(const std::string& path, mode_t mode);
mode_t ModeOf(const std::string& path);
std::vector<std::string> ListDir(const std::string& path);  // sorted, without . and ..

// Every byte value 0..255 once, in order.
std::string AllBytes();

// <base>/prefix with dosdevices/c: -> ../drive_c (a relative link, as Wine makes it) and
// the folder drive_c.
struct Prefix {
    std::string dir;     // the prefix
    std::string driveC;  // the folder of C:
};
Prefix MakePrefix(const std::string& base, const std::string& name = "prefix");

// Sets (or, with nothing, unsets) an environment variable and restores it afterwards.
class ScopedEnv {
  public:
    ScopedEnv(std::string name, std::optional<std::string> value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

// Changes the working directory and goes back afterwards.
class ScopedCwd {
  public:
    explicit ScopedCwd(const std::string& dir);
    ~ScopedCwd();
    ScopedCwd(const ScopedCwd&) = delete;
    ScopedCwd& operator=(const ScopedCwd&) = delete;

  private:
    std::string old_;
};

// Permission cases need a user to whom permission bits apply; root ignores them.
//
// Usage inside a TEST:
//     auto body = [](const std::string& dir) { ... gtest assertions ... };
//     if (fotest::OtherUser::IsChild()) return fotest::OtherUser::RunBody(body);
//     ... set up dir (files, modes, environment) ...
//     fotest::OtherUser::Run(dir, body);
//
// When the tests run as root, Run starts this test binary again, filtered to the current
// test, as user and group 65534 with no supplementary groups (fork, setresgid, setresuid,
// fexecve), with the same environment plus the folder; the test fails unless that run
// passes. When they run as another user already, Run calls body directly. Permission bits
// set for owner, group and others alike make both ways equivalent.
namespace OtherUser {
constexpr uid_t kUid = 65534;
constexpr gid_t kGid = 65534;
bool IsChild();
std::string Dir();
// In the child: checks that it really runs unprivileged, then runs body on Dir().
void RunBody(const std::function<void(const std::string&)>& body);
void Run(const std::string& dir, const std::function<void(const std::string&)>& body);
}  // namespace OtherUser

// A prefix whose C: holds an empty WINDOWS folder, set as WINEPREFIX during each test.
class DriveTest : public ::testing::Test {
  protected:
    explicit DriveTest(const std::string& name) : dir_(name) {}
    void SetUp() override {
        prefix_ = MakePrefix(dir_.path());
        MakeDir(prefix_.driveC + "/WINDOWS");
        env_.emplace("WINEPREFIX", prefix_.dir);
    }
    void TearDown() override { env_.reset(); }
    // The native path of a file on C:, given relative to its root.
    std::string C(const std::string& rel) const { return prefix_.driveC + "/" + rel; }

    TempDir dir_;
    Prefix prefix_;
    std::optional<ScopedEnv> env_;
};

}  // namespace fotest
