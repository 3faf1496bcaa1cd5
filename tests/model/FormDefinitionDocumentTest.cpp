#include "model/FormDefinitionDocument.h"
#include "model/DocumentHost.h"
#include "model/ElementFactory.h"
#include "model/LoadObserver.h"
#include "services/LanguageTable.h"
#include "services/Xml.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace fw;

namespace {

namespace fs = std::filesystem;

class DocumentFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        fw::test::RegisterTestElements(ElementFactory::Global());
        m_dir =
            fs::temp_directory_path() / ("fw-doc-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        fs::remove_all(m_dir);
        ElementFactory::Global().Clear();
    }

    std::string Put(const std::string& name, const std::string& text)
    {
        std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static std::string Slurp(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static std::string File(const std::string& progId, const std::string& body)
    {
        return "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n"
               "<?ORVANEX-application progid=\"" +
               progId + "\" version=\"0.1\"?>\n<FormDefinition>" + body + "</FormDefinition>\n";
    }
    static std::string Main(const std::string& controls = "", const std::string& extra = "")
    {
        return "<Dialog title=\"EDIT_X\" size=\"700,600\"" + extra + "><Controls>" + controls + "</Controls></Dialog>";
    }

    fs::path m_dir;
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
        lines.push_back(element.getElementName() + " #" + std::to_string(ordinal) + " line " +
                        std::to_string(element.getLine()) + ": " + reason);
    }
    std::vector<std::string> lines;
};

}  // namespace

TEST(DocumentNaming, ObjectClassComesFromTheFileName)
{
    EXPECT_EQ(FormDefinitionDocument::ObjectClassFromPath("/forms/PUMP_Main.xml"), "PUMP");
    EXPECT_EQ(FormDefinitionDocument::ObjectClassFromPath("C:\\forms\\Valve.xml"), "Valve");
    EXPECT_EQ(FormDefinitionDocument::ObjectClassFromPath("_odd.xml"), "_odd");
    EXPECT_EQ(FormDefinitionDocument::ObjectClassFromPath("noext"), "noext");
}

TEST_F(DocumentFiles, WritesTheFixedShapeOfTheFile)
{
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(Put("PUMP_Main.xml", File("Forms.OEF", Main()))));
    doc.GetStyles().CreateDefaults();
    std::string text = doc.WriteToString();

    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n"
                         "<?ORVANEX-application progid=\"Forms.OEF\" version=\"0.1\"?>\n"
                         "<FormDefinition>\n  <Styles>\n",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("<Dialog title=\"EDIT_PUMP\" size=\"700,600\" uuid=\""), std::string::npos) << text;
    EXPECT_EQ(text.find("Dialogs"), std::string::npos) << "no filtered forms, no Dialogs";
    EXPECT_EQ(text.find("help="), std::string::npos);
    EXPECT_EQ(text.find("sizeable"), std::string::npos);
}

TEST_F(DocumentFiles, ProgIdDecidesTheFormKind)
{
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(Put("A.xml", File("Forms.SEF", Main()))));
    EXPECT_EQ(doc.GetMainForm()->GetProgIdType(), "SEF");

    FormDefinitionDocument unknown;
    ASSERT_TRUE(unknown.ReadFile(Put("B.xml", File("Forms.XYZ", Main()))));
    EXPECT_EQ(unknown.GetMainForm()->GetProgIdType(), "OEF");
    ASSERT_TRUE(unknown.ReadFile(Put("C.xml", File("Forms.", Main()))));
    EXPECT_EQ(unknown.GetMainForm()->GetProgIdType(), "OEF");

    FormDefinitionDocument foreign;
    EXPECT_FALSE(foreign.ReadFile(Put("D.xml", File("Other.OEF", Main()))));
    EXPECT_FALSE(foreign.WasReadWhole());
}

