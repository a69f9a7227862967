#include "config/icon_folder.h"

#include <QFileInfo>

namespace kelvane {

QString iconFolderBeside(const QString& config_file)
{
    const QString folder = QFileInfo(config_file).absolutePath() + QStringLiteral("/../icons");
    return QFileInfo(folder).canonicalFilePath() + QLatin1Char('/');
}

} // namespace kelvane
