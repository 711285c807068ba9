#pragma once

#include "conversion_settings.h"
#include "file_queue.h"

inline constexpr const char kBatchFileName[] = "bramkot.bat";

// Converts the queue's entries one at a time, first entry first: writes the
// entry's pipeline to "bramkot.bat" in the current directory, runs it through
// the command processor and waits for it, deletes the batch file and removes
// the entry, whatever the tools did. Stops, leaving the current entry and all
// later ones in the queue, when the batch file cannot be written whole.
void RunConversionQueue(const ConversionSettings& settings, FileQueue& queue);
