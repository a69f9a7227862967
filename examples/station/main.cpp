// The damage-control monitoring station: shows the ship's decks with live sensor
// values from the data server, or, with --snapshot, writes a picture of every
// deck after the scenario has played for a while and exits.

#include "data_link.h"
#include "ship.h"
#include "ship_loader.h"
#include "snapshot_runner.h"
#include "station_config.h"
#include "station_options.h"
#include "station_window.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>

#include <cmath>
#include <memory>

namespace {

enum ExitCode { Ok = 0, BadArguments = 1, BadConfiguration = 2, BadShip = 3, NoServer = 4, SnapshotFailed = 5 };

constexpr int kMsPerSecond = 1000;

int fail(ExitCode code, const QString& message)
{
    QTextStream(stderr) << "kelvane-station: " << message << Qt::endl;
    return code;
}

// The libraries' translation kelvane_<language>.qm, looked up where an
// installed station finds it and then in the build tree.
bool installTranslation(const QString& language)
{
    const QString appDir = QApplication::applicationDirPath();
    const QStringList folders{QDir(appDir).filePath(QStringLiteral("../share/kelvane/translations")),
                              QStringLiteral(KELVANE_TRANSLATIONS_DIR)};
    auto* translator = new QTranslator(qApp);
    for (const QString& folder : folders) {
        if (translator->load(QStringLiteral("kelvane_") + language, folder))
            return QApplication::installTranslator(translator);
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    const bool snapshot = StationOptions::wantsSnapshot(argc, argv);
    if (snapshot && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelvane-station"));

    StationOptions options;
    QString error;
    if (!options.parse(QApplication::arguments(), &error))
        return fail(BadArguments, error);
    if (!options.language.isEmpty() && !installTranslation(options.language))
        return fail(BadArguments, QApplication::translate("main", "没有语言 %1 的翻译").arg(options.language));
    if (!stationconfig::load(options.configDir, &error))
        return fail(BadConfiguration, error);
    ShipLoader loader;
    const std::unique_ptr<Ship> ship = loader.load(options.shipFile);
    if (!ship)
        return fail(BadShip, loader.error());
    stationconfig::addEquipmentPictures(options.configDir, *ship);

    DataLink link(options.address, options.port, ship->index(), ship->dataPointNames());
    QTextStream out(stdout);
    QObject::connect(&link, &DataLink::updatesReceived, [&out](int count, int routed) {
        out << "received " << count << " updates (" << routed << " routed)" << Qt::endl;
    });
    QObject::connect(&link, &DataLink::connectionChanged, [&out, &link](bool connected) {
        out << (connected ? "connected to " : "connection lost to ") << link.serverText() << Qt::endl;
    });
    const bool connected = link.open();

    if (snapshot) {
        if (!connected)
            return fail(NoServer, QApplication::translate("main", "无法连接数据服务器 %1").arg(link.serverText()));
        int code = Ok;
        QTimer::singleShot(int(std::lround(options.afterSeconds * kMsPerSecond)), [&] {
            SnapshotRunner runner(*ship, options.snapshotDir);
            if (!runner.writeAll(&error))
                code = fail(SnapshotFailed, error);
            QApplication::exit(code);
        });
        return QApplication::exec();
    }

    StationWindow window(*ship, link);
    if (!connected)
        link.scheduleRetry();
    window.show();
    return QApplication::exec();
}
