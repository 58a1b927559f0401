#pragma once

#include "containers/poly_list.h"
#include "containers/smart_ptr.h"
#include "containers/sortvector_el.h"
#include "core/assertion.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <iterator>
#include <vector>

// An owning container that numbers its elements and keeps them in one ordered sequence.
//
// Every element gets a small id, the number of its slot; ids are what the rest of the system
// stores. The slots grow in whole steps up to a fixed maximum, and elements never move in
// memory. The sequence is in lessThan order as of each element's insertion: an element whose
// ordering key changes is unlinked and inserted again.
//
// An id of UINT_MAX (-1) means "none", and on insertion asks for the lowest free id. Asking for
// an id that is not stored is a programming error and ends the program.
template <class T> class sortvector
{
    using sequence_type = poly_list<sortvector_el>;

public:
    template <class Value, class Position> class basic_iterator
    {
    public:
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = Value*;
        using reference = Value&;

        basic_iterator() = default;
        explicit basic_iterator(Position p) : position(p) {}
        template <class V, class P>
        basic_iterator(const basic_iterator<V, P>& other) : position(other.position)
        {
        }

        reference operator*() const { return static_cast<reference>(*position); }
        pointer operator->() const { return &**this; }
        basic_iterator& operator++()
        {
            ++position;
            return *this;
        }
        basic_iterator operator++(int)
        {
            basic_iterator before = *this;
            ++position;
            return before;
        }
        basic_iterator& operator--()
        {
            --position;
            return *this;
        }
        basic_iterator operator--(int)
        {
            basic_iterator before = *this;
            --position;
            return before;
        }
        template <class V, class P> bool operator==(const basic_iterator<V, P>& other) const
        {
            return position == other.position;
        }
        template <class V, class P> bool operator!=(const basic_iterator<V, P>& other) const
        {
            return position != other.position;
        }

        void check_valid() const { position.check_valid(); }

    private:
        template <class V, class P> friend class basic_iterator;
        friend class sortvector;

        Position position;
    };

    using iterator = basic_iterator<T, typename sequence_type::iterator>;
    using const_iterator = basic_iterator<const T, typename sequence_type::const_iterator>;

    // Ids are 16 bits wide, so at most 65536 slots. A step larger than the maximum becomes the
    // maximum.
    sortvector(unsigned int step, unsigned int maximum)
        : maximumSlots(maximum), growthStep(std::max(1u, std::min(step, maximum)))
    {
        VELMORA_ASSERT(maximum >= 1 && maximum <= 65536);
        vector.assign(growthStep, nullptr);
    }
    // A copy holds clones of the source's elements under the same ids, in the same order.
    sortvector(const sortvector& other) : sortvector(other.growthStep, other.maximumSlots)
    {
        *this = other;
    }
    sortvector& operator=(const sortvector& other)
    {
        if (this == &other)
            return *this;
        sequence = other.sequence;
        vector.assign(other.vector.size(), nullptr);
        firstFree = 0;
        for (sortvector_el& element : sequence) {
            T* clone = dynamic_cast<T*>(&element);
            VELMORA_ASSERT(clone != NULL);
            const unsigned int slot = element.getId();
            VELMORA_ASSERT(slot < vector.size() && vector[slot] == NULL);
            vector[slot] = clone;
        }
        maximumSlots = other.maximumSlots;
        growthStep = other.growthStep;
        highest = other.highest;
        return *this;
    }
    // Deletes every element, in sequence order.
    ~sortvector() = default;

    iterator begin() { return iterator(sequence.begin()); }
    iterator end() { return iterator(sequence.end()); }
    const_iterator begin() const { return const_iterator(sequence.begin()); }
    const_iterator end() const { return const_iterator(sequence.end()); }

    std::size_t size() const { return sequence.size(); }
    bool empty() const { return sequence.empty(); }
    // The number of slots; ids below it may be stored.
    unsigned int slotCount() const { return unsigned(vector.size()); }
    unsigned int maximum() const { return maximumSlots; }
    unsigned int step() const { return growthStep; }
    // The highest id in use, -1 when the container is empty.
    int highestId() const { return highest; }

    bool exists(unsigned int id) const { return id < vector.size() && vector[id] != NULL; }
    // The element stored under id, or null for none (any id may be asked).
    const T* find(unsigned int id) const { return id < vector.size() ? vector[id] : nullptr; }

    iterator get(unsigned int id)
    {
        VELMORA_ASSERT(exists(id));
        return iterator(typename sequence_type::iterator(vector[id]));
    }
    const_iterator get(unsigned int id) const
    {
        VELMORA_ASSERT(exists(id));
        return const_iterator(typename sequence_type::const_iterator(vector[id]));
    }

    T& operator[](unsigned int id) { return *slot(id, __LINE__); }
    const T& operator[](unsigned int id) const { return *slot(id, __LINE__); }

    // Stores the element under id (UINT_MAX: the lowest free id) and returns that id. On
    // success the container takes the element out of the smart_ptr; when the id is taken,
    // lies at or beyond the maximum, or the container is full, it returns UINT_MAX and the
    // element stays with the caller.
    unsigned int insert(smart_ptr<T>& element, unsigned int id)
    {
        VELMORA_ASSERT(element.get() != NULL);
        // A file lists its elements in id order: an id past the highest within the slots made
        // is free, and an element that also sorts after the last one goes at the end without
        // the general search.
        if (int(id) > highest && id < vector.size()) {
            T* const object = element.get();
            object->id = quint16(id);
            if (sequence.empty() || std::prev(sequence.end())->lessThan(*object)) {
                sequence.push_back(object);
                element.release();
                vector[id] = object;
                highest = int(id);
                return id;
            }
        }
        return insertSearching(element, id);
    }

    // Takes the element out without deleting it; the caller owns it from then on. Returns the
    // position that followed it.
    iterator unlink(iterator it) { return iterator(takeOut(checkedPosition(it, __LINE__))); }

    // Takes out and deletes.
    void erase(unsigned int id) { erase(get(id)); }
    iterator erase(iterator it)
    {
        T* element = &*checkedPosition(it, __LINE__);
        iterator following(takeOut(it));
        delete element;
        return following;
    }
    iterator erase(iterator first, iterator last)
    {
        if (first == begin() && last == end()) {
            // Emptying the container: every slot at once, the slots themselves kept.
            std::fill(vector.begin(), vector.end(), nullptr);
            highest = -1;
            firstFree = 0;
            sequence.clear();
            return end();
        }
        while (first != last)
            first = erase(first);
        return last;
    }

    // The id of the element after (forward) or before id in sequence order, UINT_MAX at the
    // end, or with wrap the element at the other end. For id UINT_MAX: the first (forward) or
    // last element, UINT_MAX when empty.
    unsigned int getNextId(unsigned int id, bool forward, bool wrap) const
    {
        if (id == UINT_MAX) {
            if (sequence.empty())
                return UINT_MAX;
            return forward ? sequence.begin()->getId() : std::prev(sequence.end())->getId();
        }
        VELMORA_ASSERT(exists(id));
        typename sequence_type::const_iterator position(vector[id]);
        if (forward) {
            ++position;
            if (position == sequence.end()) {
                if (!wrap)
                    return UINT_MAX;
                position = sequence.begin();
            }
        } else {
            if (position == sequence.begin()) {
                if (!wrap)
                    return UINT_MAX;
                position = sequence.end();
            }
            --position;
        }
        return position->getId();
    }

private:
    // insert's general case: a free id chosen or checked, slots made as needed, and the
    // element's place found by walking back from the end.
    Q_NEVER_INLINE unsigned int insertSearching(smart_ptr<T>& element, unsigned int id)
    {
        if (id == UINT_MAX) {
            id = lowestFreeId();
            if (id == UINT_MAX) {
                resize(std::min<unsigned long long>(vector.size() + growthStep, maximumSlots));
                id = lowestFreeId();
                if (id == UINT_MAX)
                    return UINT_MAX;
            }
        } else {
            if (id >= vector.size()) {
                const unsigned long long length = vector.size();
                const unsigned long long wanted =
                    ((id - length) / growthStep + 1) * growthStep + length;
                resize(std::min<unsigned long long>(wanted, maximumSlots));
            }
            if (id >= vector.size() || vector[id] != NULL)
                return UINT_MAX;
        }

        T* object = element.get();
        object->id = quint16(id);
        // Walk back from the end: the element goes after the first one that sorts before it,
        // so an element that sorts last costs one comparison and equal ones go before it.
        typename sequence_type::iterator position = sequence.end();
        while (position != sequence.begin()) {
            typename sequence_type::iterator before = std::prev(position);
            if (before->lessThan(*object))
                break;
            position = before;
        }
        sequence.insert(position, object);
        element.release();
        vector[id] = object;
        highest = std::max(highest, int(id));
        return id;
    }

    T* slot(unsigned int id, int line) const
    {
        // An id beyond the slots is reported like an empty slot rather than read out of bounds.
        if (id >= vector.size() || vector[id] == NULL)
            assertFailed("Assert: 'vector[id] != NULL' is FALSE", line, VELMORA_ASSERTION_UNIT);
        return vector[id];
    }

    // The element must be stored here: another container's element with a stored id is no
    // better than an unknown one.
    iterator checkedPosition(iterator it, int line) const
    {
        it.check_valid();
        if (it.position == sequence.end() || !exists(it->getId()) || vector[it->getId()] != &*it)
            assertFailed("Assert: 'exists(it->getId())' is FALSE", line, VELMORA_ASSERTION_UNIT);
        return it;
    }

    typename sequence_type::iterator takeOut(iterator it)
    {
        const unsigned int id = it->getId();
        vector[id] = nullptr;
        firstFree = std::min<std::size_t>(firstFree, id);
        if (int(id) == highest) {
            do
                --highest;
            while (highest >= 0 && vector[highest] == NULL);
        }
        return sequence.unlink(it.position);
    }

    unsigned int lowestFreeId()
    {
        while (firstFree < vector.size() && vector[firstFree] != NULL)
            ++firstFree;
        return firstFree < vector.size() ? unsigned(firstFree) : UINT_MAX;
    }

    void resize(unsigned long long length)
    {
        if (length <= vector.size())
            return;
        // The slots grow in steps, but their storage at least doubles: thousands of elements
        // inserted one after another (a project read from a file) then cost a few copies of
        // the slots rather than one per step.
        if (length > vector.capacity())
            vector.reserve(std::size_t(std::min<unsigned long long>(
                std::max<unsigned long long>(length, 2 * vector.capacity()), maximumSlots)));
        vector.resize(std::size_t(length), nullptr);
    }

    std::vector<T*> vector;
    sequence_type sequence;
    unsigned int maximumSlots;
    unsigned int growthStep;
    int highest = -1;
    std::size_t firstFree = 0; // every slot below it is taken
};

