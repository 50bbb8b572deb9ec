#include "ui/platform/HelpFile.h"

#include <QDir>
#include <QFileInfo>

#ifndef BRENVIK_INSTALLED_DATA_DIR
#error "BRENVIK_INSTALLED_DATA_DIR must name the installed data folder (set in ui/platform/CMakeLists.txt)"
#endif

namespace brenvik {

namespace {

constexpr QLatin1String kHelpFileName("brenvik.hlp");

bool IsReadableFile(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() && info.isReadable();
}

}  // namespace

QString FindHelpFile(const QString& programDir, const QString& installedDataDir) {
  const QString beside = QDir(programDir).filePath(kHelpFileName);
  const QString candidates[] = {
      beside,
      QDir::cleanPath(programDir + QStringLiteral("/../share/brenvik/") + kHelpFileName),
      installedDataDir.isEmpty() ? QString() : QDir(installedDataDir).filePath(kHelpFileName),
  };
  for (const QString& candidate : candidates) {
    if (!candidate.isEmpty() && IsReadableFile(candidate)) return candidate;
  }
  return beside;
}

QString FindHelpFile(const QString& programDir) {
  return FindHelpFile(programDir, QStringLiteral(BRENVIK_INSTALLED_DATA_DIR));
}

}  // namespace brenvik
