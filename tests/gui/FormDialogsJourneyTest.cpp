// Journeys through the form dialogs as the main frame opens them: choosing,
// renaming and removing filtered forms with the windows that show them, the
// preview of the shown form, and text styles changing what the canvas draws.

#include "app/CommandTable.h"
#include "dialogs/FilterDlg.h"
#include "dialogs/FormPreviewDlg.h"
#include "dialogs/StyleListDlg.h"
#include "editor/CommandIds.h"
#include "gui/AppFixture.h"
#include "model/FormDefinitionDocument.h"

#include <gtest/gtest.h>
#include <wx/aui/auibook.h>
#include <wx/listbox.h>
#include <wx/listctrl.h>

using namespace fw;
using fw::test::AppJourney;
using fw::test::Click;
using fw::test::DialogDriver;
using fw::test::PumpEvents;
using fw::test::SendCommand;

namespace {

const std::string Released = "STATUS:=:Released";
const std::string Screw = "PUMP_TYPE:EQUAL:SCREW||PUMP_TYPE:EQUAL:SIDE CHANNEL";

class FormDialogsJourney : public AppJourney {
protected:
    void SetUp() override
    {
        AppJourney::SetUp();
        m_path = CopySample("PUMP_Main.xml");
        m_doc = Open(m_path);
        ASSERT_NE(m_doc, nullptr);
    }

    FormDefinitionDocument& Model() { return m_doc->GetModel(); }
    const CDiagramEntityContainer* Shown()
    {
        return ActiveView()->GetFormView().GetEditor().GetDiagramEntityContainer();
    }
    wxString TabText() { return m_frame->GetNotebook()->GetPageText(0); }

    // Strongly red pixels of the canvas inside an element's rectangle.
    int RedPixelsOf(const CDiagramEntity& element)
    {
        CanvasWindow* canvas = ActiveView()->GetCanvas();
        canvas->Refresh();
        PumpEvents(100);
        const wxImage shot = fw::test::Capture(canvas, "style-journey");
        const IntRect r = ActiveView()->GetFormView().GetEditor().VirtualToScreen(
            IntRect{static_cast<int>(element.GetLeft()), static_cast<int>(element.GetTop()),
                    static_cast<int>(element.GetRight()), static_cast<int>(element.GetBottom())});
        int red = 0;
        for (int y = std::max(0, r.top); y < std::min(shot.GetHeight(), r.bottom); ++y)
            for (int x = std::max(0, r.left); x < std::min(shot.GetWidth(), r.right); ++x)
                if (shot.GetRed(x, y) > 180 && shot.GetGreen(x, y) < 90 && shot.GetBlue(x, y) < 90)
                    ++red;
        return red;
    }

    // Runs the style list from the ribbon: selects the row of `name`, lets
    // `act` work on the dialog, then closes it with OK.
    void WithStyleList(const std::string& name, const std::function<void(CStyleList&)>& act)
    {
        DialogDriver driver({[&](wxDialog& dialog) {
            auto& styles = dynamic_cast<CStyleList&>(dialog);
            const long row = styles.GetList()->FindItem(-1, wxString::FromUTF8(name));
            styles.GetList()->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
            act(styles);
            fw::test::Click(styles.GetOkButton());
        }});
        SendCommand(*m_frame, ID_ADDSTYLE);
        EXPECT_EQ(driver.Count(), 1);
    }

    std::string m_path;
    FormwrightDoc* m_doc = nullptr;
};

TEST_F(FormDialogsJourney, AChosenFilteredFormIsShownAndNamedInTheTab)
{
    m_frame->SelectFormByName(Released);
    PumpEvents(20);
    EXPECT_EQ(Shown(), Model().GetForm(Released));
    EXPECT_TRUE(TabText().Contains("PUMP_Main"));
    EXPECT_TRUE(TabText().Contains(wxString::FromUTF8(Released))) << TabText();

    // The same name in another case changes nothing; the default form goes back.
    m_frame->SelectFormByName("status:=:released");
    EXPECT_EQ(Shown(), Model().GetForm(Released));
    m_frame->SelectFormByName(langStr("FD_DEFAULT"));
    PumpEvents(20);
    EXPECT_EQ(Shown(), Model().GetMainForm());
    EXPECT_FALSE(TabText().Contains(wxString::FromUTF8(Released))) << TabText();
    EXPECT_FALSE(m_doc->IsModified()) << "showing a form is no edit";
}

TEST_F(FormDialogsJourney, TheFilterButtonListsTheFormsAndOkShowsTheChosenOne)
{
    wxArrayString entries;
    DialogDriver driver({[&](wxDialog& dialog) {
        auto& filters = dynamic_cast<CFilterDlg&>(dialog);
        entries = filters.GetList()->GetStrings();
        // The list opens on the form the editor shows.
        EXPECT_EQ(filters.GetList()->GetSelection(), 0);
        filters.GetList()->SetStringSelection(wxString::FromUTF8(Released));
        Click(filters.GetOkButton());
    }});
    SendCommand(*m_frame, ID_SHOWFILTER);
    ASSERT_EQ(driver.Count(), 1);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], wxString::FromUTF8(langStr("FD_DEFAULT")));
    EXPECT_EQ(Shown(), Model().GetForm(Released));
    EXPECT_TRUE(TabText().Contains(wxString::FromUTF8(Released))) << TabText();
}

