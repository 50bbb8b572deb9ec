// The worksheet as a real PDF, read back with poppler's tools: the text
// layer holds the title, the test with its gaps and, from a new page on, the
// key in gap order; no answer is on the test pages; every font is embedded.

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QLocale>
#include <QPdfWriter>
#include <QPrinter>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <string>
#include <vector>

#include "../../faults/CliRun.h"
#include "core/ctest/TestGen.h"
#include "core/page/PageTest.h"
#include "core/page/Worksheet.h"
#include "core/text/Errors.h"
#include "core/text/Text.h"
#include "ui/print/WorksheetPrint.h"

namespace brenvik {
namespace {

using test::RunProgram;
using test::TempFolder;

// One paragraph per script, each long enough to have gaps.
const Text kScripts =
    U"Premi\u00E8re phrase du texte.\r\n"
    U"Le gar\u00E7on ach\u00E8te des \u0153ufs tr\u00E8s frais \u00E0 No\u00EBl.\r\n"
    U"Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 ja\u017A\u0144, \u017Ad\u017Ab\u0142o trawy i "
    U"\u0142\u00F3d\u017A.\r\n"
    U"\u041F\u0440\u0438\u0432\u0435\u0442, \u044D\u0442\u043E \u043F\u0440\u043E\u0441\u0442\u043E\u0439 "
    U"\u0442\u0435\u043A\u0441\u0442 \u0434\u043B\u044F \u043F\u0440\u043E\u0432\u0435\u0440\u043A\u0438.\r\n"
    U"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1, \u03B1\u03C5\u03C4\u03CC \u03B5\u03AF\u03BD\u03B1\u03B9 "
    U"\u03AD\u03BD\u03B1 \u03B1\u03C0\u03BB\u03CC \u03BA\u03B5\u03AF\u03BC\u03B5\u03BD\u03BF.\r\n"
    U"\u05E9\u05DC\u05D5\u05DD, \u05D6\u05D4\u05D5 \u05DE\u05D1\u05D7\u05DF \u05E7\u05E6\u05E8 "
    U"\u05DE\u05D0\u05D5\u05D3 \u05D5\u05E4\u05E9\u05D5\u05D8 \u05DC\u05EA\u05DC\u05DE\u05D9\u05D3\u05D9\u05DD.";

const QDateTime kTime = QDateTime(QDate(2024, 5, 17), QTime(9, 30, 0), Qt::UTC);

// What a reader compares: no white space (the spaces between a gap's
// underscores included), no bidirectional controls (poppler wraps
// right-to-left runs in embedding marks).
Text Squeeze(TextView s) {
  Text out;
  for (char32_t c : s) {
    if (c <= U' ' || c == U'\u00A0' || (c >= U'\u2000' && c <= U'\u200F') || (c >= U'\u202A' && c <= U'\u202E') ||
        (c >= U'\u2066' && c <= U'\u2069')) {
      continue;
    }
    out += c;
  }
  return out;
}

bool IsRightToLeft(char32_t c) { return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF); }

bool HasRightToLeft(TextView s) {
  for (char32_t c : s) {
    if (IsRightToLeft(c)) return true;
  }
  return false;
}

// Text extraction gives right-to-left lines in visual order, so such lines
// are compared as sorted characters; the others in order.
struct Split {
  Text leftToRight;   // the squeezed left-to-right lines, in order
  Text rightToLeft;   // the squeezed characters of right-to-left lines, sorted
};

Split SplitLines(TextView text) {
  Split out;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(U"\r\n\f", start);
    if (end == TextView::npos) end = text.size();
    const TextView line = text.substr(start, end - start);
    if (HasRightToLeft(line)) {
      out.rightToLeft += Squeeze(line);
    } else {
      out.leftToRight += Squeeze(line);
    }
    start = end + 1;
  }
  std::sort(out.rightToLeft.begin(), out.rightToLeft.end());
  return out;
}

class PrintedSheet : public ::testing::Test {
 protected:
  Worksheet sheet(TextView source, TextView title = U"Reading \u2013 Unit 3") {
    TestWorkspace w;
    GenerateTest(source, w);
    ExportSettings settings;
    settings.Title = Text(title);
    return BuildWorksheet(w, settings);
  }

  // The PDF written to a file in the temporary folder.
  std::string write(const Worksheet& s, QPageSize::PageSizeId paper = QPageSize::A4) {
    const QPageLayout layout(QPageSize(paper), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                             QPageLayout::Millimeter);
    const std::string path = dir_ / "sheet.pdf";
    test::WriteFile(path, WorksheetPdf(s, layout, kTime));
    return path;
  }

