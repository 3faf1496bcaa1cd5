#include "controls/DiagramLinked.h"
#include "controls/DiagramStatic.h"
#include "model/DiagramEntityContainer.h"
#include "model/ElementFactory.h"
#include "model/EntityStyle.h"
#include "model/PropertyGrid.h"
#include "services/LanguageTable.h"
#include "services/ObjectModel.h"
#include "services/Xml.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

// A form bound to the demo model's PUMP class, reading and writing through
// the real Text and Property controls.
class PropertyFieldFile : public ::testing::Test {
protected:
    PropertyFieldFile()
    {
        ClassFactory::SetModelFile(std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/model/demo-model.xml");
        ClassFactory::FreeObjectModel();
        m_factory.Register("Text", [] { return std::make_unique<CDiagramStatic>(); });
        m_factory.Register("Property", [] { return std::make_unique<CDiagramLinked>(); });
        m_styles.CreateDefaults();
        m_form.SetElementFactory(&m_factory);
        m_form.SetStyleContainer(&m_styles);
        m_form.SetObjectClass("PUMP");
    }

    ~PropertyFieldFile() override
    {
        ClassFactory::FreeObjectModel();
        ClassFactory::SetModelFile("");
    }

    // Reads the controls into the form (any earlier content is dropped).
    bool Load(const std::string& controls) { return LoadControls("<Controls>" + controls + "</Controls>"); }

    bool LoadControls(const std::string& controlsElement)
    {
        m_form.RemoveAll();
        std::string xml = R"(<Dialog title="t" size="700,600">)" + controlsElement + "</Dialog>";
        EXPECT_TRUE(m_doc.parse(xml)) << m_doc.errorText();
        m_form.SetXmlElement(m_doc.root());
        return m_form.LoadDialog();
    }

    // The controls element as written.
    std::string Write()
    {
        XmlWriter writer;
        m_form.SetXmlWriter(&writer);
        m_form.WriteControls();
        m_form.SetXmlWriter(nullptr);
        return writer.text();
    }

    CDiagramLinked* Field(int index) { return static_cast<CDiagramLinked*>(m_form.GetAt(index)); }

    ElementFactory m_factory;
    CEntityStyleContainer m_styles;
    CDiagramEntityContainer m_form;
    XmlDocument m_doc;
};

std::string WriteOne(CDiagramEntity& element)
{
    XmlWriter writer;
    element.SetXmlWriter(&writer);
    element.WriteXml();
    element.SetXmlWriter(nullptr);
    return writer.text();
}

const char* const FullField =
    R"(<Property name="ARTNO" pos="120,10" size="100,20" labelPos="10,12" labelSize="90,18" mandatory="yes" )"
    R"(readOnly="true" mandatoryDefobj="yes" multiline="yes" style="s2" validationRule="A,B" )"
    R"(validationMessage="M" tabOrder="3" sizing="5,6" moving="7,8" labelSizing="10,20" labelMoving="30,40"/>)";

}  // namespace

TEST_F(PropertyFieldFile, ReadsFieldAndCaption)
{
    ASSERT_TRUE(Load(FullField));
    ASSERT_EQ(m_form.GetCount(), 2);
    CDiagramLinked* field = Field(0);
    CDiagramEntity* label = m_form.GetAt(1);

    EXPECT_EQ(field->GetName(), "ARTNO");
    EXPECT_EQ(field->GetTitle(), "Article number");
    EXPECT_EQ(field->GetObjectClass(), "PUMP");
    EXPECT_EQ(field->GetRect(), (IntRect{120, 10, 220, 30}));
    EXPECT_TRUE(field->IsMandatory());
    EXPECT_TRUE(field->IsReadOnly());
    EXPECT_TRUE(field->IsMandatoryDefobj());
    EXPECT_TRUE(field->IsMultiline());
    EXPECT_EQ(field->GetStyle(), m_styles.Find("s2"));
    EXPECT_EQ(field->GetValidationRule(), "A||B");
    EXPECT_EQ(field->GetValidationMessage(), "M");
    EXPECT_EQ(field->GetTabIndex(), 3);
    EXPECT_EQ(field->GetSizing(), (IntPoint{5, 6}));
    EXPECT_EQ(field->GetMoving(), (IntPoint{7, 8}));
    EXPECT_FALSE(field->IsDependentPart());
    EXPECT_TRUE(field->TakesPartInTabOrder());

    EXPECT_EQ(field->GetDependent(), label);
    EXPECT_EQ(label->GetType(), "static");
    EXPECT_TRUE(label->IsDependentPart());
    EXPECT_FALSE(label->TakesPartInTabOrder());
    EXPECT_EQ(label->GetParent(), &m_form);
    EXPECT_EQ(label->GetTitle(), "Article number");
    EXPECT_EQ(label->GetName(), "ARTNO");
    EXPECT_EQ(label->GetStyle(), m_styles.Find("s2"));
    EXPECT_EQ(label->GetStyleContainer(), &m_styles);
    EXPECT_EQ(label->GetRect(), (IntRect{10, 12, 100, 30}));
    EXPECT_EQ(label->GetSizing(), (IntPoint{10, 20}));
    EXPECT_EQ(label->GetMoving(), (IntPoint{30, 40}));
    EXPECT_EQ(m_form.GetNextTabIndex(false), 4);
    EXPECT_TRUE(m_form.ContainsProperty("artno"));
}

