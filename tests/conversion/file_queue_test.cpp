#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "folder_walk.h"
#include "memory_file_queue.h"
#include "temp_directory.h"

namespace {

TEST(MusepackFileName, AcceptsTheThreeExtensionsInAnyCase) {
    for (const char* name : {"a.mpc", "b.MP+", "c.Mpp", "D:\\x\\y.mPC", "e.mpP", ".mpc", "x.MPC"})
        EXPECT_TRUE(IsMusepackFileName(name)) << name;
}

TEST(MusepackFileName, RejectsEverythingElse) {
    for (const char* name : {"d.mp3", "e.mpc.txt", "mpc", "", "a.mpc ", "a_mpc", "a.mc+", "a.npc",
                             "a.m+c", "a.mp", "a.mpx", "a.+pc"})
        EXPECT_FALSE(IsMusepackFileName(name)) << name;
}

MemoryFileQueue QueueOf(int count) {
    MemoryFileQueue queue;
    for (int i = 0; i < count; ++i)
        queue.Append(("D:\\" + std::to_string(i) + ".mpc").c_str());
    return queue;
}

TEST(DeleteSelected, RemovesExactlyTheSelectedEntries) {
    MemoryFileQueue queue = QueueOf(5);
    queue.Select(1);
    queue.Select(3);
    DeleteSelectedEntries(queue);
    EXPECT_EQ((std::vector<std::string>{"D:\\0.mpc", "D:\\2.mpc", "D:\\4.mpc"}), queue.Entries());
}

TEST(DeleteSelected, NoSelectionDeletesNothing) {
    MemoryFileQueue queue = QueueOf(3);
    DeleteSelectedEntries(queue);
    EXPECT_EQ(3u, queue.Entries().size());
}

// A list of thousands loses every selected entry, not a first hundred.
TEST(DeleteSelected, EverySelectedEntryOfAThousandGoes) {
    MemoryFileQueue queue = QueueOf(1500);
    for (int i = 0; i < 1500; ++i)
        if (i != 700)
            queue.Select(i);
    DeleteSelectedEntries(queue);
    EXPECT_EQ(std::vector<std::string>{"D:\\700.mpc"}, queue.Entries());
}

TEST(MemoryQueue, KeepsOrderAndDuplicatesAndReadsWithinTheBuffer) {
    MemoryFileQueue queue;
    queue.Append("D:\\b.mpc");
    queue.Append("D:\\a.mpc");
    queue.Append("D:\\b.mpc");
    PathBuffer buffer;
    ASSERT_TRUE(queue.Read(2, buffer));
    EXPECT_STREQ("D:\\b.mpc", buffer.m_text);
    EXPECT_FALSE(queue.Read(3, buffer));
    EXPECT_FALSE(queue.Read(-1, buffer));

    queue.Append(std::string(PathBuffer::kMaxLength, 'x').c_str());
    EXPECT_TRUE(queue.Read(3, buffer));
    EXPECT_EQ(PathBuffer::kMaxLength, std::string(buffer.m_text).size());
    queue.Append(std::string(PathBuffer::kSize, 'y').c_str());
    EXPECT_FALSE(queue.Read(4, buffer));

    queue.ClearAll();
    EXPECT_FALSE(queue.Read(0, buffer));
}

// A dropped folder: each folder's files in Explorer's order, then its
// subfolders; hidden names and links to folders left out, a folder named
// like a Musepack file opened; the drop's order kept around it.
using FolderWalk = InTempDirectory;

TEST_F(FolderWalk, ListsMusepackFilesInExplorersOrder) {
    namespace fs = std::filesystem;
    for (const char* folder : {"Music/Artist/10 Album", "Music/Artist/2 Album",
                               "Music/Artist/.hidden", "Music/Artist/Live.mpc"})
        fs::create_directories(folder);
    for (const char* file : {"Music/Artist/10 Song.mpc", "Music/Artist/2 song.MPC",
                             "Music/Artist/cover.jpg", "Music/Artist/10 Album/1.mp+",
                             "Music/Artist/2 Album/01 Intro.mpc", "Music/Artist/.hidden/x.mpc",
                             "Music/Artist/.dot.mpc", "Music/Artist/Live.mpc/a.mpp", "single.mpc"})
        WriteFile(file, "x");
    fs::create_directory_symlink(fs::absolute("Music/Artist/2 Album"), "Music/Artist/3 Link");

    const std::string root = fs::current_path().string();
    std::atomic<bool> stop{false};
    std::vector<std::string> found;
    std::vector<int> kept;
    int tooLong = 0;
    WalkDrop(
        {root + "/single.mpc", root + "/Music/Artist", root + "/single.mpc"}, stop,
        [&](FoundFile&& file) {
            found.push_back(file.path.substr(root.size() + 1));
            kept.push_back(file.foldersKept);
        },
        tooLong);
    EXPECT_EQ((std::vector<std::string>{
                  "single.mpc", "Music/Artist/2 song.MPC", "Music/Artist/10 Song.mpc",
                  "Music/Artist/2 Album/01 Intro.mpc", "Music/Artist/10 Album/1.mp+",
                  "Music/Artist/Live.mpc/a.mpp", "single.mpc"}),
              found);
    EXPECT_EQ((std::vector<int>{0, 1, 1, 2, 2, 2, 0}), kept);
    EXPECT_EQ(0, tooLong);

    stop = true;
    found.clear();
    WalkDrop(
        {root + "/Music"}, stop, [&](FoundFile&& file) { found.push_back(file.path); }, tooLong);
    EXPECT_TRUE(found.empty());
}

}  // namespace
