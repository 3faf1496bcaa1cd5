#include "app/MainFrame.h"

#include "app/AppSettings.h"
#include "app/CanvasWindow.h"
#include "app/CommandTable.h"
#include "app/FormwrightDoc.h"
#include "app/FormwrightView.h"
#include "app/Icons.h"
#include "app/Recovery.h"
#include "app/Ribbon.h"
#include "app/SystemClipboard.h"
#include "app/VisualStyles.h"
#include "app/ZoomStatusBar.h"
#include "dialogs/DefineFilterDlg.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/FilterDlg.h"
#include "dialogs/FormPreviewDlg.h"
#include "dialogs/ObjectClassDialog.h"
#include "dialogs/StartOptionsDialog.h"
#include "dialogs/StyleListDlg.h"
#include "panes/ObjectInspectorWnd.h"
#include "panes/PropertiesWnd.h"
#include "services/Environment.h"
#include "services/LanguageTable.h"
#include "services/Strings.h"

#include <wx/aboutdlg.h>
#include <wx/aui/auibook.h>
#include <wx/config.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/filehistory.h>
#include <wx/filename.h>
#include <wx/generic/aboutdlgg.h>
#include <wx/html/helpctrl.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/ribbon/bar.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/textentry.h>
#include <wx/utils.h>
#include <wx/weakref.h>

#include <algorithm>

