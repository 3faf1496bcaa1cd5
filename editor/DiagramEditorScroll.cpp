#include "editor/DiagramEditor.h"

#include <algorithm>
#include <cmath>

// Scroll bars, the wheel, panning and the zoom.

namespace fw {

namespace {

// The zoom never reaches 0, whatever the lower limit says: every
// conversion divides by it.
constexpr double SmallestZoom = 0.01;

}  // namespace

// --- scrolling and zoom ----------------------------------------------------------

void CDiagramEditor::SetupScrollbars()
{
    if (!m_host)
        return;
    const IntPoint scrolled{GetHScrollPos(), GetVScrollPos()};
    const IntRect paper = GetZoomedPaperRect();
    auto setup = [this](Orientation which, ScrollBarState& bar, int client, int extent) {
        if (client < extent) {
            bar.shown = true;
            bar.range = extent;
            bar.page = client;
            bar.pos = std::clamp(bar.pos, 0, std::max(0, extent - client));
        } else {
            bar = {};
        }
        m_host->SetScrollBar(which, bar);
    };
    setup(Orientation::Horizontal, m_hScroll, m_clientSize.cx, paper.Width());
    setup(Orientation::Vertical, m_vScroll, m_clientSize.cy, paper.Height());
    if (scrolled != IntPoint{GetHScrollPos(), GetVScrollPos()})
        Repaint();
}

void CDiagramEditor::SetScroll(Orientation which, int pos)
{
    ScrollBarState& bar = which == Orientation::Horizontal ? m_hScroll : m_vScroll;
    if (!bar.shown)
        return;
    const int clamped = std::clamp(pos, 0, std::max(0, bar.range - bar.page));
    if (clamped == bar.pos)
        return;
    bar.pos = clamped;
    if (m_host)
        m_host->SetScrollBar(which, bar);
    // Everything shown moves: a window that repaints only what changed
    // must repaint all of it.
    Repaint();
}

void CDiagramEditor::OnScroll(Orientation which, ScrollRequest request, int thumbPos)
{
    const ScrollBarState& bar = which == Orientation::Horizontal ? m_hScroll : m_vScroll;
    int pos = bar.pos;
    switch (request) {
    case ScrollRequest::LineUp:
        pos -= 1;
        break;
    case ScrollRequest::LineDown:
        pos += 1;
        break;
    case ScrollRequest::PageUp:
        pos -= bar.page;
        break;
    case ScrollRequest::PageDown:
        pos += bar.page;
        break;
    case ScrollRequest::ThumbPosition:
    case ScrollRequest::ThumbTrack:
        pos = thumbPos;
        break;
    case ScrollRequest::Top:
        pos = 0;
        break;
    case ScrollRequest::Bottom:
        pos = bar.range;
        break;
    }
    SetScroll(which, pos);
    Repaint();
}

void CDiagramEditor::OnHScroll(ScrollRequest request, int thumbPos)
{
    OnScroll(Orientation::Horizontal, request, thumbPos);
}

void CDiagramEditor::OnVScroll(ScrollRequest request, int thumbPos)
{
    OnScroll(Orientation::Vertical, request, thumbPos);
}

void CDiagramEditor::SetHScroll(int pos)
{
    SetScroll(Orientation::Horizontal, std::max(pos, 0));
    Repaint();
}

void CDiagramEditor::SetVScroll(int pos)
{
    SetScroll(Orientation::Vertical, std::max(pos, 0));
    Repaint();
}

IntPoint CDiagramEditor::AutoScroll(IntPoint point)
{
    const int oldH = m_hScroll.pos;
    const int oldV = m_vScroll.pos;
    if (point.x >= m_clientSize.cx)
        SetScroll(Orientation::Horizontal, m_hScroll.pos + 10);
    else if (point.x < 0)
        SetScroll(Orientation::Horizontal, m_hScroll.pos - 10);
    if (point.y >= m_clientSize.cy)
        SetScroll(Orientation::Vertical, m_vScroll.pos + 10);
    else if (point.y < 0)
        SetScroll(Orientation::Vertical, m_vScroll.pos - 10);
    const IntPoint scrolled{m_hScroll.pos - oldH, m_vScroll.pos - oldV};
    if (scrolled.x != 0 || scrolled.y != 0)
        Repaint();
    return scrolled;
}

void CDiagramEditor::SetZoom(double zoom)
{
    double z = zoom < m_zoomMin ? m_zoomMin : std::min(zoom, m_zoomMax);
    if (!(z >= SmallestZoom))
        z = SmallestZoom;
    m_zoom = z;
    SetupScrollbars();
    Repaint();
}

double CDiagramEditor::SteppedZoom(double zoom, int steps, double step)
{
    if (!(step > 0) || steps == 0)
        return zoom;
    // A hair of slack: 1.1 is eleven steps of 0.1 however it was summed.
    const double units = zoom / step;
    const double whole = steps > 0 ? std::floor(units + 1e-6) : std::ceil(units - 1e-6);
    return (whole + steps) * step;
}

void CDiagramEditor::StepZoom(int steps)
{
    SetZoom(SteppedZoom(m_zoom, steps, m_zoomStep));
}

void CDiagramEditor::ZoomAround(double zoom, IntPoint point)
{
    const double before = m_zoom;
    // The paper point under the client point, unrounded.
    const double x = (point.x + static_cast<double>(GetHScrollPos())) / before;
    const double y = (point.y + static_cast<double>(GetVScrollPos())) / before;
    SetZoom(zoom);
    if (m_zoom == before)
        return;
    SetScroll(Orientation::Horizontal, RoundEdge(x * m_zoom - point.x));
    SetScroll(Orientation::Vertical, RoundEdge(y * m_zoom - point.y));
}

void CDiagramEditor::OnSize(IntSize client)
{
    m_clientSize = client;
    SetupScrollbars();
    Repaint();
}

// --- panning and wheel -----------------------------------------------------------

void CDiagramEditor::OnMButtonDown(IntPoint point)
{
    if (m_panning) {
        StopPanning();
        return;
    }
    if (!m_hScroll.shown && !m_vScroll.shown)
        return;
    m_panning = 1;
    m_panOrigin = point;
    if (m_host) {
        m_host->StartTimer(m_panTimer, PanTimerPeriod);
        m_host->SetCursor(GetCursorForPosition(point));
    }
    Repaint();
}

void CDiagramEditor::StopPanning()
{
    if (!m_panning)
        return;
    m_panning = 0;
    if (m_host) {
        m_host->StopTimer(m_panTimer);
        m_host->SetCursor(CursorKind::Arrow);
    }
    Repaint();
}

void CDiagramEditor::OnTimer(unsigned id)
{
    if (id != m_panTimer || !m_panning || !m_host)
        return;
    const IntPoint mouse = m_host->GetMousePosition();
    const int dx = (mouse.x - m_panOrigin.x) / 16;
    const int dy = (mouse.y - m_panOrigin.y) / 16;
    SetScroll(Orientation::Horizontal, m_hScroll.pos + dx);
    SetScroll(Orientation::Vertical, m_vScroll.pos + dy);
    m_host->SetCursor(GetCursorForPosition(mouse));
    Repaint();
}

void CDiagramEditor::OnKillFocus()
{
    StopPanning();
}

void CDiagramEditor::OnMouseWheel(int delta)
{
    WheelTurn turn;
    turn.rotation = delta;
    OnMouseWheel(turn);
}

int CDiagramEditor::WheelPixels(const WheelTurn& turn, std::int64_t& rest)
{
    if (turn.perNotch <= 0)
        return 0;
    // A turn back drops what was left of a turn the other way.
    if ((rest > 0 && turn.rotation < 0) || (rest < 0 && turn.rotation > 0))
        rest = 0;
    rest += static_cast<std::int64_t>(turn.rotation) * std::clamp(turn.lines, 1, 100) * WheelLinePixels;
    const std::int64_t pixels = rest / turn.perNotch;
    rest -= pixels * turn.perNotch;
    return static_cast<int>(std::clamp<std::int64_t>(pixels, -FormExtentLimit * 100, FormExtentLimit * 100));
}

void CDiagramEditor::OnMouseWheel(const WheelTurn& turn)
{
    if (turn.zoom) {
        WheelZoom(turn);
        return;
    }
    if (m_wheelMode == 1) {
        if (turn.rotation != 0)
            StepZoom(turn.rotation < 0 ? 1 : -1);
        return;
    }
    const Orientation which = turn.sideways ? Orientation::Horizontal : Orientation::Vertical;
    const ScrollBarState& bar = GetScrollBar(which);
    std::int64_t& rest = turn.sideways ? m_wheelRestX : m_wheelRestY;
    // With nothing to scroll the turn is spent: kept, it would make a
    // later notch jump.
    if (!bar.shown) {
        rest = 0;
        return;
    }
    if (const int pixels = WheelPixels(turn, rest); pixels != 0)
        SetScroll(which, bar.pos - pixels);
}

// A whole notch is one step, toward the top zooming in; what a fine wheel
// turns short of a notch waits for the rest, and a turn back drops it.
void CDiagramEditor::WheelZoom(const WheelTurn& turn)
{
    if (turn.perNotch <= 0)
        return;
    if ((m_wheelRestZoom > 0 && turn.rotation < 0) || (m_wheelRestZoom < 0 && turn.rotation > 0))
        m_wheelRestZoom = 0;
    const std::int64_t turned = std::int64_t{m_wheelRestZoom} + turn.rotation;
    const std::int64_t notches = turned / turn.perNotch;
    m_wheelRestZoom = static_cast<int>(turned - notches * turn.perNotch);
    if (notches != 0)
        ZoomAround(SteppedZoom(m_zoom, static_cast<int>(std::clamp<std::int64_t>(notches, -1000, 1000)), m_zoomStep),
                   turn.at);
}

}  // namespace fw
