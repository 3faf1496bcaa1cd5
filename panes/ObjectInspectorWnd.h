#pragma once
// The object inspector: the object type of the active form file with its
// properties by localized and internal name, a search box over them, and the
// source from which a property is dragged onto the canvas.
// (The list's header comes in whole: callers compare it as a wxWindow.)

#include "panes/ObjectInspectorModel.h"

#include <wx/listctrl.h>
#include <wx/panel.h>

#include <string>
#include <vector>

class wxStaticText;
class wxTextCtrl;

namespace fw {

class FormDefinitionDocument;

class CObjectInspectorWnd : public wxPanel {
public:
    explicit CObjectInspectorWnd(wxWindow* parent);

    // A title equal to the caption changes nothing (two views of one file);
    // an empty title keeps the caption and only replaces the entries.
    void SetObjectType(const std::string& title, const std::vector<std::string>& entries);
    // Empties the list and the caption.
    void Clear();
    // Flips the extended object model of `active` and of the open files of
    // its type, then lists the new entries under the same caption.
    void ToggleExtended(FormDefinitionDocument& active, const std::vector<FormDefinitionDocument*>& openDocuments);

    // Lists the matches of the box's text and selects the one after the last
    // found, wrapping; answers it, or -1 leaving the selection as it was.
    int SearchNext();

    const std::string& GetCaption() const { return m_model.GetCaption(); }
    const std::vector<std::string>& GetEntries() const { return m_model.GetEntries(); }
    const ObjectInspectorModel& GetModel() const { return m_model; }
    // The row under a point of the list, -1 for none.
    int RowAt(const wxPoint& listPoint) const;
    // The selected row of the list, -1 for none.
    int GetSelectedRow() const;

    wxListCtrl* GetList() const { return m_list; }
    wxTextCtrl* GetSearchBox() const { return m_search; }
    wxStaticText* GetCaptionLabel() const { return m_captionLabel; }
    wxStaticText* GetDescription() const { return m_description; }

    // The focus goes to the list, not to the search box above it.
    void SetFocus() override;

private:
    void Rebuild();
    void SelectRow(int row);
    void ApplyFont();
    void FitColumns();
    // The full text of the cell at a point of the list when the cell cuts it;
    // "" otherwise.
    wxString CutTextAt(const wxPoint& listPoint) const;

    void OnSearchEnter(wxCommandEvent& event);
    void OnSearchText(wxCommandEvent& event);
    void OnBeginDrag(wxListEvent& event);
    void OnSelected(wxListEvent& event);
    void OnListMotion(wxMouseEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnSysColourChanged(wxSysColourChangedEvent& event);

    ObjectInspectorModel m_model;
    wxStaticText* m_captionLabel = nullptr;
    wxTextCtrl* m_search = nullptr;
    wxListCtrl* m_list = nullptr;
    wxStaticText* m_description = nullptr;
};

}  // namespace fw
