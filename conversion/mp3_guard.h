#pragma once

#include <string>

#include "path_lock.h"

// Keeps other windows away from an MP3 while one converts it: begun, it
// holds a lock of the MP3's true name until it is gone (paths in UTF-8).
// The MP3 there is never touched before its replacement is whole; an older
// BRAMKOT moved it aside to "<name>.mp3.bramkot-old" instead, and a run of
// that file puts such a leftover back first.
class Mp3Guard {
public:
    explicit Mp3Guard(const std::string& mp3);
    Mp3Guard(const Mp3Guard&) = delete;
    Mp3Guard& operator=(const Mp3Guard&) = delete;

    // False, with the reason in `problem`, when another window is working on
    // this MP3 or an MP3 an older version left aside cannot be put back.
    bool Begin(std::string& problem);

private:
    std::string m_mp3;
    PathLock m_turn;
};

std::string AsidePathOf(const std::string& mp3);
