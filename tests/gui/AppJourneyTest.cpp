// Journeys through the whole application under a virtual display: a main
// frame with its own documents and settings file per test, commands sent as
// the ribbon sends them, clicks through the X server, files re-read from disk.

#include "app/AppSettings.h"
#include "app/CanvasWindow.h"
#include "app/CommandTable.h"
#include "app/FileNames.h"
#include "app/FormwrightApp.h"
#include "app/FormwrightDoc.h"
#include "app/FormwrightView.h"
#include "app/MainFrame.h"
#include "app/Ribbon.h"
#include "controls/DiagramStatic.h"
#include "editor/CommandIds.h"
#include "gui/AppFixture.h"
#include "gui/GuiTestSupport.h"
#include "panes/ObjectInspectorWnd.h"
#include "panes/PropertiesWnd.h"
#include "services/Environment.h"
#include "services/LanguageTable.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>
#include <wx/arrstr.h>
#include <wx/config.h>
#include <wx/dcmemory.h>
#include <wx/fileconf.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/infobar.h>
#include <wx/listbox.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/print.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/toplevel.h>
#include <wx/uiaction.h>

#include "dialogs/ObjectClassDialog.h"
#include "dialogs/StartOptionsDialog.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>

using namespace fw;
using fw::test::PumpEvents;
using fw::test::WaitFor;

namespace {

namespace fs = std::filesystem;
using fw::test::AppJourney;
using fw::test::Click;
using fw::test::DialogDriver;
using fw::test::IsA;
using fw::test::SendCommand;

// ---------------------------------------------------------------------------

TEST_F(AppJourney, AFileGivenAsAPathOpensInATabWithItsPanesFilledAndTheLastCloseEmptiesThem)
{
    // Without a document the form's commands are off.
    EXPECT_FALSE(m_frame->GetCommandState(ID_TEXT_CTRL).enabled);
    EXPECT_FALSE(m_frame->GetCommandState(ID_FILE_CLOSE).enabled);
    EXPECT_TRUE(m_frame->GetCommandState(ID_FILE_NEW).enabled);

    FormwrightDoc* doc = Open(CopySample("PUMP_Main.xml"));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetModel().GetObjectClass(), "PUMP");
    EXPECT_FALSE(doc->WasReadInPart());

    ASSERT_EQ(m_frame->GetNotebook()->GetPageCount(), 1u);
    EXPECT_TRUE(m_frame->GetNotebook()->GetPageText(0).Contains("PUMP_Main"));
    FormwrightView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->IsInitialised());
    EXPECT_EQ(view->GetFormView().GetEditor().GetDiagramEntityContainer(), doc->GetModel().GetCurrentForm());

    // The inspector lists the class's properties; the properties pane shows the form.
    EXPECT_FALSE(m_frame->GetInspector()->GetCaption().empty());
    EXPECT_EQ(m_frame->GetInspector()->GetEntries(), doc->GetModel().GetClassProperties());
    EXPECT_FALSE(m_frame->GetInspector()->GetEntries().empty());
    EXPECT_TRUE(m_frame->GetPropertiesPane()->GetShownText().StartsWith(langStr("PROPWND_FORMPROP")));

    // Nothing to save or undo yet; the form's own commands are live.
    EXPECT_FALSE(m_frame->GetCommandState(ID_FILE_SAVE).enabled);
    EXPECT_FALSE(m_frame->GetCommandState(ID_EDIT_UNDO).enabled);
    EXPECT_TRUE(m_frame->GetCommandState(ID_EDIT_SELECT_ALL).enabled);
    EXPECT_TRUE(m_frame->GetCommandState(ID_FILE_SAVE_AS).enabled);

    SendCommand(*m_frame, ID_FILE_CLOSE);
    PumpEvents(50);
    EXPECT_TRUE(m_frame->GetDocManager().GetDocumentsVector().empty());
    EXPECT_EQ(m_frame->GetNotebook()->GetPageCount(), 0u);
    EXPECT_TRUE(m_frame->GetInspector()->GetCaption().empty());
    EXPECT_TRUE(m_frame->GetInspector()->GetEntries().empty());
}

