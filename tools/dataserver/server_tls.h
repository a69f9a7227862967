#pragma once

#include <QList>
#include <QSslConfiguration>

class QCommandLineOption;
class QCommandLineParser;
class QString;

/**
 * TLS on the server's port (--tls-cert, --tls-key, --tls-ca,
 * --tls-require-client-cert). Off by default: clients then speak plain TCP.
 * With a client CA every client must present a certificate it issued.
 */
struct ServerTls {
    /// What the server's sockets use; null while TLS is off.
    QSslConfiguration configuration;

    /// True when the options turned TLS on.
    bool enabled() const { return !configuration.isNull(); }

    /// The options, with their help texts.
    static QList<QCommandLineOption> options();
    /// Reads the options of `parser` and the files they name; on a bad
    /// combination or file, false with `error` naming the option and the file.
    bool read(const QCommandLineParser& parser, QString* error);
};
