#pragma once
// The object-class chooser of File New: lists the object types of the model
// by their localized names, searches them, and answers the internal name of
// the type picked.

#include "dialogs/BaseItfDialog.h"
#include "model/PropertyEntries.h"

#include <wx/button.h>
#include <wx/textctrl.h>

#include <string>
#include <vector>

class wxPGProperty;
class wxPropertyGridEvent;
class wxPropertyGridManager;

namespace fw {

class CObjectClassList : public BaseItfDialog {
public:
    // typeEntries: "localized;internal" per object type, in any order.
    CObjectClassList(wxWindow* parent, const std::vector<std::string>& typeEntries);

    // The internal type name chosen with OK; empty when nothing was selected.
    const std::string& GetResult() const { return m_result; }

    // Searches for the text of the search box as Enter does; true on a match.
    bool Search();

    wxPropertyGridManager* GetList() const { return m_list; }
    wxTextCtrl* GetSearchBox() const { return m_search; }
    wxButton* GetOkButton() const { return m_ok; }

private:
    void FillList();
    void Accept();

    void OnSearchEnter(wxCommandEvent& event);
    void OnOk(wxCommandEvent& event);
    void OnSelected(wxPropertyGridEvent& event);
    void OnDoubleClick(wxPropertyGridEvent& event);

    std::vector<std::string> m_entries;
    std::vector<PropertyEntryParts> m_items;
    PropertyEntrySearch m_searchState{EntrySearchWrap::Chooser};
    std::vector<wxPGProperty*> m_properties;  // in the order of m_items
    std::string m_result;
    wxPropertyGridManager* m_list = nullptr;
    wxTextCtrl* m_search = nullptr;
    wxButton* m_ok = nullptr;
};

}  // namespace fw
