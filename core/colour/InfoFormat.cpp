#include "core/colour/InfoFormat.h"

#include <cstdint>
#include <cstdio>

#include "core/colour/ColourModels.h"

namespace brenvik {

std::string FormatValues(const std::vector<std::string>& names, const std::vector<double>& values,
                         const InfoFormat& format) {
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (format.valueNames && i < names.size()) {
      text += names[i];
      text += '=';
    }
    const auto n = static_cast<long long>(RoundHalfEven(values[i]));
    char digits[32];
    if (format.hexadecimal && n >= 0)
      std::snprintf(digits, sizeof digits, "%.2llX", static_cast<unsigned long long>(n));
    else if (format.hexadecimal)
      std::snprintf(digits, sizeof digits, "-%.2llX", static_cast<unsigned long long>(-n));
    else
      std::snprintf(digits, sizeof digits, "%lld", n);
    text += digits;
    if (i + 1 < values.size()) {
      if (format.comma) text += ',';
      if (format.space) text += ' ';
    }
  }
  return text;
}

}  // namespace brenvik