  // pdftotext of the pages first..last, each page's "n / m" footer left out
  // (checked to be there).
  Text pages(const std::string& pdf, int first, int last) {
    const test::CliResult r = RunProgram("pdftotext", {"-enc", "UTF-8", "-f", std::to_string(first), "-l",
                                                       std::to_string(last), pdf, "-"},
                                         dir_.path());
    EXPECT_EQ(r.status, 0) << r.err;
    const Text all = FromUtf8(r.out);
    Text kept;
    int footers = 0;
    std::size_t start = 0;
    while (start < all.size()) {
      std::size_t end = all.find_first_of(U"\n\f", start);
      if (end == Text::npos) end = all.size();
      const Text line = all.substr(start, end - start);
      const Text footer = ToText(first + footers) + U"/";
      const Text squeezed = Squeeze(line);
      if (squeezed.rfind(footer, 0) == 0 && squeezed.size() > footer.size() &&
          squeezed.find_first_not_of(U"0123456789", footer.size()) == Text::npos) {
        ++footers;
      } else {
        kept += line;
        kept += U'\n';
      }
      start = end + 1;
    }
    EXPECT_EQ(footers, last - first + 1) << "a page without its number";
    return kept;
  }

  // The text of one page as pdftohtml reads it, squeezed, with its bold
  // runs as <b>..</b> and every other tag and the page's number left out.
  Text BoldText(const std::string& pdf, int page) {
    const test::CliResult r = RunProgram(
        "pdftohtml", {"-xml", "-i", "-stdout", "-q", "-f", std::to_string(page), "-l", std::to_string(page), pdf},
        dir_.path());
    EXPECT_EQ(r.status, 0) << r.err;
    Text out;
    std::size_t at = 0;
    const std::string& xml = r.out;
    // Each <text ...>...</text> element is a run of one line.
    while ((at = xml.find("<text ", at)) != std::string::npos) {
      const std::size_t open = xml.find('>', at) + 1;
      const std::size_t close = xml.find("</text>", open);
      if (close == std::string::npos) break;
      std::string run = xml.substr(open, close - open);
      at = close;
      // Only <b> and </b> are kept; references are decoded.
      std::string kept;
      for (std::size_t i = 0; i < run.size(); ++i) {
        if (run[i] == '<') {
          const std::size_t end = run.find('>', i);
          const std::string tag = run.substr(i, end - i + 1);
          if (tag == "<b>" || tag == "</b>") kept += tag;
          i = end;
        } else if (run.compare(i, 5, "&amp;") == 0) {
          kept += '&';
          i += 4;
        } else {
          kept += run[i];
        }
      }
      const Text squeezed = Squeeze(FromUtf8(kept));
      // The page's number at its foot.
      const std::size_t slash = squeezed.find(U'/');
      if (slash > 0 && slash + 1 < squeezed.size() && squeezed.find_first_not_of(U"0123456789/") == Text::npos) {
        continue;
      }
      out += squeezed;
    }
    // A bold run of nothing but a bidirectional control (the end of a word's
    // isolate) is nothing a reader sees.
    for (std::size_t j; (j = out.find(U"<b></b>")) != Text::npos;) out.erase(j, 7);
    return out;
  }

  int pageCount(const std::string& pdf) {
    const test::CliResult r = RunProgram("pdfinfo", {pdf}, dir_.path());
    const std::size_t at = r.out.find("Pages:");
    if (at == std::string::npos) return 0;
    return std::stoi(r.out.substr(at + 6));
  }

  TempFolder dir_;
};

