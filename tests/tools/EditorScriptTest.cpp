// Scripts of editor events: the language's checks, the events reaching the
// real editor in a form view, and the tool's script and render --editor.

#include "tools/EditorScript.h"
#include "tools/FormTool.h"

#include "controls/StandardControls.h"
#include "editor/CommandIds.h"
#include "model/ElementFactory.h"
#include "model/FormDefinitionDocument.h"
#include "render/CairoDrawContext.h"
#include "services/LanguageTable.h"
#include "support/Scratch.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>

using namespace fw;
using fw::test::FixturePath;
using fw::test::ReadFile;

namespace {

class EditorScript : public ::testing::Test {
protected:
    void SetUp() override
    {
        ElementFactory& table = ElementFactory::Global();
        if (!table.Knows("Property"))
            RegisterStandardControls(table);
        ASSERT_TRUE(m_doc.ReadFile(FixturePath("PUMP_Fields.xml")));
        m_session = std::make_unique<HeadlessFormView>(m_doc);
    }

    ScriptResult Run(const std::string& text)
    {
        std::istringstream in(text);
        m_err.str("");
        return RunEditorScript(m_session->View(), m_session->Host(), in, m_err);
    }

    CDiagramEntityContainer& Form() { return *m_doc.GetMainForm(); }
    CDiagramEditor& Editor() { return m_session->Editor(); }

    // The element of that name; the field rather than its caption unless asked.
    CDiagramEntity* Named(const std::string& name, bool label = false)
    {
        for (int i = 0; i < Form().GetCount(); ++i)
            if (Form().GetAt(i)->GetName() == name && Form().GetAt(i)->IsDependentPart() == label)
                return Form().GetAt(i);
        return nullptr;
    }

    static IntRect RectOf(const CDiagramEntity* e) { return e ? e->GetRect() : IntRect{-1, -1, -1, -1}; }

    test::DemoModel m_model;
    FormDefinitionDocument m_doc;
    std::unique_ptr<HeadlessFormView> m_session;
    std::ostringstream m_err;
};

// "Technical data" stands at (20, 10)-(220, 30) on a 500 x 300 paper.
constexpr IntRect TechnicalData{20, 10, 220, 30};

// Comments and blank lines are skipped but counted; a malformed line stops
// the script before any event runs.
TEST_F(EditorScript, AMalformedLineStopsTheScriptBeforeAnyEventRunsAndNamesItsLine)
{
    const ScriptResult result = Run("# drag the heading\n\n   press 100 20   # grab its body\n"
                                    "move 110 30\r\nrelease 110 30\n#done\nprees 1 2\n");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failedLine, 7);
    EXPECT_EQ(result.events, 0);
    EXPECT_EQ(m_err.str(), "script:7: unknown verb \"prees\"\n");

    const int count = Form().GetCount();
    EXPECT_EQ(Run("press 100 20\nrelease 100 20\nkey Delete\npress 1\n").failedLine, 4);
    EXPECT_EQ(m_err.str(), "script:4: press takes X Y [ctrl] [shift]\n");
    EXPECT_EQ(Form().GetCount(), count);
    EXPECT_EQ(Editor().GetSelectCount(), 0);
    EXPECT_FALSE(Form().IsModified());
}

