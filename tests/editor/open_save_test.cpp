// Open, edit, save and close through the real main window on scratch drives.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "editor/frmCindermoor.h"
#include "tests/support/gui.h"
#include "tests/support/temp_drive.h"

namespace {

namespace fs = std::filesystem;
using testsupport::WidgetOf;

constexpr std::int16_t kConfigSys = 0, kAutoexec = 1, kWinIni = 3, kHosts = 4, kProtocols = 5;

// The address space this process takes now, in bytes.
std::uint64_t AddressSpace() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmSize:", 0) == 0)
            return std::stoull(line.substr(7)) * 1024;
    }
    return 0;
}

// Runs the current test again in a child process, which sees the variable set; true when
// it passes. Memory limits then hit only the child.
constexpr const char* kChildVariable = "CINDERMOOR_TEST_CHILD";
bool PassesInAChild() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter =
        std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv(kChildVariable, "1", 1);
        ::execl("/proc/self/exe", "editor_tests", filter.c_str(), nullptr);
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Lowers the soft address-space limit to what the process has now plus room, for the
// lifetime of the object.
class AddressSpaceLimit {
  public:
    explicit AddressSpaceLimit(std::uint64_t room) {
        ::getrlimit(RLIMIT_AS, &old_);
        rlimit limited = old_;
        limited.rlim_cur = AddressSpace() + room;
        ::setrlimit(RLIMIT_AS, &limited);
    }
    ~AddressSpaceLimit() { ::setrlimit(RLIMIT_AS, &old_); }

  private:
    rlimit old_{};
};

class OpenSave : public ::testing::Test {
  protected:
    void SetUp() override {
        drive.Write("WINDOWS/WIN.INI", "[windows]\r\nload=\r\n");
        drive.Write("WINDOWS/HOSTS", "127.0.0.1 localhost\r\n");
        drive.Write("WINDOWS/PROTOCOL", "ip 0 IP\r\n");
        drive.Write("AUTOEXEC.BAT", "@ECHO OFF\r\n");
        drive.Write("CONFIG.SYS", "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n");
        window = std::make_unique<editor::frmCindermoor>(testsupport::Gui());
        window->Form().Load();
    }
    void TearDown() override {
        window.reset();
        testsupport::ProcessEvents();
    }

    void Click(std::int16_t index) {
        qobject_cast<QPushButton*>(WidgetOf(window->Form().Get("cmdOpen", index)))->click();
    }
    void Save() { qobject_cast<QPushButton*>(WidgetOf(window->Form().Get("cmdSave")))->click(); }
    void Close() { qobject_cast<QPushButton*>(WidgetOf(window->Form().Get("cmdClose")))->click(); }
    std::string Text() { return window->Form().Get("txtDisplay").Text().bytes; }
    void SetText(const std::string& bytes) { window->Form().Get("txtDisplay").SetText(bytes); }
    std::string Label() { return window->Form().Get("lblFileName").Caption(); }
    QsciScintilla* Editor() {
        return qobject_cast<QsciScintilla*>(WidgetOf(window->Form().Get("txtDisplay")));
    }

    testsupport::TempDrive drive;
    std::unique_ptr<editor::frmCindermoor> window;
    testsupport::MessageBoxRecorder boxes;
};

TEST_F(OpenSave, OpensTheWindowsFolderCopyFirstThenTheDriveRoot) {
    drive.Write("WIN.INI", "root copy");
    Click(kWinIni);
    EXPECT_EQ(Text(), "[windows]\r\nload=\r\n");
    EXPECT_EQ(Label(), "C:\\WINDOWS\\Win.ini");

    fs::remove(drive.DriveC() / "WINDOWS/WIN.INI");  // gone since start-up
    Click(kWinIni);
    EXPECT_EQ(Text(), "root copy");
    EXPECT_EQ(Label(), "C:\\Win.ini");

    Click(kProtocols);
    EXPECT_EQ(Label(), "C:\\WINDOWS\\Protocol");
    Click(kAutoexec);
    EXPECT_EQ(Label(), "C:\\Autoexec.bat");
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(OpenSave, FileGoneAtClickTimeIsReportedAndLeavesNoFileOpen) {
    Click(kWinIni);
    fs::remove(drive.DriveC() / "WINDOWS/HOSTS");
    Click(kHosts);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].prompt, "Cindermoor was unable to find specified file");
    EXPECT_EQ(boxes.Boxes()[0].style, 16);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
    EXPECT_EQ(Text(), "File C:\\Hosts does not exist on system");
    EXPECT_EQ(Label(), "None");
    Save();  // must not write the sentence anywhere
    EXPECT_FALSE(drive.Exists("Hosts"));
    EXPECT_FALSE(drive.Exists("WINDOWS/Hosts"));
    EXPECT_EQ(drive.Read("WINDOWS/WIN.INI"), "[windows]\r\nload=\r\n");
}

