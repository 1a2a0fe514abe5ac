// TIntList: an ordered list of 32-bit integers that may refuse duplicates, with sort and binary search.
#pragma once

#include <cstdint>
#include <vector>

namespace tavrik {

enum class Duplicates : uint8_t { Ignore = 0, Accept = 1 };

class TIntList {
public:
    explicit TIntList(Duplicates duplicates = Duplicates::Ignore) : DuplicatesMode(duplicates) {}

    Duplicates DuplicatesMode;

    int32_t Count() const { return static_cast<int32_t>(Items.size()); }
    bool Empty() const { return Items.empty(); }
    // Get and Put throw tavrik::Error for an index outside the list.
    int32_t Get(int32_t index) const;
    void Put(int32_t index, int32_t value);
    // Appends unless duplicates are ignored and the value is already present.
    void Add(int32_t value);
    int32_t IndexOf(int32_t value) const;
    void Delete(int32_t index);
    void Clear() { Items.clear(); }
    // Quicksort with the middle element as pivot; equal values keep no particular order.
    void Sort();
    // Binary search of a sorted list: index of the first occurrence, or where the value would go.
    bool Find(int32_t value, int32_t& index) const;

    const std::vector<int32_t>& Values() const { return Items; }
    bool operator==(const TIntList& other) const { return Items == other.Items; }

private:
    void QuickSort(int32_t lo, int32_t hi);
    void CheckIndex(int32_t index) const;

    std::vector<int32_t> Items;
};

} // namespace tavrik