TEST_F(FormDialogsJourney, RenamingOrRemovingTheShownFormNeverLeavesTheEditorOnAGoneForm)
{
    m_frame->SelectFormByName(Released);
    const CDiagramEntityContainer* released = Model().GetForm(Released);
    // A second window on the same file shows the same form.
    SendCommand(*m_frame, ID_WINDOW_NEW);
    ASSERT_EQ(m_doc->GetFormViews().size(), 2u);

    ASSERT_TRUE(m_frame->RenameForm("STATUS:=:Draft", Released));
    EXPECT_EQ(Model().GetForm(Released), nullptr);
    EXPECT_EQ(Model().GetForm("STATUS:=:Draft"), released) << "the form itself is filed anew";
    for (FormwrightView* view : m_doc->GetFormViews())
        EXPECT_EQ(view->GetFormView().GetEditor().GetDiagramEntityContainer(), released);
    EXPECT_TRUE(TabText().Contains("STATUS:=:Draft")) << TabText();
    EXPECT_TRUE(m_frame->GetCommandState(ID_FILE_SAVE).enabled) << "the file has changed";

    ASSERT_TRUE(m_frame->RemoveForm("STATUS:=:Draft"));
    for (FormwrightView* view : m_doc->GetFormViews())
        EXPECT_EQ(view->GetFormView().GetEditor().GetDiagramEntityContainer(), Model().GetMainForm());
    // The editor still works on what it shows.
    SendCommand(*m_frame, ID_EDIT_SELECT_ALL);
    EXPECT_GT(ActiveView()->GetFormView().GetEditor().GetSelectCount(), 0);
    EXPECT_FALSE(m_frame->RemoveForm("STATUS:=:Draft"));
}

TEST_F(FormDialogsJourney, AnEditOnTheMainFormIsAskedForAndSavedWhileAFilteredFormIsShown)
{
    const IntPoint placed{400, 300};
    SendCommand(*m_frame, ID_TEXT_CTRL);
    ClickOnPaper(placed);
    ASSERT_TRUE(HasTextNear(*Model().GetMainForm(), placed));
    SendCommand(*m_frame, ID_EDIT_COPY);

    DialogDriver chooser({[&](wxDialog& dialog) {
        auto& filters = dynamic_cast<CFilterDlg&>(dialog);
        filters.GetList()->SetStringSelection(wxString::FromUTF8(Released));
        Click(filters.GetOkButton());
    }});
    SendCommand(*m_frame, ID_SHOWFILTER);
    ASSERT_EQ(Shown(), Model().GetForm(Released));
    EXPECT_TRUE(m_frame->GetCommandState(ID_FILE_SAVE).enabled) << "the main form's edit is unsaved";

    // What was copied on one form pastes into another.
    const int before = Model().GetForm(Released)->GetCount();
    SendCommand(*m_frame, ID_EDIT_PASTE);
    EXPECT_EQ(Model().GetForm(Released)->GetCount(), before + 1);

    DialogDriver question({DialogDriver::Step::Answer(wxID_YES)});
    SendCommand(*m_frame, ID_FILE_CLOSE);
    ASSERT_EQ(question.Count(), 1) << "closing asks whether to save";
    EXPECT_TRUE(m_frame->GetDocManager().GetDocumentsVector().empty());
    FormDefinitionDocument saved;
    ASSERT_TRUE(saved.ReadFile(m_path));
    EXPECT_TRUE(HasTextNear(*saved.GetMainForm(), placed));
    ASSERT_NE(saved.GetForm(Released), nullptr);
    EXPECT_TRUE(HasTextNear(*saved.GetForm(Released), {placed.x + 10, placed.y + 10}, 3));
}

