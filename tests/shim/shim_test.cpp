// The shim under Wine: it waits for the Linux tool, hands back its exit code,
// turns drive paths into Unix paths and carries bytes through files and
// Windows pipes alike. Argument: the path of tool_shim.exe.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "ansi_text.h"
#include "case_folder.h"
#include "child_process.h"
#include "conversion_run.h"
#include "fake_tools.h"
#include "memory_file_queue.h"
#include "self_check.h"
#include "test_files.h"
#include "wine_paths.h"

namespace {

std::wstring& ShimPath() {
    static std::wstring path;
    return path;
}

// Puts a copy of the shim at `exeName` in the case folder with a side file
// naming the Linux program and its leading arguments; returns its ANSI path.
std::string InstallShim(const CaseFolder& folder, const std::string& exeName,
                        const std::string& sideFile) {
    const std::string exe = folder.Path(exeName);
    CopyFileW(ShimPath().c_str(), AnsiToWide(exe).c_str(), FALSE);
    const std::string side = exe.substr(0, exe.size() - 4) + ".shim";
    WriteFileBytes(AnsiToWide(side), sideFile);
    return exe;
}

// Starts `commandLine` with the given standard handles and returns its exit
// code, or -1.
int RunWaited(const std::string& commandLine, HANDLE in, HANDLE out) {
    ChildStart how;
    how.input = in;
    how.output = out;
    how.error = GetStdHandle(STD_ERROR_HANDLE);
    ChildProcess process;
    if (!process.Start(AnsiToWide(commandLine).c_str(), how))
        return -1;
    process.Wait(120000);
    return static_cast<int>(process.ExitCode());
}

Handle OpenForWriting(const std::wstring& path) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return Handle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

// The decoder sleeps a second before it writes, so an encoder started before
// it had finished would read nothing; the encoder sleeps a second before its
// MP3 appears under its name, so a run that returned early would find none.
// The decoder copies its input file: the bytes that come out also prove the
// awkward names were turned into the right Unix paths.
TEST_CASE(ConversionRunThroughSlowLinuxTools,
          "the conversion run through shims waits for slow Linux tools and keeps every byte") {
    CaseFolder folder("slow linux");
    WriteFileBytes(folder.WidePath("decode.sh"), "sleep 1\nexec cat \"$1\"\n");
    WriteFileBytes(folder.WidePath("encode.sh"),
                   "for last; do :; done\ncat >\"$last.part\"\nsleep 1\n"
                   "mv \"$last.part\" \"$last\"\n");
    ConversionSettings settings;
    settings.m_mppdecPath = Ansi(InstallShim(
        folder, "mppdec.exe", "program=/bin/sh\narg=" + folder.Path("decode.sh") + "\n"));
    settings.m_lamePath = Ansi(
        InstallShim(folder, "lame.exe", "program=/bin/sh\narg=" + folder.Path("encode.sh") + "\n"));
    settings.m_lameSwitches = "--alt-preset 128";
    settings.m_filesAtOnce = AnsiText("1");
    folder.MakeFolder("in & out");
    const std::string pattern = FakeDecoderOutput();
    const std::vector<std::string> stems = {"in & out\\" + WideToAnsi(L"Caf\u00E9 50% ^!"),
                                            "in & out\\%PATH% (2)"};
    MemoryFileQueue queue;
    for (const std::string& stem : stems) {
        WriteFileBytes(folder.WidePath(stem + ".mpc"), pattern + stem);
        queue.Append(AnsiToUtf8(folder.Path(stem + ".mpc")).c_str());
    }

    RunConversionQueue(settings, queue);

    CHECK(queue.Entries().empty());
    for (const std::string& stem : stems) {
        bool found = false;
        const std::string bytes = ReadFileBytes(folder.WidePath(stem + ".mp3"), &found);
        CHECK(found);
        CHECK_EQ(static_cast<long long>(bytes.size()),
                 static_cast<long long>(pattern.size() + stem.size()));
        CHECK(bytes == pattern + stem);
    }
}

TEST_CASE(ShimReturnsExitCode, "the shim returns the Linux tool's exit code") {
    CaseFolder folder("exit code");
    const struct {
        const char* script;
        int code;
    } cases[] = {{"exit 0", 0}, {"exit 7", 7}, {"sleep 1; exit 3", 3}, {"/no/such/tool", 127}};
    for (const auto& c : cases) {
        const std::string shim = InstallShim(
            folder, "tool.exe", std::string("program=/bin/sh\narg=-c\narg=") + c.script + "\n");
        CHECK_EQ(static_cast<long long>(RunWaited("\"" + shim + "\"", nullptr, nullptr)),
                 static_cast<long long>(c.code));
    }
    // A name the shim does not know and no side file: it runs nothing.
    const std::string stranger = folder.Path("stranger.exe");
    CopyFileW(ShimPath().c_str(), AnsiToWide(stranger).c_str(), FALSE);
    CHECK_EQ(static_cast<long long>(RunWaited("\"" + stranger + "\"", nullptr, nullptr)), 125LL);
}

TEST_CASE(ShimTranslatesDrivePaths, "drive paths become Unix paths, other arguments stay") {
    CaseFolder folder("paths");
    WriteFileBytes(folder.WidePath("list.sh"),
                   "for a; do if [ -e \"$a\" ]; then echo \"exists $a\"; else echo \"as-is $a\"; "
                   "fi; done\n");
    const std::string shim =
        InstallShim(folder, "lister.exe", "program=/bin/sh\narg=" + folder.Path("list.sh") + "\n");
    const std::string existing = folder.Path(WideToAnsi(L"na\u00EFve file.txt"));
    WriteFileBytes(AnsiToWide(existing), "x");
    Handle out = OpenForWriting(folder.WidePath("listed.txt"));
    const int code = RunWaited(
        "\"" + shim + "\" \"" + existing + "\" - --alt-preset \"a b\" " + "rel\\x.txt C:/windows",
        nullptr, out.Get());
    out.Reset();

    CHECK_EQ(static_cast<long long>(code), 0LL);
    const std::string listed = ReadFileBytes(folder.WidePath("listed.txt"));
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < listed.size(); start = end + 1) {
        end = listed.find('\n', start);
        lines.push_back(listed.substr(start, end - start));
    }
    CHECK_EQ(static_cast<long long>(lines.size()), 6LL);
    if (lines.size() == 6) {
        const std::string tail = "/na\xC3\xAFve file.txt";
        CHECK(lines[0].compare(0, 8, "exists /") == 0 && lines[0].size() > tail.size() &&
              lines[0].compare(lines[0].size() - tail.size(), tail.size(), tail) == 0);
        CHECK_EQ(lines[1], std::string("as-is -"));
        CHECK_EQ(lines[2], std::string("as-is --alt-preset"));
        CHECK_EQ(lines[3], std::string("as-is a b"));
        CHECK_EQ(lines[4], std::string("as-is rel\\x.txt"));
        CHECK(lines[5].compare(0, 8, "exists /") == 0);
    }
}

