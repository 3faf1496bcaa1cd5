#include "dialogs/FontDialogEx.h"

#include "dialogs/DialogTexts.h"
#include "services/LanguageTable.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/clrpicker.h>
#include <wx/dcbuffer.h>
#include <wx/fontenum.h>
#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/srchctrl.h>
#include <wx/stattext.h>

#include <algorithm>

namespace fw {

namespace {

constexpr int kDefaultPoints = 10;
constexpr int kMaxPoints = 500;

}  // namespace

CFontDialogEx::CFontDialogEx(wxWindow* parent, const FontChoice& start, int dpiY)
    : wxDialog(parent, wxID_ANY, LangText("FONTDLG_NAME"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_startWeight(start.weight)
{
    m_allFaces = wxFontEnumerator::GetFacenames();
    m_allFaces.Sort([](const wxString& a, const wxString& b) { return a.CmpNoCase(b); });

    m_filter = new wxSearchCtrl(this, wxID_ANY);
    // The magnifier says what the box is for; no text that is not the user's.
    m_filter->SetDescriptiveText(wxString());
    m_faces = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(240, 220), 0, nullptr, wxLB_SINGLE);

    m_size = new wxSpinCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, 1,
                            kMaxPoints, kDefaultPoints);
    const int points = PointSizeFromHeight(start.height, dpiY);
    m_size->SetValue(points > 0 ? std::min(points, kMaxPoints) : kDefaultPoints);
    m_bold = new wxCheckBox(this, wxID_ANY, LangText("FONTDLG_BOLD"));
    m_bold->SetValue(start.weight != 400);
    m_italic = new wxCheckBox(this, wxID_ANY, LangText("FONTDLG_ITALIC"));
    m_italic->SetValue(start.italic);
    m_colour = new wxColourPickerCtrl(this, wxID_ANY, wxColour(start.red, start.green, start.blue));

    m_sample = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxSize(-1, 80), wxBORDER_SUNKEN);
    m_sample->SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_sample->Bind(wxEVT_PAINT, &CFontDialogEx::OnPaintSample, this);

    auto* settings = new wxFlexGridSizer(2, 8, 8);
    settings->Add(new wxStaticText(this, wxID_ANY, LangText("FONTDLG_SIZE")), 0, wxALIGN_CENTER_VERTICAL);
    settings->Add(m_size, 0, wxEXPAND);
    settings->AddSpacer(0);
    settings->Add(m_bold);
    settings->AddSpacer(0);
    settings->Add(m_italic);
    settings->Add(new wxStaticText(this, wxID_ANY, LangText("FONTDLG_COLOUR")), 0, wxALIGN_CENTER_VERTICAL);
    settings->Add(m_colour, 0, wxEXPAND);

    auto* faceColumn = new wxBoxSizer(wxVERTICAL);
    faceColumn->Add(new wxStaticText(this, wxID_ANY, LangText("FONTDLG_FACE")), 0, wxBOTTOM, 4);
    faceColumn->Add(m_filter, 0, wxEXPAND | wxBOTTOM, 4);
    faceColumn->Add(m_faces, 1, wxEXPAND);

    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    columns->Add(faceColumn, 1, wxEXPAND | wxRIGHT, 12);
    columns->Add(settings, 0, wxTOP, 20);

    wxStdDialogButtonSizer* buttons = MakeOkCancelRow(this);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(columns, 1, wxEXPAND | wxALL, 12);
    top->Add(m_sample, 0, wxEXPAND | wxLEFT | wxRIGHT, 12);
    top->Add(buttons, 0, wxEXPAND | wxALL, 12);
    SetSizerAndFit(top);
    SetMinSize(GetSize());

    // An empty start takes the desktop's face so that OK always answers one.
    std::string face = start.face;
    if (face.empty())
        face = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).GetFaceName().ToStdString(wxConvUTF8);
    SelectFace(face);
    CentreOnParent();

    m_filter->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { FillFaces(); });
    m_faces->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) {
        m_face = CurrentFace();
        UpdateSample();
    });
    auto changed = [this](wxEvent&) { UpdateSample(); };
    m_size->Bind(wxEVT_SPINCTRL, changed);
    m_size->Bind(wxEVT_TEXT, changed);
    m_bold->Bind(wxEVT_CHECKBOX, changed);
    m_italic->Bind(wxEVT_CHECKBOX, changed);
    m_colour->Bind(wxEVT_COLOURPICKER_CHANGED, changed);
    m_faces->SetFocus();
}

void CFontDialogEx::SelectFace(const std::string& face)
{
    const wxString name = FromUtf8(face);
    // A face the system does not list (a substituted one) is kept as it is.
    if (!name.empty() && m_allFaces.Index(name, false) == wxNOT_FOUND) {
        m_allFaces.Add(name);
        m_allFaces.Sort([](const wxString& a, const wxString& b) { return a.CmpNoCase(b); });
    }
    m_face = face;
    m_filter->ChangeValue(wxString());
    FillFaces();
}

void CFontDialogEx::FillFaces()
{
    const wxString filter = m_filter->GetValue().Lower();
    m_faces->Freeze();
    m_faces->Clear();
    for (const wxString& face : m_allFaces)
        if (filter.empty() || face.Lower().Contains(filter))
            m_faces->Append(face);
    const int index = m_faces->FindString(FromUtf8(m_face), false);
    if (index != wxNOT_FOUND) {
        m_faces->SetSelection(index);
        m_faces->EnsureVisible(index);
    }
    m_faces->Thaw();
    UpdateSample();
}

std::string CFontDialogEx::CurrentFace() const
{
    const int index = m_faces->GetSelection();
    return index == wxNOT_FOUND ? m_face : m_faces->GetString(index).ToStdString(wxConvUTF8);
}

FontChoice CFontDialogEx::GetChoice() const
{
    FontChoice choice;
    choice.face = CurrentFace();
    choice.pointSizeTenths = m_size->GetValue() * 10;
    // A weight other than the two the box stands for survives an untouched box.
    if (m_bold->GetValue())
        choice.weight = m_startWeight != 400 ? m_startWeight : 700;
    else
        choice.weight = 400;
    choice.italic = m_italic->GetValue();
    const wxColour colour = m_colour->GetColour();
    choice.red = colour.Red();
    choice.green = colour.Green();
    choice.blue = colour.Blue();
    return choice;
}

void CFontDialogEx::UpdateSample()
{
    if (m_sample)
        m_sample->Refresh();
}

void CFontDialogEx::OnPaintSample(wxPaintEvent& /*event*/)
{
    wxAutoBufferedPaintDC dc(m_sample);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)));
    dc.Clear();
    const FontChoice choice = GetChoice();
    wxFont font(wxFontInfo(static_cast<double>(choice.pointSizeTenths) / 10.0)
                    .FaceName(FromUtf8(choice.face))
                    .Bold(choice.weight != 400)
                    .Italic(choice.italic));
    dc.SetFont(font);
    dc.SetTextForeground(wxColour(choice.red, choice.green, choice.blue));
    const wxString text = LangText("FONTDLG_SAMPLE");
    const wxSize extent = dc.GetTextExtent(text);
    const wxSize area = m_sample->GetClientSize();
    dc.SetClippingRegion(wxPoint(0, 0), area);
    dc.DrawText(text, std::max(4, (area.x - extent.x) / 2), (area.y - extent.y) / 2);
}

}  // namespace fw
