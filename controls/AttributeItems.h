#pragma once
// Property items for entries of an element's attribute table. Such an item is
// titled with the attribute key itself, untranslated: the properties pane
// stores an edited value under the item's title.

#include "model/PropertyGrid.h"

#include <string>

namespace fw {

// Creates the item under `group`, or merges the value into an existing item
// with that identifier: a differing text becomes empty, a differing truth
// value false with the mixed-values note.
PropertyGrid::MergeResult MergeAttributeItem(PropertyGrid& grid, PropertyItem& group, int id, const std::string& key,
                                             const std::string& description, PropertyValue value);

}  // namespace fw
