#include "panes/ObjectInspectorModel.h"

#include "model/FormDefinitionDocument.h"
#include "services/ObjectModel.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace fw;

namespace {

const std::vector<std::string> PumpEntries = {"Status;STATUS", "Article number;ARTNO",
                                              "nominal diameter;NOMINAL_DIAMETER", "Name;NAME"};

std::vector<std::string> Names(const ObjectInspectorModel& model)
{
    std::vector<std::string> names;
    for (const ObjectInspectorRow& row : model.GetRows())
        names.push_back(row.name);
    return names;
}

bool HasRow(const ObjectInspectorModel& model, const std::string& value)
{
    const std::vector<ObjectInspectorRow>& rows = model.GetRows();
    return std::any_of(rows.begin(), rows.end(), [&](const ObjectInspectorRow& row) { return row.value == value; });
}

// --- caption and rows ----------------------------------------------------------------

TEST(ObjectInspectorRows, SortedReadOnlyRowsFromTheEntries)
{
    ObjectInspectorModel model;
    EXPECT_TRUE(model.SetObjectType("Pump", PumpEntries));
    EXPECT_EQ(model.GetCaption(), "Pump");
    const std::vector<std::string> expected = {"Article number", "Name", "nominal diameter", "Status"};
    EXPECT_EQ(Names(model), expected);
    const ObjectInspectorRow& row = model.GetRows()[2];
    EXPECT_EQ(row.value, "NOMINAL_DIAMETER");
    EXPECT_EQ(row.description, "NOMINAL_DIAMETER");
}

TEST(ObjectInspectorRows, SameTitleChangesNothingAndEmptyTitleKeepsTheCaption)
{
    ObjectInspectorModel model;
    model.SetObjectType("Pump", PumpEntries);
    EXPECT_FALSE(model.SetObjectType("Pump", {"Other;OTHER"}));
    EXPECT_EQ(model.GetRows().size(), 4u);

    EXPECT_TRUE(model.SetObjectType("", {"Other;OTHER"}));
    EXPECT_EQ(model.GetCaption(), "Pump");
    ASSERT_EQ(model.GetRows().size(), 1u);
    EXPECT_EQ(model.GetRows()[0].value, "OTHER");

    model.Clear();
    EXPECT_EQ(model.GetCaption(), "");
    EXPECT_TRUE(model.GetRows().empty());
}

// --- search --------------------------------------------------------------------------

class ObjectInspectorSearch : public ::testing::Test {
protected:
    ObjectInspectorSearch() { model.SetObjectType("Pump", PumpEntries); }
    ObjectInspectorModel model;  // rows: Article number, Name, nominal diameter, Status
};

TEST_F(ObjectInspectorSearch, FilterListsTheMatchingRowsInOrderAndClearingListsAll)
{
    model.SetFilter("AM");  // "Name" and "diameter" hold it, in any case
    EXPECT_EQ(Names(model), (std::vector<std::string>{"Name", "nominal diameter"}));
    EXPECT_EQ(model.GetDragText(1), "nominal diameter;NOMINAL_DIAMETER");
    model.SetFilter("ART?O");  // wild cards over the internal name
    EXPECT_EQ(Names(model), (std::vector<std::string>{"Article number"}));
    model.SetFilter("pressure");
    EXPECT_TRUE(model.GetRows().empty());
    // New entries pass the same filter.
    model.SetObjectType("Valve", {"Name;NAME", "Pressure stage;PN", "Actuator;ACTUATOR"});
    EXPECT_EQ(Names(model), (std::vector<std::string>{"Pressure stage"}));
    model.SetFilter("");
    EXPECT_EQ(model.GetRows().size(), 3u);
}

TEST_F(ObjectInspectorSearch, RepeatedSearchCyclesThroughTheMatchesAndASoleOneStays)
{
    for (int expected : {0, 1, 0})  // rows: Name, nominal diameter
        EXPECT_EQ(model.Search("n*"), expected);
    EXPECT_EQ(model.GetSelection(), 0);
    EXPECT_EQ(model.GetRows().size(), 2u);

    EXPECT_EQ(model.Search("stat*"), 0);
    EXPECT_EQ(model.Search("stat*"), 0);
    EXPECT_EQ(model.GetRows()[0].name, "Status");
    EXPECT_EQ(model.Search("pressure*"), -1);
    EXPECT_EQ(model.GetSelection(), -1);
}

// --- drag text -----------------------------------------------------------------------

TEST(ObjectInspectorDrag, LocalizedNameSemicolonInternalNameAndNothingMore)
{
    ObjectInspectorModel model;
    model.SetObjectType("Pump", {"Flow rate (m³/h);FLOW_RATE;stray", "Name;NAME"});
    EXPECT_EQ(model.GetDragText(0), "Flow rate (m³/h);FLOW_RATE");
    EXPECT_EQ(model.GetDragText(1), "Name;NAME");
    EXPECT_EQ(model.GetDragText(2), "");
    EXPECT_EQ(model.GetDragText(-1), "");
}

// --- documents -----------------------------------------------------------------------

// Open documents on the shared demo model; each test leaves the plain model behind.
class ObjectInspectorDocuments : public ::testing::Test {
protected:
    ObjectInspectorDocuments()
    {
        ClassFactory::FreeObjectModel();
        Open(pump, "PUMP");
        Open(pumpAgain, "PUMP");
        Open(valve, "VALVE");
    }
    ~ObjectInspectorDocuments() override { ClassFactory::FreeObjectModel(); }