namespace fw {

namespace {

const char* const InspectorPaneName = "inspector";
const char* const PropertiesPaneName = "properties";
const char* const RecentFilesGroup = "/RecentFiles";
constexpr int HelpContextMain = 600044;
constexpr int HelpContextFallback = 1;
constexpr int WindowListRows = 6;
// A list row's height beyond the text's, as the toolkit pads its rows.
constexpr int WindowListRowPadding = 12;

bool IsFormViewCommand(int id)
{
    const std::vector<int>& commands = FormView::GetCommands();
    return std::find(commands.begin(), commands.end(), id) != commands.end();
}

void ApplyTextEdit(wxTextEntry& field, TextEdit edit)
{
    switch (edit) {
    case TextEdit::Cut:
        field.Cut();
        break;
    case TextEdit::Copy:
        field.Copy();
        break;
    case TextEdit::Paste:
        field.Paste();
        break;
    case TextEdit::SelectAll:
        field.SelectAll();
        break;
    case TextEdit::Undo:
        if (field.CanUndo())
            field.Undo();
        break;
    case TextEdit::Redo:
        if (field.CanRedo())
            field.Redo();
        break;
    case TextEdit::None:
        break;
    }
}

// Room for both panes beside a form of 720 units, within the first screen.
wxSize InitialFrameSize()
{
    const wxRect area = wxDisplay(0u).GetClientArea();
    return {std::min(1440, area.GetWidth()), std::min(920, area.GetHeight())};
}

}  // namespace

MainFrame* MainFrame::Create()
{
    auto manager = std::make_unique<FormwrightDocManager>();
    new wxDocTemplate(manager.get(), LangText("FILE_FILTER_NAME"), "*.xml;*.XML", wxEmptyString, "XML", "Default",
                      "Default", wxCLASSINFO(FormwrightDoc), wxCLASSINFO(FormwrightView));
    wxConfigBase* config = wxConfigBase::Get();
    config->SetPath(RecentFilesGroup);
    manager->FileHistoryLoad(*config);
    config->SetPath("/");
    return new MainFrame(std::move(manager));
}

MainFrame::MainFrame(std::unique_ptr<FormwrightDocManager> docManager)
    : MainFrameBase(docManager.get(), nullptr, wxID_ANY, "Formwright", wxDefaultPosition, InitialFrameSize()),
      m_docManager(std::move(docManager)), m_look(ReadApplicationLook(*wxConfigBase::Get()))
{
    m_docManager->SetFrame(this);
    m_recovery = std::make_unique<AppRecovery>(*this);
    GiveWindowsAppIcon(*this);
    m_aui.SetManagedWindow(this);
    // The layout manager paints the frame and takes its erasing as a no-op;
    // without this the toolkit would still set up an erase for every repaint
    // of a canvas above it.
    SetBackgroundStyle(wxBG_STYLE_PAINT);

    m_ribbon = std::make_unique<Ribbon>(this, this);
    // The recent files, newest first; their ids are the doc manager's own.
    m_ribbon->SetMenuFiller(ID_FILE_RECENT, [this](wxMenu& menu) {
        wxFileHistory* history = m_docManager->GetFileHistory();
        if (history && history->GetCount() > 0)
            history->AddFilesToMenu(&menu);
        else
            menu.Append(wxID_ANY, LangText("T_RIB_RECENT_NONE"))->Enable(false);
    });
    wxRibbonBar* bar = m_ribbon->GetBar();
    bar->Realise();
    m_aui.AddPane(bar, wxAuiPaneInfo()
                           .Name("ribbon")
                           .Top()
                           .Layer(10)
                           .CaptionVisible(false)
                           .PaneBorder(false)
                           .Floatable(false)
                           .Movable(false)
                           .Gripper(false));
    m_notebook = new wxAuiNotebook(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                   wxAUI_NB_DEFAULT_STYLE | wxAUI_NB_WINDOWLIST_BUTTON | wxNO_BORDER);
    m_notebook->Bind(wxEVT_AUINOTEBOOK_PAGE_CHANGED, &MainFrame::OnPageChanged, this);
    m_notebook->Bind(wxEVT_AUINOTEBOOK_PAGE_CLOSE, &MainFrame::OnPageClose, this);
    m_aui.AddPane(m_notebook, wxAuiPaneInfo().Name("documents").CenterPane().PaneBorder(false));
    BuildPanes();

    const int widths[StatusFields] = {-3, -1, 0};
    m_statusBar = new ZoomStatusBar(this, StatusFields, widths);
    SetStatusBar(m_statusBar);
    GetStatusBar()->Hide();

    ApplyLook(m_look);

    const std::vector<wxAcceleratorEntry> keys = Ribbon::GetAcceleratorEntries();
    SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(keys.size()), keys.data()));

    m_systemClipboard = std::make_unique<SystemClipboard>(m_clipboard, this);
    DragAcceptFiles(true);
    Bind(wxEVT_CHAR_HOOK, &MainFrame::OnCharHook, this);
    Bind(wxEVT_DROP_FILES, &MainFrame::OnDropFiles, this);
    Bind(wxEVT_IDLE, &MainFrame::OnIdle, this);
    // Ahead of the layout manager's own painting, which comes first on the frame.
    m_aui.Bind(wxEVT_PAINT, &MainFrame::OnFramePaint, this);
    Bind(wxEVT_MENU, &MainFrame::OnFileCommand, this, ID_FILE_NEW, ID_FILE_SAVE_AS);
    Bind(wxEVT_MENU, &MainFrame::OnLook, this, ID_VIEW_APPLOOK_FIRST, ID_VIEW_APPLOOK_LAST);
    using Handler = void (MainFrame::*)();
    static const std::pair<int, Handler> handlers[] = {
        {ID_APP_EXIT, &MainFrame::Exit},
        {ID_APP_ABOUT, &MainFrame::ShowAbout},
        {ID_HELP, &MainFrame::ShowHelp},
        {ID_WINDOW_MANAGER, &MainFrame::ShowWindowList},
        {ID_WINDOW_NEW, &MainFrame::NewWindow},
        {ID_VIEW_PROPERTIESWND, &MainFrame::TogglePropertiesPane},
        {ID_VIEW_INSPECTORWND, &MainFrame::ToggleInspector},
        {ID_VIEW_STATUS_BAR, &MainFrame::ToggleStatusBar},
        {ID_VIEW_EXTEND_PROPERTIES, &MainFrame::ToggleExtendedProperties},
        {ID_SHOWFILTER, &MainFrame::ShowFilters},
        {ID_FORM_PREVIEW, &MainFrame::ShowPreview},
        {ID_ADDSTYLE, &MainFrame::ShowStyles},
        {ID_NEXT_PANE, &MainFrame::FocusNextPane},
        {ID_PREV_PANE, &MainFrame::FocusPreviousPane},
    };
    for (const auto& [id, handler] : handlers) {
        const Handler run = handler;
        Bind(
            wxEVT_MENU, [this, run](wxCommandEvent&) { (this->*run)(); }, id);
    }
    // Form commands reach the active view here when the tab did not take them first.
    for (int id : FormView::GetCommands())
        Bind(wxEVT_MENU, &MainFrame::OnViewCommand, this, id);
}

