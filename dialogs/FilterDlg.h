#pragma once
// The filtered forms of the active document by filter: create, change,
// duplicate and delete them, and pick the one to edit.

#include "dialogs/BaseItfDialog.h"
#include "dialogs/FilterList.h"

#include <wx/button.h>
#include <wx/listbox.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fw {

class FormDefinitionDocument;

class CFilterDlg : public BaseItfDialog {
public:
    // currentFormName: the default-form text for the main form, else its filter.
    CFilterDlg(wxWindow* parent, const std::string& currentFormName, const std::vector<std::string>& filters,
               FilterFormOps& ops, const FormDefinitionDocument& document);
    ~CFilterDlg() override;

    // The selected entry's text after OK.
    const std::string& GetResult() const { return m_model->GetResult(); }

    // Runs the filter definition; by default the real dialog on the document.
    void SetDefineRunner(FilterListModel::DefineFilter runner) { m_defineRunner = std::move(runner); }
    // Shows a message; by default a message box.
    void SetMessageRunner(FilterListModel::ShowMessage runner) { m_messageRunner = std::move(runner); }

    const FilterListModel& GetModel() const { return *m_model; }
    wxListBox* GetList() const { return m_list; }
    wxButton* GetNewButton() const { return m_new; }
    wxButton* GetModifyButton() const { return m_modify; }
    wxButton* GetDuplicateButton() const { return m_duplicate; }
    wxButton* GetDeleteButton() const { return m_delete; }
    wxButton* GetOkButton() const { return m_ok; }

private:
    bool RunDefinition(const std::string& filter, std::string& result);
    void ShowMessage(const std::string& text, const std::string& title);
    void Refresh();
    void Run(bool (FilterListModel::*action)());

    const FormDefinitionDocument& m_document;
    std::unique_ptr<FilterListModel> m_model;
    FilterListModel::DefineFilter m_defineRunner;
    FilterListModel::ShowMessage m_messageRunner;
    wxListBox* m_list = nullptr;
    wxButton* m_new = nullptr;
    wxButton* m_modify = nullptr;
    wxButton* m_duplicate = nullptr;
    wxButton* m_delete = nullptr;
    wxButton* m_ok = nullptr;
    wxButton* m_cancel = nullptr;
};

}  // namespace fw
