#pragma once

#include "byte_source.h"
#include "source_tags.h"

enum class TagCopy { Unchanged, Written, Failed };

// Writes to `out` an ID3v2.3 tag holding the source tags, then the MP3's
// bytes after its own ID3v2 tag, copied in bounded chunks.
//
// Keys, without letter case: Title TIT2, Artist TPE1, Album TALB, Album Artist
// TPE2, Year TYER, Track TRCK, Disc TPOS, Genre TCON, Comment COMM (language
// "eng", empty description), Composer TCOM; any other key a TXXX frame with
// the key as its description. Several values of one key go into one frame,
// separated by NULs. Pictures become APIC frames of their type. Text is
// ISO-8859-1 where every character fits, else UTF-16 with a byte order mark.
// The tag has no padding.
//
// An ID3v2.3 tag the MP3 starts with (one without flags) keeps its frames
// byte for byte; the source tags only add frames it lacks: the same frame ID,
// TXXX and COMM of the same description, APIC of the same picture type.
//
// Unchanged, with nothing written: the MP3 starts with an ID3v2 tag of
// another version, with flags or with frames that cannot be read safely; or
// there is nothing to add. Failed: reading the MP3 or writing failed, part of
// the output may have been written.
TagCopy WriteTaggedMp3(ByteSource& mp3, const SourceTags& tags, ByteSink& out);