TEST_F(DocumentFiles, RequiredPartsAreReported)
{
    Problems problems;
    FormDefinitionDocument doc;
    doc.SetLoadObserver(&problems);
    EXPECT_FALSE(doc.ReadFile(Put("A.xml", "<FormDefinition><Dialog")));
    EXPECT_FALSE(doc.ReadFile(Put("B.xml", "<?xml version=\"1.0\"?><FormDefinition/>")));
    EXPECT_FALSE(doc.ReadFile(Put("C.xml", File("Forms.OEF", "<Styles/>"))));
    EXPECT_FALSE(doc.ReadFile(Put("D.xml", "<?ORVANEX-application progid=\"Forms.OEF\"?><Other/>")));
    ASSERT_EQ(problems.lines.size(), 4u);
    EXPECT_NE(problems.lines[0].find("line 1"), std::string::npos) << problems.lines[0];
    EXPECT_NE(problems.lines[1].find("instruction is missing"), std::string::npos) << problems.lines[1];
    EXPECT_NE(problems.lines[2].find("main \"Dialog\""), std::string::npos) << problems.lines[2];
    EXPECT_NE(problems.lines[3].find("FormDefinition"), std::string::npos) << problems.lines[3];
}

TEST_F(DocumentFiles, DroppedElementsAreNamedWithTheirPlace)
{
    Problems problems;
    FormDefinitionDocument doc;
    doc.SetLoadObserver(&problems);
    ASSERT_TRUE(doc.ReadFile(Put("PUMP_x.xml", File("Forms.OEF", Main(R"(
<Text title="ok" pos="10,10" size="5,5"/>
<Text title="bad" pos="0,10" size="5,5"/>
<Button/>)")))));
    EXPECT_TRUE(doc.WasReadWhole());
    ASSERT_EQ(problems.lines.size(), 2u);
    EXPECT_EQ(problems.lines[0], "Text #2 line 5: \"pos\" 0,10 has a zero or negative coordinate");
    EXPECT_EQ(problems.lines[1], "Button #1 line 6: no such element");
}

TEST_F(DocumentFiles, FilteredFormsRoundTripInKeyOrder)
{
    std::string body = R"(<Styles><Style name="s1" font="Arial" size="9"/></Styles>)" + Main() + R"(
<Dialogs>
  <Dialog title="t" size="300,200" filter="TYPE:=:B" uuid="U2"><Controls/></Dialog>
  <Dialog title="t" size="300,200" filter="TYPE:=:A,TYPE:=:C" sizeable="true" help="h.htm" uuid="U1"><Controls/></Dialog>
  <Dialog title="t" size="111,111" filter="TYPE:=:B" uuid="U3"><Controls/></Dialog>
  <Dialog title="t" filter="TYPE:=:D"><Controls/></Dialog>
</Dialogs>)";
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(Put("VALVE_x.xml", File("Forms.OEF", body))));
    EXPECT_FALSE(doc.WasReadWhole()) << "the B duplicate and the D form were left out";
    ASSERT_EQ(doc.GetFilteredForms().size(), 2u);
    CDiagramEntityContainer* ac = doc.GetForm("TYPE:=:A||TYPE:=:C");
    ASSERT_NE(ac, nullptr);
    EXPECT_TRUE(ac->IsSizeable());
    EXPECT_EQ(doc.GetForm("TYPE:=:B")->GetPaper(), (IntSize{300, 200})) << "the first of a filter wins";
    EXPECT_EQ(doc.GetForm(langStr("FD_DEFAULT")), doc.GetMainForm());

    std::string path = (m_dir / "out.xml").string();
    doc.WriteFile(path);
    EXPECT_EQ(doc.GetWriteError(), "");
    std::string first = Slurp(path);
    EXPECT_LT(first.find("filter=\"TYPE:=:A,TYPE:=:C\""), first.find("filter=\"TYPE:=:B\"")) << first;
    EXPECT_NE(first.find("<Dialog title=\"EDIT_VALVE\" size=\"300,200\" sizeable=\"true\" help=\"h.htm\" uuid=\"U1\" "
                         "filter=\"TYPE:=:A,TYPE:=:C\">"),
              std::string::npos)
        << first;

    FormDefinitionDocument again;
    ASSERT_TRUE(again.ReadFile(Put("VALVE_y.xml", first)));
    EXPECT_EQ(again.WriteToString(), first);
}

TEST_F(DocumentFiles, UuidIsMadeOnceAndKept)
{
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(Put("A.xml", File("Forms.OEF", Main()))));
    EXPECT_EQ(doc.GetMainForm()->GetUuid(), "");
    std::string first = doc.WriteToString();
    std::string uuid = doc.GetMainForm()->GetUuid();
    EXPECT_EQ(uuid.size(), 36u);
    EXPECT_NE(first.find("uuid=\"" + uuid + "\""), std::string::npos);
    EXPECT_EQ(doc.WriteToString(), first);
}

TEST_F(DocumentFiles, FieldsAreWrittenLastInTabOrder)
{
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(Put("PUMP_x.xml", File("Forms.OEF", Main(R"(
<Property name="P1" pos="100,40" size="50,20" tabOrder="1"/>
<Text title="T" pos="10,10" size="5,5"/>
<Property name="P0" pos="100,10" size="50,20" tabOrder="0"/>)")))));
    std::string text = doc.WriteToString();
    size_t t = text.find("<Text");
    size_t p0 = text.find("name=\"P0\"");
    size_t p1 = text.find("name=\"P1\"");
    EXPECT_LT(t, p0);
    EXPECT_LT(p0, p1);
}

TEST_F(DocumentFiles, AFailedWriteKeepsTheOldFile)
{
    std::string path = Put("PUMP_x.xml", File("Forms.OEF", Main()));
    std::string before = Slurp(path);
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(path));
    // A folder where the temporary file would go makes the write fail.
    fs::create_directory(path + ".tmp");
    EXPECT_TRUE(doc.WriteFile(path));
    EXPECT_NE(doc.GetWriteError(), "");
    EXPECT_EQ(Slurp(path), before);
    fs::remove(path + ".tmp");
}

TEST_F(DocumentFiles, FormListOperations)
{
    FormDefinitionDocument doc;
    ASSERT_TRUE(
        doc.ReadFile(Put("PUMP_x.xml", File("Forms.OEF", Main(R"(<Text title="T" pos="10,10" size="5,5"/>)")))));
    EXPECT_TRUE(doc.AddForm("A"));
    EXPECT_FALSE(doc.AddForm("A"));
    EXPECT_EQ(doc.GetForm("A")->GetPaper(), (IntSize{700, 600}));
    EXPECT_EQ(doc.GetForm("A")->GetObjectClass(), "PUMP");

    EXPECT_TRUE(doc.CopyForm("B", langStr("FD_DEFAULT")));
    EXPECT_EQ(doc.GetForm("B")->GetCount(), 1);
    EXPECT_EQ(doc.GetForm("B")->GetFormName(), "B");
    EXPECT_FALSE(doc.CopyForm("C", "missing"));

    doc.SelectForm("B", false);
    EXPECT_TRUE(doc.RenameForm("C", "B"));
    EXPECT_EQ(doc.GetForm("B"), nullptr);
    EXPECT_EQ(doc.GetCurrentForm(), doc.GetMainForm()) << "the removed form is not shown any more";

    EXPECT_TRUE(doc.RenameForm("M", langStr("FD_DEFAULT")));
    EXPECT_NE(doc.GetForm(langStr("FD_DEFAULT")), nullptr) << "renaming the main form copies it";
    EXPECT_FALSE(doc.RemoveForm("nothing"));
    EXPECT_TRUE(doc.RemoveForm("M"));

    doc.RefreshLists(true);
    EXPECT_EQ(doc.GetFilterNames(), (std::vector<std::string>{"A", "C"}));
}
