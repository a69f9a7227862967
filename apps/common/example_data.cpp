#include "example_data.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace exampledata {

namespace {

const char kShipFileName[] = "ship.json";

/// \a relative, given from the program's own folder, as an absolute path.
QString installed(const char* relative)
{
    return QDir::cleanPath(QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(relative)));
}

} // namespace

QString shipDir()
{
    const QString installed = exampledata::installed(KELVANE_INSTALLED_SHIP_DIR);
    if (QFileInfo::exists(QDir(installed).filePath(QLatin1String(kShipFileName))))
        return installed;
    return QStringLiteral(KELVANE_SOURCE_SHIP_DIR);
}

QString shipFile()
{
    return QDir(shipDir()).filePath(QLatin1String(kShipFileName));
}

QStringList translationFolders()
{
    return {installed(KELVANE_INSTALLED_TRANSLATIONS_DIR), QStringLiteral(KELVANE_TRANSLATIONS_BUILD_DIR),
            QStringLiteral(KELVANE_EXAMPLE_TRANSLATIONS_BUILD_DIR)};
}

} // namespace exampledata
