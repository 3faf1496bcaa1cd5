#include "app/ZoomStatusBar.h"

#include "editor/CommandIds.h"

#include <vector>

namespace fw {

ZoomStatusBar::ZoomStatusBar(wxWindow* parent, int fields, const int* widths) : wxStatusBar(parent, wxID_ANY)
{
    std::vector<int> all(widths, widths + fields);
    // Room for the widest zoom, whatever the font.
    all.back() = GetTextExtent("1000 %").x + FromDIP(24);
    SetFieldsCount(fields, all.data());
    Bind(wxEVT_LEFT_DOWN, &ZoomStatusBar::OnLeftDown, this);
}

void ZoomStatusBar::ShowZoom(const std::string& text)
{
    if (text == m_zoom)
        return;
    m_zoom = text;
    SetStatusText(wxString::FromUTF8(text), GetZoomField());
}

void ZoomStatusBar::OnLeftDown(wxMouseEvent& event)
{
    event.Skip();
    wxRect field;
    if (m_zoom.empty() || !GetFieldRect(GetZoomField(), field) || !field.Contains(event.GetPosition()))
        return;
    // As the ribbon's 100 % would: the frame hands it to the active form.
    wxCommandEvent command(wxEVT_MENU, ID_ZOOM_100);
    command.SetEventObject(this);
    GetParent()->GetEventHandler()->ProcessEvent(command);
}

}  // namespace fw
