#include "settings_fields.h"

ConversionSettings ToConversionSettings(const SettingsFields& fields) {
    ConversionSettings settings;
    settings.m_mppdecPath = fields.mppdecPath.GetString();
    settings.m_lamePath = fields.lamePath.GetString();
    settings.m_mppdecSwitches = fields.mppdecSwitches.GetString();
    settings.m_lameSwitches = fields.lameSwitches.GetString();
    settings.m_outputDir = fields.outputDir.GetString();
    settings.m_filesAtOnce = fields.filesAtOnce.GetString();
    return settings;
}

void AssignSettingsFields(const SettingsFields& fields, const ConversionSettings& settings) {
    fields.mppdecPath = settings.m_mppdecPath;
    fields.lamePath = settings.m_lamePath;
    fields.mppdecSwitches = settings.m_mppdecSwitches;
    fields.lameSwitches = settings.m_lameSwitches;
    fields.outputDir = settings.m_outputDir;
    fields.filesAtOnce = settings.m_filesAtOnce;
}
