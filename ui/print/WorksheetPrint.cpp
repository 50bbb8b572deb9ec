#include "ui/print/WorksheetPrint.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <vector>

#include "core/text/Errors.h"
#include "ui/platform/QtText.h"

namespace brenvik {
namespace {

constexpr qreal kBodyPoints = 12;
constexpr qreal kTitlePoints = 18;
constexpr qreal kHeadingPoints = 15;
constexpr qreal kTextTitlePoints = 13;
constexpr qreal kSmallPoints = 10;
constexpr double kMarginMillimetres = 20;

QFont SheetFont(const QStringList& families, qreal points, bool bold = false) {
  QFont font;
  font.setFamilies(families);
  font.setStyleHint(QFont::SansSerif);
  // Paper needs no hinting for a screen's pixel grid; unhinted glyphs are
  // also quicker to lay out.
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

QTextCharFormat CharFormat(const QFont& font) {
  QTextCharFormat f;
  f.setFont(font);
  f.setForeground(Qt::black);
  return f;
}

// A gap: one "_" per missing letter, the underscores set apart by figure
// spaces (no-break spaces about as wide as a digit), so that each cell is
// about as wide as a handwritten letter: the pupil sees how many letters are
// missing and has room to write them. Spaces between the underscores look
// the same whichever way the line runs, and the gap stays one run of text in
// the word's own format, which keeps the layout of a long text quick.
QString GapText(std::size_t length) {
  QString gap;
  gap.reserve(static_cast<qsizetype>(length * 2));
  for (std::size_t i = 0; i < length; ++i) {
    if (i > 0) gap += QChar(0x2007);
    gap += QLatin1Char('_');
  }
  return gap;
}

QTextBlockFormat Paragraph(Qt::Alignment align, qreal before, qreal after, qreal lineHeightPercent = 100) {
  QTextBlockFormat f;
  f.setAlignment(align);
  f.setTopMargin(before);
  f.setBottomMargin(after);
  f.setLayoutDirection(Qt::LayoutDirectionAuto);
  if (lineHeightPercent != 100) f.setLineHeight(lineHeightPercent, QTextBlockFormat::ProportionalHeight);
  return f;
}

// Points to the units of paragraph spacing, which QTextDocument takes as
// pixels at 96 dots per inch and scales to the device itself.
qreal Px(qreal points) { return points * 96.0 / 72.0; }

// A block whose last line stays on the page of the next block's first line:
// a title is not left alone at the foot of a page.
constexpr int kKeepWithNext = 1;

// A text's title over its test or its key entries, on a sheet of several.
void WriteTextTitle(QTextCursor& cursor, const WorksheetSection& section, const QStringList& families,
                    bool first) {
  cursor.insertBlock(Paragraph(Qt::AlignLeading, first ? 0 : Px(14), Px(4)), QTextCharFormat());
  cursor.insertText(ToQString(section.Title), CharFormat(SheetFont(families, kTextTitlePoints, true)));
  cursor.block().setUserState(kKeepWithNext);
}

void WriteTest(QTextCursor& cursor, const Worksheet& sheet, const QStringList& families,
               const QTextBlockFormat& paragraph) {
  const QTextCharFormat text = CharFormat(SheetFont(families, kBodyPoints));
  if (sheet.Sections.empty()) cursor.insertBlock(paragraph, text);
  std::size_t section = 0;
  for (std::size_t i = 0; i < sheet.Test.size(); ++i) {
    // Each text of several starts under its title, in a paragraph of its own.
    while (section < sheet.Sections.size() && sheet.Sections[section].FirstPiece == i) {
      WriteTextTitle(cursor, sheet.Sections[section], families, section == 0);
      cursor.insertBlock(paragraph, text);
      ++section;
    }
    const WorksheetPiece& p = sheet.Test[i];
    switch (p.PieceKind) {
      case WorksheetPiece::Kind::Plain: cursor.insertText(ToQString(p.Characters), text); break;
      case WorksheetPiece::Kind::Gap:
        cursor.insertText(GapText(p.Length), text);
        break;
      case WorksheetPiece::Kind::LineBreak: cursor.insertBlock(paragraph, text); break;
    }
  }
}

bool IsRightToLeft(char32_t c) {
  const QChar::Direction d = QChar::direction(c);
  return d == QChar::DirR || d == QChar::DirAL;
}

// Whether any word of the key holds a right-to-left letter.
bool HasRightToLeft(const Worksheet& sheet) {
  auto any = [](const Text& s) { return std::any_of(s.begin(), s.end(), IsRightToLeft); };
  for (const WorksheetKeyEntry& e : sheet.Key) {
    if (any(e.Kept) || any(e.Answer) || std::any_of(e.Accepted.begin(), e.Accepted.end(), any)) return true;
  }
  return false;
}

// The key as one flowing paragraph per text, read in gap order: "n." and
// the whole word, the answer in bold and underlined, then each further
// right answer the same way after a slash ("1. then / them"), entries kept
// whole on a line and set apart by a middle dot. (A grid would align
// better, but PDF readers and text extraction read a grid, or words set far
// apart, column by column; a paragraph reads in order.) On a sheet of
// several texts each text's entries follow its title.
void WriteKey(QTextCursor& cursor, const Worksheet& sheet, const QStringList& families) {
  const QTextCharFormat number = CharFormat(SheetFont(families, kSmallPoints));
  const QTextCharFormat kept = CharFormat(SheetFont(families, kBodyPoints));
  QTextCharFormat answer = CharFormat(SheetFont(families, kBodyPoints, true));
  answer.setFontUnderline(true);
  const QTextBlockFormat paragraph = Paragraph(Qt::AlignLeading, 0, 0, 170);
  // A middle dot between entries, held to the entry before it, so that a
  // line never starts with one.
  const QString between = QStringLiteral("\u00A0\u00A0\u00B7  ");
  // In a key that holds right-to-left words each word is a bidirectional
  // isolate, so that neighbouring entries do not run together with the
  // numbers. A key without any has nothing to reorder and goes without:
  // the sheet's first font has no glyph for the isolate controls, and
  // looking for one loads every fallback font and embeds another, which
  // took a third of the time of a worksheet.
  const bool isolate = HasRightToLeft(sheet);
  const QString open = isolate ? QString(QChar(0x2068)) : QString();
  const QString close = isolate ? QString(QChar(0x2069)) : QString();
  auto word = [&](const Text& keptPart, const Text& answerPart) {
    cursor.insertText(open + ToQString(keptPart), kept);
    cursor.insertText(ToQString(answerPart) + close, answer);
  };
  std::size_t section = 0;
  bool first = true;
  if (sheet.Sections.empty()) cursor.insertBlock(paragraph);
  for (std::size_t i = 0; i < sheet.Key.size(); ++i) {
    while (section < sheet.Sections.size() && sheet.Sections[section].FirstEntry == i) {
      WriteTextTitle(cursor, sheet.Sections[section], families, section == 0);
      cursor.insertBlock(paragraph);
      first = true;
      ++section;
    }
    const WorksheetKeyEntry& e = sheet.Key[i];
    if (!first) cursor.insertText(between, number);
    first = false;
    // A no-break space keeps the number with its word.
    cursor.insertText(QString::number(e.Number) + QStringLiteral(".") + QChar(0x00A0), number);
    word(e.Kept, e.Answer);
    for (const Text& more : e.Accepted) {
      // No-break spaces keep the entry whole on its line.
      cursor.insertText(QStringLiteral("\u00A0/\u00A0"), kept);
      word(e.Kept, more);
    }
  }
}

// The document's defaults, before its content goes in.
void Prepare(QTextDocument& doc, const QStringList& families) {
  doc.setUndoRedoEnabled(false);
  doc.setDocumentMargin(0);
  doc.setDefaultFont(SheetFont(families, kBodyPoints));
  QTextOption option = doc.defaultTextOption();
  option.setTextDirection(Qt::LayoutDirectionAuto);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  doc.setDefaultTextOption(option);
}

// Lays the finished document out once for the device, as one long column
// of the page's width. (Laid out while the content goes in, each insertion
// would lay out the rest of the document again.)
void LayOut(QTextDocument& doc, QPagedPaintDevice& device, qreal width) {
  // The pages are drawn line by line: without its cache a block would be
  // itemized and shaped again for every line.
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    if (QTextLayout* layout = block.layout()) layout->setCacheEnabled(true);
  }
  doc.documentLayout()->setPaintDevice(&device);
  doc.setTextWidth(width);
  // The layout is lazy; asking for the size lays out every block.
  (void)doc.size();
}

// A line of text and where its block stands in the document.
struct PlacedLine {
  QTextLine line;
  QPointF blockOrigin;
};

struct Page {
  qreal top = 0;  // where the page starts in the document
  std::vector<PlacedLine> lines;
};

// Where the first line of the block after this one ends, or -1.
qreal NextFirstLineBottom(const QTextBlock& block) {
  const QTextBlock next = block.next();
  const QTextLayout* layout = next.isValid() ? next.layout() : nullptr;
  if (layout == nullptr || layout->lineCount() == 0) return -1;
  const QTextLine line = layout->lineAt(0);
  return layout->position().y() + line.y() + line.height();
}

// Cuts the laid-out document into pages line by line: a line that would
// cross the foot of the page starts the next one, so no line is cut in two
// or drawn on two pages; a title goes with the first line after it.
std::vector<Page> Paginate(const QTextDocument& doc, qreal pageHeight) {
  std::vector<Page> pages(1);
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    const QTextLayout* layout = block.layout();
    if (layout == nullptr) continue;
    const QPointF origin = layout->position();
    const bool keepWithNext = block.userState() == kKeepWithNext;
    for (int i = 0; i < layout->lineCount(); ++i) {
      const QTextLine line = layout->lineAt(i);
      const qreal top = origin.y() + line.y();
      qreal bottom = top + line.height();
      if (keepWithNext && i + 1 == layout->lineCount()) bottom = std::max(bottom, NextFirstLineBottom(block));
      if (bottom - pages.back().top > pageHeight && !pages.back().lines.empty()) pages.push_back({top, {}});
      pages.back().lines.push_back({line, origin});
    }
  }
  return pages;
}

// The test pages: title, name and date, instruction, the test.
void BuildTestPages(QTextDocument& doc, const Worksheet& sheet, const QStringList& families) {
  QTextCursor cursor(&doc);
  // One edit: otherwise every insertion lays its whole paragraph out again
  // to place the cursor, which grows with the square of a paragraph's length.
  cursor.beginEditBlock();
  cursor.setBlockFormat(Paragraph(Qt::AlignHCenter, 0, Px(14)));
  cursor.insertText(ToQString(sheet.Title), CharFormat(SheetFont(families, kTitlePoints, true)));

  const QTextCharFormat label = CharFormat(SheetFont(families, kBodyPoints));
  cursor.insertBlock(Paragraph(Qt::AlignLeft, 0, Px(18)), label);
  cursor.insertText(ToQString(sheet.NameLabel) + QStringLiteral(" ") + QString(34, QLatin1Char('_')) +
                        QStringLiteral("      ") + ToQString(sheet.DateLabel) + QStringLiteral(" ") +
                        QString(16, QLatin1Char('_')),
                    label);

  cursor.insertBlock(Paragraph(Qt::AlignLeading, 0, Px(10)), label);
  cursor.insertText(ToQString(sheet.Instruction), CharFormat(SheetFont(families, kBodyPoints, true)));

  WriteTest(cursor, sheet, families, Paragraph(Qt::AlignLeading, 0, 0, 200));
  cursor.endEditBlock();
}

// The key pages, which start on a page of their own.
void BuildKeyPages(QTextDocument& doc, const Worksheet& sheet, const QStringList& families) {
  QTextCursor cursor(&doc);
  cursor.beginEditBlock();  // as for the test pages
  cursor.setBlockFormat(Paragraph(Qt::AlignLeading, 0, Px(12)));
  cursor.insertText(ToQString(sheet.KeyHeading), CharFormat(SheetFont(families, kHeadingPoints, true)));
  WriteKey(cursor, sheet, families);
  cursor.endEditBlock();
}

// Paints the pages numbered from..to (1-based, inclusive) of the test pages
// followed by the key pages, each on its own sheet, with "n / m" at the
// foot. Returns how many it painted, or -1 when the device refused a page.
int PaintPages(QPainter& painter, QPagedPaintDevice& device, const std::vector<const Page*>& pages, int from, int to,
               const QRectF& area, qreal footer, const QStringList& families) {
  const QFont footerFont = SheetFont(families, kSmallPoints);
  const int total = static_cast<int>(pages.size());
  int painted = 0;
  for (int number = from; number <= to; ++number) {
    const Page& page = *pages[static_cast<std::size_t>(number - 1)];
    if (painted > 0 && !device.newPage()) return -1;
    painter.save();
    painter.translate(0, -page.top);
    painter.setPen(Qt::black);
    for (const PlacedLine& placed : page.lines) placed.line.draw(&painter, placed.blockOrigin);
    painter.restore();

    painter.setFont(footerFont);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, area.height() - footer * 0.8, area.width(), footer * 0.8),
                     Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("%1 / %2").arg(number).arg(total));
    ++painted;
  }
  return painted;
}

