#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

/// The reference data server, run as a child process for one test.
class DataServerProcess
{
public:
    ~DataServerProcess();

    /// Starts the server on \a port (0: any free port) playing \a scenario,
    /// keeping the consoles' shared points, with the further \a options (its
    /// limits), and waits until it listens; false if it did not come up.
    bool start(const QString& scenario, quint16 port = 0, const QStringList& options = {});
    /// Kills the server and waits for it to go.
    void stop();
    quint16 port() const { return port_; }
    qint64 pid() const { return process_.processId(); }

private:
    QProcess process_;
    quint16 port_ = 0;
};

/// A run of the station as a child process, with everything it printed.
class StationProcess
{
public:
    ~StationProcess();

    /// Starts the station, or \a program given the station's arguments.
    void start(const QStringList& arguments, const QString& program = QStringLiteral(KELVANE_STATION_PATH));
    /// Writes \a line and a newline to the program's standard input, at once.
    void send(const QByteArray& line);
    /// Waits until the station's standard output satisfies \a done, or \a timeoutMs passed.
    template <typename Done>
    bool waitForOutput(Done done, int timeoutMs);
    /// Waits for the station to exit; false if it did not within \a timeoutMs.
    bool waitForExit(int timeoutMs);

    int exitCode() const { return process_.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return process_.exitStatus(); }
    const QString& out() const { return out_; }
    const QString& err() const { return err_; }

    /// Sum of the updates the station reported as routed to sensor items.
    int routedUpdates() const;
    /// How often the station reported a connection to the server.
    int connections() const { return out_.count(QStringLiteral("connected to ")); }

private:
    void collect();

    QProcess process_;
    QString out_;
    QString err_;
};

template <typename Done>
bool StationProcess::waitForOutput(Done done, int timeoutMs)
{
    constexpr int kPollMs = 100;
    for (int waited = 0; waited < timeoutMs; waited += kPollMs) {
        collect();
        if (done(*this))
            return true;
        if (process_.state() == QProcess::NotRunning)
            return false;
        process_.waitForReadyRead(kPollMs);
    }
    collect();
    return done(*this);
}
