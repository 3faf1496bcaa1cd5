#include "app/FormwrightApp.h"

#include "app/AppSettings.h"
#include "app/FormwrightDoc.h"
#include "app/FormwrightView.h"
#include "app/MainFrame.h"
#include "controls/StandardControls.h"
#include "dialogs/DialogTexts.h"
#include "model/ElementFactory.h"
#include "services/LanguageTable.h"
#include "services/Strings.h"

#include <wx/cmdline.h>
#include <wx/dialog.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/msgdlg.h>
#include <wx/timer.h>

#include <cstdio>

namespace fw {

namespace {

// Long enough for the first layout and paint under a virtual display.
constexpr int ScreenshotDelayMs = 1500;

}  // namespace

void InitApplicationServices()
{
    ElementFactory& table = ElementFactory::Global();
    if (!table.Knows("Property"))
        RegisterStandardControls(table);
    LanguageTable& texts = LanguageTable::instance();
    if (texts.language().empty())
        texts.loadConfigured();
    static bool imageHandlers = false;
    if (!imageHandlers)
        wxInitAllImageHandlers();
    imageHandlers = true;
}

void FormwrightApp::OnInitCmdLine(wxCmdLineParser& parser)
{
    static const wxCmdLineEntryDesc entries[] = {
        {wxCMD_LINE_SWITCH, "h", "help", "show this help and exit", wxCMD_LINE_VAL_NONE, wxCMD_LINE_OPTION_HELP},
        {wxCMD_LINE_SWITCH, nullptr, "no-start-options",
         "do not ask whether to create or open a form file (also skipped when a file is given)", wxCMD_LINE_VAL_NONE,
         0},
        {wxCMD_LINE_OPTION, nullptr, "screenshot",
         "save a PNG of the main window to this file once it is shown, then exit (implies --no-start-options)",
         wxCMD_LINE_VAL_STRING, 0},
        {wxCMD_LINE_OPTION, nullptr, "form", "show this filtered form of the opened file (its filter)",
         wxCMD_LINE_VAL_STRING, 0},
        {wxCMD_LINE_OPTION, nullptr, "select", "select the element with this name in the shown form",
         wxCMD_LINE_VAL_STRING, 0},
        {wxCMD_LINE_OPTION, nullptr, "dialog",
         "open a dialog on the shown form once the window is up: filters, filter, preview or styles",
         wxCMD_LINE_VAL_STRING, 0},
        {wxCMD_LINE_PARAM, nullptr, nullptr, "form file to open", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL},
        {wxCMD_LINE_NONE, nullptr, nullptr, nullptr, wxCMD_LINE_VAL_NONE, 0},
    };
    parser.SetDesc(entries);
    parser.SetLogo("Formwright " FORMWRIGHT_VERSION " - the designer for form definition files.\n"
                   "Settings: ~/.config/Tessevar/Formwright.conf (FORMWRIGHT_SETTINGS_FILE overrides it).");
}

bool FormwrightApp::OnCmdLineParsed(wxCmdLineParser& parser)
{
    if (parser.GetParamCount() > 0)
        m_file = parser.GetParam(0);
    parser.Found("screenshot", &m_screenshot);
    parser.Found("form", &m_form);
    parser.Found("select", &m_select);
    parser.Found("dialog", &m_dialog);
    m_startOptions = !parser.Found("no-start-options") && m_screenshot.empty();
    return true;
}

bool FormwrightApp::OnInit()
{
    SetAppName("Formwright");
    SetAppDisplayName("Formwright");
    SetVendorName("Tessevar");
    if (!wxApp::OnInit())
        return false;

    InitApplicationServices();
    InstallSettings();

    m_frame = MainFrame::Create();
    SetTopWindow(m_frame);
    m_frame->Show();

    if (!m_file.empty()) {
        const wxString path = wxFileName(m_file).GetAbsolutePath();
        // Opening says why it failed, with the reason from the system or the reader.
        if (!m_frame->OpenFile(path)) {
            const wxString text = LangText("MSG_OPEN_FAILED");
            std::fprintf(stderr, "formwright: %s %s\n", text.utf8_str().data(), path.utf8_str().data());
            m_frame->Destroy();
            return false;
        }
        if (!m_form.empty()) {
            m_frame->SelectFormByName(m_form.utf8_string());
            FormwrightDoc* doc = m_frame->GetActiveDocument();
            if (!doc || !equalsNoCase(doc->GetModel().GetCurrentFormName(), m_form.utf8_string()))
                std::fprintf(stderr, "formwright: the file has no form %s\n", m_form.utf8_str().data());
        }
        FormwrightView* view = m_frame->GetActiveFormView();
        if (!m_select.empty() && !(view && view->SelectByName(m_select.utf8_string())))
            std::fprintf(stderr, "formwright: the form has no element named %s\n", m_select.utf8_str().data());
    } else if (m_startOptions) {
        m_frame->RunStartOptions();
    }

    if (!m_dialog.empty()) {
        CallAfter([this] {
            if (!m_frame->ShowFormDialog(m_dialog.utf8_string()))
                std::fprintf(stderr, "formwright: no dialog named %s\n", m_dialog.utf8_str().data());
        });
    }

    if (!m_screenshot.empty()) {
        auto* timer = new wxTimer();
        timer->Bind(wxEVT_TIMER, [this, timer](wxTimerEvent&) {
            CaptureAndQuit();
            delete timer;
        });
        timer->StartOnce(ScreenshotDelayMs);
    }
    return true;
}

void FormwrightApp::CaptureAndQuit()
{
    // A dialog opened with --dialog is what the picture is for.
    wxDialog* dialog = nullptr;
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* modal = dynamic_cast<wxDialog*>(window); modal && modal->IsModal())
            dialog = modal;
    const bool saved =
        dialog ? MainFrame::SaveScreenshotOf(dialog, m_screenshot) : m_frame->SaveScreenshot(m_screenshot);
    if (!saved) {
        std::fprintf(stderr, "formwright: cannot write %s\n", m_screenshot.utf8_str().data());
        m_exitCode = 1;
    }
    if (!dialog) {
        m_frame->Close(true);
        return;
    }
    dialog->EndModal(wxID_CANCEL);
    CallAfter([this] { m_frame->Close(true); });
}

int FormwrightApp::OnRun()
{
    const int code = wxApp::OnRun();
    return code != 0 ? code : m_exitCode;
}

int FormwrightApp::OnExit()
{
    return wxApp::OnExit();
}

}  // namespace fw
