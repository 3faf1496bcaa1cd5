#include "model/DiagramEntity.h"
#include "model/DiagramEntityContainer.h"
#include "model/EntityStyle.h"
#include "model/PropertyGrid.h"
#include "render/RecordingDrawContext.h"
#include "services/Xml.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

using namespace fw;
using fw::test::TestText;

namespace {

// An element read from one XML start tag, e.g. <Text pos="1,2"/>.
class ElementReading : public ::testing::Test {
protected:
    const XmlElement* Parse(const std::string& xml)
    {
        EXPECT_TRUE(m_doc.parse(xml)) << m_doc.errorText();
        return m_doc.root();
    }
    XmlDocument m_doc;
    CDiagramEntity m_element;
};

}  // namespace

TEST(EntityRect, MinimumSizeWidensDegenerateRectangles)
{
    CDiagramEntity e;
    e.SetRect(10, 10, 10, 10);
    EXPECT_DOUBLE_EQ(e.GetRight(), 11);
    EXPECT_DOUBLE_EQ(e.GetBottom(), 11);

    // Edges are not normalised: a negative width is simply widened to the minimum.
    e.SetRect(50, 0, 20, 30);
    EXPECT_DOUBLE_EQ(e.GetLeft(), 50);
    EXPECT_DOUBLE_EQ(e.GetRight(), 51);
}

TEST(EntityRect, MaximumSizeClampsAfterTheMinimum)
{
    CDiagramEntity e;
    e.SetConstraints({5, -1}, {40, 30});
    e.SetRect(0, 0, 100, 100);
    EXPECT_EQ(e.GetRect(), (IntRect{0, 0, 40, 30}));
    e.SetRect(0, 0, 2, 2);
    EXPECT_EQ(e.GetRect(), (IntRect{0, 0, 5, 2}));
}

TEST(EntityRect, IntegerRectanglesTruncateTowardZero)
{
    CDiagramEntity e;
    e.SetConstraints({-1, -1}, {-1, -1});
    e.SetRect(-1.7, 2.9, 10.5, -3.2);
    EXPECT_EQ(e.GetRect(), (IntRect{-1, 2, 10, -3}));
    EXPECT_EQ(e.GetZoomedRect(2.0), (IntRect{-2, 6, 21, -5}));

    // The integer setter normalises first.
    e.SetRect(IntRect{30, 40, 10, 20});
    EXPECT_EQ(e.GetRect(), (IntRect{10, 20, 30, 40}));
}

TEST(EntityHitTest, MarkersWinOverTheBody)
{
    CDiagramEntity e;
    e.SetRect(100, 100, 200, 150);
    EXPECT_EQ(e.GetHitCode({150, 125}), HitCode::Body);
    EXPECT_EQ(e.GetHitCode({100, 100}), HitCode::TopLeft);
    EXPECT_EQ(e.GetHitCode({150, 100}), HitCode::Top);
    EXPECT_EQ(e.GetHitCode({199, 101}), HitCode::TopRight);
    EXPECT_EQ(e.GetHitCode({100, 150}), HitCode::BottomLeft);
    EXPECT_EQ(e.GetHitCode({150, 152}), HitCode::Bottom);
    EXPECT_EQ(e.GetHitCode({203, 153}), HitCode::BottomRight);
    EXPECT_EQ(e.GetHitCode({96, 125}), HitCode::Left);
    EXPECT_EQ(e.GetHitCode({200, 125}), HitCode::Right);
    EXPECT_EQ(e.GetHitCode({300, 300}), HitCode::None);
    // Right and bottom edges of a marker are exclusive.
    EXPECT_EQ(e.GetHitCode({204, 125}), HitCode::None);
}

TEST(EntityHitTest, ThinElementsAreGrownForTheBodyTest)
{
    CDiagramEntity e;
    e.SetMarkerSize({0, 0});  // markers out of the way
    e.SetRect(100, 100, 200, 103);
    // Height 3 grows by 6 - 3/2 = 5 on each side.
    EXPECT_EQ(e.GetHitCode({150, 95}), HitCode::Body);
    EXPECT_EQ(e.GetHitCode({150, 94}), HitCode::None);
    EXPECT_EQ(e.GetHitCode({150, 107}), HitCode::Body);
    EXPECT_EQ(e.GetHitCode({150, 108}), HitCode::None);
}

