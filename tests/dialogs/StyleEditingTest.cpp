#include "dialogs/StyleEditing.h"
#include "model/ElementFactory.h"
#include "model/EntityStyle.h"
#include "model/FormDefinitionDocument.h"
#include "services/LanguageTable.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>

using namespace fw;

namespace {

// Plays back the answers a user would give and records what was asked.
class ScriptedUi : public StyleEditingUi {
public:
    bool PickFont(const FontChoice& start, FontChoice& chosen) override
    {
        starts.push_back(start);
        if (fonts.empty() || !fonts.front()) {
            if (!fonts.empty())
                fonts.pop_front();
            return false;
        }
        chosen = *fonts.front();
        fonts.pop_front();
        return true;
    }
    bool AskName(const std::string& preset, std::string& name) override
    {
        presets.push_back(preset);
        if (names.empty() || !names.front()) {
            if (!names.empty())
                names.pop_front();
            return false;
        }
        name = *names.front();
        names.pop_front();
        return true;
    }
    void ShowMessage(const std::string& text, const std::string& title) override
    {
        messages.push_back(title + ": " + text);
    }

    // nullopt answers cancel.
    std::deque<std::optional<FontChoice>> fonts;
    std::deque<std::optional<std::string>> names;
    std::vector<FontChoice> starts;
    std::vector<std::string> presets;
    std::vector<std::string> messages;
};

FontChoice Chosen(const std::string& face, int tenths, int weight, bool italic, int r, int g, int b)
{
    FontChoice c;
    c.face = face;
    c.pointSizeTenths = tenths;
    c.weight = weight;
    c.italic = italic;
    c.red = static_cast<std::uint8_t>(r);
    c.green = static_cast<std::uint8_t>(g);
    c.blue = static_cast<std::uint8_t>(b);
    return c;
}

std::vector<std::string> Names(const CEntityStyleContainer& styles)
{
    std::vector<std::string> names;
    styles.GetNames(names);
    return names;
}

// A document with the default styles, a filtered form, and on both forms a
// text and a field with its caption that use "s2", and a text using "s1".
class StyleFlows : public ::testing::Test {
protected:
    StyleFlows()
    {
        test::RegisterTestElements(ElementFactory::Global());
        doc.GetStyles().CreateDefaults();
        EXPECT_TRUE(doc.AddForm("TYPE:EQUAL:X"));
        filtered = doc.GetFilteredForms().begin()->second.get();
        s2 = doc.GetStyles().Find("s2");
        for (CDiagramEntityContainer* form : {doc.GetMainForm(), filtered}) {
            CDiagramEntity* text = test::AddText(*form, 10, 10, 100, 30);
            text->SetStyle(s2);
            test::TestField* field = test::AddField(*form, "NAME", 200, 50, 1);
            field->GetDependent()->SetStyle(s2);
            test::AddText(*form, 10, 40, 100, 60)->SetStyle(doc.GetStyles().Find("s1"));
            texts.push_back(text);
            captions.push_back(field->GetDependent());
        }
    }
    ~StyleFlows() override { ElementFactory::Global().Clear(); }

    FormDefinitionDocument doc;
    CDiagramEntityContainer* filtered = nullptr;
    CEntityStyle* s2 = nullptr;
    std::vector<CDiagramEntity*> texts;
    std::vector<CDiagramEntity*> captions;
    ScriptedUi ui;
};

const std::string kEmptyMessage = langStr("STYLEDLG_MSG_DLG") + ": " + langStr("STYLEDLG_MSG_0");
const std::string kTakenMessage = langStr("STYLEDLG_MSG_DLG") + ": " + langStr("STYLEDLG_MSG_1");
const std::string kSeparatorMessage = langStr("STYLEDLG_MSG_DLG") + ": " + langStr("STYLEDLG_MSG_2");

}  // namespace

