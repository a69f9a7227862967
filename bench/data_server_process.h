#pragma once

// The reference data server as a child process of a benchmark.

#include <QProcess>

namespace benchserver {

class DataServer
{
public:
    /// Starts the server on \a port (0: any free port) and waits until it listens.
    explicit DataServer(quint16 port = 0);
    ~DataServer();

    /// The port it listens on; 0 when it did not start.
    quint16 port() const { return port_; }
    qint64 pid() const { return process_.processId(); }

private:
    QProcess process_;
    quint16 port_ = 0;
};

} // namespace benchserver