TEST_F(OpenSave, UnreadableFileIsReportedAndCannotBeOverwritten) {
    fs::remove(drive.DriveC() / "WINDOWS/WIN.INI");
    fs::create_directory(drive.DriveC() / "WINDOWS/Win.ini");  // a folder where the file was
    Click(kHosts);
    SetText("edited");
    Click(kWinIni);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
    EXPECT_EQ(boxes.Boxes()[0].style, 16);
    EXPECT_NE(boxes.Boxes()[0].prompt.find("C:\\WINDOWS\\Win.ini"), std::string::npos);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(Label(), "None");
    Save();
    EXPECT_TRUE(fs::is_directory(drive.DriveC() / "WINDOWS/Win.ini"));
    EXPECT_EQ(drive.Read("WINDOWS/HOSTS"), "127.0.0.1 localhost\r\n");
}

TEST_F(OpenSave, EveryByteAndEveryLineEndSurvivesOpenAndSave) {
    std::string bytes = "x";  // no spaces at the ends, which a save drops
    for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
    bytes += "\r\nCRLF\nLF\rCR\r\n\r\x81\x8D\x8F\x90\x9D\xA0\xFF end";
    drive.Write("WINDOWS/WIN.INI", bytes);
    Click(kWinIni);
    EXPECT_EQ(Text(), bytes);
    Save();
    EXPECT_EQ(drive.Read("WINDOWS/WIN.INI"), bytes);
    Save();  // saving again changes nothing, and adds no line end
    EXPECT_EQ(drive.Read("WINDOWS/WIN.INI"), bytes);
    EXPECT_EQ(Label(), "C:\\WINDOWS\\Win.ini");
}

TEST_F(OpenSave, SaveDropsOnlyLeadingAndTrailingSpaces) {
    Click(kWinIni);
    SetText("  \t[windows]\r\n  ");
    Save();
    EXPECT_EQ(drive.Read("WINDOWS/WIN.INI"), "\t[windows]\r\n");
    EXPECT_EQ(Text(), "  \t[windows]\r\n  ");  // the box keeps what the user sees
    SetText("     ");
    Save();
    EXPECT_EQ(drive.Read("WINDOWS/WIN.INI"), "");
    Click(kWinIni);
    EXPECT_EQ(Text(), "");
}

TEST_F(OpenSave, ReloadReplacesEditsAndCloseEmptiesTheBox) {
    Click(kWinIni);
    SetText("unsaved edit");
    Click(kWinIni);
    EXPECT_EQ(Text(), "[windows]\r\nload=\r\n");
    Click(kConfigSys);
    EXPECT_EQ(Label(), "C:\\Config.sys");
    Close();
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(Label(), "None");
    SetText("typed with no file open");
    Save();  // nothing to save to: nothing written, no message
    EXPECT_EQ(Text(), "typed with no file open");
    Close();
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(Label(), "None");
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(drive.Read("CONFIG.SYS"), "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n");
}

TEST_F(OpenSave, CharacterOutsideTheCodePageIsRefusedWithoutWriting) {
    Click(kWinIni);
    Editor()->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    Editor()->insert(QString::fromUtf8("caf\xC3\xA9 \xE4\xB8\xAD"));  // é is fine, 中 is not
    Save();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
    EXPECT_NE(boxes.Boxes()[0].prompt.find("U+4E2D"), std::string::npos);
    EXPECT_EQ(drive.Read("WINDOWS/WIN.INI"), "[windows]\r\nload=\r\n");
    EXPECT_EQ(Label(), "C:\\WINDOWS\\Win.ini");
}