TEST_F(FormDialogsJourney, ARefusedFilterIsReportedOnceAndTheSavedFileKeepsTheRest)
{
    DialogDriver driver({DialogDriver::Step::Answer(wxID_OK)});
    EXPECT_FALSE(m_frame->AddForm(Screw));
    ASSERT_EQ(driver.Count(), 1);
    EXPECT_EQ(driver.Messages()[0], wxString::FromUTF8(langStr("FLTRDLG_MSG_1")));
    EXPECT_FALSE(m_frame->RemoveForm("NO:SUCH:FORM")) << "a failed remove says nothing";
    EXPECT_EQ(driver.Count(), 1);

    ASSERT_TRUE(m_frame->CopyForm("SIZE:GREATER:10&TYPE:LIKE:P*", langStr("FD_DEFAULT")));
    ASSERT_TRUE(m_frame->RemoveForm(Released));
    ASSERT_TRUE(m_doc->Save());
    const std::string saved = fw::test::ReadFile(m_path);
    EXPECT_NE(saved.find("filter=\"SIZE:GREATER:10&amp;TYPE:LIKE:P*\""), std::string::npos);
    EXPECT_NE(saved.find("filter=\"PUMP_TYPE:EQUAL:SCREW,PUMP_TYPE:EQUAL:SIDE CHANNEL\""), std::string::npos);
    EXPECT_EQ(saved.find(Released), std::string::npos);
}

TEST_F(FormDialogsJourney, ThePreviewShowsTheFormInTheEditorNotTheMainForm)
{
    m_frame->SelectFormByName(Released);
    const CDiagramEntityContainer& shown = *Model().GetForm(Released);
    size_t elementWindows = 0;
    DialogDriver driver({[&](wxDialog& dialog) {
        auto& preview = dynamic_cast<CFormPreviewDlg&>(dialog);
        for (const auto& child : preview.GetChildWindows())
            if (child.element) {
                ++elementWindows;
                EXPECT_GE(shown.FindIndex(child.element), 0) << "a control of another form";
            }
        preview.EndModal(wxID_OK);
    }});
    SendCommand(*m_frame, ID_FORM_PREVIEW);
    ASSERT_EQ(driver.Count(), 1);
    EXPECT_GT(elementWindows, 0u);
}

TEST_F(FormDialogsJourney, AStyleMadeRedRedrawsItsTextsAndDeletingItLeavesThemPlain)
{
    const CDiagramEntityContainer& form = *Model().GetMainForm();
    const CDiagramEntity* heading = nullptr;
    for (int i = 0; i < form.GetCount() && !heading; ++i)
        if (form.GetAt(i)->GetStyle() && form.GetAt(i)->GetStyle()->GetName() == "Heading")
            heading = form.GetAt(i);
    ASSERT_NE(heading, nullptr) << "the pump sample has a heading";
    EXPECT_EQ(RedPixelsOf(*heading), 0);

    WithStyleList("Heading", [](CStyleList& styles) {
        styles.runFontChooser = [](wxWindow*, const FontChoice& start, int, FontChoice& chosen) {
            chosen = start;
            chosen.pointSizeTenths = 140;
            chosen.weight = 700;
            chosen.red = 255;
            chosen.green = chosen.blue = 0;
            return true;
        };
        styles.runNameDialog = [](wxWindow*, const std::string& preset, std::string& name) {
            name = preset;
            return true;
        };
        styles.ModifyStyle();
    });
    ASSERT_NE(Model().GetStyles().Find("Heading"), nullptr);
    EXPECT_EQ(Model().GetStyles().Find("Heading")->GetColor(), "255,0,0");
    EXPECT_GT(RedPixelsOf(*heading), 20) << "the canvas draws the heading red";
    EXPECT_TRUE(m_frame->GetCommandState(ID_FILE_SAVE).enabled);

    WithStyleList("Heading", [](CStyleList& styles) { styles.DeleteStyle(); });
    EXPECT_EQ(Model().GetStyles().Find("Heading"), nullptr);
    EXPECT_EQ(heading->GetStyle(), nullptr);
    EXPECT_EQ(RedPixelsOf(*heading), 0);
}

}  // namespace
