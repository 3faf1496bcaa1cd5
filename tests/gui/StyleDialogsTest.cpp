// The text-style list, its font chooser and its name dialog as real windows:
// the list driven with scripted dialogs on a sample document, the chooser and
// the name dialog run modally with their controls set from code.

#include "dialogs/FontDialogEx.h"
#include "dialogs/StyleListDlg.h"
#include "dialogs/StyleNameDlg.h"
#include "gui/GuiTestSupport.h"
#include "model/EntityStyle.h"
#include "model/FormDefinitionDocument.h"
#include "services/LanguageTable.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/clrpicker.h>
#include <wx/listbox.h>
#include <wx/listctrl.h>
#include <wx/spinctrl.h>
#include <wx/srchctrl.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <memory>
#include <optional>
#include <vector>

using namespace fw;
using fw::test::Click;
using fw::test::PumpEvents;
using fw::test::RunModal;
using fw::test::WaitFor;

namespace {

std::string SamplePath()
{
    return std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/samples/PUMP_Main.xml";
}

std::string Cell(wxListCtrl* list, long row, int column)
{
    return list->GetItemText(row, column).ToStdString(wxConvUTF8);
}

std::vector<long> SelectedRows(wxListCtrl* list)
{
    std::vector<long> rows;
    for (long row = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row >= 0;
         row = list->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(row);
    return rows;
}

void SelectOnly(wxListCtrl* list, long row)
{
    for (long other : SelectedRows(list))
        list->SetItemState(other, 0, wxLIST_STATE_SELECTED);
    list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
}

FontChoice Chosen(const std::string& face, int tenths, int weight, bool italic)
{
    FontChoice c;
    c.face = face;
    c.pointSizeTenths = tenths;
    c.weight = weight;
    c.italic = italic;
    c.red = 200;
    return c;
}

// The sample document's styles in a list whose dialogs answer from scripts.
class StyleListWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(doc.ReadFile(SamplePath()));
        ASSERT_EQ(doc.GetStyles().GetCount(), 6);
        list = new CStyleList(nullptr, doc);
        list->runFontChooser = [this](wxWindow*, const FontChoice& start, int, FontChoice& chosen) {
            starts.push_back(start);
            if (!font)
                return false;
            chosen = *font;
            return true;
        };
        list->runNameDialog = [this](wxWindow*, const std::string& preset, std::string& name) {
            presets.push_back(preset);
            if (names.empty())
                return false;
            name = names.front();
            names.erase(names.begin());
            return true;
        };
        list->showMessage = [this](wxWindow*, const std::string& text, const std::string&) {
            messages.push_back(text);
        };
    }
    void TearDown() override
    {
        if (list)
            list->Destroy();
        PumpEvents(20);
    }

    FormDefinitionDocument doc;
    CStyleList* list = nullptr;
    std::optional<FontChoice> font;
    std::vector<std::string> names;
    std::vector<FontChoice> starts;
    std::vector<std::string> presets;
    std::vector<std::string> messages;
};

}  // namespace

TEST_F(StyleListWindow, OpensWithOneRowPerStyleAndTheFirstSelected)
{
    wxListCtrl* rows = list->GetList();
    EXPECT_EQ(list->GetTitle().ToStdString(wxConvUTF8), langStr("STYLEDLG_NAME"));
    ASSERT_EQ(rows->GetColumnCount(), 6);
    for (int column = 0; column < 6; ++column)
        EXPECT_EQ(rows->GetColumnWidth(column), 90);
    ASSERT_EQ(rows->GetItemCount(), 6);
    EXPECT_EQ(Cell(rows, 0, 0), "Heading");
    EXPECT_EQ(Cell(rows, 5, 0), "s4");
    EXPECT_EQ(Cell(rows, 1, 1), "Calibri");
    EXPECT_EQ(Cell(rows, 1, 2), "8");
    EXPECT_EQ(Cell(rows, 1, 3), "96,96,96");
    EXPECT_EQ(Cell(rows, 1, 4), langStr("FD_NO"));
    EXPECT_EQ(Cell(rows, 1, 5), langStr("FD_YES"));
    EXPECT_EQ(SelectedRows(rows), std::vector<long>{0});
    EXPECT_FALSE(list->HasChanged());
}

