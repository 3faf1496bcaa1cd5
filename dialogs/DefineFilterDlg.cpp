#include "dialogs/DefineFilterDlg.h"

#include "dialogs/DialogTexts.h"
#include "model/FormDefinitionDocument.h"
#include "model/PropertyEntries.h"
#include "services/LanguageTable.h"
#include "services/ObjectModel.h"

#include <wx/msgdlg.h>

#include <algorithm>

namespace fw {

namespace {

constexpr int kMargin = 8;
constexpr int kClientWidth = 680;
constexpr int kClientHeight = 360;
// The fixed columns; the value column takes what the list has left. The
// connector column is at least as wide as its heading.
constexpr int kAttributeColumnWidth = 120;
constexpr int kOperatorColumnWidth = 75;
constexpr int kValueColumnWidth = 75;
constexpr int kConnectorColumnWidth = 60;
constexpr int kHeadingPadding = 16;
constexpr int kAttributeWidth = 190;
constexpr int kArrowWidth = 50;

enum Column { AttributeColumn = 0, OperatorColumn = 1, ValueColumn = 2, ConnectorColumn = 3 };

}  // namespace

CDefineFilterDlg::CDefineFilterDlg(wxWindow* parent, const FormDefinitionDocument& document)
    : BaseItfDialog(parent, wxID_ANY, LangText("DFLTRDLG_NAME"), "FD_DefineFilterDialog",
                    wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_document(document), m_entries(document.GetClassProperties())
{
    SetClientSize(kClientWidth, kClientHeight);

    m_ok = new wxButton(this, wxID_OK, LangText("MFC_OK"));
    m_cancel = new wxButton(this, wxID_CANCEL, LangText("MFC_CANCEL"));
    wxSize buttonSize = m_ok->GetBestSize();
    buttonSize.IncTo(m_cancel->GetBestSize());
    const int buttonTop = kClientHeight - kMargin - buttonSize.y;
    m_cancel->SetSize(kClientWidth - kMargin - buttonSize.x, buttonTop, buttonSize.x, buttonSize.y);
    m_ok->SetSize(kClientWidth - 2 * kMargin - 2 * buttonSize.x, buttonTop, buttonSize.x, buttonSize.y);

    m_attributes =
        new wxListBox(this, wxID_ANY, wxPoint(kMargin, kMargin), wxSize(kAttributeWidth, kClientHeight - 2 * kMargin),
                      0, nullptr, wxLB_SINGLE | wxLB_HSCROLL);
    for (const std::string& entry : m_entries)
        m_attributes->Append(FromUtf8(SplitPropertyEntry(entry).localized));
    if (!m_entries.empty())
        m_attributes->SetSelection(0);

    const int arrowLeft = kMargin + kAttributeWidth + kMargin;
    const int arrowHeight = buttonSize.y;
    m_add = new wxButton(this, wxID_ANY, "-- >", wxPoint(arrowLeft, kClientHeight / 2 - arrowHeight - 2),
                         wxSize(kArrowWidth, arrowHeight));
    m_remove = new wxButton(this, wxID_ANY, "< --", wxPoint(arrowLeft, kClientHeight / 2 + 2),
                            wxSize(kArrowWidth, arrowHeight));
    m_add->SetToolTip(LangText("DFLTRDLG_ADD_TIP"));
    m_remove->SetToolTip(LangText("DFLTRDLG_REMOVE_TIP"));

    const int listLeft = arrowLeft + kArrowWidth + kMargin;
    m_conditions = new CEditListEx(this, wxID_ANY, wxPoint(listLeft, kMargin),
                                   wxSize(kClientWidth - kMargin - listLeft, buttonTop - 2 * kMargin));
    m_conditions->AppendColumn(LangText("DFLTRDLG_ATRRIBUTE"), wxLIST_FORMAT_LEFT, kAttributeColumnWidth);
    m_conditions->AppendColumn(LangText("DFLTRDLG_OPRATOR"), wxLIST_FORMAT_LEFT, kOperatorColumnWidth);
    m_conditions->AppendColumn(LangText("DFLTRDLG_VALUE"), wxLIST_FORMAT_LEFT, kValueColumnWidth);
    m_conditions->AppendColumn(LangText("DFLTRDLG_OR_AND"), wxLIST_FORMAT_LEFT, kConnectorColumnWidth);
    const int connectorWidth =
        std::max(kConnectorColumnWidth, m_conditions->GetTextExtent(LangText("DFLTRDLG_OR_AND")).x + kHeadingPadding);
    m_conditions->SetColumnWidth(ConnectorColumn, connectorWidth);
    // The rows window loses width to the vertical scroll bar once the rows
    // fill it; the last column stays inside either way.
    m_conditions->GetRowsWindow()->Bind(wxEVT_SIZE, [this, connectorWidth](wxSizeEvent& event) {
        event.Skip();
        const int rest = m_conditions->GetRowsWindow()->GetClientSize().x - kAttributeColumnWidth -
                         kOperatorColumnWidth - connectorWidth;
        m_conditions->SetColumnWidth(ValueColumn, std::max(kValueColumnWidth, rest));
    });
    m_conditions->SetColumnKind(AttributeColumn, CellEditKind::None);
    m_conditions->SetColumnKind(OperatorColumn, CellEditKind::Choice);
    m_conditions->SetColumnKind(ValueColumn, CellEditKind::Text);
    m_conditions->SetColumnKind(ConnectorColumn, CellEditKind::Choice);
    m_conditions->SetChoicesA(FilterOperators());
    m_conditions->SetChoicesB(FilterConnectors());

    AddAnchor(m_attributes, 0, 0, 0, 1);
    AddAnchor(m_add, 0, 0.5, 0, 0);
    AddAnchor(m_remove, 0, 0.5, 0, 0);
    AddAnchor(m_conditions, 0, 0, 1, 1);
    AddAnchor(m_ok, 1, 1, 0, 0);
    AddAnchor(m_cancel, 1, 1, 0, 0);

    m_ok->SetDefault();
    m_add->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { AddSelectedAttribute(); });
    m_remove->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RemoveSelectedCondition(); });
    m_attributes->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { AddSelectedAttribute(); });
    m_ok->Bind(wxEVT_BUTTON, &CDefineFilterDlg::OnOk, this);
}

