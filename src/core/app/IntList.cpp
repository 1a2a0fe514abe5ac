// TIntList operations.
#include "app/IntList.h"

#include "app/Error.h"

#include <string>
#include <utility>

namespace tavrik {

void TIntList::CheckIndex(int32_t index) const {
    if (index < 0 || index >= Count())
        throw Error("List index out of bounds (" + std::to_string(index) + ")");
}

int32_t TIntList::Get(int32_t index) const {
    CheckIndex(index);
    return Items[static_cast<size_t>(index)];
}

void TIntList::Put(int32_t index, int32_t value) {
    CheckIndex(index);
    Items[static_cast<size_t>(index)] = value;
}

void TIntList::Add(int32_t value) {
    if (DuplicatesMode == Duplicates::Ignore && IndexOf(value) != -1) return;
    Items.push_back(value);
}

int32_t TIntList::IndexOf(int32_t value) const {
    for (size_t i = 0; i < Items.size(); ++i)
        if (Items[i] == value) return static_cast<int32_t>(i);
    return -1;
}

void TIntList::Delete(int32_t index) {
    CheckIndex(index);
    Items.erase(Items.begin() + index);
}

void TIntList::Sort() {
    if (Count() > 1) QuickSort(0, Count() - 1);
}

void TIntList::QuickSort(int32_t lo, int32_t hi) {
    int32_t i = lo;
    int32_t j = hi;
    const int32_t pivot = Items[static_cast<size_t>((lo + hi) / 2)];
    while (i <= j) {
        while (Items[static_cast<size_t>(i)] < pivot) ++i;
        while (Items[static_cast<size_t>(j)] > pivot) --j;
        if (i <= j) {
            std::swap(Items[static_cast<size_t>(i)], Items[static_cast<size_t>(j)]);
            ++i;
            --j;
        }
    }
    if (lo < j) QuickSort(lo, j);
    if (i < hi) QuickSort(i, hi);
}

bool TIntList::Find(int32_t value, int32_t& index) const {
    int32_t lo = 0;
    int32_t hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const int32_t mid = lo + (hi - lo) / 2;
        const int32_t item = Items[static_cast<size_t>(mid)];
        if (item < value) {
            lo = mid + 1;
        } else {
            if (item == value) found = true;
            hi = mid - 1;
        }
    }
    index = lo;
    return found;
}

} // namespace tavrik
