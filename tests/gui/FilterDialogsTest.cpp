// The filter list and the filter definition as real windows: conditions built
// through the in-place editors, the list's buttons, and a filtered form
// defined through both dialogs and saved.

#include "app/MainFrame.h"
#include "dialogs/DefineFilterDlg.h"
#include "dialogs/EditListEx.h"
#include "dialogs/FilterDlg.h"
#include "gui/AppFixture.h"
#include "gui/GuiTestSupport.h"
#include "model/FormDefinitionDocument.h"
#include "model/PropertyEntries.h"
#include "services/LanguageTable.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/fileconf.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <filesystem>
#include <set>

using namespace fw;
using fw::test::AppJourney;
using fw::test::Click;
using fw::test::PumpEvents;
using fw::test::RunModal;
using fw::test::WaitFor;

namespace {

// Each test gets its own settings file (the dialogs store their placement)
// and the PUMP sample on the demo model.
class FilterDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_doc.ReadFile(std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/samples/PUMP_Main.xml"));
        m_doc.RefreshLists(true);
        ASSERT_FALSE(m_doc.GetClassProperties().empty());
    }

    static std::string Utf8(const wxString& text) { return text.ToStdString(wxConvUTF8); }

    static void AddAttribute(CDefineFilterDlg& dialog, const char* localized)
    {
        const int line = dialog.GetAttributeList()->FindString(wxString::FromUTF8(localized), true);
        ASSERT_NE(line, wxNOT_FOUND) << localized;
        dialog.GetAttributeList()->SetSelection(line);
        Click(dialog.GetAddButton());
    }

    // Opens a cell's editor with a real click on the cell.
    static wxWindow* ClickCell(CEditListEx& list, long row, int column)
    {
        wxRect cell;
        if (!list.GetSubItemRect(row, column, cell))
            return nullptr;
        wxUIActionSimulator mouse;
        mouse.MouseMove(list.ClientToScreen(cell.GetPosition() + wxPoint(cell.width / 2, cell.height / 2)));
        PumpEvents(30);
        mouse.MouseClick();
        WaitFor([&] { return list.GetActiveEditor() != nullptr; }, 2000);
        return list.GetActiveEditor();
    }

    // Presses a key where the focus is and waits for the editor to close.
    static bool PressOnEditor(CEditListEx& list, int key)
    {
        wxWindow* editor = list.GetActiveEditor();
        if (!editor)
            return false;
        editor->SetFocus();
        PumpEvents(30);
        wxUIActionSimulator().Char(key);
        return WaitFor([&] { return list.GetActiveEditor() == nullptr; }, 2000);
    }

    static bool ChooseInCell(CEditListEx& list, long row, int column, const char* choice)
    {
        if (!list.EditCell(row, column))
            return false;
        auto* drop = dynamic_cast<wxChoice*>(list.GetActiveEditor());
        if (!drop)
            return false;
        const int at = drop->FindString(wxString::FromUTF8(choice), true);
        if (at == wxNOT_FOUND)
            return false;
        drop->SetSelection(at);
        return PressOnEditor(list, WXK_RETURN);
    }

    static bool TypeInCell(CEditListEx& list, long row, int column, const char* text)
    {
        if (!list.EditCell(row, column))
            return false;
        auto* field = dynamic_cast<wxTextCtrl*>(list.GetActiveEditor());
        if (!field)
            return false;
        field->SetFocus();
        PumpEvents(30);
        field->SelectAll();
        wxUIActionSimulator().Text(text);
        WaitFor([&] { return Utf8(field->GetValue()) == text; }, 2000);
        return PressOnEditor(list, WXK_RETURN);
    }

    static CDefineFilterDlg* OpenDefinition()
    {
        for (wxWindow* window : wxTopLevelWindows)
            if (auto* dialog = dynamic_cast<CDefineFilterDlg*>(window); dialog && dialog->IsModal())
                return dialog;
        return nullptr;
    }

    test::ScopedSettingsFile m_settings{"filters"};
    test::DemoModel m_model;
    FormDefinitionDocument m_doc;
};

