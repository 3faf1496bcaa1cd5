#include "controls/DiagramButton.h"

#include "model/DiagramEntityContainer.h"
#include "model/ElementFactory.h"
#include "model/PropertyGrid.h"
#include "services/LanguageTable.h"
#include "services/Xml.h"

#include <gtest/gtest.h>

#include <map>

using namespace fw;

namespace {

using Attributes = std::map<std::string, std::string>;

// A form that reads and writes through the "Command" element only.
class ButtonTest : public ::testing::Test {
protected:
    ButtonTest()
    {
        m_factory.Register("Command", [] { return std::make_unique<CDiagramButton>(); });
        m_form.SetElementFactory(&m_factory);
    }

    bool Load(const std::string& controls)
    {
        m_doc = std::make_unique<XmlDocument>();
        if (!m_doc->parse("<Dialog title=\"t\" size=\"700,600\"><Controls>" + controls + "</Controls></Dialog>")) {
            ADD_FAILURE() << m_doc->errorText();
            return false;
        }
        m_form.Clear();
        m_form.SetXmlElement(m_doc->root());
        return m_form.LoadDialog();
    }

    std::string Write()
    {
        XmlWriter writer;
        m_form.SetXmlWriter(&writer);
        m_form.WriteControls();
        m_form.SetXmlWriter(nullptr);
        return writer.text();
    }

    // The one button a snippet holds, written back.
    std::string RoundTripOne(const std::string& element)
    {
        if (!Load(element) || m_form.GetCount() != 1)
            return "(not loaded)";
        std::string text = Write();
        size_t start = text.find("<Command");
        return start == std::string::npos ? text : text.substr(start, text.find('\n', start) - start);
    }

    CDiagramButton* ButtonAt(int index) { return dynamic_cast<CDiagramButton*>(m_form.GetAt(index)); }

