#pragma once
// What the canvas editor needs of the window it lives in. The wx canvas
// window implements it; tests and the command-line tool use HeadlessHost.
// Points are client pixels unless a name says otherwise.

#include "model/ElementWindow.h"
#include "services/Geometry.h"

#include <cstdint>
#include <string>

namespace fw {

enum class Orientation { Horizontal, Vertical };

// One scroll bar as the editor keeps it; the window only mirrors it.
struct ScrollBarState {
    bool shown = false;
    int range = 0;  // positions run 0 .. range
    int page = 0;
    int pos = 0;

    friend bool operator==(const ScrollBarState& a, const ScrollBarState& b)
    {
        return a.shown == b.shown && a.range == b.range && a.page == b.page && a.pos == b.pos;
    }
};

// The requests a scroll bar sends.
enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, Top, Bottom };

class EditorHost {
public:
    virtual ~EditorHost() = default;

    // Schedules a repaint of the whole client area.
    virtual void Invalidate() = 0;
    // Schedules a repaint of part of it; a host that cannot repaint a part
    // repaints the whole.
    virtual void Invalidate(const IntRect& area)
    {
        (void)area;
        Invalidate();
    }
    // While off, Invalidate may be deferred until it is switched back on.
    virtual void SetRedraw(bool on) = 0;
    virtual void SetCursor(CursorKind cursor) = 0;
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    virtual void SetFocus() = 0;
    virtual IntSize GetClientSize() const = 0;
    virtual IntPoint GetMousePosition() const = 0;
    virtual IntPoint ClientToScreen(IntPoint point) const = 0;
    virtual void SetScrollBar(Orientation which, const ScrollBarState& state) = 0;
    virtual void StartTimer(unsigned id, int milliseconds) = 0;
    virtual void StopTimer(unsigned id) = 0;
    // Shows the menu at a screen point and answers the chosen command (0: dismissed).
    virtual int ChooseFromMenu(const PopupMenu& menu, IntPoint screenPoint) = 0;
    // A yes/no question with "no" as the default; true for yes.
    virtual bool AskYesNo(const std::string& text, const std::string& title) = 0;
    // An information box with an OK button.
    virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
    // A clock that never goes back, in milliseconds from an arbitrary start.
    virtual std::int64_t NowMilliseconds() const;
};

}  // namespace fw
