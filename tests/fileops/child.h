// Test bodies that run in a child process: a real kill, a private mount namespace, a
// process-wide limit, none of which may touch the test program itself.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

namespace fotest {

struct ChildOutcome {
    bool exited = false;  // else killed by signal
    int code = 0;         // exit code, or the signal
    std::string text;     // what the body reported
};

// Exit code of a body that found the system unable to run the case (no mount rights, no
// such file system): the test is skipped with the reported reason.
constexpr int kCannotRun = 77;

// Starts body in a forked child; it returns the exit code and may append to report.
// Wait collects the outcome.
class Child {
  public:
    explicit Child(const std::function<int(std::string& report)>& body);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    pid_t pid() const { return pid_; }
    bool Running() const;  // not ended yet
    ChildOutcome Wait();

  private:
    pid_t pid_ = -1;
    int readFd_ = -1;
};

// Runs body in a child and waits for it.
ChildOutcome InChild(const std::function<int(std::string& report)>& body);

// In a child: gives it mounts of its own, so that what it mounts goes with it. False, with
// the reason in why, where the system does not allow it.
bool PrivateMounts(std::string* why);

}  // namespace fotest
