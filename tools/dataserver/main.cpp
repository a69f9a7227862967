// Reference data server: speaks the data-point frame protocol on a loopback port
// and plays a scenario file so booked values change over time.

#include "listener.h"
#include "point_store.h"
#include "scenario_player.h"
#include "server_limits.h"
#include "server_tls.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>
#include <QTextStream>

#include <cmath>

namespace {

constexpr quint16 kDefaultPort = 7300;

int fail(const QString& message)
{
    QTextStream(stderr) << "tavimor-dataserver: " << message << '\n';
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavimor-dataserver"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Reference data server for the Tavimor client."));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("TCP port (default %1; 0 picks a free one).").arg(kDefaultPort),
                                        QStringLiteral("port"), QString::number(kDefaultPort));
    const QCommandLineOption addressOption(QStringLiteral("address"),
                                           QStringLiteral("Numeric address to listen on (default 127.0.0.1)."),
                                           QStringLiteral("address"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption scenarioOption(QStringLiteral("scenario"), QStringLiteral("Scenario file (JSON) to play."),
                                            QStringLiteral("file"));
    const QCommandLineOption speedOption(QStringLiteral("speed"),
                                         QStringLiteral("Time scale of the scenario (2 plays twice as fast)."),
                                         QStringLiteral("factor"), QStringLiteral("1"));
    parser.addOptions({portOption, addressOption, scenarioOption, speedOption});
    parser.addOptions(ServerLimits::options());
    parser.addOptions(ServerTls::options());
    parser.process(app);

    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535)
        return fail(QStringLiteral("bad port %1").arg(parser.value(portOption)));
    QHostAddress address;
    if (!address.setAddress(parser.value(addressOption)))
        return fail(QStringLiteral("bad address %1").arg(parser.value(addressOption)));
    const double speed = parser.value(speedOption).toDouble(&ok);
    if (!ok || !(speed > 0) || !std::isfinite(speed))
        return fail(QStringLiteral("--speed %1: must be a number above 0").arg(parser.value(speedOption)));
    ServerLimits limits;
    QString error;
    if (!limits.read(parser, &error))
        return fail(error);
    ServerTls tls;
    if (!tls.read(parser, &error))
        return fail(error);

    PointStore store;
    ScenarioPlayer player(&store);
    if (parser.isSet(scenarioOption)) {
        const QString path = parser.value(scenarioOption);
        if (!player.load(path, &error))
            return fail(error);
        if (!player.checkSpeed(speed, &error))
            return fail(QStringLiteral("%1: %2").arg(path, error));
    }
    Listener listener(&store, limits);
    listener.setTls(tls.configuration);
    if (!listener.listen(address, quint16(port), &error))
        return fail(error);
    // Tests and scripts read the port from this line (useful with --port 0).
    QTextStream(stdout) << "listening on " << address.toString() << ':' << listener.port() << Qt::endl;
    player.start(speed);
    return app.exec();
}
