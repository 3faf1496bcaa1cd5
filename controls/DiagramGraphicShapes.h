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
    // A negative part leaves the shape unfilled.
    static bool MakeFillBrush(const std::string& fillColor, Brush& brush);

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
    void AddFillColorProperty(PropertyGrid& grid, PropertyItem& group, const std::string& fillColor);

private:
    std::string m_lineColor = "0,0,0";
    double m_lineWidth = 1.0;
};

class CDiagramGraphicLine : public CDiagramGraphicShape {
public:
    CDiagramGraphicLine();
    ~CDiagramGraphicLine() override;

    std::unique_ptr<CDiagramEntity> Clone() const override;
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

class CDiagramGraphicRectangle : public CDiagramGraphicShape {
public:
    CDiagramGraphicRectangle();
    ~CDiagramGraphicRectangle() override;

    std::unique_ptr<CDiagramEntity> Clone() const override;
    void DrawObject(DrawContext& dc, const IntRect& rect) override;
    void WriteXml() override;
    bool LoadXml() override;
    void AddProperties(PropertyGrid& grid, bool flag) override;

    void SetFillColor(const std::string& color) override;
    std::string GetFillColor() const override;
    void SetCornerRadius(double radius) override;
    double GetCornerRadius() const override;

private:
    std::string m_fillColor = "-1,-1,-1";
    double m_cornerRadius = 0.0;
};

class CDiagramGraphicEllipse : public CDiagramGraphicShape {
public:
    CDiagramGraphicEllipse();
    ~CDiagramGraphicEllipse() override;

    std::unique_ptr<CDiagramEntity> Clone() const override;
    void DrawObject(DrawContext& dc, const IntRect& rect) override;
    void WriteXml() override;
    bool LoadXml() override;
    void AddProperties(PropertyGrid& grid, bool flag) override;

    void SetFillColor(const std::string& color) override;
    std::string GetFillColor() const override;

private:
    std::string m_fillColor = "-1,-1,-1";
};

}  // namespace fw