TEST_F(PropertyFieldFile, WritesAttributesInFileOrder)
{
    ASSERT_TRUE(Load(FullField));
    CDiagramLinked* field = Field(0);
    EXPECT_EQ(Write(), std::string("<Controls>\n  ") + FullField + "\n</Controls>\n");
    // The pane goes on showing the rule in memory form after a save.
    EXPECT_EQ(field->GetValidationRule(), "A||B");
}

TEST_F(PropertyFieldFile, FieldWithoutCaptionWritesNoCaptionAttributes)
{
    ASSERT_TRUE(Load(R"(<Property name="ARTNO" pos="120,10" size="100,20" style="s2" tabOrder="0"
                                  labelSize="90,18" labelSizing="10,20" labelMoving="30,40"/>)"));
    ASSERT_EQ(m_form.GetCount(), 1);
    EXPECT_EQ(Field(0)->GetDependent(), nullptr);
    EXPECT_EQ(Field(0)->GetStyle(), m_styles.Find("s2"));
    // The style belongs to the caption in the file, so none is written here.
    EXPECT_EQ(Write(), "<Controls>\n  <Property name=\"ARTNO\" pos=\"120,10\" size=\"100,20\" tabOrder=\"0\"/>\n"
                       "</Controls>\n");
}

TEST_F(PropertyFieldFile, CaptionWithoutUsableSizeSitsAtTheOrigin)
{
    ASSERT_TRUE(Load(R"(
        <Property name="A" pos="120,10" size="100,20" labelPos="10,20"/>
        <Property name="B" pos="120,40" size="100,20" labelPos="10,50" labelSize="0,20"/>
        <Property name="C" pos="120,70" size="100,20" labelPos="10,80" labelSize="30"/>
        <Property name="D" pos="120,100" size="100,20" labelPos="10" labelSize="30,20"/>
        <Property name="E" pos="120,130" size="100,20" labelPos="x,5.5" labelSize="20,10"/>)"));
    ASSERT_EQ(m_form.GetCount(), 9) << "D has no caption";
    EXPECT_EQ(m_form.GetAt(1)->GetRect(), (IntRect{0, 0, 0, 0}));
    EXPECT_EQ(m_form.GetAt(3)->GetRect(), (IntRect{0, 0, 0, 0}));
    EXPECT_EQ(m_form.GetAt(5)->GetRect(), (IntRect{0, 0, 0, 0}));
    EXPECT_EQ(m_form.GetAt(6)->GetName(), "D");
    EXPECT_EQ(m_form.GetAt(6)->GetDependent(), nullptr);
    CDiagramEntity* e = m_form.GetAt(7)->GetDependent();
    EXPECT_EQ(e, m_form.GetAt(8));
    ASSERT_NE(e, nullptr);
    EXPECT_DOUBLE_EQ(e->GetLeft(), 0.0);
    EXPECT_DOUBLE_EQ(e->GetTop(), 5.5);
    EXPECT_DOUBLE_EQ(e->GetRight(), 20.0);
    EXPECT_DOUBLE_EQ(e->GetBottom(), 15.5);
}

TEST_F(PropertyFieldFile, UnusableFieldsAreLeftOut)
{
    ASSERT_TRUE(Load(R"(
        <Property pos="120,10" size="100,20" labelPos="10,10" labelSize="90,20"/>
        <Property name="NOPOS" size="100,20"/>
        <Property name="ZERO" pos="0,10" size="100,20"/>
        <Property name="OK" pos="120,40" size="100,20"/>)"));
    ASSERT_EQ(m_form.GetCount(), 1);
    EXPECT_EQ(m_form.GetAt(0)->GetName(), "OK");

    // A file check can tell why.
    ASSERT_TRUE(m_doc.parse(R"(<Property pos="10,10" size="10,10"/>)"));
    CDiagramLinked field;
    field.SetXmlElement(m_doc.root());
    EXPECT_FALSE(field.LoadXml());
    EXPECT_NE(field.GetLoadProblem().find("name"), std::string::npos) << field.GetLoadProblem();
}

TEST_F(PropertyFieldFile, UnknownPropertyGivesAnEmptyTitle)
{
    ASSERT_TRUE(Load(R"(<Property name="NOPE" pos="120,10" size="100,20" labelPos="10,10" labelSize="90,20"/>)"));
    EXPECT_EQ(Field(0)->GetName(), "NOPE");
    EXPECT_EQ(Field(0)->GetTitle(), "");
    EXPECT_EQ(m_form.GetAt(1)->GetTitle(), "");
    EXPECT_EQ(m_form.GetAt(1)->GetName(), "NOPE");
}

TEST_F(PropertyFieldFile, ValidationMessageNeedsARule)
{
    ASSERT_TRUE(Load(R"(
        <Property name="A" pos="120,10" size="100,20" validationMessage="M"/>
        <Property name="B" pos="120,40" size="100,20" validationRule="" validationMessage="M"/>
        <Property name="C" pos="120,70" size="100,20" validationRule="x,,y"/>)"));
    EXPECT_EQ(Field(0)->GetValidationMessage(), "");
    EXPECT_EQ(Field(1)->GetValidationRule(), "");
    EXPECT_EQ(Field(1)->GetValidationMessage(), "");
    EXPECT_EQ(Field(2)->GetValidationRule(), "x||||y");
    std::string xml = Write();
    EXPECT_EQ(xml.find("validationMessage"), std::string::npos) << xml;
    EXPECT_NE(xml.find(R"(validationRule="x,,y" tabOrder="2")"), std::string::npos) << xml;
}

TEST_F(PropertyFieldFile, CaptionLayoutAcceptsPercentagesOnly)
{
    ASSERT_TRUE(Load(R"(<Property name="A" pos="120,10" size="100,20" labelPos="10,10" labelSize="90,20"
                                  labelSizing="50,101" labelMoving="0,100"/>)"));
    CDiagramEntity* label = m_form.GetAt(1);
    EXPECT_EQ(label->GetSizing(), (IntPoint{0, 0}));
    EXPECT_EQ(label->GetMoving(), (IntPoint{0, 100}));
    std::string xml = Write();
    EXPECT_EQ(xml.find("labelSizing"), std::string::npos) << xml;
    EXPECT_NE(xml.find(R"(tabOrder="0" labelMoving="0,100"/>)"), std::string::npos) << xml;
}

TEST_F(PropertyFieldFile, ReadWriteReadGivesTheSameFile)
{
    ASSERT_TRUE(Load(std::string(R"(<Text pos="300,10" size="80,20" style="s1">TXT_GENERAL_DATA</Text>)") + FullField +
                     R"(<Property name="OBJ_ID" pos="120,40" size="100,20" labelPos="10,40" labelSize="90,20"
                                  style="s4" readOnly="true" tabOrder="1" moving="0,50"/>)"));
    std::string first = Write();
    ASSERT_TRUE(LoadControls(first));
    std::string second = Write();
    EXPECT_EQ(first, second);
    EXPECT_EQ(m_form.GetCount(), 5);
    // Fields come last, in tab order, each caption only inside its field.
    EXPECT_LT(first.find("<Text"), first.find("OBJ_ID"));
    EXPECT_LT(first.find("OBJ_ID"), first.find("ARTNO"));
    EXPECT_EQ(first.find("<Text", first.find("<Text") + 1), std::string::npos) << first;
}

TEST_F(PropertyFieldFile, CaptionIsNeverWrittenOnItsOwn)
{
    ASSERT_TRUE(Load(FullField));
    CDiagramEntity* label = m_form.GetAt(1);
    EXPECT_EQ(WriteOne(*label), "");
}

TEST_F(PropertyFieldFile, FlagsReadOnlyTheirOwnTruthWord)
{
    ASSERT_TRUE(Load(R"(<Property name="A" pos="120,10" size="100,20" readOnly="yes" mandatory="true"
                                  multiline="Yes" mandatoryDefobj="true"/>)"));
    EXPECT_FALSE(Field(0)->IsReadOnly());
    EXPECT_FALSE(Field(0)->IsMandatory());
    EXPECT_FALSE(Field(0)->IsMultiline());
    EXPECT_FALSE(Field(0)->IsMandatoryDefobj());

    // An absent attribute leaves the flag as it was; any other word clears it.
    ASSERT_TRUE(m_doc.parse(R"(<Property name="A" pos="10,10" size="10,10" readOnly="false"/>)"));
    CDiagramLinked field;
    field.SetMandatory(true);
    field.SetReadOnly(true);
    field.SetXmlElement(m_doc.root());
    ASSERT_TRUE(field.LoadXml());
    EXPECT_TRUE(field.IsMandatory());
    EXPECT_FALSE(field.IsReadOnly());
}

TEST_F(PropertyFieldFile, NewFieldWritesItsTabOrderEvenWhenNone)
{
    CDiagramLinked field;
    EXPECT_EQ(field.GetType(), "editbox");
    EXPECT_EQ(field.GetTitle(), "Edit");
    EXPECT_EQ(field.GetTabIndex(), -1);
    field.SetName("ARTNO");
    field.SetRect(10.7, 20.2, 110.9, 40.5);
    EXPECT_EQ(WriteOne(field), "<Property name=\"ARTNO\" pos=\"10,20\" size=\"100,20\" tabOrder=\"-1\"/>\n");
}

TEST_F(PropertyFieldFile, CloneBringsACopyOfTheCaption)
{
    ASSERT_TRUE(Load(FullField));
    CDiagramLinked* field = Field(0);
    std::unique_ptr<CDiagramEntity> clone = field->Clone();

    EXPECT_EQ(clone->GetName(), "ARTNO");
    EXPECT_TRUE(clone->IsMandatory());
    EXPECT_TRUE(clone->IsReadOnly());
    EXPECT_TRUE(clone->IsMandatoryDefobj());
    EXPECT_TRUE(clone->IsMultiline());
    EXPECT_EQ(clone->GetObjectClass(), "PUMP");
    EXPECT_EQ(clone->GetValidationRule(), "A||B");
    EXPECT_EQ(clone->GetValidationMessage(), "M");
    EXPECT_EQ(clone->GetTabIndex(), 3);
    EXPECT_TRUE(clone->TakesPartInTabOrder());

    CDiagramEntity* labelCopy = clone->GetDependent();
    ASSERT_NE(labelCopy, nullptr);
    EXPECT_NE(labelCopy, field->GetDependent());
    EXPECT_TRUE(labelCopy->IsDependentPart());
    EXPECT_EQ(labelCopy->GetRect(), (IntRect{10, 12, 100, 30}));
    EXPECT_EQ(labelCopy->GetStyleName(), "s2");

    std::unique_ptr<CDiagramEntity> taken = clone->ReleaseDependent();
    EXPECT_EQ(taken.get(), labelCopy);
    EXPECT_EQ(clone->GetDependent(), labelCopy) << "the field still refers to the caption it handed over";
    EXPECT_EQ(clone->ReleaseDependent(), nullptr);
}

TEST_F(PropertyFieldFile, CaptionOutsideTheFormIsDroppedOnWriting)
{
    ASSERT_TRUE(Load(FullField));
    CDiagramLinked* original = Field(0);
    // A standalone clone still writes the caption it owns.
    std::unique_ptr<CDiagramEntity> clone = original->Clone();
    clone->SetParent(nullptr);
    clone->SetTabIndex(4);
    EXPECT_NE(WriteOne(*clone).find(R"(labelPos="10,12")"), std::string::npos);

    // Added without its caption, the clone stands in a form that lacks it.
    CDiagramEntity* added = clone.get();
    m_form.Add(std::move(clone));
    std::string xml = Write();
    EXPECT_EQ(added->GetDependent(), nullptr);
    const std::size_t second = xml.find("<Property", xml.find("<Property") + 1);
    ASSERT_NE(second, std::string::npos) << xml;
    EXPECT_EQ(xml.find("labelPos", second), std::string::npos) << xml;
    EXPECT_EQ(xml.find("style", second), std::string::npos) << xml;

    // A caption the designer deleted is gone from the file too.
    m_form.Remove(original->GetDependent());
    EXPECT_EQ(original->GetDependent(), nullptr);
    EXPECT_EQ(Write().find("labelPos"), std::string::npos);
}

TEST_F(PropertyFieldFile, PropertiesOfOneField)
{
    ASSERT_TRUE(Load(FullField));
    PropertyGrid grid;
    Field(0)->AddProperties(grid, false);

    ASSERT_GE(grid.GetPropertyCount(), 3);
    EXPECT_EQ(grid.GetProperty(0)->GetId(), 3903);
    EXPECT_EQ(grid.GetProperty(1)->GetId(), 3905);
    EXPECT_EQ(grid.GetProperty(2)->GetId(), 3904);
    EXPECT_EQ(grid.GetProperty(2)->GetTitle(), langStr("FD_PROP_GRP_VALIDATION"));
    ASSERT_NE(grid.FindItem(4004), nullptr) << "the common rows follow";

    PropertyItem* appearance = grid.GetProperty(0);
    ASSERT_EQ(appearance->GetSubItemCount(), 6);
    const int order[] = {4000, 4001, 4301, 4302, 4303, 4306};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(appearance->GetSubItem(i)->GetId(), order[i]);

    EXPECT_EQ(grid.FindItem(4000)->GetValue(), PropertyValue(std::string("Article number")));
    EXPECT_TRUE(grid.FindItem(4000)->IsReadOnly());
    EXPECT_EQ(grid.FindItem(4001)->GetValue(), PropertyValue(std::string("ARTNO")));
    EXPECT_TRUE(grid.FindItem(4001)->IsReadOnly());
    EXPECT_EQ(grid.FindItem(4301)->GetValue(), PropertyValue(true));
    EXPECT_EQ(grid.FindItem(4301)->GetEditor(), PropertyEditor::CheckBox);
    EXPECT_FALSE(grid.FindItem(4301)->IsReadOnly());
    EXPECT_EQ(grid.FindItem(4301)->GetTitle(), langStr("T_PROP_READONLY"));
    EXPECT_EQ(grid.FindItem(4306)->GetEditor(), PropertyEditor::CheckBox);

    PropertyItem* tab = grid.FindItem(4012);
    EXPECT_EQ(tab->GetValue(), PropertyValue(std::int32_t{3}));
    EXPECT_EQ(tab->GetEditor(), PropertyEditor::Spin);
    EXPECT_FALSE(tab->IsReadOnly());

    EXPECT_EQ(grid.FindItem(4304)->GetValue(), PropertyValue(std::string("A||B")));
    EXPECT_EQ(grid.FindItem(4305)->GetValue(), PropertyValue(std::string("M")));
}

TEST_F(PropertyFieldFile, PropertiesMergedOverSeveralFields)
{
    ASSERT_TRUE(Load(R"(
        <Property name="ARTNO" pos="120,10" size="100,20" readOnly="true" mandatory="yes" tabOrder="0"
                  validationRule="A" validationMessage="M"/>
        <Property name="OBJ_ID" pos="120,40" size="100,20" mandatory="yes" tabOrder="1"
                  validationRule="B" validationMessage="M"/>)"));
    PropertyGrid grid;
    Field(0)->AddProperties(grid, false);
    Field(1)->AddProperties(grid, false);

    EXPECT_EQ(grid.FindItem(4001)->GetText(), "[...]");
    EXPECT_EQ(grid.FindItem(4000)->GetText(), "[...]");
    EXPECT_EQ(grid.FindItem(4301)->GetValue(), PropertyValue(false));
    EXPECT_EQ(grid.FindItem(4301)->GetDescription(), langStr("MSG_MULTIPLE_BOOLVALUES"));
    EXPECT_EQ(grid.FindItem(4302)->GetValue(), PropertyValue(true));
    EXPECT_EQ(grid.FindItem(4302)->GetDescription(), langStr("H_PROP_MANDATORY"));
    EXPECT_EQ(grid.FindItem(4304)->GetText(), "[...]");
    EXPECT_EQ(grid.FindItem(4305)->GetText(), "M");

    PropertyItem* tab = grid.FindItem(4012);
    EXPECT_EQ(tab->GetValue(), PropertyValue(std::int32_t{-1}));
    EXPECT_TRUE(tab->IsReadOnly());
    EXPECT_NE(tab->GetEditor(), PropertyEditor::Spin);

    // Equal tab orders still cannot be edited together.
    PropertyGrid same;
    Field(0)->AddProperties(same, false);
    Field(0)->AddProperties(same, false);
    EXPECT_EQ(same.FindItem(4012)->GetValue(), PropertyValue(std::int32_t{0}));
    EXPECT_TRUE(same.FindItem(4012)->IsReadOnly());
    EXPECT_EQ(same.GetPropertyCount(), grid.GetPropertyCount()) << "groups are made once";
}
