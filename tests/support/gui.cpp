#include "tests/support/gui.h"

#include <QApplication>
#include <QCoreApplication>

#include "toolkit/backend.h"
#include "toolkit/qt/qt_control.h"
#include "toolkit/qt/qt_form.h"

namespace testsupport {

toolkit::Toolkit& Gui() {
    // Lives until the process ends: Qt must not be torn down among other static objects.
    static toolkit::Toolkit* toolkit = toolkit::CreateToolkit().release();
    return *toolkit;
}

QWidget* WidgetOf(toolkit::Control& control) {
    return dynamic_cast<toolkit::qt::QtControl&>(control).Widget();
}

QWidget* WindowOf(toolkit::Form& form) {
    return dynamic_cast<toolkit::qt::QtForm&>(form).Window();
}

void ProcessEvents() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

MessageBoxRecorder::MessageBoxRecorder() {
    toolkit::SetMessageBoxObserver(
        [this](const toolkit::ShownMessageBox& box) { boxes_.push_back(box); });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    toolkit::SetMessageBoxObserver({});
}

}  // namespace testsupport
