// The driver on the Qt backend: real widgets on the offscreen platform, over a scratch drive.
#include <sys/resource.h>

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "tests/flows/driver.h"
#include "tests/support/gui.h"
#include "tests/support/temp_drive.h"

namespace flows {

namespace fs = std::filesystem;

Drive::Drive(bool withWindowsFolder) : windows_("C:\\WINDOWS") {
    auto drive = std::make_shared<testsupport::TempDrive>(withWindowsFolder ? "WINDOWS" : "");
    driveC_ = drive->DriveC();
    scratch_ = drive;
}
std::shared_ptr<void> Drive::SavesFail(const std::string&) const {
    // A full disk, as the process sees one: no file may grow beyond 4 KiB.
    struct Limit {
        rlimit old{};
        void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    };
    auto limit = std::make_shared<Limit>();
    getrlimit(RLIMIT_FSIZE, &limit->old);
    rlimit limited = limit->old;
    limited.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &limited);
    return std::shared_ptr<void>(nullptr, [limit](void*) {
        setrlimit(RLIMIT_FSIZE, &limit->old);
        std::signal(SIGXFSZ, limit->oldHandler);
    });
}

std::shared_ptr<void> MemoryLimited(std::uint64_t room) {
    std::ifstream status("/proc/self/status");
    std::string line;
    std::uint64_t taken = 0;
    while (std::getline(status, line)) {
        if (line.rfind("VmSize:", 0) == 0)
            taken = std::stoull(line.substr(7)) * 1024;
    }
    auto old = std::make_shared<rlimit>();
    getrlimit(RLIMIT_AS, old.get());
    rlimit limited = *old;
    limited.rlim_cur = taken + room;
    setrlimit(RLIMIT_AS, &limited);
    return std::shared_ptr<void>(nullptr, [old](void*) { setrlimit(RLIMIT_AS, old.get()); });
}

toolkit::Toolkit& Gui() {
    return testsupport::Gui();
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

std::string Shown(toolkit::Control& control) {
    QWidget* widget = testsupport::WidgetOf(control);
    if (auto* editor = qobject_cast<QsciScintilla*>(widget))
        return editor->text().toStdString();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        return plain->toPlainText().toStdString();
    return widget->property("text").toString().toStdString();  // buttons, labels, lines
}

bool Enabled(toolkit::Control& control) {
    return testsupport::WidgetOf(control)->isEnabled();
}
bool Visible(toolkit::Control& control) {
    return testsupport::WidgetOf(control)->isVisible();
}
bool Focused(toolkit::Control& control) {
    QWidget* widget = testsupport::WidgetOf(control);
    return widget == KeyboardFocus();
}
bool TakesEveryCharacter(toolkit::Control&) {
    return true;
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
    testsupport::ProcessEvents();
}

void RecordBoxesIn(Boxes* boxes) {
    if (!boxes)
        return toolkit::SetMessageBoxObserver({});
    // What the box on the screen shows, not what the program asked for.
    toolkit::SetMessageBoxObserver([boxes](const toolkit::ShownMessageBox&) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return boxes->shown.push_back({"no box on the screen", -1, ""});
        const int icons[] = {0, 64, 48, 16, 32};  // QMessageBox::Icon in order
        const int icon = icons[box->icon()];
        boxes->shown.push_back({box->text().toStdString(), icon, box->windowTitle().toStdString()});
    });
}

}  // namespace flows
