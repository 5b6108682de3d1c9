#include "support.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

extern char** environ;

namespace fotest {
namespace {

constexpr const char* kChildDirVariable = "CINDERMOOR_FILEOPS_TEST_AS_OTHER_USER_DIR";

std::string TempBase() {
    std::error_code ec;
    auto base = std::filesystem::temp_directory_path(ec);
    if (ec)
        return "/tmp";
    return base.string();
}

}  // namespace

TempDir::TempDir(const std::string& tag) {
    std::string templ = TempBase() + "/cindermoor-" + tag + "-XXXXXX";
    if (::mkdtemp(templ.data()) == nullptr) {
        ADD_FAILURE() << "mkdtemp failed: " << std::strerror(errno);
        return;
    }
    path_ = templ;
    ::chmod(path_.c_str(), 0755);
}

TempDir::~TempDir() {
    if (!path_.empty())
        RemoveTree(path_);
}

void RemoveTree(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return;
    if (S_ISDIR(st.st_mode)) {
        ::chmod(path.c_str(), 0700);
        for (const auto& name : ListDir(path)) RemoveTree(path + "/" + name);
        ::rmdir(path.c_str());
    } else {
        ::unlink(path.c_str());
    }
}

void MakeDir(const std::string& path, mode_t mode) {
    if (::mkdir(path.c_str(), mode) != 0)
        ADD_FAILURE() << "mkdir " << path << ": " << std::strerror(errno);
    ::chmod(path.c_str(), mode);
}

void MakeDirs(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec)
        ADD_FAILURE() << "create_directories " << path << ": " << ec.message();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        ADD_FAILURE() << "cannot write " << path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

bool IsSymlink(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

void Symlink(const std::string& target, const std::string& link) {
    if (::symlink(target.c_str(), link.c_str()) != 0)
        ADD_FAILURE() << "symlink " << link << " -> " << target << ": " << std::strerror(errno);
}

void Chmod(const std::string& path, mode_t mode) {
    if (::chmod(path.c_str(), mode) != 0)
        ADD_FAILURE() << "chmod " << path << ": " << std::strerror(errno);
}

mode_t ModeOf(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        ADD_FAILURE() << "stat " << path << ": " << std::strerror(errno);
        return 0;
    }
    return st.st_mode & 07777;
}

std::vector<std::string> ListDir(const std::string& path) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(path.c_str());
    if (dir == nullptr)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
    return bytes;
}

Prefix MakePrefix(const std::string& base, const std::string& name) {
    Prefix p;
    p.dir = base + "/" + name;
    p.driveC = p.dir + "/drive_c";
    MakeDir(p.dir);
    MakeDir(p.dir + "/dosdevices");
    MakeDir(p.driveC);
    Symlink("../drive_c", p.dir + "/dosdevices/c:");
    return p;
}

ScopedEnv::ScopedEnv(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str()))
        old_ = old;
    if (value)
        ::setenv(name_.c_str(), value->c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

ScopedEnv::~ScopedEnv() {
    if (old_)
        ::setenv(name_.c_str(), old_->c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

ScopedCwd::ScopedCwd(const std::string& dir) {
    std::vector<char> buf(8192);
    if (::getcwd(buf.data(), buf.size()) != nullptr)
        old_ = buf.data();
    if (::chdir(dir.c_str()) != 0)
        ADD_FAILURE() << "chdir " << dir << ": " << std::strerror(errno);
}

ScopedCwd::~ScopedCwd() {
    if (old_.empty() || ::chdir(old_.c_str()) != 0)
        (void)::chdir("/");
}

namespace OtherUser {

bool IsChild() {
    return std::getenv(kChildDirVariable) != nullptr;
}

std::string Dir() {
    const char* dir = std::getenv(kChildDirVariable);
    return dir != nullptr ? dir : "";
}

void RunBody(const std::function<void(const std::string&)>& body) {
    ASSERT_NE(::geteuid(), 0u) << "a permission case that runs as root proves nothing";
    body(Dir());
}

void Run(const std::string& dir, const std::function<void(const std::string&)>& body) {
    if (::geteuid() != 0) {
        // Permission bits already apply to this user.
        body(dir);
        return;
    }

    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    ASSERT_NE(info, nullptr);

    // The other user must be able to reach the folder.
    for (std::string up = dir; !up.empty() && up != "/";) {
        struct stat st;
        ASSERT_EQ(::stat(up.c_str(), &st), 0) << up << ": " << std::strerror(errno);
        ASSERT_TRUE((st.st_mode & S_IXOTH) != 0)
            << "Cannot run the permission case as user " << kUid << ": " << up
            << " lets only its owner through. Point TMPDIR at a folder that others may enter, such "
               "as /tmp.";
        const auto slash = up.rfind('/');
        up = slash == 0 ? "/" : up.substr(0, slash);
    }
    const std::string filter =
        std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name();

    // Everything the child needs is prepared before fork: after it only system calls run.
    const int exe = ::open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(exe, 0) << "Cannot run the test as another user: cannot open /proc/self/exe: "
                      << std::strerror(errno);
    std::vector<std::string> args = {"fileops_tests", filter, "--gtest_color=no"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (std::strncmp(*e, kChildDirVariable, std::strlen(kChildDirVariable)) != 0)
            env.emplace_back(*e);
    env.push_back(std::string(kChildDirVariable) + "=" + dir);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    int out[2];
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0) << std::strerror(errno);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0) << "Cannot run the test as another user: fork failed: "
                      << std::strerror(errno);
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::dup2(out[1], 2);
        const char* step = "chdir";
        if (::chdir("/") == 0) {
            step = "setgroups";
            if (::setgroups(0, nullptr) == 0) {
                step = "setresgid";
                if (::setresgid(kGid, kGid, kGid) == 0) {
                    step = "setresuid";
                    if (::setresuid(kUid, kUid, kUid) == 0) {
                        step = "fexecve";
                        ::fexecve(exe, argv.data(), envp.data());
                    }
                }
            }
        }
        const char* why = std::strerror(errno);
        (void)!::write(2, "cannot start the test as user 65534: ", 37);
        (void)!::write(2, step, std::strlen(step));
        (void)!::write(2, ": ", 2);
        (void)!::write(2, why, std::strlen(why));
        (void)!::write(2, "\n", 1);
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(exe);
    std::string output;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(out[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        output.append(buf, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    const bool exitedOk = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    const bool ranOne = output.find("[  PASSED  ] 1 test") != std::string::npos;
    EXPECT_TRUE(exitedOk && ranOne)
        << "The part of this test that must run as user " << kUid
        << " (permission bits do not bind root) did not pass there"
        << (WIFSIGNALED(status) ? " (killed by a signal)" : "") << ". Its output:\n"
        << output;
}

}  // namespace OtherUser
}  // namespace fotest
