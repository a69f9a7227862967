// The station with a scripted operator, for the consoles test: the station's
// own session (window, history, shared incident state) on the station's command
// line, acting on the plan as the lines on its standard input say:
//   damage <compartment id> <response>   marks the compartment damaged by hand
//   recover <compartment id>             puts it back to normal by hand
// It prints "ready" once its data link is up and "acted: <line>" after each
// action, besides what the station prints.

#include "alarm_settings.h"
#include "data_link.h"
#include "incident_commands.h"
#include "ship.h"
#include "ship_loader.h"
#include "station_config.h"
#include "station_options.h"
#include "station_security.h"
#include "station_session.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <unistd.h>

#include <memory>

namespace {

/// Carries out one line of the script; false for a line it does not understand.
bool act(IncidentCommands& commands, const Ship& ship, const QByteArray& line)
{
    const QList<QByteArray> words = line.simplified().split(' ');
    const quint64 compartment = words.size() >= 2 && ship.regionById(words[1].toULongLong()) ? words[1].toULongLong() : 0;
    if (compartment && words[0] == "damage" && words.size() == 3)
        commands.damage(compartment, words[2].toInt());
    else if (compartment && words[0] == "recover" && words.size() == 2)
        commands.recover(compartment);
    else
        return false;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QString error;
    StationOptions options;
    AlarmSettings alarms;
    ShipLoader loader;
    std::unique_ptr<Ship> ship;
    if (!options.parse(QApplication::arguments(), &error) || !stationconfig::load(options.configDir, &error)
        || !stationconfig::loadAlarmSettings(options.configDir, &alarms, &error)
        || !(ship = loader.load(options.shipFile))) {
        QTextStream(stderr) << "station-drill: " << (ship ? error : loader.error()) << Qt::endl;
        return 1;
    }
    DataLink link(options.address, options.port, ship->valueRoute(), ship->dataPointNames());
    QObject::connect(&link, &DataLink::connectionChanged, [&out](bool up) {
        if (up)
            out << "ready" << Qt::endl;
    });
    StationSecurity security;
    if (!security.load(options, &error)) {
        QTextStream(stderr) << "station-drill: " << error << Qt::endl;
        return 1;
    }
    StationSession session(*ship, link, alarms, options, security);
    session.start(out);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char chunk[256];
        const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (got <= 0) {
            input.setEnabled(false);
            return;
        }
        pending.append(chunk, int(got));
        for (int end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            out << (act(session.console().incidentCommands(), *ship, line) ? "acted: " : "not understood: ")
                << QString::fromUtf8(line) << Qt::endl;
        }
    });
    return QApplication::exec();
}
