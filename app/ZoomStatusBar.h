#pragma once
// The main frame's status bar, whose last field shows the active form's
// zoom; a click on that field returns the form to 100 %.

#include <wx/statusbr.h>

#include <string>

namespace fw {

class ZoomStatusBar : public wxStatusBar {
public:
    // `fields` of the given widths, the zoom in the last one.
    ZoomStatusBar(wxWindow* parent, int fields, const int* widths);

    // "110 %", or "" with no form; the field is written only when it changes.
    void ShowZoom(const std::string& text);
    int GetZoomField() const { return GetFieldsCount() - 1; }

private:
    void OnLeftDown(wxMouseEvent& event);

    std::string m_zoom;  // as last shown
};

}  // namespace fw
