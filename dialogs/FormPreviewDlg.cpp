#include "dialogs/FormPreviewDlg.h"

#include "controls/ButtonBitmaps.h"
#include "controls/PictureCtrl.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/PaintCairoEx.h"
#include "dialogs/ThemedButton.h"
#include "editor/DiagramEditor.h"
#include "model/DiagramEntityContainer.h"
#include "model/EntityStyle.h"
#include "render/CairoDrawContext.h"
#include "render/ImageSize.h"
#include "render/SystemColors.h"
#include "services/Environment.h"
#include "services/LanguageTable.h"
#include "services/ObjectModel.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/listctrl.h>
#include <wx/settings.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <filesystem>
#include <memory>

namespace fw {

namespace {

// The client size of a dialog that has no form to show.
constexpr int kEmptyWidth = 400;
constexpr int kEmptyHeight = 200;
// The size grip's square in the bottom-right corner.
constexpr int kGripSize = 10;

CDiagramEntityContainer* FormOf(CDiagramEditor* editor)
{
    return editor ? editor->GetDiagramEntityContainer() : nullptr;
}

long StyleFor(const CDiagramEntityContainer* form)
{
    if (form && form->IsSizeable())
        return wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER;
    return wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX;
}

wxString TitleFor(const CDiagramEntityContainer* form)
{
    if (!form)
        return wxString();
    const std::string key = PreviewTitleKey(form->GetTitle(), form->GetObjectClass());
    if (LanguageTable::instance().has(key))
        return wxString::FromUTF8(langStr(key));
    // No language file has a text for the key: say what the form edits.
    std::string type = GetLocaleObjectType(form->GetObjectClass());
    if (type.empty())
        type = form->GetObjectClass();
    return LangText("PREVIEW_EDIT_TITLE") + " " + wxString::FromUTF8(type);
}

wxFont MakeFont(const PreviewFont& font)
{
    wxFontInfo info(font.tenthsOfPoint / 10.0);
    info.FaceName(wxString::FromUTF8(font.face)).Weight(font.weight).Italic(font.italic);
    return wxFont(info);
}

int ScrollBarMetric(wxSystemMetric which, wxWindow* window)
{
    const int value = wxSystemSettings::GetMetric(which, window);
    // Some desktops do not say; a classic bar is this wide.
    return value > 0 ? value : 16;
}

Color ToColor(const wxColour& c)
{
    return {c.Red(), c.Green(), c.Blue()};
}

// The form's own light colours, not the desktop theme's.
Color FormColor(SysColor which)
{
    return ClassicSysColor(which);
}

wxColour FormColour(SysColor which)
{
    const Color c = ClassicSysColor(which);
    return wxColour(c.r, c.g, c.b);
}

// Controls would take the desktop theme's colours (light text under a dark
// theme, on the light paper); fields are white with black text as at run time.
void UseFormColours(wxWindow& window)
{
    const bool field = dynamic_cast<wxTextCtrl*>(&window) || dynamic_cast<wxListCtrl*>(&window);
    window.SetBackgroundColour(FormColour(field ? SysColor::Window : SysColor::BtnFace));
    // A text's style colour stays.
    if (!window.UseForegroundColour())
        window.SetForegroundColour(FormColour(field ? SysColor::WindowText : SysColor::BtnText));
}

}  // namespace

CFormPreviewDlg::CFormPreviewDlg(wxWindow* parent, CDiagramEditor* editor)
    : BaseItfDialog(parent, wxID_ANY, TitleFor(FormOf(editor)), "", StyleFor(FormOf(editor)))
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetBackgroundColour(FormColour(SysColor::BtnFace));
    SetForegroundColour(FormColour(SysColor::BtnText));
    if (auto* top = dynamic_cast<wxTopLevelWindow*>(wxTheApp ? wxTheApp->GetTopWindow() : nullptr)) {
        if (!top->GetIcons().IsEmpty())
            SetIcons(top->GetIcons());
    }

