#include "core/text/TextList.h"

#include "core/text/Errors.h"
#include "core/text/HugePages.h"

namespace brenvik {

TextList::TextList(std::initializer_list<TextView> entries) {
  for (TextView e : entries) push_back(e);
}

TextView TextList::at(long long i) const {
  if (i < 0 || static_cast<unsigned long long>(i) >= size()) throw ListIndexError(i);
  return (*this)[static_cast<std::size_t>(i)];
}

void TextList::push_back(TextView entry) {
  const char32_t* data = buffer_.data();
  if (!entry.empty() && entry.data() >= data && entry.data() < data + buffer_.size()) {
    // The entry lives in our own buffer, which append may reallocate.
    const std::size_t offset = static_cast<std::size_t>(entry.data() - data);
    const std::size_t length = entry.size();
    buffer_.reserve(buffer_.size() + length);
    buffer_.append(buffer_, offset, length);
  } else {
    buffer_.append(entry);
  }
  ends_.push_back(buffer_.size());
}

void TextList::clear() {
  buffer_.clear();
  ends_.clear();
}

void TextList::reserve(std::size_t entries, std::size_t characters) {
  // A new buffer of an empty list is untouched until filled: the moment to
  // ask for huge pages.
  if (entries > ends_.capacity()) {
    const bool fresh = ends_.empty();
    ends_.reserve(entries);
    if (fresh) AdviseHugePages(ends_.data(), ends_.capacity() * sizeof(std::size_t));
  }
  if (characters > buffer_.capacity()) {
    const bool fresh = buffer_.empty();
    buffer_.reserve(characters);
    if (fresh) AdviseHugePages(buffer_.data(), buffer_.capacity() * sizeof(char32_t));
  }
}

void TextList::assign(const TextList& other) {
  if (this == &other) return;
  clear();
  reserve(other.ends_.size(), other.buffer_.size());
  buffer_.assign(other.buffer_);
  ends_.assign(other.ends_.begin(), other.ends_.end());
}

std::vector<Text> TextList::toVector() const {
  std::vector<Text> out;
  out.reserve(size());
  for (TextView e : *this) out.emplace_back(e);
  return out;
}

TextList TextList::fromVector(const std::vector<Text>& entries) {
  TextList list;
  std::size_t chars = 0;
  for (const Text& e : entries) chars += e.size();
  list.reserve(entries.size(), chars);
  for (const Text& e : entries) list.push_back(e);
  return list;
}

}  // namespace brenvik
