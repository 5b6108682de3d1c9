#include <QApplication>
#include <csignal>

#include "base/identity/identity.h"
#include "toolkit/backend.h"
#include "toolkit/qt/fonts.h"
#include "toolkit/qt/qt_form.h"

static void InitCindermoorResources() {
    Q_INIT_RESOURCE(cindermoor);
    Q_INIT_RESOURCE(raw_pictures);
}

namespace toolkit {
namespace {

class QtToolkit : public Toolkit {
  public:
    QtToolkit() {
        qt::RegisterCompatibleFonts();
        if (!QApplication::instance()) {
            // The program takes no command line: Qt sees only the program's name.
            static int argc = 1;
            static char name[] = "cindermoor";
            static char* argv[] = {name, nullptr};
            app_ = std::make_unique<QApplication>(argc, argv);
        }
        InitCindermoorResources();
        // No display name: Qt would append it to every window title that does not end in it.
        QApplication::setApplicationName(identity::kInternalName);
        QApplication::setApplicationVersion(identity::kTextVersion);
        QApplication::setOrganizationName(identity::kCompanyName);
        QApplication::setDesktopFileName(QStringLiteral("org.cindermoor.Cindermoor"));
        // No application icon: windows without an icon of their own would show it.
        QApplication::setQuitOnLastWindowClosed(true);
        // Message boxes, and QScintilla's fonts, start from the application's font.
        QFont font = QApplication::font();
        qt::DrawEveryCharacterAlone(font);
        QApplication::setFont(font);
    }

    std::unique_ptr<Form> CreateForm(const FormLayout& layout, FormEvents events) override {
        return std::make_unique<qt::QtForm>(layout, std::move(events));
    }

    int Run() override { return QApplication::exec(); }

  private:
    std::unique_ptr<QApplication> app_;
};

}  // namespace

std::unique_ptr<Toolkit> CreateToolkit() {
    return std::make_unique<QtToolkit>();
}

}  // namespace toolkit
