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
/// `security/secret_key`, `security/accounts`, `palette`. The file is the
/// one given with `--settings`, else `kelvane/station.conf` in the user's and
/// then the system's configuration folders (~/.config, /etc/xdg); a missing
/// default file is no error. Options on the command line win over the file.
///
/// What the operator chooses in the window (the palette) is kept apart, in
/// choicesFile(): the settings file may be the system's, shared by a ship's
/// consoles or read-only, and rewriting it would lose its comments. A kept
/// choice wins over the settings file and yields to the command line.
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
    /// The options kept in choicesFile() follow the file's, and a bad value
    /// of a key that lists its values (`palette`) is refused as well.
    static bool apply(QStringList* arguments, QString* error);

    /// Where the window's choices are kept: `kelvane/station-window.conf` in
    /// the user's writable configuration folder (~/.config).
    static QString choicesFile();
    /// Keeps \a value of the settings key \a key (`palette` and `console/language` are kept) in
    /// choicesFile() for the next start. False when the key is not one that is
    /// kept or the file cannot be written.
    static bool remember(const QString& key, const QString& value);

private:
    /// Appends to \a options the options the settings file \a file holds.
    static bool readFile(const QString& file, QStringList* options, QString* error);
    /// The options choicesFile() keeps; a value the station cannot use is left out.
    static QStringList rememberedOptions();
};