TEST_F(AppJourney, TextToolClickUndoAndSaveReachTheFile)
{
    const std::string path = CopySample("PUMP_Main.xml");
    FormwrightDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    CDiagramEntityContainer& form = *doc->GetModel().GetCurrentForm();
    const int before = form.GetCount();
    const IntPoint where{400, 300};
    ASSERT_FALSE(HasTextNear(form, where));

    SendCommand(*m_frame, ID_TEXT_CTRL);
    EXPECT_TRUE(m_frame->GetCommandState(ID_TEXT_CTRL).checked);
    ClickOnPaper(where);
    ASSERT_TRUE(WaitFor([&] { return form.GetCount() == before + 1; }));
    EXPECT_TRUE(HasTextNear(form, where));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(m_frame->GetCommandState(ID_FILE_SAVE).enabled);
    EXPECT_TRUE(m_frame->GetCommandState(ID_EDIT_UNDO).enabled);

    SendCommand(*m_frame, ID_EDIT_UNDO);
    EXPECT_EQ(form.GetCount(), before);
    EXPECT_FALSE(HasTextNear(form, where));

    // Once more, then save and read the file back.
    SendCommand(*m_frame, ID_TEXT_CTRL);
    ClickOnPaper(where);
    ASSERT_TRUE(WaitFor([&] { return form.GetCount() == before + 1; }));
    SendCommand(*m_frame, ID_FILE_SAVE);
    EXPECT_FALSE(m_frame->GetCommandState(ID_FILE_SAVE).enabled);
    EXPECT_FALSE(doc->IsModified());

    FormDefinitionDocument reread;
    ASSERT_TRUE(reread.ReadFile(path));
    EXPECT_EQ(reread.GetCurrentForm()->GetCount(), before + 1);
    EXPECT_TRUE(HasTextNear(*reread.GetCurrentForm(), where));
    EXPECT_FALSE(fs::exists(path + ".bak")) << "a file read whole needs no backup";
}

TEST_F(AppJourney, ASecondWindowShowsTheSameFormAndClosesWithoutTheDocument)
{
    FormwrightDoc* doc = Open(CopySample("PUMP_Main.xml"));
    ASSERT_NE(doc, nullptr);
    FormwrightView* first = ActiveView();
    SendCommand(*m_frame, ID_WINDOW_NEW);
    PumpEvents(50);
    ASSERT_EQ(doc->GetFormViews().size(), 2u);
    ASSERT_EQ(m_frame->GetNotebook()->GetPageCount(), 2u);
    FormwrightView* second = doc->GetFormViews()[1];
    EXPECT_TRUE(second->IsInitialised());
    EXPECT_EQ(ActiveView(), second);

    // Switching between windows of one file leaves the inspector alone.
    const std::string caption = m_frame->GetInspector()->GetCaption();
    EXPECT_EQ(m_frame->GetPaneDocument(), doc);

    CDiagramEntityContainer& form = *doc->GetModel().GetCurrentForm();
    const int before = form.GetCount();
    SendCommand(*m_frame, ID_TEXT_CTRL);
    ClickOnPaper({300, 560});
    ASSERT_TRUE(WaitFor([&] { return form.GetCount() == before + 1; }));
    EXPECT_EQ(first->GetFormView().GetEditor().GetDiagramEntityContainer(), &form);
    EXPECT_EQ(second->GetFormView().GetEditor().GetDiagramEntityContainer(), &form);
    EXPECT_EQ(m_frame->GetInspector()->GetCaption(), caption);

    // Closing one of the two windows asks nothing and keeps the document.
    ASSERT_EQ(m_frame->GetPropertiesPane()->GetModel().GetEditor(), &second->GetFormView().GetEditor());
    DialogDriver driver({});
    second->GetFrame()->Close();
    PumpEvents(50);
    const CDiagramEditor* paneEditor = m_frame->GetPropertiesPane()->GetModel().GetEditor();
    EXPECT_TRUE(paneEditor == nullptr || paneEditor == &first->GetFormView().GetEditor())
        << "the properties pane let go of the closed window's editor";
    EXPECT_EQ(driver.Count(), 0);
    ASSERT_EQ(m_frame->GetDocManager().GetDocumentsVector().size(), 1u);
    EXPECT_EQ(doc->GetFormViews().size(), 1u);
    EXPECT_EQ(form.GetCount(), before + 1);
    EXPECT_EQ(m_frame->GetInspector()->GetCaption(), caption) << "the document was not closed";
}

