// Inputs the fuzz targets once failed on, kept in fixtures/fuzz-regressions,
// go through the same checks here in every build: the file reader and the
// text-form parsers must not crash, and what they accept must survive being
// written and read again. Each fixed fault also has its direct case below.

#include "controls/DiagramButton.h"
#include "controls/DiagramEdit.h"
#include "controls/DiagramStatic.h"
#include "controls/StandardControls.h"
#include "model/ElementFactory.h"
#include "model/FormDefinitionDocument.h"
#include "model/LoadObserver.h"
#include "services/Xml.h"
#include "support/Scratch.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <sstream>

using namespace fw;

namespace {

using Lines = std::vector<std::string>;

class Complaints : public LoadObserver {
public:
    void FileProblem(const std::string& problem) override { lines.push_back("file: " + problem); }
    void FormProblem(const std::string& form, const std::string& problem) override
    {
        lines.push_back(form + ": " + problem);
    }
    void ElementDropped(const std::string& form, const XmlElement& element, int, const std::string& reason) override
    {
        lines.push_back(form + ": " + std::string(element.getElementName()) + " dropped: " + reason);
    }
    Lines lines;
};

std::string FormFile(const std::string& definition)
{
    return "<?xml version=\"1.0\"?>\n<?ORVANEX-application progid=\"Forms.OEF\"?>\n<FormDefinition>" + definition +
           "</FormDefinition>\n";
}

std::string MainForm(const std::string& controls)
{
    return "<Dialog title=\"t\" size=\"700,600\"><Controls>" + controls + "</Controls></Dialog>";
}

int CountElements(const FormDefinitionDocument& doc)
{
    int count = doc.GetMainForm()->GetCount();
    for (const auto& [filter, form] : doc.GetFilteredForms())
        count += form->GetCount();
    return count;
}

// Fields sharing a tab index trade places on each save; the lines stay the same.
Lines SortedLines(const std::string& text)
{
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

// `copy` is a fresh element of the same kind.
template <typename Element> void CheckTextAgain(const Element& element, Element& copy)
{
    const std::string first = element.GetString();
    ASSERT_TRUE(copy.FromString(first)) << first;
    EXPECT_EQ(copy.GetString(), first);
}

template <typename Element> void CheckTextAgain(const Element& element)
{
    Element copy;
    CheckTextAgain(element, copy);
}

class FuzzRegressions : public ::testing::Test {
protected:
    FuzzRegressions() { RegisterStandardControls(ElementFactory::Global()); }
    ~FuzzRegressions() override { ElementFactory::Global().Clear(); }

    // The file target's checks; the object class comes from the name, as there.
    void CheckAsFile(const std::string& bytes)
    {
        FormDefinitionDocument doc;
        if (!doc.ReadFile(m_dir.Put("PUMP_Fuzz.xml", bytes)))
            return;
        const std::string written = doc.WriteToString();
        FormDefinitionDocument again;
        Complaints complaints;
        again.SetLoadObserver(&complaints);
        ASSERT_TRUE(again.ReadFile(m_dir.Put("PUMP_Written.xml", written))) << written;
        EXPECT_EQ(complaints.lines, Lines{}) << written;
        EXPECT_TRUE(again.WasReadWhole());
        EXPECT_EQ(again.GetFilteredForms().size(), doc.GetFilteredForms().size());
        EXPECT_EQ(CountElements(again), CountElements(doc));
        EXPECT_EQ(SortedLines(again.WriteToString()), SortedLines(written));
    }

    // The text-form target's checks, on every element kind.
    static void CheckAsText(const std::string& text)
    {
        CDiagramEntityContainer form;
        if (form.FromString(text))
            CheckTextAgain(form);
        std::vector<std::unique_ptr<CDiagramEntity>> kinds;
        kinds.push_back(std::make_unique<CDiagramEntity>());
        kinds.push_back(std::make_unique<CDiagramEdit>());
        for (const std::string& name : ElementFactory::Global().Names())
            kinds.push_back(ElementFactory::Global().Create(name));
        for (const ButtonKind& kind : CDiagramButton::Kinds())
            if (auto button = std::make_unique<CDiagramButton>(); button->InitButton(kind.kind))
                kinds.push_back(std::move(button));
        for (const auto& kind : kinds) {
            std::unique_ptr<CDiagramEntity> element = kind->Clone();
            if (element->FromString(text))
                CheckTextAgain(*element, *kind->Clone());
        }
        if (std::unique_ptr<CDiagramStatic> label = CDiagramStatic::FromText(text))
            CheckTextAgain(*label);
    }

    test::DemoModel m_model;
    test::ScratchDir m_dir;
};

}  // namespace

TEST_F(FuzzRegressions, EveryKeptInputPassesTheFuzzChecks)
{
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::FixturePath("fuzz-regressions"))) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::string bytes = test::ReadFile(entry.path().string());
        CheckAsFile(bytes);
        CheckAsText(bytes);
        ++inputs;
    }
    EXPECT_GE(inputs, 4);
}

