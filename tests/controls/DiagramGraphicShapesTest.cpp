#include "controls/DiagramGraphicShapes.h"

#include "model/DiagramEntityContainer.h"
#include "model/ElementFactory.h"
#include "model/PropertyGrid.h"
#include "services/LanguageTable.h"
#include "services/Xml.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace fw;

namespace {

using Names = std::vector<std::string>;

class ShapeFile : public ::testing::Test {
protected:
    ShapeFile()
    {
        m_factory.Register("Line", [] { return std::make_unique<CDiagramGraphicLine>(); });
        m_factory.Register("Rectangle", [] { return std::make_unique<CDiagramGraphicRectangle>(); });
        m_factory.Register("Ellipse", [] { return std::make_unique<CDiagramGraphicEllipse>(); });
        m_form.SetElementFactory(&m_factory);
    }

    // Loads the controls into the form (emptied first); answers the number loaded.
    int Load(const std::string& controls) { return LoadControls("<Controls>" + controls + "</Controls>"); }

    int LoadControls(const std::string& controls)
    {
        m_form.RemoveAll();
        EXPECT_TRUE(m_doc.parse("<Dialog title=\"t\" size=\"700,600\">" + controls + "</Dialog>")) << m_doc.errorText();
        m_form.SetXmlElement(m_doc.root());
        EXPECT_TRUE(m_form.LoadDialog());
        return m_form.GetCount();
    }

