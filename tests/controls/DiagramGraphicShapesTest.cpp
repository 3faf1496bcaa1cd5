#include "controls/DiagramGraphicShapes.h"

#include "controls/StandardControls.h"
#include "model/PropertyGrid.h"
#include "services/LanguageTable.h"
#include "support/FormSnippet.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

using Lines = std::vector<std::string>;

const char* const Rectangle = R"(<Rectangle pos="10,20" size="100,50" linecolor="255,0,0" linewidth="2.5" )"
                              R"(fillcolor="0,128,255" cornerradius="10" sizing="0,100" moving="30,0"/>)";
const char* const Ellipse =
    R"(<Ellipse pos="5,5" size="40,30" linecolor=" 1, 2 ,3" linewidth="1" fillcolor="255,0,-1"/>)";
const char* const Line = R"(<Line pos="50,60" size="80,0" linecolor="0,0,0" linewidth="3" quadrant="2"/>)";

class ShapeTest : public ::testing::Test {
protected:
    // The texts of the appearance items of the grid.
    std::vector<std::string> AppearanceTitles()
    {
        std::vector<std::string> titles;
        PropertyItem* group = m_grid.FindItem(3903);
        for (int i = 0; group && i < group->GetSubItemCount(); ++i)
            titles.push_back(group->GetSubItem(i)->GetTitle());
        return titles;
    }
    PropertyValue ValueOf(int id)
    {
        return m_grid.FindItem(id) ? m_grid.FindItem(id)->GetValue() : std::string("(no item)");
    }

    test::FormSnippet s{RegisterStandardControls};
    PropertyGrid m_grid;
};

}  // namespace

TEST_F(ShapeTest, NewShapesAreWrittenWithTheirDefaults)
{
    std::unique_ptr<CDiagramEntity> shapes[] = {std::make_unique<CDiagramGraphicLine>(),
                                                std::make_unique<CDiagramGraphicRectangle>(),
                                                std::make_unique<CDiagramGraphicEllipse>()};
    for (auto& shape : shapes) {
        shape->SetRect(10, 10, 50, 30);
        s.form.Add(std::move(shape));
    }
    EXPECT_EQ(s.WrittenLines(),
              (Lines{R"(<Line pos="10,10" size="40,20" linecolor="0,0,0" linewidth="1.0" quadrant="1"/>)",
                     R"(<Rectangle pos="10,10" size="40,20" linecolor="0,0,0" linewidth="1.0" fillcolor="-1,-1,-1" )"
                     R"(cornerradius="0.0"/>)",
                     R"(<Ellipse pos="10,10" size="40,20" linecolor="0,0,0" linewidth="1.0" fillcolor="-1,-1,-1"/>)"}));
}

TEST_F(ShapeTest, ReadsAndWritesEachShapesAttributesInOrder)
{
    ASSERT_TRUE(s.Load(std::string(Rectangle) + Ellipse + Line +
                       R"(<Line pos="1,1" size="0,9" linecolor="a,,c" linewidth="0.25"/>)"));
    ASSERT_EQ(s.Count(), 4);
    CDiagramEntity& rectangle = *s.At(0);
    EXPECT_EQ(rectangle.GetType(), "rectangle");
    EXPECT_EQ(rectangle.GetLineWidth(), 2.5);
    EXPECT_EQ(rectangle.GetCornerRadius(), 10.0);
    EXPECT_EQ(s.At(1)->GetLineColor(), " 1, 2 ,3");  // colours are kept as written, parts unchecked
    EXPECT_EQ(s.At(3)->GetQuadrant(), 1);            // without a quadrant a line runs from the top left
    EXPECT_EQ(
        s.WrittenLines(),
        (Lines{R"(<Rectangle pos="10,20" size="100,50" linecolor="255,0,0" linewidth="2.5" fillcolor="0,128,255" )"
               R"(cornerradius="10.0" sizing="0,100" moving="30,0"/>)",
               R"(<Ellipse pos="5,5" size="40,30" linecolor=" 1, 2 ,3" linewidth="1.0" fillcolor="255,0,-1"/>)",
               R"(<Line pos="50,60" size="80,0" linecolor="0,0,0" linewidth="3.0" quadrant="2"/>)",
               R"(<Line pos="1,1" size="0,9" linecolor="a,,c" linewidth="0.2" quadrant="1"/>)"}));
    const std::string first = s.Write();
    EXPECT_EQ(s.Rewrite(), first);
}

