#pragma once
// The free-form settings an element keeps by key (a table's "query", a
// button's "tooltip"): a handful each, so one sorted array rather than a tree
// with a heap node per setting, which reading and closing a large form pay for.

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fw {

class AttributeTable {
public:
    using value_type = std::pair<std::string, std::string>;
    using const_iterator = std::vector<value_type>::const_iterator;
    using iterator = const_iterator;

    AttributeTable() = default;
    AttributeTable(std::initializer_list<value_type> entries)
    {
        for (const value_type& entry : entries)
            Set(entry.first, entry.second);
    }

    // In ascending order of key.
    const_iterator begin() const { return m_entries.begin(); }
    const_iterator end() const { return m_entries.end(); }
    bool empty() const { return m_entries.empty(); }
    std::size_t size() const { return m_entries.size(); }
    std::size_t count(std::string_view key) const { return Find(key) ? 1 : 0; }

    // The value kept for `key`, or none.
    const std::string* Find(std::string_view key) const
    {
        const auto at = LowerBound(key);
        return at != m_entries.end() && at->first == key ? &at->second : nullptr;
    }
    void Set(std::string_view key, std::string_view value)
    {
        const auto at = LowerBound(key);
        if (at != m_entries.end() && at->first == key)
            m_entries[static_cast<std::size_t>(at - m_entries.begin())].second.assign(value);
        else
            m_entries.insert(at, value_type(key, value));
    }

    friend bool operator==(const AttributeTable& a, const AttributeTable& b) { return a.m_entries == b.m_entries; }
    friend bool operator!=(const AttributeTable& a, const AttributeTable& b) { return !(a == b); }

private:
    const_iterator LowerBound(std::string_view key) const
    {
        return std::lower_bound(m_entries.begin(), m_entries.end(), key,
                                [](const value_type& entry, std::string_view k) { return entry.first < k; });
    }

    std::vector<value_type> m_entries;
};

}  // namespace fw
