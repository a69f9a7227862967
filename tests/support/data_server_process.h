#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

/// The reference data server run as a child process, playing a scenario given as
/// JSON text. When the tests run under an emulator (a cross build), the server is
/// started through the same emulator.
class DataServerProcess
{
public:
    explicit DataServerProcess(const QByteArray& scenarioJson);
    ~DataServerProcess();

    /// Starts the server on \a port (0 lets it pick one) and waits until it listens.
    ::testing::AssertionResult start(quint16 port = 0);
    /// Kills the server and waits for it; does nothing when it is not running.
    void stop();
    /// The port the server listens on; 0 before the first successful start.
    quint16 port() const { return port_; }

private:
    QTemporaryDir dir_;
    QByteArray scenario_;
    std::unique_ptr<QProcess> process_;
    quint16 port_ = 0;
};
