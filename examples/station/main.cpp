// The damage-control monitoring station: shows the ship's decks with live sensor
// values from the data server, or, with --snapshot, writes a picture of every
// deck after the scenario has played for a while and exits.

#include "alarm_settings.h"
#include "data_link.h"
#include "example_application.h"
#include "example_translation.h"
#include "ship.h"
#include "ship_loader.h"
#include "snapshot_runner.h"
#include "station_config.h"
#include "station_options.h"
#include "station_window.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

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

} // namespace

int main(int argc, char** argv)
{
    const bool snapshot = StationOptions::wantsSnapshot(argc, argv);
    if (snapshot && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app = exampleapp::create(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelvane-station"));

    QString error;
    if (!exampletranslation::installRequested(QApplication::arguments(), &error))
        return fail(BadArguments, error);
    StationOptions options;
    if (!options.parse(QApplication::arguments(), &error))
        return fail(BadArguments, error);
    AlarmSettings alarms;
    if (!stationconfig::load(options.configDir, &error) || !stationconfig::loadAlarmSettings(options.configDir, &alarms, &error))
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
            return fail(NoServer, QApplication::translate("StationMain", "无法连接数据服务器 %1").arg(link.serverText()));
        int code = Ok;
        QTimer::singleShot(int(std::lround(options.afterSeconds * kMsPerSecond)), [&] {
            SnapshotRunner runner(*ship, options.snapshotDir);
            if (!runner.writeAll(&error))
                code = fail(SnapshotFailed, error);
            QApplication::exit(code);
        });
        return QApplication::exec();
    }

    StationWindow window(*ship, link, alarms, options.mute);
    if (!connected)
        link.scheduleRetry();
    window.show();
    if (!options.windowPicture.isEmpty()) {
        // The pictures of the console in the documentation are taken this way.
        QTimer::singleShot(int(std::lround(options.afterSeconds * kMsPerSecond)), &window, [&] {
            if (window.grab().save(options.windowPicture))
                QApplication::exit(Ok);
            else
                QApplication::exit(fail(SnapshotFailed, QApplication::translate("StationMain", "无法写入图像 %1")
                                                            .arg(options.windowPicture)));
        });
    }
    return QApplication::exec();
}