MainFrame::~MainFrame()
{
    if (wxConfigBase* config = wxConfigBase::Get(false)) {
        config->SetPath(RecentFilesGroup);
        m_docManager->FileHistorySave(*config);
        config->SetPath("/");
        config->Flush();
    }
    // Closing was confirmed (or forced) already; nothing is asked on the way out.
    m_recovery->KeepUnsaved();
    for (wxDocument* doc : m_docManager->GetDocumentsVector())
        doc->Modify(false);
    m_docManager->Clear(true);
    m_aui.UnInit();
    m_docManager->SetFrame(nullptr);
}

void MainFrame::BuildPanes()
{
    m_inspector = new CObjectInspectorWnd(this);
    m_properties = new CPropertiesWnd(this);
    const wxSize inspectorSize = FromDIP(wxSize(240, 300));
    const wxSize propertiesSize = FromDIP(wxSize(290, 300));
    m_aui.AddPane(m_inspector, wxAuiPaneInfo()
                                   .Name(InspectorPaneName)
                                   .Caption(LangText("OBJ_PROPWND_NAME"))
                                   .Left()
                                   .BestSize(inspectorSize)
                                   .FloatingSize(inspectorSize)
                                   .MinSize(120, 120)
                                   .CloseButton(true)
                                   .Dockable(true));
    m_aui.AddPane(m_properties, wxAuiPaneInfo()
                                    .Name(PropertiesPaneName)
                                    .Caption(LangText("PROPWND_NAME"))
                                    .Right()
                                    .BestSize(propertiesSize)
                                    .FloatingSize(propertiesSize)
                                    .MinSize(120, 120)
                                    .CloseButton(true)
                                    .Dockable(true));
}

FormwrightView* MainFrame::GetActiveFormView() const
{
    return dynamic_cast<FormwrightView*>(m_docManager->GetAnyUsableView());
}

FormwrightDoc* MainFrame::GetActiveDocument() const
{
    FormwrightView* view = GetActiveFormView();
    return view ? view->GetFormDocument() : nullptr;
}

FormwrightDoc* MainFrame::OpenFile(const wxString& path)
{
    return dynamic_cast<FormwrightDoc*>(m_docManager->CreateDocument(path, wxDOC_SILENT));
}

void MainFrame::RunStartOptions()
{
    int choice = 0;
    {
        CFormDesignOptions options(this);
        if (options.ShowModal() != wxID_OK)
            return;
        choice = options.GetChoice();
    }
    wxCommandEvent event(wxEVT_MENU, choice == 1 ? ID_FILE_OPEN : ID_FILE_NEW);
    if (choice == 1)
        m_docManager->OnFileOpen(event);
    else
        m_docManager->OnFileNew(event);
}

bool MainFrame::TryBefore(wxEvent& event)
{
    if (event.GetEventType() == wxEVT_MENU && m_properties) {
        const int id = event.GetId();
        const bool fromRibbon = m_ribbon && event.GetEventObject() == m_ribbon->GetBar();
        if (fromRibbon || id == ID_FILE_SAVE || id == ID_FILE_SAVE_AS || id == ID_FILE_CLOSE)
            m_properties->CommitPendingEdit();
    }
    return MainFrameBase::TryBefore(event);
}

bool MainFrame::SaveScreenshot(const wxString& path)
{
    Raise();
    return SaveScreenshotOf(this, path);
}

bool MainFrame::SaveScreenshotOf(wxWindow* window, const wxString& path)
{
    window->Update();
    const wxRect rect = window->GetScreenRect();
    wxBitmap bitmap(rect.GetWidth(), rect.GetHeight(), 24);
    {
        wxScreenDC screen;
        wxMemoryDC memory(bitmap);
        memory.Blit(0, 0, rect.GetWidth(), rect.GetHeight(), &screen, rect.GetX(), rect.GetY());
    }
    return bitmap.SaveFile(path, wxBITMAP_TYPE_PNG);
}

