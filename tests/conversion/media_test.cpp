#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "audio_length.h"
#include "id3v2_writer.h"
#include "replay_gain.h"
#include "source_tags.h"
#include "temp_directory.h"

using namespace std::string_literals;

namespace {

std::string LittleEndian(std::uint32_t value, int bytes = 4) {
    std::string s;
    for (int i = 0; i < bytes; ++i)
        s += static_cast<char>(value >> 8 * i);
    return s;
}

std::string BigEndian(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string Id3v2Tag(int version, int flags, const std::string& body) {
    const std::size_t n = body.size();
    return "ID3"s + static_cast<char>(version) + '\0' + static_cast<char>(flags) +
           static_cast<char>(n >> 21 & 0x7F) + static_cast<char>(n >> 14 & 0x7F) +
           static_cast<char>(n >> 7 & 0x7F) + static_cast<char>(n & 0x7F) + body;
}

std::string Frame(const std::string& id, const std::string& payload, char flags = 0) {
    return id + BigEndian(static_cast<std::uint32_t>(payload.size())) + '\0' + flags + payload;
}

// type: 0 text, 1 binary, 2 external reference
std::string ApeItem(const std::string& key, const std::string& value, int type = 0) {
    return LittleEndian(static_cast<std::uint32_t>(value.size())) + LittleEndian(type << 1) + key +
           '\0' + value;
}

std::string ApeTag(const std::string& items, std::uint32_t count) {
    const std::string fields = LittleEndian(2000) +
                               LittleEndian(static_cast<std::uint32_t>(items.size() + 32)) +
                               LittleEndian(count);
    return "APETAGEX" + fields + LittleEndian(0xA0000000) + std::string(8, '\0') + items +
           "APETAGEX" + fields + LittleEndian(0x80000000) + std::string(8, '\0');
}

std::string Id3v1Tag(const std::string& title, int track, int genre) {
    std::string tag = "TAG" + title;
    tag.resize(125, ' ');
    return tag + '\0' + static_cast<char>(track) + static_cast<char>(genre);
}

// MPEG-1 layer III, 128 kbit/s, 44.1 kHz: 417 bytes, 418 with the padding bit.
std::string Mp3Frame(bool padded) {
    return "\xFF\xFB"s + (padded ? '\x92' : '\x90') + '\0' + std::string(padded ? 414 : 413, '\0');
}

// The payload of a text frame in ISO-8859-1.
std::string Latin1(const std::string& text) {
    return '\0' + text;
}

const std::string kPng = "\x89PNG\r\n\x1A\n picture"s;

class CountingSource : public ByteSource {
public:
    explicit CountingSource(const std::string& bytes) : m_memory(bytes.data(), bytes.size()) {}

    std::uint64_t Size() const override { return m_memory.Size(); }
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override {
        ++reads;
        largestRead = std::max(largestRead, count);
        return m_memory.ReadAt(offset, buffer, count);
    }

    int reads = 0;
    std::size_t largestRead = 0;

private:
    MemoryByteSource m_memory;
};

class FailingSink : public ByteSink {
public:
    bool Write(const void*, std::size_t) override { return false; }
};

TagCopy Copy(const std::string& mp3, const SourceTags& tags, std::string& out) {
    MemoryByteSource source(mp3.data(), mp3.size());
    StringByteSink sink(out);
    return WriteTaggedMp3(source, tags, sink);
}

// The frames of the ID3v2.3 tag `tagged` starts with, and what follows the
// tag by its declared size.
std::vector<std::pair<std::string, std::string>> SplitTagged(const std::string& tagged,
                                                             std::string& rest) {
    std::vector<std::pair<std::string, std::string>> frames;
    EXPECT_EQ("ID3\x03\0\0"s, tagged.substr(0, 6));
    std::size_t end = 10;
    for (int i = 6; i < 10; ++i)
        end += static_cast<std::size_t>(tagged[i] & 0x7F) << (7 * (9 - i));
    std::size_t pos = 10;
    while (pos + 10 <= end && end <= tagged.size()) {
        std::size_t size = 0;
        for (std::size_t i = pos + 4; i < pos + 8; ++i)
            size = size << 8 | static_cast<unsigned char>(tagged[i]);
        frames.emplace_back(tagged.substr(pos, 4), tagged.substr(pos + 10, size));
        pos += 10 + size;
    }
    EXPECT_EQ(end, pos);
    rest = tagged.substr(std::min(end, tagged.size()));
    return frames;
}

TEST(MusepackLength, HeadersBuiltByHand) {
    // 1000 frames, the last holding 300 samples (true gapless); 48 kHz (index 1).
    const std::string header = "MP+\x17"s + LittleEndian(1000) + LittleEndian(1 << 16) +
                               std::string(8, '\0') + LittleEndian(1u << 31 | 300 << 20) +
                               std::string(8, '\0');
    const std::string file = Id3v2Tag(3, 0, Frame("TIT2", "\0x"s)) + header + "audio";
    MemoryByteSource source(file.data(), file.size());
    AudioLength length;
    ASSERT_TRUE(ReadMusepackLength(source, length));
    EXPECT_EQ(999u * 1152 + 300, length.samples);
    EXPECT_EQ(48000u, length.sampleRate);

    // Version 8: the stream header packet, 15 bytes: 100000 samples (86 8D 20), the first 1000
    // silent (87 68), 48 kHz.
    const std::string version8 = "MPCKSH\x0F\0\0\0\0\x08\x86\x8D\x20\x87\x68\x20\x10"s + "APxx";
    MemoryByteSource source8(version8.data(), version8.size());
    ASSERT_TRUE(ReadMusepackLength(source8, length));
    EXPECT_EQ(100000u - 1000, length.samples);
    EXPECT_EQ(48000u, length.sampleRate);

    std::string version6 = header;
    version6[3] = '\x06';
    for (const std::string& bad : {version6, header.substr(0, 20), std::string("MPCK")}) {
        MemoryByteSource badSource(bad.data(), bad.size());
        EXPECT_FALSE(ReadMusepackLength(badSource, length));
    }
}

TEST(StreamReplayGain, HeadersBuiltByHand) {
    // Version 7: title gain -6.54 dB (as a signed 16-bit number), peak 32385; album gain
    // 1.23 dB, its peak unset.
    const std::string header = "MP+\x17"s + LittleEndian(1000) + LittleEndian(1 << 16) +
                               LittleEndian(0xFD72u << 16 | 32385) + LittleEndian(123 << 16) +
                               LittleEndian(0) + std::string(8, '\0');
    MemoryByteSource source(header.data(), header.size());
    ReplayGain gain = ReadStreamReplayGain(source);
    EXPECT_EQ(-6.54, gain.trackGain.value_or(0));
    EXPECT_EQ(32385 / 32768.0, gain.trackPeak.value_or(0));
    EXPECT_EQ(1.23, gain.albumGain.value_or(0));
    EXPECT_FALSE(gain.albumPeak);

    // Version 8: after the stream header, the ReplayGain packet: version 1, title gain 18268
    // (64.82 - 18268 / 256 = -6.54 dB), title peak 21578 (a half), the album's unset.
    const std::string version8 = "MPCKSH\x0F\0\0\0\0\x08\x86\x8D\x20\x87\x68\x20\x10"s +
                                 "RG\x0C\x01" + BigEndian(18268u << 16 | 21578) +
                                 std::string(4, '\0') + "APxx";
    MemoryByteSource source8(version8.data(), version8.size());
    gain = ReadStreamReplayGain(source8);
    EXPECT_NEAR(-6.54, gain.trackGain.value_or(0), 0.001);
    EXPECT_NEAR(0.5, gain.trackPeak.value_or(0), 0.0001);
    EXPECT_FALSE(gain.albumGain || gain.albumPeak);
}

TEST(Mp3Length, CountsFramesAfterJunkThroughFewReads) {
    // Junk between the tag and the stream holds a false frame header.
    std::string file = Id3v2Tag(3, 0, Frame("TIT2", "\0x"s)) + "junk\xFF\xFB\x90\0junk"s;
    const int kFrames = 9200;  // four minutes
    for (int i = 0; i < kFrames; ++i)
        file += Mp3Frame(i % 2 == 1);
    file += ApeTag(ApeItem("Title", "x"), 1) + Id3v1Tag("x", 1, 1);
    CountingSource source(file);
    AudioLength length;
    ASSERT_TRUE(ReadMp3Length(source, length));
    EXPECT_EQ(kFrames * 1152u, length.samples);
    EXPECT_EQ(44100u, length.sampleRate);
    EXPECT_LT(source.reads, 100);

    const std::string noFrame = Id3v2Tag(3, 0, "") + "\xFF\xFB\x90";
    MemoryByteSource empty(noFrame.data(), noFrame.size());
    EXPECT_FALSE(ReadMp3Length(empty, length));
}

TEST(CutShort, MoreThanHalfASecondLessAtAnySampleRate) {
    const AudioLength stream{441000, 44100};  // 10 s
    EXPECT_TRUE(IsCutShort(stream, {9 * 48000 + 19000, 48000}));
    EXPECT_FALSE(IsCutShort(stream, {9 * 48000 + 29000, 48000}));
    EXPECT_FALSE(IsCutShort(stream, {11 * 32000, 32000}));
    EXPECT_FALSE(IsCutShort(AudioLength(), {0, 44100}));
}

// The encoders the program drives, run here on a short sound.
class EncodedFiles : public InTempDirectory {
protected:
    static constexpr std::uint32_t kSamples = 3 * 44100 + 123;

    void SetUp() override {
        InTempDirectory::SetUp();
        if (!Run("command -v mpcenc && command -v lame"))
            GTEST_SKIP() << "mpcenc or lame is not installed";
        std::string samples;
        for (std::uint32_t i = 0; i < kSamples; ++i)
            samples += LittleEndian(i * 150 % 16000, 2) + LittleEndian(i * 70 % 12000, 2);
        const std::string format = LittleEndian(1, 2) + LittleEndian(2, 2) + LittleEndian(44100) +
                                   LittleEndian(44100 * 4) + LittleEndian(4, 2) +
                                   LittleEndian(16, 2);
        WriteFile("in.wav", "RIFF" + LittleEndian(36 + samples.size()) + "WAVEfmt " +
                                LittleEndian(16) + format + "data" + LittleEndian(samples.size()) +
                                samples);
    }

    static bool Run(const std::string& command) {
        return std::system(("{ " + command + "; } >/dev/null 2>&1").c_str()) == 0;
    }

    static AudioLength Length(const std::string& bytes, bool (*reader)(ByteSource&, AudioLength&)) {
        MemoryByteSource source(bytes.data(), bytes.size());
        AudioLength length;
        EXPECT_TRUE(reader(source, length));
        return length;
    }
};

TEST_F(EncodedFiles, LengthsMatchTheSoundAndATruncatedMp3IsCutShort) {
    ASSERT_TRUE(Run("mpcenc --silent in.wav out.mpc"));
    ASSERT_TRUE(Run("lame --silent in.wav tagged.mp3"));
    ASSERT_TRUE(Run("lame --silent -t in.wav bare.mp3"));  // no Info frame: frames counted
    const AudioLength source = Length(ReadFile("out.mpc"), ReadMusepackLength);
    EXPECT_EQ(kSamples, source.samples);
    EXPECT_EQ(44100u, source.sampleRate);
    EXPECT_EQ(kSamples, Length(ReadFile("tagged.mp3"), ReadMp3Length).samples);

    const std::string bare = ReadFile("bare.mp3");
    const AudioLength counted =
        Length(bare + ApeTag(ApeItem("Title", "x"), 1) + Id3v1Tag("x", 1, 1), ReadMp3Length);
    EXPECT_GE(counted.samples, kSamples);
    EXPECT_LT(counted.samples, kSamples + 3 * 1152);  // the encoder's delay and last frame
    EXPECT_FALSE(IsCutShort(source, counted));
    EXPECT_TRUE(IsCutShort(source, Length(bare.substr(0, bare.size() * 3 / 4), ReadMp3Length)));

    // An encoder that stopped early leaves an Info frame whose count the
    // bytes after it do not back; text is no MP3 at all.
    const std::string tagged = ReadFile("tagged.mp3");
    for (std::size_t size : {tagged.size() / 2, std::size_t(3000)})
        EXPECT_TRUE(IsCutShort(source, Length(tagged.substr(0, size), ReadMp3Length))) << size;
    AudioLength none;
    for (const std::string& damaged :
         {tagged.substr(0, 500), std::string("a text, not an MP3!\n")}) {
        MemoryByteSource damagedSource(damaged.data(), damaged.size());
        EXPECT_FALSE(ReadMp3Length(damagedSource, none)) << damaged.size();
    }
}

// mpcgain writes the ReplayGain packet of a version 8 stream: its gain reads
// as the decoder's own report has it, its peak is the largest sample the
// decoder makes of the stream.
TEST_F(EncodedFiles, ReplayGainAsTheAnalyserWritesIt) {
    if (!Run("command -v mpcgain && command -v mpcdec"))
        GTEST_SKIP() << "mpcgain or mpcdec is not installed";
    ASSERT_TRUE(
        Run("mpcenc --silent in.wav out.mpc && mpcgain out.mpc && "
            "mpcdec out.mpc out.wav && mpcdec -i out.mpc 2>info.txt"));
    const std::string stream = ReadFile("out.mpc");
    MemoryByteSource source(stream.data(), stream.size());
    const ReplayGain gain = ReadStreamReplayGain(source);
    ASSERT_TRUE(gain.trackGain && gain.trackPeak);
    const std::string decoded = ReadFile("out.wav");
    int largest = 0;
    for (std::size_t i = decoded.find("data") + 8; i + 1 < decoded.size(); i += 2)
        largest = std::max(
            largest,
            std::abs(static_cast<std::int16_t>(static_cast<unsigned char>(decoded[i]) |
                                               static_cast<unsigned char>(decoded[i + 1]) << 8)));
    EXPECT_NEAR(largest / 32768.0, *gain.trackPeak, 0.002);
    const std::string info = ReadFile("info.txt");
    const std::size_t report = info.find(" dB / ", info.find("track gain: "));
    ASSERT_NE(std::string::npos, report) << info;
    EXPECT_NEAR(std::atof(info.c_str() + report + 6), *gain.trackGain, 0.006);
    EXPECT_EQ(gain.trackGain, gain.albumGain);  // an album of one file
    EXPECT_EQ(gain.trackPeak, gain.albumPeak);
}

TEST(SourceTags, ApeTextAndCoversBeforeAnId3v1TagTheLastOfAKeyWinning) {
    const std::string items = ApeItem("TITLE", "One") + ApeItem("Artist", "A\0\0B"s) +
                              ApeItem("Cover Art (Front)", "f.png\0"s + kPng, 1) +
                              ApeItem("Cover Art (Back)", "b.tif\0II*\0"s, 1) +
                              ApeItem("Notes", "bin", 1) + ApeItem("Link", "http://x", 2) +
                              ApeItem("Title", "Two") +
                              ApeItem("cover art (front)", "g.png\0"s + kPng, 1);
    const std::string file = "MPCK" + ApeTag(items, 8) + Id3v1Tag("v1 title", 1, 1);
    MemoryByteSource source(file.data(), file.size());
    SourceTags tags;
    ASSERT_TRUE(ReadMusepackTags(source, tags));
    ASSERT_EQ(2u, tags.texts.size());
    EXPECT_EQ("Artist", tags.texts[0].key);
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), tags.texts[0].values);
    EXPECT_EQ("Title", tags.texts[1].key);
    EXPECT_EQ(std::vector<std::string>{"Two"}, tags.texts[1].values);
    ASSERT_EQ(1u, tags.pictures.size());
    EXPECT_EQ(3, tags.pictures[0].pictureType);
    EXPECT_EQ("image/png", tags.pictures[0].mimeType);
    EXPECT_EQ(kPng, tags.pictures[0].data);
    EXPECT_EQ("g.png", tags.pictures[0].fileName);
}

