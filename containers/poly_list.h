#pragma once

#include <cstddef>
#include <iterator>
#include <stdexcept>

template <class T> class poly_list;

// The two links of an intrusive list. Both are null while the element is in no list; a copy
// of an element is in no list.
template <class T> class list_node
{
public:
    list_node() = default;
    list_node(const list_node&) {}
    list_node& operator=(const list_node&) { return *this; }
    ~list_node() = default;

    bool isLinked() const { return next != nullptr; }

private:
    friend class poly_list<T>;

    list_node* next = nullptr;
    list_node* previous = nullptr;
};

// An intrusive, circular, doubly linked list of elements derived from list_node<T>. The head
// node doubles as the end position. The list owns its elements: erasing, copy assignment and
// destruction delete them; unlink hands an element back to the caller.
//
// Misuse (a null iterator, unlinking an element that is in no list, linking one that already
// is in a list) raises std::logic_error.
template <class T> class poly_list
{
    using node = list_node<T>;

public:
    template <class Value, class Node> class basic_iterator
    {
    public:
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = Value*;
        using reference = Value&;

        basic_iterator() = default;
        explicit basic_iterator(Node* n) : current(n) {}
        // An iterator converts to its const form.
        template <class V, class N>
        basic_iterator(const basic_iterator<V, N>& other) : current(other.current)
        {
        }

        reference operator*() const { return static_cast<reference>(*current); }
        pointer operator->() const { return static_cast<pointer>(current); }
        basic_iterator& operator++()
        {
            current = current->next;
            return *this;
        }
        basic_iterator operator++(int)
        {
            basic_iterator before = *this;
            current = current->next;
            return before;
        }
        basic_iterator& operator--()
        {
            current = current->previous;
            return *this;
        }
        basic_iterator operator--(int)
        {
            basic_iterator before = *this;
            current = current->previous;
            return before;
        }
        template <class V, class N> bool operator==(const basic_iterator<V, N>& other) const
        {
            return current == other.current;
        }
        template <class V, class N> bool operator!=(const basic_iterator<V, N>& other) const
        {
            return current != other.current;
        }

        // A default-constructed iterator points nowhere; it may not be used to take an
        // element out.
        void check_valid() const
        {
            if (current == nullptr)
                throw std::logic_error("poly_list iterator invalid");
        }

    private:
        template <class V, class N> friend class basic_iterator;
        friend class poly_list;

        Node* current = nullptr;
    };

    using iterator = basic_iterator<T, node>;
    using const_iterator = basic_iterator<const T, const node>;

    poly_list() { head.next = head.previous = &head; }
    poly_list(const poly_list& other) : poly_list() { appendClonesOf(other); }
    poly_list& operator=(const poly_list& other)
    {
        if (this == &other)
            return *this;
        clear();
        appendClonesOf(other);
        return *this;
    }
    ~poly_list() { clear(); }

    iterator begin() { return iterator(head.next); }
    iterator end() { return iterator(&head); }
    const_iterator begin() const { return const_iterator(head.next); }
    const_iterator end() const { return const_iterator(&head); }

    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }

    // Links the element in front of position and returns its position. The list takes it.
    iterator insert(iterator position, T* element)
    {
        position.check_valid();
        node* n = element;
        if (n->isLinked())
            throw std::logic_error("poly_list insert failed as object already in list");
        node* after = position.current;
        n->next = after;
        n->previous = after->previous;
        after->previous->next = n;
        after->previous = n;
        ++count;
        return iterator(n);
    }
    iterator push_back(T* element) { return insert(end(), element); }
    iterator push_front(T* element) { return insert(begin(), element); }

    // Takes the element out without deleting it; returns the position that followed it.
    iterator unlink(iterator position)
    {
        position.check_valid();
        node* n = position.current;
        if (n == &head || !n->isLinked())
            throw std::logic_error("poly_list unlink failed as object not in list");
        node* following = n->next;
        n->previous->next = n->next;
        n->next->previous = n->previous;
        n->next = n->previous = nullptr;
        --count;
        return iterator(following);
    }
    iterator unlink(T& element) { return unlink(iterator(&element)); }

    // Takes out and deletes the element; returns the position that followed it.
    iterator erase(iterator position)
    {
        T* element = &*position;
        iterator following = unlink(position);
        delete element;
        return following;
    }

    // Takes out and deletes every element from first up to, not including, last.
    iterator erase(iterator first, iterator last)
    {
        while (first != last)
            first = erase(first);
        return last;
    }

    // Deletes every element, first to last, without taking each one out on its own.
    void clear()
    {
        node* n = head.next;
        head.next = head.previous = &head;
        count = 0;
        while (n != &head) {
            node* following = n->next;
            n->next = n->previous = nullptr;
            delete static_cast<T*>(n);
            n = following;
        }
    }

private:
    void appendClonesOf(const poly_list& other)
    {
        for (const T& element : other)
            push_back(element.clone());
    }

    node head;
    std::size_t count = 0;
};
