#include "dialogs/StyleNameDlg.h"

#include "dialogs/DialogTexts.h"
#include "services/LanguageTable.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

namespace fw {

CStyleNameDlg::CStyleNameDlg(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, LangText("STYLE_NAME"), wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE)
{
    m_field = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(260, -1));

    wxStdDialogButtonSizer* buttons = MakeOkCancelRow(this);
    wxButton* ok = buttons->GetAffirmativeButton();

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(m_field, 0, wxEXPAND | wxALL, 12);
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);
    SetSizerAndFit(top);
    CentreOnParent();

    ok->Bind(wxEVT_BUTTON, &CStyleNameDlg::OnOk, this);
    m_field->SetFocus();
}

void CStyleNameDlg::SetInitialName(const std::string& name)
{
    m_field->ChangeValue(FromUtf8(name));
    m_field->SelectAll();
}

void CStyleNameDlg::OnOk(wxCommandEvent& /*event*/)
{
    m_chosen = m_field->GetValue().ToStdString(wxConvUTF8);
    EndModal(wxID_OK);
}

}  // namespace fw
