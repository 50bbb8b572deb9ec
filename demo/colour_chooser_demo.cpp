// Opens the colour chooser with all nine pages and prints the colour chosen
// with OK as "#RRGGBB". Exit status 0 for OK, 1 for Cancel, 2 for bad usage.
//
//   colour-chooser-demo [--page VGA|Internet|HSB|RGB|CMY|CMYK|Gray|Windows|Info] [--color #RRGGBB]

#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <exception>

#include "ui/chooser/ColourChooser.h"
#include "ui/chooser/ChooserPages.h"

namespace {

int Usage() {
  std::fputs("usage: colour-chooser-demo [--page NAME] [--color #RRGGBB]\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  brenvik::ColourChooser chooser;
  chooser.setVisiblePages(0x1FF);

  const QStringList args = QApplication::arguments();
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--page") && i + 1 < args.size()) {
      const QString name = args[++i];
      bool found = false;
      for (int p = 0; p < 9; ++p) {
        const auto page = static_cast<brenvik::ChooserPageId>(p);
        if (brenvik::PageCaption(page).compare(name, Qt::CaseInsensitive) == 0) {
          chooser.setActivePage(page);
          found = true;
        }
      }
      if (!found) return Usage();
    } else if (args[i] == QLatin1String("--color") && i + 1 < args.size()) {
      QString hex = args[++i];
      if (hex.startsWith(QLatin1Char('#'))) hex.remove(0, 1);
      bool ok = false;
      const uint rgb = hex.toUInt(&ok, 16);
      if (!ok || hex.size() != 6) return Usage();
      // #RRGGBB to the colour value 0x00BBGGRR.
      chooser.setColour(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
    } else {
      return Usage();
    }
  }

  try {
    if (!chooser.execute()) return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "colour-chooser-demo: %s\n", e.what());
    return 2;
  }
  QTextStream(stdout) << chooser.webColour() << '\n';
  return 0;
}
