// Every shipped sample and every round-trip fixture is read with the real
// controls, written, read back and written again; the two outputs must agree
// byte for byte, and the samples must already be in the written form.

#include "bench/FormGenerator.h"
#include "controls/DiagramButton.h"
#include "controls/StandardControls.h"
#include "model/ClipboardHandler.h"
#include "model/ElementFactory.h"
#include "model/FormDefinitionDocument.h"
#include "support/Scratch.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

using namespace fw;
using fw::test::FixturePath;
using fw::test::ReadFile;

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const std::string Samples = std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/samples";

std::vector<std::string> XmlFilesIn(const std::string& folder)
{
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".xml" && entry.path().filename() != "PUMP_Broken.xml")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

bool IsSample(const std::string& path)
{
    return fs::path(path).parent_path() == fs::path(Samples);
}

// Every match of `pattern` in `text`: the groups that took part joined by "|", else the whole match.
Lines Grep(const std::string& text, const std::string& pattern)
{
    Lines found;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it) {
        std::string joined;
        bool any = false;
        for (size_t i = 1; i < it->size(); ++i)
            if ((*it)[i].matched) {
                joined += (any ? "|" : "") + (*it)[i].str();
                any = true;
            }
        found.push_back(any ? joined : it->str());
    }
    return found;
}

class FormFiles : public ::testing::Test {
protected:
    FormFiles()
    {
        if (!ElementFactory::Global().Knows("Property"))
            RegisterStandardControls(ElementFactory::Global());
    }

    static std::string Written(FormDefinitionDocument& doc, const std::string& path)
    {
        EXPECT_TRUE(doc.ReadFile(path)) << path;
        return doc.WriteToString();
    }

    test::DemoModel m_model;
    test::ScratchDir m_dir;
};

class RoundTrip : public FormFiles, public ::testing::WithParamInterface<std::string> {};

