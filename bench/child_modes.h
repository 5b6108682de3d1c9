// What the benchmark does when started as a child (`cindermoor_bench --child MODE ...`).
// Each mode reports "name value" lines on standard output and returns the exit status.
#pragma once

namespace bench {

// The program's own start-up: toolkit, main window, shown; reports "shown" once the window
// has been painted, then ends.
int RunMainWindowStartup();

// The same for a bare Qt window holding one QsciScintilla, the least such a program needs.
int RunBareWindowStartup();

// The main window shown and painted with no file open; reports its peak memory.
int RunEmptyWindow();

}  // namespace bench
