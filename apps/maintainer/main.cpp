#include "example_application.h"
#include "example_data.h"
#include "example_translation.h"
#include "maintainer_window.h"
#include "ship_document.h"
#include "ship_reader.h"

#include "config/damage_config.h"
#include "config/region_config.h"
#include "config/sensor_config.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

enum ExitCode { kBadCommandLine = 1, kBadConfiguration = 2, kBadShip = 3 };

int fail(const QString& message, int code)
{
    std::fprintf(stderr, "kelvane-maintainer: %s\n", qUtf8Printable(message));
    return code;
}

/// The styles the maintenance edition draws with; the catalogues are not part of it.
bool loadStyles(const QString& dir, QString* error)
{
    const QDir folder(dir);
    try {
        RegionConfig::instance().loadStyle(folder.filePath(QStringLiteral("region.lua")));
        SensorConfig::instance().loadStyle(folder.filePath(QStringLiteral("sensor.lua")));
        DamageConfig::instance().loadStyle(folder.filePath(QStringLiteral("damage.lua")));
    } catch (const std::runtime_error& e) {
        *error = QString::fromUtf8(e.what());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::unique_ptr<QCoreApplication> app = exampleapp::create(argc, argv);
    QString error;
    if (!exampletranslation::installRequested(QCoreApplication::arguments(), &error))
        return fail(error, kBadCommandLine);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption ship(QStringLiteral("ship"), QApplication::translate("MaintainerMain", "船舶文件"),
                                  QStringLiteral("FILE"), exampledata::shipFile());
    const QCommandLineOption config(QStringLiteral("config"),
                                    QApplication::translate("MaintainerMain", "配置文件夹"), QStringLiteral("DIR"));
    const QCommandLineOption output(
        QStringLiteral("output"),
        QApplication::translate("MaintainerMain", "保存到的文件 (默认覆盖船舶文件并保留 .bak)"),
        QStringLiteral("FILE"));
    parser.addOptions({ship, config, output, exampletranslation::languageOption()});
    if (!parser.parse(QCoreApplication::arguments()))
        return fail(parser.errorText(), kBadCommandLine);
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp();
    if (!parser.positionalArguments().isEmpty())
        return fail(
            QApplication::translate("MaintainerMain", "多余的参数 %1").arg(parser.positionalArguments().join(' ')),
            kBadCommandLine);

    const QString shipFile = parser.value(ship);
    const QString configDir = parser.isSet(config)
        ? parser.value(config)
        : QFileInfo(shipFile).absoluteDir().filePath(QStringLiteral("config"));
    // An unreadable ship file is reported before the styles, which its
    // folder usually holds; the view groups are checked once they are loaded.
    ShipReader reader;
    if (!reader.open(shipFile))
        return fail(reader.error(), kBadShip);
    if (!loadStyles(configDir, &error))
        return fail(error, kBadConfiguration);
    ShipDocument document;
    if (!document.load(reader))
        return fail(document.error(), kBadShip);

    const bool overwrite = !parser.isSet(output);
    MaintainerWindow window(&document, overwrite ? shipFile : parser.value(output), overwrite);
    window.resize(1280, 800);
    window.show();
    return QApplication::exec();
}
