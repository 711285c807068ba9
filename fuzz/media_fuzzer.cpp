// Takes the input as a Musepack file and as an MP3: reads both lengths, the
// Musepack tags and ReplayGain, then writes the tags found, and a small fixed
// set, into the MP3, and checks what was written.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "audio_length.h"
#include "byte_source.h"
#include "fuzz_support.h"
#include "id3v2_writer.h"
#include "replay_gain.h"
#include "source_tags.h"
#include "text_encoding.h"

namespace {

bool OneOf(std::uint32_t value, const std::uint32_t* list, int count) {
    for (int i = 0; i < count; ++i) {
        if (list[i] == value)
            return true;
    }
    return false;
}

void CheckTags(const SourceTags& tags, bool found, std::size_t inputSize) {
    FuzzCheck(found == (!tags.Empty() || tags.damage != TagDamage::None),
              "the result disagrees with the tags found");
    for (const TextTag& text : tags.texts) {
        FuzzCheck(!text.key.empty() && !text.values.empty(), "an empty text tag");
        for (const TextTag& other : tags.texts)
            FuzzCheck(&other == &text || !EqualIgnoringAsciiCase(other.key, text.key),
                      "two text tags of one key");
        for (const std::string& value : text.values)
            FuzzCheck(!value.empty(), "an empty value");
    }
    for (const PictureTag& picture : tags.pictures) {
        FuzzCheck(picture.pictureType == 3 || picture.pictureType == 4,
                  "a picture of another type");
        FuzzCheck(!picture.mimeType.empty(), "a picture without a MIME type");
        FuzzCheck(picture.data.size() < inputSize, "a picture larger than the file");
    }
}

bool SameLength(ByteSource& a, ByteSource& b) {
    AudioLength first;
    AudioLength second;
    const bool firstFound = ReadMp3Length(a, first);
    const bool secondFound = ReadMp3Length(b, second);
    return firstFound == secondFound && first.samples == second.samples &&
           first.sampleRate == second.sampleRate;
}

// A Written copy: an ID3v2.3 tag without flags or padding, whose frames fill
// it exactly, then the input after its own ID3v2 tag. Writing the same tags
// into it again adds nothing, and its audio reads as the input's did.
void CheckCopy(const std::string& input, const SourceTags& tags) {
    MemoryByteSource source(input.data(), input.size());
    std::string out;
    StringByteSink sink(out);
    const TagCopy result = WriteTaggedMp3(source, tags, sink);
    FuzzCheck(result != TagCopy::Failed, "a copy between memory buffers failed");
    if (result == TagCopy::Unchanged) {
        FuzzCheck(out.empty(), "Unchanged, yet bytes were written");
        return;
    }
    FuzzCheck(out.size() >= 10 && std::memcmp(out.data(), "ID3\x03\0\0", 6) == 0,
              "the copy does not start with an ID3v2.3 header without flags");
    std::size_t size = 0;
    for (int i = 6; i < 10; ++i) {
        FuzzCheck((out[i] & 0x80) == 0, "the tag size is not syncsafe");
        size = size << 7 | static_cast<unsigned char>(out[i]);
    }
    FuzzCheck(size <= out.size() - 10, "the tag is larger than what was written");
    std::size_t pos = 10;
    while (pos < 10 + size) {
        FuzzCheck(10 + size - pos >= 10, "a frame header cut short");
        std::size_t frameSize = 0;
        for (std::size_t i = pos + 4; i < pos + 8; ++i)
            frameSize = frameSize << 8 | static_cast<unsigned char>(out[i]);
        FuzzCheck(frameSize <= 10 + size - pos - 10, "a frame runs past the tag");
        pos += 10 + frameSize;
    }
    const std::string rest = out.substr(10 + size);
    FuzzCheck(rest.size() <= input.size() &&
                  input.compare(input.size() - rest.size(), rest.size(), rest) == 0,
              "the bytes after the tag are not the end of the input");
    FuzzCheck(rest.size() == input.size() || input.compare(0, 3, "ID3") == 0,
              "input bytes were dropped where there was no ID3v2 tag");

    MemoryByteSource copy(out.data(), out.size());
    std::string again;
    StringByteSink againSink(again);
    FuzzCheck(WriteTaggedMp3(copy, tags, againSink) == TagCopy::Unchanged && again.empty(),
              "writing the same tags a second time changed the copy");
    FuzzCheck(SameLength(source, copy), "the copy's MP3 length differs from the input's");
}

// Each value of the stream header's ReplayGain and of the tag's, written as
// the MP3's items, reads back as itself to the last decimal place written;
// values beyond reason are left out.
void CheckReplayGain(ByteSource& source, const SourceTags& tags) {
    using Value = std::optional<double> ReplayGain::*;
    const struct {
        Value value;
        double halfStep;
    } kValues[] = {{&ReplayGain::trackGain, 0.005},
                   {&ReplayGain::trackPeak, 0.0000005},
                   {&ReplayGain::albumGain, 0.005},
                   {&ReplayGain::albumPeak, 0.0000005}};
    for (const ReplayGain& gain : {ReadStreamReplayGain(source), ReplayGainOfItems(tags.texts)}) {
        std::vector<TextTag> texts = tags.texts;
        PutReplayGainItems(gain, texts);
        const ReplayGain back = ReplayGainOfItems(texts);
        for (const auto& kind : kValues) {
            const std::optional<double>& written = gain.*kind.value;
            const std::optional<double>& read = back.*kind.value;
            FuzzCheck(!written || std::isfinite(*written), "a ReplayGain value not finite");
            if (written && std::fabs(*written) <= 1e6)
                FuzzCheck(read && std::fabs(*read - *written) <= kind.halfStep * 1.0001,
                          "a ReplayGain value does not read back as written");
            else
                FuzzCheck(!read, "a ReplayGain value beyond reason was written");
        }
    }
}

SourceTags FixedTags() {
    SourceTags tags;
    tags.texts = {{"Title", {"Fixed"}},
                  {"artist", {"\xE6\x97\xA5\xE6\x9C\xAC", "Second"}},
                  {"Year", {"2004-05-01T12:30"}},
                  {"Mood", {"calm"}},
                  {"REPLAYGAIN_TRACK_GAIN", {"-3.20 dB"}},
                  {"Lyrics", {"la", "la"}},
                  {"Comment", {"caf\xC3\xA9"}}};
    tags.pictures = {{4, "image/png", "\x89PNG\r\n\x1A\n", "cover.png"},
                     {3, "image/png", "\x89PNG\r\n\x1A\n", "cover.png"}};
    return tags;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const SourceTags kFixedTags = FixedTags();
    const std::string input(reinterpret_cast<const char*>(data), size);
    MemoryByteSource source(input.data(), input.size());

    AudioLength length;
    static const std::uint32_t kMusepackRates[] = {44100, 48000, 37800, 32000};
    if (ReadMusepackLength(source, length))
        FuzzCheck(OneOf(length.sampleRate, kMusepackRates, 4), "a Musepack sample rate unknown");
    static const std::uint32_t kMp3Rates[] = {44100, 48000, 32000, 22050, 24000,
                                              16000, 11025, 12000, 8000};
    if (ReadMp3Length(source, length))
        FuzzCheck(OneOf(length.sampleRate, kMp3Rates, 9), "an MP3 sample rate unknown");

    SourceTags tags;
    const bool found = ReadMusepackTags(source, tags);
    CheckTags(tags, found, size);
    CheckReplayGain(source, tags);

    CheckCopy(input, tags);
    CheckCopy(input, kFixedTags);
    return 0;
}
