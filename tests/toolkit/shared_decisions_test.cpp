// What every backend decides alike, seen through the Qt backend: a failing handler is
// reported and the program goes on; a missing face falls back by the shared table.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QFontDatabase>

#include <stdexcept>

#include "tests/support/gui.h"
#include "toolkit/form_rules.h"
#include "toolkit/qt/fonts.h"

namespace {

TEST(SharedDecisions, AFailingHandlerShowsWhatFailedAndTheWindowGoesOn) {
    toolkit::FormLayout layout;
    layout.name = "frmTest", layout.caption = "Test";
    layout.clientWidth = 3000, layout.clientHeight = 2000;
    toolkit::ControlLayout go;
    go.name = "cmdGo", go.caption = "Go", go.tabIndex = 0;
    go.width = 1200, go.height = 360;
    layout.controls.push_back(go);
    int clicks = 0;
    auto form = testsupport::Gui().CreateForm(
        layout, {.load = [] { throw std::runtime_error("The window could not load."); },
                 .click =
                     [&clicks](const std::string&, std::int16_t) {
                         ++clicks;
                         throw std::runtime_error("The disk is full.");
                     }});
    testsupport::MessageBoxRecorder boxes;
    form->Load();
    auto* button = qobject_cast<QAbstractButton*>(testsupport::WidgetOf(form->Get("cmdGo")));
    ASSERT_NE(button, nullptr);
    button->click();
    button->click();
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(boxes.Boxes().size(), 3u);
    EXPECT_EQ(boxes.Boxes()[0].prompt, "The window could not load.");
    EXPECT_EQ(boxes.Boxes()[2].prompt, "The disk is full.");
    for (const toolkit::ShownMessageBox& box : boxes.Boxes()) {
        EXPECT_EQ(box.style, 16);
        EXPECT_EQ(box.caption, "Test");
    }
    form->Unload();
}

TEST(SharedDecisions, AMissingFaceFallsBackByTheSharedTable) {
    testsupport::Gui();
    const QStringList installed = QFontDatabase::families();
    for (const char* face : {"No Such Face", "Verdana", "MS Sans Serif"}) {
        if (installed.contains(face, Qt::CaseInsensitive))
            continue;
        QString expected;
        for (std::string_view fallback : toolkit::FaceFallbacks(face)) {
            const QString name = QString::fromUtf8(fallback.data(), fallback.size());
            if (installed.contains(name, Qt::CaseInsensitive)) {
                expected = name;
                break;
            }
        }
        if (expected.isEmpty())
            continue;  // the system's own face: nothing to compare
        EXPECT_EQ(toolkit::qt::ResolveFace(face).toStdString(), expected.toStdString()) << face;
    }
}

}  // namespace
