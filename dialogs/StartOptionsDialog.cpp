#include "dialogs/StartOptionsDialog.h"

#include "dialogs/DialogTexts.h"
#include "services/LanguageTable.h"

#include <wx/button.h>
#include <wx/radiobox.h>
#include <wx/sizer.h>
#include <wx/valgen.h>

namespace fw {

CFormDesignOptions::CFormDesignOptions(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, LangText("FORM_OP_DLG_NAME"), wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE)
{
    const wxString choices[] = {LangText("FORM_OP_DLG_NEW"), LangText("FORM_OP_DLG_OPEN")};
    // The validator moves the selection into m_choice on OK only; Cancel
    // leaves the choice as it was.
    m_options = new wxRadioBox(this, wxID_ANY, LangText("FORM_OP_DLG_OPTIONS"), wxDefaultPosition, wxDefaultSize, 2,
                               choices, 1, wxRA_SPECIFY_COLS, wxGenericValidator(&m_choice));

    wxStdDialogButtonSizer* buttons = MakeOkCancelRow(this);
    wxButton* ok = buttons->GetAffirmativeButton();

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(m_options, 1, wxEXPAND | wxALL, 12);
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);
    SetSizerAndFit(top);
    SetMinSize(GetSize());
    CentreOnParent();
    ok->SetFocus();
}

}  // namespace fw
