#include "dialogs/BaseItfDialog.h"

#include <wx/config.h>
#include <wx/display.h>
#include <wx/scrolbar.h>

namespace fw {

namespace {

const wxString kPlacementPath = "/LORVATH/Window/";

DialogRect ToDialogRect(const wxRect& r)
{
    return {r.x, r.y, r.width, r.height};
}

wxRect ToWxRect(const DialogRect& r)
{
    return wxRect(r.left, r.top, r.width, r.height);
}

}  // namespace

BaseItfDialog::BaseItfDialog(wxWindow* parent, wxWindowID id, const wxString& title, const std::string& placementName,
                             long style)
    : wxDialog(parent, id, title, wxDefaultPosition, wxDefaultSize, style), m_placementName(placementName)
{
    Bind(wxEVT_SIZE, &BaseItfDialog::OnSize, this);
    Bind(wxEVT_MOVE, &BaseItfDialog::OnMove, this);
    Bind(wxEVT_MOUSEWHEEL, &BaseItfDialog::OnMouseWheel, this);
}

BaseItfDialog::~BaseItfDialog()
{
    // A dialog that was never shown still has its template rectangle, which
    // must not replace what the user left last time.
    if (!m_placementName.empty() && !m_firstShow)
        SavePlacement();
}

void BaseItfDialog::AddAnchor(wxWindow* control, double moveX, double moveY, double sizeX, double sizeY)
{
    if (!control)
        return;
    MeasureInitialSize();
    Anchor anchor{control, {}};
    // Registered in content coordinates, whatever the current scroll position.
    const wxRect r = control->GetRect();
    anchor.record.rect = {r.x + m_scrollX, r.y + m_scrollY, r.width, r.height};
    anchor.record.moveX = moveX;
    anchor.record.moveY = moveY;
    anchor.record.sizeX = sizeX;
    anchor.record.sizeY = sizeY;
    m_anchors.push_back(anchor);
    ApplyAnchors();
}

bool BaseItfDialog::Show(bool show)
{
    if (show && m_firstShow)
        OnFirstShow();
    return wxDialog::Show(show);
}

int BaseItfDialog::ShowModal()
{
    if (m_firstShow)
        OnFirstShow();
    return wxDialog::ShowModal();
}

void BaseItfDialog::MeasureInitialSize()
{
    if (m_initialClientWidth >= 0)
        return;
    GetClientSize(&m_initialClientWidth, &m_initialClientHeight);
}

void BaseItfDialog::OnFirstShow()
{
    m_firstShow = false;
    MeasureInitialSize();
    GetSize(&m_minWidth, &m_minHeight);
    SetMinSize(wxSize(m_minWidth, m_minHeight));
    m_normalRect = GetRect();
    if (!m_placementName.empty())
        RestorePlacement();
    ApplyAnchors();
    UpdateScrollBars();
}

void BaseItfDialog::RestorePlacement()
{
    const std::optional<DialogPlacement> placement = ParsePlacement(ReadPlacementText(m_placementName));
    if (!placement)
        return;
    std::vector<MonitorSize> monitors;
    for (unsigned i = 0; i < wxDisplay::GetCount(); ++i) {
        const wxRect geometry = wxDisplay(i).GetGeometry();
        monitors.push_back({geometry.width, geometry.height});
    }
    DialogRect rect = placement->rect;
    if (!monitors.empty())
        rect = ClipToDesktop(rect, DesktopExtent(monitors));
    SetSize(ToWxRect(rect));
    m_normalRect = GetRect();
    if (placement->maximized)
        Maximize();
}

void BaseItfDialog::SavePlacement()
{
    DialogPlacement placement;
    placement.maximized = IsMaximized();
    placement.rect = ToDialogRect(placement.maximized ? m_normalRect : GetRect());
    const std::string text = FormatPlacement(placement);
    if (!text.empty())
        WritePlacementText(m_placementName, text);
}

std::string BaseItfDialog::ReadPlacementText(const std::string& name)
{
    wxConfigBase* config = wxConfigBase::Get();
    wxString text;
    if (!config || !config->Read(kPlacementPath + wxString::FromUTF8(name), &text))
        return {};
    return text.ToStdString(wxConvUTF8);
}

void BaseItfDialog::WritePlacementText(const std::string& name, const std::string& text)
{
    wxConfigBase* config = wxConfigBase::Get();
    if (!config || name.empty())
        return;
    // Failures of the store are not the user's concern; the dialog still works.
    const wxString key = kPlacementPath + wxString::FromUTF8(name);
    if (text.empty())
        config->DeleteEntry(key, false);
    else
        config->Write(key, wxString::FromUTF8(text));
    config->Flush();
}

void BaseItfDialog::RememberNormalRect()
{
    if (IsShown() && !IsMaximized() && !IsIconized())
        m_normalRect = GetRect();
}

bool BaseItfDialog::IsOwnScrollBar(const wxWindow* window) const
{
    return window && (window == m_hScroll || window == m_vScroll);
}

void BaseItfDialog::ScrollContentTo(int x, int y)
{
    if (m_initialClientWidth < 0)
        return;
    const wxSize client = GetClientSize();
    x = ClampScrollPosition(x, m_initialClientWidth, client.x);
    y = ClampScrollPosition(y, m_initialClientHeight, client.y);
    const int dx = x - m_scrollX;
    const int dy = y - m_scrollY;
    if (dx == 0 && dy == 0)
        return;
    m_scrollX = x;
    m_scrollY = y;
    for (wxWindow* child : GetChildren()) {
        if (IsOwnScrollBar(child) || child->IsTopLevel())
            continue;
        child->Move(child->GetPosition() - wxPoint(dx, dy));
    }
    if (m_hScroll)
        m_hScroll->SetThumbPosition(m_scrollX);
    if (m_vScroll)
        m_vScroll->SetThumbPosition(m_scrollY);
}

void BaseItfDialog::ApplyAnchors()
{
    if (m_initialClientWidth < 0)
        return;
    const wxSize client = GetClientSize();
    const int dx = client.x - m_initialClientWidth;
    const int dy = client.y - m_initialClientHeight;
    for (const Anchor& anchor : m_anchors) {
        if (!anchor.record.IsAnchored())
            continue;
        const DialogRect r = PlaceAnchored(anchor.record, dx, dy, m_scrollX, m_scrollY);
        anchor.window->SetSize(r.left, r.top, r.width, r.height, wxSIZE_ALLOW_MINUS_ONE);
    }
}

void BaseItfDialog::UpdateScrollBars()
{
    if (m_initialClientWidth < 0)
        return;
    const wxSize client = GetClientSize();
    const bool needH = MaxScrollPosition(m_initialClientWidth, client.x) > 0;
    const bool needV = MaxScrollPosition(m_initialClientHeight, client.y) > 0;
    // Created only when first needed, so that they lie above the controls.
    if (needH && !m_hScroll) {
        m_hScroll = new wxScrollBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSB_HORIZONTAL);
        m_hScroll->Bind(wxEVT_SCROLL_CHANGED, &BaseItfDialog::OnScroll, this);
        m_hScroll->Bind(wxEVT_SCROLL_THUMBTRACK, &BaseItfDialog::OnScroll, this);
        m_hScroll->Bind(wxEVT_SCROLL_LINEUP, &BaseItfDialog::OnScroll, this);
        m_hScroll->Bind(wxEVT_SCROLL_LINEDOWN, &BaseItfDialog::OnScroll, this);
        m_hScroll->Bind(wxEVT_SCROLL_PAGEUP, &BaseItfDialog::OnScroll, this);
        m_hScroll->Bind(wxEVT_SCROLL_PAGEDOWN, &BaseItfDialog::OnScroll, this);
    }
    if (needV && !m_vScroll) {
        m_vScroll = new wxScrollBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSB_VERTICAL);
        m_vScroll->Bind(wxEVT_SCROLL_CHANGED, &BaseItfDialog::OnScroll, this);
        m_vScroll->Bind(wxEVT_SCROLL_THUMBTRACK, &BaseItfDialog::OnScroll, this);
        m_vScroll->Bind(wxEVT_SCROLL_LINEUP, &BaseItfDialog::OnScroll, this);
        m_vScroll->Bind(wxEVT_SCROLL_LINEDOWN, &BaseItfDialog::OnScroll, this);
        m_vScroll->Bind(wxEVT_SCROLL_PAGEUP, &BaseItfDialog::OnScroll, this);
        m_vScroll->Bind(wxEVT_SCROLL_PAGEDOWN, &BaseItfDialog::OnScroll, this);
    }
    const int barH = m_hScroll ? m_hScroll->GetBestSize().y : 0;
    const int barW = m_vScroll ? m_vScroll->GetBestSize().x : 0;
    if (m_hScroll) {
        m_hScroll->Show(needH);
        if (needH) {
            m_hScroll->SetSize(0, client.y - barH, client.x - (needV ? barW : 0), barH);
            m_hScroll->SetScrollbar(m_scrollX, client.x, m_initialClientWidth, client.x);
        }
    }
    if (m_vScroll) {
        m_vScroll->Show(needV);
        if (needV) {
            m_vScroll->SetSize(client.x - barW, 0, barW, client.y - (needH ? barH : 0));
            m_vScroll->SetScrollbar(m_scrollY, client.y, m_initialClientHeight, client.y);
        }
    }
}

