#pragma once

#include "containers/poly_list.h"

#include <QtGlobal>

template <class T> class sortvector;

// Base of every element of a sortvector: the links of the container's sequence, the id the
// container gave the element, and the ordering rule of the sequence (id order by default).
class sortvector_el : public list_node<sortvector_el>
{
public:
    sortvector_el() = default;
    // A copy keeps the id but is in no sequence.
    sortvector_el(const sortvector_el& other) = default;
    sortvector_el& operator=(const sortvector_el& other) = default;
    virtual ~sortvector_el() = default;

    unsigned int getId() const { return id; }

    // Whether this element goes before other in the container's sequence.
    virtual bool lessThan(const sortvector_el& other) const { return id < other.id; }
    // A new element equal to this one, with the same id and in no sequence. The caller owns
    // it. Element classes that are copied with their container override it to copy themselves.
    virtual sortvector_el* clone() const { return new sortvector_el(*this); }

private:
    template <class T> friend class sortvector;

    quint16 id = 0;
};