    const Environment& environment = Environment::instance();
    m_defaultFont = MakeFont(DefaultPreviewFont(environment.getUiFont(), environment.getUiFontSize()));
    if (!m_defaultFont.IsOk())
        m_defaultFont = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    SetFont(m_defaultFont);

    CDiagramEntityContainer* form = FormOf(editor);
    if (form) {
        m_showButtons = !form->HasNoButtons();
        m_sizeable = form->IsSizeable();
        m_paper = form->GetPaper();
    }

    const int display = wxDisplay::GetFromWindow(parent ? parent : this);
    const wxRect screen = wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetGeometry();
    const std::optional<PreviewSize> size =
        ComputePreviewSize(m_paper, {screen.width, screen.height},
                           {ScrollBarMetric(wxSYS_VSCROLL_X, this), ScrollBarMetric(wxSYS_HSCROLL_Y, this)});
    if (size) {
        m_size = *size;
    } else {
        m_size.clientWidth = m_size.contentWidth = kEmptyWidth;
        m_size.clientHeight = m_size.contentHeight = kEmptyHeight;
    }
    // The dialog base takes the client size it finds at the first anchor as
    // what it scrolls, so the whole paper is laid out before the window is cut.
    SetClientSize(m_size.contentWidth, m_size.contentHeight);

    if (form)
        Build(*form);

    m_ok = new wxButton(this, wxID_OK, LangText("MFC_OK"));
    m_cancel = new wxButton(this, wxID_CANCEL, LangText("MFC_CANCEL"));
    if (m_showButtons) {
        AddButtonBar();
    } else {
        m_ok->Hide();
        m_ok->Disable();
        m_cancel->Hide();
    }

    if (size) {
        const wxSize window = ClientToWindowSize(wxSize(m_size.clientWidth, m_size.clientHeight));
        const IntSize first = PreviewWindowSize({window.x, window.y}, m_size);
        SetSize(first.cx, first.cy);
    }

    Bind(wxEVT_PAINT, &CFormPreviewDlg::OnPaint, this);
    Bind(wxEVT_SIZE, &CFormPreviewDlg::OnSize, this);
    Bind(wxEVT_IDLE, &CFormPreviewDlg::OnIdle, this);
    // Without the button bar no Cancel button takes Escape.
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_ESCAPE && !m_showButtons && IsModal())
            EndModal(wxID_CANCEL);
        else
            event.Skip();
    });
}

CFormPreviewDlg::~CFormPreviewDlg() = default;

void CFormPreviewDlg::Build(CDiagramEntityContainer& form)
{
    // Controls are created in tab order, so the keyboard walks them in it.
    form.SortByTabIndex();
    for (int i = 0; i < form.GetCount(); ++i) {
        const CDiagramEntity* element = form.GetAt(i);
        switch (PreviewKindOf(element->GetType())) {
        case PreviewKind::Picture:
            AddPicture(*element);
            break;
        case PreviewKind::Shape:
            m_shapes.push_back(element);
            break;
        case PreviewKind::None:
            break;
        default:
            AddElementWindow(*element);
            break;
        }
    }
}

const wxFont& CFormPreviewDlg::FontFor(const CDiagramEntity& element)
{
    const CEntityStyle* style = element.GetStyle();
    if (!style)
        return m_defaultFont;
    auto known = m_fonts.find(style->GetName());
    if (known == m_fonts.end()) {
        wxFont font = MakeFont(PreviewFontOf(*style));
        known = m_fonts.emplace(style->GetName(), font.IsOk() ? font : m_defaultFont).first;
    }
    return known->second;
}

