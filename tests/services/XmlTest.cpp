#include "services/Xml.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fw {
namespace {

namespace fs = std::filesystem;

const char* const Declaration = "?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?";
const char* const Instruction = "?ORVANEX-application progid=\"Forms.OEF\" version=\"0.1\"?";

const char* const SampleForm = R"(<?xml version="1.0" encoding="utf-8" standalone="yes"?>
<?ORVANEX-application progid="Forms.SEF" version="0.1"?>
<FormDefinition>
  <Styles>
    <Style name="Normal" font="Arial" size="9"/>
  </Styles>
  <Dialog title="EDIT_PUMP" size="700,600" uuid="0A1B">
    <Controls>
      <Image pos="10,20" size="30,40">pump.png</Image>
      <Text pos="1,2">Druck &amp; <![CDATA[<Menge>]]></Text>
      <Property pos="5,5"/>
    </Controls>
  </Dialog>
</FormDefinition>
)";

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

TEST(XmlDocument, ReadsTheFormFileStructure)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.parse(SampleForm)) << doc.errorText();
    EXPECT_EQ(doc.errorText(), "");

    XmlElement* root = doc.getChild("FormDefinition");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root, doc.root());
    EXPECT_EQ(doc.getChild("Dialog"), nullptr);  // only the root answers
    EXPECT_EQ(root->getChildCount(), 2);         // white space between elements is not content
    EXPECT_EQ(root->getElementValue(), "");

    XmlElement* dialog = root->getChild("Dialog");
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->getAttributeCount(), 3);
    EXPECT_EQ(dialog->getAttributeAt(0)->getName(), "title");
    EXPECT_EQ(dialog->getAttributeAt(2)->getAttribValue(), "0A1B");
    EXPECT_EQ(dialog->getAttributeAt(3), nullptr);
    ASSERT_NE(dialog->getAttributeValue("size"), nullptr);
    EXPECT_EQ(*dialog->getAttributeValue("size"), "700,600");
    EXPECT_EQ(dialog->getAttributeValue("help"), nullptr);
    EXPECT_EQ(dialog->getAttribute("Size"), nullptr);  // names are case-sensitive

    XmlElement* controls = dialog->getChild("Controls");
    ASSERT_NE(controls, nullptr);
    ASSERT_EQ(controls->getChildCount(), 3);
    EXPECT_EQ(controls->getChildAt(0)->getElementValue(), "pump.png");
    EXPECT_EQ(controls->getChildAt(1)->getElementValue(), "Druck & <Menge>");
    EXPECT_EQ(controls->getChildAt(2)->getElementName(), "Property");
    EXPECT_EQ(controls->getChildAt(3), nullptr);
    EXPECT_EQ(controls->getChildAt(-1), nullptr);
}

TEST(XmlDocument, TextIsConcatenatedAroundChildElements)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.parse("<A>one <B>inner</B>two</A>"));
    EXPECT_EQ(doc.root()->getElementValue(), "one two");
    EXPECT_EQ(doc.root()->getChild("B")->getElementValue(), "inner");
}

TEST(XmlDocument, ProcessingInstructionsBecomeHeaders)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.parse(SampleForm));
    XmlElement* header = doc.getHeader("ORVANEX-application");
    ASSERT_NE(header, nullptr);
    ASSERT_EQ(header->getAttributeCount(), 2);
    EXPECT_EQ(header->getAttributeAt(0)->getName(), "progid");
    EXPECT_EQ(header->getAttributeAt(0)->getAttribValue(), "Forms.SEF");
    EXPECT_EQ(header->getAttributeAt(1)->getName(), "version");
    EXPECT_EQ(header->getAttributeAt(1)->getAttribValue(), "0.1");
    EXPECT_EQ(doc.getHeader("other"), nullptr);

    XmlElement* declaration = doc.getHeader("xml");
    ASSERT_NE(declaration, nullptr);
    ASSERT_NE(declaration->getAttributeValue("standalone"), nullptr);
    EXPECT_EQ(*declaration->getAttributeValue("standalone"), "yes");
}

TEST(XmlDocument, PseudoAttributesInEitherQuotesAndStopAtJunk)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.parse("<?app a='x y'  b = \"2\" broken c=\"3\"?><R/>"));
    XmlElement* header = doc.getHeader("app");
    ASSERT_NE(header, nullptr);
    ASSERT_EQ(header->getAttributeCount(), 2);
    EXPECT_EQ(*header->getAttributeValue("a"), "x y");
    EXPECT_EQ(*header->getAttributeValue("b"), "2");

    ASSERT_TRUE(doc.parse("<?app?><R/>"));
    ASSERT_NE(doc.getHeader("app"), nullptr);
    EXPECT_EQ(doc.getHeader("app")->getAttributeCount(), 0);
}

