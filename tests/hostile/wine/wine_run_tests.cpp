// The conversion run under the real command processor when the current
// directory refuses the batch file or the tools are not there.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ansi_text.h"
#include "conversion_run.h"
#include "memory_file_queue.h"
#include "wine_check.h"
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

void BatchFileNameTakenByAFolder(const FakeTools& tools) {
    const char* test = "batch file name taken by a folder";
    ScratchDirectory dir;
    ToolLog log(dir.Path());
    CreateDirectoryA("bramkot.bat", nullptr);
    const ConversionSettings settings = {Ansi(tools.decoder), Ansi(tools.encoder), "", "", "", "1"};
    const std::vector<std::string> entries = {dir.Path() + "\\a.mpc", dir.Path() + "\\b.mpc"};
    MemoryFileQueue queue;
    for (const std::string& entry : entries)
        queue.Append(entry.c_str());

    RunConversionQueue(settings, queue);

    Check(queue.Entries() == entries, test, "the list changed: " + Joined(queue.Entries()));
    Check(!log.Exists(), test, "a tool ran: " + log.Text());
    Check(IsDirectory("bramkot.bat"), test, "the folder is gone");
    Check(DirectoryContent() == std::vector<std::string>{"bramkot.bat"}, test,
          "the directory holds " + Joined(DirectoryContent()));
}

void MissingTools(const FakeTools& tools) {
    const char* test = "missing tools";
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
    Check(queue.Entries() == both, test, "the list changed: " + Joined(queue.Entries()));
    Check(DirectoryContent() == std::vector<std::string>{"one.mpc", "two.mpc"}, test,
          "the directory holds " + Joined(DirectoryContent()));
    Check(!log.Exists(), test, "something ran: " + log.Text());

    // With working tools the same list converts on the next press; inputs
    // gone since stay listed without a tool run, and only the one that is
    // there converts.
    const char* test2 = "missing tools, then working tools";
    const ConversionSettings working = {Ansi(tools.decoder), Ansi(tools.encoder), "", "", "", "1"};
    DeleteFileA("one.mpc");
    DeleteFileA("two.mpc");
    WriteFileBytes("four.mpc", "input");
    queue.Append((dir.Path() + "\\four.mpc").c_str());
    RunConversionQueue(working, queue);
    Check(queue.Entries() == both, test2, "entries left: " + Joined(queue.Entries()));
    Check(CountLinesStartingWith(log.Text(), "decoder") == 1, test2, "log: " + log.Text());
    Check(FileExists("four.mp3"), test2, "the working tools wrote no four.mp3");
    Check(!FileExists("one.mp3") && !FileExists("two.mp3") && !FileExists("bramkot.bat"), test2,
          "the directory holds " + Joined(DirectoryContent()));
}

}  // namespace

void RunHostileRunTests(const FakeTools& tools) {
    BatchFileNameTakenByAFolder(tools);
    MissingTools(tools);
}
