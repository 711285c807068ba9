#include "settings_fields.h"

#include "resource.h"

const int kSettingRowControls[kSettingCount] = {
    IDC_MPPDEC_PATH, IDC_LAME_PATH,     IDC_MPPDEC_SWITCHES, IDC_LAME_SWITCHES,
    IDC_OUTPUT_DIR,  IDC_FILES_AT_ONCE, IDC_SKIP_DONE,
};

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
