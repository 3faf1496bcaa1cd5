#include "app/CanvasWindow.h"

#include "dialogs/PaintCairoEx.h"
#include "editor/DiagramEditor.h"
#include "editor/EditorHost.h"
#include "editor/PartialPaint.h"
#include "render/CairoDrawContext.h"
#include "render/DrawCaches.h"

#include <cairo/cairo.h>
#include <wx/dcclient.h>
#include <wx/dnd.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <chrono>
#include <vector>

namespace fw {

namespace {

IntPoint ToPoint(const wxPoint& p)
{
    return {p.x, p.y};
}

unsigned ModifiersOf(const wxKeyboardState& state)
{
    unsigned modifiers = Modifier::None;
    if (state.ControlDown())
        modifiers |= Modifier::Ctrl;
    if (state.ShiftDown())
        modifiers |= Modifier::Shift;
    if (state.AltDown())
        modifiers |= Modifier::Alt;
    return modifiers;
}

EditorKey KeyOf(int code)
{
    switch (code) {
    case WXK_LEFT:
    case WXK_NUMPAD_LEFT:
        return EditorKey::Left;
    case WXK_RIGHT:
    case WXK_NUMPAD_RIGHT:
        return EditorKey::Right;
    case WXK_UP:
    case WXK_NUMPAD_UP:
        return EditorKey::Up;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN:
        return EditorKey::Down;
    case WXK_DELETE:
    case WXK_NUMPAD_DELETE:
        return EditorKey::Delete;
    case WXK_INSERT:
    case WXK_NUMPAD_INSERT:
        return EditorKey::Insert;
    case WXK_ESCAPE:
        return EditorKey::Escape;
    case WXK_PAGEUP:
    case WXK_NUMPAD_PAGEUP:
        return EditorKey::PageUp;
    case WXK_PAGEDOWN:
    case WXK_NUMPAD_PAGEDOWN:
        return EditorKey::PageDown;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        return EditorKey::Enter;
    case 'A':
        return EditorKey::A;
    case 'X':
        return EditorKey::X;
    case 'V':
        return EditorKey::V;
    case 'C':
        return EditorKey::C;
    case 'Z':
        return EditorKey::Z;
    case 'Y':
        return EditorKey::Y;
    case WXK_NUMPAD_ADD:
        return EditorKey::Add;
    case WXK_NUMPAD_SUBTRACT:
        return EditorKey::Subtract;
    case WXK_TAB:
    case WXK_NUMPAD_TAB:
        return EditorKey::Tab;
    default:
        return EditorKey::Other;
    }
}

// False for an event type that is no scroll request of ours.
bool RequestOf(wxEventType type, ScrollRequest& request)
{
    if (type == wxEVT_SCROLLWIN_TOP)
        request = ScrollRequest::Top;
    else if (type == wxEVT_SCROLLWIN_BOTTOM)
        request = ScrollRequest::Bottom;
    else if (type == wxEVT_SCROLLWIN_LINEUP)
        request = ScrollRequest::LineUp;
    else if (type == wxEVT_SCROLLWIN_LINEDOWN)
        request = ScrollRequest::LineDown;
    else if (type == wxEVT_SCROLLWIN_PAGEUP)
        request = ScrollRequest::PageUp;
    else if (type == wxEVT_SCROLLWIN_PAGEDOWN)
        request = ScrollRequest::PageDown;
    else if (type == wxEVT_SCROLLWIN_THUMBTRACK)
        request = ScrollRequest::ThumbTrack;
    else if (type == wxEVT_SCROLLWIN_THUMBRELEASE)
        request = ScrollRequest::ThumbPosition;
    else
        return false;
    return true;
}

wxStockCursor StockCursorOf(CursorKind kind)
{
    switch (kind) {
    case CursorKind::SizeAll:
        return wxCURSOR_SIZING;
    case CursorKind::SizeNWSE:
        return wxCURSOR_SIZENWSE;
    case CursorKind::SizeNESW:
        return wxCURSOR_SIZENESW;
    case CursorKind::SizeNS:
        return wxCURSOR_SIZENS;
    case CursorKind::SizeWE:
        return wxCURSOR_SIZEWE;
    case CursorKind::Cross:
        return wxCURSOR_CROSS;
    default:
        return wxCURSOR_ARROW;
    }
}

}  // namespace

// What the editor needs of its window, answered by the wx window.
class CanvasWindow::Host : public EditorHost {
public:
    explicit Host(CanvasWindow& window) : m_window(window) {}

