// The About window: opened modally over the real main window, driven from inside its loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <functional>

#include "about/frmAbout_layout.h"
#include "base/identity/identity.h"
#include "editor/frmCindermoor.h"
#include "tests/support/gui.h"
#include "tests/support/temp_drive.h"

namespace {

using testsupport::WidgetOf;
using toolkit::TwipsToPixels;

class AboutWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        drive.Write("WINDOWS/WIN.INI", "[windows]\r\n");
        main = std::make_unique<editor::frmCindermoor>(testsupport::Gui());
        main->Show();
        testsupport::ProcessEvents();
    }
    void TearDown() override {
        main.reset();
        testsupport::ProcessEvents();
    }

    // Clicks "v1.5" and runs `inside` while the About window is up; `inside` must close it.
    void WhileOpen(std::function<void(about::frmAbout&)> inside) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            ran = true;
            inside(*main->AboutWindow());
            if (main->AboutWindow()->Form().IsLoaded())
                Press("closeabout");
        });
        Button(main->Form(), "cmdVer")->click();
        EXPECT_TRUE(ran);
        EXPECT_FALSE(main->AboutWindow()->Form().IsLoaded());
        testsupport::ProcessEvents();
    }

    static QPushButton* Button(toolkit::Form& form, const char* name) {
        return qobject_cast<QPushButton*>(WidgetOf(form.Get(name)));
    }
    void Press(const char* name) { Button(main->AboutWindow()->Form(), name)->click(); }

    testsupport::TempDrive drive;
    std::unique_ptr<editor::frmCindermoor> main;
};

TEST_F(AboutWindow, IsBuiltFromItsLayout) {
    WhileOpen([](about::frmAbout& about) {
        toolkit::Form& form = about.Form();
        QWidget* window = testsupport::WindowOf(form);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("About WinME Cindermoor"));
        EXPECT_EQ(window->size(), QSize(500, 357));
        EXPECT_EQ(window->minimumSize(), window->maximumSize());
        const auto& layout = about::frmAboutLayout();
        const auto controls = form.Controls();
        ASSERT_EQ(controls.size(), 10u);
        for (size_t i = 0; i < controls.size(); ++i) {
            const toolkit::ControlLayout& s = layout.controls[i];
            SCOPED_TRACE(s.name);
            EXPECT_EQ(controls[i]->Name(), s.name);
            const QRect g = WidgetOf(*controls[i])->geometry();
            if (s.kind == toolkit::ControlKind::Line) {
                EXPECT_EQ(g.topLeft(), QPoint(TwipsToPixels(s.left), TwipsToPixels(s.top)));
                EXPECT_EQ(g.right(), TwipsToPixels(s.width));
                continue;
            }
            EXPECT_EQ(g, QRect(TwipsToPixels(s.left), TwipsToPixels(s.top), TwipsToPixels(s.width),
                               TwipsToPixels(s.height)));
        }
        EXPECT_EQ(form.Get("lblVersionInfo").Caption(), "version 1.5");
        EXPECT_EQ(form.Get("Label2").Caption(), "Microsoft Windows Millennium Cindermoor");
    });
}

TEST_F(AboutWindow, OpensModalWithContactHiddenAndFocusOnUpdates) {
    WhileOpen([this](about::frmAbout& about) {
        QWidget* window = testsupport::WindowOf(about.Form());
        EXPECT_EQ(QApplication::activeModalWidget(), window);
        EXPECT_TRUE(window->isModal());
        EXPECT_FALSE(about.Form().Get("electronicmail").Visible());
        EXPECT_EQ(about.Form().Get("electronicmail").Text().bytes, identity::kEmail);
        EXPECT_EQ(window->focusWidget(), WidgetOf(about.Form().Get("Command1")));
        EXPECT_FALSE(testsupport::WindowOf(main->Form())->isEnabled() &&
                     QApplication::activeModalWidget() != window);
    });
}

