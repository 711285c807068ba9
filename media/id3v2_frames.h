#pragma once

#include <string>
#include <vector>

#include "source_tags.h"

// What a tag must not hold twice: the frame ID, followed for TXXX, COMM and
// USLT frames by the description. An APIC frame has two: "APIC" and its
// picture type in two hex digits, and "APIC:" and its description. Frame IDs
// are capitals and digits, so letter case matters only in descriptions,
// which compare without ASCII letter case.
using FrameIdentity = std::string;

bool IsPresent(const std::vector<FrameIdentity>& present, const FrameIdentity& identity);
FrameIdentity PictureTypeIdentity(unsigned char pictureType);
FrameIdentity PictureDescriptionIdentity(const std::string& description);

struct Id3v2Frame {
    FrameIdentity identity;
    std::string payload;
};

// The frame that a text item's key goes to (see TextFrames): a tag holding a
// frame of this identity already holds the item.
FrameIdentity ItemIdentity(const TextTag& text);

// The frames of a text item, by its key without letter case: Title TIT2,
// Artist TPE1, Album TALB, Album Artist TPE2, Year TYER (see below), Track
// TRCK, Disc TPOS, Genre TCON, Comment COMM, Lyrics USLT (both with language
// "eng" and an empty description), Composer TCOM; any other key a TXXX frame
// with the key as its description (so "REPLAYGAIN_TRACK_GAIN" and the like,
// which players read from TXXX frames).
//
// Several values are joined by "/" in TPE1 and TCOM, the frames of people,
// and by "; " elsewhere. A Year of four digits goes to TYER; a date
// "YYYY-MM-DD", with or without a time "THH:MM" or "THH:MM:SS", to TYER,
// TDAT ("DDMM") and TIME ("HHMM"); other text gives the four digits it starts
// with, if it does, to TYER and the whole text to a TXXX frame named after the
// item. Text is ISO-8859-1 where every character fits, else UTF-16 with a
// byte order mark.
std::vector<Id3v2Frame> TextFrames(const TextTag& text);

// An APIC frame of the picture with this description.
Id3v2Frame PictureFrame(const PictureTag& picture, const std::string& description);
