#include "core/page/Worksheet.h"

#include "core/page/PagePieces.h"
#include "core/page/TestWords.h"

namespace brenvik {
namespace {

class PieceList {
 public:
  // Pieces are added after the ones already in the list, which a text's
  // first piece never joins: each text of a test starts a piece of its own.
  explicit PieceList(std::vector<WorksheetPiece>& pieces) : pieces_(pieces), first_(pieces.size()) {}

  void text(TextView run) {
    if (run.empty()) return;
    if (pieces_.size() > first_ && pieces_.back().PieceKind == WorksheetPiece::Kind::Plain) {
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
  std::size_t first_;
};

}  // namespace

namespace {

Worksheet EmptySheet(const ExportSettings& settings) {
  Worksheet sheet;
  sheet.Title = page::TitleOrDefault(page::Trimmed(settings.Title, page::IsSpaceOrControl));
  sheet.NameLabel = U"Name:";
  sheet.DateLabel = U"Date:";
  sheet.Instruction = page::kInstruction;
  sheet.KeyHeading = U"Answer key";
  return sheet;
}

// Adds a text's pieces and key entries; number is the last gap's number so far.
void AddText(Worksheet& sheet, const TestWorkspace& workspace, const std::vector<TestWord>& words,
             const page::PageText* research, std::size_t& number) {
  PieceList test(sheet.Test);
  test.lines(workspace.FirstSentence);
  std::size_t gap = 0;
  for (const TestWord& word : words) {
    test.lines(word.Kept);
    if (!word.Answer.empty()) {
      ++number;
      test.gap(number, GapLength(word.Answer));
      WorksheetKeyEntry& entry = sheet.Key.emplace_back(WorksheetKeyEntry{number, Text(word.Kept), Text(word.Answer), {}});
      if (research != nullptr) entry.Accepted = research->acceptedOf(gap);
      ++gap;
    }
    test.lines(word.Separator);
  }
}

}  // namespace

Worksheet BuildWorksheet(const TestWorkspace& workspace, const ExportSettings& settings) {
  const std::vector<TestWord> words = TestWords(workspace);
  RequireGap(words);
  Worksheet sheet = EmptySheet(settings);
  std::size_t number = 0;
  AddText(sheet, workspace, words, nullptr, number);
  return sheet;
}

Worksheet BuildWorksheet(const page::PageTest& test, const ExportSettings& settings) {
  std::vector<std::vector<TestWord>> texts;
  texts.reserve(test.Texts.size());
  for (const page::PageText& text : test.Texts) {
    texts.push_back(TestWords(*text.Workspace));
    RequireGap(texts.back());
  }
  Worksheet sheet = EmptySheet(settings);
  std::size_t number = 0;
  for (std::size_t t = 0; t < texts.size(); ++t) {
    if (texts.size() > 1) {
      const TextView title = page::Trimmed(test.Texts[t].Title, page::IsSpaceOrControl);
      sheet.Sections.push_back(
          {title.empty() ? U"Text " + ToText(static_cast<long long>(t + 1)) : Text(title), sheet.Test.size(),
           sheet.Key.size()});
    }
    AddText(sheet, *test.Texts[t].Workspace, texts[t], &test.Texts[t], number);
  }
  return sheet;
}

Text WorksheetTestText(const Worksheet& sheet) {
  Text out;
  std::size_t section = 0;
  for (std::size_t i = 0; i < sheet.Test.size(); ++i) {
    // A text of several: its title and an empty line, as brenvik-cli test
    // prints it, set apart from the text before by an empty line.
    while (section < sheet.Sections.size() && sheet.Sections[section].FirstPiece == i) {
      if (section > 0) out += U"\r\n\r\n";
      out += sheet.Sections[section].Title;
      out += U"\r\n\r\n";
      ++section;
    }
    const WorksheetPiece& p = sheet.Test[i];
    switch (p.PieceKind) {
      case WorksheetPiece::Kind::Plain: out += p.Characters; break;
      case WorksheetPiece::Kind::Gap: out.append(p.Length, U'_'); break;
      case WorksheetPiece::Kind::LineBreak: out += U"\r\n"; break;
    }
  }
  return out;
}

}  // namespace brenvik
