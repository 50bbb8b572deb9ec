#pragma once
// The options of the exported page. One program-wide record, never saved:
// every run starts from these initial values.

#include "core/text/Text.h"

namespace brenvik {

struct ExportSettings {
  int TestMode = 1;          // 1 test version, 2 practice C-test
  int ShowAnswersFlag = 0;   // 0 or 1
  int TimerFlag = 0;         // 0 or 1
  Text Title = U"C-Test";
  Text PageBackground = U"#FFFFFF";
  Text PageTextColour = U"#000000";
  Text FontName = U"Arial";
  Text TextSize = U"14";
  Text AnswerBoxColour = U"#000000";
  Text AnswerTextColour = U"#FFFFFF";

  friend bool operator==(const ExportSettings&, const ExportSettings&) = default;
};

}  // namespace brenvik
