// Both windows and the caption sheet as the Qt backend draws them, saved as PNG files in the
// current folder for compare.sh; the scale comes from QT_SCALE_FACTOR.
#include <QApplication>
#include <QPixmap>
#include <QTimer>

#include "editor/frmCindermoor.h"
#include "tests/screens/scene.h"
#include "tests/support/temp_drive.h"
#include "toolkit/backend.h"
#include "toolkit/qt/qt_form.h"

namespace {

bool Save(toolkit::Form& form, const char* file) {
    QApplication::processEvents();
    return dynamic_cast<toolkit::qt::QtForm&>(form).Window()->grab().toImage().save(file);
}

}  // namespace

int main() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testsupport::TempDrive drive;
    for (const screens::DriveFile& file : screens::kDriveFiles)
        drive.Write(std::string(file.inWindowsFolder ? "WINDOWS/" : "") + file.name, file.bytes);
    const auto gui = toolkit::CreateToolkit();
    QApplication::setCursorFlashTime(0);  // the caret shows steadily
    editor::frmCindermoor main(*gui);
    main.Show();
    main.cmdOpen_Click(screens::kWinIniIndex);
    bool saved = Save(main.Form(), "main.png");
    QTimer::singleShot(0, [&] {
        saved = Save(main.AboutWindow()->Form(), "about.png") && saved;
        main.AboutWindow()->closeabout_Click();
    });
    main.cmdVer_Click();
    return saved && Save(*screens::ShowCaptionSheet(*gui), "captions.png") ? 0 : 1;
}
