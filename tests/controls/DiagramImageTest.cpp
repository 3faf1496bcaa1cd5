#include "controls/DiagramImage.h"

#include "controls/PictureCtrl.h"
#include "controls/StandardControls.h"
#include "model/ActiveDocument.h"
#include "model/ElementFactory.h"
#include "model/FormDefinitionDocument.h"
#include "model/PropertyGrid.h"
#include "services/LanguageTable.h"
#include "support/FormSnippet.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace fw;

namespace {

using Lines = std::vector<std::string>;

// Bytes of a given length, zero bytes included.
std::string SomeBytes(size_t count, unsigned char seed)
{
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>(seed + i * 7);
    return bytes;
}

std::vector<unsigned char> AsData(const std::string& bytes)
{
    return {bytes.begin(), bytes.end()};
}

// A scratch folder and no form file, as for a new form.
class ImageTest : public ::testing::Test {
protected:
    ImageTest() { SetActiveDocumentPath(""); }
    ~ImageTest() override { SetActiveDocumentPath(""); }
    CDiagramImage& At(int index) { return dynamic_cast<CDiagramImage&>(*s.At(index)); }

    test::ScratchDir m_dir;
    test::FormSnippet s{RegisterStandardControls};
};

}  // namespace

TEST_F(ImageTest, PathIsWrittenAsABareNameAndFoundAgainNextToTheFormFile)
{
    const std::string picture = SomeBytes(3000, 1);
    const std::string original = m_dir.Put("pictures/pump logo.png", picture);
    ASSERT_TRUE(s.Load("<Image pos=\"10,20\" size=\"30,40\">" + original + "</Image>"));
    const Lines written = s.WrittenLines();
    EXPECT_EQ(written, Lines{R"(<Image pos="10,20" size="30,40">pump logo.png</Image>)"});

    // The form file and its picture moved to another folder together.
    const std::string moved = m_dir.Put("forms/pump logo.png", picture);
    SetActiveDocumentPath(m_dir.Path() + "/forms/PUMP_main.xml");
    ASSERT_TRUE(s.Load(written[0]));
    EXPECT_EQ(At(0).GetImagePath(), moved);
    ASSERT_TRUE(At(0).LoadPendingPicture());
    EXPECT_EQ(At(0).GetPicture().GetData(), AsData(picture));

    // A name whose file is missing is still taken as beside the form file; without one it stays a name.
    CDiagramImage image;
    image.SetImagePath("missing.bmp");
    EXPECT_EQ(image.GetImagePath(), m_dir.Path() + "/forms/missing.bmp");
    SetActiveDocumentPath("forms\\PUMP_main.xml");
    image.SetImagePath("missing.bmp");
    EXPECT_EQ(image.GetImagePath(), "forms/missing.bmp");
    SetActiveDocumentPath("");
    image.SetImagePath("logo.bmp");
    EXPECT_EQ(image.GetImagePath(), "logo.bmp");
}

TEST_F(ImageTest, FileLookupsAreRememberedForOneReadOnly)
{
    const std::string path = m_dir.Path() + "/late.png";
    {
        const FileLookupsRemembered oneRead;
        EXPECT_FALSE(IsFileOnDisk(path));
        m_dir.Put("late.png", "x");
        EXPECT_FALSE(IsFileOnDisk(path));
    }
    EXPECT_TRUE(IsFileOnDisk(path));  // the next read sees what changed on disk
}

