#pragma once

#include <QMetaType>
#include <QString>

/// The station's display palettes, brightest first: the watch dims the
/// console as the light on the bridge fades.
enum class PaletteChoice { Day = 0, Dusk = 1, Night = 2 };

/// How a palette is named, in the settings, on the command line and on screen.
namespace palettechoice {

constexpr int kCount = 3;

/// The word of the settings file and of --palette: "day", "dusk" or "night".
QString key(PaletteChoice choice);
/// The translated name ("日间", "黄昏", "夜间").
QString name(PaletteChoice choice);
/// The palette \a key names (any case). False for anything else, leaving
/// \a choice unchanged.
bool fromKey(const QString& key, PaletteChoice* choice);

} // namespace palettechoice

Q_DECLARE_METATYPE(PaletteChoice)
