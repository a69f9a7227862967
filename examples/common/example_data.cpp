#include "example_data.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace exampledata {

namespace {

const char kShipFileName[] = "ship.json";

} // namespace

QString shipDir()
{
    const QString installed = QDir::cleanPath(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(KELVANE_INSTALLED_SHIP_DIR)));
    if (QFileInfo::exists(QDir(installed).filePath(QLatin1String(kShipFileName))))
        return installed;
    return QStringLiteral(KELVANE_SOURCE_SHIP_DIR);
}

QString shipFile()
{
    return QDir(shipDir()).filePath(QLatin1String(kShipFileName));
}

} // namespace exampledata
