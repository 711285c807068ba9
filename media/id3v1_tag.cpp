#include "id3v1_tag.h"

#include <cstring>

#include "id3v1_genre.h"
#include "text_encoding.h"

namespace {

// A field: Latin-1, ended by a NUL or padded with spaces.
void AddField(const char* key, const unsigned char* field, std::size_t size,
              std::vector<TextTag>& fields) {
    std::size_t length = 0;
    while (length < size && field[length] != 0)
        ++length;
    while (length > 0 && field[length - 1] == ' ')
        --length;
    if (length > 0)
        fields.push_back({key, {Latin1ToUtf8(reinterpret_cast<const char*>(field), length)}});
}

}  // namespace

// "TAG", title, artist, album (30 bytes each), year (4), comment (30; in
// version 1.1 28, a zero byte and the track number), genre (1).
bool ReadId3v1Tag(ByteSource& file, std::vector<TextTag>& fields) {
    fields.clear();
    unsigned char tag[kId3v1TagSize];
    const std::uint64_t size = file.Size();
    if (size < kId3v1TagSize || !file.ReadAt(size - kId3v1TagSize, tag, sizeof tag) ||
        std::memcmp(tag, "TAG", 3) != 0)
        return false;
    AddField("Title", tag + 3, 30, fields);
    AddField("Artist", tag + 33, 30, fields);
    AddField("Album", tag + 63, 30, fields);
    AddField("Year", tag + 93, 4, fields);
    const bool hasTrack = tag[125] == 0 && tag[126] != 0;
    AddField("Comment", tag + 97, hasTrack ? 28 : 30, fields);
    if (hasTrack) {
        const int track = tag[126];
        const char digits[] = {static_cast<char>('0' + track / 100),
                               static_cast<char>('0' + track / 10 % 10),
                               static_cast<char>('0' + track % 10)};
        const int leadingZeros = track >= 100 ? 0 : track >= 10 ? 1 : 2;
        fields.push_back({"Track", {std::string(digits + leadingZeros, digits + 3)}});
    }
    const char* genre = Id3v1GenreName(tag[127]);
    if (genre != nullptr)
        fields.push_back({"Genre", {genre}});
    return true;
}
