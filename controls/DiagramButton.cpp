#include "controls/DiagramButton.h"

#include "controls/AttributeItems.h"
#include "controls/ButtonBitmaps.h"
#include "controls/ControlDrawing.h"
#include "model/PropertyGrid.h"
#include "model/PropertyIds.h"
#include "services/LanguageTable.h"
#include "services/Strings.h"
#include "services/Xml.h"

#include <algorithm>
#include <array>
#include <climits>
#include <string_view>

namespace fw {

using namespace std::string_view_literals;

namespace {

constexpr IntSize TextButtonMinimumSize{1, 1};
constexpr IntSize NoLimit{-1, -1};

enum class AttributeEditing { Text, Truth, Language };

// What the known attributes mean: how they are edited and converted, and the
// language key that describes them.
struct ButtonAttribute {
    std::string_view key;  // compared by length first: every write looks each attribute up
    const char* titleKey;
    AttributeEditing editing;
};

const std::array<ButtonAttribute, 12> Attributes = {{
    {"tableId", "FD_TABLE_ID", AttributeEditing::Text},
    {"tableQuery", "FD_TABLE_QUERY", AttributeEditing::Text},
    {"tableSort", "FD_TABLE_SORT", AttributeEditing::Text},
    {"tableContext", "FD_TABLE_CONTEXT", AttributeEditing::Text},
    {"pushed", "FD_PUSHED", AttributeEditing::Truth},
    {"tooltip", "FD_TOOLTIP", AttributeEditing::Text},
    {"helpText", "HELP_QTK-PROP", AttributeEditing::Text},
    {"isAddIn", "FD_ADDIN_OR_MACRO", AttributeEditing::Truth},
    {"functionName", "FD_FUNCTIONNAME", AttributeEditing::Text},
    {"template", "TEMPLATE_PATH", AttributeEditing::Text},
    {"language", "t707", AttributeEditing::Language},
    {"background", "lt3827", AttributeEditing::Truth},
}};

const ButtonAttribute* FindAttribute(const std::string& key)
{
    for (const ButtonAttribute& attribute : Attributes)
        if (key == attribute.key)
            return &attribute;
    return nullptr;
}

// A report's language: its code in the file and the key of its display text.
struct ReportLanguage {
    const char* fileCode;
    const char* textKey;
};

const std::array<ReportLanguage, 3> ReportLanguages = {{
    {"1", "LANGUAGE_Project"},
    {"0", "LANGUAGE2_Project"},
    {"2", "MORQ_REPLANG_RB3"},
}};

std::vector<std::string> LanguageDisplayTexts()
{
    std::vector<std::string> texts;
    for (const ReportLanguage& language : ReportLanguages)
        texts.push_back(langStr(language.textKey));
    return texts;
}

// Offset of an image button's bitmap from the button's corner.
constexpr IntPoint BitmapOffset{4, 5};

// Zoomed edges may sit at the ends of the int range, so offsets saturate.
int Shift(int value, int by)
{
    return static_cast<int>(std::clamp<long long>(static_cast<long long>(value) + by, INT_MIN, INT_MAX));
}

// `topLeft` along the top and left edges, `bottomRight` along the other two.
void DrawRaisedEdge(DrawContext& dc, const IntRect& rect, Color topLeft, Color bottomRight)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    dc.FillSolidRect({rect.left, rect.top, rect.right - 1, rect.top + 1}, topLeft);
    dc.FillSolidRect({rect.left, rect.top, rect.left + 1, rect.bottom - 1}, topLeft);
    dc.FillSolidRect({rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
    dc.FillSolidRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
}

}  // namespace

const std::vector<ButtonKind>& CDiagramButton::Kinds()
{
    static const std::vector<ButtonKind> kinds = {
        {"CatAttach", true, "ATTACHCATALOG", "ATTACHCATALOG", "ATTACH_CATALOG", {}, {}},
        {"CatDetach", true, "DETACHCATALOG", "DETACHCATALOG", "DETACH_CATALOG", {}, {}},
        {"ArticleFromList", true, "ARTICLEFROMLIST", "ARTICLEFROMLIST", "ARTICLE_FROM_LIST", {}, {}},
        {"DocOpen", true, "OPENDOCUMENT", "OPENDOCUMENT", "OPEN_DOCUMENT", {}, {}},
        {"DocView", true, "VIEWDOCUMENT", "VIEWDOCUMENT", "VIEW_DOCUMENT", {}, {}},
        {"GraphicHighlight", true, "ZOOM_ALL_ELEMENT", "ZOOM_ALL_ELEMENT", "HIGHLIGHT_GRAPHIC", {}, {}},
        {"LinkObjectsFromDrawing", true, "LINK_OBJECT", "LINK_OBJECT", "RIBTT_ASSIGNOBJECTS", {}, {}},
        {"ContextMenu", true, "OPEN_CONTEXTMENU", "OPEN_CONTEXTMENU", "CONTEXT_MENU", {}, {}},
        {"GetCatProps", true, "ATTACHCATALOG", "ATTACHCATALOG", nullptr, {"type", "catPropForward"}, {}},
        {"PrintToPdf", true, "SMALL_PRINT", "BUTTON_PRINT", "BUTTON_PRINT", {}, {}},
        {"InsertObject",
         true,
         "INSERT_SINGLE_OBJECT",
         "OBJECT_INSERT",
         "OBJECT_INSERT",
         {"type", "quickInsertId", "tooltip", "helpText"},
         {{"type", "", false}, {"quickInsertId", "", false}, {"tooltip", "", false}, {"helpText", "", false}}},
        {"ObjRelation", true, "OBJRELATION", "OBJECT_RELATION", "OBJECT_RELATION", {}, {}},
        {"ChangeTblQuery",
         false,
         "",
         "",
         "FD_CHANGE_TBL_QUERY",
         {"tableId", "tableQuery", "tableSort", "tableContext", "pushed", "tooltip", "helpText"},
         {{"tableId", "", false},
          {"tableQuery", "", false},
          {"tableSort", "", false},
          {"tableContext", "", false},
          {"pushed", "false", false},
          {"tooltip", "", false},
          {"helpText", "", false}}},
        {"AddIn",
         false,
         "",
         "",
         "T_RIB_ADDIN",
         {"functionName", "isAddIn", "tooltip", "helpText"},
         {{"tooltip", "", false}, {"helpText", "", false}, {"functionName", "", false}, {"isAddIn", "true", false}}},
        {"Report",
         false,
         "",
         "",
         "lt3712",
         {"template", "language", "background", "tooltip", "helpText"},
         {{"tooltip", "", false},
          {"helpText", "", false},
          {"template", "", false},
          {"language", "LANGUAGE_Project", true},
          {"background", "true", false}}},
    };
    return kinds;
}

const ButtonKind* CDiagramButton::FindKind(const std::string& kind)
{
    for (const ButtonKind& entry : Kinds())
        if (kind == entry.kind)
            return &entry;
    return nullptr;
}

CDiagramButton::CDiagramButton()
{
    SetTitle("Button");
    SetType(TextButtonType);
    SetName("button");
    SetMinimumSize({1, 1});
}

CDiagramButton::~CDiagramButton() = default;

std::unique_ptr<CDiagramEntity> CDiagramButton::Clone() const
{
    auto clone = std::make_unique<CDiagramButton>();
    clone->m_imageKey = m_imageKey;
    clone->Copy(*this);
    return clone;
}

std::string CDiagramButton::GetExportFragment(int) const
{
    IntRect rect = GetRect();
    return format("<Command pos=\"%lld,%lld\" id=\"%s\"/>", static_cast<long long>(rect.left) - 2,
                  static_cast<long long>(rect.top) - 2, m_name.c_str());
}

void CDiagramButton::DrawObject(DrawContext& dc, const IntRect& rect)
{
    if (m_type == TextButtonType)
        DrawTextButton(dc, rect);
    else if (m_type == ImageButtonType)
        DrawImageButton(dc, rect);
}

namespace {

constexpr unsigned CaptionFormat = TextFormat::Center | TextFormat::VCenter | TextFormat::SingleLine;

}  // namespace

bool CDiagramButton::NeedsTextMeasure(double zoom) const
{
    return m_type == TextButtonType && !TextMeasuredFor(m_title, zoom);
}

void CDiagramButton::MeasureText(DrawContext& dc, double zoom)
{
    const FontDesc previous = dc.SelectFont(ZoomedGuiFont(dc, zoom));
    NoteTextReach(dc, m_title, GetZoomedRect(zoom), CaptionFormat, zoom);
    dc.SelectFont(previous);
}

void CDiagramButton::DrawTextButton(DrawContext& dc, const IntRect& rect) const
{
    dc.SelectPen(Pen::Solid(dc.GetSysColor(SysColor::DkShadow3D)));
    dc.SelectBrush(Brush::Solid(dc.GetSysColor(SysColor::BtnFace)));
    dc.Rectangle(rect);
    // The raised edge stops a pixel short of the dark outline on the right and
    // bottom, as a push button's does.
    DrawRaisedEdge(dc, Inset(rect, 1, 2), dc.GetSysColor(SysColor::BtnHighlight), dc.GetSysColor(SysColor::BtnShadow));
    dc.SelectPen(Pen::StockBlack());
    dc.SelectBrush(Brush::StockWhite());

    dc.SelectFont(ZoomedGuiFont(dc, m_zoom));
    dc.SetBkMode(BkMode::Transparent);
    dc.DrawText(m_title, rect, CaptionFormat);
    if (!TextMeasuredFor(m_title, m_zoom))
        NoteTextReach(dc, m_title, rect, CaptionFormat, m_zoom);
    dc.SelectFont(dc.GetVariableFont());
}

void CDiagramButton::DrawImageButton(DrawContext& dc, const IntRect& rect) const
{
    const IntRect in12 = Inset(rect, 1, 2);
    const IntRect in23 = Inset(rect, 2, 3);
    const Pen darkPen = Pen::Solid(dc.GetSysColor(SysColor::DkShadow3D));
    const Pen oldPen = dc.SelectPen(darkPen);
    dc.Polyline({{in12.right, in12.top}, {in12.right, in12.bottom}, {rect.left, in12.bottom}});
    dc.SelectPen(Pen::Solid(dc.GetSysColor(SysColor::BtnHighlight)));
    dc.Polyline({{in23.right, in12.top}, {in12.left, in12.top}, {in12.left, in12.bottom}});
    dc.SelectPen(Pen::Solid(dc.GetSysColor(SysColor::BtnShadow)));
    dc.Polyline({{in23.right, in23.top}, {in23.right, in23.bottom}, {in12.left, in23.bottom}});
    dc.SelectPen(darkPen);
    const Brush oldBrush = dc.SelectBrush(Brush::Hollow());
    dc.Rectangle(rect);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);

