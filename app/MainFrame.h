#pragma once
// The main window: ribbon on top, the open form files as tabs, the object
// inspector and the properties pane docked left and right, a status bar that
// starts hidden. It answers the commands no single form owns and is what the
// documents ask for their panes and the shared element clipboard.

#include "dialogs/FilterList.h"
#include "editor/FormView.h"
#include "model/ClipboardHandler.h"
#include "model/DocumentHost.h"

#include <wx/aui/framemanager.h>
#include <wx/docview.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class wxAuiNotebook;
class wxAuiNotebookEvent;
class wxCommandEvent;
class wxDropFilesEvent;
class wxHtmlHelpController;
class wxIdleEvent;
class wxPaintEvent;
class wxKeyEvent;

namespace fw {

class AppRecovery;
class CObjectInspectorWnd;
class CPropertiesWnd;
class FormDefinitionDocument;
class FormwrightDoc;
class FormwrightDocManager;
class FormwrightView;
class Ribbon;
class SystemClipboard;
class ZoomStatusBar;

// The files' windows are pages of one notebook, not frames of their own.
using MainFrameBase = wxDocParentFrame;

class MainFrame : public MainFrameBase, public DocumentHost, public FilterFormOps {
public:
    // Makes the document manager with the form file type, then the frame
    // (not shown yet). Recent files and the visual style come from the
    // global settings store.
    static MainFrame* Create();
    ~MainFrame() override;

    FormwrightDocManager& GetDocManager() const { return *m_docManager; }
    CDiagramClipboardHandler& GetClipboardHandler() { return m_clipboard; }
    AppRecovery& GetRecovery() { return *m_recovery; }
    CPropertiesWnd* GetPropertiesPane() const { return m_properties; }
    CObjectInspectorWnd* GetInspector() const { return m_inspector; }
    Ribbon& GetRibbon() const { return *m_ribbon; }
    wxAuiManager& GetAuiManager() { return m_aui; }
    // The windows on the open files, one tab each.
    wxAuiNotebook* GetNotebook() const { return m_notebook; }
    // "FILE - Formwright" for the active window's file, "*FILE - Formwright"
    // while it has unsaved changes, "Formwright" without a file.
    wxString GetTitleForActiveDocument() const;
    // The titles the Windows list offers, in tab order.
    wxArrayString GetWindowTitles() const;

    FormwrightView* GetActiveFormView() const;
    FormwrightDoc* GetActiveDocument() const;

    // Opens a file as the command line and dropped files do; null on failure.
    FormwrightDoc* OpenFile(const wxString& path);
    // The start options: OK and "open" runs File Open, OK otherwise File New.
    void RunStartOptions();
    // Writes a PNG of the frame, or of another window, as it is on screen.
    bool SaveScreenshot(const wxString& path);
    static bool SaveScreenshotOf(wxWindow* window, const wxString& path);

    // Enabled and ticked state of any ribbon command right now.
    CommandState GetCommandState(int id) const;
    // What the idle handler does: brings the ribbon's states and the Undo
    // and Redo descriptions up to date, and the status bar's history field.
    void UpdateCommandStates();
    // The status bar's fields: whether the file was read in part, what
    // Undo and Redo would take next, and the zoom (ZoomStatusBar).
    static constexpr int DocumentStatusField = 0;
    static constexpr int HistoryStatusField = 1;
    static constexpr int ZoomStatusField = 2;
    static constexpr int StatusFields = 3;
    int GetApplicationLook() const { return m_look; }
    bool IsPaneShown(int commandId) const;

    // The pages the help contexts open ("" for an unknown context).
    static wxString GetHelpPage(int context);

    // The documents and views tell the frame about themselves.
    void OnViewActivated(FormwrightView* view);
    void SetPaneDocument(FormwrightDoc* doc)
    {
        m_paneDocument = doc;
        m_closingDocument = nullptr;
    }
    FormwrightDoc* GetPaneDocument() const { return m_paneDocument; }
    void ForgetDocument(FormwrightDoc* doc);
    void ForgetView(FormwrightView* view);
    void ShowDocumentStatus(FormwrightDoc* doc);