TEST(StyleRules, ChooserStartsFromTheStyleWithTheFaceCutToThirtyOneCharacters)
{
    const CEntityStyle nine("n", "Tahoma", 9, true, true, "0,0,255");
    const FontChoice start = FontChoiceFromStyle(&nine, 96);
    EXPECT_EQ(start.height, -12);
    EXPECT_EQ(start.face, "Tahoma");
    EXPECT_EQ(start.weight, 700);
    EXPECT_TRUE(start.italic);
    EXPECT_EQ(std::vector<int>({start.red, start.green, start.blue}), std::vector<int>({0, 0, 255}));

    // Heights round to the nearest pixel: 10 pt at 96 dpi is 13.33, 11 pt is 14.67.
    const CEntityStyle ten("t", "A", 10, false, false, "");
    EXPECT_EQ(FontChoiceFromStyle(&ten, 96).height, -13);
    const CEntityStyle eleven("e", "A", 11, false, false, "1,2,3");
    EXPECT_EQ(FontChoiceFromStyle(&eleven, 96).height, -15);
    EXPECT_EQ(FontChoiceFromStyle(&eleven, 96).weight, 400);
    // 64-bit arithmetic: a huge size does not wrap around.
    const CEntityStyle huge("h", "A", 30000000, false, false, "");
    EXPECT_EQ(FontChoiceFromStyle(&huge, 288).height, -120000000);

    // Without a style: empty description and black.
    const FontChoice none = FontChoiceFromStyle(nullptr, 96);
    EXPECT_EQ(none.face, "");
    EXPECT_EQ(none.height, 0);
    EXPECT_EQ(none.weight, 400);
    EXPECT_EQ(std::vector<int>({none.red, none.green, none.blue}), std::vector<int>({0, 0, 0}));

    // The face is cut to 31 characters.
    const std::string longFace = "Abcdefghij Klmnopqrst Uvwxyzäöü Extra";  // umlauts are two bytes each
    const CEntityStyle style("n", longFace, 9, false, false, "");
    EXPECT_EQ(FontChoiceFromStyle(&style, 96).face, "Abcdefghij Klmnopqrst Uvwxyzäöü");
    const CEntityStyle exact("n", std::string(31, 'x'), 9, false, false, "");
    EXPECT_EQ(FontChoiceFromStyle(&exact, 96).face, std::string(31, 'x'));
}

TEST(StyleRules, ColourNeedsExactlyThreePartsAndKeepsLowBits)
{
    std::uint8_t r = 9, g = 9, b = 9;
    auto rgb = [&](const std::string& text) {
        ParseStyleColor(text, r, g, b);
        return std::vector<int>({r, g, b});
    };
    EXPECT_EQ(rgb("0,51,102"), std::vector<int>({0, 51, 102}));
    EXPECT_EQ(rgb(" 12, 34 ,x"), std::vector<int>({12, 34, 0}));
    EXPECT_EQ(rgb("256,257,-1"), std::vector<int>({0, 1, 255}));
    EXPECT_EQ(rgb("255,0"), std::vector<int>({0, 0, 0}));
    EXPECT_EQ(rgb("1,2,3,4"), std::vector<int>({0, 0, 0}));
    EXPECT_EQ(rgb(""), std::vector<int>({0, 0, 0}));
}

