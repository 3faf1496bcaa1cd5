#include "dialogs/FilterDlg.h"

#include "dialogs/DefineFilterDlg.h"
#include "dialogs/DialogTexts.h"
#include "services/LanguageTable.h"

#include <wx/msgdlg.h>

namespace fw {

namespace {

constexpr int kMargin = 8;
constexpr int kClientWidth = 460;
constexpr int kClientHeight = 300;

}  // namespace

CFilterDlg::CFilterDlg(wxWindow* parent, const std::string& currentFormName, const std::vector<std::string>& filters,
                       FilterFormOps& ops, const FormDefinitionDocument& document)
    : BaseItfDialog(parent, wxID_ANY, LangText("FLTRDLG_NAME"), "FD_FilterDialog",
                    wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_document(document)
{
    m_model = std::make_unique<FilterListModel>(
        currentFormName, filters, ops,
        [this](const std::string& filter, std::string& result) { return RunDefinition(filter, result); },
        [this](const std::string& text, const std::string& title) { ShowMessage(text, title); });

    SetClientSize(kClientWidth, kClientHeight);
    m_new = new wxButton(this, wxID_ANY, LangText("FLTRDLG_NEW"));
    m_modify = new wxButton(this, wxID_ANY, LangText("FLTRDLG_MODIFY"));
    m_duplicate = new wxButton(this, wxID_ANY, LangText("FLTRDLG_DUPLICATE"));
    m_delete = new wxButton(this, wxID_ANY, LangText("FLTRDLG_DELETE"));
    m_ok = new wxButton(this, wxID_OK, LangText("MFC_OK"));
    m_cancel = new wxButton(this, wxID_CANCEL, LangText("MFC_CANCEL"));
    wxButton* const buttons[] = {m_new, m_modify, m_duplicate, m_delete, m_ok, m_cancel};
    wxSize buttonSize;
    for (wxButton* button : buttons)
        buttonSize.IncTo(button->GetBestSize());
    const int buttonLeft = kClientWidth - kMargin - buttonSize.x;
    int top = kMargin;
    for (wxButton* button : {m_new, m_modify, m_duplicate, m_delete}) {
        button->SetSize(buttonLeft, top, buttonSize.x, buttonSize.y);
        top += buttonSize.y + kMargin / 2;
    }
    m_cancel->SetSize(buttonLeft, kClientHeight - kMargin - buttonSize.y, buttonSize.x, buttonSize.y);
    m_ok->SetSize(buttonLeft, kClientHeight - kMargin - kMargin / 2 - 2 * buttonSize.y, buttonSize.x, buttonSize.y);

    m_list = new wxListBox(this, wxID_ANY, wxPoint(kMargin, kMargin),
                           wxSize(buttonLeft - 2 * kMargin, kClientHeight - 2 * kMargin), 0, nullptr,
                           wxLB_SINGLE | wxLB_HSCROLL);
    AddAnchor(m_list, 0, 0, 1, 1);
    for (wxButton* button : buttons)
        AddAnchor(button, 1, 1, 0, 0);
    Refresh();

    m_ok->SetDefault();
    m_new->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Run(&FilterListModel::New); });
    m_modify->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Run(&FilterListModel::Modify); });
    m_duplicate->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Run(&FilterListModel::Duplicate); });
    m_delete->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Run(&FilterListModel::Delete); });
    m_list->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { Run(&FilterListModel::Modify); });
    m_ok->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        m_model->SetSelection(m_list->GetSelection());
        m_model->Accept();
        EndModal(wxID_OK);
    });
}

CFilterDlg::~CFilterDlg() = default;

void CFilterDlg::Run(bool (FilterListModel::*action)())
{
    // The user may have picked another entry since the last refresh.
    m_model->SetSelection(m_list->GetSelection());
    if ((m_model.get()->*action)())
        Refresh();
}

void CFilterDlg::Refresh()
{
    wxArrayString items;
    for (const std::string& entry : m_model->GetEntries())
        items.Add(wxString::FromUTF8(entry));
    m_list->Set(items);
    const int selection = m_model->GetSelection();
    if (selection >= 0)
        m_list->SetSelection(selection);
    else
        m_list->SetSelection(wxNOT_FOUND);
}

bool CFilterDlg::RunDefinition(const std::string& filter, std::string& result)
{
    if (m_defineRunner)
        return m_defineRunner(filter, result);
    CDefineFilterDlg dialog(this, m_document);
    if (!filter.empty())
        dialog.SetFilter(filter);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    result = dialog.GetFilter();
    return true;
}

void CFilterDlg::ShowMessage(const std::string& text, const std::string& title)
{
    if (m_messageRunner) {
        m_messageRunner(text, title);
        return;
    }
    wxMessageBox(wxString::FromUTF8(text), wxString::FromUTF8(title), wxOK, this);
}

}  // namespace fw
