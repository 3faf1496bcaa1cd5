#pragma once
// A report list whose cells are edited in place: per column a kind of editor
// (none, text field, drop-down, "..." button) opened over the cell clicked.
// A committed edit reaches the list as wxEVT_LIST_END_LABEL_EDIT with row,
// column and text; unless a handler vetoes it, the list then takes the text.

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fw {

class CEditListEx;

enum class CellEditKind { None = 0, Text = 1, Choice = 2, Button = 3 };

// What the in-place editors share: they know their cell, commit once and
// then close themselves.
class InPlaceEditor {
public:
    InPlaceEditor(CEditListEx& list, long row, int column) : m_list(list), m_row(row), m_column(column) {}
    virtual ~InPlaceEditor() = default;

    long GetRow() const { return m_row; }
    int GetColumn() const { return m_column; }
    // Hands the text to the list (none when cancelled) and closes the editor.
    void Finish(bool cancelled);
    // Closes without a notice (the list is going away).
    void Abandon() { m_finished = true; }
    // Enter and Escape: the list keeps the keyboard afterwards.
    void FinishFromKeyboard(bool cancelled);
    // Commits, then opens the next (or previous) editable cell: Tab and Shift+Tab.
    void FinishAndMove(bool forward);

protected:
    virtual wxWindow* Window() = 0;
    virtual wxString CurrentText() const = 0;

private:
    CEditListEx& m_list;
    long m_row;
    int m_column;
    bool m_finished = false;
};

// Text field: Enter or leaving commits, Escape cancels.
class CEditItem : public wxTextCtrl, public InPlaceEditor {
public:
    CEditItem(CEditListEx& list, wxWindow* parent, long row, int column, const wxRect& rect, const wxString& text,
              long alignStyle);

protected:
    wxWindow* Window() override { return this; }
    wxString CurrentText() const override { return GetValue(); }
};

// Drop-down that cannot be typed into, the cell text preselected.
class CComboItem : public wxChoice, public InPlaceEditor {
public:
    CComboItem(CEditListEx& list, wxWindow* parent, long row, int column, const wxRect& rect,
               const std::vector<std::string>& choices, const wxString& text);

protected:
    wxWindow* Window() override { return this; }
    wxString CurrentText() const override { return GetStringSelection(); }
};

// "..." push button; pressing it asks the list's button handler for a text.
class ButtonItem : public wxButton, public InPlaceEditor {
public:
    ButtonItem(CEditListEx& list, wxWindow* parent, long row, int column, const wxRect& rect, const wxString& text);

protected:
    wxWindow* Window() override { return this; }
    wxString CurrentText() const override { return m_text; }

private:
    wxString m_text;
};

class CEditListEx : public wxListCtrl {
public:
    CEditListEx(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                long style = wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_HRULES | wxLC_VRULES);
    ~CEditListEx() override;

    // Columns not set here are not edited.
    void SetColumnKind(int column, CellEditKind kind) { m_kinds[column] = kind; }
    CellEditKind GetColumnKind(int column) const;
    // List A feeds the drop-down of every column but 3, list B that of column 3.
    void SetChoicesA(std::vector<std::string> choices) { m_choicesA = std::move(choices); }
    void SetChoicesB(std::vector<std::string> choices) { m_choicesB = std::move(choices); }
    const std::vector<std::string>& GetChoicesFor(int column) const { return column == 3 ? m_choicesB : m_choicesA; }
    // Answers the new text for a pressed "..." button; false leaves the cell.
    void SetButtonHandler(std::function<bool(long row, int column, wxString& text)> handler)
    {
        m_buttonHandler = std::move(handler);
    }

    // Rows carry a text the list owns; all row changes go through these.
    long AppendRow(const wxString& firstColumn, const std::string& data);
    bool DeleteRow(long row);
    void DeleteAllRows();
    const std::string& GetRowData(long row) const;
    wxString GetCellText(long row, int column) const;
    void SetCellText(long row, int column, const wxString& text);
    long GetSelectedRow() const;
    void SelectRow(long row);
    bool DeleteSelectedRow();

    // Opens the editor of the column's kind over the cell, scrolled into
    // view; none for kind 0. Its column becomes the current one.
    bool EditCell(long row, int column);
    // F2 or Enter: the focused row's cell in the current column (at first the
    // first editable one).
    bool EditFocusedCell();
    // The editable cell after (or before) this one, row by row; false at either end.
    bool EditNextCell(long row, int column, bool forward);
    // The editor open now, if any (a child of the rows window).
    wxWindow* GetActiveEditor() const { return m_editorWindow; }
    // The cell under a point of the rows area (GetMainWindow() coordinates).
    bool CellAt(const wxPoint& point, long& row, int& column) const;
    wxWindow* GetRowsWindow() const { return m_rowsWindow; }

private:
    friend class InPlaceEditor;
    friend class ButtonItem;
    void EditorFinished(InPlaceEditor& editor, wxWindow* window, bool cancelled, const wxString& text);
    bool PressButton(long row, int column, wxString& text);

    void OnRowsLeftDown(wxMouseEvent& event);
    void OnKeyDown(wxListEvent& event);
    void OnCharHook(wxKeyEvent& event);

    std::map<int, CellEditKind> m_kinds;
    std::vector<std::string> m_choicesA;
    std::vector<std::string> m_choicesB;
    std::vector<std::unique_ptr<std::string>> m_rowData;
    std::function<bool(long, int, wxString&)> m_buttonHandler;
    wxWindow* m_rowsWindow = nullptr;
    wxWindow* m_editorWindow = nullptr;
    int m_currentColumn = -1;
};

}  // namespace fw
