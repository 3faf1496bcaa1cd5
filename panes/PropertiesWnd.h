#pragma once
// The properties pane. For now it says what it was told (the form, or the
// names of the selected elements); the property grid comes with a later
// release.

#include "editor/PropertiesPane.h"

#include <wx/panel.h>

#include <string>
#include <vector>

class wxStaticText;

namespace fw {

class CPropertiesWnd : public wxPanel, public PropertiesPane {
public:
    explicit CPropertiesWnd(wxWindow* parent);

    void SetEditor(CDiagramEditor* editor) override;
    void SetSelection(CDiagramEntity* element) override;
    void AddSelection(CDiagramEntity* element) override;
    void ShowFormProperties() override;
    void ShowControlProperties() override;

    // Forgets the editor and the selection (the last document closed).
    void Clear();

    CDiagramEditor* GetEditor() const { return m_editor; }
    // What the pane shows: the heading and one line per selected element.
    wxString GetShownText() const;

private:
    void Show(const wxString& heading, const std::vector<std::string>& names);

    CDiagramEditor* m_editor = nullptr;
    std::vector<CDiagramEntity*> m_selection;
    wxStaticText* m_heading = nullptr;
    wxStaticText* m_body = nullptr;
};

}  // namespace fw
