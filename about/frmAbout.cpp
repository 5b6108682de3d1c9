#include "about/frmAbout.h"

#include "about/frmAbout_layout.h"
#include "base/identity/identity.h"

namespace about {

frmAbout::frmAbout(toolkit::Toolkit& toolkit) {
    form_ = toolkit.CreateForm(
        frmAboutLayout(),
        toolkit::FormEvents{{}, [this](const std::string& name, std::int16_t) { OnClick(name); }});
}

void frmAbout::OnClick(const std::string& name) {
    if (name == "closeabout")
        closeabout_Click();
    if (name == "Command1")
        Command1_Click();
    if (name == "emailladdy")
        emailladdy_Click();
}

void frmAbout::closeabout_Click() {
    form_->Hide();
    form_->Unload();
}

void frmAbout::Command1_Click() {
    ShowContact(identity::kWebSite);
}

void frmAbout::emailladdy_Click() {
    ShowContact(identity::kEmail);
}

void frmAbout::ShowContact(const char* value) {
    toolkit::Control& box = form_->Get("electronicmail");
    box.SetVisible(true);
    box.SetText(value);
}

}  // namespace about