TEST_F(AboutWindow, ContactButtonsSwitchTheBoxBetweenTheTwoValues) {
    WhileOpen([this](about::frmAbout& about) {
        toolkit::Control& box = about.Form().Get("electronicmail");
        Press("Command1");
        EXPECT_TRUE(box.Visible());
        EXPECT_EQ(box.Text().bytes, identity::kWebSite);
        Press("emailladdy");
        EXPECT_EQ(box.Text().bytes, identity::kEmail);
        Press("Command1");
        EXPECT_EQ(box.Text().bytes, identity::kWebSite);
        EXPECT_TRUE(qobject_cast<QLineEdit*>(WidgetOf(box))->isReadOnly());
    });
    // Every opening starts from the layout again.
    WhileOpen([](about::frmAbout& about) {
        EXPECT_FALSE(about.Form().Get("electronicmail").Visible());
        EXPECT_EQ(about.Form().Get("electronicmail").Text().bytes, identity::kEmail);
        auto* text = qobject_cast<QPlainTextEdit*>(WidgetOf(about.Form().Get("Text1")));
        EXPECT_EQ(text->verticalScrollBar()->value(), 0);
    });
}

TEST_F(AboutWindow, EscapeDoesNothingAndEnterPressesOnlyTheFocusedButton) {
    WhileOpen([](about::frmAbout& about) {
        QWidget* window = testsupport::WindowOf(about.Form());
        QWidget* updates = WidgetOf(about.Form().Get("Command1"));
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(updates, &escape);
        EXPECT_TRUE(about.Form().IsLoaded());
        EXPECT_TRUE(window->isVisible());
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        // In the About text, Enter presses no button at all.
        QWidget* text = WidgetOf(about.Form().Get("Text1"));
        text->setFocus();
        ASSERT_EQ(window->focusWidget(), text);
        QApplication::sendEvent(text, &enter);
        EXPECT_TRUE(about.Form().IsLoaded());
        EXPECT_FALSE(about.Form().Get("electronicmail").Visible());
        updates->setFocus();
        QApplication::sendEvent(updates, &enter);
        EXPECT_TRUE(about.Form().IsLoaded());
        EXPECT_EQ(about.Form().Get("electronicmail").Text().bytes, identity::kWebSite);
    });
}

TEST_F(AboutWindow, AboutTextIsReadOnlyAndShowsItsLines) {
    WhileOpen([](about::frmAbout& about) {
        auto* text = qobject_cast<QPlainTextEdit*>(WidgetOf(about.Form().Get("Text1")));
        ASSERT_NE(text, nullptr);
        EXPECT_TRUE(text->isReadOnly());
        const QString before = text->toPlainText();
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        QApplication::sendEvent(text, &key);
        EXPECT_EQ(text->toPlainText(), before);
        EXPECT_EQ(text->document()->blockCount(), 29);  // 28 lines, each ending in CR LF
        EXPECT_EQ(text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        EXPECT_FALSE(text->toPlainText().contains(QChar('\r')));
    });
    const std::string& raw = about::AboutText();
    EXPECT_EQ(raw.substr(raw.size() - 2), "\r\n");
}

TEST_F(AboutWindow, CloseBoxUnloadsLikeClose) {
    WhileOpen([this](about::frmAbout& about) {
        Press("Command1");
        testsupport::WindowOf(about.Form())->close();
        EXPECT_FALSE(about.Form().IsLoaded());
    });
    WhileOpen(
        [](about::frmAbout& about) { EXPECT_FALSE(about.Form().Get("electronicmail").Visible()); });
}

TEST_F(AboutWindow, MainWindowKeepsItsFileTextAndLabel) {
    qobject_cast<QPushButton*>(WidgetOf(main->Form().Get("cmdOpen", 3)))->click();
    main->Form().Get("txtDisplay").SetText("edited, not saved");
    WhileOpen([](about::frmAbout&) {});
    EXPECT_EQ(main->Form().Get("txtDisplay").Text().bytes, "edited, not saved");
    EXPECT_EQ(main->Form().Get("lblFileName").Caption(), "C:\\WINDOWS\\Win.ini");
    EXPECT_EQ(drive.Read("WINDOWS/WIN.INI"), "[windows]\r\n");
}

}  // namespace
