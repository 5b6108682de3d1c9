#include <QApplication>
#include <csignal>

#include "base/identity/identity.h"
#include "toolkit/backend.h"
#include "toolkit/qt/fonts.h"
#include "toolkit/qt/pictures.h"
#include "toolkit/qt/qt_form.h"

static void InitCindermoorResources() {
    Q_INIT_RESOURCE(cindermoor);
}

namespace toolkit {
namespace {

class QtToolkit : public Toolkit {
  public:
    QtToolkit() {
        if (!QApplication::instance()) {
            // The program takes no command line: Qt sees only the program's name.
            static int argc = 1;
            static char name[] = "cindermoor";
            static char* argv[] = {name, nullptr};
            app_ = std::make_unique<QApplication>(argc, argv);
        }
        InitCindermoorResources();
        QApplication::setApplicationName(identity::kInternalName);
        QApplication::setApplicationDisplayName(identity::kAppTitle);
        QApplication::setApplicationVersion(identity::kTextVersion);
        QApplication::setOrganizationName(identity::kCompanyName);
        QApplication::setDesktopFileName(QStringLiteral("org.cindermoor.Cindermoor"));
        QApplication::setWindowIcon(qt::LoadIcon(kPictureIcon));
        QApplication::setQuitOnLastWindowClosed(true);
        qt::RegisterCompatibleFonts();
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