    void Invalidate() override { m_window.RequestPaint(); }
    void Invalidate(const IntRect& area) override { m_window.RequestPaint(&area); }
    void SetRedraw(bool on) override
    {
        m_window.m_redraw = on;
        if (on && m_window.m_paintPending)
            m_window.RequestPaint();
    }
    void SetCursor(CursorKind cursor) override { m_window.ShowCursor(cursor); }
    void CaptureMouse() override
    {
        if (!m_window.HasCapture())
            m_window.CaptureMouse();
    }
    void ReleaseMouse() override
    {
        if (m_window.HasCapture())
            m_window.ReleaseMouse();
    }
    void SetFocus() override { m_window.SetFocus(); }
    IntSize GetClientSize() const override
    {
        const wxSize size = m_window.GetClientSize();
        return {size.x, size.y};
    }
    IntPoint GetMousePosition() const override { return ToPoint(m_window.ScreenToClient(wxGetMousePosition())); }
    IntPoint ClientToScreen(IntPoint point) const override
    {
        return ToPoint(m_window.ClientToScreen(wxPoint(point.x, point.y)));
    }
    void SetScrollBar(Orientation which, const ScrollBarState& state) override
    {
        const int orient = which == Orientation::Horizontal ? wxHORIZONTAL : wxVERTICAL;
        // A range of 0 makes the bar disappear.
        if (state.shown)
            m_window.SetScrollbar(orient, state.pos, state.page, state.range);
        else
            m_window.SetScrollbar(orient, 0, 0, 0);
    }
    void StartTimer(unsigned id, int milliseconds) override
    {
        std::unique_ptr<wxTimer>& timer = m_window.m_timers[id];
        if (!timer)
            timer = std::make_unique<wxTimer>(&m_window, static_cast<int>(id));
        timer->Start(milliseconds, wxTIMER_CONTINUOUS);
    }
    void StopTimer(unsigned id) override
    {
        auto found = m_window.m_timers.find(id);
        if (found != m_window.m_timers.end())
            found->second->Stop();
    }
    int ChooseFromMenu(const fw::PopupMenu& model, IntPoint screenPoint) override
    {
        // wx menu ids stop at 0x7FFF, below the form commands: items get
        // local ids and the choice is mapped back to the command.
        constexpr int FirstLocalId = 1000;
        wxMenu menu;
        for (std::size_t i = 0; i < model.items.size(); ++i) {
            const MenuItem& item = model.items[i];
            if (item.IsSeparator()) {
                menu.AppendSeparator();
                continue;
            }
            const int id = FirstLocalId + static_cast<int>(i);
            const wxString text = wxString::FromUTF8(item.text);
            if (item.checked)
                menu.AppendCheckItem(id, text)->Check(true);
            else
                menu.Append(id, text);
            menu.Enable(id, item.enabled);
        }
        const wxPoint at = m_window.ScreenToClient(wxPoint(screenPoint.x, screenPoint.y));
        const int chosen = m_window.GetPopupMenuSelectionFromUser(menu, at) - FirstLocalId;
        if (chosen < 0 || chosen >= static_cast<int>(model.items.size()))
            return 0;
        return model.items[chosen].command;
    }
    bool AskYesNo(const std::string& text, const std::string& title) override
    {
        return wxMessageBox(wxString::FromUTF8(text), wxString::FromUTF8(title),
                            wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION, &m_window) == wxYES;
    }
    void ShowMessage(const std::string& text, const std::string& title) override
    {
        wxMessageBox(wxString::FromUTF8(text), wxString::FromUTF8(title), wxOK | wxICON_INFORMATION, &m_window);
    }

private:
    CanvasWindow& m_window;
};

void CanvasWindow::SurfaceDeleter::operator()(cairo_surface_t* surface) const
{
    cairo_surface_destroy(surface);
}

// Accepts Unicode text only, always as a copy: the source keeps its row.
class CanvasWindow::TextDrop : public wxTextDropTarget {
public:
    explicit TextDrop(CanvasWindow& window) : m_window(window) {}

    wxDragResult OnEnter(wxCoord, wxCoord, wxDragResult) override { return wxDragCopy; }
    wxDragResult OnDragOver(wxCoord, wxCoord, wxDragResult) override { return wxDragCopy; }