TEST_F(EditorScript, EachMalformedLineNamesWhatIsWrong)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"press 1 2 meta", "press: \"meta\" is not ctrl, shift or alt"},
        {"move 1 2 ctrl ctrl", "move: ctrl is given twice"},
        {"release 1.5 2", "release: X \"1.5\" is not a whole number"},
        {"press 1 99999", "press: Y 99999 is not between -32767 and 32767"},
        {"rpress 1 2 ctrl", "rpress takes X Y"},
        {"dblclick 5", "dblclick takes X Y"},
        {"size 0 10", "size: W 0 is not between 1 and 16384"},
        {"key Home", "key: no key \"Home\""},
        {"key", "key takes NAME [ctrl] [shift]"},
        {"answer maybe", "answer: \"maybe\" is neither yes nor no"},
        {"tick 0", "tick: N 0 is not between 1"},
        {"tick 2 3", "tick takes [N]"},
        {"menu -1", "menu: ID -1 is not between 0 and 65535"},
        {"command 12345", "command: the form view has no command 12345"},
        {"command 57645", "command: the form view has no command 57645"},
        {"zoom 0", "zoom: Z must be above 0"},
        {"zoom 1,5", "zoom: Z \"1,5\" is not a number"},
        {"wheel", "wheel takes DELTA"},
        {"mpress 1 2 3", "mpress takes X Y"},
    };
    for (const auto& [line, message] : cases) {
        const ScriptResult result = Run("size 800 600\n" + line + "\n");
        EXPECT_FALSE(result.ok) << line;
        EXPECT_EQ(result.failedLine, 2) << line;
        EXPECT_EQ(m_err.str().rfind("script:2: " + message, 0), 0u) << line << " -> " << m_err.str();
    }
    EXPECT_EQ(m_session->Host().GetClientSize(), (IntSize{1000, 800})) << "nothing ran";
}

TEST_F(EditorScript, ADragMovesTheElementAndTheMarginsStopIt)
{
    // Grabbed 80 right of and 10 below its corner; let go where the corner would be at (-20, 0).
    const ScriptResult result = Run("press 100 20\nmove 80 15\nmove 60 10\nrelease 60 10\n");
    ASSERT_TRUE(result.ok) << m_err.str();
    EXPECT_EQ(result.events, 4);
    EXPECT_EQ(RectOf(Named("TXT_TECHNICAL_DATA")), (IntRect{7, 7, 207, 27}));
    EXPECT_TRUE(Form().IsModified());
    EXPECT_EQ(Editor().GetInteractMode(), ModeNone);
}

TEST_F(EditorScript, ModifiersReachTheEditor)
{
    // A Ctrl-click adds to the selection instead of replacing it.
    ASSERT_TRUE(Run("press 100 20\nrelease 100 20\npress 30 205 ctrl\nrelease 30 205 ctrl\n").ok) << m_err.str();
    EXPECT_EQ(Editor().GetSelectCount(), 2);
    EXPECT_EQ(Editor().GetSelectedObject(), Named("TXT_NOTES"));
    // Shift turns the arrow keys into a resize of both.
    ASSERT_TRUE(Run("key Right shift\n").ok);
    EXPECT_EQ(RectOf(Named("TXT_TECHNICAL_DATA")), (IntRect{20, 10, 221, 30}));
    EXPECT_EQ(RectOf(Named("TXT_NOTES")), (IntRect{20, 200, 141, 220}));
}

TEST_F(EditorScript, KeysAndZoomActOnTheSelection)
{
    // At zoom 2 one step is half a unit, raised to one.
    ASSERT_TRUE(Run("press 200 20\nrelease 200 20\nzoom 2\nkey Down\nkey Right\nzoom 25\n").ok) << m_err.str();
    EXPECT_EQ(RectOf(Named("TXT_TECHNICAL_DATA")), (IntRect{21, 11, 221, 31}));
    EXPECT_EQ(Editor().GetZoom(), 10.0);
    const int count = Form().GetCount();
    ASSERT_TRUE(Run("key Delete\n").ok);
    EXPECT_EQ(Form().GetCount(), count - 1);
    EXPECT_EQ(Named("TXT_TECHNICAL_DATA"), nullptr);
    ASSERT_TRUE(Run("key Z ctrl\n").ok);
    EXPECT_EQ(Form().GetCount(), count);
}

