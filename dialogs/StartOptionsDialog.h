#pragma once
// Asked right after the main window appears: create a new form file or open one.

#include <wx/dialog.h>
#include <wx/radiobox.h>

namespace fw {

class CFormDesignOptions : public wxDialog {
public:
    explicit CFormDesignOptions(wxWindow* parent);

    // 0: create a new form file (preselected), 1: open an existing one.
    // Changes only when the dialog is closed with OK.
    int GetChoice() const { return m_choice; }
    wxRadioBox* GetChoiceBox() const { return m_options; }

private:
    int m_choice = 0;
    wxRadioBox* m_options = nullptr;
};

}  // namespace fw
