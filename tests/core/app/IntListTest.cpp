// TIntList: duplicates handling, look-up, the quicksort and the binary search.
#include "app/IntList.h"

#include "app/Error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <random>
#include <vector>

namespace tavrik {
namespace {

TIntList ListOf(std::initializer_list<int32_t> values, Duplicates duplicates = Duplicates::Ignore) {
    TIntList list(duplicates);
    for (int32_t v : values)
        list.Add(v);
    return list;
}

TEST(IntListAdd, IgnoreLeavesARepeatOutAndAcceptAppendsIt) {
    TIntList ignoring = ListOf({5, 7});
    ignoring.Add(7);
    EXPECT_EQ(ignoring.Values(), (std::vector<int32_t>{5, 7}));

    TIntList accepting = ListOf({5, 7}, Duplicates::Accept);
    accepting.Add(7);
    EXPECT_EQ(accepting.Values(), (std::vector<int32_t>{5, 7, 7}));
}

TEST(IntListAdd, IgnoreIsTheDefault) {
    TIntList list;
    list.Add(1);
    list.Add(1);
    EXPECT_EQ(list.Count(), 1);
}

TEST(IntListIndexOf, GivesTheFirstIndexOrMinusOne) {
    const TIntList list = ListOf({4, 9, 4, 9}, Duplicates::Accept);
    EXPECT_EQ(list.IndexOf(9), 1);
    EXPECT_EQ(list.IndexOf(4), 0);
    EXPECT_EQ(list.IndexOf(5), -1);
    EXPECT_EQ(TIntList().IndexOf(0), -1);
}

TEST(IntListAccess, GetPutAndDeleteCheckTheIndex) {
    TIntList list = ListOf({1, 2, 3});
    list.Put(1, 20);
    EXPECT_EQ(list.Get(1), 20);
    list.Delete(0);
    EXPECT_EQ(list.Values(), (std::vector<int32_t>{20, 3}));
    EXPECT_THROW(list.Get(2), Error);
    EXPECT_THROW(list.Get(-1), Error);
    EXPECT_THROW(list.Put(2, 0), Error);
    EXPECT_THROW(list.Delete(5), Error);
    list.Clear();
    EXPECT_TRUE(list.Empty());
}

void ExpectSortsLikeStdSort(std::vector<int32_t> values) {
    TIntList list(Duplicates::Accept);
    for (int32_t v : values)
        list.Add(v);
    list.Sort();
    std::sort(values.begin(), values.end());
    EXPECT_EQ(list.Values(), values);
}

TEST(IntListSort, RandomDataSortsAsStdSortDoes) {
    std::mt19937 random(12345);
    for (int round = 0; round < 200; ++round) {
        const size_t size = random() % 300;
        const int32_t spread = round % 2 == 0 ? 10 : INT_MAX; // many repeats, or nearly none
        std::uniform_int_distribution<int32_t> value(-spread, spread);
        std::vector<int32_t> values(size);
        for (int32_t& v : values)
            v = value(random);
        ExpectSortsLikeStdSort(values);
    }
}

TEST(IntListSort, OrderedReversedEqualAndExtremeValues) {
    std::vector<int32_t> ascending(100);
    for (int32_t i = 0; i < 100; ++i)
        ascending[static_cast<size_t>(i)] = i;
    ExpectSortsLikeStdSort(ascending);
    ExpectSortsLikeStdSort(std::vector<int32_t>(ascending.rbegin(), ascending.rend()));
    ExpectSortsLikeStdSort(std::vector<int32_t>(50, 3));
    ExpectSortsLikeStdSort({INT_MAX, INT_MIN, 0, -1, INT_MIN, INT_MAX});
    ExpectSortsLikeStdSort({});
    ExpectSortsLikeStdSort({42});
    ExpectSortsLikeStdSort({2, 1});
}

TEST(IntListFind, MissingValueGivesItsInsertionPlace) {
    const TIntList list = ListOf({2, 4, 8});
    int32_t index = -1;
    EXPECT_FALSE(list.Find(6, index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(list.Find(1, index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(list.Find(9, index));
    EXPECT_EQ(index, 3);
    EXPECT_FALSE(TIntList().Find(9, index));
    EXPECT_EQ(index, 0);
}

TEST(IntListFind, PresentValueGivesItsFirstOccurrence) {
    int32_t index = -1;
    EXPECT_TRUE(ListOf({2, 4, 8}).Find(4, index));
    EXPECT_EQ(index, 1);

    const TIntList repeats = ListOf({1, 3, 3, 3, 3, 3, 5}, Duplicates::Accept);
    EXPECT_TRUE(repeats.Find(3, index));
    EXPECT_EQ(index, 1);
    EXPECT_TRUE(repeats.Find(5, index));
    EXPECT_EQ(index, 6);
}

TEST(IntListFind, AgreesWithLowerBoundOnSortedRandomLists) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> value(-20, 20);
    for (int round = 0; round < 100; ++round) {
        TIntList list(Duplicates::Accept);
        for (size_t i = random() % 40; i > 0; --i)
            list.Add(value(random));
        list.Sort();
        const std::vector<int32_t>& sorted = list.Values();
        for (int32_t probe = -22; probe <= 22; ++probe) {
            int32_t index = -1;
            const bool found = list.Find(probe, index);
            const auto expected = std::lower_bound(sorted.begin(), sorted.end(), probe);
            EXPECT_EQ(index, expected - sorted.begin());
            EXPECT_EQ(found, expected != sorted.end() && *expected == probe);
        }
    }
}

} // namespace
} // namespace tavrik
