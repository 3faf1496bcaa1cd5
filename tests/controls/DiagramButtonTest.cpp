#include "controls/DiagramButton.h"

#include "controls/StandardControls.h"
#include "model/PropertyGrid.h"
#include "services/LanguageTable.h"
#include "support/FormSnippet.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

using Attributes = AttributeTable;
using Lines = std::vector<std::string>;

class ButtonTest : public ::testing::Test {
protected:
    CDiagramButton& At(int index) { return dynamic_cast<CDiagramButton&>(*s.At(index)); }
    // Every loaded button merged into one grid, as with a multiple selection.
    PropertyGrid& Properties()
    {
        m_grid.RemoveAll();
        for (int i = 0; i < s.Count(); ++i) {
            m_grid.BeginElement();
            s.At(i)->AddProperties(m_grid, false);
            m_grid.EndElement();
        }
        return m_grid;
    }
    std::string Text(int id) { return m_grid.FindItem(id) ? m_grid.FindItem(id)->GetText() : "(no item)"; }

    test::FormSnippet s{RegisterStandardControls};
    PropertyGrid m_grid;
};

TEST_F(ButtonTest, OnlyKnownKindsLoadImageKindsHaveAFixedSizeTextKindsTheirOwn)
{
    ASSERT_TRUE(s.Load(R"(<Command pos="10,20" id="Unknown"/><Command pos="10,20" id="docopen"/>
        <Command pos="10,20" id="  "/><Command pos="10,20"/><Command pos="0,20" id="DocOpen"/>
        <Command pos="10,20" id=" GetCatProps " text="x" size="90,90"/><Command pos="10,20" id="PrintToPdf"/>
        <Command pos="10,20" id="InsertObject"/><Command pos="10,20" id="ObjRelation"/>)"));
    const char* const kinds[] = {"GetCatProps ATTACHCATALOG ATTACHCATALOG", "PrintToPdf BUTTON_PRINT SMALL_PRINT",
                                 "InsertObject OBJECT_INSERT INSERT_SINGLE_OBJECT",
                                 "ObjRelation OBJECT_RELATION OBJRELATION"};
    ASSERT_EQ(s.Count(), 4);
    for (int i = 0; i < 4; ++i) {  // the id is trimmed; an image button ignores a size and keeps its own
        EXPECT_EQ(At(i).GetName() + " " + At(i).GetTitle() + " " + At(i).GetImageKey(), kinds[i]);
        EXPECT_EQ(At(i).GetType(), "ImageButton");
        EXPECT_EQ(At(i).GetRect(), (IntRect{10, 20, 34, 46}));
    }
    At(0).SetRect(0, 0, 100, 100);
    EXPECT_EQ(At(0).GetRect(), (IntRect{0, 0, 24, 26}));

    ASSERT_TRUE(s.Load(R"(<Command pos="10,20" id="AddIn" text="Run it" size="80,30"/>
                          <Command pos="10,20" id="Report" size="0,0"/>)"));
    EXPECT_EQ(At(0).GetTitle(), "Run it");
    EXPECT_EQ(At(0).GetRect(), (IntRect{10, 20, 90, 50}));
    EXPECT_EQ(At(1).GetRect(), (IntRect{10, 20, 34, 46})) << "an unreadable size keeps the preset one";
    EXPECT_EQ(At(1).GetTitle(), "") << "no text is no caption";
    EXPECT_NE(s.WrittenLines().at(1).find(R"(text="" size="24,26")"), std::string::npos) << s.WrittenLines().at(1);
}

TEST_F(ButtonTest, AttributesAreWrittenInKeyOrderWithTruthValuesAndLanguageCodes)
{
    const std::pair<const char*, const char*> cases[] = {
        {R"(<Command pos="10,20" id="ChangeTblQuery" text="Q" size="80,30" pushed="false"/>)",
         R"(<Command pos="10,20" id="ChangeTblQuery" text="Q" size="80,30" helpText="" pushed="false" )"
         R"(tableContext="" tableId="" tableQuery="" tooltip=""/>)"},
        {R"(<Command pos="10,20" id="ChangeTblQuery" text="Q" size="80,30" tableSort="name"/>)",
         R"(<Command pos="10,20" id="ChangeTblQuery" text="Q" size="80,30" helpText="" pushed="true" )"
         R"(tableContext="" tableId="" tableQuery="" tableSort="name" tooltip=""/>)"},
        // An insert button leaves out empty tooltip and help, other kinds keep them.
        {R"(<Command pos="10,20" id="InsertObject" size="50,50"/>)",
         R"(<Command pos="10,20" id="InsertObject" quickInsertId="" type=""/>)"},
        {R"(<Command pos="10,20" id="InsertObject" tooltip="Tip" helpText="Help" type="PUMP"/>)",
         R"(<Command pos="10,20" id="InsertObject" helpText="Help" quickInsertId="" tooltip="Tip" type="PUMP"/>)"},
        {R"(<Command pos="10,20" id="GetCatProps" moving="0,50"/>)",
         R"(<Command pos="10,20" id="GetCatProps" catPropForward="" type="" moving="0,50"/>)"},
        {R"(<Command pos="10,20" id="Report" tooltip="t" template="x.rpt" language="2" helpText="h" background="1" )"
         R"(text="Print" size="80,30" sizing="1,2" moving="3,4"/>)",
         R"(<Command pos="10,20" id="Report" text="Print" size="80,30" background="true" helpText="h" language="2" )"
         R"(template="x.rpt" tooltip="t" sizing="1,2" moving="3,4"/>)"},
    };
    for (const auto& [read, written] : cases) {
        ASSERT_TRUE(s.Load(read));
        EXPECT_EQ(s.WrittenLines(), Lines{written});
    }

    // Truth values are stored as read and written as "true" unless "false" or "0"; absent
    // attributes are stored empty, unknown ones are not read.
    const std::pair<const char*, const char*> truths[] = {
        {"0", "false"}, {"false", "false"}, {"yes", "true"}, {"", "true"}, {"FALSE", "true"}};
    for (const auto& [read, written] : truths) {
        ASSERT_TRUE(s.Load(std::string(R"(<Command pos="1,2" id="AddIn" text="A" size="8,3" other="x" isAddIn=")") +
                           read + "\"/>"));
        EXPECT_EQ(At(0).GetAttribute("isAddIn"), read);
        EXPECT_EQ(s.WrittenLines(), Lines{std::string(R"(<Command pos="1,2" id="AddIn" text="A" size="8,3" )") +
                                          R"(functionName="" helpText="" isAddIn=")" + written + R"(" tooltip=""/>)"});
    }

    // The pane shows a report's language by its text; the file gets its code.
    ASSERT_TRUE(s.Load(R"(<Command pos="10,20" id="Report" text="R" size="80,30"/>)"));
    const std::pair<std::string, std::string> languages[] = {{langStr("LANGUAGE_Project"), "1"},
                                                             {langStr("LANGUAGE2_Project"), "0"},
                                                             {langStr("MORQ_REPLANG_RB3"), "2"},
                                                             {"7", "7"},
                                                             {"", ""}};
    for (const auto& [shown, code] : languages) {
        At(0).SetAttribute("language", shown);
        EXPECT_NE(s.Write().find("language=\"" + code + "\""), std::string::npos) << shown;
    }

    // The export fragment is moved two up and left.
    ASSERT_TRUE(
        s.Load(R"(<Command pos="10,20" id="DocOpen"/><Command pos="30,40" id="AddIn" text="A" size="50,20"/>)"));
    std::vector<std::string> lines;
    s.form.Export(lines, 0);
    EXPECT_EQ(lines, (Lines{R"(<Command pos="8,18" id="DocOpen"/>)", R"(<Command pos="28,38" id="AddIn"/>)"}));
}

TEST(NewButton, InsertedKindsStartWithTheirTitleLookAndSettings)
{
    CDiagramButton image;
    ASSERT_TRUE(image.InitButton("PrintToPdf"));
    EXPECT_EQ(image.GetTitle(), langStr("BUTTON_PRINT"));
    EXPECT_EQ(image.GetImageKey(), "SMALL_PRINT");
    EXPECT_EQ(image.GetType(), "ImageButton");
    EXPECT_TRUE(image.GetAttributes().empty());

    CDiagramButton report;  // the language starts as its display text
    ASSERT_TRUE(report.InitButton("Report"));
    EXPECT_EQ(report.GetTitle(), langStr("lt3712"));
    EXPECT_EQ(report.GetType(), "button");
    EXPECT_EQ(report.GetAttributes(), (Attributes{{"background", "true"},
                                                  {"helpText", ""},
                                                  {"language", langStr("LANGUAGE_Project")},
                                                  {"template", ""},
                                                  {"tooltip", ""}}));

    CDiagramButton button;  // kinds without an insert command are refused
    EXPECT_FALSE(button.InitButton("GetCatProps"));
    EXPECT_FALSE(button.InitButton("report"));
    EXPECT_TRUE(button.GetAttributes().empty());
}

TEST_F(ButtonTest, PropertiesDescribeImageButtonsByKeyAndTextButtonsByMeaning)
{
    ASSERT_TRUE(s.Load(R"(<Command pos="10,20" id="InsertObject" type="PUMP"/>)"));
    PropertyGrid& grid = Properties();
    EXPECT_EQ(grid.FindItem(3903)->GetSubItemCount(), 6);  // title, kind, helpText, quickInsertId, tooltip, type
    EXPECT_TRUE(grid.FindItem(4000)->IsReadOnly() && grid.FindItem(4101)->IsReadOnly());
    EXPECT_EQ(Text(4114), "PUMP");
    EXPECT_EQ(grid.FindItem(4114)->GetDescription(), langStr("type"));
    EXPECT_EQ(grid.FindItem(4010), nullptr) << "an image button does not grow";

    ASSERT_TRUE(s.Load(R"(<Command pos="10,20" id="ChangeTblQuery" text="Q" size="80,30" tableId="7" pushed="0"/>)"));
    Properties();
    EXPECT_FALSE(grid.FindItem(4000)->IsReadOnly());
    EXPECT_EQ(grid.FindItem(4114)->GetTitle(), "tableId");
    EXPECT_EQ(grid.FindItem(4114)->GetDescription(), langStr("FD_TABLE_ID"));
    EXPECT_EQ(grid.FindItem(4112)->GetValue(), PropertyValue(false));  // pushed
    EXPECT_EQ(grid.FindItem(4112)->GetEditor(), PropertyEditor::CheckBox);

    // A report's language is chosen from the display texts.
    const std::vector<std::string> texts = {langStr("LANGUAGE_Project"), langStr("LANGUAGE2_Project"),
                                            langStr("MORQ_REPLANG_RB3")};
    const std::pair<std::string, std::string> cases[] = {
        {"1", texts[0]}, {"0", texts[1]}, {"2", texts[2]}, {texts[1], texts[1]}, {"9", texts[0]}};
    for (const auto& [stored, shown] : cases) {
        ASSERT_TRUE(s.Load(R"(<Command pos="10,20" id="Report" text="R" size="80,30" language=")" + stored + "\"/>"));
        PropertyItem* language = Properties().FindItem(4113);  // after background and helpText
        ASSERT_NE(language, nullptr);
        EXPECT_EQ(language->GetText(), shown) << stored;
        EXPECT_EQ(language->GetOptions(), texts);
        EXPECT_TRUE(language->AllowsFreeText());
    }
}

TEST_F(ButtonTest, EveryCheckShowsWhatIsWritten)
{
    // The first of each pair leaves the setting out of the file.
    for (const char* value : {"", "yes", "0", "false", "true"}) {
        const std::string v = *value ? std::string(R"(=")") + value + "\"" : "";
        ASSERT_TRUE(s.Load(R"(<Command pos="10,20" id="ChangeTblQuery" text="Q" size="80,30")" +
                           (v.empty() ? "" : " pushed" + v) + R"(/><Command pos="10,60" id="Report" text="R")" +
                           R"( size="80,30" language="1")" + (v.empty() ? "" : " background" + v) + "/>"));
        const Lines written = s.WrittenLines();
        for (int i = 0; i < 2; ++i) {
            m_grid.RemoveAll();
            At(i).AddProperties(m_grid, false);
            const PropertyItem* check = m_grid.FindItem(i == 0 ? 4112 : 4111);  // pushed, background
            ASSERT_NE(check, nullptr);
            const std::string expected =
                check->GetTitle() + (std::get<bool>(check->GetValue()) ? R"(="true")" : R"(="false")");
            EXPECT_NE(written[static_cast<size_t>(i)].find(expected), std::string::npos)
                << value << ": " << written[static_cast<size_t>(i)];
        }
    }
}

TEST_F(ButtonTest, MergedPropertiesShowEmptyTextsAndFalse)
{
    ASSERT_TRUE(s.Load(R"(<Command pos="10,20" id="ChangeTblQuery" text="One" size="80,30" tableId="1" pushed="true"/>
                          <Command pos="10,60" id="ChangeTblQuery" text="Two" size="80,30" tableId="2" pushed="false"/>)"));
    PropertyGrid& grid = Properties();
    EXPECT_EQ(Text(4000), "") << "not the usual mixed mark";
    EXPECT_EQ(Text(4101), "ChangeTblQuery");
    EXPECT_EQ(Text(4114), "");
    EXPECT_EQ(grid.FindItem(4112)->GetValue(), PropertyValue(false));
    EXPECT_EQ(grid.FindItem(4112)->GetDescription(), langStr("MSG_MULTIPLE_BOOLVALUES"));

    // The first report's language stays over a selection.
    ASSERT_TRUE(s.Load(R"(<Command pos="10,20" id="Report" text="R" size="80,30" language="0"/>
                          <Command pos="10,60" id="Report" text="R" size="80,30" language="2"/>)"));
    Properties();
    EXPECT_EQ(Text(4113), langStr("LANGUAGE2_Project"));
    EXPECT_EQ(Text(4000), "R");

    // Kinds with other attributes: only the ones both have, matched by key,
    // keeping the first button's numbers (helpText 4111, tooltip 4117).
    ASSERT_TRUE(s.Load(R"(<Command pos="10,20" id="ChangeTblQuery" text="Q" size="80,30" pushed="true" tooltip="T"/>
                          <Command pos="10,60" id="AddIn" text="A" size="80,30" isAddIn="true" tooltip="T"/>)"));
    Properties();
    std::vector<std::string> rows;
    for (int i = 0; i < grid.FindItem(3903)->GetSubItemCount(); ++i) {
        const PropertyItem* row = grid.FindItem(3903)->GetSubItem(i);
        rows.push_back(std::to_string(row->GetId()) + " " + row->GetTitle());
    }
    EXPECT_EQ(rows, (Lines{"4101 " + langStr("T_BUTTON_ID"), "4000 " + langStr("T_PROP_TITLE"), "4111 helpText",
                           "4117 tooltip"}));
    EXPECT_EQ(Text(4117), "T");
}

}  // namespace
