#pragma once
// A button drawn by us so that it looks the same whatever size the form gives
// it: type 1 is a bordered push button with its text and/or bitmap, type 2 a
// flat tool button that shows its frame when the mouse is over it. The bitmap
// comes from the resource packs by its key.

#include <wx/bitmap.h>
#include <wx/control.h>

#include <string>

namespace fw {

class ThemedButton : public wxControl {
public:
    static constexpr int PushButton = 1;
    static constexpr int ToolButton = 2;

    ThemedButton(wxWindow* parent, wxWindowID id, const wxString& label = wxString(),
                 const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize, long style = 0);

    void setType(int type);
    int getType() const { return m_type; }
    // The resource name of the bitmap; a key no pack holds leaves none.
    void setDefaultStyle(const std::string& key);
    const std::string& getDefaultStyle() const { return m_key; }
    const wxBitmap& GetButtonBitmap() const { return m_bitmap; }

    bool AcceptsFocus() const override { return true; }

protected:
    wxSize DoGetBestSize() const override;

private:
    void Press();
    void OnPaint(wxPaintEvent& event);
    void OnMouseDown(wxMouseEvent& event);
    void OnMouseUp(wxMouseEvent& event);
    void OnHover(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnKey(wxKeyEvent& event);

    int m_type = PushButton;
    std::string m_key;
    wxBitmap m_bitmap;
    bool m_hover = false;
    bool m_pressed = false;
};

}  // namespace fw
