#pragma once
// The window of one canvas editor: it paints the editor through the cairo
// draw context on an off-screen buffer (one copy per paint, no flicker),
// keeps real scroll bars in step with the editor's, and turns mouse, wheel,
// key, focus and timer events into editor calls. All rules live in the
// editor; this class only translates.

#include "editor/PartialPaint.h"
#include "model/ElementWindow.h"
#include "render/DrawContext.h"
#include "render/SystemColors.h"

#include <wx/window.h>

#include <array>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class wxTimer;
class wxTimerEvent;
typedef struct _cairo_surface cairo_surface_t;

namespace fw {

class CDiagramEditor;
class CairoDrawContext;
class EditorHost;
struct DrawCaches;

class CanvasWindow : public wxWindow {
public:
    CanvasWindow(wxWindow* parent, CDiagramEditor& editor);
    ~CanvasWindow() override;

    CDiagramEditor& GetEditor() { return m_editor; }
    // What the editor is created on (its names would clash with wxWindow's,
    // so the window hands out a small adapter instead of being one).
    EditorHost& GetHost();

    // Called after every finished paint with its duration in milliseconds
    // (for measuring how the canvas keeps up while dragging).
    void SetPaintObserver(std::function<void(double milliseconds)> observer);

    // Text dropped on the window goes here with the drop point in client
    // pixels; the answer says whether the drop was taken.
    using DropHandler = std::function<bool(IntPoint clientPoint, const std::string& text)>;
    void SetDropHandler(DropHandler handler);

    // Every request to repaint passes here, so that the next paint knows
    // what it must paint again; the rest of an update is copied from the
    // buffer as it is.
    void Refresh(bool eraseBackground = true, const wxRect* rect = nullptr) override;

private:
    class Host;
    class TextDrop;
    struct SurfaceDeleter {
        void operator()(cairo_surface_t* surface) const;
    };

    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnScroll(wxScrollWinEvent& event);
    void OnMouse(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnSetCursor(wxSetCursorEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnSysColourChanged(wxSysColourChangedEvent& event);

    // The desktop's colours and GUI font, read once and again on a theme change.
    void ReadTheme();
    void ApplyTheme(CairoDrawContext& dc) const;
    bool EnsureBuffer(int width, int height, cairo_surface_t* screen);
    bool EnsureScratch(int width, int height);
    // Paints these parts of the client area over the buffer's last paint.
    void PaintParts(const std::vector<IntRect>& areas);
    // All of the client area, or a part of it (client pixels).
    void RequestPaint(const IntRect* area = nullptr);
    // While held, parts to repaint are gathered and the toolkit hears of
    // them when the last hold ends.
    void HoldRefresh(bool hold);
    void ShowCursor(CursorKind kind);

    CDiagramEditor& m_editor;
    std::unique_ptr<Host> m_host;
    std::function<void(double)> m_paintObserver;
    DropHandler m_dropHandler;

    // The off-screen image of the client area, kept while its size holds.
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> m_buffer;
    int m_bufferWidth = 0;
    int m_bufferHeight = 0;
    bool m_bufferPainted = false;  // holds a whole paint, so a part can be painted over it
    // Where a part is painted before it is copied onto the buffer.
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> m_scratch;
    // What the next paint paints again over the buffer, unless all of it.
    RepaintRegion m_invalid;
    bool m_invalidAll = true;
    int m_refreshHeld = 0;
    bool m_refreshWaiting = false;
    std::shared_ptr<DrawCaches> m_caches;

    std::array<Color, kSysColorCount> m_theme{};
    FontDesc m_guiFont;

    std::map<unsigned, std::unique_ptr<wxTimer>> m_timers;
    bool m_redraw = true;
    bool m_paintPending = false;                 // an invalidate arrived while redraw was off
    CursorKind m_cursorKind = CursorKind::None;  // none shown yet
    // The press the editor already declined at the hook stage, so that its
    // key-down is passed on without asking twice.
    int m_declinedKey = 0;
    long m_declinedTime = -1;
    wxPoint m_lastMouse;
};

}  // namespace fw
