#pragma once
// The options of the exported page. One program-wide record, never saved:
// every run starts from these initial values.

#include "core/page/PagePieces.h"
#include "core/text/Text.h"

namespace brenvik {

// The two versions of the page: the test version shows only the score; the
// practice version gives feedback and can show the answers.
enum class PageVariant { Test = 1, Practice = 2 };

struct ExportSettings {
  PageVariant TestMode = PageVariant::Test;
  bool ShowAnswersFlag = false;  // practice version: a "Show Answers" button
  bool TimerFlag = false;        // the page submits itself when time runs out
  Text Title = Text(page::kDefaultTitle);
  Text PageBackground = U"#FFFFFF";
  Text PageTextColour = U"#000000";
  Text FontName = U"Arial";
  Text TextSize = U"14";
  Text AnswerBoxColour = U"#000000";
  Text AnswerTextColour = U"#FFFFFF";

  friend bool operator==(const ExportSettings&, const ExportSettings&) = default;
};

}  // namespace brenvik