void CDefineFilterDlg::SetFilter(const std::string& filter)
{
    m_conditions->DeleteAllRows();
    for (const ConditionRow& row : ParseFilter(filter)) {
        const long at = m_conditions->AppendRow(
            FromUtf8(GetLocalePropertyName(row.attribute, m_document.GetObjectClass())), row.attribute);
        m_conditions->SetCellText(at, OperatorColumn, FromUtf8(row.op));
        m_conditions->SetCellText(at, ValueColumn, FromUtf8(row.value));
        m_conditions->SetCellText(at, ConnectorColumn, FromUtf8(row.connector));
    }
    if (m_conditions->GetItemCount() > 0)
        m_conditions->SelectRow(0);
}

std::vector<ConditionRow> CDefineFilterDlg::GetRows() const
{
    std::vector<ConditionRow> rows;
    for (long i = 0; i < m_conditions->GetItemCount(); ++i)
        rows.push_back({m_conditions->GetRowData(i), ToUtf8(m_conditions->GetCellText(i, OperatorColumn)),
                        ToUtf8(m_conditions->GetCellText(i, ValueColumn)),
                        ToUtf8(m_conditions->GetCellText(i, ConnectorColumn))});
    return rows;
}

void CDefineFilterDlg::AddSelectedAttribute()
{
    const int selected = m_attributes->GetSelection();
    if (selected == wxNOT_FOUND || selected >= static_cast<int>(m_entries.size()))
        return;
    const PropertyEntryParts parts = SplitPropertyEntry(m_entries[selected]);
    // A row read from a filter ends without a connector; it is no longer the last.
    const long previous = m_conditions->GetItemCount() - 1;
    if (previous >= 0 && m_conditions->GetCellText(previous, ConnectorColumn).empty())
        m_conditions->SetCellText(previous, ConnectorColumn, FromUtf8(DefaultConnector));
    const long row = m_conditions->AppendRow(FromUtf8(parts.localized), parts.internal);
    m_conditions->SetCellText(row, ConnectorColumn, FromUtf8(DefaultConnector));
}

void CDefineFilterDlg::RemoveSelectedCondition()
{
    m_conditions->DeleteSelectedRow();
}

void CDefineFilterDlg::OnOk(wxCommandEvent& /*event*/)
{
    // An editor still open hands its text over first.
    if (auto* open = dynamic_cast<InPlaceEditor*>(m_conditions->GetActiveEditor()))
        open->Finish(false);
    const std::vector<ConditionRow> rows = GetRows();
    if (const int row = FirstUnjoinedRow(rows); row >= 0) {
        m_conditions->SelectRow(row);
        m_conditions->EnsureVisible(row);
        const wxString text = wxString::Format(LangText("DFLTRDLG_MSG_NO_CONNECTOR"), wxString::Format("%d", row + 1),
                                               wxString::Format("%d", row + 2));
        wxMessageBox(text, LangText("DFLTRDLG_NAME"), wxOK | wxICON_INFORMATION, this);
        return;
    }
    m_filter = BuildFilter(rows);
    EndModal(wxID_OK);
}

}  // namespace fw
