#pragma once
// The base of every element that stands on a form: rectangle, selection,
// group, tab index, size limits, dynamic layout, text style, the common XML
// attributes and property rows, hit testing and drawing at a zoom factor.
//
// Style rule: an element refers to a record of its form's style list; a copy
// (Copy, Clone) owns a private copy of its source's style instead, and drops it
// for the list's record of the same name once it joins a form (BindStyle).

#include "model/AttributeTable.h"
#include "model/ElementWindow.h"
#include "render/DrawContext.h"
#include "services/Geometry.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace fw {

class CDiagramEntityContainer;
class CEntityStyle;
class CEntityStyleContainer;
class ElementIndex;
class PropertyGrid;
class XmlElement;
class XmlWriter;

// Where a point lies on an element.
namespace HitCode {
constexpr int None = 0;
constexpr int Body = 1;
constexpr int TopLeft = 2;
constexpr int Top = 3;
constexpr int TopRight = 4;
constexpr int BottomLeft = 5;
constexpr int Bottom = 6;
constexpr int BottomRight = 7;
constexpr int Left = 8;
constexpr int Right = 9;
// The eight markers, the only codes that start a resize.
constexpr bool IsHandle(int code)
{
    return code >= TopLeft && code <= Right;
}
}  // namespace HitCode

// Commands the canvas routes to elements (and its menus use).
namespace ElementCommand {
constexpr int Cut = 100;
constexpr int Copy = 101;
constexpr int Duplicate = 102;
constexpr int Properties = 103;
constexpr int MoveLater = 104;
constexpr int MoveEarlier = 105;
constexpr int MoveToEnd = 106;
constexpr int MoveToStart = 107;
constexpr int SelectGroup = 108;
}  // namespace ElementCommand

// Who an element is to the undo history: kept by history copies, new for
// every element the designer makes (copies and duplicates included).
using ElementId = std::uint64_t;

// Lines, rectangles and ellipses lie under every other element.
bool IsShapeType(const std::string& type);

class CDiagramEntity {
public:
    CDiagramEntity();
    CDiagramEntity(const CDiagramEntity&) = delete;
    CDiagramEntity& operator=(const CDiagramEntity&) = delete;
    virtual ~CDiagramEntity();

    virtual void Clear();
    // A new element of the same class with this one's state (caller owns it).
    virtual std::unique_ptr<CDiagramEntity> Clone() const;
    // Clone for the undo history and back: the same element to the history
    // (identity, change stamp) and in the same group, with its dependent part.
    std::unique_ptr<CDiagramEntity> CloneForHistory() const;
    ElementId GetId() const { return m_id; }
    // New with every change of what the element holds, and never given out
    // twice, so equal stamps mean equal content; selection, zoom and parent
    // are not part of that.
    std::uint64_t GetChangeStamp() const { return m_changes; }
    // About what a copy of the element holds in memory, dependent part aside.
    std::size_t GetFootprint() const;
    virtual void Copy(const CDiagramEntity& source);
    virtual bool FromString(const std::string& text);
    virtual std::string GetExportFragment(int kind) const;
    virtual std::string GetString() const;

    virtual IntRect GetRect() const;
    // Applies the size limits; the edges are not normalised.
    virtual void SetRect(double left, double top, double right, double bottom);
    virtual void SetRect(const IntRect& rect);
    virtual void MoveRect(double dx, double dy);
    virtual void SetLeft(double left);
    virtual void SetRight(double right);
    virtual void SetTop(double top);
    virtual void SetBottom(double bottom);

    virtual void SetMinimumSize(IntSize size);
    virtual IntSize GetMinimumSize() const;
    virtual void SetMaximumSize(IntSize size);
    virtual IntSize GetMaximumSize() const;
    virtual void SetConstraints(IntSize minimum, IntSize maximum);

