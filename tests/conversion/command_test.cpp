#include <gtest/gtest.h>

#include <string>

#include "text_kinds.h"

#include "conversion_command.h"

namespace {

ConversionSettings Defaults() {
    return {
        kDefaultMppdecPath, kDefaultLamePath, kDefaultMppdecSwitches, kDefaultLameSwitches, "", ""};
}

TEST(OutputPath, LastCharacterBecomesThreeKeepingLetterCase) {
    EXPECT_EQ("D:\\Music\\Song.mp3", DeriveOutputPath<AnsiText>("D:\\Music\\Song.mpc", ""));
    EXPECT_EQ("D:\\Music\\Song.MP3", DeriveOutputPath<AnsiText>("D:\\Music\\Song.MPP", ""));
    EXPECT_EQ("D:\\Music\\Song.Mp3", DeriveOutputPath<AnsiText>("D:\\Music\\Song.Mp+", ""));
}

TEST(OutputPath, OutputDirectoryTakesTheFileNamePart) {
    EXPECT_EQ("E:\\MP3\\Song.mp3",
              DeriveOutputPath<AnsiText>("D:\\Music\\Album\\Song.mpc", "E:\\MP3"));
    EXPECT_EQ("E:\\MP3\\Song.mp3",
              DeriveOutputPath<AnsiText>("D:\\Music\\Album\\Song.mpc", "E:\\MP3\\"));
    EXPECT_EQ("E:/\\Song.mp3", DeriveOutputPath<AnsiText>("D:\\Song.mpc", "E:/"));
    EXPECT_EQ("\\\\server\\share\\x.mp3",
              DeriveOutputPath<AnsiText>("\\\\nas\\m\\x.mpc", "\\\\server\\share"));
}

TEST(OutputPath, OneCharacterDirectoryIsIgnored) {
    EXPECT_EQ("D:\\Music\\Song.mp3", DeriveOutputPath<AnsiText>("D:\\Music\\Song.mpc", "\\"));
    EXPECT_EQ("D:\\Music\\Song.mp3", DeriveOutputPath<AnsiText>("D:\\Music\\Song.mpc", "E"));
}

TEST(OutputPath, GrowsPastTheBufferSize) {
    const AnsiText directory = "E:\\" + AnsiText(600, 'd');
    const AnsiText input = "D:\\" + AnsiText(490, 'n') + ".mpc";
    const AnsiText output = DeriveOutputPath<AnsiText>(input, directory);
    EXPECT_EQ(directory + "\\" + AnsiText(490, 'n') + ".mp3", output);
}

TEST(OutputPath, OddInputsDoNotBreakIt) {
    EXPECT_EQ("", DeriveOutputPath<AnsiText>("", ""));
    EXPECT_EQ("E:\\MP3\\", DeriveOutputPath<AnsiText>("", "E:\\MP3"));
    EXPECT_EQ("E:\\MP3\\.mp3", DeriveOutputPath<AnsiText>(".mpc", "E:\\MP3"));
    EXPECT_EQ("E:\\MP3\\Song.mp3", DeriveOutputPath<AnsiText>("Song.mpc", "E:\\MP3"));
}

TEST(CommandLine, DefaultSettingsGiveThePipeline) {
    EXPECT_EQ(
        "\"C:\\mppdec\\mppdec.exe\" --gain 2 \"D:\\Music\\Song.mpc\" - | "
        "\"C:\\LAME\\lame.exe\" --alt-preset 128 - \"D:\\Music\\Song.mp3\"",
        BuildConversionCommand(Defaults(), "D:\\Music\\Song.mpc"));
}

TEST(CommandLine, OutputDirectoryWithOrWithoutBackslash) {
    ConversionSettings settings = Defaults();
    const AnsiText expected =
        "\"C:\\mppdec\\mppdec.exe\" --gain 2 \"D:\\Music\\Song.mpc\" - | "
        "\"C:\\LAME\\lame.exe\" --alt-preset 128 - \"E:\\MP3\\Song.mp3\"";
    settings.m_outputDir = "E:\\MP3";
    EXPECT_EQ(expected, BuildConversionCommand(settings, "D:\\Music\\Song.mpc"));
    settings.m_outputDir = "E:\\MP3\\";
    EXPECT_EQ(expected, BuildConversionCommand(settings, "D:\\Music\\Song.mpc"));
}

TEST(CommandLine, EmptySwitchesLeaveTwoSpaces) {
    ConversionSettings settings = Defaults();
    settings.m_mppdecSwitches.clear();
    settings.m_lameSwitches.clear();
    EXPECT_EQ(
        "\"C:\\mppdec\\mppdec.exe\"  \"D:\\a.mpp\" - | \"C:\\LAME\\lame.exe\"  - \"D:\\a.mp3\"",
        BuildConversionCommand(settings, "D:\\a.mpp"));
}

TEST(CommandLine, SettingsGoInAsTyped) {
    ConversionSettings settings = {
        "%ProgramFiles%\\dec.exe", "say \"hi\".exe", "--x %Y%", "-b 128", "%OUT%", ""};
    EXPECT_EQ(
        "\"%ProgramFiles%\\dec.exe\" --x %Y% \"D:\\a.mpc\" - | \"say \"hi\".exe\" -b 128 - "
        "\"%OUT%\\a.mp3\"",
        BuildConversionCommand(settings, "D:\\a.mpc"));
}

TEST(CommandLine, PercentSignsOfTheDroppedNameAreDoubled) {
    ConversionSettings settings = Defaults();
    EXPECT_EQ(
        "\"C:\\mppdec\\mppdec.exe\" --gain 2 \"D:\\50%% off\\%%PATH%%.mpc\" - | "
        "\"C:\\LAME\\lame.exe\" --alt-preset 128 - \"D:\\50%% off\\%%PATH%%.mp3\"",
        BuildConversionCommand(settings, "D:\\50% off\\%PATH%.mpc"));
    settings.m_outputDir = "E:\\100%";
    EXPECT_EQ(
        "\"C:\\mppdec\\mppdec.exe\" --gain 2 \"D:\\50%% off\\%%PATH%%.mpc\" - | "
        "\"C:\\LAME\\lame.exe\" --alt-preset 128 - \"E:\\100%\\%%PATH%%.mp3\"",
        BuildConversionCommand(settings, "D:\\50% off\\%PATH%.mpc"));
    // The output path itself is the real name, undoubled.
    EXPECT_EQ("E:\\100%\\%PATH%.mp3",
              DeriveOutputPath<AnsiText>("D:\\50% off\\%PATH%.mpc", "E:\\100%"));
}

TEST(CommandLine, OtherSpecialCharactersAreLeftAlone) {
    const AnsiText input = "D:\\R&B (live)!\\a^b, c; d=e 'f'.mpc";
    const AnsiText line = BuildConversionCommand(Defaults(), input);
    EXPECT_NE(AnsiText::npos, line.find("\"" + input + "\" - | "));
    EXPECT_NE(AnsiText::npos, line.find("- \"D:\\R&B (live)!\\a^b, c; d=e 'f'.mp3\""));
}

// The same pipeline with the dropped name's parts in two variables, whose
// values keep their "%" (the command processor expands a variable once).
TEST(CommandLine, VariableFormTakesOnlyTheDroppedNameFromTheEnvironment) {
    ConversionSettings settings = Defaults();
    const AnsiText input = "D:\\50% \x96\x92\\Song.mpc";
    VariableCommand command = BuildVariableCommand(settings, input, false);
    EXPECT_EQ(
        "\"C:\\mppdec\\mppdec.exe\" --gain 2 \"%BRAMKOT_INPUT%\" - | "
        "\"C:\\LAME\\lame.exe\" --alt-preset 128 - \"%BRAMKOT_OUTPUT%\"",
        command.line);
    EXPECT_EQ(input, command.input);
    EXPECT_EQ("D:\\50% \x96\x92\\Song.mp3", command.output);

    settings.m_outputDir = "%OUT%\\mp3";
    command = BuildVariableCommand(settings, input, false);
    EXPECT_NE(AnsiText::npos, command.line.find("- \"%OUT%\\mp3\\%BRAMKOT_OUTPUT%\""));
    EXPECT_EQ("Song.mp3", command.output);

    settings.m_outputDir = "E:\\\xF8\x96";
    command = BuildVariableCommand(settings, input, true);
    EXPECT_NE(AnsiText::npos, command.line.find(" - \"%BRAMKOT_OUTPUT%\""));
    EXPECT_EQ("E:\\\xF8\x96\\Song.mp3", command.output);
    EXPECT_EQ(input, command.input);
}

// A file found under a dropped folder keeps the dropped folder's name and
// the folders below it under the output directory, by the line (with its
// "%" doubled in the folders too) and by the variables; a dropped drive has
// no name of its own. Without an output directory the MP3 stays beside it.
TEST(CommandLine, FileUnderADroppedFolderKeepsItsTree) {
    ConversionSettings settings = Defaults();
    settings.m_outputDir = "E:\\MP3";
    const AnsiText input = "D:\\Music\\50% Artist\\Album\\01 Intro.mpc";
    EXPECT_NE(AnsiText::npos, BuildConversionCommand(settings, input, 2)
                                  .find(" - \"E:\\MP3\\50%% Artist\\Album\\01 Intro.mp3\""));
    EXPECT_EQ("E:\\MP3\\Album\\01 Intro.mp3", DeriveOutputPath<AnsiText>(input, "E:\\MP3", 1));
    EXPECT_EQ("E:\\MP3\\01 Intro.mp3", DeriveOutputPath<AnsiText>(input, "E:\\MP3", 0));
    EXPECT_EQ("E:\\MP3\\Album\\x.mp3",
              DeriveOutputPath<AnsiText>("D:\\Album\\x.mpc", "E:\\MP3", 1));
    EXPECT_EQ("E:\\MP3\\Album\\x.mp3",
              DeriveOutputPath<AnsiText>("D:\\Album\\x.mpc", "E:\\MP3", 5));
    EXPECT_EQ("D:\\Album\\x.mp3", DeriveOutputPath<AnsiText>("D:\\Album\\x.mpc", "", 1));

    VariableCommand command = BuildVariableCommand(settings, input, false, 2);
    EXPECT_NE(AnsiText::npos, command.line.find("- \"E:\\MP3\\%BRAMKOT_OUTPUT%\""));
    EXPECT_EQ("50% Artist\\Album\\01 Intro.mp3", command.output);
    command = BuildVariableCommand(settings, input, true, 2);
    EXPECT_EQ("E:\\MP3\\50% Artist\\Album\\01 Intro.mp3", command.output);
}

}  // namespace
