#include "station_options.h"

#include "example_options.h"
#include "example_data.h"
#include "example_translation.h"
#include "station_settings.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QHostAddress>

namespace {

constexpr quint32 kLargestPort = 65535;

} // namespace

bool StationOptions::wantsSnapshot(int argc, char** argv)
{
    return exampleapp::hasOption(argc, argv, "--snapshot");
}

bool StationOptions::parse(const QStringList& commandLine, QString* error)
{
    QStringList arguments = commandLine;
    if (!StationSettings::apply(&arguments, error))
        return false;
    settingsFile = StationSettings::fileFor(commandLine);
    QCommandLineParser parser;
    parser.setApplicationDescription(tr("损管监控台: 显示各层甲板的传感器、舱室损害和报警。"));
    parser.addHelpOption();
    const QCommandLineOption addressOption(QStringLiteral("address"), tr("数据服务器地址(数字地址)。"),
                                           QStringLiteral("address"), address);
    const QCommandLineOption portOption(QStringLiteral("port"), tr("数据服务器端口。"), QStringLiteral("port"),
                                        QString::number(port));
    const QCommandLineOption shipOption(QStringLiteral("ship"), tr("船舶文件(ship.json)。"), QStringLiteral("file"),
                                        exampledata::shipFile());
    const QCommandLineOption configOption(QStringLiteral("config"),
                                          tr("Lua配置文件目录(默认为船舶文件旁的config目录)。"),
                                          QStringLiteral("dir"));
    const QCommandLineOption snapshotOption(QStringLiteral("snapshot"),
                                            tr("无界面运行, 把每层甲板的图像写入该目录后退出。"),
                                            QStringLiteral("dir"));
    const QCommandLineOption afterOption(QStringLiteral("after"), tr("写图像前等待的秒数。"),
                                         QStringLiteral("seconds"), QString::number(afterSeconds));
    const QCommandLineOption muteOption(QStringLiteral("mute"), tr("不发出报警声响(训练用)。"));
    const QCommandLineOption settingsOption(QStringLiteral("settings"),
                                            tr("设置文件(默认为配置目录下的 kelvane/station.conf)。"),
                                            QStringLiteral("file"));
    const QCommandLineOption pictureOption(QStringLiteral("window-picture"),
                                           tr("等待 --after 秒后把窗口图像写入该文件并退出。"), QStringLiteral("file"));
    const QCommandLineOption keysOption(QStringLiteral("keys"),
                                        tr("船舶密钥文件(默认为船舶文件旁的 ship-keys.json, 若有)。"),
                                        QStringLiteral("file"));
    const QCommandLineOption secretOption(QStringLiteral("secret-key"), tr("本控制台的私钥文件。"),
                                          QStringLiteral("file"));
    const QCommandLineOption accountsOption(QStringLiteral("accounts"),
                                            tr("操作员账户文件(默认为船舶文件旁的 operators.json, 若有)。"),
                                            QStringLiteral("file"));
    parser.addOptions({addressOption, portOption, shipOption, configOption, snapshotOption, afterOption, muteOption,
                       pictureOption, settingsOption, keysOption, secretOption, accountsOption,
                       exampletranslation::languageOption()});
    incident.addTo(parser);
    tls.addTo(parser);
    parser.process(arguments);

    address = parser.value(addressOption);
    if (QHostAddress(address).isNull()) {
        *error = tr("服务器地址 %1 不是数字地址").arg(address);
        return false;
    }
    bool ok = false;
    const uint portValue = parser.value(portOption).toUInt(&ok);
    if (!ok || portValue == 0 || portValue > kLargestPort) {
        *error = tr("端口 %1 无效").arg(parser.value(portOption));
        return false;
    }
    port = quint16(portValue);
    shipFile = parser.value(shipOption);
    configDir = parser.isSet(configOption) ? parser.value(configOption)
                                           : QFileInfo(shipFile).absoluteDir().filePath(QStringLiteral("config"));
    const auto besideShip = [this, &parser](const QCommandLineOption& option, const char* name) {
        const QString found = QFileInfo(shipFile).absoluteDir().filePath(QLatin1String(name));
        return parser.isSet(option) ? parser.value(option) : QFileInfo::exists(found) ? found : QString();
    };
    keysFile = besideShip(keysOption, "ship-keys.json");
    accountsFile = besideShip(accountsOption, "operators.json");
    secretKeyFile = parser.value(secretOption);
    consoleGiven = parser.isSet(QStringLiteral("console"));
    snapshotDir = parser.value(snapshotOption);
    mute = parser.isSet(muteOption);
    windowPicture = parser.value(pictureOption);
    afterSeconds = parser.value(afterOption).toDouble(&ok);
    if (!ok || afterSeconds < 0) {
        *error = tr("等待时间 %1 无效").arg(parser.value(afterOption));
        return false;
    }
    return incident.read(parser, error) && tls.read(parser, error);
}
