// Real Qt windows for tests and the benchmark (run under QT_QPA_PLATFORM=offscreen).
#pragma once

#include <QWidget>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/message_box.h"

namespace testsupport {

// The Qt widget behind a control or a loaded form.
QWidget* WidgetOf(toolkit::Control& control);
QWidget* WindowOf(toolkit::Form& form);

// Records every message box shown while it lives; each box is answered with OK.
struct MessageBoxRecorder {
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    std::vector<toolkit::ShownMessageBox> boxes;
};

}  // namespace testsupport
