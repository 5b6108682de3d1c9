// Real Qt windows for tests (run under QT_QPA_PLATFORM=offscreen).
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/message_box.h"

namespace testsupport {

// The program's toolkit, created once per test binary.
toolkit::Toolkit& Gui();

// The Qt widget behind a control or a loaded form.
QWidget* WidgetOf(toolkit::Control& control);
QWidget* WindowOf(toolkit::Form& form);

// Lets queued events (deferred deletes, paints) run.
void ProcessEvents();

// Records every message box shown while it lives; each box is answered with OK (the bench
// uses it).
class MessageBoxRecorder {
  public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    const std::vector<toolkit::ShownMessageBox>& Boxes() const { return boxes_; }

  private:
    std::vector<toolkit::ShownMessageBox> boxes_;
};

}  // namespace testsupport
