#pragma once
// An ordered list of strings kept in one character buffer with end offsets.
// Process fills ten lists with one short entry per word; separately allocated
// strings would cost an allocation per entry, this costs amortised nothing.

#include <cstddef>
#include <initializer_list>
#include <vector>

#include "core/text/Text.h"

namespace brenvik {

class TextList {
 public:
  TextList() = default;
  TextList(std::initializer_list<TextView> entries);

  std::size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }

  // Entry i; i must be below size(). The view stays valid until the list changes.
  TextView operator[](std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
    return TextView(buffer_.data() + begin, ends_[i] - begin);
  }
  // Entry i, or ListIndexError(i) when there is no such entry (i may be negative).
  TextView at(long long i) const;
  TextView back() const { return (*this)[size() - 1]; }

  void push_back(TextView entry);  // entry may be a view into this list
  void clear();
  void reserve(std::size_t entries, std::size_t characters);
  // Makes this list a copy of other, keeping this list's capacity.
  void assign(const TextList& other);

  // Total number of characters in all entries.
  std::size_t characters() const { return buffer_.size(); }

  std::vector<Text> toVector() const;
  static TextList fromVector(const std::vector<Text>& entries);

  friend bool operator==(const TextList& a, const TextList& b) {
    return a.ends_ == b.ends_ && a.buffer_ == b.buffer_;
  }

  class const_iterator {
   public:
    using value_type = TextView;
    using difference_type = std::ptrdiff_t;
    const_iterator() = default;
    const_iterator(const TextList* list, std::size_t i) : list_(list), i_(i) {}
    TextView operator*() const { return (*list_)[i_]; }
    const_iterator& operator++() { ++i_; return *this; }
    const_iterator operator++(int) { auto t = *this; ++i_; return t; }
    friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.i_ == b.i_; }
   private:
    const TextList* list_ = nullptr;
    std::size_t i_ = 0;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

 private:
  Text buffer_;
  std::vector<std::size_t> ends_;
};

}  // namespace brenvik
