#include "model/DiagramEntity.h"
#include "model/DiagramEntityContainer.h"
#include "model/EntityStyle.h"
#include "model/PropertyGrid.h"
#include "render/RecordingDrawContext.h"
#include "services/Xml.h"
#include "support/TestElements.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace fw;
using fw::test::AddText;

TEST(EntityRect, SizeLimitsAndTruncation)
{
    CDiagramEntity e;
    e.SetRect(10, 10, 10, 10);  // the minimum widens degenerate rectangles
    EXPECT_EQ(e.GetRect(), (IntRect{10, 10, 11, 11}));
    e.SetRect(50, 0, 20, 30);  // edges are not normalised: a negative width is widened
    EXPECT_DOUBLE_EQ(e.GetLeft(), 50);
    EXPECT_DOUBLE_EQ(e.GetRight(), 51);

    e.SetConstraints({5, -1}, {40, 30});  // the maximum clamps after the minimum
    e.SetRect(0, 0, 100, 100);
    EXPECT_EQ(e.GetRect(), (IntRect{0, 0, 40, 30}));
    e.SetRect(0, 0, 2, 2);
    EXPECT_EQ(e.GetRect(), (IntRect{0, 0, 5, 2}));

    e.SetConstraints({-1, -1}, {-1, -1});
    e.SetRect(-1.7, 2.9, 10.5, -3.2);  // truncated toward zero
    EXPECT_EQ(e.GetRect(), (IntRect{-1, 2, 10, -3}));
    EXPECT_EQ(e.GetZoomedRect(2.0), (IntRect{-2, 6, 21, -5}));
    e.SetRect(IntRect{30, 40, 10, 20});  // the integer setter normalises first
    EXPECT_EQ(e.GetRect(), (IntRect{10, 20, 30, 40}));
}

TEST(EntityHitTest, HitCodesMarkersAndTheirDrawing)
{
    CDiagramEntity e;
    e.SetRect(100, 100, 200, 150);
    const std::pair<IntPoint, int> hits[] = {
        {{150, 125}, HitCode::Body},        {{100, 100}, HitCode::TopLeft},    {{150, 100}, HitCode::Top},
        {{199, 101}, HitCode::TopRight},    {{100, 150}, HitCode::BottomLeft}, {{150, 152}, HitCode::Bottom},
        {{203, 153}, HitCode::BottomRight}, {{96, 125}, HitCode::Left},        {{200, 125}, HitCode::Right},
        {{300, 300}, HitCode::None},        {{204, 125}, HitCode::None},  // a marker's right edge is exclusive
    };
    for (const auto& [point, code] : hits)
        EXPECT_EQ(e.GetHitCode(point), code) << point.x << "," << point.y;

    e.SetMarkerSize({0, 0});  // markers out of the way
    e.SetRect(100, 100, 200, 103);
    // Height 3 grows by 6 - 3/2 = 5 on each side for the body test.
    EXPECT_EQ(e.GetHitCode({150, 95}), HitCode::Body);
    EXPECT_EQ(e.GetHitCode({150, 94}), HitCode::None);
    EXPECT_EQ(e.GetHitCode({150, 107}), HitCode::Body);
    EXPECT_EQ(e.GetHitCode({150, 108}), HitCode::None);

    e.SetRect(10, 10, 20, 20);  // a one-pixel margin, the argument normalised
    EXPECT_TRUE(e.BodyInRect({30, 30, 20, 20}));
    EXPECT_FALSE(e.BodyInRect({21, 21, 30, 30}));

    e.SetMarkerSize({8, 8});
    const IntRect r{10, 20, 31, 41};  // odd size: halves by integer division
    EXPECT_EQ(e.GetMarkerRect(r, HitCode::Top), (IntRect{16, 16, 24, 24}));
    EXPECT_EQ(e.GetMarkerRect(r, HitCode::Right), (IntRect{27, 26, 35, 34}));
    EXPECT_EQ(e.GetMarkerRect(r, HitCode::Body), IntRect{});
    EXPECT_EQ(e.GetCursor(HitCode::BottomLeft), CursorKind::SizeNESW);

    RecordingDrawContext dc;
    e.SetRect(10, 10, 30, 20);
    e.Draw(dc, 2.0);
    EXPECT_THAT(dc.CallsStartingWith("Rectangle"),
                testing::ElementsAre("Rectangle 20,20,60,40 pen=solid/0/0,0,0 brush=solid/255,255,255"));
    dc.Clear();
    e.Select(true);
    e.Draw(dc, 1.0);
    const auto rects = dc.CallsStartingWith("Rectangle");
    ASSERT_EQ(rects.size(), 9u) << dc.Dump();
    EXPECT_EQ(rects[1].find("Rectangle 6,6,14,14 "), 0u) << rects[1];  // the top-left marker
    EXPECT_NE(rects[1].find("brush=solid/0,0,0"), std::string::npos) << rects[1];
}

