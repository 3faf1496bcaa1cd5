#include "controls/DiagramTable.h"

#include "model/DiagramEntityContainer.h"
#include "model/ElementFactory.h"
#include "model/PropertyGrid.h"
#include "services/LanguageTable.h"
#include "services/Xml.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace fw;

namespace {

using Names = std::vector<std::string>;
using Attributes = std::map<std::string, std::string>;

class TableFile : public ::testing::Test {
protected:
    TableFile()
    {
        m_factory.Register("Table", [] { return std::make_unique<CDiagramTable>(); });
        m_form.SetElementFactory(&m_factory);
    }

    // Loads the controls into the form (emptied first); answers the number loaded.
    int Load(const std::string& controls) { return LoadControls("<Controls>" + controls + "</Controls>"); }

    // Likewise for a whole "Controls" element, such as Write() answers.
    int LoadControls(const std::string& controls)
    {
        m_form.RemoveAll();
        EXPECT_TRUE(m_doc.parse("<Dialog title=\"t\" size=\"700,600\">" + controls + "</Dialog>")) << m_doc.errorText();
        m_form.SetXmlElement(m_doc.root());
        EXPECT_TRUE(m_form.LoadDialog());
        return m_form.GetCount();
    }

    CDiagramTable& Table(int index)
    {
        auto* table = dynamic_cast<CDiagramTable*>(m_form.GetAt(index));
        EXPECT_NE(table, nullptr);
        return *table;
    }

    std::string Write()
    {
        XmlWriter writer;
        m_form.SetXmlWriter(&writer);
        m_form.WriteControls();
        m_form.SetXmlWriter(nullptr);
        return writer.text();
    }

    // The written element at index, parsed again.
    const XmlElement& Written(int index)
    {
        m_written = Write();
        EXPECT_TRUE(m_writtenDoc.parse(m_written)) << m_written;
        const XmlElement* controls = m_writtenDoc.getChild("Controls");
        const XmlElement* element = controls ? controls->getChildAt(index) : nullptr;
        if (!element) {
            ADD_FAILURE() << "no element " << index << " in " << m_written;
            static const XmlElement none("none");
            return none;
        }
        return *element;
    }

    static Names NamesOf(const XmlElement& element)
    {
        Names names;
        for (int i = 0; i < element.getAttributeCount(); ++i)
            names.push_back(element.getAttributeAt(i)->getName());
        return names;
    }

    static std::string Value(const XmlElement& element, const char* name)
    {
        const std::string* value = element.getAttributeValue(name);
        return value ? *value : "<absent>";
    }

    ElementFactory m_factory;
    CDiagramEntityContainer m_form;
    XmlDocument m_doc;
    XmlDocument m_writtenDoc;
    std::string m_written;
};

const char* const FullTable =
    R"(<Table pos="10,20" size="300,150" resize="60,40" allowDrop="true" dropFilter="ARTICLE"
              enableDoubleClick="true" enableDelete="false" query="Q1" tableId="T1" context="C1"
              sort="NAME" sizing="10,20" moving="0,50"/>)";

}  // namespace

TEST_F(TableFile, NewTableHasTheDefaultSettings)
{
    CDiagramTable table;
    EXPECT_EQ(table.GetTitle(), "Table");
    EXPECT_EQ(table.GetType(), "Table");
    EXPECT_EQ(table.GetName(), "Table");
    EXPECT_TRUE(table.GetAttributes().empty());

    table.InitTable();
    EXPECT_EQ(table.GetAttributes(), (Attributes{{"allowDrop", "false"},
                                                 {"context", ""},
                                                 {"dropFilter", ""},
                                                 {"enableDelete", "false"},
                                                 {"enableDoubleClick", "false"},
                                                 {"query", ""},
                                                 {"tableId", ""}}));
}

TEST_F(TableFile, NewTableIsWrittenWithEmptyTextsButWithoutEmptyDropFilter)
{
    auto table = std::make_unique<CDiagramTable>();
    table->InitTable();
    table->SetRect(5, 6, 105, 56);
    m_form.Add(std::move(table));

    const XmlElement& written = Written(0);
    EXPECT_EQ(written.getElementName(), "Table");
    EXPECT_EQ(NamesOf(written), (Names{"pos", "size", "resize", "allowDrop", "context", "enableDelete",
                                       "enableDoubleClick", "query", "tableId"}));
    EXPECT_EQ(Value(written, "pos"), "5,6");
    EXPECT_EQ(Value(written, "size"), "100,50");
    EXPECT_EQ(Value(written, "resize"), "100,100");
    EXPECT_EQ(Value(written, "query"), "");
    EXPECT_EQ(Value(written, "allowDrop"), "false");
}

