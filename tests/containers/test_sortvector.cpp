#include "containers/poly_list.h"
#include "containers/shared_data.h"
#include "containers/smart_ptr.h"
#include "containers/sortvector.h"

#include <climits>
#include <gtest/gtest.h>
#include <map>
#include <string>
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

// An element ordered by a signed sort value, like a page.
class Sorted : public sortvector_el
{
public:
    explicit Sorted(int value = 0) : sortValue(value) { ++alive; }
    Sorted(const Sorted& other) : sortvector_el(other), sortValue(other.sortValue) { ++alive; }
    ~Sorted() override { --alive; }

    bool lessThan(const sortvector_el& other) const override
    {
        return sortValue < dynamic_cast<const Sorted&>(other).sortValue;
    }
    Sorted* clone() const override { return new Sorted(*this); }

    int getSortValue() const { return sortValue; }
    void setSortValue(int value) { sortValue = value; }

    static int alive;
    int sortValue;
};
int Sorted::alive = 0;

using Pages = sortvector<Sorted>;

unsigned int add(Pages& pages, int value, unsigned int id = UINT_MAX)
{
    smart_ptr<Sorted> page(new Sorted(value));
    return pages.insert(page, id);
}

std::vector<unsigned int> ids(const Pages& pages)
{
    std::vector<unsigned int> result;
    for (const Sorted& page : pages)
        result.push_back(page.getId());
    return result;
}

