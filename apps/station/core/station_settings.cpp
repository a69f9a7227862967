#include "station_settings.h"

#include "palette_choice.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString kOption = QStringLiteral("--settings");
const QString kDefaultName = QStringLiteral("kelvane/station.conf");
const QString kChoicesName = QStringLiteral("kelvane/station-window.conf");

bool isPalette(const QString& value)
{
    PaletteChoice choice;
    return palettechoice::fromKey(value, &choice);
}

struct KeyOption {
    const char* key;
    const char* option;
    bool flag; // an option without a value, set by true
    // Values the key takes, checked here so a bad one names the file; null takes any.
    bool (*accepts)(const QString& value) = nullptr;
    // The window may keep the operator's choice of it for the next start.
    bool remembered = false;
};

constexpr KeyOption kKeys[] = {
    {"server/address", "--address", false}, {"server/port", "--port", false},
    {"ship/file", "--ship", false},         {"ship/config", "--config", false},
    {"console/name", "--console", false},   {"console/language", "--lang", false, nullptr, true},
    {"history/file", "--history", false},
    {"tls/ca", "--tls-ca", false},          {"tls/cert", "--tls-cert", false},
    {"tls/key", "--tls-key", false},        {"sound/mute", "--mute", true},
    {"security/keys", "--keys", false},     {"security/secret_key", "--secret-key", false},
    {"security/accounts", "--accounts", false},
    {"palette", "--palette", false, isPalette, true},
};

const KeyOption* optionOf(const QString& key)
{
    for (const KeyOption& entry : kKeys) {
        if (key == QLatin1String(entry.key))
            return &entry;
    }
    return nullptr;
}

} // namespace

QString StationSettings::fileFor(const QStringList& arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == kOption && i + 1 < arguments.size())
            return arguments.at(i + 1);
        if (arguments.at(i).startsWith(kOption + QLatin1Char('=')))
            return arguments.at(i).mid(kOption.size() + 1);
    }
    return QStandardPaths::locate(QStandardPaths::GenericConfigLocation, kDefaultName);
}

bool StationSettings::apply(QStringList* arguments, QString* error)
{
    QStringList leading;
    const QString file = fileFor(*arguments);
    if (!file.isEmpty() && !readFile(file, &leading, error))
        return false;
    leading << rememberedOptions();
    // After the program's name, before everything the command line says.
    for (int i = 0; i < leading.size(); ++i)
        arguments->insert(1 + i, leading.at(i));
    return true;
}

bool StationSettings::readFile(const QString& file, QStringList* options, QString* error)
{
    if (!QFileInfo(file).isReadable()) {
        *error = tr("设置文件 %1 无法读取").arg(file);
        return false;
    }
    QSettings settings(file, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        *error = tr("设置文件 %1 格式不对").arg(file);
        return false;
    }
    for (const QString& key : settings.allKeys()) {
        const KeyOption* entry = optionOf(key);
        if (!entry) {
            *error = tr("设置文件 %1 中的键 %2 未知").arg(file, key);
            return false;
        }
        // An unquoted comma makes a list of an INI value: put the text back together.
        const QVariant raw = settings.value(key);
        const QString value = raw.userType() == QMetaType::QStringList ? raw.toStringList().join(QLatin1Char(','))
                                                                        : raw.toString();
        if (entry->flag) {
            if (value == QLatin1String("true"))
                *options << QLatin1String(entry->option);
            else if (value != QLatin1String("false")) {
                *error = tr("设置文件 %1 中的键 %2 应为 true 或 false").arg(file, key);
                return false;
            }
        } else if (entry->accepts && !entry->accepts(value)) {
            *error = tr("设置文件 %1 中的键 %2 的值 %3 无效").arg(file, key, value);
            return false;
        } else {
            *options << QLatin1String(entry->option) << value;
        }
    }
    return true;
}

QString StationSettings::choicesFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath(kChoicesName);
}

QStringList StationSettings::rememberedOptions()
{
    const QString file = choicesFile();
    if (!QFileInfo::exists(file))
        return {};
    const QSettings choices(file, QSettings::IniFormat);
    QStringList options;
    for (const KeyOption& entry : kKeys) {
        const QString value = choices.value(QLatin1String(entry.key)).toString();
        // The station's own note: what it cannot use is passed over, not refused.
        if (entry.remembered && !value.isEmpty() && (!entry.accepts || entry.accepts(value)))
            options << QLatin1String(entry.option) << value;
    }
    return options;
}

bool StationSettings::remember(const QString& key, const QString& value)
{
    const KeyOption* entry = optionOf(key);
    if (!entry || !entry->remembered)
        return false;
    QSettings choices(choicesFile(), QSettings::IniFormat);
    choices.setValue(key, value);
    choices.sync();
    return choices.status() == QSettings::NoError;
}
