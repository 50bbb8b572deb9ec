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

class InfoPage : public VazozaPage {
  Q_OBJECT
 public:
  enum Row { rowHSB, rowRGB, rowCMY, rowCMYK, rowGray, kRows };

  InfoPage(VazozaPageHost& host, QWidget* parent = nullptr);

  QString TabCaption() const override { return QStringLiteral("Info"); }
  TColorVector GetPageColor() const override;
  void ShowColor(const TColorVector& rgb) override;
  void RefreshInfo() override { UpdateInfo(); }

  // Rewrites the five value texts from the current-colour swatch; the Gray
  // row is shown only for a gray.
  void UpdateInfo();
  // One row of values in the format the options select.
  QString FormatValues(const std::vector<std::string>& names, const std::vector<double>& values) const;
  InfoFormat Format() const;

  QLabel* valueText(Row row) const { return values_[row]; }
  QToolButton* copyButton(Row row) const { return copy_[row]; }

 private:
  // "Value &names" is only offered while a separator is chosen.
  void ApplyFormatRule();
  void FormatOptionChanged();
  void CopyRow(Row row);

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
