#include "mp3_finish.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "audio_length.h"
#include "file_system.h"
#include "id3v2_writer.h"
#include "source_tags.h"

namespace {

// Runs `read` over the bytes of the file at `path`, the one way this work
// reads a file; false when it cannot be opened or `read` finds nothing.
template <typename Read>
bool ReadBytesOf(const std::string& path, Read read) {
    std::FILE* file = OpenFile(path, "rb");
    if (file == nullptr)
        return false;
    StdioByteSource source(file);
    const bool found = read(source);
    std::fclose(file);
    return found;
}

// The C runtime's words for a failed read or write, taken where it failed.
std::string StreamErrorText(int error) {
    return error != 0 ? std::strerror(error) : "not every byte could be written";
}

// Writes the tagged copy; true when the writer was done with it, `result`
// its answer (Written only when every byte reached the copy), `problem` why
// not in the system's words.
bool WriteTaggedCopy(const std::string& mp3, const SourceTags& tags, const std::string& copy,
                     TagCopy& result, std::string& problem) {
    std::FILE* in = OpenFile(mp3, "rb");
    if (in == nullptr) {
        problem = LastSystemErrorText();
        return false;
    }
    std::FILE* out = OpenFile(copy, "wb");
    bool written = false;
    if (out == nullptr) {
        problem = LastSystemErrorText();
    } else {
        StdioByteSource source(in);
        StdioByteSink sink(out);
        errno = 0;
        result = WriteTaggedMp3(source, tags, sink);
        written = result != TagCopy::Failed && std::fflush(out) == 0;
        int error = errno;
        written = std::fclose(out) == 0 && written;
        if (!written) {
            error = error != 0 ? error : errno;
            problem = StreamErrorText(error);
            result = TagCopy::Failed;
        }
    }
    std::fclose(in);
    return written;
}

}  // namespace

LengthCheck CheckMp3Length(const std::string& musepack, const std::string& mp3) {
    AudioLength stream;
    AudioLength made;
    LengthCheck check;
    if (!ReadBytesOf(musepack,
                     [&](ByteSource& bytes) { return ReadMusepackLength(bytes, stream); }))
        return check;
    if (!ReadBytesOf(mp3, [&](ByteSource& bytes) { return ReadMp3Length(bytes, made); })) {
        check.audio = false;
        check.complete = false;
        check.streamSeconds = stream.Seconds();
        return check;
    }
    check.complete = !IsCutShort(stream, made);
    check.streamSeconds = stream.Seconds();
    check.mp3Seconds = made.Seconds();
    return check;
}

std::string TaggedCopyPath(const std::string& mp3) {
    return mp3 + ".bramkot-tags";
}

bool CarryTagsOver(const std::string& musepack, const std::string& mp3, const DecoderCall& decoder,
                   std::string& problem) {
    // A file gone since the decoder read it shows no tag, as it shows no length.
    SourceTags tags;
    ReplayGain header;
    ReadBytesOf(musepack, [&](ByteSource& bytes) {
        header = ReadStreamReplayGain(bytes);
        return ReadMusepackTags(bytes, tags);
    });
    if (tags.damage == TagDamage::Damaged) {
        problem = "its APEv2 tag is damaged, so its tags cannot be carried over";
        return false;
    }
    if (tags.damage == TagDamage::TooLarge) {
        problem = "its APEv2 tag is larger than BRAMKOT reads (32 MiB, 512 items)";
        return false;
    }
    PutReplayGainForMp3(decoder, header, tags.texts);
    if (tags.Empty())
        return true;
    const std::string copy = TaggedCopyPath(mp3);
    TagCopy written = TagCopy::Failed;
    std::string why;
    if (WriteTaggedCopy(mp3, tags, copy, written, why) && written == TagCopy::Unchanged) {
        RemoveFile(copy);
        return true;
    }
    if (written == TagCopy::Written) {
        if (MoveFileOver(copy, mp3))
            return true;
        why = LastSystemErrorText();
    }
    problem = "its tags could not be written into the MP3: " + why;
    RemoveFile(copy);
    return false;
}
