#include "controls/DiagramEdit.h"
#include "model/PropertyGrid.h"
#include "services/Xml.h"

#include <gtest/gtest.h>

using namespace fw;

// The plain edit box looks like a field in the pane but keeps none of its settings.
TEST(EditBox, OffersTheFieldRowsWithoutKeepingThem)
{
    CDiagramEdit edit;
    EXPECT_EQ(edit.GetType(), "editbox");
    EXPECT_EQ(edit.GetName(), "editbox");
    EXPECT_EQ(edit.GetTitle(), "Edit");
    EXPECT_FALSE(edit.TakesPartInTabOrder());
    edit.SetReadOnly(true);
    edit.SetMandatory(true);
    edit.SetValidationRule("A||B");
    EXPECT_FALSE(edit.IsReadOnly());
    EXPECT_FALSE(edit.IsMandatory());
    EXPECT_EQ(edit.GetValidationRule(), "");

    std::unique_ptr<CDiagramEntity> clone = edit.Clone();
    EXPECT_EQ(clone->GetType(), "editbox");
    PropertyGrid grid;
    clone->AddProperties(grid, false);
    PropertyItem* appearance = grid.FindItem(3903);
    ASSERT_NE(appearance, nullptr);
    ASSERT_EQ(appearance->GetSubItemCount(), 6);
    EXPECT_TRUE(grid.FindItem(4000)->IsReadOnly());
    EXPECT_EQ(grid.FindItem(4301)->GetValue(), PropertyValue(false));
    EXPECT_EQ(grid.FindItem(4301)->GetEditor(), PropertyEditor::CheckBox);
    EXPECT_EQ(grid.FindItem(4012), nullptr) << "no tab order";
    EXPECT_EQ(grid.FindItem(4304), nullptr) << "no validation";
    EXPECT_NE(grid.FindItem(4004), nullptr);

    XmlWriter writer;
    clone->SetXmlWriter(&writer);
    clone->WriteXml();
    EXPECT_EQ(writer.text(), "") << "no file element reads an edit box";
}
