#pragma once

#include "alarm_settings.h"
#include "data_link.h"
#include "ship.h"
#include "ship_loader.h"
#include "station_config.h"

#include <gtest/gtest.h>

#include <QTcpServer>

#include <memory>

/// The sample ship and its configuration: the configuration is loaded once per
/// suite, the ship afresh for every test. Fixtures that add to SetUp() call this
/// one first and stop on its fatal failures.
class SampleShipFixture : public testing::Test
{
protected:
    static QString shipDir() { return QStringLiteral(KELVANE_SHIP_DIR); }

    static void SetUpTestSuite()
    {
        QString error;
        ASSERT_TRUE(stationconfig::load(shipDir() + QStringLiteral("/config"), &error)) << error.toStdString();
        ASSERT_TRUE(stationconfig::loadAlarmSettings(shipDir() + QStringLiteral("/config"), &alarmSettings(), &error))
            << error.toStdString();
    }

    /// The sample configuration's alarm settings, loaded once per suite.
    static AlarmSettings& alarmSettings()
    {
        static AlarmSettings settings;
        return settings;
    }

    void SetUp() override
    {
        ShipLoader loader;
        ship_ = loader.load(shipDir() + QStringLiteral("/ship.json"));
        ASSERT_NE(ship_, nullptr) << loader.error().toStdString();
    }

    /// A data link to a port nobody listens on: the link stays down.
    std::unique_ptr<DataLink> unreachableLink() const
    {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost))
            return nullptr;
        const quint16 port = probe.serverPort();
        probe.close();
        return std::make_unique<DataLink>(QStringLiteral("127.0.0.1"), port, ship_->valueRoute(), ship_->dataPointNames());
    }

    std::unique_ptr<Ship> ship_;
};
