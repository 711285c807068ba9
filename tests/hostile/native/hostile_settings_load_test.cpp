#include <unistd.h>

#include <filesystem>
#include <string>

#include "ansi_text.h"
#include "settings_file.h"
#include "temp_directory.h"

namespace {

using HostileSettingsLoad = InTempDirectory;

ConversionSettings Load(const std::string& outputDirBefore = "") {
    ConversionSettings settings;
    settings.m_outputDir = Ansi(outputDirBefore);
    LoadSettings(settings);
    return settings;
}

void ExpectDefaultFirstFour(const ConversionSettings& s) {
    EXPECT_EQ(kDefaultMppdecPath, s.m_mppdecPath);
    EXPECT_EQ(kDefaultLamePath, s.m_lamePath);
    EXPECT_EQ(kDefaultMppdecSwitches, s.m_mppdecSwitches);
    EXPECT_EQ(kDefaultLameSwitches, s.m_lameSwitches);
}

TEST_F(HostileSettingsLoad, EmptyAndBlankFiles) {
    WriteFile("bramkot.ini", "");
    ConversionSettings s = Load();
    ExpectDefaultFirstFour(s);
    EXPECT_EQ("", s.m_outputDir);

    // A blank line is an empty setting, not a missing one.
    for (const char* blank : {"\n", "\r\n"}) {
        WriteFile("bramkot.ini", blank);
        s = Load();
        EXPECT_EQ("", s.m_mppdecPath) << "file " << testing::PrintToString(blank);
        EXPECT_EQ(kDefaultLamePath, s.m_lamePath);
        EXPECT_EQ(kDefaultLameSwitches, s.m_lameSwitches);
    }
}

TEST_F(HostileSettingsLoad, BinaryBytesStayInTheirLine) {
    std::string all;
    for (int value = 0; value < 256; ++value)
        all += static_cast<char>(value);
    WriteFile("bramkot.ini", all);
    ConversionSettings s = Load("kept");
    // Line one is bytes 0 to 9 (the NUL included), line two everything after
    // the line feed, with its carriage return in the middle kept.
    EXPECT_EQ(all.substr(0, 10), Bytes(s.m_mppdecPath));
    EXPECT_EQ(10u, s.m_mppdecPath.size());
    EXPECT_EQ(all.substr(11), Bytes(s.m_lamePath));
    EXPECT_EQ(kDefaultMppdecSwitches, s.m_mppdecSwitches);
    EXPECT_EQ("kept", s.m_outputDir);

    // Five lines of every byte value but the line feed.
    std::string noFeed = all;
    noFeed.erase(10, 1);
    WriteFile("bramkot.ini",
              noFeed + "\n" + noFeed + "\n" + noFeed + "\n" + noFeed + "\n" + noFeed + "\n");
    s = Load();
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(noFeed, Bytes(s.*kSettingRows[row].field));
}

TEST_F(HostileSettingsLoad, TenMegabyteLineLoadsWholeAndShiftsNothing) {
    const std::string huge(10 * 1024 * 1024, 'x');
    WriteFile("bramkot.ini", huge + "\nL:\\lame.exe\n-s\n-V 2\nE:\\Out\n");
    ConversionSettings s = Load();
    EXPECT_EQ(huge.size(), s.m_mppdecPath.size());
    EXPECT_TRUE(Bytes(s.m_mppdecPath) == huge);
    EXPECT_EQ("L:\\lame.exe", s.m_lamePath);
    EXPECT_EQ("-s", s.m_mppdecSwitches);
    EXPECT_EQ("-V 2", s.m_lameSwitches);
    EXPECT_EQ("E:\\Out", s.m_outputDir);

    // The same line last, with no line feed after it.
    WriteFile("bramkot.ini", "a\nb\nc\nd\n" + huge);
    s = Load();
    EXPECT_EQ("d", s.m_lameSwitches);
    EXPECT_TRUE(Bytes(s.m_outputDir) == huge);
}

// Line ends of both kinds go and nothing else: not a trailing space, not a
// carriage return inside a line.
TEST_F(HostileSettingsLoad, MixedLineEnds) {
    WriteFile("bramkot.ini", "C:\\dec.exe\r\nC:\\enc.exe \n-a\ry\r\n-b\nE:\\Out\r\n");
    ConversionSettings s = Load();
    EXPECT_EQ("C:\\dec.exe", s.m_mppdecPath);
    EXPECT_EQ("C:\\enc.exe ", s.m_lamePath);
    EXPECT_EQ("-a\ry", s.m_mppdecSwitches);
    EXPECT_EQ("-b", s.m_lameSwitches);
    EXPECT_EQ("E:\\Out", s.m_outputDir);

    // Empty lines of both kinds; only the one carriage return right before a
    // line feed goes.
    WriteFile("bramkot.ini", "\n\r\n\n\r\r\n\n\r");
    s = Load("stale");
    EXPECT_EQ("", s.m_mppdecPath);
    EXPECT_EQ("", s.m_lamePath);
    EXPECT_EQ("", s.m_mppdecSwitches);
    EXPECT_EQ("\r", s.m_lameSwitches);
    EXPECT_EQ("", s.m_outputDir);
}

TEST_F(HostileSettingsLoad, NoFinalLineFeedKeepsTheLastLineWhole) {
    WriteFile("bramkot.ini", "a\nb\nc\nd");
    ConversionSettings s = Load("kept");
    EXPECT_EQ("d", s.m_lameSwitches);
    EXPECT_EQ("kept", s.m_outputDir);

    WriteFile("bramkot.ini", "C:\\dec.exe\r\nC:\\enc.exe");
    s = Load();
    EXPECT_EQ("C:\\dec.exe", s.m_mppdecPath);
    EXPECT_EQ("C:\\enc.exe", s.m_lamePath);
    EXPECT_EQ(kDefaultMppdecSwitches, s.m_mppdecSwitches);
}

// Permissions do not stop root, so "not readable" is a settings file name
// taken by a folder (which the reader opens but cannot read) or by a link to
// nowhere (which cannot be opened at all).
TEST_F(HostileSettingsLoad, UnreadableFileGivesTheDefaults) {
    std::filesystem::create_directory("bramkot.ini");
    ConversionSettings s = Load("stale");
    ExpectDefaultFirstFour(s);
    EXPECT_EQ("", s.m_outputDir);
    EXPECT_TRUE(std::filesystem::is_directory("bramkot.ini"));

    std::filesystem::remove("bramkot.ini");
    ASSERT_EQ(0, symlink("no/such/place", "bramkot.ini"));
    s = Load("stale");
    ExpectDefaultFirstFour(s);
    EXPECT_EQ("", s.m_outputDir);
}

}  // namespace