// Runs a test step from another working folder.
class WorkingFolder {
public:
    explicit WorkingFolder(const std::string& folder) : m_old(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~WorkingFolder() { std::filesystem::current_path(m_old); }

private:
    std::filesystem::path m_old;
};

TEST_F(ImageTest, PicturesAreFoundBesideTheFormFirstAndASaveSaysWhatItCannotKeep)
{
    if (!ElementFactory::Global().Knows("Image"))
        RegisterStandardControls(ElementFactory::Global());
    const std::string besideForm = m_dir.Put("forms/logo.png", SomeBytes(10, 1));
    const std::string inSub = m_dir.Put("forms/sub/inner.png", SomeBytes(10, 2));
    m_dir.Put("work/logo.png", SomeBytes(10, 3));
    const std::string path = m_dir.Put("forms/PUMP_main.xml", R"(<?xml version="1.0" encoding="utf-8"?>
<?ORVANEX-application progid="Forms.OEF" version="0.1"?>
<FormDefinition><Styles/><Dialog title="T" size="500,300"><Controls>
  <Image pos="10,20" size="30,40">  logo.png </Image><Image pos="10,60" size="30,40">sub\inner.png</Image>
</Controls></Dialog></FormDefinition>)");
    WorkingFolder work(m_dir.Path() + "/work");

    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(path));
    CDiagramEntityContainer& form = *doc.GetMainForm();
    ASSERT_EQ(form.GetCount(), 2);
    EXPECT_EQ(form.GetAt(0)->GetImagePath(), besideForm) << "not the working folder's picture of that name";
    EXPECT_EQ(form.GetAt(1)->GetImagePath(), inSub);

    // Saving keeps "inner.png" only, which is not beside the form; an image
    // placed without a picture is dropped on reading.
    auto empty = std::make_unique<CDiagramImage>();
    empty->SetRect(5, 5, 25, 25);
    form.Add(std::move(empty));
    const std::vector<std::string> losses = doc.GetSaveLosses(path);
    ASSERT_EQ(losses.size(), 2u);
    EXPECT_NE(losses[0].find("Image at 10,60"), std::string::npos) << losses[0];
    EXPECT_NE(losses[0].find(" inner.png,"), std::string::npos) << losses[0];
    EXPECT_NE(losses[1].find("Image at 5,5: " + langStr("SAVE_LOSS_IMAGE_NO_PICTURE")), std::string::npos);
    // Saved into "sub", it is "logo.png" that is not beside the file.
    const std::vector<std::string> inSubFolder = doc.GetSaveLosses(m_dir.Path() + "/forms/sub/PUMP_main.xml");
    ASSERT_EQ(inSubFolder.size(), 2u);
    EXPECT_NE(inSubFolder[0].find("Image at 10,20"), std::string::npos) << inSubFolder[0];
}