    bool OnDropText(wxCoord x, wxCoord y, const wxString& text) override
    {
        if (!m_window.m_dropHandler)
            return false;
        // The editor answers with a message box when the form has the property
        // already; that must not run inside the toolkit's drop callback.
        const std::string dropped = text.utf8_string();
        const IntPoint point{x, y};
        CanvasWindow* window = &m_window;
        window->CallAfter([window, point, dropped] {
            if (window->m_dropHandler)
                window->m_dropHandler(point, dropped);
            window->RequestPaint();
        });
        return true;
    }

private:
    CanvasWindow& m_window;
};

CanvasWindow::CanvasWindow(wxWindow* parent, CDiagramEditor& editor)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
               wxHSCROLL | wxVSCROLL | wxWANTS_CHARS | wxFULL_REPAINT_ON_RESIZE | wxBORDER_NONE),
      m_editor(editor), m_host(std::make_unique<Host>(*this)), m_caches(std::make_shared<DrawCaches>())
{
    // Every pixel comes from the buffer; erasing first would only flicker.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    ReadTheme();
    SetScrollbar(wxHORIZONTAL, 0, 0, 0);
    SetScrollbar(wxVERTICAL, 0, 0, 0);

    Bind(wxEVT_PAINT, &CanvasWindow::OnPaint, this);
    Bind(wxEVT_SIZE, &CanvasWindow::OnSize, this);
    for (const wxEventTypeTag<wxScrollWinEvent>& type :
         {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP, wxEVT_SCROLLWIN_LINEDOWN,
          wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN, wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE})
        Bind(type, &CanvasWindow::OnScroll, this);
    for (const wxEventTypeTag<wxMouseEvent>& type :
         {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP, wxEVT_MIDDLE_DOWN,
          wxEVT_MOTION, wxEVT_MOUSEWHEEL})
        Bind(type, &CanvasWindow::OnMouse, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CanvasWindow::OnCaptureLost, this);
    Bind(wxEVT_SET_CURSOR, &CanvasWindow::OnSetCursor, this);
    Bind(wxEVT_CHAR_HOOK, &CanvasWindow::OnCharHook, this);
    Bind(wxEVT_KEY_DOWN, &CanvasWindow::OnKeyDown, this);
    Bind(wxEVT_KILL_FOCUS, &CanvasWindow::OnKillFocus, this);
    Bind(wxEVT_TIMER, &CanvasWindow::OnTimer, this);
    Bind(wxEVT_SYS_COLOUR_CHANGED, &CanvasWindow::OnSysColourChanged, this);
    SetDropTarget(new TextDrop(*this));
}

CanvasWindow::~CanvasWindow()
{
    for (auto& timer : m_timers)
        timer.second->Stop();
    if (HasCapture())
        ReleaseMouse();
}

EditorHost& CanvasWindow::GetHost()
{
    return *m_host;
}

void CanvasWindow::SetDropHandler(DropHandler handler)
{
    m_dropHandler = std::move(handler);
}

void CanvasWindow::SetPaintObserver(std::function<void(double milliseconds)> observer)
{
    m_paintObserver = std::move(observer);
}

void CanvasWindow::ReadTheme()
{
    // The form is drawn as it looks when it runs, in the light colours,
    // whatever the desktop's theme; only the font follows the desktop.
    for (int i = 0; i < kSysColorCount; ++i)
        m_theme[i] = ClassicSysColor(static_cast<SysColor>(i));
    const wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    m_guiFont = {};
    m_guiFont.face = font.GetFaceName().ToStdString(wxConvUTF8);
    m_guiFont.pointSize = font.GetPointSize();
    m_guiFont.weight = font.GetNumericWeight();
    m_guiFont.italic = font.GetStyle() == wxFONTSTYLE_ITALIC;
}

void CanvasWindow::ApplyTheme(CairoDrawContext& dc) const
{
    for (int i = 0; i < kSysColorCount; ++i)
        dc.SetSysColor(static_cast<SysColor>(i), m_theme[i]);
    if (!m_guiFont.face.empty() && m_guiFont.pointSize > 0)
        dc.SetDefaultGuiFont(m_guiFont);
}