TEST_F(OpenSave, FailedWriteKeepsTheFileTheTextAndTheLabel) {
    Click(kWinIni);
    const std::string big(64 * 1024, 'x');
    SetText(big);
    // A real fault: the process may not write files beyond 4 KiB.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limited = old;
    limited.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &limited);
    Save();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
    EXPECT_EQ(boxes.Boxes()[0].style, 16);
    EXPECT_NE(boxes.Boxes()[0].prompt.find("C:\\WINDOWS\\Win.ini"), std::string::npos);
    EXPECT_EQ(drive.Read("WINDOWS/WIN.INI"), "[windows]\r\nload=\r\n");
    EXPECT_EQ(drive.EntryCount("WINDOWS"), 3u);  // no temporary file left behind
    EXPECT_EQ(Text(), big);
    EXPECT_EQ(Label(), "C:\\WINDOWS\\Win.ini");
}

TEST_F(OpenSave, EnterTypesTheFilesOwnLineEnd) {
    drive.Write("WINDOWS/WIN.INI", "a\nb");
    Click(kWinIni);
    Editor()->setFocus();
    Editor()->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(Editor(), &press);
    EXPECT_EQ(Text(), "a\nb\n");
    Click(kHosts);
    Editor()->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    QApplication::sendEvent(Editor(), &press);
    EXPECT_EQ(Text(), "127.0.0.1 localhost\r\n\r\n");
}

TEST_F(OpenSave, RunningOutOfMemoryChangesNothing) {
    if (std::getenv(kChildVariable) == nullptr) {
        EXPECT_TRUE(PassesInAChild());
        return;
    }
    // 40 MiB of accented text: 80 MiB in the text box, which reserves up to 120 MiB.
    std::string accented;
    while (accented.size() < (40u << 20))
        accented +=
            "caf\xE9 cr\xE8me br\xFBl\xE9"
            "e\r\n";
    drive.Write("WINDOWS/HOSTS", accented);
    Click(kWinIni);
    {
        const AddressSpaceLimit limit(64u << 20);  // enough to read it, not to show it
        Click(kHosts);
    }
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
    EXPECT_EQ(boxes.Boxes()[0].style, 16);
    EXPECT_EQ(boxes.Boxes()[0].prompt.rfind(
                  "Cindermoor does not have enough memory to open C:\\WINDOWS\\Hosts.", 0),
              0u)
        << boxes.Boxes()[0].prompt;
    EXPECT_EQ(Text(), "[windows]\r\nload=\r\n");
    EXPECT_EQ(Label(), "C:\\WINDOWS\\Win.ini");

    Click(kHosts);
    ASSERT_EQ(Label(), "C:\\WINDOWS\\Hosts");
    Editor()->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    Editor()->insert("edited");
    {
        const AddressSpaceLimit limit(16u << 20);
        Save();
    }
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].prompt.rfind(
                  "Cindermoor does not have enough memory to save C:\\WINDOWS\\Hosts.", 0),
              0u)
        << boxes.Boxes()[1].prompt;
    EXPECT_TRUE(drive.Read("WINDOWS/HOSTS") == accented);
    EXPECT_EQ(drive.EntryCount("WINDOWS"), 3u);
    EXPECT_TRUE(Text() == accented + "edited");
}

TEST_F(OpenSave, FileTooLargeForTheTextBoxIsRefusedAtOnce) {
    struct Case {
        std::uint64_t size;
        std::size_t leadingHighBytes;  // 0x80 each, three bytes in the text box
        const char* shownSize;
    };
    // Sparse files: the text box's room ends at 2,000,000,000 bytes of UTF-8.
    for (const Case& c : {Case{(2ull << 30) + (1u << 20), 0, "2,148,532,224"},
                          Case{100'000'000'000ull, 0, "100,000,000,000"},
                          Case{1'990'000'000ull, 5'000'001, "1,990,000,000"}}) {
        const auto path = drive.Write("WINDOWS/WIN.INI", std::string(c.leadingHighBytes, '\x80'));
        fs::resize_file(path, c.size);
        Click(kHosts);
        const std::size_t shown = boxes.Boxes().size();
        Click(kWinIni);
        ASSERT_EQ(boxes.Boxes().size(), shown + 1) << c.shownSize;
        const auto& box = boxes.Boxes().back();
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.style, 16);
        EXPECT_EQ(box.prompt.rfind(std::string("Cindermoor cannot open "
                                               "C:\\WINDOWS\\Win.ini: the file is ") +
                                       c.shownSize +
                                       " bytes long, and its text "
                                       "would need more than the "
                                       "2,000,000,000 bytes",
                                   0),
                  0u)
            << box.prompt;
        EXPECT_EQ(Text(), "");
        EXPECT_EQ(Label(), "None");
    }
}

}  // namespace
