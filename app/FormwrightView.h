#pragma once
// The wx view of one open form file: a page of the main frame's notebook
// holding one canvas window over a FormView. Form commands run on the
// FormView; the canvas repaints.

#include "editor/FormView.h"

#include <wx/docview.h>

#include <memory>

class wxCommandEvent;
class wxInfoBarGeneric;

namespace fw {

class CanvasWindow;
class FormwrightDoc;

class FormwrightView : public wxView {
public:
    FormwrightView();
    ~FormwrightView() override;

    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC* dc) override;
    void OnUpdate(wxView* sender, wxObject* hint) override;
    void OnActivateView(bool activate, wxView* activeView, wxView* deactiveView) override;
    bool OnClose(bool deleteWindow) override;
    // The tab shows the file's name, the window's number when the file has
    // several, and for a filtered form its filter; a long title is cut in the
    // tab and whole in its tooltip.
    void OnChangeFilename() override;
    wxString GetTitle() const;
    // As the tab's close button: asks when it is the file's last window and
    // it was changed; on closing the view is gone. False when kept open.
    bool CloseWindow();
#if wxUSE_PRINTING_ARCHITECTURE
    wxPrintout* OnCreatePrintout() override;
#endif

    // Sets the editor up on the document's current form (once the document
    // has been created or read).
    void InitialUpdate();
    bool IsInitialised() const
    {
        return m_initialised;
    }
    void OnCurrentFormChanged();

    // Selects the named element (see FormView::SelectByName) and repaints.
    bool SelectByName(const std::string& name);
    // Runs a form command and repaints; false when it is none of the view's.
    bool RunCommand(int id);
    CommandState GetCommandState(int id) const;

    FormView& GetFormView()
    {
        return *m_formView;
    }
    CanvasWindow* GetCanvas() const
    {
        return m_canvas;
    }
    // Above the form: what reading the file left out, while the designer keeps it open.
    wxInfoBarGeneric* GetInfoBar() const
    {
        return m_infoBar;
    }
    FormwrightDoc* GetFormDocument() const;

private:
    void OnMenu(wxCommandEvent& event);
    void ShowWhatWasLeftOut();

    std::unique_ptr<FormView> m_formView;
    CanvasWindow* m_canvas = nullptr;
    wxInfoBarGeneric* m_infoBar = nullptr;
    wxWindow* m_page = nullptr;
    bool m_initialised = false;

    wxDECLARE_DYNAMIC_CLASS(FormwrightView);
};

}  // namespace fw