TEST_F(AppJourney, TheTitleNamesTheActiveFileAndTabsNumberTheWindowsOfOneFile)
{
    EXPECT_EQ(m_frame->GetTitle(), "Formwright");
    FormwrightDoc* pump = Open(CopySample("PUMP_Main.xml"));
    ASSERT_NE(pump, nullptr);
    wxAuiNotebook* tabs = m_frame->GetNotebook();
    EXPECT_EQ(m_frame->GetTitle(), "PUMP_Main.xml - Formwright");
    pump->GetModel().GetCurrentForm()->SetModified(true);
    PumpEvents(20);
    EXPECT_EQ(m_frame->GetTitle(), "*PUMP_Main.xml - Formwright");

    SendCommand(*m_frame, ID_WINDOW_NEW);
    ASSERT_EQ(tabs->GetPageCount(), 2u);
    EXPECT_EQ(tabs->GetPageText(0), "PUMP_Main.xml:1");
    EXPECT_EQ(tabs->GetPageText(1), "PUMP_Main.xml:2");
    // The Windows list numbers them alike, with room for six before it scrolls.
    {
        DialogDriver driver({[](wxDialog& dialog) {
            wxListBox* list = nullptr;
            for (wxWindow* child : dialog.GetChildren())
                list = list ? list : dynamic_cast<wxListBox*>(child);
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->GetString(0), "PUMP_Main.xml:1");
            EXPECT_EQ(list->GetString(1), "PUMP_Main.xml:2");
            EXPECT_EQ(list->GetSelection(), 1);
            EXPECT_GE(list->GetCountPerPage(), 6);
            list->SetSelection(0);
            dialog.EndModal(wxID_OK);
        }});
        SendCommand(*m_frame, ID_WINDOW_MANAGER);
        ASSERT_EQ(driver.Count(), 1);
    }
    EXPECT_EQ(tabs->GetSelection(), 0);
    // As the tab's close button does.
    auto closeTab = [tabs](int page) {
        wxAuiNotebookEvent close(wxEVT_AUINOTEBOOK_PAGE_CLOSE, tabs->GetId());
        close.SetSelection(page);
        close.SetEventObject(tabs);
        tabs->GetEventHandler()->ProcessEvent(close);
        PumpEvents(20);
    };
    closeTab(1);
    ASSERT_EQ(tabs->GetPageCount(), 1u);
    EXPECT_EQ(tabs->GetPageText(0), "PUMP_Main.xml");
    SendCommand(*m_frame, ID_FILE_SAVE);
    EXPECT_EQ(m_frame->GetTitle(), "PUMP_Main.xml - Formwright");

    // The title follows the tab that comes forward, and a long filter is cut
    // in the tab but whole in its tooltip.
    ASSERT_NE(Open(CopySample("VALVE_Main.xml")), nullptr);
    EXPECT_EQ(m_frame->GetTitle(), "VALVE_Main.xml - Formwright");
    const std::string filter = "PUMP_TYPE:EQUAL:SCREW||PUMP_TYPE:EQUAL:SIDE CHANNEL||STATUS:EQUAL:Released";
    ASSERT_TRUE(m_frame->AddForm(filter));
    m_frame->SelectFormByName(filter);
    EXPECT_TRUE(tabs->GetPageText(1).EndsWith(wxString(L"\u2026"))) << tabs->GetPageText(1);
    EXPECT_LE(tabs->GetPageText(1).length(), 48u);
    EXPECT_TRUE(tabs->GetPageToolTip(1).EndsWith(wxString::FromUTF8(filter))) << tabs->GetPageToolTip(1);
    tabs->SetSelection(0);
    PumpEvents(20);
    EXPECT_EQ(m_frame->GetTitle(), "PUMP_Main.xml - Formwright");
    // The last tab of a file closes the file, asking first when it was changed;
    // with no file left the title is the program's.
    {
        DialogDriver driver({DialogDriver::Step::Answer(wxID_CANCEL), DialogDriver::Step::Answer(wxID_NO)});
        closeTab(1);
        EXPECT_EQ(tabs->GetPageCount(), 2u) << "Cancel keeps the tab";
        closeTab(1);
        EXPECT_EQ(driver.Count(), 2);
    }
    EXPECT_EQ(m_frame->GetDocManager().GetDocumentsVector().size(), 1u);
    closeTab(0);
    EXPECT_TRUE(m_frame->GetDocManager().GetDocumentsVector().empty());
    EXPECT_EQ(m_frame->GetTitle(), "Formwright");
}

TEST_F(AppJourney, SaveAsOffersTheClassInTheNameAndAsksBeforeAnotherClass)
{
    FormwrightDoc* doc = Open(CopySample("PUMP_Main.xml"));
    ASSERT_NE(doc, nullptr);
    const std::string folder = m_scratch.Path();
    auto choose = [](const std::string& path) {
        return [path](wxDialog& dialog) {
            auto& files = dynamic_cast<wxFileDialog&>(dialog);
            EXPECT_EQ(files.GetFilename(), "PUMP_Main.xml");
            EXPECT_TRUE(files.GetWildcard().StartsWith(langStr("FILE_FILTER_NAME"))) << files.GetWildcard();
            // Closed before it has read its folder, the toolkit's file
            // dialog logs criticals from its own idle work.
            PumpEvents(300);
            files.SetPath(wxString::FromUTF8(path));
            files.EndModal(wxID_OK);
        };
    };
    // The file dialog is announced twice, by itself and as a dialog.
    const DialogDriver::Step again = [](wxDialog&) {};
    // No to the question goes back to the file dialog, which offers the class's name again.
    DialogDriver driver({choose(folder + "/mypump.xml"), again, DialogDriver::Step::Answer(wxID_NO),
                         choose(folder + "/PUMP_Copy.xml"), again});
    SendCommand(*m_frame, ID_FILE_SAVE_AS);
    ASSERT_EQ(driver.Count(), 5);
    EXPECT_TRUE(driver.Messages()[2].Contains("\"mypump\"")) << driver.Messages()[2];
    EXPECT_FALSE(fs::exists(folder + "/mypump.xml"));
    EXPECT_TRUE(fs::exists(folder + "/PUMP_Copy.xml"));
    EXPECT_EQ(FileNameBytes(doc->GetFilename()), folder + "/PUMP_Copy.xml");
    EXPECT_EQ(m_frame->GetTitle(), "PUMP_Copy.xml - Formwright");
}

