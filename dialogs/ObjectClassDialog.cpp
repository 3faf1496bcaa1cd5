#include "dialogs/ObjectClassDialog.h"

#include "dialogs/DialogTexts.h"
#include "services/LanguageTable.h"
#include "services/Strings.h"

#include <wx/button.h>
#include <wx/propgrid/manager.h>
#include <wx/propgrid/props.h>
#include <wx/textctrl.h>

namespace fw {

namespace {

constexpr int kMargin = 8;
constexpr int kClientWidth = 440;
constexpr int kClientHeight = 420;
// The least width of the value column when the dialog opens.
constexpr int kValueColumn = 75;

}  // namespace

CObjectClassList::CObjectClassList(wxWindow* parent, const std::vector<std::string>& typeEntries)
    : BaseItfDialog(parent, wxID_ANY, LangText("OBJCLASSDLG_NAME"), "", wxCAPTION | wxRESIZE_BORDER),
      m_entries(typeEntries)
{
    SortPropertyEntries(m_entries);
    m_items = SplitPropertyEntries(m_entries);
    // The chooser is left with OK only.
    SetEscapeId(wxID_NONE);
    SetClientSize(kClientWidth, kClientHeight);

    m_search = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER);
    m_search->SetHint(LangText("OBJCLASSDLG_SEARCH_HINT"));
    m_ok = new wxButton(this, wxID_OK, LangText("MFC_OK"));
    const int searchHeight = m_search->GetBestSize().y;
    const wxSize okSize = m_ok->GetBestSize();
    m_search->SetSize(kMargin, kMargin, kClientWidth - 2 * kMargin, searchHeight);
    const int listTop = kMargin + searchHeight + kMargin;
    // Created at its final size, and given its description area (of a few
    // lines) only after its first size: before that the area would be placed
    // at a width the grid does not know yet.
    m_list =
        new wxPropertyGridManager(this, wxID_ANY, wxPoint(kMargin, listTop),
                                  wxSize(kClientWidth - 2 * kMargin, kClientHeight - listTop - okSize.y - 2 * kMargin),
                                  wxPG_BOLD_MODIFIED | wxPG_HIDE_MARGIN | wxTAB_TRAVERSAL);
    m_list->SendSizeEvent();
    m_list->SetWindowStyleFlag(m_list->GetWindowStyleFlag() | wxPG_DESCRIPTION);
    m_list->SetDescBoxHeight(FromDIP(64));
    m_ok->SetSize(kClientWidth - kMargin - okSize.x, kClientHeight - kMargin - okSize.y, okSize.x, okSize.y);

    AddAnchor(m_list, 0, 0, 1, 1);
    AddAnchor(m_search, 0, 0, 1, 0);
    AddAnchor(m_ok, 1, 1, 0, 0);

    FillList();
    m_ok->Enable(false);
    m_ok->SetDefault();

    m_search->Bind(wxEVT_TEXT_ENTER, &CObjectClassList::OnSearchEnter, this);
    m_ok->Bind(wxEVT_BUTTON, &CObjectClassList::OnOk, this);
    m_list->Bind(wxEVT_PG_SELECTED, &CObjectClassList::OnSelected, this);
    m_list->Bind(wxEVT_PG_DOUBLE_CLICK, &CObjectClassList::OnDoubleClick, this);
    m_search->SetFocus();
}

void CObjectClassList::FillList()
{
    m_list->Freeze();
    m_list->Clear();
    m_properties.clear();
    m_list->AddPage();
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const PropertyEntryParts& item = m_items[i];
        // Localized names need not be unique; the grid's names must be.
        auto* property = new wxStringProperty(wxString::FromUTF8(item.localized), wxString::Format("type%zu", i),
                                              wxString::FromUTF8(item.internal));
        m_list->Append(property);
        m_properties.push_back(property);
        m_list->SetPropertyHelpString(property, wxString::FromUTF8(item.internal));
        m_list->SetPropertyReadOnly(property, true);
    }
    m_list->ClearSelection();
    // The value column is 75 pixels unless an internal name needs more; this
    // toolkit's fonts run wider than the ones the width was chosen for.
    int valueWidth = kValueColumn;
    for (const PropertyEntryParts& item : m_items)
        valueWidth = std::max(valueWidth, m_list->GetTextExtent(wxString::FromUTF8(item.internal)).x + 16);
    const int width = m_list->GetClientSize().x;
    m_list->GetGrid()->SetSplitterPosition(std::max(width - valueWidth, width / 2));
    m_list->Thaw();
}

bool CObjectClassList::Search()
{
    const int found = m_searchState.Next(m_items, m_search->GetValue().ToStdString(wxConvUTF8));
    if (found < 0)
        return false;
    wxPGProperty* property = m_properties[static_cast<std::size_t>(found)];
    m_list->SelectProperty(property);
    m_list->EnsureVisible(property);
    m_ok->Enable(true);
    return true;
}

void CObjectClassList::Accept()
{
    if (wxPGProperty* selected = m_list->GetSelection())
        m_result = selected->GetValueAsString().ToStdString(wxConvUTF8);
    EndModal(wxID_OK);
}

void CObjectClassList::OnSearchEnter(wxCommandEvent& /*event*/)
{
    // Not skipped: Enter here must not press the default button.
    Search();
}

void CObjectClassList::OnOk(wxCommandEvent& /*event*/)
{
    Accept();
}

void CObjectClassList::OnSelected(wxPropertyGridEvent& event)
{
    if (event.GetProperty())
        m_ok->Enable(true);
}

void CObjectClassList::OnDoubleClick(wxPropertyGridEvent& /*event*/)
{
    if (m_list->GetSelection())
        Accept();
}

}  // namespace fw