    virtual void Select(bool selected);
    // Select without the rest of the group, for a caller that selects the
    // groups itself in one pass.
    void MarkSelected(bool selected) { m_selected = selected ? 1 : 0; }
    virtual bool IsSelected() const;
    virtual bool BodyInRect(const IntRect& rect) const;
    virtual int GetHitCode(IntPoint point, const IntRect& rect) const;
    virtual int GetHitCode(IntPoint point) const;

    virtual bool DoCommand(int command, CDiagramEntity* sender, ElementWindow* window);
    virtual void ShowProperties(ElementWindow* window, bool show);
    virtual void ShowPopup(IntPoint screenPoint, ElementWindow* window);

    virtual void DrawObject(DrawContext& dc, const IntRect& rect);
    virtual void DrawSelectionMarkers(DrawContext& dc, const IntRect& rect) const;
    virtual void DrawMarkers(DrawContext& dc, double zoom);
    virtual CursorKind GetCursor(int hitCode) const;
    virtual void Draw(DrawContext& dc, double zoom);

    virtual std::string GetTitle() const;
    virtual void SetTitle(const std::string& title);
    virtual std::string GetName() const;
    virtual void SetName(const std::string& name);

    // The part another element brings along (a property field's label), or none.
    virtual CDiagramEntity* GetDependent() const;
    virtual void SetDependent(CDiagramEntity* dependent);

    virtual void SetGenericXml(bool generic);
    virtual bool IsGenericXml() const;

    virtual CEntityStyle* GetStyle() const;
    virtual bool LoadStyle();
    virtual void SetStyleName(const std::string& name);
    virtual void SetStyle(CEntityStyle* style);

    virtual bool IsMandatory() const;
    virtual void SetMandatory(bool value);
    virtual bool IsReadOnly() const;
    virtual void SetReadOnly(bool value);
    virtual bool IsMandatoryDefobj() const;
    virtual void SetMandatoryDefobj(bool value);
    virtual bool IsMultiline() const;
    virtual void SetMultiline(bool value);

    virtual bool IsDependentPart() const;
    virtual void SetDependentPart(bool dependent);

    virtual void SetXmlWriter(XmlWriter* writer);
    virtual void WriteXml();
    virtual void SetXmlElement(const XmlElement* element);
    virtual bool LoadXml();
    virtual bool LoadGeometry();
    virtual bool LoadPos();
    virtual bool LoadSize();
    virtual void SetStyleContainer(CEntityStyleContainer* styles);
    virtual CEntityStyleContainer* GetStyleContainer() const;

    virtual void AddProperties(PropertyGrid& grid, bool flag);
    virtual void SetAttribute(std::string_view key, std::string_view value);
    virtual std::string GetStyleName() const;

    virtual void SetImagePath(const std::string& value);
    virtual std::string GetImagePath() const;
    virtual void SetObjectClass(const std::string& value);
    virtual std::string GetObjectClass() const;
    virtual void SetValidationRule(const std::string& value);
    virtual std::string GetValidationRule() const;
    virtual void SetValidationMessage(const std::string& value);
    virtual std::string GetValidationMessage() const;

    virtual IntPoint GetSizing() const;
    virtual void SetSizing(int x, int y);
    virtual IntPoint GetMoving() const;
    virtual void SetMoving(int x, int y);
    virtual void SetMovingX(int x);
    virtual void SetMovingY(int y);
    virtual void SetSizingX(int x);
    virtual void SetSizingY(int y);
    virtual bool LoadDynamicLayout();
    virtual bool WriteDynamicLayout();

    // Shape settings; only the line, rectangle and ellipse keep them.
    virtual void SetLineColor(const std::string& color);
    virtual std::string GetLineColor() const;
    virtual void SetLineWidth(double width);
    virtual double GetLineWidth() const;
    virtual void SetFillColor(const std::string& color);
    virtual std::string GetFillColor() const;
    virtual void SetCornerRadius(double radius);
    virtual double GetCornerRadius() const;
    virtual void SetQuadrant(int quadrant);
    virtual int GetQuadrant() const;

