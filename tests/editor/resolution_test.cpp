// Candidate paths built from captions and the Windows directory.
#include <gtest/gtest.h>

#include "editor/resolution.h"
#include "tests/support/temp_drive.h"

namespace {

using editor::BuildDriveRootPath;
using editor::BuildWindowsDirPath;
using editor::FileNameFromCaption;

TEST(Resolution, FileNameFromCaption) {
    EXPECT_EQ(FileNameFromCaption("Win.ini"), "Win.ini");
    EXPECT_EQ(FileNameFromCaption("Protocols"), "Protocol");
    EXPECT_EQ(FileNameFromCaption("  Protocols  "), "Protocol");
    EXPECT_EQ(FileNameFromCaption("protocols"), "protocols");
    EXPECT_EQ(FileNameFromCaption(" Save Current File "), "Save Current File");
    EXPECT_EQ(FileNameFromCaption("\tHosts\r\n"), "\tHosts\r\n");
    EXPECT_EQ(FileNameFromCaption("   "), "");
}

TEST(Resolution, CandidatesUnderAWindowsFolder) {
    testsupport::TempDrive drive("WINDOWS");
    EXPECT_EQ(BuildWindowsDirPath("Hosts"), "C:\\WINDOWS\\Hosts");
    EXPECT_EQ(BuildDriveRootPath("Hosts"), "C:\\Hosts");
    EXPECT_EQ(BuildWindowsDirPath("Protocol"), "C:\\WINDOWS\\Protocol");
}

TEST(Resolution, DirectoryIsAskedForAtEveryCall) {
    testsupport::TempDrive first("WINDOWS");
    EXPECT_EQ(BuildWindowsDirPath("Win.ini"), "C:\\WINDOWS\\Win.ini");
    testsupport::TempDrive second("Windows");
    EXPECT_EQ(BuildWindowsDirPath("Win.ini"), "C:\\Windows\\Win.ini");
}

TEST(Resolution, EmptyWindowsDirectory) {
    testsupport::TempDrive drive("");
    EXPECT_EQ(BuildWindowsDirPath("Hosts"), "\\Hosts");
    EXPECT_EQ(BuildDriveRootPath("Hosts"), "Hosts");
}

}  // namespace
