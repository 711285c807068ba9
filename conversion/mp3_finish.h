#pragma once

#include <string>

// The work on an MP3 after its pipeline, paths in UTF-8.

// False when the MP3 lasts more than half a second less than the Musepack
// stream it was made from (a damaged file the decoder gave up on halfway);
// true also when either length cannot be read.
bool Mp3IsComplete(const std::string& musepack, const std::string& mp3);

// Puts the Musepack file's tags into the MP3's ID3v2.3 tag, beside the frames
// the encoder wrote itself. The tagged file is written beside the MP3 and
// moved over it in one step; when anything fails, the MP3 stays as it was.
void CarryTagsOver(const std::string& musepack, const std::string& mp3);
