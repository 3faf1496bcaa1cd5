#include "services/Xml.h"

#include "services/LanguageTable.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace fw;

namespace {

namespace fs = std::filesystem;
using test::ReadFile;

const char* const Declaration = "?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?";

TEST(XmlDocument, ReadsTheFormFileStructure)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.parse(R"(<?xml version="1.0" encoding="utf-8" standalone="yes"?>
<?ORVANEX-application progid='Forms.SEF'  version = "0.1" broken x="1"?>
<Dialog title="EDIT_PUMP" size="700,600" uuid="0A1B">
  <Controls>
    <Image pos="10,20">pump.png</Image>
    <Text>Druck &amp; <![CDATA[<Menge>]]> x <B>inner</B>y</Text>

    <Property pos="5,5"/>
  </Controls>
</Dialog>
)")) << doc.errorText();
    const XmlElement* dialog = doc.root();
    EXPECT_EQ(doc.getChild("Dialog"), dialog);
    EXPECT_EQ(doc.getChild("Controls"), nullptr);  // only the root answers
    EXPECT_EQ(dialog->getLine(), 3);
    EXPECT_EQ(dialog->getChildCount(), 1);  // white space between elements is not content
    ASSERT_EQ(dialog->getAttributeCount(), 3);
    EXPECT_EQ(dialog->getAttributeAt(2)->getAttribValue(), "0A1B");
    EXPECT_EQ(*dialog->getAttributeValue("size"), "700,600");
    EXPECT_EQ(dialog->getAttributeValue("Size"), std::nullopt);  // names are case-sensitive

    const XmlElement* controls = dialog->getChild("Controls");
    ASSERT_EQ(controls->getChildCount(), 3);
    EXPECT_EQ(controls->getChildAt(0)->getElementValue(), "pump.png");
    EXPECT_EQ(controls->getChildAt(1)->getElementValue(), "Druck & <Menge> x y");  // text around children joined
    EXPECT_EQ(controls->getChildAt(2)->getLine(), 8);

    // Processing instructions become headers; pseudo-attributes take either quote and stop at junk.
    const XmlElement* header = doc.getHeader("ORVANEX-application");
    ASSERT_EQ(header->getAttributeCount(), 2);
    EXPECT_EQ(*header->getAttributeValue("progid"), "Forms.SEF");
    EXPECT_EQ(*header->getAttributeValue("version"), "0.1");
    EXPECT_EQ(*doc.getHeader("xml")->getAttributeValue("standalone"), "yes");
    EXPECT_EQ(doc.getHeader("other"), nullptr);
}

TEST(XmlDocument, ErrorsSayWhereAndClearTheOldTree)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.parse("<?app v='1'?><R/>"));
    EXPECT_FALSE(doc.parse("<A>\n  <B>\n</A>\n"));
    EXPECT_NE(doc.errorText().find("line 3"), std::string::npos) << doc.errorText();
    EXPECT_EQ(doc.root(), nullptr);
    EXPECT_EQ(doc.getHeader("app"), nullptr);
    for (const char* bad : {"", "<?xml version=\"1.0\"?>", "<A attr=\"unterminated></A>"}) {
        EXPECT_FALSE(doc.parse(bad)) << bad;
        EXPECT_FALSE(doc.errorText().empty()) << bad;
    }
    EXPECT_FALSE(doc.read("/nonexistent/form.xml"));
    EXPECT_NE(doc.errorText().find("/nonexistent/form.xml"), std::string::npos);

    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text = "<e>" + text + "</e>";
        return text;
    };
    EXPECT_FALSE(doc.parse(nested(5000)));
    EXPECT_NE(doc.errorText().find("nested"), std::string::npos);
    EXPECT_TRUE(doc.parse(nested(50)));
}

