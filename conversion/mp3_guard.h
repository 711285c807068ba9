#pragma once

#include <string>

#include "path_lock.h"

// Keeps the MP3 that is there before a new one of its name is made: it is
// moved aside, to "<name>.mp3.bramkot-old" in its own folder, while the tools
// run; it is deleted when the new one converted and moved back, byte for
// byte, when it did not. Should the program end in between, the next run of
// that file finds it there and puts it back before anything else. While a
// guard is begun, other windows keep away from its MP3 (paths in UTF-8).
class Mp3Guard {
public:
    explicit Mp3Guard(const std::string& mp3);
    ~Mp3Guard();  // restores, unless Keep or Restore came first
    Mp3Guard(const Mp3Guard&) = delete;
    Mp3Guard& operator=(const Mp3Guard&) = delete;

    // False, with the reason in `problem`, when another window is working on
    // this MP3 or the MP3 there cannot be moved aside.
    bool Begin(std::string& problem);
    // The new MP3 converted: the old one goes.
    void KeepNew();
    // The new one did not: the old one comes back. False when it cannot; it
    // then stays at AsidePath().
    bool Restore();

    const std::string& AsidePath() const { return m_aside; }

private:
    std::string m_mp3;
    std::string m_aside;
    PathLock m_turn;
    bool m_movedAside = false;
    bool m_settled = false;
};

std::string AsidePathOf(const std::string& mp3);
