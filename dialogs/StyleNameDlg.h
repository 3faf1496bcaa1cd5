#pragma once
// Asks for the name of a text style. The caller checks the name; OK takes
// whatever the field holds.

#include <wx/dialog.h>

#include <string>

class wxTextCtrl;

namespace fw {

class CStyleNameDlg : public wxDialog {
public:
    explicit CStyleNameDlg(wxWindow* parent);

    // Call before the dialog is shown.
    void SetInitialName(const std::string& name);
    // The field's text as OK left it.
    const std::string& GetChosenName() const { return m_chosen; }

    wxTextCtrl* GetNameField() const { return m_field; }

private:
    void OnOk(wxCommandEvent& event);

    wxTextCtrl* m_field = nullptr;
    std::string m_chosen;
};

}  // namespace fw
