#include "controls/DiagramStatic.h"

#include "controls/ControlDrawing.h"
#include "model/EntityStyle.h"
#include "model/PropertyGrid.h"
#include "model/PropertyIds.h"
#include "render/FontZoom.h"
#include "services/LanguageTable.h"
#include "services/ObjectModel.h"
#include "services/Strings.h"
#include "services/Xml.h"

#include <optional>
#include <vector>

namespace fw {

CDiagramStatic::CDiagramStatic()
{
    SetTitle("Static");
    SetType("static");
    SetName("static");
    SetMinimumSize({1, 1});
}

CDiagramStatic::~CDiagramStatic() = default;

std::unique_ptr<CDiagramStatic> CDiagramStatic::FromText(const std::string& text)
{
    auto element = std::make_unique<CDiagramStatic>();
    if (!element->FromString(text))
        return nullptr;
    return element;
}

std::unique_ptr<CDiagramEntity> CDiagramStatic::Clone() const
{
    auto clone = std::make_unique<CDiagramStatic>();
    clone->Copy(*this);
    return clone;
}

namespace {

constexpr unsigned CaptionFormat = TextFormat::Left | TextFormat::Top | TextFormat::SingleLine;

}  // namespace

FontDesc CDiagramStatic::StyleFont() const
{
    FontDesc font;
    if (m_style) {
        font.face = m_style->GetFont();
        font.pointSize = m_style->GetSize();
        font.weight = m_style->IsBold() ? 700 : 400;
        font.italic = m_style->IsItalic();
    }
    return font;
}

FontDesc CDiagramStatic::CaptionFont(const DrawContext& dc, double zoom) const
{
    return m_style ? ZoomFont(StyleFont(), zoom) : ZoomedGuiFont(dc, zoom);
}

bool CDiagramStatic::CaptionMeasuredFor(const std::string& title, double zoom) const
{
    return TextMeasuredFor(title, zoom) && StyleFont() == m_measuredStyleFont;
}

void CDiagramStatic::NoteCaptionReach(DrawContext& dc, const std::string& title, const IntRect& rect, double zoom)
{
    NoteTextReach(dc, title, rect, CaptionFormat, zoom);
    m_measuredStyleFont = StyleFont();
}

bool CDiagramStatic::NeedsTextMeasure(double zoom) const
{
    return !CaptionMeasuredFor(GetTitle(), zoom);
}

void CDiagramStatic::MeasureText(DrawContext& dc, double zoom)
{
    const FontDesc previous = dc.SelectFont(CaptionFont(dc, zoom));
    NoteCaptionReach(dc, GetTitle(), GetZoomedRect(zoom), zoom);
    dc.SelectFont(previous);
}

void CDiagramStatic::DrawObject(DrawContext& dc, const IntRect& rect)
{
    dc.SelectFont(CaptionFont(dc, m_zoom));
    dc.SetBkMode(BkMode::Transparent);

    std::optional<Color> previous;
    Color color;
    if (m_style && parseColorText(m_style->GetColor(), color))
        previous = dc.SetTextColor(color);

    const std::string title = GetTitle();
    dc.DrawText(title, rect, CaptionFormat);
    if (!CaptionMeasuredFor(title, m_zoom))
        NoteCaptionReach(dc, title, rect, m_zoom);

    if (previous)
        dc.SetTextColor(*previous);
    dc.SelectFont(dc.GetVariableFont());
}

void CDiagramStatic::WriteXml()
{
    // A caption's geometry and style travel in its field's element.
    if (IsDependentPart() || !m_xmlWriter)
        return;
    XmlWriter& w = *m_xmlWriter;
    w.writeStartElement("Text");
    w.writeAttributePair("pos", TruncEdge(m_left), TruncEdge(m_top));
    w.writeAttributePair("size", TruncEdge(m_right - m_left), TruncEdge(m_bottom - m_top));
    WriteStyleAttribute(m_style);
    WriteDynamicLayout();
    w.writeString(m_name);
    w.writeEndElement();
}

bool CDiagramStatic::LoadXml()
{
    if (!m_xmlElement || !LoadGeometry())
        return false;
    const std::string key(m_xmlElement->getElementValue());
    if (key.empty()) {
        NoteLoadProblem("the text key is missing");
        return false;
    }
    SetTitle(TitleOfKey(key));
    SetName(key);
    LoadStyle();
    return LoadDynamicLayout();
}

void CDiagramStatic::AddProperties(PropertyGrid& grid, bool flag)
{
    PropertyItem& appearance = grid.EnsureGroup(PropertyId::AppearanceGroup, "PROP_GRP_APPEARANCE");
    // A caption takes its title and name from its field.
    const bool caption = IsDependentPart();
    // The file keeps the key only, so the title is shown, not edited: it
    // changes with the name.
    auto title = grid.Merge(appearance, PropertyId::Title, "T_PROP_TITLE", "H_PROP_TITLE", m_title);
    if (title.created)
        title.item->SetReadOnly(true);
    auto name = grid.Merge(appearance, PropertyId::Name, "T_PROP_NAME", "H_PROP_NAME", m_name);
    if (name.created)
        name.item->SetReadOnly(caption);

    if (m_styleContainer) {
        auto style = grid.Merge(appearance, PropertyId::TextStyle, "T_PROP_TXT_STYLE", "H_PROP_TXT_STYLE",
                                GetStyleName(), MixedMark::EmptyText);
        if (style.created) {
            std::vector<std::string> names;
            m_styleContainer->GetNames(names);
            style.item->SetOptions(std::move(names), false);
        }
    }

    CDiagramEntity::AddProperties(grid, flag);
}

bool CDiagramStatic::TitleFollowsName() const
{
    return !IsDependentPart();
}

std::string CDiagramStatic::GetWriteLoss(const std::string& /*formFolder*/) const
{
    return !IsDependentPart() && m_name.empty() ? langStr("SAVE_LOSS_TEXT_NO_KEY") : std::string();
}

std::string CDiagramStatic::TitleOfKey(const std::string& key)
{
    std::string title = GetLocalePropertyName(key);
    return title.empty() ? key : title;
}

}  // namespace fw
