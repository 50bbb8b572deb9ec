#include "ui/platform/QtPlatform.h"

#include "ui/platform/CommandGuard.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPalette>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QUrl>

#include "ui/platform/HelpViewer.h"

namespace brenvik {

namespace {

Platform* g_platform = nullptr;

QtPlatform& DefaultPlatform() {
  static QtPlatform instance;
  return instance;
}

bool RunFileDialog(QWidget* parent, FileDialogState& state, bool save) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilter(ToQtNameFilter(state.filter));
  // The dialog's own question would be about the name as typed, not about
  // the file the command writes (the name with its extension added):
  // Platform::runSaveDialog asks about that one. No default extension.
  if (save) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  const QFileInfo proposed(state.fileName);
  if (!state.fileName.isEmpty() && proposed.isAbsolute()) {
    dialog.setDirectory(proposed.absolutePath());
    dialog.selectFile(proposed.fileName());
  } else {
    dialog.setDirectory(state.initialDir);
    if (!state.fileName.isEmpty()) dialog.selectFile(state.fileName);
  }
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return false;
  if (state.mustExist && !QFileInfo(files.first()).isFile()) return false;
  state.fileName = QDir::toNativeSeparators(files.first());
  return true;
}

}  // namespace

Platform& platform() { return g_platform ? *g_platform : DefaultPlatform(); }
void SetPlatform(Platform* p) { g_platform = p; }

QFont ClassicSansFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  return font;
}

QString ToQtNameFilter(const QString& filter) {
  const qsizetype bar = filter.indexOf(QLatin1Char('|'));
  if (bar < 0) return filter;
  const QString description = filter.left(bar);
  const QString pattern = filter.mid(bar + 1);
  if (description.contains(QLatin1Char('(') + pattern + QLatin1Char(')'))) return description;
  return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

bool QtPlatform::runOpenDialog(QWidget* parent, FileDialogState& state) {
  return RunFileDialog(parent, state, false);
}

bool QtPlatform::runSaveFileDialog(QWidget* parent, FileDialogState& state) {
  return RunFileDialog(parent, state, true);
}

bool QtPlatform::askReplaceFile(QWidget* parent, const QString& path) {
  // The file dialog's own question, in the toolkit's words and language:
  // a warning, "Yes" and "No", No the default.
  const QString caption = QCoreApplication::translate("QFileDialog", "Save As");
  const QString text = QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
                           .arg(QDir::toNativeSeparators(path));
  return QMessageBox::warning(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

bool QtPlatform::askConfirmation(QWidget* /*parent*/, const QString& text) {
  // Centred on the screen, like the toolkit's confirmation box: no parent window.
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmation"), text);
  box.setWindowModality(Qt::ApplicationModal);
  QPushButton* yes = box.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

bool QtPlatform::askScormChoice(QWidget* parent, ScormChoice& choice) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("dlgScorm"));
  dialog.setWindowTitle(QStringLiteral("Export SCORM package"));
  auto* version = new QComboBox(&dialog);
  version->setObjectName(QStringLiteral("cmbScormVersion"));
  version->addItem(QStringLiteral("SCORM 1.2 (most platforms)"));
  version->addItem(QStringLiteral("SCORM 2004 4th edition"));
  version->setCurrentIndex(choice.version == ScormVersion::Scorm2004 ? 1 : 0);
  version->setAccessibleName(QStringLiteral("SCORM version"));
  auto* usePassMark = new QCheckBox(QStringLiteral("&Pass mark:"), &dialog);
  usePassMark->setObjectName(QStringLiteral("chkPassMark"));
  usePassMark->setChecked(choice.passMark.has_value());
  auto* passMark = new QSpinBox(&dialog);
  passMark->setObjectName(QStringLiteral("spnPassMark"));
  passMark->setRange(0, 100);
  passMark->setSuffix(QStringLiteral(" %"));
  passMark->setValue(static_cast<int>(choice.passMark.value_or(60)));
  passMark->setEnabled(usePassMark->isChecked());
  passMark->setAccessibleName(QStringLiteral("Pass mark in percent of right gaps"));
  QObject::connect(usePassMark, &QCheckBox::toggled, passMark, &QWidget::setEnabled);
  auto* note = new QLabel(QStringLiteral("Most platforms import SCORM 1.2; choose 2004 where yours asks for it.\n"
                                         "With a pass mark the platform records passed or failed, "
                                         "without one completed."),
                          &dialog);
  note->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* form = new QFormLayout;
  auto* versionLabel = new QLabel(QStringLiteral("&Version:"), &dialog);
  versionLabel->setBuddy(version);
  form->addRow(versionLabel, version);
  form->addRow(usePassMark, passMark);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(note);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return false;
  choice.version = version->currentIndex() == 1 ? ScormVersion::Scorm2004 : ScormVersion::Scorm12;
  choice.passMark.reset();
  if (usePassMark->isChecked()) choice.passMark = static_cast<unsigned>(passMark->value());
  return true;
}

SaveChoice QtPlatform::askSaveChanges(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kApplicationTitle), text,
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Save:
      return SaveChoice::Save;
    case QMessageBox::Discard:
      return SaveChoice::Discard;
    default:
      return SaveChoice::Cancel;
  }
}

