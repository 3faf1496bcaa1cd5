// The properties pane's rows for the form and the selection, and how an
// edited row reaches the form, its elements and the undo list.

#include "panes/PropertiesPaneModel.h"
#include "model/PropertyIds.h"

#include "controls/DiagramButton.h"
#include "controls/DiagramGraphicShapes.h"
#include "controls/DiagramLinked.h"
#include "controls/DiagramStatic.h"
#include "controls/DiagramTable.h"
#include "controls/StandardControls.h"
#include "editor/DEditor.h"
#include "editor/HeadlessHost.h"
#include "model/DiagramEntityContainer.h"
#include "model/ElementFactory.h"
#include "model/EntityStyle.h"
#include "model/FormDefinitionDocument.h"
#include "render/DrawContext.h"
#include "services/LanguageTable.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

using namespace fw;

namespace {

// A form in a CDEditor on a headless window, reporting to the pane.
class PropertiesPaneTest : public ::testing::Test {
protected:
    PropertiesPaneTest() : m_host({1000, 800})
    {
        m_form.SetPaper({700, 600});
        m_editor.SetPropertiesPane(&m_pane);
        m_editor.Create(&m_host, &m_form);
        m_host.Attach(&m_editor);
        m_editor.NotifySelection();
    }

    template <typename T> T* Put(const std::string& name, double l, double t, double r, double b)
    {
        auto e = std::make_unique<T>();
        e->SetName(name);
        e->SetRect(l, t, r, b);
        T* raw = e.get();
        m_form.Add(std::move(e));
        return raw;
    }

    CDiagramLinked* PutField(const std::string& name, double top, int tabIndex)
    {
        auto label = std::make_unique<CDiagramStatic>();
        label->SetName(name);
        label->SetRect(10, top, 90, top + 20);
        label->SetDependentPart(true);
        auto field = std::make_unique<CDiagramLinked>();
        field->SetName(name);
        field->SetRect(100, top, 200, top + 20);
        field->SetTabIndex(tabIndex);
        field->AdoptLabel(std::move(label));
        return static_cast<CDiagramLinked*>(m_form.AddWithDependent(std::move(field)));
    }

    // Selects exactly these, as a click would, and lets the editor tell the pane.
    void Select(std::initializer_list<CDiagramEntity*> elements)
    {
        m_form.UnselectAll();
        for (CDiagramEntity* e : elements)
            e->Select(true);
        m_editor.NotifySelection();
    }

    const PropertyValue& Row(int id)
    {
        static const PropertyValue none = std::string("<no row>");
        const PropertyItem* item = m_pane.GetGrid().FindItem(id);
        return item ? item->GetValue() : none;
    }

