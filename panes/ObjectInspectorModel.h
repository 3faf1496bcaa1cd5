#pragma once
// What the object inspector decides by rule, without its window: the caption,
// the rows built from the object type's "localized;internal" entries, the
// search over them, the text a dragged row carries and the switch between the
// plain and the extended object model.

#include "model/PropertyEntries.h"

#include <string>
#include <vector>

namespace fw {

class FormDefinitionDocument;

// One read-only row of the list.
struct ObjectInspectorRow {
    std::string name;         // the localized name
    std::string value;        // the internal name
    std::string description;  // the internal name again
};

class ObjectInspectorModel {
public:
    // A title equal to the caption changes nothing (two views of one file).
    // Otherwise the entries are replaced and the rows rebuilt; an empty title
    // keeps the caption. Answers whether the rows were rebuilt.
    bool SetObjectType(const std::string& title, const std::vector<std::string>& entries);
    // Empties caption, entries and rows.
    void Clear();

    const std::string& GetCaption() const { return m_caption; }
    const std::vector<std::string>& GetEntries() const { return m_entries; }
    // The rows listed now: the entries that pass the filter.
    const std::vector<ObjectInspectorRow>& GetRows() const { return m_rows; }

    // Lists only the entries whose localized or internal name matches the
    // text (wild cards, or the plain text anywhere in a name, in any case);
    // an empty text lists them all. The selection and the search start over.
    void SetFilter(const std::string& text);
    const std::string& GetFilter() const { return m_filter; }
    // Lists the matches of the pattern, then selects the one after the last
    // found, wrapping to the first: each call moves on, a sole match stays.
    // Answers the row, or -1 when nothing matches.
    int Search(const std::string& pattern);
    int GetLastFound() const { return m_search.GetLastFound(); }
    // The selected row, -1 when none.
    int GetSelection() const { return m_selection; }

    // What a drag of the row carries: "localized;internal"; empty for no row.
    std::string GetDragText(int row) const;

    // Inverts the extended flag of `active` and of every document in
    // `openDocuments` bound to the same object type, reloads the object model
    // and rebuilds their entries. Answers the active document's new entries.
    static std::vector<std::string> ToggleExtendedModel(FormDefinitionDocument& active,
                                                        const std::vector<FormDefinitionDocument*>& openDocuments);
    // The same, then shows the new entries under the caption shown now.
    void ToggleExtended(FormDefinitionDocument& active, const std::vector<FormDefinitionDocument*>& openDocuments);

private:
    void Rebuild();

    std::string m_caption;
    std::vector<std::string> m_entries;
    std::vector<ObjectInspectorRow> m_rows;
    std::vector<PropertyEntryParts> m_parts;  // the rows listed now
    std::string m_filter;
    PropertyEntrySearch m_search{EntrySearchWrap::Chooser};
    int m_selection = -1;
};

}  // namespace fw
