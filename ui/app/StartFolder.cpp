#include "ui/app/StartFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace brenvik {

QString DialogStartFolder(const QString& programFolder, const QStringList& fallbacks,
                          const std::function<bool(const QString&)>& canWrite) {
  if (canWrite(programFolder)) return programFolder;
  for (const QString& folder : fallbacks) {
    if (!folder.isEmpty() && QFileInfo(folder).isDir() && canWrite(folder)) return folder;
  }
  return programFolder;
}

QStringList UserFolders() {
  QStringList folders;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!documents.isEmpty()) folders << documents;
  folders << QDir::homePath();
  return folders;
}

}  // namespace brenvik
