// The built main window against its stored layout, control by control.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>

#include "editor/frmCindermoor.h"
#include "editor/frmCindermoor_layout.h"
#include "tests/support/gui.h"
#include "tests/support/temp_drive.h"
#include "toolkit/qt/fonts.h"

namespace {

using testsupport::WidgetOf;
using toolkit::ControlKind;
using toolkit::TwipsToPixels;

class MainWindowLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        // Every file present, so that no button is greyed.
        for (const char* f : {"WINDOWS/WIN.INI", "WINDOWS/SYSTEM.INI", "WINDOWS/HOSTS",
                              "WINDOWS/PROTOCOL", "AUTOEXEC.BAT", "CONFIG.SYS"}) {
            drive.Write(f, "x");
        }
        window = std::make_unique<editor::frmCindermoor>(testsupport::Gui());
        window->Show();
        testsupport::ProcessEvents();
    }
    void TearDown() override {
        window.reset();
        testsupport::ProcessEvents();
    }
    const toolkit::FormLayout& layout = editor::frmCindermoorLayout();
    testsupport::TempDrive drive;
    std::unique_ptr<editor::frmCindermoor> window;
};

TEST_F(MainWindowLayout, ControlsAreCreatedInTableOrderWithTheirIndexes) {
    const auto controls = window->Form().Controls();
    ASSERT_EQ(controls.size(), 16u);
    ASSERT_EQ(controls.size(), layout.controls.size());
    for (size_t i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(controls[i]->Name(), layout.controls[i].name) << i;
        EXPECT_EQ(controls[i]->Index(), layout.controls[i].index) << i;
        EXPECT_EQ(controls[i]->Kind(), layout.controls[i].kind) << i;
    }
}

TEST_F(MainWindowLayout, EveryControlSitsWhereItsTableRowPutsIt) {
    for (toolkit::Control* control : window->Form().Controls()) {
        const toolkit::ControlLayout& s = control->Layout();
        const QRect g = WidgetOf(*control)->geometry();
        SCOPED_TRACE(s.name + "(" + std::to_string(s.index) + ")");
        if (s.kind == ControlKind::Line) {
            EXPECT_EQ(g.left(), TwipsToPixels(s.left));
            EXPECT_EQ(g.top(), TwipsToPixels(s.top));
            EXPECT_EQ(g.right(), TwipsToPixels(s.width));
            EXPECT_EQ(g.bottom(), TwipsToPixels(s.height));
            continue;
        }
        EXPECT_EQ(g.left(), TwipsToPixels(s.left));
        EXPECT_EQ(g.top(), TwipsToPixels(s.top));
        if (s.autoSize)
            continue;  // width follows the caption
        EXPECT_EQ(g.width(), TwipsToPixels(s.width));
        EXPECT_EQ(g.height(), TwipsToPixels(s.height));
    }
}

TEST_F(MainWindowLayout, CaptionsFontsAndColoursFollowTheTable) {
    for (toolkit::Control* control : window->Form().Controls()) {
        const toolkit::ControlLayout& s = control->Layout();
        SCOPED_TRACE(s.name);
        QWidget* w = WidgetOf(*control);
        if (s.kind == ControlKind::CommandButton || s.kind == ControlKind::Label) {
            EXPECT_EQ(control->Caption(), s.caption);
        }
        if (s.kind == ControlKind::Line || s.kind == ControlKind::Shape)
            continue;
        const toolkit::FontDesc font = s.font.value_or(layout.font);
        EXPECT_EQ(w->font().family(), toolkit::qt::ResolveFace(font.face));
        EXPECT_EQ(w->font().bold(), font.bold);
        // The big text box takes its size in points (QScintilla keeps no pixel size).
        const QFont f = w->font();
        const int pixels =
            f.pixelSize() > 0 ? f.pixelSize() : qRound(f.pointSizeF() * w->logicalDpiY() / 72);
        EXPECT_EQ(pixels, font.points > 11 ? 15 : 11);
    }
    EXPECT_EQ(WidgetOf(window->Form().Get("cmdVer"))->palette().color(QPalette::Button),
              QColor(Qt::white));
    EXPECT_TRUE(window->Form().Get("txtDisplay").Text().bytes.empty());
}

// Its title, icon and place on the screen: tests/toolkit/window_manager_test.cpp.
TEST_F(MainWindowLayout, WindowIsFixedWithACloseBoxOnly) {
    QWidget* w = testsupport::WindowOf(window->Form());
    EXPECT_EQ(w->size(), QSize(579, 267));
    EXPECT_EQ(w->minimumSize(), w->maximumSize());
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(MainWindowLayout, StartsWithNoFileAndFocusInTheTextBox) {
    EXPECT_EQ(window->Form().Get("lblFileName").Caption(), "None");
    EXPECT_EQ(QApplication::focusWidget(), WidgetOf(window->Form().Get("txtDisplay")));
}

TEST_F(MainWindowLayout, TabVisitsControlsInTabIndexOrderSkippingLabels) {
    auto& f = window->Form();
    const std::vector<QWidget*> expected = {
        WidgetOf(f.Get("txtDisplay")), WidgetOf(f.Get("cmdOpen", 1)), WidgetOf(f.Get("cmdSave")),
        WidgetOf(f.Get("cmdClose")),   WidgetOf(f.Get("win")),        WidgetOf(f.Get("cmdOpen", 0)),
        WidgetOf(f.Get("cmdOpen", 2)), WidgetOf(f.Get("cmdOpen", 3)), WidgetOf(f.Get("cmdOpen", 4)),
        WidgetOf(f.Get("cmdOpen", 5)), WidgetOf(f.Get("cmdVer"))};
    QWidget* w = expected.front();
    for (size_t i = 1; i < expected.size(); ++i) {
        do {
            w = w->nextInFocusChain();
        } while (w->focusPolicy() == Qt::NoFocus || !w->isVisible());
        EXPECT_EQ(w, expected[i]) << i << " got " << w->objectName().toStdString();
    }
}

TEST_F(MainWindowLayout, PathLabelGrowsAndShrinksWithItsCaption) {
    toolkit::Control& label = window->Form().Get("lblFileName");
    QWidget* w = WidgetOf(label);
    const int noneWidth = w->width();
    label.SetCaption("C:\\WINDOWS\\A very long folder name\\and another one\\System.ini");
    EXPECT_GT(w->width(), noneWidth * 4);
    EXPECT_EQ(w->x(), TwipsToPixels(3555));
    EXPECT_EQ(w->height(), QFontMetrics(w->font()).height());
    label.SetCaption("None");
    EXPECT_EQ(w->width(), noneWidth);
}

TEST_F(MainWindowLayout, ClickingConfigSysDeliversIndexZero) {
    // Autoexec.bat stands above Config.sys but carries Index 1.
    auto& f = window->Form();
    EXPECT_LT(WidgetOf(f.Get("cmdOpen", 1))->y(), WidgetOf(f.Get("cmdOpen", 0))->y());
    qobject_cast<QPushButton*>(WidgetOf(f.Get("cmdOpen", 0)))->click();
    // The label shows the path as built from the caption, not as the drive spells it.
    EXPECT_EQ(f.Get("lblFileName").Caption(), "C:\\Config.sys");
}

}  // namespace