    CDiagramEntity& At(int index)
    {
        CDiagramEntity* element = m_form.GetAt(index);
        if (!element) {
            ADD_FAILURE() << "no element " << index;
            static CDiagramEntity none;
            return none;
        }
        return *element;
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

const char* const Rectangle =
    R"(<Rectangle pos="10,20" size="100,50" linecolor="255,0,0" linewidth="2.5" fillcolor="0,128,255"
                  cornerradius="10" sizing="0,100" moving="30,0"/>)";
const char* const Ellipse = R"(<Ellipse pos="5,5" size="40,30" linecolor="1,2,3" linewidth="1" fillcolor="-1,-1,-1"/>)";
const char* const Line = R"(<Line pos="50,60" size="80,0" linecolor="0,0,0" linewidth="3" quadrant="2"/>)";

}  // namespace

TEST_F(ShapeFile, NewShapesAreWrittenWithTheirDefaults)
{
    std::unique_ptr<CDiagramEntity> shapes[] = {std::make_unique<CDiagramGraphicLine>(),
                                                std::make_unique<CDiagramGraphicRectangle>(),
                                                std::make_unique<CDiagramGraphicEllipse>()};
    for (auto& shape : shapes) {
        shape->SetRect(10, 10, 50, 30);
        m_form.Add(std::move(shape));
    }
    EXPECT_EQ(At(0).GetName(), "line");
    EXPECT_EQ(At(1).GetType(), "rectangle");
    EXPECT_EQ(At(2).GetTitle(), "Ellipse");

    const XmlElement& line = Written(0);
    EXPECT_EQ(Value(line, "linecolor"), "0,0,0");
    EXPECT_EQ(Value(line, "linewidth"), "1.0");
    EXPECT_EQ(Value(line, "quadrant"), "1");
    const XmlElement& rectangle = Written(1);
    EXPECT_EQ(Value(rectangle, "fillcolor"), "-1,-1,-1");
    EXPECT_EQ(Value(rectangle, "cornerradius"), "0.0");
    EXPECT_EQ(Value(Written(2), "fillcolor"), "-1,-1,-1");
}

TEST_F(ShapeFile, ReadsTheRectangle)
{
    ASSERT_EQ(Load(Rectangle), 1);
    CDiagramEntity& rectangle = At(0);
    EXPECT_EQ(rectangle.GetType(), "rectangle");
    EXPECT_EQ(rectangle.GetRect(), (IntRect{10, 20, 110, 70}));
    EXPECT_EQ(rectangle.GetLineColor(), "255,0,0");
    EXPECT_EQ(rectangle.GetLineWidth(), 2.5);
    EXPECT_EQ(rectangle.GetFillColor(), "0,128,255");
    EXPECT_EQ(rectangle.GetCornerRadius(), 10.0);
    EXPECT_EQ(rectangle.GetSizing(), (IntPoint{0, 100}));
    EXPECT_EQ(rectangle.GetMoving(), (IntPoint{30, 0}));
}

TEST_F(ShapeFile, WritesEachShapesAttributesInOrder)
{
    ASSERT_EQ(Load(std::string(Rectangle) + Ellipse + Line), 3);

    const XmlElement& rectangle = Written(0);
    EXPECT_EQ(rectangle.getElementName(), "Rectangle");
    EXPECT_EQ(NamesOf(rectangle),
              (Names{"pos", "size", "linecolor", "linewidth", "fillcolor", "cornerradius", "sizing", "moving"}));
    EXPECT_EQ(Value(rectangle, "pos"), "10,20");
    EXPECT_EQ(Value(rectangle, "size"), "100,50");
    EXPECT_EQ(Value(rectangle, "linecolor"), "255,0,0");
    EXPECT_EQ(Value(rectangle, "linewidth"), "2.5");
    EXPECT_EQ(Value(rectangle, "fillcolor"), "0,128,255");
    EXPECT_EQ(Value(rectangle, "cornerradius"), "10.0");

    const XmlElement& ellipse = Written(1);
    EXPECT_EQ(ellipse.getElementName(), "Ellipse");
    EXPECT_EQ(NamesOf(ellipse), (Names{"pos", "size", "linecolor", "linewidth", "fillcolor"}));
    EXPECT_EQ(Value(ellipse, "linewidth"), "1.0");
    EXPECT_EQ(Value(ellipse, "fillcolor"), "-1,-1,-1");

    const XmlElement& line = Written(2);
    EXPECT_EQ(line.getElementName(), "Line");
    EXPECT_EQ(NamesOf(line), (Names{"pos", "size", "linecolor", "linewidth", "quadrant"}));
    EXPECT_EQ(Value(line, "size"), "80,0");
    EXPECT_EQ(Value(line, "linewidth"), "3.0");
    EXPECT_EQ(Value(line, "quadrant"), "2");
}

TEST_F(ShapeFile, WritingWhatWasReadGivesTheSameBytes)
{
    ASSERT_EQ(Load(std::string(Rectangle) + Ellipse + Line +
                   R"(<Line pos="1,1" size="0,9" linecolor="9,9,9" linewidth="0.25"/>)"),
              4);
    std::string first = Write();
    ASSERT_EQ(LoadControls(first), 4);
    EXPECT_EQ(Write(), first);
}

TEST_F(ShapeFile, ColoursAreKeptAsWritten)
{
    ASSERT_EQ(Load(R"(<Ellipse pos="5,5" size="40,30" linecolor=" 1, 2 ,3" linewidth="1" fillcolor="255,0,-1"/>)"), 1);
    EXPECT_EQ(At(0).GetLineColor(), " 1, 2 ,3");
    EXPECT_EQ(Value(Written(0), "fillcolor"), "255,0,-1");
}

TEST_F(ShapeFile, ShapesMissingARequiredAttributeAreDropped)
{
    const char* broken[] = {
        R"(<Rectangle size="10,10" linecolor="0,0,0" linewidth="1" fillcolor="0,0,0" cornerradius="0"/>)",
        R"(<Rectangle pos="5,5" linecolor="0,0,0" linewidth="1" fillcolor="0,0,0" cornerradius="0"/>)",
        R"(<Rectangle pos="5,5" size="10,10" linewidth="1" fillcolor="0,0,0" cornerradius="0"/>)",
        R"(<Rectangle pos="5,5" size="10,10" linecolor="0,0,0" fillcolor="0,0,0" cornerradius="0"/>)",
        R"(<Rectangle pos="5,5" size="10,10" linecolor="0,0,0" linewidth="1" cornerradius="0"/>)",
        R"(<Rectangle pos="5,5" size="10,10" linecolor="0,0,0" linewidth="1" fillcolor="0,0,0"/>)",
        R"(<Ellipse pos="5,5" size="10,10" linewidth="1" fillcolor="0,0,0"/>)",
        R"(<Ellipse pos="5,5" size="10,10" linecolor="0,0,0" fillcolor="0,0,0"/>)",
        R"(<Ellipse pos="5,5" size="10,10" linecolor="0,0,0" linewidth="1"/>)",
        R"(<Line pos="5,5" size="10,10" linewidth="1"/>)",
        R"(<Line pos="5,5" size="10,10" linecolor="0,0,0"/>)",
        R"(<Line pos="5,0" size="10,10" linecolor="0,0,0" linewidth="1"/>)",
    };
    for (const char* element : broken) {
        SCOPED_TRACE(element);
        EXPECT_EQ(Load(element), 0);
    }
}

TEST_F(ShapeFile, ColoursNeedExactlyThreeParts)
{
    EXPECT_EQ(Load(R"(<Rectangle pos="5,5" size="10,10" linecolor="0,0" linewidth="1" fillcolor="0,0,0"
                                 cornerradius="0"/>)"),
              0);
    EXPECT_EQ(Load(R"(<Rectangle pos="5,5" size="10,10" linecolor="0,0,0" linewidth="1" fillcolor="255,255"
                                 cornerradius="0"/>)"),
              0);
    EXPECT_EQ(Load(R"(<Ellipse pos="5,5" size="10,10" linecolor="0,0,0" linewidth="1" fillcolor="1,2,3,4"/>)"), 0);
    EXPECT_EQ(Load(R"(<Line pos="5,5" size="10,10" linecolor="" linewidth="1"/>)"), 0);
    // The parts themselves are not checked.
    EXPECT_EQ(Load(R"(<Line pos="5,5" size="10,10" linecolor="a,,c" linewidth="1"/>)"), 1);
}

TEST_F(ShapeFile, LineWithoutQuadrantRunsFromTopLeft)
{
    ASSERT_EQ(Load(R"(<Line pos="5,5" size="10,10" linecolor="0,0,0" linewidth="1"/>
                      <Line pos="5,5" size="10,10" linecolor="0,0,0" linewidth="1" quadrant="7"/>)"),
              2);
    EXPECT_EQ(At(0).GetQuadrant(), 1);
    EXPECT_EQ(At(1).GetQuadrant(), 7);
    EXPECT_EQ(Value(Written(0), "quadrant"), "1");
}

TEST_F(ShapeFile, CopiesKeepEveryShapeSetting)
{
    ASSERT_EQ(Load(std::string(Line) + Rectangle), 2);
    CDiagramEntity* line = m_form.Duplicate(&At(0));
    ASSERT_NE(line, nullptr);
    EXPECT_NE(dynamic_cast<CDiagramGraphicLine*>(line), nullptr);
    EXPECT_EQ(line->GetQuadrant(), 2) << "a copied line keeps its direction";
    EXPECT_EQ(line->GetLineWidth(), 3.0);
    EXPECT_EQ(line->GetRect(), (IntRect{60, 70, 140, 71})) << "the copy is moved and kept at the minimum height";

    std::unique_ptr<CDiagramEntity> rectangle = At(1).Clone();
    EXPECT_NE(dynamic_cast<CDiagramGraphicRectangle*>(rectangle.get()), nullptr);
    EXPECT_EQ(rectangle->GetLineColor(), "255,0,0");
    EXPECT_EQ(rectangle->GetLineWidth(), 2.5);
    EXPECT_EQ(rectangle->GetFillColor(), "0,128,255");
    EXPECT_EQ(rectangle->GetCornerRadius(), 10.0);
    EXPECT_EQ(rectangle->GetSizing(), (IntPoint{0, 100}));

    CDiagramGraphicEllipse ellipse;
    ellipse.SetFillColor("7,8,9");
    ellipse.SetLineColor("1,1,1");
    std::unique_ptr<CDiagramEntity> ellipseCopy = ellipse.Clone();
    EXPECT_EQ(ellipseCopy->GetType(), "ellipse");
    EXPECT_EQ(ellipseCopy->GetFillColor(), "7,8,9");
    EXPECT_EQ(ellipseCopy->GetLineColor(), "1,1,1");
}

// --- Property items ---------------------------------------------------------

class ShapeProperties : public ShapeFile {
protected:
    PropertyValue ValueOf(int id)
    {
        PropertyItem* item = m_grid.FindItem(id);
        if (!item) {
            ADD_FAILURE() << "no item " << id;
            return {};
        }
        return item->GetValue();
    }

