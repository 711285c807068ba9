#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text_kinds.h"

#include "conversion_command.h"
#include "decoder_gain.h"

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

// A stream header with a title gain of -6 dB (peak 0.9) and an album gain of
// -12 dB (peak 0.95), as the decoder reads it.
ReplayGain HeaderGain() {
    ReplayGain header;
    header.trackGain = -6.0;
    header.trackPeak = 0.9;
    header.albumGain = -12.0;
    header.albumPeak = 0.95;
    return header;
}

TEST(DecoderGain, FactorOfEachDecoderFromItsNameAndSwitches) {
    const double title = 0.501187;  // 10^(-6 / 20)
    const double album = 0.251189;
    struct Case {
        const char* path;
        const char* switches;
        double factor;  // 0: not known
    };
    const Case cases[] = {
        {"C:\\mpcdec\\mpcdec.exe", "", 1},
        {"C:\\mppdec\\MPPDEC.EXE", "", 1},
        {"\\\\nas\\tools\\mppdec", "--gain 0", 1},
        {"mppdec.exe", "--gain 1", 1},
        {"C:\\mppdec\\mppdec.exe", "--gain 2", title},
        {"C:\\mppdec\\mppdec.exe", "--gain 7", title},
        {"C:\\mppdec\\mppdec.exe", "--gain 3", album},
        {"C:\\mppdec\\mppdec.exe", "--gain  2\t--scale 0.5", title * 0.5},
        {"C:\\mppdec\\mppdec.exe", "--scale 4 --prev", 32767 / 29492.0},  // 0.9 is 29491
        {"C:\\mppdec\\mppdec.exe", "--prev --gain 3 --scale 2", album * 2},
        {"\"C:\\Program Files\\mppdec\\mppdec.exe\"", "--gain 3 --scale 8 --prev", 32767 / 31131.0},
        {"C:\\ffmpeg\\ffmpeg.exe", "", 0},
        {"C:\\mppdec\\mppdec2.exe", "--gain 2", 0},
        {"C:\\mppdec\\mppdec.exe", "--scale 0", 0},
    };
    for (const Case& c : cases) {
        double factor = -1;
        const bool known = DecoderGainFactor({c.path, c.switches}, HeaderGain(), factor);
        EXPECT_EQ(c.factor != 0, known) << c.path << " " << c.switches;
        if (known && c.factor != 0) {
            EXPECT_NEAR(c.factor, factor, 1e-6) << c.path << " " << c.switches;
        }
    }
}

// The values of the tag where it has any, else the header's; corrected for
// the decoder's gain; written with "." and only where they exist.
TEST(DecoderGain, TheMp3CarriesTheValuesAsIfNoGainHadBeenApplied) {
    const std::vector<TextTag> texts = {{"Title", {"x"}},
                                        {"replaygain_track_gain", {"-6.00 dB"}},
                                        {"Replaygain_Track_Peak", {" 0.8 "}},
                                        {"REPLAYGAIN_ALBUM_GAIN", {"-8.5dB"}},
                                        {"REPLAYGAIN_ALBUM_PEAK", {"0,9"}},
                                        {"REPLAYGAIN_REFERENCE_LOUDNESS", {"89.0 dB"}}};
    const auto carried = [&](const char* path, const char* switches,
                             const std::vector<TextTag>& source) {
        std::vector<TextTag> result = source;
        PutReplayGainForMp3({path, switches}, HeaderGain(), result);
        std::vector<std::string> shown;
        for (const TextTag& text : result)
            shown.push_back(text.key + "=" + text.values.at(0));
        return shown;
    };
    EXPECT_EQ((std::vector<std::string>{"Title=x", "REPLAYGAIN_TRACK_GAIN=+0.00 dB",
                                        "REPLAYGAIN_TRACK_PEAK=0.400950",
                                        "REPLAYGAIN_ALBUM_GAIN=-2.50 dB"}),
              carried("C:\\mppdec\\mppdec.exe", "--gain 2", texts));
    EXPECT_EQ((std::vector<std::string>{"Title=x", "REPLAYGAIN_TRACK_GAIN=-6.00 dB",
                                        "REPLAYGAIN_TRACK_PEAK=0.800000",
                                        "REPLAYGAIN_ALBUM_GAIN=-8.50 dB"}),
              carried("mpcdec.exe", "", texts));
    EXPECT_EQ((std::vector<std::string>{
                  "Title=x", "REPLAYGAIN_TRACK_GAIN=-6.00 dB", "REPLAYGAIN_TRACK_PEAK=0.900000",
                  "REPLAYGAIN_ALBUM_GAIN=-12.00 dB", "REPLAYGAIN_ALBUM_PEAK=0.950000"}),
              carried("mpcdec.exe", "", {texts[0]}));
    EXPECT_EQ(std::vector<std::string>{"Title=x"}, carried("C:\\bin\\ffmpeg.exe", "", texts));
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
