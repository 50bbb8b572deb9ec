#pragma once
// The program's string type: one element per character (Unicode scalar value).
// Every position, length and halving rule counts characters, so Western text
// behaves exactly like a single-byte implementation and every other script
// halves correctly too.

#include <string>
#include <string_view>

namespace brenvik {

using Text = std::u32string;
using TextView = std::u32string_view;

// UTF-8 <-> Text for program literals, messages and interchange (JSON, Qt).
// Decoding is lenient: each byte of an ill-formed sequence becomes U+FFFD.
Text FromUtf8(std::string_view utf8);
// Encoding writes surrogates and values above U+10FFFF as U+FFFD.
std::string ToUtf8(TextView text);

// Decimal form of an integer as Text ("-1", "36000").
Text ToText(long long value);

}  // namespace brenvik