TEST_F(TableFile, ReadsEverySettingAndWritesThemInKeyOrder)
{
    ASSERT_EQ(Load(FullTable), 1);
    CDiagramTable& table = Table(0);
    EXPECT_EQ(table.GetRect(), (IntRect{10, 20, 310, 170}));
    EXPECT_EQ(table.GetResizeX(), 60);
    EXPECT_EQ(table.GetResizeY(), 40);
    EXPECT_EQ(table.GetSizing(), (IntPoint{10, 20}));
    EXPECT_EQ(table.GetMoving(), (IntPoint{0, 50}));
    EXPECT_EQ(table.GetAttributes().size(), 8u);
    EXPECT_EQ(table.GetAttribute("sort"), "NAME");
    EXPECT_EQ(table.GetAttribute("dropFilter"), "ARTICLE");

    const XmlElement& written = Written(0);
    EXPECT_EQ(NamesOf(written), (Names{"pos", "size", "resize", "allowDrop", "context", "dropFilter", "enableDelete",
                                       "enableDoubleClick", "query", "sort", "tableId", "sizing", "moving"}));
    EXPECT_EQ(Value(written, "resize"), "60,40");
    EXPECT_EQ(Value(written, "tableId"), "T1");
    EXPECT_EQ(Value(written, "moving"), "0,50");
}

TEST_F(TableFile, WritingWhatWasReadGivesTheSameBytes)
{
    ASSERT_EQ(Load(std::string(FullTable) +
                   R"(<Table pos="1,1" size="20,0" resize="0,100" enableDelete=""/>
                      <Table pos="2,2" size="30,30" resize="100,0" dropTarget="x" query="a&amp;b"/>)"),
              3);
    std::string first = Write();
    ASSERT_EQ(LoadControls(first), 3);
    EXPECT_EQ(Write(), first);
}

TEST_F(TableFile, ResizeSharesAreClampedToPercentages)
{
    ASSERT_EQ(Load(R"(<Table pos="10,10" size="50,50" resize="150,-5"/>)"), 1);
    EXPECT_EQ(Table(0).GetResizeX(), 100);
    EXPECT_EQ(Table(0).GetResizeY(), 0);
    EXPECT_EQ(Value(Written(0), "resize"), "100,0");
}

TEST_F(TableFile, TablesWithoutValidResizeOrGeometryAreDropped)
{
    EXPECT_EQ(Load(R"(<Table pos="10,10" size="50,50"/>)"), 0);
    EXPECT_EQ(Load(R"(<Table pos="10,10" size="50,50" resize="80"/>)"), 0);
    EXPECT_EQ(Load(R"(<Table pos="10,10" size="50,50" resize="80,80,80"/>)"), 0);
    EXPECT_EQ(Load(R"(<Table pos="0,10" size="50,50" resize="80,80"/>)"), 0);
    EXPECT_EQ(Load(R"(<Table pos="10,10" size="0,0" resize="80,80"/>)"), 0);
    // The broken one does not take the good one along.
    ASSERT_EQ(Load(R"(<Table pos="10,10" size="50,50" resize="1"/>
                      <Table pos="20,20" size="50,50" resize="1,2"/>)"),
              1);
    EXPECT_EQ(Table(0).GetLeft(), 20);
}

TEST_F(TableFile, OlderFormKeepsOnlyEnableDelete)
{
    ASSERT_EQ(Load(R"(<Table pos="10,10" size="50,50" resize="100,100" enableDelete="true" dropFilter="X"/>
                      <Table pos="10,70" size="50,50" resize="100,100" enableDelete=""/>
                      <Table pos="10,130" size="50,50" resize="100,100"/>)"),
              3);
    // "dropFilter" alone does not mark the newer form.
    EXPECT_EQ(Table(0).GetAttributes(), (Attributes{{"enableDelete", "true"}}));
    EXPECT_EQ(Table(1).GetAttributes(), (Attributes{{"enableDelete", "false"}}));
    EXPECT_EQ(Table(2).GetAttributes(), (Attributes{{"enableDelete", "false"}}));

    const XmlElement& written = Written(0);
    EXPECT_EQ(NamesOf(written), (Names{"pos", "size", "resize", "enableDelete"}));
    EXPECT_EQ(Value(written, "enableDelete"), "true");
}

