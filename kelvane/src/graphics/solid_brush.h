#pragma once

#include <QBrush>
#include <QColor>

namespace kelvane {

/// \a kept made a solid brush of \a color, rebuilt only when it is not one
/// already. An item that keeps its brush this way sets the same shared brush
/// whenever the colour comes back, rather than allocating a brush at every
/// state change. Internal to the library.
inline const QBrush& solidBrush(QBrush& kept, const QColor& color)
{
    if (kept.style() != Qt::SolidPattern || kept.color() != color)
        kept = QBrush(color);
    return kept;
}

} // namespace kelvane