TEST_F(ImageTest, ElementsWithoutContentOrGeometryAreDroppedAndTheColourIsWrittenWhenSet)
{
    ASSERT_TRUE(s.Load(R"(<Image pos="10,20" size="30,40"></Image><Image size="30,40">a.png</Image>
                          <Image pos="10,20" size="0,0">b.png</Image><Image pos="0,20" size="30,40">c.png</Image>
                          <Image pos="10,20" size="30,40" sizing="50,101" moving="0,100">d.png</Image>
                          <Image pos="10,20" size="30,40" transColor="255,255,255" moving="5,6">e.png</Image>)"));
    ASSERT_EQ(s.Count(), 2);
    EXPECT_EQ(At(0).GetType(), "Image");
    // Absent in the file means an empty entry, which is not written back; other entries never are.
    EXPECT_EQ(At(0).GetAttributes(), (AttributeTable{{"transColor", ""}}));
    At(1).SetAttribute("other", "not a file attribute");
    EXPECT_EQ(s.WrittenLines(),
              (Lines{R"(<Image pos="10,20" size="30,40" moving="0,100">d.png</Image>)",
                     R"(<Image pos="10,20" size="30,40" transColor="255,255,255" moving="5,6">e.png</Image>)"}));
}

TEST_F(ImageTest, APathEndingInASeparatorNamesNoPictureAndIsDropped)
{
    // Only the name part would be written back, and it is empty.
    ASSERT_TRUE(s.Load(R"(<Image pos="10,20" size="30,40">pictures/</Image>
                          <Image pos="10,20" size="30,40">pictures\</Image>
                          <Image pos="10,20" size="30,40">pictures/logo.png</Image>)"));
    ASSERT_EQ(s.Count(), 1);
    EXPECT_EQ(s.WrittenLines(), (Lines{R"(<Image pos="10,20" size="30,40">logo.png</Image>)"}));
}

TEST_F(ImageTest, PictureIsReadOnlyWhenPendingAndCopiesHaveItAtOnce)
{
    const std::string first = m_dir.Put("first.png", SomeBytes(10, 3));
    CDiagramImage image;
    image.SetImagePath(first);
    EXPECT_TRUE(image.IsReloadPending());
    EXPECT_FALSE(image.GetPicture().IsLoaded()) << "setting the path reads nothing yet";
    std::unique_ptr<CDiagramEntity> copy = image.Clone();
    EXPECT_FALSE(dynamic_cast<CDiagramImage&>(*copy).IsReloadPending());
    EXPECT_EQ(dynamic_cast<CDiagramImage&>(*copy).GetPicture().GetData(), AsData(SomeBytes(10, 3)));

    ASSERT_TRUE(image.LoadPendingPicture());
    EXPECT_FALSE(image.IsReloadPending());
    m_dir.Put("first.png", SomeBytes(20, 4));  // not pending: a changed file is not read again
    image.LoadPendingPicture();
    EXPECT_EQ(image.GetPicture().GetData(), AsData(SomeBytes(10, 3)));
    image.SetImagePath(m_dir.Put("second.png", SomeBytes(2048, 9)));
    ASSERT_TRUE(image.LoadPendingPicture());
    EXPECT_EQ(image.GetPicture().GetData(), AsData(SomeBytes(2048, 9)));

    // A picture that cannot be read leaves nothing of the previous one, and its copy does not try again.
    image.SetImagePath(m_dir.Path() + "/gone.png");
    copy = image.Clone();
    EXPECT_FALSE(image.LoadPendingPicture());
    EXPECT_TRUE(image.GetPicture().GetData().empty());
    EXPECT_FALSE(dynamic_cast<CDiagramImage&>(*copy).GetPicture().IsLoaded());
    EXPECT_FALSE(dynamic_cast<CDiagramImage&>(*copy).IsReloadPending());

    // The picture keeps the whole file or nothing.
    const std::string bytes = SomeBytes(1024 * 3 + 17, 2);
    CPictureCtrl picture;
    EXPECT_FALSE(picture.IsLoaded());
    ASSERT_TRUE(picture.Load(m_dir.Put("big.bin", bytes)));
    EXPECT_EQ(picture.GetData(), AsData(bytes));
    EXPECT_FALSE(picture.Load(m_dir.Path())) << "a folder is no picture";
    EXPECT_FALSE(picture.IsLoaded());
    EXPECT_TRUE(picture.GetData().empty());
    EXPECT_TRUE(picture.Load(m_dir.Put("empty.bin", "")));
    EXPECT_TRUE(picture.IsLoaded());
    EXPECT_FALSE(picture.Load(""));
}

TEST_F(ImageTest, PropertiesChooseAFileAndTitleAttributesWithTheirKey)
{
    CDiagramImage one;
    one.SetImagePath("/pictures/logo.png");
    one.SetAttribute("transColor", "0,0,0");
    PropertyGrid grid;
    one.AddProperties(grid, false);
    PropertyItem* path = grid.FindItem(4501);
    EXPECT_EQ(path->GetText(), "/pictures/logo.png");
    EXPECT_EQ(path->GetEditor(), PropertyEditor::FileChooser);
    EXPECT_EQ(path->GetFileFilter(),
              "(*.bmp)|*.bmp|(*.ico)|*.ico|(*.jpg)|*.jpg|(*.png)|*.png|(*.gif)|*.gif|(*.tif)|*.tif||");
    PropertyItem* color = grid.FindItem(4502);
    EXPECT_EQ(color->GetTitle(), "transColor") << "the pane stores edits under the title";
    EXPECT_EQ(color->GetDescription(), langStr("transColor"));

    // Merged over a selection, equal values stay and differing ones show empty.
    for (const bool same : {true, false}) {
        CDiagramImage other;
        other.SetImagePath(same ? "/pictures/logo.png" : "/a/two.png");
        other.SetAttribute("transColor", same ? "0,0,0" : "2,2,2");
        PropertyGrid merged;
        one.AddProperties(merged, false);
        other.AddProperties(merged, false);
        EXPECT_EQ(merged.FindItem(4501)->GetText(), same ? "/pictures/logo.png" : "");
        EXPECT_EQ(merged.FindItem(4502)->GetText(), same ? "0,0,0" : "");
    }
}