TEST(XmlDocument, ParseErrorsSayWhereAndClearTheOldTree)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.parse(SampleForm));
    EXPECT_FALSE(doc.parse("<A>\n  <B>\n</A>\n"));
    EXPECT_NE(doc.errorText().find("line 3"), std::string::npos) << doc.errorText();
    EXPECT_EQ(doc.root(), nullptr);
    EXPECT_EQ(doc.getChild("FormDefinition"), nullptr);
    EXPECT_EQ(doc.getHeader("ORVANEX-application"), nullptr);

    EXPECT_FALSE(doc.parse(""));
    EXPECT_FALSE(doc.errorText().empty());
    EXPECT_FALSE(doc.parse("<?xml version=\"1.0\"?>"));
    EXPECT_FALSE(doc.parse("<A attr=\"unterminated></A>"));
}

TEST(XmlDocument, RefusesAbsurdNesting)
{
    std::string deep;
    for (int i = 0; i < 5000; ++i)
        deep += "<e>";
    for (int i = 0; i < 5000; ++i)
        deep += "</e>";
    XmlDocument doc;
    EXPECT_FALSE(doc.parse(deep));
    EXPECT_NE(doc.errorText().find("nested"), std::string::npos);
    EXPECT_EQ(doc.root(), nullptr);

    std::string modest;
    for (int i = 0; i < 50; ++i)
        modest += "<e>";
    for (int i = 0; i < 50; ++i)
        modest += "</e>";
    EXPECT_TRUE(doc.parse(modest));
}

TEST(XmlDocument, ReadReportsMissingFiles)
{
    XmlDocument doc;
    EXPECT_FALSE(doc.read("/nonexistent/form.xml"));
    EXPECT_NE(doc.errorText().find("/nonexistent/form.xml"), std::string::npos);
}

TEST(XmlWriter, WritesTheFormFileLayout)
{
    XmlWriter w;
    w.writeHeader(Declaration);
    w.writeHeader(Instruction);
    w.writeStartElement("FormDefinition");
    w.writeStartElement("Styles");
    w.writeStartElement("Style");
    w.writeAttributeString("name", "Normal");
    w.writeAttributeString("size", "9");
    w.writeEndElement();
    w.writeEndElement();
    w.writeStartElement("Dialog");
    w.writeAttributeString("title", "EDIT_PUMP");
    w.writeAttributeString("size", "700,600");
    w.writeStartElement("Controls");
    w.writeStartElement("Image");
    w.writeAttributeString("pos", "1,2");
    w.writeString("pump.png");
    w.writeEndElement();
    w.writeStartElement("Command");
    w.writeAttributeString("id", "AddIn");
    w.writeString("");
    w.writeEndElement(true, true);
    w.writeStartElement("Line");
    w.writeString("");
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndElement();

    EXPECT_EQ(w.text(), "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n"
                        "<?ORVANEX-application progid=\"Forms.OEF\" version=\"0.1\"?>\n"
                        "<FormDefinition>\n"
                        "  <Styles>\n"
                        "    <Style name=\"Normal\" size=\"9\"/>\n"
                        "  </Styles>\n"
                        "  <Dialog title=\"EDIT_PUMP\" size=\"700,600\">\n"
                        "    <Controls>\n"
                        "      <Image pos=\"1,2\">pump.png</Image>\n"
                        "      <Command id=\"AddIn\"></Command>\n"
                        "      <Line/>\n"
                        "    </Controls>\n"
                        "  </Dialog>\n"
                        "</FormDefinition>\n");
}

TEST(XmlWriter, InlineElementsAndLateAttributes)
{
    XmlWriter w;
    w.writeStartElement("P");
    w.writeString("a");
    w.writeStartElement("B", false);
    w.writeString("b");
    w.writeEndElement(false);
    w.writeAttributeString("late", "ignored");  // the start tag is closed already
    w.writeEndElement();
    EXPECT_EQ(w.text(), "<P>a<B>b</B></P>\n");
}

TEST(XmlWriter, EscapedValuesSurviveTheReader)
{
    const std::string attribute = "a & b < c > d \"q\" 's'\ttab\nline\r\nnext  two  spaces";
    const std::string text = "x < y & z > w \"q\"\r\nnext\ttab";
    XmlWriter w;
    w.writeHeader(Declaration);
    w.writeStartElement("Root");
    w.writeAttributeString("value", attribute);
    w.writeAttributeString("umlaut", "Größe ½ €");
    w.writeString(text);
    w.writeEndElement();
    const std::string& out = w.text();
    std::size_t tagStart = out.find("<Root");
    std::string startTag = out.substr(tagStart, out.find('>', tagStart) - tagStart);
    EXPECT_EQ(startTag.find_first_of("\t\r\n"), std::string::npos) << startTag;
    EXPECT_EQ(startTag.find('<', 1), std::string::npos) << startTag;
    EXPECT_EQ(out.find('\r'), std::string::npos);

    XmlDocument doc;
    ASSERT_TRUE(doc.parse(w.text())) << doc.errorText();
    EXPECT_EQ(*doc.root()->getAttributeValue("value"), attribute);
    EXPECT_EQ(*doc.root()->getAttributeValue("umlaut"), "Größe ½ €");
    EXPECT_EQ(doc.root()->getElementValue(), text);
}

