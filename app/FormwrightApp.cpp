#include "app/FormwrightApp.h"

#include "app/AppSettings.h"
#include "app/FormwrightDoc.h"
#include "app/FormwrightView.h"
#include "app/MainFrame.h"
#include "app/Recovery.h"
#include "controls/StandardControls.h"
#include "dialogs/DialogTexts.h"
#include "model/ElementFactory.h"
#include "services/LanguageTable.h"
#include "services/Strings.h"

#include <wx/cmdline.h>
#include <wx/dialog.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/timer.h>

#include <cstdio>
#include <functional>

namespace fw {

namespace {

// Long enough for the first layout and paint under a virtual display.
constexpr int ScreenshotDelayMs = 1500;

// While a picture is taken nobody is there to answer a message box: its text
// goes to stderr instead and the run counts as failed.
class MessagesToStderr : public wxModalDialogHook {
public:
    explicit MessagesToStderr(std::function<void(const wxString&)> report) : m_report(std::move(report)) {}

protected:
    int Enter(wxDialog* dialog) override
    {
        auto* message = dynamic_cast<wxMessageDialogBase*>(dialog);
        if (!message)
            return wxID_NONE;
        wxString text = message->GetMessage();
        if (!message->GetExtendedMessage().empty())
            text += "\n" + message->GetExtendedMessage();
        text.Replace("\n", " ");
        m_report(text);
        return wxID_CANCEL;
    }

private:
    std::function<void(const wxString&)> m_report;
};

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

void DescribeCommandLine(wxCmdLineParser& parser)
{
    static const wxCmdLineEntryDesc entries[] = {
        {wxCMD_LINE_SWITCH, "h", "help", "show this help and exit", wxCMD_LINE_VAL_NONE, wxCMD_LINE_OPTION_HELP},
        {wxCMD_LINE_SWITCH, nullptr, "version", "show the version and exit", wxCMD_LINE_VAL_NONE, 0},
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
        {wxCMD_LINE_PARAM, nullptr, nullptr, "form files to open", wxCMD_LINE_VAL_STRING,
         wxCMD_LINE_PARAM_OPTIONAL | wxCMD_LINE_PARAM_MULTIPLE},
        {wxCMD_LINE_NONE, nullptr, nullptr, nullptr, wxCMD_LINE_VAL_NONE, 0},
    };
    parser.SetDesc(entries);
    parser.SetLogo("Formwright " FORMWRIGHT_VERSION " - the designer for form definition files.\n"
                   "Settings: ~/.config/Tessevar/Formwright.conf (FORMWRIGHT_SETTINGS_FILE overrides it).");
}

void FormwrightApp::OnInitCmdLine(wxCmdLineParser& parser)
{
    DescribeCommandLine(parser);
}

FormwrightApp::FormwrightApp() = default;
FormwrightApp::~FormwrightApp() = default;

bool FormwrightApp::OnCmdLineParsed(wxCmdLineParser& parser)
{
    for (size_t i = 0; i < parser.GetParamCount(); ++i)
        m_files.push_back(parser.GetParam(i));
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
    if (!m_screenshot.empty()) {
        m_quietMessages = std::make_unique<MessagesToStderr>([this](const wxString& text) { Fail(text); });
        m_quietMessages->Register();
    }

    m_frame = MainFrame::Create();
    SetTopWindow(m_frame);
    m_frame->Show();
    // Before the command line's file: a restored copy of it is that file.
    // A picture is taken unattended, with nobody to answer.
    if (m_screenshot.empty())
        OfferRecovery(*m_frame);

    if (!m_files.empty()) {
        // Several files come from a file manager's selection; --form and
        // --select apply to the last, which is the one shown.
        for (const wxString& file : m_files) {
            const wxString path = wxFileName(file).GetAbsolutePath();
            // Opening says why it failed, with the reason from the system or the
            // reader; in a message box, or on stderr while a picture is taken.
            if (!m_frame->OpenFile(path)) {
                if (m_exitCode == 0)
                    Fail(LangText("MSG_OPEN_FAILED") + " " + path);
                m_exitCode = 1;
                break;
            }
        }
        if (m_exitCode == 0 && !m_form.empty()) {
            m_frame->SelectFormByName(m_form.utf8_string());
            FormwrightDoc* doc = m_frame->GetActiveDocument();
            if (!doc || !equalsNoCase(doc->GetModel().GetCurrentFormName(), m_form.utf8_string()))
                Fail("the file has no form " + m_form);
        }
        FormwrightView* view = m_frame->GetActiveFormView();
        if (m_exitCode == 0 && !m_select.empty() && !(view && view->SelectByName(m_select.utf8_string())))
            Fail("the form has no element named " + m_select);
    } else if (m_startOptions && m_frame->GetDocManager().GetDocumentsVector().empty()) {
        // Restored files are what the designer goes on with.
        m_frame->RunStartOptions();
    }
    // A run that cannot do what its command line asks ends at once, through
    // the main loop so the open file's window closes as it always does.
    if (m_exitCode != 0) {
        CallAfter([this] { m_frame->Close(true); });
        return true;
    }

    if (!m_dialog.empty()) {
        CallAfter([this] {
            if (!m_frame->ShowFormDialog(m_dialog.utf8_string())) {
                Fail("no dialog named " + m_dialog);
                m_frame->Close(true);
            }
        });
    }

    if (!m_screenshot.empty()) {
        m_screenshotTimer = std::make_unique<wxTimer>();
        m_screenshotTimer->Bind(wxEVT_TIMER, [this](wxTimerEvent&) { CaptureAndQuit(); });
        m_screenshotTimer->StartOnce(ScreenshotDelayMs);
    }
    return true;
}

void FormwrightApp::Fail(const wxString& text)
{
    std::fprintf(stderr, "formwright: %s\n", text.utf8_str().data());
    m_exitCode = 1;
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
    if (!saved)
        Fail("cannot write " + m_screenshot);
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
    m_screenshotTimer.reset();
    m_quietMessages.reset();
    return wxApp::OnExit();
}

}  // namespace fw
