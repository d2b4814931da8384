#pragma once
// A map that keeps the most recently used entries within a total cost,
// dropping the least recently used ones when a new entry would exceed it.

#include <cstddef>
#include <functional>
#include <list>
#include <unordered_map>
#include <utility>

template <typename Key, typename Value, typename Hash = std::hash<Key>>
class LruCache {
 public:
  explicit LruCache(std::size_t capacity) : capacity_(capacity) {}

  // The entry for key, now the most recently used, or nullptr. The pointer
  // stays valid until the next Put.
  Value* Find(const Key& key) {
    const auto found = index_.find(key);
    if (found == index_.end()) return nullptr;
    entries_.splice(entries_.begin(), entries_, found->second);
    return &found->second->value;
  }

  // Stores value under key as the most recently used entry, replacing any
  // entry of that key, then drops the oldest entries until the total cost
  // fits again. The new entry itself always stays, even when it alone is
  // over the capacity.
  Value& Put(const Key& key, Value value, std::size_t cost) {
    Remove(key);
    entries_.push_front(Entry{key, std::move(value), cost});
    index_.emplace(key, entries_.begin());
    total_ += cost;
    while (total_ > capacity_ && entries_.size() > 1) {
      total_ -= entries_.back().cost;
      index_.erase(entries_.back().key);
      entries_.pop_back();
    }
    return entries_.front().value;
  }

  void Remove(const Key& key) {
    const auto found = index_.find(key);
    if (found == index_.end()) return;
    total_ -= found->second->cost;
    entries_.erase(found->second);
    index_.erase(found);
  }

  std::size_t Size() const { return entries_.size(); }
  std::size_t TotalCost() const { return total_; }

 private:
  struct Entry {
    Key key;
    Value value;
    std::size_t cost;
  };

  std::size_t capacity_;
  std::size_t total_ = 0;
  std::list<Entry> entries_;
  std::unordered_map<Key, typename std::list<Entry>::iterator, Hash> index_;
};
