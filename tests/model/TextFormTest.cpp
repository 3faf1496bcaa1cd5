#include "model/DiagramEntity.h"
#include "model/DiagramEntityContainer.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

using namespace fw;

TEST(ElementTextForm, WritesTheBaseLineWithEscapesAndReadsItBack)
{
    CDiagramEntity e;
    e.SetRect(10, 20, 110, 70);
    e.SetTitle("a,b");
    EXPECT_EQ(e.GetString(), "basic:10.000000,20.000000,110.000000,70.000000,a\\commab,,0;");
    e.SetTitle("x:y;z");
    e.SetName("n\r\nm");
    e.SetGroup(12);
    EXPECT_EQ(e.GetBaseString(), "basic:10.000000,20.000000,110.000000,70.000000,x\\colony\\semicolonz,n\\newlinem,12");

    e.SetTitle("a,b: c;\r\nd\\e");
    CDiagramEntity target;
    ASSERT_TRUE(target.FromString(e.GetString()));
    EXPECT_EQ(target.GetString(), e.GetString());
    EXPECT_EQ(target.GetTitle(), "a,b: c;\r\nd\\e");
    EXPECT_EQ(target.GetName(), "n\r\nm");
    EXPECT_EQ(target.GetGroup(), 12);
}

TEST(ElementTextForm, HeaderAndFieldCounts)
{
    CDiagramEntity source;
    source.SetRect(1, 2, 3, 4);
    fw::test::TestText text;
    EXPECT_FALSE(text.FromString(source.GetString()));
    EXPECT_EQ(text.GetRect(), IntRect{});
    // No colon at all, or a second one, gives no header.
    std::string line = "basic 1,2,3,4,t,n,0;";
    EXPECT_EQ(source.GetHeaderFromString(line), "");
    EXPECT_EQ(line, "basic 1,2,3,4,t,n,0;");
    line = "  basic :  1,2,3,4,t,n,0; ";
    EXPECT_EQ(source.GetHeaderFromString(line), "basic");
    EXPECT_EQ(line, "1,2,3,4,t,n,0;");

    CDiagramEntity e;
    e.SetRect(5, 5, 15, 15);
    e.SetTitle("keep");
    for (std::string bad : {"1,2,3,4,t,n;", ""})
        EXPECT_FALSE(e.ParseBaseString(bad)) << bad;
    EXPECT_EQ(e.GetTitle(), "keep");
    EXPECT_EQ(e.GetRect(), (IntRect{5, 5, 15, 15}));

    std::string nine = "1,2,30,40,t,n,7,extra,more;";
    ASSERT_TRUE(e.ParseBaseString(nine));
    EXPECT_EQ(nine, "extra,more");
    EXPECT_EQ(e.GetGroup(), 7);
    EXPECT_EQ(e.GetRect(), (IntRect{1, 2, 30, 40}));
    // Numbers that are not numbers read as 0, and the size limits apply.
    std::string junk = "x,y,z,w,t,n,q";
    ASSERT_TRUE(e.ParseBaseString(junk));
    EXPECT_EQ(e.GetRect(), (IntRect{0, 0, 1, 1}));
    EXPECT_EQ(e.GetGroup(), 0);
}

TEST(FormTextForm, PaperLine)
{
    CDiagramEntityContainer form;
    EXPECT_TRUE(form.FromString("paper:700,600;"));
    EXPECT_EQ(form.GetString(), "paper:700,600;");
    for (const char* bad : {"papr:1,2;", "paper:800;", "paper:1,2,3;", "paper:"})
        EXPECT_FALSE(form.FromString(bad)) << bad;
    EXPECT_EQ(form.GetPaper(), (IntSize{700, 600}));
}
