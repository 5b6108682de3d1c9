// The About window and its handlers.
#pragma once

#include <memory>
#include <string>

#include "toolkit/form.h"

namespace about {

class frmAbout {
  public:
    // Throws toolkit::ClickTableError when the click handlers do not match the controls.
    static void CheckClickHandlers();
    explicit frmAbout(toolkit::Toolkit& toolkit);

    toolkit::Form& Form() { return *form_; }

    void closeabout_Click();
    void Command1_Click();
    void emailladdy_Click();

  private:
    void ShowContact(const char* value);

    std::unique_ptr<toolkit::Form> form_;
};

}  // namespace about
