#pragma once
// Command icons from the installed icon theme (scalable files, drawn at the
// size asked for); a letter on a rounded square when the theme lacks one.

#include <wx/bitmap.h>
#include <wx/string.h>

#include <string>

namespace fw {

// The path of the theme's file for an icon name at about that size, or ""
// when the theme has none.
std::string FindThemeIcon(const std::string& name, int size);
// The icon at size x size pixels; the fallback shows the first letter of
// `fallbackText` (the command's label).
wxBitmap GetIcon(const std::string& name, int size, const wxString& fallbackText);
// The stand-in drawn in code.
wxBitmap DrawLetterIcon(const wxString& text, int size);

}  // namespace fw
