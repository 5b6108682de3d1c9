// Start-up: the main window is the program's start-up object; closing it ends the program.
#include <csignal>

#include "editor/frmCindermoor.h"
#include "toolkit/backend.h"

int main() {
#ifdef SIGXFSZ
    // A file-size limit must fail a write with an error the save can report, not kill us.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    auto toolkit = toolkit::CreateToolkit();
    editor::frmCindermoor main(*toolkit);
    main.Show();
    return toolkit->Run();
}
