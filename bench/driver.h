// The benchmark as run by `cmake --build build --target bench`: starts every measurement
// in a child process and prints the figures next to their targets.
#pragma once

#include <string>

namespace bench {

// self: this program's path, started again for each child. Returns the exit status.
int RunAllAndPrint(const std::string& self);

// The start-up figures alone, for checking a change to start-up in a few seconds.
int RunStartupAndPrint(const std::string& self);

}  // namespace bench
