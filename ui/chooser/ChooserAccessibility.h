#pragma once
// What a screen reader sees of the colour chooser's own controls: the
// Internet palette as a list of 216 cells, each named by its colour, that can
// be picked by the press action; the swatches and the 32 custom colours as
// named boxes that tell their colour, the pickable ones as buttons.

class QAccessibleInterface;
class QObject;
class QString;

namespace brenvik {

// The factory behind those interfaces, for QAccessible::installFactory.
QAccessibleInterface* ChooserAccessibleFactory(const QString& className, QObject* object);

// Installs the factory once; every chooser window calls it.
void InstallChooserAccessibility();

}  // namespace brenvik