TEST_F(PrintedSheet, TestPageHoldsTheTestAndNoAnswerAndTheKeyFollowsInOrder) {
  const Worksheet s = sheet(kScripts);
  const std::string pdf = write(s);
  ASSERT_EQ(pageCount(pdf), 2);
  // Everything on the test page, in order, and nothing else: so no answer.
  const Split want = SplitLines(s.Title + U"\n" + s.NameLabel + Text(34, U'_') + s.DateLabel + Text(16, U'_') +
                                U"\n" + s.Instruction + U"\n" + WorksheetTestText(s));
  const Split got = SplitLines(pages(pdf, 1, 1));
  EXPECT_EQ(ToUtf8(got.leftToRight), ToUtf8(want.leftToRight));
  EXPECT_FALSE(want.rightToLeft.empty());
  EXPECT_EQ(ToUtf8(got.rightToLeft), ToUtf8(want.rightToLeft));

  // The key on its own page: "n." and the whole word, in gap order.
  const Text key = Squeeze(pages(pdf, 2, 2));
  ASSERT_EQ(key.rfind(U"Answerkey", 0), 0u) << ToUtf8(key);
  std::size_t from = 0;
  for (const WorksheetKeyEntry& e : s.Key) {
    const Text number = ToText(static_cast<long long>(e.Number)) + U".";
    const Text word = e.Kept + e.Answer;
    if (HasRightToLeft(word)) {
      // Right-to-left words come out in visual order around their numbers.
      EXPECT_NE(key.find(word), Text::npos) << e.Number;
      EXPECT_NE(key.find(number), Text::npos) << e.Number;
      continue;
    }
    const std::size_t at = key.find(Squeeze(number + word), from);
    EXPECT_NE(at, Text::npos) << "entry " << e.Number << " after " << from << " in " << ToUtf8(key);
    if (at != Text::npos) from = at + number.size() + word.size();
  }
}

TEST_F(PrintedSheet, EveryFontIsEmbedded) {
  const std::string pdf = write(sheet(kScripts));
  const test::CliResult r = RunProgram("pdffonts", {pdf}, dir_.path());
  ASSERT_EQ(r.status, 0) << r.err;
  // name type encoding emb sub uni object ID; two heading lines.
  std::vector<std::string> rows;
  std::size_t start = 0;
  for (std::size_t end = r.out.find('\n'); end != std::string::npos; end = r.out.find('\n', start)) {
    rows.push_back(r.out.substr(start, end - start));
    start = end + 1;
  }
  ASSERT_GT(rows.size(), 2u) << r.out;
  const std::size_t emb = rows[0].find("emb");
  ASSERT_NE(emb, std::string::npos);
  for (std::size_t i = 2; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].substr(emb, 3), "yes") << rows[i];
  }
  EXPECT_NE(r.out.find("DejaVuSans"), std::string::npos) << r.out;
}

// The sheet's fonts have a glyph for every character of every script
// listed: laid out as the sheet lays it out, no character falls to a
// missing-glyph box (glyph 0), and the Western scripts stay in DejaVu Sans.
TEST_F(PrintedSheet, FontCoversEveryScriptListed) {
  QFont font(WorksheetFontFamily());
  const QRawFont raw = QRawFont::fromFont(font);
  ASSERT_TRUE(raw.isValid());
  EXPECT_EQ(raw.familyName(), WorksheetFontFamily());
  for (char32_t c : kScripts) {
    if (c < U' ') continue;
    EXPECT_TRUE(raw.supportsCharacter(static_cast<uint>(c))) << "U+" << std::hex << static_cast<unsigned>(c);
  }
  struct Case {
    const char* language;
    Text text;
    const char* face;  // the face of the script's letters
  };
  const Case cases[] = {
      {"Western", kScripts, "DejaVu Sans"},
      {"Hindi", U"आज सुबह मौसम बहुत सुहावना था। मैं अपने दोस्तों के साथ गया।", "Noto Sans Devanagari"},
      {"Bengali", U"আমাদের গ্রামের পাশে একটি ছোট নদী আছে।", "Noto Sans Bengali"},
      {"Tamil", U"சென்னை தமிழ்நாட்டின் தலைநகரம் ஆகும்.", "Noto Sans Tamil"},
      {"Thai", U"ตลาดน้ำดำเนินสะดวกอยู่ไม่ไกลจากกรุงเทพ", "Noto Sans Thai"},
      {"Chinese", U"我们今天去公园玩。天气很好，阳光明媚。", "Noto Sans CJK SC"},
      {"Japanese", U"昨日は友達と一緒に京都へ行きました。", "Noto Sans CJK JP"},
      {"Korean", U"서울은 한국의 수도입니다. 봄이 되면 벚꽃이 핍니다.", "Noto Sans CJK KR"},
      {"Amharic", U"አዲስ አበባ የኢትዮጵያ ዋና ከተማ ናት።", "Noto Sans Ethiopic"},
      {"Armenian", U"Երևանը Հայաստանի մայրաքաղաքն է։", "DejaVu Sans"},
      {"Georgian", U"თბილისი საქართველოს დედაქალაქია.", "DejaVu Sans"},
      {"Arabic", U"القاهرة هي عاصمة مصر وأكبر مدنها.", "DejaVu Sans"},
      {"Hebrew", U"ירושלים היא עיר עתיקה מאוד.", "DejaVu Sans"},
      {"Vietnamese", U"Hà Nội là thủ đô của Việt Nam. Mùa thu rất đẹp.", "DejaVu Sans"},
      {"Yoruba", U"Ọ̀pọ̀lọpọ̀ ènìyàn ń gbé ní ìlú náà.", "DejaVu Sans"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    Worksheet s;
    s.Test.push_back({WorksheetPiece::Kind::Plain, c.text, 0, 0});
    QFont sheetFont;
    sheetFont.setFamilies(WorksheetFontFamilies(s));
    sheetFont.setPointSize(12);
    QTextLayout layout(QString::fromStdString(ToUtf8(c.text)), sheetFont);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) line.setLineWidth(400);
    layout.endLayout();
    QStringList faces;
    for (const QGlyphRun& run : layout.glyphRuns()) {
      // A run in no installed font is drawn by Qt's box engine, which has
      // no character map (and no name to ask for).
      ASSERT_FALSE(run.rawFont().fontTable("cmap").isEmpty()) << "a run drawn as boxes";
      faces << run.rawFont().familyName();
      for (quint32 glyph : run.glyphIndexes()) EXPECT_NE(glyph, 0u) << faces.back().toStdString();
    }
    EXPECT_TRUE(faces.contains(QString::fromLatin1(c.face))) << faces.join(u',').toStdString();
  }
}

