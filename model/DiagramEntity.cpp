#include "model/DiagramEntity.h"

#include "model/DiagramEntityContainer.h"
#include "model/ElementIndex.h"
#include "model/EntityStyle.h"
#include "model/PropertyGrid.h"
#include "model/PropertyIds.h"
#include "services/LanguageTable.h"
#include "services/Strings.h"
#include "services/Tokens.h"
#include "services/Xml.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace fw {

bool IsShapeType(const std::string& type)
{
    // Every element asks when it is made. ASCII text folds byte for byte, so
    // its length alone rules out most types; other text may fold to another
    // length ("ellipſe").
    const bool ascii =
        std::all_of(type.begin(), type.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii)
        return equalsNoCase(type, "line") || equalsNoCase(type, "rectangle") || equalsNoCase(type, "ellipse");
    // ASCII folds to ASCII only, letter by letter.
    auto is = [&type](std::string_view lower) {
        return type.size() == lower.size() && std::equal(type.begin(), type.end(), lower.begin(), [](char a, char b) {
                   return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
               });
    };
    return is("line") || is("rectangle") || is("ellipse");
}

int TruncEdge(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

namespace {

std::int64_t Extent(int from, int to)
{
    return static_cast<std::int64_t>(to) - from;
}

// Title and name may hold the separators of the text form; these stand in for them.
const std::pair<const char*, const char*> TextEscapes[] = {
    {":", "\\colon"},
    {";", "\\semicolon"},
    {",", "\\comma"},
    {"\r\n", "\\newline"},
};

std::string EscapeText(const std::string& text)
{
    std::string out = text;
    for (const auto& [plain, escaped] : TextEscapes)
        out = replaceAll(out, plain, escaped);
    return out;
}

std::string UnescapeText(const std::string& text)
{
    std::string out = text;
    for (const auto& [plain, escaped] : TextEscapes)
        out = replaceAll(out, escaped, plain);
    return out;
}

// Identities and change stamps only ever grow, so none is given out twice.
// Plain counters: elements are made and changed on one thread only, and a
// locked increment in every setter cost a tenth of reading a large form.
ElementId g_lastElementId = 0;
std::uint64_t g_lastChangeStamp = 0;

// What a string holds beyond the object (short ones live inside it).
std::size_t TextBytes(const std::string& text)
{
    return text.capacity() > 15 ? text.capacity() + 1 : 0;
}

// An entry of the attribute table: key and value.
constexpr std::size_t AttributeEntryBytes = 2 * sizeof(std::string);

}  // namespace

CDiagramEntity::CDiagramEntity() : m_id(++g_lastElementId)
{
    Clear();
}

CDiagramEntity::~CDiagramEntity()
{
    // Its index must not keep an entry for an element that is gone.
    if (m_index)
        m_index->Invalidate();
}

void CDiagramEntity::Clear()
{
    m_left = m_right = m_top = m_bottom = 0;
    m_markerSize = {8, 8};
    SetConstraints({1, 1}, {-1, -1});
    Select(false);
    m_parent = nullptr;
    m_name.clear();
    m_moving = {0, 0};
    m_sizing = {0, 0};
    NoteChange();
}

std::unique_ptr<CDiagramEntity> CDiagramEntity::Clone() const
{
    auto clone = std::make_unique<CDiagramEntity>();
    clone->Copy(*this);
    return clone;
}

std::unique_ptr<CDiagramEntity> CDiagramEntity::CloneForHistory() const
{
    std::unique_ptr<CDiagramEntity> clone = Clone();
    clone->TakeIdentity(*this);
    CDiagramEntity* part = clone->GetDependent();
    if (part && GetDependent())
        part->TakeIdentity(*GetDependent());
    return clone;
}

void CDiagramEntity::TakeIdentity(const CDiagramEntity& source)
{
    m_id = source.m_id;
    m_group = source.m_group;
    // Exactly as it was, even below the size limits: a caption that the file
    // left without a size must not come back from undo as a 1 x 1 dot.
    m_left = source.m_left;
    m_top = source.m_top;
    m_right = source.m_right;
    m_bottom = source.m_bottom;
    m_changes = source.m_changes;
}

void CDiagramEntity::NoteChange()
{
    m_changes = ++g_lastChangeStamp;
    // A move or a new line width changes where the element draws.
    if (m_index)
        m_index->Update(*this, m_indexSlot);
}


std::size_t CDiagramEntity::GetFootprint() const
{
    std::size_t bytes = sizeof(CDiagramEntity) + TextBytes(m_type) + TextBytes(m_title) + TextBytes(m_name);
    for (const auto& [key, value] : m_attributes)
        bytes += AttributeEntryBytes + TextBytes(key) + TextBytes(value);
    if (m_ownedStyle)
        bytes += sizeof(CEntityStyle) + TextBytes(m_ownedStyle->GetName());
    return bytes;
}

void CDiagramEntity::Copy(const CDiagramEntity& source)
{
    Clear();
    m_markerSize = source.m_markerSize;
    SetConstraints(source.GetMinimumSize(), source.GetMaximumSize());
    m_tabIndex = source.m_tabIndex;
    Select(source.IsSelected());
    m_parent = source.m_parent;
    m_type = source.m_type;
    m_shape = source.m_shape;
    m_title = source.m_title;
    m_name = source.m_name;
    SetRect(source.m_left, source.m_top, source.m_right, source.m_bottom);
    m_genericXml = source.m_genericXml;
    m_dependent = source.m_dependent;
    if (source.m_style) {
        m_ownedStyle = CEntityStyleContainer::CloneStyle(*source.m_style);
        m_style = m_ownedStyle.get();
    } else {
        m_ownedStyle.reset();
        m_style = nullptr;
    }
    m_styleContainer = source.m_styleContainer;
    m_attributes = source.m_attributes;
    m_sizing = source.m_sizing;
    m_moving = source.m_moving;
}

bool CDiagramEntity::FromString(const std::string& text)
{
    std::string rest = text;
    if (GetHeaderFromString(rest) != m_type)
        return false;
    return ParseBaseString(rest);
}

std::string CDiagramEntity::GetExportFragment(int) const
{
    return {};
}

std::string CDiagramEntity::GetString() const
{
    return GetBaseString() + ";";
}

IntRect CDiagramEntity::GetRect() const
{
    return {TruncEdge(m_left), TruncEdge(m_top), TruncEdge(m_right), TruncEdge(m_bottom)};
}

void CDiagramEntity::SetRect(double left, double top, double right, double bottom)
{
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;

    IntRect r = GetRect();
    if (m_minimumSize.cx != -1 && Extent(r.left, r.right) < m_minimumSize.cx)
        m_right = m_left + m_minimumSize.cx;
    if (m_minimumSize.cy != -1 && Extent(r.top, r.bottom) < m_minimumSize.cy)
        m_bottom = m_top + m_minimumSize.cy;

    r = GetRect();
    if (m_maximumSize.cx != -1 && Extent(r.left, r.right) > m_maximumSize.cx)
        m_right = m_left + m_maximumSize.cx;
    if (m_maximumSize.cy != -1 && Extent(r.top, r.bottom) > m_maximumSize.cy)
        m_bottom = m_top + m_maximumSize.cy;
    NoteChange();
}

void CDiagramEntity::SetRect(const IntRect& rect)
{
    IntRect r = rect.Normalized();
    SetRect(r.left, r.top, r.right, r.bottom);
}

void CDiagramEntity::MoveRect(double dx, double dy)
{
    SetRect(m_left + dx, m_top + dy, m_right + dx, m_bottom + dy);
}

void CDiagramEntity::SetLeft(double left)
{
    m_left = left;
    NoteChange();
}

void CDiagramEntity::SetRight(double right)
{
    m_right = right;
    NoteChange();
}

void CDiagramEntity::SetTop(double top)
{
    m_top = top;
    NoteChange();
}

void CDiagramEntity::SetBottom(double bottom)
{
    m_bottom = bottom;
    NoteChange();
}

void CDiagramEntity::SetMinimumSize(IntSize size)
{
    m_minimumSize = size;
    NoteChange();
}

IntSize CDiagramEntity::GetMinimumSize() const
{
    return m_minimumSize;
}

void CDiagramEntity::SetMaximumSize(IntSize size)
{
    m_maximumSize = size;
    NoteChange();
}

IntSize CDiagramEntity::GetMaximumSize() const
{
    return m_maximumSize;
}

void CDiagramEntity::SetConstraints(IntSize minimum, IntSize maximum)
{
    SetMinimumSize(minimum);
    SetMaximumSize(maximum);
}

void CDiagramEntity::Select(bool selected)
{
    m_selected = selected;
    if (selected && m_group != 0 && m_parent)
        m_parent->SendCommandToElements(ElementCommand::SelectGroup, false, this, nullptr);
}

bool CDiagramEntity::IsSelected() const
{
    return m_selected != 0;
}

bool CDiagramEntity::BodyInRect(const IntRect& rect) const
{
    IntRect body = GetRect().Inflated(1, 1).Normalized();
    return !body.Intersection(rect.Normalized()).IsEmpty();
}

int CDiagramEntity::GetHitCode(IntPoint point, const IntRect& rect) const
{
    IntRect test = rect;
    if (test.Height() < 7) {
        int grow = 6 - test.Height() / 2;
        test.top -= grow;
        test.bottom += grow;
    }
    if (test.Width() < 7) {
        int grow = 6 - test.Width() / 2;
        test.left -= grow;
        test.right += grow;
    }

    int code = test.Contains(point) ? HitCode::Body : HitCode::None;
    for (int marker = HitCode::TopLeft; marker <= HitCode::Right; ++marker)
        if (GetMarkerRect(rect, marker).Contains(point))
            code = marker;
    return code;
}

int CDiagramEntity::GetHitCode(IntPoint point) const
{
    return GetHitCode(point, GetRect());
}

bool CDiagramEntity::DoCommand(int command, CDiagramEntity* sender, ElementWindow* window)
{
    if (command == ElementCommand::SelectGroup) {
        if (sender && sender != this && sender->GetGroup() == m_group)
            m_selected = 1;
        return false;
    }
    if (command == ElementCommand::Properties) {
        if (!IsSelected())
            return false;
        ShowProperties(window, true);
        return true;
    }
    if (!m_parent || !IsSelected())
        return false;
    switch (command) {
    case ElementCommand::Cut:
        m_parent->Cut(this);
        return true;
    case ElementCommand::Copy:
        m_parent->Copy(this);
        return true;
    case ElementCommand::Duplicate:
        if (m_parent->Duplicate(this))
            Select(false);
        return true;
    case ElementCommand::MoveLater:
        m_parent->MoveLater(this);
        return true;
    case ElementCommand::MoveEarlier:
        m_parent->MoveEarlier(this);
        return true;
    case ElementCommand::MoveToEnd:
        m_parent->MoveToEnd(this);
        return true;
    case ElementCommand::MoveToStart:
        m_parent->MoveToStart(this);
        return true;
    default:
        return false;
    }
}

void CDiagramEntity::ShowProperties(ElementWindow*, bool) {}

void CDiagramEntity::ShowPopup(IntPoint screenPoint, ElementWindow* window)
{
    if (!window)
        return;
    PopupMenu menu;
    menu.Append(ElementCommand::Cut, "Cut");
    menu.Append(ElementCommand::Copy, "Copy");
    window->TrackPopupMenu(menu, screenPoint);
}

void CDiagramEntity::DrawObject(DrawContext& dc, const IntRect& rect)
{
    Pen oldPen = dc.SelectPen(Pen::StockBlack());
    Brush oldBrush = dc.SelectBrush(Brush::StockWhite());
    dc.Rectangle(rect);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
}

void CDiagramEntity::DrawSelectionMarkers(DrawContext& dc, const IntRect& rect) const
{
    Brush oldBrush = dc.SelectBrush(Brush::StockBlack());
    constexpr int first = HitCode::TopLeft;
    IntRect markers[HitCode::Right - first + 1];
    for (int marker = first; marker <= HitCode::Right; ++marker)
        markers[marker - first] = GetMarkerRect(rect, marker);
    dc.Rectangles(markers, std::size(markers));
    dc.SelectBrush(oldBrush);
}

void CDiagramEntity::DrawMarkers(DrawContext& dc, double zoom)
{
    m_zoom = zoom;
    IntRect rect = GetZoomedRect(zoom);
    if (IsSelected())
        DrawSelectionMarkers(dc, rect);
}

CursorKind CDiagramEntity::GetCursor(int hitCode) const
{
    switch (hitCode) {
    case HitCode::Body:
        return CursorKind::SizeAll;
    case HitCode::TopLeft:
    case HitCode::BottomRight:
        return CursorKind::SizeNWSE;
    case HitCode::Top:
    case HitCode::Bottom:
        return CursorKind::SizeNS;
    case HitCode::TopRight:
    case HitCode::BottomLeft:
        return CursorKind::SizeNESW;
    case HitCode::Left:
    case HitCode::Right:
        return CursorKind::SizeWE;
    default:
        return CursorKind::None;
    }
}

void CDiagramEntity::Draw(DrawContext& dc, double zoom)
{
    m_zoom = zoom;
    IntRect rect = GetZoomedRect(zoom);
    DrawObject(dc, rect);
    if (IsSelected())
        DrawSelectionMarkers(dc, rect);
}

std::string CDiagramEntity::GetTitle() const
{
    return m_title;
}

void CDiagramEntity::SetTitle(const std::string& title)
{
    m_title = title;
    NoteChange();
}

std::string CDiagramEntity::GetName() const
{
    return m_name;
}

void CDiagramEntity::SetName(const std::string& name)
{
    m_name = name;
    NoteChange();
}

CDiagramEntity* CDiagramEntity::GetDependent() const
{
    return nullptr;
}

void CDiagramEntity::SetDependent(CDiagramEntity*) {}

void CDiagramEntity::SetGenericXml(bool generic)
{
    m_genericXml = generic;
    NoteChange();
}

bool CDiagramEntity::IsGenericXml() const
{
    return m_genericXml;
}

CEntityStyle* CDiagramEntity::GetStyle() const
{
    return m_style;
}

bool CDiagramEntity::LoadStyle()
{
    if (!m_xmlElement)
        return false;
    const auto name = m_xmlElement->getAttributeValue("style");
    if (!name)
        return false;
    // The file spells the name as the style list does, with "," for "||";
    // most names hold neither.
    if (!m_styleContainer)
        SetStyle(nullptr);
    else
        SetStyle(contains(*name, ",") ? m_styleContainer->Find(toMemorySeparators(*name))
                                      : m_styleContainer->Find(*name));
    return true;
}

void CDiagramEntity::WriteStyleAttribute(const CEntityStyle* style) const
{
    if (style && m_xmlWriter)
        m_xmlWriter->writeAttributeString("style", toFileSeparators(style->GetName()));
}

void CDiagramEntity::SetStyleName(const std::string& name)
{
    if (m_styleContainer)
        SetStyle(m_styleContainer->Find(name));
}

void CDiagramEntity::SetStyle(CEntityStyle* style)
{
    UseStyle(style);
    NoteChange();
    // The file keeps one style for an element and the part it brings along
    // (a field and its caption), so whichever of the two is given a style,
    // both take it. Binding to the form's style of the same name (BindStyle)
    // gives neither a new style, so it leaves the other alone.
    CDiagramEntity* partner = GetDependent();
    if (!partner && IsDependentPart() && m_parent)
        partner = m_parent->FindOwner(this);
    if (partner && partner->GetStyle() != style)
        partner->SetStyle(style);
}

void CDiagramEntity::UseStyle(CEntityStyle* style)
{
    m_style = style;
    if (m_ownedStyle && m_ownedStyle.get() != style)
        m_ownedStyle.reset();
}

void CDiagramEntity::BindStyle()
{
    if (!m_ownedStyle || !m_styleContainer)
        return;
    // The same style by name: what the element holds does not change.
    if (CEntityStyle* shared = m_styleContainer->Find(m_ownedStyle->GetName()))
        UseStyle(shared);
}

bool CDiagramEntity::IsMandatory() const
{
    return false;
}

void CDiagramEntity::SetMandatory(bool) {}

bool CDiagramEntity::IsReadOnly() const
{
    return false;
}

void CDiagramEntity::SetReadOnly(bool) {}

bool CDiagramEntity::IsMandatoryDefobj() const
{
    return false;
}

void CDiagramEntity::SetMandatoryDefobj(bool) {}

bool CDiagramEntity::IsMultiline() const
{
    return false;
}

void CDiagramEntity::SetMultiline(bool) {}

bool CDiagramEntity::IsDependentPart() const
{
    return m_dependent;
}

void CDiagramEntity::SetDependentPart(bool dependent)
{
    m_dependent = dependent;
    NoteChange();
}

void CDiagramEntity::SetStyleContainer(CEntityStyleContainer* styles)
{
    m_styleContainer = styles;
}

CEntityStyleContainer* CDiagramEntity::GetStyleContainer() const
{
    return m_styleContainer;
}

void CDiagramEntity::AddProperties(PropertyGrid& grid, bool)
{
    if (KeepsSize()) {
        PropertyItem& size = grid.EnsureGroup(PropertyId::SizeGroup, "PROP_GRP_SIZE");
        grid.Merge(size, PropertyId::Height, "T_PROP_HEIGHT", "H_PROP_HEIGHT_CTRL", m_bottom - m_top);
        grid.Merge(size, PropertyId::Width, "T_PROP_WIDTH", "H_PROP_WIDTH_CTRL", m_right - m_left);
    }

    PropertyItem& position = grid.EnsureGroup(PropertyId::PositionGroup, "PROP_GRP_POSITION");
    grid.Merge(position, PropertyId::Top, "T_PROP_TOP", "H_PROP_TOP_CTRL", m_top);
    grid.Merge(position, PropertyId::Left, "T_PROP_LEFT", "H_PROP_LEFT_CTRL", m_left);

    PropertyItem& layout = grid.EnsureGroup(PropertyId::LayoutGroup, "PROP_GRP_DYNALICLAYOUT");
    grid.Merge(layout, PropertyId::MovingX, "T_PROP_MOVINGX", "H_PROP_MOVINGX_CTRL", std::int32_t{m_moving.x});
    grid.Merge(layout, PropertyId::MovingY, "T_PROP_MOVINGY", "H_PROP_MOVINGY_CTRL", std::int32_t{m_moving.y});
    // An element of a fixed size does not grow with the window either.
    if (KeepsSize()) {
        grid.Merge(layout, PropertyId::SizingX, "T_PROP_SIZINGX", "H_PROP_SIZINGX_CTRL", std::int32_t{m_sizing.x});
        grid.Merge(layout, PropertyId::SizingY, "T_PROP_SIZINGY", "H_PROP_SIZINGY_CTRL", std::int32_t{m_sizing.y});
    }
}

void CDiagramEntity::SetAttribute(std::string_view key, std::string_view value)
{
    m_attributes.Set(key, value);
    NoteChange();
}

std::string CDiagramEntity::GetAttribute(const std::string& key) const
{
    const std::string* value = m_attributes.Find(key);
    return value ? *value : std::string();
}

std::string CDiagramEntity::GetStyleName() const
{
    return m_style ? m_style->GetName() : std::string();
}

void CDiagramEntity::SetImagePath(const std::string&) {}

std::string CDiagramEntity::GetImagePath() const
{
    return {};
}

void CDiagramEntity::SetObjectClass(const std::string&) {}

std::string CDiagramEntity::GetObjectClass() const
{
    return {};
}

void CDiagramEntity::SetValidationRule(const std::string&) {}

std::string CDiagramEntity::GetValidationRule() const
{
    return {};
}

void CDiagramEntity::SetValidationMessage(const std::string&) {}

std::string CDiagramEntity::GetValidationMessage() const
{
    return {};
}

IntPoint CDiagramEntity::GetSizing() const
{
    return m_sizing;
}

void CDiagramEntity::SetSizing(int x, int y)
{
    m_sizing = {x, y};
    NoteChange();
}

IntPoint CDiagramEntity::GetMoving() const
{
    return m_moving;
}

void CDiagramEntity::SetMoving(int x, int y)
{
    m_moving = {x, y};
    NoteChange();
}

void CDiagramEntity::SetMovingX(int x)
{
    m_moving.x = x;
    NoteChange();
}

void CDiagramEntity::SetMovingY(int y)
{
    m_moving.y = y;
    NoteChange();
}

void CDiagramEntity::SetSizingX(int x)
{
    m_sizing.x = x;
    NoteChange();
}

void CDiagramEntity::SetSizingY(int y)
{
    m_sizing.y = y;
    NoteChange();
}

void CDiagramEntity::SetLineColor(const std::string&) {}

std::string CDiagramEntity::GetLineColor() const
{
    return {};
}

void CDiagramEntity::SetLineWidth(double) {}

double CDiagramEntity::GetLineWidth() const
{
    return 0.0;
}

void CDiagramEntity::SetFillColor(const std::string&) {}

std::string CDiagramEntity::GetFillColor() const
{
    return {};
}

void CDiagramEntity::SetCornerRadius(double) {}

double CDiagramEntity::GetCornerRadius() const
{
    return 0.0;
}

void CDiagramEntity::SetQuadrant(int) {}

int CDiagramEntity::GetQuadrant() const
{
    return 0;
}

void CDiagramEntity::SetTabIndex(int index)
{
    m_tabIndex = index;
    NoteChange();
}

int CDiagramEntity::GetTabIndex() const
{
    return m_tabIndex;
}

void CDiagramEntity::AddToTabIndex(int delta)
{
    // Saturates: an index read from a file may sit at either end of the range.
    m_tabIndex = TruncEdge(static_cast<double>(m_tabIndex) + delta);
    NoteChange();
}

IntRect CDiagramEntity::GetMarkerRect(const IntRect& rect, int hitCode) const
{
    const int hx = m_markerSize.cx / 2;
    const int hy = m_markerSize.cy / 2;
    const int midX = rect.left + rect.Width() / 2;
    const int midY = rect.top + rect.Height() / 2;
    IntPoint centre;
    switch (hitCode) {
    case HitCode::TopLeft:
        centre = {rect.left, rect.top};
        break;
    case HitCode::Top:
        centre = {midX, rect.top};
        break;
    case HitCode::TopRight:
        centre = {rect.right, rect.top};
        break;
    case HitCode::BottomLeft:
        centre = {rect.left, rect.bottom};
        break;
    case HitCode::Bottom:
        centre = {midX, rect.bottom};
        break;
    case HitCode::BottomRight:
        centre = {rect.right, rect.bottom};
        break;
    case HitCode::Left:
        centre = {rect.left, midY};
        break;
    case HitCode::Right:
        centre = {rect.right, midY};
        break;
    default:
        return {};
    }
    return {centre.x - hx, centre.y - hy, centre.x + hx, centre.y + hy};
}

std::string CDiagramEntity::GetBaseString() const
{
    return format("%s:%f,%f,%f,%f,%s,%s,%i", m_type.c_str(), m_left, m_top, m_right, m_bottom,
                  EscapeText(m_title).c_str(), EscapeText(m_name).c_str(), m_group);
}

std::string CDiagramEntity::GetHeaderFromString(std::string& text) const
{
    SplitText parts(text, ":");
    if (parts.count() != 2)
        return {};
    text = trim(parts.at(1));
    return trim(parts.at(0));
}

bool CDiagramEntity::ParseBaseString(std::string& text)
{
    if (text.empty())
        return false;
    std::string body = text;
    if (body.back() == ';')
        body.pop_back();
    SplitText fields(body, ",");
    if (fields.count() < 7)
        return false;
    // An overflowing number reads as infinity, which the text form cannot
    // carry back ("inf" reads as 0): such an element cannot be placed.
    for (int i = 0; i < 4; ++i)
        if (!std::isfinite(fields.doubleAt(i)))
            return false;
    SetRect(fields.doubleAt(0), fields.doubleAt(1), fields.doubleAt(2), fields.doubleAt(3));
    SetTitle(UnescapeText(fields.at(4)));
    SetName(UnescapeText(fields.at(5)));
    SetGroup(fields.intAt(6));
    text = fields.joinFrom(7, ",");
    return true;
}

bool CDiagramEntity::TakesPartInTabOrder() const
{
    return false;
}

std::unique_ptr<CDiagramEntity> CDiagramEntity::ReleaseDependent()
{
    return nullptr;
}

bool CDiagramEntity::TitleFollowsName() const
{
    return false;
}

bool CDiagramEntity::KeepsSize() const
{
    return true;
}

std::string CDiagramEntity::GetWriteLoss(const std::string& /*formFolder*/) const
{
    return {};
}

FontDesc CDiagramEntity::GetZoomedFont(const DrawContext& dc) const
{
    FontDesc font = dc.GetDefaultGuiFont();
    font.height = TruncEdge(font.height * m_zoom + 0.5);
    return font;
}

IntRect CDiagramEntity::GetZoomedRect(double zoom) const
{
    return {ZoomEdge(m_left, zoom), ZoomEdge(m_top, zoom), ZoomEdge(m_right, zoom), ZoomEdge(m_bottom, zoom)};
}

namespace {

// The point a text format aligns a text on within `rect`; from it, a text of
// one size reaches equally far whatever the rectangle's size. In 64 bits, as
// zoomed edges may sit at the ends of the int range.
struct Anchor {
    std::int64_t x = 0;
    std::int64_t y = 0;
};
Anchor TextAnchor(const IntRect& rect, unsigned format)
{
    Anchor at{rect.left, rect.top};
    if (format & TextFormat::Center)
        at.x = (std::int64_t{rect.left} + rect.right) / 2;
    else if (format & TextFormat::Right)
        at.x = rect.right;
    if (format & TextFormat::VCenter)
        at.y = (std::int64_t{rect.top} + rect.bottom) / 2;
    else if (format & TextFormat::Bottom)
        at.y = rect.bottom;
    return at;
}

int Saturated(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

}  // namespace

void CDiagramEntity::NoteTextReach(DrawContext& dc, const std::string& text, const IntRect& rect, unsigned format,
                                   double zoom) const
{
    const Anchor at = TextAnchor(rect, format);
    const IntRect drawn = dc.GetTextReach(text, rect, format);
    const IntRect reach{Saturated(drawn.left - at.x), Saturated(drawn.top - at.y), Saturated(drawn.right - at.x),
                        Saturated(drawn.bottom - at.y)};
    const bool moved = m_textZoom != zoom || m_textFormat != format || !(reach == m_textReach);
    m_textZoom = zoom;
    m_textFormat = format;
    m_textReach = reach;
    if (m_measuredText != text)
        m_measuredText = text;
    if (moved && m_index)
        m_index->Update(*this, m_indexSlot);
}

IntRect CDiagramEntity::MeasuredTextReach(const IntRect& rect, double zoom) const
{
    if (m_textZoom != zoom || m_textReach.IsEmpty())
        return {};
    const Anchor at = TextAnchor(rect, m_textFormat);
    // Halving an odd width rounds one way or the other.
    const int slack = (m_textFormat & (TextFormat::Center | TextFormat::VCenter)) ? 1 : 0;
    return {Saturated(at.x + m_textReach.left - slack), Saturated(at.y + m_textReach.top - slack),
            Saturated(at.x + m_textReach.right + slack), Saturated(at.y + m_textReach.bottom + slack)};
}

}  // namespace fw
