// cindermoor.exe's resources read back through Windows' own functions: the version record,
// the program icon and the artwork.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/identity/identity.h"
#include "toolkit/win32/resources/resource_ids.h"
#include "toolkit/win32/win32_api.h"

#include <shellapi.h>

namespace {

// The executable under test; CTest names it by its Unix path, which Wine serves as drive Z:.
std::string ExecutablePath() {
    const char* path = std::getenv("CINDERMOOR_EXE");
    std::string windows = path ? path : "";
    if (!windows.empty() && windows[0] == '/') {
        windows = "Z:" + windows;
        for (char& c : windows) {
            if (c == '/')
                c = '\\';
        }
    }
    return windows;
}

class VersionRecord : public ::testing::Test {
  protected:
    void SetUp() override {
        path = ExecutablePath();
        ASSERT_FALSE(path.empty()) << "CINDERMOOR_EXE names no executable";
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        ASSERT_GT(size, 0u) << path;
        data.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
    }
    std::string Value(const std::string& name) {
        char* text = nullptr;
        UINT length = 0;
        const std::string query = "\\StringFileInfo\\040904B0\\" + name;
        if (!VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&text), &length))
            return "<missing>";
        return std::string(text, length > 0 ? length - 1 : 0);
    }

    std::string path;
    std::vector<char> data;
};

TEST_F(VersionRecord, FixedPartHoldsVersion150AndTheFlags) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010005u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000000u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010005u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000000u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0u);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(VersionRecord, TranslationIsUsEnglishUnicode) {
    WORD* pair = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&pair), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(pair[0], 0x0409);
    EXPECT_EQ(pair[1], 1200);
}

TEST_F(VersionRecord, StringBlockHoldsEveryField) {
    EXPECT_EQ(Value("ProductName"), "Cindermoor");
    EXPECT_EQ(Value("FileVersion"), "1.05");
    EXPECT_EQ(Value("ProductVersion"), "1.05");
    EXPECT_EQ(Value("InternalName"), "cindermoor");
    EXPECT_EQ(Value("OriginalFilename"), "cindermoor.exe");
    EXPECT_EQ(Value("CompanyName"), identity::kCompanyName);
    const std::string comments = Value("Comments");
    EXPECT_EQ(comments, identity::kComments);
    EXPECT_EQ(comments.rfind("Windows Millennium Cindermoor v1.5  (", 0), 0u);
    EXPECT_EQ(comments.back(), ')');
}

class ExecutableImages : public ::testing::Test {
  protected:
    void SetUp() override {
        module = LoadLibraryExA(ExecutablePath().c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr) << ExecutablePath();
    }
    void TearDown() override {
        if (module)
            FreeLibrary(module);
    }
    HMODULE module = nullptr;
};

#pragma pack(push, 2)
struct IconDirectoryEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct IconDirectory {
    WORD reserved, type, count;
    IconDirectoryEntry entries[1];
};
#pragma pack(pop)

TEST_F(ExecutableImages, ProgramIconIsOne32By32ImageOf256Colours) {
    HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(IDI_CINDERMOOR), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    auto* directory = static_cast<const IconDirectory*>(LockResource(LoadResource(module, group)));
    ASSERT_NE(directory, nullptr);
    ASSERT_EQ(directory->count, 1);
    const IconDirectoryEntry& entry = directory->entries[0];
    EXPECT_EQ(entry.width, 32);
    EXPECT_EQ(entry.height, 32);
    EXPECT_EQ(entry.bitCount, 8);

    HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(entry.id), RT_ICON);
    ASSERT_NE(image, nullptr);
    auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, image)));
    EXPECT_EQ(header->biWidth, 32);
    EXPECT_EQ(header->biHeight, 64);  // the colour image and its transparency mask
    EXPECT_EQ(header->biBitCount, 8);

    auto icon = static_cast<HICON>(
        LoadImageA(module, MAKEINTRESOURCEA(IDI_CINDERMOOR), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_TRUE(info.fIcon);
    EXPECT_NE(info.hbmMask, nullptr);
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

TEST_F(ExecutableImages, TheExecutablesIconIsTheProgramIcon) {
    // Explorer's view: the executable carries exactly one icon, and it loads.
    EXPECT_EQ(ExtractIconExA(ExecutablePath().c_str(), -1, nullptr, nullptr, 0), 1u);
    HICON large = nullptr;
    ASSERT_EQ(ExtractIconExA(ExecutablePath().c_str(), 0, &large, nullptr, 1), 1u);
    ASSERT_NE(large, nullptr);
    DestroyIcon(large);
}

TEST_F(ExecutableImages, ArtworkHasItsNaturalSizeAndDepth) {
    struct Expected {
        int id, width, height;
    };
    for (Expected picture : {Expected{IDB_BACKGROUND, 576, 309}, Expected{IDB_LOGO, 36, 32}}) {
        SCOPED_TRACE(picture.id);
        auto bitmap = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(picture.id),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr);
        DIBSECTION section{};
        ASSERT_EQ(GetObjectA(bitmap, sizeof section, &section), static_cast<int>(sizeof section));
        EXPECT_EQ(section.dsBm.bmWidth, picture.width);
        EXPECT_EQ(section.dsBm.bmHeight, picture.height);
        EXPECT_EQ(section.dsBmih.biBitCount, 24);
        DeleteObject(bitmap);
    }
}

TEST_F(ExecutableImages, ManifestDeclaresDpiAwareness) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(module, found)));
    const std::string manifest(text, SizeofResource(module, found));
    EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);
    EXPECT_NE(manifest.find(">true<"), std::string::npos);
}

}  // namespace
