#pragma once

#include <cstdint>
#include <vector>

#include "byte_source.h"
#include "source_tags.h"

const std::uint64_t kId3v1TagSize = 128;

// True when `file` ends in an ID3v1 tag. Its non-empty fields then go to
// `fields`, in this order, as Title, Artist, Album, Year, Comment, Track and
// Genre (the genre's name; an index without one gives no field).
bool ReadId3v1Tag(ByteSource& file, std::vector<TextTag>& fields);
