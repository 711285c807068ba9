#pragma once

#include "afx_string.h"
#include "conversion_settings.h"

// The main dialog's setting members, in the order of kSettingRows.
struct SettingsFields {
    CString* fields[kSettingCount];
};

ConversionSettings ToConversionSettings(const SettingsFields& fields);
void AssignSettingsFields(const SettingsFields& fields, const ConversionSettings& settings);