TEST_F(AppJourney, AFileOfAClassTheModelLacksSaysSoAndTheKnownFileRefillsTheInspector)
{
    ASSERT_NE(Open(CopySample("PUMP_Main.xml")), nullptr);
    const std::vector<std::string> pumpEntries = m_frame->GetInspector()->GetEntries();
    ASSERT_FALSE(pumpEntries.empty());
    const std::string other = m_scratch.Path() + "/mypump.xml";
    fs::copy_file(m_scratch.Path() + "/PUMP_Main.xml", other);
    ASSERT_NE(Open(other), nullptr);
    wxInfoBarGeneric* bar = ActiveView()->GetInfoBar();
    EXPECT_TRUE(bar->IsShown());
    wxString shown;
    for (wxWindow* child : bar->GetChildren())
        if (auto* label = dynamic_cast<wxStaticText*>(child))
            shown += label->GetLabel();
    EXPECT_TRUE(shown.Contains("\"mypump\"")) << shown;
    EXPECT_TRUE(m_frame->GetInspector()->GetEntries().empty());

    m_frame->GetNotebook()->SetSelection(0);
    PumpEvents(20);
    EXPECT_FALSE(ActiveView()->GetInfoBar()->IsShown());
    EXPECT_EQ(m_frame->GetInspector()->GetEntries(), pumpEntries);
}

TEST_F(AppJourney, ClosingAModifiedDocumentAsksAndFollowsTheAnswer)
{
    const std::string path = CopySample("PUMP_Main.xml");
    FormwrightDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    const std::string original = fw::test::ReadFile(path);
    CDiagramEntityContainer& form = *doc->GetModel().GetCurrentForm();
    const int before = form.GetCount();
    SendCommand(*m_frame, ID_TEXT_CTRL);
    ClickOnPaper({300, 560});
    ASSERT_TRUE(WaitFor([&] { return form.GetCount() == before + 1; }));

    {
        DialogDriver driver({DialogDriver::Step::Answer(wxID_CANCEL)});
        SendCommand(*m_frame, ID_FILE_CLOSE);
        ASSERT_EQ(driver.Count(), 1);
        EXPECT_TRUE(driver.Messages()[0].Contains("PUMP_Main"));
    }
    EXPECT_EQ(m_frame->GetDocManager().GetDocumentsVector().size(), 1u) << "Cancel keeps the document";

    {
        DialogDriver driver({DialogDriver::Step::Answer(wxID_YES)});
        SendCommand(*m_frame, ID_FILE_CLOSE);
        ASSERT_EQ(driver.Count(), 1);
    }
    PumpEvents(50);
    EXPECT_TRUE(m_frame->GetDocManager().GetDocumentsVector().empty());
    FormDefinitionDocument reread;
    ASSERT_TRUE(reread.ReadFile(path));
    EXPECT_EQ(reread.GetCurrentForm()->GetCount(), before + 1) << "Yes saves before closing";

    // No: closes and leaves the file as it was.
    doc = Open(path);
    ASSERT_NE(doc, nullptr);
    const std::string saved = fw::test::ReadFile(path);
    doc->GetModel().GetCurrentForm()->SetModified(true);
    {
        DialogDriver driver({DialogDriver::Step::Answer(wxID_NO)});
        SendCommand(*m_frame, ID_FILE_CLOSE);
        ASSERT_EQ(driver.Count(), 1);
    }
    PumpEvents(50);
    EXPECT_TRUE(m_frame->GetDocManager().GetDocumentsVector().empty());
    EXPECT_EQ(fw::test::ReadFile(path), saved);
    EXPECT_NE(saved, original);
}