TEST_F(EditorScript, PopupMenusAnswerWithTheQueuedCommands)
{
    // The paper's menu: copy, then paste 10 units further on.
    const int count = Form().GetCount();
    ASSERT_TRUE(Run("press 100 20\nrelease 100 20\n"
                    "menu 57634\nrpress 450 250\nrrelease 450 250\n"
                    "menu 57637\nrpress 450 250\nrrelease 450 250\n")
                    .ok)
        << m_err.str();
    ASSERT_EQ(Form().GetCount(), count + 1);
    EXPECT_EQ(RectOf(Form().GetAt(count)), (IntRect{30, 20, 230, 40}));
    EXPECT_EQ(m_session->Host().GetShownMenus().size(), 2u);

    // An element's own menu: a dismissed one does nothing.
    ASSERT_TRUE(Run("rpress 30 210\nrrelease 30 210\n").ok);
    EXPECT_EQ(Form().GetCount(), count + 1);
    EXPECT_EQ(m_session->Host().GetShownMenus().size(), 3u);
}

TEST_F(EditorScript, TheTabOrderQuestionTakesTheQueuedAnswer)
{
    ASSERT_TRUE(Run("answer no\ncommand 32881\n").ok) << m_err.str();
    EXPECT_EQ(Named("FLOW_RATE")->GetTabIndex(), 2);
    ASSERT_TRUE(Run("answer yes\ncommand 32881\n").ok) << m_err.str();
    EXPECT_EQ(m_session->Host().GetQuestions().size(), 2u);
    // By position: ARTNO (34), FLOW_RATE (60), NAME (86), DESCRIPTION (112), MATERIAL (160).
    EXPECT_EQ(Named("ARTNO")->GetTabIndex(), 0);
    EXPECT_EQ(Named("FLOW_RATE")->GetTabIndex(), 1);
    EXPECT_EQ(Named("NAME")->GetTabIndex(), 2);
    EXPECT_EQ(Named("DESCRIPTION")->GetTabIndex(), 3);
    EXPECT_EQ(Named("MATERIAL")->GetTabIndex(), 4);
}

TEST_F(EditorScript, ACommandArmsAToolTheNextDragDrawsWith)
{
    const int count = Form().GetCount();
    ASSERT_TRUE(Run("command 32880\npress 350 200\nmove 400 230\nmove 420 250\nrelease 420 250\n").ok) << m_err.str();
    ASSERT_EQ(Form().GetCount(), count + 1);
    EXPECT_EQ(Form().GetAt(count)->GetType(), "rectangle");
    EXPECT_EQ(RectOf(Form().GetAt(count)), (IntRect{350, 200, 420, 250}));
    EXPECT_FALSE(Editor().IsDrawing());
}

TEST_F(EditorScript, ADisabledCommandIsSkippedWithANote)
{
    // Aligning needs two selected elements; with one the ribbon item is grey.
    const ScriptResult result = Run("press 100 20\nrelease 100 20\ncommand 32808\n");
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.events, 3);
    EXPECT_EQ(m_err.str(), "script:3: note: command 32808 is disabled here and does nothing\n");
}

TEST_F(EditorScript, AFormTheFileLacksStopsTheScriptWhereItIs)
{
    // The main form by no name is always there; a filter the file lacks is not.
    const ScriptResult result = Run("form\nform STATUS:=:Nothing\npress 100 20\n");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failedLine, 2);
    EXPECT_EQ(result.events, 1);
    EXPECT_EQ(m_err.str(), "script:2: form: the file has no form \"STATUS:=:Nothing\"\n");
    EXPECT_EQ(Editor().GetDiagramEntityContainer(), &Form());
}

TEST_F(EditorScript, PanningScrollsAtEachTickUntilTheNextMiddlePress)
{
    // A client smaller than the 500 x 300 paper gets scroll bars to pan.
    ASSERT_TRUE(Run("size 300 200\nmpress 100 100\nmove 164 100\ntick 2\n").ok) << m_err.str();
    EXPECT_TRUE(Editor().IsPanning());
    EXPECT_EQ(Editor().GetHScrollPos(), 8);
    EXPECT_EQ(Editor().GetVScrollPos(), 0);
    ASSERT_TRUE(Run("mpress 164 100\ntick\n").ok);
    EXPECT_FALSE(Editor().IsPanning());
    EXPECT_EQ(Editor().GetHScrollPos(), 8);
}

