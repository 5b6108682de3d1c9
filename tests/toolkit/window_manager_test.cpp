// The windows as the window manager and a screen reader see them, read back from the X server
// (xprop, xwininfo) on an Xvfb screen that openbox manages.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QMetaEnum>
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

QString Run(const QString& tool, const QStringList& args) {
    QProcess process;
    process.start(tool, args);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// A property as "NAME=value", in the given xprop format; empty when it is not set.
QString Prop(const QString& id, const char* name, const char* format) {
    const QString out = Run("xprop", {"-id", id, "-notype", "-f", name, format, "=$0+", name});
    return out.startsWith(name + QStringLiteral("=")) ? out.mid(int(strlen(name)) + 1) : QString();
}

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    QThread::msleep(30);
}

// Waits until the window manager has framed the window and the frame has stopped moving.
QString Inspect(QWidget* window) {
    const QString id = QString::number(window->winId());
    const QRegularExpression geometry(
        "Absolute upper-left X: *(\\d+)\\s*Absolute upper-left "
        "Y: *(\\d+).*Width: *(\\d+)\\s*Height: *(\\d+).*IsViewable",
        QRegularExpression::DotMatchesEverythingOption);
    QRect seen;
    for (int attempt = 0; attempt < 100; ++attempt) {
        Settle();
        const auto client = geometry.match(Run("xwininfo", {"-id", id}));
        const QStringList extents = Prop(id, "_NET_FRAME_EXTENTS", "32c").split(", ");
        if (extents.size() != 4 || !client.hasMatch())
            continue;
        const QRect frame = QRect(client.captured(1).toInt(), client.captured(2).toInt(),
                                  client.captured(3).toInt(), client.captured(4).toInt())
                                .adjusted(-extents[0].toInt(), -extents[2].toInt(),
                                          extents[1].toInt(), extents[3].toInt());
        if (std::exchange(seen, frame) == frame)
            break;
    }
    const QPoint offCentre =
        seen.center() - QGuiApplication::primaryScreen()->availableGeometry().center();
    QStringList allowed =
        Prop(id, "_NET_WM_ALLOWED_ACTIONS", "32a")
            .split(", ")
            .filter(QRegularExpression("_(CLOSE|MOVE|RESIZE|MAXIMIZE_HORZ|MAXIMIZE_VERT)$"));
    allowed.replaceInStrings("_NET_WM_ACTION_", "");
    // The program's icon as _NET_WM_ICON carries it: width, height, then ARGB pixels.
    const QImage ico = QImage(CINDERMOOR_SOURCE_DIR "/resources/cindermoor.ico")
                           .convertToFormat(QImage::Format_ARGB32);
    QStringList programIcon{QString::number(ico.width()), QString::number(ico.height())};
    for (int i = 0; i < ico.width() * ico.height(); ++i)
        programIcon << QString::number(ico.pixel(i % ico.width(), i / ico.width()));
    const QString icon = Prop(id, "_NET_WM_ICON", "32c");
    return QStringList{Prop(id, "_NET_WM_NAME", "8u"),
                       icon.isEmpty()                   ? "no icon"
                       : icon == programIcon.join(", ") ? "program icon"
                                                        : "icon",
                       Prop(id, "_NET_WM_STATE", "32a").contains("MODAL") ? "modal" : "modeless",
                       QMetaEnum::fromType<QAccessible::Role>().valueToKey(
                           QAccessible::queryAccessibleInterface(window)->role()),
                       offCentre.manhattanLength() <= 2 ? "centred" : "off centre",
                       Prop(id, "_MOTIF_WM_HINTS", "32x"),
                       allowed.join(' ')}
        .join(" | ");
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
    QStringList seen{Inspect(mainWindow)};
    WhileModal([&] { main.cmdVer_Click(); },
               [&](QWidget* about) {
                   seen << Inspect(about);
                   main.AboutWindow()->Form().Unload();
               });
    // A message box belongs to the active window: wait until the window manager activates it.
    for (int attempt = 0; attempt < 100 && QApplication::activeWindow() != mainWindow; ++attempt)
        Settle();
    WhileModal([] { toolkit::MsgBox("Cindermoor was unable to find specified file", 16, "Error"); },
               [&](QWidget* box) {
                   seen << Inspect(box).section(" | ", 0, 3);  // placed and framed by Qt
                   qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
               });
    // Fixed windows may close and move only; openbox keeps a minimise button on every normal
    // window and dialog whatever the Motif hints (functions, decorations) ask.
    EXPECT_EQ(seen.join('\n').toStdString(),
              "\"Cindermoor\" | program icon | modeless | Window | centred | "
              "0x3, 0x24, 0x1a, 0x0, 0x0 | CLOSE MOVE\n"
              "\"About WinME Cindermoor\" | no icon | modal | Dialog | centred | "
              "0x3, 0x24, 0x1a, 0x0, 0x0 | CLOSE MOVE\n"
              "\"Error\" | no icon | modal | AlertMessage");
}

}  // namespace