// The filter list's document operations, recorded, on a real document.
class RecordingForms : public FilterFormOps {
public:
    explicit RecordingForms(FormDefinitionDocument& doc) : m_doc(doc) {}
    bool AddForm(const std::string& filter) override { return Record("add " + filter, m_doc.AddForm(filter)); }
    bool RenameForm(const std::string& newFilter, const std::string& oldName) override
    {
        return Record("rename " + oldName + " -> " + newFilter, m_doc.RenameForm(newFilter, oldName));
    }
    bool CopyForm(const std::string& newFilter, const std::string& sourceName) override
    {
        return Record("copy " + sourceName + " -> " + newFilter, m_doc.CopyForm(newFilter, sourceName));
    }
    bool RemoveForm(const std::string& filter) override { return Record("remove " + filter, m_doc.RemoveForm(filter)); }

    std::vector<std::string> calls;

private:
    bool Record(const std::string& call, bool done)
    {
        calls.push_back(call + (done ? "" : " (refused)"));
        return done;
    }
    FormDefinitionDocument& m_doc;
};

// Answers every message box at once, keeping its text and the window it belongs to.
class MessageCatcher : public wxModalDialogHook {
public:
    MessageCatcher() { Register(); }
    struct Message {
        std::string text;
        wxWindow* parent;
    };
    std::vector<Message> messages;

protected:
    int Enter(wxDialog* dialog) override
    {
        auto* box = dynamic_cast<wxMessageDialog*>(dialog);
        if (!box)
            return wxID_NONE;
        messages.push_back({box->GetMessage().ToStdString(wxConvUTF8), box->GetParent()});
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}
};

std::vector<std::string> Items(const wxListBox& list)
{
    std::vector<std::string> items;
    for (unsigned i = 0; i < list.GetCount(); ++i)
        items.push_back(list.GetString(i).ToStdString(wxConvUTF8));
    return items;
}

std::vector<std::string> FormKeys(const FormDefinitionDocument& doc)
{
    std::vector<std::string> keys;
    for (const auto& [key, form] : doc.GetFilteredForms())
        keys.push_back(key);
    return keys;
}

}  // namespace

