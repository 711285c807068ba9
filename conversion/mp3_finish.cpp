#include "mp3_finish.h"

#include <cstdio>

#include "audio_length.h"
#include "id3v2_writer.h"
#include "platform_files.h"
#include "source_tags.h"

namespace {

// Runs `read` over the bytes of the file at `path`; false when it cannot be
// opened or `read` finds nothing.
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

// Writes the tagged copy; true when it is whole.
bool WriteTaggedCopy(const std::string& mp3, const SourceTags& tags, const std::string& copy) {
    std::FILE* in = OpenFile(mp3, "rb");
    if (in == nullptr)
        return false;
    std::FILE* out = OpenFile(copy, "wb");
    bool written = false;
    if (out != nullptr) {
        StdioByteSource source(in);
        StdioByteSink sink(out);
        written = WriteTaggedMp3(source, tags, sink) == TagCopy::Written;
        written = std::fflush(out) == 0 && written;
        written = std::fclose(out) == 0 && written;
    }
    std::fclose(in);
    return written;
}

}  // namespace

bool Mp3IsComplete(const std::string& musepack, const std::string& mp3) {
    AudioLength stream;
    AudioLength made;
    if (!ReadBytesOf(musepack,
                     [&](ByteSource& bytes) { return ReadMusepackLength(bytes, stream); }) ||
        !ReadBytesOf(mp3, [&](ByteSource& bytes) { return ReadMp3Length(bytes, made); }))
        return true;
    return !IsCutShort(stream, made);
}

void CarryTagsOver(const std::string& musepack, const std::string& mp3) {
    SourceTags tags;
    if (!ReadBytesOf(musepack, [&](ByteSource& bytes) { return ReadMusepackTags(bytes, tags); }) ||
        tags.Empty())
        return;
    const std::string copy = mp3 + ".bramkot-tags";
    if (!WriteTaggedCopy(mp3, tags, copy) || !MoveFileOver(copy, mp3))
        RemoveFile(copy);
}