TEST(SourceTags, Id3v1FieldsWhenThereIsNoApeTag) {
    const std::string file = "MPCK" + Id3v1Tag("Caf\xE9", 7, 17);
    MemoryByteSource source(file.data(), file.size());
    SourceTags tags;
    ASSERT_TRUE(ReadMusepackTags(source, tags));
    std::vector<std::string> found;
    for (const TextTag& text : tags.texts)
        found.push_back(text.key + "=" + text.values.at(0));
    EXPECT_EQ((std::vector<std::string>{"Title=Caf\xC3\xA9", "Track=7", "Genre=Rock"}), found);
}

TEST(SourceTags, LyingSizesKeepOnlyWholeItems) {
    // The second item claims more bytes than the tag holds; the count claims more items.
    std::string items = ApeItem("Title", "One") + ApeItem("Album", "Two");
    items.replace(items.find("Album") - 8, 4, LittleEndian(1000));
    std::string file = "MPCK" + ApeTag(items, 0xFFFFFFFF);
    MemoryByteSource source(file.data(), file.size());
    SourceTags tags;
    ASSERT_TRUE(ReadMusepackTags(source, tags));
    ASSERT_EQ(1u, tags.texts.size());
    EXPECT_EQ("Title", tags.texts[0].key);
    EXPECT_NE(TagDamage::None, tags.damage);  // a tag not read whole is not carried over

    // A tag larger than the file.
    file.replace(file.size() - 20, 4, LittleEndian(static_cast<std::uint32_t>(file.size() + 1)));
    MemoryByteSource tooLarge(file.data(), file.size());
    EXPECT_TRUE(ReadMusepackTags(tooLarge, tags));
    EXPECT_TRUE(tags.Empty());
    EXPECT_EQ(TagDamage::Damaged, tags.damage);
}