    virtual void SetTabIndex(int index);
    virtual int GetTabIndex() const;
    virtual void AddToTabIndex(int delta);
    virtual IntRect GetMarkerRect(const IntRect& rect, int hitCode) const;

    // The one-line text form: "type:left,top,right,bottom,title,name,group".
    virtual std::string GetBaseString() const;
    virtual std::string GetHeaderFromString(std::string& text) const;
    virtual bool ParseBaseString(std::string& text);

    // Whether the element takes part in its form's tab order (property fields do).
    virtual bool TakesPartInTabOrder() const;
    // Hands over a dependent part that this element made and still owns (the
    // label of a cloned field), so a list can hold it; none otherwise.
    virtual std::unique_ptr<CDiagramEntity> ReleaseDependent();
    // Whether the title is derived from the name (a text, whose file keeps
    // only its key), so that a typed title would not survive saving.
    virtual bool TitleFollowsName() const;
    // Whether the file keeps the element's size (an image button's is fixed);
    // when not, the pane offers no size rows, since an edit would be lost.
    virtual bool KeepsSize() const;
    // What writing this element to a form file in `formFolder` would lose, in
    // the designer's words; "" when nothing (an image without a picture is
    // dropped on reading, say).
    virtual std::string GetWriteLoss(const std::string& formFolder) const;

    double GetLeft() const { return m_left; }
    double GetRight() const { return m_right; }
    double GetTop() const { return m_top; }
    double GetBottom() const { return m_bottom; }
    const std::string& GetType() const { return m_type; }
    void SetType(const std::string& type)
    {
        m_type = type;
        m_shape = IsShapeType(type);
        NoteChange();
    }
    // Known when the type is set, so painting asks no string question.
    bool IsShape() const { return m_shape; }
    int GetGroup() const { return m_group; }
    void SetGroup(int group)
    {
        m_group = group;
        NoteChange();
    }
    CDiagramEntityContainer* GetParent() const { return m_parent; }
    void SetParent(CDiagramEntityContainer* parent) { m_parent = parent; }
    double GetZoom() const { return m_zoom; }
    void SetZoom(double zoom) { m_zoom = zoom; }
    IntSize GetMarkerSize() const { return m_markerSize; }
    void SetMarkerSize(IntSize size) { m_markerSize = size; }
    // The default GUI font with its height scaled by the zoom of the last draw.
    FontDesc GetZoomedFont(const DrawContext& dc) const;

    const AttributeTable& GetAttributes() const { return m_attributes; }
    // The attribute's value, or "" when the table has none.
    std::string GetAttribute(const std::string& key) const;

    // Why the last LoadXml answered false, when the reader said ("" otherwise).
    const std::string& GetLoadProblem() const { return m_loadProblem; }

