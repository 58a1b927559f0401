#pragma once

#include <boost/shared_ptr.hpp>

// A value shared by every copy of its holder. Writing through one holder changes the value for
// all of them; a holder that needs a value of its own calls detach() first, normally only when
// useCount() is not 1.
template <class T> class SharedData
{
public:
    SharedData() : data(new T()) {}
    explicit SharedData(const T& value) : data(new T(value)) {}

    const T& operator*() const { return *data; }
    T& operator*() { return *data; }
    const T* operator->() const { return data.get(); }
    T* operator->() { return data.get(); }

    long useCount() const { return data.use_count(); }

    // Replaces the shared value with a fresh copy held by this holder alone.
    void detach() { data = boost::shared_ptr<T>(new T(*data)); }

private:
    boost::shared_ptr<T> data;
};