TEST(Id3v2Writer, WritesEachKindOfFrameThenCopiesTheAudioInBoundedReads) {
    SourceTags tags;
    tags.texts = {{"title", {"Caf\xC3\xA9"}},
                  {"Artist", {"\xE6\x97\xA5\xE6\x9C\xAC", "B"}},  // U+65E5 U+672C
                  {"Album Artist", {"A", "B"}},
                  {"Composer", {"C", "D"}},
                  {"Year", {"2004-05-01T12:30:59"}},
                  {"Mood", {"Calm"}},
                  {"REPLAYGAIN_TRACK_GAIN", {"-3.20 dB"}},
                  {"Comment", {"Nice"}},
                  {"Lyrics", {"La la"}}};
    tags.pictures = {{4, "image/png", kPng, "cover.png"}, {3, "image/png", kPng, "COVER.png"}};
    std::string audio;
    for (int i = 0; audio.size() < 1024 * 1024; ++i)
        audio += Mp3Frame(i % 2 == 1);
    CountingSource source(audio);
    std::string out;
    StringByteSink sink(out);
    ASSERT_EQ(TagCopy::Written, WriteTaggedMp3(source, tags, sink));
    EXPECT_LE(source.largestRead, 64u * 1024);

    std::string rest;
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"TIT2", "\0Caf\xE9"s},
        {"TPE1", "\x01\xFF\xFE\xE5\x65\x2C\x67/\0B\0"s},
        {"TPE2", "\0A; B"s},
        {"TCOM", "\0C/D"s},
        {"TYER", Latin1("2004")},
        {"TDAT", Latin1("0105")},
        {"TIME", Latin1("1230")},
        {"TXXX", "\0Mood\0Calm"s},
        {"TXXX", "\0REPLAYGAIN_TRACK_GAIN\0-3.20 dB"s},
        {"COMM", "\0eng\0Nice"s},
        {"USLT", "\0eng\0La la"s},
        {"APIC", "\0image/png\0\x03"s + "COVER.png" + '\0' + kPng},
        {"APIC", "\0image/png\0\x04"s + "cover.png (2)" + '\0' + kPng}};
    EXPECT_EQ(expected, SplitTagged(out, rest));
    EXPECT_TRUE(rest == audio);

    // Each year: the frames written after TIT2, as "ID=text", NULs shown as "|".
    const std::vector<std::pair<std::string, std::vector<std::string>>> years = {
        {"2004", {"TYER=2004"}},
        {"2004-05-01", {"TYER=2004", "TDAT=0105"}},
        {"2004-05-01T23:59", {"TYER=2004", "TDAT=0105", "TIME=2359"}},
        {"2004-13-01", {"TYER=2004", "TXXX=year|2004-13-01"}},
        {"2004-05-01T24:00", {"TYER=2004", "TXXX=year|2004-05-01T24:00"}},
        {"ca. 2004", {"TXXX=year|ca. 2004"}}};
    for (const auto& year : years) {
        SourceTags dated;
        dated.texts = {{"Title", {"x"}}, {"year", {year.first}}};
        out.clear();
        ASSERT_EQ(TagCopy::Written, Copy(Mp3Frame(false), dated, out));
        std::vector<std::string> written;
        for (const auto& frame : SplitTagged(out, rest)) {
            std::string text = frame.second.substr(1);
            std::replace(text.begin(), text.end(), '\0', '|');
            written.push_back(frame.first + "=" + text);
        }
        written.erase(written.begin());
        EXPECT_EQ(year.second, written) << year.first;
    }
}