TEST_F(ShapeTest, ShapesMissingARequiredAttributeAreDropped)
{
    const char* broken[] = {
        R"(<Rectangle pos="5,5" size="10,10" linewidth="1" fillcolor="0,0,0" cornerradius="0"/>)",
        R"(<Rectangle pos="5,5" size="10,10" linecolor="0,0,0" fillcolor="0,0,0" cornerradius="0"/>)",
        R"(<Rectangle pos="5,5" size="10,10" linecolor="0,0,0" linewidth="1" cornerradius="0"/>)",
        R"(<Rectangle pos="5,5" size="10,10" linecolor="0,0,0" linewidth="1" fillcolor="0,0,0"/>)",
        R"(<Rectangle pos="5,5" size="10,10" linecolor="0,0" linewidth="1" fillcolor="0,0,0" cornerradius="0"/>)",
        R"(<Rectangle pos="5,5" size="10,10" linecolor="0,0,0" linewidth="1" fillcolor="2,2" cornerradius="0"/>)",
        R"(<Ellipse pos="5,5" size="10,10" linecolor="0,0,0" linewidth="1"/>)",
        R"(<Ellipse pos="5,5" size="10,10" linecolor="0,0,0" linewidth="1" fillcolor="1,2,3,4"/>)",
        R"(<Line pos="5,5" size="10,10" linewidth="1"/>)",
        R"(<Line pos="5,5" size="10,10" linecolor="0,0,0"/>)",
        R"(<Line pos="5,0" size="10,10" linecolor="0,0,0" linewidth="1"/>)",
        R"(<Line pos="5,5" size="10,10" linecolor="" linewidth="1"/>)",
    };
    for (const char* element : broken) {
        EXPECT_TRUE(s.Load(element));
        EXPECT_EQ(s.Count(), 0) << element;
    }
}

TEST_F(ShapeTest, CopiesKeepEveryShapeSetting)
{
    ASSERT_TRUE(s.Load(std::string(Line) + Rectangle + Ellipse));
    const Lines original = s.WrittenLines();
    s.form.Duplicate(s.At(0));  // moved, direction kept, still flat
    s.form.Add(s.At(1)->Clone());
    s.form.Add(s.At(2)->Clone());
    EXPECT_EQ(s.WrittenLines(),
              (Lines{original[0], original[1], original[2],
                     R"(<Line pos="60,70" size="80,0" linecolor="0,0,0" linewidth="3.0" quadrant="2"/>)", original[1],
                     original[2]}));
}

TEST_F(ShapeTest, EachShapeOffersItsOwnItemsAndMergedOnesMarkDifferences)
{
    ASSERT_TRUE(s.Load(std::string(Rectangle) + Ellipse + Line));
    s.At(0)->AddProperties(m_grid, false);
    EXPECT_EQ(AppearanceTitles(),
              (std::vector<std::string>{langStr("T_PROP_LINEWIDTH"), langStr("T_PROP_LINECOLOR"),
                                        langStr("T_PROP_FILLCOLOR"), langStr("T_PROP_CORNERRADIUS")}));
    EXPECT_EQ(ValueOf(4600), PropertyValue(2.5));
    EXPECT_EQ(ValueOf(4601), PropertyValue(std::string("255,0,0")));
    EXPECT_EQ(ValueOf(4602), PropertyValue(std::string("0,128,255")));
    EXPECT_EQ(ValueOf(4603), PropertyValue(10.0));
    // A line merged in keeps the rectangle's fill; its other values differ.
    s.At(2)->AddProperties(m_grid, false);
    EXPECT_EQ(ValueOf(4600), PropertyValue(-1.0));
    EXPECT_EQ(ValueOf(4601), PropertyValue(std::string()));
    EXPECT_EQ(ValueOf(4602), PropertyValue(std::string("0,128,255")));

    for (int i : {1, 2}) {  // an ellipse has no corner radius, a line no fill either
        m_grid.RemoveAll();
        s.At(i)->AddProperties(m_grid, false);
        EXPECT_EQ(AppearanceTitles().size(), 4u - i);
    }
}
