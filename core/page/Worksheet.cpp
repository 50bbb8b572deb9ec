#include "core/page/Worksheet.h"

#include "core/page/PagePieces.h"
#include "core/page/TestWords.h"

namespace brenvik {
namespace {

class PieceList {
 public:
  explicit PieceList(std::vector<WorksheetPiece>& pieces) : pieces_(pieces) {}

  void text(TextView run) {
    if (run.empty()) return;
    if (!pieces_.empty() && pieces_.back().PieceKind == WorksheetPiece::Kind::Plain) {
      pieces_.back().Characters.append(run);
    } else {
      pieces_.push_back({WorksheetPiece::Kind::Plain, Text(run), 0, 0});
    }
  }
  void lineBreak() { pieces_.push_back({WorksheetPiece::Kind::LineBreak, {}, 0, 0}); }
  void gap(std::size_t number, std::size_t length) {
    pieces_.push_back({WorksheetPiece::Kind::Gap, {}, number, length});
  }
  // Text possibly holding line breaks.
  void lines(TextView s) {
    SplitLineBreaks(s, [this](TextView run) { text(run); }, [this] { lineBreak(); });
  }

 private:
  std::vector<WorksheetPiece>& pieces_;
};

}  // namespace

Worksheet BuildWorksheet(const TestWorkspace& workspace, const ExportSettings& settings) {
  const std::vector<TestWord> words = TestWords(workspace);
  RequireGap(words);

  Worksheet sheet;
  sheet.Title = page::TitleOrDefault(page::Trimmed(settings.Title, page::IsSpaceOrControl));
  sheet.NameLabel = U"Name:";
  sheet.DateLabel = U"Date:";
  sheet.Instruction = page::kInstruction;
  sheet.KeyHeading = U"Answer key";

  PieceList test(sheet.Test);
  test.lines(workspace.FirstSentence);
  std::size_t number = 0;
  for (const TestWord& word : words) {
    test.lines(word.Kept);
    if (!word.Answer.empty()) {
      ++number;
      test.gap(number, GapLength(word.Answer));
      sheet.Key.push_back({number, Text(word.Kept), Text(word.Answer)});
    }
    test.lines(word.Separator);
  }
  return sheet;
}

Text WorksheetTestText(const Worksheet& sheet) {
  Text out;
  for (const WorksheetPiece& p : sheet.Test) {
    switch (p.PieceKind) {
      case WorksheetPiece::Kind::Plain: out += p.Characters; break;
      case WorksheetPiece::Kind::Gap: out.append(p.Length, U'_'); break;
      case WorksheetPiece::Kind::LineBreak: out += U"\r\n"; break;
    }
  }
  return out;
}

}  // namespace brenvik