// Qt writes the time of writing as the creation date, in local time with
// its offset from UTC. The date is rewritten in place with the same offset,
// so the file keeps its length and every offset in its cross-reference table.
void SetCreationDate(QByteArray& pdf, const QDateTime& time) {
  static constexpr char kKey[] = "/CreationDate (D:";
  const qsizetype at = pdf.indexOf(kKey);
  if (at < 0) return;
  const qsizetype digits = at + static_cast<qsizetype>(sizeof kKey) - 1;
  if (digits + 15 > pdf.size()) return;
  for (qsizetype i = digits; i < digits + 14; ++i) {
    if (pdf[i] < '0' || pdf[i] > '9') return;
  }
  int offsetSeconds = 0;
  const char sign = pdf[digits + 14];
  if (sign == '+' || sign == '-') {
    if (digits + 21 > pdf.size()) return;
    const int hours = (pdf[digits + 15] - '0') * 10 + (pdf[digits + 16] - '0');
    const int minutes = (pdf[digits + 18] - '0') * 10 + (pdf[digits + 19] - '0');
    offsetSeconds = (hours * 60 + minutes) * 60 * (sign == '-' ? -1 : 1);
  } else if (sign != 'Z') {
    return;
  }
  const QByteArray stamp = time.toOffsetFromUtc(offsetSeconds).toString(QStringLiteral("yyyyMMddhhmmss")).toLatin1();
  if (stamp.size() != 14) return;
  pdf.replace(digits, 14, stamp);
}

}  // namespace