TEST(XmlWriter, OutputStaysWellFormedForBadInput)
{
    XmlWriter w;
    w.writeStartElement("Root");
    w.writeAttributeString("bytes", "a\xff"
                                    "b\x01"
                                    "c");
    w.writeString("\x02text\xc3");
    w.writeStartElement("Open");
    // No end elements: close() balances them.
    EXPECT_TRUE(w.close());

    XmlDocument doc;
    ASSERT_TRUE(doc.parse(w.text())) << doc.errorText() << "\n" << w.text();
    EXPECT_EQ(*doc.root()->getAttributeValue("bytes"), "a\xEF\xBF\xBD"
                                                       "bc");
    EXPECT_EQ(doc.root()->getElementValue(), "text\xEF\xBF\xBD");
    EXPECT_NE(doc.root()->getChild("Open"), nullptr);
}

class XmlWriterFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "fw-xml-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_path = m_dir + "/PUMP_Main.xml";
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    static void writeSmallForm(XmlWriter& w, const char* title)
    {
        w.writeHeader(Declaration);
        w.writeStartElement("FormDefinition");
        w.writeStartElement("Dialog");
        w.writeAttributeString("title", title);
        w.writeEndElement();
        w.writeEndElement();
    }

    std::string m_dir;
    std::string m_path;
};

TEST_F(XmlWriterFile, CloseWritesTheTextAndTheReaderTakesIt)
{
    XmlWriter w;
    ASSERT_TRUE(w.create(m_path));
    writeSmallForm(w, "EDIT_PUMP");
    EXPECT_TRUE(w.close());
    EXPECT_EQ(readFile(m_path), w.text());
    EXPECT_FALSE(fs::exists(m_path + ".tmp"));

    XmlDocument doc;
    ASSERT_TRUE(doc.read(m_path)) << doc.errorText();
    EXPECT_EQ(*doc.getChild("FormDefinition")->getChild("Dialog")->getAttributeValue("title"), "EDIT_PUMP");
}

TEST_F(XmlWriterFile, DestructorWritesAnUnclosedWriter)
{
    {
        XmlWriter w;
        ASSERT_TRUE(w.create(m_path));
        writeSmallForm(w, "from destructor");
    }
    XmlDocument doc;
    ASSERT_TRUE(doc.read(m_path)) << doc.errorText();
    EXPECT_EQ(*doc.root()->getChild("Dialog")->getAttributeValue("title"), "from destructor");
}

TEST_F(XmlWriterFile, ReplacingKeepsTheFilePermissions)
{
    writeFile(m_path, "old");
    ASSERT_EQ(chmod(m_path.c_str(), 0640), 0);
    XmlWriter w;
    ASSERT_TRUE(w.create(m_path));
    writeSmallForm(w, "new");
    ASSERT_TRUE(w.close());
    struct stat info {};
    ASSERT_EQ(stat(m_path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_NE(readFile(m_path).find("\"new\""), std::string::npos);
}

TEST_F(XmlWriterFile, FailedWriteLeavesTheOldFile)
{
    writeFile(m_path, "old content");
    XmlWriter w;
    ASSERT_TRUE(w.create(m_path));
    writeSmallForm(w, "new");
    // A folder where the temporary file should go makes the write fail, even for root.
    fs::create_directory(m_path + ".tmp");
    EXPECT_FALSE(w.close());
    EXPECT_FALSE(w.close());  // the answer stays
    EXPECT_EQ(readFile(m_path), "old content");
}

TEST_F(XmlWriterFile, CreateFailsWhereNoFileCanBe)
{
    XmlWriter w;
    EXPECT_FALSE(w.create(m_dir + "/missing/folder/form.xml"));
    EXPECT_FALSE(w.create(""));
}

TEST(XmlWriter, WithoutCreateOnlyKeepsText)
{
    XmlWriter w;
    w.writeStartElement("A");
    w.writeEndElement();
    EXPECT_TRUE(w.close());
    EXPECT_EQ(w.text(), "<A/>\n");
    w.writeStartElement("B");  // after close nothing more is taken
    EXPECT_EQ(w.text(), "<A/>\n");
}

}  // namespace
}  // namespace fw

TEST(XmlDocument, ElementsKnowTheirLine)
{
    fw::XmlDocument doc;
    ASSERT_TRUE(doc.parse("<?xml version=\"1.0\"?>\n<A>\n  <B/>\n\n  <C><D/></C>\n</A>\n"));
    const fw::XmlElement* a = doc.root();
    EXPECT_EQ(a->getLine(), 2);
    EXPECT_EQ(a->getChild("B")->getLine(), 3);
    EXPECT_EQ(a->getChild("C")->getLine(), 5);
    EXPECT_EQ(a->getChild("C")->getChild("D")->getLine(), 5);
}
