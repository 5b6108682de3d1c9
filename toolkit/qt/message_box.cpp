#include "toolkit/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "toolkit/qt/ansi_qstring.h"

namespace toolkit {
namespace {

MessageBoxObserver& Observer() {
    static MessageBoxObserver observer;
    return observer;
}

QMessageBox::Icon IconOf(int style) {
    switch (style & 0x70) {
        case 16:
            return QMessageBox::Critical;
        case 32:
            return QMessageBox::Question;
        case 48:
            return QMessageBox::Warning;
        case 64:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

void SetMessageBoxObserver(MessageBoxObserver observer) {
    Observer() = std::move(observer);
}

int MsgBox(const std::string& prompt, int style, const std::string& caption) {
    QMessageBox box(IconOf(style), qt::FromAnsi(caption), qt::FromAnsi(prompt), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    // The stop sign is inside; the title bar carries no icon, not even its owner's.
    box.setWindowIcon(QIcon());
    if (Observer()) {
        // Report the box once it is really showing, then answer it as the user would.
        QTimer::singleShot(0, &box, [&box, prompt, style, caption] {
            Observer()(ShownMessageBox{prompt, style, caption});
            box.button(QMessageBox::Ok)->click();
        });
    }
    box.exec();
    return 1;  // OK, the only button
}

}  // namespace toolkit
