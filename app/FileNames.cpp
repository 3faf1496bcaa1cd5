#include "app/FileNames.h"

#include <wx/strconv.h>

namespace fw {

namespace {

// What the toolkit uses for UTF-8 file names: bytes that are not UTF-8
// become octal escapes, and come back as the same bytes.
wxMBConv& FileNameConversion()
{
    static wxMBConvUTF8 conversion(wxMBConvUTF8::MAP_INVALID_UTF8_TO_OCTAL);
    return conversion;
}

}  // namespace

wxString FileNameFromBytes(const char* bytes)
{
    return wxString(bytes, FileNameConversion());
}

std::string FileNameBytes(const wxString& name)
{
    const wxCharBuffer bytes = name.mb_str(FileNameConversion());
    return bytes.data() ? std::string(bytes.data(), bytes.length()) : std::string();
}

}  // namespace fw