// Each form's controls by kind and place, under the form's filter as written.
std::map<std::string, std::multiset<std::string>> ControlsByForm(const std::string& text)
{
    std::map<std::string, std::multiset<std::string>> forms;
    for (size_t at = text.find("<Dialog "), next = 0; at != std::string::npos; at = next) {
        next = text.find("<Dialog ", at + 1);
        const std::string form = text.substr(at, next == std::string::npos ? next : next - at);
        const Lines filter = Grep(form.substr(0, form.find('>')), R"~(filter="([^"]*)")~");
        for (const std::string& control : Grep(form, R"~(<(\w+)\s[^>]*?\bpos="([^"]*)")~"))
            forms[filter.empty() ? "" : filter[0]].insert(control);
    }
    return forms;
}

TEST_P(RoundTrip, SecondWriteEqualsFirstAndKeepsEveryControl)
{
    const std::string original = GetParam();
    FormDefinitionDocument first;
    const std::string once = Written(first, original);
    // The fixtures hold parts the reader leaves out on purpose; what we write never does.
    if (IsSample(original)) {
        EXPECT_TRUE(first.WasReadWhole()) << first.GetReadProblems().front();
        EXPECT_EQ(ReadFile(original), once) << original << " is not in the form the program writes";
    }

    // Saved under the same name, so it edits the same class.
    FormDefinitionDocument second;
    EXPECT_EQ(Written(second, m_dir.Put(fs::path(original).filename().string(), once)), once);
    EXPECT_TRUE(second.WasReadWhole());
    EXPECT_EQ(ControlsByForm(ReadFile(original)), ControlsByForm(once));
}

std::vector<std::string> RoundTripFiles()
{
    std::vector<std::string> files = XmlFilesIn(Samples);
    for (const std::string& fixture : XmlFilesIn(FORMWRIGHT_TEST_FIXTURES))
        files.push_back(fixture);
    return files;
}

std::string ParamName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string name = (IsSample(info.param) ? "sample_" : "fixture_") + fs::path(info.param).stem().string();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(FormFiles, RoundTrip, ::testing::ValuesIn(RoundTripFiles()), ParamName);

// The samples are the showcase: together they use every element and button
// kind and the form features a designer meets, and their pictures lie beside them.
TEST_F(FormFiles, SamplesShowEveryElementButtonKindAndFeature)
{
    EXPECT_GE(XmlFilesIn(FORMWRIGHT_TEST_FIXTURES).size(), 5u) << "the round trips would prove little";
    std::set<std::string> seen;
    size_t mostFilteredForms = 0;
    for (const std::string& sample : XmlFilesIn(Samples)) {
        const std::string text = ReadFile(sample);
        for (const char* pattern : {R"(<(\w+)\s[^>]*?\bpos=)", R"~(<(Command)\s[^>]*?\bid="(\w+)")~",
                                    R"(\s(sizeable|help|nobuttons|sizing|moving|labelSizing|labelMoving)=")",
                                    R"((validationRule)="[^",]*,)"})  // a rule with an alternative
            for (const std::string& found : Grep(text, pattern))
                seen.insert(found);
        mostFilteredForms = std::max(mostFilteredForms, Grep(text, "filter=").size());
        for (const std::string& picture : Grep(text, R"(<Image [^>]*>([^<]+)</Image>)"))
            EXPECT_EQ(ReadFile(Samples + "/" + picture).substr(0, 8), "\x89PNG\r\n\x1a\n") << picture;
    }
    std::set<std::string> expected = {"validationRule", "Ellipse",   "Image",   "Line",    "Property",    "Rectangle",
                                      "Table",          "Text",      "Command", "help",    "labelMoving", "labelSizing",
                                      "moving",         "nobuttons", "sizing",  "sizeable"};
    for (const ButtonKind& kind : CDiagramButton::Kinds())
        expected.insert(std::string("Command|") + kind.kind);
    EXPECT_EQ(seen, expected);
    EXPECT_GE(mostFilteredForms, 2u);
}

// --- what the program writes for the hand-written fixtures ------------------

TEST_F(FormFiles, PropertyFieldsComeLastInTabOrder)
{
    FormDefinitionDocument doc;
    EXPECT_EQ(
        Grep(Written(doc, FixturePath("PUMP_Fields.xml")), R"~(<Property [^>]*tabOrder="(-?\d+)"|<Text [^>]*>(\w+)<)~"),
        (Lines{"TXT_TECHNICAL_DATA", "TXT_NOTES", "-1", "0", "1", "2", "4"}));
}

TEST_F(FormFiles, StylesAreWrittenInOrdinalNameOrder)
{
    FormDefinitionDocument doc;
    const std::string text = Written(doc, FixturePath("ARTICLE_Filtered.xml"));
    // Upper case before lower case; the first "A" wins; size 4 and a style
    // without font are dropped; bold="TRUE" is not true.
    EXPECT_EQ(Grep(text, "<Style [^>]*/>"),
              (Lines{R"(<Style name="A" font="Arial" size="10" bold="false" italic="false" col="0,0,0"/>)",
                     R"(<Style name="Head,Bold" font="Arial" size="11" bold="true" italic="true" col="0,51,102"/>)",
                     R"(<Style name="b" font="Tahoma" size="9" bold="false" italic="false" col="0,0,255"/>)",
                     R"(<Style name="s4" font="Calibri" size="9" bold="false" italic="false" col="0,0,0"/>)"}));
    // In memory the comma is held as bars; the elements that use the style
    // find it either way and write it as the style list does.
    EXPECT_EQ(doc.GetMainForm()->GetAt(0)->GetStyleName(), "Head||Bold");
    EXPECT_NE(text.find(R"(style="Head,Bold">TXT_COMMERCIAL_DATA</Text>)"), std::string::npos);
    EXPECT_EQ(Grep(text, R"~(style="(Head[^"]*)")~"), (Lines{"Head,Bold", "Head,Bold"}));
}

TEST_F(FormFiles, DialogsOnlyWithFilteredFormsInKeyOrder)
{
    for (const char* plain : {"PUMP_Fields.xml", "DOCUMENT_Buttons.xml", "VALVE_Graphics.xml", "MOTOR.xml"}) {
        FormDefinitionDocument doc;
        EXPECT_EQ(Written(doc, FixturePath(plain)).find("<Dialogs"), std::string::npos) << plain;
    }
    // Key order, in the file form of the filter; sizeable="false" and an empty help are not written.
    FormDefinitionDocument doc;
    EXPECT_EQ(Grep(Written(doc, FixturePath("ARTICLE_Filtered.xml")),
                   R"(<Dialog title="EDIT_ARTICLE" size="[^"]*"(.*?) uuid="[^"]*"(.*?)>)"),
              (Lines{R"( nobuttons="true"|)",
                     R"( sizeable="true" help="Prices in a foreign currency"| )"
                     R"(filter="CURRENCY:NOTEQUAL:EUR,CURRENCY:EQUAL:&amp;PRICE:GREATER:0")",
                     R"(| filter="STATUS:=:Released")"}));
}

// Elements pasted into another file bring the styles it lacks, so their
// references survive a save and reopen; a style it has keeps its own look.
TEST_F(FormFiles, PastedElementsBringTheirStylesToAnotherFile)
{
    CDiagramClipboardHandler clipboard;
    FormDefinitionDocument source(&clipboard);
    FormDefinitionDocument target(&clipboard);
    ASSERT_TRUE(source.ReadFile(FixturePath("ARTICLE_Filtered.xml")));
    ASSERT_TRUE(target.ReadFile(FixturePath("PUMP_Fields.xml")));
    source.GetMainForm()->SelectAll();
    source.GetMainForm()->CopyAllSelected();
    target.GetMainForm()->Paste();

    FormDefinitionDocument reread;
    const std::string text = Written(reread, m_dir.Put("PUMP_Fields.xml", target.WriteToString()));
    EXPECT_EQ(Grep(text, R"~(<Style name="([^"]*)" font="([^"]*)")~"),
              (Lines{"A|Arial", "Head,Bold|Arial", "b|Tahoma", "s3|Calibri", "s4|Calibri"}));
    EXPECT_EQ(Grep(text, R"~(style="(A|Head,Bold|b)")~"), (Lines{"Head,Bold", "b", "A"}));
}

// Undo on a large generated form, fields with captions and styles among its
// elements: undo and redo steps share what did not change, and undoing all
// of them gives the form back exactly.
TEST_F(FormFiles, UndoStepsShareWhatDidNotChangeAndGiveTheFormBackExactly)
{
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(m_dir.Put("PUMP_Large.xml", GenerateFormFile(2000, 11))));
    CDiagramEntityContainer& form = *doc.GetMainForm();
    auto text = [&form] {
        std::string all;
        for (int i = 0; i < form.GetCount(); ++i)
            all += form.GetAt(i)->GetString() + "\n";
        return all;
    };
    const std::string before = text();
    auto move = [&form] {
        form.Snapshot("Move");
        form.GetAt(form.GetCount() / 2)->MoveRect(1, 0);
    };
    move();
    // Room for three copies of the whole form: sharing keeps every step and
    // every undone step (each kept for redo) far below that.
    const std::size_t whole = form.GetHistoryBytes();
    form.SetHistoryCap(3 * whole);
    constexpr int Steps = 40;
    for (int i = 0; i < Steps; ++i)
        move();
    ASSERT_EQ(form.GetUndoCount(), Steps + 1);
    while (form.GetUndoCount() > 0)
        form.Undo();
    EXPECT_EQ(form.GetRedoCount(), Steps + 1) << "the history dropped steps: they were not shared";
    EXPECT_EQ(text(), before);
}

TEST_F(FormFiles, UuidIsCreatedOnceAndKept)
{
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(FixturePath("ARTICLE_Filtered.xml")));
    EXPECT_TRUE(doc.GetMainForm()->GetUuid().empty());
    const std::string uuid = R"~(uuid="([^"]*)")~";
    const Lines first = Grep(doc.WriteToString(), uuid);
    ASSERT_EQ(first.size(), 3u);
    const std::regex guid("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}");
    EXPECT_TRUE(std::regex_match(first[0], guid)) << first[0];
    EXPECT_TRUE(std::regex_match(first[1], guid)) << first[1];
    EXPECT_NE(first[0], first[1]);
    EXPECT_EQ(doc.GetMainForm()->GetUuid(), first[0]);
    EXPECT_EQ(first[2], "11111111-2222-4333-8444-555555555555") << "a uuid the file had stays";

    // Saving again, or reading the saved file, keeps the uuids made the first time.
    EXPECT_EQ(Grep(doc.WriteToString(), uuid), first);
    FormDefinitionDocument reread;
    EXPECT_EQ(Grep(Written(reread, m_dir.Put("ARTICLE_Filtered.xml", doc.WriteToString())), uuid), first);
}

}  // namespace
