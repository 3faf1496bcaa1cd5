#include "panes/PropertiesWnd.h"

#include "model/DiagramEntity.h"
#include "services/LanguageTable.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

namespace fw {

CPropertiesWnd::CPropertiesWnd(wxWindow* parent) : wxPanel(parent, wxID_ANY)
{
    m_heading = new wxStaticText(this, wxID_ANY, wxEmptyString);
    m_heading->SetFont(m_heading->GetFont().Bold());
    m_body = new wxStaticText(this, wxID_ANY, wxEmptyString);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_heading, 0, wxEXPAND | wxALL, 6);
    sizer->Add(m_body, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 6);
    SetSizer(sizer);
}

void CPropertiesWnd::SetEditor(CDiagramEditor* editor)
{
    m_editor = editor;
}

void CPropertiesWnd::SetSelection(CDiagramEntity* element)
{
    m_selection.clear();
    if (element)
        m_selection.push_back(element);
}

void CPropertiesWnd::AddSelection(CDiagramEntity* element)
{
    if (element)
        m_selection.push_back(element);
}

void CPropertiesWnd::ShowFormProperties()
{
    m_selection.clear();
    Show(wxString::FromUTF8(langStr("PROPWND_FORMPROP")), {});
}

void CPropertiesWnd::ShowControlProperties()
{
    std::vector<std::string> names;
    for (CDiagramEntity* element : m_selection) {
        std::string name = element->GetName();
        names.push_back(name.empty() ? element->GetType() : name);
    }
    Show(wxString::FromUTF8(langStr("PROPWND_CNTRLPROP")), names);
}

void CPropertiesWnd::Clear()
{
    m_editor = nullptr;
    m_selection.clear();
    Show(wxEmptyString, {});
}

void CPropertiesWnd::Show(const wxString& heading, const std::vector<std::string>& names)
{
    wxString body;
    for (const std::string& name : names) {
        if (!body.empty())
            body += "\n";
        body += wxString::FromUTF8(name);
    }
    m_heading->SetLabel(heading);
    m_body->SetLabel(body);
    Layout();
}

wxString CPropertiesWnd::GetShownText() const
{
    wxString body = m_body->GetLabel();
    return body.empty() ? m_heading->GetLabel() : m_heading->GetLabel() + "\n" + body;
}

}  // namespace fw
