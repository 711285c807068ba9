#pragma once

// The name of genre `index` of an ID3v1 tag, or null when it has none.
const char* Id3v1GenreName(int index);
