#pragma once
// The list of a document's text styles with New, Modify and Delete. Every
// change goes straight into the document; OK only closes the list.

#include "dialogs/BaseItfDialog.h"
#include "dialogs/StyleEditing.h"

#include <functional>
#include <string>

class wxButton;
class wxListCtrl;
class wxListEvent;

namespace fw {

class FormDefinitionDocument;

class CStyleList : public BaseItfDialog, private StyleEditingUi {
public:
    CStyleList(wxWindow* parent, FormDefinitionDocument& document);

    // Whether any style was created, changed or deleted.
    bool HasChanged() const { return m_editing.HasChanged(); }

    // The dialogs the operations run; the real ones unless a test replaces them.
    // The font runner answers false on cancel and sets the choice on OK.
    std::function<bool(wxWindow* parent, const FontChoice& start, int dpiY, FontChoice& chosen)> runFontChooser;
    std::function<bool(wxWindow* parent, const std::string& preset, std::string& name)> runNameDialog;
    std::function<void(wxWindow* parent, const std::string& text, const std::string& title)> showMessage;

    void NewStyle();
    void ModifyStyle();
    void DeleteStyle();

    wxListCtrl* GetList() const { return m_list; }
    wxButton* GetNewButton() const { return m_new; }
    wxButton* GetModifyButton() const { return m_modify; }
    wxButton* GetDeleteButton() const { return m_delete; }
    wxButton* GetOkButton() const { return m_ok; }
    // The corner square a drag sizes the dialog by, in client coordinates.
    wxRect GetSizeGrip() const;

private:
    void BindSizeGrip();
    bool PickFont(const FontChoice& start, FontChoice& chosen) override;
    bool AskName(const std::string& preset, std::string& name) override;
    void ShowMessage(const std::string& text, const std::string& title) override;

    void FillList();
    void SetRow(long row, const StyleRowTexts& texts);
    long SelectedRow() const;
    void SelectRow(long row);
    std::string RowName(long row) const;

    StyleEditing m_editing;
    wxListCtrl* m_list = nullptr;
    wxButton* m_new = nullptr;
    wxButton* m_modify = nullptr;
    wxButton* m_delete = nullptr;
    wxButton* m_ok = nullptr;
    wxPoint m_gripStart;  // screen position where a grip drag began
    wxSize m_sizeAtGripStart;
};

}  // namespace fw
