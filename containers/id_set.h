#pragma once

#include "core/block_pool.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <set>
#include <utility>
#include <vector>

// A set of ids kept as a sorted vector: the interface of std::set<unsigned int> that the model
// uses (insertion with or without a hint, erasure, lookup, ordered iteration, comparison), in
// one block of memory instead of a tree node per id. A page lists its controls in one, and a
// project read from a file fills them in ascending order, where each insertion is an append.
//
// Unlike std::set, inserting or erasing invalidates iterators into the same set.
class IdSet
{
public:
    using value_type = unsigned int;
    using key_type = unsigned int;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;
    // The ids' storage comes from the pool: a project has a set on each of its pages.
    using Storage = std::vector<unsigned int, BlockPool::Allocator<unsigned int>>;
    using const_iterator = Storage::const_iterator;
    using iterator = const_iterator;
    using const_reference = const unsigned int&;
    using reference = const_reference;

    IdSet() = default;
    IdSet(std::initializer_list<unsigned int> ids) { insert(ids.begin(), ids.end()); }
    // From and to the standard set, which events and commands pass around.
    IdSet(const std::set<unsigned int>& ids) : ids(ids.begin(), ids.end()) {}
    operator std::set<unsigned int>() const { return std::set<unsigned int>(begin(), end()); }

    const_iterator begin() const { return ids.begin(); }
    const_iterator end() const { return ids.end(); }
    size_type size() const { return ids.size(); }
    bool empty() const { return ids.empty(); }
    void clear() { ids.clear(); }

    std::pair<iterator, bool> insert(unsigned int id)
    {
        // Ids mostly come in ascending order: then the place is the end.
        if (ids.empty() || ids.back() < id) {
            append(id);
            return {std::prev(ids.end()), true};
        }
        const auto position = std::lower_bound(ids.begin(), ids.end(), id);
        if (*position == id)
            return {position, false};
        return {ids.insert(position, id), true};
    }
    // The hint is only a hint: the id goes where it belongs.
    iterator insert(const_iterator, unsigned int id) { return insert(id).first; }
    template <class InputIterator> void insert(InputIterator first, InputIterator last)
    {
        for (; first != last; ++first)
            insert(*first);
    }

    size_type erase(unsigned int id)
    {
        const auto position = find(id);
        if (position == end())
            return 0;
        ids.erase(position);
        return 1;
    }
    iterator erase(const_iterator position) { return ids.erase(position); }

    const_iterator find(unsigned int id) const
    {
        const auto position = lower_bound(id);
        return position != end() && *position == id ? position : end();
    }
    const_iterator lower_bound(unsigned int id) const
    {
        return std::lower_bound(ids.begin(), ids.end(), id);
    }
    size_type count(unsigned int id) const { return find(id) != end() ? 1 : 0; }
    bool contains(unsigned int id) const { return find(id) != end(); }

    friend bool operator==(const IdSet& a, const IdSet& b) { return a.ids == b.ids; }
    friend bool operator!=(const IdSet& a, const IdSet& b) { return a.ids != b.ids; }
    friend bool operator==(const IdSet& a, const std::set<unsigned int>& b)
    {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
    }
    friend bool operator==(const std::set<unsigned int>& a, const IdSet& b) { return b == a; }
    friend bool operator!=(const IdSet& a, const std::set<unsigned int>& b) { return !(a == b); }
    friend bool operator!=(const std::set<unsigned int>& a, const IdSet& b) { return !(b == a); }

private:
    void append(unsigned int id)
    {
        // A page holds a few dozen controls at most: start with room for a page's worth.
        if (ids.capacity() == 0)
            ids.reserve(16);
        ids.push_back(id);
    }

    Storage ids;
};