void BaseItfDialog::OnSize(wxSizeEvent& /*event*/)
{
    RememberNormalRect();
    if (m_initialClientWidth >= 0) {
        // Re-clamping brings the content back to 0 once it fits again.
        ScrollContentTo(m_scrollX, m_scrollY);
        ApplyAnchors();
        UpdateScrollBars();
    }
    if (GetSizer())
        Layout();
}

void BaseItfDialog::OnMove(wxMoveEvent& event)
{
    RememberNormalRect();
    event.Skip();
}

void BaseItfDialog::OnScroll(wxScrollEvent& event)
{
    const bool horizontal = event.GetOrientation() == wxHORIZONTAL;
    const wxSize client = GetClientSize();
    const int current = horizontal ? m_scrollX : m_scrollY;
    const int content = horizontal ? m_initialClientWidth : m_initialClientHeight;
    const int page = horizontal ? client.x : client.y;
    ScrollRequest request = ScrollRequest::ThumbPosition;
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_SCROLL_LINEUP)
        request = ScrollRequest::LineUp;
    else if (type == wxEVT_SCROLL_LINEDOWN)
        request = ScrollRequest::LineDown;
    else if (type == wxEVT_SCROLL_PAGEUP)
        request = ScrollRequest::PageUp;
    else if (type == wxEVT_SCROLL_PAGEDOWN)
        request = ScrollRequest::PageDown;
    const int position = ScrollPositionFor(request, current, event.GetPosition(), content, page);
    if (horizontal)
        ScrollContentTo(position, m_scrollY);
    else
        ScrollContentTo(m_scrollX, position);
}

void BaseItfDialog::OnMouseWheel(wxMouseEvent& event)
{
    if (!m_vScroll || !m_vScroll->IsShown()) {
        event.Skip();
        return;
    }
    const ScrollRequest request = event.GetWheelRotation() > 0 ? ScrollRequest::LineUp : ScrollRequest::LineDown;
    ScrollContentTo(m_scrollX, ScrollPositionFor(request, m_scrollY, 0, m_initialClientHeight, GetClientSize().y));
}

}  // namespace fw
