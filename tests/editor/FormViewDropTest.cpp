#include "controls/DiagramLinked.h"
#include "controls/DiagramStatic.h"
#include "editor/FormView.h"
#include "editor/HeadlessHost.h"
#include "model/FormDefinitionDocument.h"
#include "services/LanguageTable.h"
#include "support/RecordingPane.h"

#include <gtest/gtest.h>

using namespace fw;
using fw::test::RecordingPane;

namespace {

// A PUMP document with a 500 x 300 main form in a view on a headless window.
class FormViewDrop : public ::testing::Test {
protected:
    FormViewDrop()
    {
        doc.GetStyles().CreateDefaults();
        doc.SetObjectClass("PUMP");
        form().SetPaper({500, 300});
        view.OnInitialUpdate(&host, &pane, 96);
        host.Attach(&editor());
    }

    CDiagramEntityContainer& form() { return *doc.GetMainForm(); }
    CDEditor& editor() { return view.GetEditor(); }
    static IntRect RectOf(const CDiagramEntity* e)
    {
        return {static_cast<int>(e->GetLeft()), static_cast<int>(e->GetTop()), static_cast<int>(e->GetRight()),
                static_cast<int>(e->GetBottom())};
    }
    // The dropped fields, in form order.
    std::vector<CDiagramEntity*> Fields()
    {
        std::vector<CDiagramEntity*> fields;
        for (int i = 0; i < form().GetCount(); ++i)
            if (dynamic_cast<CDiagramLinked*>(form().GetAt(i)))
                fields.push_back(form().GetAt(i));
        return fields;
    }

    FormDefinitionDocument doc;
    HeadlessHost host;
    RecordingPane pane;
    FormView view{doc};  // last: goes first, while the host and pane still stand
};

TEST_F(FormViewDrop, SnappedPairLandsAtTheDropPoint)
{
    editor().SetSnapToGrid(true);
    const int undo = form().GetUndoCount();
    EXPECT_TRUE(view.OnDropProperty({13, 21}, "Article number;ARTNO"));

    ASSERT_EQ(form().GetCount(), 2);
    const std::vector<CDiagramEntity*> fields = Fields();
    ASSERT_EQ(fields.size(), 1u);
    CDiagramEntity* field = fields[0];
    CDiagramEntity* label = field->GetDependent();
    ASSERT_NE(label, nullptr);
    EXPECT_GE(form().FindIndex(label), 0);

    EXPECT_EQ(RectOf(label), (IntRect{16, 24, 156, 51}));
    EXPECT_EQ(RectOf(field), (IntRect{166, 24, 266, 44}));
    EXPECT_TRUE(field->IsSelected() && label->IsSelected());
    EXPECT_EQ(form().GetUndoCount(), undo + 1);
    EXPECT_EQ(form().GetUndoName(), "Drop Article number");

    EXPECT_EQ(field->GetName(), "ARTNO");
    EXPECT_EQ(field->GetTitle(), "Article number");
    EXPECT_EQ(field->GetObjectClass(), "PUMP");
    EXPECT_TRUE(field->IsGenericXml());
    EXPECT_EQ(label->GetName(), "ARTNO");
    EXPECT_EQ(label->GetTitle(), "Article number");
    EXPECT_TRUE(label->IsDependentPart());
    EXPECT_TRUE(label->IsGenericXml());
    ASSERT_NE(field->GetStyle(), nullptr);
    EXPECT_EQ(field->GetStyle(), doc.GetStyles().Find("s4"));
    EXPECT_EQ(label->GetStyle(), doc.GetStyles().Find("s4"));

    // The release put the tool away; the pair tool counted as the text tool.
    EXPECT_FALSE(editor().IsDrawing());
    EXPECT_EQ(view.GetInsertKind(), InsertKind::Text);
    EXPECT_TRUE(host.GetMessages().empty());
}

TEST_F(FormViewDrop, PropertyAlreadyShownIsRefusedWhateverItsCase)
{
    ASSERT_TRUE(view.OnDropProperty({40, 40}, "Article number;ARTNO"));
    ASSERT_EQ(form().GetCount(), 2);
    const int undo = form().GetUndoCount();

    // Dropped onto empty paper: the follow-up click only clears the selection.
    EXPECT_FALSE(view.OnDropProperty({100, 200}, "Article number;ArtNo"));
    EXPECT_EQ(form().GetCount(), 2);
    EXPECT_EQ(form().GetUndoCount(), undo);
    EXPECT_EQ(editor().GetSelectCount(), 0);
    ASSERT_EQ(host.GetMessages().size(), 1u);
    EXPECT_EQ(host.GetMessages()[0].first, langStr("MSG_PROP_ALREADY_PRESENT"));
    EXPECT_EQ(host.GetMessages()[0].second, langStr("MSG_TILTLE_PROP_INFO"));
    EXPECT_FALSE(editor().IsDrawing());

    // Another property still goes in.
    EXPECT_TRUE(view.OnDropProperty({40, 100}, "Name;NAME"));
    EXPECT_EQ(form().GetCount(), 4);
    EXPECT_EQ(host.GetMessages().size(), 1u);
}

TEST_F(FormViewDrop, ConsecutiveDropsTakeConsecutiveTabIndices)
{
    const int next = form().GetNextTabIndex(false);
    ASSERT_TRUE(view.OnDropProperty({20, 20}, "Name;NAME"));
    ASSERT_TRUE(view.OnDropProperty({20, 80}, "Status;STATUS"));
    const std::vector<CDiagramEntity*> fields = Fields();
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0]->GetName(), "NAME");
    EXPECT_EQ(fields[1]->GetName(), "STATUS");
    EXPECT_EQ(fields[0]->GetTabIndex(), next);
    EXPECT_EQ(fields[1]->GetTabIndex(), next + 1);
}

