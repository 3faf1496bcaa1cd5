#include "controls/DiagramLinked.h"

#include "controls/StandardControls.h"
#include "model/PropertyGrid.h"
#include "services/LanguageTable.h"
#include "support/FormSnippet.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

using Lines = std::vector<std::string>;

const char* const FullField =
    R"(<Property name="ARTNO" pos="120,10" size="100,20" labelPos="10,12" labelSize="90,18" mandatory="yes" )"
    R"(readOnly="true" mandatoryDefobj="yes" multiline="yes" style="s2" validationRule="A,B" )"
    R"(validationMessage="M" tabOrder="3" sizing="5,6" moving="7,8" labelSizing="10,20" labelMoving="30,40"/>)";

// A form of the demo model's PUMP class.
class FieldTest : public ::testing::Test {
protected:
    FieldTest() { s.form.SetObjectClass("PUMP"); }
    CDiagramEntity& At(int index) { return *s.At(index); }

    // One element written on its own.
    static std::string WriteOne(CDiagramEntity& element)
    {
        XmlWriter writer;
        element.SetXmlWriter(&writer);
        element.WriteXml();
        element.SetXmlWriter(nullptr);
        return writer.text();
    }

    test::DemoModel m_model;
    test::FormSnippet s{RegisterStandardControls};
};

}  // namespace

TEST_F(FieldTest, ReadsFieldAndCaptionAndWritesThemInFileOrder)
{
    ASSERT_TRUE(s.Load(FullField));
    ASSERT_EQ(s.Count(), 2);
    CDiagramEntity& field = At(0);
    CDiagramEntity& label = At(1);
    EXPECT_EQ(field.GetTitle(), "Article number");
    EXPECT_EQ(field.GetValidationRule(), "A||B");
    EXPECT_EQ(s.form.GetNextTabIndex(false), 4);
    EXPECT_EQ(field.GetDependent(), &label);
    EXPECT_TRUE(label.IsDependentPart());
    EXPECT_EQ(label.GetString(), "static:10.000000,12.000000,100.000000,30.000000,Article number,ARTNO,0;");
    EXPECT_EQ(label.GetStyle(), s.styles.Find("s2"));
    EXPECT_EQ(label.GetMoving(), (IntPoint{30, 40}));

    EXPECT_EQ(s.WrittenLines(), Lines{FullField});
    EXPECT_EQ(field.GetValidationRule(), "A||B") << "the pane goes on showing the rule in memory form";
    EXPECT_EQ(WriteOne(label), "") << "the caption is written by its field only";
}

