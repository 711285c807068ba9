#include "mp3_guard.h"

#include "file_system.h"
#include "mp3_finish.h"

std::string AsidePathOf(const std::string& mp3) {
    return mp3 + ".bramkot-old";
}

Mp3Guard::Mp3Guard(const std::string& mp3) : m_mp3(mp3), m_turn("MP3", mp3) {}

bool Mp3Guard::Begin(std::string& problem) {
    if (!m_turn.TryTake()) {
        problem = "another BRAMKOT window is writing " + m_mp3 + " right now";
        return false;
    }
    // Left by an older version that ended in the middle of this file: the
    // MP3 there now is that run's, never checked.
    const std::string aside = AsidePathOf(m_mp3);
    if (QueryFileState(aside).exists && !MoveFileOver(aside, m_mp3)) {
        problem = "the earlier MP3, moved aside to " + aside +
                  ", cannot be put back: " + LastSystemErrorText();
        return false;
    }
    RemoveFile(TaggedCopyPath(m_mp3));
    return true;
}
