#pragma once
// The application object: starts the services, the settings and the main
// frame, opens a file named on the command line, then offers the start options.

#include <wx/app.h>
#include <wx/string.h>

#include <memory>
#include <vector>

class wxCmdLineParser;
class wxModalDialogHook;
class wxTimer;

namespace fw {

class MainFrame;

// What every window of the program needs before the first one opens: the
// element types and the language texts. Safe to call more than once.
void InitApplicationServices();

// The options of the editor's command line, for the application and for the
// help printed before the toolkit starts.
void DescribeCommandLine(wxCmdLineParser& parser);

class FormwrightApp : public wxApp {
public:
    FormwrightApp();
    ~FormwrightApp() override;
    bool OnInit() override;
    int OnExit() override;
    int OnRun() override;
    void OnInitCmdLine(wxCmdLineParser& parser) override;
    bool OnCmdLineParsed(wxCmdLineParser& parser) override;

private:
    void CaptureAndQuit();
    // Says what went wrong on stderr; the program then ends with status 1.
    void Fail(const wxString& text);

    std::vector<wxString> m_files;
    wxString m_screenshot;
    wxString m_select;
    wxString m_form;
    wxString m_dialog;
    bool m_startOptions = true;
    int m_exitCode = 0;
    MainFrame* m_frame = nullptr;
    std::unique_ptr<wxTimer> m_screenshotTimer;
    std::unique_ptr<wxModalDialogHook> m_quietMessages;
};

}  // namespace fw
