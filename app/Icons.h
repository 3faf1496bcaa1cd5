#pragma once
// Command icons from the installed icon theme (scalable files, drawn at the
// size asked for); a letter on a rounded square when the theme lacks one.

#include <wx/bitmap.h>
#include <wx/iconbndl.h>
#include <wx/string.h>

#include <string>

class wxTopLevelWindow;

namespace fw {

// The path of the theme's file for an icon name at about that size, or ""
// when the theme has none.
std::string FindThemeIcon(const std::string& name, int size);
// The icon at size x size pixels; the fallback shows the first letter of
// `fallbackText` (the command's label).
wxBitmap GetIcon(const std::string& name, int size, const wxString& fallbackText);
// The stand-in drawn in code.
wxBitmap DrawLetterIcon(const wxString& text, int size);

// The application's own icon at every size the data folder holds; empty when
// the folder has none.
wxIconBundle AppIcons();
// From now until `owner` is destroyed, every top-level window that comes up
// (dialogs, the help window, the preview) shows the application's icon;
// `owner` gets it at once.
void GiveWindowsAppIcon(wxTopLevelWindow& owner);

}  // namespace fw