TEST_F(StyleListWindow, NewAppendsASelectedRowAtTheEnd)
{
    wxListCtrl* rows = list->GetList();
    SelectOnly(rows, 2);  // s1
    font = Chosen("Liberation Serif", 125, 700, true);
    names = {"s1", "Body"};  // a taken name first: asked again
    Click(list->GetNewButton());
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].face, "Arial");
    EXPECT_EQ(messages, std::vector<std::string>{langStr("STYLEDLG_MSG_1")});
    ASSERT_EQ(rows->GetItemCount(), 7);
    EXPECT_EQ(Cell(rows, 6, 0), "Body");
    EXPECT_EQ(Cell(rows, 6, 1), "Liberation Serif");
    EXPECT_EQ(Cell(rows, 6, 2), "12");
    EXPECT_EQ(Cell(rows, 6, 3), "200,0,0");
    EXPECT_EQ(SelectedRows(rows), std::vector<long>{6});
    EXPECT_EQ(rows->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED), 6);
    ASSERT_NE(doc.GetStyles().Find("Body"), nullptr);
    EXPECT_TRUE(list->HasChanged());

    // Cancelled: no row, the selection stays.
    font.reset();
    Click(list->GetNewButton());
    EXPECT_EQ(rows->GetItemCount(), 7);
    EXPECT_EQ(SelectedRows(rows), std::vector<long>{6});
}

TEST_F(StyleListWindow, ModifyRefreshesTheRowAndRenames)
{
    wxListCtrl* rows = list->GetList();
    SelectOnly(rows, 3);  // s2, Tahoma 9 bold blue
    font = Chosen("Carlito", 140, 400, false);
    names = {"S2"};
    Click(list->GetModifyButton());
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].face, "Tahoma");
    EXPECT_EQ(starts[0].blue, 255);
    EXPECT_EQ(presets, std::vector<std::string>{"s2"});
    EXPECT_EQ(Cell(rows, 3, 0), "s2");
    EXPECT_EQ(Cell(rows, 3, 1), "Carlito");
    EXPECT_EQ(Cell(rows, 3, 2), "14");
    EXPECT_EQ(Cell(rows, 3, 4), langStr("FD_NO"));

    names = {"Label"};
    Click(list->GetModifyButton());
    EXPECT_EQ(Cell(rows, 3, 0), "Label");
    EXPECT_EQ(Cell(rows, 3, 1), "Carlito");
    EXPECT_EQ(doc.GetStyles().Find("s2"), nullptr);
    EXPECT_NE(doc.GetStyles().Find("Label"), nullptr);
    EXPECT_EQ(rows->GetItemCount(), 6);
    EXPECT_TRUE(list->HasChanged());
}

TEST_F(StyleListWindow, DeleteRemovesTheRowAndSelectsTheFirst)
{
    wxListCtrl* rows = list->GetList();
    SelectOnly(rows, 3);
    Click(list->GetDeleteButton());
    ASSERT_EQ(rows->GetItemCount(), 5);
    EXPECT_EQ(Cell(rows, 3, 0), "s3");
    EXPECT_EQ(doc.GetStyles().Find("s2"), nullptr);
    EXPECT_EQ(SelectedRows(rows), std::vector<long>{0});
    EXPECT_TRUE(starts.empty() && messages.empty());
    EXPECT_TRUE(list->HasChanged());

    // Nothing selected: nothing happens.
    SelectOnly(rows, 0);
    rows->SetItemState(0, 0, wxLIST_STATE_SELECTED);
    Click(list->GetDeleteButton());
    Click(list->GetModifyButton());
    EXPECT_EQ(rows->GetItemCount(), 5);
    EXPECT_TRUE(starts.empty());
}

