#include "bench/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace bench {
namespace {

constexpr const char* kTurnLine = "parents-turn";

// The child reported that it stops: wait until it has, take the turn, let it go on.
void TakeTurn(pid_t child, const std::function<void()>& parentsTurn) {
    // WNOWAIT: a child that ended instead stays to be waited for, with its status, below.
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(child), &info, WSTOPPED | WEXITED | WNOWAIT) != 0 ||
        info.si_code != CLD_STOPPED)
        return;
    if (parentsTurn)
        parentsTurn();
    kill(child, SIGCONT);
}

void TakeLines(std::string& pending, ChildReport& report, pid_t child,
               const std::function<void()>& parentsTurn) {
    const Clock::time_point now = Clock::now();
    size_t end;
    while ((end = pending.find('\n')) != std::string::npos) {
        const std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        if (line == kTurnLine) {
            TakeTurn(child, parentsTurn);
            continue;
        }
        const size_t space = line.find(' ');
        const std::string name = line.substr(0, space);
        report.values[name] = space == std::string::npos ? "" : line.substr(space + 1);
        report.arrivals[name] = now;
    }
}

}  // namespace

double ChildReport::Number(const std::string& name) const {
    const auto it = values.find(name);
    return it == values.end() ? -1 : std::stod(it->second);
}

ChildReport RunChild(const std::string& self, const std::vector<std::string>& arguments,
                     int timeoutSeconds, const std::function<void()>& parentsTurn) {
    ChildReport report;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        report.failure = "pipe failed";
        return report;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(self.c_str()));
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    report.started = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        execv(self.c_str(), argv.data());
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        report.failure = "fork failed";
        return report;
    }

    std::string pending;
    char buffer[4096];
    const Clock::time_point deadline = report.started + std::chrono::seconds(timeoutSeconds);
    bool timedOut = false;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0)
            continue;
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        pending.append(buffer, static_cast<size_t>(n));
        TakeLines(pending, report, pid, parentsTurn);
    }
    close(fds[0]);
    if (timedOut)
        kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    if (timedOut) {
        report.failure = "timed out";
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        report.failure = "child failed (status " + std::to_string(status) + ")";
    } else {
        report.ok = true;
    }
    return report;
}

void Report(const std::string& name, const std::string& value) {
    std::printf("%s %s\n", name.c_str(), value.c_str());
    std::fflush(stdout);
}

void WaitForParentsTurn() {
    std::printf("%s\n", kTurnLine);
    std::fflush(stdout);
    raise(SIGSTOP);
}

void Report(const std::string& name, double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value);
    Report(name, std::string(text));
}

}  // namespace bench