QPageSize::PageSizeId WorksheetPaper(const QLocale& locale) {
  static constexpr std::array kLetterTerritories = {
      QLocale::UnitedStates, QLocale::Canada,     QLocale::Mexico,     QLocale::Philippines,
      QLocale::Belize,       QLocale::Chile,      QLocale::Colombia,   QLocale::CostaRica,
      QLocale::ElSalvador,   QLocale::Guatemala,  QLocale::Nicaragua,  QLocale::Panama,
      QLocale::PuertoRico,   QLocale::Venezuela,
  };
  if (locale.measurementSystem() == QLocale::ImperialUSSystem) return QPageSize::Letter;
  const QLocale::Territory territory = locale.territory();
  for (QLocale::Territory t : kLetterTerritories) {
    if (t == territory) return QPageSize::Letter;
  }
  return QPageSize::A4;
}

QPageLayout WorksheetPageLayout(const QLocale& locale) {
  const QMarginsF margins(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres);
  return QPageLayout(QPageSize(WorksheetPaper(locale)), QPageLayout::Portrait, margins, QPageLayout::Millimeter);
}

QString WorksheetFontFamily() { return QStringLiteral("DejaVu Sans"); }

QStringList WorksheetFontFamilies(const Worksheet& sheet) {
  // Han characters look different in Japanese, Korean and Chinese; the
  // sheet's kana or hangul tell which it is, Simplified Chinese otherwise.
  QString cjk = QStringLiteral("Noto Sans CJK SC");
  bool kana = false;
  bool hangul = false;
  auto look = [&](TextView text) {
    for (char32_t c : text) {
      const QChar::Script script = QChar::script(c);
      kana = kana || script == QChar::Script_Hiragana || script == QChar::Script_Katakana;
      hangul = hangul || script == QChar::Script_Hangul;
    }
  };
  look(sheet.Title);
  for (const WorksheetPiece& p : sheet.Test) look(p.Characters);
  for (const WorksheetKeyEntry& e : sheet.Key) {
    look(e.Answer);
    for (const Text& more : e.Accepted) look(more);
  }
  for (const WorksheetSection& section : sheet.Sections) look(section.Title);
  if (kana) {
    cjk = QStringLiteral("Noto Sans CJK JP");
  } else if (hangul) {
    cjk = QStringLiteral("Noto Sans CJK KR");
  }
  QStringList families = {WorksheetFontFamily()};
  for (const char* family : {"Noto Sans Devanagari", "Noto Sans Bengali", "Noto Sans Gurmukhi",
                             "Noto Sans Gujarati", "Noto Sans Oriya", "Noto Sans Tamil", "Noto Sans Telugu",
                             "Noto Sans Kannada", "Noto Sans Malayalam", "Noto Sans Sinhala", "Noto Sans Thai",
                             "Noto Sans Lao", "Noto Sans Khmer", "Noto Sans Myanmar", "Noto Sans Ethiopic",
                             "Noto Sans Armenian", "Noto Sans Georgian", "Noto Sans Hebrew", "Noto Sans Arabic"}) {
    families << QString::fromLatin1(family);
  }
  families << cjk << QStringLiteral("Noto Sans");
  return families;
}

