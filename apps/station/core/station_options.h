#pragma once

#include "incident_options.h"
#include "tls_options.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

/// Command line of the station, and its settings file.
class StationOptions
{
    Q_DECLARE_TR_FUNCTIONS(StationOptions)

public:
    /// Default port of the reference data server (docs/dataserver.md).
    static constexpr quint16 kDefaultPort = 7300;
    /// Default time the scenario plays before snapshots are written.
    static constexpr double kDefaultAfterSeconds = 5.0;

    QString address = QStringLiteral("127.0.0.1");
    quint16 port = kDefaultPort;
    QString shipFile;
    QString configDir;
    QString snapshotDir;
    double afterSeconds = kDefaultAfterSeconds;
    /// History, shared incident state and export.
    IncidentOptions incident;
    /// TLS towards the data server, for ships whose server speaks it.
    TlsOptions tls;
    /// No audible alert (training): alarms are announced on screen only.
    bool mute = false;
    /// With a window: the file a picture of it is written to after afterSeconds, then the station exits.
    QString windowPicture;
    /// Signed shared values and operators' log-ins (docs/security.md): the
    /// ship keys file and the accounts file (given, or ship-keys.json and
    /// operators.json found beside the ship file) and this console's secret
    /// key. All empty: the console runs unauthenticated.
    QString keysFile;
    QString secretKeyFile;
    QString accountsFile;
    /// The settings file read (StationSettings::fileFor()), empty when none;
    /// where the language the operator chooses is kept.
    QString settingsFile;
    /// True when --console named this console (otherwise its secret key does).
    bool consoleGiven = false;

    /// True when snapshot mode was asked for; checked before the application
    /// exists, so the offscreen platform can be chosen in time.
    static bool wantsSnapshot(int argc, char** argv);

    /// Parses the application's arguments after the settings file's
    /// (StationSettings); false with \a error set on bad values.
    /// Help and version requests exit inside. --lang is accepted and left to
    /// exampletranslation, which reads it before the translated texts are needed.
    bool parse(const QStringList& arguments, QString* error);
};