    ElementFactory m_factory;
    CDiagramEntityContainer m_form;
    std::unique_ptr<XmlDocument> m_doc;
};

// The image kinds as a file names them, and what a loaded button shows.
struct ImageKindCase {
    const char* kind;
    const char* title;
    const char* imageKey;
};

const ImageKindCase ImageKinds[] = {
    {"CatAttach", "ATTACHCATALOG", "ATTACHCATALOG"},
    {"CatDetach", "DETACHCATALOG", "DETACHCATALOG"},
    {"ArticleFromList", "ARTICLEFROMLIST", "ARTICLEFROMLIST"},
    {"DocOpen", "OPENDOCUMENT", "OPENDOCUMENT"},
    {"DocView", "VIEWDOCUMENT", "VIEWDOCUMENT"},
    {"GraphicHighlight", "ZOOM_ALL_ELEMENT", "ZOOM_ALL_ELEMENT"},
    {"LinkObjectsFromDrawing", "LINK_OBJECT", "LINK_OBJECT"},
    {"ContextMenu", "OPEN_CONTEXTMENU", "OPEN_CONTEXTMENU"},
    {"GetCatProps", "ATTACHCATALOG", "ATTACHCATALOG"},
    {"PrintToPdf", "BUTTON_PRINT", "SMALL_PRINT"},
    {"InsertObject", "OBJECT_INSERT", "INSERT_SINGLE_OBJECT"},
    {"ObjRelation", "OBJECT_RELATION", "OBJRELATION"},
};

TEST_F(ButtonTest, ImageKindsTakeTitleAndBitmapFromTheirKind)
{
    for (const ImageKindCase& c : ImageKinds) {
        SCOPED_TRACE(c.kind);
        ASSERT_TRUE(
            Load(std::string("<Command pos=\"10,20\" id=\"") + c.kind + "\" text=\"ignored\" size=\"90,90\"/>"));
        ASSERT_EQ(m_form.GetCount(), 1);
        CDiagramButton* button = ButtonAt(0);
        EXPECT_EQ(button->GetName(), c.kind);
        EXPECT_EQ(button->GetTitle(), c.title);
        EXPECT_EQ(button->GetImageKey(), c.imageKey);
        EXPECT_EQ(button->GetType(), "ImageButton");
        EXPECT_EQ(button->GetRect(), (IntRect{10, 20, 34, 46})) << "an image button ignores a size";
        EXPECT_EQ(button->GetMinimumSize(), (IntSize{24, 26}));
        EXPECT_EQ(button->GetMaximumSize(), (IntSize{24, 26}));
    }
}

TEST_F(ButtonTest, OnlyKnownKindsLoad)
{
    ASSERT_TRUE(Load(R"(<Command pos="10,20" id="Unknown"/>
                        <Command pos="10,20" id="docopen"/>
                        <Command pos="10,20" id="  "/>
                        <Command pos="10,20"/>
                        <Command pos="0,20" id="DocOpen"/>
                        <Command pos="10,20" id=" DocView "/>)"));
    ASSERT_EQ(m_form.GetCount(), 1);
    EXPECT_EQ(ButtonAt(0)->GetName(), "DocView") << "the id is trimmed";
}

TEST_F(ButtonTest, TextKindsReadCaptionSizeAndAttributes)
{
    ASSERT_TRUE(Load(
        R"(<Command pos="10,20" id="AddIn" text="Run it" size="80,30" functionName="Go" isAddIn="0" sizing="20,0"/>)"));
    CDiagramButton* button = ButtonAt(0);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetType(), "button");
    EXPECT_EQ(button->GetTitle(), "Run it");
    EXPECT_EQ(button->GetImageKey(), "");
    EXPECT_EQ(button->GetRect(), (IntRect{10, 20, 90, 50}));
    EXPECT_EQ(button->GetMinimumSize(), (IntSize{1, 1}));
    EXPECT_EQ(button->GetMaximumSize(), (IntSize{-1, -1}));
    EXPECT_EQ(button->GetSizing(), (IntPoint{20, 0}));
    // Stored as read; absent ones are stored empty; unknown ones are not read.
    EXPECT_EQ(button->GetAttributes(),
              (Attributes{{"functionName", "Go"}, {"helpText", ""}, {"isAddIn", "0"}, {"tooltip", ""}}));

    ASSERT_TRUE(Load(R"(<Command pos="10,20" id="Report" text="R" size="0,0" other="x"/>)"));
    EXPECT_EQ(ButtonAt(0)->GetRect(), (IntRect{10, 20, 34, 46})) << "an unreadable size keeps the preset one";
    EXPECT_EQ(ButtonAt(0)->GetAttributes().count("other"), 0u);
}

TEST_F(ButtonTest, ChangeTableQueryOmitsOnlyAnEmptySortOrder)
{
    EXPECT_EQ(RoundTripOne(R"(<Command pos="10,20" id="ChangeTblQuery" text="Query" size="80,30" pushed="false"/>)"),
              R"(<Command pos="10,20" id="ChangeTblQuery" text="Query" size="80,30" helpText="" pushed="false" )"
              R"(tableContext="" tableId="" tableQuery="" tooltip=""/>)");
    EXPECT_EQ(RoundTripOne(R"(<Command pos="10,20" id="ChangeTblQuery" text="Q" size="80,30" tableSort="name"/>)"),
              R"(<Command pos="10,20" id="ChangeTblQuery" text="Q" size="80,30" helpText="" pushed="true" )"
              R"(tableContext="" tableId="" tableQuery="" tableSort="name" tooltip=""/>)");
}

TEST_F(ButtonTest, InsertObjectOmitsEmptyTooltipAndHelp)
{
    EXPECT_EQ(RoundTripOne(R"(<Command pos="10,20" id="InsertObject" size="50,50"/>)"),
              R"(<Command pos="10,20" id="InsertObject" quickInsertId="" type=""/>)");
    EXPECT_EQ(RoundTripOne(R"(<Command pos="10,20" id="InsertObject" tooltip="Tip" helpText="Help" type="PUMP"/>)"),
              R"(<Command pos="10,20" id="InsertObject" helpText="Help" quickInsertId="" tooltip="Tip" type="PUMP"/>)");
    // Other kinds keep them even when empty (see the table query above); so does GetCatProps.
    EXPECT_EQ(RoundTripOne(R"(<Command pos="10,20" id="GetCatProps" moving="0,50"/>)"),
              R"(<Command pos="10,20" id="GetCatProps" catPropForward="" type="" moving="0,50"/>)");
}

TEST_F(ButtonTest, TruthValuesAreWrittenAsTrueOrFalse)
{
    const std::pair<const char*, const char*> cases[] = {
        {"0", "false"}, {"false", "false"}, {"yes", "true"}, {"1", "true"}, {"", "true"}, {"FALSE", "true"},
    };
    for (const auto& [read, written] : cases) {
        SCOPED_TRACE(read);
        ASSERT_TRUE(Load(std::string("<Command pos=\"10,20\" id=\"Report\" text=\"R\" size=\"80,30\" background=\"") +
                         read + "\"/>"));
        CDiagramButton* button = ButtonAt(0);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->GetAttribute("background"), read) << "stored as read";
        ASSERT_TRUE(Load(std::string("<Command pos=\"10,20\" id=\"AddIn\" text=\"A\" size=\"80,30\" isAddIn=\"") +
                         read + "\"/>"));
        const std::string text = Write();
        EXPECT_NE(text.find(std::string("isAddIn=\"") + written + "\""), std::string::npos) << text;
    }
}

