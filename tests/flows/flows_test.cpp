// What a user sees of the two windows and of the files, on either backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <stdexcept>

#include "base/identity/identity.h"
#include "tests/flows/driver.h"

namespace flows {
namespace {

// Bytes 0x80 to 0xFF as Windows-1252 has them, written out here rather than taken from the
// program's table.
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

TEST(Flows, StartUpGreysTheButtonsOfFilesNotFound) {
    const struct {
        const char* what;
        std::vector<std::string> files;  // from the root of the drive
        std::string enabled;             // the file buttons' Index, in order
        bool windowsFolder = true;
    } cases[] = {
        {"fresh Windows Me",
         {"WINDOWS\\WIN.INI", "WINDOWS\\SYSTEM.INI", "WINDOWS\\PROTOCOL", "WINDOWS\\HOSTS.SAM",
          "AUTOEXEC.BAT", "CONFIG.SYS"},
         "01235"},
        {"either place, any case",
         {"WINDOWS\\hosts", "WINDOWS\\System.ini", "win.ini", "SYSTEM.INI"},
         "234"},
        {"names that are no file's", {"WINDOWS\\Protocols", "WINDOWS\\Close File", "v1.5"}, ""},
#ifndef _WIN32
        {"no Windows folder", {"Win.ini", "protocol"}, "35", false},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Drive drive(c.windowsFolder);
        for (const std::string& name : c.files) drive.Put(drive.AtRoot(name), "x");
        Program program;
        std::string enabled;
        for (char index = '0'; index < '6'; ++index) {
            if (program.LookAt(std::string("cmdOpen(") + index + ")").enabled)
                enabled += index;
        }
        EXPECT_EQ(enabled, c.enabled);
        for (const char* other : {"cmdClose", "cmdSave", "cmdVer"})
            EXPECT_TRUE(program.LookAt(other).enabled) << other;
        EXPECT_EQ(program.Shown("cmdVer"), "v1.5");
        EXPECT_EQ(program.Shown("lblFileName"), "None");
        EXPECT_EQ(program.Shown("txtDisplay"), "");
        EXPECT_EQ(program.Focus(), "txtDisplay");
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

TEST(Flows, ATextTheFileCannotTakeIsRefusedAndTheFileKept) {
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
    if (On9x())
        return;
    drive.Put(path, "[windows]\r\n");
    program.Click("cmdOpen(3)");
    program.Type("txtDisplay", U"\u00E9\u03A9\u4E2D");
    Boxes boxes;
    program.Click("cmdSave");
    ExpectErrorBox(boxes, {"U+03A9", path});
    EXPECT_EQ(drive.Get(path), "[windows]\r\n");
    EXPECT_EQ(program.Shown("txtDisplay"), "é\u03A9\u4E2D[windows]\r\n");  // as typed
}

TEST(Flows, AFileTooLargeForTheBoxIsRefusedNotShownCut) {
    const std::optional<std::uint64_t> room = TextBoxRoom();
    if (!room)
        GTEST_SKIP() << "the text box holds more than a test should write";
    Drive drive;
    const std::string path = drive.InWindows("Win.ini");
    drive.Put(path, "[windows]\r\n");
    Program program;
    if (*room < 1'000'000) {
        drive.PutSized(path, "[windows]\r\n", *room);
        program.Click("cmdOpen(3)");
        EXPECT_EQ(program.Shown("lblFileName"), path);
    }
    drive.PutSized(path, "[windows]\r\n", *room + 1);
    Boxes boxes;
    program.Click("cmdOpen(3)");
    ExpectErrorBox(boxes, {path});
    EXPECT_EQ(program.Shown("txtDisplay"), "");
    EXPECT_EQ(program.Shown("lblFileName"), "None");
}

TEST(Flows, SaveTrimsOuterSpacesOnlyAndAFailedSaveLosesNothing) {
    Drive drive;
    const std::string path = drive.InWindows("System.ini");
    const std::string text = "  \t[boot]  a  b\r\n\t  ", trimmed = "\t[boot]  a  b\r\n\t";
    drive.Put(path, text);
    Program program;
    program.Click("cmdOpen(2)");
    program.Click("cmdSave");
    EXPECT_EQ(drive.Get(path), trimmed);
    EXPECT_EQ(program.Shown("txtDisplay"), text);

    const std::string big(8192, 'x');
    drive.Put(path, big);
    program.Click("cmdOpen(2)");
    program.Type("txtDisplay", U"y");
    const std::size_t files = drive.Names(path).size();
    Boxes boxes;
    {
        const auto failing = drive.SavesFail(path);
        program.Click("cmdSave");
    }
    ExpectErrorBox(boxes, {path});
    EXPECT_EQ(drive.Get(path), big);
    EXPECT_EQ(drive.Names(path).size(), files);
    EXPECT_EQ(program.Shown("txtDisplay"), "y" + big);
    EXPECT_EQ(program.Shown("lblFileName"), path);
}

TEST(Flows, ReloadCloseAndAFileGoneLeaveNoFileOpen) {
    Drive drive;
    const std::string winIni = drive.InWindows("Win.ini"), hosts = drive.InWindows("Hosts");
    drive.Put(winIni, "[windows]\r\n");
    drive.Put(hosts, "127.0.0.1 localhost\r\n");
    Program program;
    program.Click("cmdOpen(3)");
    program.Type("txtDisplay", U"edited ");
    program.Click("cmdOpen(3)");
    EXPECT_EQ(program.Shown("txtDisplay"), "[windows]\r\n");

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
    const auto files = [&] {
        return drive.Names(winIni).size() + drive.Names(drive.AtRoot("x")).size();
    };
    const std::size_t before = files();
    program.Click("cmdSave");  // writes nothing anywhere, says nothing
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(files(), before);
    EXPECT_FALSE(drive.Get(hosts) || drive.Get(drive.AtRoot("Hosts")));
    EXPECT_EQ(drive.Get(winIni), "[windows]\r\n");
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

TEST(Flows, TabWalksTheControlsInTabIndexOrder) {
    const struct {
        std::vector<std::string> files;
        std::vector<std::string> forwards;
    } cases[] = {
        {{"Autoexec.bat", "Config.sys", "System.ini", "Win.ini", "Hosts", "Protocol"},
         {"cmdOpen(1)", "cmdSave", "cmdClose", "win", "cmdOpen(0)", "cmdOpen(2)", "cmdOpen(3)",
          "cmdOpen(4)", "cmdOpen(5)", "cmdVer", "txtDisplay"}},
        {{"Win.ini", "Protocol"},  // the greyed buttons are passed over
         {"cmdSave", "cmdClose", "win", "cmdOpen(3)", "cmdOpen(5)", "cmdVer", "txtDisplay"}},
    };
    for (const auto& c : cases) {
        Drive drive;
        for (const std::string& name : c.files) drive.Put(drive.InWindows(name), "x");
        Program program;
        std::vector<std::string> seen, back;
        for (std::size_t i = 0; i < c.forwards.size(); ++i) {
            Press(Key::Tab);
            seen.push_back(program.Focus());
        }
        EXPECT_EQ(seen, c.forwards);
        for (int i = 0; i < 2; ++i) {
            Press(Key::ShiftTab);
            back.push_back(program.Focus());
        }
        EXPECT_EQ(back, std::vector<std::string>(c.forwards.rbegin() + 1, c.forwards.rbegin() + 3));
    }
}

TEST(Flows, TheAboutWindowIsModalAndSwitchesItsContactBox) {
    Drive drive;
    const std::string path = drive.InWindows("Win.ini");
    drive.Put(path, "[windows]\r\n");
    Program program;
    program.Click("cmdOpen(3)");
    program.Type("txtDisplay", U"edited ");
    const bool opened = program.WithAbout([&](toolkit::Form& about) {
        EXPECT_TRUE(Modal(about, program.Main()));
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
    });
    EXPECT_TRUE(opened);
    EXPECT_TRUE(program.LookAt("cmdVer").enabled);
    // The next opening starts afresh; the main window kept its file and text.
    program.WithAbout([&](toolkit::Form&) {
        EXPECT_FALSE(program.LookAt("electronicmail").visible);
        EXPECT_EQ(program.Shown("electronicmail"), identity::kEmail);
    });
    EXPECT_EQ(program.Shown("txtDisplay"), "edited [windows]\r\n");
    EXPECT_EQ(program.Shown("lblFileName"), path);
}

TEST(Flows, AFailingHandlerShowsWhatFailedAndTheWindowGoesOn) {
    toolkit::FormLayout layout;
    layout.name = "frmTest", layout.caption = "Test";
    layout.clientWidth = 3000, layout.clientHeight = 2000;
    toolkit::ControlLayout go;
    go.name = "cmdGo", go.caption = "Go", go.tabIndex = 0;
    go.width = 1200, go.height = 360;
    layout.controls.push_back(go);
    int clicks = 0;
    auto form = Gui().CreateForm(layout, {.load = [] { throw std::runtime_error("No load."); },
                                          .click =
                                              [&clicks](const std::string&, std::int16_t) {
                                                  ++clicks;
                                                  throw std::runtime_error("The disk is full.");
                                              }});
    Boxes boxes;
    form->Show();
    Settle();
    Press(form->Get("cmdGo"));
    Press(form->Get("cmdGo"));
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].prompt, "No load.");
    EXPECT_EQ(boxes.shown[2].prompt, "The disk is full.");
    for (const toolkit::ShownMessageBox& box : boxes.shown) {
        EXPECT_EQ(box.style, 16);
        EXPECT_EQ(box.caption, "Test");
    }
    form.reset();
    Settle();
}

#ifndef _WIN32
// The address space of a process can be limited on Linux only; in a child process, which
// exits with 0 when all went well.
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