// An untouched chooser gives back the size it started from.
TEST(StyleRules, ApplyingTheChooserKeepsAnUntouchedSize)
{
    for (int dpi : {72, 96, 120, 144})
        for (int size = 5; size <= 72; ++size) {
            const CEntityStyle style("n", "A", size, false, false, "");
            EXPECT_EQ(PointSizeFromHeight(FontChoiceFromStyle(&style, dpi).height, dpi), size) << dpi;
        }
    EXPECT_EQ(PointSizeFromHeight(-12, 0), 0);

    CEntityStyle style("keep", "Old", 20, false, true, "9,9,9");
    ApplyFontChoice(Chosen("Liberation Sans", 105, 300, false, 1, 2, 255), style);
    EXPECT_EQ(style.GetName(), "keep");
    EXPECT_EQ(style.GetFont(), "Liberation Sans");
    EXPECT_EQ(style.GetSize(), 10);  // tenths, cut
    EXPECT_TRUE(style.IsBold());     // light counts as bold
    EXPECT_FALSE(style.IsItalic());
    EXPECT_EQ(style.GetColor(), "1,2,255");
    ApplyFontChoice(Chosen("X", 99, 400, true, 0, 0, 0), style);
    EXPECT_FALSE(style.IsBold());
    EXPECT_TRUE(style.IsItalic());
    EXPECT_EQ(style.GetSize(), 9);
    ApplyFontChoice(Chosen("X", 120, 700, true, 0, 0, 0), style);
    EXPECT_TRUE(style.IsBold());
}

TEST_F(StyleFlows, NewStartsFromTheSelectedStyleRetriesBadNamesAndMakesNothingWhenCancelled)
{
    StyleEditing editing(doc, ui);
    ui.fonts = {Chosen("Carlito", 140, 400, true, 10, 20, 30)};
    // Empty, taken, two the file would spell differently, then a name known
    // only in another case: allowed.
    ui.names = {std::string(), std::string("s1"), std::string("Head,Bold"), std::string("a||b"), std::string("S4")};
    EXPECT_EQ(editing.New("s2"), "S4");
    ASSERT_EQ(ui.starts.size(), 1u);
    EXPECT_EQ(ui.starts[0].face, "Tahoma");
    EXPECT_EQ(ui.starts[0].height, -12);
    EXPECT_EQ(ui.presets, (std::vector<std::string>{"", "", "", "", ""}));
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{kEmptyMessage, kTakenMessage, kSeparatorMessage, kSeparatorMessage}));
    EXPECT_EQ(Names(doc.GetStyles()), (std::vector<std::string>{"S4", "s1", "s2", "s3", "s4"}));
    const CEntityStyle* made = doc.GetStyles().Find("S4");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(StyleRow(*made), (StyleRowTexts{"S4", "Carlito", "14", "10,20,30", langStr("FD_NO"), langStr("FD_YES")}));
    EXPECT_TRUE(editing.HasChanged());

    // An unknown selection starts the chooser empty; a cancelled chooser or
    // name makes nothing, and no name is asked after a cancelled chooser.
    StyleEditing cancelled(doc, ui);
    ui.fonts = {std::nullopt, Chosen("A", 90, 400, false, 0, 0, 0)};
    ui.names = {std::string(), std::nullopt};
    ui.messages.clear();
    EXPECT_EQ(cancelled.New("gone"), "");
    EXPECT_EQ(ui.starts.back().face, "");
    EXPECT_EQ(ui.starts.back().height, 0);
    EXPECT_EQ(ui.presets.size(), 5u);
    EXPECT_EQ(cancelled.New(""), "");
    EXPECT_EQ(ui.messages, std::vector<std::string>{kEmptyMessage});
    EXPECT_EQ(doc.GetStyles().GetCount(), 5);
    EXPECT_FALSE(cancelled.HasChanged());
}

TEST_F(StyleFlows, ModifyToTheSameNameInOtherCaseOnlyRefreshes)
{
    StyleEditing editing(doc, ui);
    ui.fonts = {Chosen("Carlito", 110, 700, false, 1, 1, 1)};
    ui.names = {std::string("S2")};
    const StyleEditing::ModifyResult result = editing.Modify("s2");
    EXPECT_TRUE(result.refreshRow);
    EXPECT_EQ(result.name, "s2");
    EXPECT_EQ(ui.presets, std::vector<std::string>{"s2"});
    EXPECT_EQ(Names(doc.GetStyles()), (std::vector<std::string>{"s1", "s2", "s3", "s4"}));
    EXPECT_EQ(doc.GetStyles().Find("s2"), s2);  // the same record, changed in place
    EXPECT_EQ(s2->GetFont(), "Carlito");
    EXPECT_EQ(s2->GetSize(), 11);
    EXPECT_EQ(texts[1]->GetStyle(), s2);
    EXPECT_TRUE(editing.HasChanged());
}