TEST(Id3v2Writer, KeepsTheEncodersFramesAndId3v1TagAndAddsOnlyWhatTheyLack) {
    // As the encoder writes them; its comment has an empty description without a byte order mark.
    const std::string frames = Frame("TSSE", "\0LAME"s) + Frame("TIT2", "\x01\xFF\xFEH\0i\0"s) +
                               Frame("TXXX", "\0MOOD\0calm"s) +
                               Frame("COMM",
                                     "\x01"
                                     "eng\0\0\xFF\xFEh\0"s) +
                               Frame("APIC", "\0image/jpeg\0\x03\0\xFF\xD8\xFF"s);
    // Its ID3v1 tag: the title (which its ID3v2 tag holds too), track 7, genre 17 (Rock).
    const std::string id3v1 = Id3v1Tag("Hi", 7, 17);
    const std::string mp3 =
        Id3v2Tag(3, 0, frames + std::string(50, '\0')) + Mp3Frame(false) + id3v1;
    SourceTags tags;
    tags.texts = {{"Title", {"Other"}}, {"Mood", {"x"}},    {"Comment", {"y"}},
                  {"Track", {"1"}},     {"Genre", {"Pop"}}, {"Album", {"New"}}};
    tags.pictures = {{3, "image/png", kPng, "f.png"}, {4, "image/png", kPng, ""}};
    std::string out;
    ASSERT_EQ(TagCopy::Written, Copy(mp3, tags, out));
    std::string rest;
    const auto written = SplitTagged(out, rest);
    EXPECT_EQ(frames, out.substr(10, frames.size()));
    ASSERT_EQ(9u, written.size());
    const std::vector<std::pair<std::string, std::string>> added = {
        {"TRCK", Latin1("7")},
        {"TCON", Latin1("Rock")},
        {"TALB", Latin1("New")},
        {"APIC", "\0image/png\0\x04"s + "Back Cover" + '\0' + kPng}};
    EXPECT_EQ(added, decltype(added)(written.begin() + 5, written.end()));
    EXPECT_EQ(Mp3Frame(false) + id3v1, rest);

    tags.texts.pop_back();
    tags.pictures.pop_back();
    out.clear();
    EXPECT_EQ(TagCopy::Unchanged, Copy(mp3, tags, out));
    EXPECT_TRUE(out.empty());
}

