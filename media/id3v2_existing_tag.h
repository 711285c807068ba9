#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "id3v2_frames.h"

// Reads the body of an ID3v2.3 tag (frames, then perhaps padding: zero
// bytes): `framesSize` is where the frames end, `present` gets the
// identities of the frames. False for anything not read safely: a malformed
// frame, a compressed, encrypted or grouped one, or more than 1024 frames.
bool ReadExistingFrames(const std::string& body, std::size_t& framesSize,
                        std::vector<FrameIdentity>& present);