TEST_F(StyleFlows, RenameReplacesTheStyleInEveryForm)
{
    StyleEditing editing(doc, ui);
    ui.fonts = {Chosen("Carlito", 100, 400, true, 4, 5, 6)};
    ui.names = {std::string(""), std::string("s3"), std::string("Body")};
    const StyleEditing::ModifyResult result = editing.Modify("s2");
    EXPECT_TRUE(result.refreshRow);
    EXPECT_EQ(result.name, "Body");
    EXPECT_EQ(ui.presets, (std::vector<std::string>{"s2", "s2", "s2"}));
    EXPECT_EQ(ui.messages, (std::vector<std::string>{kEmptyMessage, kTakenMessage}));
    EXPECT_EQ(Names(doc.GetStyles()), (std::vector<std::string>{"Body", "s1", "s3", "s4"}));
    const CEntityStyle* body = doc.GetStyles().Find("Body");
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(StyleRow(*body), (StyleRowTexts{"Body", "Carlito", "10", "4,5,6", langStr("FD_NO"), langStr("FD_YES")}));
    for (std::size_t form = 0; form < 2; ++form) {
        EXPECT_EQ(texts[form]->GetStyle(), body) << form;
        EXPECT_EQ(captions[form]->GetStyle(), body) << form;
        EXPECT_EQ(texts[form]->GetStyleName(), "Body");
    }
    // Elements of another style are left alone.
    EXPECT_EQ(filtered->GetAt(3)->GetStyle(), doc.GetStyles().Find("s1"));
    EXPECT_TRUE(editing.HasChanged());
}

TEST_F(StyleFlows, CancelledNameAfterModifyKeepsTheNewFont)
{
    StyleEditing editing(doc, ui);
    ui.fonts = {Chosen("Carlito", 160, 400, false, 7, 8, 9)};
    ui.names = {std::nullopt};
    const StyleEditing::ModifyResult result = editing.Modify("s2");
    EXPECT_FALSE(result.refreshRow);
    EXPECT_EQ(doc.GetStyles().Find("s2"), s2);
    EXPECT_EQ(s2->GetSize(), 16);
    EXPECT_EQ(s2->GetColor(), "7,8,9");
    EXPECT_FALSE(s2->IsBold());
    EXPECT_TRUE(editing.HasChanged());

    // A cancelled chooser touches nothing; the same values change nothing.
    StyleEditing again(doc, ui);
    ui.fonts = {std::nullopt};
    EXPECT_FALSE(again.Modify("s2").refreshRow);
    ui.fonts = {Chosen("Carlito", 160, 400, false, 7, 8, 9)};
    ui.names = {std::string("s2")};
    EXPECT_TRUE(again.Modify("s2").refreshRow);
    EXPECT_FALSE(again.HasChanged());
    EXPECT_FALSE(again.Modify("missing").refreshRow);
}

TEST_F(StyleFlows, DeleteLeavesTheElementsWithoutStyleEverywhere)
{
    StyleEditing editing(doc, ui);
    EXPECT_TRUE(editing.Delete("s2"));
    EXPECT_EQ(Names(doc.GetStyles()), (std::vector<std::string>{"s1", "s3", "s4"}));
    for (std::size_t form = 0; form < 2; ++form) {
        EXPECT_EQ(texts[form]->GetStyle(), nullptr) << form;
        EXPECT_EQ(captions[form]->GetStyle(), nullptr) << form;
    }
    EXPECT_NE(doc.GetMainForm()->GetAt(3)->GetStyle(), nullptr);
    EXPECT_TRUE(editing.HasChanged());
    EXPECT_FALSE(editing.Delete("s2"));
    EXPECT_TRUE(ui.starts.empty() && ui.messages.empty());  // no questions asked
}
