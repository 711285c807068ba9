#include "linux_run.h"

#include <cstdio>
#include <cstdlib>

#include "child_process.h"
#include "file.h"
#include "wine_paths.h"

namespace {

constexpr int kNotRun = 125;
constexpr DWORD kPollMilliseconds = 5;
constexpr DWORD kGiveUpMilliseconds = 30 * 60 * 1000;

bool CopyHandle(HANDLE from, HANDLE to) {
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(from, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        DWORD put = 0;
        if (!WriteFile(to, buffer, got, &put, nullptr) || put != got)
            return false;
    }
    return true;
}

bool WriteWholeFile(const std::wstring& path, const std::string& content) {
    const Handle file = OpenFileNotInherited(path.c_str(), FileAccess::Write);
    DWORD put = 0;
    return file &&
           WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &put,
                     nullptr) &&
           put == content.size();
}

// A Windows pipe cannot become the Linux program's descriptor; files can.
bool NeedsRelay(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) == FILE_TYPE_PIPE;
}

// The files of one run, in a fresh folder under the Windows temporary folder.
struct RunFolder {
    std::wstring windows;  // ends with a backslash
    std::string unix;      // ends with a slash

    bool Create() {
        wchar_t temp[MAX_PATH];
        if (GetTempPathW(MAX_PATH, temp) == 0)
            return false;
        wchar_t name[64];
        swprintf(name, 64, L"bramkot-shim-%lu-%lu\\", GetCurrentProcessId(), GetTickCount());
        windows = std::wstring(temp) + name;
        if (!CreateDirectoryW(windows.c_str(), nullptr))
            return false;
        unix = UnixPathOf(windows);
        if (unix.empty())
            return false;
        if (unix.back() != '/')
            unix += '/';
        return true;
    }
    std::wstring Windows(const wchar_t* file) const { return windows + file; }
    std::string Unix(const char* file) const { return ShellQuoted(unix + file); }
};

bool CopyFileToHandle(const std::wstring& path, HANDLE to) {
    const Handle file = OpenFileNotInherited(path.c_str(), FileAccess::Read);
    return file && CopyHandle(file.Get(), to);
}

bool CopyHandleToFile(HANDLE from, const std::wstring& path) {
    const Handle file = OpenFileNotInherited(path.c_str(), FileAccess::Write);
    return file && CopyHandle(from, file.Get());
}

int ReadStatus(const std::wstring& path) {
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr)
        return kNotRun;
    int status = kNotRun;
    if (std::fscanf(file, "%d", &status) != 1)
        status = kNotRun;
    std::fclose(file);
    return status;
}

bool StartShell(const std::string& scriptUnixPath, HANDLE in, HANDLE out, HANDLE err) {
    const std::wstring shell = WindowsPathOf("/bin/sh");
    if (shell.empty())
        return false;
    ChildStart how;
    how.program = shell.c_str();
    how.input = in;
    how.output = out;
    how.error = err;
    return ChildProcess().Start((L"sh \"" + FromUtf8(scriptUnixPath) + L"\"").c_str(), how);
}

bool WaitForFile(const std::wstring& path) {
    const DWORD start = GetTickCount();
    while (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start > kGiveUpMilliseconds)
            return false;
        Sleep(kPollMilliseconds);
    }
    return true;
}

}  // namespace

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

int RunLinuxCommand(const LinuxCommand& command) {
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    RunFolder folder;
    if (!folder.Create())
        return kNotRun;

    const bool relayIn = command.relayStandardInput && NeedsRelay(in);
    const bool relayOut = NeedsRelay(out);
    const bool relayErr = NeedsRelay(err);
    if (relayIn && !CopyHandleToFile(in, folder.Windows(L"stdin")))
        return kNotRun;

    // The status appears under its final name only once it is written whole.
    std::string script = ShellQuoted(command.program);
    for (const std::string& argument : command.arguments)
        script += ' ' + ShellQuoted(argument);
    if (relayIn)
        script += " <" + folder.Unix("stdin");
    if (relayOut)
        script += " >" + folder.Unix("stdout");
    if (relayErr)
        script += " 2>" + folder.Unix("stderr");
    script += "\necho $? >" + folder.Unix("status.part") + "\nmv " + folder.Unix("status.part") +
              ' ' + folder.Unix("status") + '\n';

    int status = kNotRun;
    if (WriteWholeFile(folder.Windows(L"run.sh"), script) &&
        StartShell(folder.unix + "run.sh", in, out, err) && WaitForFile(folder.Windows(L"status")))
        status = ReadStatus(folder.Windows(L"status"));

    if (relayOut)
        CopyFileToHandle(folder.Windows(L"stdout"), out);
    if (relayErr)
        CopyFileToHandle(folder.Windows(L"stderr"), err);
    for (const wchar_t* file : {L"run.sh", L"stdin", L"stdout", L"stderr", L"status"})
        DeleteFileW(folder.Windows(file).c_str());
    RemoveDirectoryW(folder.windows.c_str());
    return status;
}
