#pragma once

#include <map>
#include <string>
#include <vector>

// How far a run is by the audio of its files rather than by their count, and
// how long it has left. Files are known by their path (UTF-8); an entry
// listed twice counts twice. Lengths are seconds of audio; times are seconds
// since the run started, given by the caller.
//
// A file whose length is not known (not read yet, or not readable) counts
// as the average of those known; while none is known, every file counts
// alike.
class RunProgress {
public:
    // An entry of the run: listed at its start or appended since.
    void Join(const std::string& path);
    // The length of the file's Musepack stream; 0 when it cannot be read.
    void LengthRead(const std::string& path, double seconds);
    // An entry of the run finished at `now`, converted or not.
    void Finish(const std::string& path, double now);

    // The audio of the finished entries against the audio of the run, 0 to 1.
    double Fraction() const;

    // The time left at `now`, with the files in work; negative while there
    // is no telling (before the first file finished and the first 10 s).
    // Ask at least once a second: the answer counts down between the ends
    // of files and moves only part of the way towards each new estimate, so
    // it never jumps up by more than the evidence shows.
    double SecondsLeft(double now, const std::vector<std::string>& inWork);

    // The time left from the evidence alone, unsmoothed; negative while
    // there is no telling.
    double EstimateSecondsLeft(double now, const std::vector<std::string>& inWork) const;

private:
    struct File {
        int entries = 0;
        int finished = 0;
        double seconds = 0;  // 0 while not known
    };
    struct Audio {
        double run = 0;
        double finished = 0;
    };
    Audio Sum() const;
    double AverageLength() const;

    std::map<std::string, File> m_files;
    int m_finishedEntries = 0;
    double m_lastFinish = 0;
    double m_shown = -1;  // the last answer of SecondsLeft
    double m_shownAt = 0;
};

// The time left in words: "about 40 seconds left", "about 12 minutes
// left", "about 2 hours 10 minutes left".
std::string TimeLeftText(double seconds);