TEST_F(PrintedSheet, LongTextRunsOverPagesAndTheKeyStillStartsAfresh) {
  Text source = U"Long text here.";
  for (int i = 0; i < 120; ++i) source += U" Wonderful gardens bloom quietly\r\nunder morning sunlight today.";
  const Worksheet s = sheet(source);
  const std::string pdf = write(s, QPageSize::Letter);
  QPdfWriter writer(QString::fromStdString(dir_ / "count.pdf"));
  writer.setPageLayout(WorksheetPageLayout(QLocale(QLocale::English, QLocale::UnitedStates)));
  const PaintedWorksheet painted = PaintWorksheet(s, writer);
  EXPECT_GT(painted.FirstKeyPage, 2);
  EXPECT_GT(painted.Pages, painted.FirstKeyPage);
  EXPECT_EQ(pageCount(pdf), painted.Pages);
  const Text keyPage = Squeeze(pages(pdf, painted.FirstKeyPage, painted.FirstKeyPage));
  EXPECT_EQ(keyPage.rfind(U"Answerkey1.", 0), 0u) << ToUtf8(keyPage.substr(0, 80));
  const Text testPages = Squeeze(pages(pdf, 1, painted.FirstKeyPage - 1));
  EXPECT_EQ(testPages.find(U"Answerkey"), Text::npos);
  EXPECT_EQ(testPages.size(), Squeeze(s.Title + s.NameLabel + Text(34, U'_') + s.DateLabel + Text(16, U'_') +
                                      s.Instruction + WorksheetTestText(s))
                                  .size());
  const test::CliResult info = RunProgram("pdfinfo", {pdf}, dir_.path());
  EXPECT_NE(info.out.find("612 x 792 pts (letter)"), std::string::npos) << info.out;
}

TEST_F(PrintedSheet, SameSheetAndDateGiveTheSameBytes) {
  const Worksheet s = sheet(kScripts);
  const QPageLayout layout = WorksheetPageLayout(QLocale(QLocale::German, QLocale::Germany));
  const std::string a = WorksheetPdf(s, layout, kTime);
  EXPECT_EQ(WorksheetPdf(s, layout, kTime), a);
  const std::string later = WorksheetPdf(s, layout, kTime.addSecs(3600 * 24 * 400 + 61));
  ASSERT_EQ(later.size(), a.size());
  EXPECT_NE(later, a);
  EXPECT_NE(a.find("/Title"), std::string::npos);
  test::WriteFile(dir_ / "d.pdf", a);
  const test::CliResult info = RunProgram("pdfinfo", {dir_ / "d.pdf"}, dir_.path(), "", {{"TZ", "UTC"}});
  EXPECT_NE(info.out.find("2024"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("595 x 842 pts (A4)"), std::string::npos) << info.out;
}

// Print... paints with the same code onto the printer the print dialog set
// up; a printer printing to a PDF file shows what it was given.
TEST_F(PrintedSheet, ThePrinterGetsTheSamePages) {
  const Worksheet s = sheet(kScripts);
  const std::string path = dir_ / "printed.pdf";
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setPageLayout(WorksheetPageLayout(QLocale(QLocale::English, QLocale::UnitedStates)));
    const PaintedWorksheet painted = PaintWorksheet(s, printer);
    EXPECT_EQ(painted.Pages, 2);
    EXPECT_EQ(painted.FirstKeyPage, 2);
  }
  EXPECT_EQ(pageCount(path), 2);
  const Split want = SplitLines(s.Title + U"\n" + s.NameLabel + Text(34, U'_') + s.DateLabel + Text(16, U'_') +
                                U"\n" + s.Instruction + U"\n" + WorksheetTestText(s));
  EXPECT_EQ(ToUtf8(SplitLines(pages(path, 1, 1)).leftToRight), ToUtf8(want.leftToRight));
  EXPECT_EQ(Squeeze(pages(path, 2, 2)).rfind(U"Answerkey1.", 0), 0u);
}

