#pragma once

#include <string>

#include "conversion_settings.h"

// Words for the start of a failed file's reason when what the tools printed
// (UTF-8) shows that the decoder refused its switches: 'the decoder did not
// accept its switches "--gain 2" (it printed its usage)'. Empty when it does
// not show that.
std::string DecoderRefusal(const ConversionSettings& settings, const std::string& toolOutput);