CommandState MainFrame::GetCommandState(int id) const
{
    FormwrightDoc* doc = GetActiveDocument();
    switch (id) {
    case ID_FILE_SAVE:
        return {doc && doc->IsModified(), false};
    case ID_FILE_CLOSE:
    case ID_FILE_SAVE_AS:
    case ID_WINDOW_NEW:
        return {doc != nullptr, false};
    case ID_VIEW_PROPERTIESWND:
    case ID_VIEW_INSPECTORWND:
    case ID_VIEW_STATUS_BAR:
        return {true, IsPaneShown(id)};
    case ID_VIEW_EXTEND_PROPERTIES: {
        bool any = false;
        for (wxDocument* open : m_docManager->GetDocumentsVector())
            if (auto* formDoc = dynamic_cast<FormwrightDoc*>(open))
                any = any || formDoc->GetModel().IsExtendedModel();
        return {doc != nullptr, any};
    }
    case ID_SHOWFILTER:
    case ID_ADDSTYLE:
    case ID_FORM_PREVIEW: {
        const FormwrightView* view = GetActiveFormView();
        return {doc && view && view->IsInitialised(), false};
    }
    default:
        break;
    }
    if (id >= ID_VIEW_APPLOOK_FIRST && id <= ID_VIEW_APPLOOK_LAST)
        return {IsValidLook(id), id == m_look};
    if (IsFormViewCommand(id)) {
        FormwrightView* view = GetActiveFormView();
        return view ? view->GetCommandState(id) : CommandState{false, false};
    }
    return {true, false};
}

void MainFrame::UpdateCommandStates()
{
    m_ribbon->UpdateStates([this](int id) { return GetCommandState(id); });
    FormwrightView* view = GetActiveFormView();
    const FormView* form = view && view->IsInitialised() ? &view->GetFormView() : nullptr;
    m_ribbon->UpdateDescriptions([form](int id) { return form ? form->GetCommandDescription(id) : std::string(); });
    ShowHistoryStatus(form ? form->GetHistoryStatus() : std::string());
    m_statusBar->ShowZoom(form ? form->GetZoomStatus() : std::string());
    const wxString title = GetTitleForActiveDocument();
    if (title != GetTitle())
        SetTitle(title);
}

wxString MainFrame::GetTitleForActiveDocument() const
{
    const FormwrightDoc* doc = GetActiveDocument();
    if (!doc)
        return "Formwright";
    return (doc->IsModified() ? "*" : "") + doc->GetUserReadableName() + " - Formwright";
}

wxArrayString MainFrame::GetWindowTitles() const
{
    wxArrayString titles;
    for (size_t i = 0; i < m_notebook->GetPageCount(); ++i) {
        const FormwrightView* view = ViewOfPage(m_notebook->GetPage(i));
        titles.Add(view ? view->GetTitle() : m_notebook->GetPageText(i));
    }
    return titles;
}

void MainFrame::ShowHistoryStatus(const std::string& status)
{
    // The idle handler runs often; the bar is written only when the text changes.
    if (status == m_historyStatus)
        return;
    m_historyStatus = status;
    SetStatusText(wxString::FromUTF8(status), HistoryStatusField);
}

bool MainFrame::IsPaneShown(int commandId) const
{
    switch (commandId) {
    case ID_VIEW_PROPERTIESWND:
        return m_properties->IsShown();
    case ID_VIEW_INSPECTORWND:
        return m_inspector->IsShown();
    case ID_VIEW_STATUS_BAR:
        return GetStatusBar() && GetStatusBar()->IsShown();
    default:
        return false;
    }
}

void MainFrame::OnViewActivated(FormwrightView* view)
{
    FormwrightDoc* doc = view->GetFormDocument();
    if (m_loading || !doc || !doc->IsReady() || !view->IsInitialised())
        return;
    // Its last window comes forward once more while it closes; the panes stay empty.
    if (doc == m_closingDocument)
        return;
    m_closingDocument = nullptr;
    ShowDocumentStatus(doc);
    // Two windows on one file share the panes; only another file refreshes them.
    if (doc == m_paneDocument)
        return;
    BeginWait();
    doc->GetModel().RefreshLists(false);
    view->GetFormView().GetEditor().NotifySelection();
    EndWait();
    m_paneDocument = doc;
}

void MainFrame::ForgetDocument(FormwrightDoc* doc)
{
    if (m_paneDocument == doc)
        m_paneDocument = nullptr;
    m_closingDocument = doc;
}

