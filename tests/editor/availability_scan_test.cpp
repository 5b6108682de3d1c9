// Which file buttons the start-up scan greys out, on real scratch drives.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <map>
#include <set>

#include "editor/frmCindermoor.h"
#include "tests/support/gui.h"
#include "tests/support/temp_drive.h"

namespace {

namespace fs = std::filesystem;

// Enabled flag of every command button after start-up, keyed by caption.
std::map<std::string, bool> ScanOutcome() {
    editor::frmCindermoor window(testsupport::Gui());
    window.Form().Load();
    std::map<std::string, bool> enabled;
    for (toolkit::Control* c : window.Form().Controls()) {
        if (c->IsCommandButton())
            enabled[c->Caption()] = c->Enabled();
    }
    window.Form().Unload();
    testsupport::ProcessEvents();
    return enabled;
}

void ExpectOnlyFileButtonsEnabled(const std::map<std::string, bool>& outcome,
                                  const std::set<std::string>& expectedEnabled) {
    for (const char* caption :
         {"Autoexec.bat", "Config.sys", "System.ini", "Win.ini", "Hosts", "Protocols"}) {
        EXPECT_EQ(outcome.at(caption), expectedEnabled.count(caption) == 1) << caption;
    }
    for (const char* caption : {"Close File", "Save Current File", "v1.5"}) {
        EXPECT_TRUE(outcome.at(caption)) << caption;
    }
}

TEST(AvailabilityScan, FreshWindowsMeDriveGreysOnlyHosts) {
    testsupport::TempDrive drive;
    drive.Write("AUTOEXEC.BAT", "");
    drive.Write("CONFIG.SYS", "");
    drive.Write("WINDOWS/WIN.INI", "");
    drive.Write("WINDOWS/SYSTEM.INI", "");
    drive.Write("WINDOWS/PROTOCOL", "");
    drive.Write("WINDOWS/HOSTS.SAM", "");
    ExpectOnlyFileButtonsEnabled(
        ScanOutcome(), {"Autoexec.bat", "Config.sys", "System.ini", "Win.ini", "Protocols"});
}

TEST(AvailabilityScan, FindsFilesInEitherPlaceInAnyLetterCase) {
    testsupport::TempDrive drive("Windows");
    drive.Write("Windows/hosts", "");       // Windows folder only, lower case
    drive.Write("win.ini", "");             // drive root only
    drive.Write("Windows/System.ini", "");  // both places
    drive.Write("SYSTEM.INI", "");
    ExpectOnlyFileButtonsEnabled(ScanOutcome(), {"Hosts", "Win.ini", "System.ini"});
}

TEST(AvailabilityScan, NothingFoundGreysEveryFileButtonButNeverTheOthers) {
    testsupport::TempDrive drive;
    // Files named like the other buttons do not matter.
    drive.Write("WINDOWS/Close File", "");
    drive.Write("v1.5", "");
    ExpectOnlyFileButtonsEnabled(ScanOutcome(), {});
}

TEST(AvailabilityScan, ProtocolsLooksForProtocolAndAFolderCountsAsFound) {
    testsupport::TempDrive drive;
    drive.Write("WINDOWS/Protocols", "");  // the caption's own spelling is not looked for
    fs::create_directories(drive.DriveC() / "Hosts");
    ExpectOnlyFileButtonsEnabled(ScanOutcome(), {"Hosts"});
    drive.Write("WINDOWS/PROTOCOL", "");
    ExpectOnlyFileButtonsEnabled(ScanOutcome(), {"Hosts", "Protocols"});
}

TEST(AvailabilityScan, CaptionsAreTrimmedOfSpacesOnly) {
    testsupport::TempDrive drive;
    drive.Write("WINDOWS/PROTOCOL", "");
    drive.Write("WINDOWS/HOSTS", "");
    editor::frmCindermoor window(testsupport::Gui());
    window.Form().Load();
    auto& protocols = window.Form().Get("cmdOpen", 5);
    auto& hosts = window.Form().Get("cmdOpen", 4);
    auto& winIni = window.Form().Get("cmdOpen", 3);
    protocols.SetCaption("  Protocols ");
    hosts.SetCaption("\tHosts");
    winIni.SetCaption("PROTOCOLS");  // not mapped: looked up under its own spelling
    for (auto* c : window.Form().Controls()) c->SetEnabled(true);
    window.Form_Load();
    EXPECT_TRUE(protocols.Enabled());
    EXPECT_FALSE(hosts.Enabled());
    EXPECT_FALSE(winIni.Enabled());
    window.Form().Unload();
    testsupport::ProcessEvents();
}

TEST(AvailabilityScan, NoWindowsDirectoryTestsBareNamesInTheCurrentFolder) {
    testsupport::TempDrive drive("");  // a C: drive without a Windows folder
    drive.Write("Win.ini", "");        // "\Win.ini" names the root of the current drive, C:
    const fs::path cwd = fs::current_path();
    const fs::path here = drive.DriveC() / "Work";  // the current folder, C:\Work
    fs::create_directories(here);
    testsupport::WriteBytes(here / "Hosts", "");
    fs::current_path(here);
    const auto outcome = ScanOutcome();
    fs::current_path(cwd);
    EXPECT_TRUE(outcome.at("Hosts"));
    EXPECT_TRUE(outcome.at("Win.ini"));
    EXPECT_FALSE(outcome.at("Autoexec.bat"));
    EXPECT_TRUE(outcome.at("v1.5"));
}

TEST(AvailabilityScan, FileCreatedAfterStartUpLeavesItsButtonGrey) {
    testsupport::TempDrive drive;
    editor::frmCindermoor window(testsupport::Gui());
    window.Form().Load();
    drive.Write("WINDOWS/WIN.INI", "[windows]\r\n");
    EXPECT_FALSE(window.Form().Get("cmdOpen", 3).Enabled());
    window.Form().Unload();
    testsupport::ProcessEvents();
}

}  // namespace
