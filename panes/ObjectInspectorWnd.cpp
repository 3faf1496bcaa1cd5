#include "panes/ObjectInspectorWnd.h"

#include "services/LanguageTable.h"

#include <algorithm>

#include <wx/dnd.h>
#include <wx/listctrl.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace fw {

namespace {

enum Column { NameColumn = 0, ValueColumn = 1 };

}  // namespace

CObjectInspectorWnd::CObjectInspectorWnd(wxWindow* parent) : wxPanel(parent, wxID_ANY)
{
    m_captionLabel = new wxStaticText(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                      wxST_ELLIPSIZE_END | wxST_NO_AUTORESIZE);
    m_search = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER);
    // The pane is narrow: a short hint, the wild cards in the tooltip.
    m_search->SetHint(wxString::FromUTF8(langStr("OBJ_PROPWND_SEARCH_HINT")));
    m_search->SetToolTip(wxString::FromUTF8(langStr("OBJCLASSDLG_SEARCH_HINT")));
    m_list = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                            wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_NO_HEADER | wxLC_HRULES | wxBORDER_THEME);
    m_list->AppendColumn(wxEmptyString);
    m_list->AppendColumn(wxEmptyString);
    // The description area: the internal name of the selected row.
    m_description = new wxStaticText(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                     wxST_ELLIPSIZE_END | wxST_NO_AUTORESIZE);
    ApplyFont();

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_captionLabel, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 6);
    sizer->Add(m_search, 0, wxEXPAND | wxALL, 4);
    sizer->Add(m_list, 1, wxEXPAND | wxLEFT | wxRIGHT, 4);
    sizer->Add(m_description, 0, wxEXPAND | wxALL, 6);
    SetSizer(sizer);

    m_search->Bind(wxEVT_TEXT_ENTER, &CObjectInspectorWnd::OnSearchEnter, this);
    m_search->Bind(wxEVT_TEXT, &CObjectInspectorWnd::OnSearchText, this);
    m_list->Bind(wxEVT_LIST_BEGIN_DRAG, &CObjectInspectorWnd::OnBeginDrag, this);
    m_list->Bind(wxEVT_LIST_ITEM_SELECTED, &CObjectInspectorWnd::OnSelected, this);
    m_list->Bind(wxEVT_SIZE, &CObjectInspectorWnd::OnSize, this);
    // The rows are drawn by a window inside the list; it gets the mouse.
    m_list->Bind(wxEVT_MOTION, &CObjectInspectorWnd::OnListMotion, this);
    for (wxWindow* inner : m_list->GetChildren())
        inner->Bind(wxEVT_MOTION, &CObjectInspectorWnd::OnListMotion, this);
    Bind(wxEVT_SYS_COLOUR_CHANGED, &CObjectInspectorWnd::OnSysColourChanged, this);
}

void CObjectInspectorWnd::SetObjectType(const std::string& title, const std::vector<std::string>& entries)
{
    if (m_model.SetObjectType(title, entries))
        Rebuild();
}

void CObjectInspectorWnd::Clear()
{
    m_model.Clear();
    Rebuild();
}

void CObjectInspectorWnd::ToggleExtended(FormDefinitionDocument& active,
                                         const std::vector<FormDefinitionDocument*>& openDocuments)
{
    m_model.ToggleExtended(active, openDocuments);
    Rebuild();
}

int CObjectInspectorWnd::SearchNext()
{
    const std::string filter = m_model.GetFilter();
    const int found = m_model.Search(m_search->GetValue().utf8_string());
    if (m_model.GetFilter() != filter)
        Rebuild();
    if (found >= 0)
        SelectRow(found);
    return found;
}

int CObjectInspectorWnd::RowAt(const wxPoint& listPoint) const
{
    int flags = 0;
    const long row = m_list->HitTest(listPoint, flags);
    return (flags & wxLIST_HITTEST_ONITEM) ? static_cast<int>(row) : -1;
}

int CObjectInspectorWnd::GetSelectedRow() const
{
    return static_cast<int>(m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED));
}

void CObjectInspectorWnd::SetFocus()
{
    m_list->SetFocus();
}

