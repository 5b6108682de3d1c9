// Private window messages and class names of the Win32 backend.
#pragma once

#include "toolkit/win32/win32_api.h"

namespace toolkit::win32 {

inline constexpr const char* kFormClass = "CindermoorForm";
inline constexpr const char* kPictureBoxClass = "CindermoorPictureBox";

// Sent to a form: the focused control is about to be disabled or hidden; focus the next one.
inline constexpr UINT kMsgFocusNext = WM_APP + 1;

// Child window ids: the control's position in creation order plus this base, so that no
// control answers to IDOK or IDCANCEL, which the dialog manager sends for Enter and Escape.
inline constexpr int kFirstControlId = 1000;

}  // namespace toolkit::win32
