// The conversion run under the real command processor when the current
// directory refuses the batch file or the tools are not there.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ansi_text.h"
#include "conversion_run.h"
#include "memory_file_queue.h"
#include "scratch_directory.h"
#include "self_check.h"
#include "wine_tests.h"

namespace {

int CountLinesStartingWith(const std::string& text, const std::string& start) {
    int count = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        count += text.compare(pos, start.size(), start) == 0;
        pos = end + 1;
    }
    return count;
}

// Names in the current directory other than "." and "..".
std::vector<std::string> DirectoryContent() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

class ToolLog {
public:
    explicit ToolLog(const std::string& directory) : m_path(directory + "\\..\\" + LogName()) {
        DeleteFileA(m_path.c_str());
        _putenv_s("BRAMKOT_TOOL_LOG", m_path.c_str());
    }
    ~ToolLog() {
        _putenv_s("BRAMKOT_TOOL_LOG", "");
        DeleteFileA(m_path.c_str());
    }
    std::string Text() const { return ReadFileBytes(m_path.c_str()); }
    bool Exists() const { return FileExists(m_path.c_str()); }

private:
    static std::string LogName() {
        return "bramkot-hostile-tools-" + std::to_string(GetCurrentProcessId()) + ".log";
    }
    std::string m_path;
};

TEST_CASE(BatchFileNameTakenByAFolder, "batch file name taken by a folder") {
    const FakeToolPaths& tools = ToolPaths();
    ScratchDirectory dir;
    ToolLog log(dir.Path());
    CreateDirectoryA("bramkot.bat", nullptr);
    const ConversionSettings settings = {Ansi(tools.decoder), Ansi(tools.encoder), "", "", "", "1"};
    const std::vector<std::string> entries = {dir.Path() + "\\a.mpc", dir.Path() + "\\b.mpc"};
    MemoryFileQueue queue;
    for (const std::string& entry : entries)
        queue.Append(entry.c_str());

    RunConversionQueue(settings, queue);

    CHECK_WHY(queue.Entries() == entries, "the list changed: " + Joined(queue.Entries()));
    CHECK_WHY(!log.Exists(), "a tool ran: " + log.Text());
    CHECK_WHY(IsDirectory("bramkot.bat"), "the folder is gone");
    CHECK_WHY((DirectoryContent() == std::vector<std::string>{"bramkot.bat"}),
              "the directory holds " + Joined(DirectoryContent()));
}

TEST_CASE(MissingTools, "missing tools") {
    const FakeToolPaths& tools = ToolPaths();
    ScratchDirectory dir;
    ToolLog log(dir.Path());
    const std::string nowhere = dir.Path() + "\\no such folder\\";
    const ConversionSettings missing = {Ansi(nowhere + "mppdec.exe"),
                                        Ansi(nowhere + "lame.exe"),
                                        "--gain 2",
                                        "--alt-preset 128",
                                        "",
                                        "1"};
    MemoryFileQueue queue;
    WriteFileBytes("one.mpc", "input");
    WriteFileBytes("two.mpc", "input");
    queue.Append((dir.Path() + "\\one.mpc").c_str());
    queue.Append((dir.Path() + "\\two.mpc").c_str());

    RunConversionQueue(missing, queue);

    const std::vector<std::string> both = {dir.Path() + "\\one.mpc", dir.Path() + "\\two.mpc"};
    CHECK_WHY(queue.Entries() == both, "the list changed: " + Joined(queue.Entries()));
    CHECK_WHY((DirectoryContent() == std::vector<std::string>{"one.mpc", "two.mpc"}),
              "the directory holds " + Joined(DirectoryContent()));
    CHECK_WHY(!log.Exists(), "something ran: " + log.Text());

    // With working tools the same list converts on the next press; inputs
    // gone since stay listed without a tool run, and only the one that is
    // there converts.
    const ConversionSettings working = {Ansi(tools.decoder), Ansi(tools.encoder), "", "", "", "1"};
    DeleteFileA("one.mpc");
    DeleteFileA("two.mpc");
    WriteFileBytes("four.mpc", "input");
    queue.Append((dir.Path() + "\\four.mpc").c_str());
    RunConversionQueue(working, queue);
    CHECK_WHY(queue.Entries() == both, "entries left: " + Joined(queue.Entries()));
    CHECK_WHY(CountLinesStartingWith(log.Text(), "decoder") == 1, "log: " + log.Text());
    CHECK_WHY(FileExists("four.mp3"), "the working tools wrote no four.mp3");
    CHECK_WHY(!FileExists("one.mp3") && !FileExists("two.mp3") && !FileExists("bramkot.bat"),
              "the directory holds " + Joined(DirectoryContent()));
}

}  // namespace
