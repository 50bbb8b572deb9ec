#pragma once
// Where the help file brenvik.hlp is. A build tree and a copy of the program
// in a folder of its own keep it beside the program; an installed program
// keeps it in the shared data folder (/usr/share/brenvik), where a program
// in /usr/bin finds it as ../share/brenvik, wherever the package was
// unpacked, and through the data folder named at build time, when the
// program runs from elsewhere.

#include <QString>

namespace brenvik {

// The first readable file among programDir/brenvik.hlp,
// programDir/../share/brenvik/brenvik.hlp and installedDataDir/brenvik.hlp.
// When there is none, programDir/brenvik.hlp: the help viewer then names
// that file in its message.
QString FindHelpFile(const QString& programDir, const QString& installedDataDir);

// As above, with the data folder of the install prefix the program was
// built for (for /usr: /usr/share/brenvik).
QString FindHelpFile(const QString& programDir);

}  // namespace brenvik
