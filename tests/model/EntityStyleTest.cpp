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

std::vector<std::string> Names(const CEntityStyleContainer& styles)
{
    std::vector<std::string> names;
    styles.GetNames(names);
    return names;
}

}  // namespace

TEST(Styles, OrdinalOrderFirstOfANameWinsAndInvalidOnesAreDropped)
{
    CEntityStyleContainer styles;
    styles.Add(std::make_unique<CEntityStyle>("b", "Arial", 9, false, false, "0,0,0"));
    styles.Add(std::make_unique<CEntityStyle>("A", "Arial", 9, false, false, "0,0,0"));
    CEntityStyle* kept = styles.Add(std::make_unique<CEntityStyle>("b", "Tahoma", 20, true, true, "1,1,1"));
    EXPECT_EQ(kept->GetFont(), "Arial");
    EXPECT_EQ(Names(styles), (std::vector<std::string>{"A", "b"}));
    const std::string xml = WriteStyles(styles);
    EXPECT_LT(xml.find("name=\"A\""), xml.find("name=\"b\"")) << xml;
    styles.Remove("A");
    styles.Remove("missing");
    EXPECT_EQ(styles.GetCount(), 1);
    EXPECT_EQ(styles.Find("B"), nullptr);  // names are exact

    CEntityStyleContainer read;
    ReadStyles(read, R"(<Styles>
        <Style name="tiny" font="Arial" size="4"/>
        <Style name="small" font="Arial" size="5" bold="TRUE" col="1,2,3"/>
        <Style name="nofont" size="9"/>
        <Style font="Arial" size="9"/>
        <Other name="x" font="Arial" size="9"/>
        <Style name="small" font="Tahoma" size="30"/>
        <Style name="a,b" font="Liberation Serif" size="10" italic="true" bold="true"/>
    </Styles>)");
    EXPECT_EQ(Names(read), (std::vector<std::string>{"a||b", "small"}));
    EXPECT_EQ(WriteStyles(read),
              "<Styles>\n"
              "  <Style name=\"a,b\" font=\"Liberation Serif\" size=\"10\" bold=\"true\" italic=\"true\" "
              "col=\"0,0,0\"/>\n"
              "  <Style name=\"small\" font=\"Arial\" size=\"5\" bold=\"false\" italic=\"false\" col=\"1,2,3\"/>\n"
              "</Styles>\n");
    CEntityStyleContainer again;  // what was written reads back to the same
    ReadStyles(again, WriteStyles(read));
    EXPECT_EQ(WriteStyles(again), WriteStyles(read));
}
