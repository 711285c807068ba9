#pragma once

#include "byte_source.h"
#include "source_tags.h"

enum class TagCopy { Unchanged, Written, Failed };

// Writes to `out` an ID3v2.3 tag holding the source tags, then the MP3's
// bytes after its own ID3v2 tag, copied in bounded chunks; an ID3v1 tag at
// its end stays as it is.
//
// Text items become the frames id3v2_frames.h tells. Pictures become APIC
// frames of their type, the front cover first, each described by its file
// name (or "Front Cover", "Back Cover" where it has none), made unique by a
// number: " (2)". The tag has no padding.
//
// The encoder's own tags win. An ID3v2.3 tag the MP3 starts with (one
// without flags) keeps its frames byte for byte, and the fields of an ID3v1
// tag at its end, after that tag (Title, Artist, Album, Year, Comment, Track,
// Genre), go into the frames it lacks of theirs. The source tags then only
// add frames the tag lacks: the frame of a text item (TYER for a Year,
// whatever else it gives), TXXX, COMM and USLT of the same description, APIC
// of the same picture type.
//
// Unchanged, with nothing written: the MP3 starts with an ID3v2 tag of
// another version, with flags or with frames that cannot be read safely; or
// the source tags add nothing. Failed: reading the MP3 or writing failed,
// part of the output may have been written.
TagCopy WriteTaggedMp3(ByteSource& mp3, const SourceTags& tags, ByteSink& out);
