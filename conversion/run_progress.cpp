#include "run_progress.h"

#include <algorithm>
#include <cmath>

namespace {

// With no file finished, the first estimate waits this long.
const double kFirstEstimateAfter = 10;
// How fast the time shown follows a new estimate: it covers 1 - 1/e of the
// way in this many seconds.
const double kSmoothingSeconds = 4;

// The audio of the files in work converted `expected` seconds of audio after
// the last end of a file, at the run's rate: all of it at first, then ever
// less, so that files that take longer than the run's rate says never
// leave the estimate at nothing while they are still in work.
double ConvertedInWork(double inWork, double expected) {
    const double half = inWork / 2;
    if (expected <= half)
        return expected;
    return inWork - half * std::exp(-(expected - half) / half);
}

std::string Counted(long count, const char* unit) {
    return std::to_string(count) + ' ' + unit + (count == 1 ? "" : "s");
}

}  // namespace

void RunProgress::Join(const std::string& path) {
    ++m_files[path].entries;
}

void RunProgress::LengthRead(const std::string& path, double seconds) {
    const auto found = m_files.find(path);
    if (found != m_files.end())
        found->second.seconds = std::max(0.0, seconds);
}

void RunProgress::Finish(const std::string& path, double now) {
    File& file = m_files[path];
    file.entries = std::max(file.entries, file.finished + 1);
    ++file.finished;
    ++m_finishedEntries;
    m_lastFinish = now;
}

double RunProgress::AverageLength() const {
    double known = 0;
    int entries = 0;
    for (const auto& [path, file] : m_files) {
        if (file.seconds > 0) {
            known += file.seconds * file.entries;
            entries += file.entries;
        }
    }
    return entries > 0 ? known / entries : 1;
}

RunProgress::Audio RunProgress::Sum() const {
    const double average = AverageLength();
    Audio audio;
    for (const auto& [path, file] : m_files) {
        const double length = file.seconds > 0 ? file.seconds : average;
        audio.run += length * file.entries;
        audio.finished += length * file.finished;
    }
    return audio;
}

double RunProgress::Fraction() const {
    const Audio audio = Sum();
    return audio.run > 0 ? std::min(1.0, audio.finished / audio.run) : 0;
}

// The run's rate is the audio finished per second of the run; no faster,
// though, than if the files in work all ended now.
double RunProgress::EstimateSecondsLeft(double now, const std::vector<std::string>& inWork) const {
    if (now <= 0 || (m_finishedEntries == 0 && now < kFirstEstimateAfter))
        return -1;
    const Audio audio = Sum();
    const double average = AverageLength();
    double inWorkAudio = 0;
    for (const std::string& path : inWork) {
        const auto found = m_files.find(path);
        inWorkAudio +=
            found != m_files.end() && found->second.seconds > 0 ? found->second.seconds : average;
    }
    double rate = (audio.finished + inWorkAudio) / now;
    if (m_finishedEntries > 0 && m_lastFinish > 0)
        rate = std::min(rate, audio.finished / m_lastFinish);
    if (rate <= 0)
        return -1;
    const double converted =
        audio.finished + ConvertedInWork(inWorkAudio, rate * std::max(0.0, now - m_lastFinish));
    return std::max(0.0, audio.run - converted) / rate;
}

double RunProgress::SecondsLeft(double now, const std::vector<std::string>& inWork) {
    const double estimate = EstimateSecondsLeft(now, inWork);
    if (estimate < 0)
        return -1;
    if (m_shown < 0) {
        m_shown = estimate;
    } else {
        const double elapsed = std::max(0.0, now - m_shownAt);
        const double countdown = std::max(0.0, m_shown - elapsed);
        const double weight = 1 - std::exp(-elapsed / kSmoothingSeconds);
        m_shown = countdown + (estimate - countdown) * weight;
    }
    m_shownAt = now;
    return m_shown;
}

std::string TimeLeftText(double seconds) {
    const long whole = std::lround(std::max(0.0, seconds));
    if (whole < 60)
        return "about " + Counted(std::max(whole, 1L), "second") + " left";
    const long minutes = std::lround(seconds / 60);
    if (minutes < 60)
        return "about " + Counted(minutes, "minute") + " left";
    const long hours = minutes / 60;
    return "about " + Counted(hours, "hour") +
           (minutes % 60 == 0 ? "" : ' ' + Counted(minutes % 60, "minute")) + " left";
}
