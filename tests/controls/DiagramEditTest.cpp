#include "controls/DiagramEdit.h"
#include "model/PropertyGrid.h"
#include "services/Xml.h"

#include <gtest/gtest.h>

using namespace fw;

// The plain edit box looks like a field in the pane but keeps none of its settings.
TEST(EditBox, OffersTheFieldRowsWithoutKeepingThem)
{
    CDiagramEdit edit;
    edit.SetReadOnly(true);
    edit.SetMandatory(true);
    edit.SetValidationRule("A||B");
    std::unique_ptr<CDiagramEntity> clone = edit.Clone();
    EXPECT_EQ(clone->GetType(), "editbox");
    EXPECT_FALSE(clone->IsReadOnly() || clone->IsMandatory() || clone->TakesPartInTabOrder());
    EXPECT_EQ(clone->GetValidationRule(), "");

    PropertyGrid grid;
    clone->AddProperties(grid, false);
    EXPECT_EQ(grid.FindItem(3903)->GetSubItemCount(), 6);
    EXPECT_EQ(grid.FindItem(4301)->GetValue(), PropertyValue(false));
    EXPECT_EQ(grid.FindItem(4012), nullptr) << "no tab order";
    EXPECT_EQ(grid.FindItem(4304), nullptr) << "no validation";
    XmlWriter writer;
    clone->SetXmlWriter(&writer);
    clone->WriteXml();
    EXPECT_EQ(writer.text(), "") << "no file element reads an edit box";
}
