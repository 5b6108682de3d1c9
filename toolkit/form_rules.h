// What every backend decides alike about a form, worked out once from its layout: which
// controls take the focus and in what order, which text box is typed in over several lines,
// and which faces stand in for a missing one. A backend answers only what is native (whether
// a control can take the focus now, whether a face is installed).
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "toolkit/layout.h"

namespace toolkit {

// A text box the user types in over several lines: Enter makes a new line there, Ctrl+Tab a
// tab, and the box holds a whole document.
constexpr bool IsEditableMultiLine(const ControlLayout& control) {
    return control.kind == ControlKind::TextBox && control.multiLine && !control.readOnly;
}

// Buttons, text boxes and picture boxes with a tab index take the focus; labels, lines and
// shapes never do.
constexpr bool TakesFocus(const ControlLayout& control) {
    switch (control.kind) {
        case ControlKind::CommandButton:
        case ControlKind::TextBox:
        case ControlKind::PictureBox:
            return control.tabIndex >= 0;
        default:
            return false;
    }
}

// The positions in layout.controls of the controls that take the focus, in tab order;
// equal tab indexes keep creation order.
inline std::vector<std::size_t> TabOrder(const FormLayout& layout) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        if (TakesFocus(layout.controls[i]))
            order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&layout](std::size_t a, std::size_t b) {
        return layout.controls[a].tabIndex < layout.controls[b].tabIndex;
    });
    return order;
}

// The control (its position in layout.controls) the focus goes to from `current` (none: from
// outside the tab order), forwards or backwards through the tab order, going round and
// skipping those that cannot take it now; none when no control can.
template <class CanTakeFocusNow>
std::optional<std::size_t> NextInTabOrder(const std::vector<std::size_t>& order,
                                          std::optional<std::size_t> current, bool forward,
                                          CanTakeFocusNow canTakeFocusNow) {
    const auto count = static_cast<std::ptrdiff_t>(order.size());
    const auto found = current ? std::find(order.begin(), order.end(), *current) : order.end();
    const std::ptrdiff_t from = found == order.end() ? -1 : found - order.begin();
    for (std::ptrdiff_t step = 1; step <= count; ++step) {
        const std::ptrdiff_t at = from < 0
                                      ? (forward ? step - 1 : count - step)
                                      : ((from + (forward ? step : -step)) % count + count) % count;
        if (canTakeFocusNow(order[static_cast<std::size_t>(at)]))
            return order[static_cast<std::size_t>(at)];
    }
    return std::nullopt;
}

// The faces that stand in for a face the system lacks, closest in shape and width first.
inline std::span<const std::string_view> FaceFallbacks(std::string_view face) {
    static constexpr std::string_view kVerdana[] = {"DejaVu Sans", "Tahoma"};
    static constexpr std::string_view kTahoma[] = {"DejaVu Sans", "Verdana"};
    static constexpr std::string_view kMsSansSerif[] = {"Microsoft Sans Serif", "Tahoma",
                                                        "DejaVu Sans"};
    static constexpr std::string_view kOther[] = {"Tahoma", "DejaVu Sans"};
    if (face == "Verdana")
        return kVerdana;
    if (face == "Tahoma")
        return kTahoma;
    if (face == "MS Sans Serif")
        return kMsSansSerif;
    return kOther;
}

}  // namespace toolkit
