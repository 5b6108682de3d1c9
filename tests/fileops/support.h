// Bodies run in a child process (a real kill, a mount of its own, a limit, another user), none
// of which may touch the test program itself.
#pragma once

#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace fotest {

// Exit code of a body that found the system unable to run the case: the test skips.
constexpr int kCannotRun = 77;
struct ChildOutcome {
    int code = -1;  // the body's exit code, or -1 when a signal ended it
    std::string text;
};
enum ChildSetup { kPlain = 0, kOwnMounts = 1, kOtherUser = 2 };

// Runs body in a forked child: with mounts of its own (gone with it), or as user and group
// 65534 so that permission bits bind. while_running is called until the child ends.
inline ChildOutcome InChild(int setup, const std::function<int(std::string&)>& body,
                            const std::function<void(pid_t)>& while_running = {}) {
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::string report;
        int code = kCannotRun;
        if ((setup & kOwnMounts) &&
            (::unshare(CLONE_NEWNS) != 0 ||
             ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0))
            report = "no mount namespace of its own";
        else if ((setup & kOtherUser) &&
                 (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
                  ::setresuid(65534, 65534, 65534) != 0))
            report = "cannot become user 65534";
        else
            code = body(report);
        (void)!::write(fds[1], report.data(), report.size());
        ::_exit(code);
    }
    ::close(fds[1]);
    if (while_running)
        while_running(pid);
    ChildOutcome outcome;
    char buf[512];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) outcome.text.append(buf, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    outcome.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

}  // namespace fotest