PaintedWorksheet PaintWorksheet(const Worksheet& sheet, QPagedPaintDevice& device, int fromPage, int toPage) {
  PaintedWorksheet result;
  const QRectF area(QPointF(0, 0), device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
  const qreal footer = 2 * kSmallPoints * device.logicalDpiY() / 72.0;  // device pixels
  if (area.width() <= 0 || area.height() <= footer * 2) return result;
  const qreal pageHeight = area.height() - footer;

  const QStringList families = WorksheetFontFamilies(sheet);
  QTextDocument test;
  Prepare(test, families);
  BuildTestPages(test, sheet, families);
  LayOut(test, device, area.width());
  QTextDocument key;
  Prepare(key, families);
  BuildKeyPages(key, sheet, families);
  LayOut(key, device, area.width());
  const std::vector<Page> testPages = Paginate(test, pageHeight);
  const std::vector<Page> keyPages = Paginate(key, pageHeight);
  std::vector<const Page*> pages;
  for (const Page& page : testPages) pages.push_back(&page);
  for (const Page& page : keyPages) pages.push_back(&page);
  const int total = static_cast<int>(pages.size());
  const int from = std::max(fromPage, 1);
  const int to = toPage > 0 ? std::min(toPage, total) : total;
  if (from > to) {
    throw BrenvikError("La feuille n'a que " + std::to_string(total) + " pages : il n'y a pas de page " +
                       std::to_string(from) + " à imprimer");
  }

  QPainter painter;
  if (!painter.begin(&device)) return result;
  const int painted = PaintPages(painter, device, pages, from, to, area, footer, families);
  if (!painter.end() || painted < 0) return result;
  result.Pages = total;
  result.PaintedPages = painted;
  result.FirstKeyPage = static_cast<int>(testPages.size()) + 1;
  return result;
}

std::string WorksheetPdf(const Worksheet& sheet, const QPageLayout& layout, const QDateTime& creationTime,
                         int fromPage, int toPage) {
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageLayout(layout);
    writer.setTitle(ToQString(sheet.Title));
    writer.setCreator(QStringLiteral("Brenvik"));
    if (PaintWorksheet(sheet, writer, fromPage, toPage).Pages == 0) throw BrenvikError("The worksheet could not be painted");
  }
  SetCreationDate(bytes, creationTime);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace brenvik
