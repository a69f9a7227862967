#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/types.h>

/// The reference data server run as a child process, playing a scenario given as
/// JSON text. When the tests run under an emulator (a cross build), the server is
/// started through the same emulator.
///
/// The child is started with fork and exec rather than QProcess: under qemu's
/// user emulation QProcess cannot start any program at all. Its standard error
/// goes to a file, read by log().
class DataServerProcess
{
public:
    explicit DataServerProcess(const QByteArray& scenarioJson);
    ~DataServerProcess();

    DataServerProcess(const DataServerProcess&) = delete;
    DataServerProcess& operator=(const DataServerProcess&) = delete;

    /// Starts the server on \a port (0 lets it pick one) and waits until it listens.
    ::testing::AssertionResult start(quint16 port = 0);
    /// Kills the server and waits for it; does nothing when it is not running.
    void stop();
    /// The port the server listens on; 0 before the first successful start.
    quint16 port() const { return port_; }
    /// The running server's process id; -1 when none runs.
    pid_t pid() const { return pid_; }

    /// Options given after the port and the scenario at the next start.
    void setArguments(const QStringList& arguments) { arguments_ = arguments; }
    /// Soft descriptor limit of the server from the next start; 0 keeps the tests' own.
    void setDescriptorLimit(int limit) { descriptorLimit_ = limit; }
    /// What the server wrote on standard error since it was last started.
    QByteArray log() const;
    /// Waits up to `ms` for the server to end by itself and returns its exit code;
    /// -1 when it still runs (it is left running) or ended by a signal.
    int waitForExit(int ms);

private:
    /// The server's first line of output, read within the start timeout.
    QByteArray readFirstLine(int fd);

    QTemporaryDir dir_;
    QByteArray scenario_;
    QStringList arguments_;
    int descriptorLimit_ = 0;
    pid_t pid_ = -1;
    quint16 port_ = 0;
};
