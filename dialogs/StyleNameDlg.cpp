#include "dialogs/StyleNameDlg.h"

#include "services/LanguageTable.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

namespace fw {

namespace {

wxString Ui(const std::string& text)
{
    return wxString::FromUTF8(text);
}

}  // namespace

CStyleNameDlg::CStyleNameDlg(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, Ui(langStr("STYLE_NAME")), wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE)
{
    m_field = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(260, -1));

    auto* buttons = new wxStdDialogButtonSizer;
    auto* ok = new wxButton(this, wxID_OK, Ui(langStr("MFC_OK")));
    ok->SetDefault();
    buttons->AddButton(ok);
    buttons->AddButton(new wxButton(this, wxID_CANCEL, Ui(langStr("MFC_CANCEL"))));
    buttons->Realize();

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
    m_field->ChangeValue(Ui(name));
    m_field->SelectAll();
}

void CStyleNameDlg::OnOk(wxCommandEvent& /*event*/)
{
    m_chosen = m_field->GetValue().ToStdString(wxConvUTF8);
    EndModal(wxID_OK);
}

}  // namespace fw
