// Gives the page base class its meta-object code.
#include "colour/VazozaPage.h"
