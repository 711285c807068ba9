#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "settings_file.h"
#include "temp_directory.h"

namespace {

const ConversionSettings kOld = {
    "C:\\old\\dec.exe", "C:\\old\\enc.exe", "-o", "-p", "E:\\Old", "1"};
const ConversionSettings kNew = {
    "D:\\new\\dec.exe", "D:\\new\\enc.exe", "-n", "-q", "F:\\New", "2"};

class HostileSettingsSave : public InTempDirectory {
protected:
    void SetUp() override {
        InTempDirectory::SetUp();
        ASSERT_TRUE(SaveSettings(kOld));
        m_oldBytes = ReadFile("bramkot.ini");
        ASSERT_FALSE(m_oldBytes.empty());
    }

    void TearDown() override {
        if (m_mounted) {
            std::filesystem::current_path("/");
            umount2(m_directory.c_str(), MNT_DETACH);
        }
        InTempDirectory::TearDown();
    }

    // Permissions do not stop root; a read-only mount of the directory over
    // itself does. Needs the right to mount (root with CAP_SYS_ADMIN).
    bool MakeDirectoryReadOnly() {
        const char* dir = m_directory.c_str();
        if (mount(dir, dir, nullptr, MS_BIND, nullptr) != 0)
            return false;
        m_mounted = true;
        if (mount(nullptr, dir, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            return false;
        // The old current directory still names the writable mount below.
        std::filesystem::current_path(m_directory);
        return true;
    }

    void ExpectOldFileIntact() {
        EXPECT_EQ(m_oldBytes, ReadFile("bramkot.ini"));
        ConversionSettings loaded;
        LoadSettings(loaded);
        EXPECT_EQ(kOld.m_mppdecPath, loaded.m_mppdecPath);
        EXPECT_EQ(kOld.m_outputDir, loaded.m_outputDir);
    }

    std::string m_oldBytes;
    bool m_mounted = false;
};

TEST_F(HostileSettingsSave, ReadOnlyDirectoryKeepsTheOldFile) {
    if (!MakeDirectoryReadOnly())
        GTEST_SKIP() << "cannot mount here: " << std::strerror(errno);
    ASSERT_NE(0, access(".", W_OK)) << "directory still writable";
    EXPECT_FALSE(SaveSettings(kNew));
    ExpectOldFileIntact();
}

// The temporary file's name taken by a link into a folder that does not
// exist: the new content cannot be created, whoever runs the program.
TEST_F(HostileSettingsSave, TemporaryFileUncreatableKeepsTheOldFile) {
    ASSERT_EQ(0, symlink("missing/folder/file", "bramkot.ini.new"));
    EXPECT_FALSE(SaveSettings(kNew));
    ExpectOldFileIntact();
}

// A folder named bramkot.ini cannot be replaced by a file: the save fails
// and cleans up after itself, leaving the folder and its content.
TEST_F(HostileSettingsSave, SettingsNameTakenByAFolder) {
    std::filesystem::remove("bramkot.ini");
    std::filesystem::create_directory("bramkot.ini");
    WriteFile("bramkot.ini/inside", "keep");
    EXPECT_FALSE(SaveSettings(kNew));
    EXPECT_TRUE(std::filesystem::is_directory("bramkot.ini"));
    EXPECT_EQ("keep", ReadFile("bramkot.ini/inside"));
    EXPECT_FALSE(std::filesystem::exists("bramkot.ini.new"));
}

}  // namespace
