#pragma once
// Property items for entries of an element's attribute table. Such an item is
// titled with the attribute key itself, untranslated: the properties pane
// stores an edited value under the item's title.

#include "model/PropertyGrid.h"

#include <string>

namespace fw {

// The rows of one kind of element's attribute table in `group`, numbered from
// `first` to `last`. Elements of other kinds may number the same key
// differently, so rows are matched by key: the first such element numbers its
// keys by position; each later one merges into the rows of its keys, and the
// grid drops the rows it lacks (see PropertyGrid::BeginElement). The rows are
// thus the keys every such element has.
class AttributeRows {
public:
    AttributeRows(PropertyItem& group, int first, int last) : m_group(group), m_first(first), m_last(last) {}

    // Whether an earlier element made rows in the range.
    bool AnyRow() const;
    // The row of `key`, or none.
    PropertyItem* Find(const std::string& key) const;
    // The identifier for `key` at `position` in this element's key order: its
    // row's when there is one, else first + position for the first element,
    // else 0 (an earlier element lacks the key, so it is not shown).
    int IdFor(const std::string& key, int position, bool firstElement) const;

private:
    bool InRange(const PropertyItem& item) const { return item.GetId() >= m_first && item.GetId() <= m_last; }

    PropertyItem& m_group;
    int m_first;
    int m_last;
};

// Creates the item under `group`, or merges the value into an existing item
// with that identifier: a differing text becomes empty, a differing truth
// value false with the mixed-values note.
PropertyGrid::MergeResult MergeAttributeItem(PropertyGrid& grid, PropertyItem& group, int id, const std::string& key,
                                             const std::string& description, PropertyValue value);

}  // namespace fw