bool CanvasWindow::EnsureBuffer(int width, int height, cairo_surface_t* screen)
{
    if (m_buffer && m_bufferWidth == width && m_bufferHeight == height)
        return true;
    // An image the window system reads as it is (shared memory on X11) saves
    // a copy of every paint on its way to the screen.
    m_buffer.reset(screen ? cairo_surface_create_similar_image(screen, CAIRO_FORMAT_RGB24, width, height)
                          : cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    m_bufferPainted = false;
    if (cairo_surface_status(m_buffer.get()) != CAIRO_STATUS_SUCCESS) {
        m_buffer.reset();
        m_bufferWidth = m_bufferHeight = 0;
        return false;
    }
    m_bufferWidth = width;
    m_bufferHeight = height;
    return true;
}

bool CanvasWindow::EnsureScratch(int width, int height)
{
    if (m_scratch && cairo_image_surface_get_width(m_scratch.get()) == width &&
        cairo_image_surface_get_height(m_scratch.get()) == height)
        return true;
    m_scratch.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    if (cairo_surface_status(m_scratch.get()) != CAIRO_STATUS_SUCCESS) {
        m_scratch.reset();
        return false;
    }
    return true;
}

void CanvasWindow::PaintParts(const std::vector<IntRect>& areas)
{
    PaintAreas(m_editor, m_buffer.get(), m_scratch.get(), areas, m_caches,
               [this](CairoDrawContext& draw) { ApplyTheme(draw); });
}

void CanvasWindow::Refresh(bool eraseBackground, const wxRect* rect)
{
    if (!rect) {
        m_invalidAll = true;
        wxWindow::Refresh(eraseBackground);
        return;
    }
    // The window system is told of the part that took the area in: it keeps
    // few rectangles, as this window does, and a drag of many elements sends
    // hundreds. Within a mouse move it is told once, at the end.
    const IntRect part = m_invalid.Add(IntRect{rect->x, rect->y, rect->x + rect->width, rect->y + rect->height});
    if (part.IsEmpty())
        return;
    if (m_refreshHeld > 0) {
        m_refreshWaiting = true;
        return;
    }
    const wxRect joined(part.left, part.top, part.Width(), part.Height());
    wxWindow::Refresh(eraseBackground, &joined);
}

void CanvasWindow::HoldRefresh(bool hold)
{
    m_refreshHeld += hold ? 1 : -1;
    if (m_refreshHeld > 0 || !m_refreshWaiting)
        return;
    m_refreshWaiting = false;
    for (const IntRect& part : m_invalid.Parts()) {
        const wxRect joined(part.left, part.top, part.Width(), part.Height());
        wxWindow::Refresh(false, &joined);
    }
}

void CanvasWindow::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    const auto start = std::chrono::steady_clock::now();
    // The buffer is copied onto the window's context.
    const PaintCairoEx window(dc);
    cairo_t* target = window.Get();
    const wxSize client = GetClientSize();
    if (client.x <= 0 || client.y <= 0 ||
        !EnsureBuffer(client.x, client.y, target ? cairo_get_target(target) : nullptr))
        return;

    // The buffer keeps the last paint: only what was invalidated is painted
    // again (all of it on a new buffer). What else the window system asks
    // for, say where a dialog covered the canvas, the buffer still holds.
    const IntRect whole{0, 0, client.x, client.y};
    // Waits while the window system may still be reading the last paint.
    cairo_surface_flush(m_buffer.get());
    const bool partial = m_bufferPainted && !m_invalidAll && EnsureScratch(client.x, client.y);
    std::vector<IntRect> areas;
    if (partial)
        for (const IntRect& part : m_invalid.Parts())
            if (const IntRect shown = part.Intersection(whole); !shown.IsEmpty())
                areas.push_back(shown);
    m_invalid.Clear();
    m_invalidAll = false;
    if (!partial) {
        cairo_t* bufferContext = cairo_create(m_buffer.get());
        {
            CairoDrawContext draw(bufferContext, m_caches);
            ApplyTheme(draw);
            m_editor.Paint(draw);
        }
        cairo_destroy(bufferContext);
    } else if (!areas.empty()) {
        PaintParts(areas);
    }
    cairo_surface_flush(m_buffer.get());
    m_bufferPainted = true;

    // The window system's clip holds what it asked for, no more.
    if (target) {
        cairo_save(target);
        cairo_set_operator(target, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(target, m_buffer.get(), 0, 0);
        cairo_paint(target);
        cairo_restore(target);
    }

    if (m_paintObserver) {
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        m_paintObserver(took.count());
    }
}

void CanvasWindow::RequestPaint(const IntRect* area)
{
    // A part asked for while drawing is off becomes all of it later.
    if (!m_redraw) {
        m_paintPending = true;
        return;
    }
    if (area) {
        RefreshRect(wxRect(area->left, area->top, area->Width(), area->Height()), false);
        return;
    }
    m_paintPending = false;
    Refresh(false);
}

void CanvasWindow::OnSize(wxSizeEvent&)
{
    const wxSize client = GetClientSize();
    m_editor.OnSize({client.x, client.y});
}

void CanvasWindow::OnScroll(wxScrollWinEvent& event)
{
    ScrollRequest request;
    if (!RequestOf(event.GetEventType(), request))
        return;
    if (event.GetOrientation() == wxHORIZONTAL)
        m_editor.OnHScroll(request, event.GetPosition());
    else
        m_editor.OnVScroll(request, event.GetPosition());
}

void CanvasWindow::OnMouse(wxMouseEvent& event)
{
    const wxEventType type = event.GetEventType();
    // A drag step invalidates every element it moves. (Only a move: a press
    // may open a menu, and the canvas must show the new selection under it.)
    struct Held {
        CanvasWindow* window;
        explicit Held(CanvasWindow* w) : window(w)
        {
            if (window)
                window->HoldRefresh(true);
        }
        ~Held()
        {
            if (window)
                window->HoldRefresh(false);
        }
    } held(type == wxEVT_MOTION ? this : nullptr);
    const IntPoint point = ToPoint(event.GetPosition());
    const unsigned modifiers = ModifiersOf(event);
    if (type != wxEVT_MOUSEWHEEL)
        m_lastMouse = event.GetPosition();

    if (type == wxEVT_LEFT_DOWN) {
        m_editor.OnLButtonDown(point, modifiers);
    } else if (type == wxEVT_LEFT_UP) {
        m_editor.OnLButtonUp(point, modifiers);
    } else if (type == wxEVT_LEFT_DCLICK) {
        m_editor.OnLButtonDblClk(point, modifiers);
    } else if (type == wxEVT_RIGHT_DOWN) {
        m_editor.OnRButtonDown(point, modifiers);
    } else if (type == wxEVT_RIGHT_UP) {
        m_editor.OnRButtonUp(point, modifiers);
    } else if (type == wxEVT_MIDDLE_DOWN) {
        m_editor.OnMButtonDown(point);
    } else if (type == wxEVT_MOTION) {
        m_editor.OnMouseMove(point, modifiers);
    } else if (type == wxEVT_MOUSEWHEEL) {
        // Shift turns the wheel sideways; a tilted wheel or a sideways
        // swipe already is, and turns positive toward the right.
        const bool tilted = event.GetWheelAxis() == wxMOUSE_WHEEL_HORIZONTAL;
        WheelTurn turn;
        turn.rotation = tilted ? -event.GetWheelRotation() : event.GetWheelRotation();
        turn.perNotch = event.GetWheelDelta();
        turn.lines = tilted ? event.GetColumnsPerAction() : event.GetLinesPerAction();
        turn.sideways = tilted || event.ShiftDown();
        turn.zoom = event.ControlDown() && !tilted;
        turn.at = {event.GetX(), event.GetY()};
        m_editor.OnMouseWheel(turn);
    }
}

void CanvasWindow::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    // Someone took the mouse mid-drag: finish the drag where it was last seen.
    m_editor.OnLButtonUp(ToPoint(m_lastMouse), Modifier::None);
}