TEST(EntityHitTest, MarkerRectanglesAndCursors)
{
    CDiagramEntity e;
    IntRect r{10, 20, 31, 41};  // odd size: halves by integer division
    EXPECT_EQ(e.GetMarkerRect(r, HitCode::Top), (IntRect{16, 16, 24, 24}));
    EXPECT_EQ(e.GetMarkerRect(r, HitCode::Right), (IntRect{27, 26, 35, 34}));
    EXPECT_EQ(e.GetMarkerRect(r, HitCode::Body), IntRect{});
    EXPECT_EQ(e.GetCursor(HitCode::TopLeft), CursorKind::SizeNWSE);
    EXPECT_EQ(e.GetCursor(HitCode::BottomLeft), CursorKind::SizeNESW);
    EXPECT_EQ(e.GetCursor(HitCode::Left), CursorKind::SizeWE);
    EXPECT_EQ(e.GetCursor(HitCode::Bottom), CursorKind::SizeNS);
    EXPECT_EQ(e.GetCursor(HitCode::Body), CursorKind::SizeAll);
    EXPECT_EQ(e.GetCursor(HitCode::None), CursorKind::None);
}

TEST(EntityHitTest, BodyInRectCountsAOnePixelMargin)
{
    CDiagramEntity e;
    e.SetRect(10, 10, 20, 20);
    EXPECT_TRUE(e.BodyInRect({20, 20, 30, 30}));
    EXPECT_TRUE(e.BodyInRect({30, 30, 20, 20}));  // the argument is normalised
    EXPECT_FALSE(e.BodyInRect({21, 21, 30, 30}));
}

TEST(EntitySelection, SelectingAGroupMemberSelectsTheGroup)
{
    CDiagramEntityContainer form;
    TestText* a = fw::test::AddText(form, 0, 0, 10, 10);
    TestText* b = fw::test::AddText(form, 20, 0, 30, 10);
    TestText* c = fw::test::AddText(form, 40, 0, 50, 10);
    TestText* loose = fw::test::AddText(form, 60, 0, 70, 10);
    a->SetGroup(3);
    b->SetGroup(3);
    c->SetGroup(5);

    a->Select(true);
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(c->IsSelected());
    EXPECT_FALSE(loose->IsSelected());

    form.UnselectAll();
    loose->Select(true);  // group 0 selects nothing else
    EXPECT_EQ(form.GetSelectedCount(), 1);
}

TEST(EntityCommands, ListCommandsActOnlyWhenSelected)
{
    CDiagramEntityContainer form;
    TestText* a = fw::test::AddText(form, 0, 0, 10, 10);
    TestText* b = fw::test::AddText(form, 20, 0, 30, 10);

    EXPECT_FALSE(a->DoCommand(ElementCommand::MoveToEnd, nullptr, nullptr));
    EXPECT_EQ(form.GetAt(0), a);

    a->Select(true);
    EXPECT_TRUE(a->DoCommand(ElementCommand::MoveToEnd, nullptr, nullptr));
    EXPECT_EQ(form.GetAt(0), b);
    EXPECT_EQ(form.GetAt(1), a);

    EXPECT_TRUE(a->DoCommand(ElementCommand::Duplicate, nullptr, nullptr));
    EXPECT_EQ(form.GetCount(), 3);
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(form.GetAt(2)->IsSelected());  // the copy carries the selection

    // Group select never reports itself handled.
    b->SetGroup(4);
    a->SetGroup(4);
    EXPECT_FALSE(a->DoCommand(ElementCommand::SelectGroup, b, nullptr));
    EXPECT_TRUE(a->IsSelected());
}

TEST(EntityCopy, CopiesStateButNotTheGroup)
{
    CEntityStyleContainer styles;
    styles.CreateDefaults();
    TestText source;
    source.SetStyleContainer(&styles);
    source.SetStyleName("s2");
    source.SetRect(5, 6, 55, 26);
    source.SetTitle("Caption");
    source.SetName("label1");
    source.SetGroup(7);
    source.SetTabIndex(4);
    source.SetSizing(10, 20);
    source.SetMoving(30, 40);
    source.SetAttribute("b", "2");
    source.SetAttribute("a", "1");

    auto copy = source.Clone();
    EXPECT_EQ(copy->GetType(), "static");
    EXPECT_EQ(copy->GetRect(), (IntRect{5, 6, 55, 26}));
    EXPECT_EQ(copy->GetTitle(), "Caption");
    EXPECT_EQ(copy->GetName(), "label1");
    EXPECT_EQ(copy->GetGroup(), 0);
    EXPECT_EQ(copy->GetTabIndex(), 4);
    EXPECT_EQ(copy->GetSizing(), (IntPoint{10, 20}));
    EXPECT_EQ(copy->GetMoving(), (IntPoint{30, 40}));
    EXPECT_EQ(copy->GetAttributes().begin()->first, "a");
    EXPECT_EQ(copy->GetAttribute("b"), "2");

    // The copy's style is a private record with the same settings ...
    ASSERT_NE(copy->GetStyle(), nullptr);
    EXPECT_NE(copy->GetStyle(), styles.Find("s2"));
    EXPECT_EQ(copy->GetStyleName(), "s2");
    EXPECT_EQ(copy->GetStyle()->GetFont(), "Tahoma");
    // ... until the copy joins a form that has that style.
    CDiagramEntityContainer form;
    form.SetStyleContainer(&styles);
    CDiagramEntity* added = copy.get();
    form.Add(std::move(copy));
    EXPECT_EQ(added->GetStyle(), styles.Find("s2"));
}

