#include "data_server_process.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace {

constexpr int kWaitMs = 10000;
constexpr int kExitPollMs = 10;
const char* const kLogName = "server.log";

} // namespace

DataServerProcess::DataServerProcess(const QByteArray& scenarioJson)
    : scenario_(scenarioJson)
{
}

DataServerProcess::~DataServerProcess()
{
    stop();
}

::testing::AssertionResult DataServerProcess::start(quint16 port)
{
    stop();
    if (!dir_.isValid())
        return ::testing::AssertionFailure() << "no temporary folder for the scenario";
    QFile scenario(dir_.filePath(QStringLiteral("scenario.json")));
    if (!scenario.open(QIODevice::WriteOnly) || scenario.write(scenario_) != scenario_.size())
        return ::testing::AssertionFailure() << "cannot write " << scenario.fileName().toStdString();
    scenario.close();

    QStringList command = QString::fromUtf8(TAVIMOR_DATASERVER_EMULATOR).split(';', Qt::SkipEmptyParts);
    command << QStringLiteral(TAVIMOR_DATASERVER_PATH) << QStringLiteral("--port") << QString::number(port)
            << QStringLiteral("--scenario") << scenario.fileName() << arguments_;
    // Looked up here: between fork and exec the child may not allocate.
    const QString program = QStandardPaths::findExecutable(command.first());
    if (program.isEmpty())
        return ::testing::AssertionFailure() << "cannot find " << command.first().toStdString();
    const QByteArray programPath = program.toLocal8Bit();
    std::vector<QByteArray> args;
    for (const QString& arg : command)
        args.push_back(arg.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    const QByteArray logPath = QFile::encodeName(dir_.filePath(QLatin1String(kLogName)));
    const int logFd = open(logPath.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (logFd < 0)
        return ::testing::AssertionFailure() << "cannot create " << logPath.constData();
    rlimit descriptors{};
    getrlimit(RLIMIT_NOFILE, &descriptors);
    if (descriptorLimit_ > 0)
        descriptors.rlim_cur = rlim_t(descriptorLimit_);
    int out[2];
    if (pipe(out) != 0) {
        close(logFd);
        return ::testing::AssertionFailure() << "no pipe for the data server's output";
    }
    pid_ = fork();
    if (pid_ == 0) {
        // The child: only async-signal-safe calls until exec.
        dup2(out[1], STDOUT_FILENO);
        dup2(logFd, STDERR_FILENO);
        close(out[0]);
        close(out[1]);
        setrlimit(RLIMIT_NOFILE, &descriptors);
        execv(programPath.constData(), argv.data());
        _exit(127);
    }
    close(out[1]);
    close(logFd);
    if (pid_ < 0) {
        close(out[0]);
        return ::testing::AssertionFailure() << "cannot fork the data server";
    }
    const QByteArray line = readFirstLine(out[0]);
    close(out[0]);
    if (!line.startsWith("listening on 127.0.0.1:"))
        return ::testing::AssertionFailure() << "data server " << command.join(' ').toStdString()
                                             << " said: " << line.constData() << log().constData();
    port_ = quint16(line.mid(line.lastIndexOf(':') + 1).trimmed().toUInt());
    return ::testing::AssertionSuccess();
}

QByteArray DataServerProcess::readFirstLine(int fd)
{
    QByteArray line;
    QDeadlineTimer deadline(kWaitMs);
    while (!line.contains('\n') && !deadline.hasExpired()) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, int(deadline.remainingTime())) <= 0)
            break;
        char buffer[256];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        line.append(buffer, int(n));
    }
    return line;
}

void DataServerProcess::stop()
{
    if (pid_ <= 0)
        return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

QByteArray DataServerProcess::log() const
{
    QFile file(dir_.filePath(QLatin1String(kLogName)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int DataServerProcess::waitForExit(int ms)
{
    QDeadlineTimer deadline(ms);
    while (pid_ > 0) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (deadline.hasExpired())
            return -1;
        usleep(kExitPollMs * 1000);
    }
    return -1;
}
