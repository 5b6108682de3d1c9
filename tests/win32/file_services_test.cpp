// modFileOps on the real kernel32 and shlwapi calls, against real files on the prefix's
// C: drive.
#include <gtest/gtest.h>

#include <string>

#include "fileops/modFileOps.h"
#include "tests/win32/support/drive_files.h"
#include "tests/win32/support/wine_gui.h"

namespace {

using modFileOps::ReadStatus;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

std::string AllBytes() {
    std::string bytes;
    for (int c = 0; c < 256; ++c) bytes += static_cast<char>(c);
    return bytes;
}

// Names in a folder, to spot temporary files left behind.
int EntryCount(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

TEST(WindowsDirectory, IsWhatTheSystemSaysWithoutTheBuffersRest) {
    char buffer[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
    ASSERT_GT(length, 0u);
    const std::string dir = modFileOps::GetWindowsDir();
    EXPECT_EQ(dir, std::string(buffer, length));
    EXPECT_EQ(dir.size(), length);
    EXPECT_EQ(dir.find('\0'), std::string::npos);
    EXPECT_EQ(dir.substr(1, 2), ":\\");
    EXPECT_EQ(modFileOps::GetWindowsDir(), dir);
}

TEST(FileExistence, FilesAndFoldersExistMissingPathsDoNot) {
    testsupport::ScratchFolder folder;
    WriteBytes(folder / "Win.ini", "[windows]\r\n");
    EXPECT_TRUE(modFileOps::FileExists(folder / "Win.ini"));
    EXPECT_TRUE(modFileOps::FileExists(folder / "WIN.INI"));  // any letter case
    EXPECT_TRUE(modFileOps::FileExists(folder.Path()));
    EXPECT_TRUE(modFileOps::FileExists(modFileOps::GetWindowsDir()));
    EXPECT_FALSE(modFileOps::FileExists(folder / "Hosts"));
    EXPECT_FALSE(modFileOps::FileExists(folder / "missing\\Win.ini"));
    EXPECT_FALSE(modFileOps::FileExists(""));
}

TEST(ReadingFiles, GivesEveryByteOfTheFileUnchanged) {
    testsupport::ScratchFolder folder;
    const std::string bytes = AllBytes() + "\r\nCR LF\r\nLF\nCR\r" + AllBytes();
    WriteBytes(folder / "System.ini", bytes);
    testsupport::MessageBoxRecorder boxes;
    ReadStatus status = ReadStatus::NotFound;
    EXPECT_EQ(modFileOps::ReadFileText(folder / "System.ini", &status), bytes);
    EXPECT_EQ(status, ReadStatus::Ok);
    WriteBytes(folder / "Empty.ini", "");
    EXPECT_EQ(modFileOps::ReadFileText(folder / "Empty.ini", &status), "");
    EXPECT_EQ(status, ReadStatus::Ok);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(ReadingFiles, AMissingFileShowsTheErrorBoxOnce) {
    testsupport::ScratchFolder folder;
    testsupport::MessageBoxRecorder boxes;
    const std::string path = folder / "Hosts";
    ReadStatus status = ReadStatus::Ok;
    EXPECT_EQ(modFileOps::ReadFileText(path, &status),
              "File " + path + " does not exist on system");
    EXPECT_EQ(status, ReadStatus::NotFound);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].prompt, "Cindermoor was unable to find specified file");
    EXPECT_EQ(boxes.Boxes()[0].style, 16);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
}

TEST(ReadingFiles, AFileLockedByAnotherProgramReadsAsNothingAndSaysWhy) {
    testsupport::ScratchFolder folder;
    const std::string path = folder / "Win.ini";
    WriteBytes(path, "[windows]\r\n");
    HANDLE locked = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    testsupport::MessageBoxRecorder boxes;
    ReadStatus status = ReadStatus::Ok;
    EXPECT_EQ(modFileOps::ReadFileText(path, &status), "");
    EXPECT_EQ(status, ReadStatus::Unreadable);
    CloseHandle(locked);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].prompt.find(path), std::string::npos);
}

TEST(ReadingFiles, AFolderReadsAsNothing) {
    testsupport::ScratchFolder folder;
    testsupport::MessageBoxRecorder boxes;
    ReadStatus status = ReadStatus::Ok;
    EXPECT_EQ(modFileOps::ReadFileText(folder.Path(), &status), "");
    EXPECT_EQ(status, ReadStatus::Unreadable);
}

TEST(WritingFiles, ReplacesTheWholeContentExactly) {
    testsupport::ScratchFolder folder;
    const std::string path = folder / "Win.ini";
    WriteBytes(path, std::string(100000, 'o'));
    EXPECT_EQ(modFileOps::WriteFileText(path, AllBytes()), std::nullopt);
    EXPECT_EQ(ReadBytes(path), AllBytes());
    EXPECT_EQ(modFileOps::WriteFileText(path, ""), std::nullopt);
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_EQ(EntryCount(folder.Path()), 1);  // no temporary file left behind
}

TEST(WritingFiles, CreatesAFileThatIsNotThereYet) {
    testsupport::ScratchFolder folder;
    EXPECT_EQ(modFileOps::WriteFileText(folder / "Protocol", "ip 0 IP\r\n"), std::nullopt);
    EXPECT_EQ(ReadBytes(folder / "Protocol"), "ip 0 IP\r\n");
}

TEST(WritingFiles, KeepsTheFilesAttributes) {
    testsupport::ScratchFolder folder;
    const std::string path = folder / "Config.sys";
    WriteBytes(path, "FILES=30\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(modFileOps::WriteFileText(path, "FILES=40\r\n"), std::nullopt);
    EXPECT_EQ(ReadBytes(path), "FILES=40\r\n");
    const DWORD attributes = GetFileAttributesA(path.c_str());
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_SYSTEM);
}

TEST(WritingFiles, AReadOnlyFileIsLeftUntouchedAndTheCauseReported) {
    testsupport::ScratchFolder folder;
    const std::string path = folder / "System.ini";
    WriteBytes(path, "[boot]\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    const auto failure = modFileOps::WriteFileText(path, "changed");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(failure.has_value());
    EXPECT_FALSE(failure->empty());
    EXPECT_EQ(ReadBytes(path), "[boot]\r\n");
    EXPECT_EQ(EntryCount(folder.Path()), 1);
}

TEST(WritingFiles, AFileHeldOpenByAnotherProgramIsLeftUntouched) {
    testsupport::ScratchFolder folder;
    const std::string path = folder / "Hosts";
    WriteBytes(path, "127.0.0.1 localhost\r\n");
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto failure = modFileOps::WriteFileText(path, "changed");
    CloseHandle(held);
    EXPECT_TRUE(failure.has_value());
    EXPECT_EQ(ReadBytes(path), "127.0.0.1 localhost\r\n");
    EXPECT_EQ(EntryCount(folder.Path()), 1);
}

TEST(WritingFiles, AMissingFolderIsReported) {
    testsupport::ScratchFolder folder;
    const auto failure = modFileOps::WriteFileText(folder / "missing\\Win.ini", "x");
    EXPECT_TRUE(failure.has_value());
    EXPECT_FALSE(testsupport::Exists(folder / "missing"));
}

TEST(WritingFiles, LargeFilesRoundTrip) {
    testsupport::ScratchFolder folder;
    std::string big;
    while (big.size() < 20'000'000) big += AllBytes();
    EXPECT_EQ(modFileOps::WriteFileText(folder / "Win.ini", big), std::nullopt);
    EXPECT_EQ(modFileOps::ReadFileText(folder / "Win.ini"), big);
}

}  // namespace