// A device that cannot be painted on gives no pages, not a crash.
TEST_F(PrintedSheet, PrinterThatCannotOpenGivesNoPages) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(dir_ / "no/such/folder/out.pdf"));
  EXPECT_EQ(PaintWorksheet(sheet(kScripts), printer).Pages, 0);
}

// The key read back with its bold runs (pdftohtml's XML keeps <b>): per
// text its title, then "n." and the word with the deleted part in bold, and
// each further answer after a slash the same way. The test pages hold each
// text under its title, in order, and no answer.
TEST_F(PrintedSheet, KeyListsFurtherAnswersPerText) {
  TestWorkspace cat;
  TestWorkspace saw;
  GenerateTest(U"This is a test. The cat sat on the mat.", cat);
  GenerateTest(U"Hi. We saw a cat.", saw);
  const std::vector<std::vector<Text>> catMore = {{U"ox"}, {}, {}};
  const std::vector<std::vector<Text>> sawMore = {{U"ew", U"ix"}, {}};
  struct Case {
    const char* name;
    std::vector<page::PageText> texts;
    const char* testPage;  // squeezed, after the instruction
    const char* key;       // squeezed, bold runs as <b>..</b>
  };
  const Case cases[] = {
      {"one plain text", {{U"Cats", &cat, nullptr}}, "Thisisatest.Thec__sato_them__.",
       "<b>Answerkey</b>1.c<b>at</b>\u00B72.o<b>n</b>\u00B73.m<b>at</b>"},
      {"one text, further answers", {{U"Cats", &cat, &catMore}}, "Thisisatest.Thec__sato_them__.",
       "<b>Answerkey</b>1.c<b>at</b>/c<b>ox</b>\u00B72.o<b>n</b>\u00B73.m<b>at</b>"},
      {"two texts", {{U"Cats", &cat, &catMore}, {U"Saws", &saw, &sawMore}},
       "CatsThisisatest.Thec__sato_them__.SawsHi.Wes__ac__.",
       "<b>Answerkey</b><b>Cats</b>1.c<b>at</b>/c<b>ox</b>\u00B72.o<b>n</b>\u00B73.m<b>at</b>"
       "<b>Saws</b>4.s<b>aw</b>/s<b>ew</b>/s<b>ix</b>\u00B75.c<b>at</b>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    page::PageTest test;
    test.Texts = c.texts;
    const Worksheet s = BuildWorksheet(test, {});
    const std::string pdf = write(s);
    ASSERT_EQ(pageCount(pdf), 2);
    // The test page: the texts after the instruction, and no answer.
    const Text testPage = Squeeze(pages(pdf, 1, 1));
    const std::size_t at = testPage.find(Squeeze(s.Instruction) + FromUtf8(c.testPage));
    EXPECT_NE(at, Text::npos) << ToUtf8(testPage);
    for (TextView answer : {U"cox", U"sew", U"six"}) EXPECT_EQ(testPage.find(answer), Text::npos);
    EXPECT_EQ(ToUtf8(BoldText(pdf, 2)), c.key);
    // Latin text needs no font but the sheet's own: nothing invisible pulls
    // in a fallback font.
    const test::CliResult fonts = RunProgram("pdffonts", {pdf}, dir_.path());
    EXPECT_EQ(fonts.out.find("Noto"), std::string::npos) << fonts.out;
  }
}

// A text's title is never the last line of a page: whatever the length of
// the text before it, the title goes onto the page of its text's first line.
TEST_F(PrintedSheet, TitleStaysWithItsText) {
  TestWorkspace second;
  GenerateTest(U"Hi. We saw a cat.", second);
  bool crossed = false;  // some length put the title at the top of a page
  for (int lines = 10; lines <= 24; ++lines) {
    SCOPED_TRACE(lines);
    Text source = U"First line here.";
    for (int i = 0; i < lines; ++i) source += U"\r\nWonderful gardens bloom";
    TestWorkspace first;
    GenerateTest(source, first);
    page::PageTest test;
    test.Texts = {{U"Gardens", &first, nullptr}, {U"Zebrawren", &second, nullptr}};
    const Worksheet sheet = BuildWorksheet(test, {});
    const std::string pdf = write(sheet);
    const int count = pageCount(pdf);
    int found = 0;
    for (int p = 1; p < count; ++p) {  // the last page is the key's
      const Text page = Squeeze(pages(pdf, p, p));
      const std::size_t title = page.find(U"Zebrawren");
      if (title == Text::npos) continue;
      ++found;
      EXPECT_EQ(page.find(U"ZebrawrenHi.Wes__"), title) << ToUtf8(page);
      crossed = crossed || (p > 1 && title == 0);
    }
    EXPECT_EQ(found, 1);
  }
  EXPECT_TRUE(crossed);
}

TEST(WorksheetPaper, LetterWhereTheLocaleUsesIt) {
  struct Case {
    QLocale locale;
    QPageSize::PageSizeId paper;
  };
  const Case cases[] = {
      {QLocale(QLocale::English, QLocale::UnitedStates), QPageSize::Letter},
      {QLocale(QLocale::French, QLocale::Canada), QPageSize::Letter},
      {QLocale(QLocale::Spanish, QLocale::Mexico), QPageSize::Letter},
      {QLocale(QLocale::Filipino, QLocale::Philippines), QPageSize::Letter},
      {QLocale(QLocale::English, QLocale::UnitedKingdom), QPageSize::A4},
      {QLocale(QLocale::German, QLocale::Germany), QPageSize::A4},
      {QLocale(QLocale::Polish, QLocale::Poland), QPageSize::A4},
      {QLocale(QLocale::Hebrew, QLocale::Israel), QPageSize::A4},
      {QLocale(QLocale::English, QLocale::Australia), QPageSize::A4},
      {QLocale::c(), QPageSize::A4},
  };
  for (const Case& c : cases) EXPECT_EQ(WorksheetPaper(c.locale), c.paper) << c.locale.name().toStdString();
}

// The print dialog's "Pages from ... to": only those pages, each keeping its
// number of the whole sheet; a range past the last page is an error, not a
// blank sheet of paper.
TEST_F(PrintedSheet, PageRangePrintsOnlyThosePages) {
  const Worksheet s = sheet(kScripts);
  const QPageLayout layout = WorksheetPageLayout(QLocale(QLocale::German, QLocale::Germany));
  const Text title = Squeeze(s.Title);
  struct Case {
    int from, to;
    std::vector<const char*> footers;  // as pdftotext shows them, squeezed
    bool test, key;
  };
  const Case cases[] = {
      {0, 0, {"1/2", "2/2"}, true, true}, {1, 1, {"1/2"}, true, false}, {0, 1, {"1/2"}, true, false},
      {2, 0, {"2/2"}, false, true},       {2, 2, {"2/2"}, false, true}, {1, 9, {"1/2", "2/2"}, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + ".." + std::to_string(c.to));
    const std::string path = dir_ / "range.pdf";
    test::WriteFile(path, WorksheetPdf(s, layout, kTime, c.from, c.to));
    EXPECT_EQ(pageCount(path), static_cast<int>(c.footers.size()));
    const test::CliResult r = RunProgram("pdftotext", {"-enc", "UTF-8", path, "-"}, dir_.path());
    const Text text = Squeeze(FromUtf8(r.out));
    EXPECT_EQ(text.find(title) != Text::npos, c.test) << ToUtf8(text);
    EXPECT_EQ(text.find(U"Answerkey") != Text::npos, c.key) << ToUtf8(text);
    for (const char* footer : c.footers) EXPECT_NE(text.find(FromUtf8(footer)), Text::npos) << footer;
  }
  try {
    WorksheetPdf(s, layout, kTime, 3, 0);
    ADD_FAILURE() << "a range after the last page was painted";
  } catch (const BrenvikError& e) {
    EXPECT_NE(std::string(e.what()).find("2 pages"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace brenvik
