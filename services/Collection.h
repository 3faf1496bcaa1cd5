#pragma once
// A growable array of pointers. It does not own what it holds, except that
// deleteAll() destroys every held object. Grows 256 slots at a time and throws
// ModelException(OutOfMemory) when it cannot.

#include "services/ModelException.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

namespace fw {

template <typename T> class Collection {
public:
    static constexpr std::size_t GrowBy = 256;
    static constexpr std::size_t NotFound = std::numeric_limits<std::size_t>::max();

    Collection() = default;
    Collection(const Collection&) = delete;
    Collection& operator=(const Collection&) = delete;

    std::size_t count() const { return m_items.size(); }
    std::size_t capacity() const { return m_items.capacity(); }
    bool hasError() const { return m_error; }
    T* at(std::size_t index) const { return index < m_items.size() ? m_items[index] : nullptr; }

    void add(T* item)
    {
        grow();
        m_items.push_back(item);
    }

    // Answers false when the pointer is held already.
    bool addIfNotPresent(T* item)
    {
        if (find(item))
            return false;
        add(item);
        return true;
    }

    T* find(const T* item) const { return indexOf(item) == NotFound ? nullptr : const_cast<T*>(item); }

    std::size_t indexOf(const T* item) const
    {
        auto it = std::find(m_items.begin(), m_items.end(), item);
        return it == m_items.end() ? NotFound : static_cast<std::size_t>(it - m_items.begin());
    }

    // Answers the pointer that was there, or none when the index is out of range.
    T* replaceAt(std::size_t index, T* item)
    {
        if (index >= m_items.size())
            return nullptr;
        return std::exchange(m_items[index], item);
    }

    // Removes the pointer and closes the gap; answers false when it was not held.
    bool remove(const T* item)
    {
        std::size_t index = indexOf(item);
        if (index == NotFound)
            return false;
        m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
        return true;
    }

    void reverse() { std::reverse(m_items.begin(), m_items.end()); }

    void deleteAll()
    {
        for (T* item : m_items)
            delete item;
        m_items.clear();
    }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    void grow()
    {
        if (m_items.size() < m_items.capacity())
            return;
        try {
            m_items.reserve(m_items.capacity() + GrowBy);
        } catch (const std::bad_alloc&) {
            fail();
        } catch (const std::length_error&) {
            fail();
        }
    }

    [[noreturn]] void fail()
    {
        m_error = true;
        throw ModelException(ModelException::OutOfMemory, __FILE__, __LINE__);
    }

    std::vector<T*> m_items;
    bool m_error = false;
};

}  // namespace fw
