#include "model/DiagramEntityContainer.h"
#include "model/ElementFactory.h"
#include "model/EntityStyle.h"
#include "services/Xml.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

class DialogReading : public ::testing::Test {
protected:
    DialogReading()
    {
        fw::test::RegisterTestElements(m_factory);
        m_styles.CreateDefaults();
        m_form.SetElementFactory(&m_factory);
        m_form.SetStyleContainer(&m_styles);
        m_form.SetObjectClass("PUMP");
    }

    bool Load(const std::string& xml)
    {
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

TEST_F(DialogReading, ReadsTheFormsOwnAttributes)
{
    ASSERT_TRUE(Load(R"(<Dialog title="EDIT_PUMP" size="700,600" sizeable="true" nobuttons="True"
                          help="pump.htm" uuid="1234"><Controls/></Dialog>)"));
    EXPECT_EQ(m_form.GetTitle(), "EDIT_PUMP");
    EXPECT_EQ(m_form.GetPaper(), (IntSize{700, 600}));
    EXPECT_TRUE(m_form.IsSizeable());
    EXPECT_FALSE(m_form.HasNoButtons()) << "only exactly \"true\" is true";
    EXPECT_EQ(m_form.GetHelp(), "pump.htm");
    EXPECT_EQ(m_form.GetUuid(), "1234");
    EXPECT_FALSE(m_form.IsModified());
}

TEST_F(DialogReading, RequiredParts)
{
    EXPECT_FALSE(Load(R"(<Dialog size="700,600"><Controls/></Dialog>)"));
    EXPECT_FALSE(Load(R"(<Dialog title="t" size="700"><Controls/></Dialog>)"));
    EXPECT_FALSE(Load(R"(<Dialog title="t"><Controls/></Dialog>)"));
    // What was read before the missing part stays.
    EXPECT_FALSE(Load(R"(<Dialog title="kept" size="640,480"><Other/></Dialog>)"));
    EXPECT_EQ(m_form.GetTitle(), "kept");
    EXPECT_EQ(m_form.GetPaper(), (IntSize{640, 480}));
}

TEST_F(DialogReading, UnknownAndBrokenChildrenAreSkipped)
{
    ASSERT_TRUE(Load(R"(<Dialog title="t" size="700,600"><Controls>
        <Text title="first" pos="10,10" size="50,20"/>
        <Button pos="10,40" size="50,20"/>
        <text title="lower case" pos="10,70" size="50,20"/>
        <Text title="no position" size="50,20"/>
        <Text title="last" pos="10,100" size="50,20" style="s2"/>
    </Controls></Dialog>)"));
    ASSERT_EQ(m_form.GetCount(), 2);
    EXPECT_EQ(m_form.GetAt(0)->GetTitle(), "first");
    EXPECT_EQ(m_form.GetAt(1)->GetTitle(), "last");
    EXPECT_EQ(m_form.GetAt(1)->GetStyle(), m_styles.Find("s2"));
    EXPECT_EQ(m_form.GetAt(1)->GetParent(), &m_form);
}

TEST_F(DialogReading, FieldsBringTheirCaptionsAndObjectClass)
{
    ASSERT_TRUE(Load(R"(<Dialog title="t" size="700,600"><Controls>
        <Property name="ARTNO" pos="120,10" size="100,20" labelPos="10,10" tabOrder="0"/>
        <Property name="NAME" pos="120,40" size="100,20" tabOrder="5"/>
    </Controls></Dialog>)"));
    ASSERT_EQ(m_form.GetCount(), 3);
    EXPECT_EQ(m_form.GetAt(0)->GetDependent(), m_form.GetAt(1));
    EXPECT_TRUE(m_form.GetAt(1)->IsDependentPart());
    EXPECT_EQ(m_form.GetAt(1)->GetParent(), &m_form);
    EXPECT_EQ(m_form.GetAt(0)->GetObjectClass(), "PUMP");
    EXPECT_EQ(m_form.GetNextTabIndex(false), 6);
}

TEST_F(DialogReading, FieldsWithoutTabOrderAreNumberedInFileOrder)
{
    ASSERT_TRUE(Load(R"(<Dialog title="t" size="700,600"><Controls>
        <Property name="B" pos="120,40" size="100,20"/>
        <Text title="x" pos="10,10" size="50,20"/>
        <Property name="A" pos="120,10" size="100,20"/>
    </Controls></Dialog>)"));
    EXPECT_EQ(m_form.GetAt(0)->GetTabIndex(), 0);
    EXPECT_EQ(m_form.GetAt(1)->GetTabIndex(), -1);
    EXPECT_EQ(m_form.GetAt(2)->GetTabIndex(), 1);
    EXPECT_EQ(m_form.GetNextTabIndex(false), 2);
}

TEST_F(DialogReading, ControlsAreWrittenWithFieldsLastInTabOrder)
{
    ASSERT_TRUE(Load(R"(<Dialog title="t" size="700,600"><Controls>
        <Text title="T" pos="10,10" size="50,20"/>
        <Property name="P1" pos="120,40" size="100,20" labelPos="10,40" tabOrder="1"/>
        <Text title="L" pos="10,70" size="50,20"/>
        <Property name="P0" pos="120,10" size="100,20" tabOrder="0"/>
    </Controls></Dialog>)"));
    std::string xml = Write();

    XmlDocument written;
    ASSERT_TRUE(written.parse(xml)) << xml;
    const XmlElement* controls = written.getChild("Controls");
    ASSERT_NE(controls, nullptr) << xml;
    std::vector<std::string> order;
    for (int i = 0; i < controls->getChildCount(); ++i) {
        const XmlElement* c = controls->getChildAt(i);
        const std::string* key = c->getAttributeValue(c->getElementName() == "Text" ? "title" : "name");
        order.push_back(c->getElementName() + ":" + (key ? *key : ""));
    }
    // The caption is written by its field, not as an element of its own.
    EXPECT_EQ(order, (std::vector<std::string>{"Text:T", "Text:L", "Property:P0", "Property:P1"}));
}