TEST(EntityStyleReference, UnknownNamesLeaveNoStyle)
{
    CEntityStyleContainer styles;
    styles.CreateDefaults();
    CDiagramEntity e;
    e.SetStyleName("s1");
    EXPECT_EQ(e.GetStyle(), nullptr) << "no style list yet";
    e.SetStyleContainer(&styles);
    e.SetStyleName("s1");
    EXPECT_EQ(e.GetStyle(), styles.Find("s1"));
    e.SetStyleName("S1");
    EXPECT_EQ(e.GetStyle(), nullptr);
    EXPECT_EQ(e.GetStyleName(), "");
}

TEST_F(ElementReading, PositionNeedsTwoPositiveFields)
{
    m_element.SetLeft(3);
    m_element.SetTop(4);
    m_element.SetXmlElement(Parse(R"(<Text pos="0,10"/>)"));
    EXPECT_FALSE(m_element.LoadPos());
    m_element.SetXmlElement(Parse(R"(<Text pos="10"/>)"));
    EXPECT_FALSE(m_element.LoadPos());
    m_element.SetXmlElement(Parse(R"(<Text/>)"));
    EXPECT_FALSE(m_element.LoadPos());
    EXPECT_DOUBLE_EQ(m_element.GetLeft(), 3);
    EXPECT_DOUBLE_EQ(m_element.GetTop(), 4);

    m_element.SetXmlElement(Parse(R"(<Text pos=" 12abc,7"/>)"));
    EXPECT_TRUE(m_element.LoadPos());
    EXPECT_DOUBLE_EQ(m_element.GetLeft(), 12);
    EXPECT_DOUBLE_EQ(m_element.GetTop(), 7);
}

TEST_F(ElementReading, SizeFailsOnlyWhenBothExtentsAreEmpty)
{
    m_element.SetXmlElement(Parse(R"(<Text pos="10,10" size="0,20"/>)"));
    EXPECT_TRUE(m_element.LoadGeometry());
    EXPECT_EQ(m_element.GetRect(), (IntRect{10, 10, 10, 30}));  // no size limits when loading

    m_element.SetXmlElement(Parse(R"(<Text pos="10,10" size="0,0"/>)"));
    EXPECT_FALSE(m_element.LoadGeometry());
    m_element.SetXmlElement(Parse(R"(<Text pos="10,10" size="-3,-4"/>)"));
    EXPECT_FALSE(m_element.LoadGeometry());
    m_element.SetXmlElement(Parse(R"(<Text pos="10,10" size="5,5,5"/>)"));
    EXPECT_FALSE(m_element.LoadGeometry());
    EXPECT_EQ(m_element.GetRect(), (IntRect{10, 10, 10, 30}));
}

TEST_F(ElementReading, DynamicLayoutAcceptsOnlyPercentages)
{
    m_element.SetSizing(1, 2);
    m_element.SetXmlElement(Parse(R"(<Text sizing="50,101" moving="0,100"/>)"));
    EXPECT_TRUE(m_element.LoadDynamicLayout());
    EXPECT_EQ(m_element.GetSizing(), (IntPoint{1, 2}));
    EXPECT_EQ(m_element.GetMoving(), (IntPoint{0, 100}));

    m_element.SetXmlElement(Parse(R"(<Text sizing="-1,5" moving="7"/>)"));
    EXPECT_TRUE(m_element.LoadDynamicLayout());
    EXPECT_EQ(m_element.GetSizing(), (IntPoint{1, 2}));
    EXPECT_EQ(m_element.GetMoving(), (IntPoint{0, 100}));
}

