#include "model/FormDefinitionDocument.h"
#include "model/ElementFactory.h"
#include "model/LoadObserver.h"
#include "services/LanguageTable.h"
#include "services/Xml.h"
#include "support/Scratch.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <regex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace fw;
using fw::test::ReadFile;

namespace {

class DocumentFiles : public ::testing::Test {
protected:
    DocumentFiles() { fw::test::RegisterTestElements(ElementFactory::Global()); }
    ~DocumentFiles() override { ElementFactory::Global().Clear(); }

    // A form file with the given program id around `body`, at `name` in the scratch folder.
    std::string Put(const std::string& name, const std::string& body, const std::string& progId = "Forms.OEF")
    {
        return m_dir.Put(name, "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n"
                               "<?ORVANEX-application progid=\"" +
                                   progId + "\" version=\"0.1\"?>\n<FormDefinition>" + body + "</FormDefinition>\n");
    }
    static std::string Main(const std::string& controls = "")
    {
        return "<Dialog title=\"EDIT_X\" size=\"700,600\"><Controls>" + controls + "</Controls></Dialog>";
    }

    test::ScratchDir m_dir;
};

// Collects what the reader reports.
class Problems : public LoadObserver {
public:
    void FileProblem(const std::string& problem) override { lines.push_back("file: " + problem); }
    void FormProblem(const std::string& form, const std::string& problem) override
    {
        lines.push_back(form + ": " + problem);
    }
    void ElementDropped(const std::string&, const XmlElement& element, int ordinal, const std::string& reason) override
    {
        lines.push_back(std::string(element.getElementName()) + " #" + std::to_string(ordinal) + " line " +
                        std::to_string(element.getLine()) + ": " + reason);
    }
    std::vector<std::string> lines;
};

}  // namespace