TEST_F(StyleListWindow, ButtonsFollowTheCornerAndTheListGrows)
{
    list->Show();
    PumpEvents(50);
    const wxSize before = list->GetClientSize();
    const wxRect listBefore = list->GetList()->GetRect();
    const wxRect okBefore = list->GetOkButton()->GetRect();
    const wxRect newBefore = list->GetNewButton()->GetRect();
    EXPECT_LE(listBefore.GetBottom(), okBefore.GetTop());
    EXPECT_LT(newBefore.GetRight(), okBefore.GetLeft());
    list->SetClientSize(before.x + 100, before.y + 60);
    ASSERT_TRUE(WaitFor([&] { return list->GetClientSize() == wxSize(before.x + 100, before.y + 60); }));
    PumpEvents(50);
    EXPECT_EQ(list->GetOkButton()->GetRect(), wxRect(okBefore.GetPosition() + wxPoint(100, 60), okBefore.GetSize()));
    EXPECT_EQ(list->GetNewButton()->GetRect(), wxRect(newBefore.GetPosition() + wxPoint(100, 60), newBefore.GetSize()));
    EXPECT_EQ(list->GetList()->GetRect(), wxRect(listBefore.GetPosition(), listBefore.GetSize() + wxSize(100, 60)));

    // A drag on the size grip in the corner sizes the dialog as well.
    const wxRect grip = list->GetSizeGrip();
    EXPECT_EQ(grip.GetBottomRight(), wxPoint(before.x + 99, before.y + 59));
    const wxSize dragged = list->GetSize();
    wxUIActionSimulator mouse;
    mouse.MouseMove(list->ClientToScreen(grip.GetPosition() + wxPoint(grip.width / 2, grip.height / 2)));
    PumpEvents(30);
    mouse.MouseDown();
    PumpEvents(30);
    mouse.MouseMove(list->ClientToScreen(grip.GetPosition() + wxPoint(grip.width / 2 + 40, grip.height / 2 + 30)));
    PumpEvents(30);
    mouse.MouseUp();
    EXPECT_TRUE(WaitFor([&] { return list->GetSize() == dragged + wxSize(40, 30); }))
        << list->GetSize().x << "x" << list->GetSize().y;
}

TEST(FontChooserWindow, StartsFromTheStyleAndAnswersTheControls)
{
    const CEntityStyle style("s2", "Tahoma", 9, true, false, "0,0,255");
    CFontDialogEx dialog(nullptr, FontChoiceFromStyle(&style, 96), 96);
    EXPECT_EQ(dialog.GetTitle().ToStdString(wxConvUTF8), langStr("FONTDLG_NAME"));
    FontChoice untouched = dialog.GetChoice();
    EXPECT_EQ(untouched.face, "Tahoma");  // kept although the system may not list it
    EXPECT_EQ(untouched.pointSizeTenths, 90);
    EXPECT_EQ(untouched.weight, 700);
    EXPECT_FALSE(untouched.italic);
    EXPECT_EQ(std::vector<int>({untouched.red, untouched.green, untouched.blue}), std::vector<int>({0, 0, 255}));

    FontChoice answered;
    const int result = RunModal(dialog, [&] {
        // The filter narrows the faces; the selected face survives only when it matches.
        dialog.GetFilterBox()->SetValue("liberation");
        PumpEvents(20);
        for (unsigned i = 0; i < dialog.GetFaceList()->GetCount(); ++i)
            EXPECT_NE(dialog.GetFaceList()->GetString(i).Lower().Find("liberation"), wxNOT_FOUND);
        dialog.GetFilterBox()->SetValue("");
        dialog.SelectFace("Liberation Serif");
        dialog.GetSizeCtrl()->SetValue(14);
        dialog.GetBoldBox()->SetValue(false);
        dialog.GetItalicBox()->SetValue(true);
        dialog.GetColourPicker()->SetColour(wxColour(10, 20, 30));
        dialog.UpdateSample();
        PumpEvents(20);
        answered = dialog.GetChoice();
        Click(dialog.FindWindow(wxID_OK));
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(answered.face, "Liberation Serif");
    EXPECT_EQ(answered.pointSizeTenths, 140);
    EXPECT_EQ(answered.weight, 400);
    EXPECT_TRUE(answered.italic);
    EXPECT_EQ(std::vector<int>({answered.red, answered.green, answered.blue}), std::vector<int>({10, 20, 30}));
}

TEST(StyleNameWindow, OkTakesTheFieldsText)
{
    CStyleNameDlg dialog(nullptr);
    dialog.SetInitialName("s2");
    EXPECT_EQ(dialog.GetTitle().ToStdString(wxConvUTF8), langStr("STYLE_NAME"));
    std::string preset;
    bool focused = false;
    const int result = RunModal(dialog, [&] {
        PumpEvents(50);
        preset = dialog.GetNameField()->GetValue().ToStdString(wxConvUTF8);
        focused = wxWindow::FindFocus() == dialog.GetNameField();
        dialog.GetNameField()->SetValue("Body text");
        Click(dialog.FindWindow(wxID_OK));
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(preset, "s2");
    EXPECT_TRUE(focused);
    EXPECT_EQ(dialog.GetChosenName(), "Body text");

    CStyleNameDlg cancelled(nullptr);
    EXPECT_EQ(RunModal(cancelled, [&] { cancelled.EndModal(wxID_CANCEL); }), wxID_CANCEL);
    EXPECT_EQ(cancelled.GetChosenName(), "");
}
