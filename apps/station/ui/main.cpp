// The damage-control monitoring station: shows the ship's decks with live sensor
// values from the data server, or, with --snapshot, writes a picture of every
// deck after the scenario has played for a while and exits.

#include "alarm_settings.h"
#include "data_link.h"
#include "example_application.h"
#include "example_translation.h"
#include "incident_export.h"
#include "incident_store.h"
#include "ship.h"
#include "ship_loader.h"
#include "snapshot_runner.h"
#include "station_config.h"
#include "station_options.h"
#include "station_security.h"
#include "station_session.h"
#include "station_settings.h"
#include "station_window.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>

#include <cmath>
#include <memory>

namespace {

enum ExitCode { Ok = 0, BadArguments = 1, BadConfiguration = 2, BadShip = 3, NoServer = 4, SnapshotFailed = 5, BadHistory = 6, ExportFailed = 7, BadSecurity = 8 };

constexpr int kMsPerSecond = 1000;

int fail(ExitCode code, const QString& message)
{
    QTextStream(stderr) << "kelvane-station: " << message << Qt::endl;
    return code;
}

/// Writes the files the options ask for from the history, without a window.
int exportIncident(const IncidentOptions& options)
{
    if (!QFileInfo::exists(options.historyFile))
        return fail(BadHistory, QApplication::translate("StationMain", "没有历史数据库 %1").arg(options.historyFile));
    IncidentStore history;
    QString error;
    if (!history.open(options.historyFile, &error))
        return fail(BadHistory, error);
    const IncidentExport incident(history, options.from, options.to);
    const bool written = (options.scenarioOut.isEmpty() || incident.writeScenario(options.scenarioOut, &error))
        && (options.csvOut.isEmpty() || incident.writeCsv(options.csvOut, &error))
        && (options.pdfOut.isEmpty() || incident.writePdf(options.pdfOut, &error))
        && (options.kpiOut.isEmpty() || incident.writeKpi(options.kpiOut, &error));
    return written ? Ok : fail(ExportFailed, error);
}

} // namespace

int main(int argc, char** argv)
{
    const bool snapshot = StationOptions::wantsSnapshot(argc, argv);
    if ((snapshot || IncidentOptions::wantsExport(argc, argv)) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app = exampleapp::create(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelvane-station"));

    QString error;
    // The settings file may name the language too (the command line's wins);
    // a bad file is reported by parse() below, already in the language asked for.
    QStringList arguments = QApplication::arguments();
    QString reportedLater;
    StationSettings::apply(&arguments, &reportedLater);
    if (!exampletranslation::installRequested(arguments, &error))
        return fail(BadArguments, error);
    StationOptions options;
    if (!options.parse(QApplication::arguments(), &error))
        return fail(BadArguments, error);
    if (options.incident.exporting())
        return exportIncident(options.incident);
    AlarmSettings alarms;
    if (!stationconfig::load(options.configDir, &error) || !stationconfig::loadAlarmSettings(options.configDir, &alarms, &error))
        return fail(BadConfiguration, error);
    ShipLoader loader;
    const std::unique_ptr<Ship> ship = loader.load(options.shipFile);
    if (!ship)
        return fail(BadShip, loader.error());
    stationconfig::addEquipmentPictures(options.configDir, *ship);

    DataLink link(options.address, options.port, ship->valueRoute(), ship->dataPointNames());
    link.setTls(options.tls.settings);
    QTextStream out(stdout);
    QObject::connect(&link, &DataLink::updatesReceived, [&out](int count, int routed) {
        out << "received " << count << " updates (" << routed << " routed)" << Qt::endl;
    });
    QObject::connect(&link, &DataLink::connectionChanged, [&out, &link](bool connected) {
        out << (connected ? "connected to " : "connection lost to ") << link.serverText() << Qt::endl;
    });
    // The window connects without waiting; only a snapshot needs the server first.
    const bool connected = snapshot && link.open();

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

    StationSecurity security;
    if (!security.load(options, &error))
        return fail(BadSecurity, error);
    StationSession session(*ship, link, alarms, options, security);
    session.start(out);
    StationWindow& window = session.window();
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
