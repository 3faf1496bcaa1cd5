#include "model/EntityStyle.h"
#include "services/Xml.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

std::string WriteStyles(CEntityStyleContainer& styles)
{
    XmlWriter writer;
    styles.SetXmlWriter(&writer);
    styles.WriteXml();
    return writer.text();
}

void ReadStyles(CEntityStyleContainer& styles, const std::string& xml)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.parse(xml)) << doc.errorText();
    styles.SetXmlElement(doc.getChild("Styles"));
    EXPECT_TRUE(styles.LoadXml());
    styles.SetXmlElement(nullptr);
}

}  // namespace

TEST(StyleList, DefaultsAreWrittenInNameOrder)
{
    CEntityStyleContainer styles;
    styles.CreateDefaults();
    std::vector<std::string> names;
    styles.GetNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"s1", "s2", "s3", "s4"}));
    const CEntityStyle* s1 = styles.Find("s1");
    ASSERT_NE(s1, nullptr);
    EXPECT_EQ(s1->GetFont(), "Arial");
    EXPECT_EQ(s1->GetSize(), 12);
    EXPECT_TRUE(s1->IsBold());
    EXPECT_EQ(s1->GetColor(), "255,0,0");

    std::string xml = WriteStyles(styles);
    EXPECT_LT(xml.find("\"s1\""), xml.find("\"s2\""));
    EXPECT_LT(xml.find("\"s3\""), xml.find("\"s4\""));
    EXPECT_NE(xml.find(R"(<Style name="s4" font="Calibri" size="9" bold="false" italic="false" col="0,0,0"/>)"),
              std::string::npos)
        << xml;
}

TEST(StyleList, OrdinalOrderAndFirstOfANameWins)
{
    CEntityStyleContainer styles;
    styles.Add(std::make_unique<CEntityStyle>("b", "Arial", 9, false, false, "0,0,0"));
    styles.Add(std::make_unique<CEntityStyle>("A", "Arial", 9, false, false, "0,0,0"));
    CEntityStyle* kept = styles.Add(std::make_unique<CEntityStyle>("b", "Tahoma", 20, true, true, "1,1,1"));
    EXPECT_EQ(kept->GetFont(), "Arial");
    std::vector<std::string> names;
    styles.GetNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"A", "b"}));

    styles.Remove("A");
    styles.Remove("missing");
    EXPECT_EQ(styles.GetCount(), 1);
    EXPECT_EQ(styles.Find("a"), nullptr);  // names are exact
}

TEST(StyleReading, InvalidStylesAreDropped)
{
    CEntityStyleContainer styles;
    ReadStyles(styles, R"(<Styles>
        <Style name="tiny" font="Arial" size="4"/>
        <Style name="small" font="Arial" size="5" bold="TRUE" col="1,2,3"/>
        <Style name="nofont" size="9"/>
        <Style font="Arial" size="9"/>
        <Other name="x" font="Arial" size="9"/>
        <Style name="small" font="Tahoma" size="30"/>
        <Style name="a,b" font="Verdana" size="10" italic="true"/>
    </Styles>)");

    std::vector<std::string> names;
    styles.GetNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"a||b", "small"}));
    const CEntityStyle* small = styles.Find("small");
    EXPECT_EQ(small->GetFont(), "Arial");
    EXPECT_FALSE(small->IsBold());
    EXPECT_FALSE(small->IsItalic());
    EXPECT_EQ(small->GetColor(), "1,2,3");
    EXPECT_TRUE(styles.Find("a||b")->IsItalic());
    EXPECT_EQ(styles.Find("a||b")->GetColor(), "0,0,0");
}

TEST(StyleReading, RoundTripKeepsEverySetting)
{
    CEntityStyleContainer styles;
    ReadStyles(styles,
               R"(<Styles><Style name="x,y" font="Liberation Serif" size="14" bold="true" col="9,8,7"/></Styles>)");
    std::string xml = WriteStyles(styles);
    EXPECT_NE(
        xml.find(R"(<Style name="x,y" font="Liberation Serif" size="14" bold="true" italic="false" col="9,8,7"/>)"),
        std::string::npos)
        << xml;

    CEntityStyleContainer again;
    ReadStyles(again, xml);
    EXPECT_EQ(WriteStyles(again), xml);
}
