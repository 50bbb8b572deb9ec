#pragma once
// The folder the file dialogs (Open, Save source, Save output, Export to web)
// show first.

#include <QString>
#include <QStringList>
#include <functional>

namespace brenvik {

// The program's own folder when the user can create files there (a build
// tree, a copy in the home folder). An installed program sits in a folder
// only the administrator may write to (/usr/bin), where the first save would
// fail, so the first of fallbacks that is an existing folder the user can
// write to is taken instead. When none is, the program folder stays: the
// dialog still lets the user go elsewhere.
QString DialogStartFolder(const QString& programFolder, const QStringList& fallbacks,
                          const std::function<bool(const QString&)>& canWrite);

// The user's documents folder (as the desktop names it, often ~/Documents),
// then the home folder. Neither is created.
QStringList UserFolders();

}  // namespace brenvik
