#include "palette_choice.h"

#include "keyed_enum.h"

#include <QCoreApplication>

#include <array>

namespace palettechoice {

namespace {

struct Naming {
    const char* key;
    const char* name;
};

const std::array<Naming, kCount> kNamings = {{
    {"day", QT_TRANSLATE_NOOP("PaletteChoice", "日间")},
    {"dusk", QT_TRANSLATE_NOOP("PaletteChoice", "黄昏")},
    {"night", QT_TRANSLATE_NOOP("PaletteChoice", "夜间")},
}};

const Naming& naming(PaletteChoice choice)
{
    return kNamings.at(std::size_t(choice));
}

} // namespace

QString key(PaletteChoice choice)
{
    return QLatin1String(naming(choice).key);
}

QString name(PaletteChoice choice)
{
    return QCoreApplication::translate("PaletteChoice", naming(choice).name);
}

bool fromKey(const QString& key, PaletteChoice* choice)
{
    return keyedEnumFromKey(key, kNamings, choice);
}

} // namespace palettechoice
