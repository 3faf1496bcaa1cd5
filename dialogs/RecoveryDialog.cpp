#include "dialogs/RecoveryDialog.h"

#include "dialogs/DialogTexts.h"

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace fw {

CRecoveryDialog::CRecoveryDialog(wxWindow* parent, RecoveryChoices& choices)
    : wxDialog(parent, wxID_ANY, LangText("REC_TITLE"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_choices(choices)
{
    auto* intro = new wxStaticText(this, wxID_ANY, LangText("REC_INTRO"));
    intro->Wrap(FromDIP(560));
    m_list = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, FromDIP(wxSize(600, 180)), wxLC_REPORT);
    m_list->AppendColumn(LangText("REC_FILE"), wxLIST_FORMAT_LEFT, FromDIP(360));
    m_list->AppendColumn(LangText("REC_TIME"), wxLIST_FORMAT_LEFT, FromDIP(170));
    m_list->AppendColumn(LangText("REC_FORMS"), wxLIST_FORMAT_RIGHT, FromDIP(60));

    m_restore = new wxButton(this, wxID_ANY, LangText("REC_RESTORE"));
    m_discard = new wxButton(this, wxID_ANY, LangText("REC_DISCARD"));
    // Closing the window any other way also leaves the copies for later.
    m_later = new wxButton(this, wxID_CANCEL, LangText("REC_LATER"));
    m_restore->SetDefault();

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(m_restore);
    buttons->Add(m_discard, 0, wxLEFT, FromDIP(8));
    buttons->AddStretchSpacer();
    buttons->Add(m_later);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(intro, 0, wxALL, FromDIP(12));
    top->Add(m_list, 1, wxEXPAND | wxLEFT | wxRIGHT, FromDIP(12));
    top->Add(buttons, 0, wxEXPAND | wxALL, FromDIP(12));
    SetSizerAndFit(top);
    CentreOnParent();

    m_restore->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Decide(RecoveryChoices::Choice::Restore); });
    m_discard->Bind(wxEVT_BUTTON, &CRecoveryDialog::OnDiscard, this);
    Fill();
    m_list->SetFocus();
}

void CRecoveryDialog::Fill()
{
    m_list->DeleteAllItems();
    for (int row = 0; row < m_choices.GetRowCount(); ++row) {
        const long item = m_list->InsertItem(row, FromUtf8(m_choices.GetFileText(row)));
        m_list->SetItem(item, 1, FromUtf8(m_choices.GetTimeText(row)));
        m_list->SetItem(item, 2, wxString::Format("%d", m_choices.GetFormCount(row)));
        // Everything is chosen at first: one press restores it all.
        m_list->SetItemState(item, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    }
}

std::vector<int> CRecoveryDialog::SelectedRows() const
{
    std::vector<int> rows;
    for (long item = m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); item >= 0;
         item = m_list->GetNextItem(item, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(static_cast<int>(item));
    return rows;
}

void CRecoveryDialog::Decide(RecoveryChoices::Choice choice)
{
    m_choices.Decide(SelectedRows(), choice);
    Fill();
    if (m_choices.GetRowCount() == 0)
        EndModal(wxID_OK);
}

void CRecoveryDialog::OnDiscard(wxCommandEvent& /*event*/)
{
    if (SelectedRows().empty())
        return;
    // Discarded changes cannot be brought back.
    if (wxMessageBox(LangText("REC_DISCARD_QUESTION"), LangText("MSG_TITLE_CONFIRMATION"),
                     wxYES_NO | wxNO_DEFAULT | wxICON_WARNING, this) == wxYES)
        Decide(RecoveryChoices::Choice::Discard);
}

}  // namespace fw
