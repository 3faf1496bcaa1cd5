#include "controls/DiagramStatic.h"

#include "controls/StandardControls.h"
#include "model/PropertyGrid.h"
#include "support/FormSnippet.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

using Lines = std::vector<std::string>;

// A form of the demo model's PUMP class.
class TextTest : public ::testing::Test {
protected:
    TextTest() { s.form.SetObjectClass("PUMP"); }

    test::DemoModel m_model;
    test::FormSnippet s{RegisterStandardControls};
};

}  // namespace

TEST_F(TextTest, KeyBecomesNameAndItsLocalizedTextTheTitleAndTheTextFormReadsBack)
{
    ASSERT_TRUE(s.Load(R"(<Text pos="10,20" size="100,18" style="s1" moving="0,100">TXT_GENERAL_DATA</Text>
                          <Text pos="10,50" size="100,18">ARTNO</Text>
                          <Text pos="10,80" size="100,18">NO_SUCH_KEY</Text>)"));
    ASSERT_EQ(s.Count(), 3);
    EXPECT_EQ(s.At(0)->GetString(), "static:10.000000,20.000000,110.000000,38.000000,General data,TXT_GENERAL_DATA,0;");
    EXPECT_EQ(s.At(0)->GetStyle(), s.styles.Find("s1"));
    EXPECT_FALSE(s.At(0)->TakesPartInTabOrder());
    EXPECT_EQ(s.At(1)->GetTitle(), "Article number") << "property names are keys too";
    EXPECT_EQ(s.At(2)->GetTitle(), "NO_SUCH_KEY") << "an unknown key shows itself";

    CDiagramStatic source;
    source.SetRect(10, 20, 110, 70);
    source.SetTitle("a,b: c");
    source.SetName("KEY");
    source.SetGroup(4);
    std::unique_ptr<CDiagramStatic> text = CDiagramStatic::FromText(source.GetString());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetString(), source.GetString());
    EXPECT_EQ(CDiagramStatic::FromText("basic:10.000000,20.000000,110.000000,70.000000,t,n,0;"), nullptr);
    EXPECT_EQ(CDiagramStatic::FromText("static:10,20,110,70,t,n;"), nullptr);
}

TEST_F(TextTest, TextsWithoutContentOrPlaceAreDropped)
{
    ASSERT_TRUE(s.Load(R"(<Text pos="10,20" size="100,18"/><Text pos="10,20" size="100,18"></Text>
                          <Text size="100,18">TXT_GENERAL_DATA</Text><Text pos="10,20" size="0,0">TXT_GENERAL_DATA</Text>
                          <Text pos="10,80" size="100,18" style="nosuch" sizing="50,101">KEPT</Text>)"));
    ASSERT_EQ(s.Count(), 1);
    EXPECT_EQ(s.At(0)->GetStyle(), nullptr);
    EXPECT_EQ(s.WrittenLines(), Lines{R"(<Text pos="10,80" size="100,18">KEPT</Text>)"});
}

TEST_F(TextTest, WritesPlaceStyleLayoutAndKeyButNothingForACaption)
{
    const std::string styled =
        R"(<Text pos="10,20" size="100,18" style="s1" sizing="10,0" moving="0,100">TXT_GENERAL_DATA</Text>)";
    const std::string plain = R"(<Text pos="10,50" size="100,18">A&amp;B</Text>)";
    ASSERT_TRUE(s.Load(styled + plain));
    EXPECT_EQ(s.At(1)->GetName(), "A&B");
    EXPECT_EQ(s.WrittenLines(), (Lines{styled, plain}));
    const std::string first = s.Write();
    EXPECT_EQ(s.Rewrite(), first);

    // A copy is a text too; a caption writes nothing of its own.
    std::unique_ptr<CDiagramEntity> clone = s.At(0)->Clone();
    clone->MoveRect(0, 30);
    s.form.Add(std::move(clone));
    auto caption = std::make_unique<CDiagramStatic>();
    caption->SetRect(10, 10, 100, 30);
    caption->SetDependentPart(true);
    s.form.Add(std::move(caption));
    EXPECT_EQ(
        s.WrittenLines(),
        (Lines{styled, plain,
               R"(<Text pos="10,50" size="100,18" style="s1" sizing="10,0" moving="0,100">TXT_GENERAL_DATA</Text>)"}));
}

TEST_F(TextTest, PropertiesOfTextsAndCaptions)
{
    ASSERT_TRUE(s.Load(R"(<Text pos="10,20" size="100,18" style="s2">TXT_GENERAL_DATA</Text>
                          <Text pos="10,50" size="100,18" style="s3">TXT_GENERAL_DATA</Text>
                          <Text pos="10,80" size="100,18" style="s3">OTHER</Text>
                          <Property name="ARTNO" pos="120,10" size="100,20" labelPos="10,50" labelSize="90,20"/>)"));
    PropertyGrid grid;
    s.At(0)->AddProperties(grid, false);
    EXPECT_EQ(grid.GetProperty(0)->GetSubItemCount(), 3);  // title, name, style
    // The title follows the key, the only part the file keeps.
    EXPECT_TRUE(grid.FindItem(4000)->IsReadOnly());
    EXPECT_FALSE(grid.FindItem(4001)->IsReadOnly());
    PropertyItem* style = grid.FindItem(4201);
    EXPECT_EQ(style->GetValue(), PropertyValue(std::string("s2")));
    EXPECT_EQ(style->GetOptions(), (std::vector<std::string>{"s1", "s2", "s3", "s4"}));
    EXPECT_FALSE(style->AllowsFreeText());
    // Merged: differing styles show empty, differing texts the mixed mark.
    s.At(1)->AddProperties(grid, false);
    EXPECT_EQ(grid.FindItem(4201)->GetText(), "");
    EXPECT_EQ(grid.FindItem(4000)->GetText(), "General data");
    s.At(2)->AddProperties(grid, false);
    EXPECT_EQ(grid.FindItem(4000)->GetText(), "[...]");
    EXPECT_EQ(grid.FindItem(4001)->GetText(), "[...]");

    PropertyGrid captionGrid;  // a caption takes title and name from its field
    s.At(4)->AddProperties(captionGrid, false);
    EXPECT_TRUE(captionGrid.FindItem(4000)->IsReadOnly() && captionGrid.FindItem(4001)->IsReadOnly());
    PropertyGrid looseGrid;  // without a style list there is nothing to choose from
    CDiagramStatic().AddProperties(looseGrid, false);
    EXPECT_EQ(looseGrid.FindItem(4201), nullptr);
}
