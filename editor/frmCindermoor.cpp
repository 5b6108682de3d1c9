#include "editor/frmCindermoor.h"

#include <exception>
#include <new>
#include <string_view>

#include "base/identity/identity.h"
#include "editor/frmCindermoor_layout.h"
#include "editor/resolution.h"
#include "editor/save_messages.h"
#include "fileops/modFileOps/modFileOps.h"
#include "toolkit/click_table.h"
#include "toolkit/message_box.h"

namespace editor {
namespace {

constexpr const char* kNoFile = "None";

const toolkit::ClickTable<frmCindermoor> kClickHandlers{
    {"cmdOpen", &frmCindermoor::cmdOpen_Click},
    {"cmdClose", &frmCindermoor::cmdClose_Click},
    {"cmdSave", &frmCindermoor::cmdSave_Click},
    {"cmdVer", &frmCindermoor::cmdVer_Click},
};

}  // namespace

frmCindermoor::frmCindermoor(toolkit::Toolkit& toolkit) : toolkit_(toolkit) {
    // Both windows' tables are checked here, at start-up, although the About window is created
    // only when first opened.
    kClickHandlers.Check(frmCindermoorLayout());
    about::frmAbout::CheckClickHandlers();
    form_ = toolkit_.CreateForm(
        frmCindermoorLayout(),
        toolkit::FormEvents{[this] { Form_Load(); },
                            [this](const std::string& name, std::int16_t index) {
                                kClickHandlers.Dispatch(*this, name, index);
                            }});
}

void frmCindermoor::Show() {
    form_->Show();
}

void frmCindermoor::Form_Load() {
    for (toolkit::Control* control : form_->Controls()) {
        if (!control->IsCommandButton())
            continue;
        const std::string name = FileNameFromCaption(control->Caption());
        if (modFileOps::FileExists(BuildWindowsDirPath(name)))
            continue;
        if (modFileOps::FileExists(BuildDriveRootPath(name)))
            continue;
        control->SetEnabled(false);
    }
    Ctl("cmdClose").SetEnabled(true);
    Ctl("cmdSave").SetEnabled(true);
    Ctl("cmdVer").SetEnabled(true);
}

void frmCindermoor::cmdOpen_Click(std::int16_t Index) {
    const std::string name = FileNameFromCaption(Ctl("cmdOpen", Index).Caption());
    std::string path = BuildWindowsDirPath(name);
    if (!modFileOps::FileExists(path))
        path = BuildDriveRootPath(name);

    toolkit::Control& txtDisplay = Ctl("txtDisplay");
    const modFileOps::TextRoom room{
        txtDisplay.TextCapacity(),
        [&txtDisplay](std::string_view piece) { return txtDisplay.TextSize(piece); }};
    try {
        modFileOps::ReadStatus status = modFileOps::ReadStatus::Ok;
        txtDisplay.SetText(modFileOps::ReadFileText(path, &status, room));
        // Only a file that was really read counts as open: a save must never write the
        // not-found sentence or an empty text over a file that could not be read.
        Ctl("lblFileName").SetCaption(status == modFileOps::ReadStatus::Ok ? path : kNoFile);
    } catch (const std::bad_alloc&) {
        // The text box and the label keep what they had.
        toolkit::MsgBox(OutOfMemoryMessage(path, "open"), toolkit::vbCritical, "Error");
    } catch (const std::exception& error) {
        // The text box refused the text in some other way; it too keeps what it had.
        toolkit::MsgBox(OpenFailedMessage(path, error.what()), toolkit::vbCritical, "Error");
    }
}

void frmCindermoor::cmdClose_Click() {
    Ctl("txtDisplay").SetText("");
    Ctl("lblFileName").SetCaption(kNoFile);
}

void frmCindermoor::cmdSave_Click() {
    const std::string path = Ctl("lblFileName").Caption();
    if (path == kNoFile)
        return;

    try {
        toolkit::AnsiText text = Ctl("txtDisplay").Text();
        if (text.refusal) {
            toolkit::MsgBox(RefusedTextMessage(path, *text.refusal), toolkit::vbCritical, "Error");
            return;
        }
        std::string oldContentAt;
        if (const auto cause =
                modFileOps::WriteFileText(path, TrimSpaces(std::move(text.bytes)), &oldContentAt))
            toolkit::MsgBox(WriteFailedMessage(path, *cause, oldContentAt), toolkit::vbCritical,
                            "Error");
    } catch (const std::bad_alloc&) {
        toolkit::MsgBox(OutOfMemoryMessage(path, "save"), toolkit::vbCritical, "Error");
    }
}

void frmCindermoor::cmdVer_Click() {
    if (!about_)
        about_ = std::make_unique<about::frmAbout>(toolkit_);
    about_->Form().ShowModal(*form_);
}

}  // namespace editor