TEST_F(EditorScript, PaintShowsMarginsGridAndSelectionMarkers)
{
    auto paint = [&] {
        auto dc = CairoDrawContext::ForImage(1000, 800);
        Editor().Paint(*dc);
        return dc;
    };
    auto before = paint();
    EXPECT_EQ(before->PixelAt(7, 150), (Color{128, 128, 255})) << "left margin";
    const Color face = before->PixelAt(16, 48);
    ASSERT_TRUE(Run("press 100 20\nrelease 100 20\ncommand 32804\n").ok) << m_err.str();
    auto after = paint();
    // The marker on the top-left corner covers (16, 6)-(24, 14).
    EXPECT_EQ(after->PixelAt(17, 7), (Color{0, 0, 0}));
    EXPECT_NE(before->PixelAt(17, 7), (Color{0, 0, 0}));
    // The grid's dot at (16, 48) now shows.
    EXPECT_NE(after->PixelAt(16, 48), face);
    EXPECT_EQ(after->PixelAt(17, 48), face);
}

// The tool's commands around the scripts.
// The properties pane's rows and the object inspector's drop, as script verbs.
using PaneVerbs = EditorScript;

TEST_F(PaneVerbs, WithNothingSelectedPropEditsTheFormRows)
{
    const ScriptResult result = Run("prop 4416 Pump data sheet  \nprop 4415 true\nprop 4404 420\n");
    ASSERT_TRUE(result.ok) << m_err.str();
    EXPECT_EQ(result.events, 3);
    EXPECT_EQ(Form().GetHelp(), "Pump data sheet");
    EXPECT_TRUE(Form().IsSizeable());
    EXPECT_EQ(Form().GetPaper(), (IntSize{420, 300}));
    EXPECT_TRUE(Form().IsModified());
}

TEST_F(PaneVerbs, WithASelectionPropEditsItsRowsAndTheEditorUndoesEachEdit)
{
    CDiagramEntity* artno = Named("ARTNO");
    ASSERT_NE(artno, nullptr);
    ASSERT_TRUE(artno->IsReadOnly());
    const ScriptResult result = Run("press 200 40\nrelease 200 40\nprop 4006 70.5\nprop 4301 false\n"
                                    "prop 4305 Give a number.\n");
    ASSERT_TRUE(result.ok) << m_err.str();
    EXPECT_EQ(RectOf(artno), (IntRect{130, 70, 250, 90}));
    EXPECT_FALSE(artno->IsReadOnly());
    EXPECT_EQ(artno->GetValidationMessage(), "Give a number.");

    // Three edits, three snapshots: two undos leave only the move.
    ASSERT_TRUE(Run("key Z ctrl\nkey Z ctrl\n").ok) << m_err.str();
    artno = Named("ARTNO");
    ASSERT_NE(artno, nullptr);
    EXPECT_EQ(RectOf(artno), (IntRect{130, 70, 250, 90}));
    EXPECT_TRUE(artno->IsReadOnly());
}

TEST_F(PaneVerbs, AMissingRowOrAWrongKindStopsTheScriptAtItsLine)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"prop 4999 x", "prop: the form has no row 4999"},
        {"prop 4007 5", "prop: the form has no row 4007"},
        {"prop 4403 tall", "prop: row 4403 takes a whole number, not \"tall\""},
        {"prop 4415 yes", "prop: row 4415 takes true or false, not \"yes\""},
        {"prop 4408", "prop: row 4408 takes a whole number, not \"\""},
        {"press 200 40\nprop 4403 300", "prop: the selection has no row 4403"},
        {"press 200 40\nprop 4007 1e999", "prop: row 4007 takes a number"},
    };
    for (const auto& [lines, message] : cases) {
        const std::string text = "size 900 700\n" + lines + "\n";
        const int last = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
        const ScriptResult result = Run(text);
        EXPECT_FALSE(result.ok) << lines;
        EXPECT_EQ(result.failedLine, last) << lines;
        EXPECT_EQ(m_err.str().rfind("script:" + std::to_string(last) + ": " + message, 0), 0u)
            << lines << " -> " << m_err.str();
    }
    for (const char* line : {"prop", "prop x 5", "drop 1 2", "drop 1"}) {
        const ScriptResult result = Run(line + std::string("\n"));
        EXPECT_FALSE(result.ok) << line;
        EXPECT_EQ(result.events, 0) << line;
    }
}

