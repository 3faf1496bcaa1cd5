#pragma once
// The set-up of the journeys through the whole application: a main frame with
// its own settings file per test, a driver for the modal dialogs that come
// up, commands sent as the ribbon sends them, clicks through the X server.

#include "app/AppSettings.h"
#include "app/CanvasWindow.h"
#include "app/FormwrightApp.h"
#include "app/FormwrightDoc.h"
#include "app/FormwrightView.h"
#include "app/MainFrame.h"
#include "controls/DiagramStatic.h"
#include "gui/GuiTestSupport.h"
#include "services/Environment.h"
#include "services/LanguageTable.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>
#include <wx/aui/auibook.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fw::test {

// Drives the modal dialogs shown while it lives, one step per dialog in
// order. A step either answers at once (the dialog is not shown, as message
// boxes must be handled) or lets the dialog come up for real and acts on it
// once its loop runs; a dialog left open is ended with wxID_ABORT after a
// while, so a wrong turn cannot hang the run.
class DialogDriver : public wxModalDialogHook {
public:
    using Action = std::function<void(wxDialog&)>;
    struct Step {
        template <class F> Step(F action) : act(std::move(action)) {}
        static Step Answer(int id)
        {
            Step step{Action()};
            step.answer = id;
            return step;
        }
        Action act;
        int answer = wxID_NONE;
    };

    explicit DialogDriver(std::vector<Step> steps) : m_steps(std::move(steps)) { Register(); }
    ~DialogDriver() override { Unregister(); }

    // The dialogs shown, in order, and the texts of the message boxes among them.
    int Count() const { return static_cast<int>(m_messages.size()); }
    const std::vector<wxString>& Messages() const { return m_messages; }

protected:
    int Enter(wxDialog* dialog) override
    {
        auto* box = dynamic_cast<wxMessageDialog*>(dialog);
        m_messages.push_back(box ? box->GetMessage() : wxString());
        if (m_next >= m_steps.size()) {
            ADD_FAILURE() << "an unexpected dialog came up: " << dialog->GetTitle();
            return wxID_CANCEL;
        }
        const Step step = m_steps[m_next++];
        if (step.answer != wxID_NONE)
            return step.answer;
        dialog->CallAfter([dialog, step] { step.act(*dialog); });
        auto* guard = new wxTimer();
        guard->Bind(wxEVT_TIMER, [dialog](wxTimerEvent&) {
            if (dialog->IsModal())
                dialog->EndModal(wxID_ABORT);
        });
        guard->StartOnce(5000);
        m_guards.emplace_back(guard);
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}

private:
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    std::vector<wxString> m_messages;
    std::vector<std::unique_ptr<wxTimer>> m_guards;
};

inline void SendCommand(MainFrame& frame, int id)
{
    // As the ribbon does: a menu command at the frame.
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(&frame);
    frame.ProcessWindowEvent(event);
    PumpEvents();
}

// wx's assertion dialog would stop the run; a failed check is a test failure.
inline void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                         const wxString& msg)
{
    ADD_FAILURE() << "wx assertion " << cond << " " << msg << " in " << func << " at " << file << ":" << line;
}

template <class T> inline bool IsA(wxDialog& dialog)
{
    return dynamic_cast<T*>(&dialog) != nullptr;
}

class AppJourney : public testing::Test {
protected:
    void SetUp() override
    {
        m_env.Set("FORMWRIGHT_SETTINGS_FILE", m_scratch.Path() + "/settings/Formwright.conf");
        m_oldAssert = wxSetAssertHandler(FailOnAssert);
        InitApplicationServices();
        ASSERT_TRUE(LanguageTable::instance().loadLanguage(m_language));
        InstallSettings();
        m_frame = MainFrame::Create();
        m_frame->Show();
        PumpEvents(50);
    }

    void TearDown() override
    {
        CloseFrame();
        wxSetAssertHandler(m_oldAssert);
        LanguageTable::instance().loadLanguage("English");
    }

    void CloseFrame()
    {
        if (!m_frame)
            return;
        // Nothing left to ask on the way out.
        for (wxDocument* doc : m_frame->GetDocManager().GetDocumentsVector())
            doc->Modify(false);
        m_frame->Close(true);
        m_frame = nullptr;
        PumpEvents(20);
    }

    // A sample copied into the test's folder, so saving cannot touch the original.
    // The sample and the pictures beside it, as a designer's folder holds them.
    std::string CopySample(const std::string& name)
    {
        const std::string samples = Environment::instance().dataDir() + "/samples";
        for (const auto& entry : std::filesystem::directory_iterator(samples))
            if (entry.path().extension() == ".png")
                std::filesystem::copy_file(entry.path(),
                                           std::filesystem::path(m_scratch.Path()) / entry.path().filename(),
                                           std::filesystem::copy_options::skip_existing);
        const std::string target = m_scratch.Path() + "/" + name;
        std::filesystem::copy_file(samples + "/" + name, target);
        return target;
    }

    FormwrightDoc* Open(const std::string& path)
    {
        FormwrightDoc* doc = m_frame->OpenFile(wxString::FromUTF8(path));
        PumpEvents(50);
        return doc;
    }

    FormwrightView* ActiveView() const { return m_frame->GetActiveFormView(); }

    // Clicks through the X server at a paper point of the active view.
    void ClickOnPaper(IntPoint paper)
    {
        FormwrightView* view = ActiveView();
        ASSERT_NE(view, nullptr);
        CanvasWindow* canvas = view->GetCanvas();
        const CDiagramEditor& editor = view->GetFormView().GetEditor();
        const IntRect onScreen = editor.VirtualToScreen(IntRect{paper.x, paper.y, paper.x, paper.y});
        const wxPoint screen = canvas->ClientToScreen(wxPoint(onScreen.left, onScreen.top));
        wxUIActionSimulator input;
        input.MouseMove(screen);
        PumpEvents(30);
        input.MouseClick();
        // Past the double-click time, so the next click is a click again.
        PumpEvents(600);
    }

    // The elements of the active form that are texts, as their top-left corners.
    static std::vector<IntPoint> TextCorners(const CDiagramEntityContainer& form)
    {
        std::vector<IntPoint> corners;
        for (int i = 0; i < form.GetCount(); ++i)
            if (dynamic_cast<const CDiagramStatic*>(form.GetAt(i)))
                corners.push_back(
                    {static_cast<int>(form.GetAt(i)->GetLeft()), static_cast<int>(form.GetAt(i)->GetTop())});
        return corners;
    }

    static bool HasTextNear(const CDiagramEntityContainer& form, IntPoint point, int tolerance = 10)
    {
        for (const IntPoint& corner : TextCorners(form))
            if (std::abs(corner.x - point.x) <= tolerance && std::abs(corner.y - point.y) <= tolerance)
                return true;
        return false;
    }

    std::string m_language = "English";
    fw::test::ScratchDir m_scratch;
    fw::test::ScopedEnv m_env;
    wxAssertHandler_t m_oldAssert = nullptr;
    MainFrame* m_frame = nullptr;
};

}  // namespace fw::test