TEST_F(FilterDialogsTest, DefinitionOpensWithTheTypesAttributesAndFourColumns)
{
    CDefineFilterDlg dialog(nullptr, m_doc);
    const std::vector<std::string>& entries = m_doc.GetClassProperties();
    ASSERT_EQ(dialog.GetAttributeList()->GetCount(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(Utf8(dialog.GetAttributeList()->GetString(i)), SplitPropertyEntry(entries[i]).localized);
    EXPECT_EQ(dialog.GetAttributeList()->GetSelection(), 0);
    EXPECT_EQ(dialog.GetPlacementName(), "FD_DefineFilterDialog");

    CEditListEx& list = *dialog.GetConditionList();
    ASSERT_EQ(list.GetColumnCount(), 4);
    const char* headers[] = {"DFLTRDLG_ATRRIBUTE", "DFLTRDLG_OPRATOR", "DFLTRDLG_VALUE", "DFLTRDLG_OR_AND"};
    const int widths[] = {120, 75, 75, 60};  // the last one at least
    const CellEditKind kinds[] = {CellEditKind::None, CellEditKind::Choice, CellEditKind::Text, CellEditKind::Choice};
    for (int c = 0; c < 4; ++c) {
        wxListItem column;
        column.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_WIDTH);
        list.GetColumn(c, column);
        EXPECT_EQ(Utf8(column.GetText()), langStr(headers[c]));
        EXPECT_EQ(c == 3 ? std::min(list.GetColumnWidth(c), widths[c]) : list.GetColumnWidth(c), widths[c]);
        EXPECT_EQ(list.GetColumnKind(c), kinds[c]);
    }
    EXPECT_EQ(list.GetChoicesFor(1).size(), 9u);
    EXPECT_EQ(list.GetChoicesFor(3), (std::vector<std::string>{"||", "&", ""}));
    EXPECT_EQ(list.GetItemCount(), 0);
    // No editor for the attribute column.
    EXPECT_FALSE(list.EditCell(0, 0));
}

TEST_F(FilterDialogsTest, ConditionsBuiltThroughTheInPlaceEditors)
{
    CDefineFilterDlg dialog(nullptr, m_doc);
    CEditListEx& list = *dialog.GetConditionList();
    std::vector<std::string> connectorChoices;
    const int rc = RunModal(
        dialog,
        [&] {
            AddAttribute(dialog, "Pump type");
            AddAttribute(dialog, "Pump type");
            AddAttribute(dialog, "Weight (kg)");
            ASSERT_EQ(list.GetItemCount(), 3);
            EXPECT_EQ(Utf8(list.GetCellText(2, 0)), "Weight (kg)");
            EXPECT_EQ(list.GetRowData(2), "WEIGHT_KG");
            EXPECT_EQ(Utf8(list.GetCellText(2, 1)), "");

            // A real click on the operator cell opens the drop-down with list A.
            auto* drop = dynamic_cast<wxChoice*>(ClickCell(list, 0, 1));
            ASSERT_NE(drop, nullptr) << "no drop-down over the clicked cell";
            ASSERT_EQ(drop->GetCount(), 9u);
            EXPECT_EQ(drop->GetSelection(), wxNOT_FOUND);
            drop->SetSelection(drop->FindString("EQUAL", true));
            ASSERT_TRUE(PressOnEditor(list, WXK_RETURN));
            EXPECT_EQ(Utf8(list.GetCellText(0, 1)), "EQUAL");

            // A click on the value cell gives an edit field.
            auto* field = dynamic_cast<wxTextCtrl*>(ClickCell(list, 0, 2));
            ASSERT_NE(field, nullptr) << "no edit field over the clicked cell";
            field->ChangeValue("SCREW");
            ASSERT_TRUE(PressOnEditor(list, WXK_RETURN));

            ASSERT_TRUE(ChooseInCell(list, 0, 3, "||"));
            ASSERT_TRUE(ChooseInCell(list, 1, 1, "EQUAL"));
            ASSERT_TRUE(TypeInCell(list, 1, 2, "INLINE"));
            ASSERT_TRUE(ChooseInCell(list, 1, 3, "&"));
            ASSERT_TRUE(ChooseInCell(list, 2, 1, "GREATER"));
            ASSERT_TRUE(TypeInCell(list, 2, 2, "10"));
            // The last row's connector is not written. Picking a choice
            // commits it without Enter.
            ASSERT_TRUE(list.EditCell(2, 3));
            auto* picked = dynamic_cast<wxChoice*>(list.GetActiveEditor());
            ASSERT_NE(picked, nullptr);
            picked->SetSelection(0);
            wxCommandEvent pick(wxEVT_CHOICE, picked->GetId());
            pick.SetEventObject(picked);
            pick.SetInt(0);
            picked->GetEventHandler()->ProcessEvent(pick);
            ASSERT_TRUE(WaitFor([&] { return list.GetActiveEditor() == nullptr; }, 2000));
            EXPECT_EQ(Utf8(list.GetCellText(2, 3)), "||");

            // The drop-down preselects the cell's text.
            ASSERT_TRUE(list.EditCell(1, 3));
            auto* preselected = dynamic_cast<wxChoice*>(list.GetActiveEditor());
            ASSERT_NE(preselected, nullptr);
            EXPECT_EQ(preselected->GetStringSelection(), "&");
            for (unsigned i = 0; i < preselected->GetCount(); ++i)
                connectorChoices.push_back(Utf8(preselected->GetString(i)));
            ASSERT_TRUE(PressOnEditor(list, WXK_ESCAPE));
            Click(dialog.GetOkButton());
        },
        15000);
    EXPECT_EQ(rc, wxID_OK);
    EXPECT_EQ(connectorChoices, (std::vector<std::string>{"||", "&", ""}));
    EXPECT_EQ(dialog.GetFilter(), "PUMP_TYPE:EQUAL:SCREW||PUMP_TYPE:EQUAL:INLINE&WEIGHT_KG:GREATER:10");
}

TEST_F(FilterDialogsTest, EscapeCancelsTheEditNotTheDialog)
{
    CDefineFilterDlg dialog(nullptr, m_doc);
    dialog.SetFilter("WEIGHT_KG:LESS:5");
    CEditListEx& list = *dialog.GetConditionList();
    bool openAfterEscape = false;
    std::vector<std::string> notices;
    list.Bind(wxEVT_LIST_END_LABEL_EDIT, [&](wxListEvent& event) {
        notices.push_back(std::to_string(event.GetIndex()) + "," + std::to_string(event.GetColumn()) + "," +
                          (event.IsEditCancelled() ? "cancelled" : Utf8(event.GetLabel())));
        event.Skip();
    });
    const int rc = RunModal(dialog, [&] {
        ASSERT_TRUE(list.EditCell(0, 2));
        auto* field = dynamic_cast<wxTextCtrl*>(list.GetActiveEditor());
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->GetValue(), "5");
        field->ChangeValue("99");
        ASSERT_TRUE(PressOnEditor(list, WXK_ESCAPE));
        PumpEvents(100);
        openAfterEscape = dialog.IsModal();
        EXPECT_EQ(Utf8(list.GetCellText(0, 2)), "5");
        ASSERT_TRUE(TypeInCell(list, 0, 2, "7"));
        // Leaving the field commits too.
        ASSERT_TRUE(list.EditCell(0, 2));
        auto* again = dynamic_cast<wxTextCtrl*>(list.GetActiveEditor());
        ASSERT_NE(again, nullptr);
        again->SetFocus();
        PumpEvents(30);
        again->ChangeValue("8");
        dialog.GetAttributeList()->SetFocus();
        ASSERT_TRUE(WaitFor([&] { return list.GetActiveEditor() == nullptr; }));
        EXPECT_EQ(Utf8(list.GetCellText(0, 2)), "8");
        Click(dialog.GetOkButton());
    });
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(rc, wxID_OK);
    EXPECT_EQ(notices, (std::vector<std::string>{"0,2,cancelled", "0,2,7", "0,2,8"}));
    EXPECT_EQ(dialog.GetFilter(), "WEIGHT_KG:LESS:8");
}

