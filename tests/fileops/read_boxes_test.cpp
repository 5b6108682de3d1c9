// modFileOps::ReadFileText: what the user is told when a file cannot be read, and the text
// that takes its place. The reading itself is the file services' (read_test.cpp).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "fileops/modFileOps/modFileOps.h"
#include "tests/support/gui.h"
#include "tests/support/temp_drive.h"

namespace {

using modFileOps::ReadStatus;

class ReadBoxes : public ::testing::Test {
  protected:
    void SetUp() override { testsupport::Gui(); }
    testsupport::TempDrive drive;
    testsupport::MessageBoxRecorder boxes;
};

TEST_F(ReadBoxes, AReadableFileShowsNoBox) {
    drive.Write("WINDOWS/Win.ini", std::string("[windows]\r\n\0\xFF", 13));
    ReadStatus status = ReadStatus::NotFound;
    EXPECT_EQ(modFileOps::ReadFileText("C:\\WINDOWS\\win.ini", &status),
              std::string("[windows]\r\n\0\xFF", 13));
    EXPECT_EQ(status, ReadStatus::Ok);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ReadBoxes, AMissingFileShowsTheErrorBoxAndGivesTheSentenceWithThePathAsPassed) {
    // Odd spellings, and the candidates of an empty Windows directory, stay as passed.
    for (const std::string path : {"C:\\WINDOWS\\Hosts", "\\Hosts", "Hosts", "C:\\\\Hosts",
                                   "C:\\WINDOWS\\Caf\xE9 X.ini", ""}) {
        const std::size_t before = boxes.Boxes().size();
        ReadStatus status = ReadStatus::Ok;
        EXPECT_EQ(modFileOps::ReadFileText(path, &status),
                  "File " + path + " does not exist on system");
        EXPECT_EQ(status, ReadStatus::NotFound);
        ASSERT_EQ(boxes.Boxes().size(), before + 1) << path;
        EXPECT_EQ(boxes.Boxes().back().prompt, "Cindermoor was unable to find specified file");
        EXPECT_EQ(boxes.Boxes().back().style, 16);
        EXPECT_EQ(boxes.Boxes().back().caption, "Error");
    }
    EXPECT_EQ(modFileOps::ReadFileText("C:\\Nope"), "File C:\\Nope does not exist on system");
}

TEST_F(ReadBoxes, AFileThatCannotBeReadOrHeldShowsOneBoxNamingItAndWhy) {
    std::filesystem::create_directories(drive.WindowsDir() / "Win.ini");
    drive.Write("WINDOWS/System.ini", std::string(1234, 'x'));
    const modFileOps::TextRoom room{1000, {}};
    const struct {
        std::string path;
        ReadStatus status;
        std::string cause;
    } cases[] = {
        {"C:\\WINDOWS\\Win.ini", ReadStatus::Unreadable, std::strerror(EISDIR)},
        {"C:\\WINDOWS\\System.ini", ReadStatus::TooLarge,
         "the file is 1,234 bytes long, and its text would need more than the 1,000 bytes"},
    };
    for (const auto& c : cases) {
        const std::size_t before = boxes.Boxes().size();
        ReadStatus status = ReadStatus::Ok;
        EXPECT_EQ(modFileOps::ReadFileText(c.path, &status, room), "");
        EXPECT_EQ(status, c.status) << c.path;
        ASSERT_EQ(boxes.Boxes().size(), before + 1) << c.path;
        const toolkit::ShownMessageBox& box = boxes.Boxes().back();
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.style, 16);
        EXPECT_NE(box.prompt.find(c.path), std::string::npos) << box.prompt;
        EXPECT_NE(box.prompt.find(c.cause), std::string::npos) << box.prompt;
    }
}

}  // namespace
