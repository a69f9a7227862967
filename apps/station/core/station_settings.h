#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

/// The station's settings file, so a console is configured once by whoever
/// installs it and then starts from its desktop entry without a command line.
///
/// An INI file (docs/station.md, "Settings file") whose keys stand for options:
/// `server/address`, `server/port`, `ship/file`, `ship/config`, `console/name`,
/// `console/language`, `history/file`, `tls/ca`, `tls/cert`, `tls/key`, `sound/mute`, `security/keys`,
/// `security/secret_key`, `security/accounts`. The file is the
/// one given with `--settings`, else `kelvane/station.conf` in the user's and
/// then the system's configuration folders (~/.config, /etc/xdg); a missing
/// default file is no error. Options on the command line win over the file.
class StationSettings
{
    Q_DECLARE_TR_FUNCTIONS(StationSettings)

public:
    /// The settings file \a arguments name with --settings, else the first
    /// default file that exists; empty when there is none.
    static QString fileFor(const QStringList& arguments);

    /// \a arguments with the options the settings file holds put in front of
    /// the command line's own (which therefore win). False with \a error when a
    /// file named by --settings is missing or unreadable, or holds a key this
    /// station does not know (a misspelt key would silently be ignored otherwise).
    static bool apply(QStringList* arguments, QString* error);

    /// Keeps \a value under \a key ("section/name") in the settings file
    /// \a file, else (empty) in the user's default file, made when missing.
    /// Only that line changes: the rest of the file, comments included, stays
    /// as its author wrote it. False with \a error when the file cannot be
    /// read or written (a system-wide file, for instance).
    static bool remember(const QString& file, const QString& key, const QString& value, QString* error);
};