// Shapes lie under everything else, whichever way the type is spelt.
TEST(EntityType, ShapesAreKnownWithoutRegardToCase)
{
    for (const char* shape : {"line", "LINE", "Rectangle", "eLLipse",
                              "ellip\xC5\xBF"
                              "e"})
        EXPECT_TRUE(IsShapeType(shape)) << shape;
    for (const char* other : {"lines", "linf", "editbox", "", "rectangl3", "Line ", "ellipsE2"})
        EXPECT_FALSE(IsShapeType(other)) << other;
}

TEST(EntityCommands, GroupSelectionAndListCommands)
{
    CDiagramEntityContainer form;
    CDiagramEntity* a = AddText(form, 0, 0, 10, 10);
    CDiagramEntity* b = AddText(form, 20, 0, 30, 10);
    CDiagramEntity* c = AddText(form, 40, 0, 50, 10);
    a->SetGroup(3);
    b->SetGroup(3);
    c->SetGroup(5);
    a->Select(true);  // sends the group selection to the form
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(c->IsSelected());
    form.UnselectAll();
    // Group select never reports itself handled and selects only the sender's group.
    EXPECT_FALSE(b->DoCommand(ElementCommand::SelectGroup, a, nullptr));
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(c->DoCommand(ElementCommand::SelectGroup, a, nullptr));
    EXPECT_FALSE(c->IsSelected());
    form.UnselectAll();
    c->SetGroup(0);
    c->Select(true);  // group 0 selects nothing else
    EXPECT_EQ(form.GetSelectedCount(), 1);

    // List commands act only when selected.
    EXPECT_FALSE(a->DoCommand(ElementCommand::MoveToEnd, nullptr, nullptr));
    EXPECT_EQ(form.GetAt(0), a);
    EXPECT_TRUE(c->DoCommand(ElementCommand::MoveToStart, nullptr, nullptr));
    EXPECT_EQ(form.GetAt(0), c);
    EXPECT_TRUE(c->DoCommand(ElementCommand::Duplicate, nullptr, nullptr));
    EXPECT_EQ(form.GetCount(), 4);
    EXPECT_FALSE(c->IsSelected());
    EXPECT_TRUE(form.GetAt(3)->IsSelected());  // the copy carries the selection

    // The form stops at the first element that handles a command.
    a->Select(true);
    form.SendCommandToElements(ElementCommand::MoveToEnd, true, nullptr, nullptr);
    EXPECT_EQ(form.GetAt(3), a);
    EXPECT_TRUE(form.GetAt(2)->IsSelected()) << "the copy was not asked";
    form.SendCommandToElements(ElementCommand::Cut, true, nullptr, nullptr);
    EXPECT_EQ(form.GetCount(), 3);
    EXPECT_EQ(form.GetClipboardCount(), 1);
}

TEST(EntityCopy, CopiesStateButNotTheGroup)
{
    CEntityStyleContainer styles;
    styles.CreateDefaults();
    fw::test::TestText source;
    source.SetStyleContainer(&styles);
    source.SetStyleName("s2");
    source.SetRect(5, 6, 55, 26);
    source.SetTitle("Caption");
    source.SetName("label1");
    source.SetGroup(7);
    source.SetTabIndex(4);
    source.SetSizing(10, 20);
    source.SetMoving(30, 40);
    source.SetAttribute("a", "1");

    auto copy = source.Clone();
    EXPECT_EQ(copy->GetString(), "static:5.000000,6.000000,55.000000,26.000000,Caption,label1,0;");
    EXPECT_EQ(copy->GetTabIndex(), 4);
    EXPECT_EQ(copy->GetSizing(), (IntPoint{10, 20}));
    EXPECT_EQ(copy->GetMoving(), (IntPoint{30, 40}));
    EXPECT_EQ(copy->GetAttribute("a"), "1");
    // The copy's style is a private record with the same settings ...
    ASSERT_NE(copy->GetStyle(), nullptr);
    EXPECT_NE(copy->GetStyle(), styles.Find("s2"));
    // ... until the copy joins a form that has that style.
    CDiagramEntityContainer form;
    form.SetStyleContainer(&styles);
    CDiagramEntity* added = copy.get();
    form.Add(std::move(copy));
    EXPECT_EQ(added->GetStyle(), styles.Find("s2"));
}

