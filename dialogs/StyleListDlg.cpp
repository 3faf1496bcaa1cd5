#include "dialogs/StyleListDlg.h"

#include "dialogs/DialogTexts.h"
#include "dialogs/FontDialogEx.h"
#include "dialogs/StyleNameDlg.h"
#include "model/EntityStyle.h"
#include "model/FormDefinitionDocument.h"
#include "services/LanguageTable.h"

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/dcscreen.h>
#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>

#include <algorithm>

namespace fw {

namespace {

constexpr int kGripSize = 10;  // the corner beyond the OK button

constexpr int kMargin = 8;
constexpr int kGap = 6;
constexpr int kColumnWidth = 90;
constexpr int kColumns = 6;

int ScreenDpiY()
{
    const int dpi = wxScreenDC().GetPPI().y;
    return dpi > 0 ? dpi : 96;
}

}  // namespace

CStyleList::CStyleList(wxWindow* parent, FormDefinitionDocument& document)
    : BaseItfDialog(parent, wxID_ANY, LangText("STYLEDLG_NAME")), m_editing(document, *this, ScreenDpiY())
{
    runFontChooser = [](wxWindow* owner, const FontChoice& start, int dpiY, FontChoice& chosen) {
        CFontDialogEx dialog(owner, start, dpiY);
        if (dialog.ShowModal() != wxID_OK)
            return false;
        chosen = dialog.GetChoice();
        return true;
    };
    runNameDialog = [](wxWindow* owner, const std::string& preset, std::string& name) {
        CStyleNameDlg dialog(owner);
        dialog.SetInitialName(preset);
        if (dialog.ShowModal() != wxID_OK)
            return false;
        name = dialog.GetChosenName();
        return true;
    };
    showMessage = [](wxWindow* owner, const std::string& text, const std::string& title) {
        wxMessageBox(FromUtf8(text), FromUtf8(title), wxOK | wxICON_EXCLAMATION, owner);
    };
    // Left with OK only: there is nothing to cancel.
    SetEscapeId(wxID_OK);

    m_list = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                            wxLC_REPORT | wxLC_SINGLE_SEL | wxBORDER_THEME);
    m_list->AppendColumn(LangText("STYLEDLG_COL_NAME"), wxLIST_FORMAT_LEFT, kColumnWidth);
    m_list->AppendColumn(LangText("STYLEDLG_COL_FONT"), wxLIST_FORMAT_LEFT, kColumnWidth);
    m_list->AppendColumn(LangText("STYLEDLG_COL_SIZE"), wxLIST_FORMAT_LEFT, kColumnWidth);
    m_list->AppendColumn(LangText("STYLEDLG_COL_COLOR"), wxLIST_FORMAT_LEFT, kColumnWidth);
    m_list->AppendColumn(LangText("STYLEDLG_COL_BOLD"), wxLIST_FORMAT_LEFT, kColumnWidth);
    m_list->AppendColumn(LangText("STYLEDLG_COL_ITALIC"), wxLIST_FORMAT_LEFT, kColumnWidth);

    m_new = new wxButton(this, wxID_ANY, LangText("STYLEDLG_NEW"));
    m_modify = new wxButton(this, wxID_ANY, LangText("STYLEDLG_MODIFY"));
    m_delete = new wxButton(this, wxID_ANY, LangText("STYLEDLG_DELETE"));
    m_ok = new wxButton(this, wxID_OK, LangText("MFC_OK"));

    // Room for all six columns and a vertical scroll bar; the buttons in one
    // row under the list's right end.
    wxSize button(0, 0);
    for (wxButton* b : {m_new, m_modify, m_delete, m_ok}) {
        button.x = std::max(button.x, b->GetBestSize().x);
        button.y = std::max(button.y, b->GetBestSize().y);
    }
    const int listWidth = kColumns * kColumnWidth + 24;
    const int listHeight = 220;
    const int clientWidth = listWidth + 2 * kMargin;
    const int clientHeight = kMargin + listHeight + kMargin + button.y + kMargin;
    SetClientSize(clientWidth, clientHeight);
    m_list->SetSize(kMargin, kMargin, listWidth, listHeight);
    int x = clientWidth - kMargin - button.x;
    const int y = clientHeight - kMargin - button.y;
    for (wxButton* b : {m_ok, m_delete, m_modify, m_new}) {
        b->SetSize(x, y, button.x, button.y);
        x -= button.x + kGap;
    }
    // Tab order follows the row from left to right.
    m_modify->MoveAfterInTabOrder(m_new);
    m_delete->MoveAfterInTabOrder(m_modify);
    m_ok->MoveAfterInTabOrder(m_delete);

    AddAnchor(m_list, 0, 0, 1, 1);
    for (wxButton* b : {m_new, m_modify, m_delete, m_ok})
        AddAnchor(b, 1, 1, 0, 0);

    FillList();
    m_ok->SetDefault();
    CentreOnParent();