TEST_F(ButtonTest, ReportLanguageIsWrittenAsItsCode)
{
    ASSERT_TRUE(Load(R"(<Command pos="10,20" id="Report" text="R" size="80,30"/>)"));
    CDiagramButton* button = ButtonAt(0);
    ASSERT_NE(button, nullptr);
    const std::pair<std::string, std::string> cases[] = {
        {langStr("LANGUAGE_Project"), "1"},
        {langStr("LANGUAGE2_Project"), "0"},
        {langStr("MORQ_REPLANG_RB3"), "2"},
        {"7", "7"},
        {"", ""},
    };
    for (const auto& [shown, code] : cases) {
        button->SetAttribute("language", shown);
        const std::string text = Write();
        EXPECT_NE(text.find("language=\"" + code + "\""), std::string::npos) << text;
    }
}

TEST_F(ButtonTest, ReportAttributesAreWrittenInKeyOrder)
{
    EXPECT_EQ(RoundTripOne(R"(<Command pos="10,20" id="Report" tooltip="t" template="x.rpt" language="2" )"
                           R"(helpText="h" background="1" text="Print" size="80,30" sizing="1,2" moving="3,4"/>)"),
              R"(<Command pos="10,20" id="Report" text="Print" size="80,30" background="true" helpText="h" )"
              R"(language="2" template="x.rpt" tooltip="t" sizing="1,2" moving="3,4"/>)");
}

