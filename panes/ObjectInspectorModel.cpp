#include "panes/ObjectInspectorModel.h"

#include "model/FormDefinitionDocument.h"

namespace fw {

bool ObjectInspectorModel::SetObjectType(const std::string& title, const std::vector<std::string>& entries)
{
    if (title == m_caption)
        return false;
    if (!title.empty())
        m_caption = title;
    m_entries = entries;
    // The document sorts its entries; a caller that did not must not get an unsorted list.
    SortPropertyEntries(m_entries);
    Rebuild();
    return true;
}

void ObjectInspectorModel::Clear()
{
    m_caption.clear();
    m_entries.clear();
    Rebuild();
}

void ObjectInspectorModel::Rebuild()
{
    const std::vector<PropertyEntryParts> all = SplitPropertyEntries(m_entries);
    m_parts.clear();
    if (m_filter.empty()) {
        m_parts = all;
    } else {
        // Each search moves on from the last match; it answers an earlier one once all were seen.
        for (int last = -1;;) {
            const int found = FindPropertyEntry(all, m_filter, last, EntrySearchWrap::Inspector);
            if (found <= last)
                break;
            m_parts.push_back(all[found]);
            last = found;
        }
    }
    m_rows.clear();
    m_rows.reserve(m_parts.size());
    for (const PropertyEntryParts& parts : m_parts)
        m_rows.push_back({parts.localized, parts.internal, parts.internal});
    // Indexes into the old rows mean nothing in the new ones.
    m_search.Reset();
    m_selection = -1;
}

void ObjectInspectorModel::SetFilter(const std::string& text)
{
    if (text == m_filter)
        return;
    m_filter = text;
    Rebuild();
}

int ObjectInspectorModel::Search(const std::string& pattern)
{
    SetFilter(pattern);
    const int found = m_search.Next(m_parts, pattern);
    if (found >= 0)
        m_selection = found;
    return found;
}

std::string ObjectInspectorModel::GetDragText(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return {};
    return m_rows[row].name + ";" + m_rows[row].value;
}

std::vector<std::string>
ObjectInspectorModel::ToggleExtendedModel(FormDefinitionDocument& active,
                                          const std::vector<FormDefinitionDocument*>& openDocuments)
{
    const bool extended = !active.IsExtendedModel();
    const std::string& type = active.GetObjectClass();
    std::vector<FormDefinitionDocument*> sameType;
    for (FormDefinitionDocument* document : openDocuments)
        if (document && document != &active && document->GetObjectClass() == type)
            sameType.push_back(document);

    active.SetExtendedModel(extended);
    for (FormDefinitionDocument* document : sameType)
        document->SetExtendedModel(extended);
    active.ReloadObjectModel();
    // The model is shared, so these rebuild the very entries the active one has.
    for (FormDefinitionDocument* document : sameType)
        document->RefreshLists(true);
    return active.GetClassProperties();
}

void ObjectInspectorModel::ToggleExtended(FormDefinitionDocument& active,
                                          const std::vector<FormDefinitionDocument*>& openDocuments)
{
    SetObjectType(std::string(), ToggleExtendedModel(active, openDocuments));
}

}  // namespace fw