TEST_F(PaneVerbs, DropPlacesAFieldWithItsCaptionAndNotesARefusedDrop)
{
    const int count = Form().GetCount();
    ASSERT_TRUE(Run("drop 300 240 Speed;SPEED\n").ok) << m_err.str();
    EXPECT_EQ(Form().GetCount(), count + 2);
    CDiagramEntity* field = Named("SPEED");
    ASSERT_NE(field, nullptr);
    EXPECT_NE(Named("SPEED", true), nullptr);
    EXPECT_TRUE(m_err.str().empty());

    // The form already shows SPEED: the script goes on with a note.
    const ScriptResult again = Run("drop 300 100 Speed;SPEED\nsize 900 700\n");
    EXPECT_TRUE(again.ok);
    EXPECT_EQ(again.events, 2);
    EXPECT_EQ(Form().GetCount(), count + 2);
    // The note carries the one message the designer would have read.
    const std::string err = m_err.str();
    EXPECT_EQ(err.rfind("script:1: note:", 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find(langStr("MSG_PROP_ALREADY_PRESENT")), std::string::npos) << err;
}

class ScriptTool : public EditorScript {
protected:
    struct Result {
        int code;
        std::string out;
        std::string err;
    };
    static Result Tool(const std::vector<std::string>& args)
    {
        std::ostringstream out;
        std::ostringstream err;
        const int code = RunFormTool(args, out, err);
        return {code, out.str(), err.str()};
    }

    // Width and height from a PNG's header.
    static IntSize PngSize(const std::string& path)
    {
        const std::string bytes = ReadFile(path);
        if (bytes.size() < 24 || bytes.compare(12, 4, "IHDR") != 0)
            return {};
        auto word = [&](size_t at) {
            int value = 0;
            for (size_t i = at; i < at + 4; ++i)
                value = value * 256 + static_cast<unsigned char>(bytes[i]);
            return value;
        };
        return {word(16), word(20)};
    }

    test::ScratchDir m_dir;
};

TEST_F(ScriptTool, ScriptWritesTheEditedFileAndDumpsWhatTheEditorLeft)
{
    const std::string script = m_dir.Put("drag.script", "press 100 20\nmove 60 10\nrelease 60 10\n");
    const std::string output = m_dir.Path() + "/PUMP_Out.xml";
    const Result result = Tool({"script", FixturePath("PUMP_Fields.xml"), script, "-o", output, "--dump"});
    ASSERT_EQ(result.code, ToolExit::Ok) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_NE(result.out.find("static:7.000000,7.000000,207.000000,27.000000,Technical data,TXT_TECHNICAL_DATA"),
              std::string::npos)
        << result.out;
    // The lines dump prints of the file as it was, but for the moved element.
    std::istringstream after(result.out);
    std::istringstream before(Tool({"dump", FixturePath("PUMP_Fields.xml")}).out);
    int lines = 0;
    int differing = 0;
    for (std::string a, b; std::getline(before, b);) {
        ASSERT_TRUE(std::getline(after, a)) << result.out;
        ++lines;
        differing += a != b;
    }
    EXPECT_EQ(lines, 2 + 11);
    EXPECT_EQ(differing, 1);

    FormDefinitionDocument written;
    ASSERT_TRUE(written.ReadFile(output));
    EXPECT_EQ(written.WriteToString(), ReadFile(output));
    bool found = false;
    for (int i = 0; i < written.GetMainForm()->GetCount(); ++i)
        if (written.GetMainForm()->GetAt(i)->GetName() == "TXT_TECHNICAL_DATA") {
            found = true;
            EXPECT_EQ(written.GetMainForm()->GetAt(i)->GetRect(), (IntRect{7, 7, 207, 27}));
        }
    EXPECT_TRUE(found);
}

TEST_F(ScriptTool, AFailingScriptWritesNothingAndExitsWithTwo)
{
    const std::string script = m_dir.Put("bad.script", "press 100 20\nrelease 100 20\nkey Delete\nwiggle\n");
    const std::string output = m_dir.Path() + "/PUMP_Out.xml";
    const Result result = Tool({"script", FixturePath("PUMP_Fields.xml"), script, "-o", output, "--dump"});
    EXPECT_EQ(result.code, ToolExit::Usage);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, script + ":4: unknown verb \"wiggle\"\n");
    EXPECT_FALSE(std::filesystem::exists(output));

    EXPECT_EQ(Tool({"script", FixturePath("PUMP_Fields.xml"), m_dir.Path() + "/missing.script"}).code, ToolExit::Usage);
    EXPECT_EQ(Tool({"script", FixturePath("PUMP_Fields.xml")}).code, ToolExit::Usage);
}

