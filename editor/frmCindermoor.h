// The main window and its handlers. Acts on its controls by name through the toolkit.
#pragma once

#include <cstdint>
#include <memory>

#include "about/frmAbout.h"
#include "toolkit/form.h"

namespace editor {

class frmCindermoor {
  public:
    // Throws toolkit::ClickTableError when the click handlers of this window or of the About
    // window do not match their controls.
    explicit frmCindermoor(toolkit::Toolkit& toolkit);

    // Loads the window (running Form_Load), centres and shows it.
    void Show();
    toolkit::Form& Form() { return *form_; }
    // The About window, once the version button has created it.
    about::frmAbout* AboutWindow() { return about_.get(); }

    void Form_Load();
    void cmdOpen_Click(std::int16_t Index);
    void cmdClose_Click();
    void cmdSave_Click();
    void cmdVer_Click();

  private:
    toolkit::Control& Ctl(const char* name, int index = -1) { return form_->Get(name, index); }

    toolkit::Toolkit& toolkit_;
    std::unique_ptr<toolkit::Form> form_;
    std::unique_ptr<about::frmAbout> about_;
};

}  // namespace editor