    test::DemoModel m_model;
    HeadlessHost m_host;
    CDiagramEntityContainer m_form;
    PropertiesPaneModel m_pane;
    CDEditor m_editor;  // last: goes first, while form, pane and host still stand
};

using FormRows = PropertiesPaneTest;

TEST_F(FormRows, ShowTheEditorSettingsAndTheFormsOwnValues)
{
    m_editor.ShowGrid(true);
    m_editor.SetGridSize({12, 9});
    m_editor.SetSnapToGrid(true);
    m_editor.ShowMargins(false);
    m_form.SetHelp("Pump data");
    m_form.SetSizeable(true);
    m_form.SetProgIdType("SEF");
    m_editor.NotifySelection();

    ASSERT_EQ(m_pane.GetMode(), PropertiesPaneModel::FormMode);
    const PropertyGrid& grid = m_pane.GetGrid();
    ASSERT_EQ(grid.GetPropertyCount(), 4);
    EXPECT_EQ(grid.GetProperty(0)->GetTitle(), langStr("PROP_GRP_APPEARANCE"));
    EXPECT_EQ(grid.GetProperty(3)->GetTitle(), langStr("PROP_GRP_FRM_TYPE"));
    ASSERT_EQ(grid.GetProperty(0)->GetSubItemCount(), 4);
    EXPECT_EQ(grid.GetProperty(0)->GetSubItem(0)->GetId(), 4416);
    EXPECT_EQ(grid.GetProperty(0)->GetSubItem(0)->GetDescription(), langStr("H_PROP_HELP_FORM"));

    EXPECT_EQ(Row(4416), PropertyValue(std::string("Pump data")));
    EXPECT_EQ(Row(4403), PropertyValue(std::int32_t{600}));
    EXPECT_EQ(Row(4404), PropertyValue(std::int32_t{700}));
    EXPECT_EQ(Row(4415), PropertyValue(true));
    EXPECT_EQ(Row(4405), PropertyValue(true));
    EXPECT_EQ(Row(4406), PropertyValue(std::int32_t{9}));
    EXPECT_EQ(Row(4407), PropertyValue(std::int32_t{12}));
    EXPECT_EQ(Row(4408), PropertyValue(std::int64_t{1}));
    EXPECT_EQ(Row(4409), PropertyValue(false));
    EXPECT_EQ(Row(4414), PropertyValue(std::string("SEF")));
    EXPECT_EQ(grid.FindItem(4414)->GetOptions().size(), 4u);
}

TEST_F(FormRows, WithoutAnEditorOrASelectionTheGridStaysEmptyAndEditsAreIgnored)
{
    PropertiesPaneModel pane;
    pane.ShowFormProperties();
    EXPECT_EQ(pane.GetGrid().GetPropertyCount(), 0);
    EXPECT_FALSE(pane.OnPropertyChanged(4416, std::string("x")));

    auto* t = Put<CDiagramStatic>("T", 10, 10, 60, 30);
    Select({t});
    EXPECT_FALSE(m_pane.OnPropertyChanged(4007, std::string("left"))) << "not the row's kind";
    m_pane.SetSelection(nullptr);
    EXPECT_FALSE(m_pane.OnPropertyChanged(4007, 5.0));
    EXPECT_EQ(t->GetRect(), (IntRect{10, 10, 60, 30}));
}

TEST_F(FormRows, EditsReachTheEditorAndOnlyRealChangesMarkTheForm)
{
    m_form.SetHelp("Same");
    m_form.SetModified(false);
    EXPECT_TRUE(m_pane.OnPropertyChanged(4416, std::string("Same")));
    EXPECT_FALSE(m_form.IsModified());
    EXPECT_TRUE(m_pane.OnPropertyChanged(4415, false));
    EXPECT_FALSE(m_form.IsModified());

    EXPECT_TRUE(m_pane.OnPropertyChanged(4416, std::string("Other")));
    EXPECT_EQ(m_form.GetHelp(), "Other");
    EXPECT_TRUE(m_form.IsModified());

    m_form.SetModified(false);
    EXPECT_TRUE(m_pane.OnPropertyChanged(4403, std::int32_t{450}));
    EXPECT_EQ(m_form.GetPaper(), (IntSize{700, 450}));
    EXPECT_TRUE(m_form.IsModified());

    EXPECT_TRUE(m_pane.OnPropertyChanged(4407, std::int32_t{15}));
    EXPECT_EQ(m_editor.GetGridSize().cx, 15);
    EXPECT_TRUE(m_pane.OnPropertyChanged(4408, std::int64_t{0}));
    EXPECT_FALSE(m_editor.GetSnapToGrid());
    m_form.SetModified(false);
    EXPECT_TRUE(m_pane.OnPropertyChanged(4414, m_form.GetProgIdType()));
    EXPECT_FALSE(m_form.IsModified());
    EXPECT_TRUE(m_pane.OnPropertyChanged(4414, std::string("CUSTOM")));
    EXPECT_EQ(m_form.GetProgIdType(), "CUSTOM");
    EXPECT_TRUE(m_form.IsModified());

    // Not a form row, or not the row's kind.
    EXPECT_FALSE(m_pane.OnPropertyChanged(4007, 5.0));
    EXPECT_FALSE(m_pane.OnPropertyChanged(4403, std::string("tall")));
    // A paper side below 1 would be refused on reading.
    EXPECT_FALSE(m_pane.OnPropertyChanged(PropertyId::FormWidth, std::int32_t{0}));
    EXPECT_FALSE(m_pane.OnPropertyChanged(PropertyId::FormHeight, std::int32_t{-5}));
    EXPECT_EQ(m_form.GetPaper(), (IntSize{700, 450}));
    // So would a side beyond the limit, and the pane says why.
    ASSERT_TRUE(m_host.GetMessages().empty());
    EXPECT_FALSE(m_pane.OnPropertyChanged(PropertyId::FormWidth, std::int32_t{2000000000}));
    EXPECT_EQ(m_form.GetPaper(), (IntSize{700, 450}));
    ASSERT_EQ(m_host.GetMessages().size(), 1u);
    EXPECT_EQ(m_host.GetMessages()[0].first, langStr("MSG_EXTENT_LIMIT"));
    EXPECT_TRUE(m_pane.OnPropertyChanged(PropertyId::FormHeight, std::int32_t{FormExtentLimit}));
    EXPECT_EQ(m_form.GetPaper(), (IntSize{700, FormExtentLimit}));
}

TEST_F(FormRows, EveryAppliedEditRepaintsAndTellsTheObserver)
{
    int told = 0;
    m_pane.SetChangeObserver([&told] { ++told; });
    const int before = m_host.GetInvalidateCount();
    EXPECT_TRUE(m_pane.OnPropertyChanged(4409, false));
    EXPECT_FALSE(m_pane.OnPropertyChanged(4999, false));
    EXPECT_EQ(told, 1);
    EXPECT_GT(m_host.GetInvalidateCount(), before);
}

using Merging = PropertiesPaneTest;

TEST_F(Merging, DifferentReadOnlyFlagsShowFalseWithTheNoteAndSettingItAppliesToBoth)
{
    CDiagramLinked* a = PutField("A", 10, 0);
    CDiagramLinked* b = PutField("B", 40, 1);
    a->SetReadOnly(true);
    Select({a, b});

    ASSERT_EQ(m_pane.GetMode(), PropertiesPaneModel::ControlMode);
    ASSERT_EQ(m_pane.GetSelection().size(), 2u);
    const PropertyItem* readOnly = m_pane.GetGrid().FindItem(4301);
    ASSERT_NE(readOnly, nullptr);
    EXPECT_EQ(readOnly->GetValue(), PropertyValue(false));
    EXPECT_EQ(readOnly->GetDescription(), langStr("MSG_MULTIPLE_BOOLVALUES"));

    EXPECT_TRUE(m_pane.OnPropertyChanged(4301, true));
    EXPECT_TRUE(a->IsReadOnly());
    EXPECT_TRUE(b->IsReadOnly());
}

TEST_F(Merging, LeftMovesEverySelectedElementAndKeepsEachWidth)
{
    auto* t1 = Put<CDiagramStatic>("T1", 10, 10, 60, 30);
    auto* t2 = Put<CDiagramStatic>("T2", 80, 50, 200, 70);
    auto* t3 = Put<CDiagramStatic>("T3", 300, 90, 330, 110);
    Select({t1, t2, t3});
    EXPECT_EQ(Row(4007), PropertyValue(-1.0));

    EXPECT_TRUE(m_pane.OnPropertyChanged(4007, 40.0));
    EXPECT_EQ(t1->GetRect(), (IntRect{40, 10, 90, 30}));
    EXPECT_EQ(t2->GetRect(), (IntRect{40, 50, 160, 70}));
    EXPECT_EQ(t3->GetRect(), (IntRect{40, 90, 70, 110}));

    // An element left of 1 or above 1 would vanish when the file is read again.
    EXPECT_FALSE(m_pane.OnPropertyChanged(PropertyId::Left, 0.0));
    EXPECT_FALSE(m_pane.OnPropertyChanged(PropertyId::Top, -3.0));
    EXPECT_EQ(t1->GetRect(), (IntRect{40, 10, 90, 30}));
    EXPECT_TRUE(m_pane.OnPropertyChanged(PropertyId::Top, 1.0));
    EXPECT_EQ(t1->GetRect(), (IntRect{40, 1, 90, 21}));
    // So would one, or a caption's size, with a side below 1.
    EXPECT_FALSE(m_pane.OnPropertyChanged(PropertyId::Width, 0.0));
    EXPECT_FALSE(m_pane.OnPropertyChanged(PropertyId::Height, -5.0));
    EXPECT_EQ(t1->GetRect(), (IntRect{40, 1, 90, 21}));
    EXPECT_TRUE(m_pane.OnPropertyChanged(PropertyId::Width, 1.0));
    EXPECT_EQ(t1->GetRect(), (IntRect{40, 1, 41, 21}));
    // Or one placed or sized beyond the limit.
    EXPECT_FALSE(m_pane.OnPropertyChanged(PropertyId::Left, 32767.5));
    EXPECT_FALSE(m_pane.OnPropertyChanged(PropertyId::Height, 1e12));
    EXPECT_EQ(t1->GetRect(), (IntRect{40, 1, 41, 21}));
    EXPECT_EQ(m_host.GetMessages().size(), 2u);
    // Or a share of the form's growth outside 0 to 100 per cent, which the reader leaves out.
    EXPECT_FALSE(m_pane.OnPropertyChanged(PropertyId::MovingX, std::int32_t{101}));
    EXPECT_FALSE(m_pane.OnPropertyChanged(PropertyId::SizingY, std::int32_t{-1}));
    EXPECT_TRUE(m_pane.OnPropertyChanged(PropertyId::MovingX, std::int32_t{100}));
    EXPECT_EQ(t1->GetMoving(), (IntPoint{100, 0}));
}

TEST_F(Merging, ElementsGoneFromTheFormAreDroppedBeforeAnyRowTouchesThem)
{
    auto* keep = Put<CDiagramStatic>("Keep", 10, 10, 60, 30);
    auto* gone = Put<CDiagramStatic>("Gone", 10, 40, 60, 60);
    Select({keep, gone});
    // The element's own Cut, which does not tell the pane: `gone` is freed.
    ASSERT_TRUE(gone->DoCommand(ElementCommand::Cut, gone, nullptr));

    // The rows were built for both: the edit is refused and the rows rebuilt.
    EXPECT_FALSE(m_pane.OnPropertyChanged(4007, 40.0));
    ASSERT_EQ(m_pane.GetSelection().size(), 1u);
    EXPECT_EQ(m_pane.GetSelection().front(), keep);
    EXPECT_EQ(Row(4001), PropertyValue(std::string("Keep")));
    EXPECT_TRUE(m_pane.OnPropertyChanged(4007, 40.0));
    EXPECT_EQ(keep->GetRect(), (IntRect{40, 10, 90, 30}));

    // Choosing the control rows by hand reads no freed element either.
    ASSERT_TRUE(keep->DoCommand(ElementCommand::Cut, keep, nullptr));
    m_pane.SetMode(PropertiesPaneModel::ControlMode);
    EXPECT_TRUE(m_pane.GetSelection().empty());
    EXPECT_EQ(m_pane.GetGrid().GetPropertyCount(), 0);
}

TEST_F(Merging, AColourTextTheReaderWouldRefuseIsTurnedDown)
{
    auto* box = Put<CDiagramGraphicRectangle>("rectangle", 10, 10, 60, 30);
    Select({box});
    for (const char* text : {"", "Any text", "0", "1,2,3,4"})
        EXPECT_FALSE(m_pane.OnPropertyChanged(PropertyId::LineColor, std::string(text))) << text;
    EXPECT_FALSE(m_pane.OnPropertyChanged(PropertyId::FillColor, std::string("1,2")));
    EXPECT_EQ(box->GetLineColor(), "0,0,0");
    EXPECT_TRUE(m_pane.OnPropertyChanged(PropertyId::FillColor, std::string("-1,0,255")));
    EXPECT_EQ(box->GetFillColor(), "-1,0,255");
}

TEST_F(Merging, ARowShowsOnlyWhenEveryElementHasItAndOnlyAShownRowTakesAnEdit)
{
    auto* text = Put<CDiagramStatic>("TXT", 10, 10, 60, 30);
    auto* table = Put<CDiagramTable>("Table", 10, 40, 300, 200);
    auto* image = Put<CDiagramButton>("", 320, 10, 344, 36);
    ASSERT_TRUE(image->InitButton("DocOpen"));
    image->SetRect(320, 10, 344, 36);
    CEntityStyleContainer styles;
    text->SetStyleContainer(&styles);  // a text offers a style where the form has a style list
    const PropertyValue none = std::string("<no row>");
    Select({text});
    ASSERT_NE(Row(PropertyId::Name), none);
    ASSERT_NE(Row(PropertyId::TextStyle), none);

    // The file keeps no name or style for a table, nor a name for a button,
    // whichever element was selected first.
    for (auto selection : {std::vector<CDiagramEntity*>{text, table}, {table, text}, {text, image}}) {
        Select({selection[0], selection[1]});
        EXPECT_EQ(Row(PropertyId::Name), none);
        EXPECT_EQ(Row(PropertyId::TextStyle), none);
        EXPECT_FALSE(m_pane.OnPropertyChanged(PropertyId::Name, std::string("MANUFACTURER")));
        EXPECT_NE(Row(PropertyId::Left), none) << "rows both have stay";
    }
    EXPECT_EQ(table->GetName(), "Table");
    EXPECT_EQ(image->GetName(), "DocOpen");

    // Nor a title for an image button, which shows its kind's.
    auto* push = Put<CDiagramButton>("", 10, 220, 90, 245);
    ASSERT_TRUE(push->InitButton("AddIn"));
    Select({push, image});
    EXPECT_TRUE(m_pane.OnPropertyChanged(PropertyId::Title, std::string("Run")));
    EXPECT_EQ(push->GetTitle(), "Run");
    EXPECT_NE(image->GetTitle(), "Run");

    // Nor a size for an image button: it reads back 24 wide.
    Select({image});
    EXPECT_EQ(Row(PropertyId::Width), none);
    EXPECT_EQ(Row(PropertyId::SizingX), none);
    EXPECT_FALSE(m_pane.OnPropertyChanged(PropertyId::Width, 1.0));
    EXPECT_EQ(image->GetRect(), (IntRect{320, 10, 344, 36}));
}

using Naming = PropertiesPaneTest;

TEST_F(Naming, AKnownPropertyNameAlsoSetsTheTitleButSkipsCaptions)
{
    CDiagramLinked* field = PutField("FIELD", 100, 0);
    auto* placeholder = Put<CDiagramStatic>("EditBox", 10, 40, 60, 60);
    placeholder->SetTitle("keep");
    field->SetTitle("Field");
    Select({field, placeholder});

    EXPECT_TRUE(m_pane.OnPropertyChanged(4001, std::string("POWER_KW")));
    EXPECT_EQ(field->GetName(), "POWER_KW");
    EXPECT_EQ(field->GetTitle(), "Power (kW)");
    EXPECT_EQ(Row(4000), PropertyValue(std::string("Power (kW)")));
    // The file gives a caption its field's name and title.
    EXPECT_EQ(field->GetDependent()->GetName(), "POWER_KW");
    EXPECT_EQ(field->GetDependent()->GetTitle(), "Power (kW)");
    EXPECT_EQ(placeholder->GetName(), "EditBox");
    EXPECT_EQ(placeholder->GetTitle(), "keep");

    // An unknown name leaves a field's title alone.
    EXPECT_TRUE(m_pane.OnPropertyChanged(4001, std::string("NO_SUCH_PROPERTY")));
    EXPECT_EQ(field->GetName(), "NO_SUCH_PROPERTY");
    EXPECT_EQ(field->GetTitle(), "Power (kW)");
}

TEST_F(Naming, ATextsTitleIsShownForItsKeyAndABlankNameIsRefused)
{
    auto* text = Put<CDiagramStatic>("TXT_NOTES", 10, 10, 60, 30);
    text->SetTitle("Notes");
    Select({text});
    ASSERT_TRUE(m_pane.GetGrid().FindItem(4000)->IsReadOnly());
    // Typed titles would not survive saving, which keeps only the key.
    EXPECT_TRUE(m_pane.OnPropertyChanged(4000, std::string("Typed")));
    EXPECT_EQ(text->GetTitle(), "Notes");

    // The title is what reopening shows: the model's text, else the key.
    EXPECT_TRUE(m_pane.OnPropertyChanged(4001, std::string("POWER_KW")));
    EXPECT_EQ(text->GetTitle(), "Power (kW)");
    EXPECT_TRUE(m_pane.OnPropertyChanged(4001, std::string("NO_SUCH_KEY")));
    EXPECT_EQ(text->GetTitle(), "NO_SUCH_KEY");
    EXPECT_EQ(Row(4000), PropertyValue(std::string("NO_SUCH_KEY")));

    ASSERT_TRUE(m_host.GetMessages().empty());
    EXPECT_FALSE(m_pane.OnPropertyChanged(4001, std::string("  ")));
    EXPECT_EQ(text->GetName(), "NO_SUCH_KEY");
    EXPECT_EQ(Row(4001), PropertyValue(std::string("NO_SUCH_KEY")));
    ASSERT_EQ(m_host.GetMessages().size(), 1u);
    EXPECT_EQ(m_host.GetMessages()[0].first, langStr("MSG_NAME_EMPTY"));
}

using TabOrder = PropertiesPaneTest;

TEST_F(TabOrder, AtOrAboveTheNextFreeNumberTheFieldGetsThatNumber)
{
    CDiagramLinked* a = PutField("A", 10, 0);
    CDiagramLinked* b = PutField("B", 40, 1);
    CDiagramLinked* c = PutField("C", 70, 2);
    m_form.RecomputeNextTabIndex();
    ASSERT_EQ(m_form.GetNextTabIndex(false), 3);
    m_form.SetModified(false);
    Select({a});

    EXPECT_TRUE(m_pane.OnPropertyChanged(4012, std::int32_t{7}));
    EXPECT_EQ(a->GetTabIndex(), 3);
    EXPECT_EQ(b->GetTabIndex(), 0);
    EXPECT_EQ(c->GetTabIndex(), 1);
    EXPECT_EQ(m_form.GetNextTabIndex(false), 4);
    EXPECT_EQ(m_pane.GetLastTabValue(), 7);
    EXPECT_TRUE(m_form.IsModified());
}

TEST_F(TabOrder, ALowerNumberMovesTheRunAboveItUp)
{
    CDiagramLinked* a = PutField("A", 10, 0);
    CDiagramLinked* b = PutField("B", 40, 1);
    CDiagramLinked* c = PutField("C", 70, 2);
    m_form.RecomputeNextTabIndex();
    Select({c});

    EXPECT_TRUE(m_pane.OnPropertyChanged(4012, std::int32_t{0}));
    EXPECT_EQ(c->GetTabIndex(), 0);
    EXPECT_EQ(a->GetTabIndex(), 1);
    EXPECT_EQ(b->GetTabIndex(), 2);

    // A negative number is ignored.
    EXPECT_TRUE(m_pane.OnPropertyChanged(4012, std::int32_t{-4}));
    EXPECT_EQ(c->GetTabIndex(), 0);
    EXPECT_EQ(m_pane.GetLastTabValue(), 0);

    // Renumbered behind the pane's back (tab order from positions), C's row
    // still says 0: the run moves from C's own number, so none is shared.
    c->SetTabIndex(2);
    b->SetTabIndex(0);
    EXPECT_TRUE(m_pane.OnPropertyChanged(4012, std::int32_t{1}));
    EXPECT_EQ(c->GetTabIndex(), 1);
    EXPECT_EQ(a->GetTabIndex(), 2);
    EXPECT_EQ(b->GetTabIndex(), 0);
}

using AttributeRows = PropertiesPaneTest;

TEST_F(AttributeRows, ButtonAndTableRowsWriteTheirTextUnderTheKey)
{
    auto* button = Put<CDiagramButton>("Save", 10, 10, 90, 35);
    button->SetAttribute("pushed", "true");
    button->SetAttribute("tooltip", "Saves");
    Select({button});
    const PropertyItem* pushed = m_pane.GetGrid().FindItem(4111);
    const PropertyItem* tooltip = m_pane.GetGrid().FindItem(4112);
    ASSERT_NE(pushed, nullptr);
    ASSERT_NE(tooltip, nullptr);
    ASSERT_EQ(pushed->GetTitle(), "pushed");
    ASSERT_EQ(tooltip->GetTitle(), "tooltip");

    EXPECT_TRUE(m_pane.OnPropertyChanged(4111, false));
    EXPECT_EQ(button->GetAttribute("pushed"), "0");
    EXPECT_TRUE(m_pane.OnPropertyChanged(4112, std::string("Saves the form")));
    EXPECT_EQ(button->GetAttribute("tooltip"), "Saves the form");

    // A table writes a check as -1 or 0 and a number as text.
    auto* table = Put<CDiagramTable>("Parts", 10, 50, 300, 200);
    table->SetAttribute("enableDelete", "false");
    table->SetAttribute("tableQuery", "q");
    Select({table});
    ASSERT_EQ(m_pane.GetGrid().FindItem(4131)->GetTitle(), "enableDelete");
    EXPECT_TRUE(m_pane.OnPropertyChanged(4131, true));
    EXPECT_EQ(table->GetAttribute("enableDelete"), "-1");
    EXPECT_TRUE(m_pane.OnPropertyChanged(4132, std::int32_t{12}));
    EXPECT_EQ(table->GetAttribute("tableQuery"), "12");
}

TEST_F(AttributeRows, OverButtonsOfTwoKindsAnEditGoesByKeyToTheAttributesBothHave)
{
    auto* query = Put<CDiagramButton>("", 10, 10, 90, 35);
    auto* addIn = Put<CDiagramButton>("", 10, 50, 90, 75);
    ASSERT_TRUE(query->InitButton("ChangeTblQuery") && addIn->InitButton("AddIn"));
    Select({query, addIn});

    // Row 4112 is the query's "pushed", which the add-in lacks: not shown.
    EXPECT_EQ(m_pane.GetGrid().FindItem(4112), nullptr);
    EXPECT_FALSE(m_pane.OnPropertyChanged(4112, true));
    EXPECT_EQ(addIn->GetAttributes().count("pushed"), 0u);

    const PropertyItem* tooltip = m_pane.GetGrid().FindItem(4117);
    ASSERT_NE(tooltip, nullptr);
    ASSERT_EQ(tooltip->GetTitle(), "tooltip");
    EXPECT_TRUE(m_pane.OnPropertyChanged(4117, std::string("Runs it")));
    EXPECT_EQ(query->GetAttribute("tooltip"), "Runs it");
    EXPECT_EQ(addIn->GetAttribute("tooltip"), "Runs it");
}

using Undo = PropertiesPaneTest;

TEST_F(Undo, EachAppliedEditTakesOneSnapshotThatTheEditorUndoes)
{
    Put<CDiagramStatic>("T", 10, 10, 60, 30);
    Select({m_form.GetAt(0)});
    const int before = m_form.GetUndoCount();

    EXPECT_TRUE(m_pane.OnPropertyChanged(4007, 100.0));
    EXPECT_TRUE(m_pane.OnPropertyChanged(4004, 50.0));
    EXPECT_FALSE(m_pane.OnPropertyChanged(4999, 1.0));
    m_form.SetModified(false);
    EXPECT_TRUE(m_pane.OnPropertyChanged(4004, 50.0)) << "the value the row holds";
    EXPECT_FALSE(m_form.IsModified());
    EXPECT_EQ(m_form.GetUndoCount(), before + 2);
    EXPECT_EQ(m_form.GetUndoName(), "Height") << "a step is named by its row";
    EXPECT_EQ(m_form.GetAt(0)->GetRect(), (IntRect{100, 10, 150, 60}));

    m_editor.Undo();
    EXPECT_EQ(m_form.GetAt(0)->GetRect(), (IntRect{100, 10, 150, 30}));
    m_editor.Undo();
    EXPECT_EQ(m_form.GetAt(0)->GetRect(), (IntRect{10, 10, 60, 30}));
    // The editor told the pane again, so it holds the restored element.
    ASSERT_EQ(m_pane.GetSelection().size(), 1u);
    EXPECT_EQ(m_pane.GetSelection().front(), m_form.GetAt(0));
}

TEST_F(Undo, AFormSizeEditIsUndoneTooButGridAndMarginsTakeNoStep)
{
    const int before = m_form.GetUndoCount();
    EXPECT_TRUE(m_pane.OnPropertyChanged(4405, true));
    EXPECT_TRUE(m_pane.OnPropertyChanged(4406, std::int32_t{12}));
    EXPECT_TRUE(m_pane.OnPropertyChanged(4408, std::int64_t{1}));
    EXPECT_TRUE(m_pane.OnPropertyChanged(4409, false));
    EXPECT_EQ(m_form.GetUndoCount(), before) << "how the editor shows the form is no change to it";
    EXPECT_TRUE(m_pane.OnPropertyChanged(4404, std::int32_t{320}));
    EXPECT_EQ(m_form.GetUndoCount(), before + 1);
    m_editor.Undo();
    EXPECT_EQ(m_form.GetPaper(), (IntSize{700, 600}));
}

}  // namespace