TEST_F(AppJourney, AFileReadInPartKeepsItsOldBytesAsBakOnTheFirstSave)
{
    // The second filtered form lacks its filter, so the file is not read whole.
    const std::string path =
        m_scratch.Put("PUMP_Partial.xml", R"(<?xml version="1.0" encoding="utf-8" standalone="yes"?>
<?ORVANEX-application progid="Forms.OEF" version="0.1"?>
<FormDefinition>
  <Styles><Style name="s4" font="Arial" size="9" bold="false" italic="false" col="0,0,0"/></Styles>
  <Dialog title="EDIT_PUMP" size="400,300">
    <Controls><Text pos="10,10" size="200,20" style="s4">Kept</Text></Controls>
  </Dialog>
  <Dialogs>
    <Dialog title="EDIT_PUMP" size="400,300"><Controls/></Dialog>
  </Dialogs>
</FormDefinition>
)");
    const std::string original = fw::test::ReadFile(path);
    FormwrightDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->WasReadInPart());
    EXPECT_TRUE(m_frame->GetNotebook()->GetPageText(0).Contains(langStr("DOC_READ_IN_PART")));

    doc->GetModel().GetCurrentForm()->SetModified(true);
    SendCommand(*m_frame, ID_FILE_SAVE);
    ASSERT_TRUE(fs::exists(path + ".bak"));
    EXPECT_EQ(fw::test::ReadFile(path + ".bak"), original);
    EXPECT_NE(fw::test::ReadFile(path), original);
    EXPECT_FALSE(doc->WasReadInPart());
    EXPECT_FALSE(m_frame->GetNotebook()->GetPageText(0).Contains(langStr("DOC_READ_IN_PART")));

    // Later saves leave the backup alone.
    doc->GetModel().GetCurrentForm()->SetModified(true);
    SendCommand(*m_frame, ID_FILE_SAVE);
    EXPECT_EQ(fw::test::ReadFile(path + ".bak"), original);
}

TEST_F(AppJourney, AnAttributeLeftOutIsNamedWithItsLineAboveTheForm)
{
    std::string text = fw::test::ReadFile(Environment::instance().dataDir() + "/samples/PUMP_Main.xml");
    const size_t field = text.find("<Property ");
    ASSERT_NE(field, std::string::npos);
    text.insert(field + 10, "colour=\"red\" ");
    const std::string line = std::to_string(1 + std::count(text.begin(), text.begin() + field, '\n'));
    const std::string valve = CopySample("VALVE_Main.xml");  // with the pictures beside it
    const std::string path = m_scratch.Put("PUMP_Main.xml", text);
    FormwrightDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->WasReadInPart());
    ASSERT_NE(ActiveView(), nullptr);
    wxInfoBarGeneric* bar = ActiveView()->GetInfoBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->IsShown());
    wxString shown;
    for (wxWindow* child : bar->GetChildren())
        if (auto* label = dynamic_cast<wxStaticText*>(child)) {
            shown += label->GetLabel();
            // Every line has room, none wraps out of sight below the bar.
            const wxArrayString lines = wxSplit(label->GetLabel(), '\n', '\0');
            EXPECT_GE(label->GetSize().y, static_cast<int>(lines.size()) * label->GetCharHeight());
            for (const wxString& line : lines)
                EXPECT_LE(label->GetTextExtent(line).x, label->GetSize().x) << line;
        }
    EXPECT_TRUE(shown.Contains("Property (line " + line + "): the attribute \"colour\" is not read")) << shown;
    EXPECT_TRUE(shown.Contains(".bak")) << shown;

    // As the bar says, the first save keeps the old file.
    doc->GetModel().GetCurrentForm()->SetModified(true);
    SendCommand(*m_frame, ID_FILE_SAVE);
    EXPECT_EQ(fw::test::ReadFile(path + ".bak"), text);

    // A file read whole shows none.
    ASSERT_NE(Open(valve), nullptr);
    EXPECT_FALSE(ActiveView()->GetInfoBar()->IsShown());
}

TEST_F(AppJourney, AFileThatCannotBeParsedIsNotOpenedAndItsErrorIsShown)
{
    const std::string path = m_scratch.Put("PUMP_Torn.xml", "<FormDefinition>\n<Dialog>\n");
    DialogDriver driver({DialogDriver::Step::Answer(wxID_OK)});
    EXPECT_EQ(Open(path), nullptr);
    ASSERT_EQ(driver.Count(), 1);
    EXPECT_TRUE(driver.Messages()[0].Contains("(line 2, column 9)")) << driver.Messages()[0];
    EXPECT_TRUE(m_frame->GetDocManager().GetDocumentsVector().empty());
    EXPECT_EQ(fw::test::ReadFile(path), "<FormDefinition>\n<Dialog>\n");
}

TEST_F(AppJourney, AFileNameThatIsNotUtf8Opens)
{
    const std::string bytes = m_scratch.Path() + "/PUMP_M\xFCller.xml";  // Latin-1, not UTF-8
    fs::copy_file(Environment::instance().dataDir() + "/samples/VALVE_Main.xml", bytes);
    FormwrightDoc* doc = m_frame->OpenFile(wxFileName(FileNameFromBytes(bytes.c_str())).GetAbsolutePath());
    PumpEvents(50);
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->WasReadInPart());
    EXPECT_GT(doc->GetModel().GetMainForm()->GetCount(), 0);
    EXPECT_EQ(FileNameBytes(doc->GetFilename()), bytes);
}