    m_new->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { NewStyle(); });
    m_modify->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ModifyStyle(); });
    m_delete->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { DeleteStyle(); });
    m_ok->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_OK); });
    // A double click must not press the default button.
    m_list->Bind(wxEVT_LIST_ITEM_ACTIVATED, [](wxListEvent&) {});
    BindSizeGrip();
}

wxRect CStyleList::GetSizeGrip() const
{
    const wxSize client = GetClientSize();
    return wxRect(client.x - kGripSize, client.y - kGripSize, kGripSize, kGripSize);
}

void CStyleList::BindSizeGrip()
{
    // Three ridges in the bottom-right corner, drawn in the window's own
    // shadow and highlight colours; a drag there sizes the dialog.
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
        wxPaintDC dc(this);
        const wxRect grip = GetSizeGrip();
        const wxPoint corner = grip.GetBottomRight();
        const wxColour dark = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
        const wxColour light = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT);
        for (int step = 3; step < kGripSize; step += 3) {
            dc.SetPen(wxPen(dark));
            dc.DrawLine(corner.x - step, corner.y, corner.x, corner.y - step);
            dc.SetPen(wxPen(light));
            dc.DrawLine(corner.x - step + 1, corner.y, corner.x, corner.y - step + 1);
        }
    });
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        Refresh();
    });
    Bind(wxEVT_MOTION, [this](wxMouseEvent& event) {
        if (HasCapture()) {
            const wxPoint moved = ClientToScreen(event.GetPosition()) - m_gripStart;
            SetSize(m_sizeAtGripStart + wxSize(moved.x, moved.y));
            return;
        }
        SetCursor(GetSizeGrip().Contains(event.GetPosition()) ? wxCursor(wxCURSOR_SIZENWSE) : wxNullCursor);
    });
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& event) {
        if (!GetSizeGrip().Contains(event.GetPosition()))
            return event.Skip();
        m_gripStart = ClientToScreen(event.GetPosition());
        m_sizeAtGripStart = GetSize();
        CaptureMouse();
    });
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& event) {
        if (HasCapture())
            ReleaseMouse();
        event.Skip();
    });
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [](wxMouseCaptureLostEvent&) {});
}

void CStyleList::FillList()
{
    m_list->DeleteAllItems();
    long row = 0;
    for (const StyleRowTexts& texts : m_editing.Rows()) {
        m_list->InsertItem(row, FromUtf8(texts[0]));
        SetRow(row, texts);
        ++row;
    }
    if (m_list->GetItemCount() > 0)
        SelectRow(0);
    m_list->SetFocus();
}

void CStyleList::SetRow(long row, const StyleRowTexts& texts)
{
    for (int column = 0; column < kColumns; ++column)
        m_list->SetItem(row, column, FromUtf8(texts[static_cast<std::size_t>(column)]));
}

long CStyleList::SelectedRow() const
{
    return m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
}

void CStyleList::SelectRow(long row)
{
    m_list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                         wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    m_list->EnsureVisible(row);
}

std::string CStyleList::RowName(long row) const
{
    return m_list->GetItemText(row).ToStdString(wxConvUTF8);
}

void CStyleList::NewStyle()
{
    const long selected = SelectedRow();
    const std::string name = m_editing.New(selected >= 0 ? RowName(selected) : std::string());
    if (name.empty())
        return;
    if (selected >= 0)
        m_list->SetItemState(selected, 0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    // Appended at the end, as the operation adds it; the sorted order returns on the next opening.
    const long row = m_list->InsertItem(m_list->GetItemCount(), FromUtf8(name));
    for (const StyleRowTexts& texts : m_editing.Rows())
        if (texts[0] == name)
            SetRow(row, texts);
    SelectRow(row);
    m_list->SetFocus();
}

void CStyleList::ModifyStyle()
{
    const long selected = SelectedRow();
    if (selected < 0)
        return;
    const StyleEditing::ModifyResult result = m_editing.Modify(RowName(selected));
    if (!result.refreshRow)
        return;
    for (const StyleRowTexts& texts : m_editing.Rows())
        if (texts[0] == result.name)
            SetRow(selected, texts);
}

void CStyleList::DeleteStyle()
{
    const long selected = SelectedRow();
    if (selected < 0)
        return;
    m_editing.Delete(RowName(selected));
    m_list->DeleteItem(selected);
    if (m_list->GetItemCount() > 0)
        SelectRow(0);
    m_list->SetFocus();
}

bool CStyleList::PickFont(const FontChoice& start, FontChoice& chosen)
{
    return runFontChooser && runFontChooser(this, start, ScreenDpiY(), chosen);
}

bool CStyleList::AskName(const std::string& preset, std::string& name)
{
    return runNameDialog && runNameDialog(this, preset, name);
}

void CStyleList::ShowMessage(const std::string& text, const std::string& title)
{
    if (showMessage)
        showMessage(this, text, title);
}

}  // namespace fw