TEST_F(FuzzRegressions, TextFormRefusesEdgesBeyondTheNumberRange)
{
    // "-1e400" reads as minus infinity, which the text form would write as "-inf".
    EXPECT_EQ(CDiagramStatic::FromText("static:10,-1e400,110,38,Title,TXT_NOTES,0;"), nullptr);
    CDiagramEntity element;
    EXPECT_FALSE(element.FromString("basic:1e400,0,10,10,a,b,0;"));

    // Large but finite edges are still fine and come back unchanged.
    std::unique_ptr<CDiagramStatic> far = CDiagramStatic::FromText("static:1e300,0,1e300,18,Title,TXT_NOTES,0;");
    ASSERT_NE(far, nullptr);
    EXPECT_EQ(far->GetLeft(), 1e300);
    CheckTextAgain(*far);
}

TEST_F(FuzzRegressions, CaptionFarOutsideIsRefusedWithItsFieldAndTheRestSavesStably)
{
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(m_dir.Put(
        "PUMP_Far.xml",
        FormFile(MainForm(R"(<Property name="ARTNO" pos="120,10" size="100,20" labelPos="1e60,-1e60" )"
                          R"(labelSize="110,20" tabOrder="0"/><Property name="NAME" pos="120,40" size="100,20" )"
                          R"(labelPos="10.5,40" labelSize="90,20" tabOrder="1"/>)")))));
    ASSERT_EQ(doc.GetMainForm()->GetCount(), 2);
    EXPECT_EQ(doc.GetMainForm()->GetAt(0)->GetName(), "NAME");
    EXPECT_EQ(doc.GetMainForm()->GetAt(0)->GetDependent()->GetLeft(), 10.5) << "in range keeps its fraction";

    const std::string written = doc.WriteToString();
    FormDefinitionDocument again;
    ASSERT_TRUE(again.ReadFile(m_dir.Put("PUMP_Again.xml", written)));
    EXPECT_EQ(again.WriteToString(), written);
}

TEST_F(FuzzRegressions, TextIsReadAsTheWriterCanWriteIt)
{
    // Filters apart only by bytes XML cannot carry are one filter on disk.
    const std::string file = FormFile("<Dialogs><Dialog title=\"t\" size=\"10,10\" filter=\"STATUS:=:Rel\x1c"
                                      "eased\"><Controls/></Dialog>"
                                      "<Dialog title=\"t\" size=\"10,10\" filter=\"STATUS:=:Released\"><Controls/>"
                                      "</Dialog><Dialog title=\"t\" size=\"10,10\" filter=\"A:=:\xff\"><Controls/>"
                                      "</Dialog></Dialogs>" +
                                      MainForm("<Text pos=\"5,5\" size=\"9,9\">TXT\x01_NOTES</Text>"));
    FormDefinitionDocument doc;
    Complaints complaints;
    doc.SetLoadObserver(&complaints);
    ASSERT_TRUE(doc.ReadFile(m_dir.Put("PUMP_Control.xml", file)));
    EXPECT_FALSE(doc.WasReadWhole()) << "the second form with the same filter is left out";
    ASSERT_EQ(complaints.lines.size(), 1u);
    EXPECT_NE(complaints.lines[0].find("a second form with this filter"), std::string::npos) << complaints.lines[0];

    Lines filters;
    for (const auto& [filter, form] : doc.GetFilteredForms())
        filters.push_back(filter);
    EXPECT_EQ(filters, (Lines{"A:=:\xEF\xBF\xBD", "STATUS:=:Released"}));
    ASSERT_EQ(doc.GetMainForm()->GetCount(), 1);
    EXPECT_EQ(doc.GetMainForm()->GetAt(0)->GetName(), "TXT_NOTES");
    EXPECT_EQ(doc.GetMainForm()->GetAt(0)->GetTitle(), "Notes") << "the cleaned key is found in the model";
    CheckAsFile(file);
}

TEST_F(FuzzRegressions, TabIndexAtTheIntLimitCountsNoFurther)
{
    // "99999999999" reads as the largest int; the sanitizer builds stop at any overflow.
    FormDefinitionDocument doc;
    ASSERT_TRUE(doc.ReadFile(m_dir.Put(
        "PUMP_Tabs.xml",
        FormFile(MainForm(R"(<Property name="ARTNO" pos="120,10" size="100,20" tabOrder="99999999999"/>)"
                          R"(<Property name="NAME" pos="120,40" size="100,20" tabOrder="-99999999999"/>)")))));
    CDiagramEntityContainer& form = *doc.GetMainForm();
    ASSERT_EQ(form.GetCount(), 2);
    EXPECT_EQ(form.GetAt(0)->GetTabIndex(), INT_MAX);
    EXPECT_EQ(form.GetNextTabIndex(true), INT_MAX);
    EXPECT_EQ(form.GetNextTabIndex(true), INT_MAX);
    form.GetAt(0)->AddToTabIndex(1);
    EXPECT_EQ(form.GetAt(0)->GetTabIndex(), INT_MAX);
    form.GetAt(1)->AddToTabIndex(-1);
    EXPECT_EQ(form.GetAt(1)->GetTabIndex(), INT_MIN);
    form.SortByTabIndex();
    EXPECT_EQ(form.GetNextTabIndex(false), INT_MAX);
    EXPECT_NE(doc.WriteToString().find("tabOrder=\"2147483647\""), std::string::npos);
}