TEST_F(AppJourney, ASaveThatWouldLoseAPictureAsksFirstAndNoKeepsTheFile)
{
    // The pump form copied without the picture that lies beside the sample.
    const std::string path = m_scratch.Put(
        "PUMP_Main.xml", fw::test::ReadFile(Environment::instance().dataDir() + "/samples/PUMP_Main.xml"));
    const std::string original = fw::test::ReadFile(path);
    FormwrightDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    doc->GetModel().GetCurrentForm()->SetHelp("Changed");
    doc->GetModel().GetCurrentForm()->SetModified(true);
    {
        DialogDriver driver({DialogDriver::Step::Answer(wxID_NO)});
        SendCommand(*m_frame, ID_FILE_SAVE);
        ASSERT_EQ(driver.Count(), 1);
        EXPECT_TRUE(driver.Messages()[0].Contains("pump.png")) << driver.Messages()[0];
    }
    EXPECT_EQ(fw::test::ReadFile(path), original);
    {
        DialogDriver driver({DialogDriver::Step::Answer(wxID_YES)});
        SendCommand(*m_frame, ID_FILE_SAVE);
        EXPECT_EQ(driver.Count(), 1);
    }
    EXPECT_NE(fw::test::ReadFile(path).find("Changed"), std::string::npos);
}

TEST_F(AppJourney, SavingOverAFileChangedOnDiskOrReadOnlyAsksFirst)
{
    const std::string path = CopySample("PUMP_Main.xml");
    FormwrightDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    doc->GetModel().GetCurrentForm()->SetHelp("Mine");
    doc->GetModel().GetCurrentForm()->SetModified(true);
    const std::string theirs = m_scratch.Put("PUMP_Main.xml", fw::test::ReadFile(path) + "\n");
    {
        DialogDriver driver({DialogDriver::Step::Answer(wxID_NO)});
        SendCommand(*m_frame, ID_FILE_SAVE);
        ASSERT_EQ(driver.Count(), 1);
        EXPECT_TRUE(driver.Messages()[0].Contains("changed on disk")) << driver.Messages()[0];
    }
    EXPECT_EQ(fw::test::ReadFile(path), fw::test::ReadFile(theirs));
    EXPECT_TRUE(doc->IsModified());

    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    {
        DialogDriver driver({DialogDriver::Step::Answer(wxID_YES), DialogDriver::Step::Answer(wxID_YES)});
        SendCommand(*m_frame, ID_FILE_SAVE);
        ASSERT_EQ(driver.Count(), 2);
        EXPECT_TRUE(driver.Messages()[1].Contains("read-only")) << driver.Messages()[1];
    }
    EXPECT_NE(fw::test::ReadFile(path).find("Mine"), std::string::npos);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

TEST_F(AppJourney, StartOptionsOkWithoutAChoiceLeadsToNewAndTheClassChooser)
{
    auto pressOk = [](wxDialog& dialog) { Click(dialog.FindWindow(wxID_OK)); };
    bool sawOptions = false;
    bool sawChooser = false;
    auto options = [&](wxDialog& dialog) {
        sawOptions = IsA<CFormDesignOptions>(dialog);
        pressOk(dialog);
    };

    // OK in the chooser with nothing selected: no document.
    {
        DialogDriver driver({options, [&](wxDialog& dialog) {
                                 sawChooser = IsA<CObjectClassList>(dialog);
                                 pressOk(dialog);
                             }});
        m_frame->RunStartOptions();
        EXPECT_EQ(driver.Count(), 2);
    }
    EXPECT_TRUE(sawOptions);
    EXPECT_TRUE(sawChooser);
    EXPECT_TRUE(m_frame->GetDocManager().GetDocumentsVector().empty());

    // A class picked in the chooser: a new 700 x 600 form of that class.
    {
        DialogDriver driver({options, [](wxDialog& dialog) {
                                 auto& chooser = dynamic_cast<CObjectClassList&>(dialog);
                                 chooser.GetSearchBox()->ChangeValue("PUMP");
                                 EXPECT_TRUE(chooser.Search());
                                 Click(chooser.GetOkButton());
                             }});
        m_frame->RunStartOptions();
    }
    PumpEvents(50);
    ASSERT_EQ(m_frame->GetDocManager().GetDocumentsVector().size(), 1u);
    auto* doc = dynamic_cast<FormwrightDoc*>(m_frame->GetDocManager().GetDocumentsVector()[0]);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetModel().GetObjectClass(), "PUMP");
    EXPECT_EQ(doc->GetModel().GetCurrentForm()->GetPaper().cx, 700);
    EXPECT_EQ(doc->GetModel().GetCurrentForm()->GetPaper().cy, 600);
    EXPECT_EQ(doc->GetFilename(), "PUMP_Main.xml");
    EXPECT_TRUE(ActiveView() && ActiveView()->IsInitialised());
    EXPECT_TRUE(m_frame->IsPaneShown(ID_VIEW_INSPECTORWND));

    // Cancel asks nothing more.
    {
        DialogDriver driver({[](wxDialog& dialog) { Click(dialog.FindWindow(wxID_CANCEL)); }});
        m_frame->RunStartOptions();
        EXPECT_EQ(driver.Count(), 1);
    }
    EXPECT_EQ(m_frame->GetDocManager().GetDocumentsVector().size(), 1u);
}

