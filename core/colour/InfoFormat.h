#pragma once
// Text of the colour chooser's information page: one row of values in the
// chosen number base and separator format. Window-free.

#include <string>
#include <vector>

namespace brenvik {

struct InfoFormat {
  bool hexadecimal = false;  // "&Hexadecimal" selected instead of "&Decimal"
  bool space = true;         // "&Space" after every value but the last
  bool comma = true;         // "&Comma" after every value but the last
  bool valueNames = true;    // "Value &names": "Name=" before each value
};

// One row: for each value, optionally "name=", the value rounded to an
// integer (halves to even) in decimal or upper-case hexadecimal with at least
// two digits, then "," and/or " " unless it is the last. names and values are
// paired by index; values beyond the names get no name.
std::string FormatValues(const std::vector<std::string>& names, const std::vector<double>& values,
                         const InfoFormat& format);

}  // namespace brenvik
