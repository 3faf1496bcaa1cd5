#pragma once
// Texts between the language table and the dialogs' windows, and the OK and
// Cancel row the small dialogs end with.

#include "services/LanguageTable.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/string.h>

#include <string>

namespace fw {

// The language table's text for a key.
inline wxString LangText(const char* key)
{
    return wxString::FromUTF8(langStr(key));
}

inline wxString FromUtf8(const std::string& text)
{
    return wxString::FromUTF8(text);
}

inline std::string ToUtf8(const wxString& text)
{
    return text.utf8_string();
}

// OK (the default button) and Cancel in the platform's order, with the
// language table's texts.
inline wxStdDialogButtonSizer* MakeOkCancelRow(wxWindow* dialog)
{
    auto* buttons = new wxStdDialogButtonSizer;
    auto* ok = new wxButton(dialog, wxID_OK, LangText("MFC_OK"));
    ok->SetDefault();
    buttons->AddButton(ok);
    buttons->AddButton(new wxButton(dialog, wxID_CANCEL, LangText("MFC_CANCEL")));
    buttons->Realize();
    return buttons;
}

}  // namespace fw
