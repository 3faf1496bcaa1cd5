#include "controls/DiagramStatic.h"
#include "controls/DiagramLinked.h"
#include "model/DiagramEntityContainer.h"
#include "model/ElementFactory.h"
#include "model/EntityStyle.h"
#include "model/PropertyGrid.h"
#include "services/ObjectModel.h"
#include "services/Xml.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

class TextFile : public ::testing::Test {
protected:
    TextFile()
    {
        ClassFactory::SetModelFile(std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/model/demo-model.xml");
        ClassFactory::FreeObjectModel();
        m_factory.Register("Text", [] { return std::make_unique<CDiagramStatic>(); });
        m_factory.Register("Property", [] { return std::make_unique<CDiagramLinked>(); });
        m_styles.CreateDefaults();
        m_form.SetElementFactory(&m_factory);
        m_form.SetStyleContainer(&m_styles);
        m_form.SetObjectClass("PUMP");
    }

    ~TextFile() override
    {
        ClassFactory::FreeObjectModel();
        ClassFactory::SetModelFile("");
    }

    bool Load(const std::string& controls)
    {
        m_form.RemoveAll();
        std::string xml = R"(<Dialog title="t" size="700,600"><Controls>)" + controls + "</Controls></Dialog>";
        EXPECT_TRUE(m_doc.parse(xml)) << m_doc.errorText();
        m_form.SetXmlElement(m_doc.root());
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

    ElementFactory m_factory;
    CEntityStyleContainer m_styles;
    CDiagramEntityContainer m_form;
    XmlDocument m_doc;
};

}  // namespace

TEST_F(TextFile, KeyBecomesNameAndItsLocalizedTextTheTitle)
{
    ASSERT_TRUE(Load(R"(<Text pos="10,20" size="100,18" style="s1" moving="0,100">TXT_GENERAL_DATA</Text>)"));
    ASSERT_EQ(m_form.GetCount(), 1);
    CDiagramEntity* text = m_form.GetAt(0);
    EXPECT_EQ(text->GetType(), "static");
    EXPECT_EQ(text->GetName(), "TXT_GENERAL_DATA");
    EXPECT_EQ(text->GetTitle(), "General data");
    EXPECT_EQ(text->GetRect(), (IntRect{10, 20, 110, 38}));
    EXPECT_EQ(text->GetStyle(), m_styles.Find("s1"));
    EXPECT_EQ(text->GetMoving(), (IntPoint{0, 100}));
    EXPECT_FALSE(text->IsDependentPart());
    EXPECT_FALSE(text->TakesPartInTabOrder());
    EXPECT_EQ(text->GetTabIndex(), -1);
}

TEST_F(TextFile, PropertyNamesAreKeysTooAndUnknownKeysShowThemselves)
{
    ASSERT_TRUE(Load(R"(<Text pos="10,20" size="100,18">ARTNO</Text>
                        <Text pos="10,50" size="100,18">NO_SUCH_KEY</Text>)"));
    ASSERT_EQ(m_form.GetCount(), 2);
    EXPECT_EQ(m_form.GetAt(0)->GetTitle(), "Article number");
    EXPECT_EQ(m_form.GetAt(1)->GetTitle(), "NO_SUCH_KEY");
    EXPECT_EQ(m_form.GetAt(1)->GetName(), "NO_SUCH_KEY");
}

TEST_F(TextFile, TextsWithoutContentOrPlaceAreDropped)
{
    ASSERT_TRUE(Load(R"(<Text pos="10,20" size="100,18"/>
                        <Text pos="10,20" size="100,18"></Text>
                        <Text size="100,18">TXT_GENERAL_DATA</Text>
                        <Text pos="10,20" size="0,0">TXT_GENERAL_DATA</Text>
                        <Text pos="10,80" size="100,18" style="nosuch" sizing="50,101">KEPT</Text>)"));
    ASSERT_EQ(m_form.GetCount(), 1);
    EXPECT_EQ(m_form.GetAt(0)->GetName(), "KEPT");
    EXPECT_EQ(m_form.GetAt(0)->GetStyle(), nullptr);
    EXPECT_EQ(m_form.GetAt(0)->GetSizing(), (IntPoint{0, 0}));

    ASSERT_TRUE(m_doc.parse(R"(<Text pos="10,20" size="100,18"/>)"));
    CDiagramStatic text;
    text.SetXmlElement(m_doc.root());
    EXPECT_FALSE(text.LoadXml());
    EXPECT_NE(text.GetLoadProblem().find("text"), std::string::npos) << text.GetLoadProblem();
}

TEST_F(TextFile, WritesPlaceStyleLayoutAndKey)
{
    const std::string styled =
        R"(<Text pos="10,20" size="100,18" style="s1" sizing="10,0" moving="0,100">TXT_GENERAL_DATA</Text>)";
    const std::string plain = R"(<Text pos="10,50" size="100,18">A&amp;B</Text>)";
    ASSERT_TRUE(Load(styled + plain));
    const std::string expected = "<Controls>\n  " + styled + "\n  " + plain + "\n</Controls>\n";
    EXPECT_EQ(Write(), expected);
    EXPECT_EQ(m_form.GetAt(1)->GetName(), "A&B");

    ASSERT_TRUE(Load(styled + plain));
    EXPECT_EQ(Write(), expected) << "a second round gives the same file";
}

TEST_F(TextFile, CaptionWritesNothingOfItsOwn)
{
    CDiagramStatic caption;
    caption.SetRect(10, 10, 100, 30);
    caption.SetName("ARTNO");
    XmlWriter writer;
    caption.SetXmlWriter(&writer);
    caption.SetDependentPart(true);
    caption.WriteXml();
    EXPECT_EQ(writer.text(), "");
    caption.SetDependentPart(false);
    caption.WriteXml();
    EXPECT_EQ(writer.text(), "<Text pos=\"10,10\" size=\"90,20\">ARTNO</Text>\n");
}

TEST_F(TextFile, BuildsFromItsTextForm)
{
    CDiagramStatic source;
    source.SetRect(10, 20, 110, 70);
    source.SetTitle("a,b: c");
    source.SetName("KEY");
    source.SetGroup(4);

    std::unique_ptr<CDiagramStatic> text = CDiagramStatic::FromText(source.GetString());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetType(), "static");
    EXPECT_EQ(text->GetRect(), (IntRect{10, 20, 110, 70}));
    EXPECT_EQ(text->GetTitle(), "a,b: c");
    EXPECT_EQ(text->GetName(), "KEY");
    EXPECT_EQ(text->GetGroup(), 4);

    EXPECT_EQ(CDiagramStatic::FromText("basic:10.000000,20.000000,110.000000,70.000000,t,n,0;"), nullptr);
    EXPECT_EQ(CDiagramStatic::FromText("static:10,20,110,70,t,n;"), nullptr);
    EXPECT_EQ(CDiagramStatic::FromText(""), nullptr);
}

TEST_F(TextFile, CloneIsAText)
{
    ASSERT_TRUE(Load(R"(<Text pos="10,20" size="100,18" style="s2">TXT_GENERAL_DATA</Text>)"));
    std::unique_ptr<CDiagramEntity> clone = m_form.GetAt(0)->Clone();
    EXPECT_EQ(clone->GetType(), "static");
    EXPECT_EQ(clone->GetTitle(), "General data");
    EXPECT_EQ(clone->GetName(), "TXT_GENERAL_DATA");
    EXPECT_EQ(clone->GetStyleName(), "s2");
    clone->MoveRect(0, 30);
    m_form.Add(std::move(clone));
    EXPECT_EQ(Write(), "<Controls>\n"
                       "  <Text pos=\"10,20\" size=\"100,18\" style=\"s2\">TXT_GENERAL_DATA</Text>\n"
                       "  <Text pos=\"10,50\" size=\"100,18\" style=\"s2\">TXT_GENERAL_DATA</Text>\n"
                       "</Controls>\n");
}

TEST_F(TextFile, PropertiesOfATextAndOfACaption)
{
    ASSERT_TRUE(Load(R"(<Text pos="10,20" size="100,18" style="s2">TXT_GENERAL_DATA</Text>
                        <Property name="ARTNO" pos="120,10" size="100,20" labelPos="10,50" labelSize="90,20"/>)"));
    PropertyGrid grid;
    m_form.GetAt(0)->AddProperties(grid, false);
    ASSERT_GE(grid.GetPropertyCount(), 1);
    PropertyItem* appearance = grid.GetProperty(0);
    EXPECT_EQ(appearance->GetId(), 3903);
    ASSERT_EQ(appearance->GetSubItemCount(), 3);
    EXPECT_EQ(appearance->GetSubItem(0)->GetValue(), PropertyValue(std::string("General data")));
    EXPECT_FALSE(appearance->GetSubItem(0)->IsReadOnly());
    EXPECT_EQ(appearance->GetSubItem(1)->GetValue(), PropertyValue(std::string("TXT_GENERAL_DATA")));
    EXPECT_FALSE(appearance->GetSubItem(1)->IsReadOnly());
    PropertyItem* style = appearance->GetSubItem(2);
    EXPECT_EQ(style->GetId(), 4201);
    EXPECT_EQ(style->GetValue(), PropertyValue(std::string("s2")));
    EXPECT_EQ(style->GetOptions(), (std::vector<std::string>{"s1", "s2", "s3", "s4"}));
    EXPECT_FALSE(style->AllowsFreeText());
    EXPECT_NE(grid.FindItem(4007), nullptr) << "the common rows follow";

    PropertyGrid captionGrid;
    CDiagramEntity* caption = m_form.GetAt(2);
    ASSERT_TRUE(caption->IsDependentPart());
    caption->AddProperties(captionGrid, false);
    EXPECT_TRUE(captionGrid.FindItem(4000)->IsReadOnly());
    EXPECT_TRUE(captionGrid.FindItem(4001)->IsReadOnly());
    EXPECT_EQ(captionGrid.FindItem(4201)->GetText(), "");

    // Without a style list there is nothing to choose from.
    CDiagramStatic loose;
    PropertyGrid looseGrid;
    loose.AddProperties(looseGrid, false);
    EXPECT_EQ(looseGrid.FindItem(4201), nullptr);
    EXPECT_NE(looseGrid.FindItem(4000), nullptr);
}

TEST_F(TextFile, MergedTextsShowWhereTheyDiffer)
{
    ASSERT_TRUE(Load(R"(<Text pos="10,20" size="100,18" style="s2">TXT_GENERAL_DATA</Text>
                        <Text pos="10,50" size="100,18" style="s3">TXT_GENERAL_DATA</Text>
                        <Text pos="10,80" size="100,18" style="s3">OTHER</Text>)"));
    PropertyGrid grid;
    m_form.GetAt(0)->AddProperties(grid, false);
    m_form.GetAt(1)->AddProperties(grid, false);
    EXPECT_EQ(grid.FindItem(4201)->GetText(), "");
    EXPECT_EQ(grid.FindItem(4000)->GetText(), "General data");
    EXPECT_EQ(grid.FindItem(4001)->GetText(), "TXT_GENERAL_DATA");
    m_form.GetAt(2)->AddProperties(grid, false);
    EXPECT_EQ(grid.FindItem(4000)->GetText(), "[...]");
    EXPECT_EQ(grid.FindItem(4001)->GetText(), "[...]");
    EXPECT_EQ(grid.FindItem(4201)->GetOptions().size(), 4u);
}