void MainFrame::ForgetView(FormwrightView* view)
{
    // The inspector belongs to the document, which forgets itself when it
    // goes; the properties pane works on one window's editor, so it lets go
    // of it, and the next window to come forward fills the pane again.
    if (!view->IsInitialised() || m_properties->GetModel().GetEditor() != &view->GetFormView().GetEditor())
        return;
    m_properties->Clear();
    m_paneDocument = nullptr;
}

void MainFrame::ShowDocumentStatus(FormwrightDoc* doc)
{
    SetStatusText(doc && doc->WasReadInPart() ? LangText("STATUS_READ_IN_PART") : wxString(), DocumentStatusField);
}

void MainFrame::ShowPanes(bool show)
{
    m_aui.GetPane(m_inspector).Show(show);
    m_aui.GetPane(m_properties).Show(show);
    m_aui.Update();
}

void MainFrame::ClearPanes()
{
    m_inspector->Clear();
    m_properties->Clear();
}

void MainFrame::SetLoading(bool loading)
{
    m_loading = loading;
}

void MainFrame::SetInspectorEntries(const std::string& className, const std::vector<std::string>& entries)
{
    // A class the object model does not know lists nothing; emptied whole, the
    // next file's class fills the inspector again even when it was shown before.
    if (entries.empty())
        m_inspector->Clear();
    else
        m_inspector->SetObjectType(className, entries);
}

bool MainFrame::ChooseObjectClass(const std::vector<std::string>& classes, std::string& chosen)
{
    CObjectClassList chooser(this, classes);
    if (chooser.ShowModal() != wxID_OK)
        return false;
    chosen = chooser.GetResult();
    return true;
}

void MainFrame::BeginWait()
{
    wxBeginBusyCursor();
}

void MainFrame::EndWait()
{
    wxEndBusyCursor();
}

void MainFrame::ApplyLook(int look)
{
    m_look = IsValidLook(look) ? look : ID_VIEW_APPLOOK_DEFAULT;
    m_ribbon->ApplyVisualStyle(m_look);
    // Each look measures its ribbon differently; the pane follows.
    wxRibbonBar* bar = m_ribbon->GetBar();
    bar->InvalidateBestSize();
    const int height = bar->GetBestSize().GetHeight();
    m_aui.GetPane(bar).MinSize(-1, height).BestSize(-1, height);
    ApplyAuiLook(m_aui, m_look);
    m_aui.Update();
}

void MainFrame::Exit()
{
    Close();
}

void MainFrame::TogglePropertiesPane()
{
    TogglePane(m_properties);
}

void MainFrame::ToggleInspector()
{
    TogglePane(m_inspector);
}

void MainFrame::TogglePane(wxWindow* pane)
{
    wxAuiPaneInfo& info = m_aui.GetPane(pane);
    info.Show(!info.IsShown());
    m_aui.Update();
}

void MainFrame::ToggleStatusBar()
{
    wxStatusBar* bar = GetStatusBar();
    bar->Show(!bar->IsShown());
    SendSizeEvent();
}

void MainFrame::ToggleExtendedProperties()
{
    FormwrightDoc* active = GetActiveDocument();
    if (!active)
        return;
    std::vector<FormDefinitionDocument*> open;
    for (wxDocument* doc : m_docManager->GetDocumentsVector())
        if (auto* formDoc = dynamic_cast<FormwrightDoc*>(doc))
            open.push_back(&formDoc->GetModel());
    m_inspector->ToggleExtended(active->GetModel(), open);
}

void MainFrame::SelectFormByName(const std::string& name)
{
    FormwrightDoc* doc = GetActiveDocument();
    if (doc && doc->GetModel().SelectFormByName(name))
        FormsChanged(*doc);
}

void MainFrame::FormsChanged(FormwrightDoc& doc)
{
    doc.OnCurrentFormChanged();
    doc.UpdateTitles();
    if (FormwrightView* view = GetActiveFormView(); view && view->GetFormDocument() == &doc)
        view->GetFormView().GetEditor().NotifySelection();
}

bool MainFrame::ReportRefusedFilter(bool done)
{
    // Over the filter list when the change came from it.
    wxWindow* parent = this;
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog && dialog->IsModal())
            parent = dialog;
    if (!done)
        wxMessageBox(LangText("FLTRDLG_MSG_1"), LangText("FLTRDLG_MSG_DLG"), wxOK | wxICON_INFORMATION, parent);
    return done;
}