// Windows pipes, which a Linux program cannot inherit, on both ends.
TEST_CASE(ShimRelaysWindowsPipes, "bytes pass through the shim between Windows pipes") {
    CaseFolder folder("pipes");
    const std::string shim = InstallShim(folder, "copier.exe", "program=/bin/cat\nstdin=relay\n");
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE ends[2];
    CreatePipe(&ends[0], &ends[1], &inherit, 0);
    Handle inRead(ends[0]), inWrite(ends[1]);
    SetHandleInformation(inWrite.Get(), HANDLE_FLAG_INHERIT, 0);

    ChildStart how;
    how.input = inRead.Get();
    how.error = GetStdHandle(STD_ERROR_HANDLE);
    how.captureOutput = true;
    ChildProcess process;
    const bool started = process.Start(AnsiToWide("\"" + shim + "\"").c_str(), how);
    CHECK(started);
    inRead.Reset();
    const std::string pattern = FakeDecoderOutput();
    DWORD put = 0;
    WriteFile(inWrite.Get(), pattern.data(), static_cast<DWORD>(pattern.size()), &put, nullptr);
    inWrite.Reset();
    std::string received;
    process.ReadAllOutput(received, pattern.size());
    if (started)
        process.Wait(60000);
    CHECK_EQ(static_cast<long long>(received.size()), static_cast<long long>(pattern.size()));
    CHECK(received == pattern);
}

int main() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count != 2) {
        std::printf("usage: shim_tests tool_shim.exe\n");
        return 2;
    }
    ShimPath() = argv[1][0] == L'/' ? WindowsPathOf(ToUtf8(argv[1])) : argv[1];
    LocalFree(argv);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    FakeTools().folder = temp;
    return self_check::RunAll();
}