void CFormPreviewDlg::AddElementWindow(const CDiagramEntity& element)
{
    const wxString title = wxString::FromUTF8(element.GetTitle());
    wxWindow* window = nullptr;
    switch (PreviewKindOf(element.GetType())) {
    case PreviewKind::Static: {
        window = new wxStaticText(this, wxID_ANY, title, wxDefaultPosition, wxDefaultSize,
                                  wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
        if (const CEntityStyle* style = element.GetStyle()) {
            if (const std::optional<Color> colour = StyleTextColor(style->GetColor())) {
                const wxColour text(colour->r, colour->g, colour->b);
                m_textColours[window] = text;
                window->SetForegroundColour(text);
            }
        }
        break;
    }
    case PreviewKind::Edit:
        window = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxBORDER_SUNKEN);
        break;
    case PreviewKind::ImageButton: {
        auto* button = new ThemedButton(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxBORDER_NONE);
        button->setType(ThemedButton::PushButton);
        button->setDefaultStyle(element.GetImagePath());
        window = button;
        break;
    }
    case PreviewKind::Table:
        // Without columns a header would be an empty strip.
        window = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                wxLC_REPORT | wxLC_NO_HEADER | wxBORDER_SIMPLE);
        break;
    case PreviewKind::Button: {
        auto* button = new ThemedButton(this, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE);
        button->setType(ThemedButton::PushButton);
        window = button;
        break;
    }
    default:
        return;
    }
    window->SetFont(FontFor(element));
    const IntRect rect{TruncEdge(element.GetLeft()), TruncEdge(element.GetTop()), TruncEdge(element.GetRight()),
                       TruncEdge(element.GetBottom())};
    Place(window, rect, AnchorSharesOf(element.GetMoving(), element.GetSizing()), &element);
}

void CFormPreviewDlg::AddPicture(const CDiagramEntity& element)
{
    PictureEntry entry;
    entry.element = &element;
    const std::string key = element.GetImagePath();
    std::error_code error;
    if (!key.empty() && std::filesystem::is_regular_file(key, error)) {
        CPictureCtrl file;
        if (file.Load(key))
            entry.data = file.GetData();
    } else if (const std::optional<std::string> resource = PictureResourceName(key)) {
        entry.data = LoadButtonBitmap("", *resource);
    }
    entry.size = ImageDataSize(entry.data);
    if (entry.size.cx <= 0 || entry.size.cy <= 0)
        entry.data.clear();
    m_pictures.push_back(std::move(entry));
}

void CFormPreviewDlg::AddButtonBar()
{
    const int width = m_paper.cx > 0 ? m_paper.cx : kEmptyWidth;
    const int height = m_paper.cy > 0 ? m_paper.cy : kEmptyHeight;
    for (const BarControl& control : RuntimeButtonBar(width, height)) {
        wxWindow* window = nullptr;
        switch (control.kind) {
        case BarControlKind::ToolButton: {
            auto* button = new ThemedButton(this, wxID_ANY);
            button->setDefaultStyle(control.bitmapKey);
            button->setType(control.buttonType);
            window = button;
            break;
        }
        case BarControlKind::ReadOnlyEdit:
            window = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                                    wxTE_READONLY | wxBORDER_SIMPLE);
            break;
        case BarControlKind::StatusField:
            window = new wxStaticText(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                                      wxST_NO_AUTORESIZE | wxBORDER_SUNKEN);
            window->Disable();
            m_statusField = window;
            break;
        case BarControlKind::Ok:
            window = m_ok;
            break;
        case BarControlKind::Cancel:
            window = m_cancel;
            break;
        }
        Place(window, control.rect, {control.moveX, control.moveY, control.sizeX, control.sizeY}, nullptr);
    }
}

void CFormPreviewDlg::Place(wxWindow* window, const IntRect& rect, const AnchorShares& shares,
                            const CDiagramEntity* element)
{
    window->SetSize(rect.left, rect.top, rect.Width(), rect.Height(), wxSIZE_ALLOW_MINUS_ONE);
    UseFormColours(*window);
    const AnchorShares followed = WithoutScrolledAxes(shares, m_size);
    AddAnchor(window, followed.moveX, followed.moveY, followed.sizeX, followed.sizeY);
    m_children.push_back({window, element});
}

wxWindow* CFormPreviewDlg::FindElementWindow(const CDiagramEntity* element) const
{
    for (const ChildWindow& child : m_children)
        if (child.element == element)
            return child.window;
    return nullptr;
}