TEST_F(ButtonTest, WrittenFormReadsBackToTheSameText)
{
    ASSERT_TRUE(Load(R"(<Command pos="5,6" id="CatAttach"/>
        <Command pos="7,8" id="GetCatProps" type="T" catPropForward="yes"/>
        <Command pos="9,10" id="InsertObject" type="PUMP" quickInsertId="3" tooltip="tip"/>
        <Command pos="11,12" id="ChangeTblQuery" text="Q" size="60,20" tableId="1" tableQuery="q" pushed="0"/>
        <Command pos="13,14" id="AddIn" text="A" size="61,21" functionName="f" isAddIn="no"/>
        <Command pos="15,16" id="Report" text="R" size="62,22" language="0" background="false" moving="10,10"/>
        <Command pos="17,18" id="ObjRelation" sizing="3,3"/>)"));
    ASSERT_EQ(m_form.GetCount(), 7);
    const std::string first = Write();
    ASSERT_TRUE(Load(first.substr(first.find('>') + 1, first.rfind("</Controls>") - first.find('>') - 1)));
    ASSERT_EQ(m_form.GetCount(), 7);
    EXPECT_EQ(Write(), first);
}

TEST_F(ButtonTest, ExportFragmentIsMovedTwoUpAndLeft)
{
    ASSERT_TRUE(Load(R"(<Command pos="10,20" id="DocOpen"/><Command pos="30,40" id="AddIn" text="A" size="50,20"/>)"));
    std::vector<std::string> lines;
    m_form.Export(lines, 0);
    EXPECT_EQ(lines, (std::vector<std::string>{R"(<Command pos="8,18" id="DocOpen"/>)",
                                               R"(<Command pos="28,38" id="AddIn"/>)"}));
}

TEST_F(ButtonTest, CopyKeepsBitmapKindAttributesAndFixedSize)
{
    ASSERT_TRUE(Load(R"(<Command pos="10,20" id="InsertObject" type="PUMP"/>)"));
    std::unique_ptr<CDiagramEntity> copy = ButtonAt(0)->Clone();
    auto* button = dynamic_cast<CDiagramButton*>(copy.get());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetImageKey(), "INSERT_SINGLE_OBJECT");
    EXPECT_EQ(button->GetName(), "InsertObject");
    EXPECT_EQ(button->GetType(), "ImageButton");
    EXPECT_EQ(button->GetAttribute("type"), "PUMP");
    EXPECT_EQ(button->GetRect(), (IntRect{10, 20, 34, 46}));
    button->SetRect(0, 0, 100, 100);
    EXPECT_EQ(button->GetRect(), (IntRect{0, 0, 24, 26}));
}

TEST(ButtonImageKeyTest, BaseImagePathSlotIsTheImageKey)
{
    CDiagramButton button;
    CDiagramEntity& element = button;
    element.SetImagePath("SMALL_PRINT");
    EXPECT_EQ(button.GetImageKey(), "SMALL_PRINT");
    button.SetImageKey("LINK_OBJECT");
    EXPECT_EQ(element.GetImagePath(), "LINK_OBJECT");
}

// What the insert commands give each kind.
struct NewButtonCase {
    const char* kind;
    const char* titleKey;
    const char* imageKey;
    Attributes attributes;
};

TEST(NewButtonTest, EachKindStartsWithItsDefaults)
{
    const NewButtonCase cases[] = {
        {"CatAttach", "ATTACH_CATALOG", "ATTACHCATALOG", {}},
        {"CatDetach", "DETACH_CATALOG", "DETACHCATALOG", {}},
        {"ArticleFromList", "ARTICLE_FROM_LIST", "ARTICLEFROMLIST", {}},
        {"DocOpen", "OPEN_DOCUMENT", "OPENDOCUMENT", {}},
        {"DocView", "VIEW_DOCUMENT", "VIEWDOCUMENT", {}},
        {"GraphicHighlight", "HIGHLIGHT_GRAPHIC", "ZOOM_ALL_ELEMENT", {}},
        {"LinkObjectsFromDrawing", "RIBTT_ASSIGNOBJECTS", "LINK_OBJECT", {}},
        {"ContextMenu", "CONTEXT_MENU", "OPEN_CONTEXTMENU", {}},
        {"PrintToPdf", "BUTTON_PRINT", "SMALL_PRINT", {}},
        {"InsertObject",
         "OBJECT_INSERT",
         "INSERT_SINGLE_OBJECT",
         {{"type", ""}, {"quickInsertId", ""}, {"tooltip", ""}, {"helpText", ""}}},
        {"ObjRelation", "OBJECT_RELATION", "OBJRELATION", {}},
        {"ChangeTblQuery",
         "FD_CHANGE_TBL_QUERY",
         nullptr,
         {{"tableId", ""},
          {"tableQuery", ""},
          {"tableSort", ""},
          {"tableContext", ""},
          {"pushed", "false"},
          {"tooltip", ""},
          {"helpText", ""}}},
        {"AddIn",
         "T_RIB_ADDIN",
         nullptr,
         {{"tooltip", ""}, {"helpText", ""}, {"functionName", ""}, {"isAddIn", "true"}}},
        {"Report",
         "lt3712",
         nullptr,
         {{"tooltip", ""},
          {"helpText", ""},
          {"template", ""},
          {"language", langStr("LANGUAGE_Project")},
          {"background", "true"}}},
    };
    for (const NewButtonCase& c : cases) {
        SCOPED_TRACE(c.kind);
        CDiagramButton button;
        ASSERT_TRUE(button.InitButton(c.kind));
        EXPECT_EQ(button.GetName(), c.kind);
        EXPECT_EQ(button.GetTitle(), langStr(c.titleKey));
        EXPECT_EQ(button.GetAttributes(), c.attributes);
        const bool image = c.imageKey != nullptr;
        EXPECT_EQ(button.GetImageKey(), image ? c.imageKey : "");
        EXPECT_EQ(button.GetType(), image ? "ImageButton" : "button");
        EXPECT_EQ(button.GetMinimumSize(), image ? (IntSize{24, 26}) : (IntSize{1, 1}));
        EXPECT_EQ(button.GetMaximumSize(), image ? (IntSize{24, 26}) : (IntSize{-1, -1}));
    }
}