using Updates = PropertiesPaneTest;

// A drag's steps are read from the elements once the rows are looked at; a
// window keeps its rows for them and takes new values, unless the rows differ.
TEST_F(Updates, DragStepsBringNewValuesInTheSameRowsAndAnotherKindNewRows)
{
    auto* t1 = Put<CDiagramStatic>("T1", 10, 10, 110, 40);
    auto* t2 = Put<CDiagramStatic>("T2", 10, 200, 110, 230);
    auto* box = Put<CDiagramGraphicRectangle>("Box", 300, 300, 400, 400);
    Select({t1});
    EXPECT_EQ(m_pane.TakeUpdate(), PaneUpdate::Rows);

    const IntRect shown = m_editor.VirtualToScreen(t1->GetRect());
    const IntPoint grip{(shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2};
    m_editor.OnLButtonDown(grip, Modifier::None);
    for (int step = 1; step <= 4; ++step)
        m_editor.OnMouseMove({grip.x + 10 * step, grip.y + 5 * step}, Modifier::None);
    EXPECT_EQ(m_pane.TakeUpdate(), PaneUpdate::Values);
    EXPECT_EQ(m_pane.TakeUpdate(), PaneUpdate::None);
    EXPECT_EQ(Row(PropertyId::Left), PropertyValue(50.0));
    EXPECT_EQ(Row(PropertyId::Top), PropertyValue(30.0));
    m_editor.OnMouseMove({grip.x + 60, grip.y + 20}, Modifier::None);
    m_editor.OnLButtonUp({grip.x + 60, grip.y + 20}, Modifier::None);
    EXPECT_EQ(Row(PropertyId::Left), PropertyValue(70.0));
    EXPECT_EQ(m_pane.TakeUpdate(), PaneUpdate::Values);

    Select({t2});
    EXPECT_EQ(m_pane.TakeUpdate(), PaneUpdate::Values);
    Select({box});
    EXPECT_EQ(m_pane.TakeUpdate(), PaneUpdate::Rows);
}

// An edit made before anyone looked at the stale rows acts on the values
// the elements have now: typing the old place moves the element back.
TEST_F(Updates, AnEditAfterADragStepActsOnTheElementsPlaceNow)
{
    auto* t1 = Put<CDiagramStatic>("T1", 10, 10, 110, 40);
    Select({t1});
    t1->SetRect(60, 10, 160, 40);
    m_pane.RefreshValues();
    EXPECT_TRUE(m_pane.OnPropertyChanged(PropertyId::Left, 10.0));
    EXPECT_EQ(t1->GetRect(), (IntRect{10, 10, 110, 40}));
    EXPECT_EQ(m_form.GetUndoCount(), 1);
}

namespace {

using Search = PropertiesPaneTest;

// The titles of the rows, groups included, that the search leaves in view.
std::vector<std::string> ShownTitles(PropertiesPaneModel& pane)
{
    std::vector<std::string> titles;
    const auto walk = [&](const auto& self, const PropertyItem& item) -> void {
        if (!pane.IsShownBySearch(item))
            return;
        titles.push_back(item.GetTitle());
        for (int i = 0; i < item.GetSubItemCount(); ++i)
            self(self, *item.GetSubItem(i));
    };
    const PropertyGrid& grid = pane.GetGrid();
    for (int i = 0; i < grid.GetPropertyCount(); ++i)
        walk(walk, *grid.GetProperty(i));
    return titles;
}

std::string GroupOf(PropertiesPaneModel& pane, int id)
{
    const PropertyGrid& grid = pane.GetGrid();
    for (int i = 0; i < grid.GetPropertyCount(); ++i)
        for (int j = 0; j < grid.GetProperty(i)->GetSubItemCount(); ++j)
            if (grid.GetProperty(i)->GetSubItem(j)->GetId() == id)
                return grid.GetProperty(i)->GetTitle();
    return {};
}

TEST_F(Search, RowsMatchByTitleOrShownValueInAnyCaseAndEmptyGroupsGo)
{
    auto* box = Put<CDiagramGraphicRectangle>("rectangle", 10, 10, 60, 30);
    box->SetFillColor("12,34,56");
    Select({box});
    const std::size_t all = ShownTitles(m_pane).size();
    const std::string colours = GroupOf(m_pane, PropertyId::LineColor);
    ASSERT_FALSE(colours.empty());

    m_pane.SetSearchText("COLOUR");
    EXPECT_EQ(ShownTitles(m_pane), (std::vector<std::string>{colours, "Line colour", "Fill colour"}));
    m_pane.SetSearchText("34,5");
    EXPECT_EQ(ShownTitles(m_pane), (std::vector<std::string>{colours, "Fill colour"}));

    // The text stays while the selection changes, and applies to the new rows.
    auto* other = Put<CDiagramGraphicEllipse>("ellipse", 10, 40, 60, 60);
    other->SetFillColor("1,34,50");
    Select({other});
    EXPECT_EQ(m_pane.GetSearchText(), "34,5");
    EXPECT_EQ(ShownTitles(m_pane), (std::vector<std::string>{colours, "Fill colour"}));
    m_pane.SetSearchText("no row holds this");
    EXPECT_TRUE(ShownTitles(m_pane).empty());
    m_pane.SetSearchText("");
    Select({box});
    EXPECT_EQ(ShownTitles(m_pane).size(), all);

    // The labels are matched in the language shown, folding any letter's case.
    PropertyItem row(1, "Größe", std::string("Maß"));
    EXPECT_TRUE(RowMatchesSearch(row, "GRÖ"));
    EXPECT_TRUE(RowMatchesSearch(row, "maß"));
    EXPECT_FALSE(RowMatchesSearch(row, "grosse"));
}

TEST_F(Search, MixedValuesShowBlankAreFoundByNoValueAndTakeATypedMark)
{
    auto* a = Put<CDiagramStatic>("A", 10, 10, 60, 30);
    auto* b = Put<CDiagramStatic>("B", 20, 40, 60, 60);
    Select({a, b});
    const PropertyItem* left = m_pane.GetGrid().FindItem(PropertyId::Left);
    const PropertyItem* name = m_pane.GetGrid().FindItem(PropertyId::Name);
    ASSERT_TRUE(left && name);
    EXPECT_EQ(ShownValueText(*left), "");
    EXPECT_EQ(ShownValueText(*name), "");
    EXPECT_FALSE(RowMatchesSearch(*left, "-1"));
    EXPECT_FALSE(RowMatchesSearch(*name, "[...]"));
    // The file keeps what it had until a value is typed: the mark itself is one.
    EXPECT_EQ(left->GetValue(), PropertyValue(-1.0));
    EXPECT_TRUE(m_pane.OnPropertyChanged(PropertyId::Name, std::string("[...]")));
    EXPECT_EQ(a->GetName(), "[...]");
    EXPECT_EQ(b->GetName(), "[...]");
    EXPECT_EQ(m_form.GetUndoCount(), 1);

    // A value of its own is found as the grid writes it.
    Select({a});
    EXPECT_EQ(ShownValueText(*m_pane.GetGrid().FindItem(PropertyId::Left)), "10");
}

}  // namespace

TEST(ColourPicker, PickedColourIsWrittenAndReadBackInTheFilesColourText)
{
    test::DemoModel model;
    test::ScratchDir dir;
    if (!ElementFactory::Global().Knows("Ellipse"))
        RegisterStandardControls(ElementFactory::Global());
    FormDefinitionDocument doc;
    ASSERT_TRUE(
        doc.ReadFile(dir.Put("VALVE_Graphics.xml", test::ReadFile(FORMWRIGHT_TEST_FIXTURES "/VALVE_Graphics.xml"))));
    CDiagramEntityContainer& form = *doc.GetMainForm();
    // The ellipse without a fill.
    int at = 0;
    while (at < form.GetCount() && form.GetAt(at)->GetFillColor() != "-1,-1,-1")
        ++at;
    ASSERT_LT(at, form.GetCount());
    CDiagramEntity* box = form.GetAt(at);

    // "No fill" has no colour: the picker starts from white.
    unsigned char r = 0, g = 0, b = 0;
    ASSERT_TRUE(ColourForPicker(box->GetFillColor(), r, g, b));
    EXPECT_EQ((Color{r, g, b}), (Color{255, 255, 255}));
    EXPECT_FALSE(ColourForPicker("1,2", r, g, b));

    {
        HeadlessHost host({1000, 800});
        PropertiesPaneModel pane;
        CDEditor editor;
        editor.SetPropertiesPane(&pane);
        editor.Create(&host, &form);
        host.Attach(&editor);
        box->Select(true);
        editor.NotifySelection();
        EXPECT_TRUE(pane.OnPropertyChanged(PropertyId::FillColor, ColourFromPicker(0, 128, 255)));
        EXPECT_TRUE(pane.OnPropertyChanged(PropertyId::LineColor, ColourFromPicker(200, 7, 0)));
    }

    FormDefinitionDocument again;
    ASSERT_TRUE(again.ReadFile(dir.Put("VALVE_Again.xml", doc.WriteToString())));
    ASSERT_EQ(again.GetMainForm()->GetCount(), form.GetCount());
    const CDiagramEntity* read = again.GetMainForm()->GetAt(at);
    for (const auto& [text, expected] :
         {std::pair{read->GetFillColor(), Color{0, 128, 255}}, std::pair{read->GetLineColor(), Color{200, 7, 0}}}) {
        ASSERT_TRUE(ColourForPicker(text, r, g, b)) << text;
        EXPECT_EQ((Color{r, g, b}), expected) << text;
    }
}
