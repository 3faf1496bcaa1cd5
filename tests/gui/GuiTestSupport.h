#pragma once
// Helpers for the window tests: let pending events run, wait for a
// condition with a time limit.

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/utils.h>

#include <chrono>
#include <functional>
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

}  // namespace fw::test
