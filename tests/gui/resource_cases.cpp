// The compiled resources, read back from the program file itself: the
// dialog templates the tests drive, the string, the icon, the version block
// and the manifest.
#include <windows.h>

#include <cstring>
#include <string>

#include "gui_test.h"
#include "resource.h"

namespace {

const BYTE* Resource(HMODULE module, LPCSTR type, LPCSTR name, DWORD* size) {
    HRSRC found = FindResourceA(module, name, type);
    if (found == nullptr)
        return nullptr;
    *size = SizeofResource(module, found);
    return static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
}

// The program carries the dialog templates these tests drive, byte for byte.
void CheckSameTemplate(HMODULE program, int id) {
    DWORD ours = 0;
    DWORD theirs = 0;
    const BYTE* expected = Resource(GetModuleHandleA(nullptr), reinterpret_cast<LPCSTR>(RT_DIALOG),
                                    MAKEINTRESOURCEA(id), &ours);
    const BYTE* data =
        Resource(program, reinterpret_cast<LPCSTR>(RT_DIALOG), MAKEINTRESOURCEA(id), &theirs);
    CHECK(expected != nullptr && data != nullptr);
    CHECK(ours == theirs && expected != nullptr && data != nullptr &&
          std::memcmp(expected, data, ours) == 0);
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

void CheckIcon(HMODULE module) {
    DWORD size = 0;
    const BYTE* group = Resource(module, reinterpret_cast<LPCSTR>(RT_GROUP_ICON),
                                 MAKEINTRESOURCEA(IDR_MAINFRAME), &size);
    CHECK(group != nullptr);
    if (group == nullptr)
        return;
    WORD header[3];
    std::memcpy(header, group, sizeof header);
    CHECK_EQ(header[1], 1);  // icons
    CHECK_EQ(header[2], 2);  // two images
    for (int i = 0; i < header[2] && i < 2; ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, group + 6 + i * sizeof entry, sizeof entry);
        CHECK_EQ(entry.width, i == 0 ? 32 : 16);
        CHECK_EQ(entry.height, i == 0 ? 32 : 16);
        CHECK_EQ(entry.colors, 16);
        CHECK_EQ(entry.bitCount, 4);
        // The image itself: a 4-bit bitmap with its mask, of our own drawing.
        DWORD imageSize = 0;
        const BYTE* image = Resource(module, reinterpret_cast<LPCSTR>(RT_ICON),
                                     MAKEINTRESOURCEA(entry.id), &imageSize);
        CHECK(image != nullptr);
        if (image == nullptr)
            continue;
        BITMAPINFOHEADER info;
        std::memcpy(&info, image, sizeof info);
        CHECK_EQ(info.biWidth, entry.width);
        CHECK_EQ(info.biHeight, entry.height * 2);
        CHECK_EQ(info.biBitCount, 4);
        // More than one colour is used: a picture, not a blank square.
        const BYTE* bits = image + info.biSize + 16 * 4;
        bool varied = false;
        for (int b = 1; b < entry.width * entry.height / 2; ++b)
            varied = varied || bits[b] != bits[0];
        CHECK(varied);
    }
    CHECK(LoadIconA(module, MAKEINTRESOURCEA(IDR_MAINFRAME)) != nullptr);
}

std::string VersionString(const BYTE* block, const char* key) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904B0\\") + key;
    if (!VerQueryValueA(block, path.c_str(), reinterpret_cast<void**>(&value), &length) ||
        value == nullptr)
        return "<missing>";
    return std::string(value, length > 0 ? std::strlen(value) : 0);
}

void CheckVersion(const std::string& file) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &handle);
    CHECK(size > 0);
    if (size == 0)
        return;
    std::string block(size, '\0');
    CHECK(GetFileVersionInfoA(file.c_str(), 0, size, &block[0]));
    const BYTE* data = reinterpret_cast<const BYTE*>(block.data());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    CHECK(VerQueryValueA(data, "\\", reinterpret_cast<void**>(&fixed), &length));
    if (fixed != nullptr) {
        CHECK_EQ(fixed->dwFileVersionMS, 0x00010000);
        CHECK_EQ(fixed->dwFileVersionLS, 0x00000001);
        CHECK_EQ(fixed->dwProductVersionMS, 0x00010000);
        CHECK_EQ(fixed->dwProductVersionLS, 0x00000001);
        CHECK_EQ(fixed->dwFileFlagsMask, 0x3F);
        CHECK_EQ(fixed->dwFileFlags, 0);
        CHECK_EQ(fixed->dwFileOS, 4);
        CHECK_EQ(fixed->dwFileType, 1);
    }
    CHECK_EQ(VersionString(data, "CompanyName"), "");
    CHECK_EQ(VersionString(data, "FileDescription"), "BRAMKOT MFC Application");
    CHECK_EQ(VersionString(data, "FileVersion"), "1, 0, 0, 1");
    CHECK_EQ(VersionString(data, "InternalName"), "BRAMKOT");
    CHECK_EQ(VersionString(data, "LegalCopyright"), "Copyright (c) 2026 the BRAMKOT developers");
    CHECK_EQ(VersionString(data, "LegalTrademarks"), "");
    CHECK_EQ(VersionString(data, "OriginalFilename"), "BRAMKOT.EXE");
    CHECK_EQ(VersionString(data, "ProductName"), "BRAMKOT Application");
    CHECK_EQ(VersionString(data, "ProductVersion"), "1, 0, 0, 1");
    WORD* translation = nullptr;
    CHECK(VerQueryValueA(data, "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                         &length));
    CHECK_EQ(length, 4);
    if (translation != nullptr && length >= 4) {
        CHECK_EQ(translation[0], 0x0409);
        CHECK_EQ(translation[1], 0x04B0);
    }
}

void CheckManifest(HMODULE module) {
    DWORD size = 0;
    const BYTE* data = Resource(module, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1), &size);
    CHECK(data != nullptr);
    if (data == nullptr)
        return;
    const std::string text(reinterpret_cast<const char*>(data), size);
    CHECK(text.find("Microsoft.Windows.Common-Controls") != std::string::npos);
    CHECK(text.find("version=\"6.0.0.0\"") != std::string::npos);
    CHECK(text.find("level=\"asInvoker\"") != std::string::npos);
    CHECK(text.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">"
                    "true</dpiAware>") != std::string::npos);
}

void CheckModule(HMODULE module, const std::string& file) {
    for (int id : {IDD_MAIN_DIALOG, IDD_ABOUTBOX, IDD_REPORT})
        CheckSameTemplate(module, id);
    char text[64] = {};
    CHECK_EQ(LoadStringA(module, IDS_ABOUTBOX, text, sizeof text), 17);
    CHECK_EQ(text, "&About BRAMKOT...");
    CheckIcon(module);
    CheckVersion(file);
    CheckManifest(module);
}

}  // namespace

// The resources linked into this test program and those of bramkot.exe
// (its path is the case's argument).
TEST_CASE(resources_match_the_templates, "resources match the templates") {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    CheckModule(GetModuleHandleA(nullptr), self);

    if (!HasCaseArguments(1))
        return;
    const std::string program = WindowsPath(CaseArguments()[0]);
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    CHECK(module != nullptr);
    if (module != nullptr) {
        CheckModule(module, program);
        FreeLibrary(module);
    }
}
