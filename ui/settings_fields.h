#pragma once

#include "afx_string.h"
#include "conversion_settings.h"

// The main dialog's setting members, seen as one ConversionSettings.
struct SettingsFields {
    CString& mppdecPath;
    CString& lamePath;
    CString& mppdecSwitches;
    CString& lameSwitches;
    CString& outputDir;
    CString& filesAtOnce;
};

ConversionSettings ToConversionSettings(const SettingsFields& fields);
void AssignSettingsFields(const SettingsFields& fields, const ConversionSettings& settings);