TEST_F(FilterDialogsTest, PreloadedFilterFillsTheRowsAndDeleteRemovesThem)
{
    CDefineFilterDlg dialog(nullptr, m_doc);
    dialog.SetFilter("PUMP_TYPE:EQUAL:SCREW||PUMP_TYPE:EQUAL:SIDE CHANNEL&STATUS:=:Released");
    CEditListEx& list = *dialog.GetConditionList();
    ASSERT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(Utf8(list.GetCellText(0, 0)), "Pump type");
    EXPECT_EQ(list.GetRowData(0), "PUMP_TYPE");
    EXPECT_EQ(Utf8(list.GetCellText(1, 2)), "SIDE CHANNEL");
    EXPECT_EQ(Utf8(list.GetCellText(1, 3)), "&");
    EXPECT_EQ(Utf8(list.GetCellText(2, 0)), "Status");
    EXPECT_EQ(Utf8(list.GetCellText(2, 3)), "");
    EXPECT_EQ(list.GetSelectedRow(), 0);

    const int rc = RunModal(dialog, [&] {
        // The Delete key in the list removes the selected row.
        list.SelectRow(1);
        list.SetFocus();
        PumpEvents(30);
        wxUIActionSimulator().Char(WXK_DELETE);
        ASSERT_TRUE(WaitFor([&] { return list.GetItemCount() == 2; }));
        EXPECT_EQ(list.GetRowData(1), "STATUS");
        // "< --" removes the selected one, and nothing without a selection.
        list.SelectRow(1);
        Click(dialog.GetRemoveButton());
        EXPECT_EQ(list.GetItemCount(), 1);
        list.SetItemState(0, 0, wxLIST_STATE_SELECTED);
        Click(dialog.GetRemoveButton());
        EXPECT_EQ(list.GetItemCount(), 1);
        Click(dialog.GetOkButton());
    });
    EXPECT_EQ(rc, wxID_OK);
    // Its "||" had no row left to join.
    EXPECT_EQ(dialog.GetFilter(), "PUMP_TYPE:EQUAL:SCREW");
}

