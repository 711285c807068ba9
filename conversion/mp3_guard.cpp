#include "mp3_guard.h"

#include "file_system.h"
#include "mp3_finish.h"

std::string AsidePathOf(const std::string& mp3) {
    return mp3 + ".bramkot-old";
}

Mp3Guard::Mp3Guard(const std::string& mp3)
    : m_mp3(mp3), m_aside(AsidePathOf(mp3)), m_turn("MP3", mp3) {}

Mp3Guard::~Mp3Guard() {
    if (!m_settled)
        Restore();
}

bool Mp3Guard::Begin(std::string& problem) {
    if (!m_turn.TryTake()) {
        problem = "another BRAMKOT window is writing " + m_mp3 + " right now";
        return false;
    }
    // Left by a run that ended in the middle of this file: the MP3 there now
    // is that run's, never checked.
    if (QueryFileState(m_aside).exists && !MoveFileOver(m_aside, m_mp3)) {
        problem = "the earlier MP3, moved aside to " + m_aside +
                  ", cannot be put back: " + LastSystemErrorText();
        m_settled = true;
        return false;
    }
    RemoveFile(TaggedCopyPath(m_mp3));
    if (QueryFileState(m_mp3).exists) {
        if (!MoveFileOver(m_mp3, m_aside)) {
            problem = "the MP3 already there cannot be moved aside while the new one is made (" +
                      LastSystemErrorText() + ")";
            m_settled = true;
            return false;
        }
        m_movedAside = true;
    }
    return true;
}

void Mp3Guard::KeepNew() {
    m_settled = true;
    if (m_movedAside)
        RemoveFile(m_aside);
}

bool Mp3Guard::Restore() {
    m_settled = true;
    return !m_movedAside || MoveFileOver(m_aside, m_mp3);
}