// A free sort value for an element to be placed directly before the element with the given
// id, or after the last element for UINT_MAX. Values are spaced Step apart; when no gap is
// left, every element is renumbered 0, Step, 2 × Step ... in sequence order first. T provides
// getSortValue() and setSortValue(int).
template <class T, int Step> int getFreeSortValue(sortvector<T>& elements, unsigned int id)
{
    static_assert(Step > 1, "sort values need room between them");
    constexpr int highestPlain = INT_MAX - Step + 1; // from here on only INT_MAX is left
    auto renumber = [&elements] {
        long long value = 0;
        for (T& element : elements) {
            element.setSortValue(int(std::min<long long>(value, INT_MAX)));
            value += Step;
        }
    };
    auto rounded = [](int value) { return value / Step * Step; };

    if (id == UINT_MAX) {
        if (elements.empty())
            return 0;
        const T& last = *std::prev(elements.end());
        if (last.getSortValue() == INT_MAX)
            renumber();
        const int value = last.getSortValue();
        return value >= highestPlain ? INT_MAX : rounded(value) + Step;
    }

    auto exists = [&elements](unsigned int id) { return elements.exists(id); };
    VELMORA_ASSERT(exists(id));
    typename sortvector<T>::iterator position = elements.get(id);
    if (position == elements.begin()) {
        const int value = position->getSortValue();
        if (value == INT_MIN) {
            renumber();
            return -Step;
        }
        return value < -highestPlain ? INT_MIN : rounded(value) - Step;
    }

    const T& predecessor = *std::prev(position);
    // Equal neighbours leave no value between them either.
    long long gap = (long long)position->getSortValue() - predecessor.getSortValue();
    if (gap >= -1 && gap <= 1) {
        renumber();
        gap = (long long)position->getSortValue() - predecessor.getSortValue();
    }
    return int(predecessor.getSortValue() + gap / 2);
}
