#pragma once

#include <string>

#include "file_outcome.h"
#include "mp3_finish.h"
#include "pipeline.h"

// Why a pipeline that ended did not make its file's MP3, in words for the
// user; empty when the MP3 the tools wrote may be finished. `before` and
// `after` are the states of the file the encoder writes before the pipeline
// started and once it ended; `length` is CheckMp3Length's (a default one
// when no MP3 was written). The MP3 counts only when the command processor
// returned 0 and the file is there, holds bytes and was written by this
// pipeline: an old MP3 that the tools failed to replace proves nothing. A
// damaged file the decoder gave up on halfway still ends with the encoder's
// status: only the MP3's length tells. For a batch file that was not
// written, `result.problem` names the file and where it was to be.
std::string PipelineVerdict(const PipelineResult& result, const FileState& before,
                            const FileState& after, const LengthCheck& length);
