// Two programs converting in one folder share the batch file's name: they
// take turns, and every file of both lists is converted exactly once.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "case_folder.h"
#include "child_process.h"
#include "conversion_run.h"
#include "fake_tools.h"
#include "memory_file_queue.h"
#include "self_check.h"
#include "test_files.h"

namespace {

std::string Quoted(const std::string& text) {
    return '"' + text + '"';
}

std::vector<std::string> Sorted(std::vector<std::string> items) {
    std::sort(items.begin(), items.end());
    return items;
}

// Starts this test program as a second converter of `inputs` in the current
// directory (see main).
ChildProcess StartSecondConverter(const std::vector<std::string>& inputs) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine = Quoted(self) + " --convert " + Quoted(FakeTools().decoder) + ' ' +
                              Quoted(FakeTools().encoder);
    for (const std::string& input : inputs)
        commandLine += ' ' + Quoted(input);
    ChildProcess process;
    process.Start(AnsiToWide(commandLine).c_str(), ChildStart());
    return process;
}

}  // namespace

TEST_CASE(TwoConvertersInOneFolderTakeTurns,
          "two processes converting in one folder convert every file exactly once") {
    CaseFolder folder("two converters");
    std::vector<std::string> mine;
    std::vector<std::string> theirs;
    std::vector<std::string> mp3s;
    for (int i = 1; i <= 15; ++i) {
        const std::string number = std::to_string(i);
        mine.push_back(folder.MakeInput("first " + number + ".mpc"));
        theirs.push_back(folder.MakeInput("second " + number + ".mpc"));
        mp3s.push_back(folder.Path("first " + number + ".mp3"));
        mp3s.push_back(folder.Path("second " + number + ".mp3"));
    }
    MemoryFileQueue queue;
    for (const std::string& input : mine)
        queue.Append(input.c_str());

    const ChildProcess second = StartSecondConverter(theirs);
    CHECK(second.Started());
    RunConversionQueue(FakeToolSettings("", "", ""), queue);
    if (second.Started()) {
        CHECK(second.Wait(120000));
        CHECK_EQ(static_cast<long long>(second.ExitCode()), 0LL);
    }

    CHECK(queue.Entries().empty());
    CHECK(!FileExists(folder.WidePath("bramkot.bat")));
    std::vector<std::string> decoded;
    for (const ToolRecord& record : folder.Records("decoder"))
        decoded.push_back(record.arguments.front());
    // Each encoder wrote a work file beside its MP3, of a name the other
    // window did not hold at the time.
    std::vector<std::string> encoded;
    for (const ToolRecord& record : folder.Records("encoder")) {
        const std::string work = record.arguments.back();
        const std::size_t name = work.rfind('\\') + 1;
        CHECK(work.compare(name, 9, "~bramkot ") == 0);
        encoded.push_back(work.substr(0, name));
    }
    std::vector<std::string> mp3Folders;
    for (const std::string& mp3 : mp3s)
        mp3Folders.push_back(mp3.substr(0, mp3.rfind('\\') + 1));
    std::vector<std::string> inputs = mine;
    inputs.insert(inputs.end(), theirs.begin(), theirs.end());
    CHECK_EQ(Sorted(decoded), Sorted(inputs));
    CHECK_EQ(Sorted(encoded), Sorted(mp3Folders));
    for (const std::string& mp3 : mp3s)
        CHECK(ReadFileBytes(AnsiToWide(mp3)) == FakeDecoderOutput());
}
