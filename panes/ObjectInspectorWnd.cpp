#include "panes/ObjectInspectorWnd.h"

#include "model/PropertyEntries.h"

#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace fw {

CObjectInspectorWnd::CObjectInspectorWnd(wxWindow* parent) : wxPanel(parent, wxID_ANY)
{
    m_captionLabel = new wxStaticText(this, wxID_ANY, wxEmptyString);
    m_captionLabel->SetFont(m_captionLabel->GetFont().Bold());
    m_list = new wxListBox(this, wxID_ANY);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_captionLabel, 0, wxEXPAND | wxALL, 6);
    sizer->Add(m_list, 1, wxEXPAND);
    SetSizer(sizer);
}

void CObjectInspectorWnd::SetObjectType(const std::string& title, const std::vector<std::string>& entries)
{
    if (title == m_caption)
        return;
    if (!title.empty())
        m_caption = title;
    m_entries = entries;
    Rebuild();
}

void CObjectInspectorWnd::Clear()
{
    m_caption.clear();
    m_entries.clear();
    Rebuild();
}

void CObjectInspectorWnd::Rebuild()
{
    m_captionLabel->SetLabel(wxString::FromUTF8(m_caption));
    wxArrayString names;
    for (const std::string& entry : m_entries)
        names.Add(wxString::FromUTF8(SplitPropertyEntry(entry).localized));
    m_list->Freeze();
    m_list->Set(names);
    m_list->Thaw();
    Layout();
}

}  // namespace fw