// Sent before every motion; the shape follows the hover only while no drag
// holds the mouse (the drag sets its own).
void CanvasWindow::OnSetCursor(wxSetCursorEvent& event)
{
    if (!HasCapture())
        m_editor.OnSetCursor({event.GetX(), event.GetY()});
    event.SetCursor(GetCursor());
}

void CanvasWindow::ShowCursor(CursorKind kind)
{
    if (kind == CursorKind::None)
        kind = CursorKind::Arrow;
    if (kind == m_cursorKind)
        return;
    m_cursorKind = kind;
    SetCursor(wxCursor(StockCursorOf(kind)));
}

// The hook reaches the focused window before the frame's accelerator table
// does: a key the editor uses must not run the frame's command as well (Ctrl+Z
// would undo twice), and the keys it leaves go on to the frame and menus.
void CanvasWindow::OnCharHook(wxKeyEvent& event)
{
    if (m_editor.OnKeyDown(KeyOf(event.GetKeyCode()), ModifiersOf(event))) {
        m_declinedKey = 0;
        return;
    }
    m_declinedKey = event.GetKeyCode();
    m_declinedTime = event.GetTimestamp();
    event.Skip();
}

// While the mouse is captured there is no hook event; the key-down then asks.
void CanvasWindow::OnKeyDown(wxKeyEvent& event)
{
    const bool askedAlready = event.GetKeyCode() == m_declinedKey && event.GetTimestamp() == m_declinedTime;
    m_declinedKey = 0;
    if (askedAlready || !m_editor.OnKeyDown(KeyOf(event.GetKeyCode()), ModifiersOf(event)))
        event.Skip();
}

void CanvasWindow::OnKillFocus(wxFocusEvent& event)
{
    m_editor.OnKillFocus();
    event.Skip();
}

void CanvasWindow::OnTimer(wxTimerEvent& event)
{
    m_editor.OnTimer(static_cast<unsigned>(event.GetId()));
}

void CanvasWindow::OnSysColourChanged(wxSysColourChangedEvent& event)
{
    ReadTheme();
    Refresh(false);
    event.Skip();
}

}  // namespace fw
