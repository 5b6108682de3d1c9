// The windows as the window manager and a screen reader see them, read back from the X server
// (xprop, xwininfo) on an Xvfb screen that openbox manages.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <functional>

#include "editor/frmCindermoor.h"
#include "tests/support/temp_drive.h"
#include "toolkit/backend.h"
#include "toolkit/message_box.h"
#include "toolkit/qt/qt_form.h"

namespace {

struct Seen {
    QString title, icon, state, allowed, motif;
    QRect frame;
    QAccessible::Role role = QAccessible::NoRole;
};

QString Prop(const QString& id, const char* name, const char* format = "8u") {
    QProcess xprop;
    xprop.start("xprop", {"-id", id, "-notype", "-f", name, format, "=$0+", name});
    xprop.waitForFinished(5000);
    const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    return out.startsWith(name + QStringLiteral("=")) ? out.mid(int(strlen(name)) + 1) : QString();
}

int Number(const QString& text, const char* label) {
    return QRegularExpression(label + QStringLiteral(":\\s*(-?\\d+)"))
        .match(text)
        .captured(1)
        .toInt();
}

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    QThread::msleep(30);
}

// Waits until the window manager has framed the window and it has stopped moving.
Seen Inspect(QWidget* window) {
    const QString id = QString::number(window->winId());
    Seen seen;
    for (int attempt = 0; attempt < 100; ++attempt) {
        Settle();
        const QStringList extents = Prop(id, "_NET_FRAME_EXTENTS", "32c").split(", ");
        QProcess xwininfo;
        xwininfo.start("xwininfo", {"-id", id});
        xwininfo.waitForFinished(5000);
        const QString info = QString::fromUtf8(xwininfo.readAllStandardOutput());
        if (extents.size() != 4 || !info.contains("IsViewable"))
            continue;
        const QRect frame =
            QRect(Number(info, "Absolute upper-left X"), Number(info, "Absolute upper-left Y"),
                  Number(info, "Width"), Number(info, "Height"))
                .adjusted(-extents[0].toInt(), -extents[2].toInt(), extents[1].toInt(),
                          extents[3].toInt());
        if (frame == seen.frame)
            break;
        seen.frame = frame;
    }
    seen.title = Prop(id, "_NET_WM_NAME", "8u");
    seen.icon = Prop(id, "_NET_WM_ICON", "32c");
    seen.state = Prop(id, "_NET_WM_STATE", "32a");
    seen.allowed = Prop(id, "_NET_WM_ALLOWED_ACTIONS", "32a");
    seen.motif = Prop(id, "_MOTIF_WM_HINTS", "32x");
    seen.role = QAccessible::queryAccessibleInterface(window)->role();
    return seen;
}

// The program's icon as _NET_WM_ICON carries it: width, height, then ARGB pixels.
QString ProgramIcon() {
    const QImage icon = QImage(CINDERMOOR_SOURCE_DIR "/resources/cindermoor.ico")
                            .convertToFormat(QImage::Format_ARGB32);
    QStringList values{QString::number(icon.width()), QString::number(icon.height())};
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) values << QString::number(icon.pixel(x, y));
    }
    return values.join(", ");
}

// Runs `inside` with the modal window that `open` shows; `inside` must close it.
void WhileModal(const std::function<void()>& open, const std::function<void(QWidget*)>& inside) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        ran = true;
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr) << "no modal window";
        inside(modal);
    });
    open();
    EXPECT_TRUE(ran);
}

TEST(WindowManager, EachWindowIsTitledFramedAndCentredAsWhatItIs) {
    testsupport::TempDrive drive;
    drive.Write("WINDOWS/WIN.INI", "[windows]\r\n");
    static toolkit::Toolkit* gui = toolkit::CreateToolkit().release();
    editor::frmCindermoor main(*gui);
    main.Show();
    QWidget* mainWindow = dynamic_cast<toolkit::qt::QtForm&>(main.Form()).Window();
    std::vector<Seen> seen{Inspect(mainWindow)};
    WhileModal([&] { main.cmdVer_Click(); },
               [&](QWidget* about) {
                   seen.push_back(Inspect(about));
                   main.AboutWindow()->Form().Unload();
               });
    // A message box belongs to the active window: wait until the window manager activates it.
    for (int attempt = 0; attempt < 100 && QApplication::activeWindow() != mainWindow; ++attempt)
        Settle();
    WhileModal([] { toolkit::MsgBox("Cindermoor was unable to find specified file", 16, "Error"); },
               [&](QWidget* box) {
                   seen.push_back(Inspect(box));
                   EXPECT_EQ(qobject_cast<QMessageBox*>(box)->icon(), QMessageBox::Critical);
                   qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
               });
    ASSERT_EQ(seen.size(), 3u);

    const struct {
        const char* title;
        bool programIcon, modal, form;
        QAccessible::Role role;
    } expected[] = {
        {"Cindermoor", true, false, true, QAccessible::Window},
        {"About WinME Cindermoor", false, true, true, QAccessible::Dialog},
        {"Error", false, true, false, QAccessible::AlertMessage},
    };
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (size_t i = 0; i < seen.size(); ++i) {
        const Seen& window = seen[i];
        SCOPED_TRACE(expected[i].title);
        EXPECT_EQ(window.title, '"' + QString(expected[i].title) + '"');
        EXPECT_EQ(window.icon, expected[i].programIcon ? ProgramIcon() : QString());
        EXPECT_EQ(window.state.contains("_NET_WM_STATE_MODAL"), expected[i].modal)
            << window.state.toStdString();
        EXPECT_EQ(window.role, expected[i].role);
        if (!expected[i].form)
            continue;
        EXPECT_NEAR(window.frame.center().x(), area.center().x(), 1);
        EXPECT_NEAR(window.frame.center().y(), area.center().y(), 1);
        // Close and move only. openbox keeps a minimise button on every normal window and
        // dialog whatever the Motif hints ask.
        EXPECT_EQ(window.motif, "0x3, 0x24, 0x1a, 0x0, 0x0");
        for (auto [action, allowed] : {std::pair{"CLOSE", true},
                                       {"MOVE", true},
                                       {"RESIZE", false},
                                       {"MAXIMIZE_HORZ", false},
                                       {"MAXIMIZE_VERT", false}})
            EXPECT_EQ(window.allowed.contains(QStringLiteral("_NET_WM_ACTION_") + action), allowed)
                << action << ' ' << window.allowed.toStdString();
    }
}

}  // namespace
