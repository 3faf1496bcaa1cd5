#pragma once
// File names are bytes to the system and need not be UTF-8. wxString holds
// them in the file-name encoding, which keeps bytes that are not UTF-8 as
// escapes; these two turn a name into that form and back, losing nothing.

#include <wx/string.h>

#include <string>

namespace fw {

// A name as the system gave it (a command-line argument, for example).
wxString FileNameFromBytes(const char* bytes);
// The bytes to hand to the system, and to the model's std::string paths.
std::string FileNameBytes(const wxString& name);

}  // namespace fw