TEST_F(FilterDialogsTest, DefinitionWithoutRowsAnswersEmpty)
{
    CDefineFilterDlg dialog(nullptr, m_doc);
    EXPECT_EQ(RunModal(dialog, [&] { Click(dialog.GetOkButton()); }), wxID_OK);
    EXPECT_EQ(dialog.GetFilter(), "");
}

TEST_F(FilterDialogsTest, FilterListButtonsWorkOnTheListAndTheDocument)
{
    RecordingForms forms(m_doc);
    std::vector<std::string> filters = FormKeys(m_doc);
    ASSERT_EQ(filters.size(), 2u);
    CFilterDlg dialog(nullptr, "status:=", filters, forms, m_doc);
    std::vector<std::string> preloads;
    std::vector<std::string> answers = {"WEIGHT_KG:GREATER:100", "STATUS:=:Draft"};
    dialog.SetDefineRunner([&](const std::string& preload, std::string& result) {
        preloads.push_back(preload);
        if (answers.empty())
            return false;
        result = answers.front();
        answers.erase(answers.begin());
        return true;
    });
    std::vector<std::string> messages;
    dialog.SetMessageRunner([&](const std::string& text, const std::string&) { messages.push_back(text); });

    wxListBox& list = *dialog.GetList();
    EXPECT_EQ(Items(list)[0], langStr("FD_DEFAULT"));
    EXPECT_EQ(list.GetSelection(), 2);  // "STATUS:=:Released" begins with the current name
    EXPECT_EQ(dialog.GetPlacementName(), "FD_FilterDialog");

    const int rc = RunModal(dialog, [&] {
        Click(dialog.GetNewButton());
        EXPECT_EQ(list.GetSelection(), 3);
        EXPECT_EQ(Items(list).back(), "WEIGHT_KG:GREATER:100");

        // A double-click on an entry modifies it.
        list.SetSelection(2);
        wxCommandEvent dclick(wxEVT_LISTBOX_DCLICK, list.GetId());
        dclick.SetEventObject(&list);
        dclick.SetInt(2);
        list.GetEventHandler()->ProcessEvent(dclick);
        EXPECT_EQ(Utf8(list.GetString(2)), "STATUS:=:Draft");
        EXPECT_EQ(list.GetSelection(), 2);

        list.SetSelection(0);
        Click(dialog.GetDeleteButton());
        EXPECT_EQ(messages.size(), 1u);

        list.SetSelection(3);
        Click(dialog.GetDeleteButton());
        EXPECT_EQ(list.GetCount(), 3u);
        EXPECT_EQ(list.GetSelection(), 0);
        list.SetSelection(1);
        Click(dialog.GetOkButton());
    });
    EXPECT_EQ(rc, wxID_OK);
    EXPECT_EQ(preloads, (std::vector<std::string>{"", "STATUS:=:Released"}));
    EXPECT_EQ(messages, std::vector<std::string>{langStr("FLTRDLG_MSG_0")});
    EXPECT_EQ(forms.calls,
              (std::vector<std::string>{"add WEIGHT_KG:GREATER:100", "rename STATUS:=:Released -> STATUS:=:Draft",
                                        "remove WEIGHT_KG:GREATER:100"}));
    EXPECT_EQ(FormKeys(m_doc),
              (std::vector<std::string>{"PUMP_TYPE:EQUAL:SCREW||PUMP_TYPE:EQUAL:SIDE CHANNEL", "STATUS:=:Draft"}));
    EXPECT_EQ(dialog.GetResult(), "PUMP_TYPE:EQUAL:SCREW||PUMP_TYPE:EQUAL:SIDE CHANNEL");
}