bool MainFrame::ChangeForms(const std::function<bool(FormDefinitionDocument&)>& change)
{
    FormwrightDoc* doc = GetActiveDocument();
    if (!doc)
        return false;
    FormDefinitionDocument& model = doc->GetModel();
    const CDiagramEntityContainer* shown = model.GetCurrentForm();
    if (!change(model))
        return false;
    if (model.GetCurrentForm() != shown)
        FormsChanged(*doc);
    return true;
}

bool MainFrame::AddForm(const std::string& filter)
{
    return ReportRefusedFilter(ChangeForms([&](FormDefinitionDocument& model) { return model.AddForm(filter); }));
}

bool MainFrame::CopyForm(const std::string& newFilter, const std::string& sourceName)
{
    return ReportRefusedFilter(
        ChangeForms([&](FormDefinitionDocument& model) { return model.CopyForm(newFilter, sourceName); }));
}

bool MainFrame::RenameForm(const std::string& newFilter, const std::string& oldName)
{
    FormwrightDoc* doc = GetActiveDocument();
    const bool renamed = ReportRefusedFilter(
        ChangeForms([&](FormDefinitionDocument& model) { return model.RenameForm(newFilter, oldName); }));
    // The windows keep the form they show; their tabs name its new filter.
    if (renamed && doc)
        doc->UpdateTitles();
    return renamed;
}

bool MainFrame::RemoveForm(const std::string& filter)
{
    // A window on the removed form goes to the main form.
    return ChangeForms([&](FormDefinitionDocument& model) { return model.RemoveForm(filter); });
}

void MainFrame::ShowFilters()
{
    FormwrightDoc* doc = GetActiveDocument();
    if (!doc || !GetActiveFormView())
        return;
    FormDefinitionDocument& model = doc->GetModel();
    std::vector<std::string> filters;
    for (const auto& [filter, form] : model.GetFilteredForms())
        filters.push_back(filter);
    CFilterDlg dialog(this, model.GetCurrentFormName(), filters, *this, model);
    if (dialog.ShowModal() == wxID_OK)
        SelectFormByName(dialog.GetResult());
}

void MainFrame::DefineShownFormFilter()
{
    FormwrightDoc* doc = GetActiveDocument();
    if (!doc || !GetActiveFormView())
        return;
    FormDefinitionDocument& model = doc->GetModel();
    const bool filtered = model.GetCurrentForm() != model.GetMainForm();
    const std::string shown = model.GetCurrentFormName();
    CDefineFilterDlg dialog(this, model);
    if (filtered)
        dialog.SetFilter(shown);
    if (dialog.ShowModal() != wxID_OK)
        return;
    const std::string filter = dialog.GetFilter();
    if (filter.empty() || equalsNoCase(filter, shown))
        return;
    if (filtered ? RenameForm(filter, shown) : AddForm(filter))
        SelectFormByName(filter);
}

bool MainFrame::ShowFormDialog(const std::string& name)
{
    static const std::pair<const char*, void (MainFrame::*)()> dialogs[] = {
        {"filters", &MainFrame::ShowFilters},
        {"filter", &MainFrame::DefineShownFormFilter},
        {"preview", &MainFrame::ShowPreview},
        {"styles", &MainFrame::ShowStyles},
    };
    for (const auto& [dialogName, show] : dialogs) {
        if (name == dialogName) {
            (this->*show)();
            return true;
        }
    }
    return false;
}

void MainFrame::ShowPreview()
{
    FormwrightView* view = GetActiveFormView();
    CFormPreviewDlg dialog(this, view && view->IsInitialised() ? &view->GetFormView().GetEditor() : nullptr);
    dialog.ShowModal();
    if (view)
        view->GetCanvas()->Refresh();
}

void MainFrame::ShowStyles()
{
    FormwrightDoc* doc = GetActiveDocument();
    if (!doc || !GetActiveFormView())
        return;
    CStyleList dialog(this, doc->GetModel());
    dialog.ShowModal();
    if (dialog.HasChanged())
        doc->Modify(true);
    FormsChanged(*doc);
}

