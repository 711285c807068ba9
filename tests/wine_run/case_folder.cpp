#include "case_folder.h"

#include "ansi_text.h"

#include <windows.h>

#include <cstdio>

#include "fake_tools.h"
#include "test_files.h"

namespace {

const char* const kToolSwitchVariables[] = {"BRAMKOT_FAIL_DECODER",     "BRAMKOT_FAIL_ENCODER",
                                            "BRAMKOT_DELAY_DECODER_MS", "BRAMKOT_DELAY_ENCODER_MS",
                                            "BRAMKOT_CHILD_MARKER",     "BRAMKOT_ENCODER_WRITES"};

std::string RootFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char name[64];
    std::snprintf(name, sizeof name, "bramkot wine run %lu", GetCurrentProcessId());
    return std::string(temp) + name;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

}  // namespace

FakeToolCopies& FakeTools() {
    static FakeToolCopies copies;
    return copies;
}

std::string WorkFileBeside(const std::string& mp3) {
    return mp3.substr(0, mp3.rfind('\\') + 1) + "~bramkot 1.mp3";
}

void SetToolVariable(const char* name, const char* value) {
    SetEnvironmentVariableA(name, *value ? value : nullptr);
}

CaseFolder::CaseFolder(const char* caseName) {
    static int serial = 0;
    const std::string root = RootFolder();
    CreateDirectoryA(root.c_str(), nullptr);
    char name[32];
    std::snprintf(name, sizeof name, "\\case %d ", ++serial);
    m_path = root + name + caseName;
    RemoveTree(AnsiToWide(m_path));
    CreateDirectoryA(m_path.c_str(), nullptr);
    SetCurrentDirectoryA(m_path.c_str());
    for (const char* variable : kToolSwitchVariables)
        SetToolVariable(variable, "");
    SetToolVariable(kToolLogVariable, Path("tool log.txt").c_str());
}

CaseFolder::~CaseFolder() {
    SetCurrentDirectoryA(FakeTools().folder.c_str());
    RemoveTree(AnsiToWide(m_path));
    RemoveDirectoryA(RootFolder().c_str());
}

std::string CaseFolder::Path(const std::string& relative) const {
    return m_path + "\\" + relative;
}

std::wstring CaseFolder::WidePath(const std::string& relative) const {
    return AnsiToWide(Path(relative));
}

std::string CaseFolder::MakeFolder(const std::string& relative) const {
    CreateDirectoryA(Path(relative).c_str(), nullptr);
    return Path(relative);
}

std::string CaseFolder::MakeInput(const std::string& relative) const {
    WriteFileBytes(WidePath(relative), "not really musepack");
    return Path(relative);
}

std::vector<ToolRecord> CaseFolder::Records() const {
    std::vector<ToolRecord> records;
    const std::string log = ReadFileBytes(WidePath("tool log.txt"));
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find('\n', start);
        if (end == std::string::npos)
            end = log.size();
        std::vector<std::string> fields = SplitTabs(log.substr(start, end - start));
        ToolRecord record;
        record.tool = fields.front();
        record.arguments.assign(fields.begin() + 1, fields.end());
        records.push_back(record);
        start = end + 1;
    }
    return records;
}

std::vector<ToolRecord> CaseFolder::Records(const char* tool) const {
    std::vector<ToolRecord> matching;
    for (const ToolRecord& record : Records())
        if (record.tool == tool)
            matching.push_back(record);
    return matching;
}

bool CaseFolder::ToolLogExists() const {
    return FileExists(WidePath("tool log.txt"));
}

ConversionSettings FakeToolSettings(const std::string& decoderSwitches,
                                    const std::string& encoderSwitches,
                                    const std::string& outputDir) {
    ConversionSettings settings;
    settings.m_mppdecPath = Ansi(FakeTools().decoder);
    settings.m_lamePath = Ansi(FakeTools().encoder);
    settings.m_mppdecSwitches = Ansi(decoderSwitches);
    settings.m_lameSwitches = Ansi(encoderSwitches);
    settings.m_outputDir = Ansi(outputDir);
    settings.m_filesAtOnce =
        AnsiText("1");  // one at a time, so the tools' records come in list order
    return settings;
}
