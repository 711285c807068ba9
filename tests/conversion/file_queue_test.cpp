#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memory_file_queue.h"

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

TEST(DeleteSelected, AtMostOneHundredAtATime) {
    MemoryFileQueue queue = QueueOf(150);
    for (int i = 0; i < 150; ++i)
        queue.Select(i);
    DeleteSelectedEntries(queue);
    ASSERT_EQ(50u, queue.Entries().size());
    EXPECT_EQ("D:\\100.mpc", queue.Entries().front());
    EXPECT_EQ("D:\\149.mpc", queue.Entries().back());
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

}  // namespace
