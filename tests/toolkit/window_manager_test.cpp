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
                 QStringLiteral("_NET_WM_ICON")});
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
                   main->AboutWindow()->Form().Unload();
               });
}

TEST_F(SeenFromOutside, MessageBoxIsTitledWithItsCaptionAlone) {
    WhileModal([] { toolkit::MsgBox("Cindermoor was unable to find specified file", 16, "Error"); },
               [](QWidget* box) {
                   ASSERT_NE(qobject_cast<QMessageBox*>(box), nullptr);
                   EXPECT_EQ(Inspect(box).title, "Error");
                   qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
               });
}

}  // namespace
