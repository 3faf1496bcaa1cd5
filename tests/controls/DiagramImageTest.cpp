#include "controls/DiagramImage.h"

#include "controls/PictureCtrl.h"
#include "model/ActiveDocument.h"
#include "model/DiagramEntityContainer.h"
#include "model/ElementFactory.h"
#include "model/PropertyGrid.h"
#include "services/LanguageTable.h"
#include "services/Xml.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace fw;

namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> SomeBytes(size_t count, unsigned char seed)
{
    std::vector<unsigned char> bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<unsigned char>(seed + i * 7);  // includes zero bytes
    return bytes;
}

void WriteFile(const fs::path& path, const std::vector<unsigned char>& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A scratch folder per test and a form that reads and writes through the
// "Image" element only.
class ImageTest : public ::testing::Test {
protected:
    ImageTest()
    {
        m_factory.Register("Image", [] { return std::make_unique<CDiagramImage>(); });
        m_form.SetElementFactory(&m_factory);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() /
                ("fw-image-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        SetActiveDocumentPath("");
    }

    ~ImageTest() override
    {
        SetActiveDocumentPath("");
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    bool Load(const std::string& controls)
    {
        m_doc = std::make_unique<XmlDocument>();
        if (!m_doc->parse("<Dialog title=\"t\" size=\"700,600\"><Controls>" + controls + "</Controls></Dialog>")) {
            ADD_FAILURE() << m_doc->errorText();
            return false;
        }
        m_form.Clear();
        m_form.SetXmlElement(m_doc->root());
        return m_form.LoadDialog();
    }

    // The written "Controls" element.
    std::string Write()
    {
        XmlWriter writer;
        m_form.SetXmlWriter(&writer);
        m_form.WriteControls();
        m_form.SetXmlWriter(nullptr);
        return writer.text();
    }

    // The first written element inside "Controls", without surrounding white space.
    std::string WrittenElement()
    {
        std::string text = Write();
        size_t start = text.find("<Image");
        size_t end = text.find('\n', start);
        return start == std::string::npos ? std::string() : text.substr(start, end - start);
    }

    CDiagramImage* ImageAt(int index) { return dynamic_cast<CDiagramImage*>(m_form.GetAt(index)); }

    ElementFactory m_factory;
    CDiagramEntityContainer m_form;
    std::unique_ptr<XmlDocument> m_doc;
    fs::path m_dir;
};

TEST_F(ImageTest, FullPathIsWrittenAsFileNameAndFoundAgainNextToTheFormFile)
{
    const auto picture = SomeBytes(3000, 1);
    const fs::path original = m_dir / "pictures" / "pump logo.png";
    WriteFile(original, picture);

    ASSERT_TRUE(Load("<Image pos=\"10,20\" size=\"30,40\">" + original.string() + "</Image>"));
    ASSERT_EQ(m_form.GetCount(), 1);
    EXPECT_EQ(ImageAt(0)->GetImagePath(), original.string());
    const std::string written = Write();
    EXPECT_NE(written.find(">pump logo.png</Image>"), std::string::npos) << written;
    EXPECT_EQ(written.find("pictures"), std::string::npos) << written;

    // The form file and its picture moved to another folder together.
    const fs::path formFolder = m_dir / "forms";
    WriteFile(formFolder / "pump logo.png", picture);
    SetActiveDocumentPath((formFolder / "PUMP_main.xml").string());
    const std::string body =
        written.substr(written.find("<Image"), written.find("</Controls>") - written.find("<Image"));
    ASSERT_TRUE(Load(body));
    ASSERT_EQ(m_form.GetCount(), 1);
    CDiagramImage* image = ImageAt(0);
    EXPECT_EQ(image->GetImagePath(), (formFolder / "pump logo.png").string());
    ASSERT_TRUE(image->LoadPendingPicture());
    EXPECT_EQ(image->GetPicture().GetData(), picture);
}

TEST_F(ImageTest, NameOfAMissingFileIsResolvedAgainstTheFormFolder)
{
    CDiagramImage image;
    // No form folder yet (a new form): the name is kept as given.
    image.SetImagePath("logo.bmp");
    EXPECT_EQ(image.GetImagePath(), "logo.bmp");

    SetActiveDocumentPath((m_dir / "PUMP_main.xml").string());
    image.SetImagePath("missing.bmp");
    EXPECT_EQ(image.GetImagePath(), (m_dir / "missing.bmp").string());
    SetActiveDocumentPath("forms\\PUMP_main.xml");
    image.SetImagePath("missing.bmp");
    EXPECT_EQ(image.GetImagePath(), "forms/missing.bmp");
}

TEST_F(ImageTest, ElementWithoutContentOrGeometryIsNotLoaded)
{
    ASSERT_TRUE(Load("<Image pos=\"10,20\" size=\"30,40\"></Image>"
                     "<Image size=\"30,40\">a.png</Image>"
                     "<Image pos=\"10,20\" size=\"0,0\">b.png</Image>"
                     "<Image pos=\"0,20\" size=\"30,40\">c.png</Image>"
                     "<Image pos=\"10,20\" size=\"30,40\" sizing=\"50,101\" moving=\"0,100\">d.png</Image>"));
    ASSERT_EQ(m_form.GetCount(), 1);
    CDiagramImage* image = ImageAt(0);
    EXPECT_EQ(fs::path(image->GetImagePath()).filename(), "d.png");
    EXPECT_EQ(image->GetRect(), (IntRect{10, 20, 40, 60}));
    EXPECT_EQ(image->GetSizing(), (IntPoint{0, 0}));
    EXPECT_EQ(image->GetMoving(), (IntPoint{0, 100}));
    EXPECT_EQ(image->GetType(), "Image");
    EXPECT_EQ(image->GetName(), "Image");
}

TEST_F(ImageTest, TransparentColourIsWrittenOnlyWhenSet)
{
    ASSERT_TRUE(Load("<Image pos=\"10,20\" size=\"30,40\" sizing=\"10,0\">a.png</Image>"));
    CDiagramImage* image = ImageAt(0);
    ASSERT_NE(image, nullptr);
    // Absent in the file means an empty entry, which is not written back.
    ASSERT_EQ(image->GetAttributes().count("transColor"), 1u);
    EXPECT_EQ(image->GetAttribute("transColor"), "");
    EXPECT_EQ(WrittenElement(), R"(<Image pos="10,20" size="30,40" sizing="10,0">a.png</Image>)");

    ASSERT_TRUE(Load("<Image pos=\"10,20\" size=\"30,40\" transColor=\"255,255,255\" moving=\"5,6\">a.png</Image>"));
    ImageAt(0)->SetAttribute("other", "not a file attribute");
    EXPECT_EQ(WrittenElement(),
              R"(<Image pos="10,20" size="30,40" transColor="255,255,255" moving="5,6">a.png</Image>)");
}

TEST_F(ImageTest, PictureIsReadOnlyWhenPendingAndAfterEachPathChange)
{
    const fs::path first = m_dir / "first.png";
    const fs::path second = m_dir / "second.png";
    WriteFile(first, SomeBytes(10, 3));
    WriteFile(second, SomeBytes(2048, 9));

    CDiagramImage image;
    EXPECT_FALSE(image.IsReloadPending());
    image.SetImagePath(first.string());
    EXPECT_TRUE(image.IsReloadPending());
    EXPECT_FALSE(image.GetPicture().IsLoaded()) << "setting the path reads nothing yet";
    ASSERT_TRUE(image.LoadPendingPicture());
    EXPECT_FALSE(image.IsReloadPending());
    EXPECT_EQ(image.GetPicture().GetData(), SomeBytes(10, 3));

    // Not pending: a changed file is not read again.
    WriteFile(first, SomeBytes(20, 4));
    image.LoadPendingPicture();
    EXPECT_EQ(image.GetPicture().GetData(), SomeBytes(10, 3));

    image.SetImagePath(second.string());
    ASSERT_TRUE(image.LoadPendingPicture());
    EXPECT_EQ(image.GetPicture().GetData(), SomeBytes(2048, 9));

    // A picture that cannot be read leaves nothing of the previous one.
    image.SetImagePath((m_dir / "gone.png").string());
    EXPECT_FALSE(image.LoadPendingPicture());
    EXPECT_FALSE(image.GetPicture().IsLoaded());
    EXPECT_TRUE(image.GetPicture().GetData().empty());
}

TEST_F(ImageTest, CopyHasItsPictureAtOnce)
{
    const fs::path file = m_dir / "logo.png";
    WriteFile(file, SomeBytes(100, 5));
    CDiagramImage image;
    image.SetImagePath(file.string());
    image.SetRect(5, 6, 50, 60);
    image.SetAttribute("transColor", "1,2,3");
    ASSERT_TRUE(image.IsReloadPending());

    std::unique_ptr<CDiagramEntity> copy = image.Clone();
    auto* copied = dynamic_cast<CDiagramImage*>(copy.get());
    ASSERT_NE(copied, nullptr);
    EXPECT_FALSE(copied->IsReloadPending());
    EXPECT_TRUE(copied->GetPicture().IsLoaded());
    EXPECT_EQ(copied->GetPicture().GetData(), SomeBytes(100, 5));
    EXPECT_EQ(copied->GetImagePath(), file.string());
    EXPECT_EQ(copied->GetRect(), (IntRect{5, 6, 50, 60}));
    EXPECT_EQ(copied->GetAttribute("transColor"), "1,2,3");

    // A copy whose file is missing is empty and does not try again.
    image.SetImagePath((m_dir / "gone.png").string());
    copy = image.Clone();
    copied = dynamic_cast<CDiagramImage*>(copy.get());
    EXPECT_FALSE(copied->GetPicture().IsLoaded());
    EXPECT_FALSE(copied->IsReloadPending());
}

class ImagePropertiesTest : public ImageTest {
protected:
    // Two images side by side, merged into one grid as a multiple selection.
    void AddBoth(const std::string& firstPath, const std::string& firstColor, const std::string& secondPath,
                 const std::string& secondColor)
    {
        m_first.SetImagePath(firstPath);
        m_first.SetAttribute("transColor", firstColor);
        m_second.SetImagePath(secondPath);
        m_second.SetAttribute("transColor", secondColor);
        m_first.AddProperties(m_grid, false);
        m_second.AddProperties(m_grid, false);
    }

    CDiagramImage m_first;
    CDiagramImage m_second;
    PropertyGrid m_grid;
};

TEST_F(ImagePropertiesTest, PathItemChoosesAPictureFile)
{
    m_first.SetImagePath("/pictures/logo.png");
    m_first.AddProperties(m_grid, false);
    PropertyItem* path = m_grid.FindItem(4501);
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->GetText(), "/pictures/logo.png");
    EXPECT_EQ(path->GetTitle(), langStr("T_PROP_IMG_PATH"));
    EXPECT_EQ(path->GetEditor(), PropertyEditor::FileChooser);
    EXPECT_EQ(path->GetFileFilter(),
              "(*.bmp)|*.bmp|(*.ico)|*.ico|(*.jpg)|*.jpg|(*.png)|*.png|(*.gif)|*.gif|(*.tif)|*.tif||");
    PropertyItem* group = m_grid.FindItem(3903);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->GetSubItem(0), path);
    // The common rows follow.
    EXPECT_NE(m_grid.FindItem(4004), nullptr);
    EXPECT_NE(m_grid.FindItem(4011), nullptr);
}

TEST_F(ImagePropertiesTest, AttributeItemsAreTitledWithTheirKey)
{
    m_first.SetAttribute("transColor", "0,0,0");
    m_first.SetAttribute("alpha", "x");
    m_first.AddProperties(m_grid, false);
    PropertyItem* alpha = m_grid.FindItem(4502);
    PropertyItem* color = m_grid.FindItem(4503);
    ASSERT_NE(alpha, nullptr);
    ASSERT_NE(color, nullptr);
    EXPECT_EQ(alpha->GetTitle(), "alpha");
    EXPECT_EQ(color->GetTitle(), "transColor") << "the pane stores edits under the title";
    EXPECT_EQ(color->GetDescription(), langStr("transColor"));
    EXPECT_NE(color->GetDescription(), "transColor");
    EXPECT_EQ(color->GetText(), "0,0,0");
}

TEST_F(ImagePropertiesTest, DifferingValuesShowEmpty)
{
    AddBoth("/a/one.png", "1,1,1", "/a/two.png", "2,2,2");
    EXPECT_EQ(m_grid.FindItem(4501)->GetText(), "");
    EXPECT_EQ(m_grid.FindItem(4502)->GetText(), "");
}

TEST_F(ImagePropertiesTest, EqualValuesStay)
{
    AddBoth("/a/one.png", "1,1,1", "/a/one.png", "1,1,1");
    EXPECT_EQ(m_grid.FindItem(4501)->GetText(), "/a/one.png");
    EXPECT_EQ(m_grid.FindItem(4502)->GetText(), "1,1,1");
    EXPECT_EQ(m_grid.FindItem(3903)->GetSubItemCount(), 2);
}

TEST(PictureCtrlTest, KeepsTheWholeFileOrNothing)
{
    const fs::path dir = fs::temp_directory_path() / ("fw-picture-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const auto bytes = SomeBytes(1024 * 3 + 17, 2);
    WriteFile(dir / "big.bin", bytes);
    WriteFile(dir / "empty.bin", {});

    CPictureCtrl picture;
    EXPECT_FALSE(picture.IsLoaded());
    ASSERT_TRUE(picture.Load((dir / "big.bin").string()));
    EXPECT_EQ(picture.GetData(), bytes);

    EXPECT_FALSE(picture.Load(dir.string())) << "a folder is no picture";
    EXPECT_FALSE(picture.IsLoaded());
    EXPECT_TRUE(picture.GetData().empty());

    EXPECT_TRUE(picture.Load((dir / "empty.bin").string()));
    EXPECT_TRUE(picture.IsLoaded());
    EXPECT_FALSE(picture.Load(""));
    fs::remove_all(dir);
}

}  // namespace
