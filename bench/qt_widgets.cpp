#include "bench/qt_widgets.h"

#include "toolkit/qt/qt_control.h"
#include "toolkit/qt/qt_form.h"

namespace bench {

QWidget* WidgetOf(toolkit::Control& control) {
    return dynamic_cast<toolkit::qt::QtControl&>(control).Widget();
}

QWidget* WindowOf(toolkit::Form& form) {
    return dynamic_cast<toolkit::qt::QtForm&>(form).Window();
}

MessageBoxRecorder::MessageBoxRecorder() {
    toolkit::SetMessageBoxObserver(
        [this](const toolkit::ShownMessageBox& box) { boxes.push_back(box); });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    toolkit::SetMessageBoxObserver({});
}

}  // namespace bench