void MainFrame::ShowWindowList()
{
    if (m_notebook->GetPageCount() == 0)
        return;
    wxDialog dialog(this, wxID_ANY, LangText("WINDOWLIST_TITLE"), wxDefaultPosition, wxDefaultSize,
                    wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);
    auto* list = new wxListBox(&dialog, wxID_ANY, wxDefaultPosition, wxDefaultSize, GetWindowTitles(), wxLB_SINGLE);
    list->SetSelection(m_notebook->GetSelection());
    // Room for six windows before the list scrolls.
    list->SetMinSize(wxSize(FromDIP(420), WindowListRows * (list->GetCharHeight() + FromDIP(WindowListRowPadding))));
    list->Bind(wxEVT_LISTBOX_DCLICK, [&dialog](wxCommandEvent&) { dialog.EndModal(wxID_OK); });
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(&dialog, wxID_ANY, LangText("WINDOWLIST_PROMPT")), 0, wxALL, FromDIP(8));
    sizer->Add(list, 1, wxEXPAND | wxLEFT | wxRIGHT, FromDIP(8));
    sizer->Add(MakeOkCancelRow(&dialog), 0, wxEXPAND | wxALL, FromDIP(8));
    dialog.SetSizerAndFit(sizer);
    dialog.CentreOnParent();
    if (dialog.ShowModal() == wxID_OK && list->GetSelection() != wxNOT_FOUND)
        m_notebook->SetSelection(static_cast<size_t>(list->GetSelection()));
}

void MainFrame::ShowAbout()
{
    wxAboutDialogInfo info;
    info.SetName("Formwright");
    info.SetVersion(FORMWRIGHT_VERSION);
    info.SetDescription(LangText("ABOUT_TEXT"));
    // The box of our own shows the application's icon and is a window like the others.
    info.SetIcon(AppIcons().GetIcon(64));
    wxGenericAboutBox(info, this);
}

wxString MainFrame::GetHelpPage(int context)
{
    switch (context) {
    case HelpContextMain:
        return "getting-started.html";
    case HelpContextFallback:
        return "index.html";
    default:
        return wxString();
    }
}

bool MainFrame::DisplayHelpContext(int context)
{
    const wxString page = GetHelpPage(context);
    return !page.empty() && m_help->Display(page);
}

void MainFrame::ShowHelp()
{
    wxString book = wxString::FromUTF8(Environment::instance().helpFile(""));
    // A German desktop gets the German book beside the English one.
    if (const wxFileName german(wxFileName(book).GetPath() + "/de", wxFileName(book).GetFullName());
        LanguageTable::instance().language() == "German" && german.FileExists())
        book = german.GetFullPath();
    if (!m_help) {
        m_help = std::make_unique<wxHtmlHelpController>(wxHF_TOOLBAR | wxHF_CONTENTS | wxHF_SEARCH | wxHF_PRINT, this);
        if (!wxFileName::FileExists(book) || !m_help->AddBook(wxFileName(book))) {
            m_help.reset();
            wxMessageBox(LangText("MSG_HELP_MISSING") + "\n" + book, LangText("MSG_TITLE_ERROR"), wxOK | wxICON_ERROR,
                         this);
            return;
        }
    }
    if (!DisplayHelpContext(HelpContextMain))
        DisplayHelpContext(HelpContextFallback);
}

void MainFrame::NewWindow()
{
    FormwrightDoc* doc = GetActiveDocument();
    if (!doc || !doc->GetDocumentTemplate())
        return;
    wxView* view = doc->GetDocumentTemplate()->CreateView(doc);
    if (!view)
        return;
    // The new tab comes to the front, as a newly opened file does.
    const int page = m_notebook->GetPageIndex(view->GetFrame());
    if (page != wxNOT_FOUND)
        m_notebook->SetSelection(static_cast<size_t>(page));
    view->Activate(true);
}

void MainFrame::FocusNextPane()
{
    MoveFocus(1);
}

void MainFrame::FocusPreviousPane()
{
    MoveFocus(-1);
}

void MainFrame::MoveFocus(int step)
{
    std::vector<wxWindow*> stops;
    if (m_inspector->IsShown())
        stops.push_back(m_inspector->GetList());
    if (FormwrightView* view = GetActiveFormView(); view && view->GetCanvas())
        stops.push_back(view->GetCanvas());
    if (m_properties->IsShown())
        stops.push_back(m_properties);
    if (stops.empty())
        return;
    const int count = static_cast<int>(stops.size());
    int current = -1;
    for (wxWindow* focus = FindFocus(); focus && current < 0; focus = focus->GetParent())
        for (int i = 0; i < count; ++i)
            if (stops[static_cast<size_t>(i)] == focus)
                current = i;
    const int next = current < 0 ? (step > 0 ? 0 : count - 1) : ((current + step) % count + count) % count;
    stops[static_cast<size_t>(next)]->SetFocus();
}