TEST_F(FieldTest, CaptionGeometryUnusableFieldsAndTruthWords)
{
    ASSERT_TRUE(s.Load(R"(<Property name="A" pos="120,10" size="100,20" labelPos="10,20"/>
        <Property name="B" pos="120,40" size="100,20" labelPos="10,50" labelSize="0,20"/>
        <Property name="C" pos="120,70" size="100,20" labelPos="10,80" labelSize="30"/>
        <Property name="D" pos="120,100" size="100,20" labelPos="10" labelSize="30,20"/>
        <Property name="E" pos="120,130" size="100,20" labelPos="x,5.5" labelSize="20,10"/>
        <Property name="NOPE" pos="120,160" size="100,20" style="s2" labelSize="90,18" labelSizing="10,20"/>)"));
    ASSERT_EQ(s.Count(), 10) << "D and NOPE have no caption";
    // A caption without a usable size sits at the origin with no extent.
    for (int i : {1, 3, 5})
        EXPECT_EQ(At(i).GetRect(), (IntRect{0, 0, 0, 0})) << At(i).GetName();
    EXPECT_EQ(At(6).GetName(), "D");
    EXPECT_EQ(At(6).GetDependent(), nullptr);
    ASSERT_EQ(At(7).GetDependent(), &At(8));
    EXPECT_EQ(At(8).GetString(), "static:0.000000,5.500000,20.000000,15.500000,,E,0;");
    // An unknown property has an empty title; without a caption no caption
    // settings are written, but the field's style is, as it is read.
    EXPECT_EQ(At(9).GetTitle(), "");
    EXPECT_EQ(At(9).GetStyle(), s.styles.Find("s2"));
    EXPECT_EQ(s.WrittenLines().back(),
              R"(<Property name="NOPE" pos="120,160" size="100,20" style="s2" tabOrder="5"/>)");

    ASSERT_TRUE(s.Load(R"(<Property pos="120,10" size="100,20" labelPos="10,10" labelSize="90,20"/>
        <Property name="NOPOS" size="100,20"/>
        <Property name="ZERO" pos="0,10" size="100,20"/>
        <Property name="FAR" pos="120,10" size="100,20" labelPos="-32768,10" labelSize="90,20"/>
        <Property name="HUGE" pos="120,10" size="100,20" labelPos="10,10" labelSize="90,2e9"/>
        <Property name="OK" pos="120,40" size="100,20" readOnly="yes" mandatory="true" multiline="Yes"
                  mandatoryDefobj="true"/>)"));
    ASSERT_EQ(s.Count(), 1);
    EXPECT_EQ(At(0).GetName(), "OK");
    EXPECT_FALSE(At(0).IsReadOnly() || At(0).IsMandatory() || At(0).IsMultiline() || At(0).IsMandatoryDefobj());

    // An absent attribute leaves the flag as it was; any other word clears it.
    ASSERT_TRUE(s.doc.parse(R"(<Property name="A" pos="10,10" size="10,10" readOnly="false"/>)"));
    CDiagramLinked field;
    field.SetMandatory(true);
    field.SetReadOnly(true);
    field.SetXmlElement(s.doc.root());
    ASSERT_TRUE(field.LoadXml());
    EXPECT_TRUE(field.IsMandatory());
    EXPECT_FALSE(field.IsReadOnly());
}

TEST_F(FieldTest, ValidationRuleFormsCaptionLayoutAndTabOrder)
{
    ASSERT_TRUE(s.Load(R"(<Property name="A" pos="120,10" size="100,20" validationMessage="M"/>
        <Property name="B" pos="120,40" size="100,20" validationRule="" validationMessage="M"/>
        <Property name="C" pos="120,70" size="100,20" validationRule="x,,y"/>
        <Property name="D" pos="120,100" size="100,20" labelPos="10,10" labelSize="90,20"
                  labelSizing="50,101" labelMoving="0,100"/>)"));
    // A message needs a rule; the file separates the rule's parts with commas, memory with "||".
    EXPECT_EQ(At(0).GetValidationMessage(), "");
    EXPECT_EQ(At(1).GetValidationMessage(), "");
    EXPECT_EQ(At(2).GetValidationRule(), "x||||y");
    // Caption layout takes percentages only: the sizing is dropped.
    EXPECT_EQ(s.WrittenLines(),
              (Lines{R"(<Property name="A" pos="120,10" size="100,20" tabOrder="0"/>)",
                     R"(<Property name="B" pos="120,40" size="100,20" tabOrder="1"/>)",
                     R"(<Property name="C" pos="120,70" size="100,20" validationRule="x,,y" tabOrder="2"/>)",
                     R"(<Property name="D" pos="120,100" size="100,20" labelPos="10,10" labelSize="90,20" )"
                     R"(tabOrder="3" labelMoving="0,100"/>)"}));

    CDiagramLinked fresh;
    fresh.SetName("ARTNO");
    fresh.SetRect(10.7, 20.2, 110.9, 40.5);
    EXPECT_EQ(WriteOne(fresh), "<Property name=\"ARTNO\" pos=\"10,20\" size=\"100,20\" tabOrder=\"-1\"/>\n");
}

TEST_F(FieldTest, CloneBringsACopyOfTheCaptionWhichIsDroppedOutsideTheForm)
{
    ASSERT_TRUE(s.Load(FullField));
    CDiagramEntity& original = At(0);
    std::unique_ptr<CDiagramEntity> clone = original.Clone();
    EXPECT_EQ(clone->GetObjectClass(), "PUMP");
    CDiagramEntity* labelCopy = clone->GetDependent();
    ASSERT_NE(labelCopy, nullptr);
    EXPECT_NE(labelCopy, original.GetDependent());
    EXPECT_TRUE(labelCopy->IsDependentPart());
    // A standalone clone writes all it copied, the caption it owns included.
    clone->SetParent(nullptr);
    EXPECT_EQ(WriteOne(*clone), std::string(FullField) + "\n");
    clone->SetTabIndex(4);

    std::unique_ptr<CDiagramEntity> taken = clone->ReleaseDependent();
    EXPECT_EQ(taken.get(), labelCopy);
    EXPECT_EQ(clone->GetDependent(), labelCopy) << "the field still refers to the caption it handed over";
    EXPECT_EQ(clone->ReleaseDependent(), nullptr);

    // Added without its caption, the clone stands in a form that lacks it.
    CDiagramEntity* added = clone.get();
    s.form.Add(std::move(clone));
    const Lines lines = s.WrittenLines();
    EXPECT_EQ(added->GetDependent(), nullptr);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].find("label"), std::string::npos) << lines[1];
    // A caption the designer deleted is gone from the file too; the field's style stays.
    s.form.Remove(original.GetDependent());
    EXPECT_EQ(original.GetDependent(), nullptr);
    EXPECT_EQ(s.Write().find("labelPos"), std::string::npos);
    EXPECT_NE(s.WrittenLines()[0].find(R"(style="s2")"), std::string::npos) << s.WrittenLines()[0];
}

TEST_F(FieldTest, FieldAndCaptionShareOneStyleTitleAndName)
{
    // The file keeps one of each for the pair; whichever is set, both take it.
    ASSERT_TRUE(s.Load(FullField));
    CDiagramEntity& field = At(0);
    CDiagramEntity& caption = At(1);
    caption.SetStyleName("s1");
    EXPECT_EQ(field.GetStyle(), s.styles.Find("s1"));
    field.SetStyle(nullptr);
    EXPECT_EQ(caption.GetStyle(), nullptr);
    field.SetName("SPEED");
    field.SetTitle("Speed");
    EXPECT_EQ(caption.GetName(), "SPEED");
    EXPECT_EQ(caption.GetTitle(), "Speed");
}

TEST_F(FieldTest, PropertiesOfOneFieldAndMergedOverSeveral)
{
    ASSERT_TRUE(s.Load(FullField));
    PropertyGrid grid;
    At(0).AddProperties(grid, false);
    std::vector<int> ids;  // appearance, behaviour and validation groups, then the common ones
    for (int i = 0; i < 3; ++i)
        ids.push_back(grid.GetProperty(i)->GetId());
    for (int i = 0; i < grid.GetProperty(0)->GetSubItemCount(); ++i)
        ids.push_back(grid.GetProperty(0)->GetSubItem(i)->GetId());
    EXPECT_EQ(ids, (std::vector<int>{3903, 3905, 3904, 4000, 4001, 4301, 4302, 4303, 4306}));
    EXPECT_EQ(grid.FindItem(4000)->GetValue(), PropertyValue(std::string("Article number")));
    EXPECT_TRUE(grid.FindItem(4000)->IsReadOnly() && grid.FindItem(4001)->IsReadOnly());
    EXPECT_EQ(grid.FindItem(4301)->GetValue(), PropertyValue(true));
    EXPECT_EQ(grid.FindItem(4301)->GetEditor(), PropertyEditor::CheckBox);
    EXPECT_EQ(grid.FindItem(4012)->GetValue(), PropertyValue(std::int32_t{3}));
    EXPECT_EQ(grid.FindItem(4012)->GetEditor(), PropertyEditor::Spin);
    EXPECT_EQ(grid.FindItem(4304)->GetValue(), PropertyValue(std::string("A||B")));

    ASSERT_TRUE(s.Load(R"(
        <Property name="ARTNO" pos="120,10" size="100,20" readOnly="true" mandatory="yes" tabOrder="0"
                  validationRule="A" validationMessage="M"/>
        <Property name="OBJ_ID" pos="120,40" size="100,20" mandatory="yes" tabOrder="1"
                  validationRule="B" validationMessage="M"/>)"));
    PropertyGrid merged;
    At(0).AddProperties(merged, false);
    At(1).AddProperties(merged, false);
    EXPECT_EQ(merged.FindItem(4001)->GetText(), "[...]");
    EXPECT_EQ(merged.FindItem(4301)->GetValue(), PropertyValue(false));
    EXPECT_EQ(merged.FindItem(4301)->GetDescription(), langStr("MSG_MULTIPLE_BOOLVALUES"));
    EXPECT_EQ(merged.FindItem(4302)->GetValue(), PropertyValue(true));
    EXPECT_EQ(merged.FindItem(4302)->GetDescription(), langStr("H_PROP_MANDATORY"));
    EXPECT_EQ(merged.FindItem(4304)->GetText(), "[...]");
    // One number cannot be typed for several fields, even an equal one.
    EXPECT_EQ(merged.FindItem(4012)->GetValue(), PropertyValue(std::int32_t{-1}));
    EXPECT_TRUE(merged.FindItem(4012)->IsReadOnly());
    PropertyGrid same;
    At(0).AddProperties(same, false);
    At(0).AddProperties(same, false);
    EXPECT_EQ(same.FindItem(4012)->GetValue(), PropertyValue(std::int32_t{0}));
    EXPECT_TRUE(same.FindItem(4012)->IsReadOnly());
}