TEST_F(TableFile, AnyMarkOfTheNewerFormBringsAllEightSettings)
{
    for (const char* mark : {"allowDrop", "query", "tableId", "context", "sort", "enableDoubleClick", "dropTarget"}) {
        SCOPED_TRACE(mark);
        ASSERT_EQ(Load(std::string(R"(<Table pos="10,10" size="50,50" resize="100,100" )") + mark + R"(=""/>)"), 1);
        const Attributes& attributes = Table(0).GetAttributes();
        EXPECT_EQ(attributes.size(), 8u);
        EXPECT_EQ(attributes.count("dropTarget"), 0u);
        EXPECT_EQ(Table(0).GetAttribute("enableDelete"), "false");
        EXPECT_EQ(Table(0).GetAttribute("query"), "");
    }
}

TEST_F(TableFile, TableWithOnlyDropTargetWritesEmptySettingsByTheirRules)
{
    ASSERT_EQ(Load(R"(<Table pos="10,10" size="50,50" resize="100,100" dropTarget="yes"/>)"), 1);
    const XmlElement& written = Written(0);
    // Empty sort and drop filter are left out; other texts stay even when empty;
    // truth values are "false" only for "false" or "0".
    EXPECT_EQ(NamesOf(written), (Names{"pos", "size", "resize", "allowDrop", "context", "enableDelete",
                                       "enableDoubleClick", "query", "tableId"}));
    EXPECT_EQ(Value(written, "allowDrop"), "true");
    EXPECT_EQ(Value(written, "enableDelete"), "false");
    EXPECT_EQ(Value(written, "enableDoubleClick"), "true");
    EXPECT_EQ(Value(written, "context"), "");
}

TEST_F(TableFile, TruthValuesAreWrittenAsTrueOrFalse)
{
    ASSERT_EQ(Load(R"(<Table pos="10,10" size="50,50" resize="100,100"
                             allowDrop="yes" enableDelete="-1" enableDoubleClick="0"/>)"),
              1);
    {
        const XmlElement& written = Written(0);
        EXPECT_EQ(Value(written, "allowDrop"), "true");
        EXPECT_EQ(Value(written, "enableDelete"), "true");
        EXPECT_EQ(Value(written, "enableDoubleClick"), "false");
    }
    // What the properties pane stores for its check items.
    Table(0).SetAttribute("allowDrop", "0");
    Table(0).SetAttribute("enableDoubleClick", "-1");
    Table(0).SetAttribute("enableDelete", "false");
    const XmlElement& written = Written(0);
    EXPECT_EQ(Value(written, "allowDrop"), "false");
    EXPECT_EQ(Value(written, "enableDoubleClick"), "true");
    EXPECT_EQ(Value(written, "enableDelete"), "false");
}

TEST_F(TableFile, CloneKeepsResizeSharesAndSettings)
{
    ASSERT_EQ(Load(FullTable), 1);
    CDiagramEntity* copy = m_form.Duplicate(m_form.GetAt(0));
    ASSERT_NE(copy, nullptr);
    auto* table = dynamic_cast<CDiagramTable*>(copy);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetResizeX(), 60);
    EXPECT_EQ(table->GetResizeY(), 40);
    EXPECT_EQ(table->GetAttributes(), Table(0).GetAttributes());
    EXPECT_EQ(table->GetRect(), (IntRect{20, 30, 320, 180}));
}

// --- Property items ---------------------------------------------------------

class TableProperties : public TableFile {
protected:
    PropertyItem& Item(int id)
    {
        PropertyItem* item = m_grid.FindItem(id);
        if (!item) {
            ADD_FAILURE() << "no item " << id;
            static PropertyItem none(0, "none");
            return none;
        }
        return *item;
    }

    PropertyGrid m_grid;
};

