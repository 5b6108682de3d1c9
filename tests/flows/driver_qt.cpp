// The driver on the Qt backend: real widgets on the offscreen platform, over a scratch drive.
#include <sys/resource.h>

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <csignal>
#include <fstream>

#include "tests/flows/driver.h"
#include "tests/support/gui.h"
#include "tests/support/temp_drive.h"
#include "toolkit/backend.h"

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
}  // namespace

std::shared_ptr<void> Drive::SavesFail(const std::string&) const {
    std::signal(SIGXFSZ, SIG_IGN);       // a write beyond the limit fails instead of ending us
    return Limited(RLIMIT_FSIZE, 4096);  // a full disk, as the process sees one
}

std::shared_ptr<void> MemoryLimited(std::uint64_t room) {
    std::ifstream status("/proc/self/status");
    std::string line;
    std::uint64_t taken = 0;
    while (std::getline(status, line)) {
        if (line.rfind("VmSize:", 0) == 0)
            taken = std::stoull(line.substr(7)) * 1024;
    }
    return Limited(RLIMIT_AS, taken + room);
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
    QWidget* widget = testsupport::WidgetOf(button);
    const QPointF centre = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(centre);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, centre, global, Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
    Settle();
}

void Focus(toolkit::Control& control) {
    testsupport::WidgetOf(control)->setFocus(Qt::MouseFocusReason);
    Settle();
}

namespace {
// The keyboard goes to a modal window as soon as it is up, whichever window is active.
QWidget* KeyboardFocus() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal->focusWidget();
    return QApplication::focusWidget();
}

void SendKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QWidget* focus = KeyboardFocus();
    if (!focus)
        return;
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(focus, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    if (QWidget* now = KeyboardFocus())
        QApplication::sendEvent(now, &release);
    Settle();
}
}  // namespace

void Type(const std::u32string& text) {
    for (char32_t c : text) SendKey(0, Qt::NoModifier, QString::fromUcs4(&c, 1));
}

void Press(Key key) {
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
    } keys[] = {{Qt::Key_Tab, Qt::NoModifier, "\t"},
                {Qt::Key_Backtab, Qt::ShiftModifier, ""},
                {Qt::Key_Return, Qt::NoModifier, "\r"},
                {Qt::Key_Escape, Qt::NoModifier, "\x1b"}};
    const auto& pressed = keys[static_cast<int>(key)];
    SendKey(pressed.key, pressed.modifiers, pressed.text);
}

Look LookOf(toolkit::Control& control) {
    QWidget* widget = testsupport::WidgetOf(control);
    QString text = widget->property("text").toString();  // buttons, labels, lines
    if (auto* editor = qobject_cast<QsciScintilla*>(widget))
        text = editor->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        text = plain->toPlainText();
    return {text.toStdString(), widget->isEnabled(), widget->isVisible(), widget == KeyboardFocus(),
            true};
}
bool Modal(toolkit::Form& form, toolkit::Form& owner) {
    QWidget* window = testsupport::WindowOf(form);
    return QApplication::activeModalWidget() == window && window->isVisible() &&
           testsupport::WindowOf(owner)->isVisible();
}

bool WhenModal(const std::function<void()>& open, const std::function<void()>& inside) {
    bool ran = false;
    int tries = 0;
    // Once a modal window is up; the window that opened is driven (and closed) all the same
    // when it does not behave as one.
    std::function<void()> poll = [&] {
        if (!QApplication::activeModalWidget() && ++tries < 50)
            return QTimer::singleShot(10, poll);
        ran = true;
        inside();
    };
    QTimer::singleShot(0, poll);
    open();
    Settle();
    return ran;
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