TEST_F(DocumentFiles, WritesTheFixedShapeOfTheFileWithANewUuid)
{
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(Put("PUMP_Main.xml", Main())));
    const std::string text = doc.WriteToString();
    const std::string uuid = doc.GetMainForm()->GetUuid();  // upper-case random GUID text
    EXPECT_TRUE(std::regex_match(uuid, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[0-9A-F]{4}-[0-9A-F]{12}")))
        << uuid;
    EXPECT_EQ(text, "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n"
                    "<?ORVANEX-application progid=\"Forms.OEF\" version=\"0.1\"?>\n"
                    "<FormDefinition>\n  <Styles/>\n  <Dialog title=\"EDIT_PUMP\" size=\"700,600\" uuid=\"" +
                        uuid + "\">\n    <Controls/>\n  </Dialog>\n</FormDefinition>\n");
    ASSERT_TRUE(doc.ReadFile(Put("PUMP_Other.xml", Main())));
    doc.WriteToString();
    EXPECT_NE(doc.GetMainForm()->GetUuid(), uuid);
}

TEST_F(DocumentFiles, RequiredPartsAndDroppedElementsAreReportedAndTheProgIdDecidesTheKind)
{
    Problems problems;
    FormDefinitionDocument doc;
    doc.SetLoadObserver(&problems);
    EXPECT_FALSE(doc.ReadFile(m_dir.Put("A.xml", "<FormDefinition><Dialog")));
    EXPECT_FALSE(doc.ReadFile(m_dir.Put("B.xml", "<?xml version=\"1.0\"?><FormDefinition/>")));
    EXPECT_FALSE(doc.ReadFile(Put("C.xml", "<Styles/>")));
    EXPECT_FALSE(doc.ReadFile(m_dir.Put("D.xml", "<?ORVANEX-application progid=\"Forms.OEF\"?><Other/>")));
    ASSERT_EQ(problems.lines.size(), 4u);
    EXPECT_NE(problems.lines[0].find("line 1"), std::string::npos) << problems.lines[0];
    EXPECT_NE(problems.lines[1].find("instruction is missing"), std::string::npos) << problems.lines[1];
    EXPECT_NE(problems.lines[2].find("main \"Dialog\""), std::string::npos) << problems.lines[2];
    EXPECT_NE(problems.lines[3].find("FormDefinition"), std::string::npos) << problems.lines[3];

    problems.lines.clear();
    ASSERT_TRUE(doc.ReadFile(Put("PUMP_x.xml", Main(R"(
<Text title="ok" pos="10,10" size="5,5" colour="red"/>
<Text title="bad" pos="0,10" size="5,5"/>
<Button/>)") + "\n<Notes/><Dialog/>")));
    EXPECT_EQ(problems.lines,
              (std::vector<std::string>{"Text #2 line 5: \"pos\" 0,10 has a zero or negative coordinate",
                                        "Button #1 line 6: no such element"}));
    // Whatever is left out makes the file read in part, and is kept with its line.
    EXPECT_FALSE(doc.WasReadWhole());
    EXPECT_EQ(doc.GetReadProblems(),
              (std::vector<std::string>{"Text #2 (line 5): \"pos\" 0,10 has a zero or negative coordinate",
                                        "Button #1 (line 6): no such element",
                                        "Text (line 4): the attribute \"colour\" is not read",
                                        "Notes (line 7): \"FormDefinition\" holds no such element",
                                        "Dialog (line 7): a second \"Dialog\" in \"FormDefinition\" is not read"}));

    // A paper side below 1 is refused; the elements stay, on a paper that holds them.
    problems.lines.clear();
    ASSERT_TRUE(doc.ReadFile(Put("PUMP_x.xml", R"(<Dialog title="t" size="0,0"><Controls>
<Text title="far" pos="690,10" size="40,20"/></Controls></Dialog><Dialogs>
<Dialog title="t" size="-5,-5" filter="A"><Controls><Text title="ok" pos="10,10" size="5,5"/></Controls></Dialog>
</Dialogs>)")));
    EXPECT_EQ(doc.GetMainForm()->GetPaper(), (IntSize{730, 600}));
    EXPECT_EQ(doc.GetMainForm()->GetCount(), 1);
    ASSERT_NE(doc.GetForm("A"), nullptr);
    EXPECT_EQ(doc.GetForm("A")->GetPaper(), CDiagramEntityContainer::NewFormPaper);
    EXPECT_EQ(doc.GetForm("A")->GetCount(), 1);
    EXPECT_EQ(problems.lines,
              (std::vector<std::string>{"A: \"Dialog\" (line 5) \"size\" -5,-5 has a side below 1; read as 700,600",
                                        langStr("FD_DEFAULT") + ": \"Dialog\" (line 3) \"size\" 0,0 has a side "
                                                                "below 1; read as 730,600"}));

    const std::pair<const char*, const char*> kinds[] = {{"Forms.SEF", "SEF"}, {"Forms.XYZ", "OEF"}, {"Forms.", "OEF"}};
    for (const auto& [progId, kind] : kinds) {
        FormDefinitionDocument typed;
        ASSERT_TRUE(typed.ReadFile(Put("A.xml", Main(), progId))) << progId;
        EXPECT_EQ(typed.GetMainForm()->GetProgIdType(), kind) << progId;
    }
    FormDefinitionDocument foreign;
    EXPECT_FALSE(foreign.ReadFile(Put("D.xml", Main(), "Other.OEF")));
    EXPECT_FALSE(foreign.WasReadWhole());
}

TEST_F(DocumentFiles, PapersPlacesAndSizesBeyondTheLimitAreRefused)
{
    Problems problems;
    FormDefinitionDocument doc;
    doc.SetLoadObserver(&problems);
    ASSERT_TRUE(doc.ReadFile(Put("PUMP_x.xml", R"(<Dialog title="t" size="2000000000,600"><Controls>
<Text title="edge" pos="32767,10" size="32767,5"/>
<Text title="far" pos="10,32768" size="5,5"/>
<Text title="wide" pos="10,10" size="-32768,5"/>
<Text title="share" pos="10,20" size="5,5" moving="150,0" sizing="50,50"/>
</Controls></Dialog>)")));
    EXPECT_EQ(doc.GetMainForm()->GetPaper(), (IntSize{FormExtentLimit, 600}));
    ASSERT_EQ(doc.GetMainForm()->GetCount(), 2);
    EXPECT_EQ(doc.GetMainForm()->GetAt(0)->GetRect(), (IntRect{32767, 10, 65534, 15}));
    // A share of the form's growth beyond 100 per cent is left out too, and said so.
    EXPECT_EQ(doc.GetMainForm()->GetAt(1)->GetMoving(), (IntPoint{0, 0}));
    EXPECT_EQ(doc.GetMainForm()->GetAt(1)->GetSizing(), (IntPoint{50, 50}));
    EXPECT_EQ(doc.GetReadProblems().back(), "Text (line 7): the attribute \"moving\" is not read");
    EXPECT_EQ(problems.lines,
              (std::vector<std::string>{"Text #2 line 5: \"pos\" 10,32768 lies beyond 32767",
                                        "Text #3 line 6: \"size\" -32768,5 is larger than 32767",
                                        langStr("FD_DEFAULT") + ": \"Dialog\" (line 3) \"size\" 2000000000,600 has "
                                                                "a side beyond 32767; read as 32767,600"}));
    EXPECT_NE(doc.WriteToString().find("size=\"32767,600\""), std::string::npos);
}

TEST_F(DocumentFiles, FilteredFormsAreKeptByFirstFilterAndWrittenInKeyOrder)
{
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(Put("VALVE_x.xml", Main() + R"(<Dialogs>
  <Dialog title="t" size="300,200" filter="TYPE:=:B" uuid="U2"><Controls/></Dialog>
  <Dialog title="t" size="300,200" filter="TYPE:=:A,TYPE:=:C" sizeable="true" help="h.htm" uuid="U1"><Controls/></Dialog>
  <Dialog title="t" size="111,111" filter="TYPE:=:B" uuid="U3"><Controls/></Dialog>
  <Dialog title="t" filter="TYPE:=:D"><Controls/></Dialog>
</Dialogs>)")));
    EXPECT_FALSE(doc.WasReadWhole()) << "the B duplicate and the D form were left out";
    ASSERT_EQ(doc.GetFilteredForms().size(), 2u);
    EXPECT_EQ(doc.GetForm("TYPE:=:B")->GetPaper(), (IntSize{300, 200})) << "the first of a filter wins";
    EXPECT_EQ(doc.GetForm(langStr("FD_DEFAULT")), doc.GetMainForm());
    const std::string text = doc.WriteToString();
    EXPECT_NE(text.find("filter=\"TYPE:=:B\""), std::string::npos) << text;
    EXPECT_LT(text.find("<Dialog title=\"EDIT_VALVE\" size=\"300,200\" sizeable=\"true\" help=\"h.htm\" uuid=\"U1\" "
                        "filter=\"TYPE:=:A,TYPE:=:C\">"),
              text.find("filter=\"TYPE:=:B\""))
        << text;
}

TEST_F(DocumentFiles, AFailedWriteKeepsTheOldFileAndSaysWhy)
{
    const std::string path = Put("PUMP_x.xml", Main());
    const std::string before = ReadFile(path);
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(path));
    {
        test::ScopedFileSizeLimit full(16);
        EXPECT_TRUE(doc.WriteFile(path));
    }
    EXPECT_EQ(doc.GetWriteError(), "cannot write " + path + ": File too large");
    EXPECT_EQ(ReadFile(path), before);
    doc.WriteFile(m_dir.Path() + "/missing/PUMP_x.xml");
    EXPECT_EQ(doc.GetWriteError(), "cannot write " + m_dir.Path() + "/missing/PUMP_x.xml: No such file or directory");
}

TEST_F(DocumentFiles, SavingThroughALinkWritesTheLinkedFileAndKeepsTheLink)
{
    const std::string real = Put("forms/PUMP_Real.xml", Main());
    const std::string link = m_dir.Path() + "/PUMP_x.xml";
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(link));
    doc.WriteFile(link);
    ASSERT_EQ(doc.GetWriteError(), "");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(real), doc.WriteToString());
}

TEST_F(DocumentFiles, AChangeOnDiskSinceReadingOrSavingIsNoticed)
{
    const std::string path = Put("PUMP_x.xml", Main());
    const std::string other = Put("PUMP_y.xml", Main());
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(path));
    EXPECT_FALSE(doc.ChangedOnDisk(path));

    // Someone else writes it: the same size, a later time.
    const struct timespec later[2] = {{0, UTIME_OMIT}, {2000000000, 123}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), later, 0), 0);
    EXPECT_TRUE(doc.ChangedOnDisk(path));
    EXPECT_FALSE(doc.ChangedOnDisk(other)) << "only the file read is watched";

    // The document's own save is no change; a file put in its place is.
    doc.WriteFile(path);
    EXPECT_FALSE(doc.ChangedOnDisk(path));
    ASSERT_EQ(std::rename(other.c_str(), path.c_str()), 0);
    EXPECT_TRUE(doc.ChangedOnDisk(path));
    std::filesystem::remove(path);
    EXPECT_FALSE(doc.ChangedOnDisk(path)) << "a file that is gone loses nothing";
}

TEST_F(DocumentFiles, FormListOperations)
{
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(Put("PUMP_x.xml", Main(R"(<Text title="T" pos="10,10" size="5,5"/>)"))));
    EXPECT_TRUE(doc.AddForm("A"));
    EXPECT_FALSE(doc.AddForm("A"));
    EXPECT_EQ(doc.GetForm("A")->GetPaper(), (IntSize{700, 600}));
    EXPECT_EQ(doc.GetForm("A")->GetObjectClass(), "PUMP");  // from the file name
    EXPECT_EQ(FormDefinitionDocument::ObjectClassFromPath("C:\\forms\\Valve.xml"), "Valve");
    EXPECT_EQ(FormDefinitionDocument::ObjectClassFromPath("_odd.xml"), "_odd");
    // Save As keeps the class in the name it offers.
    EXPECT_EQ(FormDefinitionDocument::ProposedFileName("PUMP", "/f_x/PUMP_Main.xml"), "PUMP_Main.xml");
    EXPECT_EQ(FormDefinitionDocument::ProposedFileName("PUMP", "VALVE_Second.XML"), "PUMP_Second.xml");
    EXPECT_EQ(FormDefinitionDocument::ProposedFileName("PUMP", "/forms/mypump.xml"), "PUMP_Main.xml");
    EXPECT_EQ(FormDefinitionDocument::ProposedFileName("PUMP", "odd_"), "PUMP_Main.xml");
    EXPECT_TRUE(doc.IsObjectClassKnown());
    FormDefinitionDocument unknown;
    ASSERT_TRUE(unknown.ReadFile(Put("mypump.xml", Main(R"(<Text title="T" pos="10,10" size="5,5"/>)"))));
    EXPECT_FALSE(unknown.IsObjectClassKnown());

    CDiagramEntityContainer& main = *doc.GetMainForm();
    main.SetHelp("pump.htm");
    main.SetSizeable(true);
    main.SetNoButtons(true);
    main.SetUuid("MAIN-UUID");
    EXPECT_TRUE(doc.CopyForm("B", langStr("FD_DEFAULT")));
    CDiagramEntityContainer* copy = doc.GetForm("B");
    EXPECT_EQ(copy->GetCount(), 1);
    EXPECT_EQ(copy->GetFormName(), "B");
    EXPECT_EQ(copy->GetHelp(), "pump.htm");
    EXPECT_TRUE(copy->IsSizeable() && copy->HasNoButtons());
    EXPECT_NE(copy->GetUuid(), "MAIN-UUID");
    EXPECT_NE(copy->GetUuid(), "");
    EXPECT_FALSE(doc.CopyForm("C", "missing"));

    // Renaming the shown form keeps the form itself, whatever it holds.
    doc.SelectForm("B", false);
    copy->SetUuid("B-UUID");
    copy->Snapshot();
    EXPECT_FALSE(doc.RenameForm("A", "B"));
    EXPECT_TRUE(doc.RenameForm("C", "B"));
    EXPECT_EQ(doc.GetForm("B"), nullptr);
    ASSERT_EQ(doc.GetForm("C"), copy);
    EXPECT_EQ(doc.GetCurrentForm(), copy);
    EXPECT_EQ(copy->GetFormName(), "C");
    EXPECT_EQ(copy->GetUuid() + copy->GetHelp(), "B-UUIDpump.htm");
    EXPECT_EQ(copy->GetUndoCount(), 1);
    EXPECT_TRUE(doc.RenameForm("M", langStr("FD_DEFAULT")));
    EXPECT_NE(doc.GetForm(langStr("FD_DEFAULT")), nullptr) << "renaming the main form copies it";
    EXPECT_FALSE(doc.RemoveForm("nothing"));
    EXPECT_TRUE(doc.RemoveForm("M"));
    doc.RefreshLists(true);
    EXPECT_EQ(doc.GetFilterNames(), (std::vector<std::string>{"A", "C"}));
}

TEST_F(DocumentFiles, TheFileIsModifiedWhenAnyFormTheFormListOrTheStylesChanged)
{
    const std::string path =
        Put("PUMP_x.xml", "<Styles><Style name=\"s1\" font=\"Arial\" size=\"8\"/></Styles>" + Main() +
                              R"(<Dialogs><Dialog title="t" size="300,200" filter="A">
<Controls/></Dialog></Dialogs>)");
    using Change = void (*)(FormDefinitionDocument&);
    const std::pair<const char*, Change> changes[] = {
        {"an element on a form not shown",
         [](FormDefinitionDocument& d) { test::AddText(*d.GetForm("A"), 5, 5, 9, 9); }},
        {"a new form", [](FormDefinitionDocument& d) { d.AddForm("B"); }},
        {"a copied form", [](FormDefinitionDocument& d) { d.CopyForm("B", "A"); }},
        {"a renamed form", [](FormDefinitionDocument& d) { d.RenameForm("B", "A"); }},
        {"a removed form", [](FormDefinitionDocument& d) { d.RemoveForm("A"); }},
        {"a style changed", [](FormDefinitionDocument& d) { d.GetStyles().Find("s1")->SetBold(true); }},
        {"a style added",
         [](FormDefinitionDocument& d) {
             d.GetStyles().Add(std::make_unique<CEntityStyle>("s2", "Arial", 9, false, false, "0,0,0"));
         }},
        {"a style removed", [](FormDefinitionDocument& d) { d.GetStyles().Remove("s1"); }},
    };
    for (const auto& [what, change] : changes) {
        FormDefinitionDocument doc;
        ASSERT_TRUE(doc.ReadFile(path));
        ASSERT_FALSE(doc.IsModified()) << what;
        change(doc);
        EXPECT_TRUE(doc.IsModified()) << what;
        EXPECT_EQ(doc.GetCurrentForm(), doc.GetMainForm()) << what;
    }

    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(path));
    test::AddText(*doc.GetForm("A"), 5, 5, 9, 9);
    test::AddText(*doc.GetMainForm(), 5, 5, 9, 9);
    // A save that did not reach the disk leaves the changes to save.
    {
        test::ScopedFileSizeLimit full(16);
        doc.SaveDocument(path);
    }
    EXPECT_TRUE(doc.IsModified());
    doc.SaveDocument(path);
    EXPECT_FALSE(doc.IsModified()) << "every form is saved";
    EXPECT_FALSE(doc.GetForm("A")->IsModified());

    // Where the file was saved is a place in each form's history: undo and
    // redo leave nothing to save there, until a step is taken after undoing
    // past it.
    CDiagramEntityContainer& form = *doc.GetForm("A");
    auto step = [&](const char* name) {
        form.Snapshot(name);
        form.GetAt(0)->MoveRect(1, 0);
        form.SetModified(true);
    };
    step("Move");
    doc.SaveDocument(path);
    step("Move");
    form.Undo();
    EXPECT_FALSE(doc.IsModified());
    form.Redo();
    EXPECT_TRUE(doc.IsModified());
    form.Undo();
    form.Undo();
    EXPECT_TRUE(doc.IsModified());
    form.Redo();
    EXPECT_FALSE(doc.IsModified());
    form.Undo();
    step("Resize");
    form.Undo();
    EXPECT_TRUE(doc.IsModified()) << "the saved state is out of reach";
}

TEST_F(DocumentFiles, EveryFormOfEveryFileUsesOneClipboard)
{
    const std::string path = Put("PUMP_x.xml", Main(R"(<Text title="T" pos="10,10" size="5,5"/>)") +
                                                   R"(<Dialogs><Dialog title="t" size="300,200" filter="A">
<Controls/></Dialog></Dialogs>)");
    CDiagramClipboardHandler shared;
    FormDefinitionDocument first(&shared);
    FormDefinitionDocument second(&shared);
    ASSERT_TRUE(first.ReadFile(path));
    ASSERT_TRUE(second.ReadFile(path));
    ASSERT_TRUE(second.AddForm("B") && second.CopyForm("C", "A"));
    first.GetMainForm()->SelectAll();
    first.GetMainForm()->CopyAllSelected();
    ASSERT_EQ(shared.ObjectsInPaste(), 1);
    for (const char* filter : {"A", "B", "C"}) {
        second.GetForm(filter)->Paste();
        EXPECT_EQ(second.GetForm(filter)->GetCount(), 1) << filter;
    }

    // Without the application's clipboard a document's forms still share one.
    FormDefinitionDocument alone;
    ASSERT_TRUE(alone.ReadFile(path));
    alone.GetMainForm()->SelectAll();
    alone.GetMainForm()->CopyAllSelected();
    alone.GetForm("A")->Paste();
    EXPECT_EQ(alone.GetForm("A")->GetCount(), 1);
}

TEST_F(DocumentFiles, SelectingAFormByItsListName)
{
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(Put("PUMP_x.xml", Main(R"(<Text title="T" pos="10,10" size="5,5"/>)"))));
    ASSERT_TRUE(doc.AddForm("TYPE:EQUAL:PUMP"));
    const std::string main = langStr("FD_DEFAULT");
    EXPECT_EQ(doc.GetCurrentFormName(), main);

    EXPECT_TRUE(doc.SelectFormByName("TYPE:EQUAL:PUMP"));
    EXPECT_EQ(doc.GetCurrentForm(), doc.GetForm("TYPE:EQUAL:PUMP"));
    EXPECT_EQ(doc.GetCurrentFormName(), "TYPE:EQUAL:PUMP");
    // The current form's name in another case changes nothing.
    EXPECT_FALSE(doc.SelectFormByName("type:equal:pump"));
    // An unknown name keeps the form shown instead of leaving none.
    EXPECT_FALSE(doc.SelectFormByName("SIZE:LESS:3"));
    EXPECT_EQ(doc.GetCurrentFormName(), "TYPE:EQUAL:PUMP");

    EXPECT_TRUE(doc.SelectFormByName(main));
    EXPECT_EQ(doc.GetCurrentForm(), doc.GetMainForm());
}