void CObjectInspectorWnd::Rebuild()
{
    m_captionLabel->SetLabel(wxString::FromUTF8(m_model.GetCaption()));
    m_captionLabel->SetToolTip(wxString::FromUTF8(m_model.GetCaption()));
    m_description->SetLabel(wxEmptyString);
    m_list->Freeze();
    m_list->DeleteAllItems();
    const std::vector<ObjectInspectorRow>& rows = m_model.GetRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const long item = m_list->InsertItem(static_cast<long>(i), wxString::FromUTF8(rows[i].name));
        m_list->SetItem(item, ValueColumn, wxString::FromUTF8(rows[i].value));
    }
    m_list->Thaw();
    FitColumns();
    Layout();
}

void CObjectInspectorWnd::SelectRow(int row)
{
    const long selected = m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    if (selected >= 0 && selected != row)
        m_list->SetItemState(selected, 0, wxLIST_STATE_SELECTED);
    m_list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                         wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    m_list->EnsureVisible(row);
}

void CObjectInspectorWnd::ApplyFont()
{
    const wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    m_search->SetFont(font);
    m_list->SetFont(font);
    m_description->SetFont(font.Smaller());
    m_captionLabel->SetFont(font.Bold());
}

void CObjectInspectorWnd::FitColumns()
{
    const int width = m_list->GetClientSize().GetWidth();
    if (width <= 0)
        return;
    // The localized names are what the user reads: their column fits the
    // longest one, between two fifths and two thirds of the list.
    int longest = 0;
    for (long i = 0; i < m_list->GetItemCount(); ++i)
        longest = std::max(longest, m_list->GetTextExtent(m_list->GetItemText(i, NameColumn)).GetWidth());
    const int name = std::clamp(longest + FromDIP(14), width * 2 / 5, width * 2 / 3);
    m_list->SetColumnWidth(NameColumn, name);
    m_list->SetColumnWidth(ValueColumn, width - name);
}

void CObjectInspectorWnd::OnSearchEnter(wxCommandEvent& /*event*/)
{
    SearchNext();
}

void CObjectInspectorWnd::OnSearchText(wxCommandEvent& event)
{
    const std::string filter = m_model.GetFilter();
    m_model.SetFilter(m_search->GetValue().utf8_string());
    if (m_model.GetFilter() != filter)
        Rebuild();
    event.Skip();
}

void CObjectInspectorWnd::OnBeginDrag(wxListEvent& event)
{
    const std::string text = m_model.GetDragText(static_cast<int>(event.GetIndex()));
    if (text.empty())
        return;
    wxTextDataObject data(wxString::FromUTF8(text));
    wxDropSource source(data, m_list);
    source.DoDragDrop(wxDrag_AllowMove);
}

void CObjectInspectorWnd::OnSelected(wxListEvent& event)
{
    const std::vector<ObjectInspectorRow>& rows = m_model.GetRows();
    const long row = event.GetIndex();
    if (row >= 0 && row < static_cast<long>(rows.size()))
        m_description->SetLabel(wxString::FromUTF8(rows[row].description));
    event.Skip();
}

wxString CObjectInspectorWnd::CutTextAt(const wxPoint& listPoint) const
{
    const int row = RowAt(listPoint);
    if (row < 0)
        return wxString();
    const int column = listPoint.x < m_list->GetColumnWidth(NameColumn) ? NameColumn : ValueColumn;
    const wxString text = m_list->GetItemText(row, column);
    // The list leaves a few pixels of margin on either side of a cell's text.
    const int room = m_list->GetColumnWidth(column) - FromDIP(8);
    return m_list->GetTextExtent(text).GetWidth() > room ? text : wxString();
}

void CObjectInspectorWnd::OnListMotion(wxMouseEvent& event)
{
    event.Skip();
    auto* window = dynamic_cast<wxWindow*>(event.GetEventObject());
    if (!window)
        return;
    const wxString tip = CutTextAt(m_list->ScreenToClient(window->ClientToScreen(event.GetPosition())));
    if (tip != window->GetToolTipText())
        window->SetToolTip(tip);
}

void CObjectInspectorWnd::OnSize(wxSizeEvent& event)
{
    FitColumns();
    event.Skip();
}

void CObjectInspectorWnd::OnSysColourChanged(wxSysColourChangedEvent& event)
{
    ApplyFont();
    Layout();
    event.Skip();
}

}  // namespace fw
