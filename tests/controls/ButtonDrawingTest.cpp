#include "controls/ButtonBitmaps.h"
#include "controls/ControlDrawing.h"
#include "controls/DiagramButton.h"
#include "render/CairoDrawContext.h"
#include "render/RecordingDrawContext.h"
#include "services/Environment.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes AsBytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

// Packs in a scratch folder, listed as add-in libraries; the shipped pack is
// found through the test run's data folder.
class ButtonBitmapsTest : public ::testing::Test {
protected:
    ButtonBitmapsTest() { UsePacks({}); }
    ~ButtonBitmapsTest() override { ResourceLibraries::instance().Reload(); }

    void UsePacks(const std::vector<std::string>& names)
    {
        std::string list;
        for (const std::string& name : names)
            list += (list.empty() ? "" : ":") + Pack(name);
        if (names.empty())
            m_env.Unset("FORMWRIGHT_ADDINS");
        else
            m_env.Set("FORMWRIGHT_ADDINS", list);
        ResourceLibraries::instance().Reload();
    }
    std::string Pack(const std::string& name) const { return m_dir.Path() + "/" + name; }
    static Bytes Shipped(const std::string& file)
    {
        return AsBytes(test::ReadFile(Environment::instance().dataDir() + "/resources/" + file));
    }

    test::ScratchDir m_dir;
    test::ScopedEnv m_env;
};

TEST_F(ButtonBitmapsTest, NamesIgnoreCaseTheFirstPackWinsAndTheShippedPackComesLast)
{
    for (const char* file : {"a/Help.PNG", "a/zoom.bmp", "a/ZOOM.png", "a/Report_Logo.gif", "a/notes.txt", "b/HELP.png",
                             "b/only_b.jpg", "b/show_next_object.png"})
        m_dir.Put(file, file);
    UsePacks({"a", "b"});
    const std::pair<const char*, const char*> found[] = {{"help", "a/Help.PNG"},
                                                         {"Zoom", "a/ZOOM.png"},  // png before bmp
                                                         {"only_B", "b/only_b.jpg"},
                                                         {"show_next_object", "b/show_next_object.png"}};
    for (const auto& [key, file] : found)
        EXPECT_EQ(LoadButtonBitmap("", key), AsBytes(file)) << key;
    EXPECT_EQ(LoadButtonBitmap("report", "LOGO"), AsBytes("a/Report_Logo.gif"));
    EXPECT_EQ(LoadButtonBitmap("", "SPREAD_SHEET"), Shipped("spread_sheet.png"));
    for (const char* missing : {"notes", "NO_SUCH_BITMAP", ""})
        EXPECT_TRUE(LoadButtonBitmap("", missing).empty()) << missing;
}

TEST_F(ButtonBitmapsTest, FileKindReadsTheConfigurationImagesFolderOnly)
{
    m_env.Set("FORMWRIGHT_CONFIG_DIR", Pack("config"));
    Environment::instance().reload();
    m_dir.Put("config/Images/logos/pump.png", "pump-logo");
    m_dir.Put("a/help.png", "a-help");
    UsePacks({"a"});

    EXPECT_EQ(LoadButtonBitmap("FILE", "logos\\pump.png"), AsBytes("pump-logo"));
    EXPECT_EQ(LoadButtonBitmap("FILE", "logos/pump.png"), AsBytes("pump-logo"));
    EXPECT_TRUE(LoadButtonBitmap("FILE", "help").empty());
    EXPECT_TRUE(LoadButtonBitmap("FILE", "logos/missing.png").empty());
}

TEST_F(ButtonBitmapsTest, AtMostAHundredReadablePacksAreHeldBesideTheShippedOne)
{
    m_dir.Put("a-file", "not a folder");
    std::vector<std::string> packs = {"missing", "a-file"};
    for (int i = 0; i <= ResourceLibraries::MaxLibraries; ++i) {
        m_dir.Put("p" + std::to_string(i) + "/only_" + std::to_string(i) + ".png", "pack " + std::to_string(i));
        packs.push_back("p" + std::to_string(i));
    }
    UsePacks(packs);

    EXPECT_EQ(LoadButtonBitmap("", "only_0"), AsBytes("pack 0"));
    EXPECT_EQ(LoadButtonBitmap("", "only_99"), AsBytes("pack 99"));
    EXPECT_TRUE(LoadButtonBitmap("", "only_100").empty());
    const std::vector<std::string>& held = ResourceLibraries::instance().Folders();
    ASSERT_EQ(held.size(), 101u);
    EXPECT_EQ(held.front(), Pack("p0"));
    EXPECT_EQ(held.back(), Environment::instance().dataDir() + "/resources");
    EXPECT_EQ(LoadButtonBitmap("", "HELP"), Shipped("help.png"));
}

TEST_F(ButtonBitmapsTest, ABitmapIsReadOnceUntilTheLibrariesAreReloaded)
{
    m_dir.Put("a/logo.png", "first");
    UsePacks({"a"});
    EXPECT_EQ(LoadButtonBitmap("", "LOGO"), AsBytes("first"));
    m_dir.Put("a/logo.png", "second");
    EXPECT_EQ(LoadButtonBitmap("", "LOGO"), AsBytes("first"));
    ResourceLibraries::instance().Reload();
    EXPECT_EQ(LoadButtonBitmap("", "LOGO"), AsBytes("second"));
}

