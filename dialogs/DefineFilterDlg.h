#pragma once
// Defines one filter: conditions on the properties of the document's object
// type, picked from the attribute list and edited in place as rows.

#include "dialogs/BaseItfDialog.h"
#include "dialogs/EditListEx.h"
#include "dialogs/FilterGrammar.h"

#include <wx/button.h>
#include <wx/listbox.h>

#include <string>
#include <vector>

namespace fw {

class FormDefinitionDocument;

class CDefineFilterDlg : public BaseItfDialog {
public:
    CDefineFilterDlg(wxWindow* parent, const FormDefinitionDocument& document);

    // Preloads the rows; call before showing.
    void SetFilter(const std::string& filter);
    // The filter built on OK; empty when there were no rows.
    std::string GetFilter() const { return m_filter; }

    // The rows as they stand now (attribute = the internal name).
    std::vector<ConditionRow> GetRows() const;
    void AddSelectedAttribute();
    void RemoveSelectedCondition();

    wxListBox* GetAttributeList() const { return m_attributes; }
    CEditListEx* GetConditionList() const { return m_conditions; }
    wxButton* GetAddButton() const { return m_add; }
    wxButton* GetRemoveButton() const { return m_remove; }
    wxButton* GetOkButton() const { return m_ok; }

private:
    void OnOk(wxCommandEvent& event);

    const FormDefinitionDocument& m_document;
    std::vector<std::string> m_entries;  // "localized;internal", in the order of the attribute list
    std::string m_filter;
    wxListBox* m_attributes = nullptr;
    CEditListEx* m_conditions = nullptr;
    wxButton* m_add = nullptr;
    wxButton* m_remove = nullptr;
    wxButton* m_ok = nullptr;
    wxButton* m_cancel = nullptr;
};

}  // namespace fw
