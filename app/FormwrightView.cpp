#include "app/FormwrightView.h"

#include "app/CanvasWindow.h"
#include "app/FileNames.h"
#include "app/FormwrightDoc.h"
#include "app/MainFrame.h"
#include "dialogs/DialogTexts.h"
#include "model/ActiveDocument.h"
#include "model/LoadProblems.h"
#include "panes/PropertiesWnd.h"
#include "render/CairoDrawContext.h"
#include "services/LanguageTable.h"

#include <wx/aui/auibook.h>
#include <wx/dc.h>
#include <wx/infobar.h>
#include <wx/print.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/weakref.h>

#include <algorithm>

namespace fw {

namespace {

// Longer tab titles are cut here; the tab's tooltip holds the whole title.
constexpr size_t TabTitleChars = 48;

#if wxUSE_PRINTING_ARCHITECTURE
// One page: the paper at the printer's resolution.
class FormPrintout : public wxPrintout {
public:
    FormPrintout(FormwrightView& view, const wxString& title) : wxPrintout(title), m_view(view) {}

    bool HasPage(int page) override { return page == 1; }
    void GetPageInfo(int* minPage, int* maxPage, int* selFrom, int* selTo) override
    {
        *minPage = *maxPage = *selFrom = *selTo = 1;
    }

    bool OnPrintPage(int page) override
    {
        wxDC* dc = GetDC();
        if (page != 1 || !dc || !dc->GetImpl())
            return false;
        auto* cr = static_cast<cairo_t*>(dc->GetImpl()->GetCairoContext());
        if (!cr)
            return false;
        int ppiX = 0;
        int ppiY = 0;
        GetPPIPrinter(&ppiX, &ppiY);
        double scale = 1.0;
        const IntRect rect = m_view.GetFormView().GetPrintRect(ppiX > 0 ? ppiX : 96, scale);
        CairoDrawContext context(cr);
        m_view.GetFormView().GetEditor().Print(context, rect, scale);
        return true;
    }

private:
    FormwrightView& m_view;
};
#endif

}  // namespace

wxIMPLEMENT_DYNAMIC_CLASS(FormwrightView, wxView);

FormwrightView::FormwrightView()
{
    Bind(wxEVT_MENU, &FormwrightView::OnMenu, this);
}

FormwrightView::~FormwrightView()
{
    // The canvas works on the editor this view owns, so it goes first; hidden
    // first, so that losing the focus still finds the editor.
    if (m_canvas) {
        m_canvas->Hide();
        m_canvas->Destroy();
        m_canvas = nullptr;
    }
    FormwrightDoc* doc = GetFormDocument();
    MainFrame* frame = doc ? doc->GetFrame() : nullptr;
    if (frame)
        frame->ForgetView(this);
    if (m_page && frame) {
        wxAuiNotebook* notebook = frame->GetNotebook();
        const int index = notebook->GetPageIndex(m_page);
        if (index != wxNOT_FOUND)
            notebook->RemovePage(static_cast<size_t>(index));
        m_page->Hide();
        // The page may be handling its own close event: it goes once that is
        // over, unless the frame takes it along first.
        frame->CallAfter([page = wxWeakRef<wxWindow>(m_page)] {
            if (page)
                page->Destroy();
        });
    }
    SetFrame(nullptr);
}

FormwrightDoc* FormwrightView::GetFormDocument() const
{
    return dynamic_cast<FormwrightDoc*>(GetDocument());
}

bool FormwrightView::OnCreate(wxDocument* doc, long flags)
{
    if (!wxView::OnCreate(doc, flags))
        return false;
    auto* formDoc = dynamic_cast<FormwrightDoc*>(doc);
    MainFrame* frame = formDoc ? formDoc->GetFrame() : nullptr;
    if (!frame)
        return false;
    // A page of the frame's notebook, not a frame of its own.
    wxAuiNotebook* notebook = frame->GetNotebook();
    auto* page = new wxPanel(notebook, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxNO_BORDER);
    m_page = page;
    // The info bar and the canvas cover it all: erasing it before every
    // repaint of the canvas would only cost time.
    page->SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_formView = std::make_unique<FormView>(formDoc->GetModel());
    m_canvas = new CanvasWindow(page, m_formView->GetEditor());
    m_canvas->SetDropHandler(
        [this](IntPoint point, const std::string& text) { return m_formView->OnDropProperty(point, text); });
    m_infoBar = new wxInfoBarGeneric(page);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_infoBar, 0, wxEXPAND);
    sizer->Add(m_canvas, 1, wxEXPAND);
    page->SetSizer(sizer);
    SetFrame(page);
    // Closing the tab closes this window, as closing a window does.
    page->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (!CloseWindow() && event.CanVeto())
            event.Veto();
    });
    notebook->AddPage(page, doc->GetUserReadableName(), true);
    page->Layout();
    formDoc->UpdateTitles();
    Activate(true);
    // A further window on an open document starts at once.
    if (formDoc->IsReady())
        InitialUpdate();
    return true;
}

void FormwrightView::InitialUpdate()
{
    FormwrightDoc* doc = GetFormDocument();
    if (m_initialised || !doc || !doc->IsReady() || !m_canvas)
        return;
    m_initialised = true;
    MainFrame* frame = doc->GetFrame();
    const int dpi = m_canvas->GetDPI().GetWidth();
    m_formView->OnInitialUpdate(&m_canvas->GetHost(), frame ? frame->GetPropertiesPane() : nullptr, dpi > 0 ? dpi : 96);
    ShowWhatWasLeftOut();
    m_canvas->Refresh();
}