TEST_F(FilterDialogsTest, FilteredFormDefinedThroughBothDialogsIsSaved)
{
    RecordingForms forms(m_doc);
    CFilterDlg dialog(nullptr, m_doc.GetCurrentFormName(), FormKeys(m_doc), forms, m_doc);
    EXPECT_EQ(dialog.GetList()->GetSelection(), 0);
    bool definitionSeen = false;
    wxTimer poll;
    poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        CDefineFilterDlg* definition = OpenDefinition();
        if (!definition)
            return;
        poll.Stop();
        definitionSeen = true;
        CEditListEx& list = *definition->GetConditionList();
        AddAttribute(*definition, "Material");
        AddAttribute(*definition, "Material");
        if (ChooseInCell(list, 0, 1, "LIKE") && TypeInCell(list, 0, 2, "1.4*") && ChooseInCell(list, 0, 3, "||") &&
            ChooseInCell(list, 1, 1, "=") && TypeInCell(list, 1, 2, "GG25"))
            Click(definition->GetOkButton());
        else
            definition->EndModal(wxID_CANCEL);
    });
    const int rc = RunModal(
        dialog,
        [&] {
            // The default form is selected: Duplicate copies the main form.
            poll.Start(50);
            Click(dialog.GetDuplicateButton());
            Click(dialog.GetOkButton());
        },
        20000);
    ASSERT_TRUE(definitionSeen);
    EXPECT_EQ(rc, wxID_OK);
    const std::string filter = "MATERIAL:LIKE:1.4*||MATERIAL:=:GG25";
    EXPECT_EQ(forms.calls, std::vector<std::string>{"copy " + langStr("FD_DEFAULT") + " -> " + filter});
    EXPECT_EQ(dialog.GetResult(), filter);
    ASSERT_NE(m_doc.GetForm(filter), nullptr);
    EXPECT_EQ(m_doc.GetForm(filter)->GetCount(), m_doc.GetMainForm()->GetCount());
    EXPECT_TRUE(m_doc.SelectFormByName(dialog.GetResult()));

    test::ScratchDir dir;
    const std::string path = dir.Path() + "/PUMP_Filtered.xml";
    m_doc.WriteFile(path);
    ASSERT_EQ(m_doc.GetWriteError(), "");
    const std::string saved = test::ReadFile(path);
    EXPECT_NE(saved.find("filter=\"MATERIAL:LIKE:1.4*,MATERIAL:=:GG25\""), std::string::npos) << saved;
    EXPECT_EQ(saved.find("||"), std::string::npos);

    FormDefinitionDocument reread;
    ASSERT_TRUE(reread.ReadFile(path));
    EXPECT_NE(reread.GetForm(filter), nullptr);
}

TEST_F(FilterDialogsTest, CellsAreEditedFromTheKeyboardAndRowsMustBeJoined)
{
    CDefineFilterDlg dialog(nullptr, m_doc);
    dialog.SetFilter("WEIGHT_KG:LESS:5");
    CEditListEx& list = *dialog.GetConditionList();
    MessageCatcher catcher;
    bool openAfterRefusal = false;
    const auto editorAt = [&](long row, int column) {
        WaitFor([&] { return list.GetActiveEditor() != nullptr; }, 2000);
        auto* editor = dynamic_cast<InPlaceEditor*>(list.GetActiveEditor());
        return editor && editor->GetRow() == row && editor->GetColumn() == column;
    };
    const int rc = RunModal(
        dialog,
        [&] {
            // A new row, and the row before it, are joined by "&" until changed.
            AddAttribute(dialog, "Pump type");
            ASSERT_EQ(list.GetItemCount(), 2);
            EXPECT_EQ(Utf8(list.GetCellText(0, 3)), "&");
            EXPECT_EQ(Utf8(list.GetCellText(1, 3)), "&");

            // F2 opens the focused row's first editable cell, Tab the next one.
            list.SelectRow(0);
            list.SetFocus();
            PumpEvents(30);
            wxUIActionSimulator keys;
            keys.Char(WXK_F2);
            ASSERT_TRUE(editorAt(0, 1)) << "F2 opened no editor on the operator cell";
            keys.Char(WXK_TAB);
            ASSERT_TRUE(WaitFor([&] { return dynamic_cast<wxTextCtrl*>(list.GetActiveEditor()) != nullptr; }, 2000));
            ASSERT_TRUE(editorAt(0, 2));
            keys.Text("7");
            ASSERT_TRUE(
                WaitFor([&] { return Utf8(static_cast<wxTextCtrl*>(list.GetActiveEditor())->GetValue()) == "7"; }));
            keys.Char(WXK_RETURN);
            ASSERT_TRUE(WaitFor([&] { return list.GetActiveEditor() == nullptr; }, 2000));
            EXPECT_EQ(Utf8(list.GetCellText(0, 2)), "7");
            // The keys stay with the list: Enter opens the same column again.
            list.SelectRow(1);
            keys.Char(WXK_RETURN);
            ASSERT_TRUE(editorAt(1, 2)) << "Enter opened no editor on the value cell";
            ASSERT_TRUE(PressOnEditor(list, WXK_ESCAPE));
            EXPECT_TRUE(dialog.IsModal());

            // Two rows without a connector are refused, over this dialog.
            ASSERT_TRUE(ChooseInCell(list, 0, 3, ""));
            Click(dialog.GetOkButton());
            PumpEvents(50);
            openAfterRefusal = dialog.IsModal();
            EXPECT_EQ(list.GetSelectedRow(), 0);
            ASSERT_TRUE(ChooseInCell(list, 0, 3, "||"));
            Click(dialog.GetOkButton());
        },
        15000);
    EXPECT_EQ(rc, wxID_OK);
    EXPECT_TRUE(openAfterRefusal);
    ASSERT_EQ(catcher.messages.size(), 1u);
    EXPECT_NE(catcher.messages[0].text.find("1"), std::string::npos) << catcher.messages[0].text;
    EXPECT_NE(catcher.messages[0].text.find("2"), std::string::npos) << catcher.messages[0].text;
    EXPECT_EQ(catcher.messages[0].parent, &dialog);
    EXPECT_EQ(dialog.GetFilter(), "WEIGHT_KG:LESS:7||PUMP_TYPE::");
}

