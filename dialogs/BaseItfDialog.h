#pragma once
// The base of the resizable dialogs: child controls anchored to the dialog's
// edges, scroll bars when the content does not fit, a minimum size taken from
// the first size and, for dialogs with a placement name, the last position and
// size remembered per user.

#include "dialogs/DialogLayout.h"

#include <wx/dialog.h>

#include <string>
#include <vector>

class wxScrollBar;
class wxScrollEvent;

namespace fw {

class BaseItfDialog : public wxDialog {
public:
    BaseItfDialog(wxWindow* parent, wxWindowID id, const wxString& title, const std::string& placementName = "",
                  long style = wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);
    ~BaseItfDialog() override;

    // Registers a child control at its current rectangle. The factors are the
    // shares of the dialog's growth its left, top, width and height follow.
    void AddAnchor(wxWindow* control, double moveX, double moveY, double sizeX, double sizeY);

    bool Show(bool show = true) override;
    int ShowModal() override;

    const std::string& GetPlacementName() const { return m_placementName; }
    wxPoint GetScrollOffset() const { return wxPoint(m_scrollX, m_scrollY); }
    // Scrolls the content; positions are clamped to what the content allows.
    void ScrollContentTo(int x, int y);

    // The stored placement texts under LORVATH/Window of the global settings.
    static std::string ReadPlacementText(const std::string& name);
    // An empty text removes the value.
    static void WritePlacementText(const std::string& name, const std::string& text);

private:
    struct Anchor {
        wxWindow* window;
        AnchorRecord record;
    };

    void MeasureInitialSize();
    void OnFirstShow();
    void RestorePlacement();
    void SavePlacement();
    void ApplyAnchors();
    void UpdateScrollBars();
    void RememberNormalRect();
    bool IsOwnScrollBar(const wxWindow* window) const;

    void OnSize(wxSizeEvent& event);
    void OnMove(wxMoveEvent& event);
    void OnScroll(wxScrollEvent& event);
    void OnMouseWheel(wxMouseEvent& event);

    std::string m_placementName;
    bool m_firstShow = true;
    int m_initialClientWidth = -1;
    int m_initialClientHeight = -1;
    int m_minWidth = -1;
    int m_minHeight = -1;
    int m_scrollX = 0;
    int m_scrollY = 0;
    std::vector<Anchor> m_anchors;
    wxRect m_normalRect;
    wxScrollBar* m_hScroll = nullptr;
    wxScrollBar* m_vScroll = nullptr;
};

}  // namespace fw