TEST(XmlDocument, LinesAreTheFilesOwnWhereTheParserRewritesTheBytes)
{
    // The parser works in the bytes it reads: line ends in values become
    // spaces and CR LF becomes LF. Lines still count the file's line ends.
    XmlDocument doc;
    ASSERT_TRUE(doc.parse("<A v=\"1\r\n2\n3\">x\r\ny&amp;\r\n<B/><!-- c -->\n<C w='\x01'/></A>"));
    EXPECT_EQ(doc.root()->getChildAt(0)->getLine(), 5);
    EXPECT_EQ(doc.root()->getChildAt(1)->getLine(), 6);
    ASSERT_EQ(doc.readNotes().size(), 2u);
    EXPECT_EQ(doc.readNotes()[0].line, 5);  // the comment
    EXPECT_EQ(doc.readNotes()[1].line, 6);  // the control character
    EXPECT_FALSE(doc.parse("<A v=\"1\n2\">\n<B></A>"));
    EXPECT_NE(doc.errorText().find("line 3, column"), std::string::npos) << doc.errorText();
}

TEST(XmlDocument, RefusesWhatIsNotARegularFileAndWhatIsTooLarge)
{
    test::ScratchDir dir;
    const std::string small = dir.Put("small.xml", "<Dialog/>");
    const std::string large = dir.Put("large.xml", "<Dialog>" + std::string(2000, ' ') + "</Dialog>");
    const std::string missing = dir.Path() + "/missing.xml";
    const struct {
        std::string path;
        XmlReadFailure failure;
        std::string says;
    } cases[] = {
        {small, XmlReadFailure::None, ""},
        {large, XmlReadFailure::Refused, large + ": larger than the limit of 1024 bytes"},
        {dir.Path(), XmlReadFailure::Refused, dir.Path() + ": not a regular file (a folder)"},
        {"/dev/null", XmlReadFailure::Refused, "/dev/null: not a regular file (a character device)"},
        {missing, XmlReadFailure::Unreadable, "cannot open " + missing + ": No such file or directory"},
    };
    for (const auto& c : cases) {
        XmlDocument doc;
        EXPECT_EQ(doc.read(c.path, 1024), c.failure == XmlReadFailure::None) << c.path;
        EXPECT_EQ(doc.failure(), c.failure) << c.path;
        EXPECT_EQ(doc.errorText(), c.says);
    }
    // Language files too.
    LanguageTable table;
    EXPECT_FALSE(table.load(dir.Path()));
    EXPECT_EQ(table.loadError(), dir.Path() + ": not a regular file (a folder)");
}

TEST(XmlWriter, WritesTheFormFileLayout)
{
    XmlWriter w;
    w.writeHeader(Declaration);
    w.writeStartElement("Dialog");
    w.writeAttributeString("title", "EDIT_PUMP");
    w.writeAttributeString("size", "700,600");
    w.writeStartElement("Image");
    w.writeAttributeString("pos", "1,2");
    w.writeString("pump.png");
    w.writeEndElement();
    w.writeStartElement("Command");
    w.writeString("");
    w.writeEndElement(true, true);
    w.writeStartElement("Line");
    w.writeString("");
    w.writeEndElement();
    w.writeStartElement("P");
    w.writeString("a");
    w.writeStartElement("B", false);
    w.writeString("b");
    w.writeEndElement(false);
    w.writeAttributeString("late", "ignored");  // the start tag is closed already
    w.writeEndElement();
    w.writeEndElement();
    EXPECT_TRUE(w.close());  // without create() only the text is kept
    w.writeStartElement("After");
    EXPECT_EQ(w.text(), "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n"
                        "<Dialog title=\"EDIT_PUMP\" size=\"700,600\">\n"
                        "  <Image pos=\"1,2\">pump.png</Image>\n"
                        "  <Command></Command>\n"
                        "  <Line/>\n"
                        "  <P>a<B>b</B></P>\n"
                        "</Dialog>\n");
}