    // Loaded once per key for the process; a missing bitmap leaves an empty frame.
    const ButtonBitmap& bitmap = ResourceLibraries::instance().Bitmap("", m_imageKey);
    if (bitmap.size.cx <= 0 || bitmap.size.cy <= 0)
        return;
    dc.DrawTransparentImageData(bitmap.data, BitmapRect(rect, bitmap.size, m_zoom), dc.GetSysColor(SysColor::Window));
}

IntRect CDiagramButton::BitmapRect(const IntRect& button, IntSize bitmap, double zoom)
{
    const int x = Shift(button.left, ZoomEdge(BitmapOffset.x, zoom));
    const int y = Shift(button.top, ZoomEdge(BitmapOffset.y, zoom));
    return {x, y, Shift(x, ZoomEdge(bitmap.cx, zoom)), Shift(y, ZoomEdge(bitmap.cy, zoom))};
}

void CDiagramButton::WriteXml()
{
    if (!m_xmlWriter)
        return;
    XmlWriter& w = *m_xmlWriter;
    w.writeStartElement("Command");
    IntRect rect = GetRect();
    w.writeAttributePair("pos", rect.left, rect.top);
    w.writeAttributeString("id", m_name);
    const ButtonKind* kind = FindKind(m_name);
    // Image buttons have a fixed size, so the file does not carry one.
    if (kind && !kind->imageButton) {
        w.writeAttributeString("text", m_title);
        w.writeAttributePair("size", TruncEdge(m_right - m_left), TruncEdge(m_bottom - m_top));
    }
    const bool insertObject = m_name == "InsertObject"sv;
    for (const auto& [key, value] : GetAttributes()) {
        if (value.empty() && (key == "tableSort"sv || (insertObject && (key == "tooltip"sv || key == "helpText"sv))))
            continue;
        const ButtonAttribute* attribute = FindAttribute(key);
        const AttributeEditing editing = attribute ? attribute->editing : AttributeEditing::Text;
        if (editing == AttributeEditing::Truth)
            w.writeAttributeString(key, IsTrueText(value) ? "true" : "false");
        else if (editing == AttributeEditing::Language)
            w.writeAttributeString(key, LanguageFileCode(value));
        else
            w.writeAttributeString(key, value);
    }
    WriteDynamicLayout();
    w.writeEndElement();
}

bool CDiagramButton::LoadXml()
{
    if (!m_xmlElement || !LoadPos())
        return false;
    SetRight(m_left + ImageButtonSize.cx);
    SetBottom(m_top + ImageButtonSize.cy);
    SetConstraints(ImageButtonSize, ImageButtonSize);

    const auto id = m_xmlElement->getAttributeValue("id");
    const std::string kindName = trim(id.value_or(""));
    if (kindName.empty()) {
        NoteLoadProblem("\"id\" is missing or empty");
        return false;
    }
    SetName(kindName);
    const ButtonKind* kind = FindKind(kindName);
    if (!kind) {
        NoteLoadProblem(format("\"id\" %s names no kind of button", kindName.c_str()));
        return false;
    }

    if (kind->imageButton) {
        SetTitle(kind->fileTitle);
        SetImageKey(kind->imageKey);
        SetType(ImageButtonType);
    } else {
        SetType(TextButtonType);
        // No "text" is an empty caption, not the constructor's placeholder.
        const auto text = m_xmlElement->getAttributeValue("text");
        SetTitle(std::string(text.value_or("")));
        // Without a readable size the button keeps the preset one.
        LoadSize();
        SetConstraints(TextButtonMinimumSize, NoLimit);
    }
    for (const char* key : kind->fileAttributes) {
        const auto value = m_xmlElement->getAttributeValue(key);
        SetAttribute(key, value.value_or(std::string_view()));
    }
    return LoadDynamicLayout();
}

void CDiagramButton::AddProperties(PropertyGrid& grid, bool flag)
{
    PropertyItem& group = grid.EnsureGroup(PropertyId::AppearanceGroup, "PROP_GRP_APPEARANCE");
    // A button selected after another one merges into the rows that one made.
    const bool firstButton = grid.FindItem(PropertyId::ButtonKind) == nullptr;
    const bool imageButton = m_type == ImageButtonType;
    if (imageButton) {
        auto title =
            grid.Merge(group, PropertyId::Title, "T_PROP_TITLE", "H_PROP_TITLE", m_title, MixedMark::EmptyText);
        if (title.created)
            title.item->SetReadOnly(true);
    }
    auto kind = grid.Merge(group, PropertyId::ButtonKind, "T_BUTTON_ID", "H_BUTTON_ID", m_name, MixedMark::EmptyText);
    if (kind.created)
        kind.item->SetReadOnly(true);
    if (!imageButton)
        grid.Merge(group, PropertyId::Title, "T_PROP_TITLE", "H_PROP_TITLE", m_title, MixedMark::EmptyText);
    AddAttributeRows(grid, group, firstButton);
    CDiagramEntity::AddProperties(grid, flag);
}

bool CDiagramButton::KeepsSize() const
{
    return m_type != ImageButtonType;
}

bool CDiagramButton::TitleFollowsName() const
{
    return m_type == ImageButtonType;
}

void CDiagramButton::AddAttributeRows(PropertyGrid& grid, PropertyItem& group, bool firstButton) const
{
    const auto& attributes = GetAttributes();
    AttributeRows rows(group, PropertyId::FirstButtonAttribute, PropertyId::LastButtonAttribute);
    int position = 0;
    for (const auto& [key, value] : attributes) {
        const PropertyItem* existing = rows.Find(key);
        const int itemId = rows.IdFor(key, position++, firstButton);
        if (itemId == 0)
            continue;
        const ButtonAttribute* attribute = FindAttribute(key);
        const AttributeEditing editing = attribute ? attribute->editing : AttributeEditing::Text;
        // Image buttons describe an attribute by its own key, text buttons by its meaning.
        const std::string help =
            m_type == ImageButtonType ? langStr(key) : langStr(attribute ? attribute->titleKey : "");
        if (editing == AttributeEditing::Truth) {
            auto item = MergeAttributeItem(grid, group, itemId, key, help, IsTrueText(value));
            if (item.created)
                item.item->SetEditor(PropertyEditor::CheckBox);
        } else if (editing == AttributeEditing::Language) {
            // The first report's language stays over a selection.
            auto item = MergeAttributeItem(grid, group, itemId, key, help,
                                           existing ? existing->GetValue() : PropertyValue(LanguageDisplayText(value)));
            if (item.created)
                item.item->SetOptions(LanguageDisplayTexts(), true);
        } else {
            MergeAttributeItem(grid, group, itemId, key, help, value);
        }
    }
}

void CDiagramButton::SetImagePath(const std::string& imageKey)
{
    m_imageKey = imageKey;
    NoteChange();
}

std::string CDiagramButton::GetImagePath() const
{
    return m_imageKey;
}

void CDiagramButton::InitButton(const std::string& kind, const std::string& title, const std::string& imageKey,
                                const std::string& type, IntSize maximumSize, IntSize minimumSize)
{
    SetName(kind);
    SetTitle(title);
    SetImageKey(imageKey);
    SetType(type);
    SetMaximumSize(maximumSize);
    SetMinimumSize(minimumSize);
    if (const ButtonKind* entry = FindKind(kind))
        for (const ButtonStartAttribute& attribute : entry->startAttributes)
            SetAttribute(attribute.key, attribute.localized ? langStr(attribute.value) : attribute.value);
}

bool CDiagramButton::InitButton(const std::string& kind)
{
    const ButtonKind* entry = FindKind(kind);
    if (!entry || !entry->insertTitleKey)
        return false;
    const std::string title = langStr(entry->insertTitleKey);
    if (entry->imageButton)
        InitButton(kind, title, entry->imageKey, ImageButtonType, ImageButtonSize, ImageButtonSize);
    else
        InitButton(kind, title, "", TextButtonType, NoLimit, TextButtonMinimumSize);
    return true;
}

bool CDiagramButton::IsTrueText(const std::string& value)
{
    return value != "false"sv && value != "0"sv;
}

std::string CDiagramButton::LanguageDisplayText(const std::string& value)
{
    for (const ReportLanguage& language : ReportLanguages) {
        std::string text = langStr(language.textKey);
        if (value == language.fileCode || value == text)
            return text;
    }
    return langStr(ReportLanguages.front().textKey);
}

std::string CDiagramButton::LanguageFileCode(const std::string& value)
{
    for (const ReportLanguage& language : ReportLanguages)
        if (value == langStr(language.textKey))
            return language.fileCode;
    return value;
}

}  // namespace fw
