#include "containers/poly_list.h"
#include "containers/shared_data.h"
#include "containers/smart_ptr.h"

#include <QString>
#include <climits>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

struct Item : list_node<Item>
{
    explicit Item(int v) : value(v) { ++alive; }
    Item(const Item& other) : list_node<Item>(other), value(other.value + 100) { ++alive; }
    virtual ~Item() { --alive; }
    Item* clone() const { return new Item(*this); }

    static int alive;
    int value;
};
int Item::alive = 0;

struct Derived : Item
{
    Derived() : Item(7) {}
};

std::vector<int> values(const poly_list<Item>& list)
{
    std::vector<int> result;
    for (const Item& item : list)
        result.push_back(item.value);
    return result;
}

} // namespace

TEST(PolyList, UnlinkEraseAndTheirErrors)
{
    poly_list<Item> list;
    Item* a = new Item(1);
    list.push_back(a);
    list.push_back(new Item(2));
    list.push_back(new Item(3));
    EXPECT_EQ(list.size(), 3u);

    auto following = list.unlink(*a);
    EXPECT_EQ(following->value, 2);
    EXPECT_FALSE(a->isLinked());
    EXPECT_EQ(list.size(), 2u);
    try {
        list.unlink(*a);
        ADD_FAILURE() << "no error";
    } catch (const std::logic_error& error) {
        EXPECT_STREQ(error.what(), "poly_list unlink failed as object not in list");
    }
    try {
        list.unlink(poly_list<Item>::iterator());
        ADD_FAILURE() << "no error";
    } catch (const std::logic_error& error) {
        EXPECT_STREQ(error.what(), "poly_list iterator invalid");
    }
    EXPECT_THROW(list.unlink(list.end()), std::logic_error);
    EXPECT_THROW(list.insert(poly_list<Item>::iterator(), a), std::logic_error);
    list.push_front(a);
    EXPECT_THROW(list.push_back(a), std::logic_error) << "already in a list";
    EXPECT_EQ(values(list), (std::vector<int>{1, 2, 3}));

    EXPECT_TRUE(list.erase(std::next(list.begin()), list.end()) == list.end());
    EXPECT_EQ(values(list), (std::vector<int>{1}));
    EXPECT_EQ(Item::alive, 1);
    EXPECT_TRUE(list.unlink(list.begin()) == list.end()) << "last element: end position";
    delete a;
}

TEST(PolyList, CopyAssignmentClonesInOrder)
{
    {
        poly_list<Item> source, target;
        source.push_back(new Item(1));
        source.push_back(new Item(2));
        target.push_back(new Item(9));
        target = source;
        EXPECT_EQ(values(target), (std::vector<int>{101, 102}));
        const auto& self = target;
        target = self;
        EXPECT_EQ(values(target), (std::vector<int>{101, 102}));
        EXPECT_EQ(Item::alive, 4);
    }
    EXPECT_EQ(Item::alive, 0);
}

TEST(SmartPtr, CopyingMovesOwnership)
{
    {
        smart_ptr<Item> a(new Item(1));
        smart_ptr<Item> b(a);
        EXPECT_FALSE(a);
        EXPECT_EQ(b->value, 1);
        Item* raw = b.get();
        b = raw; // the same object: kept
        EXPECT_EQ(Item::alive, 1);
        b = new Item(2); // the old one is deleted
        EXPECT_EQ(Item::alive, 1);
        smart_ptr<Item> c;
        c = b;
        const auto& self = c;
        c = self;
        EXPECT_FALSE(b);
        EXPECT_EQ(c->value, 2);

        smart_ptr<Item> base(smart_ptr<Derived>(new Derived));
        EXPECT_EQ(base->value, 7);

        std::map<QString, smart_ptr<Item>> map;
        const smart_ptr<Item> travelling(new Item(3));
        map.insert(std::make_pair(QString("x"), travelling));
        EXPECT_FALSE(travelling);
        EXPECT_EQ(map["x"]->value, 3);

        Item* released = c.release();
        EXPECT_FALSE(c);
        delete released;
    }
    EXPECT_EQ(Item::alive, 0);
}

TEST(SharedData, CopiesShareUntilDetached)
{
    SharedData<unsigned int> first(UINT_MAX);
    SharedData<unsigned int> second = first;
    *first = 4;
    EXPECT_EQ(*second, 4u);
    EXPECT_EQ(second.useCount(), 2);
    second.detach();
    *second = 9;
    EXPECT_EQ(*first, 4u);
    EXPECT_EQ(first.useCount(), 1);
    EXPECT_EQ(second.useCount(), 1);
}
