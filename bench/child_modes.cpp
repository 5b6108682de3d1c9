#include "bench/child_modes.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QVBoxLayout>

#include "bench/child_process.h"
#include "bench/measures.h"
#include "bench/window_probe.h"
#include "editor/frmCindermoor.h"
#include "tests/support/gui.h"
#include "toolkit/backend.h"

namespace bench {

int RunMainWindowStartup() {
    auto toolkit = toolkit::CreateToolkit();
    editor::frmCindermoor window(*toolkit);
    window.Form().Load();
    PaintProbe probe(testsupport::WindowOf(window.Form()));
    window.Show();
    if (!probe.WaitForPaint())
        return 1;
    Report("shown", "1");
    return 0;
}

int RunBareWindowStartup() {
    static int argc = 1;
    static char name[] = "bare";
    static char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QsciScintilla(&window));
    window.resize(640, 480);
    PaintProbe probe(&window);
    window.show();
    if (!probe.WaitForPaint())
        return 1;
    Report("shown", "1");
    return 0;
}

int RunEmptyWindow() {
    auto toolkit = toolkit::CreateToolkit();
    editor::frmCindermoor window(*toolkit);
    window.Form().Load();
    PaintProbe probe(testsupport::WindowOf(window.Form()));
    window.Show();
    if (!probe.WaitForPaint())
        return 1;
    Report("peak_kib", static_cast<double>(PeakResidentKiB()));
    return 0;
}

}  // namespace bench
