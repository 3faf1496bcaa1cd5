#include "dialogs/EditListEx.h"

#include "dialogs/DialogTexts.h"
#include <algorithm>

namespace fw {

namespace {

// Enter and Escape are taken before the dialog sees them as its default and
// cancel keys, Tab before it moves the focus out of the list.
template <class Editor> void BindKeys(Editor& editor)
{
    editor.Bind(wxEVT_CHAR_HOOK, [&editor](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER)
            editor.FinishFromKeyboard(false);
        else if (event.GetKeyCode() == WXK_ESCAPE)
            editor.FinishFromKeyboard(true);
        else if (event.GetKeyCode() == WXK_TAB)
            editor.FinishAndMove(!event.ShiftDown());
        else
            event.Skip();
    });
}

}  // namespace

void InPlaceEditor::Finish(bool cancelled)
{
    if (m_finished)
        return;
    m_finished = true;
    m_list.EditorFinished(*this, Window(), cancelled, cancelled ? wxString() : CurrentText());
}

void InPlaceEditor::FinishFromKeyboard(bool cancelled)
{
    Finish(cancelled);
    // The keys go on working in the list.
    m_list.SetFocus();
}

void InPlaceEditor::FinishAndMove(bool forward)
{
    Finish(false);
    CEditListEx& list = m_list;
    const long row = m_row;
    const int column = m_column;
    list.CallAfter([&list, row, column, forward] {
        if (!list.EditNextCell(row, column, forward))
            list.SetFocus();
    });
}

CEditItem::CEditItem(CEditListEx& list, wxWindow* parent, long row, int column, const wxRect& rect,
                     const wxString& text, long alignStyle)
    : wxTextCtrl(parent, wxID_ANY, text, rect.GetPosition(), rect.GetSize(),
                 alignStyle | wxTE_PROCESS_ENTER | wxBORDER_SIMPLE),
      InPlaceEditor(list, row, column)
{
    BindKeys(*this);
    Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { Finish(false); });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        event.Skip();
        Finish(false);
    });
    SelectAll();
}

CComboItem::CComboItem(CEditListEx& list, wxWindow* parent, long row, int column, const wxRect& rect,
                       const std::vector<std::string>& choices, const wxString& text)
    : wxChoice(parent, wxID_ANY, rect.GetPosition(), wxSize(rect.width, -1)), InPlaceEditor(list, row, column)
{
    // The pop-up lists every choice; nothing is typed.
    for (const std::string& choice : choices)
        Append(FromUtf8(choice));
    const int found = FindString(text, true);
    SetSelection(found);
    BindKeys(*this);
    // Picking a choice is the designer's answer; no Enter needed after it.
    Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { Finish(false); });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        event.Skip();
        // Opening the pop-up takes the focus to a window of the toolkit's own
        // (no window of ours); only a real move elsewhere ends the edit.
        if (event.GetWindow() && event.GetWindow() != this)
            Finish(false);
    });
}

ButtonItem::ButtonItem(CEditListEx& list, wxWindow* parent, long row, int column, const wxRect& rect,
                       const wxString& text)
    : wxButton(parent, wxID_ANY, "...", rect.GetPosition(), rect.GetSize(), wxBU_EXACTFIT),
      InPlaceEditor(list, row, column), m_text(text)
{
    BindKeys(*this);
    Bind(wxEVT_BUTTON, [this, &list](wxCommandEvent&) {
        wxString text = m_text;
        if (list.PressButton(GetRow(), GetColumn(), text)) {
            m_text = text;
            Finish(false);
        } else {
            Finish(true);
        }
    });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        event.Skip();
        Finish(true);
    });
}

