#include "alarm_priority.h"

#include "keyed_enum.h"

#include <QCoreApplication>

#include <array>

namespace alarmpriority {

namespace {

struct Look {
    const char* key;
    const char* name;
    const char* symbol;
    QRgb colour;
};

// Symbols differ in shape as well as colour, for operators who cannot tell red from amber.
const std::array<Look, kCount> kLooks = {{
    {"emergency", QT_TRANSLATE_NOOP("AlarmPriority", "紧急"), "\u25C6\u25C6", 0xC00000},
    {"alarm", QT_TRANSLATE_NOOP("AlarmPriority", "报警"), "\u25B2", 0xFF2020},
    {"warning", QT_TRANSLATE_NOOP("AlarmPriority", "警告"), "\u25A0", 0xE08000},
    {"caution", QT_TRANSLATE_NOOP("AlarmPriority", "提示"), "\u25CF", 0xC8B400},
}};

const Look& look(AlarmPriority priority)
{
    return kLooks.at(std::size_t(priority));
}

} // namespace

QString name(AlarmPriority priority)
{
    return QCoreApplication::translate("AlarmPriority", look(priority).name);
}

QString symbol(AlarmPriority priority)
{
    return QString::fromUtf8(look(priority).symbol);
}

QColor colour(AlarmPriority priority)
{
    return QColor(look(priority).colour);
}

bool fromKey(const QString& key, AlarmPriority* priority)
{
    return keyedEnumFromKey(key, kLooks, priority);
}

} // namespace alarmpriority
