#include "controls/DiagramGraphicShapes.h"

#include "model/PropertyGrid.h"
#include "model/PropertyIds.h"
#include "services/Strings.h"
#include "services/Xml.h"

namespace fw {

// --- CDiagramGraphicShape ---------------------------------------------------

CDiagramGraphicShape::CDiagramGraphicShape(const std::string& title, const std::string& typeAndName)
{
    SetTitle(title);
    SetType(typeAndName);
    SetName(typeAndName);
    SetMinimumSize({1, 1});
}

CDiagramGraphicShape::~CDiagramGraphicShape() = default;

void CDiagramGraphicShape::SetLineColor(const std::string& color)
{
    m_lineColor = color;
    NoteChange();
}

std::string CDiagramGraphicShape::GetLineColor() const
{
    return m_lineColor;
}

void CDiagramGraphicShape::SetLineWidth(double width)
{
    m_lineWidth = width;
    NoteChange();
}

double CDiagramGraphicShape::GetLineWidth() const
{
    return m_lineWidth;
}

bool CDiagramGraphicShape::MakeLinePen(Pen& pen) const
{
    Color color;
    if (!parseColorText(m_lineColor, color))
        return false;
    pen = Pen::Solid(color, TruncEdge(m_lineWidth));
    return true;
}

bool CDiagramGraphicFilledShape::MakeFillBrush(Brush& brush) const
{
    Color color;
    bool fillable = false;
    if (!parseColorText(m_fillColor, color, &fillable))
        return false;
    brush = fillable ? Brush::Solid(color) : Brush::Hollow();
    return true;
}

void CDiagramGraphicShape::CopyLine(const CDiagramGraphicShape& source)
{
    SetLineColor(source.GetLineColor());
    SetLineWidth(source.GetLineWidth());
}

bool CDiagramGraphicShape::LoadShapeStart()
{
    if (!m_xmlElement || !LoadGeometry())
        return false;
    std::string color;
    double width = 0.0;
    if (!LoadColor("linecolor", color) || !LoadReal("linewidth", width))
        return false;
    SetLineColor(color);
    SetLineWidth(width);
    return true;
}

bool CDiagramGraphicShape::LoadColor(const char* attribute, std::string& color)
{
    const auto value = m_xmlElement ? m_xmlElement->getAttributeValue(attribute) : std::nullopt;
    if (!value) {
        NoteLoadProblem(format("\"%s\" is missing", attribute));
        return false;
    }
    if (!isColorText(*value)) {
        NoteLoadProblem(
            format("\"%s\" %s is not three comma-separated numbers", attribute, std::string(*value).c_str()));
        return false;
    }
    color = *value;
    return true;
}

bool CDiagramGraphicShape::LoadReal(const char* attribute, double& value)
{
    const auto text = m_xmlElement ? m_xmlElement->getAttributeValue(attribute) : std::nullopt;
    if (!text) {
        NoteLoadProblem(format("\"%s\" is missing", attribute));
        return false;
    }
    value = toDouble(*text);
    return true;
}

bool CDiagramGraphicShape::WriteShapeStart(const char* elementName)
{
    if (!m_xmlWriter)
        return false;
    XmlWriter& w = *m_xmlWriter;
    w.writeStartElement(elementName);
    w.writeAttributePair("pos", TruncEdge(m_left), TruncEdge(m_top));
    w.writeAttributePair("size", TruncEdge(m_right - m_left), TruncEdge(m_bottom - m_top));
    w.writeAttributeString("linecolor", m_lineColor);
    WriteReal("linewidth", m_lineWidth);
    return true;
}

void CDiagramGraphicShape::WriteReal(const char* attribute, double value)
{
    if (m_xmlWriter)
        m_xmlWriter->writeAttributeReal(attribute, value);
}

void CDiagramGraphicShape::WriteShapeEnd()
{
    WriteDynamicLayout();
    if (m_xmlWriter)
        m_xmlWriter->writeEndElement();
}

PropertyItem& CDiagramGraphicShape::AddLineProperties(PropertyGrid& grid)
{
    PropertyItem& group = grid.EnsureGroup(PropertyId::AppearanceGroup, "PROP_GRP_APPEARANCE");
    grid.Merge(group, PropertyId::LineWidth, "T_PROP_LINEWIDTH", "H_PROP_LINEWIDTH", m_lineWidth);
    grid.Merge(group, PropertyId::LineColor, "T_PROP_LINECOLOR", "H_PROP_LINECOLOR", m_lineColor, MixedMark::EmptyText);
    return group;
}

void CDiagramGraphicFilledShape::AddFillColorProperty(PropertyGrid& grid, PropertyItem& group)
{
    grid.Merge(group, PropertyId::FillColor, "T_PROP_FILLCOLOR", "H_PROP_FILLCOLOR", m_fillColor, MixedMark::EmptyText);
}

void CDiagramGraphicFilledShape::SetFillColor(const std::string& color)
{
    m_fillColor = color;
    NoteChange();
}

std::string CDiagramGraphicFilledShape::GetFillColor() const
{
    return m_fillColor;
}

// --- CDiagramGraphicLine ----------------------------------------------------

CDiagramGraphicLine::CDiagramGraphicLine() : CDiagramGraphicShape("Line", "line")
{
    // A rule under a heading is 0 high; SetRect keeps it from becoming a point.
    SetMinimumSize({0, 0});
}

CDiagramGraphicLine::~CDiagramGraphicLine() = default;

std::unique_ptr<CDiagramEntity> CDiagramGraphicLine::Clone() const
{
    auto clone = std::make_unique<CDiagramGraphicLine>();
    clone->CopyLine(*this);
    // A copy must run the same way as its original.
    clone->SetQuadrant(GetQuadrant());
    clone->Copy(*this);
    return clone;
}

void CDiagramGraphicLine::SetRect(double left, double top, double right, double bottom)
{
    // Flat either way, but a point could be neither seen nor grabbed. Asked
    // after the shape's own rules, which may turn edges round into a point.
    CDiagramGraphicShape::SetRect(left, top, right, bottom);
    if (TruncEdge(GetLeft()) == TruncEdge(GetRight()) && TruncEdge(GetTop()) == TruncEdge(GetBottom()))
        CDiagramGraphicShape::SetRect(GetLeft(), GetTop(), GetLeft() + 1, GetBottom());
}

void CDiagramGraphicLine::DrawObject(DrawContext& dc, const IntRect& rect)
{
    dc.SetBkMode(BkMode::Transparent);
    Pen pen;
    if (!MakeLinePen(pen))
        return;

    IntPoint from;
    IntPoint to;
    switch (m_quadrant < 2 ? 1 : m_quadrant) {
    case 1:
        from = {rect.left, rect.top};
        to = {rect.right, rect.bottom};
        break;
    case 2:
        from = {rect.left, rect.bottom};
        to = {rect.right, rect.top};
        break;
    case 3:
        from = {rect.right, rect.bottom};
        to = {rect.left, rect.top};
        break;
    case 4:
        from = {rect.right, rect.top};
        to = {rect.left, rect.bottom};
        break;
    default:
        return;
    }

    const Pen previous = dc.SelectPen(pen);
    dc.MoveTo(from);
    dc.LineTo(to);
    dc.SelectPen(previous);
}

void CDiagramGraphicLine::WriteXml()
{
    if (!WriteShapeStart("Line"))
        return;
    m_xmlWriter->writeAttributeInt("quadrant", m_quadrant);
    WriteShapeEnd();
}

bool CDiagramGraphicLine::LoadXml()
{
    if (!LoadShapeStart())
        return false;
    if (const auto quadrant = m_xmlElement->getAttributeValue("quadrant"))
        SetQuadrant(toInt(*quadrant));
    return LoadDynamicLayout();
}

void CDiagramGraphicLine::AddProperties(PropertyGrid& grid, bool flag)
{
    AddLineProperties(grid);
    CDiagramEntity::AddProperties(grid, flag);
}

void CDiagramGraphicLine::SetQuadrant(int quadrant)
{
    m_quadrant = quadrant;
    NoteChange();
}

int CDiagramGraphicLine::GetQuadrant() const
{
    return m_quadrant;
}

// --- CDiagramGraphicRectangle -----------------------------------------------

CDiagramGraphicRectangle::CDiagramGraphicRectangle() : CDiagramGraphicFilledShape("Rectangle", "rectangle") {}

CDiagramGraphicRectangle::~CDiagramGraphicRectangle() = default;

std::unique_ptr<CDiagramEntity> CDiagramGraphicRectangle::Clone() const
{
    auto clone = std::make_unique<CDiagramGraphicRectangle>();
    clone->CopyLine(*this);
    clone->SetFillColor(GetFillColor());
    clone->SetCornerRadius(GetCornerRadius());
    clone->Copy(*this);
    return clone;
}

void CDiagramGraphicRectangle::DrawObject(DrawContext& dc, const IntRect& rect)
{
    DrawFilled(dc, [&] {
        if (m_cornerRadius <= 1e-08) {
            dc.Rectangle(rect);
        } else {
            const int corner = TruncEdge(m_cornerRadius);
            dc.RoundRect(rect, corner, corner);
        }
    });
}

void CDiagramGraphicRectangle::WriteXml()
{
    if (!WriteShapeStart("Rectangle"))
        return;
    m_xmlWriter->writeAttributeString("fillcolor", m_fillColor);
    WriteReal("cornerradius", m_cornerRadius);
    WriteShapeEnd();
}

bool CDiagramGraphicRectangle::LoadXml()
{
    std::string fill;
    double radius = 0.0;
    if (!LoadShapeStart() || !LoadColor("fillcolor", fill) || !LoadReal("cornerradius", radius))
        return false;
    SetFillColor(fill);
    SetCornerRadius(radius);
    return LoadDynamicLayout();
}

void CDiagramGraphicRectangle::AddProperties(PropertyGrid& grid, bool flag)
{
    PropertyItem& group = AddLineProperties(grid);
    AddFillColorProperty(grid, group);
    grid.Merge(group, PropertyId::CornerRadius, "T_PROP_CORNERRADIUS", "H_PROP_CORNERRADIUS", m_cornerRadius);
    CDiagramEntity::AddProperties(grid, flag);
}

void CDiagramGraphicRectangle::SetCornerRadius(double radius)
{
    m_cornerRadius = radius;
    NoteChange();
}

double CDiagramGraphicRectangle::GetCornerRadius() const
{
    return m_cornerRadius;
}

// --- CDiagramGraphicEllipse -------------------------------------------------

CDiagramGraphicEllipse::CDiagramGraphicEllipse() : CDiagramGraphicFilledShape("Ellipse", "ellipse") {}

CDiagramGraphicEllipse::~CDiagramGraphicEllipse() = default;

std::unique_ptr<CDiagramEntity> CDiagramGraphicEllipse::Clone() const
{
    auto clone = std::make_unique<CDiagramGraphicEllipse>();
    clone->CopyLine(*this);
    clone->SetFillColor(GetFillColor());
    clone->Copy(*this);
    return clone;
}

void CDiagramGraphicEllipse::DrawObject(DrawContext& dc, const IntRect& rect)
{
    DrawFilled(dc, [&] { dc.Ellipse(rect); });
}

void CDiagramGraphicEllipse::WriteXml()
{
    if (!WriteShapeStart("Ellipse"))
        return;
    m_xmlWriter->writeAttributeString("fillcolor", m_fillColor);
    WriteShapeEnd();
}

bool CDiagramGraphicEllipse::LoadXml()
{
    std::string fill;
    if (!LoadShapeStart() || !LoadColor("fillcolor", fill))
        return false;
    SetFillColor(fill);
    return LoadDynamicLayout();
}

void CDiagramGraphicEllipse::AddProperties(PropertyGrid& grid, bool flag)
{
    PropertyItem& group = AddLineProperties(grid);
    AddFillColorProperty(grid, group);
    CDiagramEntity::AddProperties(grid, flag);
}

}  // namespace fw