    // Trades a private style copy for the style list's record of that name.
    void BindStyle();
    // The rectangle in screen pixels at a zoom factor.
    IntRect GetZoomedRect(double zoom) const;
    // An element whose text may leave its rectangle (a caption on one line)
    // measures where it draws, so that culling and partial repaints cover
    // it: whether that is unknown for its text at `zoom`, and the measuring.
    virtual bool NeedsTextMeasure(double /*zoom*/) const { return false; }
    virtual void MeasureText(DrawContext& /*dc*/, double /*zoom*/) {}
    // The pixels its measured text takes with the element at `rect` (its
    // zoomed rectangle at `zoom`); empty when nothing is known at that zoom.
    IntRect MeasuredTextReach(const IntRect& rect, double zoom) const;
    // The drawing index that holds this element at `slot` and hears of every
    // change; none outside an index. Only the index sets it.
    void SetIndexEntry(ElementIndex* index, int slot)
    {
        m_index = index;
        m_indexSlot = slot;
    }

protected:
    // Opens the element's "Property" and writes its name, place and size.
    void WritePropertyStart(XmlWriter& w) const;
    // Every setter of saved state calls this, so the undo history can tell a
    // changed element from one it already holds a copy of.
    void NoteChange();
    // Records where dc.DrawText(text, rect, format) lands with the font
    // selected (rect being the zoomed rectangle at `zoom`), and moves the
    // element's index entry when that changed.
    void NoteTextReach(DrawContext& dc, const std::string& text, const IntRect& rect, unsigned format,
                       double zoom) const;
    bool TextMeasuredFor(const std::string& text, double zoom) const
    {
        return m_textZoom == zoom && m_measuredText == text;
    }
    // Readers call this where they give up, so a file check can say why.
    void NoteLoadProblem(std::string problem) { m_loadProblem = std::move(problem); }
    // Reads an attribute "x,y" whose two values are percentages (0..100);
    // false, leaving x and y undefined, when it is absent or not so.
    bool ReadPercentagePair(const char* attribute, int& x, int& y) const;
    // "style" with the style's name as the file spells it (as the style list
    // writes it); nothing without a style.
    void WriteStyleAttribute(const CEntityStyle* style) const;
    // "\"pos\" is missing" or "\"pos\" 1,2,3 is not two comma-separated numbers".
    std::string DescribeBadPair(const char* attribute) const;

    XmlWriter* m_xmlWriter = nullptr;
    double m_left = 0;
    double m_right = 0;
    double m_top = 0;
    double m_bottom = 0;
    CEntityStyle* m_style = nullptr;
    const XmlElement* m_xmlElement = nullptr;
    CEntityStyleContainer* m_styleContainer = nullptr;
    IntPoint m_sizing;
    IntPoint m_moving;
    IntSize m_markerSize{8, 8};
    IntSize m_minimumSize{1, 1};
    IntSize m_maximumSize{-1, -1};
    double m_zoom = 1.0;
    int m_selected = 0;
    bool m_dependent = false;
    std::string m_type = "basic";
    bool m_shape = false;
    std::string m_title;
    std::string m_name;
    int m_tabIndex = -1;
    int m_group = 0;
    bool m_genericXml = false;
    CDiagramEntityContainer* m_parent = nullptr;

private:
    void TakeIdentity(const CDiagramEntity& source);
    void UseStyle(CEntityStyle* style);

    ElementId m_id;
    std::uint64_t m_changes = 0;
    ElementIndex* m_index = nullptr;
    int m_indexSlot = -1;
    // The last text measure: its zoom (0 for none), text and format, and its
    // reach from the point the format aligns the text on.
    mutable double m_textZoom = 0;
    mutable std::string m_measuredText;
    mutable unsigned m_textFormat = 0;
    mutable IntRect m_textReach;
    // A style copy this element owns (see the style rule above).
    std::unique_ptr<CEntityStyle> m_ownedStyle;
    AttributeTable m_attributes;
    std::string m_loadProblem;
};

// The largest paper side, and element place or size, a form may hold. The
// reader refuses more and the editor makes no more: far beyond it a form can
// be neither shown nor painted in reasonable time.
constexpr int FormExtentLimit = 32767;

// Edges are converted to integers by truncation toward zero (values beyond the
// int range are clamped and NaN reads 0, so odd input cannot overflow).
int TruncEdge(double value);
// Rounds half up the way every screen and unit conversion does: trunc(value + 0.5).
inline int RoundEdge(double value)
{
    return TruncEdge(value + 0.5);
}
// Zoomed screen values stay this far inside the int range, so drawing may
// add markers, outlines and insets to them without wrapping around.
constexpr int ZoomedEdgeLimit = 1 << 29;
// A zoomed screen value: trunc(value * zoom + 0.5).
inline int ZoomEdge(double value, double zoom)
{
    return std::clamp(RoundEdge(value * zoom), -ZoomedEdgeLimit, ZoomedEdgeLimit);
}

}  // namespace fw