TEST_F(AppJourney, PanesStatusBarAndVisualStyleFollowTheirCommands)
{
    EXPECT_TRUE(m_frame->IsPaneShown(ID_VIEW_PROPERTIESWND));
    EXPECT_FALSE(m_frame->IsPaneShown(ID_VIEW_STATUS_BAR)) << "the status bar starts hidden";

    SendCommand(*m_frame, ID_VIEW_PROPERTIESWND);
    EXPECT_FALSE(m_frame->IsPaneShown(ID_VIEW_PROPERTIESWND));
    EXPECT_FALSE(m_frame->GetCommandState(ID_VIEW_PROPERTIESWND).checked);
    EXPECT_TRUE(m_frame->IsPaneShown(ID_VIEW_INSPECTORWND));
    SendCommand(*m_frame, ID_VIEW_PROPERTIESWND);
    EXPECT_TRUE(m_frame->GetCommandState(ID_VIEW_PROPERTIESWND).checked);

    SendCommand(*m_frame, ID_VIEW_INSPECTORWND);
    EXPECT_FALSE(m_frame->IsPaneShown(ID_VIEW_INSPECTORWND));
    SendCommand(*m_frame, ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(m_frame->GetCommandState(ID_VIEW_STATUS_BAR).checked);

    EXPECT_EQ(m_frame->GetApplicationLook(), ID_VIEW_APPLOOK_DEFAULT);
    SendCommand(*m_frame, 216);
    EXPECT_EQ(m_frame->GetApplicationLook(), 216);
    EXPECT_TRUE(m_frame->GetCommandState(216).checked);
    EXPECT_FALSE(m_frame->GetCommandState(ID_VIEW_APPLOOK_DEFAULT).checked);

    // Stored, so the next start draws it again.
    wxFileConfig stored(wxEmptyString, wxEmptyString, GetSettingsFilePath(), wxEmptyString, wxCONFIG_USE_LOCAL_FILE);
    EXPECT_EQ(stored.ReadLong("ApplicationLook", 0), 216);
    CloseFrame();
    InstallSettings();
    m_frame = MainFrame::Create();
    EXPECT_EQ(m_frame->GetApplicationLook(), 216);
    EXPECT_EQ(m_frame->GetRibbon().GetVisualStyle(), 216);
}

TEST_F(AppJourney, F6MovesTheFocusBetweenFormAndPanesAndF1OpensTheHelpBook)
{
    ASSERT_NE(Open(CopySample("PUMP_Main.xml")), nullptr);
    wxWindow* canvas = ActiveView()->GetCanvas();
    canvas->SetFocus();
    ASSERT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == canvas; }));
    SendCommand(*m_frame, ID_PREV_PANE);
    EXPECT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == m_frame->GetInspector()->GetList(); }));
    SendCommand(*m_frame, ID_NEXT_PANE);
    EXPECT_TRUE(WaitFor([&] { return wxWindow::FindFocus() == canvas; }));

    auto helpWindow = [this]() -> wxTopLevelWindow* {
        for (wxWindow* window : wxTopLevelWindows)
            if (window != m_frame && window->IsShown())
                return dynamic_cast<wxTopLevelWindow*>(window);
        return nullptr;
    };
    ASSERT_EQ(helpWindow(), nullptr);
    SendCommand(*m_frame, ID_HELP);
    ASSERT_TRUE(WaitFor([&] { return helpWindow() != nullptr; }));
    // Context 600044 is the getting-started page.
    EXPECT_TRUE(helpWindow()->GetTitle().Contains("Getting started")) << helpWindow()->GetTitle();
    helpWindow()->Close(true);
    PumpEvents(50);
}

