// Each backend (Qt, Win32) supplies the toolkit through this one entry point.
#pragma once

#include <memory>

#include "toolkit/form.h"

namespace toolkit {

// Creates the platform's toolkit; call once, before any form is created.
std::unique_ptr<Toolkit> CreateToolkit();

}  // namespace toolkit
