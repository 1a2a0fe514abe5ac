// The small square of a colour that a menu item shows beside its caption.
#pragma once

#include "app/Colour.h"

#include <QIcon>

namespace tavrik {

QIcon ColourSwatch(Colour colour);

} // namespace tavrik
