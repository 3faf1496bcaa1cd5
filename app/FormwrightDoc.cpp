#include "app/FormwrightDoc.h"

#include "app/FileNames.h"
#include "app/FormwrightView.h"
#include "app/MainFrame.h"
#include "app/Recovery.h"
#include "dialogs/DialogTexts.h"
#include "services/FileReplace.h"
#include "services/LanguageTable.h"

#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/filehistory.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>

namespace fw {

FormwrightDocManager::FormwrightDocManager() : wxDocManager(0, false)
{
    // Not in the base constructor: it would not reach our file history.
    Initialize();
}

wxFileHistory* FormwrightDocManager::OnCreateFileHistory()
{
    return new wxFileHistory(4);
}

wxIMPLEMENT_DYNAMIC_CLASS(FormwrightDoc, wxDocument);

FormwrightDoc::FormwrightDoc() = default;

FormwrightDoc::~FormwrightDoc()
{
    if (MainFrame* frame = GetFrame()) {
        if (m_model)
            frame->GetRecovery().Forget(*this);
        frame->ForgetDocument(this);
    }
}

MainFrame* FormwrightDoc::GetFrame() const
{
    auto* manager = dynamic_cast<FormwrightDocManager*>(GetDocumentManager());
    return manager ? manager->GetFrame() : nullptr;
}

bool FormwrightDoc::OnCreate(const wxString& path, long flags)
{
    // The model first: the view made by the base step builds on it.
    MainFrame* frame = GetFrame();
    m_model = std::make_unique<FormDefinitionDocument>(frame ? &frame->GetClipboardHandler() : nullptr, frame);
    return wxDocument::OnCreate(path, flags);
}

bool FormwrightDoc::OnNewDocument()
{
    if (m_recovery)
        return OpenUntitledCopy();
    const FormDefinitionDocument::NewResult result = m_model->NewDocument();
    if (result == FormDefinitionDocument::NewResult::Refused)
        return false;
    if (!wxDocument::OnNewDocument())
        return false;
    if (result == FormDefinitionDocument::NewResult::Created) {
        const wxString objectClass = wxString::FromUTF8(m_model->GetObjectClass());
        SetTitle(objectClass);
        // The class is read back from the file name, so offer a name that keeps it.
        SetFilename(objectClass + "_Main.xml", false);
    }
    BecomeReady();
    return true;
}

bool FormwrightDoc::OpenUntitledCopy()
{
    const std::unique_ptr<RecoveryEntry> entry = std::move(m_recovery);
    const wxString name = FileNameFromBytes(entry->record.name.c_str());
    m_model->OpenCopy(entry->copyPath, entry->record.name, entry->record.diskStamp);
    if (m_model->GetFileFailure() != XmlReadFailure::None) {
        ReportUnreadable(name);
        return false;
    }
    if (!wxDocument::OnNewDocument())
        return false;
    SetTitle(wxString::FromUTF8(m_model->GetObjectClass()));
    SetFilename(name, false);
    BecomeReady();
    Modify(true);
    return true;
}

bool FormwrightDoc::OnOpenDocument(const wxString& path)
{
    const bool recovered = m_recovery != nullptr;
    if (!wxDocument::OnOpenDocument(path))
        return false;
    m_recovery.reset();
    if (recovered)
        Modify(true);
    BecomeReady();
    if (MainFrame* frame = GetFrame()) {
        // Reading showed this document's panes already.
        frame->SetPaneDocument(this);
        frame->ShowDocumentStatus(this);
    }
    return true;
}

bool FormwrightDoc::DoOpenDocument(const wxString& path)
{
    SetFilename(path, false);
    const bool read = m_recovery
                          ? m_model->OpenCopy(m_recovery->copyPath, FileNameBytes(path), m_recovery->record.diskStamp)
                          : m_model->OpenDocument(FileNameBytes(path));
    if (m_model->GetFileFailure() != XmlReadFailure::None) {
        ReportUnreadable(m_recovery ? FileNameFromBytes(m_recovery->copyPath.c_str()) : path);
        return false;
    }
    // A copy of a file read in part still needs the .bak at the first save over that file.
    m_readInPart = m_recovery ? m_recovery->record.readInPart : !read || !m_model->WasReadWhole();
    m_keepBackupOf = m_readInPart ? path : wxString();
    return true;
}

void FormwrightDoc::ReportUnreadable(const wxString& path) const
{
    // Nothing of it could be read: an empty form in its place would only
    // invite a save over the file.
    const std::vector<std::string>& problems = m_model->GetReadProblems();
    const wxString why = problems.empty() ? wxString() : "\n" + wxString::FromUTF8(problems.front());
    wxMessageBox(LangText("MSG_OPEN_FAILED") + "\n" + path + why, LangText("MSG_TITLE_ERROR"), wxOK | wxICON_ERROR,
                 GetDocumentWindow());
}

bool FormwrightDoc::ConfirmSaveLosses(const wxString& path) const
{
    const std::vector<std::string> losses = m_model->GetSaveLosses(FileNameBytes(path));
    if (losses.empty())
        return true;
    wxString text = LangText("MSG_SAVE_LOSSES") + "\n";
    for (const std::string& loss : losses)
        text += "\n" + wxString::FromUTF8(loss);
    text += "\n\n" + LangText("MSG_SAVE_ANYWAY");
    return wxMessageBox(text, LangText("MSG_TITLE_CONFIRMATION"), wxYES_NO | wxNO_DEFAULT | wxICON_WARNING,
                        GetDocumentWindow()) == wxYES;
}

bool FormwrightDoc::ConfirmReplacing(const wxString& path) const
{
    auto ask = [&](const char* key) {
        wxString question = LangText(key);
        question.Replace("%s", path);
        return wxMessageBox(question, LangText("MSG_TITLE_CONFIRMATION"), wxYES_NO | wxNO_DEFAULT | wxICON_WARNING,
                            GetDocumentWindow()) == wxYES;
    };
    const std::string file = FileNameBytes(path);
    if (m_model->ChangedOnDisk(file) && !ask("MSG_CHANGED_ON_DISK"))
        return false;
    return !IsReadOnlyFile(file) || ask("MSG_REPLACE_READ_ONLY");
}

bool FormwrightDoc::ConfirmOtherClass(const wxString& path) const
{
    const std::string objectClass = m_model->GetObjectClass();
    const std::string named = FormDefinitionDocument::ObjectClassFromPath(FileNameBytes(path));
    if (named == objectClass)
        return true;
    wxString question = LangText("MSG_SAVE_OTHER_CLASS");
    question.Replace("%1", wxString::FromUTF8(named));
    question.Replace("%2", wxString::FromUTF8(objectClass));
    return wxMessageBox(question, LangText("MSG_TITLE_CONFIRMATION"), wxYES_NO | wxNO_DEFAULT | wxICON_WARNING,
                        GetDocumentWindow()) == wxYES;
}

bool FormwrightDoc::SaveAs()
{
    wxDocTemplate* docTemplate = GetDocumentTemplate();
    if (!docTemplate)
        return false;
    const wxString filter =
        docTemplate->GetDescription() + " (" + docTemplate->GetFileFilter() + ")|" + docTemplate->GetFileFilter();
    wxString folder = wxPathOnly(GetFilename());
    if (folder.empty())
        folder = GetDocumentManager()->GetLastDirectory();
    wxString name = FileNameFromBytes(
        FormDefinitionDocument::ProposedFileName(m_model->GetObjectClass(), FileNameBytes(GetFilename())).c_str());
    wxString path;
    for (;;) {
        path = wxFileSelector(LangText("T_RIB_SAVEAS"), folder, name, "xml", filter, wxFD_SAVE | wxFD_OVERWRITE_PROMPT,
                              GetDocumentWindow());
        if (path.empty())
            return false;
        if (ConfirmOtherClass(path))
            break;
        // Back to the file dialog, in the folder chosen, offering the class's name again.
        folder = wxPathOnly(path);
    }
    if (!OnSaveDocument(path))
        return false;
    SetTitle(wxFileNameFromPath(path));
    SetFilename(path, true);
    GetDocumentManager()->AddFileToHistory(path);
    return true;
}

void FormwrightDoc::OnChangedViewList()
{
    if (!GetViewsVector().empty())
        UpdateTitles();
    wxDocument::OnChangedViewList();
}

bool FormwrightDoc::DoSaveDocument(const wxString& path)
{
    if (!ConfirmSaveLosses(path) || !ConfirmReplacing(path))
        return false;
    const bool overReadInPart = !m_keepBackupOf.empty() && wxFileName(path).SameAs(wxFileName(m_keepBackupOf));
    if (overReadInPart && wxFileExists(path)) {
        const BackupResult backup = KeepBackupOf(FileNameBytes(path));
        if (!backup.error.empty()) {
            // Never replace what could not be read without keeping it.
            wxMessageBox(LangText("MSG_BACKUP_FAILED") + "\n" + wxString::FromUTF8(backup.error),
                         LangText("MSG_TITLE_ERROR"), wxOK | wxICON_ERROR, GetDocumentWindow());
            return false;
        }
    }
    m_model->SaveDocument(FileNameBytes(path));
    if (!m_model->GetWriteError().empty()) {
        wxMessageBox(LangText("MSG_SAVE_FAILED") + "\n" + path + "\n" + wxString::FromUTF8(m_model->GetWriteError()),
                     LangText("MSG_TITLE_ERROR"), wxOK | wxICON_ERROR, GetDocumentWindow());
        return false;
    }
    if (overReadInPart) {
        m_keepBackupOf.clear();
        m_readInPart = false;
        UpdateTitles();
    }
    // Saved: its recovery copy goes now, not at the next look.
    if (MainFrame* frame = GetFrame())
        frame->GetRecovery().Look(*this);
    return true;
}

bool FormwrightDoc::OnCloseDocument()
{
    if (m_model)
        m_model->CloseDocument(static_cast<int>(GetDocumentManager()->GetDocuments().GetCount()));
    if (MainFrame* frame = GetFrame())
        frame->ForgetDocument(this);
    return wxDocument::OnCloseDocument();
}

bool FormwrightDoc::OnSaveModified()
{
    if (!IsModified())
        return true;
    wxString question = LangText("MSG_SAVE_CHANGES");
    question.Replace("%s", GetUserReadableName());
    const int answer = wxMessageBox(question, LangText("MSG_TITLE_SAVE_CHANGES"), wxYES_NO | wxCANCEL | wxICON_QUESTION,
                                    GetDocumentWindow());
    if (answer == wxYES)
        return Save();
    if (answer == wxNO) {
        Modify(false);
        return true;
    }
    return false;
}

bool FormwrightDoc::IsModified() const
{
    return m_model && m_model->IsModified();
}

void FormwrightDoc::Modify(bool modified)
{
    if (m_model)
        m_model->SetModified(modified);
    wxDocument::Modify(modified);
}

wxString FormwrightDoc::GetUserReadableName() const
{
    const wxString name = wxDocument::GetUserReadableName();
    return m_readInPart ? name + " " + LangText("DOC_READ_IN_PART") : name;
}

std::vector<FormwrightView*> FormwrightDoc::GetFormViews() const
{
    std::vector<FormwrightView*> views;
    for (wxView* view : GetViewsVector())
        if (auto* formView = dynamic_cast<FormwrightView*>(view))
            views.push_back(formView);
    return views;
}

void FormwrightDoc::BecomeReady()
{
    m_ready = true;
    for (FormwrightView* view : GetFormViews())
        view->InitialUpdate();
    UpdateTitles();
}

void FormwrightDoc::UpdateTitles()
{
    for (wxView* view : GetViewsVector())
        view->OnChangeFilename();
}

void FormwrightDoc::OnCurrentFormChanged()
{
    for (FormwrightView* view : GetFormViews())
        view->OnCurrentFormChanged();
}

}  // namespace fw