TEST_F(AppJourney, ThePrintoutDrawsTheFormScaledToThePrinter)
{
    ASSERT_NE(Open(CopySample("PUMP_Main.xml")), nullptr);
    FormwrightView* view = ActiveView();
    std::unique_ptr<wxPrintout> printout(view->OnCreatePrintout());
    ASSERT_TRUE(printout);
    // A "printer" of twice the screen's resolution on a white page.
    const int dpi = view->GetFormView().GetScreenDpi();
    const IntSize paper = view->GetFormView().GetEditor().GetVirtualSize();
    wxBitmap page(paper.cx * 2 + 40, paper.cy * 2 + 40, 24);
    wxMemoryDC dc(page);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    printout->SetDC(&dc);
    printout->SetPPIPrinter(dpi * 2, dpi * 2);
    ASSERT_TRUE(printout->HasPage(1));
    EXPECT_FALSE(printout->HasPage(2));
    ASSERT_TRUE(printout->OnPrintPage(1));
    dc.SelectObject(wxNullBitmap);

    // The paper's face fills it to twice its size, and no further.
    const wxImage image = page.ConvertToImage();
    auto isWhite = [&image](int x, int y) {
        return image.GetRed(x, y) == 255 && image.GetGreen(x, y) == 255 && image.GetBlue(x, y) == 255;
    };
    EXPECT_FALSE(isWhite(paper.cx * 2 - 3, paper.cy * 2 - 3));
    EXPECT_TRUE(isWhite(paper.cx * 2 + 20, paper.cy * 2 + 20));
}

TEST_F(AppJourney, RecentFilesAreKeptInTheSettingsFile)
{
    const std::string path = CopySample("PUMP_Main.xml");
    ASSERT_NE(Open(path), nullptr);
    CloseFrame();

    wxFileConfig stored(wxEmptyString, wxEmptyString, GetSettingsFilePath(), wxEmptyString, wxCONFIG_USE_LOCAL_FILE);
    stored.SetPath("/RecentFiles");
    EXPECT_EQ(stored.Read("file1", ""), wxString::FromUTF8(path));

    InstallSettings();
    m_frame = MainFrame::Create();
    ASSERT_EQ(m_frame->GetDocManager().GetHistoryFilesCount(), 1u);
    EXPECT_EQ(m_frame->GetDocManager().GetFileHistory()->GetMaxFiles(), 4u);

    // The ribbon's recent list offers the file, and choosing it opens it.
    std::unique_ptr<wxMenu> recent = m_frame->GetRibbon().CreateDropdownMenu(ID_FILE_RECENT);
    ASSERT_EQ(recent->GetMenuItemCount(), 1u);
    wxMenuItem* entry = recent->FindItemByPosition(0);
    EXPECT_TRUE(entry->GetItemLabelText().Contains("PUMP_Main.xml"));
    wxCommandEvent choose(wxEVT_MENU, entry->GetId());
    recent->ProcessEvent(choose);
    test::PumpEvents(50);
    ASSERT_EQ(m_frame->GetDocManager().GetDocuments().GetCount(), 1u);
    EXPECT_EQ(m_frame->GetDocManager().GetCurrentDocument()->GetFilename(), wxString::FromUTF8(path));
}

class GermanAppJourney : public AppJourney {
protected:
    GermanAppJourney() { m_language = "German"; }
};

TEST_F(GermanAppJourney, RibbonAndPaneCaptionsAreGermanWhenGermanIsLoaded)
{
    LanguageTable english;
    ASSERT_TRUE(english.load(Environment::instance().languageDir() + "/English.lang"));
    const wxString save = m_frame->GetRibbon().GetLabel(ID_FILE_SAVE);
    EXPECT_EQ(save, wxString::FromUTF8(langStr("T_RIB_SAVE")));
    EXPECT_NE(save, wxString::FromUTF8(english.langStr("T_RIB_SAVE")));
    const wxString caption = m_frame->GetAuiManager().GetPane(m_frame->GetInspector()).caption;
    EXPECT_EQ(caption, wxString::FromUTF8(langStr("OBJ_PROPWND_NAME")));
    EXPECT_NE(caption, wxString::FromUTF8(english.langStr("OBJ_PROPWND_NAME")));
    EXPECT_EQ(m_frame->GetAuiManager().GetPane(m_frame->GetPropertiesPane()).caption,
              wxString::FromUTF8(langStr("PROPWND_NAME")));
}

TEST(HelpBook, EveryHelpContextOpensAPageOfTheBook)
{
    const fs::path book = Environment::instance().helpFile("");
    ASSERT_TRUE(fs::exists(book)) << book;
    const std::string project = fw::test::ReadFile(book.string());
    for (int context : {600044, 1}) {
        const std::string page = MainFrame::GetHelpPage(context).ToStdString();
        ASSERT_FALSE(page.empty()) << context;
        EXPECT_TRUE(fs::exists(book.parent_path() / page)) << page;
        EXPECT_NE(project.find(page), std::string::npos) << page << " is not in the book";
    }
    EXPECT_TRUE(MainFrame::GetHelpPage(4711).empty());
}

}  // namespace
