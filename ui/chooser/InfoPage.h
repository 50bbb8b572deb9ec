#pragma once
// Info page of the colour chooser: the current colour in every model as
// text, each row with a button that copies it to the clipboard.

#include "core/colour/InfoFormat.h"
#include "ui/chooser/ChooserPage.h"

class QCheckBox;
class QLabel;
class QRadioButton;
class QToolButton;

namespace brenvik {

class InfoPage : public ChooserPage {
  Q_OBJECT
 public:
  enum Row { rowHSB, rowRGB, rowCMY, rowCMYK, rowGray, kRows };

  InfoPage(ChooserPageHost& host, QWidget* parent = nullptr);

  QString tabCaption() const override { return QStringLiteral("Info"); }
  ColourVector pageColour() const override;
  void showColour(const ColourVector& rgb) override;
  void refreshInfo() override { updateInfo(); }

  // Rewrites the five value texts from the current-colour swatch; the Gray
  // row is shown only for a gray.
  void updateInfo();
  // One row of values in the format the options select.
  QString formatRow(const std::vector<std::string>& names, const std::vector<double>& values) const;
  InfoFormat infoFormat() const;

  QLabel* valueText(Row row) const { return values_[row]; }
  QToolButton* copyButton(Row row) const { return copy_[row]; }

 private:
  // "Value &names" is only offered while a separator is chosen.
  void applyFormatRule();
  void formatOptionChanged();
  void copyRow(Row row);

  QRadioButton* decimal_;
  QRadioButton* hexadecimal_;
  QCheckBox* space_;
  QCheckBox* comma_;
  QCheckBox* names_;
  QLabel* titles_[kRows];
  QLabel* values_[kRows];
  QToolButton* copy_[kRows];
};

}  // namespace brenvik
