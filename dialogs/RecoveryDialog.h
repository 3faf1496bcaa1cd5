#pragma once
// Lists the files an editor left with unsaved changes when it ended, and
// lets the designer restore, discard or keep them for later. The choices
// are recorded in the RecoveryChoices; the caller carries them out.

#include "dialogs/RecoveryChoices.h"

#include <wx/dialog.h>

class wxButton;
class wxListCtrl;

namespace fw {

class CRecoveryDialog : public wxDialog {
public:
    CRecoveryDialog(wxWindow* parent, RecoveryChoices& choices);

    wxListCtrl* GetList() const { return m_list; }
    wxButton* GetRestoreButton() const { return m_restore; }
    wxButton* GetDiscardButton() const { return m_discard; }
    wxButton* GetLaterButton() const { return m_later; }

private:
    void Fill();
    std::vector<int> SelectedRows() const;
    void Decide(RecoveryChoices::Choice choice);
    void OnDiscard(wxCommandEvent& event);

    RecoveryChoices& m_choices;
    wxListCtrl* m_list = nullptr;
    wxButton* m_restore = nullptr;
    wxButton* m_discard = nullptr;
    wxButton* m_later = nullptr;
};

}  // namespace fw
