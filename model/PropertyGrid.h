#pragma once
// What the properties pane shows, without any toolkit: groups of items found
// by numeric identifier. Elements fill it in AddProperties; when several
// elements are selected the first creates an item and the others merge into
// it, and a row stays only when every element has it.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace fw {

// Text, 32-bit integer, platform integer, real or truth value.
using PropertyValue = std::variant<std::string, std::int32_t, std::int64_t, double, bool>;

enum class PropertyEditor {
    Plain,        // edit the value as typed
    Spin,         // integer with a spin control
    CheckBox,     // truth value
    FileChooser,  // text path with a file dialog (see fileFilter)
};

// How an item shows that the selected elements disagree.
enum class MixedMark {
    Standard,   // number -1, text "[...]", truth value false with a note
    EmptyText,  // text "" (attribute rows)
};

class PropertyItem {
public:
    PropertyItem(int id, std::string title, PropertyValue value = std::string(), std::string description = {});

    int GetId() const { return m_id; }
    bool IsGroup() const { return m_isGroup; }
    const std::string& GetTitle() const { return m_title; }
    const std::string& GetDescription() const { return m_description; }
    void SetDescription(std::string text) { m_description = std::move(text); }

    const PropertyValue& GetValue() const { return m_value; }
    // Sets the value the user sees; the original stays, so a view can show the change.
    void SetValue(PropertyValue value) { m_value = std::move(value); }
    const PropertyValue& GetOriginalValue() const { return m_original; }
    bool IsModified() const { return m_value != m_original; }
    // Makes the current value the original (after it was applied).
    void CommitValue() { m_original = m_value; }
    // The selected elements disagree: the value is only a mark, not one of theirs.
    bool IsMixed() const { return m_mixed; }
    void SetMixed(bool mixed) { m_mixed = mixed; }

    std::string GetText() const;  // the value of a text item ("" for other kinds)

    // Choices offered in a list; with free text the user may also type another value.
    const std::vector<std::string>& GetOptions() const { return m_options; }
    bool AllowsFreeText() const { return m_freeText; }
    void SetOptions(std::vector<std::string> options, bool allowFreeText);

    bool IsReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    PropertyEditor GetEditor() const { return m_editor; }
    void SetEditor(PropertyEditor editor) { m_editor = editor; }
    const std::string& GetFileFilter() const { return m_fileFilter; }
    void SetFileFilter(std::string filter) { m_fileFilter = std::move(filter); }

    int GetSubItemCount() const { return static_cast<int>(m_subItems.size()); }
    PropertyItem* GetSubItem(int index) const;
    PropertyItem& AddSubItem(std::unique_ptr<PropertyItem> item);
    // Removes the direct sub-items for which `drop(item)` is true.
    template <class Predicate> void RemoveSubItemsIf(Predicate drop)
    {
        const auto gone = [&drop](const std::unique_ptr<PropertyItem>& item) { return drop(*item); };
        m_subItems.erase(std::remove_if(m_subItems.begin(), m_subItems.end(), gone), m_subItems.end());
    }
    // This item or one below it with the identifier, or none.
    PropertyItem* FindItem(int id);

    static std::unique_ptr<PropertyItem> MakeGroup(int id, std::string title);

private:
    int m_id;
    bool m_isGroup = false;
    std::string m_title;
    std::string m_description;
    PropertyValue m_value;
    PropertyValue m_original;
    std::vector<std::string> m_options;
    bool m_freeText = false;
    bool m_readOnly = false;
    bool m_mixed = false;
    PropertyEditor m_editor = PropertyEditor::Plain;
    std::string m_fileFilter;
    std::vector<std::unique_ptr<PropertyItem>> m_subItems;
};

class PropertyGrid {
public:
    int GetPropertyCount() const { return static_cast<int>(m_items.size()); }
    PropertyItem* GetProperty(int index) const;
    PropertyItem& AddProperty(std::unique_ptr<PropertyItem> item);
    void RemoveAll();

    // Over a selection each element adds its rows between BeginElement and
    // EndElement. The first element's rows are kept; a later element keeps
    // only the rows it merges into, and the rows it alone adds go, so the
    // grid shows only what every element has and an edit of a shown row
    // reaches no element that lacks it. Groups left empty go too.
    void BeginElement();
    void EndElement();

    // The item with the identifier anywhere in the grid (sub-items included), or none.
    PropertyItem* FindItem(int id) const;

    // The group with the identifier; created and appended when absent. The
    // title is the language text of the key.
    PropertyItem& EnsureGroup(int id, std::string_view titleKey);

    struct MergeResult {
        PropertyItem* item;
        bool created;
    };
    // Creates the item under `group` with this element's value, or merges the
    // value into an existing one, marking it as mixed when they differ. Titles
    // and descriptions are language texts of the keys.
    MergeResult Merge(PropertyItem& group, int id, std::string_view titleKey, std::string_view descriptionKey,
                      PropertyValue value, MixedMark mixed = MixedMark::Standard);
    // Adds a row made by hand (one not titled by a language key) under `group`.
    PropertyItem& AddRow(PropertyItem& group, std::unique_ptr<PropertyItem> item);

private:
    // Notes that the current element has the row.
    void NoteRow(int id, bool created);
    // Drops the rows below `item` that the current element lacks, and empty groups.
    void Prune(PropertyItem& item) const;

    std::vector<std::unique_ptr<PropertyItem>> m_items;
    // Elements begun since the grid was emptied, and the rows the current one has.
    int m_elements = 0;
    std::set<int> m_rowsOfElement;
};

}  // namespace fw