TEST(Id3v2Writer, LeavesTagsItCannotReadSafelyAndReportsWriteErrors) {
    SourceTags tags;
    tags.texts = {{"Album", {"New"}}};
    const std::string frame = Frame("TIT2", "\0x"s);
    for (const std::string& mp3 :
         {Id3v2Tag(4, 0, frame), Id3v2Tag(2, 0, frame), Id3v2Tag(3, 0x80, frame),
          Id3v2Tag(3, 0x40, frame), Id3v2Tag(3, 0, Frame("TIT2", "\0x"s, '\x80')),
          Id3v2Tag(3, 0, frame + "junk"), Id3v2Tag(3, 0, frame).substr(0, 14)}) {
        std::string out;
        EXPECT_EQ(TagCopy::Unchanged, Copy(mp3 + Mp3Frame(false), tags, out));
        EXPECT_TRUE(out.empty());
    }
    std::string out;
    EXPECT_EQ(TagCopy::Unchanged, Copy(Mp3Frame(false), SourceTags(), out));
    EXPECT_TRUE(out.empty());

    const std::string mp3 = Mp3Frame(false);
    MemoryByteSource source(mp3.data(), mp3.size());
    FailingSink failing;
    EXPECT_EQ(TagCopy::Failed, WriteTaggedMp3(source, tags, failing));
}

}  // namespace
