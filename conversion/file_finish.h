#pragma once

#include <string>

#include "decoder_gain.h"
#include "file_transaction.h"

// The last step of a file whose pipeline made its MP3: the Musepack file's
// tags go into the MP3 the tools wrote, which comes to the work file if the
// encoder wrote it beside the alias; then the work file takes the MP3's true
// name in one step, over the MP3 there. Empty when the MP3 is in place;
// otherwise why not, and the MP3 there is as it was.
std::string FinishMp3(FileTransaction& file, const DecoderCall& decoder);
