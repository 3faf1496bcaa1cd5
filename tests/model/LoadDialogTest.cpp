#include "support/FormSnippet.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

class DialogReading : public ::testing::Test {
protected:
    DialogReading() { s.form.SetObjectClass("PUMP"); }

    // Reads a whole "Dialog" element into the form.
    bool LoadDialog(const std::string& xml)
    {
        EXPECT_TRUE(s.doc.parse(xml)) << s.doc.errorText();
        s.form.SetXmlElement(s.doc.root());
        return s.form.LoadDialog();
    }

    test::FormSnippet s{test::RegisterTestElements};
    CDiagramEntityContainer& form = s.form;
};

}  // namespace

TEST_F(DialogReading, ReadsTheFormsOwnAttributesAndNeedsItsParts)
{
    ASSERT_TRUE(LoadDialog(R"(<Dialog title="EDIT_PUMP" size="700,600" sizeable="true" nobuttons="True"
                                      help="pump.htm" uuid="1234"><Controls/></Dialog>)"));
    EXPECT_EQ(form.GetTitle(), "EDIT_PUMP");
    EXPECT_EQ(form.GetPaper(), (IntSize{700, 600}));
    EXPECT_TRUE(form.IsSizeable());
    EXPECT_FALSE(form.HasNoButtons()) << "only exactly \"true\" is true";
    EXPECT_EQ(form.GetHelp(), "pump.htm");
    EXPECT_EQ(form.GetUuid(), "1234");
    EXPECT_FALSE(form.IsModified());

    EXPECT_FALSE(LoadDialog(R"(<Dialog size="700,600"><Controls/></Dialog>)"));
    EXPECT_FALSE(LoadDialog(R"(<Dialog title="t" size="700"><Controls/></Dialog>)"));
    EXPECT_FALSE(LoadDialog(R"(<Dialog title="t"><Controls/></Dialog>)"));
    // What was read before the missing part stays.
    EXPECT_FALSE(LoadDialog(R"(<Dialog title="kept" size="640,480"><Other/></Dialog>)"));
    EXPECT_EQ(form.GetTitle(), "kept");
    EXPECT_EQ(form.GetPaper(), (IntSize{640, 480}));
}

TEST_F(DialogReading, UnknownAndBrokenChildrenAreSkipped)
{
    ASSERT_TRUE(s.Load(R"(<Text title="first" pos="10,10" size="50,20"/>
        <Button pos="10,40" size="50,20"/>
        <text title="lower case" pos="10,70" size="50,20"/>
        <Text title="no position" size="50,20"/>
        <Text title="last" pos="10,100" size="50,20" style="s2"/>)"));
    ASSERT_EQ(form.GetCount(), 2);
    EXPECT_EQ(form.GetAt(0)->GetTitle(), "first");
    EXPECT_EQ(form.GetAt(1)->GetTitle(), "last");
    EXPECT_EQ(form.GetAt(1)->GetStyle(), s.styles.Find("s2"));
}

TEST_F(DialogReading, FieldsBringTheirCaptionsObjectClassAndTabOrderAndAreWrittenLast)
{
    ASSERT_TRUE(s.Load(R"(<Property name="ARTNO" pos="120,10" size="100,20" labelPos="10,10" tabOrder="0"/>
        <Property name="NAME" pos="120,40" size="100,20" tabOrder="5"/>)"));
    ASSERT_EQ(form.GetCount(), 3);
    EXPECT_EQ(form.GetAt(0)->GetDependent(), form.GetAt(1));
    EXPECT_TRUE(form.GetAt(1)->IsDependentPart());
    EXPECT_EQ(form.GetAt(1)->GetParent(), &form);
    EXPECT_EQ(form.GetAt(0)->GetObjectClass(), "PUMP");
    EXPECT_EQ(form.GetNextTabIndex(false), 6);

    // Without a tab order fields are numbered in file order.
    ASSERT_TRUE(s.Load(R"(<Property name="B" pos="120,40" size="100,20"/>
        <Text title="x" pos="10,10" size="50,20"/>
        <Property name="A" pos="120,10" size="100,20"/>)"));
    EXPECT_EQ(form.GetAt(0)->GetTabIndex(), 0);
    EXPECT_EQ(form.GetAt(1)->GetTabIndex(), -1);
    EXPECT_EQ(form.GetAt(2)->GetTabIndex(), 1);
    EXPECT_EQ(form.GetNextTabIndex(false), 2);

    ASSERT_TRUE(s.Load(R"(<Text title="T" pos="10,10" size="50,20"/>
        <Property name="P1" pos="120,40" size="100,20" labelPos="10,40" tabOrder="1"/>
        <Text title="L" pos="10,70" size="50,20"/>
        <Property name="P0" pos="120,10" size="100,20" tabOrder="0"/>)"));
    // The caption is written by its field, not as an element of its own.
    EXPECT_EQ(s.WrittenLines(),
              (std::vector<std::string>{
                  R"(<Text title="T" pos="10,10" size="50,20"/>)", R"(<Text title="L" pos="10,70" size="50,20"/>)",
                  R"(<Property name="P0" pos="120,10" size="100,20" tabOrder="0"/>)",
                  R"(<Property name="P1" pos="120,40" size="100,20" labelPos="10,40" tabOrder="1"/>)"}));
}
