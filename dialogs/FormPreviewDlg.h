#pragma once
// The form preview: the current form as a live dialog close to what the host
// application shows at run time, with real edit fields, texts, buttons and
// lists, the form's pictures and shapes, its text styles, its dynamic layout
// and the run-time button bar. Nothing entered is kept.

#include "dialogs/BaseItfDialog.h"
#include "dialogs/PreviewLayout.h"

#include <wx/colour.h>
#include <wx/font.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

class wxButton;

namespace fw {

class CDiagramEditor;
class CDiagramEntity;
class CDiagramEntityContainer;

class CFormPreviewDlg : public BaseItfDialog {
public:
    // Shows the editor's form; without an editor or form the dialog is empty.
    CFormPreviewDlg(wxWindow* parent, CDiagramEditor* editor);
    ~CFormPreviewDlg() override;

    // A created control and the element it shows (none for the button bar).
    struct ChildWindow {
        wxWindow* window = nullptr;
        const CDiagramEntity* element = nullptr;
    };
    // A picture element with its image bytes (empty when none was found).
    struct PictureEntry {
        const CDiagramEntity* element = nullptr;
        std::vector<std::uint8_t> data;
        IntSize size;
    };

    const std::vector<ChildWindow>& GetChildWindows() const { return m_children; }
    wxWindow* FindElementWindow(const CDiagramEntity* element) const;
    const std::vector<PictureEntry>& GetPictures() const { return m_pictures; }
    const std::vector<const CDiagramEntity*>& GetShapes() const { return m_shapes; }
    // The colour a static text is drawn in when its style names one.
    std::optional<wxColour> GetTextColour(const wxWindow* window) const;
    bool IsShowButtons() const { return m_showButtons; }
    bool IsFormSizeable() const { return m_sizeable; }
    bool NeedsScrollBar() const { return m_size.horizontalScroll || m_size.verticalScroll; }
    wxButton* GetOkButton() const { return m_ok; }
    wxButton* GetCancelButton() const { return m_cancel; }
    // Where an element is painted now, in client coordinates.
    IntRect GetPaintRect(const CDiagramEntity& element) const;

private:
    void Build(CDiagramEntityContainer& form);
    void AddElementWindow(const CDiagramEntity& element);
    void AddPicture(const CDiagramEntity& element);
    void AddButtonBar();
    void Place(wxWindow* window, const IntRect& rect, const AnchorShares& shares, const CDiagramEntity* element);
    const wxFont& FontFor(const CDiagramEntity& element);

    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnIdle(wxIdleEvent& event);

    wxFont m_defaultFont;
    std::map<std::string, wxFont> m_fonts;  // by style name
    bool m_showButtons = true;
    bool m_sizeable = false;
    IntSize m_paper;
    PreviewSize m_size;  // content is what the dialog base scrolls
    std::vector<ChildWindow> m_children;
    std::vector<PictureEntry> m_pictures;
    std::vector<const CDiagramEntity*> m_shapes;
    std::map<const wxWindow*, wxColour> m_textColours;
    wxButton* m_ok = nullptr;
    wxButton* m_cancel = nullptr;
    wxWindow* m_statusField = nullptr;
    wxPoint m_paintedScroll;
};

}  // namespace fw
