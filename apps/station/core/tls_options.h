#pragma once

#include "tavimor_tls.h"

#include <QCommandLineOption>
#include <QCoreApplication>

class QCommandLineParser;

/// The station's options for reaching a data server over TLS (--tls-ca,
/// --tls-cert, --tls-key; docs/station.md). Without --tls-ca the station
/// speaks plain TCP, as by default.
class TlsOptions
{
    Q_DECLARE_TR_FUNCTIONS(TlsOptions)

public:
    TlsOptions();

    /// What every client of the station connects with; no CA certificates: plain TCP.
    TavimorTls settings;

    void addTo(QCommandLineParser& parser) const;
    /// Reads the files the options name; false with \a error naming the
    /// option and the file when one cannot be used.
    bool read(const QCommandLineParser& parser, QString* error);

private:
    QCommandLineOption ca_;
    QCommandLineOption certificate_;
    QCommandLineOption key_;
};
