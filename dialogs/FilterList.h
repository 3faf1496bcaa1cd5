#pragma once
// The filter list dialog without its window: the entries (the default form,
// then the filtered forms), the selection, and what New, Modify, Duplicate,
// Delete and OK do to them and to the document.

#include <functional>
#include <string>
#include <vector>

namespace fw {

// The document operations, reached through the main frame. Add, rename and
// copy report a refused filter themselves; every operation answers success.
class FilterFormOps {
public:
    virtual ~FilterFormOps() = default;
    virtual bool AddForm(const std::string& filter) = 0;
    virtual bool RenameForm(const std::string& newFilter, const std::string& oldName) = 0;
    virtual bool CopyForm(const std::string& newFilter, const std::string& sourceName) = 0;
    virtual bool RemoveForm(const std::string& filter) = 0;
};

class FilterListModel {
public:
    // Runs the filter definition preloaded with `filter` (empty: a new one);
    // true when it ended with OK, its result in `result`.
    using DefineFilter = std::function<bool(const std::string& filter, std::string& result)>;
    // Shows a message box with one OK button.
    using ShowMessage = std::function<void(const std::string& text, const std::string& title)>;

    FilterListModel(const std::string& currentFormName, std::vector<std::string> filters, FilterFormOps& ops,
                    DefineFilter define, ShowMessage message);

    // The default-form text first, then the filters.
    const std::vector<std::string>& GetEntries() const { return m_entries; }
    // The dialog's own copy of the document's filters, kept in step.
    const std::vector<std::string>& GetFilters() const { return m_filters; }
    const std::string& GetDefaultText() const { return m_defaultText; }

    int GetSelection() const { return m_selection; }
    // -1 or an index out of range clears the selection.
    void SetSelection(int index);
    // Selects the first entry that begins with `text`, ignoring case; false
    // (selection unchanged) when none does.
    bool SelectByText(const std::string& text);

    // Each answers whether the entries changed.
    bool New();
    bool Modify();
    bool Duplicate();
    bool Delete();
    // The selected entry becomes the result; kept as it was without a selection.
    void Accept();
    const std::string& GetResult() const { return m_result; }

private:
    bool HasSelection() const { return m_selection >= 0 && m_selection < static_cast<int>(m_entries.size()); }
    void ReportDefaultForm() const;
    void Append(const std::string& filter);

    std::string m_defaultText;
    std::vector<std::string> m_entries;
    std::vector<std::string> m_filters;
    int m_selection = -1;
    std::string m_result;
    FilterFormOps& m_ops;
    DefineFilter m_define;
    ShowMessage m_message;
};

}  // namespace fw
