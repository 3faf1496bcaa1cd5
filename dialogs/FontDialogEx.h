#pragma once
// The font chooser of the text styles: face, size, bold, italic and colour
// with a live sample. The toolkit's own font dialog offers no colour.

#include "dialogs/StyleEditing.h"

#include <wx/dialog.h>

#include <string>

class wxCheckBox;
class wxColourPickerCtrl;
class wxListBox;
class wxPanel;
class wxSpinCtrl;
class wxSearchCtrl;

namespace fw {

class CFontDialogEx : public wxDialog {
public:
    // `start` as FontChoiceFromStyle makes it for a screen of `dpiY`.
    CFontDialogEx(wxWindow* parent, const FontChoice& start, int dpiY);

    // Face, point size in tenths, weight, italic and colour as the controls stand.
    FontChoice GetChoice() const;

    // Selects a face of the list (it is added when the system does not know it).
    void SelectFace(const std::string& face);

    wxSearchCtrl* GetFilterBox() const { return m_filter; }
    wxListBox* GetFaceList() const { return m_faces; }
    wxSpinCtrl* GetSizeCtrl() const { return m_size; }
    wxCheckBox* GetBoldBox() const { return m_bold; }
    wxCheckBox* GetItalicBox() const { return m_italic; }
    wxColourPickerCtrl* GetColourPicker() const { return m_colour; }
    // Repaints the sample after the controls were set from code.
    void UpdateSample();

private:
    void FillFaces();
    std::string CurrentFace() const;
    void OnPaintSample(wxPaintEvent& event);

    wxArrayString m_allFaces;
    std::string m_face;
    int m_startWeight;
    wxSearchCtrl* m_filter = nullptr;
    wxListBox* m_faces = nullptr;
    wxSpinCtrl* m_size = nullptr;
    wxCheckBox* m_bold = nullptr;
    wxCheckBox* m_italic = nullptr;
    wxColourPickerCtrl* m_colour = nullptr;
    wxPanel* m_sample = nullptr;
};

}  // namespace fw
