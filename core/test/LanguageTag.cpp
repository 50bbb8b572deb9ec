#include "core/test/LanguageTag.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace brenvik {

namespace {

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsAlpha(c) || IsDigit(c); }

bool All(std::string_view s, bool (*pred)(char)) { return std::all_of(s.begin(), s.end(), pred); }

bool Alpha(std::string_view s, std::size_t min, std::size_t max) {
  return s.size() >= min && s.size() <= max && All(s, IsAlpha);
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// The irregular grandfathered tags: they do not follow the grammar, but
// are well-formed. (The regular ones, "art-lojban", "zh-min-nan" and the
// like, do.)
constexpr std::array<std::string_view, 17> kIrregular = {
    "en-gb-oed", "i-ami",     "i-bnn",      "i-default", "i-enochian", "i-hak",
    "i-klingon", "i-lux",     "i-mingo",    "i-navajo",  "i-pwn",      "i-tao",
    "i-tay",     "i-tsu",     "sgn-be-fr",  "sgn-be-nl", "sgn-ch-de"};

// privateuse = "x" 1*("-" (1*8alphanum))
bool PrivateUse(const std::vector<std::string_view>& parts, std::size_t i) {
  if (i >= parts.size() || Lower(parts[i]) != "x" || i + 1 >= parts.size()) return false;
  for (std::size_t j = i + 1; j < parts.size(); ++j) {
    if (parts[j].empty() || parts[j].size() > 8 || !All(parts[j], IsAlnum)) return false;
  }
  return true;
}

}  // namespace

bool IsWellFormedLanguageTag(std::string_view tag) {
  if (tag.empty()) return false;
  const std::string lower = Lower(tag);
  if (std::find(kIrregular.begin(), kIrregular.end(), lower) != kIrregular.end()) return true;

  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t dash = tag.find('-', start);
    parts.push_back(tag.substr(start, dash == std::string_view::npos ? tag.size() - start : dash - start));
    if (dash == std::string_view::npos) break;
    start = dash + 1;
  }
  if (PrivateUse(parts, 0)) return true;

  std::size_t i = 0;
  // language = 2*3ALPHA ["-" extlang] / 4ALPHA / 5*8ALPHA; extlang = 3ALPHA *2("-" 3ALPHA)
  if (!Alpha(parts[i], 2, 8)) return false;
  const bool shortLanguage = parts[i].size() <= 3;
  ++i;
  if (shortLanguage) {
    for (int n = 0; n < 3 && i < parts.size() && Alpha(parts[i], 3, 3); ++n) ++i;
  }
  // script = 4ALPHA
  if (i < parts.size() && Alpha(parts[i], 4, 4)) ++i;
  // region = 2ALPHA / 3DIGIT
  if (i < parts.size() &&
      (Alpha(parts[i], 2, 2) || (parts[i].size() == 3 && All(parts[i], IsDigit)))) {
    ++i;
  }
  // variant = 5*8alphanum / (DIGIT 3alphanum)
  while (i < parts.size()) {
    const std::string_view p = parts[i];
    const bool variant = All(p, IsAlnum) && ((p.size() >= 5 && p.size() <= 8) ||
                                             (p.size() == 4 && IsDigit(p[0])));
    if (!variant) break;
    ++i;
  }
  // extension = singleton 1*("-" (2*8alphanum)); singleton is any alphanum but x
  while (i < parts.size() && parts[i].size() == 1 && IsAlnum(parts[i][0]) &&
         Lower(parts[i]) != "x") {
    ++i;
    std::size_t n = 0;
    while (i < parts.size() && parts[i].size() >= 2 && parts[i].size() <= 8 && All(parts[i], IsAlnum)) {
      ++i;
      ++n;
    }
    if (n == 0) return false;
  }
  if (i == parts.size()) return true;
  return PrivateUse(parts, i);
}

}  // namespace brenvik