TEST_F(TableProperties, OneItemPerSettingInKeyOrder)
{
    ASSERT_EQ(Load(R"(<Table pos="10,10" size="50,50" resize="100,100" allowDrop="yes" enableDelete="-1"
                             enableDoubleClick="yes" query="Q" sort="S"/>)"),
              1);
    Table(0).AddProperties(m_grid, false);

    PropertyItem* group = m_grid.FindItem(3903);
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->GetSubItemCount(), 8);
    Names titles;
    for (int i = 0; i < group->GetSubItemCount(); ++i) {
        EXPECT_EQ(group->GetSubItem(i)->GetId(), CDiagramTable::FirstAttributeItem + i);
        EXPECT_FALSE(group->GetSubItem(i)->IsReadOnly());
        titles.push_back(group->GetSubItem(i)->GetTitle());
    }
    EXPECT_EQ(titles, (Names{"allowDrop", "context", "dropFilter", "enableDelete", "enableDoubleClick", "query", "sort",
                             "tableId"}));

    // allowDrop is set unless it says no; the other two only when they say yes.
    EXPECT_EQ(Item(4131).GetValue(), PropertyValue(true));
    EXPECT_EQ(Item(4131).GetEditor(), PropertyEditor::CheckBox);
    EXPECT_EQ(Item(4134).GetValue(), PropertyValue(true));
    EXPECT_EQ(Item(4135).GetValue(), PropertyValue(false));
    EXPECT_EQ(Item(4135).GetEditor(), PropertyEditor::CheckBox);
    EXPECT_EQ(Item(4136).GetValue(), PropertyValue(std::string("Q")));
    EXPECT_EQ(Item(4136).GetEditor(), PropertyEditor::Plain);

    EXPECT_EQ(Item(4131).GetDescription(), langStr("FD_ALLOW_DROP"));
    EXPECT_EQ(Item(4132).GetDescription(), langStr("FD_CONTEXT"));
    EXPECT_EQ(Item(4137).GetDescription(), langStr("FD_SORT"));
    EXPECT_EQ(Item(4138).GetDescription(), langStr("FD_TABLE_ID"));
    EXPECT_NE(langStr("FD_TABLE_ID"), "FD_TABLE_ID");

    // The common items follow.
    EXPECT_NE(m_grid.FindItem(4005), nullptr);
}

TEST_F(TableProperties, UnknownAttributeGetsAnItemWithoutHelp)
{
    CDiagramTable table;
    table.InitTable();
    table.SetAttribute("extra", "v");
    table.AddProperties(m_grid, false);
    // "extra" sorts between "enableDoubleClick" and "query".
    EXPECT_EQ(Item(4136).GetTitle(), "extra");
    EXPECT_EQ(Item(4136).GetDescription(), "");
    EXPECT_EQ(Item(4137).GetTitle(), "query");
}

TEST_F(TableProperties, TableWithoutSettingsOffersOnlyTheCommonItems)
{
    CDiagramTable table;
    table.AddProperties(m_grid, false);
    EXPECT_EQ(m_grid.FindItem(3903), nullptr);
    EXPECT_EQ(m_grid.FindItem(4131), nullptr);
    EXPECT_NE(m_grid.FindItem(4004), nullptr);
}

TEST_F(TableProperties, DifferingValuesOfASelectionAreMarked)
{
    ASSERT_EQ(Load(R"(<Table pos="10,10" size="50,50" resize="100,100" allowDrop="true" enableDelete="true"
                             enableDoubleClick="false" query="Q1" context="C" tableId="T1"/>
                      <Table pos="10,70" size="50,50" resize="100,100" allowDrop="false" enableDelete="-1"
                             enableDoubleClick="false" query="Q2" context="C" tableId="t1"/>)"),
              2);
    Table(0).AddProperties(m_grid, false);
    Table(1).AddProperties(m_grid, false);

    EXPECT_EQ(Item(4131).GetValue(), PropertyValue(false));
    EXPECT_EQ(Item(4131).GetDescription(), langStr("MSG_MULTIPLE_BOOLVALUES"));
    // "true" and "-1" both mean set.
    EXPECT_EQ(Item(4134).GetValue(), PropertyValue(true));
    EXPECT_EQ(Item(4134).GetDescription(), langStr("FD_ENABLE_DELETE"));
    EXPECT_EQ(Item(4132).GetValue(), PropertyValue(std::string("C")));
    EXPECT_EQ(Item(4136).GetValue(), PropertyValue(std::string()));
    EXPECT_EQ(Item(4138).GetValue(), PropertyValue(std::string())) << "texts compare case-sensitively";
    EXPECT_EQ(m_grid.FindItem(3903)->GetSubItemCount(), 8);
}
