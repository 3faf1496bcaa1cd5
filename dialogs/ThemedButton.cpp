#include "dialogs/ThemedButton.h"

#include "controls/ButtonBitmaps.h"

#include <wx/dcbuffer.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/renderer.h>
#include <wx/settings.h>

namespace fw {

namespace {

constexpr int kPadding = 4;
constexpr int kGap = 4;

wxBitmap DecodeBitmap(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.empty())
        return wxBitmap();
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxInitAllImageHandlers();
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    wxLogNull quiet;  // a pack file that does not decode just leaves no bitmap
    wxImage image(stream, wxBITMAP_TYPE_ANY);
    return image.IsOk() ? wxBitmap(image) : wxBitmap();
}

}  // namespace

ThemedButton::ThemedButton(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                           const wxSize& size, long style)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    // The frame is ours (see OnPaint); a toolkit border would frame flat buttons too.
    Create(parent, id, pos, size, (style & ~wxBORDER_MASK) | wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE,
           wxDefaultValidator, "themedButton");
    SetLabel(label);
    SetInitialSize(size);
    Bind(wxEVT_PAINT, &ThemedButton::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &ThemedButton::OnMouseDown, this);
    Bind(wxEVT_LEFT_DCLICK, &ThemedButton::OnMouseDown, this);
    Bind(wxEVT_LEFT_UP, &ThemedButton::OnMouseUp, this);
    Bind(wxEVT_ENTER_WINDOW, &ThemedButton::OnHover, this);
    Bind(wxEVT_LEAVE_WINDOW, &ThemedButton::OnHover, this);
    Bind(wxEVT_MOTION, &ThemedButton::OnHover, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &ThemedButton::OnCaptureLost, this);
    Bind(wxEVT_KEY_DOWN, &ThemedButton::OnKey, this);
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
        Refresh();
        event.Skip();
    });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        Refresh();
        event.Skip();
    });
}

void ThemedButton::setType(int type)
{
    m_type = type == ToolButton ? ToolButton : PushButton;
    Refresh();
}

void ThemedButton::setDefaultStyle(const std::string& key)
{
    m_key = key;
    m_bitmap = key.empty() ? wxBitmap() : DecodeBitmap(ResourceLibraries::instance().Bitmap("", key).data);
    InvalidateBestSize();
    Refresh();
}

wxSize ThemedButton::DoGetBestSize() const
{
    wxSize content(0, 0);
    if (m_bitmap.IsOk())
        content = m_bitmap.GetSize();
    const wxString label = GetLabel();
    if (!label.empty()) {
        const wxSize text = GetTextExtent(label);
        content.x += text.x + (m_bitmap.IsOk() ? kGap : 0);
        content.y = std::max(content.y, text.y);
    }
    return content + wxSize(4 * kPadding, 2 * kPadding);
}

void ThemedButton::Press()
{
    wxCommandEvent click(wxEVT_BUTTON, GetId());
    click.SetEventObject(this);
    ProcessWindowEvent(click);
}

void ThemedButton::OnPaint(wxPaintEvent& /*event*/)
{
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    const wxRect rect(size);
    wxWindow* parent = GetParent();
    dc.SetBackground(
        wxBrush(parent ? parent->GetBackgroundColour() : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();

    int flags = 0;
    if (!IsEnabled())
        flags |= wxCONTROL_DISABLED;
    if (m_pressed && m_hover)
        flags |= wxCONTROL_PRESSED;
    if (m_hover)
        flags |= wxCONTROL_CURRENT;
    if (HasFocus())
        flags |= wxCONTROL_FOCUSED;
    // A tool button is flat until the mouse is over it or it has the focus.
    const bool framed = m_type == PushButton || m_hover || m_pressed || HasFocus();
    if (framed && UseBackgroundColour()) {
        // Colours of its own: a raised face in them, not the desktop theme's.
        const wxColour face = GetBackgroundColour();
        const bool sunken = (flags & wxCONTROL_PRESSED) != 0;
        dc.SetBrush(wxBrush(face));
        dc.SetPen(wxPen(face.ChangeLightness(45)));
        dc.DrawRectangle(rect);
        dc.SetPen(wxPen(sunken ? face.ChangeLightness(70) : face.ChangeLightness(120)));
        dc.DrawLine(1, size.y - 2, 1, 1);
        dc.DrawLine(1, 1, size.x - 1, 1);
        dc.SetPen(wxPen(sunken ? face.ChangeLightness(120) : face.ChangeLightness(70)));
        dc.DrawLine(size.x - 2, 1, size.x - 2, size.y - 2);
        dc.DrawLine(1, size.y - 2, size.x - 1, size.y - 2);
        if (flags & wxCONTROL_FOCUSED)
            wxRendererNative::Get().DrawFocusRect(this, dc, wxRect(rect).Deflate(3));
    } else if (framed) {
        wxRendererNative::Get().DrawPushButton(this, dc, rect, flags);
    }

    const wxString label = GetLabel();
    wxSize content(0, 0);
    wxSize text(0, 0);
    if (m_bitmap.IsOk())
        content = m_bitmap.GetSize();
    dc.SetFont(GetFont());
    if (!label.empty()) {
        text = dc.GetTextExtent(label);
        content.x += text.x + (m_bitmap.IsOk() ? kGap : 0);
        content.y = std::max(content.y, text.y);
    }
    const int shift = (flags & wxCONTROL_PRESSED) ? 1 : 0;
    int x = (size.x - content.x) / 2 + shift;
    const int middle = size.y / 2 + shift;
    if (m_bitmap.IsOk()) {
        const wxBitmap shown = IsEnabled() ? m_bitmap : m_bitmap.ConvertToDisabled();
        dc.DrawBitmap(shown, x, middle - m_bitmap.GetHeight() / 2, true);
        x += m_bitmap.GetWidth() + kGap;
    }
    if (!label.empty()) {
        const wxColour colour =
            IsEnabled() ? GetForegroundColour() : wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT);
        dc.SetTextForeground(colour);
        dc.SetClippingRegion(wxRect(rect).Deflate(2));
        dc.DrawText(label, x, middle - text.y / 2);
        dc.DestroyClippingRegion();
    }
}

void ThemedButton::OnMouseDown(wxMouseEvent& /*event*/)
{
    if (!IsEnabled())
        return;
    SetFocus();
    m_pressed = true;
    m_hover = true;
    if (!HasCapture())
        CaptureMouse();
    Refresh();
}

void ThemedButton::OnMouseUp(wxMouseEvent& event)
{
    if (HasCapture())
        ReleaseMouse();
    const bool inside = wxRect(GetClientSize()).Contains(event.GetPosition());
    const bool wasPressed = m_pressed;
    m_pressed = false;
    m_hover = inside;
    Refresh();
    if (wasPressed && inside && IsEnabled())
        Press();
}

void ThemedButton::OnHover(wxMouseEvent& event)
{
    const bool inside = !event.Leaving() && wxRect(GetClientSize()).Contains(event.GetPosition());
    if (inside != m_hover) {
        m_hover = inside;
        Refresh();
    }
    event.Skip();
}

void ThemedButton::OnCaptureLost(wxMouseCaptureLostEvent& /*event*/)
{
    m_pressed = false;
    Refresh();
}

void ThemedButton::OnKey(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    if (IsEnabled() && (key == WXK_SPACE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER)) {
        Press();
        return;
    }
    event.Skip();
}

}  // namespace fw
