// The file services on the real kernel32 and shlwapi calls, against real files on the
// prefix's C: drive. They show nothing: the test links no window backend.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "fileops/file_services.h"
#include "fileops/win32_calls.h"
#include "tests/win32/support/drive_files.h"

namespace {

using fileops::ReadWholeFile;
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
    const std::string dir = fileops::GetWindowsDir();
    EXPECT_EQ(dir, std::string(buffer, length));
    EXPECT_EQ(dir.size(), length);
    EXPECT_EQ(dir.find('\0'), std::string::npos);
    EXPECT_EQ(dir.substr(1, 2), ":\\");
    EXPECT_EQ(fileops::GetWindowsDir(), dir);
}

TEST(FileExistence, FilesAndFoldersExistMissingPathsDoNot) {
    testsupport::ScratchFolder folder;
    WriteBytes(folder / "Win.ini", "[windows]\r\n");
    EXPECT_TRUE(fileops::FileExists(folder / "Win.ini"));
    EXPECT_TRUE(fileops::FileExists(folder / "WIN.INI"));  // any letter case
    EXPECT_TRUE(fileops::FileExists(folder.Path()));
    EXPECT_TRUE(fileops::FileExists(fileops::GetWindowsDir()));
    EXPECT_FALSE(fileops::FileExists(folder / "Hosts"));
    EXPECT_FALSE(fileops::FileExists(folder / "missing\\Win.ini"));
    EXPECT_FALSE(fileops::FileExists(""));
}

TEST(ReadingFiles, GivesEveryByteOfTheFileUnchanged) {
    testsupport::ScratchFolder folder;
    const std::string bytes = AllBytes() + "\r\nCR LF\r\nLF\nCR\r" + AllBytes();
    WriteBytes(folder / "System.ini", bytes);
    WriteBytes(folder / "Empty.ini", "");
    for (const auto& [name, content] :
         {std::pair<std::string, std::string>{"System.ini", bytes}, {"Empty.ini", ""}}) {
        const fileops::ReadResult read = ReadWholeFile(folder / name);
        EXPECT_TRUE(read.ok) << name << ": " << read.cause;
        EXPECT_EQ(read.bytes, content) << name;
    }
}

TEST(ReadingFiles, WhatCannotBeReadGivesNothingAndSaysWhy) {
    testsupport::ScratchFolder folder;
    const std::string locked = folder / "Win.ini";
    WriteBytes(locked, "[windows]\r\n");
    HANDLE held = CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    for (const std::string& path : {locked, folder.Path(), folder / "Hosts"}) {
        const fileops::ReadResult read = ReadWholeFile(path);
        EXPECT_FALSE(read.ok) << path;
        EXPECT_EQ(read.bytes, "") << path;
        EXPECT_FALSE(read.cause.empty()) << path;
    }
    CloseHandle(held);
}

TEST(WritingFiles, ReplacesTheWholeContentExactly) {
    testsupport::ScratchFolder folder;
    const std::string path = folder / "Win.ini";
    WriteBytes(path, std::string(100000, 'o'));
    EXPECT_EQ(fileops::ReplaceWholeFile(path, AllBytes()), std::nullopt);
    EXPECT_EQ(ReadBytes(path), AllBytes());
    EXPECT_EQ(fileops::ReplaceWholeFile(path, ""), std::nullopt);
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_EQ(EntryCount(folder.Path()), 1);  // no temporary file left behind
}

TEST(WritingFiles, CreatesAFileThatIsNotThereYet) {
    testsupport::ScratchFolder folder;
    EXPECT_EQ(fileops::ReplaceWholeFile(folder / "Protocol", "ip 0 IP\r\n"), std::nullopt);
    EXPECT_EQ(ReadBytes(folder / "Protocol"), "ip 0 IP\r\n");
}

TEST(WritingFiles, KeepsTheFilesAttributes) {
    testsupport::ScratchFolder folder;
    const std::string path = folder / "Config.sys";
    WriteBytes(path, "FILES=30\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(fileops::ReplaceWholeFile(path, "FILES=40\r\n"), std::nullopt);
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
    const auto failure = fileops::ReplaceWholeFile(path, "changed");
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
    const auto failure = fileops::ReplaceWholeFile(path, "changed");
    CloseHandle(held);
    EXPECT_TRUE(failure.has_value());
    EXPECT_EQ(ReadBytes(path), "127.0.0.1 localhost\r\n");
    EXPECT_EQ(EntryCount(folder.Path()), 1);
}

TEST(WritingFiles, AMissingFolderIsReported) {
    testsupport::ScratchFolder folder;
    const auto failure = fileops::ReplaceWholeFile(folder / "missing\\Win.ini", "x");
    EXPECT_TRUE(failure.has_value());
    EXPECT_FALSE(testsupport::Exists(folder / "missing"));
}

TEST(WritingFiles, LargeFilesRoundTrip) {
    testsupport::ScratchFolder folder;
    std::string big;
    while (big.size() < 20'000'000) big += AllBytes();
    EXPECT_EQ(fileops::ReplaceWholeFile(folder / "Win.ini", big), std::nullopt);
    EXPECT_EQ(ReadWholeFile(folder / "Win.ini").bytes, big);
}

}  // namespace