    // Makes the active document's form of this name current (the default-form
    // text names the main form) and shows it in every window of the document.
    void SelectFormByName(const std::string& name);

    // FilterFormOps, on the active document: add, rename and copy show
    // "FLTRDLG_MSG_1" when the document refuses; remove shows nothing.
    bool AddForm(const std::string& filter) override;
    bool RenameForm(const std::string& newFilter, const std::string& oldName) override;
    bool CopyForm(const std::string& newFilter, const std::string& sourceName) override;
    bool RemoveForm(const std::string& filter) override;

    // The form dialogs of the active document.
    void ShowFilters();
    void ShowPreview();
    void ShowStyles();
    // The filter of the shown form, defined anew; on the main form a new
    // filtered form.
    void DefineShownFormFilter();
    // One of the above by name ("filters", "filter", "preview", "styles");
    // false for an unknown name.
    bool ShowFormDialog(const std::string& name);

    // DocumentHost
    void ShowPanes(bool show) override;
    void ClearPanes() override;
    void SetLoading(bool loading) override;
    void SetInspectorEntries(const std::string& className, const std::vector<std::string>& entries) override;
    bool ChooseObjectClass(const std::vector<std::string>& classes, std::string& chosen) override;
    void BeginWait() override;
    void EndWait() override;

private:
    explicit MainFrame(std::unique_ptr<FormwrightDocManager> docManager);

    void BuildPanes();
    void ApplyLook(int look);
    void Exit();
    void TogglePropertiesPane();
    void ToggleInspector();
    void TogglePane(wxWindow* pane);
    void ToggleStatusBar();
    void ShowHistoryStatus(const std::string& status);
    void ToggleExtendedProperties();
    void ShowWindowList();
    void ShowAbout();
    void ShowHelp();
    bool DisplayHelpContext(int context);
    // After the document's current form changed: every window shows it, and
    // the tabs and panes follow.
    void FormsChanged(FormwrightDoc& doc);
    // Runs a change of the active document's form list; when it succeeds the
    // document is modified and the windows follow a new current form.
    bool ChangeForms(const std::function<bool(FormDefinitionDocument&)>& change);
    bool ReportRefusedFilter(bool done);
    void NewWindow();
    // F6 and Shift+F6: the focus moves on among inspector, form and properties.
    void FocusNextPane();
    void FocusPreviousPane();
    void MoveFocus(int step);

    // A value still being typed into a properties row belongs to the elements
    // it was typed for: a ribbon command, a save or a close takes it in first.
    bool TryBefore(wxEvent& event) override;
    void OnFileCommand(wxCommandEvent& event);
    void OnViewCommand(wxCommandEvent& event);
    void OnLook(wxCommandEvent& event);
    void OnDropFiles(wxDropFilesEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnIdle(wxIdleEvent& event);
    void OnFramePaint(wxPaintEvent& event);
    void OnPageChanged(wxAuiNotebookEvent& event);
    void OnPageClose(wxAuiNotebookEvent& event);
    FormwrightView* ViewOfPage(wxWindow* page) const;

    std::unique_ptr<FormwrightDocManager> m_docManager;
    wxAuiManager m_aui;
    wxAuiNotebook* m_notebook = nullptr;
    std::unique_ptr<Ribbon> m_ribbon;
    CPropertiesWnd* m_properties = nullptr;
    CObjectInspectorWnd* m_inspector = nullptr;
    CDiagramClipboardHandler m_clipboard;
    std::unique_ptr<SystemClipboard> m_systemClipboard;
    std::unique_ptr<wxHtmlHelpController> m_help;
    FormwrightDoc* m_paneDocument = nullptr;
    // The document last closed (compared only, never used).
    FormwrightDoc* m_closingDocument = nullptr;
    bool m_loading = false;
    std::string m_historyStatus;  // as last shown
    ZoomStatusBar* m_statusBar = nullptr;
    int m_look;
    // Copies are written until the destructor has closed the documents.
    std::unique_ptr<AppRecovery> m_recovery;
};

}  // namespace fw