std::vector<int> values(const Pages& pages)
{
    std::vector<int> result;
    for (const Sorted& page : pages)
        result.push_back(page.getSortValue());
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

        std::map<std::string, smart_ptr<Item>> map;
        const smart_ptr<Item> travelling(new Item(3));
        map.insert(std::make_pair(std::string("x"), travelling));
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

TEST(SortVector, FullContainerRefusesAndLeavesElementWithCaller)
{
    Pages pages(16, 256);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(add(pages, i), unsigned(i));
    EXPECT_EQ(pages.slotCount(), 256u);
    smart_ptr<Sorted> extra(new Sorted(1000));
    Sorted* raw = extra.get();
    EXPECT_EQ(pages.insert(extra, UINT_MAX), UINT_MAX);
    EXPECT_EQ(extra.get(), raw);
    EXPECT_EQ(pages.size(), 256u);
}

TEST(SortVector, ExplicitIdsGrowInWholeStepsUpToTheMaximum)
{
    struct Case
    {
        unsigned int id;
        unsigned int result;
        unsigned int slotCount;
    } cases[] = {{20, 20, 32},
                 {15, 15, 16},
                 {16, 16, 32},
                 {255, 255, 256},
                 {300, UINT_MAX, 256},
                 {256, UINT_MAX, 256},
                 {UINT_MAX - 1, UINT_MAX, 256}};
    for (const Case& c : cases) {
        Pages pages(16, 256);
        EXPECT_EQ(add(pages, 0, c.id), c.result) << c.id;
        EXPECT_EQ(pages.slotCount(), c.slotCount) << c.id;
    }
    Pages pages(16, 256);
    ASSERT_EQ(add(pages, 0, 3), 3u);
    EXPECT_EQ(add(pages, 0, 3), UINT_MAX) << "a taken id is refused";
}

TEST(SortVector, LowestFreeIdAndHighestId)
{
    Pages pages(4, 8);
    for (int i = 0; i < 5; ++i)
        add(pages, i);
    EXPECT_EQ(pages.slotCount(), 8u);
    EXPECT_EQ(pages.highestId(), 4);
    pages.erase(2);
    EXPECT_EQ(add(pages, 10), 2u);
    pages.erase(3);
    pages.erase(1);
    EXPECT_EQ(add(pages, 10), 1u);
    EXPECT_EQ(add(pages, 10), 3u);
    EXPECT_EQ(add(pages, 10), 5u);
    pages.erase(5);
    pages.erase(4);
    EXPECT_EQ(pages.highestId(), 3);
    pages.erase(3);
    pages.erase(1);
    EXPECT_EQ(pages.highestId(), 2);
    pages.erase(0);
    pages.erase(2);
    EXPECT_EQ(pages.highestId(), -1);
    EXPECT_TRUE(pages.empty());
    EXPECT_EQ(Sorted::alive, 0);

    // Emptying at once keeps the slots and starts the ids again from 0.
    for (int i = 0; i < 7; ++i)
        add(pages, i);
    pages.erase(pages.begin(), pages.end());
    EXPECT_EQ(Sorted::alive, 0);
    EXPECT_TRUE(pages.empty());
    EXPECT_EQ(pages.highestId(), -1);
    EXPECT_EQ(pages.slotCount(), 8u);
    EXPECT_FALSE(pages.exists(3));
    EXPECT_EQ(add(pages, 10), 0u);
    EXPECT_EQ(pages.highestId(), 0);
}

TEST(SortVector, SequenceFollowsSortValuesAndEqualOnesGoFirst)
{
    Pages pages(16, 256);
    add(pages, 10);  // id 0
    add(pages, -5);  // id 1
    add(pages, 20);  // id 2
    add(pages, 10);  // id 3, equal to id 0: placed before it
    add(pages, 100); // id 4
    EXPECT_EQ(ids(pages), (std::vector<unsigned int>{1, 3, 0, 2, 4}));
}

TEST(SortVector, NextIdInSequenceOrder)
{
    Pages empty(16, 256);
    EXPECT_EQ(empty.getNextId(UINT_MAX, true, false), UINT_MAX);
    EXPECT_EQ(empty.getNextId(UINT_MAX, false, true), UINT_MAX);

    Pages pages(16, 256);
    add(pages, 30); // 0
    add(pages, 10); // 1
    add(pages, 20); // 2; sequence 1, 2, 0
    struct Case
    {
        unsigned int id;
        bool forward, wrap;
        unsigned int next;
    } cases[] = {{UINT_MAX, true, false, 1}, {UINT_MAX, false, false, 0},
                 {1, true, false, 2},        {0, true, false, UINT_MAX},
                 {0, true, true, 1},         {1, false, false, UINT_MAX},
                 {1, false, true, 0},        {0, false, false, 2}};
    for (const Case& c : cases)
        EXPECT_EQ(pages.getNextId(c.id, c.forward, c.wrap), c.next)
            << c.id << " " << c.forward << c.wrap;

    Pages single(16, 256);
    add(single, 0, 5);
    EXPECT_EQ(single.getNextId(5, true, true), 5u);
    EXPECT_EQ(single.getNextId(5, false, true), 5u);
}

TEST(SortVector, UnlinkHandsBackTheElementAndReinsertingReordersIt)
{
    Pages pages(16, 256);
    add(pages, 0);
    add(pages, 65536);
    add(pages, 131072);
    smart_ptr<Sorted> last(&*pages.get(2));
    EXPECT_TRUE(pages.unlink(pages.get(2)) == pages.end());
    EXPECT_EQ(Sorted::alive, 3) << "unlinked elements are not deleted";
    EXPECT_EQ(pages.highestId(), 1);
    // With a sort value before the first, the element goes first under its old id.
    last->setSortValue(getFreeSortValue<Sorted, 65536>(pages, 0));
    EXPECT_EQ(pages.insert(last, 2), 2u);
    EXPECT_EQ(ids(pages), (std::vector<unsigned int>{2, 0, 1}));

    smart_ptr<Sorted> first(&*pages.get(0));
    EXPECT_EQ(pages.unlink(pages.get(0))->getId(), 1u);
    EXPECT_FALSE(pages.exists(0));
    EXPECT_THROW(pages.unlink(Pages::iterator()), std::logic_error);
}

TEST(SortVector, FreeSortValues)
{
    // "before" UINT_MAX asks for a value after the last element.
    const struct
    {
        std::vector<int> existing;
        unsigned int before;
        int expected;
        std::vector<int> afterwards;
    } cases[] = {
        {{}, UINT_MAX, 0, {}},
        {{131072}, UINT_MAX, 196608, {131072}},
        {{100}, UINT_MAX, 65536, {100}},
        {{-100}, UINT_MAX, 65536, {-100}},
        {{2147418112}, UINT_MAX, INT_MAX, {2147418112}},
        {{2147418111}, UINT_MAX, 2147418112, {2147418111}},
        {{0, INT_MAX}, UINT_MAX, 131072, {0, 65536}},
        {{5, INT_MAX}, UINT_MAX, 131072, {0, 65536}}, // the top renumbered
        {{0}, 0, -65536, {0}},
        {{-100}, 0, -65536, {-100}},
        {{-65537}, 0, -131072, {-65537}},
        {{-2147418112}, 0, INT_MIN, {-2147418112}},
        {{-2147418113}, 0, INT_MIN, {-2147418113}},
        {{-2147418111}, 0, -2147418112, {-2147418111}},
        {{INT_MIN, 5}, 0, -65536, {0, 65536}},
        {{0, 65536}, 1, 32768, {0, 65536}},
        {{0, 1}, 1, 32768, {0, 65536}},
        {{7, 7}, 0, 32768, {0, 65536}}, // equal neighbours: renumbered, not a tie
        {{INT_MIN, INT_MAX}, 1, -1, {INT_MIN, INT_MAX}},
    };
    for (const auto& c : cases) {
        Pages pages(16, 256);
        for (int v : c.existing)
            add(pages, v);
        const int last = c.existing.empty() ? 0 : c.existing.back();
        EXPECT_EQ((getFreeSortValue<Sorted, 65536>(pages, c.before)), c.expected)
            << last << " before id " << int(c.before);
        EXPECT_EQ(values(pages), c.afterwards) << last;
    }
}

TEST(SortVector, CopyHoldsClonesUnderTheSameIds)
{
    Pages source(4, 64);
    add(source, 30, 9);
    add(source, 10, 2);
    add(source, 20, 5);
    {
        Pages copy(1, 1);
        add(copy, 99);
        copy = source;
        EXPECT_EQ(ids(copy), ids(source));
        EXPECT_EQ(copy.slotCount(), source.slotCount());
        EXPECT_EQ(copy.maximum(), 64u);
        EXPECT_EQ(copy.step(), 4u);
        EXPECT_EQ(copy.highestId(), 9);
        EXPECT_NE(&copy[5], &source[5]);
        EXPECT_EQ(copy[5].sortValue, 20);
        const auto& self = copy;
        copy = self;
        EXPECT_EQ(copy.size(), 3u);
        Pages constructed(copy);
        EXPECT_EQ(ids(constructed), ids(source));
        EXPECT_EQ(add(constructed, 0), 0u);
    }
    EXPECT_EQ(Sorted::alive, 3);
    EXPECT_EQ(ids(source), (std::vector<unsigned int>{2, 5, 9}));
}

TEST(SortVector, EraseRangeDeletes)
{
    Pages pages(16, 256);
    for (int i = 0; i < 5; ++i)
        add(pages, i);
    auto last = pages.erase(std::next(pages.begin()), pages.get(4));
    EXPECT_EQ(last->getId(), 4u);
    EXPECT_EQ(ids(pages), (std::vector<unsigned int>{0, 4}));
    EXPECT_EQ(Sorted::alive, 2);
    EXPECT_EQ(pages.highestId(), 4);
}

using SortVectorDeathTest = ::testing::Test;

TEST_F(SortVectorDeathTest, MissingIdsAreFatal)
{
    Pages pages(16, 256);
    add(pages, 0);
    EXPECT_DEATH(pages.get(3), "Assert: 'exists\\(id\\)' is FALSE");
    EXPECT_DEATH(pages.erase(1), "Assert: 'exists\\(id\\)' is FALSE");
    EXPECT_DEATH(pages[2], "Assert: 'vector\\[id\\] != NULL' is FALSE");
    EXPECT_DEATH(pages[5000], "Assert: 'vector\\[id\\] != NULL' is FALSE");
    EXPECT_DEATH(pages.getNextId(7, true, true), "Assert: 'exists\\(id\\)' is FALSE");
    EXPECT_DEATH((getFreeSortValue<Sorted, 65536>(pages, 7)), "Assert: 'exists\\(id\\)' is FALSE");

    // An element of another container under an id that is stored here is not ours to take.
    Pages other(16, 256);
    add(other, 0);
    EXPECT_DEATH(pages.unlink(other.get(0)), "Assert: 'exists\\(it->getId\\(\\)\\)' is FALSE");
    EXPECT_DEATH(pages.erase(pages.end()), "Assert: 'exists\\(it->getId\\(\\)\\)' is FALSE");
}
