// Arbitrary Lua source loaded by every configuration reader in turn. The readers
// throw std::runtime_error on a file they cannot load, which is the expected
// outcome for most inputs; anything else (a crash, a sanitizer report, another
// exception, an assertion) is a finding.
//
//   config_reader_fuzzer -max_len=4096 -dict=fuzz/config.dict fuzz/corpus/config

#include "config/damage_config.h"
#include "config/equipment_config.h"
#include "config/region_config.h"
#include "config/sensor_config.h"
#include "config/tag_config.h"
#include "config/team_config.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <sanitizer/lsan_interface.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>

namespace {

QTemporaryDir* folder = nullptr;

void dropMessage(QtMsgType, const QMessageLogContext&, const QString&)
{
}

template <typename Load>
void tryLoad(const QString& path, Load load)
{
    try {
        load(path);
    } catch (const std::runtime_error&) {
        // A file the reader refuses: the documented outcome.
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Icons are pixmaps, which need a GUI application; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform plugin leaks its screen; that is Qt's, not the readers'.
    __lsan_disable();
    static QGuiApplication app(*argc, *argv);
    __lsan_enable();
    qInstallMessageHandler(dropMessage);
    // The readers look for icons beside the configuration folder, as in a deployment.
    static QTemporaryDir dir;
    folder = &dir;
    QDir(dir.path()).mkpath(QStringLiteral("config"));
    QDir(dir.path()).mkpath(QStringLiteral("icons"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = folder->filePath(QStringLiteral("config/fuzz.lua"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    tryLoad(path, [](const QString& p) { RegionConfig::instance().loadStyle(p); });
    tryLoad(path, [](const QString& p) { SensorConfig::instance().loadStyle(p); });
    tryLoad(path, [](const QString& p) { DamageConfig::instance().loadStyle(p); });
    tryLoad(path, [](const QString& p) { TeamConfig::instance().loadTeam(p); });
    tryLoad(path, [](const QString& p) { TagConfig::instance().loadTag(p); });
    tryLoad(path, [](const QString& p) { EquipmentConfig::instance().loadConfig(p); });
    return 0;
}
