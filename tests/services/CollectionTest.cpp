#include "services/Collection.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

// Counts live instances so that deleteAll() can be seen to destroy.
struct Tracked {
    static int alive;
    Tracked() { ++alive; }
    ~Tracked() { --alive; }
};
int Tracked::alive = 0;

TEST(Collection, GrowsBy256SlotsAndKeepsPointers)
{
    Collection<Tracked> list;
    list.add(new Tracked);
    EXPECT_EQ(list.capacity(), 256u);
    while (list.count() < 256)
        list.add(new Tracked);
    EXPECT_EQ(list.capacity(), 256u);
    list.add(new Tracked);
    EXPECT_EQ(list.capacity(), 512u);
    while (list.count() < 513)
        list.add(new Tracked);
    EXPECT_EQ(list.capacity(), 768u);
    EXPECT_FALSE(list.hasError());
    EXPECT_EQ(Tracked::alive, 513);

    Tracked* kept = list.at(300);
    Tracked* next = list.at(301);
    EXPECT_EQ(list.indexOf(kept), 300u);
    EXPECT_TRUE(list.remove(kept));
    EXPECT_EQ(list.at(300), next);  // the gap is closed
    EXPECT_EQ(list.count(), 512u);
    EXPECT_EQ(list.find(kept), nullptr);
    list.deleteAll();
    EXPECT_EQ(Tracked::alive, 1);
    EXPECT_EQ(list.count(), 0u);
    delete kept;

    int v[3] = {0, 1, 2};
    Collection<int> ints;
    for (int& x : v)
        EXPECT_TRUE(ints.addIfNotPresent(&x));
    EXPECT_FALSE(ints.addIfNotPresent(&v[0]));
    EXPECT_EQ(ints.replaceAt(2, &v[0]), &v[2]);
    EXPECT_EQ(ints.replaceAt(3, &v[0]), nullptr);  // past the end
    ints.reverse();
    std::vector<int> seen;
    for (int* p : ints)
        seen.push_back(*p);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 0}));
}

}  // namespace
