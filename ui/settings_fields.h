#pragma once

#include "afx_string.h"
#include "conversion_settings.h"

// The main dialog's setting members, in the order of kSettingRows.
struct SettingsFields {
    CString* fields[kSettingCount];
};

// The main dialog's control of each setting, in the order of kSettingRows.
extern const int kSettingRowControls[kSettingCount];

ConversionSettings ToConversionSettings(const SettingsFields& fields);
void AssignSettingsFields(const SettingsFields& fields, const ConversionSettings& settings);
