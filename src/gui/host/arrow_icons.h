// The pictures of the program's picture buttons, drawn by the program itself.
#pragma once

#include <QIcon>

namespace vantrel {

enum class ArrowDirection { Up, Down };

QIcon ArrowIcon(ArrowDirection direction);
// A magnifying glass with a minus (zoom out) or a plus (zoom in).
QIcon ZoomIcon(bool zoomIn);
// A pen over colour swatches, for choosing the drawing colour.
QIcon PenColourIcon();

} // namespace vantrel