TEST_F(FormViewDrop, SelectByNameSelectsTheFieldAloneNotItsCaption)
{
    ASSERT_TRUE(view.OnDropProperty({13, 21}, "Speed;SPEED"));
    ASSERT_TRUE(view.OnDropProperty({13, 121}, "Flow;FLOW"));
    pane.Take();

    ASSERT_TRUE(view.SelectByName("speed"));
    CDiagramEntity* field = Fields()[0];
    EXPECT_EQ(editor().GetSelectCount(), 1);
    EXPECT_TRUE(field->IsSelected());
    EXPECT_EQ(editor().GetSelectedObject(), field);
    EXPECT_EQ(pane.Take(), (std::vector<std::string>{"SetEditor", "SetSelection SPEED", "ShowControlProperties"}));

    EXPECT_FALSE(view.SelectByName("PRESSURE"));
    EXPECT_TRUE(field->IsSelected());
}

TEST_F(FormViewDrop, PressOutsideTheMarginsPlacesNothing)
{
    EXPECT_FALSE(view.OnDropProperty({3, 3}, "Name;NAME"));
    EXPECT_EQ(form().GetCount(), 0);
    EXPECT_TRUE(host.GetMessages().empty());
    // Nothing went in, so the property can still be dropped inside.
    EXPECT_TRUE(view.OnDropProperty({30, 30}, "Name;NAME"));
    EXPECT_EQ(form().GetCount(), 2);
}

TEST_F(FormViewDrop, APairNearTheEdgeMovesBackAsAWholeAndPlacesOnce)
{
    // At (400, 100) the field would reach 650 on a 500 paper with a 7 margin.
    editor().SetMultidraw(true);
    ASSERT_TRUE(view.OnDropProperty({400, 100}, "Name;NAME"));
    CDiagramEntity* field = Fields().at(0);
    EXPECT_EQ(RectOf(field->GetDependent()), (IntRect{243, 100, 383, 127}));
    EXPECT_EQ(RectOf(field), (IntRect{393, 100, 493, 120}));

    // Its template holds one property and one tab index: a second click places nothing.
    EXPECT_FALSE(editor().IsDrawing());
    editor().OnLButtonDown({100, 200}, Modifier::None);
    editor().OnLButtonUp({100, 200}, Modifier::None);
    EXPECT_EQ(form().GetCount(), 2);
}

TEST_F(FormViewDrop, TextWithoutSeparatorDropsAnEmptyName)
{
    EXPECT_TRUE(view.OnDropProperty({30, 30}, "Loose"));
    ASSERT_EQ(Fields().size(), 1u);
    EXPECT_EQ(Fields()[0]->GetTitle(), "Loose");
    EXPECT_EQ(Fields()[0]->GetName(), "");
}

}  // namespace