    Names TitlesOfAppearance()
    {
        Names titles;
        if (PropertyItem* group = m_grid.FindItem(3903))
            for (int i = 0; i < group->GetSubItemCount(); ++i)
                titles.push_back(group->GetSubItem(i)->GetTitle());
        return titles;
    }

    PropertyGrid m_grid;
};

TEST_F(ShapeProperties, EachShapeOffersItsOwnItems)
{
    ASSERT_EQ(Load(std::string(Rectangle) + Ellipse + Line), 3);

    At(0).AddProperties(m_grid, false);
    EXPECT_EQ(TitlesOfAppearance(), (Names{langStr("T_PROP_LINEWIDTH"), langStr("T_PROP_LINECOLOR"),
                                           langStr("T_PROP_FILLCOLOR"), langStr("T_PROP_CORNERRADIUS")}));
    EXPECT_EQ(ValueOf(4600), PropertyValue(2.5));
    EXPECT_EQ(ValueOf(4601), PropertyValue(std::string("255,0,0")));
    EXPECT_EQ(ValueOf(4602), PropertyValue(std::string("0,128,255")));
    EXPECT_EQ(ValueOf(4603), PropertyValue(10.0));
    EXPECT_EQ(m_grid.FindItem(4600)->GetDescription(), langStr("H_PROP_LINEWIDTH"));
    EXPECT_NE(m_grid.FindItem(4004), nullptr) << "the common items follow";

    m_grid.RemoveAll();
    At(1).AddProperties(m_grid, false);
    EXPECT_EQ(TitlesOfAppearance(),
              (Names{langStr("T_PROP_LINEWIDTH"), langStr("T_PROP_LINECOLOR"), langStr("T_PROP_FILLCOLOR")}));
    EXPECT_EQ(ValueOf(4602), PropertyValue(std::string("-1,-1,-1")));

    m_grid.RemoveAll();
    At(2).AddProperties(m_grid, false);
    EXPECT_EQ(TitlesOfAppearance(), (Names{langStr("T_PROP_LINEWIDTH"), langStr("T_PROP_LINECOLOR")}));
    EXPECT_EQ(ValueOf(4600), PropertyValue(3.0));
}

TEST_F(ShapeProperties, DifferingValuesOfASelectionAreMarked)
{
    ASSERT_EQ(Load(R"(<Rectangle pos="5,5" size="10,10" linecolor="0,0,0" linewidth="1" fillcolor="1,1,1"
                                 cornerradius="4"/>
                      <Rectangle pos="5,50" size="10,10" linecolor="0,0,9" linewidth="2" fillcolor="1,1,1"
                                 cornerradius="4"/>)"),
              2);
    At(0).AddProperties(m_grid, false);
    At(1).AddProperties(m_grid, false);
    EXPECT_EQ(ValueOf(4600), PropertyValue(-1.0));
    EXPECT_EQ(ValueOf(4601), PropertyValue(std::string()));
    EXPECT_EQ(ValueOf(4602), PropertyValue(std::string("1,1,1")));
    EXPECT_EQ(ValueOf(4603), PropertyValue(4.0));
}

TEST_F(ShapeProperties, LineMergedWithRectangleKeepsTheFillItemOfTheRectangle)
{
    ASSERT_EQ(Load(std::string(Rectangle) + Line), 2);
    At(0).AddProperties(m_grid, false);
    At(1).AddProperties(m_grid, false);
    EXPECT_EQ(ValueOf(4600), PropertyValue(-1.0));
    EXPECT_EQ(ValueOf(4602), PropertyValue(std::string("0,128,255")));
}
