#pragma once
// The look shared by the program's windows: the icon, the dialog font and
// the few fixed colours they use.

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>

namespace brenvik {

// The program's icon, 32 x 32 in 16 colours, drawn in ui/app/icon/.
QPixmap ProgramPixmap();
QIcon ProgramIcon();

// The windows' font: an 8-point sans serif with a character height of 11
// pixels, the size every window's layout is made for. Its bitmap face is not
// found on Linux desktops; Liberation Sans is the nearest installed face in
// width, DejaVu Sans the fallback.
QFont WindowFont();

inline QColor Navy() { return QColor(0, 0, 128); }
inline QColor MoneyGreen() { return QColor(192, 220, 192); }
inline QColor Silver() { return QColor(192, 192, 192); }
inline QColor Cream() { return QColor(255, 251, 240); }

}  // namespace brenvik