CEditListEx::CEditListEx(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
    : wxListCtrl(parent, id, pos, size, style | wxLC_REPORT)
{
    // The rows live in a window of their own below the header; clicks arrive there.
    m_rowsWindow = GetTargetWindow() ? GetTargetWindow() : this;
    m_rowsWindow->Bind(wxEVT_LEFT_DOWN, &CEditListEx::OnRowsLeftDown, this);
    Bind(wxEVT_LIST_KEY_DOWN, &CEditListEx::OnKeyDown, this);
    // Taken before the dialog sees Enter as its default key; an open editor
    // handles its own keys first.
    Bind(wxEVT_CHAR_HOOK, &CEditListEx::OnCharHook, this);
}

CEditListEx::~CEditListEx()
{
    if (auto* open = dynamic_cast<InPlaceEditor*>(m_editorWindow))
        open->Abandon();
}

CellEditKind CEditListEx::GetColumnKind(int column) const
{
    const auto it = m_kinds.find(column);
    return it == m_kinds.end() ? CellEditKind::None : it->second;
}

long CEditListEx::AppendRow(const wxString& firstColumn, const std::string& data)
{
    const long row = InsertItem(GetItemCount(), firstColumn);
    if (row < 0)
        return row;
    m_rowData.insert(m_rowData.begin() + std::min<long>(row, static_cast<long>(m_rowData.size())),
                     std::make_unique<std::string>(data));
    return row;
}

bool CEditListEx::DeleteRow(long row)
{
    if (row < 0 || row >= GetItemCount() || !DeleteItem(row))
        return false;
    if (row < static_cast<long>(m_rowData.size()))
        m_rowData.erase(m_rowData.begin() + row);
    return true;
}

void CEditListEx::DeleteAllRows()
{
    DeleteAllItems();
    m_rowData.clear();
}

const std::string& CEditListEx::GetRowData(long row) const
{
    static const std::string none;
    return row >= 0 && row < static_cast<long>(m_rowData.size()) ? *m_rowData[row] : none;
}

wxString CEditListEx::GetCellText(long row, int column) const
{
    return GetItemText(row, column);
}

void CEditListEx::SetCellText(long row, int column, const wxString& text)
{
    SetItem(row, column, text);
}

long CEditListEx::GetSelectedRow() const
{
    return GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
}

void CEditListEx::SelectRow(long row)
{
    SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
}

bool CEditListEx::DeleteSelectedRow()
{
    const long row = GetSelectedRow();
    return row >= 0 && DeleteRow(row);
}

bool CEditListEx::CellAt(const wxPoint& point, long& row, int& column) const
{
    int flags = 0;
    row = HitTest(point, flags);
    if (row < 0 || !(flags & wxLIST_HITTEST_ONITEM))
        return false;
    // Cell rectangles are in the list's coordinates, the point in the rows window's.
    const wxPoint at = point + m_rowsWindow->GetPosition();
    for (int c = 0; c < GetColumnCount(); ++c) {
        wxRect cell;
        if (GetSubItemRect(row, c, cell) && at.x >= cell.x && at.x < cell.GetRight() + 1) {
            column = c;
            return true;
        }
    }
    return false;
}

bool CEditListEx::EditCell(long row, int column)
{
    const CellEditKind kind = GetColumnKind(column);
    if (kind == CellEditKind::None || row < 0 || row >= GetItemCount() || column < 0 || column >= GetColumnCount())
        return false;
    if (m_editorWindow) {
        if (auto* open = dynamic_cast<InPlaceEditor*>(m_editorWindow))
            open->Finish(false);
    }
    SetFocus();
    EnsureVisible(row);
    wxRect cell;
    if (!GetSubItemRect(row, column, cell))
        return false;
    m_currentColumn = column;
    // Bring a cell that sticks out at either side into view first.
    const int visible = m_rowsWindow->GetClientSize().x;
    const wxPoint origin = m_rowsWindow->GetPosition();
    int dx = 0;
    if (cell.x - origin.x < 0)
        dx = cell.x - origin.x;
    else if (cell.GetRight() - origin.x >= visible)
        dx = std::min(cell.x - origin.x, cell.GetRight() + 1 - origin.x - visible);
    if (dx != 0) {
        ScrollList(dx, 0);
        GetSubItemRect(row, column, cell);
    }
    cell.Offset(-origin.x, -origin.y);

    const wxString text = GetCellText(row, column);
    wxWindow* editor = nullptr;
    if (kind == CellEditKind::Text) {
        wxListItem info;
        GetColumn(column, info);
        long align = wxTE_LEFT;
        if (info.GetAlign() == wxLIST_FORMAT_RIGHT)
            align = wxTE_RIGHT;
        else if (info.GetAlign() == wxLIST_FORMAT_CENTRE)
            align = wxTE_CENTRE;
        editor = new CEditItem(*this, m_rowsWindow, row, column, cell, text, align);
    } else if (kind == CellEditKind::Choice) {
        editor = new CComboItem(*this, m_rowsWindow, row, column, cell, GetChoicesFor(column), text);
    } else {
        editor = new ButtonItem(*this, m_rowsWindow, row, column, cell, text);
    }
    m_editorWindow = editor;
    editor->SetFocus();
    return true;
}

bool CEditListEx::EditFocusedCell()
{
    long row = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);
    if (row < 0)
        row = GetSelectedRow();
    if (row < 0)
        return false;
    if (GetColumnKind(m_currentColumn) == CellEditKind::None)
        return EditNextCell(row, -1, true);
    SelectRow(row);
    return EditCell(row, m_currentColumn);
}

