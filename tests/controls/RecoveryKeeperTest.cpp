// Recovery copies of open files: written while a file has unsaved changes,
// read back as that file, gone once it is saved.

#include "model/RecoveryKeeper.h"
#include "controls/StandardControls.h"
#include "model/ElementFactory.h"
#include "model/FormDefinitionDocument.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

using namespace fw;

namespace {

namespace fs = std::filesystem;

class RecoveryKeeping : public ::testing::Test {
protected:
    RecoveryKeeping()
    {
        if (!ElementFactory::Global().Knows("Property"))
            RegisterStandardControls(ElementFactory::Global());
        m_path = m_scratch.Path() + "/PUMP_Main.xml";
        fs::copy_file(std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/samples/PUMP_Main.xml", m_path);
        EXPECT_TRUE(m_doc.ReadFile(m_path));
    }

    // As the editor moves an element: a step of history, then the change.
    void MoveFirstElement(int dx)
    {
        CDiagramEntityContainer& form = *m_doc.GetMainForm();
        form.Snapshot("move");
        form.GetAt(0)->MoveRect(dx, 0);
        form.SetModified(true);
    }

    RecoveryKeeper::FileFacts Facts() const { return {m_path, "PUMP_Main.xml", false}; }

    test::DemoModel m_model;
    test::ScratchDir m_scratch;
    std::string m_path;
    FormDefinitionDocument m_doc;
};

TEST_F(RecoveryKeeping, ACopyFollowsUnsavedChangesAndReadsBackAsTheFile)
{
    RecoveryKeeper keeper(m_scratch.Path() + "/recovery");
    keeper.Look(m_doc, Facts());
    EXPECT_EQ(keeper.CopyOf(m_doc), "") << "a file without changes needs no copy";

    MoveFirstElement(7);
    m_doc.AddForm("KIND:EQUAL:NEW");
    keeper.Look(m_doc, Facts());
    keeper.Flush();
    const std::string copy = keeper.CopyOf(m_doc);
    ASSERT_TRUE(fs::exists(copy)) << keeper.LastError();

    // A change after the copy reaches it at the next look.
    MoveFirstElement(3);
    keeper.Look(m_doc, Facts());
    keeper.Flush();

    FormDefinitionDocument restored;
    ASSERT_TRUE(restored.ReadCopy(copy, m_path, m_doc.GetDiskStamp()));
    EXPECT_TRUE(restored.IsModified());
    EXPECT_EQ(restored.GetObjectClass(), "PUMP");
    EXPECT_EQ(restored.GetFilteredForms().size(), m_doc.GetFilteredForms().size());
    EXPECT_EQ(restored.GetMainForm()->GetAt(0)->GetLeft(), m_doc.GetMainForm()->GetAt(0)->GetLeft());
    // A new form has no id until it is saved; its copy gives it one of its own.
    const std::regex id("uuid=\"[^\"]*\"");
    EXPECT_EQ(std::regex_replace(restored.WriteToString(), id, ""), std::regex_replace(m_doc.WriteToString(), id, ""));
    EXPECT_FALSE(restored.ChangedOnDisk(m_path));

    // Saved: the copy and its record go.
    m_doc.SaveDocument(m_path);
    keeper.Look(m_doc, Facts());
    keeper.Flush();
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_FALSE(fs::exists(RecordPathOf(copy)));
}

TEST_F(RecoveryKeeping, ACloseNobodyConfirmedKeepsTheCopyAndAConfirmedOneRemovesIt)
{
    {
        RecoveryKeeper keeper(m_scratch.Path() + "/recovery");
        MoveFirstElement(7);
        keeper.Look(m_doc, Facts());
        keeper.Forget(m_doc);
    }
    RecoveryClaim claim(m_scratch.Path() + "/recovery", std::time(nullptr));
    ASSERT_EQ(claim.Entries().size(), 1u);
    EXPECT_EQ(claim.Entries()[0].record.original, m_path);

    RecoveryKeeper keeper(m_scratch.Path() + "/recovery");
    keeper.Adopt(m_doc, claim.Entries()[0].copyPath);
    m_doc.SetModified(false);  // "close without saving" answered
    keeper.Forget(m_doc);
    keeper.Flush();
    EXPECT_FALSE(fs::exists(claim.Entries()[0].copyPath));
}

TEST_F(RecoveryKeeping, ACopyLeavesTheFormsAsTheyAre)
{
    // Two fields whose numbers disagree with their places in the list.
    CDiagramEntityContainer& form = *m_doc.GetMainForm();
    std::vector<CDiagramEntity*> fields;
    for (int i = 0; i < form.GetCount(); ++i)
        if (form.GetAt(i)->TakesPartInTabOrder())
            fields.push_back(form.GetAt(i));
    ASSERT_GE(fields.size(), 2u);
    const int first = fields.front()->GetTabIndex();
    fields.front()->SetTabIndex(fields.back()->GetTabIndex());
    fields.back()->SetTabIndex(first);
    form.SetModified(true);

    auto order = [&] {
        std::vector<const CDiagramEntity*> list;
        for (int i = 0; i < form.GetCount(); ++i)
            list.push_back(form.GetAt(i));
        return list;
    };
    const auto before = order();
    const auto stamp = m_doc.GetChangeStamp();
    m_doc.WriteCopyToString();
    EXPECT_EQ(order(), before);
    EXPECT_EQ(m_doc.GetChangeStamp(), stamp);
    m_doc.WriteToString();
    EXPECT_NE(order(), before) << "a save puts the fields in tab order";
}

}  // namespace
