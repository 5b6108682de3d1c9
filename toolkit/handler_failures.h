// What happens when a handler fails: every backend runs a form's events through these.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

#include "toolkit/form.h"
#include "toolkit/message_box.h"

namespace toolkit {

// Shows a failure that reached the toolkit in a critical box, in the failure's own words,
// captioned with the caption of the form it happened in.
inline void ShowFailure(const std::string& formCaption, const std::exception& failure) {
    MsgBox(failure.what(), vbCritical, formCaption);
}

// The form's events, each of which reports a failure instead of passing it on: a handler that
// throws must not take the program down with it, nor leave a half-run event loop behind it;
// the user sees what failed and the program goes on with the next event.
inline FormEvents ReportingFailures(const FormLayout& form, FormEvents events) {
    FormEvents guarded;
    if (events.load) {
        guarded.load = [caption = form.caption, load = std::move(events.load)] {
            try {
                load();
            } catch (const std::exception& failure) {
                ShowFailure(caption, failure);
            }
        };
    }
    if (events.click) {
        guarded.click = [caption = form.caption, click = std::move(events.click)](
                            const std::string& control, std::int16_t index) {
            try {
                click(control, index);
            } catch (const std::exception& failure) {
                ShowFailure(caption, failure);
            }
        };
    }
    return guarded;
}

}  // namespace toolkit
