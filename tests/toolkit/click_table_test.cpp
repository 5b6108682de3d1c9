// The click table against a window's layout: every mismatch stops the program with its name.
#include "toolkit/click_table.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

using toolkit::ClickTable;
using toolkit::ClickTableError;
using toolkit::ControlKind;
using toolkit::ControlLayout;

struct Window {
    void Go() { clicks += "Go;"; }
    void Pick(std::int16_t Index) { clicks += "Pick(" + std::to_string(Index) + ");"; }
    void Other() {}
    std::string clicks;
};

toolkit::FormLayout Layout() {
    toolkit::FormLayout layout;
    layout.name = "frmTest";
    for (const auto& [name, kind, index] : {std::tuple{"cmdGo", ControlKind::CommandButton, -1},
                                            std::tuple{"cmdPick", ControlKind::CommandButton, 0},
                                            std::tuple{"cmdPick", ControlKind::CommandButton, 1},
                                            std::tuple{"lblText", ControlKind::Label, -1}}) {
        ControlLayout control;
        control.name = name, control.kind = kind, control.index = index;
        layout.controls.push_back(control);
    }
    return layout;
}

// What the check says of a table, or "" when it passes.
std::string CheckOf(const ClickTable<Window>& table) {
    try {
        table.Check(Layout());
        return "";
    } catch (const ClickTableError& error) {
        return error.what();
    }
}

TEST(ClickTable, EveryMismatchWithTheLayoutIsNamedOnce) {
    using W = Window;
    const std::string head = "The click handlers of frmTest do not match its controls:";
    const struct {
        ClickTable<Window> table;
        std::string problems;
    } cases[] = {
        {{{"cmdGo", &W::Go}, {"cmdPick", &W::Pick}}, ""},
        {{{"cmdGO", &W::Go}, {"cmdPick", &W::Pick}},
         "\n- a handler for cmdGO, which is no command button of it"
         "\n- no handler for the command button cmdGo"},
        {{{"cmdGo", &W::Go}, {"cmdPick", &W::Pick}, {"lblText", &W::Other}},
         "\n- a handler for lblText, which is no command button of it"},
        {{{"cmdGo", &W::Go}}, "\n- no handler for the command button cmdPick"},
        {{{"cmdGo", &W::Go}, {"cmdPick", &W::Pick}, {"cmdGo", &W::Other}},
         "\n- two handlers for cmdGo"},
        {{{"cmdGo", &W::Pick}, {"cmdPick", &W::Other}},
         "\n- the handler for cmdGo takes the Index of a control array"
         "\n- the handler for cmdPick lacks the Index of a control array"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckOf(c.table), c.problems.empty() ? "" : head + c.problems);
}

TEST(ClickTable, ClickRunsItsHandlerWithTheIndexAndAnUnknownNameThrows) {
    const ClickTable<Window> table{{"cmdGo", &Window::Go}, {"cmdPick", &Window::Pick}};
    Window window;
    table.Dispatch(window, "cmdPick", 1);
    table.Dispatch(window, "cmdGo", -1);
    EXPECT_EQ(window.clicks, "Pick(1);Go;");
    EXPECT_THROW(table.Dispatch(window, "cmdGO", -1), ClickTableError);
}

}  // namespace
