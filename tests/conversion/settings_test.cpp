#include <filesystem>
#include <string>

#include "settings_file.h"
#include "temp_directory.h"

namespace {

ConversionSettings Sample() {
    return {
        "D:\\Tools\\mppdec.exe", "D:\\Tools\\lame.exe", "--scale 0.9", "-V 2", "E:\\MP3", "3", "1"};
}

void ExpectEqual(const ConversionSettings& expected, const ConversionSettings& actual) {
    EXPECT_EQ(expected.m_mppdecPath, actual.m_mppdecPath);
    EXPECT_EQ(expected.m_lamePath, actual.m_lamePath);
    EXPECT_EQ(expected.m_mppdecSwitches, actual.m_mppdecSwitches);
    EXPECT_EQ(expected.m_lameSwitches, actual.m_lameSwitches);
    EXPECT_EQ(expected.m_outputDir, actual.m_outputDir);
    EXPECT_EQ(expected.m_filesAtOnce, actual.m_filesAtOnce);
    EXPECT_EQ(expected.m_skipDone, actual.m_skipDone);
}

const ConversionSettings kDefaults = {
    kDefaultMppdecPath, kDefaultLamePath, kDefaultMppdecSwitches, kDefaultLameSwitches, "",
    kDefaultFilesAtOnce};

using SettingsFile = InTempDirectory;

TEST_F(SettingsFile, MissingFileGivesTheDefaults) {
    ConversionSettings loaded = Sample();
    LoadSettings(loaded);
    ExpectEqual(kDefaults, loaded);
}

TEST_F(SettingsFile, SavedFileIsSevenLinesAndLoadsBack) {
    ASSERT_TRUE(SaveSettings(Sample()));
    EXPECT_EQ("D:\\Tools\\mppdec.exe\nD:\\Tools\\lame.exe\n--scale 0.9\n-V 2\nE:\\MP3\n3\n1\n",
              ReadFile("bramkot.ini"));
    ConversionSettings loaded;
    LoadSettings(loaded);
    ExpectEqual(Sample(), loaded);
}

TEST_F(SettingsFile, ValuesOfAnyLengthLoadBackWhole) {
    ConversionSettings saved = Sample();
    saved.m_mppdecPath = "C:\\" + AnsiText(298, 'a') + ".exe";
    saved.m_lamePath = AnsiText(299, 'b');
    saved.m_mppdecSwitches = AnsiText(600, 'c');
    saved.m_lameSwitches = AnsiText(100000, 'd');
    saved.m_outputDir = AnsiText(5000, 'e');
    ASSERT_TRUE(SaveSettings(saved));
    ConversionSettings loaded;
    LoadSettings(loaded);
    ExpectEqual(saved, loaded);
}

TEST_F(SettingsFile, EmptyValuesAreEmptyLines) {
    ConversionSettings empty;
    ASSERT_TRUE(SaveSettings(empty));
    EXPECT_EQ("\n\n\n\n\n\n\n", ReadFile("bramkot.ini"));
    ConversionSettings loaded = Sample();
    LoadSettings(loaded);
    empty.m_filesAtOnce = "0";  // empty means the same: one per processor
    ExpectEqual(empty, loaded);
}

TEST_F(SettingsFile, MissingLinesGetDefaultsNeverEarlierValues) {
    WriteFile("bramkot.ini", "X:\\dec.exe\nY:\\enc.exe\n");
    ConversionSettings loaded = Sample();
    loaded.m_outputDir.clear();
    LoadSettings(loaded);
    EXPECT_EQ("X:\\dec.exe", loaded.m_mppdecPath);
    EXPECT_EQ("Y:\\enc.exe", loaded.m_lamePath);
    EXPECT_EQ(kDefaultMppdecSwitches, loaded.m_mppdecSwitches);
    EXPECT_EQ(kDefaultLameSwitches, loaded.m_lameSwitches);
    EXPECT_EQ("", loaded.m_outputDir);

    WriteFile("bramkot.ini", "");
    loaded = Sample();
    loaded.m_outputDir.clear();
    LoadSettings(loaded);
    ExpectEqual(kDefaults, loaded);
}

TEST_F(SettingsFile, FourLinesMakeACompleteFile) {
    WriteFile("bramkot.ini", "a\nb\nc\nd\n");
    ConversionSettings loaded;
    LoadSettings(loaded);
    ExpectEqual({"a", "b", "c", "d", "", "0"}, loaded);

    WriteFile("bramkot.ini", "a\nb\nc\nd\n\n");
    loaded.m_outputDir = "stale";
    LoadSettings(loaded);
    EXPECT_EQ("", loaded.m_outputDir);
}

// Every file written before the sixth setting has five lines: one per
// processor; before the seventh, six: no skipping.
TEST_F(SettingsFile, FiveSixAndSevenLinesAllLoad) {
    WriteFile("bramkot.ini", "a\nb\nc\nd\nE:\\Out\n");
    ConversionSettings loaded;
    LoadSettings(loaded);
    ExpectEqual({"a", "b", "c", "d", "E:\\Out", "0"}, loaded);

    WriteFile("bramkot.ini", "a\nb\nc\nd\nE:\\Out\n2\n1\n");
    LoadSettings(loaded);
    ExpectEqual({"a", "b", "c", "d", "E:\\Out", "2", "1"}, loaded);

    WriteFile("bramkot.ini", "a\nb\nc\nd\nE:\\Out\n2\n");
    LoadSettings(loaded);
    ExpectEqual({"a", "b", "c", "d", "E:\\Out", "2", ""}, loaded);
}

TEST_F(SettingsFile, FailedSaveKeepsThePreviousFile) {
    ASSERT_TRUE(SaveSettings(Sample()));
    const std::string before = ReadFile("bramkot.ini");
    // The temporary file's name taken by a folder: the new content has nowhere to go.
    std::filesystem::create_directory("bramkot.ini.new");
    ConversionSettings changed = Sample();
    changed.m_outputDir = "F:\\Elsewhere";
    EXPECT_FALSE(SaveSettings(changed));
    EXPECT_EQ(before, ReadFile("bramkot.ini"));
}

TEST_F(SettingsFile, SaveReplacesAnOlderLongerFile) {
    ConversionSettings longer = Sample();
    longer.m_lameSwitches = AnsiText(10000, 'z');
    ASSERT_TRUE(SaveSettings(longer));
    ASSERT_TRUE(SaveSettings(Sample()));
    ConversionSettings loaded;
    LoadSettings(loaded);
    ExpectEqual(Sample(), loaded);
    EXPECT_FALSE(std::filesystem::exists("bramkot.ini.new"));
}

}  // namespace
