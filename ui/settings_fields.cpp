#include "settings_fields.h"

ConversionSettings ToConversionSettings(const SettingsFields& fields) {
    ConversionSettings settings;
    for (int i = 0; i < kSettingCount; ++i)
        settings.*kSettingRows[i].field = fields.fields[i]->GetString();
    return settings;
}

void AssignSettingsFields(const SettingsFields& fields, const ConversionSettings& settings) {
    for (int i = 0; i < kSettingCount; ++i)
        *fields.fields[i] = settings.*kSettingRows[i].field;
}
