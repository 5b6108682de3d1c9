// cindermoor_bench: with no arguments, runs every measurement and prints the figures;
// `--startup` only the start-up ones; `--child MODE ...` is one measurement, run by the
// former in a process of its own.
#include <unistd.h>

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/child_modes.h"
#include "bench/driver.h"
#include "bench/open_type_save.h"

namespace {

// The offscreen platform warns about window hints on every window it shows; say the rest.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--child") {
        qInstallMessageHandler(QuietMessages);
        const std::string mode = argv[2];
        if (mode == "startup")
            return bench::RunMainWindowStartup();
        if (mode == "bare")
            return bench::RunBareWindowStartup();
        if (mode == "empty")
            return bench::RunEmptyWindow();
        if (mode == "open-type-save" && argc == 6)
            return bench::RunOpenTypeSave(argv[3], std::string(argv[4]) == "screen-reader",
                                          std::atoi(argv[5]));
        std::fprintf(stderr, "unknown child mode: %s\n", mode.c_str());
        return 2;
    }
    const bool startupOnly = argc == 2 && std::string(argv[1]) == "--startup";
    if (argc != 1 && !startupOnly) {
        std::fprintf(stderr, "usage: %s [--startup]\n", argv[0]);
        return 2;
    }
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) {
        std::fprintf(stderr, "cannot find this program's path\n");
        return 1;
    }
    self[n] = '\0';
    return startupOnly ? bench::RunStartupAndPrint(self) : bench::RunAllAndPrint(self);
}
