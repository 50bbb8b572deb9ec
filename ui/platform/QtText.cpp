#include "ui/platform/QtText.h"

namespace brenvik {

Text FromBoxText(const QString& boxText) {
  const std::u32string raw = boxText.toStdU32String();
  Text out;
  out.reserve(raw.size() + raw.size() / 16);
  for (char32_t ch : raw) {
    if (ch == U'\n') out.push_back(U'\r');
    out.push_back(ch);
  }
  return out;
}

QString ToBoxText(TextView text) {
  Text lf;
  lf.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') continue;
    lf.push_back(text[i]);
  }
  return ToQString(lf);
}

}  // namespace brenvik