std::optional<wxColour> CFormPreviewDlg::GetTextColour(const wxWindow* window) const
{
    const auto found = m_textColours.find(window);
    if (found == m_textColours.end())
        return std::nullopt;
    return found->second;
}

IntRect CFormPreviewDlg::GetPaintRect(const CDiagramEntity& element) const
{
    IntRect rect = element.GetRect();
    if (m_sizeable) {
        const wxSize client = GetClientSize();
        rect = DynamicRect(rect, element.GetMoving(), element.GetSizing(), PreviewGrowth(client.x, m_size.contentWidth),
                           PreviewGrowth(client.y, m_size.contentHeight));
    }
    const wxPoint scroll = GetScrollOffset();
    return rect.Offset(-scroll.x, -scroll.y);
}

void CFormPreviewDlg::OnPaint(wxPaintEvent& /*event*/)
{
    wxPaintDC dc(this);
    m_paintedScroll = GetScrollOffset();
    const PaintCairoEx window(dc);
    cairo_t* cr = window.Get();
    if (!cr)
        return;

    CairoDrawContext draw(cr);
    const wxSize client = GetClientSize();
    draw.SetSysColor(SysColor::BtnFace, ToColor(GetBackgroundColour()));
    draw.SetSysColor(SysColor::BtnShadow, FormColor(SysColor::BtnShadow));
    draw.SetSysColor(SysColor::BtnHighlight, FormColor(SysColor::BtnHighlight));
    draw.FillSolidRect({0, 0, client.x, client.y}, ToColor(GetBackgroundColour()));

    for (const CDiagramEntity* shape : m_shapes) {
        // Drawing changes nothing the form keeps; the element only answers it.
        const_cast<CDiagramEntity*>(shape)->DrawObject(draw, GetPaintRect(*shape));
    }
    for (const PictureEntry& picture : m_pictures) {
        const IntRect rect = GetPaintRect(*picture.element);
        if (!picture.data.empty()) {
            draw.DrawImageData(picture.data, FitPicture(rect, picture.size));
        } else {
            draw.SelectPen(Pen::Solid(FormColor(SysColor::BtnText)));
            draw.SelectBrush(Brush::Hollow());
            draw.Rectangle(rect);
        }
    }

    if (m_statusField) {
        // A label draws no edge of its own here; the sunken one goes around it.
        const wxRect r = m_statusField->GetRect();
        const Color shadow = FormColor(SysColor::BtnShadow);
        const Color light = FormColor(SysColor::BtnHighlight);
        draw.SelectPen(Pen::Solid(shadow));
        draw.Polyline({{r.x, r.GetBottom()}, {r.x, r.y}, {r.GetRight() + 1, r.y}});
        draw.SelectPen(Pen::Solid(light));
        draw.Polyline({{r.x, r.GetBottom()}, {r.GetRight(), r.GetBottom()}, {r.GetRight(), r.y}});
    }

    if (m_sizeable && !NeedsScrollBar()) {
        // Three diagonal ridges in the corner say the window can be sized.
        const Color light = FormColor(SysColor::BtnHighlight);
        const Color dark = FormColor(SysColor::BtnShadow);
        const int right = client.x;
        const int bottom = client.y;
        for (int step = 3; step < kGripSize; step += 3) {
            draw.SelectPen(Pen::Solid(dark));
            draw.MoveTo({right - step, bottom - 1});
            draw.LineTo({right, bottom - step - 1});
            draw.SelectPen(Pen::Solid(light));
            draw.MoveTo({right - step + 1, bottom - 1});
            draw.LineTo({right, bottom - step});
        }
    }
}

void CFormPreviewDlg::OnSize(wxSizeEvent& event)
{
    // Shapes and pictures follow the new size as the controls do.
    Refresh();
    event.Skip();
}

void CFormPreviewDlg::OnIdle(wxIdleEvent& event)
{
    // The base scrolls the controls only; what is painted follows here.
    if (GetScrollOffset() != m_paintedScroll) {
        m_paintedScroll = GetScrollOffset();
        Refresh();
    }
    event.Skip();
}

}  // namespace fw
