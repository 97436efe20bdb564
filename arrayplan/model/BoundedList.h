// A fixed-capacity list of records: adds fill the next free slot and are refused when all are used;
// an index outside the filled slots gives none.
#pragma once

#include <cstddef>
#include <vector>

template <typename T, std::size_t Capacity> class BoundedList {
public:
    bool add(const T& item) {
        if (items_.size() >= Capacity)
            return false;
        items_.push_back(item);
        return true;
    }
    T* at(int index) { return valid(index) ? &items_[static_cast<std::size_t>(index)] : nullptr; }
    const T* at(int index) const { return valid(index) ? &items_[static_cast<std::size_t>(index)] : nullptr; }
    int size() const { return static_cast<int>(items_.size()); }
    bool empty() const { return items_.empty(); }
    bool full() const { return items_.size() >= Capacity; }
    void clear() { items_.clear(); }
    static constexpr int capacity() { return static_cast<int>(Capacity); }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }

private:
    bool valid(int index) const { return index >= 0 && static_cast<std::size_t>(index) < items_.size(); }
    std::vector<T> items_;
};
