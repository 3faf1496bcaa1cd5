#include "controls/DiagramTable.h"

#include "controls/AttributeItems.h"
#include "controls/ControlDrawing.h"
#include "model/PropertyGrid.h"
#include "model/PropertyIds.h"
#include "services/LanguageTable.h"
#include "services/Strings.h"
#include "services/Tokens.h"
#include "services/Xml.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace fw {

using namespace std::string_view_literals;

namespace {

struct Setting {
    const char* key;
    const char* helpKey;
    const char* initial;  // the value of a new table; none when a new table lacks it
};

// The settings a table understands, in the order they are stored on reading.
const Setting Settings[] = {
    {"allowDrop", "FD_ALLOW_DROP", "false"},
    {"dropFilter", "FD_DROP_FILTER", ""},
    {"enableDoubleClick", "FD_ENABLE_DOUBLECLICK", "false"},
    {"enableDelete", "FD_ENABLE_DELETE", "false"},
    {"query", "FD_QUERY", ""},
    {"tableId", "FD_TABLE_ID", ""},
    {"context", "FD_CONTEXT", ""},
    {"sort", "FD_SORT", nullptr},
};

// Any of these marks the newer form of the element, which carries all settings.
// "dropTarget" is an old name that only serves as such a mark.
const char* const NewFormMarks[] = {"allowDrop",         "query",     "tableId", "context", "sort",
                                    "enableDoubleClick", "dropTarget"};

const char* HelpKeyOf(const std::string& key)
{
    for (const Setting& setting : Settings)
        if (key == setting.key)
            return setting.helpKey;
    return nullptr;
}

// Asked of every setting at every write: literals of known length compare by length first.
bool IsTruthSetting(const std::string& key)
{
    return key == "allowDrop"sv || key == "enableDoubleClick"sv || key == "enableDelete"sv;
}

// The pane stores check items as "-1" / "0", older files may hold other texts;
// the file always gets "true" or "false".
bool IsFalseText(std::string_view value)
{
    return value == "false" || value == "0";
}

std::string AttributeOrEmpty(const XmlElement& element, const char* name)
{
    const auto value = element.getAttributeValue(name);
    return std::string(value.value_or(""));
}

}  // namespace

CDiagramTable::CDiagramTable()
{
    SetTitle("Table");
    SetType("Table");
    SetName("Table");
    SetMinimumSize({1, 1});
}

CDiagramTable::~CDiagramTable() = default;

std::unique_ptr<CDiagramEntity> CDiagramTable::Clone() const
{
    auto clone = std::make_unique<CDiagramTable>();
    clone->m_resizeX = m_resizeX;
    clone->m_resizeY = m_resizeY;
    clone->Copy(*this);
    return clone;
}

void CDiagramTable::DrawObject(DrawContext& dc, const IntRect& rect)
{
    const IntRect grid = Inset(rect, 1, 1);
    // In 64 bits: a grid line always lies between two edges, the span may not.
    const long long rowHeight = (static_cast<long long>(grid.bottom) - grid.top) / 4;
    const long long columnWidth = (static_cast<long long>(grid.right) - grid.left) / 4;
    for (int i = 0; i <= 4; ++i) {
        const int y = static_cast<int>(grid.top + i * rowHeight);
        dc.MoveTo({grid.left, y});
        dc.LineTo({grid.right, y});
    }
    for (int i = 0; i <= 4; ++i) {
        const int x = static_cast<int>(grid.left + i * columnWidth);
        dc.MoveTo({x, grid.top});
        dc.LineTo({x, grid.bottom});
    }
}

void CDiagramTable::InitTable()
{
    for (const Setting& setting : Settings)
        if (setting.initial)
            SetAttribute(setting.key, setting.initial);
}

void CDiagramTable::WriteXml()
{
    if (!m_xmlWriter)
        return;
    XmlWriter& w = *m_xmlWriter;
    w.writeStartElement("Table");
    w.writeAttributePair("pos", TruncEdge(m_left), TruncEdge(m_top));
    w.writeAttributePair("size", TruncEdge(m_right - m_left), TruncEdge(m_bottom - m_top));
    w.writeAttributePair("resize", m_resizeX, m_resizeY);
    for (const auto& [key, value] : GetAttributes()) {
        if (IsTruthSetting(key)) {
            w.writeAttributeString(key, IsFalseText(value) ? "false" : "true");
            continue;
        }
        if ((key == "sort"sv || key == "dropFilter"sv) && value.empty())
            continue;
        w.writeAttributeString(key, value);
    }
    WriteDynamicLayout();
    w.writeEndElement();
}

bool CDiagramTable::LoadXml()
{
    if (!m_xmlElement || !LoadGeometry())
        return false;
    const XmlElement& element = *m_xmlElement;

    const auto resize = element.getAttributeValue("resize");
    if (!resize) {
        NoteLoadProblem("\"resize\" is missing");
        return false;
    }
    int x = 0;
    int y = 0;
    if (!readIntPair(*resize, x, y)) {
        NoteLoadProblem(format("\"resize\" %s is not two comma-separated numbers", std::string(*resize).c_str()));
        return false;
    }
    m_resizeX = std::clamp(x, 0, 100);
    m_resizeY = std::clamp(y, 0, 100);

    bool newForm = std::any_of(std::begin(NewFormMarks), std::end(NewFormMarks),
                               [&](const char* mark) { return element.getAttributeValue(mark).has_value(); });
    for (const Setting& setting : Settings) {
        std::string key = setting.key;
        if (!newForm && key != "enableDelete")
            continue;
        std::string value = AttributeOrEmpty(element, setting.key);
        if (key == "enableDelete" && value.empty())
            value = "false";
        SetAttribute(key, value);
    }

    return LoadDynamicLayout();
}

void CDiagramTable::AddProperties(PropertyGrid& grid, bool flag)
{
    const auto& attributes = GetAttributes();
    if (!attributes.empty()) {
        PropertyItem& group = grid.EnsureGroup(PropertyId::AppearanceGroup, "PROP_GRP_APPEARANCE");
        // Older tables carry fewer settings, so rows are matched by key.
        AttributeRows rows(group, PropertyId::FirstTableAttribute, PropertyId::LastTableAttribute);
        const bool firstTable = !rows.AnyRow();
        int position = 0;
        for (const auto& [key, value] : attributes) {
            const int id = rows.IdFor(key, position++, firstTable);
            if (id == 0)
                continue;
            PropertyValue shown = value;
            PropertyEditor editor = PropertyEditor::Plain;
            // A check shows what WriteXml will write for the value.
            if (IsTruthSetting(key)) {
                shown = !IsFalseText(value);
                editor = PropertyEditor::CheckBox;
            }

            const char* helpKey = HelpKeyOf(key);
            auto merged = MergeAttributeItem(grid, group, id, key, helpKey ? langStr(helpKey) : std::string(), shown);
            if (merged.created)
                merged.item->SetEditor(editor);
        }
    }
    CDiagramEntity::AddProperties(grid, flag);
}

}  // namespace fw
