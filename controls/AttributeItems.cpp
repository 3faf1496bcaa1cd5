#include "controls/AttributeItems.h"

#include <memory>

namespace fw {

PropertyGrid::MergeResult MergeAttributeItem(PropertyGrid& grid, PropertyItem& group, int id, const std::string& key,
                                             const std::string& description, PropertyValue value)
{
    // Merge would translate the title, so only its mixing rule is borrowed.
    if (grid.FindItem(id))
        return grid.Merge(group, id, {}, {}, std::move(value), MixedMark::EmptyText);
    auto item = std::make_unique<PropertyItem>(id, key, std::move(value), description);
    return {&group.AddSubItem(std::move(item)), true};
}

}  // namespace fw