TEST(NewButtonTest, KindsWithoutInsertCommandAreRefused)
{
    CDiagramButton button;
    EXPECT_FALSE(button.InitButton("GetCatProps"));
    EXPECT_FALSE(button.InitButton("report"));
    EXPECT_EQ(button.GetName(), "button");
    EXPECT_TRUE(button.GetAttributes().empty());
}

class ButtonPropertiesTest : public ButtonTest {
protected:
    // Every loaded button merged into one grid, as with a multiple selection.
    void AddAll()
    {
        for (int i = 0; i < m_form.GetCount(); ++i)
            m_form.GetAt(i)->AddProperties(m_grid, false);
    }

    std::vector<int> GroupItemIds(int groupId)
    {
        std::vector<int> ids;
        PropertyItem* group = m_grid.FindItem(groupId);
        for (int i = 0; group && i < group->GetSubItemCount(); ++i)
            ids.push_back(group->GetSubItem(i)->GetId());
        return ids;
    }

    PropertyGrid m_grid;
};

TEST_F(ButtonPropertiesTest, ImageButtonShowsTitleAndKindReadOnly)
{
    ASSERT_TRUE(Load(R"(<Command pos="10,20" id="InsertObject" type="PUMP"/>)"));
    AddAll();
    EXPECT_EQ(GroupItemIds(3903), (std::vector<int>{4000, 4101, 4111, 4112, 4113, 4114}));
    EXPECT_TRUE(m_grid.FindItem(4000)->IsReadOnly());
    EXPECT_TRUE(m_grid.FindItem(4101)->IsReadOnly());
    EXPECT_EQ(m_grid.FindItem(4101)->GetText(), "InsertObject");
    PropertyItem* type = m_grid.FindItem(4114);
    EXPECT_EQ(type->GetTitle(), "type");
    EXPECT_EQ(type->GetText(), "PUMP");
    EXPECT_EQ(type->GetDescription(), langStr("type"));
    EXPECT_FALSE(type->IsReadOnly());
    // An image button does not grow.
    EXPECT_NE(m_grid.FindItem(4008), nullptr);
    EXPECT_EQ(m_grid.FindItem(4010), nullptr);
}

