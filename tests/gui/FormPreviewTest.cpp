// The form preview as a real dialog: the controls it builds for a sample form,
// where they stand, their colours, the button bar, what it paints, and how it
// follows a resized window.

#include "dialogs/FormPreviewDlg.h"
#include "dialogs/ThemedButton.h"

#include "controls/StandardControls.h"
#include "editor/FormView.h"
#include "editor/HeadlessHost.h"
#include "gui/GuiTestSupport.h"
#include "model/DiagramEntityContainer.h"
#include "model/ElementFactory.h"
#include "model/FormDefinitionDocument.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <cstdlib>
#include <memory>
#include <string>

using namespace fw;

namespace {

wxRect WxRect(const IntRect& r)
{
    return wxRect(r.left, r.top, r.Width(), r.Height());
}

wxRect Shifted(wxRect r, int dx)
{
    r.Offset(dx, 0);
    return r;
}

// One pixel of what the window shows at a client point.
wxColour ScreenPixel(wxWindow& window, wxPoint client)
{
    wxBitmap bitmap(1, 1, 24);
    {
        wxClientDC screen(&window);
        wxMemoryDC memory(bitmap);
        memory.Blit(0, 0, 1, 1, &screen, client.x, client.y);
    }
    const wxImage image = bitmap.ConvertToImage();
    return wxColour(image.GetRed(0, 0), image.GetGreen(0, 0), image.GetBlue(0, 0));
}

bool Near(const wxColour& a, const wxColour& b, int tolerance = 24)
{
    return std::abs(a.Red() - b.Red()) <= tolerance && std::abs(a.Green() - b.Green()) <= tolerance &&
           std::abs(a.Blue() - b.Blue()) <= tolerance;
}

std::string Describe(const wxColour& c)
{
    return c.GetAsString(wxC2S_CSS_SYNTAX).ToStdString();
}

class FormPreview : public ::testing::Test {
protected:
    void SetUp() override
    {
        ElementFactory::Global().Clear();
        RegisterStandardControls(ElementFactory::Global());
        m_doc = std::make_unique<FormDefinitionDocument>();
        ASSERT_TRUE(m_doc->ReadFile(std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/samples/PUMP_Main.xml"));
        m_view = std::make_unique<FormView>(*m_doc);
        m_view->OnInitialUpdate(&m_host, nullptr);
        ASSERT_NE(Form(), nullptr);
    }

    CDiagramEditor* Editor() { return &m_view->GetEditor(); }
    CDiagramEntityContainer* Form() { return m_view->GetEditor().GetDiagramEntityContainer(); }

    // The first element of a type, by title or name (any when empty).
    const CDiagramEntity* Find(const std::string& type, const std::string& titleOrName)
    {
        for (int i = 0; i < Form()->GetCount(); ++i) {
            const CDiagramEntity* e = Form()->GetAt(i);
            if (e->GetType() == type &&
                (titleOrName.empty() || e->GetTitle() == titleOrName || e->GetName() == titleOrName))
                return e;
        }
        return nullptr;
    }

    static void ShowAndSettle(CFormPreviewDlg& dialog)
    {
        dialog.Show();
        dialog.Raise();
        ASSERT_TRUE(fw::test::WaitFor([&] { return dialog.IsShownOnScreen(); }));
        fw::test::PumpEvents(150);
    }

    test::DemoModel m_model;
    HeadlessHost m_host;
    std::unique_ptr<FormDefinitionDocument> m_doc;
    std::unique_ptr<FormView> m_view;
};

}  // namespace

TEST_F(FormPreview, ControlsStandAtTheirElementsWithTheirStyles)
{
    CFormPreviewDlg dialog(nullptr, Editor());
    ShowAndSettle(dialog);
    // No language file names the pump's form: the title says what it edits.
    EXPECT_EQ(dialog.GetTitle(), "Edit Pump");
    EXPECT_EQ(dialog.GetClientSize(), wxSize(720, 650));
    EXPECT_FALSE(dialog.NeedsScrollBar());

    int statics = 0, edits = 0, tables = 0, buttons = 0;
    for (const CFormPreviewDlg::ChildWindow& child : dialog.GetChildWindows()) {
        if (!child.element)
            continue;
        const CDiagramEntity& e = *child.element;
        EXPECT_EQ(child.window->GetRect(), WxRect(e.GetRect())) << e.GetType() << " " << e.GetTitle();
        if (e.GetType() == "static") {
            EXPECT_NE(wxDynamicCast(child.window, wxStaticText), nullptr);
            ++statics;
        } else if (e.GetType() == "editbox") {
            EXPECT_NE(wxDynamicCast(child.window, wxTextCtrl), nullptr);
            EXPECT_TRUE(static_cast<wxTextCtrl*>(child.window)->IsEmpty());
            ++edits;
        } else if (e.GetType() == "Table") {
            EXPECT_NE(wxDynamicCast(child.window, wxListCtrl), nullptr);
            ++tables;
        } else {
            auto* button = dynamic_cast<ThemedButton*>(child.window);
            ASSERT_NE(button, nullptr) << e.GetType();
            EXPECT_EQ(button->getType(), ThemedButton::PushButton);
            if (e.GetType() == "ImageButton") {
                EXPECT_EQ(button->getDefaultStyle(), e.GetImagePath());
                EXPECT_TRUE(button->GetLabel().empty());
            } else {
                EXPECT_EQ(button->GetLabel().ToStdString(wxConvUTF8), e.GetTitle());
            }
            ++buttons;
        }
    }
    // Three texts and sixteen field labels, sixteen fields, one table and
    // the nine command buttons.
    EXPECT_EQ(statics, 19);
    EXPECT_EQ(edits, 16);
    EXPECT_EQ(tables, 1);
    EXPECT_EQ(buttons, 9);
    EXPECT_EQ(dialog.GetShapes().size(), 6u);
    ASSERT_EQ(dialog.GetPictures().size(), 1u);
    EXPECT_FALSE(dialog.GetPictures()[0].data.empty()) << "pump.png beside the form file";

    // A heading in its style's colour and font; a field label in black.
    wxWindow* heading = dialog.FindElementWindow(Find("static", "TXT_GENERAL_DATA"));
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->GetForegroundColour(), wxColour(0, 51, 102));
    ASSERT_TRUE(dialog.GetTextColour(heading));
    EXPECT_EQ(*dialog.GetTextColour(heading), wxColour(0, 51, 102));
    EXPECT_EQ(heading->GetFont().GetFaceName(), "Calibri");
    EXPECT_EQ(heading->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
    EXPECT_DOUBLE_EQ(heading->GetFont().GetFractionalPointSize(), 11.0);
    wxWindow* note = dialog.FindElementWindow(Find("editbox", "CREATED_BY"));
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->GetFont().GetStyle(), wxFONTSTYLE_ITALIC);