TEST_F(ScriptTool, RenderEditorDrawsTheClientAreaAfterTheScript)
{
    const std::string plain = m_dir.Path() + "/plain.png";
    Result result = Tool({"render", FixturePath("PUMP_Fields.xml"), "-o", plain, "--editor"});
    ASSERT_EQ(result.code, ToolExit::Ok) << result.err;
    EXPECT_EQ(result.out, plain + ": 1000x800\n");
    EXPECT_EQ(PngSize(plain), (IntSize{1000, 800}));

    const std::string script = m_dir.Put("small.script", "size 640 480\npress 100 20\nrelease 100 20\n");
    const std::string sized = m_dir.Path() + "/sized.png";
    result = Tool({"render", FixturePath("PUMP_Fields.xml"), "-o", sized, "--editor", "--script", script});
    ASSERT_EQ(result.code, ToolExit::Ok) << result.err;
    EXPECT_EQ(PngSize(sized), (IntSize{640, 480}));

    // Without --editor the paper alone is drawn, so a script has nothing to act on.
    result = Tool({"render", FixturePath("PUMP_Fields.xml"), "-o", sized, "--script", script});
    EXPECT_EQ(result.code, ToolExit::Usage);
    const std::string bad = m_dir.Put("bad.script", "size 640\n");
    const std::string none = m_dir.Path() + "/none.png";
    result = Tool({"render", FixturePath("PUMP_Fields.xml"), "-o", none, "--editor", "--script", bad});
    EXPECT_EQ(result.code, ToolExit::Usage);
    EXPECT_FALSE(std::filesystem::exists(none));
}

// The README's picture ends its script with the button still down: the
// held field stands where it snapped and both guides show.
TEST_F(EditorScript, TheReadmePictureHoldsADragThatSnapsToTwoGuides)
{
    ASSERT_TRUE(m_doc.ReadFile(std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/samples/PUMP_Main.xml"));
    m_session = std::make_unique<HeadlessFormView>(m_doc);
    ASSERT_TRUE(Run(ReadFile(std::string(FORMWRIGHT_SOURCE_ROOT) + "/docs/editor-canvas.script")).ok) << m_err.str();

    EXPECT_EQ(RectOf(Named("WEIGHT_KG")), (IntRect{510, 334, 590, 354}));
    std::vector<std::pair<bool, int>> guides;
    for (const SnapGuide& guide : Editor().GetSnapGuides())
        guides.emplace_back(guide.vertical, guide.at);
    std::sort(guides.begin(), guides.end());
    EXPECT_EQ(guides, (std::vector<std::pair<bool, int>>{{false, 334}, {true, 510}}));
}

TEST_F(ScriptTool, HelpListsEveryVerb)
{
    const std::string help = Tool({"--help"}).out;
    for (const ScriptVerb& verb : GetScriptVerbs())
        EXPECT_NE(help.find(std::string(verb.name) + " " + verb.synopsis), std::string::npos) << verb.name;
}

}  // namespace