TEST(ElementXml, PositionSizeDynamicLayoutAndGenericOutput)
{
    XmlDocument doc;
    CDiagramEntity e;
    auto read = [&](const char* xml) {  // e reads from one start tag
        EXPECT_TRUE(doc.parse(xml)) << doc.errorText();
        e.SetXmlElement(doc.root());
    };
    e.SetLeft(3);
    e.SetTop(4);
    for (const char* bad : {R"(<Text pos="0,10"/>)", R"(<Text pos="10,-1"/>)", R"(<Text pos="10"/>)", "<Text/>"}) {
        read(bad);
        EXPECT_FALSE(e.LoadPos()) << bad;
    }
    EXPECT_EQ(e.GetRect(), (IntRect{3, 4, 0, 0}));
    read(R"(<Text pos=" 12abc,7"/>)");
    EXPECT_TRUE(e.LoadPos());
    EXPECT_EQ(e.GetRect(), (IntRect{12, 7, 0, 0}));

    // A size fails only when both extents are empty; loading applies no size limits.
    read(R"(<Text pos="10,10" size="0,20"/>)");
    EXPECT_TRUE(e.LoadGeometry());
    EXPECT_EQ(e.GetRect(), (IntRect{10, 10, 10, 30}));
    for (const char* bad : {R"(<Text pos="10,10" size="0,0"/>)", R"(<Text pos="10,10" size="-3,-4"/>)",
                            R"(<Text pos="10,10" size="5,5,5"/>)"}) {
        read(bad);
        EXPECT_FALSE(e.LoadGeometry()) << bad;
    }
    EXPECT_EQ(e.GetRect(), (IntRect{10, 10, 10, 30}));

    // Dynamic layout takes percentages only; a value out of range is ignored.
    e.SetSizing(1, 2);
    read(R"(<Text sizing="50,101" moving="0,100"/>)");
    EXPECT_TRUE(e.LoadDynamicLayout());
    read(R"(<Text sizing="-1,5" moving="7"/>)");
    EXPECT_TRUE(e.LoadDynamicLayout());
    EXPECT_EQ(e.GetSizing(), (IntPoint{1, 2}));
    EXPECT_EQ(e.GetMoving(), (IntPoint{0, 100}));

    XmlWriter writer;  // and is written only when set
    e.SetXmlWriter(&writer);
    e.SetSizing(0, 0);
    for (int moving : {0, 25}) {
        e.SetMoving(0, moving);
        writer.writeStartElement("A");
        e.WriteDynamicLayout();
        writer.writeEndElement();
    }
    EXPECT_EQ(writer.text(), "<A/>\n<A moving=\"0,25\"/>\n");

    XmlWriter genericWriter;  // generic output only when asked for
    CDiagramEntity field;
    field.SetXmlWriter(&genericWriter);
    field.SetName("ARTNO");
    field.SetRect(10.9, 20, 110.2, 40);
    field.WriteXml();
    EXPECT_EQ(genericWriter.text(), "");
    field.SetGenericXml(true);
    field.WriteXml();
    EXPECT_EQ(genericWriter.text(), "<Property name=\"ARTNO\" pos=\"10,20\" size=\"99,20\"/>\n");
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
    EXPECT_EQ(grid.FindItem(4004)->GetValue(), PropertyValue(-1.0));  // heights differ
    EXPECT_EQ(grid.FindItem(4008)->GetValue(), PropertyValue(std::int32_t{10}));
    EXPECT_EQ(grid.FindItem(4009)->GetValue(), PropertyValue(std::int32_t{-1}));
    EXPECT_FALSE(grid.FindItem(4009)->IsModified()) << "a mixed value is not an edit";
}