    // The run-time bar: OK and Cancel at the bottom right, the tool buttons with their bitmaps.
    ASSERT_NE(dialog.GetOkButton(), nullptr);
    EXPECT_TRUE(dialog.GetOkButton()->IsShown());
    EXPECT_TRUE(dialog.GetCancelButton()->IsShown());
    EXPECT_EQ(dialog.GetOkButton()->GetRect(), wxRect(525, 580, 80, 24));
    EXPECT_EQ(dialog.GetCancelButton()->GetRect(), wxRect(625, 580, 80, 24));
    int toolButtons = 0;
    for (const CFormPreviewDlg::ChildWindow& child : dialog.GetChildWindows()) {
        if (auto* tool = dynamic_cast<ThemedButton*>(child.window); tool && !child.element) {
            EXPECT_EQ(tool->getType(), ThemedButton::ToolButton);
            EXPECT_TRUE(tool->GetButtonBitmap().IsOk()) << tool->getDefaultStyle();
            ++toolButtons;
        }
    }
    EXPECT_EQ(toolButtons, 5);
}

TEST_F(FormPreview, PaintsShapesAndPicturesBehindTheControls)
{
    CFormPreviewDlg dialog(nullptr, Editor());
    ShowAndSettle(dialog);
    const wxColour frame(0, 51, 102);
    // The left edge of the first box and the white fill of the second one.
    EXPECT_TRUE(fw::test::WaitFor([&] {
        return Near(ScreenPixel(dialog, {10, 100}), frame);
    })) << Describe(ScreenPixel(dialog, {10, 100}));
    EXPECT_TRUE(Near(ScreenPixel(dialog, {519, 100}), *wxWHITE)) << Describe(ScreenPixel(dialog, {519, 100}));

    // The picture is fitted into its element with its aspect ratio kept.
    const CFormPreviewDlg::PictureEntry& picture = dialog.GetPictures()[0];
    const IntRect at = dialog.GetPaintRect(*picture.element);
    const IntRect fitted = FitPicture(at, picture.size);
    EXPECT_EQ(fitted.TopLeft(), at.TopLeft());
    EXPECT_TRUE(fitted.Width() == at.Width() || fitted.Height() == at.Height());
    const wxColour middle = ScreenPixel(dialog, {fitted.left + fitted.Width() / 2, fitted.top + fitted.Height() / 2});
    EXPECT_FALSE(Near(middle, *wxWHITE, 4)) << "the picture's middle is blank: " << Describe(middle);
}

TEST_F(FormPreview, SizeableFormFollowsAWiderWindow)
{
    CFormPreviewDlg dialog(nullptr, Editor());
    ShowAndSettle(dialog);
    ASSERT_TRUE(dialog.IsFormSizeable());
    EXPECT_TRUE(dialog.HasFlag(wxRESIZE_BORDER));

    const CDiagramEntity* name = Find("editbox", "NAME");      // sizing 100,0
    const CDiagramEntity* status = Find("editbox", "STATUS");  // moving 100,0
    const CDiagramEntity* box = Form()->GetAt(0);              // the first box, sizing 100,0
    ASSERT_TRUE(name && status && box);
    ASSERT_EQ(box->GetSizing(), (IntPoint{100, 0}));
    const wxRect nameAt = dialog.FindElementWindow(name)->GetRect();
    const wxRect statusAt = dialog.FindElementWindow(status)->GetRect();
    const wxRect okAt = dialog.GetOkButton()->GetRect();

    dialog.SetClientSize(770, 650);
    ASSERT_TRUE(fw::test::WaitFor([&] { return dialog.GetClientSize() == wxSize(770, 650); }));
    fw::test::PumpEvents(150);

    const wxRect nameNow = dialog.FindElementWindow(name)->GetRect();
    EXPECT_EQ(nameNow.GetPosition(), nameAt.GetPosition());
    EXPECT_EQ(nameNow.width, nameAt.width + 50);
    EXPECT_EQ(dialog.FindElementWindow(status)->GetRect(), Shifted(statusAt, 50));
    EXPECT_EQ(dialog.GetOkButton()->GetRect(), Shifted(okAt, 50));
    EXPECT_EQ(dialog.GetPaintRect(*box).Width(), box->GetRect().Width() + 50);
    // The box is painted wider too: its right edge now lies where the white box was.
    const wxPoint edge(box->GetRect().right + 50 - 1, 100);
    EXPECT_TRUE(fw::test::WaitFor([&] { return Near(ScreenPixel(dialog, edge), wxColour(0, 51, 102)); }))
        << Describe(ScreenPixel(dialog, edge));
}

TEST_F(FormPreview, NoButtonsFormHidesTheBarAndOkAndCancel)
{
    Form()->SetNoButtons(true);
    Form()->SetSizeable(false);
    CFormPreviewDlg dialog(nullptr, Editor());
    ShowAndSettle(dialog);
    EXPECT_FALSE(dialog.IsShowButtons());
    EXPECT_FALSE(dialog.HasFlag(wxRESIZE_BORDER));
    ASSERT_NE(dialog.GetOkButton(), nullptr);
    EXPECT_FALSE(dialog.GetOkButton()->IsShown());
    EXPECT_FALSE(dialog.GetOkButton()->IsEnabled());
    EXPECT_FALSE(dialog.GetCancelButton()->IsShown());
    for (const CFormPreviewDlg::ChildWindow& child : dialog.GetChildWindows())
        EXPECT_NE(child.element, nullptr) << "a control of the button bar was made";
    // Escape still closes it, as it closes a form with buttons.
    dialog.Hide();
    const int rc = fw::test::RunModal(dialog, [&] {
        dialog.GetChildWindows().front().window->SetFocus();
        fw::test::PumpEvents(100);
        wxUIActionSimulator().Char(WXK_ESCAPE);
    });
    EXPECT_EQ(rc, wxID_CANCEL);
}

TEST_F(FormPreview, TallFormOpens600HighAndScrolls)
{
    Form()->SetPaper({720, 3000});
    CFormPreviewDlg dialog(nullptr, Editor());
    EXPECT_EQ(dialog.GetSize().y, 600);
    ShowAndSettle(dialog);
    EXPECT_EQ(dialog.GetSize().y, 600);
    EXPECT_TRUE(dialog.NeedsScrollBar());
    // Nothing follows the window down the scrolled axis: the table keeps its
    // height and the bar stays at the bottom of the paper.
    const CDiagramEntity* table = Find("Table", "");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(dialog.FindElementWindow(table)->GetSize().y, table->GetRect().Height());
    EXPECT_EQ(dialog.GetOkButton()->GetPosition(), wxPoint(525, 2930));

    const CDiagramEntity* name = Find("editbox", "NAME");
    wxWindow* field = dialog.FindElementWindow(name);
    const wxPoint before = field->GetPosition();
    dialog.ScrollContentTo(0, 60);
    EXPECT_EQ(dialog.GetScrollOffset(), wxPoint(0, 60));
    EXPECT_EQ(field->GetPosition(), before - wxPoint(0, 60));
    EXPECT_EQ(dialog.GetPaintRect(*Form()->GetAt(0)).top, Form()->GetAt(0)->GetRect().top - 60);
}

TEST_F(FormPreview, WithoutAnEditorTheDialogOpensEmpty)
{
    CFormPreviewDlg dialog(nullptr, nullptr);
    ShowAndSettle(dialog);
    EXPECT_TRUE(dialog.GetShapes().empty());
    EXPECT_TRUE(dialog.GetPictures().empty());
    for (const CFormPreviewDlg::ChildWindow& child : dialog.GetChildWindows())
        EXPECT_EQ(child.element, nullptr);
    EXPECT_TRUE(dialog.GetOkButton()->IsShown());
    EXPECT_EQ(fw::test::RunModal(dialog, [&] { fw::test::Click(dialog.GetCancelButton()); }), wxID_CANCEL);
}

TEST(ThemedButtonTest, BitmapComesFromTheResourcePacksByKey)
{
    wxDialog parent(nullptr, wxID_ANY, "buttons");
    ThemedButton known(&parent, wxID_ANY);
    known.setDefaultStyle("help");
    ASSERT_TRUE(known.GetButtonBitmap().IsOk());
    EXPECT_EQ(known.GetButtonBitmap().GetSize(), wxSize(16, 16));
    ThemedButton unknown(&parent, wxID_ANY, "Text");
    unknown.setDefaultStyle("NO_SUCH_BITMAP");
    EXPECT_FALSE(unknown.GetButtonBitmap().IsOk());

    int clicks = 0;
    known.Bind(wxEVT_BUTTON, [&](wxCommandEvent&) { ++clicks; });
    wxKeyEvent space(wxEVT_KEY_DOWN);
    space.m_keyCode = WXK_SPACE;
    known.GetEventHandler()->ProcessEvent(space);
    EXPECT_EQ(clicks, 1);
}
