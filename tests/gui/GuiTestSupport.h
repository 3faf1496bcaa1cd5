#pragma once
// Helpers for the window tests: let pending events run, wait for a
// condition with a time limit, run a modal dialog, click a button, read a
// window's pixels.

#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/fileconf.h>
#include <wx/image.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <chrono>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

namespace fw::test {

// Runs the events that are waiting (paints, sizes, idle handlers).
inline void PumpEvents(int milliseconds = 0)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        wxYield();
        if (wxTheApp)
            wxTheApp->ProcessIdle();
        if (milliseconds > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < end);
}

// Pumps events until `done` answers true or the time runs out; answers `done`.
inline bool WaitFor(const std::function<bool()>& done, int milliseconds = 3000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        PumpEvents(10);
    }
    return true;
}

// Runs the dialog modally; `act` runs once the modal loop is up. A dialog
// that does not close by itself is ended with wxID_ABORT after a while.
inline int RunModal(wxDialog& dialog, std::function<void()> act, int limitMs = 5000)
{
    dialog.CallAfter([act] { act(); });
    wxTimer guard;
    guard.Bind(wxEVT_TIMER, [&dialog](wxTimerEvent&) {
        if (dialog.IsModal())
            dialog.EndModal(wxID_ABORT);
    });
    guard.StartOnce(limitMs);
    return dialog.ShowModal();
}

// The window's client pixels as the X server shows them; with
// FORMWRIGHT_SHOT_DIR set they are also saved there as NAME.png to look at.
inline wxImage Capture(wxWindow* window, const char* name)
{
    const wxSize size = window->GetClientSize();
    wxBitmap bitmap(size);
    {
        wxClientDC screen(window);
        wxMemoryDC memory(bitmap);
        memory.Blit(0, 0, size.x, size.y, &screen, 0, 0);
    }
    wxImage image = bitmap.ConvertToImage();
    if (const char* dir = std::getenv("FORMWRIGHT_SHOT_DIR")) {
        if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
            wxImage::AddHandler(new wxPNGHandler);
        image.SaveFile(wxString::FromUTF8(std::string(dir) + "/" + name + ".png"), wxBITMAP_TYPE_PNG);
    }
    return image;
}

// A settings file of the test's own as the global settings while it lives
// (dialogs store their placement there); the old settings come back after.
class ScopedSettingsFile {
public:
    explicit ScopedSettingsFile(const std::string& tag)
        : m_path(std::filesystem::temp_directory_path() /
                 ("formwright-" + tag + "-" + std::to_string(::getpid()) + ".conf"))
    {
        std::filesystem::remove(m_path);
        m_previous = wxConfigBase::Set(
            new wxFileConfig("Formwright", "Tessevar", m_path.string(), wxString(), wxCONFIG_USE_LOCAL_FILE));
    }
    ~ScopedSettingsFile()
    {
        delete wxConfigBase::Set(m_previous);
        std::filesystem::remove(m_path);
    }
    ScopedSettingsFile(const ScopedSettingsFile&) = delete;
    ScopedSettingsFile& operator=(const ScopedSettingsFile&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
    wxConfigBase* m_previous = nullptr;
};

// Clicks a button the way the toolkit reports a click.
inline void Click(wxWindow* button)
{
    wxCommandEvent click(wxEVT_BUTTON, button->GetId());
    click.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(click);
}

}  // namespace fw::test