TEST_F(ButtonPropertiesTest, TextButtonAttributesAreDescribedByTheirMeaning)
{
    ASSERT_TRUE(Load(R"(<Command pos="10,20" id="ChangeTblQuery" text="Query" size="80,30" tableId="7" pushed="0"/>)"));
    AddAll();
    // helpText, pushed, tableContext, tableId, tableQuery, tableSort, tooltip
    EXPECT_EQ(GroupItemIds(3903), (std::vector<int>{4101, 4000, 4111, 4112, 4113, 4114, 4115, 4116, 4117}));
    EXPECT_FALSE(m_grid.FindItem(4000)->IsReadOnly());
    EXPECT_EQ(m_grid.FindItem(4000)->GetText(), "Query");
    EXPECT_EQ(m_grid.FindItem(4111)->GetTitle(), "helpText");
    EXPECT_EQ(m_grid.FindItem(4111)->GetDescription(), langStr("HELP_QTK-PROP"));
    EXPECT_EQ(m_grid.FindItem(4114)->GetTitle(), "tableId");
    EXPECT_EQ(m_grid.FindItem(4114)->GetText(), "7");
    EXPECT_EQ(m_grid.FindItem(4114)->GetDescription(), langStr("FD_TABLE_ID"));
    PropertyItem* pushed = m_grid.FindItem(4112);
    EXPECT_EQ(pushed->GetTitle(), "pushed");
    EXPECT_EQ(pushed->GetValue(), PropertyValue(false));
    EXPECT_EQ(pushed->GetEditor(), PropertyEditor::CheckBox);
    EXPECT_NE(m_grid.FindItem(4010), nullptr);
}

TEST_F(ButtonPropertiesTest, ReportLanguageIsAListOfDisplayTexts)
{
    const std::vector<std::string> texts = {langStr("LANGUAGE_Project"), langStr("LANGUAGE2_Project"),
                                            langStr("MORQ_REPLANG_RB3")};
    const std::pair<std::string, std::string> cases[] = {
        {"1", texts[0]}, {"0", texts[1]}, {"2", texts[2]}, {texts[1], texts[1]}, {"9", texts[0]},
    };
    for (const auto& [stored, shown] : cases) {
        SCOPED_TRACE(stored);
        ASSERT_TRUE(Load(R"(<Command pos="10,20" id="Report" text="R" size="80,30" language=")" + stored + "\"/>"));
        m_grid.RemoveAll();
        AddAll();
        // background, helpText, language, ...
        PropertyItem* language = m_grid.FindItem(4113);
        ASSERT_NE(language, nullptr);
        EXPECT_EQ(language->GetTitle(), "language");
        EXPECT_EQ(language->GetText(), shown);
        EXPECT_EQ(language->GetOptions(), texts);
        EXPECT_TRUE(language->AllowsFreeText());
        EXPECT_EQ(language->GetDescription(), langStr("t707"));
    }
}

TEST_F(ButtonPropertiesTest, DifferingValuesShowEmptyOrFalse)
{
    ASSERT_TRUE(Load(R"(<Command pos="10,20" id="ChangeTblQuery" text="One" size="80,30" tableId="1" pushed="true"/>
                        <Command pos="10,60" id="ChangeTblQuery" text="Two" size="80,30" tableId="2" pushed="false"/>)"));
    AddAll();
    EXPECT_EQ(m_grid.FindItem(4000)->GetText(), "") << "not the usual mixed mark";
    EXPECT_EQ(m_grid.FindItem(4101)->GetText(), "ChangeTblQuery");
    EXPECT_EQ(m_grid.FindItem(4114)->GetText(), "");
    PropertyItem* pushed = m_grid.FindItem(4112);
    EXPECT_EQ(pushed->GetValue(), PropertyValue(false));
    EXPECT_EQ(pushed->GetDescription(), langStr("MSG_MULTIPLE_BOOLVALUES"));
    EXPECT_EQ(m_grid.FindItem(4113)->GetText(), "") << "equal empty values stay empty";
}

TEST_F(ButtonPropertiesTest, FirstReportLanguageStaysOverASelection)
{
    ASSERT_TRUE(Load(R"(<Command pos="10,20" id="Report" text="R" size="80,30" language="0"/>
                        <Command pos="10,60" id="Report" text="R" size="80,30" language="2"/>)"));
    AddAll();
    EXPECT_EQ(m_grid.FindItem(4113)->GetText(), langStr("LANGUAGE2_Project"));
    EXPECT_EQ(m_grid.FindItem(4000)->GetText(), "R");
}

}  // namespace
