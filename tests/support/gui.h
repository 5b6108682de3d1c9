// Real Qt windows for tests (run under QT_QPA_PLATFORM=offscreen).
#pragma once

#include <QWidget>
#include "toolkit/form.h"

namespace testsupport {

// The program's toolkit, created once per test binary.
toolkit::Toolkit& Gui();

// The Qt widget behind a control or a loaded form.
QWidget* WidgetOf(toolkit::Control& control);
QWidget* WindowOf(toolkit::Form& form);

// Lets queued events (deferred deletes, paints) run.
void ProcessEvents();

}  // namespace testsupport
