// The output box after Process, and the source box after Open, hold and show
// exactly what a box given the same text through QPlainTextEdit::setPlainText
// would: the same text, formats, wrapped lines and pixels, the caret at the
// start, no undo history. Long single-line texts (which the window puts into
// its boxes its own way, for speed) are checked next to texts of many
// paragraphs, and in every order, since each fill replaces what the one
// before left.

#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <vector>

#include "AppFixture.h"
#include "ui/platform/QtText.h"
#include "core/ctest/TestGen.h"
#include "ObjectNames.h"

namespace brenvik::test {
namespace {

using FilledBox = AppFixture;

const QString kSentence = QStringLiteral(
    "The old town lies on a bend of the river, and its narrow streets climb the hill towards the castle; "
    "the café on the square survived the fire of 1843. Na rynku stoi żółty dom. Старый мост ведёт к собору. ");

// The sentence repeated up to about the given number of characters, on one line.
QString OneLine(int characters) {
  QString text;
  while (text.size() < characters) text += kSentence;
  return text;
}

// Paragraphs of a few sentences each, separated by empty lines.
QString Paragraphs(int count) {
  QString text;
  for (int i = 0; i < count; ++i) text += kSentence + kSentence + QStringLiteral("\n\n");
  return text;
}

// The wrapped lines of a paragraph as (start, length) pairs, laid out first.
std::vector<std::pair<int, int>> Lines(const QPlainTextEdit* box, const QTextBlock& block) {
  box->document()->documentLayout()->blockBoundingRect(block);
  std::vector<std::pair<int, int>> lines;
  const QTextLayout* layout = block.layout();
  for (int i = 0; i < layout->lineCount(); ++i) {
    lines.emplace_back(layout->lineAt(i).textStart(), layout->lineAt(i).textLength());
  }
  return lines;
}

// Everything the box holds and shows, compared with the reference box.
void ExpectSameBox(QPlainTextEdit* box, QPlainTextEdit* reference, const std::string& what) {
  SCOPED_TRACE(what);
  EXPECT_EQ(BoxText(box), BoxText(reference));
  EXPECT_EQ(box->toPlainText(), reference->toPlainText());
  QTextDocument* doc = box->document();
  QTextDocument* refDoc = reference->document();
  ASSERT_EQ(doc->blockCount(), refDoc->blockCount());
  EXPECT_EQ(box->textCursor().position(), 0);
  EXPECT_FALSE(box->textCursor().hasSelection());
  EXPECT_EQ(doc->isUndoAvailable(), refDoc->isUndoAvailable());
  EXPECT_EQ(doc->isRedoAvailable(), refDoc->isRedoAvailable());
  EXPECT_EQ(doc->isModified(), refDoc->isModified());
  EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_EQ(box->wordWrapMode(), reference->wordWrapMode());
  // Formats and wrapped lines of the first, a middle and the last paragraph.
  for (const int n : {0, doc->blockCount() / 2, doc->blockCount() - 1}) {
    const QTextBlock block = doc->findBlockByNumber(n);
    const QTextBlock refBlock = refDoc->findBlockByNumber(n);
    EXPECT_EQ(block.charFormat(), refBlock.charFormat()) << "paragraph " << n;
    EXPECT_EQ(block.blockFormat(), refBlock.blockFormat()) << "paragraph " << n;
    for (const int at : {0, block.length() / 2, block.length() - 1}) {
      QTextCursor c(block);
      QTextCursor refC(refBlock);
      c.setPosition(block.position() + at);
      refC.setPosition(refBlock.position() + at);
      EXPECT_EQ(c.charFormat(), refC.charFormat()) << "paragraph " << n << " at " << at;
    }
    EXPECT_EQ(Lines(box, block), Lines(reference, refBlock)) << "paragraph " << n;
  }
  // What the box draws.
  const QImage shown = box->viewport()->grab().toImage();
  const QImage refShown = reference->viewport()->grab().toImage();
  EXPECT_FALSE(shown.isNull());
  EXPECT_TRUE(shown == refShown) << "the boxes draw different pixels";
}

TEST_F(FilledBox, OutputHoldsAndShowsWhatSetPlainTextWouldForEveryKindOfText) {
  // A second main window of its own state gives a box set up the same way.
  AppState referenceState;
  MainWindow referenceForm(referenceState);
  auto* reference = Find<QPlainTextEdit>(&referenceForm, QLatin1String(kOutputBox));
  ASSERT_NE(reference, nullptr);

  struct Case {
    const char* what;
    QString source;
  };
  // In this order every kind of text follows every other kind.
  const std::vector<Case> cases = {
      {"one long line", OneLine(60000)},
      {"another long line", OneLine(90000)},
      {"paragraphs", Paragraphs(300)},
      {"one long line after paragraphs", OneLine(60000)},
      {"a long line, then paragraphs, ending in a line break",
       OneLine(40000) + QStringLiteral("\n") + Paragraphs(20)},
      {"nothing", QString()},
      {"one long line after nothing", OneLine(30000)},
      {"a short line", QStringLiteral("This is a test. The cat sat on the mat.")},
  };
  TestWorkspace workspace;
  for (const Case& c : cases) {
    Process(c.source);
    const QString test = ToBoxText(GenerateTest(FromBoxText(c.source), workspace));
    reference->setPlainText(test);
    EXPECT_EQ(BoxText(output()), test) << c.what;
    EXPECT_EQ(BoxText(source()), c.source) << c.what;
    ExpectSameBox(output(), reference, c.what);
  }
  EXPECT_TRUE(fake->errors.empty());
}

TEST_F(FilledBox, OpenFillsTheSourceBoxAsSetPlainTextWould) {
  AppState referenceState;
  MainWindow referenceForm(referenceState);
  auto* reference = Find<QPlainTextEdit>(&referenceForm, QLatin1String(kSourceBox));
  ASSERT_NE(reference, nullptr);
  const QString line = QStringLiteral("The old town lies on a bend of the river, and its narrow streets climb the hill. ");
  QString longLine;
  while (longLine.size() < 50000) longLine += line;
  struct Case {
    const char* what;
    QByteArray file;
    QString box;
  };
  const std::vector<Case> cases = {
      {"one long line", longLine.toLatin1(), longLine},
      {"the same again", longLine.toLatin1(), longLine},
      {"lines", (line + "\r\n" + line + "\r\n").toLatin1(), line + "\n" + line + "\n"},
      {"one long line after lines", longLine.toLatin1() + "\r\n", longLine + "\n"},
  };
  for (const Case& c : cases) {
    const QString path = Path(QStringLiteral("text.txt"));
    WriteAll(path, c.file);
    fake->openAnswers.push_back(path);
    Trigger(kOpenAction);
    EXPECT_EQ(BoxText(source()), c.box) << c.what;
    reference->setPlainText(c.box);
    ExpectSameBox(source(), reference, c.what);
  }
  EXPECT_TRUE(fake->errors.empty());
}

TEST_F(FilledBox, ProcessDropsTheEditsMadeInTheOutputBox) {
  Process(OneLine(20000));
  // The teacher types into the output box and could undo it.
  output()->moveCursor(QTextCursor::End);
  output()->insertPlainText(QStringLiteral(" A line of my own."));
  ASSERT_TRUE(output()->document()->isUndoAvailable());
  ASSERT_TRUE(output()->document()->isModified());

  Process(OneLine(20000));
  TestWorkspace workspace;
  EXPECT_EQ(BoxText(output()), ToBoxText(GenerateTest(FromBoxText(OneLine(20000)), workspace)));
  EXPECT_FALSE(output()->document()->isUndoAvailable());
  EXPECT_FALSE(output()->document()->isModified());
  output()->undo();  // nothing to undo: the test stays
  EXPECT_EQ(BoxText(output()), ToBoxText(GenerateTest(FromBoxText(OneLine(20000)), workspace)));
}

}  // namespace
}  // namespace brenvik::test
