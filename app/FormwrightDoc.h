#pragma once
// The wx document of one form definition file. The file logic lives in
// FormDefinitionDocument; this class ties it into wx's document life cycle
// (new, open, save, close, the save-changes question).

#include "model/FormDefinitionDocument.h"
#include "services/Recovery.h"

#include <wx/docview.h>

#include <memory>
#include <vector>

namespace fw {

class FormwrightView;
class MainFrame;

// The document manager of one main frame: documents reach their frame (the
// panes, the shared element clipboard) through it. Keeps four recent files.
class FormwrightDocManager : public wxDocManager {
public:
    FormwrightDocManager();

    void SetFrame(MainFrame* frame) { m_frame = frame; }
    MainFrame* GetFrame() const { return m_frame; }

    wxFileHistory* OnCreateFileHistory() override;

private:
    MainFrame* m_frame = nullptr;
};

class FormwrightDoc : public wxDocument {
public:
    FormwrightDoc();
    ~FormwrightDoc() override;

    bool OnCreate(const wxString& path, long flags) override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const wxString& path) override;
    bool OnCloseDocument() override;
    bool OnSaveModified() override;
    // The file's state: an edit on any of its forms, its form list or its
    // styles counts, whichever form the windows show.
    bool IsModified() const override;
    void Modify(bool modified) override;
    wxString GetUserReadableName() const override;
    // Offers "CLASS_name.xml" (the class is read back from the name) and asks
    // before a name whose class part differs; No goes back to the file dialog.
    bool SaveAs() override;
    // Windows come and go: the others' tabs are numbered anew.
    void OnChangedViewList() override;
    // The next Open (or, for a file never saved, New) step reads this copy
    // instead: the document becomes the copy's file with the copy's
    // content, modified, so that a save writes it where it belongs.
    void RecoverFrom(const RecoveryEntry& entry) { m_recovery = std::make_unique<RecoveryEntry>(entry); }

    FormDefinitionDocument& GetModel() { return *m_model; }
    const FormDefinitionDocument& GetModel() const { return *m_model; }
    // New or Open has finished; views set their editors up from then on.
    bool IsReady() const { return m_ready; }
    // The file had parts that could not be read; its first save keeps a .bak.
    bool WasReadInPart() const { return m_readInPart; }

    std::vector<FormwrightView*> GetFormViews() const;
    MainFrame* GetFrame() const;
    // The document switched its current form: every view shows the new one.
    void OnCurrentFormChanged();
    // Every window's tab says the file's name and the form it shows.
    void UpdateTitles();

protected:
    bool DoOpenDocument(const wxString& path) override;
    bool DoSaveDocument(const wxString& path) override;

private:
    void BecomeReady();
    bool OpenUntitledCopy();
    void ReportUnreadable(const wxString& path) const;
    // Lists what saving to `path` would lose and asks; false cancels the save.
    bool ConfirmSaveLosses(const wxString& path) const;
    // Asks before replacing a file someone else changed since it was read or
    // saved here, or one that is read-only; false cancels the save.
    bool ConfirmReplacing(const wxString& path) const;
    // Asks whether to save under a name that reads back as another class.
    bool ConfirmOtherClass(const wxString& path) const;

    std::unique_ptr<FormDefinitionDocument> m_model;
    bool m_ready = false;
    bool m_readInPart = false;
    // The file read in part; the first save over it copies it aside.
    wxString m_keepBackupOf;
    std::unique_ptr<RecoveryEntry> m_recovery;

    wxDECLARE_DYNAMIC_CLASS(FormwrightDoc);
};

}  // namespace fw