TEST(ElementWriting, DynamicLayoutIsOmittedWhenZero)
{
    XmlWriter writer;
    CDiagramEntity e;
    e.SetXmlWriter(&writer);
    writer.writeStartElement("A");
    e.WriteDynamicLayout();
    writer.writeEndElement();
    e.SetMoving(0, 25);
    writer.writeStartElement("B");
    e.WriteDynamicLayout();
    writer.writeEndElement();

    XmlDocument doc;
    ASSERT_TRUE(doc.parse("<R>" + writer.text() + "</R>")) << writer.text();
    const XmlElement* a = doc.root()->getChild("A");
    const XmlElement* b = doc.root()->getChild("B");
    EXPECT_EQ(a->getAttributeCount(), 0);
    ASSERT_EQ(b->getAttributeCount(), 1);
    EXPECT_EQ(b->getAttributeAt(0)->getName(), "moving");
    EXPECT_EQ(b->getAttributeAt(0)->getAttribValue(), "0,25");
}

TEST(ElementWriting, GenericOutputOnlyWhenAskedFor)
{
    XmlWriter writer;
    CDiagramEntity e;
    e.SetXmlWriter(&writer);
    e.SetName("ARTNO");
    e.SetRect(10.9, 20, 110.2, 40);
    e.WriteXml();
    EXPECT_EQ(writer.text(), "");

    e.SetGenericXml(true);
    e.WriteXml();
    XmlDocument doc;
    ASSERT_TRUE(doc.parse(writer.text()));
    const XmlElement* p = doc.getChild("Property");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(*p->getAttributeValue("name"), "ARTNO");
    EXPECT_EQ(*p->getAttributeValue("pos"), "10,20");
    EXPECT_EQ(*p->getAttributeValue("size"), "99,20");
    EXPECT_EQ(p->getAttributeValue("style"), nullptr);
}

TEST(EntityDrawing, DrawsTheZoomedBodyAndMarkersWhenSelected)
{
    RecordingDrawContext dc;
    CDiagramEntity e;
    e.SetRect(10, 10, 30, 20);
    e.Draw(dc, 2.0);
    EXPECT_DOUBLE_EQ(e.GetZoom(), 2.0);
    auto rects = dc.CallsStartingWith("Rectangle");
    ASSERT_EQ(rects.size(), 1u) << dc.Dump();
    EXPECT_NE(rects[0].find("20,20,60,40"), std::string::npos) << rects[0];
    EXPECT_NE(rects[0].find("brush=solid/255,255,255"), std::string::npos) << rects[0];

    dc.Clear();
    e.Select(true);
    e.Draw(dc, 1.0);
    rects = dc.CallsStartingWith("Rectangle");
    ASSERT_EQ(rects.size(), 9u) << dc.Dump();
    EXPECT_NE(rects[1].find("6,6,14,14"), std::string::npos) << rects[1];  // top-left marker
    EXPECT_NE(rects[1].find("brush=solid/0,0,0"), std::string::npos) << rects[1];

    dc.Clear();
    e.DrawMarkers(dc, 1.0);
    EXPECT_EQ(dc.CallsStartingWith("Rectangle").size(), 8u);
    e.Select(false);
    dc.Clear();
    e.DrawMarkers(dc, 1.0);
    EXPECT_TRUE(dc.Calls().empty()) << dc.Dump();
}

TEST(EntityProperties, MixedValuesShowMinusOne)
{
    CDiagramEntity a;
    CDiagramEntity b;
    a.SetRect(0, 0, 50, 20);
    b.SetRect(0, 0, 50, 30);
    a.SetMoving(10, 0);
    b.SetMoving(10, 5);

    PropertyGrid grid;
    a.AddProperties(grid, false);
    b.AddProperties(grid, false);

    ASSERT_EQ(grid.GetPropertyCount(), 3);  // size, position, dynamic layout
    EXPECT_EQ(grid.GetProperty(0)->GetId(), 3901);
    EXPECT_EQ(grid.FindItem(4004)->GetValue(), PropertyValue(-1.0));  // heights differ
    EXPECT_EQ(grid.FindItem(4005)->GetValue(), PropertyValue(50.0));
    EXPECT_EQ(grid.FindItem(4008)->GetValue(), PropertyValue(std::int32_t{10}));
    EXPECT_EQ(grid.FindItem(4009)->GetValue(), PropertyValue(std::int32_t{-1}));
    EXPECT_FALSE(grid.FindItem(4009)->IsModified()) << "a mixed value is not an edit";
    EXPECT_EQ(grid.FindItem(4004)->GetTitle(), "Height");
}

TEST(EntityProperties, ImageButtonsHaveNoSizingRows)
{
    CDiagramEntity e;
    e.SetType("ImageButton");
    PropertyGrid grid;
    e.AddProperties(grid, false);
    EXPECT_NE(grid.FindItem(4008), nullptr);
    EXPECT_EQ(grid.FindItem(4010), nullptr);
    EXPECT_EQ(grid.FindItem(4011), nullptr);
}
