#include "child.h"

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace fotest {

Child::Child(const std::function<int(std::string& report)>& body) {
    int fds[2];
    if (::pipe(fds) != 0)
        return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(fds[0]);
        std::string report;
        const int code = body(report);
        (void)!::write(fds[1], report.data(), report.size());
        ::_exit(code);
    }
    ::close(fds[1]);
    readFd_ = fds[0];
}

Child::~Child() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        Wait();
    }
}

bool Child::Running() const {
    siginfo_t info{};
    return pid_ > 0 &&
           ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

ChildOutcome Child::Wait() {
    ChildOutcome outcome;
    char buf[512];
    ssize_t n;
    while ((n = ::read(readFd_, buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            outcome.text.append(buf, static_cast<std::size_t>(n));
    ::close(readFd_);
    int status = 0;
    while (pid_ > 0 && ::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    outcome.exited = WIFEXITED(status);
    outcome.code = outcome.exited ? WEXITSTATUS(status) : WTERMSIG(status);
    return outcome;
}

ChildOutcome InChild(const std::function<int(std::string& report)>& body) {
    return Child(body).Wait();
}

bool PrivateMounts(std::string* why) {
    if (::unshare(CLONE_NEWNS) != 0) {
        *why = std::string("unshare: ") + std::strerror(errno);
        return false;
    }
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        *why = std::string("private mounts: ") + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace fotest
