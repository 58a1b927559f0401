#pragma once

#include <type_traits>

// An owning pointer to one object. Copying or assigning a smart_ptr moves the object: the
// source is left null. That is how owned objects travel into and out of the model's containers
// and through the nodes of standard maps; the destructor deletes whatever is still held.
template <class T> class smart_ptr
{
public:
    smart_ptr() = default;
    explicit smart_ptr(T* object) : pointer(object) {}
    smart_ptr(const smart_ptr& other) : pointer(other.take()) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    smart_ptr(const smart_ptr<U>& other) : pointer(other.take())
    {
    }
    ~smart_ptr() { delete pointer; }

    smart_ptr& operator=(const smart_ptr& other)
    {
        if (this != &other)
            reset(other.take());
        return *this;
    }
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    smart_ptr& operator=(const smart_ptr<U>& other)
    {
        reset(other.take());
        return *this;
    }
    // Takes the object; the one held before is deleted unless it is the same object.
    smart_ptr& operator=(T* object)
    {
        reset(object);
        return *this;
    }

    T* get() const { return pointer; }
    T& operator*() const { return *pointer; }
    T* operator->() const { return pointer; }
    explicit operator bool() const { return pointer != nullptr; }

    // Hands the object to the caller, who owns it from then on.
    T* release() { return take(); }

    void reset(T* object = nullptr)
    {
        if (object == pointer)
            return;
        T* old = pointer;
        pointer = object;
        delete old;
    }

private:
    template <class> friend class smart_ptr;

    T* take() const
    {
        T* object = pointer;
        pointer = nullptr;
        return object;
    }

    // Mutable because a copy from a const source still takes the object.
    mutable T* pointer = nullptr;
};
