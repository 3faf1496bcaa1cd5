#include "controls/AttributeItems.h"

#include <memory>

namespace fw {

bool AttributeRows::AnyRow() const
{
    for (int i = 0; i < m_group.GetSubItemCount(); ++i)
        if (InRange(*m_group.GetSubItem(i)))
            return true;
    return false;
}

PropertyItem* AttributeRows::Find(const std::string& key) const
{
    for (int i = 0; i < m_group.GetSubItemCount(); ++i) {
        PropertyItem* item = m_group.GetSubItem(i);
        if (InRange(*item) && item->GetTitle() == key)
            return item;
    }
    return nullptr;
}

int AttributeRows::IdFor(const std::string& key, int position, bool firstElement) const
{
    if (const PropertyItem* row = Find(key))
        return row->GetId();
    return firstElement ? m_first + position : 0;
}

PropertyGrid::MergeResult MergeAttributeItem(PropertyGrid& grid, PropertyItem& group, int id, const std::string& key,
                                             const std::string& description, PropertyValue value)
{
    // Merge would translate the title, so only its mixing rule is borrowed.
    if (grid.FindItem(id))
        return grid.Merge(group, id, {}, {}, std::move(value), MixedMark::EmptyText);
    auto item = std::make_unique<PropertyItem>(id, key, std::move(value), description);
    return {&grid.AddRow(group, std::move(item)), true};
}

}  // namespace fw
