// The Win32 backend's entry point: window classes and the main loop.
#include <memory>

#include "toolkit/backend.h"
#include "toolkit/win32/message_loop.h"
#include "toolkit/win32/picture_box.h"
#include "toolkit/win32/win32_form.h"

namespace toolkit {
namespace win32 {
namespace {

class Win32Toolkit final : public Toolkit {
  public:
    Win32Toolkit() {
        static const bool registered = [] {
            Win32Form::RegisterWindowClass();
            RegisterPictureBoxClass();
            return true;
        }();
        (void)registered;
    }

    std::unique_ptr<Form> CreateForm(const FormLayout& layout, FormEvents events) override {
        return std::make_unique<Win32Form>(layout, std::move(events));
    }

    int Run() override { return RunMainLoop(); }
};

}  // namespace
}  // namespace win32

std::unique_ptr<Toolkit> CreateToolkit() {
    return std::make_unique<win32::Win32Toolkit>();
}

}  // namespace toolkit