void MainFrame::OnFileCommand(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case ID_FILE_NEW:
        m_docManager->OnFileNew(event);
        break;
    case ID_FILE_OPEN:
        m_docManager->OnFileOpen(event);
        break;
    case ID_FILE_CLOSE:
        m_docManager->OnFileClose(event);
        break;
    case ID_FILE_SAVE:
        m_docManager->OnFileSave(event);
        break;
    case ID_FILE_SAVE_AS:
        m_docManager->OnFileSaveAs(event);
        break;
    default:
        event.Skip();
        break;
    }
}

void MainFrame::OnViewCommand(wxCommandEvent& event)
{
    FormwrightView* view = GetActiveFormView();
    if (!view || !view->RunCommand(event.GetId()))
        event.Skip();
}

void MainFrame::OnLook(wxCommandEvent& event)
{
    if (!IsValidLook(event.GetId()))
        return;
    ApplyLook(event.GetId());
    WriteApplicationLook(*wxConfigBase::Get(), m_look);
}

void MainFrame::OnDropFiles(wxDropFilesEvent& event)
{
    for (int i = 0; i < event.GetNumberOfFiles(); ++i)
        OpenFile(event.GetFiles()[i]);
}

// The frame's shortcuts are looked up before the focused window sees a key,
// so Ctrl+C in a pane's text field would copy the form's elements. The hook
// comes first: while a text field has the focus, the edit keys are its own.
void MainFrame::OnCharHook(wxKeyEvent& event)
{
    auto* field = dynamic_cast<wxTextEntry*>(FindFocus());
    const TextEdit edit = field ? TextEditOf(GetAcceleratorTable()->GetCommand(event)) : TextEdit::None;
    if (edit == TextEdit::None) {
        event.Skip();
        return;
    }
    ApplyTextEdit(*field, edit);
}

void MainFrame::OnFramePaint(wxPaintEvent& event)
{
    // The toolkit draws every window under a damaged area, so each repaint
    // of a canvas reaches the frame too. There the documents' area hides all
    // the frame would draw; captions, sashes and borders lie outside it.
    // (This toolkit needs no paint DC to finish a paint.)
    const wxRect documents = m_notebook ? m_notebook->GetRect() : wxRect();
    if (!documents.IsEmpty() && documents.Contains(GetUpdateRegion().GetBox()))
        return;
    event.Skip();
}

FormwrightView* MainFrame::ViewOfPage(wxWindow* page) const
{
    for (wxDocument* doc : m_docManager->GetDocumentsVector())
        for (wxView* view : doc->GetViewsVector())
            if (view->GetFrame() == page)
                return dynamic_cast<FormwrightView*>(view);
    return nullptr;
}

void MainFrame::OnPageChanged(wxAuiNotebookEvent& event)
{
    const int page = event.GetSelection();
    if (page != wxNOT_FOUND)
        if (FormwrightView* view = ViewOfPage(m_notebook->GetPage(static_cast<size_t>(page))))
            view->Activate(true);
    event.Skip();
}

void MainFrame::OnPageClose(wxAuiNotebookEvent& event)
{
    // The view removes its page itself, once it is sure to close; not while
    // the notebook is still handling the click.
    event.Veto();
    const int page = event.GetSelection();
    if (page == wxNOT_FOUND)
        return;
    CallAfter([window = wxWeakRef<wxWindow>(m_notebook->GetPage(static_cast<size_t>(page)))] {
        if (window)
            window->Close();
    });
}

void MainFrame::OnIdle(wxIdleEvent& event)
{
    // Nothing on the ribbon can be chosen while a canvas holds the mouse (a
    // drag), and asking every command after each step costs a walk of the
    // form per command; the states catch up once the button is let go.
    FormwrightView* view = GetActiveFormView();
    if (!view || !view->GetCanvas() || !view->GetCanvas()->HasCapture())
        UpdateCommandStates();
    event.Skip();
}

}  // namespace fw
