// cindermoor.exe's resources as Windows reads them: the version record Explorer shows, the
// program icon and the manifest.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/identity/identity.h"
#include "toolkit/win32/resources/resource_ids.h"
#include "toolkit/win32/win32_api.h"

#include <shellapi.h>

namespace {

// CTest names the executable by its Unix path, which Wine serves as drive Z:.
std::string Executable() {
    std::string path = std::string("Z:") + std::getenv("CINDERMOOR_EXE");
    for (char& c : path) c = c == '/' ? '\\' : c;
    return path;
}

TEST(Resources, VersionRecordHoldsEveryField) {
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeA(Executable().c_str(), &ignored));
    ASSERT_FALSE(data.empty()) << Executable();
    ASSERT_TRUE(GetFileVersionInfoA(Executable().c_str(), 0, data.size(), data.data()));
    auto query = [&](const std::string& path) {
        char* found = nullptr;
        UINT length = 0;
        VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&found), &length);
        return std::pair{found, length};
    };
    const auto [fixed, fixedSize] = query("\\");
    ASSERT_EQ(fixedSize, sizeof(VS_FIXEDFILEINFO));
    const auto* f = reinterpret_cast<const VS_FIXEDFILEINFO*>(fixed);
    EXPECT_EQ(
        std::vector<DWORD>({f->dwSignature, f->dwFileVersionMS, f->dwFileVersionLS,
                            f->dwProductVersionMS, f->dwProductVersionLS, f->dwFileFlags,
                            f->dwFileOS, f->dwFileType}),
        std::vector<DWORD>({0xFEEF04BD, 0x00010005, 0, 0x00010005, 0, 0, VOS__WINDOWS32, VFT_APP}));
    const auto [language, languageSize] = query("\\VarFileInfo\\Translation");
    ASSERT_EQ(languageSize, 4u);
    EXPECT_EQ(std::string(language, 4), std::string("\x09\x04\xB0\x04", 4));  // US English, Unicode

    for (auto [name, value] : {std::pair<std::string, std::string>{"ProductName", "Cindermoor"},
                               {"FileVersion", "1.05"},
                               {"ProductVersion", "1.05"},
                               {"InternalName", "cindermoor"},
                               {"OriginalFilename", "cindermoor.exe"},
                               {"CompanyName", identity::kCompanyName},
                               {"Comments", identity::kComments}}) {
        const auto [text, length] = query("\\StringFileInfo\\040904B0\\" + name);
        EXPECT_EQ(text ? std::string(text, length ? length - 1 : 0) : "<missing>", value) << name;
    }
    EXPECT_EQ(std::string(identity::kComments).rfind("Windows Millennium Cindermoor v1.5  (", 0),
              0u);
}

TEST(Resources, OneProgramIconOf32By32In256ColoursAndADpiAwareManifest) {
    HMODULE module = LoadLibraryExA(Executable().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << Executable();
    // Explorer's view: the executable carries exactly one icon.
    EXPECT_EQ(ExtractIconExA(Executable().c_str(), -1, nullptr, nullptr, 0), 1u);
    HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(IDI_CINDERMOOR), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    // The icon directory: 3 words, then per image width, height, colours, 0, planes, depth.
    const auto* icons = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    EXPECT_EQ(std::vector<BYTE>(icons + 4, icons + 8), std::vector<BYTE>({1, 0, 32, 32}));
    EXPECT_EQ(icons[12], 8);

    HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                           SizeofResource(module, manifest));
    EXPECT_NE(text.find("/WindowsSettings\">true</dpiAware>"), std::string::npos) << text;
    FreeLibrary(module);
}

}  // namespace
