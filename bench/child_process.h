// Runs this benchmark again as a child process in one of its modes, so that every figure
// comes from a fresh process: peaks of memory do not mix and start-up is real.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench/measures.h"

namespace bench {

struct ChildReport {
    bool ok = false;            // exited with status 0 in time
    std::string failure;        // why not, when !ok
    Clock::time_point started;  // just before fork
    // Each line "name value" the child wrote, with the moment the parent read it.
    std::map<std::string, std::string> values;
    std::map<std::string, Clock::time_point> arrivals;

    double Number(const std::string& name) const;
};

// Starts the program at `self` with the arguments, reads its standard output until it
// ends, and waits for it; a child still running after timeoutSeconds is killed. Each time
// the child gives the parent its turn (WaitForParentsTurn), `parentsTurn` runs while the
// child is stopped.
ChildReport RunChild(const std::string& self, const std::vector<std::string>& arguments,
                     int timeoutSeconds, const std::function<void()>& parentsTurn = {});

// In a child: stops until the parent has taken its turn, so that what the parent measures
// then is measured in turns with what the child does.
void WaitForParentsTurn();

// In a child: one line of the report, written at once.
void Report(const std::string& name, const std::string& value);
void Report(const std::string& name, double value);

}  // namespace bench
