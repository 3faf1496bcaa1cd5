#pragma once
// Plain graphics that decorate a form: a line, a rectangle with optional round
// corners and an ellipse. Colours are texts "red,green,blue"; a fill colour
// with a negative part means no fill. Widths and radii are doubles.

#include "model/DiagramEntity.h"

#include <memory>
#include <string>

namespace fw {

class PropertyItem;

// What the three shapes share: line colour and width, and the reading and
// writing of the attributes every shape element starts with.
class CDiagramGraphicShape : public CDiagramEntity {
public:
    ~CDiagramGraphicShape() override;

    void SetLineColor(const std::string& color) override;
    std::string GetLineColor() const override;
    void SetLineWidth(double width) override;
    double GetLineWidth() const override;

protected:
    CDiagramGraphicShape(const std::string& title, const std::string& typeAndName);

    // Takes line colour and width from another shape.
    void CopyLine(const CDiagramGraphicShape& source);

    // Drawing tools; false when the colour text is not three parts, and then
    // the shape draws nothing at all. The width is not zoomed.
    bool MakeLinePen(Pen& pen) const;

    // "pos", "size", "linecolor" and "linewidth"; false at the first that is missing or malformed.
    bool LoadShapeStart();
    // A colour attribute with exactly three parts, stored as written.
    bool LoadColor(const char* attribute, std::string& color);
    bool LoadReal(const char* attribute, double& value);

    // Opens the element and writes "pos", "size", "linecolor" and "linewidth";
    // false (nothing written) without a writer.
    bool WriteShapeStart(const char* elementName);
    void WriteReal(const char* attribute, double value);
    // "sizing", "moving" and the end of the element.
    void WriteShapeEnd();

    // The line items of the appearance group; answers the group for further items.
    PropertyItem& AddLineProperties(PropertyGrid& grid);

private:
    std::string m_lineColor = "0,0,0";
    double m_lineWidth = 1.0;
};

class CDiagramGraphicLine : public CDiagramGraphicShape {
public:
    CDiagramGraphicLine();
    ~CDiagramGraphicLine() override;

    std::unique_ptr<CDiagramEntity> Clone() const override;
    using CDiagramGraphicShape::SetRect;
    void SetRect(double left, double top, double right, double bottom) override;
    void DrawObject(DrawContext& dc, const IntRect& rect) override;
    void WriteXml() override;
    bool LoadXml() override;
    void AddProperties(PropertyGrid& grid, bool flag) override;

    // Which corners the line joins: 1 top-left to bottom-right, 2 bottom-left to
    // top-right, 3 bottom-right to top-left, 4 top-right to bottom-left.
    void SetQuadrant(int quadrant) override;
    int GetQuadrant() const override;

private:
    int m_quadrant = 1;
};

// The rectangle and the ellipse: a shape with a fill colour.
class CDiagramGraphicFilledShape : public CDiagramGraphicShape {
public:
    void SetFillColor(const std::string& color) override;
    std::string GetFillColor() const override;

protected:
    using CDiagramGraphicShape::CDiagramGraphicShape;

    // Selects the line pen and the fill brush (hollow for a negative part),
    // lets `outline` draw and restores both; draws nothing when a colour text
    // is not three parts.
    template <typename Outline> void DrawFilled(DrawContext& dc, Outline outline) const
    {
        dc.SetBkMode(BkMode::Transparent);
        Pen pen;
        Brush brush;
        if (!MakeLinePen(pen) || !MakeFillBrush(brush))
            return;
        const Brush previousBrush = dc.SelectBrush(brush);
        const Pen previousPen = dc.SelectPen(pen);
        outline();
        dc.SelectPen(previousPen);
        dc.SelectBrush(previousBrush);
    }
    void AddFillColorProperty(PropertyGrid& grid, PropertyItem& group);

    std::string m_fillColor = "-1,-1,-1";

private:
    bool MakeFillBrush(Brush& brush) const;
};

class CDiagramGraphicRectangle : public CDiagramGraphicFilledShape {
public:
    CDiagramGraphicRectangle();
    ~CDiagramGraphicRectangle() override;

    std::unique_ptr<CDiagramEntity> Clone() const override;
    void DrawObject(DrawContext& dc, const IntRect& rect) override;
    void WriteXml() override;
    bool LoadXml() override;
    void AddProperties(PropertyGrid& grid, bool flag) override;

    void SetCornerRadius(double radius) override;
    double GetCornerRadius() const override;

private:
    double m_cornerRadius = 0.0;
};

class CDiagramGraphicEllipse : public CDiagramGraphicFilledShape {
public:
    CDiagramGraphicEllipse();
    ~CDiagramGraphicEllipse() override;

    std::unique_ptr<CDiagramEntity> Clone() const override;
    void DrawObject(DrawContext& dc, const IntRect& rect) override;
    void WriteXml() override;
    bool LoadXml() override;
    void AddProperties(PropertyGrid& grid, bool flag) override;
};

}  // namespace fw
