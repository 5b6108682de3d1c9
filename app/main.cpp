// Start-up: the main window is the program's start-up object; closing it ends the program.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "editor/frmCindermoor.h"
#include "toolkit/backend.h"
#include "toolkit/click_table.h"
#include "toolkit/message_box.h"

int main() {
#ifdef SIGXFSZ
    // A file-size limit must fail a write with an error the save can report, not kill us.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    auto toolkit = toolkit::CreateToolkit();
    std::unique_ptr<editor::frmCindermoor> main;
    try {
        main = std::make_unique<editor::frmCindermoor>(*toolkit);
    } catch (const toolkit::ClickTableError& error) {
        // A fault of the build, not of the user's files: say so and end before any window.
        // fputs, not fprintf: MinGW's fprintf locks the stream with calls Windows 98 lacks.
        std::fputs(("cindermoor: " + std::string(error.what()) + "\n").c_str(), stderr);
        toolkit::MsgBox(error.what(), toolkit::vbCritical, "Cindermoor");
        return EXIT_FAILURE;
    }
    main->Show();
    return toolkit->Run();
}