// Every bitmap the buttons and the form preview name is shipped as a 16 x 16
// PNG, and none loses a pixel when the window colour is left out.
TEST_F(ButtonBitmapsTest, TheShippedPackHasEveryBitmapAsA16x16PngWithoutWindowWhite)
{
    std::vector<std::string> keys = {"HELP", "OPEN_OBJECTEDITOR", "SHOW_PREVIEW_OBJECT", "SHOW_NEXT_OBJECT",
                                     "SPREAD_SHEET"};
    for (const ButtonKind& kind : CDiagramButton::Kinds())
        if (kind.imageButton)
            keys.push_back(kind.imageKey);
    for (const std::string& key : keys) {
        SCOPED_TRACE(key);
        const ButtonBitmap& bitmap = ResourceLibraries::instance().Bitmap("", key);
        ASSERT_GE(bitmap.data.size(), 24u);
        EXPECT_EQ(std::string(bitmap.data.begin(), bitmap.data.begin() + 8), "\x89PNG\r\n\x1a\n");
        EXPECT_EQ(bitmap.size, (IntSize{16, 16}));
        auto plain = CairoDrawContext::ForImage(16, 16);
        auto keyed = CairoDrawContext::ForImage(16, 16);
        ASSERT_TRUE(plain->DrawImageData(bitmap.data, {0, 0, 16, 16}));
        ASSERT_TRUE(keyed->DrawTransparentImageData(bitmap.data, {0, 0, 16, 16}, {255, 255, 255}));
        int lost = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                lost += plain->PixelAt(x, y) != keyed->PixelAt(x, y);
        EXPECT_EQ(lost, 0);
    }
}

TEST_F(ButtonBitmapsTest, AnImageButtonDrawsItsFrameThenTheBitmapAt4x5WithTheWindowColourLeftOut)
{
    auto image = CairoDrawContext::ForImage(16, 12);  // not square, so width and height cannot trade places
    ASSERT_TRUE(image->WritePng(m_dir.Put("a/keyed.png", "")));
    UsePacks({"a"});
    CDiagramButton button;
    ASSERT_TRUE(button.InitButton("DocOpen"));
    button.SetImageKey("KEYED");
    RecordingDrawContext dc;
    dc.OverrideSysColor(SysColor::Window, {1, 2, 3});
    button.DrawObject(dc, {10, 20, 34, 46});
    const std::string frame = "SelectPen solid/0/105,105,105\nPolyline 32,21 32,44 10,44 pen=solid/0/105,105,105\n"
                              "SelectPen solid/0/255,255,255\nPolyline 31,21 11,21 11,44 pen=solid/0/255,255,255\n"
                              "SelectPen solid/0/160,160,160\nPolyline 31,22 31,43 11,43 pen=solid/0/160,160,160\n"
                              "SelectPen solid/0/105,105,105\nSelectBrush hollow\n"
                              "Rectangle 10,20,34,46 pen=solid/0/105,105,105 brush=hollow\n"
                              "SelectBrush solid/255,255,255\nSelectPen solid/0/0,0,0";
    EXPECT_EQ(dc.Dump(), frame + "\nTransparentImageData " + std::to_string(LoadButtonBitmap("", "KEYED").size()) +
                             " bytes 14,25,30,37 key=1,2,3");
    // Zoomed, the offset and the bitmap scale with the button and stay inside it.
    button.SetRect(10, 20, 34, 46);
    for (const auto& [zoom, where] : {std::pair{0.5, " 7,13,15,19 "}, std::pair{2.0, " 28,50,60,74 "}}) {
        dc.Clear();
        button.Draw(dc, zoom);
        EXPECT_NE(dc.Dump().find(where), std::string::npos) << zoom << "\n" << dc.Dump();
    }

    // Without a bitmap the frame stays empty.
    button.SetImageKey("NO_SUCH_BITMAP");
    dc.Clear();
    button.DrawObject(dc, {10, 20, 34, 46});
    EXPECT_EQ(dc.Dump(), frame);
}

TEST(ButtonDrawingTest, ATextButtonIsARaisedFaceWithItsCaptionCentredOnOneLine)
{
    CDiagramButton button;
    ASSERT_TRUE(button.InitButton("AddIn"));
    button.SetTitle("Run");
    button.SetRect(0, 0, 80, 24);
    RecordingDrawContext dc;
    button.Draw(dc, 1.0);
    const std::string font = RecordingDrawContext::Describe(ZoomedGuiFont(dc, 1.0));
    EXPECT_EQ(dc.Dump(), "SelectPen solid/0/105,105,105\nSelectBrush solid/240,240,240\n"
                         "Rectangle 0,0,80,24 pen=solid/0/105,105,105 brush=solid/240,240,240\n"
                         "FillSolidRect 1,1,77,2 color=255,255,255\nFillSolidRect 1,1,2,21 color=255,255,255\n"
                         "FillSolidRect 77,1,78,22 color=160,160,160\nFillSolidRect 1,21,78,22 color=160,160,160\n"
                         "SelectPen solid/0/0,0,0\nSelectBrush solid/255,255,255\nSelectFont " +
                             font + "\nSetBkMode transparent\nDrawText \"Run\" 0,0,80,24 fmt=0x25 font=" + font +
                             " color=0,0,0 bk=transparent\nSelectFont " +
                             RecordingDrawContext::Describe(dc.GetVariableFont()));

    // Zoomed out: the rectangle and the font shrink, and the face turns to Arial.
    dc.Clear();
    button.Draw(dc, 0.5);
    const std::vector<std::string> text = dc.CallsStartingWith("DrawText");
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].rfind("DrawText \"Run\" 0,0,40,12 fmt=0x25 font=Arial/", 0), 0u) << text[0];
}

}  // namespace
