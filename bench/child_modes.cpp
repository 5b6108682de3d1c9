#include "bench/child_modes.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QVBoxLayout>

#include "bench/child_process.h"
#include "bench/measures.h"
#include "bench/qt_widgets.h"
#include "bench/window_probe.h"
#include "editor/frmCindermoor.h"
#include "toolkit/backend.h"

namespace bench {

int RunMainWindowStartup() {
    // Where the time goes after main(): the toolkit (Qt, fonts, pictures), the window's
    // controls with Form_Load, and showing and painting it.
    const Clock::time_point start = Clock::now();
    auto toolkit = toolkit::CreateToolkit();
    const Clock::time_point toolkitMade = Clock::now();
    editor::frmCindermoor window(*toolkit);
    window.Form().Load();
    const Clock::time_point loaded = Clock::now();
    PaintProbe probe(WindowOf(window.Form()));
    window.Show();
    if (!probe.WaitForPaint())
        return 1;
    Report("shown", "1");
    Report("toolkit_ms", MillisecondsBetween(start, toolkitMade));
    Report("load_ms", MillisecondsBetween(toolkitMade, loaded));
    Report("show_ms", MillisecondsBetween(loaded, Clock::now()));
    return 0;
}

int RunBareWindowStartup() {
    static int argc = 1;
    static char name[] = "bare";
    static char* argv[] = {name, nullptr};
    const Clock::time_point start = Clock::now();
    QApplication app(argc, argv);
    const Clock::time_point toolkitMade = Clock::now();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QsciScintilla(&window));
    window.resize(640, 480);
    const Clock::time_point loaded = Clock::now();
    PaintProbe probe(&window);
    window.show();
    if (!probe.WaitForPaint())
        return 1;
    Report("shown", "1");
    Report("toolkit_ms", MillisecondsBetween(start, toolkitMade));
    Report("load_ms", MillisecondsBetween(toolkitMade, loaded));
    Report("show_ms", MillisecondsBetween(loaded, Clock::now()));
    return 0;
}

int RunEmptyWindow() {
    auto toolkit = toolkit::CreateToolkit();
    editor::frmCindermoor window(*toolkit);
    window.Form().Load();
    PaintProbe probe(WindowOf(window.Form()));
    window.Show();
    if (!probe.WaitForPaint())
        return 1;
    Report("peak_kib", static_cast<double>(PeakResidentKiB()));
    return 0;
}

}  // namespace bench