bool CEditListEx::EditNextCell(long row, int column, bool forward)
{
    const int columns = GetColumnCount();
    for (;;) {
        column += forward ? 1 : -1;
        if (column >= columns) {
            column = 0;
            ++row;
        } else if (column < 0) {
            column = columns - 1;
            --row;
        }
        if (row < 0 || row >= GetItemCount())
            return false;
        if (GetColumnKind(column) != CellEditKind::None) {
            SelectRow(row);
            return EditCell(row, column);
        }
    }
}

void CEditListEx::EditorFinished(InPlaceEditor& editor, wxWindow* window, bool cancelled, const wxString& text)
{
    if (m_editorWindow == window)
        m_editorWindow = nullptr;
    wxListEvent notice(wxEVT_LIST_END_LABEL_EDIT, GetId());
    notice.SetEventObject(this);
    notice.SetIndex(editor.GetRow());
    notice.SetColumn(editor.GetColumn());
    notice.SetEditCanceled(cancelled);
    wxListItem item;
    item.SetId(editor.GetRow());
    item.SetColumn(editor.GetColumn());
    item.SetText(text);
    notice.SetItem(item);
    GetEventHandler()->ProcessEvent(notice);
    if (!cancelled && notice.IsAllowed() && editor.GetRow() < GetItemCount())
        SetCellText(editor.GetRow(), editor.GetColumn(), text);
    // Not while its own handler is still running.
    window->Hide();
    CallAfter([window] { window->Destroy(); });
}

bool CEditListEx::PressButton(long row, int column, wxString& text)
{
    return m_buttonHandler && m_buttonHandler(row, column, text);
}

void CEditListEx::OnRowsLeftDown(wxMouseEvent& event)
{
    // The click also selects the row as usual.
    event.Skip();
    long row = -1;
    int column = -1;
    if (!CellAt(event.GetPosition(), row, column))
        return;
    SetFocus();
    // Opened once the click has done its own work, so the editor keeps the focus.
    CallAfter([this, row, column] {
        if (row < GetItemCount())
            EditCell(row, column);
    });
}

void CEditListEx::OnCharHook(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    if ((key == WXK_F2 || key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && !m_editorWindow && EditFocusedCell())
        return;
    event.Skip();
}

void CEditListEx::OnKeyDown(wxListEvent& event)
{
    if (event.GetKeyCode() == WXK_DELETE)
        DeleteSelectedRow();
    else
        event.Skip();
}

}  // namespace fw