    static void Open(FormDefinitionDocument& document, const std::string& type)
    {
        document.SetObjectClass(type);
        document.RefreshLists(false);
    }
    // What the document does when one of its views becomes active.
    void Activate(FormDefinitionDocument& document)
    {
        model.SetObjectType(GetLocaleObjectType(document.GetObjectClass()), document.GetClassProperties());
    }

    FormDefinitionDocument pump;
    FormDefinitionDocument pumpAgain;
    FormDefinitionDocument valve;
    std::vector<FormDefinitionDocument*> open{&pump, &pumpAgain, &valve};
    ObjectInspectorModel model;
};

TEST_F(ObjectInspectorDocuments, SwitchingBetweenTypesSwitchesCaptionAndList)
{
    Activate(pump);
    EXPECT_EQ(model.GetCaption(), "Pump");
    EXPECT_TRUE(HasRow(model, "PUMP_TYPE"));
    EXPECT_FALSE(HasRow(model, "VALVE_TYPE"));

    Activate(valve);
    EXPECT_EQ(model.GetCaption(), "Valve");
    EXPECT_TRUE(HasRow(model, "VALVE_TYPE"));
    EXPECT_FALSE(HasRow(model, "PUMP_TYPE"));
    EXPECT_EQ(model.GetEntries(), valve.GetClassProperties());
}

TEST_F(ObjectInspectorDocuments, ExtendedToggleAddsTheInternalPropertiesForTheSameType)
{
    Activate(pump);
    const std::size_t plain = model.GetRows().size();
    const std::vector<std::string> valveEntries = valve.GetClassProperties();
    ASSERT_FALSE(HasRow(model, "OBJ_ID"));

    model.ToggleExtended(pump, open);
    EXPECT_EQ(model.GetCaption(), "Pump");
    EXPECT_EQ(model.GetRows().size(), plain + 3);
    for (const char* internal : {"OBJ_ID", "OWNER_OID", "LOCK_STATE"})
        EXPECT_TRUE(HasRow(model, internal)) << internal;

    EXPECT_TRUE(pump.IsExtendedModel());
    EXPECT_TRUE(pumpAgain.IsExtendedModel());
    EXPECT_EQ(pumpAgain.GetClassProperties(), pump.GetClassProperties());
    EXPECT_FALSE(valve.IsExtendedModel());
    EXPECT_EQ(valve.GetClassProperties(), valveEntries);

    // And back again.
    model.ToggleExtended(pump, open);
    EXPECT_FALSE(pump.IsExtendedModel());
    EXPECT_FALSE(pumpAgain.IsExtendedModel());
    EXPECT_EQ(model.GetRows().size(), plain);
    EXPECT_FALSE(HasRow(model, "OBJ_ID"));
    EXPECT_EQ(pumpAgain.GetClassProperties(), pump.GetClassProperties());
}

}  // namespace
