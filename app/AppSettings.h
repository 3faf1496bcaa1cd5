#pragma once
// Per-user settings: one file under the vendor's folder holds the recent
// files, the visual style and the dialog placements.

#include <wx/string.h>

class wxConfigBase;

namespace fw {

// FORMWRIGHT_SETTINGS_FILE when set (tests point it into a temp folder),
// else <XDG config folder>/Tessevar/Formwright.conf.
wxString GetSettingsFilePath();

// Opens the settings file and makes it the global settings store, which
// wx deletes at exit; the folder is created when missing. Answers the store.
wxConfigBase* InstallSettings();

// The stored visual style (a command id 205..219); 219 when unset or unknown.
int ReadApplicationLook(const wxConfigBase& config);
void WriteApplicationLook(wxConfigBase& config, int look);

}  // namespace fw
