#include "station_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString kOption = QStringLiteral("--settings");
const QString kDefaultName = QStringLiteral("kelvane/station.conf");

struct KeyOption {
    const char* key;
    const char* option;
    bool flag; // an option without a value, set by true
};

constexpr KeyOption kKeys[] = {
    {"server/address", "--address", false}, {"server/port", "--port", false},
    {"ship/file", "--ship", false},         {"ship/config", "--config", false},
    {"console/name", "--console", false},   {"console/language", "--lang", false},
    {"history/file", "--history", false},
    {"tls/ca", "--tls-ca", false},          {"tls/cert", "--tls-cert", false},
    {"tls/key", "--tls-key", false},        {"sound/mute", "--mute", true},
    {"security/keys", "--keys", false},     {"security/secret_key", "--secret-key", false},
    {"security/accounts", "--accounts", false},
};

const KeyOption* optionOf(const QString& key)
{
    for (const KeyOption& entry : kKeys) {
        if (key == QLatin1String(entry.key))
            return &entry;
    }
    return nullptr;
}

/// \a lines with \a name set to \a value in \a section: the key's line replaced
/// where it is, else added at the end of the section, else in a new section.
QStringList withValue(QStringList lines, const QString& section, const QString& name, const QString& value)
{
    const QString header = QLatin1Char('[') + section + QLatin1Char(']');
    const QString line = name + QLatin1Char('=') + value;
    int end = -1; // after the section's last line
    for (int i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines.at(i).trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            if (end >= 0)
                break;
            if (trimmed == header)
                end = i + 1;
            continue;
        }
        if (end < 0)
            continue;
        if (trimmed.section(QLatin1Char('='), 0, 0).trimmed() == name) {
            lines[i] = line;
            return lines;
        }
        if (!trimmed.isEmpty())
            end = i + 1;
    }
    if (end >= 0) {
        lines.insert(end, line);
        return lines;
    }
    if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
        lines.append(QString());
    lines << header << line;
    return lines;
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
    const QString file = fileFor(*arguments);
    if (file.isEmpty())
        return true;
    if (!QFileInfo(file).isReadable()) {
        *error = tr("设置文件 %1 无法读取").arg(file);
        return false;
    }
    QSettings settings(file, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        *error = tr("设置文件 %1 格式不对").arg(file);
        return false;
    }
    QStringList leading;
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
                leading << QLatin1String(entry->option);
            else if (value != QLatin1String("false")) {
                *error = tr("设置文件 %1 中的键 %2 应为 true 或 false").arg(file, key);
                return false;
            }
        } else {
            leading << QLatin1String(entry->option) << value;
        }
    }
    // After the program's name, before everything the command line says.
    for (int i = 0; i < leading.size(); ++i)
        arguments->insert(1 + i, leading.at(i));
    return true;
}

bool StationSettings::remember(const QString& settingsFile, const QString& key, const QString& value, QString* error)
{
    const QString file = !settingsFile.isEmpty()
        ? settingsFile
        : QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath(kDefaultName);
    QStringList lines;
    QFile old(file);
    if (old.exists()) {
        // Rewritten from what could not be read, the file would lose every other setting.
        if (!old.open(QIODevice::ReadOnly | QIODevice::Text)) {
            *error = tr("设置文件 %1 无法读取").arg(file);
            return false;
        }
        lines = QString::fromUtf8(old.readAll()).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
    }
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile saved(file);
    const QStringList updated =
        withValue(lines, key.section(QLatin1Char('/'), 0, 0), key.section(QLatin1Char('/'), 1), value);
    if (!saved.open(QIODevice::WriteOnly | QIODevice::Text)
        || saved.write((updated.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) < 0 || !saved.commit()) {
        *error = tr("设置文件 %1 无法写入").arg(file);
        return false;
    }
    return true;
}
