// What the window manager and screen readers are told of the real windows, read back from the
// X server (xprop, xwininfo) on an Xvfb screen that openbox manages.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <functional>

#include "editor/frmCindermoor.h"
#include "tests/support/gui.h"
#include "tests/support/temp_drive.h"
#include "toolkit/message_box.h"

namespace {

struct SeenWindow {
    std::string title;  // _NET_WM_NAME
    bool icon = false;
    QRect frame;
    QAccessible::Role role = QAccessible::NoRole;
    QString allowed;     // _NET_WM_ALLOWED_ACTIONS, as the window manager sets it
    QString motifHints;  // _MOTIF_WM_HINTS: flags, functions, decorations, ...
};

QString Run(const QString& tool, const QStringList& args) {
    QProcess process;
    process.start(tool, args);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int Number(const QString& text, const QString& label) {
    const auto match = QRegularExpression(label + QStringLiteral(":\\s*(-?\\d+)")).match(text);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Waits until the window manager has framed the window and it has stopped moving.
SeenWindow Inspect(QWidget* window) {
    const QString id = QString::number(window->winId());
    SeenWindow seen;
    QRect last;
    for (int attempt = 0; attempt < 100; ++attempt) {
        testsupport::ProcessEvents();
        QThread::msleep(30);
        const QString props =
            Run(QStringLiteral("xprop"),
                {QStringLiteral("-id"), id, QStringLiteral("-len"), "64",
                 QStringLiteral("_NET_WM_NAME"), QStringLiteral("_NET_FRAME_EXTENTS"),
                 QStringLiteral("_NET_WM_ICON"), QStringLiteral("_NET_WM_ALLOWED_ACTIONS"),
                 QStringLiteral("_MOTIF_WM_HINTS")});
        const auto extents =
            QRegularExpression(
                QStringLiteral("_NET_FRAME_EXTENTS\\S* = (\\d+), (\\d+), (\\d+), (\\d+)"))
                .match(props);
        const QString info = Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
        if (!extents.hasMatch() || !info.contains(QStringLiteral("IsViewable")))
            continue;
        const QRect client(Number(info, QStringLiteral("Absolute upper-left X")),
                           Number(info, QStringLiteral("Absolute upper-left Y")),
                           Number(info, QStringLiteral("Width")),
                           Number(info, QStringLiteral("Height")));
        seen.frame = client.adjusted(-extents.captured(1).toInt(), -extents.captured(3).toInt(),
                                     extents.captured(2).toInt(), extents.captured(4).toInt());
        seen.title = QRegularExpression(QStringLiteral("_NET_WM_NAME\\S* = \"(.*)\""))
                         .match(props)
                         .captured(1)
                         .toStdString();
        seen.icon = !props.contains(QStringLiteral("_NET_WM_ICON:  not found"));
        seen.allowed = QRegularExpression(QStringLiteral("_NET_WM_ALLOWED_ACTIONS\\S* = (.*)"))
                           .match(props)
                           .captured(1);
        seen.motifHints = QRegularExpression(QStringLiteral("_MOTIF_WM_HINTS\\S* = (.*)"))
                              .match(props)
                              .captured(1);
        if (seen.frame == last)
            break;
        last = seen.frame;
    }
    if (QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(window))
        seen.role = accessible->role();
    return seen;
}

void ExpectCentred(const QRect& frame) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_NEAR(frame.center().x(), area.center().x(), 1) << frame.x();
    EXPECT_NEAR(frame.center().y(), area.center().y(), 1) << frame.y();
}

// A fixed window offers close and move and nothing that changes its size. The window asks for
// exactly that (Motif functions move and close; decorations border, title and menu). openbox
// ignores the Motif minimise bit and keeps a minimise button on every normal window and dialog,
// whatever a window asks; only toolbars and menus lose it.
void ExpectCloseAndMoveOnly(const SeenWindow& seen) {
    EXPECT_EQ(seen.motifHints, QStringLiteral("0x3, 0x24, 0x1a, 0x0, 0x0"));
    for (const char* action : {"_NET_WM_ACTION_CLOSE", "_NET_WM_ACTION_MOVE"})
        EXPECT_TRUE(seen.allowed.contains(QLatin1String(action))) << seen.allowed.toStdString();
    for (const char* action :
         {"_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT", "_NET_WM_ACTION_RESIZE"})
        EXPECT_FALSE(seen.allowed.contains(QLatin1String(action))) << seen.allowed.toStdString();
}

// Runs `inside` once the modal window opened by `open` is up; `inside` must close it.
void WhileModal(const std::function<void()>& open, const std::function<void(QWidget*)>& inside) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        ran = true;
        inside(QApplication::activeModalWidget());
    });
    open();
    EXPECT_TRUE(ran);
}

class SeenFromOutside : public ::testing::Test {
  protected:
    void SetUp() override {
        drive.Write("WINDOWS/WIN.INI", "[windows]\r\n");
        main = std::make_unique<editor::frmCindermoor>(testsupport::Gui());
        main->Show();
    }
    void TearDown() override {
        main.reset();
        testsupport::ProcessEvents();
    }
    testsupport::TempDrive drive;
    std::unique_ptr<editor::frmCindermoor> main;
};

TEST_F(SeenFromOutside, MainWindowIsACentredFrameWithItsTitleAndIcon) {
    const SeenWindow seen = Inspect(testsupport::WindowOf(main->Form()));
    EXPECT_EQ(seen.title, "Cindermoor");
    EXPECT_TRUE(seen.icon);
    EXPECT_EQ(seen.role, QAccessible::Window);
    ExpectCentred(seen.frame);
    ExpectCloseAndMoveOnly(seen);
}

TEST_F(SeenFromOutside, AboutWindowIsACentredDialogWithoutIcon) {
    Inspect(testsupport::WindowOf(main->Form()));
    WhileModal([&] { main->cmdVer_Click(); },
               [&](QWidget* about) {
                   ASSERT_NE(about, nullptr);
                   const SeenWindow seen = Inspect(about);
                   EXPECT_EQ(seen.title, "About WinME Cindermoor");
                   EXPECT_FALSE(seen.icon);
                   EXPECT_EQ(seen.role, QAccessible::Dialog);
                   ExpectCentred(seen.frame);
                   ExpectCloseAndMoveOnly(seen);
                   main->AboutWindow()->Form().Unload();
               });
}

// The box of a window with an icon: the stop sign inside, and no icon in its title bar.
TEST_F(SeenFromOutside, MessageBoxIsTitledWithItsCaptionAloneAndNoIcon) {
    // The box's owner is the active window: wait until the window manager has activated it.
    QWidget* owner = testsupport::WindowOf(main->Form());
    Inspect(owner);
    for (int attempt = 0; attempt < 100 && QApplication::activeWindow() != owner; ++attempt) {
        testsupport::ProcessEvents();
        QThread::msleep(30);
    }
    ASSERT_EQ(QApplication::activeWindow(), owner);
    WhileModal([] { toolkit::MsgBox("Cindermoor was unable to find specified file", 16, "Error"); },
               [](QWidget* widget) {
                   auto* box = qobject_cast<QMessageBox*>(widget);
                   ASSERT_NE(box, nullptr);
                   const SeenWindow seen = Inspect(box);
                   EXPECT_EQ(seen.title, "Error");
                   EXPECT_FALSE(seen.icon);
                   EXPECT_EQ(box->icon(), QMessageBox::Critical);
                   EXPECT_FALSE(box->iconPixmap().isNull());
                   box->button(QMessageBox::Ok)->click();
               });
}

}  // namespace
