#pragma once

#include "conversion_settings.h"
#include "file_queue.h"

inline constexpr const char kBatchFileName[] = "bramkot.bat";

// Converts the queue's entries one at a time, first entry first: writes the
// entry's pipeline to "bramkot.bat" in the current directory, runs it through
// the command processor and waits for it, and deletes the batch file. An
// entry leaves the queue only when its MP3 file was made; one that failed
// stays where it is, without an MP3 of this run, and the run goes on with the
// next (one pass: pressing "Convert Files" again retries what is left). Stops,
// leaving the current entry and all later ones, when the batch file cannot be
// written whole.
void RunConversionQueue(const ConversionSettings& settings, FileQueue& queue);
