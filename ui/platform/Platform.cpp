#include "ui/platform/Platform.h"

#include <QFileInfo>

namespace brenvik {

QString SavedPath(const FileDialogState& state) {
  return state.savedPath ? state.savedPath(state.fileName) : state.fileName;
}

bool Platform::runSaveDialog(QWidget* parent, FileDialogState& state) {
  // The dialog works on a copy, so that Cancel, even after a No, leaves the
  // state as it was.
  FileDialogState chosen = state;
  while (runSaveFileDialog(parent, chosen)) {
    const QString path = SavedPath(chosen);
    const QFileInfo target(path);
    // A folder of that name is no file to replace: the write itself fails.
    if (!(target.exists() || target.isSymLink()) || target.isDir() || askReplaceFile(parent, path)) {
      state.fileName = chosen.fileName;
      return true;
    }
  }
  return false;
}

}  // namespace brenvik
