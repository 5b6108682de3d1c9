// The Qt widgets behind the program's forms and controls, and its message boxes recorded.
#pragma once

#include <QWidget>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/message_box.h"

namespace bench {

// The Qt widget behind a control or a loaded form.
QWidget* WidgetOf(toolkit::Control& control);
QWidget* WindowOf(toolkit::Form& form);

// Records every message box shown while it lives; each box is answered with OK.
struct MessageBoxRecorder {
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    std::vector<toolkit::ShownMessageBox> boxes;
};

}  // namespace bench
