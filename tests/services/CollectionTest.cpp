#include "services/Collection.h"

#include <gtest/gtest.h>

namespace fw {
namespace {

// Counts live instances so that deleteAll() can be seen to destroy.
struct Tracked {
    static int alive;
    int value;
    explicit Tracked(int v) : value(v) { ++alive; }
    ~Tracked() { --alive; }
};
int Tracked::alive = 0;

TEST(Collection, GrowsBy256Slots)
{
    Collection<int> list;
    EXPECT_EQ(list.count(), 0u);
    std::vector<int> values(600);
    list.add(&values[0]);
    EXPECT_EQ(list.capacity(), 256u);
    for (int i = 1; i < 256; ++i)
        list.add(&values[static_cast<std::size_t>(i)]);
    EXPECT_EQ(list.capacity(), 256u);
    list.add(&values[256]);
    EXPECT_EQ(list.count(), 257u);
    EXPECT_EQ(list.capacity(), 512u);
    for (std::size_t i = 257; i < 513; ++i)
        list.add(&values[i]);
    EXPECT_EQ(list.capacity(), 768u);
    EXPECT_FALSE(list.hasError());
    EXPECT_EQ(list.at(300), &values[300]);
}

TEST(Collection, FindAndIndexOf)
{
    int a = 1, b = 2, c = 3;
    Collection<int> list;
    list.add(&a);
    list.add(&b);
    EXPECT_EQ(list.indexOf(&b), 1u);
    EXPECT_EQ(list.indexOf(&c), std::numeric_limits<std::size_t>::max());
    EXPECT_EQ(list.find(&a), &a);
    EXPECT_EQ(list.find(&c), nullptr);
    EXPECT_EQ(list.at(2), nullptr);
}

TEST(Collection, AddIfNotPresentKeepsPointersUnique)
{
    int a = 1, b = 2;
    Collection<int> list;
    EXPECT_TRUE(list.addIfNotPresent(&a));
    EXPECT_FALSE(list.addIfNotPresent(&a));
    EXPECT_TRUE(list.addIfNotPresent(&b));
    EXPECT_EQ(list.count(), 2u);
}

TEST(Collection, ReplaceAtAnswersThePreviousPointer)
{
    int a = 1, b = 2, c = 3;
    Collection<int> list;
    list.add(&a);
    list.add(&b);
    EXPECT_EQ(list.replaceAt(1, &c), &b);
    EXPECT_EQ(list.at(1), &c);
    EXPECT_EQ(list.replaceAt(2, &a), nullptr);
    EXPECT_EQ(list.count(), 2u);
}

TEST(Collection, RemoveClosesTheGap)
{
    int v[4] = {0, 1, 2, 3};
    Collection<int> list;
    for (int& x : v)
        list.add(&x);
    EXPECT_TRUE(list.remove(&v[1]));
    ASSERT_EQ(list.count(), 3u);
    EXPECT_EQ(list.at(0), &v[0]);
    EXPECT_EQ(list.at(1), &v[2]);
    EXPECT_EQ(list.at(2), &v[3]);
    EXPECT_FALSE(list.remove(&v[1]));
    EXPECT_EQ(list.count(), 3u);
}

TEST(Collection, ReverseAndIteration)
{
    int v[3] = {10, 20, 30};
    Collection<int> list;
    for (int& x : v)
        list.add(&x);
    list.reverse();
    std::vector<int> seen;
    for (int* p : list)
        seen.push_back(*p);
    EXPECT_EQ(seen, (std::vector<int>{30, 20, 10}));
}

TEST(Collection, DeleteAllDestroysAndEmpties)
{
    Tracked::alive = 0;
    {
        Collection<Tracked> list;
        for (int i = 0; i < 300; ++i)
            list.add(new Tracked(i));
        EXPECT_EQ(Tracked::alive, 300);
        list.deleteAll();
        EXPECT_EQ(Tracked::alive, 0);
        EXPECT_EQ(list.count(), 0u);
        list.add(new Tracked(7));  // still usable afterwards
        EXPECT_EQ(list.at(0)->value, 7);
        list.deleteAll();
    }
    EXPECT_EQ(Tracked::alive, 0);
}

TEST(ModelException, CarriesCodeAndPlace)
{
    ModelException e(ModelException::OutOfMemory, "Collection.h", 42);
    EXPECT_EQ(e.code(), 1000);
    EXPECT_EQ(e.sourceFile(), "Collection.h");
    EXPECT_EQ(e.line(), 42);
    EXPECT_STREQ(e.what(), "model error 1000 at Collection.h:42");
    EXPECT_STREQ(ModelException(7, nullptr, 0).what(), "model error 7 at ?:0");
}

}  // namespace
}  // namespace fw
