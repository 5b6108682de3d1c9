// The driver on the Qt backend: real widgets on the offscreen platform, over a scratch drive.
#include <sys/resource.h>
#include <unistd.h>

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <fstream>

#include "tests/flows/driver.h"
#include "tests/support/temp_drive.h"
#include "toolkit/backend.h"
#include "toolkit/qt/qt_control.h"

namespace flows {

Drive::Drive(bool withWindowsFolder) : windows_("C:\\WINDOWS") {
    auto drive = std::make_shared<testsupport::TempDrive>(withWindowsFolder ? "WINDOWS" : "");
    driveC_ = drive->DriveC();
    scratch_ = drive;
}
namespace {
// The process's limit of `resource` lowered to `most` until the result goes.
std::shared_ptr<void> Limited(decltype(RLIMIT_AS) resource, rlim_t most) {
    auto old = std::make_shared<rlimit>();
    getrlimit(resource, old.get());
    const rlimit limited{most, old->rlim_max};
    setrlimit(resource, &limited);
    return std::shared_ptr<void>(nullptr, [=](void*) { setrlimit(resource, old.get()); });
}

QWidget* WidgetOf(toolkit::Control& control) {
    return dynamic_cast<toolkit::qt::QtControl&>(control).Widget();
}

// The keyboard goes to a modal window as soon as it is up, whichever window is active.
QWidget* KeyboardFocus() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal->focusWidget();
    return QApplication::focusWidget();
}

void SendKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, modifiers, text);
        if (QWidget* focus = KeyboardFocus())
            QApplication::sendEvent(focus, &event);
    }
    Settle();
}
}  // namespace

std::shared_ptr<void> Drive::SavesFail(const std::string&) const {
    std::signal(SIGXFSZ, SIG_IGN);       // a write beyond the limit fails instead of ending us
    return Limited(RLIMIT_FSIZE, 4096);  // a full disk, as the process sees one
}

std::shared_ptr<void> MemoryLimited(std::uint64_t room) {
    std::uint64_t pages = 0;  // the address space taken
    std::ifstream("/proc/self/statm") >> pages;
    return Limited(RLIMIT_AS, pages * sysconf(_SC_PAGESIZE) + room);
}

toolkit::Toolkit& Gui() {
    // Lives until the process ends: Qt must not be torn down among other static objects.
    static toolkit::Toolkit* toolkit = toolkit::CreateToolkit().release();
    return *toolkit;
}
bool On9x() {
    return false;
}
std::optional<std::uint64_t> TextBoxRoom() {
    return 2'000'000'000;
}

void Press(toolkit::Control& button) {
    QTest::mouseClick(WidgetOf(button), Qt::LeftButton);
    Settle();
}

void Focus(toolkit::Control& control) {
    WidgetOf(control)->setFocus(Qt::MouseFocusReason);
    Settle();
}

void Type(const std::u32string& text) {
    for (char32_t c : text) SendKey(0, Qt::NoModifier, QString::fromUcs4(&c, 1));
}

void Press(Key key) {
    const int keys[] = {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Escape};
    const char* texts[] = {"\t", "", "\r", "\x1b"};
    const int i = static_cast<int>(key);
    SendKey(keys[i], key == Key::ShiftTab ? Qt::ShiftModifier : Qt::NoModifier, texts[i]);
}

Look LookOf(toolkit::Control& control) {
    QWidget* widget = WidgetOf(control);
    QString text = widget->property("text").toString();  // buttons, labels, lines
    if (auto* editor = qobject_cast<QsciScintilla*>(widget))
        text = editor->text();
    return {text.toStdString(), widget->isEnabled(), widget->isVisible(), widget == KeyboardFocus(),
            true};
}
bool WhenModal(const std::function<void()>& open, const std::function<void()>& inside) {
    bool modal = false;
    QTimer::singleShot(0, [&] {
        modal = QApplication::activeModalWidget() != nullptr;
        inside();
    });
    open();
    Settle();
    return modal;
}

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

toolkit::ShownMessageBox OnScreen(const toolkit::ShownMessageBox&) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box)
        return {"no box on the screen", -1, ""};
    const int styles[] = {0, 64, 48, 16, 32};  // of QMessageBox::Icon, in its order
    return {box->text().toStdString(), styles[box->icon()], box->windowTitle().toStdString()};
}

}  // namespace flows