TEST(XmlWriter, EscapedValuesSurviveTheReaderAndBadBytesAreReplaced)
{
    const std::string attribute = "a & b < c > d \"q\" 's'\ttab\nline\r\nnext  two  spaces";
    const std::string text = "x < y & z > w \"q\"\r\nnext\ttab";
    XmlWriter w;
    w.writeStartElement("Root");
    w.writeAttributeString("value", attribute);
    w.writeAttributeString("umlaut", "Größe ½ €");
    w.writeString(text);
    w.writeStartElement("Bad");
    w.writeAttributeString("bytes", "a\xff"
                                    "b\x01"
                                    "c");
    w.writeString("\x02text\xc3");
    w.writeStartElement("Open");
    EXPECT_TRUE(w.close());  // balances the open elements
    const std::string startTag = w.text().substr(0, w.text().find('>'));
    EXPECT_EQ(startTag.find_first_of("\t\r\n"), std::string::npos) << startTag;
    EXPECT_EQ(startTag.find('<', 1), std::string::npos) << startTag;
    EXPECT_EQ(w.text().find('\r'), std::string::npos);

    XmlDocument doc;
    ASSERT_TRUE(doc.parse(w.text())) << doc.errorText() << "\n" << w.text();
    EXPECT_EQ(*doc.root()->getAttributeValue("value"), attribute);
    EXPECT_EQ(*doc.root()->getAttributeValue("umlaut"), "Größe ½ €");
    EXPECT_EQ(doc.root()->getElementValue(), text);
    const XmlElement* bad = doc.root()->getChild("Bad");
    EXPECT_EQ(*bad->getAttributeValue("bytes"), "a\xEF\xBF\xBD"
                                                "bc");
    EXPECT_EQ(bad->getElementValue(), "text\xEF\xBF\xBD");
    EXPECT_NE(bad->getChild("Open"), nullptr);
}

class XmlWriterFile : public ::testing::Test {
protected:
    // A small form into a writer made for m_path; answers what create() answered.
    bool WriteForm(XmlWriter& w, const char* title)
    {
        const bool created = w.create(m_path);
        w.writeHeader(Declaration);
        w.writeStartElement("Dialog");
        w.writeAttributeString("title", title);
        w.writeEndElement();
        return created;
    }

    test::ScratchDir m_dir;
    std::string m_path = m_dir.Path() + "/PUMP_Main.xml";
};

TEST_F(XmlWriterFile, ReplacesTheFileKeepingItsPermissionsOrLeavesItOnFailure)
{
    m_dir.Put("PUMP_Main.xml", "old");
    ASSERT_EQ(chmod(m_path.c_str(), 0640), 0);
    {
        XmlWriter unclosed;
        ASSERT_TRUE(WriteForm(unclosed, "from destructor"));
    }
    XmlDocument doc;
    ASSERT_TRUE(doc.read(m_path)) << doc.errorText();
    EXPECT_EQ(*doc.root()->getAttributeValue("title"), "from destructor");

    XmlWriter w;
    ASSERT_TRUE(WriteForm(w, "EDIT_PUMP"));
    EXPECT_TRUE(w.close());
    EXPECT_EQ(ReadFile(m_path), w.text());
    EXPECT_EQ(m_dir.Names(), std::vector<std::string>{"PUMP_Main.xml"});
    struct stat info {};
    ASSERT_EQ(stat(m_path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    m_dir.Put("PUMP_Main.xml", "old content");
    XmlWriter failing;
    ASSERT_TRUE(WriteForm(failing, "new"));
    EXPECT_EQ(m_dir.Names(), std::vector<std::string>{"PUMP_Main.xml"}) << "the folder probe leaves nothing";
    {
        test::ScopedFileSizeLimit full(16);
        EXPECT_FALSE(failing.close());
    }
    EXPECT_FALSE(failing.close());  // the answer stays
    EXPECT_EQ(failing.errorText(), "cannot write " + m_path + ": File too large");
    EXPECT_EQ(ReadFile(m_path), "old content");

    XmlWriter other;
    EXPECT_FALSE(other.create(m_dir.Path() + "/missing/folder/form.xml"));
    EXPECT_EQ(other.errorText(),
              "cannot write " + m_dir.Path() + "/missing/folder/form.xml: No such file or directory");
    EXPECT_FALSE(other.create(""));
}

}  // namespace
