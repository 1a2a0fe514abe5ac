// Paints a colour swatch.
#include "widgets/Swatch.h"

#include <QColor>
#include <QPixmap>

namespace tavrik {

namespace {

constexpr int SwatchSize = 12;

} // namespace

QIcon ColourSwatch(Colour colour) {
    QPixmap pixmap(SwatchSize, SwatchSize);
    pixmap.fill(QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
    return QIcon(pixmap);
}

} // namespace tavrik
