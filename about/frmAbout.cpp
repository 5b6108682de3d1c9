#include "about/frmAbout.h"

#include "about/frmAbout_layout.h"
#include "base/identity/identity.h"
#include "toolkit/click_table.h"

namespace about {
namespace {

const toolkit::ClickTable<frmAbout> kClickHandlers{
    {"closeabout", &frmAbout::closeabout_Click},
    {"Command1", &frmAbout::Command1_Click},
    {"emailladdy", &frmAbout::emailladdy_Click},
};

}  // namespace

void frmAbout::CheckClickHandlers() {
    kClickHandlers.Check(frmAboutLayout());
}

frmAbout::frmAbout(toolkit::Toolkit& toolkit) {
    CheckClickHandlers();
    form_ = toolkit.CreateForm(
        frmAboutLayout(),
        toolkit::FormEvents{{}, [this](const std::string& name, std::int16_t index) {
                                kClickHandlers.Dispatch(*this, name, index);
                            }});
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