void FormwrightView::ShowWhatWasLeftOut()
{
    FormwrightDoc* doc = GetFormDocument();
    if (!doc)
        return;
    wxString text;
    // The class comes from the file name; a name the object model does not
    // know would otherwise just leave the inspector empty.
    if (!doc->GetModel().IsObjectClassKnown()) {
        text = LangText("INFO_UNKNOWN_CLASS");
        text.Replace("%s", wxString::FromUTF8(doc->GetModel().GetObjectClass()));
    }
    // A few lines fit above the form; check lists them all.
    constexpr std::size_t Shown = 4;
    if (doc->WasReadInPart())
        text +=
            (text.empty() ? "" : "\n") + wxString::FromUTF8(DescribeLeftOut(doc->GetModel().GetReadProblems(), Shown));
    if (text.empty())
        return;
    m_infoBar->ShowMessage(text, wxICON_WARNING);
    // The bar is as high as its text's lines, counting only line breaks in
    // the text: break long lines where the window's width ends them.
    wxWindow* frame = m_page;
    if (!frame)
        return;
    frame->Layout();
    for (wxWindow* child : m_infoBar->GetChildren())
        if (auto* text = dynamic_cast<wxStaticText*>(child))
            text->Wrap(std::max(200, m_infoBar->GetClientSize().x - text->GetPosition().x - 60));
    frame->Layout();
}

void FormwrightView::OnUpdate(wxView* /*sender*/, wxObject* /*hint*/)
{
    if (m_canvas)
        m_canvas->Refresh();
}

void FormwrightView::OnDraw(wxDC* /*dc*/)
{
    // The canvas window paints itself; printing has its own printout.
}

void FormwrightView::OnCurrentFormChanged()
{
    if (!m_initialised)
        return;
    m_formView->OnCurrentFormChanged();
    m_canvas->Refresh();
}

void FormwrightView::OnActivateView(bool activate, wxView* activeView, wxView* /*deactiveView*/)
{
    if (!activate || activeView != this)
        return;
    FormwrightDoc* doc = GetFormDocument();
    if (!doc)
        return;
    SetActiveDocumentPath(FileNameBytes(doc->GetFilename()));
    if (MainFrame* frame = doc->GetFrame())
        frame->OnViewActivated(this);
}

wxString FormwrightView::GetTitle() const
{
    const FormwrightDoc* doc = GetFormDocument();
    if (!doc)
        return wxString();
    wxString title = doc->GetUserReadableName();
    // Several windows on one file are told apart by their number.
    const wxList& views = doc->GetViews();
    if (views.GetCount() > 1)
        title += wxString::Format(":%d", views.IndexOf(const_cast<FormwrightView*>(this)) + 1);
    const FormDefinitionDocument& model = doc->GetModel();
    if (model.GetCurrentForm() && model.GetCurrentForm() != model.GetMainForm()) {
        wxString filter = LangText("VIEW_FILTERED_FORM");
        filter.Replace("%s", wxString::FromUTF8(model.GetCurrentFormName()));
        title += wxString(L" \u2014 ") + filter;
    }
    return title;
}

void FormwrightView::OnChangeFilename()
{
    FormwrightDoc* doc = GetFormDocument();
    if (!m_page || !doc || !doc->GetFrame())
        return;
    wxAuiNotebook* notebook = doc->GetFrame()->GetNotebook();
    const int index = notebook->GetPageIndex(m_page);
    if (index == wxNOT_FOUND)
        return;
    const wxString title = GetTitle();
    const wxString shown = title.length() > TabTitleChars ? title.Left(TabTitleChars - 1) + wxString(L"\u2026") : title;
    notebook->SetPageText(static_cast<size_t>(index), shown);
    notebook->SetPageToolTip(static_cast<size_t>(index), title);
}

bool FormwrightView::CloseWindow()
{
    if (!Close(false))
        return false;
    Activate(false);
    delete this;
    return true;
}

bool FormwrightView::OnClose(bool /*deleteWindow*/)
{
    // Only the last window of a document closes the document (and asks).
    wxDocument* doc = GetDocument();
    if (doc && doc->GetViewsVector().size() > 1)
        return true;
    return doc ? doc->Close() : true;
}

bool FormwrightView::SelectByName(const std::string& name)
{
    if (!m_initialised || !m_formView->SelectByName(name))
        return false;
    m_canvas->Refresh();
    return true;
}

bool FormwrightView::RunCommand(int id)
{
    if (!m_initialised || !m_formView->HasCommand(id))
        return false;
    m_formView->OnCommand(id);
    m_canvas->Refresh();
    return true;
}

CommandState FormwrightView::GetCommandState(int id) const
{
    if (!m_initialised)
        return {false, false};
    return m_formView->GetCommandState(id);
}

void FormwrightView::OnMenu(wxCommandEvent& event)
{
    if (!RunCommand(event.GetId()))
        event.Skip();
}

#if wxUSE_PRINTING_ARCHITECTURE
wxPrintout* FormwrightView::OnCreatePrintout()
{
    return new FormPrintout(*this, GetDocument() ? GetDocument()->GetUserReadableName() : wxString());
}
#endif

}  // namespace fw
