// The compiled resources, read back from the program file itself: the
// dialog templates byte for byte against the layout they must have, the string, the
// icon, the version block and the manifest.
#include <windows.h>

#include <cstring>
#include <string>

#include "dialog_template.h"
#include "gui_test.h"
#include "resource.h"

namespace {

class TemplateReader {
public:
    explicit TemplateReader(const BYTE* data) : m_data(data) {}
    WORD Word() {
        WORD v;
        std::memcpy(&v, m_data + m_pos, 2);
        m_pos += 2;
        return v;
    }
    DWORD Dword() {
        DWORD v;
        std::memcpy(&v, m_data + m_pos, 4);
        m_pos += 4;
        return v;
    }
    short Short() { return static_cast<short>(Word()); }
    BYTE Byte() { return m_data[m_pos++]; }
    void AlignDword() { m_pos = (m_pos + 3) & ~static_cast<std::size_t>(3); }
    void Skip(std::size_t n) { m_pos += n; }
    std::string Text() {  // a NUL-ended UTF-16 text of ASCII characters
        std::string text;
        for (WORD c = Word(); c != 0; c = Word())
            text.push_back(c < 128 ? static_cast<char>(c) : '?');
        return text;
    }
    // A name or an ordinal; ordinals come back as "#number".
    std::string NameOrOrdinal() {
        WORD first;
        std::memcpy(&first, m_data + m_pos, 2);
        if (first == 0xFFFF) {
            Word();
            return "#" + std::to_string(Word());
        }
        return Text();
    }

private:
    const BYTE* m_data;
    std::size_t m_pos = 0;
};

// Class names of the template as the dialog manager's predefined classes.
std::string ClassName(const std::string& name) {
    static const char* const kNames[] = {"Button",  "Edit",      "Static",
                                         "ListBox", "ScrollBar", "ComboBox"};
    for (int i = 0; i < 6; ++i)
        if (name == "#" + std::to_string(0x80 + i) || lstrcmpiA(name.c_str(), kNames[i]) == 0)
            return kNames[i];
    return name;
}

const BYTE* Resource(HMODULE module, LPCSTR type, LPCSTR name, DWORD* size) {
    HRSRC found = FindResourceA(module, name, type);
    if (found == nullptr)
        return nullptr;
    *size = SizeofResource(module, found);
    return static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
}

void CheckTemplate(HMODULE module, const ExpectedDialog& expected) {
    DWORD size = 0;
    const BYTE* data =
        Resource(module, reinterpret_cast<LPCSTR>(RT_DIALOG), MAKEINTRESOURCEA(expected.id), &size);
    CHECK(data != nullptr);
    if (data == nullptr)
        return;
    TemplateReader r(data);
    CHECK_EQ_INT(r.Word(), 1);       // dlgVer: an extended template
    CHECK_EQ_INT(r.Word(), 0xFFFF);  // signature
    r.Dword();                       // help ID
    CHECK_EQ_INT(r.Dword(), expected.exStyle);
    CHECK_EQ_INT(r.Dword(), expected.style);
    const int count = r.Word();
    CHECK_EQ_INT(count, expected.controlCount);
    CHECK_EQ_INT(r.Short(), expected.x);
    CHECK_EQ_INT(r.Short(), expected.y);
    CHECK_EQ_INT(r.Short(), expected.cx);
    CHECK_EQ_INT(r.Short(), expected.cy);
    CHECK_EQ_STR(r.NameOrOrdinal(), "");  // no menu
    CHECK_EQ_STR(r.NameOrOrdinal(), "");  // the dialog class
    CHECK_EQ_STR(r.Text(), expected.caption);
    CHECK_EQ_INT(r.Word(), 8);  // points
    r.Word();                   // weight
    r.Byte();                   // italic
    r.Byte();                   // character set
    CHECK_EQ_STR(r.Text(), "MS Sans Serif");
    for (int i = 0; i < count && i < expected.controlCount; ++i) {
        const ExpectedControl& c = expected.controls[i];
        r.AlignDword();
        r.Dword();                   // help ID
        CHECK_EQ_INT(r.Dword(), 0);  // no extended style
        CHECK_EQ_INT(r.Dword(), c.style);
        CHECK_EQ_INT(r.Short(), c.x);
        CHECK_EQ_INT(r.Short(), c.y);
        CHECK_EQ_INT(r.Short(), c.cx);
        CHECK_EQ_INT(r.Short(), c.cy);
        CHECK_EQ_INT(static_cast<WORD>(r.Dword()), static_cast<WORD>(c.id));
        // Class names are compared without letter case; the resource compiler
        // writes those of no predefined control in capitals.
        CHECK(lstrcmpiA(ClassName(r.NameOrOrdinal()).c_str(), c.className) == 0);
        const std::string text = r.NameOrOrdinal();
        CHECK_EQ_STR(text, c.text != nullptr ? c.text : "#128");
        r.Skip(r.Word());  // creation data
    }
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
    CHECK_EQ_INT(header[1], 1);  // icons
    CHECK_EQ_INT(header[2], 2);  // two images
    for (int i = 0; i < header[2] && i < 2; ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, group + 6 + i * sizeof entry, sizeof entry);
        CHECK_EQ_INT(entry.width, i == 0 ? 32 : 16);
        CHECK_EQ_INT(entry.height, i == 0 ? 32 : 16);
        CHECK_EQ_INT(entry.colors, 16);
        CHECK_EQ_INT(entry.bitCount, 4);
        // The image itself: a 4-bit bitmap with its mask, of our own drawing.
        DWORD imageSize = 0;
        const BYTE* image = Resource(module, reinterpret_cast<LPCSTR>(RT_ICON),
                                     MAKEINTRESOURCEA(entry.id), &imageSize);
        CHECK(image != nullptr);
        if (image == nullptr)
            continue;
        BITMAPINFOHEADER info;
        std::memcpy(&info, image, sizeof info);
        CHECK_EQ_INT(info.biWidth, entry.width);
        CHECK_EQ_INT(info.biHeight, entry.height * 2);
        CHECK_EQ_INT(info.biBitCount, 4);
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
        CHECK_EQ_INT(fixed->dwFileVersionMS, 0x00010000);
        CHECK_EQ_INT(fixed->dwFileVersionLS, 0x00000001);
        CHECK_EQ_INT(fixed->dwProductVersionMS, 0x00010000);
        CHECK_EQ_INT(fixed->dwProductVersionLS, 0x00000001);
        CHECK_EQ_INT(fixed->dwFileFlagsMask, 0x3F);
        CHECK_EQ_INT(fixed->dwFileFlags, 0);
        CHECK_EQ_INT(fixed->dwFileOS, 4);
        CHECK_EQ_INT(fixed->dwFileType, 1);
    }
    CHECK_EQ_STR(VersionString(data, "CompanyName"), "");
    CHECK_EQ_STR(VersionString(data, "FileDescription"), "BRAMKOT MFC Application");
    CHECK_EQ_STR(VersionString(data, "FileVersion"), "1, 0, 0, 1");
    CHECK_EQ_STR(VersionString(data, "InternalName"), "BRAMKOT");
    CHECK_EQ_STR(VersionString(data, "LegalCopyright"),
                 "Copyright (c) 2026 the BRAMKOT developers");
    CHECK_EQ_STR(VersionString(data, "LegalTrademarks"), "");
    CHECK_EQ_STR(VersionString(data, "OriginalFilename"), "BRAMKOT.EXE");
    CHECK_EQ_STR(VersionString(data, "ProductName"), "BRAMKOT Application");
    CHECK_EQ_STR(VersionString(data, "ProductVersion"), "1, 0, 0, 1");
    WORD* translation = nullptr;
    CHECK(VerQueryValueA(data, "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                         &length));
    CHECK_EQ_INT(length, 4);
    if (translation != nullptr && length >= 4) {
        CHECK_EQ_INT(translation[0], 0x0409);
        CHECK_EQ_INT(translation[1], 0x04B0);
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
    CheckTemplate(module, kMainDialog);
    CheckTemplate(module, kAboutDialog);
    CheckTemplate(module, kReportDialog);
    char text[64] = {};
    CHECK_EQ_INT(LoadStringA(module, IDS_ABOUTBOX, text, sizeof text), 17);
    CHECK_EQ_STR(text, "&About BRAMKOT...");
    CheckIcon(module);
    CheckVersion(file);
    CheckManifest(module);
}

}  // namespace

// The resources linked into this test program and those of bramkot.exe
// (its path is the case's argument).
GUI_CASE(resources_match_the_templates) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    CheckModule(GetModuleHandleA(nullptr), self);

    CHECK(!CaseArguments().empty());
    if (CaseArguments().empty())
        return;
    const std::string program = WindowsPath(CaseArguments()[0]);
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    CHECK(module != nullptr);
    if (module != nullptr) {
        CheckModule(module, program);
        FreeLibrary(module);
    }
}