TEST_F(FilterDialogsTest, EveryColumnFitsAndAnEditedCellIsScrolledIntoView)
{
    CDefineFilterDlg dialog(nullptr, m_doc);
    CEditListEx& list = *dialog.GetConditionList();
    const int rc = RunModal(dialog, [&] {
        // Rows enough for a vertical scroll bar.
        for (int i = 0; i < 30; ++i)
            AddAttribute(dialog, "Status");
        PumpEvents(100);
        int total = 0;
        for (int c = 0; c < list.GetColumnCount(); ++c)
            total += list.GetColumnWidth(c);
        EXPECT_LE(total, list.GetRowsWindow()->GetClientSize().x) << "the And / Or column is cut off";
        EXPECT_GE(list.GetColumnWidth(3), list.GetTextExtent(wxString::FromUTF8(langStr("DFLTRDLG_OR_AND"))).x);

        ASSERT_TRUE(list.EditCell(29, 2));
        PumpEvents(50);
        const wxRect editor = list.GetActiveEditor()->GetRect();
        const wxSize rows = list.GetRowsWindow()->GetClientSize();
        EXPECT_GE(editor.y, 0);
        EXPECT_LE(editor.GetBottom(), rows.y) << "the edited cell is out of view";
        ASSERT_TRUE(PressOnEditor(list, WXK_ESCAPE));
        dialog.EndModal(wxID_CANCEL);
    });
    EXPECT_EQ(rc, wxID_CANCEL);
}

TEST_F(AppJourney, AFilterTheFileHasIsRefusedOverTheFilterList)
{
    ASSERT_NE(Open(std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/samples/PUMP_Main.xml"), nullptr);
    MessageCatcher catcher;
    CFilterDlg* shown = nullptr;
    wxTheApp->CallAfter([&] {
        for (wxWindow* window : wxTopLevelWindows)
            if (auto* dialog = dynamic_cast<CFilterDlg*>(window); dialog && dialog->IsModal())
                shown = dialog;
        if (!shown)
            return;
        shown->SetDefineRunner([](const std::string&, std::string& result) {
            result = "STATUS:=:Released";
            return true;
        });
        Click(shown->GetNewButton());
        shown->EndModal(wxID_CANCEL);
    });
    ASSERT_TRUE(m_frame->ShowFormDialog("filters"));
    ASSERT_NE(shown, nullptr) << "the filter list did not come up";
    ASSERT_EQ(catcher.messages.size(), 1u);
    EXPECT_EQ(catcher.messages[0].text, langStr("FLTRDLG_MSG_1"));
    EXPECT_EQ(catcher.messages[0].parent, shown);
}