void QtPlatform::showError(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
  box.exec();
}

void QtPlatform::showWarning(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, parent);
  box.exec();
}

bool QtPlatform::runPrintDialog(QWidget* parent, QPrinter& printer) {
  // Qt's own dialog: the printers CUPS knows and "Print to File (PDF)".
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

void QtPlatform::shellOpen(QWidget* /*owner*/, const QString& path) {
  // A bare name is looked up in the current folder, as the shell does.
  QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

void QtPlatform::showHelpContents(QWidget* parent, const QString& helpFile) {
  auto* viewer = new HelpViewer(parent);
  viewer->load(helpFile);
  viewer->showContents();
  viewer->show();
  viewer->raise();
}

void QtPlatform::showHelpContext(QWidget* parent, const QString& helpFile, int context) {
  auto* viewer = new HelpViewer(parent);
  if (viewer->load(helpFile)) viewer->showContext(context);
  viewer->show();
  viewer->raise();
}

bool QtPlatform::canWriteFolder(const QString& folder) const {
  // access() asks the kernel itself, so it also sees read-only mounts,
  // immutable folders and access control lists; creating a file also needs
  // the right to enter the folder.
  if (folder.isEmpty()) return false;
  const QByteArray path = QFile::encodeName(folder);
  struct stat st {};
  return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
         ::access(path.constData(), W_OK | X_OK) == 0;
}

void QtPlatform::setClipboardText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

void QtPlatform::beep() { QApplication::beep(); }

QString QtPlatform::selectionMark() const { return QString(QChar(0x2022)); }  // bullet

QFont QtPlatform::markFont(int pixelHeight) const {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixelHeight > 0 ? pixelHeight : 1);
  return font;
}

QColor QtPlatform::systemColour(int index) const {
  const QPalette p = QApplication::palette();
  switch (index) {
    case system_colour::kScrollBar: return p.color(QPalette::Active, QPalette::Midlight);       // scroll bar
    case system_colour::kDesktop: return p.color(QPalette::Active, QPalette::Dark);           // desktop
    case system_colour::kActiveCaption: return p.color(QPalette::Active, QPalette::Highlight);      // active caption
    case system_colour::kInactiveCaption: return p.color(QPalette::Inactive, QPalette::Mid);          // inactive caption
    case system_colour::kMenu: return p.color(QPalette::Active, QPalette::Window);         // menu
    case system_colour::kWindow: return p.color(QPalette::Active, QPalette::Base);           // window
    case system_colour::kWindowFrame: return p.color(QPalette::Active, QPalette::Shadow);         // window frame
    case system_colour::kMenuText: return p.color(QPalette::Active, QPalette::WindowText);     // menu text
    case system_colour::kWindowText: return p.color(QPalette::Active, QPalette::Text);           // window text
    case system_colour::kCaptionText: return p.color(QPalette::Active, QPalette::HighlightedText);  // caption text
    case system_colour::kActiveBorder: return p.color(QPalette::Active, QPalette::Window);        // active border
    case system_colour::kInactiveBorder: return p.color(QPalette::Inactive, QPalette::Window);      // inactive border
    case system_colour::kAppWorkspace: return p.color(QPalette::Active, QPalette::Mid);           // application workspace
    case system_colour::kHighlight: return p.color(QPalette::Active, QPalette::Highlight);     // highlight
    case system_colour::kHighlightText: return p.color(QPalette::Active, QPalette::HighlightedText);  // highlight text
    case system_colour::kButtonFace: return p.color(QPalette::Active, QPalette::Button);        // 3-D face
    case system_colour::kButtonShadow: return p.color(QPalette::Active, QPalette::Dark);          // 3-D shadow
    case system_colour::kGrayText: return p.color(QPalette::Disabled, QPalette::Text);        // gray text
    case system_colour::kButtonText: return p.color(QPalette::Active, QPalette::ButtonText);    // button text
    case system_colour::kInactiveCaptionText: return p.color(QPalette::Inactive, QPalette::WindowText);  // inactive caption text
    case system_colour::kButtonHighlight: return p.color(QPalette::Active, QPalette::Light);         // 3-D highlight
    case system_colour::kDarkShadow3D: return p.color(QPalette::Active, QPalette::Shadow);        // 3-D dark shadow
    case system_colour::kLight3D: return p.color(QPalette::Active, QPalette::Midlight);      // 3-D light
    case system_colour::kInfoText: return p.color(QPalette::Active, QPalette::ToolTipText);   // tooltip text
    case system_colour::kInfoBackground: return p.color(QPalette::Active, QPalette::ToolTipBase);   // tooltip background
    default: return QColor(0, 0, 0);
  }
}

}  // namespace brenvik
