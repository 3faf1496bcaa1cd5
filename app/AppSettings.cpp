#include "app/AppSettings.h"

#include "app/CommandTable.h"
#include "app/VisualStyles.h"

#include <wx/fileconf.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

namespace fw {

namespace {

const char* const VendorFolder = "Tessevar";
const char* const SettingsFileName = "Formwright.conf";
const char* const LookKey = "ApplicationLook";

}  // namespace

wxString GetSettingsFilePath()
{
    wxString path;
    if (wxGetEnv("FORMWRIGHT_SETTINGS_FILE", &path) && !path.empty())
        return path;
    wxStandardPaths& paths = wxStandardPaths::Get();
    paths.SetFileLayout(wxStandardPaths::FileLayout_XDG);
    wxFileName file(paths.GetUserConfigDir(), SettingsFileName);
    file.AppendDir(VendorFolder);
    return file.GetFullPath();
}

wxConfigBase* InstallSettings()
{
    const wxString path = GetSettingsFilePath();
    const wxString folder = wxFileName(path).GetPath();
    if (!folder.empty() && !wxDirExists(folder))
        wxFileName::Mkdir(folder, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    auto* config = new wxFileConfig("Formwright", VendorFolder, path, wxEmptyString, wxCONFIG_USE_LOCAL_FILE);
    delete wxConfigBase::Set(config);
    return config;
}

int ReadApplicationLook(const wxConfigBase& config)
{
    long look = ID_VIEW_APPLOOK_DEFAULT;
    config.Read(LookKey, &look, static_cast<long>(ID_VIEW_APPLOOK_DEFAULT));
    return IsValidLook(static_cast<int>(look)) ? static_cast<int>(look) : ID_VIEW_APPLOOK_DEFAULT;
}

void WriteApplicationLook(wxConfigBase& config, int look)
{
    config.Write(LookKey, static_cast<long>(look));
    config.Flush();
}

}  // namespace fw
