// What a user sees of the two windows and of the files, on either backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <stdexcept>
#include <tuple>

#include "base/identity/identity.h"
#include "tests/flows/driver.h"

namespace flows {
namespace {

// Bytes 0x80 to 0xFF as Windows-1252 has them, not as the program's table has them.
const std::string kHighHalf =
    "€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ\u00A0¡¢£¤¥¦§"
    "¨©ª«¬\u00AD®¯°±²³´µ¶·¸¹º»¼½¾¿ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞßàáâãäåæçè"
    "éêëìíîïðñòóôõö÷øùúûüýþÿ";

void ExpectErrorBox(const Boxes& boxes, std::initializer_list<std::string> parts) {
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Error");
    EXPECT_EQ(boxes.shown[0].style, 16);  // OK only, the stop sign
    for (const std::string& part : parts)
        EXPECT_NE(boxes.shown[0].prompt.find(part), std::string::npos) << boxes.shown[0].prompt;
}

TEST(Flows, StartUpGreysTheButtonsOfFilesNotFoundAndTabPassesThemOver) {
    const struct {
        const char* what;
        std::vector<std::string> files;  // from the root of the drive
        std::string enabled;             // the file buttons' Index, in tab order
        bool windowsFolder = true;
    } cases[] = {
        {"fresh Windows Me",
         {"WINDOWS\\WIN.INI", "WINDOWS\\SYSTEM.INI", "WINDOWS\\PROTOCOL", "WINDOWS\\HOSTS.SAM",
          "AUTOEXEC.BAT", "CONFIG.SYS"},
         "10235"},
        {"either place, any case",
         {"WINDOWS\\hosts", "WINDOWS\\System.ini", "win.ini", "SYSTEM.INI"},
         "234"},
        {"names that are no file's", {"WINDOWS\\Protocols", "WINDOWS\\Close File", "v1.5"}, ""},
#ifndef _WIN32
        {"no Windows folder", {"Win.ini", "protocol"}, "35", false},
#endif
    };
    const std::vector<std::string> tabOrder = {
        "cmdOpen(1)", "cmdSave",    "cmdClose",   "win",    "cmdOpen(0)", "cmdOpen(2)",
        "cmdOpen(3)", "cmdOpen(4)", "cmdOpen(5)", "cmdVer", "txtDisplay"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Drive drive(c.windowsFolder);
        for (const std::string& name : c.files) drive.Put(drive.AtRoot(name), "x");
        Program program;
        EXPECT_EQ(program.Shown("cmdVer"), "v1.5");
        EXPECT_EQ(program.Shown("lblFileName"), "None");
        EXPECT_EQ(program.Shown("txtDisplay"), "");
        EXPECT_EQ(program.Focus(), "txtDisplay");
        std::string enabled;
        std::vector<std::string> walk;  // Tab passes over the greyed buttons
        for (const std::string& name : tabOrder) {
            if (name.rfind("cmdOpen", 0) == 0 && program.LookAt(name).enabled)
                enabled += name[8];
            if (name.rfind("cmdOpen", 0) != 0 || c.enabled.find(name[8]) != std::string::npos)
                walk.push_back(name);
        }
        EXPECT_EQ(enabled, c.enabled);
        for (const std::string& name : walk) {
            Press(Key::Tab);
            EXPECT_EQ(program.Focus(), name);
        }
        for (auto back = walk.rbegin() + 1; back != walk.rbegin() + 3; ++back) {
            Press(Key::ShiftTab);
            EXPECT_EQ(program.Focus(), *back);
        }
    }
}

TEST(Flows, EachButtonOpensItsOwnFileAndSavesItByteForByte) {
    Drive drive;
    const std::map<std::string, std::string> files = {
        {"cmdOpen(0)", drive.AtRoot("Config.sys")},    {"cmdOpen(1)", drive.AtRoot("Autoexec.bat")},
        {"cmdOpen(2)", drive.InWindows("System.ini")}, {"cmdOpen(3)", drive.InWindows("Win.ini")},
        {"cmdOpen(4)", drive.InWindows("Hosts")},      {"cmdOpen(5)", drive.InWindows("Protocol")}};
    std::string bytes;  // every byte but NUL, and no space to trim
    for (int c = 1; c < 256; ++c) bytes += static_cast<char>(c == ' ' ? '.' : c);
    const auto stored = [](std::string path) {  // in capitals, as a system's setup writes it
        for (char& c : path) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return path;
    };
    for (const auto& [button, path] : files) drive.Put(stored(path), path + bytes);
    drive.Put(drive.AtRoot("Hosts"), "root copy");
    Program program;
    for (const auto& [button, path] : files) {
        program.Click(button);
        EXPECT_EQ(program.Shown("lblFileName"), path);
        EXPECT_EQ(program.Shown("txtDisplay"), path + bytes.substr(0, 127) + kHighHalf);
        program.Type("txtDisplay", U"x");
        program.Click("cmdSave");
        EXPECT_EQ(drive.Get(stored(path)), "x" + path + bytes);
        const std::vector<std::string> names = drive.Names(path);  // none as the button names it
        EXPECT_EQ(std::count(names.begin(), names.end(), path.substr(path.rfind('\\') + 1)), 0);
    }
    // Gone from the Windows folder since start-up: the copy at the root.
    drive.Remove(stored(drive.InWindows("Hosts")));
    program.Click("cmdOpen(4)");
    EXPECT_EQ(program.Shown("lblFileName"), drive.AtRoot("Hosts"));
    EXPECT_EQ(program.Shown("txtDisplay"), "root copy");
}

TEST(Flows, WhatTheFileOrTheBoxCannotTakeIsRefusedAndTheFileKept) {
    Drive drive;
    const std::string path = drive.InWindows("Win.ini"), old("[windows]\r\n\0tail\r\n", 17);
    drive.Put(path, old);
    Program program;
    program.Click("cmdOpen(3)");
    {
        Boxes boxes;  // saved whole, or refused where the box ends its text at the NUL
        program.Click("cmdSave");
        EXPECT_EQ(drive.Get(path), old);
        if (!boxes.shown.empty())
            ExpectErrorBox(boxes, {"NUL character", path});
    }
    // On 9x the system has the code page's characters only, and best fits the others.
    EXPECT_EQ(program.LookAt("txtDisplay").takesEveryCharacter, !On9x());
    if (!On9x()) {
        drive.Put(path, "[windows]\r\n");
        program.Click("cmdOpen(3)");
        program.Type("txtDisplay", U"\u00E9\u03A9\u4E2D");
        Boxes boxes;
        program.Click("cmdSave");
        ExpectErrorBox(boxes, {"U+03A9", path});
        EXPECT_EQ(drive.Get(path), "[windows]\r\n");
        EXPECT_EQ(program.Shown("txtDisplay"), "é\u03A9\u4E2D[windows]\r\n");  // as typed
    }
    const std::optional<std::uint64_t> room = TextBoxRoom();
    if (!room)
        return;  // the text box holds more than a test should write
    if (*room < 1'000'000) {
        drive.Put(path, "[windows]\r\n", *room);
        program.Click("cmdOpen(3)");
        EXPECT_EQ(program.Shown("lblFileName"), path);
    }
    drive.Put(path, "[windows]\r\n", *room + 1);
    Boxes boxes;
    program.Click("cmdOpen(3)");
    ExpectErrorBox(boxes, {path});
    EXPECT_EQ(program.Shown("txtDisplay"), "");
    EXPECT_EQ(program.Shown("lblFileName"), "None");
}

TEST(Flows, SaveReloadAboutAndCloseLoseNothing) {
    Drive drive;
    const std::string path = drive.InWindows("System.ini"), hosts = drive.InWindows("Hosts");
    const std::string text = "  \t[boot]  a  b\r\n\t  ", trimmed = "\t[boot]  a  b\r\n\t";
    drive.Put(path, text);
    drive.Put(hosts, "127.0.0.1 localhost\r\n");
    Program program;
    program.Click("cmdOpen(2)");
    program.Click("cmdSave");
    EXPECT_EQ(drive.Get(path), trimmed);
    EXPECT_EQ(program.Shown("txtDisplay"), text);

    const std::string big(8192, 'x');
    drive.Put(path, big);
    program.Type("txtDisplay", U"edited ");
    program.Click("cmdOpen(2)");  // reloads, the edits gone
    program.Type("txtDisplay", U"y");
    const auto files = [&] {
        return drive.Names(path).size() + drive.Names(drive.AtRoot("x")).size();
    };
    const std::size_t before = files();
    {
        Boxes boxes;
        const auto failing = drive.SavesFail(path);
        program.Click("cmdSave");
        ExpectErrorBox(boxes, {path});
    }
    EXPECT_EQ(drive.Get(path), big);
    EXPECT_EQ(files(), before);
    EXPECT_TRUE(program.WithAbout([&](toolkit::Form& about) {
        EXPECT_FALSE(program.LookAt("electronicmail").visible);
        EXPECT_EQ(program.Focus(), "Command1");
        EXPECT_EQ(program.Shown("lblVersionInfo"), "version 1.5");
        Press(Key::Escape);  // no cancel button
        EXPECT_TRUE(about.IsLoaded());
        Press(Key::Enter);  // the focused button only
        EXPECT_TRUE(program.LookAt("electronicmail").visible);
        EXPECT_EQ(program.Shown("electronicmail"), identity::kWebSite);
        for (const auto& [button, shown] : {std::pair{"emailladdy", identity::kEmail},
                                            std::pair{"Command1", identity::kWebSite}}) {
            program.Click(button);
            EXPECT_EQ(program.Shown("electronicmail"), shown) << button;
        }
        program.Click("closeabout");
        EXPECT_FALSE(about.IsLoaded());
    }));
    EXPECT_TRUE(program.LookAt("cmdVer").enabled);
    // The next opening starts afresh.
    program.WithAbout([&](toolkit::Form&) {
        EXPECT_FALSE(program.LookAt("electronicmail").visible);
        EXPECT_EQ(program.Shown("electronicmail"), identity::kEmail);
    });
    EXPECT_EQ(program.Shown("txtDisplay"), "y" + big);
    EXPECT_EQ(program.Shown("lblFileName"), path);

    program.Click("cmdClose");
    EXPECT_EQ(program.Shown("txtDisplay"), "");
    EXPECT_EQ(program.Shown("lblFileName"), "None");

    drive.Remove(hosts);
    Boxes boxes;
    program.Click("cmdOpen(4)");
    ExpectErrorBox(boxes, {"Cindermoor was unable to find specified file"});
    EXPECT_EQ(program.Shown("txtDisplay"),
              "File " + drive.AtRoot("Hosts") + " does not exist on system");
    EXPECT_EQ(program.Shown("lblFileName"), "None");
    program.Click("cmdSave");  // writes nothing anywhere, says nothing
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(files(), before - 1);  // Hosts gone, nothing new
    EXPECT_FALSE(drive.Get(hosts) || drive.Get(drive.AtRoot("Hosts")));
    EXPECT_EQ(drive.Get(path), big);
}

TEST(Flows, EnterTypesTheFilesOwnLineEndAndPressesNoButton) {
    Drive drive;
    drive.Put(drive.InWindows("Win.ini"), "a\nb");
    drive.Put(drive.InWindows("System.ini"), "a\rb");
    drive.Put(drive.InWindows("Hosts"), "a\r\nb");
#ifdef _WIN32
    const char *inLfFile = "\r\na\nb", *inCrFile = "\r\na\rb";  // the edit box knows CR LF only
#else
    const char *inLfFile = "\na\nb", *inCrFile = "\ra\rb";
#endif
    Program program;
    for (const auto& [button, after] :
         {std::pair{"cmdOpen(3)", inLfFile}, std::pair{"cmdOpen(2)", inCrFile},
          std::pair{"cmdOpen(4)", "\r\na\r\nb"}}) {
        program.Click(button);
        Focus(program["txtDisplay"]);
        Press(Key::Enter);
        EXPECT_EQ(program.Shown("txtDisplay"), after);
        EXPECT_EQ(program.Focus(), "txtDisplay");
    }
    Press(Key::Escape);
    EXPECT_EQ(program.Shown("txtDisplay"), "\r\na\r\nb");
    EXPECT_EQ(drive.Get(drive.InWindows("Hosts")), "a\r\nb");
}

TEST(Flows, AFailingHandlerShowsWhatFailedAndTheWindowGoesOn) {
    toolkit::FormLayout layout;
    layout.caption = "Test";
    toolkit::ControlLayout go;
    go.name = "cmdGo", go.width = 1200, go.height = 360, go.tabIndex = 0;
    layout.controls.push_back(go);
    int clicks = 0;
    const auto fail = [&clicks](auto...) {
        ++clicks;
        throw std::runtime_error("The disk is full.");
    };
    auto form = Gui().CreateForm(layout, {.load = fail, .click = fail});
    Boxes boxes;
    form->Show();
    Press(form->Get("cmdGo"));
    Press(form->Get("cmdGo"));
    EXPECT_EQ(clicks, 3);
    ASSERT_EQ(boxes.shown.size(), 3u);
    for (const toolkit::ShownMessageBox& box : boxes.shown)
        EXPECT_EQ(std::tie(box.prompt, box.style, box.caption),
                  std::tuple("The disk is full.", 16, "Test"));
}

#ifndef _WIN32
// Linux only can limit a process's memory; in a child process, which exits with 0 if all is well.
void OpenAndSaveWithTooLittleMemory() {
    Drive drive;
    std::string accented;  // 80 MiB in the text box, which reserves up to 120 MiB
    while (accented.size() < (40u << 20)) accented += "caf\xE9 cr\xE8me br\xFBl\xE9\r\n";
    const std::string winIni = drive.InWindows("Win.ini"), hosts = drive.InWindows("Hosts");
    drive.Put(winIni, "[windows]\r\n");
    drive.Put(hosts, accented);
    Program program;
    program.Click("cmdOpen(3)");
    Boxes boxes;
    {
        const auto limit = MemoryLimited(64u << 20);  // enough to read the file, not to show it
        program.Click("cmdOpen(4)");
    }
    ExpectErrorBox(boxes, {"not have enough memory to open " + hosts});
    EXPECT_EQ(program.Shown("txtDisplay"), "[windows]\r\n");
    EXPECT_EQ(program.Shown("lblFileName"), winIni);
    program.Click("cmdOpen(4)");
    program.Type("txtDisplay", U"x");
    boxes.shown.clear();
    {
        const auto limit = MemoryLimited(16u << 20);
        program.Click("cmdSave");
    }
    ExpectErrorBox(boxes, {"not have enough memory to save " + hosts});
    EXPECT_TRUE(drive.Get(hosts) == accented);
    std::exit(::testing::Test::HasFailure() ? 1 : 0);
}

TEST(Flows, RunningOutOfMemoryChangesNothing) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(OpenAndSaveWithTooLittleMemory(), ::testing::ExitedWithCode(0), "");
}
#endif

}  // namespace
}  // namespace flows
