#include "controls/DiagramTable.h"

#include "controls/StandardControls.h"
#include "model/PropertyGrid.h"
#include "model/PropertyIds.h"
#include "services/LanguageTable.h"
#include "support/FormSnippet.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

using Lines = std::vector<std::string>;
using Attributes = AttributeTable;

const char* const FullTable =
    R"(<Table pos="10,20" size="300,150" resize="60,40" allowDrop="true" dropFilter="ARTICLE" enableDoubleClick="true" )"
    R"(enableDelete="false" query="Q1" tableId="T1" context="C1" sort="NAME" sizing="10,20" moving="0,50"/>)";

class TableTest : public ::testing::Test {
protected:
    CDiagramTable& At(int index) { return dynamic_cast<CDiagramTable&>(*s.At(index)); }
    PropertyItem& Item(int id)
    {
        static PropertyItem none(0, "none");
        PropertyItem* item = m_grid.FindItem(id);
        EXPECT_NE(item, nullptr) << id;
        return item ? *item : none;
    }

    test::FormSnippet s{RegisterStandardControls};
    PropertyGrid m_grid;
};

}  // namespace

TEST_F(TableTest, ReadsEverySettingAndWritesThemInKeyOrder)
{
    ASSERT_TRUE(s.Load(std::string(FullTable) + R"(<Table pos="1,1" size="20,0" resize="150,-5" enableDelete=""/>
                       <Table pos="2,2" size="30,30" resize="100,0" dropTarget="x" query="a&amp;b"/>)"));
    ASSERT_EQ(s.Count(), 3);
    EXPECT_EQ(At(1).GetResizeX(), 100) << "shares are clamped to percentages";
    EXPECT_EQ(At(1).GetResizeY(), 0);
    EXPECT_EQ(At(2).GetAttribute("query"), "a&b");
    // The older form keeps only enableDelete; empty sort and drop filter are left out.
    EXPECT_EQ(s.WrittenLines(),
              (Lines{R"(<Table pos="10,20" size="300,150" resize="60,40" allowDrop="true" context="C1" )"
                     R"(dropFilter="ARTICLE" enableDelete="false" enableDoubleClick="true" query="Q1" sort="NAME" )"
                     R"(tableId="T1" sizing="10,20" moving="0,50"/>)",
                     R"(<Table pos="1,1" size="20,0" resize="100,0" enableDelete="false"/>)",
                     R"(<Table pos="2,2" size="30,30" resize="100,0" allowDrop="true" context="" enableDelete="false" )"
                     R"(enableDoubleClick="true" query="a&amp;b" tableId=""/>)"}));
    const std::string first = s.Write();
    EXPECT_EQ(s.Rewrite(), first);
}

TEST_F(TableTest, TablesWithoutValidResizeOrGeometryAreDropped)
{
    for (const char* broken :
         {R"(<Table pos="10,10" size="50,50"/>)", R"(<Table pos="10,10" size="50,50" resize="80"/>)",
          R"(<Table pos="10,10" size="50,50" resize="80,80,80"/>)",
          R"(<Table pos="0,10" size="50,50" resize="80,80"/>)", R"(<Table pos="10,10" size="0,0" resize="80,80"/>)"}) {
        EXPECT_TRUE(s.Load(broken));
        EXPECT_EQ(s.Count(), 0) << broken;
    }
}

TEST_F(TableTest, OlderFormKeepsOnlyEnableDeleteAndAnyMarkOfTheNewerBringsAllEight)
{
    ASSERT_TRUE(s.Load(R"(<Table pos="10,10" size="50,50" resize="100,100" enableDelete="true" dropFilter="X"/>
                          <Table pos="10,70" size="50,50" resize="100,100"/>)"));
    // "dropFilter" alone does not mark the newer form.
    EXPECT_EQ(At(0).GetAttributes(), (Attributes{{"enableDelete", "true"}}));
    EXPECT_EQ(At(1).GetAttributes(), (Attributes{{"enableDelete", "false"}}));
    for (const char* mark : {"allowDrop", "query", "tableId", "context", "sort", "enableDoubleClick", "dropTarget"}) {
        ASSERT_TRUE(s.Load(std::string(R"(<Table pos="10,10" size="50,50" resize="100,100" )") + mark + R"(=""/>)"));
        EXPECT_EQ(At(0).GetAttributes().size(), 8u) << mark;  // dropTarget itself is not kept
        EXPECT_EQ(At(0).GetAttribute("enableDelete") + At(0).GetAttribute(mark), "false") << mark;
    }
}

TEST_F(TableTest, TruthValuesAreWrittenAsTrueOrFalseAndANewTableWithEmptyTexts)
{
    ASSERT_TRUE(s.Load(R"(<Table pos="10,10" size="50,50" resize="100,100" allowDrop="yes" enableDelete="-1"
                                 enableDoubleClick="0"/>)"));
    EXPECT_EQ(s.WrittenLines(), Lines{R"(<Table pos="10,10" size="50,50" resize="100,100" allowDrop="true" context="" )"
                                      R"(enableDelete="true" enableDoubleClick="false" query="" tableId=""/>)"});
    // What the properties pane stores for its check items.
    At(0).SetAttribute("allowDrop", "0");
    At(0).SetAttribute("enableDoubleClick", "-1");
    At(0).SetAttribute("enableDelete", "false");
    EXPECT_EQ(s.WrittenLines(),
              Lines{R"(<Table pos="10,10" size="50,50" resize="100,100" allowDrop="false" context="" )"
                    R"(enableDelete="false" enableDoubleClick="true" query="" tableId=""/>)"});

    CDiagramEntity* copy = s.form.Duplicate(s.At(0));
    EXPECT_EQ(copy->GetRect(), (IntRect{20, 20, 70, 70}));
    EXPECT_EQ(s.WrittenLines()[1], R"(<Table pos="20,20" size="50,50" resize="100,100" allowDrop="false" context="" )"
                                   R"(enableDelete="false" enableDoubleClick="true" query="" tableId=""/>)");

    s.form.RemoveAll();  // a new table is written with empty texts, without an empty drop filter
    auto table = std::make_unique<CDiagramTable>();
    EXPECT_TRUE(table->GetAttributes().empty());
    table->InitTable();
    table->SetRect(5, 6, 105, 56);
    s.form.Add(std::move(table));
    EXPECT_EQ(s.WrittenLines(),
              Lines{R"(<Table pos="5,6" size="100,50" resize="100,100" allowDrop="false" )"
                    R"(context="" enableDelete="false" enableDoubleClick="false" query="" tableId=""/>)"});
}

TEST_F(TableTest, OneItemPerSettingInKeyOrder)
{
    ASSERT_TRUE(s.Load(R"(<Table pos="10,10" size="50,50" resize="100,100" allowDrop="yes" enableDelete="-1"
                                 enableDoubleClick="yes" query="Q"/>)"));
    At(0).SetAttribute("extra", "v");
    At(0).AddProperties(m_grid, false);
    std::vector<std::string> titles;
    for (int id = PropertyId::FirstTableAttribute; m_grid.FindItem(id); ++id)
        titles.push_back(Item(id).GetTitle() + (Item(id).GetDescription().empty() ? "" : "+help"));
    EXPECT_EQ(titles,
              (std::vector<std::string>{"allowDrop+help", "context+help", "dropFilter+help", "enableDelete+help",
                                        "enableDoubleClick+help", "extra", "query+help", "sort+help", "tableId+help"}));
    EXPECT_EQ(Item(4131).GetValue(), PropertyValue(true));
    EXPECT_EQ(Item(4131).GetEditor(), PropertyEditor::CheckBox);
    EXPECT_EQ(Item(4134).GetValue(), PropertyValue(true));
    EXPECT_EQ(Item(4135).GetValue(), PropertyValue(true));
    EXPECT_EQ(Item(4137).GetValue(), PropertyValue(std::string("Q")));
    EXPECT_EQ(Item(4139).GetDescription(), langStr("FD_TABLE_ID"));

    PropertyGrid plain;
    CDiagramTable().AddProperties(plain, false);  // without settings only the common items
    EXPECT_EQ(plain.FindItem(3903), nullptr);
    EXPECT_NE(plain.FindItem(4004), nullptr);
}

TEST_F(TableTest, EveryCheckShowsWhatIsWritten)
{
    for (const char* value : {"", "yes", "no", "0", "-1", "false", "true"}) {
        const std::string v = value;
        ASSERT_TRUE(s.Load(R"(<Table pos="10,10" size="50,50" resize="100,100" allowDrop=")" + v +
                           R"(" enableDelete=")" + v + R"(" enableDoubleClick=")" + v + R"("/>)"));
        const std::string written = s.WrittenLines().at(0);
        m_grid.RemoveAll();
        At(0).AddProperties(m_grid, false);
        for (int id : {4131, 4134, 4135}) {
            const bool shown = std::get<bool>(Item(id).GetValue());
            const std::string expected = Item(id).GetTitle() + (shown ? "=\"true\"" : "=\"false\"");
            EXPECT_NE(written.find(expected), std::string::npos) << "\"" << v << "\": " << written;
        }
    }
}

TEST_F(TableTest, MergedPropertiesMarkDifferences)
{
    ASSERT_TRUE(s.Load(R"(<Table pos="10,10" size="50,50" resize="100,100" allowDrop="true" enableDelete="true"
                                 enableDoubleClick="false" query="Q1" context="C" tableId="T1"/>
                          <Table pos="10,70" size="50,50" resize="100,100" allowDrop="false" enableDelete="-1"
                                 enableDoubleClick="false" query="Q2" context="C" tableId="t1"/>)"));
    At(0).AddProperties(m_grid, false);
    At(1).AddProperties(m_grid, false);
    EXPECT_EQ(Item(4131).GetValue(), PropertyValue(false));
    EXPECT_EQ(Item(4131).GetDescription(), langStr("MSG_MULTIPLE_BOOLVALUES"));
    EXPECT_EQ(Item(4134).GetValue(), PropertyValue(true)) << "\"true\" and \"-1\" both mean set";
    EXPECT_EQ(Item(4134).GetDescription(), langStr("FD_ENABLE_DELETE"));
    EXPECT_EQ(Item(4132).GetValue(), PropertyValue(std::string("C")));
    EXPECT_EQ(Item(4136).GetValue(), PropertyValue(std::string()));
    EXPECT_EQ(Item(4138).GetValue(), PropertyValue(std::string())) << "texts compare case-sensitively";
    EXPECT_EQ(Item(3903).GetSubItemCount(), 8);

    // An older table has only "enableDelete": rows match by key, not position.
    ASSERT_TRUE(s.Load(R"(<Table pos="10,10" size="50,50" resize="100,100" enableDelete="true"/>
                          <Table pos="10,70" size="50,50" resize="100,100" allowDrop="false" enableDelete="true"/>)"));
    m_grid.RemoveAll();
    At(0).AddProperties(m_grid, false);
    At(1).AddProperties(m_grid, false);
    EXPECT_EQ(Item(3903).GetSubItemCount(), 1);
    EXPECT_EQ(Item(4131).GetTitle(), "enableDelete");
    EXPECT_EQ(Item(4131).GetValue(), PropertyValue(true));
}
